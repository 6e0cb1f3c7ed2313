#include "race/ShaderMng.h"

#include "platform/win32.h"

N_ShaderMng::N_ShaderMng(int capacity) : m_entries(capacity > 0 ? static_cast<std::size_t>(capacity) : 0) {}

int N_ShaderMng::AddShader(const char* name, unsigned flags, unsigned type) {
  if (!name) return -1;
  int firstFree = -1;
  for (int i = 0; i < static_cast<int>(m_entries.size()); ++i) {
    Entry& e = m_entries[static_cast<std::size_t>(i)];
    if (e.refs > 0 && platform::EqualsNoCase(e.name, name)) {
      ++e.refs;
      return i;
    }
    if (e.refs == 0 && firstFree < 0) firstFree = i;
  }
  if (firstFree < 0) return -1;
  m_entries[static_cast<std::size_t>(firstFree)] = {1, name, flags, type};
  return firstFree;
}

void N_ShaderMng::ReleaseShader(int handle) {
  if (!Valid(handle)) return;
  Entry& e = m_entries[static_cast<std::size_t>(handle)];
  if (e.refs <= 0) return;
  if (--e.refs == 0) e = Entry{};
}

int N_ShaderMng::RefCount(int handle) const {
  return Valid(handle) ? m_entries[static_cast<std::size_t>(handle)].refs : 0;
}

const std::string& N_ShaderMng::Name(int handle) const {
  static const std::string kNone;
  return Valid(handle) ? m_entries[static_cast<std::size_t>(handle)].name : kNone;
}
