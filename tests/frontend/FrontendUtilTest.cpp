#include "frontend/FrontendUtil.h"
#include "gui/GuiPanel.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The typed look-up gives the element only for its own class; a missing or mistyped
// element is one log line and null, and the readers answer -1 for it.
TEST(FrontendUtil, TypedLookupIsNullSafeAndReportsOnce) {
  test::RacePagesRig rig;
  struct Case {
    const char* name;
    bool asPanel;  // else as a table
    bool found;
    const char* logPart;
  };
  const Case cases[] = {
      {"AImage", true, true, nullptr},
      {"FR/Table", false, true, nullptr},
      {"AImage", false, false, "is a Panel, not a Table"},
      {"NoSuchElement", true, false, "NoSuchElement not found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool found = c.asPanel ? frontend::GetElementOf<N_GuiPanel>(c.name) != nullptr
                                 : frontend::GetElementOf<N_GuiTable>(c.name) != nullptr;
    EXPECT_EQ(found, c.found);
    const std::string log = rig.NewLog();
    if (c.logPart) EXPECT_EQ(Count(log, c.logPart), 1u) << log;
    else EXPECT_EQ(log.find("***"), std::string::npos) << log;
  }
  EXPECT_EQ(frontend::SelectedRow("AImage"), -1);
  EXPECT_EQ(frontend::SelectedItem("NoSuchElement"), -1);
  EXPECT_EQ(frontend::SelectedImage("FR/Table"), -1);
  frontend::HidePageNow("NoSuchPage");
  frontend::ShowPageNow("NoSuchPage");
  EXPECT_FALSE(frontend::IsPageVisible("NoSuchPage"));
}

}  // namespace
