// The time attack and the trainings in the game, in process with the sample data: the
// player's clicks are scripted from the main menu, each step waiting for what the game
// shows. A run is cut short by the test (the racer marked finished once its clock has
// passed a second, or Escape, which gives it up).
#include "app/Application.h"
#include "core/Globals.h"
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "platform/dinput8/Keys.h"
#include "platform/dinput8/ScriptedInput.h"
#include "platform/win32.h"
#include "race/GameTimeAttack.h"
#include "race/GameTraining.h"
#include "race/Racer.h"
#include "race/RunRecorder.h"
#include "race/World.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

N_GuiMng& Gui() { return g_world->GuiMng(); }

bool Visible(const char* page) {
  const N_GuiPage* p = Gui().GetPage(page);
  return p && p->IsVisible();
}

template <class Mode>
Mode* Running() {
  return g_world ? dynamic_cast<Mode*>(g_world->Game()) : nullptr;
}

/// Steps run one after the other, once a pass of the main loop, each until it answers
/// true; a step that waits more than 30 s fails the test and ends the game.
class Script {
 public:
  using Step = std::function<bool()>;

  void Then(Step step) { m_steps.push_back(std::move(step)); }
  /// The cursor on the element's middle, then a press and a release on later passes.
  void Click(const char* element) {
    Then([element] {
      N_GuiElement* e = Gui().GetElement(element, false);
      if (!e) return true;
      Gui().GetCursor()->SetLeft(e->GetScreenX() + e->GetWidth() / 2);
      Gui().GetCursor()->SetTop(e->GetScreenY() + e->GetHeight() / 2);
      return true;
    });
    Then([this] { return m_input.ButtonDown(0), true; });
    Then([this] { return m_input.ButtonUp(0), true; });
  }
  void Tap(BYTE key) {
    Then([this, key] { return m_input.KeyDown(key), true; });
    Then([this, key] { return m_input.KeyUp(key), true; });
  }
  /// Waits until the condition holds and the menus have settled (fades end within 0.6 s).
  void Until(std::function<bool()> condition, const char* what) {
    Then([this, condition, what, since = std::make_shared<Clock::time_point>()] {
      if (!condition()) {
        *since = {};
        return Waited(what);
      }
      if (*since == Clock::time_point{}) *since = Clock::now();
      return Clock::now() - *since > std::chrono::milliseconds(600);
    });
  }
  /// Waits until the condition holds, without settling.
  void When(std::function<bool()> condition, const char* what) {
    Then([this, condition, what] { return condition() || Waited(what); });
  }

  void OnPass() {
    if (m_steps.empty()) return;
    if (m_stepStart == Clock::time_point{}) m_stepStart = Clock::now();
    if (m_steps.front()()) {
      m_steps.pop_front();
      m_stepStart = {};
    }
    if (m_failed) m_steps.clear();
  }
  bool Done() const { return m_steps.empty() && !m_failed; }

 private:
  bool Waited(const char* what) {
    if (Clock::now() - m_stepStart < std::chrono::seconds(30)) return false;
    ADD_FAILURE() << "waited in vain: " << what;
    m_failed = true;
    g_varMng->SetInt("exit", 1, 2);
    return true;
  }

  std::deque<Step> m_steps;
  Clock::time_point m_stepStart{};
  bool m_failed = false;
  platform::ScriptedInput m_input;
};

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
  script.When([] { return Running<N_GameTimeAttack>() && !Running<N_GameTimeAttack>()->Paused(); }, "the run");
  script.When(
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
  script.When([] { return Running<N_GameTimeAttack>() != nullptr; }, "the second run");
  script.Then([] {
    EXPECT_GT(Running<N_GameTimeAttack>()->Ghost()->GhostSampleCount(), 1);
    return true;
  });
  script.When([] { return !Running<N_GameTimeAttack>()->Paused(); }, "the second run's start");
  script.Tap(DIK_ESCAPE);
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
    script.When([] { return Running<N_GameTraining>() && !Running<N_GameTraining>()->Paused(); }, t.start);
    script.Tap(DIK_ESCAPE);
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
