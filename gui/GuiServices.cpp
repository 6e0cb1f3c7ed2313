#include "gui/GuiServices.h"

#include "core/ErrorLog.h"
#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Timer.h"
#include "render/ShaderMng.h"
#include "sound/SoundMng.h"

#include <cstdarg>
#include <utility>

N_GuiServices g_guiServices;

namespace {

constexpr int kGuiErrorCode = 12;

std::string& Place() {
  static std::string place;
  return place;
}

}  // namespace

const std::string& GuiScriptPlace() { return Place(); }

void SetGuiScriptPlace(std::string place) { Place() = std::move(place); }

std::string GuiScriptPlaceSuffix() { return Place().empty() ? std::string() : " (" + Place() + ")"; }

void GuiReport(const char* format, ...) {
  if (!g_errorLog) return;
  va_list args;
  va_start(args, format);
  std::string text = FormatStringV(format, args);
  va_end(args);
  const bool lineEnd = !text.empty() && text.back() == '\n';
  if (lineEnd) text.pop_back();
  text += GuiScriptPlaceSuffix();
  if (lineEnd) text += '\n';
  g_errorLog->ReportDebug(kGuiErrorCode, "%s", text.c_str());
}

int GuiAddShader(const std::string& name) {
  if (!g_guiServices.shaderMng) return N_ShaderMng::kNoShader;
  return g_guiServices.shaderMng->AddShader(name.c_str(), 0, N_ShaderMng::kType2D);
}

int GuiCreateSound(const std::string& name) {
  // A null position asks for a plain sound (no place in the world).
  return g_soundMng ? g_soundMng->CreateSound(name.c_str(), nullptr) : 0;
}

void GuiPlaySound(int handle) {
  if (handle != 0 && g_soundMng) g_soundMng->Play(handle);
}

float GuiFrameTime() { return g_timer ? static_cast<float>(g_timer->GetFrameTime()) : 0.0f; }
