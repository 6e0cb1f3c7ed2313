#pragma once
// Inside the layer only: SDL's scancodes (USB usage positions) and DirectInput's DIK
// codes (PC set-1 positions) for the same physical keys.
#include "platform/win32/Types.h"

#include <SDL.h>

namespace platform::dinput {

/// The DIK code of a key, or 0 for a key DirectInput has no code for.
BYTE DikFromScancode(SDL_Scancode scancode);
/// The SDL scancode of a DIK code, or SDL_SCANCODE_UNKNOWN.
SDL_Scancode ScancodeFromDik(BYTE dik);

}  // namespace platform::dinput
