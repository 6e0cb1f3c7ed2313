#include "platform/win32/FileReplace.h"

#include "platform/win32/Debug.h"
#include "platform/win32/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace platform {
namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;

ReplaceFailureHook& FailureHook() {
  static ReplaceFailureHook hook;
  return hook;
}

/// True when the test hook makes this step fail (errno then reads as a full disk or a
/// refused open, as the real failure would).
bool Forced(ReplaceStep step) {
  if (!FailureHook() || !FailureHook()(step)) return false;
  errno = step == ReplaceStep::Open ? EACCES : (step == ReplaceStep::Write ? ENOSPC : EIO);
  return true;
}

bool Fail(std::string* why, const std::string& what, const std::string& target, int error) {
  if (why) *why = what + " " + target + (error ? std::string(": ") + std::strerror(error) : std::string());
  return false;
}

/// The file a save really replaces: a symbolic link's target, so that the link stays.
std::string FollowLink(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return path;  // a dangling link: the new file takes its place
  std::string out(real);
  std::free(real);
  return out;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// The one temporary file of a target, beside it.
std::string TemporaryNameFor(const std::string& target) {
  return FolderOf(target) + "/." + NameOf(target) + ".saving";
}

bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    if (Forced(ReplaceStep::Write)) return false;
    const std::size_t want = std::min(kChunkBytes, bytes.size() - done);
    const ssize_t n = ::write(fd, bytes.data() + done, want);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

/// The mode of a new file: what the process's umask leaves of 0666.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

/// Makes the rename itself durable; a folder that cannot be synced changes nothing.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool Replace(std::string_view path, std::string_view bytes, std::string* why) {
  const std::string target = FollowLink(ResolvePath(path));
  if (target.empty()) return Fail(why, "cannot save a file without a name", "", 0);
  mode_t mode = NewFileMode();
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return Fail(why, "cannot replace", target + ": not a regular file", 0);
    mode = st.st_mode & 07777;  // the new file keeps the old one's permissions
  }

  // Beside the target, so that the rename stays on one file system; the leading dot
  // keeps it out of every file finder's matches. One fixed name per target: a save
  // killed half-way leaves at most this one file, which the next save of the target
  // removes first (it holds nothing anyone needs) and then creates afresh, never
  // through a link someone put there.
  const std::string folder = FolderOf(target);
  const std::string temporary = TemporaryNameFor(target);
  if (Forced(ReplaceStep::Open)) return Fail(why, "cannot create a temporary file for", target, errno);
  if (::unlink(temporary.c_str()) != 0 && errno != ENOENT) {
    return Fail(why, "cannot remove the leftover temporary file of", target, errno);
  }
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return Fail(why, "cannot create a temporary file for", target, errno);

  const auto abandon = [&](const char* what, int error) {
    ::unlink(temporary.c_str());
    return Fail(why, what, target, error);
  };
  if (::fchmod(fd, mode) != 0 || !WriteAll(fd, bytes)) {
    const int error = errno;
    ::close(fd);
    return abandon("cannot write", error);
  }
  if (Forced(ReplaceStep::Close) || ::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    return abandon("cannot write", error);
  }
  if (::close(fd) != 0) return abandon("cannot write", errno);
  if (::rename(temporary.c_str(), target.c_str()) != 0) return abandon("cannot replace", errno);
  SyncFolder(folder);
  return true;
}

}  // namespace

void SetReplaceFailureHook(ReplaceFailureHook hook) { FailureHook() = std::move(hook); }

bool ReplaceWholeFile(std::string_view path, std::string_view bytes, std::string* why) {
  std::string line;
  if (Replace(path, bytes, &line)) return true;
  if (why) {
    *why = line;
  } else {
    // Nobody asked for the reason: the debugger output (stderr) says it, so that no
    // failed save passes unseen, not even after the log is gone.
    OutputDebugStringA(("unable to save: " + line + "\n").c_str());
  }
  return false;
}

}  // namespace platform
