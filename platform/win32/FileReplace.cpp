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
#include <optional>
#include <utility>
#include <vector>

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

/// A failed save's line: to *why when the caller asked for it, else to the debugger
/// output (stderr), so that no failed save passes unseen, not even after the log is
/// gone. False.
bool Report(const std::string& line, std::string* why) {
  if (why) {
    *why = line;
  } else {
    OutputDebugStringA(("unable to save: " + line + "\n").c_str());
  }
  return false;
}

/// The disk path a save of the engine path writes: the resolved path, a link followed.
/// Refuses (false) a path without a name and a target that is no regular file; *mode
/// is the mode the new file takes (the old file's, else what the umask leaves).
bool TargetOf(std::string_view path, std::string& target, mode_t* mode, std::string* why) {
  target = FollowLink(ResolvePath(path));
  if (target.empty()) return Fail(why, "cannot save a file without a name", "", 0);
  *mode = NewFileMode();
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return Fail(why, "cannot replace", target + ": not a regular file", 0);
    *mode = st.st_mode & 07777;  // the new file keeps the old one's permissions
  }
  return true;
}

/// Writes the bytes to the temporary file beside the target, flushed to the disk and
/// closed; on failure nothing of it is left.
bool Stage(const std::string& target, const std::string& temporary, mode_t mode, std::string_view bytes,
           std::string* why) {
  // One fixed name per target: a save killed half-way leaves at most this one file,
  // which the next save of the target removes first (it holds nothing anyone needs)
  // and then creates afresh, never through a link someone put there.
  if (Forced(ReplaceStep::Open)) return Fail(why, "cannot create a temporary file for", target, errno);
  // Only a leftover that is there is removed: on a read-only file system the removal of
  // a missing file fails too, and the open below then says what is wrong.
  struct stat st {};
  if (::lstat(temporary.c_str(), &st) == 0 && ::unlink(temporary.c_str()) != 0 && errno != ENOENT) {
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
  return true;
}

bool Replace(std::string_view path, std::string_view bytes, std::string* why) {
  std::string target;
  mode_t mode = 0;
  if (!TargetOf(path, target, &mode, why)) return false;
  // Beside the target, so that the rename stays on one file system; the leading dot
  // keeps it out of every file finder's matches.
  const std::string temporary = TemporaryNameFor(target);
  if (!Stage(target, temporary, mode, bytes, why)) return false;
  if (Forced(ReplaceStep::Rename) || ::rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return Fail(why, "cannot replace", target, error);
  }
  SyncFolder(FolderOf(target));
  return true;
}

/// The staged new version of a target of a set, beside it.
std::string TogetherNameFor(const std::string& target) {
  return FolderOf(target) + "/." + NameOf(target) + ".together";
}

/// The line a journal ends with, written last: it counts the names before it, so that a
/// journal cut short (its end, or lines and its end, lost) is told from a whole one.
std::string EndLine(std::size_t names) { return "end " + std::to_string(names); }

/// What a journal holds: the names of its files, and whether it is whole (ends in its
/// end line).
struct JournalText {
  std::vector<std::string> names;
  bool whole = false;
};

/// A journal's lines (empty ones skipped): a line may end in CR LF too, as a journal
/// whose line ends an editor or a copy converted still names the same files; a last
/// line without its line end counts as cut.
JournalText ReadJournalText(const std::string& text) {
  JournalText journal;
  bool ended = true;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    ended = end != std::string::npos;
    if (!ended) end = text.size();
    std::string line = text.substr(start, end - start);
    if (ended && !line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) journal.names.push_back(line);
    start = end + 1;
  }
  if (ended && !journal.names.empty() && journal.names.back() == EndLine(journal.names.size() - 1)) {
    journal.names.pop_back();
    journal.whole = true;
  }
  return journal;
}

bool SameFolder(const std::string& a, const std::string& b) {
  if (a == b) return true;
  const std::optional<FileIdentity> first = IdentifyFile(a), second = IdentifyFile(b);
  return first && second && *first == *second;
}

/// The file of the folder a journal's line names: a bare name (as journals are written,
/// so that a copied or moved game root finishes its own sets), or a path into the
/// journal's own folder (as older journals wrote them). Empty for anything else.
std::string MemberName(const std::string& line, const std::string& folder) {
  const std::string name = NameOf(line);
  if (name.empty() || name == "." || name == ".." || line.find('\0') != std::string::npos) return {};
  if (line.find('/') == std::string::npos) return name;
  return SameFolder(FolderOf(line), folder) ? name : std::string();
}

/// A journal's line, short and printable, for a reason; in quotes for a refusal line.
/// A reason goes into the player's box, whose word wrap takes a word that opens with a
/// quote for a quoted one and drops its quotes: there the name stands bare.
std::string Printable(const std::string& line) {
  std::string shown = line.substr(0, 80);
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 32) c = '?';
  }
  return shown;
}
std::string Shown(const std::string& line) { return "'" + Printable(line) + "'"; }

/// A file of an interrupted set: the file it replaces and its staged new version.
struct Member {
  std::string target;
  std::string staged;
};

/// The staged new version of a file of a set (an engine path), beside the file it
/// replaces; beside a link that leads out of its folder, where no set stages, so that
/// nothing outside the folder is ever taken for a staged file.
std::string StagedPathOf(const std::string& path) {
  const std::string resolved = ResolvePath(path);
  const std::string target = FollowLink(resolved);
  return TogetherNameFor(SameFolder(FolderOf(target), FolderOf(resolved)) ? target : resolved);
}

/// Removes a leftover of a save (a staged file, a journal's temporary file) when it is a
/// regular file: a link of that name is no save's, and is never followed.
void RemoveLeftover(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.c_str());
}

/// Checks the file a journal's line names before anything of the set is renamed: the
/// line must name a file of the journal's folder, a link must lead to a file of that
/// folder, a staged new version must be a regular file and so must the file it
/// replaces. A file already in place has nothing staged; one neither staged nor in
/// place means the journal is not the set's (a name changed, a file removed). Empty
/// when the line may be finished (its staged file then added to the members); else the
/// refusal in a few words, the line said through the file layer's refusal line.
std::string CheckMember(const std::string& journal, const std::string& folder, const std::string& line,
                        std::vector<Member>& members) {
  const std::string name = MemberName(line, folder);
  if (name.empty()) {
    ReportFileRefusal(journal + " names " + Shown(line) + ", no file of its folder: refused");
    return "a line names no file of its folder";
  }
  const std::string target = FollowLink(folder + "/" + name);
  if (!SameFolder(FolderOf(target), folder)) {
    ReportFileRefusal(journal + " names " + Shown(name) + ", a link out of its folder: refused");
    return "a line names a link out of its folder";
  }
  const std::string staged = TogetherNameFor(target);
  struct stat st {};
  const bool inPlace = ::stat(target.c_str(), &st) == 0;  // a dangling link is not in place
  if (inPlace && !S_ISREG(st.st_mode)) {
    ReportFileRefusal(journal + " names " + Shown(name) + ", which is no regular file: refused");
    return "a line names " + Printable(name) + ", no regular file";
  }
  if (::lstat(staged.c_str(), &st) != 0) {
    if (errno != ENOENT) {
      const std::string error = std::strerror(errno);
      ReportFileRefusal(staged + " cannot be checked: " + error);
      return error;
    }
    if (inPlace) return {};
    ReportFileRefusal(journal + " names " + Shown(name) + ", neither staged nor in place: refused");
    return "a line names " + Printable(name) + ", neither staged nor in place";
  }
  if (!S_ISREG(st.st_mode)) {
    ReportFileRefusal(staged + " is not a regular file: the set is left as it is");
    return "a staged file is not a regular file";
  }
  const bool listed = std::any_of(members.begin(), members.end(), [&](const Member& m) { return m.staged == staged; });
  if (!listed) members.push_back({target, staged});
  return {};
}

/// Checks that every staged file of the set's files is named by the journal: one it does
/// not name was staged for another set, or the journal lost its line. Empty, else the
/// refusal (each such file said through the file layer's refusal line).
std::string CheckUnnamed(const std::string& journal, const std::vector<std::string>& files,
                         const std::vector<Member>& members) {
  std::string refused;
  for (const std::string& file : files) {
    const std::string staged = StagedPathOf(file);
    struct stat st {};
    if (::lstat(staged.c_str(), &st) != 0) continue;
    if (std::any_of(members.begin(), members.end(), [&](const Member& m) { return m.staged == staged; })) continue;
    ReportFileRefusal(staged + " is staged but " + journal + " names it in no line: refused");
    if (refused.empty()) refused = Printable(NameOf(staged)) + " is staged but named in no line";
  }
  return refused;
}

}  // namespace

bool FinishFilesTogether(std::string_view journal, std::string* why, const std::vector<std::string>& files) {
  const std::string journalPath = ResolvePath(journal);
  std::string text;
  std::string readWhy;
  if (!ReadWholeFile(journal, text, &readWhy)) {
    if (readWhy.empty()) {
      // No set was interrupted; one killed while its journal was written was never
      // decided, and that journal's temporary file is left over.
      RemoveLeftover(TemporaryNameFor(journalPath));
      return true;
    }
    if (FolderExists(journal)) readWhy = journalPath + ": a folder, not a file";
    return Fail(why, "cannot read the journal", readWhy, 0);
  }
  // The journal is written only when every new version is staged whole: each staged
  // file still there takes its target's place (one already renamed has none left).
  // Every line and every staged file is checked first: finishing the rest of a set one
  // of whose files is refused would mix old files and new, which the set exists to
  // prevent; so would a journal cut short, whose lost lines' staged files then stay
  // behind. A refused set is left as it is, journal and staged files.
  const std::string folder = FolderOf(journalPath);
  const JournalText lines = ReadJournalText(text);
  std::string refused;
  if (!lines.whole) {
    ReportFileRefusal(journalPath + " lacks the end line that counts its files, so it may be cut short: refused");
    refused = "the end line that counts its files is missing";
  }
  std::vector<Member> members;
  for (const std::string& line : lines.names) {
    const std::string reason = CheckMember(journalPath, folder, line, members);
    if (refused.empty()) refused = reason;
  }
  const std::string unnamed = CheckUnnamed(journalPath, files, members);
  if (refused.empty()) refused = unnamed;
  if (!refused.empty()) return Fail(why, "cannot finish the set of", journalPath + ": " + refused, 0);
  for (const Member& member : members) {
    if (Forced(ReplaceStep::Rename) || ::rename(member.staged.c_str(), member.target.c_str()) != 0) {
      return Fail(why, "cannot replace", member.target, errno);
    }
  }
  SyncFolder(folder);  // the renames, every target lying in it
  if (::unlink(journalPath.c_str()) != 0 && errno != ENOENT) {
    return Fail(why, "cannot remove the journal", journalPath, errno);
  }
  SyncFolder(folder);
  return true;
}

bool ReplaceFilesTogether(std::string_view journal, const std::vector<WholeFile>& files, std::string* why) {
  std::string line;
  // An older set that was cut short is finished first: its staged files must not be
  // taken for this set's.
  if (!FinishFilesTogether(journal, &line)) return Report(line, why);
  const std::string folder = FolderOf(ResolvePath(journal));
  std::vector<std::string> names, staged;
  const auto unstage = [&] {
    for (const std::string& file : staged) ::unlink(file.c_str());
    return Report(line, why);
  };
  for (const WholeFile& file : files) {
    // The journal names its files by their names in its own folder.
    const std::string path = ResolvePath(file.path);
    if (!SameFolder(FolderOf(path), folder)) {
      Fail(&line, "cannot save", path + " in a set whose journal is in " + folder, 0);
      return unstage();
    }
    std::string target;
    mode_t mode = 0;
    if (!TargetOf(file.path, target, &mode, &line)) return unstage();
    if (!SameFolder(FolderOf(target), folder)) {  // a link out of the folder: never finished
      Fail(&line, "cannot save", path + ", a link to " + target + ", in a set whose journal is in " + folder, 0);
      return unstage();
    }
    const std::string temporary = TogetherNameFor(target);
    if (!Stage(target, temporary, mode, file.bytes, &line)) return unstage();
    names.push_back(NameOf(path));
    staged.push_back(temporary);
  }
  std::string text;
  for (const std::string& name : names) text += name + "\n";
  text += EndLine(names.size()) + "\n";
  if (!Replace(journal, text, &line)) return unstage();
  // From here on the set is decided: what fails now is finished by the next call.
  if (!FinishFilesTogether(journal, &line)) return Report(line, why);
  return true;
}

void RemoveStagedFiles(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) RemoveLeftover(StagedPathOf(path));
}

std::vector<std::string> StagedFiles(const std::vector<std::string>& paths) {
  std::vector<std::string> names;
  for (const std::string& path : paths) {
    const std::string staged = StagedPathOf(path);
    struct stat st {};
    if (::lstat(staged.c_str(), &st) == 0) names.push_back(NameOf(staged));
  }
  return names;
}

void SetReplaceFailureHook(ReplaceFailureHook hook) { FailureHook() = std::move(hook); }

bool ReplaceWholeFile(std::string_view path, std::string_view bytes, std::string* why) {
  std::string line;
  return Replace(path, bytes, &line) || Report(line, why);
}

}  // namespace platform
