#pragma once
// The start-up step that plays the intro video once (called by the application after
// the configuration files are read and before its window is made).
#include "platform/win32.h"

/// The intro video's file.
constexpr const char* kIntroVideoFile = "data\\video\\intro.avi";

/// In full-screen mode ("v_fullscreen" nonzero): plays the intro when "hrajvideoraz" is
/// nonzero, then sets "hrajvideoraz" to 0 (flags 2) whether or not it played, so the
/// saved configuration plays it only once. In windowed mode does nothing. The player's
/// result is not used: a video that cannot play has shown its message and start-up goes on.
void PlayIntroVideoOnce(HINSTANCE instance);
