// The world on the OpenGL device (Xvfb with Mesa) over the sample data, checked by its
// pixels: the main menu over the start level, a lane of targets with one knocked down,
// the direction arrow, the rifle at the range, a figure drawn with its gear glowing,
// the screenshot Scroll Lock writes, and the player's series at a lane of the sample
// course (the scoped target, the rifle, a shot, the free view back afterwards); an
// arcade sprint launched as the menus launch it, from its start list to its result.
#include "race/World.h"

#include "core/CoreServices.h"
#include "core/InputMng.h"
#include "core/StringTable.h"
#include "core/VarMng.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiTable.h"
#include "platform/dinput8/ScriptedInput.h"
#include "platform/win32/Files.h"
#include "platform/win32/TestWindow.h"
#include "core/PlayerControls.h"
#include "platform/dinput8.h"
#include "race/AthletProfile.h"
#include "race/AthleteGlow.h"
#include "race/GameArcade.h"
#include "race/GameData.h"
#include "race/GameLaunch.h"
#include "race/PlayerShooting.h"
#include "race/PlayerStatus.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "race/ShootingRange.h"
#include "race/Sipka.h"
#include "race/StartList.h"
#include "race/ai/AiLog.h"
#include "race/ai/AiPath.h"
#include "render/Render.h"
#include "render/RendererTextureDevice.h"
#include "render/TextureMngImpl.h"
#include "tests/race/AiPathSupport.h"
#include "tests/race/WorldGlRig.h"
#include "tests/race/WorldTestSupport.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = test::WorldGlRig::kWidth, kHeight = test::WorldGlRig::kHeight;
/// The free camera looks level along +y from this height, above the start level.
constexpr float kEyeZ = 4000.0f;
/// Pixels per world unit at a distance of one unit: 320 / tan(25 degrees).
const float kPixelsPerUnit = 320.0f / std::tan(25.0f * 3.14159265f / 180.0f);

/// The game's start on the GL device, with the free camera placed above the level and a
/// recording game at hand.
class WorldGl : public test::WorldGlRig {
 public:
  /// No pages in front of the scene; the free camera at (0, 0, kEyeZ) looking along +y.
  void SceneOnly() {
    WorldGlRig::SceneOnly();
    N_Camera& camera = world->CameraMng().FreeController().Camera();
    camera.position = {0.0f, 0.0f, kEyeZ};
    camera.UpdateView();
  }
  /// The screen pixel of a point ahead of the free camera.
  static std::pair<int, int> OnScreen(const N_Vector3& p) {
    return {int(std::lround(kWidth / 2.0f + p.x / p.y * kPixelsPerUnit)),
            int(std::lround(kHeight / 2.0f - (p.z - kEyeZ) / p.y * kPixelsPerUnit))};
  }
  test::RecordingGame& StartGame() {
    auto game = std::make_unique<test::RecordingGame>(events);
    test::RecordingGame& recording = *game;
    world->SetGame(std::move(game));
    return recording;
  }
};

int Brightness(DWORD p) { return int(p & 0xFF) + int((p >> 8) & 0xFF) + int((p >> 16) & 0xFF); }
bool Near(DWORD a, DWORD b, int tolerance = 8) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  }
  return true;
}
int CountDiffering(const std::vector<DWORD>& a, const std::vector<DWORD>& b, int top, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < kWidth; ++x) count += Near(WorldGl::At(a, x, y), WorldGl::At(b, x, y)) ? 0 : 1;
  return count;
}
/// Succeeds when (x, y) is dark and the dark patch around it reaches as far left as
/// right and as far up as down, to a pixel or two: (x, y) is the patch's middle.
testing::AssertionResult DarkPatchCentredAt(const std::vector<DWORD>& pixels, int x, int y) {
  constexpr int kSteps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  int reach[4] = {};
  for (int d = 0; d < 4; ++d) {
    for (int px = x + kSteps[d][0], py = y + kSteps[d][1];
         px >= 0 && px < kWidth && py >= 0 && py < kHeight && Brightness(WorldGl::At(pixels, px, py)) < 120;
         px += kSteps[d][0], py += kSteps[d][1]) {
      ++reach[d];
    }
  }
  if (Brightness(WorldGl::At(pixels, x, y)) < 120 && std::abs(reach[0] - reach[1]) <= 2 && std::abs(reach[2] - reach[3]) <= 2) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "brightness " << Brightness(WorldGl::At(pixels, x, y)) << ", dark reach left "
                                     << reach[0] << " right " << reach[1] << " up " << reach[2] << " down " << reach[3];
}

TEST(WorldGl, TheMainMenuIsDrawnOverTheStartLevel) {
  WorldGl w;
  N_GuiPage& menu = *w.world->GuiMng().GetPage("MainMenu");
  N_GuiPage& background = *w.world->GuiMng().GetPage("Background");
  EXPECT_TRUE(menu.IsVisible());
  EXPECT_TRUE(background.IsVisible());
  w.Frame();
  const std::vector<DWORD> withMenu = w.Pixels();
  menu.Hide();
  background.Hide();
  w.Frame();
  const std::vector<DWORD> levelOnly = w.Pixels();
  EXPECT_GT(CountDiffering(withMenu, levelOnly, 0, kHeight), kWidth * kHeight / 20) << "the menu's pixels";
  int lit = 0;
  for (const DWORD p : levelOnly) lit += Brightness(p) > 30 ? 1 : 0;
  EXPECT_GT(lit, kWidth * kHeight / 4) << "the level behind it";
}

TEST(WorldGl, TenLevelChangesLeaveTheTextureMemoryWhereItStarted) {
  WorldGl w;
  const std::string start = w.world->CurrentMapName();
  const std::uint32_t memory = w.render->TextureMemory();
  ASSERT_GT(memory, 0u);
  const char* other = platform::EqualsNoCase(start, "Holmenkollen.alf") ? "Beitostolen.alf" : "Holmenkollen.alf";
  for (int change = 1; change <= 10; ++change) {
    w.core.vars->SetString("mapname", change % 2 == 1 ? other : start.c_str(), 2);
    w.world->LoadLevel();
  }
  EXPECT_EQ(w.world->CurrentMapName(), start);
  EXPECT_EQ(w.render->TextureMemory(), memory) << "each course's lightmaps gave their bytes back";
}

TEST(WorldGl, OnlyTheKnockedDownTargetChangesItsColour) {
  WorldGl w;
  w.SceneOnly();
  // One lane of five targets 200 ahead at eye height, the stand at the camera.
  std::vector<N_Vector3> points;
  for (int t = 0; t < 5; ++t) points.push_back({-40.0f + 20.0f * float(t), 200.0f, kEyeZ});
  const N_Vector3 stand{0.0f, 0.0f, kEyeZ};
  N_ShootingRange range;
  range.Build(points.data(), 5, &stand, 1);
  w.world->ShaderMng().LoadShaders();
  w.textures.PurgeTextures();
  test::RecordingGame& game = w.StartGame();
  game.onUpdate = [&] { range.Update(0.05f); };
  game.onRender = [&](float dt) { range.Targets()->Render(dt); };
  for (int frame = 0; frame < 12; ++frame) w.Frame();  // the covers open
  const std::vector<DWORD> open = w.Pixels();
  std::vector<std::pair<int, int>> centres;
  for (int t = 0; t < 5; ++t) {
    centres.push_back(WorldGl::OnScreen({points[std::size_t(t)].x, 199.75f, kEyeZ}));
    // The black face is drawn with its middle at the target's point.
    EXPECT_TRUE(DarkPatchCentredAt(open, centres.back().first, centres.back().second)) << "black face " << t;
  }
  range.GetLane(0)->KnockDown(2);
  for (int frame = 0; frame < 12; ++frame) w.Frame();  // its cover closes
  const std::vector<DWORD> hit = w.Pixels();
  for (int t = 0; t < 5; ++t) {
    const DWORD before = WorldGl::At(open, centres[std::size_t(t)].first, centres[std::size_t(t)].second);
    const DWORD after = WorldGl::At(hit, centres[std::size_t(t)].first, centres[std::size_t(t)].second);
    if (t == 2) {
      EXPECT_GT(Brightness(after), 500) << "the white cover";
    } else {
      EXPECT_TRUE(Near(before, after)) << t;
    }
  }
  w.world->SetGame(nullptr);
}

TEST(WorldGl, TheDirectionArrowShowsAheadOfTheCamera) {
  WorldGl w;
  w.SceneOnly();
  N_Sipka markers;
  ASSERT_TRUE(markers.Load());
  // The sample lane arrow's middle stands 190 units over its place: at eye height.
  markers.SetArrowPlace({0.0f, 300.0f, kEyeZ - 190.0f}, {1.0f, 0.0f, 0.0f});
  test::RecordingGame& game = w.StartGame();
  game.onRender = [&](float dt) { markers.RenderArrow(dt); };
  w.Frame();
  const DWORD centre = WorldGl::At(w.Pixels(), kWidth / 2, kHeight / 2);
  EXPECT_TRUE(Near(centre, 0xFAC814, 40)) << std::hex << centre << ": the arrow's yellow";
  w.world->SetGame(nullptr);
}

TEST(WorldGl, TheRifleLiesInTheLowerPartOfTheRangeView) {
  WorldGl w;
  w.SceneOnly();
  std::vector<N_Vector3> points(5, {0.0f, 2000.0f, kEyeZ});
  const N_Vector3 stand{0.0f, 0.0f, kEyeZ};
  N_ShootingRange range;
  range.Build(points.data(), 5, &stand, 1);
  w.world->ShaderMng().LoadShaders();
  w.textures.PurgeTextures();
  N_Shooter& rifle = *range.Shooter();
  rifle.Set()->SetAction(rifle.InstanceIndex(), rifle.Animations()[N_Shooter::kAim], 30.0f, 0.0f);
  rifle.SetEyePoint(stand);
  N_ShakeCamera& shake = w.world->CameraMng().ShakeController();
  shake.AttachRifle(&rifle);
  const N_Vector3 target{0.0f, 2000.0f, kEyeZ};
  shake.LookAt(stand, target);
  w.core.vars->SetInt("viewmode", 2, 2);
  w.core.vars->SetFloat("ampx", 0.0f, 2);
  w.core.vars->SetFloat("ampy", 0.0f, 2);
  w.core.vars->SetFloat("randx", 0.0f, 2);
  w.core.vars->SetFloat("randy", 0.0f, 2);
  w.Frame();
  rifle.SetShown(false);
  w.Frame();
  const std::vector<DWORD> without = w.Pixels();
  rifle.SetShown(true);
  w.Frame();
  const std::vector<DWORD> with = w.Pixels();
  EXPECT_EQ(w.world->CurrentCamera(), &shake.MainCamera());
  EXPECT_GT(CountDiffering(with, without, kHeight / 2, kHeight), 2000) << "the rifle below the centre";
  EXPECT_LT(CountDiffering(with, without, 0, kHeight / 3), 200) << "and not over the top of the view";
  shake.AttachRifle(nullptr);
}

TEST(WorldGl, AGlowingFigureDiffersFromThePlainOne) {
  WorldGl w;
  w.SceneOnly();
  const N_AthletProfile& athlete = *w.world->AthletMng().Athlete(0);
  bool glow = false;
  test::RecordingGame& game = w.StartGame();
  N_Matrix3 facing;
  facing.FromDirection({0.0f, -1.0f, 0.0f});
  game.onRender = [&](float dt) {
    if (glow) AthleteGlowOn(athlete);
    w.world->Figures().RenderFigure(dt, athlete.Figure, {0.0f, 250.0f, kEyeZ - 100.0f}, facing, 1, &athlete, false,
                                    true, true);
    if (glow) AthleteGlowOff(athlete);
  };
  w.Frame();
  const std::vector<DWORD> plain = w.Pixels();
  w.Frame(0.0f);  // the same pose
  EXPECT_EQ(CountDiffering(plain, w.Pixels(), 0, kHeight), 0) << "a frame of the same pose is the same";
  glow = true;
  w.Frame(0.0f);
  const std::vector<DWORD> glowing = w.Pixels();
  // The torso: the figure stands 250 ahead with its feet 100 below the eye, so its
  // upper body fills the band below the screen's middle.
  int torso = 0;
  for (int y = 340; y < 400; ++y) {
    for (int x = 310; x < 330; ++x) torso += WorldGl::At(plain, x, y) != WorldGl::At(glowing, x, y);
  }
  EXPECT_GT(torso, 100) << "the gear glows over the torso, not only at its outline";
  glow = false;
  w.Frame(0.0f);
  EXPECT_EQ(CountDiffering(plain, w.Pixels(), 0, kHeight), 0) << "and the plain technique is back";
  w.world->SetGame(nullptr);
}

/// The 24-bit BMP's size and the pixel at (x, y) from the top, as 0xRRGGBB.
struct Bitmap {
  explicit Bitmap(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  std::int32_t Field(std::size_t at) const {
    return std::int32_t(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8 | std::uint8_t(bytes[at + 2]) << 16 |
                        std::uint32_t(std::uint8_t(bytes[at + 3])) << 24);
  }
  DWORD Pixel(int x, int y) const {
    const std::int32_t width = Field(18), height = Field(22);
    const std::size_t row = (std::size_t(width) * 3 + 3) / 4 * 4;
    const std::size_t at = std::size_t(Field(10)) + row * std::size_t(height > 0 ? height - 1 - y : y) + std::size_t(x) * 3;
    return DWORD(std::uint8_t(bytes[at + 2])) << 16 | DWORD(std::uint8_t(bytes[at + 1])) << 8 | std::uint8_t(bytes[at]);
  }
  std::vector<char> bytes;
};

TEST(WorldGl, ScrollLockWritesTheBackBufferAsANumberedBitmap) {
  WorldGl w;
  w.Frame();
  w.keys.KeyDown(N_World::kScreenshotKey);
  w.Frame();
  const DWORD centre = WorldGl::At(w.Pixels(), kWidth / 2, kHeight / 2);
  w.keys.KeyUp(N_World::kScreenshotKey);
  w.Frame();
  w.keys.KeyDown(N_World::kScreenshotKey);
  w.Frame();
  for (const char* file : {"data/screenshots/000001.bmp", "data/screenshots/000002.bmp"}) {
    const Bitmap shot(file);
    ASSERT_GT(shot.bytes.size(), 54u) << file;
    EXPECT_EQ(shot.bytes[0], 'B');
    EXPECT_EQ(shot.Field(18), kWidth);
    EXPECT_EQ(std::abs(shot.Field(22)), kHeight);
    EXPECT_EQ(shot.Field(28) & 0xFFFF, 24) << "bits a pixel";
  }
  EXPECT_TRUE(Near(Bitmap("data/screenshots/000001.bmp").Pixel(kWidth / 2, kHeight / 2), centre, 2));
  EXPECT_FALSE(std::filesystem::exists("data/screenshots/000003.bmp"));
}

/// The scope's part of the screen: the centre nineteenth.
constexpr int kScopeLeft = 9 * kWidth / 19, kScopeRight = 10 * kWidth / 19;
constexpr int kScopeTop = 9 * kHeight / 19, kScopeBottom = 10 * kHeight / 19;
constexpr int kScopeArea = (kScopeRight - kScopeLeft) * (kScopeBottom - kScopeTop);

int DarkInScope(const std::vector<DWORD>& pixels) {
  int dark = 0;
  for (int y = kScopeTop; y < kScopeBottom; ++y)
    for (int x = kScopeLeft; x < kScopeRight; ++x) dark += Brightness(WorldGl::At(pixels, x, y)) < 120 ? 1 : 0;
  return dark;
}

TEST(ShootingGl, TheSeriesShowsTheScopedTargetTheRifleAndTheShotThenTheFreeView) {
  WorldGl w;
  w.SceneOnly();
  // The sample course's path network in the world's level.
  CreateAiLog();
  test::FillLevel(w.world->Level(), test::SampleTrack("Beitostolen"));
  Ai::N_AiPath path;
  ASSERT_TRUE(path.Load(w.world->Level()));
  w.world->ShaderMng().LoadShaders();
  w.textures.PurgeTextures();
  N_AthletProfile athlete;
  N_Racer racer(athlete, 2, 10.0f, 0, false, false);
  racer.ControlKind = 1;
  racer.Stance = 1;
  racer.Lane = path.GetStand(4);
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

  test::RecordingGame& game = w.StartGame();
  game.onUpdate = [&] {
    controls.Poll();
    path.UpdateShootingRange(0.05f);
    PlayerShooting(racer, path, controls, 0.05f);
  };
  game.onRender = [&](float dt) { path.RenderShootTargets(dt); };
  w.Frame();
  w.keys.KeyUp(DIK_RCONTROL);
  w.keys.KeyUp(DIK_RSHIFT);
  ASSERT_TRUE(controls.IsDevToggle());
  ASSERT_EQ(racer.ShootPhase, 5);
  EXPECT_EQ(w.core.vars->GetInt("viewmode"), 2);

  N_Shooter& rifle = *path.ShootingRange()->Shooter();
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
  // The aim (the view's centre) is on the middle of the face; the shot below hits.
  EXPECT_TRUE(DarkPatchCentredAt(bare, kWidth / 2, kHeight / 2)) << "the aim on the middle of the black face";
  EXPECT_GT(CountDiffering(aimed, bare, kHeight / 2, kHeight), 2000) << "the rifle below the centre";
  EXPECT_LT(CountDiffering(aimed, bare, 0, kHeight / 3), 200);

  const auto click = [&](int button) {
    w.keys.ButtonDown(button);
    w.Frame();
    w.keys.ButtonUp(button);
    w.Frame();
  };
  click(1);
  for (int frame = 0; frame < 100 && racer.ReloadProgress < 1.0f; ++frame) w.Frame();
  ASSERT_GE(racer.ReloadProgress, 1.0f);
  click(0);
  EXPECT_EQ(racer.Lane->HitMask(), 1u << 2);
  for (int frame = 0; frame < 12; ++frame) w.Frame();  // its cover closes
  const std::vector<DWORD> shot = w.Pixels();
  int changed = 0;
  for (int y = kScopeTop; y < kScopeBottom; ++y)
    for (int x = kScopeLeft; x < kScopeRight; ++x) changed += Near(WorldGl::At(aimed, x, y), WorldGl::At(shot, x, y)) ? 0 : 1;
  EXPECT_GT(changed, kScopeArea / 10) << "the white cover over the face";
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
  shake.AttachRifle(nullptr);
  DeleteAiLog();
}

TEST(WorldGl, AnArcadeSprintOfFifteenRunsFromItsStartListToItsFinalResult) {
  WorldGl w;
  // As the arcade launch does it: the description, the level, the start list, the game.
  auto data = std::make_unique<GameData>();
  for (int i = 0; i < 15; ++i) data->StartList.push_back({i, -30.0f * float(i)});
  data->Discipline = DisciplineCode::kSprint;
  data->Laps = 3;
  data->PlayerIndex = 0;
  data->ArcadeLevels = 1;
  w.core.vars->SetString("mapname", "Beitostolen.alf", 2);
  w.world->LoadLevel();
  FillStartListTables(*data);
  auto* game = static_cast<N_GameArcade*>(LaunchGame([&data] { return std::make_unique<N_GameArcade>(std::move(data)); }));
  ShowStartList(DisciplineCode::kSprint);
  for (const char* page : {"Background", "MainMenu"}) w.world->GuiMng().GetPage(page)->Hide();
  w.Frame();
  N_GuiPage& startList = *w.world->GuiMng().GetPage("StartList");
  EXPECT_TRUE(startList.IsVisible());
  ASSERT_EQ(game->RaceSim()->RacerCount(), 15u);

  // The start list's click: the countdown, then the player's status once his clock passes 0.
  startList.Hide();
  game->SetPaused(0);
  const N_Racer& player = *game->RaceSim()->Followed();
  std::string counter;
  for (int frame = 0; frame < 2000 && player.Time <= 0.0f; ++frame) {
    w.Frame(0.1f);
    if (player.Time > -5.0f && player.Time < -0.5f) counter = w.world->GuiMng().GetElement("Counter", false)->GetCaption();
  }
  EXPECT_EQ(counter.substr(0, 4), "00:0") << counter;
  w.Frame();
  N_GuiPage& status = *w.world->GuiMng().GetPage("PlayerStatus");
  ASSERT_TRUE(status.IsVisible());
  // The status panel's pixels: the same frame drawn again without the page.
  const std::vector<DWORD> withStatus = w.Pixels();
  status.Hide();
  w.world->Render(0.0f);
  const std::vector<DWORD> without = w.Pixels();
  int differing = 0;
  for (int y = 6; y < 84; ++y)
    for (int x = 6; x < 246; ++x) differing += WorldGl::At(withStatus, x, y) != WorldGl::At(without, x, y);
  EXPECT_GT(differing, 240 * 78 / 4) << "the status panel is drawn";

  // Run to the end: the next frame hands the result to the final-result board.
  game->Simulate();
  w.Frame();
  EXPECT_EQ(w.world->Game(), nullptr);
  EXPECT_TRUE(w.world->GuiMng().GetPage("FinalResult")->IsVisible());
  EXPECT_EQ(static_cast<N_GuiTable*>(w.world->GuiMng().GetElement("FR/Table", false))->GetRowCount(), 15);
}

}  // namespace
