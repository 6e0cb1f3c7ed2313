#include "race/StartInfo.h"

#include "core/StringUtil.h"
#include "gui/GuiElement.h"
#include "race/LevelTables.h"
#include "race/RaceGui.h"

#include <array>
#include <cmath>

namespace {

/// The text key and icon shader of each weather or snow code.
struct Condition {
  const char* textKey;
  const char* icon;
};
constexpr std::array<Condition, 3> kWeather{{
    {"#str300", "textures\\menu\\sunny"},
    {"#str301", "textures\\menu\\snowy"},
    {"#str302", "textures\\menu\\foggy"},
}};
constexpr std::array<Condition, 3> kSnow{{
    {"#str303", "textures\\menu\\dry"},
    {"#str304", "textures\\menu\\wet"},
    {"#str305", "textures\\menu\\ice"},
}};

const Condition* Find(const std::array<Condition, 3>& table, std::int32_t code) {
  return code >= 0 && code < std::int32_t(table.size()) ? &table[std::size_t(code)] : nullptr;
}

/// The text and the icon of a code, only when both elements exist and the code is known.
void ShowCondition(const std::array<Condition, 3>& table, std::int32_t code, const char* textName,
                   const char* iconName) {
  const Condition* condition = Find(table, code);
  N_GuiElement* text = race_gui::Element(textName);
  N_GuiElement* icon = race_gui::Element(iconName);
  if (!condition || !text || !icon) return;
  text->SetCaption(race_gui::Text(condition->textKey));
  icon->SetShader(condition->icon);
}

}  // namespace

void ShowStartInfo(std::int32_t levelIndex, bool arcadeTable, std::int32_t weather, std::int32_t snow) {
  if (!race_gui::Page("StartInfo")) return;
  race_gui::SetCaption("MapName", GetLevelName(levelIndex, arcadeTable));
  ShowCondition(kWeather, weather, "Weather7", "WeatherIcon");
  ShowCondition(kSnow, snow, "SnowQuality2", "SnowIcon");
  race_gui::SetCaption("Counter", "00:07");
  race_gui::ShowPage("StartInfo", 2.0f);
}

void UpdateStartCounter(float seconds) {
  // Far outside the countdown the text no longer matters; the rounding must stay defined.
  const float kept = std::isfinite(seconds) ? std::fmax(std::fmin(seconds, 1e9f), -1e9f) : 0.0f;
  race_gui::SetCaption("Counter", "00:0" + IntToString(static_cast<std::int32_t>(std::lround(kept))));
}

void CloseStartInfo() { race_gui::ClosePage("StartInfo", 2.0f); }

std::string GetWeatherName(std::int32_t index) {
  const Condition* condition = Find(kWeather, index);
  return condition ? race_gui::Text(condition->textKey) : std::string();
}

std::string GetSnowQualityName(std::int32_t index) {
  const Condition* condition = Find(kSnow, index);
  return condition ? race_gui::Text(condition->textKey) : std::string();
}
