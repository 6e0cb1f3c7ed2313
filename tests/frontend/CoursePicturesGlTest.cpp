// The course pictures of the time-attack page on the OpenGL device: after the short
// courses and back, the picture shown for item 6 is the seventh course's (its disc in
// its own hue), not the eighth's that stood there while the short courses showed.
#include "frontend/TimeAttackSetup.h"

#include "gui/GuiElement.h"
#include "gui/GuiImageSelector.h"
#include "gui/GuiTextSelector.h"
#include "tests/race/WorldGlRig.h"

#include <gtest/gtest.h>

namespace {

using test::WorldGlRig;

/// The colour in the lower middle of the element's picture, below its number.
DWORD PictureColour(WorldGlRig& w, const char* name) {
  N_GuiElement& e = *w.world->GuiMng().GetElement(name, false);
  w.Frame();
  const float x = e.GetScreenX() + e.GetWidth() * 0.5f;
  const float y = e.GetScreenY() + e.GetHeight() * 0.8f;
  return WorldGlRig::At(w.Pixels(), int(x * WorldGlRig::kWidth / 640.0f), int(y * WorldGlRig::kHeight / 480.0f));
}

int Channel(DWORD pixel, int shift) { return int((pixel >> shift) & 0xFF); }

TEST(CoursePicturesGl, ItemSixShowsTheSeventhCourseAgainAfterTheShortCourses) {
  WorldGlRig w;
  w.SceneOnly();
  w.world->GuiMng().GetPage("TimeAttack")->ShowImmediate();
  auto& courses = static_cast<N_GuiImageSelector&>(*w.world->GuiMng().GetElement("Level2", false));
  auto& length = static_cast<N_GuiTextSelector&>(*w.world->GuiMng().GetElement("TrackLength", false));
  // The short courses: item 6 is the eighth course (hue 0.7: red and blue, no green).
  length.SetSelected(1);
  TimeAttackClick(&length);
  courses.SetSelected(6);
  const DWORD eighth = PictureColour(w, "Level2");
  EXPECT_GT(Channel(eighth, 0), 100) << std::hex << eighth;
  EXPECT_LT(Channel(eighth, 8), 40) << std::hex << eighth;
  // Back to the full table: item 6 is the seventh course again (hue 0.6: blue with some
  // green, no red), item 9 the tenth (hue 0.9: red with some blue).
  length.SetSelected(0);
  TimeAttackClick(&length);
  courses.SetSelected(6);
  const DWORD seventh = PictureColour(w, "Level2");
  EXPECT_GT(Channel(seventh, 0), 100) << std::hex << seventh;
  EXPECT_GT(Channel(seventh, 8), 30) << std::hex << seventh;
  EXPECT_LT(Channel(seventh, 16), 40) << std::hex << seventh;
  courses.SetSelected(9);
  const DWORD tenth = PictureColour(w, "Level2");
  EXPECT_GT(Channel(tenth, 16), 100) << std::hex << tenth;
  EXPECT_GT(Channel(tenth, 0), 40) << std::hex << tenth;
  EXPECT_LT(Channel(tenth, 8), 40) << std::hex << tenth;
}

}  // namespace
