#pragma once
// The intro-video player: plays one video file full screen through the DirectShow
// filter graph and returns when it has ended or the user stopped it (Enter, Escape,
// Space or a left click). Start-up calls it before the game window exists.
//
// One call: player window -> COM -> graph -> render the file -> message drain and full
// screen -> pause -> run -> poll loop (graph events every 100 ms, the player window's
// messages; an end or abort event ends it) -> release -> the window's class removed ->
// COM ends, so a later call starts afresh. The state lives in module globals for that call.
#include "platform/win32.h"

#include <cstdarg>

/// Plays `file` full screen. 0: played to its end; 1: stopped by the user; E_POINTER
/// for a null name; E_FAIL when the player window cannot be made; the graph's error
/// (logged, no box) when it stopped a damaged video; otherwise the HRESULT of the
/// failing call, after its message box.
HRESULT PlayCutscene(const char* file, HINSTANCE instance);

/// Formats at most 1023 characters and shows them in an OK box titled
/// "PlayCutscene Error" (in automated runs: to the log and stderr).
[[gnu::format(printf, 1, 2)]] void ShowCutsceneError(const char* format, ...);
