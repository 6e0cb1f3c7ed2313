#include "tests/race/RacePagesRig.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"
#include "race/ShootingPage.h"
#include "race/SplitBoard.h"
#include "render/Camera.h"
#include "render/RenderServices.h"
#include "render/TextBatch.h"

#include <gtest/gtest.h>

namespace test {

bool PagesRender::BeginFrame(bool clearTarget) {
  m_events.push_back("begin frame");
  return N_Render::BeginFrame(clearTarget);
}

bool PagesRender::EndFrame() {
  m_events.push_back("end frame");
  return N_Render::EndFrame();
}

void PagesRender::SetupCamera(N_Camera* camera, std::int32_t is3D) {
  if (is3D) {
    m_events.push_back("3D camera");
  } else if (camera) {
    m_events.push_back(FormatString("2D camera %dx%d", camera->viewportWidth, camera->viewportHeight));
  } else {
    m_events.push_back("2D camera none");
  }
  N_Render::SetupCamera(camera, is3D);
}

void PagesRender::SetPostFilterAmount(float amount) {
  amounts.push_back(amount);
  m_events.push_back(FormatString("post filter %g", double(amount)));
  N_Render::SetPostFilterAmount(amount);
}

std::unique_ptr<ExportData> NotingGame::PollResult() { return std::move(result); }

RacePagesRig::RacePagesRig() : rig(RecordingRender::DefaultConfig(), [this] { return new PagesRender(events); }) {
  g_renderServicesCopy.textureMng = &textures;
  g_render = &rig.render;
  const TempDir& dir = rig.harness.dir;
  // The world's body sounds need their sound scripts and samples.
  for (const char* part : {"data/scripts", "data/gfx", "data/sounds", kProfilesFile}) CopyFromGameRoot(dir, part);
  sounds = std::make_unique<CategorySoundMng>();
  strings.SetLanguage("eng");
  strings.ReadDir("scripts\\strings\\*.string");
  g_stringTable = &strings;
  timer.Tick();
  g_timer = &timer;
  world = std::make_unique<N_World>(&textures);
  g_world = world.get();
  world->GuiMng().LoadGuiFiles("scripts\\gui\\*.gui");
  world->AthletMng().ParseProfiles("data\\profiles\\playerprofiles.data");
  world->AthletMng().SplitBySex();
  world->ShaderMng().LoadShaders();
  textures.PurgeTextures();
  ResetShootingHudState();
  ResetSplitBoardState();
  ReleaseAllFinishedResults();
  events.clear();
  NewLog();
}

RacePagesRig::~RacePagesRig() {
  ReleaseAllFinishedResults();
  g_world = nullptr;
  world.reset();
  sounds.reset();
  g_timer = nullptr;
  g_stringTable = nullptr;
  g_render = nullptr;
  g_renderServicesCopy.textureMng = nullptr;
}

std::unique_ptr<N_InputMng> RacePagesRig::ScriptedInputMng() {
  N_CoreServices block;
  block.errorLog = rig.core.errorLog.get();
  block.log = rig.core.log.get();
  block.varMng = rig.core.vars.get();
  std::unique_ptr<N_InputMng> input = CreateInputMng(block);
  if (!input || input->Init() != 1) return nullptr;
  g_inputMng = input.get();
  return input;
}

void RacePagesRig::Step(double seconds) {
  clock.counter += static_cast<std::uint64_t>(seconds * 1e6 + 0.5);
  timer.Tick();
}

void RacePagesRig::Frames(double seconds, double dt) {
  for (double t = 0.0; t < seconds - 1e-9; t += dt) {
    Step(dt);
    world->GuiMng().Render();
    world->TextBatch().Flush();
  }
}

N_GuiElement& RacePagesRig::Element(const char* name) {
  N_GuiElement* element = world->GuiMng().GetElement(name, false);
  if (!element) ADD_FAILURE() << "no element " << name;
  static N_GuiText none("none");
  return element ? *element : none;
}

std::string RacePagesRig::Caption(const char* name) { return Element(name).GetCaption(); }

bool RacePagesRig::PageVisible(const char* name) {
  const N_GuiPage* page = world->GuiMng().GetPage(name);
  if (!page) ADD_FAILURE() << "no page " << name;
  return page && page->IsVisible();
}

std::vector<std::vector<std::string>> RacePagesRig::Rows(const char* name) {
  std::vector<std::vector<std::string>> rows;
  auto* table = dynamic_cast<N_GuiTable*>(&Element(name));
  if (!table) return rows;
  for (std::int32_t r = 0; r < table->GetRowCount(); ++r) {
    std::vector<std::string>& cells = rows.emplace_back();
    for (N_GuiElement* cell : table->GetRowCells(r)) {
      if (!cell) {
        cells.emplace_back("(none)");
      } else {
        cells.push_back(cell->GetTypeName() == N_GuiText::kTypeName ? cell->GetCaption() : cell->GetShaderName());
      }
    }
  }
  return rows;
}

std::string RacePagesRig::NewLog() {
  const std::string text = rig.core.LogText();
  const std::string fresh = text.substr(std::min(m_logMark, text.size()));
  m_logMark = text.size();
  return fresh;
}

}  // namespace test
