#include "core/KeyDefinitions.h"

#include "core/InputMng.h"
#include "platform/dinput8.h"
#include "platform/win32.h"

#include <cstdio>

std::array<std::uint8_t, kKeyDefinitionsSize> g_keyDefinitions{};

namespace {

constexpr std::array<std::uint8_t, key_action::kCount> kDefaultKeys = {
    DIK_W, DIK_S, DIK_SPACE, DIK_A, DIK_D, DIK_F, DIK_G,                     // move, brake, shoot, reload
    DIK_1, DIK_2, DIK_3,     DIK_4, DIK_5, DIK_6, DIK_7, DIK_8, DIK_9, DIK_0,  // techniques 1-9, 0
    DIK_F4, DIK_F5, DIK_RCONTROL,
};

}  // namespace

void ResetKeyDefinitions() { std::copy(kDefaultKeys.begin(), kDefaultKeys.end(), g_keyDefinitions.begin()); }

void LoadKeyDefinitions() {
  g_keyDefinitions.fill(0);
  std::FILE* file = platform::OpenFile(kKeyDefinitionsFile, "rb");
  if (!file) {
    ResetKeyDefinitions();
    return;
  }
  const std::size_t got = std::fread(g_keyDefinitions.data(), 1, g_keyDefinitions.size(), file);
  if (got < g_keyDefinitions.size()) ResetKeyDefinitions();
  std::fclose(file);
}

bool SaveKeyDefinitions(std::string* why) {
  const std::string_view bytes(reinterpret_cast<const char*>(g_keyDefinitions.data()), g_keyDefinitions.size());
  return platform::ReplaceWholeFile(kKeyDefinitionsFile, bytes, why);
}

const char* GetActionKeyName(int action) {
  if (action < 0 || action >= key_action::kCount) return GetKeyName(-1).name;
  return GetKeyName(g_keyDefinitions[action]).name;
}

const char* BindPressedKey(int action, int* previous) {
  if (action < 0 || action >= key_action::kCount || !g_inputMng) return nullptr;
  int code = 0;
  while (code < 255 && !g_inputMng->IsPressed(N_InputMng::kKeyboard, code, 1)) ++code;
  if (code == 255) return nullptr;
  for (int i = 0; i < key_action::kCount; ++i) {
    if (g_keyDefinitions[i] != code) continue;
    if (previous) *previous = i;
    g_keyDefinitions[i] = 0;  // taken from that action (or, for this action, rebound below)
    break;
  }
  g_keyDefinitions[action] = static_cast<std::uint8_t>(code);
  return GetKeyName(code).name;
}
