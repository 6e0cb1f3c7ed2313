#pragma once
// The file layer: every file the engine opens goes through ResolvePath, which turns
// the engine's Windows-style paths ("Data\Ai\Anims.time") into paths on the disk.
// Backslashes become slashes and each component is matched case-insensitively
// against the directory that holds it; a component with no match on the disk is
// kept as written, so new files are created with the name as given.
#include <cstdint>
#include "platform/win32/Types.h"

#include <compare>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

/// The disk path for an engine path (relative paths stay relative to the current directory).
std::string ResolvePath(std::string_view path);

/// fopen through the resolver. Modes as for fopen; "t" is accepted and ignored. Only
/// regular files are opened: a FIFO, a device or a folder is refused (null, and a
/// refusal line) instead of blocking or reading or writing for ever.
std::FILE* OpenFile(std::string_view path, const char* mode);

/// The largest file ReadWholeFile takes: far above any data file of the game, far
/// below what would exhaust the memory.
inline constexpr std::uint64_t kMaxWholeFileBytes = 256ull * 1024 * 1024;

/// Reads a whole regular file through the resolver; false when it is missing or
/// cannot be opened, is no regular file, or is larger than kMaxWholeFileBytes (the
/// last two with a refusal line), with out empty. On false, *why (when given) tells a
/// missing file from one that is there but cannot be read: empty when nothing is at
/// the path, else one short line with the disk path and the reason, e.g.
/// "/x/data/tables/arcade.hs: Permission denied".
bool ReadWholeFile(std::string_view path, std::string& out, std::string* why = nullptr);
/// The reason of such a line without the disk path before it ("Permission denied").
std::string ReasonOf(const std::string& why);

/// Where the file layer says why it refused a file that exists (one line, no line
/// end). Without a hook the line goes to stderr; the engine's reporter installs one
/// that writes it to the log. An empty hook restores stderr.
using FileRefusalHook = std::function<void(const std::string& line)>;
void SetFileRefusalHook(FileRefusalHook hook);
/// Says a refusal of the file layer (the hook's, else stderr).
void ReportFileRefusal(const std::string& line);

/// A file's identity on the disk (device and inode), the same for every path that
/// reaches it, links included.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  auto operator<=>(const FileIdentity&) const = default;
};
/// The identity of the file or folder at the path (links followed); nullopt when it
/// does not exist.
std::optional<FileIdentity> IdentifyFile(std::string_view path);

/// Creates the missing directories of a path (engine form accepted); false on failure.
bool MakeDirectories(std::string_view path);

/// The current directory, now (no length limit).
std::string CurrentDirectory();

/// True when the path (engine form accepted) is a folder, or a link to one.
bool FolderExists(std::string_view path);

/// Windows wildcard match: '*' any run, '?' one character, case-insensitive;
/// "*.*" matches every name, with or without a dot.
bool WildcardMatch(std::string_view pattern, std::string_view name);

/// Case-insensitive equality of two 8-bit texts (the engine's _stricmp == 0).
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace platform

/// Makes the folder (engine form accepted) the current directory; FALSE on failure.
BOOL SetCurrentDirectoryA(const char* path);

/// _findfirst-shaped enumeration of one directory, in the order Windows lists a folder:
/// by name without regard to case (names compared in upper case), names that differ
/// only in case by their bytes. Rules where the first file found wins depend on it.
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
