// A time attack in the game on the OpenGL device (Xvfb with Mesa): started from code as
// its set-up page does (the description, the level, the mode, Load, Init, paused and
// unpaused), the forward key held. The skier's figure stands near the screen centre
// behind the following camera and moves along the course; a second run against the
// first one's recording draws the ghost; Esc brings the final result. A shooting
// training shows the targets through the scope, and a shot at the aimed target fells it.
#include "core/CoreServices.h"
#include "core/InputMng.h"
#include "core/KeyDefinitions.h"
#include "core/StringTable.h"
#include "core/VarMng.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "platform/dinput8/ScriptedInput.h"
#include "platform/win32/TestWindow.h"
#include "race/GameData.h"
#include "race/GameTimeAttack.h"
#include "race/GameTraining.h"
#include "race/Racer.h"
#include "race/RunRecorder.h"
#include "race/ShootLane.h"
#include "race/Shooter.h"
#include "race/ShootingRange.h"
#include "race/ai/AiPath.h"
#include "core/Random.h"
#include "race/World.h"
#include "render/Render.h"
#include "render/RendererTextureDevice.h"
#include "render/TextureMngImpl.h"
#include "tests/race/WorldGlRig.h"
#include "tests/race/WorldTestSupport.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = test::WorldGlRig::kWidth, kHeight = test::WorldGlRig::kHeight;

using WorldGl = test::WorldGlRig;

bool Near(DWORD a, DWORD b, int tolerance = 8) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  }
  return true;
}

TEST(TimeAttackGl, TheSkierSkisAlongTheCourseBehindTheFollowingCamera) {
  WorldGl w;
  w.core.vars->SetString("mapname", "Beitostolen.alf", 2);
  w.world->LoadLevel();
  auto data = std::make_unique<GameData>();
  data->Discipline = DisciplineCode::kTimeAttack;
  data->Laps = 3;
  data->StartList.push_back({0, -1.0f});
  auto game = std::make_unique<N_GameTimeAttack>(std::move(data), std::make_unique<N_RunRecorder>(),
                                                 N_RaceServices::FromWorld());
  N_GameTimeAttack& mode = *game;
  w.world->SetGame(std::move(game));
  mode.Load();
  mode.Init();
  mode.SetPaused(1);
  mode.SetPaused(0);
  w.core.vars->SetInt("viewmode", 1, 0);  // the free camera, which follows the racer
  w.SceneOnly();
  ResetKeyDefinitions();
  w.keys.KeyDown(DIK_W);
  const N_Racer& racer = *mode.Racer();
  const N_Vector3 start = racer.Pos;
  for (int frame = 0; frame < 120; ++frame) w.Frame(0.05f);
  ASSERT_EQ(w.world->Game(), &mode);
  EXPECT_GT(std::hypot(racer.Pos.x - start.x, racer.Pos.y - start.y), 100.0f) << "the figure moves along the course";

  // The frame with the figure against the same frame without it: the difference lies
  // around the screen centre.
  w.SceneOnly();
  w.world->Render(0.0f);
  const std::vector<DWORD> with = w.Pixels();
  N_AthletProfile& athlete = *racer.Athlete;
  const std::int32_t figure = athlete.Figure;
  athlete.Figure = -1;
  w.world->Render(0.0f);
  const std::vector<DWORD> without = w.Pixels();
  athlete.Figure = figure;
  int centre = 0, all = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool differs = !Near(WorldGl::At(with, x, y), WorldGl::At(without, x, y));
      all += differs;
      centre += differs && std::abs(x - kWidth / 2) < kWidth / 4 && std::abs(y - kHeight / 2) < kHeight / 3;
    }
  }
  EXPECT_GT(all, 100) << "the figure's pixels";
  EXPECT_GT(centre, all * 3 / 4) << "near the screen centre";

  // A second run against the first one's recording: the ghost's figure is drawn (the
  // player's own hidden here).
  w.dir.Write("data/tables/readme.txt", "");
  ASSERT_TRUE(mode.Ghost()->Save("first_run.dat"));
  auto saved = std::make_unique<N_RunRecorder>();
  ASSERT_TRUE(saved->Load("first_run.dat"));
  auto data2 = std::make_unique<GameData>();
  data2->Discipline = DisciplineCode::kTimeAttack;
  data2->Laps = 3;
  data2->StartList.push_back({0, -1.0f});
  auto second = std::make_unique<N_GameTimeAttack>(std::move(data2), std::move(saved), N_RaceServices::FromWorld());
  N_GameTimeAttack& rerun = *second;
  w.world->SetGame(std::move(second));
  rerun.Load();
  rerun.Init();
  rerun.SetPaused(0);
  for (int frame = 0; frame < 60; ++frame) w.Frame(0.05f);
  w.SceneOnly();
  N_AthletProfile& ghost = w.world->AthletMng().Ghost();
  const std::int32_t ghostFigure = ghost.Figure;
  athlete.Figure = -1;
  w.world->Render(0.0f);
  const std::vector<DWORD> withGhost = w.Pixels();
  ghost.Figure = -1;
  w.world->Render(0.0f);
  const std::vector<DWORD> withoutGhost = w.Pixels();
  ghost.Figure = ghostFigure;
  athlete.Figure = figure;
  int ghostPixels = 0;
  for (std::size_t i = 0; i < withGhost.size(); ++i) ghostPixels += !Near(withGhost[i], withoutGhost[i]);
  EXPECT_GT(ghostPixels, 100) << "the ghost's pixels";

  // Esc gives the run up; the world shows its result.
  w.keys.KeyDown(DIK_ESCAPE);
  w.Frame(0.05f);
  EXPECT_EQ(w.world->Game(), nullptr);
  N_GuiPage* finalResult = w.world->GuiMng().GetPage("FinalResult");
  ASSERT_NE(finalResult, nullptr);
  EXPECT_TRUE(finalResult->IsVisible());
}

TEST(ShootingTrainingGl, TheScopeShowsTheTargetsAndAShotFellsTheAimedOne) {
  WorldGl w;
  w.core.vars->SetString("mapname", "Beitostolen.alf", 2);
  w.world->LoadLevel();
  auto data = std::make_unique<GameData>();
  data->Discipline = DisciplineCode::kShootingTraining;
  data->Laps = 3;
  data->StartList.push_back({0, 0.0f});
  Srand(5);
  auto game = std::make_unique<N_GameTraining>(std::move(data), N_RaceServices::FromWorld());
  N_GameTraining& mode = *game;
  w.world->SetGame(std::move(game));
  mode.Load();
  mode.Init();
  mode.SetPaused(0);
  EXPECT_EQ(w.core.vars->GetInt("viewmode"), 2);
  ResetKeyDefinitions();
  const N_Racer& racer = *mode.Racer();
  ASSERT_NE(racer.Lane, nullptr);
  // A steady aim (the developer toggle), then a cartridge.
  w.keys.KeyDown(DIK_RCONTROL);
  w.keys.KeyDown(DIK_RSHIFT);
  w.keys.Tap(DIK_SPACE);
  w.Frame();
  w.keys.KeyUp(DIK_RCONTROL);
  w.keys.KeyUp(DIK_RSHIFT);
  const N_Shooter& rifle = *mode.Path()->ShootingRange()->Shooter();
  for (int i = 0; i < 200 && !rifle.SeriesState().aiming; ++i) w.Frame();  // the rifle shouldered
  ASSERT_TRUE(rifle.SeriesState().aiming);
  w.keys.ButtonDown(1);
  w.Frame();
  w.keys.ButtonUp(1);
  for (int i = 0; i < 200 && racer.ReloadProgress < 1.0f; ++i) w.Frame();
  ASSERT_GE(racer.ReloadProgress, 1.0f);
  w.SceneOnly();
  w.Frame();
  const std::vector<DWORD> before = w.Pixels();
  w.keys.ButtonDown(0);
  w.Frame();
  w.keys.ButtonUp(0);
  for (int i = 0; i < 100; ++i) w.Frame();  // the target's closing animation
  EXPECT_EQ(racer.Lane->HitMask(), 4u) << "the middle target";
  w.SceneOnly();
  w.Frame();
  const std::vector<DWORD> after = w.Pixels();
  int centre = 0;
  for (int y = kHeight / 4; y < kHeight * 3 / 4; ++y) {
    for (int x = kWidth / 4; x < kWidth * 3 / 4; ++x) centre += !Near(WorldGl::At(before, x, y), WorldGl::At(after, x, y));
  }
  EXPECT_GT(centre, 50) << "the felled target's pixels";
}

}  // namespace
