#include "core/InputMng.h"

#include "core/VarMng.h"
#include "platform/win32.h"

#include <algorithm>
#include <cstring>
#include <iterator>

N_InputMng* g_inputMng = nullptr;

namespace {

/// The input module's copy of the core services block.
N_CoreServices g_inputServices;

/// Mouse-button edge latches (buttons 0-3), process-wide: each remembers the state
/// seen by the last edge query of its button, not the previous frame.
std::int32_t g_buttonLatch[4] = {};

constexpr DWORD kCooperativeLevel = DISCL_NONEXCLUSIVE | DISCL_FOREGROUND;

HRESULT SetBufferSize(IDirectInputDevice8A* device, DWORD size) {
  DIPROPDWORD prop{};
  prop.diph.dwSize = sizeof(DIPROPDWORD);
  prop.diph.dwHeaderSize = sizeof(DIPROPHEADER);
  prop.diph.dwObj = 0;
  prop.diph.dwHow = DIPH_DEVICE;
  prop.dwData = size;
  return device->SetProperty(DIPROP_BUFFERSIZE, &prop.diph);
}

/// DirectInput answers "input lost" while it still sorts out the loss; ours never
/// answers it twice, so the loop ends.
void ReacquireWhileLost(IDirectInputDevice8A* device) {
  while (device->Acquire() == DIERR_INPUTLOST) {
  }
}

}  // namespace

std::unique_ptr<N_InputMng> CreateInputMng(const N_CoreServices& core) {
  g_inputServices = core;
  return std::make_unique<N_InputMng>();
}

N_InputMng::N_InputMng() = default;

HRESULT N_InputMng::CreateDevice(const GUID& guid, const DIDATAFORMAT& format, IDirectInputDevice8A** device) {
  HRESULT hr = m_dinput->CreateDevice(guid, device, nullptr);
  if (FAILED(hr)) return hr;
  if (FAILED(hr = (*device)->SetDataFormat(&format))) return hr;
  if (FAILED(hr = (*device)->SetCooperativeLevel(m_window, kCooperativeLevel))) return hr;
  return SetBufferSize(*device, kEventsPerFrame);
}

std::int32_t N_InputMng::Init() {
  m_eventCount = 0;
  N_VarMng* vars = g_inputServices.varMng;
  void* object = nullptr;
  // The layer's DirectInput needs no module handle.
  HRESULT hr = DirectInput8Create(0, DIRECTINPUT_VERSION, IID_IDirectInput8A, &object, nullptr);
  if (FAILED(hr)) return hr;
  m_dinput = static_cast<IDirectInput8A*>(object);
  // The window is read before the keyboard's cooperative level is set.
  m_window = vars ? vars->GetInt("wnd_handle") : 0;
  if (FAILED(hr = CreateDevice(GUID_SysKeyboard, c_dfDIKeyboard, &m_keyboard))) return hr;
  m_keyboard->Acquire();  // without focus this fails; Update and WM_SETFOCUS try again
  if (FAILED(hr = CreateDevice(GUID_SysMouse, c_dfDIMouse2, &m_mouse))) return hr;
  m_mouse->Acquire();
  return 1;
}

void N_InputMng::Shutdown() {
  if (m_keyboard) m_keyboard->Unacquire();
  if (m_mouse) m_mouse->Unacquire();
  if (m_keyboard) m_keyboard->Release();
  if (m_mouse) m_mouse->Release();
  if (m_dinput) m_dinput->Release();
  m_keyboard = nullptr;
  m_mouse = nullptr;
  m_dinput = nullptr;
}

HRESULT N_InputMng::Acquire() { return m_keyboard ? m_keyboard->Acquire() : DIERR_NOTINITIALIZED; }

void N_InputMng::Update() {
  platform::PumpEvents();
  if (!m_keyboard) return;
  std::memset(m_keys, 0, sizeof m_keys);
  if (FAILED(m_keyboard->GetDeviceState(sizeof m_keys, m_keys))) {
    std::memset(m_keys, 0, sizeof m_keys);
    ReacquireWhileLost(m_keyboard);
    m_eventCount = 0;
    // A still mouse too: last frame's motion must not be replayed every frame while
    // the window is away.
    m_mouseState = {};
    std::fill(std::begin(m_buttonWentDown), std::end(m_buttonWentDown), false);
    return;
  }
  ReadKeyboardEvents();
  ReadMouse();
}

void N_InputMng::ReadKeyboardEvents() {
  DWORD count = kEventsPerFrame;
  if (FAILED(m_keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), m_events, &count, 0))) count = 0;
  m_eventCount = count;
  for (DWORD i = 0; i < m_eventCount; ++i) {
    if (m_events[i].dwData & 0x80) m_text.OnKeyDown(m_events[i].dwOfs);
  }
}

void N_InputMng::ReadMouse() {
  if (!m_mouse) return;
  m_mouseState = {};
  if (FAILED(m_mouse->GetDeviceState(sizeof m_mouseState, &m_mouseState))) {
    ReacquireWhileLost(m_mouse);
    m_mouseState = {};
    std::fill(std::begin(m_buttonWentDown), std::end(m_buttonWentDown), false);
    return;
  }
  ReadMouseEvents();
}

void N_InputMng::ReadMouseEvents() {
  std::fill(std::begin(m_buttonWentDown), std::end(m_buttonWentDown), false);
  DIDEVICEOBJECTDATA events[kEventsPerFrame];
  DWORD count = kEventsPerFrame;
  if (FAILED(m_mouse->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), events, &count, 0))) return;
  for (DWORD i = 0; i < count; ++i) {
    const DWORD button = events[i].dwOfs - DIMOFS_BUTTON0;
    if (button < std::size(m_buttonWentDown) && (events[i].dwData & 0x80)) m_buttonWentDown[button] = true;
  }
}

std::int32_t N_InputMng::IsPressed(std::int32_t device, std::int32_t code, std::uint8_t edge) {
  if (device == kKeyboard) return KeyQuery(code, edge);
  if (device == kMouse) return MouseQuery(code, edge);
  return 0;
}

std::int32_t N_InputMng::KeyQuery(std::int32_t code, std::uint8_t edge) const {
  if (code < 0 || code > 255) return 0;
  if (edge == 0) return (m_keys[code] & 0x80) ? 1 : 0;
  for (DWORD i = 0; i < m_eventCount; ++i) {
    if (m_events[i].dwOfs == static_cast<DWORD>(code) && (m_events[i].dwData & 0x80)) return 1;
  }
  return 0;
}

std::int32_t N_InputMng::MouseQuery(std::int32_t code, std::uint8_t edge) const {
  switch (code) {
    case 0: return -m_mouseState.lX;
    case 1: return -m_mouseState.lY;
    case 2: return -m_mouseState.lZ;
    case 7: return m_mouseState.lZ > 0 ? 1 : 0;
    case 8: return m_mouseState.lZ < 0 ? 1 : 0;
    default: break;
  }
  if (code < 3 || code > 6) return 0;
  const int button = code - 3;
  const std::int32_t now = (m_mouseState.rgbButtons[button] & 0x80) || m_buttonWentDown[button] ? 1 : 0;
  if (edge == 0) return now;
  std::int32_t& latch = g_buttonLatch[button];
  const bool wentDown = latch == 0 && now == 1;
  latch = now;
  return wentDown ? 1 : 0;
}

const char* N_InputMng::GetText() { return m_text.GetText(); }
void N_InputMng::SetText(const char* text) { m_text.SetText(text); }
std::int32_t N_InputMng::GetCursor() { return m_text.GetCursor(); }
void N_InputMng::SetMaxLength(std::int32_t n) { m_text.SetMaxLength(n); }
void N_InputMng::SetTextInputEnabled(std::uint8_t enabled) { m_text.SetEnabled(enabled != 0); }
void N_InputMng::ClearText() { m_text.ClearText(); }
