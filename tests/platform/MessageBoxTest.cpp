#include "platform/win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(MessageBox, QuestionsAreAnsweredByTheHookOrNoAndOkBoxesByOk) {
  // Headless (as every test runs) nobody answers: OK, and No to a question.
  EXPECT_EQ(MessageBoxA(0, "headless", "Box", MB_OK), IDOK);
  EXPECT_EQ(MessageBoxA(0, "headless\nExit ?", "Error", MB_YESNO | MB_ICONSTOP), IDNO);

  // A recording hook sees every box; its boxes answer as headless ones do.
  std::vector<std::string> seen;
  platform::SetMessageBoxHook([&](const std::string& text, const std::string& caption) { seen.push_back(caption + ":" + text); });
  EXPECT_EQ(MessageBoxA(0, "ok", "Box", MB_OK | MB_ICONEXCLAMATION), IDOK);
  EXPECT_EQ(MessageBoxA(0, "ask", "Error", MB_YESNO | MB_ICONSTOP), IDNO);
  EXPECT_EQ(seen, (std::vector<std::string>{"Box:ok", "Error:ask"}));

  // An answering hook replaces it and gives the answer, seeing the box's type.
  std::vector<UINT> types;
  platform::SetMessageBoxAnswerHook([&](const std::string&, const std::string&, UINT type) {
    types.push_back(type);
    return (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
  });
  EXPECT_EQ(MessageBoxA(0, "ask", "Error", MB_YESNO | MB_ICONSTOP), IDYES);
  EXPECT_EQ(MessageBoxA(0, "ok", "Box", MB_OK), IDOK);
  EXPECT_EQ(types, (std::vector<UINT>{MB_YESNO | MB_ICONSTOP, MB_OK}));
  EXPECT_EQ(seen.size(), 2u);
  platform::SetMessageBoxAnswerHook({});
  EXPECT_EQ(MessageBoxA(0, "again", "Error", MB_YESNO), IDNO);
  EXPECT_EQ(types.size(), 2u);
}

}  // namespace
