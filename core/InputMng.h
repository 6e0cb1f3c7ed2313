#pragma once
// The input manager: reads the keyboard and the mouse through DirectInput once per
// frame and answers, from anywhere in the game, whether a key or button is held now
// or went down this frame, plus the mouse's relative motion and wheel. It owns the
// text-entry buffer of the GUI's edit boxes.
//
// One manager, made at start-up by CreateInputMng after the window exists, then Init
// and Acquire; reached through g_inputMng. Per frame the main loop (and any waiting
// loop of its own) calls Update:
//   1. pump the platform's events (so loops that call only Update still see input),
//   2. read the keyboard state (a failed read means the device was lost: re-acquire,
//      report all keys up, no events and a still mouse for this frame),
//   3. read this frame's key events and feed their key-downs to the text input,
//   4. read the mouse state.
// Queries are valid from one Update to the next. Shutdown before release.
#include "core/CoreServices.h"
#include "core/TextInput.h"
#include "platform/dinput8.h"

#include <cstdint>
#include <memory>

class N_InputMng final {
 public:
  static constexpr int kKeyboard = 1;  ///< IsPressed device numbers
  static constexpr int kMouse = 2;
  static constexpr DWORD kEventsPerFrame = 256;

  N_InputMng();
  N_InputMng(const N_InputMng&) = delete;
  N_InputMng& operator=(const N_InputMng&) = delete;

  /// Creates DirectInput and both devices; 1, or the failing step's (negative) result.
  virtual std::int32_t Init();
  /// Unacquires and releases both devices and DirectInput (each only if present).
  virtual void Shutdown();
  virtual void Update();
  /// Acquires the keyboard; DIERR_NOTINITIALIZED without one.
  virtual HRESULT Acquire();
  /// The query of a key (device 1, DIK code 0-255) or of the mouse (device 2, code 0-8);
  /// edge 0 = held now, edge 1 = went down this frame. Mouse codes: 0-2 minus the x, y
  /// and wheel motion; 3-6 buttons 0-3; 7 wheel turned away; 8 wheel turned back.
  /// A button pressed during the frame counts as held in it, also when it was let go
  /// again before the frame's read: a quick click is never lost. Anything else
  /// answers 0.
  virtual std::int32_t IsPressed(std::int32_t device, std::int32_t code, std::uint8_t edge);
  virtual const char* GetText();
  virtual void SetText(const char* text);
  virtual std::int32_t GetCursor();
  virtual void SetMaxLength(std::int32_t n);
  virtual void SetTextInputEnabled(std::uint8_t enabled);
  virtual void ClearText();

 private:
  std::int32_t KeyQuery(std::int32_t code, std::uint8_t edge) const;
  std::int32_t MouseQuery(std::int32_t code, std::uint8_t edge) const;
  HRESULT CreateDevice(const GUID& guid, const DIDATAFORMAT& format, IDirectInputDevice8A** device);
  void ReadKeyboardEvents();
  void ReadMouse();
  /// Notes the buttons whose buffered events went down since the last read.
  void ReadMouseEvents();

  IDirectInput8A* m_dinput = nullptr;
  IDirectInputDevice8A* m_keyboard = nullptr;
  IDirectInputDevice8A* m_mouse = nullptr;
  HWND m_window = 0;                           ///< "wnd_handle" at Init
  BYTE m_keys[256] = {};                       ///< this frame's state by DIK code; 0x80 = held
  DIMOUSESTATE2 m_mouseState = {};
  bool m_buttonWentDown[4] = {};               ///< buttons 0-3 pressed this frame
  DIDEVICEOBJECTDATA m_events[2 * kEventsPerFrame] = {};
  DWORD m_eventCount = 0;                      ///< valid entries of m_events this frame
  N_TextInput m_text;
};

/// Makes the input manager; it keeps its own copy of the core services block and reads
/// the variable registry from it.
std::unique_ptr<N_InputMng> CreateInputMng(const N_CoreServices& core);

/// The game's input manager; null until the application made it.
extern N_InputMng* g_inputMng;
