#pragma once
// The DirectInput-8-shaped keyboard and mouse the engine reads, implemented over SDL2
// (or over a scripted source in tests, platform/dinput8/ScriptedInput.h).
//
// What the devices report:
// - keyboard state: 256 bytes indexed by DIK code, 0x80 while the key is held;
// - keyboard buffer: one DIDEVICEOBJECTDATA per key transition (dwOfs = DIK code,
//   dwData 0x80 down / 0x00 up), in order; the system's auto-repeat adds nothing;
// - mouse state: relative x, y and wheel motion since the previous state read
//   (120 wheel units a notch, away from the user positive) and eight buttons
//   (0 left, 1 right, 2 middle, 3 and 4 the side buttons);
// - mouse buffer: one DIDEVICEOBJECTDATA per button transition (dwOfs =
//   DIMOFS_BUTTON0 + button, dwData 0x80 down / 0x00 up), in order, so that a press
//   and release between two state reads is not lost; the motion is not buffered.
// A device with DISCL_FOREGROUND works only while its window has the keyboard focus:
// losing it makes the next read answer DIERR_INPUTLOST and unacquires the device;
// Acquire without the focus answers DIERR_OTHERAPPHASPRIO.
#include "platform/dinput8/Keys.h"
#include "platform/win32/Types.h"
#include "platform/win32/Unknown.h"


constexpr DWORD DIRECTINPUT_VERSION = 0x0800;

extern const GUID IID_IDirectInput8A;
extern const GUID GUID_SysKeyboard;
extern const GUID GUID_SysMouse;
/// DirectInput names its properties by small numbers in a GUID's place; ours carry
/// the number in Data1.
extern const GUID DIPROP_BUFFERSIZE;

// Result codes.
constexpr HRESULT DI_OK = S_OK;
constexpr HRESULT DI_NOEFFECT = S_FALSE;
constexpr HRESULT DI_BUFFEROVERFLOW = S_FALSE;
constexpr HRESULT DIERR_INVALIDPARAM = E_INVALIDARG;
constexpr HRESULT DIERR_NOINTERFACE = E_NOINTERFACE;
constexpr HRESULT DIERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DIERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
constexpr HRESULT DIERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x80070005u);
constexpr HRESULT DIERR_NOTINITIALIZED = static_cast<HRESULT>(0x80070015u);
constexpr HRESULT DIERR_ACQUIRED = static_cast<HRESULT>(0x800700AAu);
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT DIERR_OLDDIRECTINPUTVERSION = static_cast<HRESULT>(0x8007047Eu);
constexpr HRESULT DIERR_BETADIRECTINPUTVERSION = static_cast<HRESULT>(0x80070481u);

// Cooperative levels.
constexpr DWORD DISCL_EXCLUSIVE = 0x01;
constexpr DWORD DISCL_NONEXCLUSIVE = 0x02;
constexpr DWORD DISCL_FOREGROUND = 0x04;
constexpr DWORD DISCL_BACKGROUND = 0x08;
constexpr DWORD DISCL_NOWINKEY = 0x10;

// Property addressing and buffered-read flags.
constexpr DWORD DIPH_DEVICE = 0;
constexpr DWORD DIGDD_PEEK = 0x01;

struct DIDATAFORMAT {
  DWORD dwSize;
  DWORD dwObjSize;
  DWORD dwFlags;
  DWORD dwDataSize;  ///< bytes of the device state this format reads
  DWORD dwNumObjs;
  const void* rgodf;
};
/// The three formats the layer knows: a device accepts only these objects.
extern const DIDATAFORMAT c_dfDIKeyboard;
extern const DIDATAFORMAT c_dfDIMouse;
extern const DIDATAFORMAT c_dfDIMouse2;

struct DIPROPHEADER {
  DWORD dwSize;
  DWORD dwHeaderSize;
  DWORD dwObj;
  DWORD dwHow;
};
struct DIPROPDWORD {
  DIPROPHEADER diph;
  DWORD dwData;
};

/// One buffered event. The application word is 32 bits here (DirectInput's 32-bit
/// record of 20 bytes), since nothing stores a pointer in it.
struct DIDEVICEOBJECTDATA {
  DWORD dwOfs;        ///< keyboard: the DIK code; mouse: DIMOFS_BUTTON0 + the button
  DWORD dwData;       ///< 0x80 key or button down, 0 up
  DWORD dwTimeStamp;  ///< milliseconds
  DWORD dwSequence;   ///< increasing over all devices
  DWORD uAppData;
};
static_assert(sizeof(DIDEVICEOBJECTDATA) == 20);

/// The mouse objects' offsets in its state record (DIMOUSESTATE2), which name them in
/// its buffered events.
constexpr DWORD DIMOFS_X = 0;
constexpr DWORD DIMOFS_Y = 4;
constexpr DWORD DIMOFS_Z = 8;
constexpr DWORD DIMOFS_BUTTON0 = 12;

struct DIMOUSESTATE {
  LONG lX;
  LONG lY;
  LONG lZ;
  BYTE rgbButtons[4];
};
static_assert(sizeof(DIMOUSESTATE) == 16);

struct DIMOUSESTATE2 {
  LONG lX;
  LONG lY;
  LONG lZ;
  BYTE rgbButtons[8];
};
static_assert(sizeof(DIMOUSESTATE2) == 20);

/// A keyboard or mouse. Reference counted: the creator's reference is dropped with Release.
class IDirectInputDevice8A {
 public:
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  /// Must be the device's own format (c_dfDIKeyboard, or c_dfDIMouse/2); not while acquired.
  virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
  /// One of EXCLUSIVE/NONEXCLUSIVE and one of FOREGROUND/BACKGROUND; the window is an HWND.
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
  /// DIPROP_BUFFERSIZE with a DIPROPDWORD for the whole device; not while acquired.
  virtual HRESULT SetProperty(REFGUID property, const DIPROPHEADER* header) = 0;
  /// DI_OK, DI_NOEFFECT when already acquired, DIERR_OTHERAPPHASPRIO without the focus,
  /// DIERR_INVALIDPARAM before a data format is set.
  virtual HRESULT Acquire() = 0;
  virtual HRESULT Unacquire() = 0;
  /// Copies the state; size must match the data format.
  virtual HRESULT GetDeviceState(DWORD size, void* data) = 0;
  /// Takes up to *count events (in: room, out: taken); DIGDD_PEEK leaves them queued.
  /// DI_BUFFEROVERFLOW when events were dropped since the last call.
  virtual HRESULT GetDeviceData(DWORD objectSize, DIDEVICEOBJECTDATA* data, DWORD* count, DWORD flags) = 0;

 protected:
  ~IDirectInputDevice8A() = default;
};

class IDirectInput8A {
 public:
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  /// GUID_SysKeyboard or GUID_SysMouse; anything else answers DIERR_DEVICENOTREG.
  virtual HRESULT CreateDevice(REFGUID device, IDirectInputDevice8A** out, void* outer) = 0;

 protected:
  ~IDirectInput8A() = default;
};

/// Creates the DirectInput object (version 0x0800, IID_IDirectInput8A) into *out.
HRESULT DirectInput8Create(HINSTANCE instance, DWORD version, REFIID iid, void** out, void* outer);

namespace platform {
/// Polls every waiting platform event and hands it to the window and input layers
/// (the same pump as the main loop's message drain; platform/win32/EventPump.h).
void PumpEvents();
}  // namespace platform
