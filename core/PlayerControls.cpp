#include "core/PlayerControls.h"

#include "core/Globals.h"
#include "core/InputMng.h"
#include "core/KeyDefinitions.h"
#include "core/VarMng.h"
#include "platform/dinput8.h"

namespace {

constexpr std::uint32_t kTechniqueZero = 0x10000;
constexpr std::uint32_t kTechniqueOne = 0x80;  ///< technique n (1-9) is this << (n - 1)
constexpr std::uint32_t kVarFlags = 2;

bool Held(int dik) { return g_inputMng && g_inputMng->IsPressed(N_InputMng::kKeyboard, dik, 0); }
bool Pressed(int dik) { return g_inputMng && g_inputMng->IsPressed(N_InputMng::kKeyboard, dik, 1); }
bool ActionHeld(int action) { return Held(g_keyDefinitions[action]); }
bool MouseButtonHeld(int code) { return g_inputMng && g_inputMng->IsPressed(N_InputMng::kMouse, code, 0); }
bool MouseButtonWentDown(int code) { return g_inputMng && g_inputMng->IsPressed(N_InputMng::kMouse, code, 1); }
bool RightCtrlShiftHeld() { return Held(DIK_RCONTROL) && Held(DIK_RSHIFT); }
bool LeftCtrlShiftHeld() { return Held(DIK_LCONTROL) && Held(DIK_LSHIFT); }

constexpr int kMouseLeft = 3;   // mouse codes of buttons 0 and 1
constexpr int kMouseRight = 4;

N_PausePageCall g_showPausePage = nullptr;
N_PausePageCall g_hidePausePage = nullptr;

void AddToBigSpeed(float delta) {
  const float value = g_varMng->GetFloat("BigSpeed") + delta;
  if (delta < 0.0f && value <= 0.0f) {
    g_varMng->SetInt("BigSpeed", 0, kVarFlags);
  } else {
    g_varMng->SetFloat("BigSpeed", value, kVarFlags);
  }
}

}  // namespace

void N_PlayerControls::Poll() {
  m_word0 &= kLastingBits;
  constexpr std::uint32_t kMoveBits[] = {kForward, kBackward, kBrake, kLeft, kRight};
  for (int action = key_action::kForward; action <= key_action::kRight; ++action) {
    if (ActionHeld(action)) m_word0 |= kMoveBits[action];
  }
  if (MouseButtonHeld(kMouseLeft) || ActionHeld(key_action::kShoot)) m_word0 |= kShootHeld;
  if (MouseButtonHeld(kMouseRight) || ActionHeld(key_action::kReload)) m_word0 |= kReloadHeld;
  PollTechnique();
  PollPause();
  PollDeveloperBits(false);
  if (Held(DIK_ESCAPE)) m_word0 |= kEscape;
  PollDeveloperVariables();
  PollDeveloperBits(true);
}

void N_PlayerControls::PollTechnique() {
  // Technique 0 first, then 1-9: the last held key in this order wins.
  if (ActionHeld(key_action::kTechnique0)) m_word1 = kTechniqueZero;
  for (int action = key_action::kTechnique1; action <= key_action::kTechnique9; ++action) {
    if (ActionHeld(action)) m_word1 = kTechniqueOne << (action - key_action::kTechnique1);
  }
}

void N_PlayerControls::PollPause() {
  if (!Pressed(g_keyDefinitions[key_action::kPause])) return;
  if (m_word0 & kPaused) {
    m_word0 = 0;
    if (g_hidePausePage) g_hidePausePage();
  } else {
    m_word0 |= kPaused;
    if (g_showPausePage) g_showPausePage();
  }
}

void N_PlayerControls::PollDeveloperBits(bool second) {
  if (!RightCtrlShiftHeld()) return;
  if (!second) {
    // Space flips the developer toggle once per press; the first pass alone looks at it.
    if (Pressed(DIK_SPACE)) m_word0 ^= kDevToggle;
    if (Pressed(DIK_F)) m_word0 |= kDevKeyF;
    if (Pressed(DIK_R)) m_word0 |= kDevKeyR;
    m_word0 |= kTurbo;
    return;
  }
  if (Pressed(DIK_Y)) m_word0 |= kDevKeyF;
  if (Pressed(DIK_R)) m_word0 |= kDevKeyR;
  if (Pressed(DIK_T)) m_word0 |= kDevKeyT;
}

void N_PlayerControls::PollDeveloperVariables() {
  if (!RightCtrlShiftHeld() || !g_varMng) return;
  if (Pressed(DIK_U)) {
    const int camera = g_varMng->GetInt("FreeCamera");
    if (camera == 1 || camera == 0) g_varMng->SetInt("FreeCamera", 1 - camera, kVarFlags);
  }
  if (Pressed(DIK_G)) g_varMng->SetInt("r_grid", g_varMng->GetInt("r_grid") == 0 ? 1 : 0, kVarFlags);
  if (Pressed(DIK_ADD)) AddToBigSpeed(0.1f);
  if (Pressed(DIK_SUBTRACT)) AddToBigSpeed(-0.1f);
  if (Pressed(DIK_MULTIPLY)) AddToBigSpeed(1.0f);
  if (Pressed(DIK_DIVIDE)) AddToBigSpeed(-1.0f);
  if (Pressed(DIK_NUMPADENTER)) g_varMng->SetFloat("BigSpeed", 1.0f, kVarFlags);
  if (Pressed(DIK_F)) g_varMng->SetInt("r_showFPS", g_varMng->GetInt("r_showFPS") == 0 ? 1 : 0, kVarFlags);
}

std::int32_t N_PlayerControls::GetForwardAxis() const {
  if (m_word0 & kBackward) return -1;
  return (m_word0 & kForward) ? 1 : 0;
}

std::int32_t N_PlayerControls::GetTurnAxis() const {
  if (m_word0 & kRight) return -1;
  return (m_word0 & kLeft) ? 1 : 0;
}

std::int32_t N_PlayerControls::GetTechnique() const {
  if (m_word1 & kTechniqueZero) return 0;
  for (int n = 1; n <= 9; ++n) {
    if (m_word1 & (kTechniqueOne << (n - 1))) return n;
  }
  return -1;
}

void SetPausePageCalls(N_PausePageCall show, N_PausePageCall hide) {
  g_showPausePage = show;
  g_hidePausePage = hide;
}

bool IsCtrlShiftAPressed() { return LeftCtrlShiftHeld() && Pressed(DIK_A); }

bool IsCtrlShiftQPressed() { return LeftCtrlShiftHeld() && Pressed(DIK_Q); }

bool IsShootPressed() {
  return MouseButtonWentDown(kMouseLeft) || ActionHeld(key_action::kShoot) || IsCtrlShiftAPressed();
}

bool IsReloadPressed() {
  return MouseButtonWentDown(kMouseRight) || ActionHeld(key_action::kReload) ||
         (LeftCtrlShiftHeld() && Pressed(DIK_Z));
}
