// The game started on the sample data, read back from the X screen. Behind empty menu
// pages the race camera of view mode 0 flies the start course's menu path, so the
// course lies below the horizon and the ground moves under the camera. The window is
// 1024 x 768 at the screen's corner; the read-backs keep below its first 600 rows,
// where the windows of suites running beside this one may lie. In full screen on a
// private desktop of another size, the menu shows whole.
#include "tests/app/GameProcess.h"
#include "tests/platform/ScreenGrab.h"
#include "tests/support/TestWindow.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1024, kHeight = 768, kBlock = 32;

/// The average colour of every block of the window's bottom band, below its first
/// 800 x 600 and below the horizon of the menu path's view (the sky's clouds move by
/// themselves).
std::vector<test::Rgb> Blocks() {
  std::vector<test::Rgb> blocks;
  for (int y = 608; y + kBlock <= kHeight; y += kBlock) {
    for (int x = 0; x + kBlock <= kWidth; x += kBlock) {
      blocks.push_back(test::ScreenAverage(x, y, kBlock, kBlock).value_or(test::Rgb{}));
    }
  }
  return blocks;
}

TEST(CourseStart, TheRaceCameraFliesOverTheStartCourse) {
  int screenWidth = 0, screenHeight = 0;
  test::ScreenSize(screenWidth, screenHeight);
  ASSERT_GE(screenWidth, kWidth) << "needs an X display";
  ASSERT_GE(screenHeight, kHeight);
  test::TempDir dir;
  test::PrepareGameDir(dir, false);
  test::CopyGameData(dir);
  // The installation's settings (the race camera's speed), in a window of this size,
  // and only the two pages the start shows, empty: nothing covers the course.
  dir.Write("user.cfg", dir.Read("user.cfg") + "v_fullscreen 0\nv_width " + std::to_string(kWidth) +
                            "\nv_height " + std::to_string(kHeight) + "\n");
  std::filesystem::remove_all(dir.Path() + "/data/scripts/gui");
  dir.Write("data/scripts/gui/menu.gui", "Background\n{\nshowcursor false\n}\nMainMenu\n{\nshowcursor false\n}\n");
  test::Game game(dir.Path(), "frames=3,viewmode=0;file=stop,exit=1");
  ASSERT_TRUE(test::WaitFor([&] { return test::InGameLoop(dir); }));
  // Below the horizon: snow and track, neither the black clear colour nor the sky.
  std::optional<test::Rgb> ground;
  const bool snow = test::WaitFor([&] {
    ground = test::ScreenAverage(0, 640, kWidth, 120);
    return ground && ground->r > 150 && ground->g > 150 && ground->b > 150;
  });
  const std::vector<test::Rgb> first = Blocks();
  // The blocks that changed since the first look.
  auto moved = [&first] {
    const std::vector<test::Rgb> now = Blocks();
    int count = 0;
    for (std::size_t i = 0; i < first.size(); ++i) {
      const int change = std::max({std::abs(first[i].r - now[i].r), std::abs(first[i].g - now[i].g),
                                   std::abs(first[i].b - now[i].b)});
      count += change > 3;
    }
    return count;
  };
  int changed = 0;
  test::WaitFor([&] { return (changed = moved()) >= 3; });
  dir.Write("stop", "");
  EXPECT_EQ(game.Wait(), 0);
  ASSERT_TRUE(ground.has_value());
  EXPECT_TRUE(snow) << "the ground " << ground->r << " " << ground->g << " " << ground->b;
  EXPECT_GE(changed, 3) << "the camera moves on";
  const std::string log = dir.Read("navo.log");
  EXPECT_NE(log.find("\n Loading Level: data\\levels\\Beitostolen.ALF\n"), std::string::npos);
  EXPECT_EQ(log.find("!!!"), std::string::npos) << log;
}

// Full screen at 800 x 600 on a 1024 x 768 desktop without such a mode: the frame is
// scaled to the whole screen, the menu's title and its "Exit" button where the 640 x
// 480 units put them (1.6 times as far), neither cut off nor moved.
TEST(CourseStart, FullScreenOfAnotherSizeShowsTheMenuWhole) {
  test::PrivateDisplay display("1024x768x24");
  if (!display.Ok()) GTEST_SKIP() << "no Xvfb";
  test::TempDir dir;
  test::LinkSampleData(dir);
  test::PrepareGameDir(dir, false);
  dir.Write("user.cfg", "v_fullscreen 1\nv_width 800\nv_height 600\nhrajvideoraz 0\nlanguage \"eng\"\n");
  const std::string fifo = dir.Path() + "/alsoft.conf";  // the splash stays while the sound library waits on it
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600) + ::setenv("ALSOFT_CONF", fifo.c_str(), 1), 0);
  test::Game game(dir.Path(), "file=stop,exit=1");
  auto band = [](int y) { return test::ScreenAverage(0, y, 1024, 16).value_or(test::Rgb{}); };
  EXPECT_TRUE(test::WaitFor([&] { return band(0).b > 120 && band(0).r < 80 && band(752).g > 190; })) << "the splash";
  EXPECT_TRUE(test::WaitFor([&] { return ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK)) == 0; }));
  ASSERT_TRUE(test::WaitFor([&] { return test::InGameLoop(dir); }));
  // The title's lavender text (palette colour 8) in its element (40, 60, 280 x 40); the
  // blue of the Exit button (60, 390, 240 x 36) left of its caption.
  auto titleText = [] {
    return test::CountScreenPixels(64, 96, 448, 64, [](const test::Rgb& p) {
      return p.b > 220 && p.r > 150 && p.r < 235 && p.b - p.r > 25;
    }).value_or(0);
  };
  auto exitBlue = [] {
    const test::Rgb button = test::ScreenAverage(112, 641, 96, 26).value_or(test::Rgb{});
    return button.b > 100 && button.b > button.r + 50;
  };
  EXPECT_TRUE(test::WaitFor([&] { return titleText() > 300 && exitBlue(); }))
      << titleText() << " title pixels";
  dir.Write("stop", "");
  EXPECT_EQ(game.Wait(), 0);
}

}  // namespace
