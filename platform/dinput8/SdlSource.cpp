// SDL as the input source: keyboard and button state from SDL's own state, key
// transitions and motion from the events of the shared event pump.
#include "platform/dinput8/ScanCodes.h"
#include "platform/dinput8/Source.h"
#include "platform/win32/EventPump.h"
#include "platform/win32/WindowTable.h"

#include <SDL.h>

#include <cstring>

namespace platform::dinput {
namespace {

constexpr LONG kWheelUnitsPerNotch = 120;
// SDL numbers left, middle, right, X1, X2, ...; DirectInput left, right, middle, ...
constexpr int kSdlButtonOf[8] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1,
                                 SDL_BUTTON_X2,   6,                7,                 8};

/// The DirectInput number of an SDL button; -1 for none.
int DirectInputButton(Uint8 sdlButton) {
  for (int b = 0; b < 8; ++b) {
    if (kSdlButtonOf[b] == sdlButton) return b;
  }
  return -1;
}

Uint32 g_pointerWindow = 0;  ///< the SDL window the pointer last entered

class SdlSource final : public InputSource {
 public:
  bool HasFocus(HWND window) const override {
    SDL_Window* w = LookupWindow(window);
    return w && SDL_GetKeyboardFocus() == w;
  }

  void ReadKeys(BYTE keys[256]) const override {
    std::memset(keys, 0, 256);
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int sc = 0; sc < count; ++sc) {
      if (!state[sc]) continue;
      if (const BYTE dik = DikFromScancode(static_cast<SDL_Scancode>(sc))) keys[dik] = 0x80;
    }
  }

  BYTE HeldButtons() const override {
    const Uint32 mask = SDL_GetMouseState(nullptr, nullptr);
    BYTE held = 0;
    for (int b = 0; b < 8; ++b) {
      if (mask & SDL_BUTTON(kSdlButtonOf[b])) held |= static_cast<BYTE>(1u << b);
    }
    return held;
  }

  bool CapsLockOn() const override { return (SDL_GetModState() & KMOD_CAPS) != 0; }

  // Where SDL last saw the pointer in a window, kept within that window: the position
  // follows the window's motion events, which the display also sends for a pointer
  // that was put somewhere (warped). Only before the pointer was over any window is
  // the display asked (SDL answers that from a cache that only the hardware's own
  // motion renews).
  bool Pointer(POINT& point) const override {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
    int x = 0, y = 0;
    SDL_Window* window = SDL_GetMouseFocus();
    if (!window) window = SDL_GetWindowFromID(g_pointerWindow);
    if (!window) {
      SDL_GetGlobalMouseState(&x, &y);
      point = {x, y};
      return true;
    }
    int left = 0, top = 0;
    SDL_GetWindowPosition(window, &left, &top);
    SDL_GetMouseState(&x, &y);
    point = {left + x, top + y};
    return true;
  }
};

const SdlSource& Sdl() {
  static const SdlSource source;
  return source;
}

const InputSource* g_installed = nullptr;
int g_relativeMouseHolders = 0;

void ApplyRelativeMouse() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
  const bool on = g_relativeMouseHolders > 0 && &ActiveSource() == &Sdl();
  if ((SDL_GetRelativeMouseMode() == SDL_TRUE) == on) return;
  SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE);  // a refusal leaves plain motion
}

void OnSdlEvent(const SDL_Event& e) {
  if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_ENTER) g_pointerWindow = e.window.windowID;
  if (&ActiveSource() != &Sdl()) return;
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      if (e.key.repeat) return;  // DirectInput reports a held key once
      // Keys without a DIK code are dropped: code 0 must never be reported.
      if (const BYTE dik = DikFromScancode(e.key.keysym.scancode)) PostKey(dik, e.type == SDL_KEYDOWN, e.key.timestamp);
      return;
    }
    case SDL_MOUSEMOTION:
      PostMouseMotion(e.motion.xrel, e.motion.yrel, 0);
      return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      PostMouseButton(DirectInputButton(e.button.button), e.type == SDL_MOUSEBUTTONDOWN, e.button.timestamp);
      return;
    case SDL_MOUSEWHEEL: {
      const LONG notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
      PostMouseMotion(0, 0, notches * kWheelUnitsPerNotch);
      return;
    }
    default:
      return;
  }
}

}  // namespace

void HoldSdlRelativeMouse(bool hold) {
  g_relativeMouseHolders += hold ? 1 : -1;
  ApplyRelativeMouse();
}

const InputSource& ActiveSource() { return g_installed ? *g_installed : Sdl(); }

void InstallSource(const InputSource* source) {
  g_installed = source;
  ApplyRelativeMouse();
}

void EnsureSdlSource() {
  static const int listener = AddEventListener(OnSdlEvent);
  (void)listener;
}

}  // namespace platform::dinput
