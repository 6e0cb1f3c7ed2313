#include "race/PlayerStatus.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/StringUtil.h"
#include "gui/GuiElement.h"
#include "gui/GuiProgressBar.h"
#include "gui/GuiServices.h"
#include "race/RaceGui.h"
#include "render/Render.h"
#include "render/ShaderMng.h"

#include <cmath>
#include <string>

namespace {

/// Below this condition the athlete is exhausted: the screen darkens towards 0.
constexpr float kExhaustedCondition = 0.25f;

/// The frequency of the first texture-coordinate modifier of the shader's first stage
/// (the wave of the bar's "tcmod stretch"), when the shader has such a modifier with
/// all five values.
void SetStretchFrequency(std::int32_t handle, float frequency) {
  const N_ShaderMng* shaders = g_guiServices.shaderMng;
  N_Shader* shader = shaders ? shaders->GetShader(handle) : nullptr;
  N_ShaderStage* stage = shader ? shader->Stage(0) : nullptr;
  if (!stage || stage->tcMods.empty()) return;
  N_ShaderTcMod& mod = stage->tcMods.front();
  if (mod.count < 5) return;
  mod.values[4] = frequency;
}

}  // namespace

void ShowPlayerStatus(const char* name, const char* nation) {
  race_gui::ShowPageImmediate("PlayerStatus");
  race_gui::ShowPageImmediate("BlackEyes");
  race_gui::SetCaption("Name1", name ? name : "");
  race_gui::SetShader("Natn1", nation ? nation : "");
  race_gui::SetAlpha("Black1", 0);
}

void HidePlayerStatus() { race_gui::HidePage("PlayerStatus"); }

void UpdatePlayerStatus(float time, float speed, float heartRate, float power, float condition, std::int32_t position,
                        std::int32_t lap, std::int32_t lapCount) {
  race_gui::SetCaption("Time1", FormatRaceTime(time));
  race_gui::SetCaption("Speed1", FormatString("%.1f", double(speed)) + " m/s");
  race_gui::SetCaption("HeartFreq1", FormatString("%.0f", double(heartRate)));
  if (power < 0.0f) power = 0.0f;
  if (condition < 0.0f) condition = 0.0f;
  if (auto* bar = race_gui::ElementAs<N_GuiProgressBar>("Power")) bar->SetValue(power);
  auto* cond = race_gui::ElementAs<N_GuiProgressBar>("Cond");
  if (cond) cond->SetValue(condition);

  // Darkness 0 at the exhaustion limit, 1 at a condition of 0.
  const bool exhausted = condition < kExhaustedCondition;
  const float darkness = exhausted ? 1.0f - 4.0f * condition : 0.0f;
  if (g_render) g_render->SetPostFilterAmount(darkness);
  race_gui::SetAlpha("Black1", static_cast<std::uint8_t>(std::lround(darkness * 255.0f)));
  if (cond) {
    const float frequency = exhausted ? 1.0f : 0.0f;
    SetStretchFrequency(cond->GetShader(), frequency);
    SetStretchFrequency(cond->GetBackShader(), frequency);
  }

  race_gui::SetCaption("Position1", race_gui::Text("#str312") + IntToString(position));
  race_gui::SetCaption("Round1", race_gui::Text("#str313") + IntToString(lap) + "/" + IntToString(lapCount));
}

void ShowStopwatch() { race_gui::ShowElement("Stopka"); }

void HideStopwatch() { race_gui::HideElement("Stopka"); }
