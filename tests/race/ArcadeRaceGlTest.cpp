// An arcade sprint of fifteen on the sample course, on the OpenGL device (Xvfb with
// Mesa), launched from code as the menus launch it: the start list, the countdown, the
// player's status drawn once his clock passes 0, and, the race run to its end, the
// final result with every racer.
#include "race/GameArcade.h"

#include "core/CoreServices.h"
#include "core/InputMng.h"
#include "core/StringTable.h"
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiTable.h"
#include "platform/dinput8/ScriptedInput.h"
#include "platform/win32/TestWindow.h"
#include "race/GameData.h"
#include "race/GameLaunch.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "race/StartList.h"
#include "race/World.h"
#include "render/Render.h"
#include "render/RendererTextureDevice.h"
#include "render/TextureMngImpl.h"
#include "tests/race/WorldTestSupport.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 640, kHeight = 480;

/// The application's start on the GL device with the sample game data.
class ArcadeGl {
 public:
  ArcadeGl() {
    namespace fs = std::filesystem;
    const fs::path data = fs::path(test::GameRoot()) / "data";
    fs::create_directories("data");
    for (const auto& entry : fs::directory_iterator(data)) {
      if (entry.path().filename() != "video") {
        fs::copy(entry.path(), fs::path("data") / entry.path().filename(), fs::copy_options::recursive);
      }
    }
    strings.SetLanguage("eng");
    strings.ReadDir("scripts\\strings\\*.string");
    g_stringTable = &strings;
    window = platform::CreateTestWindow(kWidth, kHeight);
    core.vars->SetInt("v_fullscreen", 0, 0);
    core.vars->SetInt("v_width", kWidth, 0);
    core.vars->SetInt("v_height", kHeight, 0);
    core.vars->SetInt("wnd_handle", window, 0);
    services.errorLog = core.errorLog.get();
    services.log = core.log.get();
    services.varMng = core.vars.get();
    services.textureMng = &textures;
    CreateRender(&services, &render);
    EXPECT_TRUE(render->Init());
    g_render = render;
    g_textureMng = &textures;
    input = CreateInputMng(services);
    input->Init();
    g_inputMng = input.get();
    world = std::make_unique<N_World>(&textures);
    g_world = world.get();
    for (const char* shader : {"gfx/2d/bigchars", "console", "HmlaHack1"}) world->ShaderMng().AddShader(shader, 0, 3);
    world->Init();
  }
  ~ArcadeGl() {
    g_world = nullptr;
    world.reset();
    g_inputMng = nullptr;
    input->Shutdown();
    g_textureMng = nullptr;
    g_render = nullptr;
    if (render->Device()) render->Shutdown();
    ReleaseRender(render);
    platform::DestroyTestWindow(window);
    g_stringTable = nullptr;
  }
  ArcadeGl(const ArcadeGl&) = delete;
  ArcadeGl& operator=(const ArcadeGl&) = delete;

  /// One pass of the main loop.
  void Frame(float seconds) {
    input->Update();
    world->Update(seconds);
    world->Render(seconds);
  }
  bool Visible(const char* page) {
    const N_GuiPage* p = world->GuiMng().GetPage(page);
    return p && p->IsVisible();
  }
  std::vector<DWORD> Pixels() { return test::ReadBackBuffer(render->Device()).RgbPixels(); }

  test::TempDir dir;
  test::CoreServices core;
  N_CoreServices services;
  RendererTextureDevice textureDevice;
  N_TextureMngImpl textures{1024, &textureDevice};
  N_StringTable strings;
  test::NotingSoundMng sound;
  HWND window = 0;
  N_Render* render = nullptr;
  platform::ScriptedInput keys;
  std::unique_ptr<N_InputMng> input;
  std::unique_ptr<N_World> world;
};

TEST(ArcadeRaceGl, ASprintOfFifteenRunsFromItsStartListToItsFinalResult) {
  ArcadeGl w;
  N_VarMng& vars = *w.core.vars;
  // As the arcade launch does it: the description, the level, the start list, the game.
  auto data = std::make_unique<GameData>();
  for (int i = 0; i < 15; ++i) data->StartList.push_back({i, -30.0f * float(i)});
  data->Sex = 0;
  data->Discipline = DisciplineCode::kSprint;
  data->Track = 0;
  data->Laps = 3;
  data->PlayerIndex = 0;
  data->ArcadeLevels = 1;
  vars.SetInt("gamemode", 0, 2);
  vars.SetInt("discipline", DisciplineCode::kSprint, 2);
  vars.SetString("mapname", "Beitostolen.alf", 2);
  w.world->LoadLevel();
  FillStartListTables(*data);
  auto* game = static_cast<N_GameArcade*>(
      LaunchGame([&data] { return std::make_unique<N_GameArcade>(std::move(data)); }));
  ShowStartList(DisciplineCode::kSprint);
  ASSERT_EQ(w.world->Game(), game);
  for (const char* page : {"Background", "MainMenu"}) w.world->GuiMng().GetPage(page)->Hide();
  w.Frame(0.05f);
  EXPECT_TRUE(w.Visible("StartList"));
  ASSERT_EQ(game->RaceSim()->RacerCount(), 15u);

  // The start list's click: the list goes, the race runs; the countdown, then the
  // player's status once his clock passes 0.
  w.world->GuiMng().GetPage("StartList")->Hide();
  game->SetPaused(0);
  const N_Racer& player = *game->RaceSim()->Followed();
  std::string counter;
  for (int frame = 0; frame < 2000 && player.Time <= 0.0f; ++frame) {
    w.Frame(0.1f);
    if (player.Time > -5.0f && player.Time < -0.5f) counter = w.world->GuiMng().GetElement("Counter", false)->GetCaption();
  }
  ASSERT_GT(player.Time, 0.0f);
  EXPECT_EQ(counter.substr(0, 4), "00:0") << counter;
  w.Frame(0.05f);
  ASSERT_TRUE(w.Visible("PlayerStatus"));
  // The status panel's pixels: the same frame drawn again without the page.
  const std::vector<DWORD> withStatus = w.Pixels();
  w.world->GuiMng().GetPage("PlayerStatus")->Hide();
  w.world->Render(0.0f);
  const std::vector<DWORD> without = w.Pixels();
  int differing = 0;
  for (int y = 6; y < 84; ++y) {
    for (int x = 6; x < 246; ++x) differing += withStatus[std::size_t(y * kWidth + x)] != without[std::size_t(y * kWidth + x)];
  }
  EXPECT_GT(differing, 240 * 78 / 4) << "the status panel is drawn";

  // Run to the end: the next frame hands the result to the final-result board.
  game->Simulate();
  w.Frame(0.05f);
  EXPECT_EQ(w.world->Game(), nullptr);
  EXPECT_TRUE(w.Visible("FinalResult"));
  auto* table = dynamic_cast<N_GuiTable*>(w.world->GuiMng().GetElement("FR/Table", false));
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->GetRowCount(), 15);
}

}  // namespace
