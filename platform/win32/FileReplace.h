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

namespace platform {

/// Replaces the file at path with exactly these bytes. True when the new file is in
/// place; false when any step failed, with the old file untouched (and no temporary
/// file left behind), and *why (when given) set to one short line: what failed and
/// the system's reason, e.g. "cannot write /x/config.cfg: No space left on device".
/// A caller that gives *why logs it; without *why the line goes to the debugger
/// output (stderr) here.
[[nodiscard]] bool ReplaceWholeFile(std::string_view path, std::string_view bytes, std::string* why = nullptr);

/// The steps a test can make fail.
enum class ReplaceStep { Open, Write, Close };
/// Tests only: the hook is asked before each step (each write of a chunk counts) and
/// fails the step when it returns true, as a full disk or a refused open would. An
/// empty hook restores normal saving.
using ReplaceFailureHook = std::function<bool(ReplaceStep step)>;
void SetReplaceFailureHook(ReplaceFailureHook hook);

}  // namespace platform
