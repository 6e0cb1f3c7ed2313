#pragma once
// Inside the layer only: a DirectInput keyboard or mouse. Every live device is in a
// list that the active input source feeds (PostKey, PostMouseMotion); a device takes
// input only while acquired and, at the foreground level, while its window has focus.
// The keyboard buffers its key transitions; the mouse buffers its button transitions
// and sums its motion between state reads. A mouse acquired exclusively in the
// foreground puts SDL in relative mouse mode until it is unacquired or lost.
#include "platform/dinput8.h"

#include <deque>

namespace platform::dinput {

class Device final : public IDirectInputDevice8A {
 public:
  enum class Kind { Keyboard, Mouse };

  explicit Device(Kind kind);
  ~Device();
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT SetDataFormat(const DIDATAFORMAT* format) override;
  HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
  HRESULT SetProperty(REFGUID property, const DIPROPHEADER* header) override;
  HRESULT Acquire() override;
  HRESULT Unacquire() override;
  HRESULT GetDeviceState(DWORD size, void* data) override;
  HRESULT GetDeviceData(DWORD objectSize, DIDEVICEOBJECTDATA* data, DWORD* count, DWORD flags) override;

  Kind GetKind() const { return m_kind; }
  /// Called by the source for every key transition.
  void OnKey(BYTE dik, bool down, DWORD timeMs, DWORD sequence);
  /// Called by the source for every relative motion.
  void OnMotion(LONG dx, LONG dy, LONG wheel);
  /// Called by the source for every mouse button transition.
  void OnButton(int button, bool down, DWORD timeMs, DWORD sequence);

 private:
  /// A foreground device whose window lost the focus becomes lost (unacquired).
  void CheckFocus();
  /// Acquired and not lost: the device takes input.
  bool IsLive();
  /// Why a read cannot be answered (DI_OK when it can).
  HRESULT ReadBlocker();
  void Clear();
  /// Takes or gives back this device's share of the relative mouse mode (on while at
  /// least one mouse is acquired exclusively in the foreground).
  void HoldRelativeMouse(bool hold);
  HRESULT ReadKeyboard(DWORD size, void* data);
  HRESULT ReadMouse(DWORD size, void* data);
  /// Appends an event while there is room; a full buffer keeps its oldest.
  void Buffer(const DIDEVICEOBJECTDATA& event);

  Kind m_kind;
  ULONG m_refs = 1;
  const DIDATAFORMAT* m_format = nullptr;  ///< null until SetDataFormat
  HWND m_window = 0;
  DWORD m_level = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
  DWORD m_bufferSize = 0;  ///< events kept at most; 0 = unbuffered
  bool m_acquired = false;
  bool m_lost = false;      ///< focus lost while acquired; cleared by Acquire/Unacquire
  bool m_overflow = false;  ///< events were dropped since the last buffered read
  bool m_holdsRelativeMouse = false;
  std::deque<DIDEVICEOBJECTDATA> m_buffer;
  LONG m_dx = 0, m_dy = 0, m_wheel = 0;
};

}  // namespace platform::dinput
