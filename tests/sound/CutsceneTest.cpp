// The intro-video player end to end: the filter graph over FFmpeg, the full-screen
// video window, input through the window messages, and the start-up step that plays
// the intro once. Runs on the X display of the test command.
#include "core/VarMng.h"
#include "platform/win32/EventPump.h"
#include "sound/Cutscene.h"
#include "sound/IntroVideo.h"
#include "tests/platform/ScreenGrab.h"
#include "tests/support/TestEnv.h"
#include "tools/VideoWriter.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

/// The sample intro of the game root: three seconds.
std::string SampleIntro() { return test::GameRoot() + "/data/video/intro.avi"; }

/// Writes a clip of 200 s (one frame a second) below the current directory: a stop
/// that works ends it long before its end, however busy the machine.
bool WriteLongClip(const std::string& path) {
  tools::IntroVideoSpec spec;
  spec.width = 160;
  spec.height = 120;
  spec.framesPerSecond = 1;
  spec.frames = 200;
  return tools::WriteIntroVideo(path, spec);
}
constexpr double kLongClipSeconds = 200.0;

/// Runs `action` on a helper thread while the player blocks this one.
class During {
 public:
  explicit During(std::function<void()> action) : m_thread(std::move(action)) {}
  ~During() { m_thread.join(); }

 private:
  std::thread m_thread;
};

/// The SDL id of the full-screen video window, or 0.
Uint32 VideoWindowId() {
  for (Uint32 id = 1; id < 64; ++id) {
    SDL_Window* window = SDL_GetWindowFromID(id);
    if (window && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)) return id;
  }
  return 0;
}

/// The X window of the full-screen video window, or 0.
unsigned long VideoXWindow() {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  SDL_Window* window = SDL_GetWindowFromID(VideoWindowId());
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
  return static_cast<unsigned long>(info.info.x11.window);
}

/// Waits until the video window shows (a loaded machine may open it late); false after
/// a fail-safe of two minutes.
bool WaitForVideoWindow() {
  const auto end = Clock::now() + 120s;
  while (VideoWindowId() == 0 && Clock::now() < end) std::this_thread::sleep_for(20ms);
  return VideoWindowId() != 0;
}

/// A key press or left click on the video window, as SDL reports it.
void PressOnVideoWindow(SDL_Keycode key, bool click = false) {
  SDL_Event event{};
  if (click) {
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.windowID = VideoWindowId();
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = 100;
    event.button.y = 100;
  } else {
    event.type = SDL_KEYDOWN;
    event.key.windowID = VideoWindowId();
    event.key.keysym.sym = key;
  }
  ASSERT_NE(VideoWindowId(), 0u);
  SDL_PushEvent(&event);
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

/// Holds the player's loop the first time it takes the window events while the video
/// window is open, until Release (or a fail-safe of two minutes): the video window stays
/// open meanwhile, with its picture drawn by the player's own thread, however late the
/// test's look or input comes. Made and destroyed on the thread that plays the clip.
class HoldWhileOpen {
 public:
  HoldWhileOpen() : m_listener(platform::AddEventListener([this](const SDL_Event&) { Hold(); })) {}
  ~HoldWhileOpen() {
    Release();
    platform::RemoveEventListener(m_listener);
  }
  void Release() {
    {
      std::lock_guard lock(m_mutex);
      m_released = true;
    }
    m_changed.notify_all();
  }

 private:
  void Hold() {
    if (m_held || VideoWindowId() == 0) return;
    m_held = true;
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, 120s, [this] { return m_released; });
  }

  int m_listener;
  bool m_held = false;  ///< only on the playing thread
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_released = false;
};

TEST(Cutscene, SampleIntroPlaysFullScreenToItsEnd) {
  int width = 0, height = 0;
  test::ScreenSize(width, height);
  ASSERT_GT(width, 0) << "needs an X display";
  test::TempDir dir;
  test::CoreServices core;
  std::optional<test::Rgb> sky, snow;
  HRESULT hr = E_FAIL;
  const auto start = Clock::now();
  {
    // 4:3 picture fitted to the screen: sky in the upper middle, snow at the bottom.
    // The player's loop is held open until the picture shows (a loaded machine may open
    // the window and show its frames late); the last look is checked.
    HoldWhileOpen hold;
    std::atomic<bool> returned{false};
    During shot([&] {
      // An event for the player's loop to be held at, besides the window's own.
      if (WaitForVideoWindow()) {
        SDL_Event event{};
        event.type = SDL_USEREVENT;
        SDL_PushEvent(&event);
      }
      const int pictureHeight = std::min(height, width * 3 / 4);
      const int top = (height - pictureHeight) / 2;
      const auto end = Clock::now() + 120s;  // a fail-safe: the picture shows in seconds
      while (!returned && Clock::now() < end) {
        sky = test::ScreenAverage(width / 2 - 20, top + pictureHeight / 8, 40, 20);
        snow = test::ScreenAverage(10, top + pictureHeight * 9 / 10, 40, 10);
        if (sky && snow && sky->b > 170 && sky->b > sky->r + 80 && snow->r > 200 && snow->g > 200) break;
        std::this_thread::sleep_for(50ms);
      }
      hold.Release();
    });
    hr = PlayCutscene(SampleIntro().c_str(), 1);
    returned = true;
  }
  const double took = Seconds(Clock::now() - start);
  EXPECT_EQ(hr, S_OK);
  EXPECT_GE(took, 2.9);  // 75 frames at 25 per second
  EXPECT_LT(took, 250.0) << "a fail-safe: the player ends";
  ASSERT_TRUE(sky && snow);
  EXPECT_GT(sky->b, 170);
  EXPECT_GT(sky->b, sky->r + 80);
  EXPECT_GT(snow->r, 200);
  EXPECT_GT(snow->g, 200);
  EXPECT_EQ(VideoWindowId(), 0u);  // the video window is gone, full screen left
  EXPECT_EQ(core.LogText().find("PlayCutscene Error"), std::string::npos);
}

TEST(Cutscene, StopKeysAndLeftClickEndItEarly) {
  struct Case {
    const char* name;
    SDL_Keycode key;
    bool click;
  };
  // One call after the other in this process: each leaves nothing that stops the next.
  for (const Case& c : {Case{"Escape", SDLK_ESCAPE, false}, Case{"Enter", SDLK_RETURN, false},
                        Case{"Space", SDLK_SPACE, false}, Case{"left click", 0, true}}) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    test::CoreServices core;
    ASSERT_TRUE(WriteLongClip("long.avi"));
    Clock::time_point shown{};
    HRESULT hr = E_FAIL;
    {
      During press([&] {
        if (!WaitForVideoWindow()) return;
        shown = Clock::now();
        PressOnVideoWindow(c.key, c.click);
      });
      hr = PlayCutscene("long.avi", 1);
    }
    // S_FALSE is the user's stop; the clip ends long before its time.
    EXPECT_EQ(hr, S_FALSE);
    ASSERT_NE(shown, Clock::time_point{}) << "no video window";
    EXPECT_LT(Seconds(Clock::now() - shown), kLongClipSeconds / 2);
  }
}

TEST(Cutscene, KeyPressAndClickOnTheDisplayStopIt) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // Real input events of the X server, as a player's key press or click would be.
  // The player's window is raised and the pointer put on it first: a window of a suite
  // running beside this one may lie over the screen's middle.
  for (const char* action : {"key space", "click 1"}) {
    EXPECT_EXIT(
        {
          test::TempDir dir;
          test::CoreServices core;
          if (!WriteLongClip("long.avi")) std::exit(3);
          HRESULT hr = E_FAIL;
          {
            std::atomic<bool> returned{false};
            During press([action, &returned] {
              // Pressed again until the player returns: on a loaded machine a window mapped
              // by another suite can take the first event before this one is raised.
              for (int attempt = 0; !returned; ++attempt) {
                if (attempt > 0) std::this_thread::sleep_for(250ms);
                const unsigned long id = VideoXWindow();
                if (id == 0) continue;  // not open yet, or closing
                const std::string window = std::to_string(id);
                const std::string command = "xdotool windowraise " + window + " windowfocus " + window +
                                            " mousemove --window " + window + " 40 40 " + action;
                // A failure counts only while the window is still there to take the input.
                if (std::system(command.c_str()) != 0 && !returned && VideoXWindow() == id) std::exit(2);
              }
            });
            hr = PlayCutscene("long.avi", 1);
            returned = true;
          }
          // S_FALSE is the user's stop: a video that played to its end answers S_OK.
          std::exit(hr == S_FALSE ? 0 : 1);
        },
        testing::ExitedWithCode(0), "")
        << action;
  }
}

TEST(Cutscene, OtherKeysDoNotStopIt) {
  test::TempDir dir;
  test::CoreServices core;
  const auto start = Clock::now();
  HRESULT hr = E_FAIL;
  // The keys the player's loop takes while the video window is open: each goes on to the
  // window's message drain in the same call.
  int seen = 0;
  const int listener = platform::AddEventListener([&seen](const SDL_Event& event) {
    if (event.type == SDL_KEYDOWN && event.key.windowID != 0 && event.key.windowID == VideoWindowId()) ++seen;
  });
  {
    // The loop is held open until the keys are pressed, however late that comes.
    HoldWhileOpen hold;
    During press([&hold] {
      if (WaitForVideoWindow()) {
        PressOnVideoWindow(SDLK_a);
        PressOnVideoWindow(SDLK_F1);
        PressOnVideoWindow(SDLK_TAB);
      }
      hold.Release();
    });
    hr = PlayCutscene(SampleIntro().c_str(), 1);
  }
  platform::RemoveEventListener(listener);
  EXPECT_EQ(seen, 3) << "the keys reached the video window while it played";
  EXPECT_EQ(hr, S_OK);
  EXPECT_GE(Seconds(Clock::now() - start), 2.9);
}

TEST(Cutscene, MissingFileShowsTheRenderFileMessage) {
  test::TempDir dir;
  test::CoreServices core;
  EXPECT_EQ(PlayCutscene("data\\video\\missing.avi", 1), static_cast<HRESULT>(0x80070002u));
  EXPECT_NE(core.LogText().find("Failed(0x80070002) in RenderFile(data\\video\\missing.avi)!\r\n"),
            std::string::npos)
      << core.LogText();
}

TEST(Cutscene, DamagedIntroIsStoppedAndLoggedWithinSeconds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // Without a bound these would hold the start-up for hours: each case is a child
  // process that an alarm ends after 200 s (a fail-safe; the stop takes seconds).
  struct Case {
    const char* name;
    int framesPerSecond;
    int rateDivisor;
    int jumpAt;
    int jumpSeconds;
  };
  for (const Case& c : {Case{"one frame per 1000 s", 1, 1000, -1, 0}, Case{"a 600 s jump", 25, 1, 10, 600}}) {
    EXPECT_EXIT(
        {
          alarm(200);
          test::TempDir dir;
          test::CoreServices core;
          int boxes = 0;
          platform::SetMessageBoxHook([&](const std::string&, const std::string&) { ++boxes; });
          tools::IntroVideoSpec spec;
          spec.width = 160;
          spec.height = 120;
          spec.framesPerSecond = c.framesPerSecond;
          spec.rateDivisor = c.rateDivisor;
          spec.frames = 20;
          spec.jumpAt = c.jumpAt;
          spec.jumpSeconds = c.jumpSeconds;
          std::filesystem::create_directories("data/video");
          if (!tools::WriteIntroVideo("data/video/intro.avi", spec)) std::exit(3);
          const auto start = Clock::now();
          const HRESULT hr = PlayCutscene(kIntroVideoFile, 1);
          const double took = Seconds(Clock::now() - start);
          const bool logged = core.LogText().find("!!! PlayCutscene: playback of data\\video\\intro.avi stopped "
                                                  "on error 0x8004022f\n") != std::string::npos;
          if (hr != static_cast<HRESULT>(0x8004022Fu)) std::exit(4);
          if (took > 120.0) std::exit(5);  // played: 1,000 s a frame or a 600 s jump
          if (!logged || boxes != 0) std::exit(6);
          std::exit(VideoWindowId() == 0 ? 0 : 7);
        },
        testing::ExitedWithCode(0), "")
        << c.name;
  }
}

TEST(Cutscene, FileWithoutVideoShowsTheNoVideoMessage) {
  test::TempDir dir;
  test::CoreServices core;
  ASSERT_TRUE(tools::WriteSoundOnlyAvi(dir.Path() + "/tone.avi", 0.5));
  EXPECT_EQ(PlayCutscene("tone.avi", 1), E_NOINTERFACE);
  EXPECT_NE(core.LogText().find("Failed(0x80004002) to set message drain for tone.avi.\r\n\r\nThis sample is "
                                "designed to play videos, but the file selected has no video component."),
            std::string::npos)
      << core.LogText();
}

TEST(Cutscene, NullNameAndLongNames) {
  test::TempDir dir;
  test::CoreServices core;
  EXPECT_EQ(PlayCutscene(nullptr, 1), E_POINTER);
  // A name of more than 259 characters reaches the graph cut to 259: make the file
  // the cut name points at.
  const std::string folder(120, 'f');
  std::string cut = folder + "/" + folder + "/";
  cut += std::string(259 - cut.size() - 4, 'v') + ".avi";
  ASSERT_EQ(cut.size(), 259u);
  tools::IntroVideoSpec spec;
  spec.frames = 5;
  std::filesystem::create_directories(folder + "/" + folder);
  ASSERT_TRUE(tools::WriteIntroVideo(cut, spec));
  EXPECT_EQ(PlayCutscene((cut + "-and-more-text").c_str(), 1), S_OK);
}

TEST(Cutscene, QuitMessageOfItsWindowStaysQueued) {
  test::TempDir dir;
  test::CoreServices core;
  tools::IntroVideoSpec spec;
  spec.frames = 5;
  ASSERT_TRUE(tools::WriteIntroVideo(dir.Path() + "/short.avi", spec));
  MSG msg;
  while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {}  // what earlier calls left
  ASSERT_EQ(PlayCutscene("short.avi", 1), S_OK);
  // Destroying the player window posted the quit message; nothing took it.
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_FALSE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
}

TEST(CutsceneError, BoxTextIsCutAt1023Characters) {
  std::vector<std::pair<std::string, std::string>> boxes;
  platform::SetMessageBoxHook([&](const std::string& text, const std::string& caption) {
    boxes.emplace_back(text, caption);
  });
  ShowCutsceneError("Failed(%08lx) in Run()!\r\n", 0x80004005ul);
  ShowCutsceneError("%s", std::string(2000, 'x').c_str());
  platform::SetMessageBoxHook({});
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].first, "Failed(80004005) in Run()!\r\n");
  EXPECT_EQ(boxes[0].second, "PlayCutscene Error");
  EXPECT_EQ(boxes[1].first.size(), 1023u);
}

TEST(IntroVideo, PlaysOnceInFullScreenOnly) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    int fullScreen;
    int playOnce;
    int after;
    bool plays;
  };
  for (const Case& c : {Case{0, 1, 1, false}, Case{1, 0, 0, false}, Case{1, 1, 0, true}}) {
    EXPECT_EXIT(
        {
          test::TempDir dir;
          test::CoreServices core;
          tools::IntroVideoSpec spec;
          spec.frames = 25;  // one second
          std::filesystem::create_directories("data/video");
          if (!tools::WriteIntroVideo("data/video/intro.avi", spec)) std::exit(3);
          core.vars->SetInt("v_fullscreen", c.fullScreen, 2);
          core.vars->SetInt("hrajvideoraz", c.playOnce, 0);
          const auto start = Clock::now();
          PlayIntroVideoOnce(1);
          // The player's window, gone, left its quit message; a played second took more.
          MSG msg;
          const bool shown = PeekMessageA(&msg, 0, 0, 0, PM_REMOVE) && msg.message == WM_QUIT;
          const bool played = shown && Seconds(Clock::now() - start) > 0.9;
          const bool ok = played == c.plays && core.vars->GetInt("hrajvideoraz") == c.after;
          std::exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "")
        << c.fullScreen << c.playOnce;
  }
}

}  // namespace
