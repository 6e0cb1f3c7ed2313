// The loading frame on the sample "Loading" page: nothing while the page is hidden;
// while it shows, one frame per call with the bar at the value, in a 2D set-up of its
// own, and no input events for the elements.
#include "core/Globals.h"
#include "core/InputMng.h"
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiFactory.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiProgressBar.h"
#include "platform/dinput8/ScriptedInput.h"
#include "race/LoadingProgress.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

/// An element noting the types of the events it gets.
class EventNoter final : public N_GuiElement {
 public:
  static constexpr const char* kTypeName = "EventNoter";
  explicit EventNoter(std::string name) : N_GuiElement(std::move(name)) {
    if (RegisterClass(kTypeName)) EventNoter::BuildAttributes();
  }
  const std::string& GetTypeName() const override {
    static const std::string word(kTypeName);
    return word;
  }
  int HandleEvent(const N_GuiEvent& event) override {
    events.push_back(static_cast<int>(event.type));
    return N_GuiElement::HandleEvent(event);
  }
  void BuildAttributes() override { N_GuiElement::BuildAttributes(); }
  std::vector<int> events;
};

TEST(RaceLoading, EachCallWhileThePageShowsDrawsOneFrameWithTheBarAtItsValue) {
  test::RacePagesRig r;
  r.rig.core.vars->SetInt("v_width", 800, 2);
  r.rig.core.vars->SetInt("v_height", 600, 2);
  auto& bar = r.ElementAs<N_GuiProgressBar>("Loading");
  N_GuiPage* page = r.World().GuiMng().GetPage("Loading");
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(r.World().CurrentCamera(), nullptr) << "as during a level change";

  // Hidden: nothing at all.
  const int reads = r.clock.reads;
  UpdateLoadingProgress(50.0f);
  EXPECT_TRUE(r.events.empty());
  EXPECT_EQ(r.clock.reads, reads) << "no tick";
  EXPECT_EQ(bar.GetValue(), 0.0f);

  // Shown: whatever order the values come in, one frame each, the timer ticked twice.
  page->ShowImmediate();
  for (const float percent : {50.0f, 100.0f, 5.0f, 85.0f}) {
    SCOPED_TRACE(percent);
    r.events.clear();
    const int before = r.clock.reads;
    UpdateLoadingProgress(percent);
    EXPECT_EQ(r.clock.reads - before, 2);
    EXPECT_EQ(bar.GetValue(), percent);
    EXPECT_EQ(r.events, (std::vector<std::string>{"begin frame", "2D camera 800x600", "end frame"}));
  }
}

TEST(RaceLoading, AButtonStillHeldFromTheLaunchingClickSendsNoEventDuringTheLoad) {
  test::RacePagesRig r;
  N_GuiMng& gui = r.World().GuiMng();
  platform::ScriptedInput script;
  std::unique_ptr<N_InputMng> input = r.ScriptedInputMng();
  ASSERT_NE(input, nullptr);

  // The cursor as the world makes it, over a page of the menus with an element under it.
  gui.RegisterElementFactory(std::make_unique<N_GuiElementFactoryOf<EventNoter>>());
  N_GuiElement* cursor = gui.CreateElement("Cursor", "Cursor", false);
  ASSERT_NE(cursor, nullptr);
  gui.SetCursor(cursor);
  gui.CreateCursorPage();
  auto* noter = static_cast<EventNoter*>(gui.CreateElement(EventNoter::kTypeName, "Noter", false));
  ASSERT_NE(noter, nullptr);
  noter->SetSize(640.0f, 480.0f);
  N_GuiPage* menu = gui.CreatePage("LaunchPage");
  menu->SetZOrder(95);
  menu->AddElement(noter);
  menu->ShowImmediate();
  gui.GetPage("Loading")->ShowImmediate();

  // The launching click's button is still down while the level loads.
  script.ButtonDown(0);
  input->Update();
  for (int frame = 0; frame < 4; ++frame) {
    r.clock.counter += 200000;  // 0.2 s: held events would be due
    UpdateLoadingProgress(20.0f * float(frame + 1));
  }
  EXPECT_TRUE(noter->events.empty());
  // The next frame of the main loop takes the input again.
  gui.Update();
  EXPECT_FALSE(noter->events.empty());
  g_inputMng = nullptr;
  input->Shutdown();
}

}  // namespace
