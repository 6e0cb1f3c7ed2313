#include "platform/dinput8/ScriptedInput.h"

#include "platform/dinput8/Keys.h"
#include "platform/dinput8/Source.h"

#include <cassert>
#include <cstring>

namespace platform {

class ScriptedInput::Source final : public dinput::InputSource {
 public:
  bool HasFocus(HWND) const override { return focused; }
  void ReadKeys(BYTE out[256]) const override { std::memcpy(out, keys, sizeof keys); }
  BYTE HeldButtons() const override { return buttons; }
  bool CapsLockOn() const override { return capsLock; }
  bool Pointer(POINT& point) const override {
    point = pointer;
    return true;
  }

  BYTE keys[256] = {};
  BYTE buttons = 0;
  bool capsLock = false;
  bool focused = true;
  POINT pointer;  ///< the desktop's pointer: at the corner, moved as far as the mouse
  DWORD clockMs = 0;  ///< time stamps of the scripted events, one millisecond apart
};

namespace {
const dinput::InputSource* g_current = nullptr;
}  // namespace

ScriptedInput::ScriptedInput() : m_source(std::make_unique<Source>()) {
  assert(!g_current && "one scripted input at a time");
  g_current = m_source.get();
  dinput::InstallSource(m_source.get());
}

ScriptedInput::~ScriptedInput() {
  dinput::InstallSource(nullptr);
  g_current = nullptr;
}

void ScriptedInput::KeyDown(BYTE dik) {
  if (dik == 0 || m_source->keys[dik]) return;
  m_source->keys[dik] = 0x80;
  if (dik == DIK_CAPITAL) m_source->capsLock = !m_source->capsLock;
  dinput::PostKey(dik, true, ++m_source->clockMs);
}

void ScriptedInput::KeyUp(BYTE dik) {
  if (dik == 0 || !m_source->keys[dik]) return;
  m_source->keys[dik] = 0;
  dinput::PostKey(dik, false, ++m_source->clockMs);
}

void ScriptedInput::Tap(BYTE dik) {
  KeyDown(dik);
  KeyUp(dik);
}

void ScriptedInput::MoveMouse(LONG dx, LONG dy) {
  m_source->pointer.x += dx;
  m_source->pointer.y += dy;
  dinput::PostMouseMotion(dx, dy, 0);
}

void ScriptedInput::TurnWheel(LONG notches) { dinput::PostMouseMotion(0, 0, notches * 120); }

void ScriptedInput::ButtonDown(int button) {
  if (button < 0 || button >= 8 || (m_source->buttons >> button) & 1) return;
  m_source->buttons |= static_cast<BYTE>(1u << button);
  dinput::PostMouseButton(button, true, ++m_source->clockMs);
}

void ScriptedInput::ButtonUp(int button) {
  if (button < 0 || button >= 8 || !((m_source->buttons >> button) & 1)) return;
  m_source->buttons &= static_cast<BYTE>(~(1u << button));
  dinput::PostMouseButton(button, false, ++m_source->clockMs);
}

void ScriptedInput::Click(int button) {
  ButtonDown(button);
  ButtonUp(button);
}

void ScriptedInput::SetFocus(bool focused) { m_source->focused = focused; }

}  // namespace platform
