// The GUI manager's frame, driven by the scripted mouse and keyboard: the cursor, the
// hit test, the events it sends (enter, exit, button, held, text), the modal filter,
// the keyboard focus, elements destroyed under it, and the snow.
#include "core/Globals.h"
#include "core/Random.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiCursor.h"
#include "gui/GuiFactory.h"
#include "gui/GuiPage.h"
#include "gui/GuiPanel.h"
#include "gui/GuiServices.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "platform/dinput8/Keys.h"
#include "platform/win32/Process.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

// Destroys the element that is clicked, from inside the manager's update.
extern "C" void GuiTestDestroySelf(N_GuiElement* element) {
  test::GuiCalls().push_back("destroy " + element->GetName());
  g_guiServices.guiMng->DestroyElement(element, false);
}

// Clears the clicked table: its rows go, the one clicked among them.
extern "C" void GuiTestClearTable(N_GuiElement* element) {
  test::GuiCalls().push_back("clear " + element->GetName());
  static_cast<N_GuiTable*>(element)->Clear();
}

const platform::ExportTable kFrameTestCallbacks{platform::Export("GuiTestDestroySelf", &GuiTestDestroySelf),
                                                platform::Export("GuiTestClearTable", &GuiTestClearTable)};

namespace {

/// An element that records every event it gets in GuiCalls ("Name enter", "Name button
/// 3 down", "Name held", "Name move").
class EventRecorder : public N_GuiElement {
 public:
  static constexpr const char* kTypeName = "EventRecorder";
  explicit EventRecorder(std::string name) : N_GuiElement(std::move(name)) {
    if (RegisterClass("EventRecorder")) EventRecorder::BuildAttributes();
  }
  const std::string& GetTypeName() const override {
    static const std::string word(kTypeName);
    return word;
  }
  int HandleEvent(const N_GuiEvent& event) override {
    std::string text = GetName();
    switch (event.type) {
      case N_GuiEventType::Move: text += " move"; break;
      case N_GuiEventType::Enter: text += " enter"; break;
      case N_GuiEventType::Exit: text += " exit"; break;
      case N_GuiEventType::Button:
        text += " button " + std::to_string(event.button) + (event.pressed ? " down" : " up");
        break;
      case N_GuiEventType::Held: text += " held"; break;
      default: text += " other"; break;
    }
    test::GuiCalls().push_back(text);
    return N_GuiElement::HandleEvent(event);
  }
};

constexpr int kLeft = 0;  ///< DirectInput button numbers
constexpr int kRight = 1;

class GuiFrame : public ::testing::Test {
 protected:
  GuiFrame() {
    rig.mng->RegisterElementFactory(std::make_unique<N_GuiElementFactoryOf<EventRecorder>>());
    cursor = rig.mng->CreateElement("Cursor", "Cursor", false);
    rig.mng->SetCursor(cursor);
    rig.mng->CreateCursorPage();
  }

  /// One frame of the main loop: the input read, the timer, the GUI's update.
  void Frame(double seconds = 0.02) {
    input.mng->Update();
    rig.Step(seconds);
    rig.mng->Update();
  }
  /// Moves the mouse so that the cursor's corner reaches the point, in one frame.
  void MoveTo(float x, float y) {
    input.script.MoveMouse(std::lround(x - cursor->GetLeft()), std::lround(y - cursor->GetTop()));
    Frame();
  }
  N_GuiPage* Page(const std::string& name, int z, bool show = true) {
    N_GuiPage* page = rig.mng->CreatePage(name);
    page->SetZOrder(static_cast<std::uint16_t>(z));
    if (show) page->ShowImmediate();
    return page;
  }
  N_GuiElement* Add(N_GuiPage* page, const char* type, const std::string& name, float left, float top) {
    N_GuiElement* e = rig.mng->CreateElement(type, name, false);
    e->SetLeft(left);
    e->SetTop(top);
    e->SetSize(100.0f, 100.0f);
    page->AddElement(e);
    page->Render();  // lays the page out, as the frame before would
    rig.batch.Flush();
    return e;
  }
  std::vector<std::string> TakeCalls() {
    std::vector<std::string> calls;
    calls.swap(test::GuiCalls());
    return calls;
  }

  test::GuiRig rig;
  test::GuiInput input{rig};
  N_GuiElement* cursor = nullptr;
};

TEST(GuiFrameWithoutCursor, SendsNothingAndKeepsTheFocus) {
  test::GuiRig rig;
  test::GuiInput input(rig);
  rig.mng->RegisterElementFactory(std::make_unique<N_GuiElementFactoryOf<EventRecorder>>());
  N_GuiPage* page = rig.mng->CreatePage("p");
  for (const char* type : {"EventRecorder", "TestFocus"}) page->AddElement(rig.mng->CreateElement(type, type, false));
  page->ShowImmediate();
  page->Render();
  input.mng->SetText("kept");
  input.script.ButtonDown(kLeft);
  input.script.MoveMouse(30, 30);
  for (int i = 0; i < 3; ++i) {
    input.mng->Update();
    rig.Step(0.2);
    rig.mng->Update();
  }
  EXPECT_TRUE(test::GuiCalls().empty());
  EXPECT_EQ(rig.mng->GetFocusElement(), nullptr);
  EXPECT_EQ(rig.mng->GetHoverElement(), nullptr);
  EXPECT_STREQ(input.mng->GetText(), "kept");
}

TEST_F(GuiFrame, TheHitTestTakesTheHighestVisiblePageAndTheFirstNameAmongEquals) {
  N_GuiElement* beta = Add(Page("Beta", 5), "EventRecorder", "b", 0, 0);
  N_GuiElement* alpha = Add(Page("Alpha", 5), "EventRecorder", "a", 0, 0);
  Add(Page("Low", 4), "EventRecorder", "low", 0, 0);
  Add(Page("Hidden", 9, false), "EventRecorder", "hidden", 0, 0);
  N_GuiElement* high = Add(Page("High", 6), "EventRecorder", "high", 50, 50);
  struct Case {
    float x, y;
    N_GuiElement* expected;
  };
  const Case cases[] = {{10, 10, alpha}, {60, 60, high}, {149, 149, high}, {150, 150, nullptr}, {99, 99, high}};
  for (const Case& c : cases) EXPECT_EQ(rig.mng->HitTest(c.x, c.y), c.expected) << c.x << ", " << c.y;
  // The cursor itself, on the top page, is never hit.
  MoveTo(10, 10);
  EXPECT_EQ(cursor->GetLeft(), 10.0f);
  EXPECT_EQ(rig.mng->HitTest(10, 10), alpha);
  EXPECT_EQ(rig.mng->GetHoverElement(), alpha);
  (void)beta;
}

TEST_F(GuiFrame, EnterMoveAndExitFollowTheCursor) {
  N_GuiPage* page = Page("p", 5);
  Add(page, "EventRecorder", "one", 0, 0);
  Add(page, "EventRecorder", "two", 200, 0);
  TakeCalls();
  MoveTo(50, 50);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"one move", "one enter"}));
  MoveTo(60, 50);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"one move"}));
  MoveTo(250, 50);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"two move", "one exit", "two enter"}));
  MoveTo(250, 300);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"two exit"}));
  EXPECT_EQ(rig.mng->GetHoverElement(), nullptr);
}

TEST_F(GuiFrame, AModalPageTakesAllInput) {
  N_GuiPage* modal = Page("Modal", 10, false);
  modal->SetModal(true);
  modal->ShowImmediate();
  ASSERT_EQ(rig.mng->GetModalPage(), modal);
  Add(modal, "EventRecorder", "inside", 0, 0);
  Add(Page("Other", 20), "EventRecorder", "outside", 200, 0);
  MoveTo(50, 50);
  TakeCalls();

  struct Step {
    float x, y;
    bool left;
    std::vector<std::string> calls;
  };
  const Step steps[] = {
      {250, 50, false, {"inside exit"}},  // over the other page: only the old hover's exit
      {260, 50, true, {}},                // a press there gives nothing
      {270, 50, false, {}},               // nor its release
      {280, 50, true, {}},
      // Back over the modal page with the button down: the change from the last state
      // seen before the filter (up) is sent in the first frame.
      {50, 50, true, {"inside move", "inside enter", "inside button 3 down", "inside held"}},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.x);
    if (s.left) {
      input.script.ButtonDown(kLeft);
    } else {
      input.script.ButtonUp(kLeft);
    }
    input.script.MoveMouse(std::lround(s.x - cursor->GetLeft()), 0);
    Frame(0.2);
    EXPECT_EQ(TakeCalls(), s.calls);
  }
  // Out and back with the button as it was: no change is sent.
  MoveTo(250, 50);
  MoveTo(50, 50);
  for (const std::string& call : TakeCalls()) EXPECT_EQ(call.find("button"), std::string::npos) << call;
  // Once the page is hidden, the other page is reached again.
  modal->Hide();
  MoveTo(250, 50);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"outside move", "inside exit", "outside enter"}));
}

TEST_F(GuiFrame, HoldingTheLeftButtonRepeatsAtMostOncePerFrame) {
  Add(Page("p", 5), "EventRecorder", "b", 0, 0);
  MoveTo(50, 50);
  TakeCalls();
  struct Run {
    double frame;  ///< seconds per frame
    int frames;
    std::size_t atLeast;  ///< held events: none is lost for long, one a frame at most
  };
  for (const Run run : {Run{0.03, 20, 5}, Run{0.25, 5, 5}}) {
    SCOPED_TRACE(run.frame);
    input.script.ButtonDown(kLeft);
    std::vector<double> held;
    double t = 0.0;
    for (int i = 0; i < run.frames; ++i) {
      Frame(run.frame);
      t += run.frame;
      for (const std::string& call : TakeCalls()) {
        if (call == "b held") held.push_back(t);
        if (call == "b button 3 down") {
          EXPECT_EQ(i, 0);
        }
        EXPECT_NE(call, "b button 3 up");
      }
    }
    input.script.ButtonUp(kLeft);
    Frame(run.frame);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"b move", "b button 3 up"}));
    ASSERT_GE(held.size(), 2u);
    for (std::size_t i = 1; i < held.size(); ++i) EXPECT_GE(held[i] - held[i - 1], 0.1 - 1e-6);
    EXPECT_GE(held.size(), run.atLeast);
  }
  // The right button has its changes but no repeat.
  input.script.ButtonDown(kRight);
  Frame(0.2);
  input.script.ButtonUp(kRight);
  Frame(0.2);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"b move", "b button 4 down", "b move", "b button 4 up"}));
}

TEST_F(GuiFrame, TheFocusFollowsClicksAndEnterDropsIt) {
  N_GuiPage* page = Page("p", 5);
  auto* edit = static_cast<test::TestFocus*>(Add(page, "TestFocus", "edit", 0, 0));
  edit->SetCaption("ab");
  edit->maxChars = 3;
  Add(page, "EventRecorder", "plain", 200, 0);

  auto click = [this](float x, float y) {
    MoveTo(x, y);
    input.script.ButtonDown(kLeft);
    Frame();
    input.script.ButtonUp(kLeft);
    Frame();
  };
  auto type = [this](BYTE key) {
    input.script.Tap(key);
    Frame();
  };
  auto focusCalls = [this] {
    std::vector<std::string> calls;
    for (const std::string& call : TakeCalls()) {
      if (call.rfind("focus", 0) == 0 || call.rfind("text", 0) == 0) calls.push_back(call);
    }
    return calls;
  };
  TakeCalls();
  click(50, 50);
  EXPECT_EQ(rig.mng->GetFocusElement(), edit);
  EXPECT_EQ(focusCalls(), (std::vector<std::string>{"focus edit on", "text edit ab 2", "text edit ab 2"}));
  // Text input runs with the caption and the element's limit of 3.
  type(DIK_C);
  type(DIK_D);
  EXPECT_STREQ(input.mng->GetText(), "abc");
  EXPECT_EQ(focusCalls(), (std::vector<std::string>{"text edit abc 3", "text edit abc 3"}));
  type(DIK_RETURN);
  EXPECT_EQ(focusCalls(), (std::vector<std::string>{"focus edit off"}));
  EXPECT_EQ(rig.mng->GetFocusElement(), nullptr);
  EXPECT_STREQ(input.mng->GetText(), "");
  type(DIK_E);
  EXPECT_STREQ(input.mng->GetText(), "") << "text input is off";

  // A click on an element without focus, or on nothing, drops it the same way.
  for (const auto& [x, y] : {std::pair{250.0f, 50.0f}, std::pair{400.0f, 400.0f}}) {
    click(50, 50);
    EXPECT_EQ(rig.mng->GetFocusElement(), edit);
    focusCalls();
    click(x, y);
    EXPECT_EQ(rig.mng->GetFocusElement(), nullptr) << x;
    // The text event of the move there, then the drop at the press.
    EXPECT_EQ(focusCalls(), (std::vector<std::string>{"text edit ab 2", "focus edit off"})) << x;
    EXPECT_STREQ(input.mng->GetText(), "");
    type(DIK_E);
    EXPECT_STREQ(input.mng->GetText(), "");
  }
}

TEST_F(GuiFrame, ElementsDestroyedUnderTheCursorAreLetGo) {
  N_GuiPage* page = Page("p", 5);
  Add(page, "TestFocus", "edit", 0, 0);
  Add(page, "EventRecorder", "hover", 200, 0);
  auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
  box->SetLeft(0);
  box->SetTop(200);
  box->SetSize(200, 200);
  page->AddElement(box);
  N_GuiElement* inner = rig.mng->CreateElement("EventRecorder", "inner", false);
  inner->SetSize(100, 100);
  box->Add(inner);
  N_GuiElement* self = Add(page, "EventRecorder", "self", 400, 0);
  self->SetOnClick("GuiTestDestroySelf");
  page->Render();

  // Focus on the edit element, hover over the other, then both go.
  MoveTo(50, 50);
  input.script.ButtonDown(kLeft);
  Frame();
  input.script.ButtonUp(kLeft);
  MoveTo(250, 50);
  ASSERT_NE(rig.mng->GetFocusElement(), nullptr);
  ASSERT_NE(rig.mng->GetHoverElement(), nullptr);
  input.mng->SetText("typed");
  rig.mng->DestroyElement("edit", false);
  EXPECT_EQ(rig.mng->GetFocusElement(), nullptr);
  EXPECT_STREQ(input.mng->GetText(), "") << "the focus was dropped as Enter drops it";
  rig.mng->DestroyElement("hover", false);
  EXPECT_EQ(rig.mng->GetHoverElement(), nullptr);
  input.script.Tap(DIK_A);
  input.script.ButtonDown(kLeft);
  Frame(0.2);
  input.script.ButtonUp(kLeft);
  MoveTo(10, 10);

  // Hovering a child of a container that goes: the hover goes too.
  MoveTo(50, 250);
  ASSERT_EQ(rig.mng->GetHoverElement(), inner);
  rig.mng->DestroyElement("box", false);
  EXPECT_EQ(rig.mng->GetHoverElement(), nullptr);
  MoveTo(60, 260);

  // A click whose callback destroys the element: the held event of the same frame is
  // not sent to it.
  MoveTo(450, 50);
  TakeCalls();
  input.script.ButtonDown(kLeft);
  Frame(0.3);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"self move", "self button 3 down", "destroy self"}));
  EXPECT_EQ(rig.mng->GetHoverElement(), nullptr);
  Frame(0.3);
  EXPECT_TRUE(TakeCalls().empty());
  // The cursor itself may go: the update then does nothing.
  rig.mng->DestroyElement("Cursor", false);
  EXPECT_EQ(rig.mng->GetCursor(), nullptr);
  Frame();
}

TEST_F(GuiFrame, AClickMayDestroyWhatWasClicked) {
  // The button writes its pressed state, the check box its checked state and a table's
  // row reads its click sound and callback after the callback ran: what it destroyed
  // goes at the end of the update.
  struct Case {
    const char* type;
    const char* callback;
    const char* call;
  };
  for (const Case& c : {Case{"Button", "GuiTestDestroySelf", "destroy Button"},
                        Case{"CheckBox", "GuiTestDestroySelf", "destroy CheckBox"},
                        Case{"Table", "GuiTestClearTable", "clear Table"}}) {
    SCOPED_TRACE(c.type);
    N_GuiPage* page = Page(c.type, 5);
    N_GuiElement* clicked = Add(page, c.type, c.type, 0, 0);
    clicked->SetOnClick(c.callback);
    auto* table = std::string(c.type) == "Table" ? static_cast<N_GuiTable*>(clicked) : nullptr;
    if (table) {
      table->SetAttribute("columnwidths", "50 50");
      table->AddRow("a 1", false);
      page->Render();
      rig.batch.Flush();
    }
    N_GuiElement* hit = table ? static_cast<N_GuiElement*>(table->GetRowPanel(0)) : clicked;
    MoveTo(hit->GetScreenX() + 5.0f, hit->GetScreenY() + 5.0f);
    ASSERT_EQ(rig.mng->GetHoverElement(), hit) << "the row takes the click";
    TakeCalls();
    input.script.ButtonDown(kLeft);
    Frame();
    input.script.ButtonUp(kLeft);
    Frame();
    EXPECT_EQ(TakeCalls(), std::vector<std::string>{c.call});
    if (table) {
      EXPECT_EQ(table->GetRowCount(), 0);
    } else {
      EXPECT_EQ(rig.mng->Elements().count(c.type), 0u);
    }
    page->Hide();
  }
}

TEST_F(GuiFrame, TheCursorFollowsTheMouseWithinTheScreen) {
  EXPECT_EQ(cursor->GetWidth(), 20.0f);
  EXPECT_EQ(cursor->GetHeight(), 20.0f);
  struct Move {
    const char* sensitivity;
    int dx, dy;
    float left, top;
  };
  const Move moves[] = {
      {"1", 30, 40, 30, 40},     {"1", -5000, 10, 0, 50},   {"1", 9000, 0, 640, 50}, {"1", 0, 9000, 640, 480},
      {"1", -100, -80, 540, 400}, {"2", -10, 10, 520, 420}, {"0", 300, -300, 520, 420}, {"0.5", -40, -40, 500, 400},
  };
  for (const Move& m : moves) {
    SCOPED_TRACE(std::to_string(m.dx) + ", " + std::to_string(m.dy));
    ASSERT_TRUE(cursor->SetAttribute("sensitivity", m.sensitivity));
    input.script.MoveMouse(m.dx, m.dy);
    Frame();
    EXPECT_EQ(cursor->GetLeft(), m.left);
    EXPECT_EQ(cursor->GetTop(), m.top);
  }
  // Events other than a move are ignored by the cursor.
  N_GuiEvent click;
  click.type = N_GuiEventType::Button;
  click.pressed = true;
  EXPECT_EQ(cursor->HandleEvent(click), 1);
}

TEST_F(GuiFrame, TheCursorShowsWhileAPageAsksForIt) {
  rig.mng->ShowCursor(false);  // as the world starts
  EXPECT_FALSE(cursor->IsVisible());
  EXPECT_EQ(rig.mng->GetCursorPage()->GetZOrder(), 600);
  EXPECT_TRUE(rig.mng->GetCursorPage()->IsVisible());
  EXPECT_EQ(cursor->GetPage(), rig.mng->GetCursorPage());
  N_GuiPage* menu = Page("Menu", 20, false);
  N_GuiPage* dialog = Page("Dialog", 30, false);
  N_GuiPage* backdrop = Page("Backdrop", 10, false);
  backdrop->SetShowCursor(false);
  struct Step {
    N_GuiPage* page;
    bool show;
    int counter;
  };
  const Step steps[] = {{backdrop, true, 0}, {menu, true, 1}, {dialog, true, 2}, {dialog, false, 1},
                        {backdrop, false, 1}, {menu, false, 0}, {backdrop, true, 0}};
  for (const Step& s : steps) {
    if (s.show) {
      s.page->ShowImmediate();
    } else {
      s.page->Hide();
    }
    EXPECT_EQ(rig.mng->GetCursorCounter(), s.counter) << s.page->GetName();
    EXPECT_EQ(cursor->IsVisible(), s.counter > 0) << s.page->GetName();
  }
  // A second cursor takes the first one's place on the page.
  N_GuiElement* other = rig.mng->CreateElement("Cursor", "Other", false);
  rig.mng->SetCursor(other);
  EXPECT_EQ(rig.mng->GetCursorPage()->Elements(), (std::vector<N_GuiElement*>{other}));
  rig.mng->CreateCursorPage();
  EXPECT_EQ(rig.mng->Pages().count("CursorLevelGuiPage"), 1u);
}

TEST_F(GuiFrame, ARadioGroupChecksTheHeldBoxOnly) {
  N_GuiPage* page = Page("p", 5);
  auto* group = rig.Create<N_GuiPanel>("RadioGroup", "group");
  group->SetSize(400, 100);
  page->AddElement(group);
  EXPECT_EQ(group->GetTypeName(), "RadioGroup");
  EXPECT_EQ(group->GetClassName(), "N_GuiPanel") << "the panel's attributes";
  std::vector<N_GuiCheckBox*> boxes;
  for (int i = 0; i < 3; ++i) {
    auto* box = rig.Create<N_GuiCheckBox>("CheckBox", "box" + std::to_string(i));
    test::Set(*box, {{"left", std::to_string(100 * i).c_str()}, {"width", "80"}, {"height", "80"}, {"upshader", "up"},
                     {"downshader", "down"}, {"checked", i == 1 ? "false" : "true"}});
    group->Add(box);
    boxes.push_back(box);
  }
  auto* label = rig.Create<N_GuiText>("Text", "label");
  test::Set(*label, {{"left", "300"}, {"caption", "kept"}});
  group->Add(label);
  page->Render();
  const int up = rig.shaders.AddShader("up", 0, 3), down = rig.shaders.AddShader("down", 0, 3);

  // The press toggles the second box by itself; the group waits for the held repeat.
  MoveTo(150, 40);
  input.script.ButtonDown(kLeft);
  Frame(0.02);
  EXPECT_EQ(std::vector<bool>({boxes[0]->IsChecked(), boxes[1]->IsChecked(), boxes[2]->IsChecked()}),
            std::vector<bool>({true, true, true}));
  for (int i = 0; i < 3; ++i) Frame(0.1);
  input.script.ButtonUp(kLeft);
  Frame(0.1);
  EXPECT_EQ(std::vector<bool>({boxes[0]->IsChecked(), boxes[1]->IsChecked(), boxes[2]->IsChecked()}),
            std::vector<bool>({false, true, false}));
  EXPECT_EQ(boxes[0]->GetShader(), up);
  EXPECT_EQ(boxes[1]->GetShader(), down);
  EXPECT_EQ(boxes[2]->GetShader(), up);
  EXPECT_EQ(label->GetCaption(), "kept");

  // Disabled, the group leaves the boxes to themselves.
  group->SetEnabled(false);
  for (N_GuiCheckBox* box : boxes) box->SetEnabled(true);
  MoveTo(50, 40);
  input.script.ButtonDown(kLeft);
  for (int i = 0; i < 3; ++i) Frame(0.1);
  input.script.ButtonUp(kLeft);
  Frame(0.1);
  EXPECT_EQ(std::vector<bool>({boxes[0]->IsChecked(), boxes[1]->IsChecked(), boxes[2]->IsChecked()}),
            std::vector<bool>({true, true, false}));
}

TEST_F(GuiFrame, SnowIsSeededFromTheProjectsGenerator) {
  Srand(77);
  rig.mng->LoadGuiFiles("scripts\\gui\\*.gui");  // no files: the snow alone
  const auto flakes = rig.mng->Snow().Flakes();
  Srand(77);
  for (const auto& f : flakes) {
    const float x = RandomRange(0.0f, 640.0f), y = RandomRange(0.0f, -480.0f), size = RandomRange(4.0f, 10.0f);
    EXPECT_EQ(f.x, x);
    EXPECT_EQ(f.y, y);
    EXPECT_EQ(f.size, size);
    EXPECT_EQ(f.startX, x);
    EXPECT_EQ(f.startY, y);
    EXPECT_TRUE(x >= 0.0f && x <= 640.0f && y >= -480.0f && y <= 0.0f && size >= 4.0f && size <= 10.0f);
    EXPECT_FLOAT_EQ(f.drift, 20.0f / size);
    EXPECT_FLOAT_EQ(f.fall, size * 2.5f);
  }
  EXPECT_NE(flakes[0].x, flakes[1].x);
}

TEST_F(GuiFrame, SnowFallsOnlyOverAMenuPage) {
  rig.mng->LoadGuiFiles("scripts\\gui\\*.gui");
  rig.mng->SetSnow(true);
  const int snowShader = rig.mng->GetSnowShader();
  ASSERT_GE(snowShader, 0);
  // Only the cursor page: nothing moves, nothing queued.
  const auto start = rig.mng->Snow().Flakes();
  rig.Step(0.5);
  rig.mng->Render();
  for (const test::QueuedText& q : rig.TakeQueue()) EXPECT_NE(q.shader, snowShader);
  EXPECT_EQ(rig.mng->Snow().Flakes()[3].y, start[3].y);

  // A menu page: 50 quads after the pages, each flake lower by fall x dt.
  N_GuiPage* page = Page("Menu", 20);
  auto* panel = rig.Create<N_GuiPanel>("Panel", "panel");
  panel->SetShader("gui/panel");
  page->AddElement(panel);
  rig.Step(0.5);
  rig.mng->Render();
  // The pages' own quads were flushed before the cursor page: the snow is left.
  const std::vector<test::QueuedText> queue = rig.TakeQueue();
  ASSERT_EQ(queue.size(), 50u);
  for (const test::QueuedText& q : queue) EXPECT_EQ(q.shader, snowShader);
  const auto moved = rig.mng->Snow().Flakes();
  for (int i = 0; i < 50; ++i) {
    EXPECT_NEAR(moved[i].y, start[i].y + 0.5f * start[i].fall, 1e-3f) << i;
    EXPECT_NEAR(std::fabs(moved[i].x - start[i].x), 0.5f * start[i].drift, 1e-4f) << i;
    const test::QueuedText& q = queue[static_cast<std::size_t>(i)];
    EXPECT_NEAR(q.right - q.left, moved[i].size, 1e-3f);
    EXPECT_NEAR(q.top, moved[i].y, 1e-3f);
  }
  // Off and on again: every flake back to its start height, x kept.
  rig.mng->SetSnow(false);
  rig.mng->Render();
  rig.TakeQueue();
  EXPECT_EQ(rig.mng->Snow().Flakes()[0].y, moved[0].y) << "off: nothing moves";
  const float x = moved[0].x;
  rig.mng->SetSnow(true);
  for (const auto& f : rig.mng->Snow().Flakes()) EXPECT_EQ(f.y, f.startY);
  EXPECT_EQ(rig.mng->Snow().Flakes()[0].x, x);
  // A flake below the screen starts again where it began.
  for (int i = 0; i < 40; ++i) {
    rig.Step(10.0);
    rig.mng->Render();
    rig.TakeQueue();
  }
  for (const auto& f : rig.mng->Snow().Flakes()) EXPECT_LE(f.y, 480.0f);
}

}  // namespace
