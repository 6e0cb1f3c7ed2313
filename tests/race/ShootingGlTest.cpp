// The player's series on the OpenGL device (Xvfb with Mesa), checked by its pixels: the
// racer at a lane of the sample course, the range view through the shake camera with
// the middle target in the scope at the screen's centre and the rifle below it, a
// scripted shot that closes that target, and the free camera back after the series.
#include "core/CoreServices.h"
#include "core/InputMng.h"
#include "core/KeyDefinitions.h"
#include "core/PlayerControls.h"
#include "core/StringTable.h"
#include "core/VarMng.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "platform/dinput8.h"
#include "platform/dinput8/ScriptedInput.h"
#include "platform/win32/TestWindow.h"
#include "race/AthletProfile.h"
#include "race/PlayerShooting.h"
#include "race/PlayerStatus.h"
#include "race/Racer.h"
#include "race/ShootingRange.h"
#include "race/World.h"
#include "race/ai/AiLog.h"
#include "race/ai/AiPath.h"
#include "render/Render.h"
#include "render/RendererTextureDevice.h"
#include "render/TextureMngImpl.h"
#include "tests/race/AiPathSupport.h"
#include "tests/race/WorldTestSupport.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 640, kHeight = 480;

int Brightness(DWORD p) { return int(p & 0xFF) + int((p >> 8) & 0xFF) + int((p >> 16) & 0xFF); }
bool Near(DWORD a, DWORD b) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 8) return false;
  }
  return true;
}

/// The application's start on the GL device with the sample game data, the scripted
/// keyboard and mouse and a noting sound manager; the sample course's path network in
/// the world's level; one player's racer driven by a game the world runs.
class RangeGl {
 public:
  RangeGl() {
    namespace fs = std::filesystem;
    const fs::path data = fs::path(test::GameRoot()) / "data";
    fs::create_directories("data");
    for (const auto& entry : fs::directory_iterator(data)) {
      if (entry.path().filename() != "video") fs::copy(entry.path(), fs::path("data") / entry.path().filename(), fs::copy_options::recursive);
    }
    strings.SetLanguage("eng");
    strings.ReadDir("scripts\\strings\\*.string");
    g_stringTable = &strings;
    window = platform::CreateTestWindow(kWidth, kHeight);
    core.vars->SetInt("v_fullscreen", 0, 0);
    core.vars->SetInt("v_width", kWidth, 0);
    core.vars->SetInt("v_height", kHeight, 0);
    core.vars->SetInt("wnd_handle", window, 0);
    core.vars->SetInt("r_filter", 0, 0);
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
    ResetKeyDefinitions();
    world = std::make_unique<N_World>(&textures);
    g_world = world.get();
    for (const char* shader : {"gfx/2d/bigchars", "console", "HmlaHack1"}) world->ShaderMng().AddShader(shader, 0, 3);
    world->Init();
    for (const auto& [name, page] : world->GuiMng().Pages()) page->Hide();
    CreateAiLog();
    test::FillLevel(world->Level(), test::SampleTrack("Beitostolen"));
    EXPECT_TRUE(path.Load(world->Level()));
    world->ShaderMng().LoadShaders();
    textures.PurgeTextures();
  }
  ~RangeGl() {
    g_world = nullptr;
    world.reset();
    DeleteAiLog();
    g_inputMng = nullptr;
    input->Shutdown();
    g_textureMng = nullptr;
    g_render = nullptr;
    if (render->Device()) render->Shutdown();
    ReleaseRender(render);
    platform::DestroyTestWindow(window);
    g_stringTable = nullptr;
  }
  RangeGl(const RangeGl&) = delete;
  RangeGl& operator=(const RangeGl&) = delete;

  /// One frame of the main loop.
  void Frame(float seconds = 0.05f) {
    input->Update();
    world->Update(seconds);
    world->Render(seconds);
  }
  std::vector<DWORD> Pixels() { return test::ReadBackBuffer(render->Device()).RgbPixels(); }
  static DWORD At(const std::vector<DWORD>& pixels, int x, int y) { return pixels[std::size_t(y * kWidth + x)]; }
  /// A mouse button pressed for one frame.
  void Click(int button) {
    keys.ButtonDown(button);
    Frame();
    keys.ButtonUp(button);
    Frame();
  }

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
  Ai::N_AiPath path;
  std::vector<std::string> events;
};

int CountDiffering(const std::vector<DWORD>& a, const std::vector<DWORD>& b, int top, int bottom, int left = 0,
                   int right = kWidth) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) count += Near(RangeGl::At(a, x, y), RangeGl::At(b, x, y)) ? 0 : 1;
  return count;
}

/// The scope's part of the screen: the centre nineteenth.
constexpr int kScopeLeft = 9 * kWidth / 19, kScopeRight = 10 * kWidth / 19;
constexpr int kScopeTop = 9 * kHeight / 19, kScopeBottom = 10 * kHeight / 19;
constexpr int kScopeArea = (kScopeRight - kScopeLeft) * (kScopeBottom - kScopeTop);

int DarkInScope(const std::vector<DWORD>& pixels) {
  int dark = 0;
  for (int y = kScopeTop; y < kScopeBottom; ++y)
    for (int x = kScopeLeft; x < kScopeRight; ++x) dark += Brightness(RangeGl::At(pixels, x, y)) < 120 ? 1 : 0;
  return dark;
}

TEST(ShootingGl, TheSeriesShowsTheScopedTargetTheRifleAndTheShotThenTheFreeView) {
  RangeGl w;
  N_AthletProfile athlete;
  N_Racer racer(athlete, 2, 10.0f, 0, false, false);
  racer.ControlKind = 1;
  racer.Stance = 1;
  racer.Lane = w.path.GetStand(4);
  racer.Lane->SetInUse(true);
  racer.Pos = racer.Lane->StandPosition();
  racer.Heading = racer.Lane->ShootDirection();
  racer.ShootPhase = 4;
  racer.Anim = 29;
  racer.AnimPhase = 1.0f;
  N_PlayerControls controls;
  ShowPlayerStatus(athlete.AthletName.c_str(), athlete.Nationality.c_str());  // as from the race's start
  // A steady aim: the developer toggle (right Ctrl + right Shift + Space).
  for (const char* name : {"ampx", "ampy", "randx", "randy"}) w.core.vars->SetFloat(name, 0.0f, 2);
  w.keys.KeyDown(DIK_RCONTROL);
  w.keys.KeyDown(DIK_RSHIFT);
  w.keys.Tap(DIK_SPACE);

  auto game = std::make_unique<test::RecordingGame>(w.events);
  game->onUpdate = [&] {
    controls.Poll();
    w.path.UpdateShootingRange(0.05f);
    PlayerShooting(racer, w.path, controls, 0.05f);
  };
  game->onRender = [&](float dt) { w.path.RenderShootTargets(dt); };
  w.world->SetGame(std::move(game));
  w.Frame();
  w.keys.KeyUp(DIK_RCONTROL);
  w.keys.KeyUp(DIK_RSHIFT);
  ASSERT_TRUE(controls.IsDevToggle());
  ASSERT_EQ(racer.ShootPhase, 5);
  EXPECT_EQ(w.core.vars->GetInt("viewmode"), 2);

  N_Shooter& rifle = *w.path.ShootingRange()->Shooter();
  for (int frame = 0; frame < 100 && !rifle.SeriesState().aiming; ++frame) w.Frame();
  ASSERT_TRUE(rifle.SeriesState().aiming);
  for (int frame = 0; frame < 12; ++frame) w.Frame();  // the covers open
  N_ShakeCamera& shake = w.world->CameraMng().ShakeController();
  EXPECT_EQ(w.world->CurrentCamera(), &shake.MainCamera());
  const std::vector<DWORD> aimed = w.Pixels();
  EXPECT_GT(DarkInScope(aimed), kScopeArea / 4) << "the middle target's black face magnified at the centre";
  rifle.SetShown(false);
  w.Frame();
  const std::vector<DWORD> bare = w.Pixels();
  rifle.SetShown(true);
  EXPECT_GT(CountDiffering(aimed, bare, kHeight / 2, kHeight), 2000) << "the rifle below the centre";
  EXPECT_LT(CountDiffering(aimed, bare, 0, kHeight / 3), 200);

  w.Click(1);
  for (int frame = 0; frame < 100 && racer.ReloadProgress < 1.0f; ++frame) w.Frame();
  ASSERT_GE(racer.ReloadProgress, 1.0f);
  w.Click(0);
  EXPECT_EQ(racer.Lane->HitMask(), 1u << 2);
  for (int frame = 0; frame < 12; ++frame) w.Frame();  // its cover closes
  const std::vector<DWORD> shot = w.Pixels();
  EXPECT_GT(CountDiffering(aimed, shot, kScopeTop, kScopeBottom, kScopeLeft, kScopeRight), kScopeArea / 10)
      << "the white cover over the face";
  EXPECT_LT(DarkInScope(shot), DarkInScope(aimed));

  // Every other target felled by the developer key: the rifle goes down, the series ends.
  w.keys.KeyDown(DIK_LCONTROL);
  w.keys.KeyDown(DIK_LSHIFT);
  w.keys.Tap(DIK_Q);
  w.Frame();
  w.keys.KeyUp(DIK_LCONTROL);
  w.keys.KeyUp(DIK_LSHIFT);
  for (int frame = 0; frame < 200 && racer.ShootPhase == 5; ++frame) w.Frame();
  EXPECT_EQ(racer.ShootPhase, 6);
  EXPECT_EQ(w.core.vars->GetInt("viewmode"), 1);
  w.Frame();
  EXPECT_EQ(w.world->CurrentCamera(), &w.world->CameraMng().FreeController().Camera());
  w.world->SetGame(nullptr);
}

}  // namespace
