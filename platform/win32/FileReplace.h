#pragma once
// The one way the game replaces a saved file whole (settings, key table, rosters,
// recorded runs, top-time tables, career profiles): the new contents go to a temporary
// file in the target's own folder, every write is checked, the file is flushed to the
// disk (fsync) and closed, and only then renamed over the target, and the folder is
// synced. A reader, or a process killed in the middle, therefore sees the old file or
// the new one, whole, and never an empty or partial one. The temporary file has one
// fixed name per target (a dot, the target's name, ".saving"): a killed save leaves at
// most that one file, and the next save of the target removes it.
//
// The target is reached through the file layer's resolver (backslashes, mixed case).
// A symbolic link is followed: its target is replaced and the link stays. A target
// that exists but is no regular file (a folder, a device such as /dev/full) is
// refused, so no save can replace a device node or write into one.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// Replaces the file at path with exactly these bytes. True when the new file is in
/// place; false when any step failed, with the old file untouched (and no temporary
/// file left behind), and *why (when given) set to one short line: what failed and
/// the system's reason, e.g. "cannot write /x/config.cfg: No space left on device".
/// A caller that gives *why logs it; without *why the line goes to the debugger
/// output (stderr) here.
[[nodiscard]] bool ReplaceWholeFile(std::string_view path, std::string_view bytes, std::string* why = nullptr);

/// A file of a set and its new contents (the path in the engine's form).
struct WholeFile {
  std::string path;
  std::string bytes;
};

/// Replaces several files so that a reader sees either all the old versions or all the
/// new ones, even after a kill in the middle: each new version is staged whole beside
/// its target (a dot, the name, ".together"), then the journal (a file of its own,
/// saved whole) lists the targets, one name a line, and ends in the line "end N" that
/// counts them; then each staged file is renamed over its target and the journal
/// removed. A set cut short after its journal was written is finished by
/// FinishFilesTogether (and by the next ReplaceFilesTogether of the same journal).
/// Every file must lie in the journal's folder; a set with one elsewhere is refused.
/// False, with *why set as for ReplaceWholeFile, when the set could not be saved: before
/// the journal was in place nothing changed; after it, the set is finished later.
[[nodiscard]] bool ReplaceFilesTogether(std::string_view journal, const std::vector<WholeFile>& files,
                                        std::string* why = nullptr);
/// Puts the staged files of an interrupted set in their targets' place and removes the
/// journal. True when there was no such set or it is finished now; without a journal,
/// the journal's own temporary file that a set killed while writing it left (a set
/// never decided) is removed. Every file of a set
/// lies in its journal's folder, and the journal names it by its name there, so that a
/// game root copied or moved finishes its own sets; lines may end in CR LF. The journal
/// and every line are checked before any file is renamed, and the set is refused when
/// the journal lacks its end line (cut short), when a line names anything else (a path
/// outside the folder, garbage, a link that leads out of it), a file that is neither
/// staged nor in place, or a file or staged file that is no regular file, and when a
/// staged version of one of `files` (the files the journal's sets may hold) is named by
/// no line. A refused set is left as it is (nothing renamed, the journal and staged
/// files stay): false, *why saying why, each fault said through the file layer's refusal
/// line. A journal that is there but cannot be read (a folder) leaves the set too.
bool FinishFilesTogether(std::string_view journal, std::string* why = nullptr,
                         const std::vector<std::string>& files = {});
/// Removes the staged new versions of these files that a set killed before its journal
/// was written left behind (call it only when no journal names them). A file's staged
/// version lies beside it, and beside a link that leads out of its folder (where no set
/// stages), so nothing outside the folder is removed; only regular files are.
void RemoveStagedFiles(const std::vector<std::string>& paths);
/// The names of the staged new versions of these files that are there (found as above).
std::vector<std::string> StagedFiles(const std::vector<std::string>& paths);

/// The steps a test can make fail: creating a temporary file, each write of a chunk,
/// the flush and close, each rename of a new version over its target.
enum class ReplaceStep { Open, Write, Close, Rename };
/// Tests only: the hook is asked before each step (each write of a chunk counts) and
/// fails the step when it returns true, as a full disk or a refused open would. An
/// empty hook restores normal saving.
using ReplaceFailureHook = std::function<bool(ReplaceStep step)>;
void SetReplaceFailureHook(ReplaceFailureHook hook);

}  // namespace platform
