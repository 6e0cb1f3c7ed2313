// The frame benchmark of the whole game: the application as the entry point builds it,
// in a copy of the build's game root, with its main loop, its menus and an arcade race
// of the default field (the arcade page's first choices, clicked through from the main
// menu), on the software renderer of the display (Mesa's llvmpipe under Xvfb).
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/frame_bench [options]
//
// Without --size it runs 1024 x 768 and then 800 x 600, each in a process of its own.
// Each run measures the main menu (150 frames, once its pages have settled) and the
// race: from the start, with the computer driving the followed racer and the follow
// camera behind him, round the course until he has done one lap (at most 1,500
// frames). The clock is the benchmark's: every pass of the main loop is 1/30 s of game
// time in the menus and 0.2 s in the race (so the whole lap is drawn in a bounded
// number of frames), and the race draws its random numbers from seed 54: the same
// frames every run. One line a phase: frames, processor milliseconds a frame (mean and
// median; every thread of the process, the renderer's included, because the loop has
// no frame cap and the software renderer spreads a frame over every core), the
// game's own share and the renderer's (the main thread outside and inside the GL calls
// that draw, plus the renderer's threads), frames a second of wall time, GL calls and
// draw calls a frame.
//
// Options:
//   --size WxH      one size only
//   --profile       finish every draw, clear, blit and swap at once and print the
//                   milliseconds a frame each material (and each of the renderer's own
//                   passes) costs
//   --shots DIR     save the back buffer of the menu and of six race frames into DIR
//                   ("<size>-menu.bmp", "<size>-race-<frame>.bmp"), to compare
//                   pictures before and after a change
//   --live menu|race  the side-by-side mode (bench/side_by_side.sh): the machine's own
//                   clock, no measuring; it prints "ready" once in the menu or racing
//                   (a sprint of three laps: far longer than the script's rounds) and
//                   runs until SIGTERM
//   --launch N      the time from the click on the arcade page's Start to the first
//                   frame of the race (the start list over the paused race), on the
//                   machine's own clock: N launches, each in a process of its own, each
//                   printing its timeline (the page switch's fade, the level's loading,
//                   the launch's end, the first race frame), then their median
#include "app/Application.h"
#include "bench/BenchTemp.h"
#include "bench/FrameMeter.h"
#include "core/Globals.h"
#include "core/Random.h"
#include "core/Timer.h"
#include "core/VarMng.h"
#include "frontend/FrontendFrame.h"
#include "gui/GuiElement.h"
#include "gui/GuiEvent.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "platform/win32.h"
#include "platform/win32/Termination.h"
#include "race/GameArcade.h"
#include "race/LoadingProgress.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "race/World.h"
#include "render/Render.h"
#include "render/RenderServices.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kMenuFrames = 150;
constexpr int kMaxRaceFrames = 1500;
constexpr double kMenuStep = 1.0 / 30.0;
constexpr double kRaceStep = 0.2;
constexpr int kSettle = 45;  ///< passes for fades and slides to end (1.5 s of menu time)
constexpr unsigned kSeed = 54;
constexpr int kShotFrames[] = {20, 150, 300, 500, 750, 1000};

struct Options {
  int width = 0, height = 0;
  bool profile = false;
  std::string shots;
  std::string live;  ///< "menu", "race" or empty
  int launches = 0;  ///< --launch N
};

/// The benchmark's clock: moved on by a fixed step each pass of the main loop.
class StepClock final : public platform::Clock {
 public:
  std::uint64_t PerformanceFrequency() const override { return 1000000; }
  std::uint64_t PerformanceCounter() const override { return counter; }
  std::uint32_t Milliseconds() const override { return std::uint32_t(counter / 1000); }
  void Advance(double seconds) { counter += std::uint64_t(seconds * 1e6 + 0.5); }
  std::uint64_t counter = 1000;
};

bool Visible(const char* page) {
  const N_GuiPage* p = g_world->GuiMng().GetPage(page);
  return p && p->IsVisible();
}

/// A left click on the element, as the GUI's update delivers it.
void Click(const char* name) {
  N_GuiElement* element = g_world->GuiMng().GetElement(name, false);
  if (!element) {
    std::fprintf(stderr, "frame_bench: no element %s\n", name);
    return;
  }
  ClickWithLeftButton(*element);
}

N_RaceSim* Race() {
  auto* game = dynamic_cast<N_GameArcade*>(g_world->Game());
  return game ? game->RaceSim() : nullptr;
}

/// Steps, one a pass, each until it answers true.
class Steps {
 public:
  void Then(std::function<bool()> step) { m_steps.push_back(std::move(step)); }
  /// Waits for the condition, then kSettle passes more.
  void Until(std::function<bool()> condition) {
    Then([condition, settled = 0]() mutable { return condition() ? ++settled >= kSettle : (settled = 0, false); });
  }
  void OnPass() {
    if (m_next < m_steps.size() && m_steps[m_next]()) ++m_next;
  }
  bool Done() const { return m_next >= m_steps.size(); }

 private:
  std::vector<std::function<bool()>> m_steps;
  std::size_t m_next = 0;
};

/// Wall-clock marks of one race launch, in milliseconds from the click on Start: the
/// frames of the page switch's fade (told by the front-end), the level's loading steps,
/// the launch's return and the first frame the main loop draws after it.
class LaunchTimeline {
 public:
  void Click() {
    m_start = Clock::now();
    Mark("click on Start");
    s_timeline = this;
    frontend::SetFrameObserver([this](const frontend::FrameEvent& e) { OnFadeFrame(e); });
    SetLoadingProgressObserver([](float percent) { s_timeline->OnProgress(percent); });
  }
  void LaunchReturned() {
    frontend::SetFrameObserver(nullptr);
    SetLoadingProgressObserver(nullptr);
    Mark("the launch returns: game loaded and paused, start list open");
  }
  void FirstRaceFrame() { Mark("first race frame presented"); }
  double TotalMs() const { return m_marks.empty() ? 0.0 : m_marks.back().second; }
  void Print() const {
    std::printf("launch timeline, ms from the click:\n");
    for (const auto& [what, ms] : m_marks) std::printf("  %7.1f  %s\n", ms, what.c_str());
    std::printf("start to race %.0f ms\n", TotalMs());
    std::fflush(stdout);
  }

 private:
  using Clock = std::chrono::steady_clock;
  void Mark(const std::string& what) {
    m_marks.emplace_back(what, std::chrono::duration<double, std::milli>(Clock::now() - m_start).count());
  }
  void OnFadeFrame(const frontend::FrameEvent& e) {
    if (!e.drawn || e.kind != frontend::FrameKind::kBare) return;
    if (m_fadeFrames++ == 0) Mark("fade to black: first frame drawn");
    if (e.overlay >= 1.0f && !m_black) {
      m_black = true;
      Mark("black: the pages switch");
    } else if (m_black && e.overlay <= 0.0f) {
      Mark("fade back done (" + std::to_string(m_fadeFrames) + " fade frames)");
    }
  }
  void OnProgress(float percent) {
    if (m_progressCalls++ == 0 || percent >= 100.0f) Mark("loading " + std::to_string(int(percent)) + " %");
  }

  static inline LaunchTimeline* s_timeline = nullptr;
  Clock::time_point m_start;
  std::vector<std::pair<std::string, double>> m_marks;
  int m_fadeFrames = 0, m_progressCalls = 0;
  bool m_black = false;
};

void PrintTotals(const char* what, const Options& o, const FrameMeter& meter) {
  const FrameMeter::Totals t = meter.Sum();
  std::printf(
      "%dx%d %-5s frames %4zu  cpu %6.1f ms/frame (median %6.1f)  own %5.1f  gl %6.1f  fps %5.1f  "
      "gl calls %6.0f  draws %5.1f\n",
      o.width, o.height, what, t.frames, t.cpuMs, t.medianCpuMs, t.ownMs, t.glMs, t.fps, t.glCalls, t.draws);
  if (!o.profile) return;
  double shown = 0;
  for (const auto& [label, ms] : meter.Profile()) {
    std::printf("    %8.2f ms  %s\n", ms, label.c_str());
    shown += ms;
  }
  std::printf("    %8.2f ms  (the rest: the game, GL state calls)\n", t.cpuMs - shown);
}

void Shot(const Options& o, const std::string& name) {
  if (o.shots.empty() || !g_render) return;
  const std::string file = o.shots + "/" + std::to_string(o.width) + "x" + std::to_string(o.height) + "-" + name + ".bmp";
  g_render->SaveScreenshot(file.c_str(), 0, 0, o.width, o.height);
}

/// The race until its followed racer has done a lap (or the frames run out).
bool LapDone(int frames) {
  N_RaceSim* race = Race();
  const N_Racer* racer = race ? race->Followed() : nullptr;
  return !racer || racer->LapsDone >= 1 || racer->Finished || frames >= kMaxRaceFrames;
}

/// The clicks from the main menu to a running arcade race of the default field.
void AddRaceLaunch(Steps& steps) {
  steps.Then([] { return Click("SinglePlayer"), true; });
  steps.Until([] { return Visible("SinglePlayer"); });
  steps.Then([] { return Click("Arcade"), true; });
  steps.Until([] { return Visible("Arcade"); });
  steps.Then([] { return Srand(kSeed), Click("Start1"), true; });
  steps.Until([] { return Visible("StartList"); });
  steps.Then([] { return Click("StartListCatcher"), true; });
  // The countdown over: the computer drives the followed racer, the camera behind him.
  steps.Then([] {
    N_RaceSim* race = Race();
    N_Racer* racer = race ? race->Followed() : nullptr;
    if (!racer || Visible("StartList") || racer->Time <= 0.0f) return false;
    racer->ControlKind = 0;
    return true;
  });
}

int RunMeasured(const Options& o, N_Application& app) {
  StepClock clock;
  N_Timer timer(clock);
  timer.Tick();
  N_Timer* gameTimer = g_timer;
  double step = kMenuStep;
  FrameMeter menu, race;
  int raceFrames = 0;
  Steps steps;
  steps.Until([] { return Visible("MainMenu") && Visible("Background"); });
  steps.Then([&] {
    menu.Start();
    if (o.profile) menu.StartProfile();
    return true;
  });
  steps.Then([&, frames = 0]() mutable {
    menu.Read();
    if (frames == 1) Shot(o, "menu");
    if (++frames <= kMenuFrames) return false;
    menu.Stop();
    return true;
  });
  AddRaceLaunch(steps);
  steps.Then([&] {
    step = kRaceStep;
    race.Start();
    if (o.profile) race.StartProfile();
    return true;
  });
  steps.Then([&] {
    race.Read();
    ++raceFrames;
    for (int shot : kShotFrames) {
      if (raceFrames == shot) Shot(o, "race-" + std::to_string(shot));
    }
    if (!LapDone(raceFrames)) return false;
    race.Stop();
    return true;
  });
  steps.Then([&] {
    g_timer = gameTimer;
    g_renderServicesCopy.timer = gameTimer;
    g_varMng->SetInt("exit", 1, 2);
    return true;
  });
  app.SetFrameHook([&] {
    // The benchmark's clock stands in for the machine's: the same frames every run.
    g_timer = &timer;
    g_renderServicesCopy.timer = &timer;
    clock.Advance(step);
    steps.OnPass();
  });
  app.Run();
  PrintTotals("menu", o, menu);
  PrintTotals("race", o, race);
  std::fflush(stdout);
  return steps.Done() ? 0 : 1;
}

int RunLive(const Options& o, N_Application& app) {
  Steps steps;
  steps.Until([] { return Visible("MainMenu") && Visible("Background"); });
  if (o.live == "race") AddRaceLaunch(steps);
  steps.Then([] { return std::printf("ready\n"), std::fflush(stdout), true; });
  app.SetFrameHook([&] { steps.OnPass(); });
  app.Run();
  return 0;
}

int RunLaunch(N_Application& app) {
  LaunchTimeline timeline;
  Steps steps;
  steps.Until([] { return Visible("MainMenu") && Visible("Background"); });
  steps.Then([] { return Click("SinglePlayer"), true; });
  steps.Until([] { return Visible("SinglePlayer"); });
  steps.Then([] { return Click("Arcade"), true; });
  steps.Until([] { return Visible("Arcade"); });
  // The whole launch runs inside the click; the pass goes on to draw the first race frame.
  steps.Then([&] { return timeline.Click(), Click("Start1"), timeline.LaunchReturned(), true; });
  steps.Then([&] {
    timeline.FirstRaceFrame();
    timeline.Print();
    g_varMng->SetInt("exit", 1, 2);
    return true;
  });
  app.SetFrameHook([&] { steps.OnPass(); });
  app.Run();
  return steps.Done() && Visible("StartList") ? 0 : 1;
}

/// Runs the launches, each in a process of its own, passing on their timelines; prints
/// the median time from the click to the first race frame.
int RunLaunches(const Options& o, const char* self) {
  std::vector<double> totals;
  for (int i = 0; i < o.launches; ++i) {
    const std::string command = std::string(self) + " --size " + std::to_string(o.width) + "x" +
                                std::to_string(o.height) + " --launch 1";
    FILE* child = popen(command.c_str(), "r");
    if (!child) return 1;
    char line[512];
    double total = -1.0;
    while (std::fgets(line, sizeof line, child)) {
      std::fputs(line, stdout);
      std::sscanf(line, "start to race %lf ms", &total);
    }
    if (pclose(child) != 0 || total < 0.0) {
      std::fprintf(stderr, "frame_bench: launch %d did not reach the race\n", i + 1);
      return 1;
    }
    totals.push_back(total);
  }
  std::sort(totals.begin(), totals.end());
  const std::size_t n = totals.size();
  const double median = n % 2 ? totals[n / 2] : (totals[n / 2 - 1] + totals[n / 2]) / 2.0;
  std::printf("start to race, median of %zu launches: %.0f ms (%.0f to %.0f)\n", n, median, totals.front(),
              totals.back());
  return 0;
}

/// A copy of the build's game root (the intro video aside) with the size's settings, in the
/// benchmark's temporary folder.
std::string MakeGameRoot(const Options& o) {
  const fs::path root = bench::TempFolder() / "frame_bench";
  const fs::path game = NAVO_GAME_ROOT;
  fs::create_directories(root / "data");
  for (const auto& entry : fs::directory_iterator(game / "data")) {
    if (entry.path().filename() != "video") {
      fs::copy(entry.path(), root / "data" / entry.path().filename(), fs::copy_options::recursive);
    }
  }
  std::ifstream shipped(game / "user.cfg");
  std::ofstream cfg(root / "user.cfg");
  cfg << shipped.rdbuf() << "\nv_fullscreen 0\nv_width " << o.width << "\nv_height " << o.height
      << "\nlanguage \"eng\"\n";
  return root.string();
}

int RunOneSize(const Options& o) {
  const std::string root = MakeGameRoot(o);
  if (root.empty() || chdir(root.c_str()) != 0) {
    std::fprintf(stderr, "frame_bench: no game root copy\n");
    return 1;
  }
  platform::CatchTerminationSignals();
  int result = 1;
  {
    N_Application app;
    if (!app.Init(GetModuleHandleA(nullptr))) {
      std::fprintf(stderr, "frame_bench: the game did not start (see %s/navo.log)\n", root.c_str());
      return 1;
    }
    result = o.launches > 0 ? RunLaunch(app) : o.live.empty() ? RunMeasured(o, app) : RunLive(o, app);
  }
  return result;  // the copy goes with the benchmark's temporary folder at exit
}

bool ParseSize(const char* text, Options& o) { return std::sscanf(text, "%dx%d", &o.width, &o.height) == 2; }

}  // namespace

int main(int argc, char** argv) {
  Options o;
  std::vector<std::string> passOn;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--size" && i + 1 < argc && ParseSize(argv[i + 1], o)) {
      ++i;
    } else if (arg == "--launch" && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
      o.launches = std::atoi(argv[++i]);
    } else if (arg == "--profile") {
      o.profile = true;
      passOn.push_back(arg);
    } else if ((arg == "--shots" || arg == "--live") && i + 1 < argc) {
      (arg == "--shots" ? o.shots : o.live) = argv[++i];
      if (arg == "--shots") o.shots = fs::absolute(o.shots).string();
      passOn.insert(passOn.end(), {arg, arg == "--shots" ? o.shots : o.live});
    } else {
      std::fprintf(stderr, "usage: %s [--size WxH] [--profile] [--shots DIR] [--live menu|race] [--launch N]\n",
                   argv[0]);
      return 2;
    }
  }
  if (o.launches > 0) {
    if (o.width <= 0) o.width = 1024, o.height = 768;
    return o.launches == 1 ? RunOneSize(o) : RunLaunches(o, fs::read_symlink("/proc/self/exe").c_str());
  }
  if (o.width > 0) return RunOneSize(o);
  // Each size in a process of its own: the game's services are made once a process.
  int failed = 0;
  for (const char* size : {"1024x768", "800x600"}) {
    std::vector<std::string> args{argv[0], "--size", size};
    args.insert(args.end(), passOn.begin(), passOn.end());
    const pid_t child = fork();
    if (child == 0) {
      std::vector<char*> raw;
      for (std::string& a : args) raw.push_back(a.data());
      raw.push_back(nullptr);
      execv("/proc/self/exe", raw.data());
      _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failed;
  }
  return failed;
}
