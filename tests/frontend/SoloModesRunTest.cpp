// The time attack and the trainings in the game, in process with the sample data: the
// player's clicks are scripted from the main menu, each step waiting for what the game
// shows. A run is cut short by the test (the racer marked finished once its clock has
// passed a second, or Escape, which gives it up).
#include "app/Application.h"
#include "platform/dinput8/Keys.h"
#include "platform/win32.h"
#include "race/GameTimeAttack.h"
#include "race/GameTraining.h"
#include "race/Racer.h"
#include "race/RunRecorder.h"
#include "race/World.h"
#include "tests/frontend/MenuScript.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using test::Script;
using test::Visible;

template <class Mode>
Mode* Running() {
  return g_world ? dynamic_cast<Mode*>(g_world->Game()) : nullptr;
}

/// A key pressed and let go on the next pass.
void Tap(Script& script, BYTE key) {
  script.Then([&script, key] { return script.Input().KeyDown(key), true; });
  script.Then([&script, key] { return script.Input().KeyUp(key), true; });
}

/// From the results board back to the page, by a click anywhere on the board.
void BackFromResults(Script& script, const char* page) {
  script.Until([] { return Visible("FinalResult") && !g_world->Game(); }, "the final result");
  script.Click("FinalResultCatcher");
  script.Until([page] { return Visible(page) && !Visible("FinalResult"); }, page);
}

TEST(SoloModesRun, ATimeAttackKeepsItsGhostAndTheTrainingsReturnToTheirPages) {
  test::TempDir dir;
  test::CopyFromGameRoot(dir, "data");
  test::CopyFigureData(dir);
  dir.Write("user.cfg", "v_fullscreen 0\nv_width 640\nv_height 480\n");
  N_Application app;
  ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr)));
  Script script;
  script.Until([] { return Visible("MainMenu"); }, "the main menu");
  script.Click("SinglePlayer");
  script.Until([] { return Visible("SinglePlayer"); }, "SinglePlayer");
  script.Click("TimeAttack");
  script.Until([] { return Visible("TimeAttack"); }, "TimeAttack");

  // The first run: the race waits for the camera's start flight, then runs; once its
  // clock has passed a second the racer is marked finished.
  script.Click("Start2");
  script.Until([] { return Running<N_GameTimeAttack>() && !Running<N_GameTimeAttack>()->Paused(); }, "the run");
  script.Until(
      [] {
        N_GameTimeAttack* run = Running<N_GameTimeAttack>();
        if (run && run->Racer() && run->Racer()->Time > 1.0f) run->Racer()->Finished = 1;
        return !run;
      },
      "the run's end");
  BackFromResults(script, "TimeAttack");
  script.Then([&dir] {
    EXPECT_EQ(dir.Read("data/tables/time_attack.hs").size(), 168000u);
    const std::string ghost = dir.Read("data/tables/time_attack0000.dat");
    EXPECT_GT(ghost.size(), 28u);
    EXPECT_EQ(ghost.size() % 28, 0u);
    return true;
  });
  // The second run of the same settings skis against that ghost; Escape gives it up.
  script.Click("Start2");
  script.Until([] { return Running<N_GameTimeAttack>() != nullptr; }, "the second run");
  script.Then([] {
    EXPECT_GT(Running<N_GameTimeAttack>()->Ghost()->GhostSampleCount(), 1);
    return true;
  });
  script.Until([] { return !Running<N_GameTimeAttack>()->Paused(); }, "the second run's start");
  Tap(script, DIK_ESCAPE);
  BackFromResults(script, "TimeAttack");
  script.Click("Back7");
  script.Until([] { return Visible("SinglePlayer"); }, "back to SinglePlayer");
  script.Click("Back1");
  script.Until([] { return Visible("MainMenu"); }, "back to the main menu");

  // The two trainings, each given up with Escape once it runs.
  struct Training {
    const char* button;
    const char* page;
    const char* start;
    const char* back;
  };
  for (const Training& t : {Training{"RunTraining", "RunTraining", "Start4", "Back9"},
                            Training{"ShootingRange", "ShootTraining", "Start5", "Back10"}}) {
    script.Click("TrainingFun");
    script.Until([] { return Visible("TrainingFun"); }, "TrainingFun");
    script.Click(t.button);
    script.Until([t] { return Visible(t.page); }, t.page);
    script.Click(t.start);
    script.Until([] { return Running<N_GameTraining>() && !Running<N_GameTraining>()->Paused(); }, t.start);
    Tap(script, DIK_ESCAPE);
    BackFromResults(script, t.page);
    script.Click(t.back);
    script.Until([] { return Visible("TrainingFun"); }, t.back);
    script.Click("Back3");
    script.Until([] { return Visible("MainMenu"); }, "back to the main menu");
  }
  script.Then([] { return g_varMng->SetInt("exit", 1, 2), true; });
  app.SetFrameHook([&script] { script.OnPass(); });
  app.Run();
  EXPECT_TRUE(script.Done());
  const std::string log = dir.Read("navo.log");
  EXPECT_EQ(log.find("not found"), std::string::npos) << log;
}

}  // namespace
