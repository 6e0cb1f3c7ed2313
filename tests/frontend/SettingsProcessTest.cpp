// The built game on the sample data, clicked through the test hook: a new resolution
// applied on the settings page ends the game after the restart box, the settings are
// saved, and the new copy opens its window at that size; a rebinding made before the
// end is saved and read again by the new copy.
#include "tests/app/GameProcess.h"
#include "tests/support/TestEnv.h"

#include <X11/Xlib.h>
#include <gtest/gtest.h>

#include <string>

namespace {

/// A connection to the display held for the whole test: the X server resets when its
/// last client leaves, and the restarted copy, connecting in that moment, would find no
/// display.
Display* HeldDisplay() {
  static Display* display = XOpenDisplay(nullptr);
  return display;
}

/// Whether a window of that size is shown on the display.
bool WindowShown(int width, int height) {
  Display* display = HeldDisplay();
  if (!display) return false;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  bool found = false;
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
    for (unsigned int i = 0; i < count && !found; ++i) {
      XWindowAttributes attributes{};
      found = XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
              attributes.width == width && attributes.height == height;
    }
    if (children) XFree(children);
  }
  return found;
}

TEST(SettingsProcess, ANewResolutionRestartsTheGameInIt) {
  ASSERT_NE(HeldDisplay(), nullptr) << "needs an X display";
  test::TempDir dir;
  test::LinkSampleData(dir);
  test::PrepareGameDir(dir, false);
  // The window's size comes from "config.cfg" alone.
  dir.Write("user.cfg", "v_fullscreen 0\nlanguage \"eng\"\nrychlostkamery 120\n");
  ASSERT_FALSE(WindowShown(1024, 768)) << "the display must be free of such a window";
  // "Resolution" goes from 800 x 600 to its next item; the new copy ends once the test
  // has seen its window.
  const std::string first =
      "frames=30,click=Options;frames=50,click=Settings;frames=70,click=Resolution;frames=90,key=1:44,click=Apply1;"
      "frames=110,click=Ok1";
  test::Game game(dir.Path(), first + "|file=stop,marker=second,exit=1");
  EXPECT_EQ(game.Wait(), 0);
  const std::string config = dir.Read("config.cfg");
  EXPECT_NE(config.find("v_width \"1024\"\n"), std::string::npos) << config;
  EXPECT_NE(config.find("v_height \"768\"\n"), std::string::npos) << config;
  ASSERT_TRUE(game.FollowRestart()) << dir.Read("navo.log");
  EXPECT_TRUE(test::WaitFor([] { return WindowShown(1024, 768); })) << dir.Read("navo.log");
  dir.Write("stop", "");
  EXPECT_EQ(game.Wait(), 0);
  const std::string log = dir.Read("navo.log");
  EXPECT_TRUE(test::ContainsInOrder(log, {" marker = second \n", "Saving variables to file config.cfg"})) << log;
  EXPECT_TRUE(test::WaitFor([] { return !WindowShown(1024, 768); }));
  EXPECT_NE(log.find(" v_width = 1024 \n"), std::string::npos);
  const std::string keys = dir.Read("data/tables/keysdefinition.data");
  ASSERT_EQ(keys.size(), 256u);
  EXPECT_EQ(keys[1], 44) << "the new copy read the rebinding and wrote it back";
}

}  // namespace
