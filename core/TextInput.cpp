#include "core/TextInput.h"

#include "platform/dinput8.h"
#include "platform/win32.h"

#include <cstring>

namespace {

// The layout is taken once, at the first key, and kept for the life of the process.
HKL KeptLayout() {
  static const HKL layout = GetKeyboardLayout(0);
  return layout;
}

}  // namespace

N_TextInput::N_TextInput() { ClearText(); }

void N_TextInput::ClearText() {
  std::memset(m_text, 0, sizeof m_text);
  m_length = 0;
  m_cursor = 0;
}

void N_TextInput::SetText(const char* text) {
  ClearText();
  if (!text) return;
  const std::size_t n = strnlen(text, kMaxLength);
  std::memcpy(m_text, text, n);
  m_length = static_cast<std::int32_t>(n);
  m_cursor = m_length;
}

void N_TextInput::EraseAt(int pos) {
  std::memmove(m_text + pos, m_text + pos + 1, static_cast<std::size_t>(m_length - pos));
  --m_length;
}

void N_TextInput::Insert(char c) {
  if (m_maxLength >= 0 && m_length >= m_maxLength) return;
  if (m_length >= kMaxLength) return;
  // The characters from the cursor on, and the NUL, move one place right.
  std::memmove(m_text + m_cursor + 1, m_text + m_cursor, static_cast<std::size_t>(m_length - m_cursor + 1));
  m_text[m_cursor] = c;
  ++m_length;
  ++m_cursor;
}

void N_TextInput::OnKeyDown(std::uint32_t dik) {
  const HKL layout = KeptLayout();
  BYTE keyState[256];
  if (!m_enabled || m_length >= kCapacity || !GetKeyboardState(keyState)) return;
  switch (dik) {
    case DIK_RIGHT:
      if (m_cursor < m_length) ++m_cursor;
      return;
    case DIK_LEFT:
      if (m_cursor > 0) --m_cursor;
      return;
    case DIK_DELETE:
      if (m_cursor < m_length) EraseAt(m_cursor);
      return;
    case DIK_BACK:
      if (m_cursor > 0) EraseAt(--m_cursor);
      return;
    case DIK_HOME:
      m_cursor = 0;
      return;
    case DIK_END:
      m_cursor = m_length;
      return;
    case DIK_LSHIFT:
    case DIK_RSHIFT:
      return;
    default:
      break;
  }
  const UINT vk = MapVirtualKeyExA(dik, MAPVK_VSC_TO_VK, layout);
  WORD character = 0;
  if (ToAsciiEx(vk, dik, keyState, &character, 0, layout) < 1) return;
  if (character < 32 || character > 0xFF) return;  // Enter, Tab, Escape and other controls
  Insert(static_cast<char>(character));
}
