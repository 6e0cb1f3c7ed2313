// The shared message boxes over the sample pages, answered by callbacks of this test
// executable (it exports its functions, as the game does).
#include "frontend/FrontendUtil.h"
#include "frontend/MessageBox.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "platform/win32/Process.h"
#include "tests/frontend/MenuRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_answers;

}  // namespace

extern "C" {
void cbFrontendTestFirst(N_GuiElement* element) {
  if (AnswerYesNo(element)) g_answers.push_back("first");
}
void cbFrontendTestSecond(N_GuiElement* element) {
  if (AnswerYesNo(element)) g_answers.push_back("second");
}
void cbFrontendTestOk(N_GuiElement* element) {
  frontend::HidePageNow(element->GetPage()->GetName().c_str());
  g_answers.push_back("ok");
}
}

const platform::ExportTable kMessageBoxTestCallbacks{platform::Export("cbFrontendTestFirst", &cbFrontendTestFirst),
                                                     platform::Export("cbFrontendTestSecond", &cbFrontendTestSecond),
                                                     platform::Export("cbFrontendTestOk", &cbFrontendTestOk)};

namespace {

// A second box replaces the first's text and answer; "No1" only closes, "Yes1" closes
// and answers; an answer nothing exports leaves the buttons silent (and the box open).
TEST(MessageBox, TheLastBoxWinsAndOnlyYesAnswers) {
  test::MenuRig rig;
  struct Case {
    const char* press;
    const char* callback;
    bool open;
    std::vector<std::string> answers;
  };
  const Case cases[] = {
      {"Yes1", "cbFrontendTestSecond", false, {"second"}},
      {"No1", "cbFrontendTestSecond", false, {}},
      {"Yes1", "cbNothingExportsThis", true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.press) + " " + c.callback);
    rig.ShowOnly({"Background", "MainMenu"});
    g_answers.clear();
    ShowMessageYesNo("first question", "cbFrontendTestFirst");
    ShowMessageYesNo("second question", c.callback);
    EXPECT_EQ(rig.Gui().GetElement("Label1", false)->GetCaption(), "second question");
    EXPECT_EQ(rig.Gui().GetModalPage(), rig.Gui().GetPage("MessageYesNo"));
    rig.Press(c.press);
    EXPECT_EQ(g_answers, c.answers);
    EXPECT_EQ(rig.Gui().GetPage("MessageYesNo")->IsVisible(), c.open);
    EXPECT_TRUE(rig.Gui().GetPage("MainMenu")->IsVisible());
  }
  // The OK box: its plain answer closes it, an answer of its own acts instead.
  g_answers.clear();
  ShowMessageOK("notice", "cbFrontendTestOk");
  ShowMessageOK("plain notice", "OKMsgClick");
  EXPECT_EQ(rig.Gui().GetElement("Label2", false)->GetCaption(), "plain notice");
  rig.Press("Ok1");
  EXPECT_FALSE(rig.Gui().GetPage("MessageOK")->IsVisible());
  ShowMessageOK("notice", "cbFrontendTestOk");
  rig.Press("Ok1");
  EXPECT_FALSE(rig.Gui().GetPage("MessageOK")->IsVisible());
  EXPECT_EQ(g_answers, (std::vector<std::string>{"ok"}));
  EXPECT_EQ(rig.Gui().GetModalPage(), nullptr);
}

}  // namespace
