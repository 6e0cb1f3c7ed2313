#pragma once
// The file layer: every file the engine opens goes through ResolvePath, which turns
// the engine's Windows-style paths ("Data\Ai\Anims.time") into paths on the disk.
// Backslashes become slashes and each component is matched case-insensitively
// against the directory that holds it; a component with no match on the disk is
// kept as written, so new files are created with the name as given.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace platform {

/// The disk path for an engine path (relative paths stay relative to the current directory).
std::string ResolvePath(std::string_view path);

/// fopen through the resolver. Modes as for fopen; "t" is accepted and ignored.
std::FILE* OpenFile(std::string_view path, const char* mode);

/// Reads a whole file through the resolver; false when it cannot be opened.
bool ReadWholeFile(std::string_view path, std::string& out);

/// Creates the missing directories of a path (engine form accepted); false on failure.
bool MakeDirectories(std::string_view path);

/// The current directory, now (no length limit).
std::string CurrentDirectory();

/// Windows wildcard match: '*' any run, '?' one character, case-insensitive;
/// "*.*" matches every name, with or without a dot.
bool WildcardMatch(std::string_view pattern, std::string_view name);

/// Case-insensitive equality of two 8-bit texts (the engine's _stricmp == 0).
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace platform

/// _findfirst-shaped enumeration of one directory, in sorted name order.
/// The mask is a path whose last component may hold wildcards.
constexpr unsigned _A_SUBDIR = 0x10;
constexpr unsigned _A_NORMAL = 0x00;

struct _finddata_t {
  unsigned attrib = 0;        ///< _A_SUBDIR for a directory, else _A_NORMAL.
  std::int64_t size = 0;      ///< bytes; 0 for directories
  std::string name;           ///< the entry's bare name
};

/// Returns a handle (> 0) and the first match, or -1 when nothing matches.
std::intptr_t _findfirst(const char* mask, _finddata_t* data);
/// Steps to the next match: 0, or -1 at the end.
int _findnext(std::intptr_t handle, _finddata_t* data);
/// Ends the enumeration; 0, or -1 for an unknown handle.
int _findclose(std::intptr_t handle);
