#include "core/KeyDefinitions.h"

#include "core/Globals.h"
#include "core/InputMng.h"
#include "core/Log.h"
#include "platform/dinput8.h"
#include "platform/win32.h"

#include <algorithm>
#include <cstring>
#include <string>

std::array<std::uint8_t, kKeyDefinitionsSize> g_keyDefinitions{};

namespace {

constexpr std::array<std::uint8_t, key_action::kCount> kDefaultKeys = {
    DIK_W, DIK_S, DIK_SPACE, DIK_A, DIK_D, DIK_F, DIK_G,                     // move, brake, shoot, reload
    DIK_1, DIK_2, DIK_3,     DIK_4, DIK_5, DIK_6, DIK_7, DIK_8, DIK_9, DIK_0,  // techniques 1-9, 0
    DIK_F4, DIK_F5, DIK_RCONTROL,
};

/// What the last load found wrong, for the log once it exists; empty when nothing.
std::string g_loadFault;
/// The last load found the file there but could not read it.
bool g_unreadable = false;

/// A binding is 0 (no key) or a key that has a name; no two actions share a key. The
/// first fault, or empty for a table the controls can use.
std::string BindingFault() {
  for (int action = 0; action < key_action::kCount; ++action) {
    const int code = g_keyDefinitions[std::size_t(action)];
    if (code == 0) continue;
    const char* name = GetKeyName(code).name;
    if (name[0] == '\0' || std::strcmp(name, "???") == 0) {
      return "action " + std::to_string(action) + " is bound to code " + std::to_string(code) + ", which is no key";
    }
    for (int other = 0; other < action; ++other) {
      if (g_keyDefinitions[std::size_t(other)] == code) {
        return "actions " + std::to_string(other) + " and " + std::to_string(action) + " share one key";
      }
    }
  }
  return {};
}

bool KeyBound(std::uint8_t key) {
  return std::find(g_keyDefinitions.begin(), g_keyDefinitions.begin() + key_action::kCount, key) !=
         g_keyDefinitions.begin() + key_action::kCount;
}

/// The action's default key, or when another action holds it, the first default key
/// that none holds (there is one: the action itself holds none).
std::uint8_t FreeKeyFor(int action) {
  if (!KeyBound(kDefaultKeys[std::size_t(action)])) return kDefaultKeys[std::size_t(action)];
  for (const std::uint8_t key : kDefaultKeys) {
    if (!KeyBound(key)) return key;
  }
  return 0;
}

/// Gives every action without a key a free one; a log line for each.
std::string GiveKeysToUnboundActions() {
  std::string lines;
  for (int action = 0; action < key_action::kCount; ++action) {
    if (g_keyDefinitions[std::size_t(action)] != 0) continue;
    const std::uint8_t key = FreeKeyFor(action);
    g_keyDefinitions[std::size_t(action)] = key;
    lines += std::string("!!! ") + kKeyDefinitionsFile + ": action " + std::to_string(action) +
             " had no key; it takes " + GetKeyName(key).name + "\n";
  }
  return lines;
}

}  // namespace

void ResetKeyDefinitions() { std::copy(kDefaultKeys.begin(), kDefaultKeys.end(), g_keyDefinitions.begin()); }

void LoadKeyDefinitions() {
  g_keyDefinitions.fill(0);
  g_loadFault.clear();
  g_unreadable = false;
  std::string bytes;
  std::string why;
  if (!platform::ReadWholeFile(kKeyDefinitionsFile, bytes, &why)) {
    ResetKeyDefinitions();
    if (why.empty()) return;  // none saved yet: the defaults, nothing to say
    // Written at the exit, the defaults would replace the player's keys.
    g_unreadable = true;
    const std::string line = std::string(kKeyDefinitionsFile) + " cannot be read (" + platform::ReasonOf(why) +
                             "): the default keys are used, and it is not saved in this run\n";
    g_loadFault = "!!! " + line;
    OutputDebugStringA(line.c_str());  // on stderr too, as the settings file's
    ReportKeyDefinitionsFault();
    return;
  }
  const std::size_t got = std::min(bytes.size(), g_keyDefinitions.size());
  std::copy_n(bytes.begin(), got, g_keyDefinitions.begin());
  const std::string fault = got < g_keyDefinitions.size()
                                ? std::to_string(got) + " bytes of " + std::to_string(kKeyDefinitionsSize)
                                : BindingFault();
  if (fault.empty()) {
    g_loadFault = GiveKeysToUnboundActions();
  } else {
    ResetKeyDefinitions();
    g_loadFault = std::string("!!! ") + kKeyDefinitionsFile + ": " + fault + "; the default keys are used\n";
  }
  ReportKeyDefinitionsFault();  // the log may not exist yet: then once it does
}

void ReportKeyDefinitionsFault() {
  if (g_loadFault.empty() || !g_log) return;
  g_log->Print("%s", g_loadFault.c_str());
  g_loadFault.clear();
}

bool KeyDefinitionsUnreadable() { return g_unreadable; }

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
    // The two swap: no action is left without a key (for this action, nothing changes).
    g_keyDefinitions[i] = g_keyDefinitions[action];
    break;
  }
  g_keyDefinitions[action] = static_cast<std::uint8_t>(code);
  return GetKeyName(code).name;
}
