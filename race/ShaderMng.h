#pragma once
// Stand-in for the renderer's shader manager, until materials exist: it hands out
// handles by name and counts their references, and nothing more. No script is read,
// no record is built, nothing can be drawn with a handle yet.
#include <string>
#include <vector>

class N_ShaderMng {
 public:
  explicit N_ShaderMng(int capacity = 1024);

  /// The handle (table index) of the name, compared without regard to case; a new
  /// name takes the first free entry. -1 when the table is full or the name is null.
  int AddShader(const char* name, unsigned flags, unsigned type);
  /// Drops one reference; the entry is free again at 0. Unknown handles are ignored.
  void ReleaseShader(int handle);

  /// References of a handle (0 for a free entry or a handle out of range).
  int RefCount(int handle) const;
  /// The name of a handle; empty for a free entry.
  const std::string& Name(int handle) const;

 private:
  struct Entry {
    int refs = 0;
    std::string name;
    unsigned flags = 0;
    unsigned type = 0;  ///< 3 marks a 2D shader
  };
  bool Valid(int handle) const { return handle >= 0 && handle < static_cast<int>(m_entries.size()); }

  std::vector<Entry> m_entries;
};
