#pragma once
// Message boxes and debugger output. On Linux the debugger output is stderr and a
// message box is an SDL box; with no display, or while a test hook is installed,
// a box only goes to stderr and never blocks.
#include "platform/win32/Types.h"

#include <functional>
#include <string>

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr int IDOK = 1;

/// Shows a modal box (or reports it headless); returns IDOK.
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);
/// Writes the text to the debugger output (stderr here).
void OutputDebugStringA(const char* text);

namespace platform {

using MessageBoxHook = std::function<void(const std::string& text, const std::string& caption)>;
using DebugOutputHook = std::function<void(const std::string& text)>;

/// Replaces the box or the debug output (tests record them). An empty hook restores the default.
void SetMessageBoxHook(MessageBoxHook hook);
void SetDebugOutputHook(DebugOutputHook hook);

/// True when boxes must not be shown: no display, or NAVO_HEADLESS set (automated runs).
bool IsHeadless();

}  // namespace platform
