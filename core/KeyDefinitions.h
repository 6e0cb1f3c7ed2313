#pragma once
// The key definitions table: 256 bytes, of which bytes 0-19 bind one DIK code to each
// player action, each action its own key; bytes 20-255 are carried unchanged. The table lives for
// the whole process: loaded from "data\tables\keysdefinition.data" once this copy
// knows it is the only one running, changed by the control options page, written back
// at process exit (also after a critical error, which exits through exit()).
#include "core/KeyNames.h"

#include <array>
#include <cstdint>
#include <string>

/// The player actions, numbering the bindings.
namespace key_action {
inline constexpr int kForward = 0;
inline constexpr int kBackward = 1;
inline constexpr int kBrake = 2;
inline constexpr int kLeft = 3;
inline constexpr int kRight = 4;
inline constexpr int kShoot = 5;
inline constexpr int kReload = 6;
inline constexpr int kTechnique1 = 7;  ///< actions 7-15 select techniques 1-9
inline constexpr int kTechnique9 = 15;
inline constexpr int kTechnique0 = 16;
inline constexpr int kPause = 18;
inline constexpr int kCount = 20;
}  // namespace key_action

inline constexpr const char* kKeyDefinitionsFile = "data\\tables\\keysdefinition.data";
inline constexpr std::size_t kKeyDefinitionsSize = 256;

extern std::array<std::uint8_t, kKeyDefinitionsSize> g_keyDefinitions;

/// Reads the file whole; a missing file gives the default bindings. A file that is
/// there but cannot be read, a short file, a binding that names no key (neither 0 nor a
/// key with a name) or a key bound to two actions gives the default bindings too (bytes
/// that did arrive beyond byte 19 stay), with one line naming the file in the log: at
/// once when there is a log, else at ReportKeyDefinitionsFault. An action without a key
/// (0) gets its default key, or where another action holds that, the first default key
/// no action holds, with a line the same way.
void LoadKeyDefinitions();
/// Whether the last load found the file there but could not read it: then it must not
/// be written over with the defaults.
bool KeyDefinitionsUnreadable();
/// Writes the line of the last load's fault to the log once (the table is read before
/// the log exists); nothing when there was none or it was written.
void ReportKeyDefinitionsFault();
/// Replaces the file with the 256 bytes, whole or not at all; false (the old file
/// untouched, and *why, when given, saying what failed) on any failure.
bool SaveKeyDefinitions(std::string* why = nullptr);
/// Writes the 20 default DIK codes into bytes 0-19.
void ResetKeyDefinitions();

/// The key-name record of an action's key; an empty name for an action outside 0-19.
const char* GetActionKeyName(int action);

/// Binds the first key (DIK 0-254, ascending) that went down this frame to the action
/// and returns its name record, or null when no key went down (or the action is not
/// 0-19). A key bound to another action is swapped: that action takes this action's
/// old key, and *previous names it; a key already bound to this action sets *previous
/// to it and changes nothing; a free key leaves *previous alone.
const char* BindPressedKey(int action, int* previous);
