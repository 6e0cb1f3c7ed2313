#pragma once
// A keyboard and mouse driven by code: while a ScriptedInput exists, every DirectInput
// device (and the system key state behind text translation) reads from it instead of
// SDL, so tests press keys and move the mouse without a display. One at a time.
//
// The script is the hardware: a key that is already down does not go down again, keys
// stay as pressed whichever window has the focus; the focus starts on, and losing it
// makes foreground devices lost.
#include "platform/win32/Types.h"

#include <memory>

namespace platform {

class ScriptedInput {
 public:
  ScriptedInput();
  ~ScriptedInput();
  ScriptedInput(const ScriptedInput&) = delete;
  ScriptedInput& operator=(const ScriptedInput&) = delete;

  void KeyDown(BYTE dik);
  void KeyUp(BYTE dik);
  /// Down and up again, both before the next read.
  void Tap(BYTE dik);
  /// Relative motion in mickeys (x right, y down). The desktop's pointer (GetCursorPos),
  /// at (0, 0) at first, moves as many pixels.
  void MoveMouse(LONG dx, LONG dy);
  /// Wheel notches, away from the user positive (120 units each).
  void TurnWheel(LONG notches);
  /// DirectInput button numbers: 0 left, 1 right, 2 middle, 3-7 the others.
  void ButtonDown(int button);
  void ButtonUp(int button);
  /// Down and up again, both before the next read.
  void Click(int button);
  /// Gives or takes the keyboard focus of every window.
  void SetFocus(bool focused);

 private:
  class Source;
  std::unique_ptr<Source> m_source;
};

}  // namespace platform
