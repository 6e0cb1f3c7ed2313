#pragma once
// Message boxes and debugger output. On Linux the debugger output is stderr and a
// message box is an SDL box; with no display, or while a test hook is installed,
// a box only goes to stderr (or to the hook) and never blocks. Two kinds of box: the
// OK box (answers IDOK) and the yes/no question (answers IDYES or IDNO; headless, or
// when its SDL box cannot be shown, it answers IDNO, so the program goes on).
#include "platform/win32/Types.h"

#include <functional>
#include <string>

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONSTOP = 0x00000010;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_TYPEMASK = 0x0000000F;  ///< the buttons part of a type
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

/// Shows a modal box (or reports it headless). An OK box returns IDOK; a MB_YESNO box
/// returns the answer, IDNO when nobody can answer. A termination signal (Termination.h)
/// closes a box that shows, and after one no box is shown: the box goes to stderr and
/// answers as one nobody answered.
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);
/// Writes the text to the debugger output (stderr here).
void OutputDebugStringA(const char* text);

namespace platform {

using MessageBoxHook = std::function<void(const std::string& text, const std::string& caption)>;
/// A hook that also answers: it returns what MessageBoxA returns (IDOK, IDYES, IDNO).
using MessageBoxAnswerHook = std::function<int(const std::string& text, const std::string& caption, UINT type)>;
using DebugOutputHook = std::function<void(const std::string& text)>;

/// Replaces the box or the debug output (tests record them). An empty hook restores the
/// default. The box has one hook: setting either kind replaces the other. A recording
/// hook's boxes answer as headless ones do (IDOK, and IDNO to a question).
void SetMessageBoxHook(MessageBoxHook hook);
void SetMessageBoxAnswerHook(MessageBoxAnswerHook hook);
void SetDebugOutputHook(DebugOutputHook hook);

/// True when boxes must not be shown: no display, or NAVO_HEADLESS set (automated runs).
bool IsHeadless();

}  // namespace platform
