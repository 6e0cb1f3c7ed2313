#include "platform/win32/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace platform {
namespace {

char Lower(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? static_cast<char>(u - 'A' + 'a') : c;
}

char Upper(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') ? static_cast<char>(u - 'a' + 'A') : c;
}

FileRefusalHook& RefusalHook() {
  static FileRefusalHook hook;
  return hook;
}

void Refuse(const std::string& line) {
  if (RefusalHook()) {
    RefusalHook()(line);
  } else {
    std::fprintf(stderr, "%s\n", line.c_str());
  }
}

/// A mode that neither writes, appends nor updates.
bool ReadsOnly(const std::string& mode) { return mode.find_first_of("wa+") == std::string::npos; }

/// fopen for reading, of regular files only: the open does not wait for a FIFO's
/// writer, and anything but a regular file is refused with a line saying so.
std::FILE* OpenRegularForReading(const std::string& path, const std::string& mode) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    Refuse(path + " is not a regular file: not read");
    errno = EINVAL;
    return nullptr;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(fd, mode.c_str());
  if (!file) ::close(fd);
  return file;
}

/// The open(2) flags of an fopen mode that writes ("w", "a", "r+", with "+" and "x").
int WriteFlags(const std::string& mode) {
  const bool update = mode.find('+') != std::string::npos;
  int flags = update ? O_RDWR : O_WRONLY;
  if (mode[0] == 'w') flags |= O_CREAT | O_TRUNC;
  if (mode[0] == 'a') flags |= O_CREAT | O_APPEND;
  if (mode.find('x') != std::string::npos) flags |= O_EXCL;
  return flags;
}

/// fopen for writing, of regular files only (a new one is made as fopen makes it): the
/// open does not wait for a FIFO's reader, and a FIFO or a device is refused with a
/// line saying so instead of blocking or writing into it.
std::FILE* OpenRegularForWriting(const std::string& path, const std::string& mode) {
  const int fd = ::open(path.c_str(), WriteFlags(mode) | O_NONBLOCK | O_CLOEXEC, 0666);
  struct stat st {};
  // ENXIO: a FIFO without a reader (or a socket).
  const bool regular = fd >= 0 ? ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) : errno != ENXIO;
  if (!regular) {
    if (fd >= 0) ::close(fd);
    Refuse(path + " is not a regular file: not written");
    errno = EINVAL;
    return nullptr;
  }
  if (fd < 0) return nullptr;
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(fd, mode.c_str());
  if (!file) ::close(fd);
  return file;
}

/// Windows' listing order: names compared in upper case, then by their bytes.
bool ListedBefore(const std::string& a, const std::string& b) {
  const auto folded = [](char x, char y) { return Upper(x) < Upper(y); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) return false;
  return a < b;
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

/// Finds the entry of a directory that equals the name regardless of case;
/// an exact match wins, then the first in sorted order. Empty when none.
std::string MatchEntry(const std::string& dir, const std::string& name) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return {};
  std::vector<std::string> hits;
  while (dirent* e = ::readdir(d)) {
    if (EqualsNoCase(e->d_name, name)) hits.emplace_back(e->d_name);
  }
  ::closedir(d);
  if (hits.empty()) return {};
  std::sort(hits.begin(), hits.end());
  for (const auto& h : hits) {
    if (h == name) return h;
  }
  return hits.front();
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string ResolvePath(std::string_view path) {
  std::string p(path);
  std::replace(p.begin(), p.end(), '\\', '/');
  if (p.empty()) return p;

  std::string out;
  std::size_t pos = 0;
  if (p[0] == '/') {
    out = "/";
    pos = 1;
  }
  bool missing = false;  // once a component is missing, the rest is kept as written
  while (pos <= p.size()) {
    std::size_t next = p.find('/', pos);
    if (next == std::string::npos) next = p.size();
    std::string comp = p.substr(pos, next - pos);
    pos = next + 1;
    if (comp.empty()) continue;
    std::string real = comp;
    if (!missing && comp != "." && comp != "..") {
      const std::string candidate = out + comp;
      if (!Exists(candidate)) {
        std::string hit = MatchEntry(out.empty() ? "." : out, comp);
        if (hit.empty()) {
          missing = true;
        } else {
          real = hit;
        }
      }
    }
    out += real;
    if (next < p.size()) out += '/';
  }
  return out;
}

void SetFileRefusalHook(FileRefusalHook hook) { RefusalHook() = std::move(hook); }

void ReportFileRefusal(const std::string& line) { Refuse(line); }

std::FILE* OpenFile(std::string_view path, const char* mode) {
  std::string m;
  for (const char* c = mode; c && *c; ++c) {
    if (*c != 't') m += *c;
  }
  const std::string real = ResolvePath(path);
  if (ReadsOnly(m)) return OpenRegularForReading(real, m);
  return OpenRegularForWriting(real, m);
}

bool ReadWholeFile(std::string_view path, std::string& out, std::string* why) {
  out.clear();
  if (why) why->clear();
  const auto fail = [&](const std::string& reason) {
    out.clear();
    if (why) *why = ResolvePath(path) + ": " + reason;
    return false;
  };
  std::FILE* f = OpenFile(path, "rb");
  if (!f) {
    // Nothing at the path (or a file where a folder of the path should be) is a missing
    // file; anything else is there and cannot be read.
    if (errno == ENOENT || errno == ENOTDIR) return false;
    return fail(errno == EINVAL ? "not a regular file" : std::strerror(errno));
  }
  struct stat st {};
  const bool tooLarge = ::fstat(::fileno(f), &st) != 0 || static_cast<std::uint64_t>(st.st_size) > kMaxWholeFileBytes;
  if (!tooLarge) out.reserve(static_cast<std::size_t>(st.st_size));
  char buf[65536];
  std::size_t n;
  // The size is checked again while reading: a file may grow, or report no size.
  while (!tooLarge && out.size() <= kMaxWholeFileBytes && (n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    out.append(buf, n);
  }
  const bool readError = std::ferror(f) != 0;
  std::fclose(f);
  if (tooLarge || out.size() > kMaxWholeFileBytes) {
    Refuse(ResolvePath(path) + " is larger than " + std::to_string(kMaxWholeFileBytes >> 20) + " MiB: not read");
    return fail("larger than " + std::to_string(kMaxWholeFileBytes >> 20) + " MiB");
  }
  if (readError) return fail(std::strerror(EIO));
  return true;
}

std::string ReasonOf(const std::string& why) {
  const std::size_t colon = why.rfind(": ");
  return colon == std::string::npos ? why : why.substr(colon + 2);
}

std::optional<FileIdentity> IdentifyFile(std::string_view path) {
  struct stat st {};
  if (::stat(ResolvePath(path).c_str(), &st) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

bool MakeDirectories(std::string_view path) {
  const std::string real = ResolvePath(path);
  std::string sofar;
  std::size_t pos = 0;
  while (pos <= real.size()) {
    std::size_t next = real.find('/', pos);
    if (next == std::string::npos) next = real.size();
    sofar = real.substr(0, next);
    pos = next + 1;
    if (sofar.empty()) continue;
    if (!IsDirectory(sofar) && ::mkdir(sofar.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return true;
}

std::string CurrentDirectory() {
  std::vector<char> buf(256);
  while (::getcwd(buf.data(), buf.size()) == nullptr) {
    if (errno != ERANGE) return {};
    buf.resize(buf.size() * 2);
  }
  return std::string(buf.data());
}

bool FolderExists(std::string_view path) { return IsDirectory(ResolvePath(path)); }

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*" || pattern == "*") return true;
  // Iterative match with backtracking over the last '*'.
  std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  // A trailing ".*" also matches a name without a dot, as Windows does.
  if (p + 2 == pattern.size() && pattern[p] == '.' && pattern[p + 1] == '*') return true;
  return p == pattern.size();
}

}  // namespace platform

namespace {

struct Enumeration {
  std::vector<_finddata_t> entries;
  std::size_t next = 0;
};

std::map<std::intptr_t, std::unique_ptr<Enumeration>>& Enumerations() {
  static std::map<std::intptr_t, std::unique_ptr<Enumeration>> table;
  return table;
}
std::intptr_t g_nextHandle = 1;

}  // namespace

BOOL SetCurrentDirectoryA(const char* path) {
  if (!path || !*path) return FALSE;
  return ::chdir(platform::ResolvePath(path).c_str()) == 0 ? TRUE : FALSE;
}

std::intptr_t _findfirst(const char* mask, _finddata_t* data) {
  if (!mask || !data) return -1;
  std::string m(mask);
  std::replace(m.begin(), m.end(), '\\', '/');
  const std::size_t slash = m.rfind('/');
  const std::string dirPart = slash == std::string::npos ? std::string() : m.substr(0, slash + 1);
  const std::string pattern = slash == std::string::npos ? m : m.substr(slash + 1);
  const std::string dir = dirPart.empty() ? std::string(".") : platform::ResolvePath(dirPart);

  DIR* d = ::opendir(dir.c_str());
  if (!d) return -1;
  auto en = std::make_unique<Enumeration>();
  while (dirent* e = ::readdir(d)) {
    if (!platform::WildcardMatch(pattern, e->d_name)) continue;
    _finddata_t fd;
    fd.name = e->d_name;
    struct stat st {};
    const std::string full = dir + "/" + fd.name;
    if (::stat(full.c_str(), &st) == 0) {
      fd.attrib = S_ISDIR(st.st_mode) ? _A_SUBDIR : _A_NORMAL;
      fd.size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::int64_t>(st.st_size);
    }
    en->entries.push_back(std::move(fd));
  }
  ::closedir(d);
  if (en->entries.empty()) return -1;
  std::sort(en->entries.begin(), en->entries.end(),
            [](const _finddata_t& a, const _finddata_t& b) { return platform::ListedBefore(a.name, b.name); });
  *data = en->entries[0];
  en->next = 1;
  const std::intptr_t handle = g_nextHandle++;
  Enumerations()[handle] = std::move(en);
  return handle;
}

int _findnext(std::intptr_t handle, _finddata_t* data) {
  auto it = Enumerations().find(handle);
  if (it == Enumerations().end() || !data) return -1;
  Enumeration& en = *it->second;
  if (en.next >= en.entries.size()) return -1;
  *data = en.entries[en.next++];
  return 0;
}

int _findclose(std::intptr_t handle) {
  return Enumerations().erase(handle) ? 0 : -1;
}
