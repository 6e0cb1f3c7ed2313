#pragma once
// The low-level keyboard hook of a full-screen game: swallows the system keys that
// would switch away from it (Ctrl+Esc, Alt+Tab, Alt+Esc, Alt, the Windows and
// Applications keys) and passes every other key on.
#include "platform/win32.h"

/// The hook procedure; the long parameter is the address of a KBDLLHOOKSTRUCT.
/// Answers 1 for a swallowed key, else the next hook's answer.
LRESULT N_KeyboardHook(int code, WPARAM wParam, LPARAM lParam);

/// Whether the hook swallows the event, with Ctrl held or not.
bool IsProtectedSystemKey(const KBDLLHOOKSTRUCT& event, bool ctrlDown);

/// The installed hook, for passing events on.
void SetKeyboardHookHandle(HHOOK hook);
