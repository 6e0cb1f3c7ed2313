#pragma once
// Inside the layer only: where the DirectInput devices get their input. One source is
// active at a time: SDL's (the default) or a scripted one that tests install. The
// active source feeds transitions and motion into the acquired devices through the
// Post* calls, and answers what is held now.
#include "platform/win32/Types.h"
#include "platform/win32/Window.h"

namespace platform::dinput {

class InputSource {
 public:
  virtual ~InputSource() = default;
  /// True while the window (an HWND of the window table) has the keyboard focus.
  virtual bool HasFocus(HWND window) const = 0;
  /// The keys held now: 0x80 at each held DIK code, 0 elsewhere.
  virtual void ReadKeys(BYTE keys[256]) const = 0;
  /// The mouse buttons held now: bit i for DirectInput button i.
  virtual BYTE HeldButtons() const = 0;
  /// Caps Lock's toggle state.
  virtual bool CapsLockOn() const = 0;
  /// Where the pointer stands on the desktop; false when there is none to ask.
  virtual bool Pointer(POINT& point) const = 0;
};

/// The scripted source while one is installed, else SDL's.
const InputSource& ActiveSource();
/// Makes a source the active one; null gives SDL's back.
void InstallSource(const InputSource* source);
/// Makes SDL's events reach the devices (registers its event listener once).
void EnsureSdlSource();

/// A key went down or up (feeds every acquired keyboard's buffer).
void PostKey(BYTE dik, bool down, DWORD timeMs);
/// Relative motion and wheel units (feed every acquired mouse).
void PostMouseMotion(LONG dx, LONG dy, LONG wheel);
/// A mouse button (DirectInput numbering) went down or up (feeds every acquired
/// mouse's buffer).
void PostMouseButton(int button, bool down, DWORD timeMs);

/// One more (true) or one fewer (false) holder of SDL's relative mouse mode: while any
/// holds it, the pointer is hidden and held in the focused window and motion keeps
/// coming at the screen's edge, as from a DirectInput mouse. The holders are the mice
/// acquired exclusively in the foreground and the pointer's clip (ClipCursor). The mode
/// is SDL's pointer's: it is on only while SDL is the source and its video runs.
void HoldSdlRelativeMouse(bool hold);

}  // namespace platform::dinput
