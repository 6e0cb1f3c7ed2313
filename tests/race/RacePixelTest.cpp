// The race pages on the OpenGL device under the virtual X server at 640 x 480, with
// the game root's page scripts, materials and generated pictures: the exhaustion
// overlay over a white frame, the loading frame without a world camera, a start-list
// flag; and the loading frame's message drain, which keeps a queued key release for
// the next input poll.
#include "core/Globals.h"
#include "core/InputMng.h"
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiTable.h"
#include "platform/dinput8.h"
#include "platform/win32/Window.h"
#include "race/AthletProfile.h"
#include "race/GameData.h"
#include "race/LoadingProgress.h"
#include "race/PlayerStatus.h"
#include "race/StartList.h"
#include "race/World.h"
#include "render/Camera.h"
#include "render/RenderStateCache.h"
#include "render/TextureMngImpl.h"
#include "tests/race/RacePagesRig.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/GlRender.h"
#include "tests/support/TestWindow.h"
#include "tools/RacePictures.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <thread>

namespace {

/// The first pixel whose centre lies at or beyond the screen unit: the 2D set-up
/// projects 639 units onto 640 pixels (479 onto 480).
int Pixel(float units, int pixels) { return static_cast<int>(std::ceil(units * pixels / (pixels - 1) - 0.5f)); }

/// The real renderer, keeping the back buffer of each frame as it is presented.
class CapturingRender final : public N_Render {
 public:
  bool EndFrame() override {
    last = test::ReadBackBuffer(Device());
    ++frames;
    return N_Render::EndFrame();
  }
  test::BackBufferImage last;
  int frames = 0;
};

/// The world over the real renderer: the game root's scripts, fonts, pictures and
/// athletes, not started (no level, no camera).
class PagesOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* part : {"data/scripts", "data/gfx", "data/textures", "data/sounds", test::kProfilesFile}) {
      test::CopyFromGameRoot(gl.dir, part);
    }
    gl.services.textureMng = &textures;
    ASSERT_TRUE(gl.Start([this] { return render = new CapturingRender; }));
    g_render = render;
    strings.SetLanguage("eng");
    strings.ReadDir("scripts\\strings\\*.string");
    g_stringTable = &strings;
    timer.Tick();
    g_timer = &timer;
    camera.SetProjection(90.0f, 640.0f, 480.0f, 0.0f, 0.0f);
    world = std::make_unique<N_World>(&textures);
    g_world = world.get();
    world->TextBatch().Init();
    world->GuiMng().LoadGuiFiles("scripts\\gui\\*.gui");
    world->AthletMng().ParseProfiles("data\\profiles\\playerprofiles.data");
    world->AthletMng().SplitBySex();
    world->ShaderMng().LoadShaders();
    textures.PurgeTextures();
  }
  void TearDown() override {
    g_world = nullptr;
    world.reset();
    g_timer = nullptr;
    g_stringTable = nullptr;
    g_render = nullptr;
    g_renderStateCache.currentShader = nullptr;
  }

  /// One frame of the pages over the clear colour, read back before the present.
  test::BackBufferImage Frame() {
    render->BeginFrame();
    render->SetupCamera(&camera, 0);
    world->GuiMng().Render();
    world->TextBatch().Flush();
    test::BackBufferImage image = test::ReadBackBuffer(render->Device());
    render->EndFrame();
    if (const char* dump = std::getenv("NAVO_RACE_DUMP")) render->SaveScreenshot(dump, 0, 0, 640, 480);
    return image;
  }

  test::GlRender gl{640, 480};
  N_TextureMngImpl textures{1024};
  CapturingRender* render = nullptr;
  N_StringTable strings;
  test::TestClock clock;
  N_Timer timer{clock};
  N_Camera camera;
  std::unique_ptr<N_World> world;
};

TEST_F(PagesOnScreen, TheExhaustionOverlayDarkensAWhiteFrame) {
  render->SetClearColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
  ShowPlayerStatus("Test Skier", "GER");
  UpdatePlayerStatus(75.5f, 10.0f, 171.6f, 0.5f, 0.1f, 3, 2, 4);  // darkness 0.6
  const test::BackBufferImage image = Frame();
  ASSERT_EQ(image.width, 640u);
  const DWORD centre = image.Rgb(320, 240);
  for (const int shift : {16, 8, 0}) {
    EXPECT_NEAR(int((centre >> shift) & 0xFF), 102, 8) << std::hex << centre;
  }
}

TEST_F(PagesOnScreen, TheLoadingFrameDrawsTheBarWithoutAWorldCamera) {
  ASSERT_EQ(world->CurrentCamera(), nullptr) << "as during a level change";
  world->GuiMng().GetPage("Loading")->ShowImmediate();
  UpdateLoadingProgress(50.0f);
  ASSERT_EQ(render->frames, 1);
  const test::BackBufferImage& image = render->last;
  ASSERT_EQ(image.width, 640u);
  // The bar: 120 to 520 across, 420 to 434 down; filled over its left half.
  const int top = Pixel(422, 480), bottom = Pixel(432, 480);
  const auto isFill = [](const platform::Rgba8& p) { return p.g > 150 && p.r < 60 && p.b < 70; };
  const auto isBack = [](const platform::Rgba8& p) {
    return p.r > 10 && p.r < 40 && std::abs(int(p.r) - int(p.g)) < 6 && p.b >= p.r && p.b < 45;
  };
  const int left = Pixel(124, 640), middle = Pixel(320, 640), right = Pixel(516, 640);
  const int area = (middle - 2 - left) * (bottom - top);
  EXPECT_GT(image.Count(left, top, middle - 2, bottom, isFill), area * 9 / 10);
  EXPECT_GT(image.Count(middle + 2, top, right, bottom, isBack), area * 9 / 10);
  EXPECT_EQ(image.Count(middle + 2, top, right, bottom, isFill), 0);
}

TEST_F(PagesOnScreen, AStartListsFlagCellShowsTheNationsFlag) {
  N_AthletProfile* athlete = world->AthletMng().GetMale(0);
  ASSERT_NE(athlete, nullptr);
  athlete->Nationality = "ITA";  // green, white and red from left to right
  GameData race;
  race.Discipline = 4;
  race.StartList = {{0, 0.0f}};
  FillStartListTables(race);
  world->GuiMng().GetPage("StartList")->ShowImmediate();
  Frame();  // lays the rows out
  const test::BackBufferImage image = Frame();
  auto& table = dynamic_cast<N_GuiTable&>(*world->GuiMng().GetElement("SL/Table", false));
  ASSERT_EQ(table.GetRowCount(), 1);
  N_GuiElement* flag = table.GetRowCells(0).at(1);
  ASSERT_NE(flag, nullptr);
  EXPECT_EQ(flag->GetShaderName(), "ITA");
  const float x = flag->GetScreenX(), y = flag->GetScreenY(), w = flag->GetWidth(), h = flag->GetHeight();
  ASSERT_GT(w, 6.0f);
  for (const float u : {1.0f / 6.0f, 0.5f, 5.0f / 6.0f}) {
    SCOPED_TRACE(u);
    const datagen::Rgba expected = datagen::FlagColour("ITA", u, 0.5f);
    const DWORD seen = image.Rgb(UINT(Pixel(x + u * w, 640)), UINT(Pixel(y + 0.5f * h, 480)));
    EXPECT_NEAR(int(seen >> 16 & 0xFF), expected.r, 12) << std::hex << seen;
    EXPECT_NEAR(int(seen >> 8 & 0xFF), expected.g, 12) << std::hex << seen;
    EXPECT_NEAR(int(seen & 0xFF), expected.b, 12) << std::hex << seen;
  }
}

TEST(RaceLoadingWindow, AKeyReleaseQueuedBeforeTheLoadingFrameReachesTheNextInputPoll) {
  test::PrivateDisplay display;
  test::TestWindow window;
  if (!display.Ok() || !window.Ok()) GTEST_SKIP() << "no Xvfb";
  ASSERT_TRUE(window.Focus());
  test::RacePagesRig r;
  r.rig.core.vars->SetInt("wnd_handle", window.Handle(), 2);
  N_CoreServices block;
  block.varMng = r.rig.core.vars.get();
  std::unique_ptr<N_InputMng> input = CreateInputMng(block);
  ASSERT_EQ(input->Init(), 1);
  r.World().GuiMng().GetPage("Loading")->ShowImmediate();
  input->Update();  // the devices are acquired by their first poll

  // A key from the display: held, then released; the release waits in SDL's queue.
  ASSERT_TRUE(test::XdoTool("keydown a"));
  const auto until = [](const auto& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(2);  // a fail-safe
    while (!condition() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return condition();
  };
  ASSERT_TRUE(until([&] {
    input->Update();
    return input->IsPressed(N_InputMng::kKeyboard, DIK_A, 0) == 1;
  }));
  ASSERT_TRUE(test::XdoTool("keyup a"));
  ASSERT_TRUE(until([] {
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYUP, SDL_KEYUP) > 0;
  }));

  UpdateLoadingProgress(50.0f);
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYUP, SDL_KEYUP), 0) << "the frame took it from the queue";
  input->Update();
  EXPECT_EQ(input->IsPressed(N_InputMng::kKeyboard, DIK_A, 0), 0) << "and kept it for the input";
  input->Shutdown();
}

}  // namespace
