#include "platform/dinput8.h"
#include "platform/dinput8/ScanCodes.h"
#include "platform/dinput8/ScriptedInput.h"
#include "platform/win32/EventPump.h"
#include "tests/support/TestWindow.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

namespace {

// Owns a DirectInput object and the devices made from it.
class Devices {
 public:
  Devices() {
    void* object = nullptr;
    EXPECT_EQ(DirectInput8Create(0, DIRECTINPUT_VERSION, IID_IDirectInput8A, &object, nullptr), DI_OK);
    m_dinput = static_cast<IDirectInput8A*>(object);
  }
  ~Devices() {
    for (IDirectInputDevice8A* d : m_made) d->Release();
    if (m_dinput) m_dinput->Release();
  }
  /// A device with its data format, the level and a 256-event buffer, acquired.
  IDirectInputDevice8A* Make(const GUID& guid, const DIDATAFORMAT& format, DWORD level, DWORD buffer = 256) {
    IDirectInputDevice8A* d = nullptr;
    EXPECT_EQ(m_dinput->CreateDevice(guid, &d, nullptr), DI_OK);
    if (!d) return nullptr;
    m_made.push_back(d);
    EXPECT_EQ(d->SetDataFormat(&format), DI_OK);
    EXPECT_EQ(d->SetCooperativeLevel(1, level), DI_OK);
    EXPECT_EQ(SetBuffer(d, buffer), DI_OK);
    EXPECT_EQ(d->Acquire(), DI_OK);
    return d;
  }
  IDirectInput8A* Object() { return m_dinput; }

  static HRESULT SetBuffer(IDirectInputDevice8A* d, DWORD size) {
    DIPROPDWORD prop{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, size};
    return d->SetProperty(DIPROP_BUFFERSIZE, &prop.diph);
  }

 private:
  IDirectInput8A* m_dinput = nullptr;
  std::vector<IDirectInputDevice8A*> m_made;
};

constexpr DWORD kForeground = DISCL_NONEXCLUSIVE | DISCL_FOREGROUND;
constexpr DWORD kBackground = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;

std::vector<DIDEVICEOBJECTDATA> TakeEvents(IDirectInputDevice8A* d, HRESULT* result = nullptr, DWORD flags = 0) {
  std::vector<DIDEVICEOBJECTDATA> events(256);
  DWORD count = 256;
  const HRESULT hr = d->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), events.data(), &count, flags);
  if (result) *result = hr;
  events.resize(FAILED(hr) ? 0 : count);
  return events;
}

TEST(DirectInput, CreationChecksVersionInterfaceAndDevice) {
  struct Case {
    DWORD version;
    const GUID* iid;
    HRESULT expected;
  } cases[] = {
      {0x0800, &IID_IDirectInput8A, DI_OK},
      {0x0700, &IID_IDirectInput8A, DIERR_OLDDIRECTINPUTVERSION},
      {0x0900, &IID_IDirectInput8A, DIERR_BETADIRECTINPUTVERSION},
      {0x0800, &GUID_SysMouse, DIERR_NOINTERFACE},
  };
  for (const Case& c : cases) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(DirectInput8Create(0, c.version, *c.iid, &object, nullptr), c.expected) << std::hex << c.version;
    EXPECT_EQ(object != nullptr, c.expected == DI_OK);
    if (object) static_cast<IDirectInput8A*>(object)->Release();
  }
  Devices devices;
  IDirectInputDevice8A* device = reinterpret_cast<IDirectInputDevice8A*>(1);
  EXPECT_EQ(devices.Object()->CreateDevice(IID_IDirectInput8A, &device, nullptr), DIERR_DEVICENOTREG);
  EXPECT_EQ(device, nullptr);
}

TEST(DirectInput, DeviceSetUpIsValidated) {
  platform::ScriptedInput input;
  Devices devices;
  IDirectInputDevice8A* keyboard = nullptr;
  ASSERT_EQ(devices.Object()->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);
  EXPECT_EQ(keyboard->Acquire(), DIERR_INVALIDPARAM);  // no data format yet
  EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIMouse2), DIERR_INVALIDPARAM);
  EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
  const DWORD badLevels[] = {0, DISCL_NONEXCLUSIVE, DISCL_FOREGROUND, DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND,
                             DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND};
  for (DWORD level : badLevels) EXPECT_EQ(keyboard->SetCooperativeLevel(1, level), DIERR_INVALIDPARAM) << level;
  EXPECT_EQ(keyboard->SetCooperativeLevel(1, kForeground), DI_OK);
  EXPECT_EQ(Devices::SetBuffer(keyboard, 16), DI_OK);
  DIPROPDWORD wrongSize{{sizeof(DIPROPHEADER), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, 16};
  EXPECT_EQ(keyboard->SetProperty(DIPROP_BUFFERSIZE, &wrongSize.diph), DIERR_INVALIDPARAM);
  EXPECT_EQ(keyboard->Acquire(), DI_OK);
  EXPECT_EQ(keyboard->Acquire(), DI_NOEFFECT);
  EXPECT_EQ(Devices::SetBuffer(keyboard, 32), DIERR_ACQUIRED);
  BYTE small[100];
  EXPECT_EQ(keyboard->GetDeviceState(sizeof small, small), DIERR_INVALIDPARAM);
  DWORD count = 1;
  DIDEVICEOBJECTDATA event;
  EXPECT_EQ(keyboard->GetDeviceData(16, &event, &count, 0), DIERR_INVALIDPARAM);
  EXPECT_EQ(keyboard->Unacquire(), DI_OK);
  BYTE keys[256];
  EXPECT_EQ(keyboard->GetDeviceState(256, keys), DIERR_NOTACQUIRED);
  keyboard->Release();
}

TEST(DirectInput, KeyboardBuffersTransitionsInOrder) {
  platform::ScriptedInput input;
  Devices devices;
  IDirectInputDevice8A* keyboard = devices.Make(GUID_SysKeyboard, c_dfDIKeyboard, kForeground);
  ASSERT_NE(keyboard, nullptr);
  input.KeyDown(DIK_A);
  input.KeyDown(DIK_A);  // held already: the hardware sends nothing new
  input.KeyDown(DIK_RCONTROL);
  input.KeyUp(DIK_A);

  BYTE keys[256];
  ASSERT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DI_OK);
  EXPECT_EQ(keys[DIK_A], 0);
  EXPECT_EQ(keys[DIK_RCONTROL], 0x80);

  HRESULT hr = E_FAIL;
  EXPECT_EQ(TakeEvents(keyboard, &hr, DIGDD_PEEK).size(), 3u);  // peeking leaves them queued
  const std::vector<DIDEVICEOBJECTDATA> events = TakeEvents(keyboard, &hr);
  EXPECT_EQ(hr, DI_OK);
  ASSERT_EQ(events.size(), 3u);
  const DWORD expected[3][2] = {{DIK_A, 0x80}, {DIK_RCONTROL, 0x80}, {DIK_A, 0x00}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(events[i].dwOfs, expected[i][0]) << i;
    EXPECT_EQ(events[i].dwData, expected[i][1]) << i;
    if (i > 0) {
      EXPECT_GT(events[i].dwSequence, events[i - 1].dwSequence);
    }
  }
  EXPECT_TRUE(TakeEvents(keyboard).empty());
}

TEST(DirectInput, FullBufferKeepsTheOldestAndSaysSo) {
  platform::ScriptedInput input;
  Devices devices;
  IDirectInputDevice8A* keyboard = devices.Make(GUID_SysKeyboard, c_dfDIKeyboard, kForeground, 2);
  ASSERT_NE(keyboard, nullptr);
  input.Tap(DIK_Q);
  input.Tap(DIK_W);
  HRESULT hr = E_FAIL;
  const std::vector<DIDEVICEOBJECTDATA> events = TakeEvents(keyboard, &hr);
  EXPECT_EQ(hr, DI_BUFFEROVERFLOW);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].dwOfs, DIK_Q);
  EXPECT_EQ(events[1].dwData, 0u);
  TakeEvents(keyboard, &hr);
  EXPECT_EQ(hr, DI_OK);
}

TEST(DirectInput, ForegroundDevicesAreLostWithTheFocus) {
  platform::ScriptedInput input;
  Devices devices;
  IDirectInputDevice8A* keyboard = devices.Make(GUID_SysKeyboard, c_dfDIKeyboard, kForeground);
  IDirectInputDevice8A* background = devices.Make(GUID_SysKeyboard, c_dfDIKeyboard, kBackground);
  ASSERT_TRUE(keyboard && background);

  input.SetFocus(false);
  input.KeyDown(DIK_B);
  BYTE keys[256];
  EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DIERR_INPUTLOST);
  // Without the focus Acquire must not answer "input lost", or a re-acquire loop never ends.
  EXPECT_EQ(keyboard->Acquire(), DIERR_OTHERAPPHASPRIO);
  EXPECT_EQ(TakeEvents(background).size(), 1u);  // a background device keeps working

  input.SetFocus(true);
  EXPECT_EQ(keyboard->Acquire(), DI_OK);
  EXPECT_TRUE(TakeEvents(keyboard).empty());  // nothing from the time without focus
  input.KeyDown(DIK_C);
  ASSERT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DI_OK);
  EXPECT_EQ(keys[DIK_C], 0x80);
  EXPECT_EQ(TakeEvents(keyboard).size(), 1u);
}

TEST(DirectInput, MouseSumsMotionBetweenReads) {
  platform::ScriptedInput input;
  Devices devices;
  IDirectInputDevice8A* mouse = devices.Make(GUID_SysMouse, c_dfDIMouse2, kForeground);
  IDirectInputDevice8A* plain = devices.Make(GUID_SysMouse, c_dfDIMouse, kForeground);
  ASSERT_TRUE(mouse && plain);
  input.MoveMouse(3, 4);
  input.MoveMouse(2, -1);
  input.TurnWheel(1);
  input.ButtonDown(1);
  input.ButtonDown(7);

  DIMOUSESTATE2 state{};
  ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), DI_OK);
  EXPECT_EQ(state.lX, 5);
  EXPECT_EQ(state.lY, 3);
  EXPECT_EQ(state.lZ, 120);
  const BYTE buttons[8] = {0, 0x80, 0, 0, 0, 0, 0, 0x80};
  for (int b = 0; b < 8; ++b) EXPECT_EQ(state.rgbButtons[b], buttons[b]) << b;
  ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), DI_OK);
  EXPECT_EQ(state.lX, 0);  // motion is counted once
  EXPECT_EQ(state.lZ, 0);
  EXPECT_EQ(mouse->GetDeviceState(sizeof(DIMOUSESTATE), &state), DIERR_INVALIDPARAM);

  DIMOUSESTATE small{};
  ASSERT_EQ(plain->GetDeviceState(sizeof small, &small), DI_OK);
  EXPECT_EQ(small.lX, 5);
  EXPECT_EQ(small.rgbButtons[1], 0x80);
}

TEST(DirectInput, ScanCodeTableCoversExtendedKeys) {
  using platform::dinput::DikFromScancode;
  using platform::dinput::ScancodeFromDik;
  const std::pair<SDL_Scancode, BYTE> cases[] = {
      {SDL_SCANCODE_ESCAPE, DIK_ESCAPE},   {SDL_SCANCODE_A, DIK_A},          {SDL_SCANCODE_RCTRL, DIK_RCONTROL},
      {SDL_SCANCODE_RALT, DIK_RMENU},      {SDL_SCANCODE_KP_ENTER, DIK_NUMPADENTER},
      {SDL_SCANCODE_KP_DIVIDE, DIK_DIVIDE}, {SDL_SCANCODE_LEFT, DIK_LEFT},   {SDL_SCANCODE_DELETE, DIK_DELETE},
      {SDL_SCANCODE_KP_MINUS, DIK_SUBTRACT}, {SDL_SCANCODE_LGUI, DIK_LWIN},  {SDL_SCANCODE_PRINTSCREEN, DIK_SYSRQ},
      {SDL_SCANCODE_NONUSBACKSLASH, DIK_OEM_102}, {SDL_SCANCODE_F24, 0},     {SDL_SCANCODE_UNKNOWN, 0},
  };
  for (const auto& [scancode, dik] : cases) EXPECT_EQ(DikFromScancode(scancode), dik) << scancode;
  // Every code with a key maps back to it.
  int mapped = 0;
  for (int dik = 0; dik < 256; ++dik) {
    const SDL_Scancode sc = ScancodeFromDik(static_cast<BYTE>(dik));
    if (sc == SDL_SCANCODE_UNKNOWN) continue;
    ++mapped;
    EXPECT_EQ(DikFromScancode(sc), dik);
  }
  EXPECT_GE(mapped, 130);
}

// SDL's events (without a display: the events subsystem only) reach a background
// keyboard and mouse through the shared pump.
TEST(DirectInput, SdlEventsFeedTheDevices) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
  Devices devices;
  IDirectInputDevice8A* keyboard = devices.Make(GUID_SysKeyboard, c_dfDIKeyboard, kBackground);
  IDirectInputDevice8A* mouse = devices.Make(GUID_SysMouse, c_dfDIMouse2, kBackground);
  ASSERT_TRUE(keyboard && mouse);
  auto key = [](Uint32 type, SDL_Scancode sc, Uint8 repeat) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.scancode = sc;
    e.key.repeat = repeat;
    SDL_PushEvent(&e);
  };
  key(SDL_KEYDOWN, SDL_SCANCODE_RCTRL, 0);
  key(SDL_KEYDOWN, SDL_SCANCODE_RCTRL, 1);  // auto-repeat
  key(SDL_KEYDOWN, SDL_SCANCODE_F24, 0);    // no DIK code
  key(SDL_KEYUP, SDL_SCANCODE_RCTRL, 0);
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.xrel = 4;
  e.motion.yrel = -2;
  SDL_PushEvent(&e);
  e = {};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.y = 2;
  SDL_PushEvent(&e);
  e.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
  e.wheel.y = 1;
  SDL_PushEvent(&e);
  platform::PumpEvents();

  const std::vector<DIDEVICEOBJECTDATA> events = TakeEvents(keyboard);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].dwOfs, DIK_RCONTROL);
  EXPECT_EQ(events[0].dwData, 0x80u);
  EXPECT_EQ(events[1].dwData, 0u);
  DIMOUSESTATE2 state{};
  ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), DI_OK);
  EXPECT_EQ(state.lX, 4);
  EXPECT_EQ(state.lY, -2);
  EXPECT_EQ(state.lZ, 120);  // two notches away, one back (flipped)
  SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

// A DirectInput mouse keeps reporting motion at the screen's edge; SDL's plain motion
// stops there. While a mouse is acquired exclusively in the foreground, SDL's
// relative mode gives the same, until the last such mouse is unacquired or lost.
TEST(DirectInput, ExclusiveForegroundMouseHoldsSdlRelativeMode) {
  test::PrivateDisplay display;
  if (!display.Ok()) GTEST_SKIP() << "no Xvfb";
  test::TestWindow window;
  test::TestWindow other;
  if (!window.Ok() || !other.Ok() || !window.Focus()) GTEST_SKIP() << "no window with the focus";
  void* object = nullptr;
  ASSERT_EQ(DirectInput8Create(0, DIRECTINPUT_VERSION, IID_IDirectInput8A, &object, nullptr), DI_OK);
  auto* dinput = static_cast<IDirectInput8A*>(object);
  auto make = [&](const GUID& guid, DWORD level) {
    IDirectInputDevice8A* d = nullptr;
    EXPECT_EQ(dinput->CreateDevice(guid, &d, nullptr), DI_OK);
    EXPECT_EQ(d->SetDataFormat(guid == GUID_SysMouse ? &c_dfDIMouse2 : &c_dfDIKeyboard), DI_OK);
    EXPECT_EQ(d->SetCooperativeLevel(window.Handle(), level), DI_OK);
    return d;
  };
  struct Case {
    const char* what;
    const GUID& guid;
    DWORD level;
    bool relative;
  };
  for (const Case& c : {Case{"exclusive foreground mouse", GUID_SysMouse, DISCL_EXCLUSIVE | DISCL_FOREGROUND, true},
                        Case{"non-exclusive mouse", GUID_SysMouse, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND, false},
                        Case{"background mouse", GUID_SysMouse, DISCL_EXCLUSIVE | DISCL_BACKGROUND, false},
                        Case{"exclusive keyboard", GUID_SysKeyboard, DISCL_EXCLUSIVE | DISCL_FOREGROUND, false}}) {
    IDirectInputDevice8A* d = make(c.guid, c.level);
    EXPECT_EQ(d->Acquire(), DI_OK) << c.what;
    EXPECT_EQ(SDL_GetRelativeMouseMode() == SDL_TRUE, c.relative) << c.what;
    EXPECT_EQ(d->Unacquire(), DI_OK) << c.what;
    EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_FALSE) << c.what << ": unacquired";
    d->Release();
  }

  // Two such mice: the mode stays until the last one lets go, also when one is
  // released while acquired, and goes with the focus.
  IDirectInputDevice8A* first = make(GUID_SysMouse, DISCL_EXCLUSIVE | DISCL_FOREGROUND);
  IDirectInputDevice8A* second = make(GUID_SysMouse, DISCL_EXCLUSIVE | DISCL_FOREGROUND);
  ASSERT_EQ(first->Acquire(), DI_OK);
  ASSERT_EQ(second->Acquire(), DI_OK);
  second->Release();
  EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_TRUE) << "one mouse still holds it";
  ASSERT_TRUE(other.Focus());
  DIMOUSESTATE2 state{};
  EXPECT_EQ(first->GetDeviceState(sizeof state, &state), DIERR_INPUTLOST);
  EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_FALSE) << "a lost mouse lets go";
  first->Release();
  dinput->Release();
}

}  // namespace
