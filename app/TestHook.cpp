#include "app/TestHook.h"

#include "core/Convert.h"
#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/KeyDefinitions.h"
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiEvent.h"
#include "gui/GuiMng.h"
#include "platform/d3d9.h"
#include "platform/d3d9/RecordingDevice.h"
#include "platform/win32.h"
#include "race/World.h"

#include <cstdlib>
#include <filesystem>

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

N_TestHook N_TestHook::FromEnvironment() {
  const char* value = std::getenv(kVariable);
  if (!value || !*value) return {};
  const std::string text(value);
  const std::size_t bar = text.find('|');
  const std::string rest = bar == std::string::npos ? std::string() : text.substr(bar + 1);
  SetEnvironmentVariableA(kVariable, rest.empty() ? nullptr : rest.c_str());
  return Parse(text.substr(0, bar));
}

N_TestHook N_TestHook::Parse(const std::string& stage) {
  N_TestHook hook;
  for (const std::string& text : Split(stage, ';')) {
    Step step;
    bool any = false;
    for (const std::string& item : Split(text, ',')) {
      if (item.empty()) continue;
      any = true;
      const std::size_t equals = item.find('=');
      const std::string name = item.substr(0, equals);
      const std::string value = equals == std::string::npos ? std::string() : item.substr(equals + 1);
      if (name == "critical") {
        step.critical = true;
      } else if (name == "nodevice") {
        hook.m_noDevice = true;
      } else if (name == "frames") {
        step.frames = SaturatingAtoi(value.c_str());
      } else if (name == "file") {
        step.file = value;
      } else if (name == "click") {
        step.clicks.push_back(value);
      } else if (name == "key") {
        const std::size_t colon = value.find(':');
        if (colon != std::string::npos) {
          step.keys.emplace_back(SaturatingAtoi(value.substr(0, colon).c_str()),
                                 SaturatingAtoi(value.substr(colon + 1).c_str()));
        }
      } else {
        step.variables.emplace_back(name, value);
      }
    }
    if (any) hook.m_steps.push_back(std::move(step));
  }
  return hook;
}

void N_TestHook::PrepareStart() const {
  if (!m_noDevice) return;
  platform::SetDirect3DFactory([](UINT) -> IDirect3D9* {
    platform::d3d9::RecordingDirect3DConfig config;
    config.device = platform::d3d9::DefaultRecordingDeviceConfig();
    config.halFails = true;
    config.refFails = true;
    return new platform::d3d9::RecordingDirect3D(config);
  });
}

void N_TestHook::OnPass() {
  if (m_next >= m_steps.size()) return;
  ++m_passes;
  while (m_next < m_steps.size()) {
    const Step& step = m_steps[m_next];
    if (m_passes < step.frames) return;
    if (!step.file.empty() && !std::filesystem::exists(platform::ResolvePath(step.file))) return;
    ++m_next;
    Act(step);
  }
}

void N_TestHook::Click(const std::string& name) {
  if (!g_world) return;
  N_GuiMng& gui = g_world->GuiMng();
  N_GuiElement* element = gui.GetElement(name, false);
  // Below an open modal page nothing takes a click.
  if (!element || (gui.GetModalPage() && element->GetPage() != gui.GetModalPage())) return;
  ClickWithLeftButton(*element);
}

void N_TestHook::Act(const Step& step) {
  for (const auto& [action, code] : step.keys) {
    if (action >= 0 && action < key_action::kCount) g_keyDefinitions[action] = static_cast<std::uint8_t>(code);
  }
  for (const auto& [name, value] : step.variables) {
    if (g_varMng) g_varMng->SetString(name.c_str(), value.c_str(), 0x02);
  }
  for (const std::string& name : step.clicks) Click(name);
  if (step.critical && g_errorLog) g_errorLog->Critical(0, "Forced by the test hook\n");
}
