#pragma once
// The game in process driven by a script of steps, one step a pass of the main loop:
// clicks put the cursor on an element and press and release the mouse button through
// the scripted input; waits hold until a condition has held while the menus settle.
#include "core/Globals.h"
#include "core/Timer.h"
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "platform/dinput8/ScriptedInput.h"
#include "race/World.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>

namespace test {

using Clock = std::chrono::steady_clock;

inline N_GuiMng& Gui() { return g_world->GuiMng(); }

/// The game's clock (seconds), which its fades, slides and held buttons run on.
inline double GameTime() { return g_timer->GetTime(); }

inline bool Visible(const char* page) {
  const N_GuiPage* p = Gui().GetPage(page);
  return p && p->IsVisible();
}

/// Steps run one after the other, once a pass of the main loop, each until it answers
/// true; a step that waits too long fails the test and ends the game.
class Script {
 public:
  using Step = std::function<bool()>;

  void Then(Step step) { m_steps.push_back(std::move(step)); }
  /// The cursor on the element's middle, then a press and a release on later passes.
  void Click(const char* element) {
    ClickOn([element] { return Gui().GetElement(element, false); });
  }
  /// The same on the element found when the step runs; none found, no click.
  void ClickOn(std::function<N_GuiElement*()> find) {
    auto found = std::make_shared<bool>(false);
    Then([find, found] {
      N_GuiElement* e = find();
      *found = e != nullptr;
      if (!e) return true;
      Gui().GetCursor()->SetLeft(e->GetScreenX() + e->GetWidth() / 2);
      Gui().GetCursor()->SetTop(e->GetScreenY() + e->GetHeight() / 2);
      return true;
    });
    Then([this, found] { return *found ? m_input.ButtonDown(0) : void(), true; });
    Then([this, found] { return *found ? m_input.ButtonUp(0) : void(), true; });
  }
  /// Waits until the condition holds and the menus have settled (fades and slides end
  /// within 0.6 s of the game's clock; a script that clicks through the elements'
  /// bindings, not the cursor, need not wait for them).
  void Until(std::function<bool()> condition, const char* what,
             std::chrono::milliseconds settle = std::chrono::milliseconds(600)) {
    Then([this, condition, what, settle, since = std::make_shared<double>(-1.0)]() mutable {
      if (!condition()) {
        *since = -1.0;
        return Waited(what);
      }
      if (*since < 0.0) *since = GameTime();
      return GameTime() - *since >= std::chrono::duration<double>(settle).count();
    });
  }
  /// Lets the game run for the time of its clock.
  void Pause(int milliseconds) {
    Then([end = std::make_shared<double>(-1.0), milliseconds] {
      if (*end < 0.0) *end = GameTime() + milliseconds / 1000.0;
      return GameTime() >= *end;
    });
  }

  /// The frame hook: the current step, then the next once it is done.
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
  /// How long a step may wait before it fails the test: a fail-safe far beyond any
  /// page's coming.
  std::chrono::seconds patience{120};
  platform::ScriptedInput& Input() { return m_input; }

 private:
  bool Waited(const char* what) {
    if (Clock::now() - m_stepStart < patience) return false;
    ADD_FAILURE() << "waited in vain: " << what;
    m_failed = true;  // the steps go once this one has returned
    g_varMng->SetInt("exit", 1, 2);
    return true;
  }

  std::deque<Step> m_steps;
  Clock::time_point m_stepStart{};
  bool m_failed = false;
  platform::ScriptedInput m_input;
};

}  // namespace test
