#include "platform/dinput8/Device.h"

#include "platform/dinput8/Source.h"
#include "platform/win32/Debug.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace platform::dinput {
namespace {

std::vector<Device*>& LiveDevices() {
  static std::vector<Device*> devices;
  return devices;
}

DWORD g_sequence = 0;

void WarnOnce(const std::string& what) {
  static std::set<std::string> said;
  if (said.insert(what).second) OutputDebugStringA(("dinput8: unsupported " + what + ", ignored\n").c_str());
}

bool ExactlyOne(DWORD flags, DWORD a, DWORD b) { return ((flags & a) != 0) != ((flags & b) != 0); }

}  // namespace

void PostKey(BYTE dik, bool down, DWORD timeMs) {
  const DWORD sequence = ++g_sequence;
  for (Device* d : LiveDevices()) {
    if (d->GetKind() == Device::Kind::Keyboard) d->OnKey(dik, down, timeMs, sequence);
  }
}

void PostMouseMotion(LONG dx, LONG dy, LONG wheel) {
  for (Device* d : LiveDevices()) {
    if (d->GetKind() == Device::Kind::Mouse) d->OnMotion(dx, dy, wheel);
  }
}

void PostMouseButton(int button, bool down, DWORD timeMs) {
  if (button < 0 || button >= 8) return;
  const DWORD sequence = ++g_sequence;
  for (Device* d : LiveDevices()) {
    if (d->GetKind() == Device::Kind::Mouse) d->OnButton(button, down, timeMs, sequence);
  }
}

Device::Device(Kind kind) : m_kind(kind) { LiveDevices().push_back(this); }

Device::~Device() {
  HoldRelativeMouse(false);
  std::erase(LiveDevices(), this);
}

void Device::HoldRelativeMouse(bool hold) {
  if (hold == m_holdsRelativeMouse) return;
  m_holdsRelativeMouse = hold;
  HoldSdlRelativeMouse(hold);
}

ULONG Device::AddRef() { return ++m_refs; }

ULONG Device::Release() {
  const ULONG left = --m_refs;
  if (left == 0) delete this;
  return left;
}

HRESULT Device::SetDataFormat(const DIDATAFORMAT* format) {
  if (m_acquired) return DIERR_ACQUIRED;
  const bool fits = m_kind == Kind::Keyboard ? format == &c_dfDIKeyboard
                                             : (format == &c_dfDIMouse || format == &c_dfDIMouse2);
  if (!fits) {
    WarnOnce("data format");
    return DIERR_INVALIDPARAM;
  }
  m_format = format;
  return DI_OK;
}

HRESULT Device::SetCooperativeLevel(HWND window, DWORD flags) {
  if (m_acquired) return DIERR_ACQUIRED;
  if (!ExactlyOne(flags, DISCL_EXCLUSIVE, DISCL_NONEXCLUSIVE) ||
      !ExactlyOne(flags, DISCL_FOREGROUND, DISCL_BACKGROUND)) {
    return DIERR_INVALIDPARAM;
  }
  // Exclusive access changes nothing for the keyboard, nor does the Windows-key switch:
  // SDL shares the keyboard with the desktop. An exclusive foreground mouse takes
  // SDL's relative mode while acquired.
  m_window = window;
  m_level = flags;
  return DI_OK;
}

HRESULT Device::SetProperty(REFGUID property, const DIPROPHEADER* header) {
  if (!(property == DIPROP_BUFFERSIZE)) {
    WarnOnce("device property");
    return DIERR_UNSUPPORTED;
  }
  if (!header || header->dwSize != sizeof(DIPROPDWORD) || header->dwHeaderSize != sizeof(DIPROPHEADER) ||
      header->dwHow != DIPH_DEVICE) {
    return DIERR_INVALIDPARAM;
  }
  if (m_acquired) return DIERR_ACQUIRED;
  m_bufferSize = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
  return DI_OK;
}

void Device::CheckFocus() {
  if (m_acquired && (m_level & DISCL_FOREGROUND) && !ActiveSource().HasFocus(m_window)) {
    m_acquired = false;
    m_lost = true;
    Clear();
    HoldRelativeMouse(false);
  }
}

bool Device::IsLive() {
  CheckFocus();
  return m_acquired;
}

void Device::Clear() {
  m_buffer.clear();
  m_overflow = false;
  m_dx = m_dy = m_wheel = 0;
}

HRESULT Device::Acquire() {
  if (!m_format) return DIERR_INVALIDPARAM;
  CheckFocus();
  if (m_acquired) return DI_NOEFFECT;
  if ((m_level & DISCL_FOREGROUND) && !ActiveSource().HasFocus(m_window)) return DIERR_OTHERAPPHASPRIO;
  m_acquired = true;
  m_lost = false;
  Clear();
  constexpr DWORD kExclusiveForeground = DISCL_EXCLUSIVE | DISCL_FOREGROUND;
  HoldRelativeMouse(m_kind == Kind::Mouse && (m_level & kExclusiveForeground) == kExclusiveForeground);
  return DI_OK;
}

HRESULT Device::Unacquire() {
  if (!m_acquired && !m_lost) return DI_NOEFFECT;
  m_acquired = false;
  m_lost = false;
  Clear();
  HoldRelativeMouse(false);
  return DI_OK;
}

HRESULT Device::ReadBlocker() {
  CheckFocus();
  if (m_lost) return DIERR_INPUTLOST;
  if (!m_acquired) return DIERR_NOTACQUIRED;
  return DI_OK;
}

HRESULT Device::GetDeviceState(DWORD size, void* data) {
  if (!data || !m_format || size != m_format->dwDataSize) return DIERR_INVALIDPARAM;
  if (const HRESULT blocked = ReadBlocker(); FAILED(blocked)) return blocked;
  return m_kind == Kind::Keyboard ? ReadKeyboard(size, data) : ReadMouse(size, data);
}

HRESULT Device::ReadKeyboard(DWORD, void* data) {
  BYTE keys[256];
  ActiveSource().ReadKeys(keys);
  std::memcpy(data, keys, sizeof keys);
  return DI_OK;
}

HRESULT Device::ReadMouse(DWORD size, void* data) {
  DIMOUSESTATE2 state{};
  state.lX = m_dx;
  state.lY = m_dy;
  state.lZ = m_wheel;
  const BYTE held = ActiveSource().HeldButtons();
  for (int b = 0; b < 8; ++b) state.rgbButtons[b] = (held >> b) & 1 ? 0x80 : 0;
  m_dx = m_dy = m_wheel = 0;
  // The plain format is the same record with four buttons.
  std::memcpy(data, &state, size);
  return DI_OK;
}

HRESULT Device::GetDeviceData(DWORD objectSize, DIDEVICEOBJECTDATA* data, DWORD* count, DWORD flags) {
  if (!count || objectSize != sizeof(DIDEVICEOBJECTDATA) || !m_format) return DIERR_INVALIDPARAM;
  if (const HRESULT blocked = ReadBlocker(); FAILED(blocked)) {
    *count = 0;
    return blocked;
  }
  const DWORD n = std::min<DWORD>(*count, static_cast<DWORD>(m_buffer.size()));
  if (data) std::copy_n(m_buffer.begin(), n, data);
  *count = n;
  const HRESULT result = m_overflow ? DI_BUFFEROVERFLOW : DI_OK;
  if (!(flags & DIGDD_PEEK)) {
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + n);
    m_overflow = false;
  }
  return result;
}

void Device::Buffer(const DIDEVICEOBJECTDATA& event) {
  if (m_buffer.size() >= m_bufferSize) {
    // A full buffer keeps its oldest events, as DirectInput does.
    m_overflow = true;
    return;
  }
  m_buffer.push_back(event);
}

void Device::OnKey(BYTE dik, bool down, DWORD timeMs, DWORD sequence) {
  if (IsLive()) Buffer({dik, down ? 0x80u : 0x00u, timeMs, sequence, 0});
}

void Device::OnButton(int button, bool down, DWORD timeMs, DWORD sequence) {
  if (IsLive()) Buffer({DIMOFS_BUTTON0 + DWORD(button), down ? 0x80u : 0x00u, timeMs, sequence, 0});
}

void Device::OnMotion(LONG dx, LONG dy, LONG wheel) {
  if (!IsLive()) return;
  m_dx += dx;
  m_dy += dy;
  m_wheel += wheel;
}

}  // namespace platform::dinput
