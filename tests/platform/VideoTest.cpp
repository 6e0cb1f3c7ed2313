// The DirectShow-shaped filter graph over FFmpeg: file probing, playback timing,
// the video window and its input, on the X display the tests run on.
#include "platform/dshow.h"
#include "platform/dshow/FilterGraph.h"
#include "platform/dshow/FrameBlitter.h"
#include "platform/win32/EventPump.h"
#include "tests/platform/ScreenGrab.h"
#include "tests/support/TestEnv.h"
#include "tools/VideoWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Posted {
  HWND window;
  platform::DrainMessage message;
};

/// A filter graph with its four interfaces and a record of the input it posts.
struct Graph {
  Graph() {
    auto* graph = new platform::FilterGraph([this](HWND w, const platform::DrainMessage& m) {
      posted.push_back({w, m});
    });
    impl = graph;
    EXPECT_EQ(graph->QueryInterface(IID_IGraphBuilder, reinterpret_cast<void**>(&gb)), S_OK);
    EXPECT_EQ(gb->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&mc)), S_OK);
    EXPECT_EQ(gb->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&vw)), S_OK);
    EXPECT_EQ(gb->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&me)), S_OK);
    static_cast<IGraphBuilder*>(graph)->Release();  // the creation reference
  }
  ~Graph() { ReleaseAll(); }
  void ReleaseAll() {
    for (IUnknown* i : std::vector<IUnknown*>{gb, mc, vw, me}) {
      if (i) i->Release();
    }
    gb = nullptr, mc = nullptr, vw = nullptr, me = nullptr, impl = nullptr;
  }
  /// Waits for the next event; its code, or 0 after the time-out.
  LONG WaitEvent(LONG ms) {
    LONG code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    return me->GetEvent(&code, &p1, &p2, ms) == S_OK ? code : 0;
  }
  SDL_Window* SdlWindow() const { return impl && impl->Window() ? impl->Window()->Handle() : nullptr; }

  platform::FilterGraph* impl = nullptr;
  IGraphBuilder* gb = nullptr;
  IMediaControl* mc = nullptr;
  IVideoWindow* vw = nullptr;
  IMediaEventEx* me = nullptr;
  std::vector<Posted> posted;
};

/// Writes a clip of `frames` frames at 25 (or the given count) per second below the
/// current directory.
void WriteClip(const std::string& path, int frames, int framesPerSecond = 25) {
  tools::IntroVideoSpec spec;
  spec.width = 160;
  spec.height = 120;
  spec.frames = frames;
  spec.framesPerSecond = framesPerSecond;
  ASSERT_TRUE(tools::WriteIntroVideo(path, spec));
}

/// The fail-safe of the waits for an event that comes in seconds.
constexpr LONG kPatienceMs = 120000;

TEST(VideoGraph, RenderFileAnswersAsDirectShowDoes) {
  test::TempDir dir;
  dir.Write("data/notes.txt", "this is no video\n");
  dir.Write("data/empty.avi", "");
  WriteClip(dir.Path() + "/data/clip.avi", 5);
  ASSERT_TRUE(tools::WriteSoundOnlyAvi(dir.Path() + "/data/tone.avi", 0.5));
  struct Case {
    const char16_t* name;
    HRESULT result;
  };
  for (const Case& c : std::vector<Case>{{u"data\\missing.avi", static_cast<HRESULT>(0x80070002u)},
                                         {u"nofolder\\x.avi", static_cast<HRESULT>(0x80070002u)},
                                         {u"data\\notes.txt", VFW_E_UNKNOWN_FILE_TYPE},
                                         {u"data\\empty.avi", VFW_E_UNKNOWN_FILE_TYPE},
                                         {u"DATA\\Clip.AVI", S_OK},  // case-insensitive path
                                         {u"data\\tone.avi", S_OK},
                                         {nullptr, E_POINTER}}) {
    Graph g;
    EXPECT_EQ(g.gb->RenderFile(c.name, nullptr), c.result)
        << (c.name ? platform::Utf16ToUtf8(c.name) : std::string("null"));
  }
}

TEST(VideoGraph, FileWithoutVideoHasNoVideoWindow) {
  test::TempDir dir;
  ASSERT_TRUE(tools::WriteSoundOnlyAvi(dir.Path() + "/tone.avi", 0.5));
  Graph g;
  ASSERT_EQ(g.gb->RenderFile(u"tone.avi", nullptr), S_OK);
  LONG mode = 0;
  OAHWND drain = 0;
  EXPECT_EQ(g.vw->put_MessageDrain(7), E_NOINTERFACE);
  EXPECT_EQ(g.vw->get_MessageDrain(&drain), E_NOINTERFACE);
  EXPECT_EQ(g.vw->get_FullScreenMode(&mode), E_NOINTERFACE);
  EXPECT_EQ(g.vw->put_FullScreenMode(OATRUE), E_NOINTERFACE);
  EXPECT_EQ(g.vw->NotifyOwnerMessage(7, 0x0100, 27, 0), E_NOINTERFACE);
  // Nothing to show: running completes at once and opens no window.
  EXPECT_EQ(g.mc->Run(), S_OK);
  EXPECT_EQ(g.WaitEvent(1000), EC_COMPLETE);
  EXPECT_EQ(g.SdlWindow(), nullptr);
}

TEST(VideoCom, InitialisesPerThreadAndCreatesOnlyTheFilterGraph) {
  void* object = &object;
  EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC, IID_IGraphBuilder, &object),
            CO_E_NOTINITIALIZED);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
  std::thread([] { EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK); }).join();  // per thread
  EXPECT_EQ(CoCreateInstance(IID_IGraphBuilder, nullptr, CLSCTX_INPROC, IID_IGraphBuilder, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC, IID_IUnknown, nullptr), E_POINTER);
  EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC, CLSID_FilterGraph, &object),
            E_NOINTERFACE);
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC, IID_IGraphBuilder, &object), S_OK);
  auto* graph = static_cast<IGraphBuilder*>(object);
  IMediaControl* control = nullptr;
  EXPECT_EQ(graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control)), S_OK);
  EXPECT_EQ(graph->Release(), 1u);
  EXPECT_EQ(control->Release(), 0u);
  CoUninitialize();
  CoUninitialize();
}

TEST(VideoGraph, InterfacesShareOneCountedObject) {
  Graph g;
  void* unknown = nullptr;
  EXPECT_EQ(g.me->QueryInterface(IID_IUnknown, &unknown), S_OK);
  EXPECT_EQ(unknown, static_cast<void*>(g.gb));
  static_cast<IUnknown*>(unknown)->Release();
  void* none = &unknown;
  EXPECT_EQ(g.gb->QueryInterface(CLSID_FilterGraph, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(g.gb->QueryInterface(IID_IVideoWindow, nullptr), E_POINTER);
  EXPECT_EQ(g.vw->AddRef(), 5u);
  EXPECT_EQ(g.vw->Release(), 4u);
}

TEST(VideoGraph, EventsAndDrainBeforePlayback) {
  test::TempDir dir;
  WriteClip(dir.Path() + "/clip.avi", 3);
  Graph g;
  LONG code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  const auto start = Clock::now();
  EXPECT_EQ(g.me->GetEvent(&code, &p1, &p2, 0), E_ABORT);
  EXPECT_EQ(g.me->GetEvent(&code, &p1, &p2, 50), E_ABORT);
  EXPECT_LT(Clock::now() - start, 60s) << "a fail-safe: the time-out ends the wait";
  EXPECT_EQ(g.me->GetEvent(nullptr, &p1, &p2, 0), E_POINTER);
  EXPECT_EQ(g.me->FreeEventParams(EC_COMPLETE, 0, 0), S_OK);

  ASSERT_EQ(g.gb->RenderFile(u"clip.avi", nullptr), S_OK);
  OAHWND drain = -5;
  LONG mode = 5;
  EXPECT_EQ(g.vw->get_MessageDrain(&drain), S_OK);
  EXPECT_EQ(drain, 0);
  EXPECT_EQ(g.vw->put_MessageDrain(42), S_OK);
  EXPECT_EQ(g.vw->get_MessageDrain(&drain), S_OK);
  EXPECT_EQ(drain, 42);
  EXPECT_EQ(g.vw->get_FullScreenMode(&mode), S_OK);
  EXPECT_EQ(mode, OAFALSE);
  EXPECT_EQ(g.vw->put_FullScreenMode(OATRUE), S_OK);
  EXPECT_EQ(g.vw->get_FullScreenMode(&mode), S_OK);
  EXPECT_EQ(mode, OATRUE);
  EXPECT_EQ(g.vw->NotifyOwnerMessage(42, 0x0100, 'A', 0), S_OK);
  EXPECT_EQ(g.SdlWindow(), nullptr);  // the window opens with playback
}

TEST(VideoGraph, PlaysAtTheFileRateAndCompletesOnce) {
  test::TempDir dir;
  WriteClip(dir.Path() + "/clip.avi", 10);  // 0.4 s
  Graph g;
  ASSERT_EQ(g.gb->RenderFile(u"clip.avi", nullptr), S_OK);
  ASSERT_EQ(g.vw->put_FullScreenMode(OATRUE), S_OK);
  ASSERT_EQ(g.mc->Pause(), S_OK);
  ASSERT_NE(g.SdlWindow(), nullptr);
  EXPECT_NE(SDL_GetWindowFlags(g.SdlWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
  EXPECT_EQ(g.WaitEvent(600), 0);  // paused: the clock holds
  const auto start = Clock::now();
  ASSERT_EQ(g.mc->Run(), S_OK);
  EXPECT_EQ(g.WaitEvent(kPatienceMs), EC_COMPLETE);
  EXPECT_GE(Clock::now() - start, 380ms);
  EXPECT_EQ(g.WaitEvent(300), 0);  // the end is reported once
  const Uint32 id = SDL_GetWindowID(g.SdlWindow());
  EXPECT_EQ(g.mc->Stop(), S_OK);
  g.ReleaseAll();
  EXPECT_EQ(SDL_GetWindowFromID(id), nullptr);  // the last release destroys the window
}

TEST(VideoGraph, DamagedTimingAbortsAtOnceAndShortGapsStillPlay) {
  // Damaged headers and time stamps would hold the player for hours: the graph stops
  // such a file with EC_ERRORABORT as soon as it sees the damage. The bounds are far
  // beyond what the stop takes, and below the wait the damage would cause.
  struct Case {
    const char* name;
    int framesPerSecond;
    int rateDivisor;
    int frames;
    int jumpAt;
    int jumpSeconds;
    LONG event;
    std::chrono::milliseconds within;
  };
  const Case cases[] = {
      {"one frame per 1000 s", 1, 1000, 5, -1, 0, EC_ERRORABORT, 60s},
      {"one frame per 2 s", 1, 2, 60, -1, 0, EC_ERRORABORT, 60s},  // played through: 120 s
      {"a 600 s jump after frame 10", 25, 1, 20, 10, 600, EC_ERRORABORT, 60s},
      {"a 1000 s jump after the first frame", 25, 1, 5, 1, 1000, EC_ERRORABORT, 60s},
      {"a 2 s gap after frame 5", 25, 1, 10, 5, 2, EC_COMPLETE, 60s},
      {"one frame a second", 1, 1, 2, -1, 0, EC_COMPLETE, 60s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    tools::IntroVideoSpec spec;
    spec.width = 160;
    spec.height = 120;
    spec.framesPerSecond = c.framesPerSecond;
    spec.rateDivisor = c.rateDivisor;
    spec.frames = c.frames;
    spec.jumpAt = c.jumpAt;
    spec.jumpSeconds = c.jumpSeconds;
    ASSERT_TRUE(tools::WriteIntroVideo(dir.Path() + "/clip.avi", spec));
    Graph g;
    ASSERT_EQ(g.gb->RenderFile(u"clip.avi", nullptr), S_OK);
    const auto start = Clock::now();
    ASSERT_EQ(g.mc->Run(), S_OK);
    LONG code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    ASSERT_EQ(g.me->GetEvent(&code, &p1, &p2, kPatienceMs), S_OK) << "no event in 120 s";
    EXPECT_LT(Clock::now() - start, c.within);
    EXPECT_EQ(code, c.event);
    EXPECT_EQ(static_cast<HRESULT>(p1), c.event == EC_ERRORABORT ? VFW_E_INVALID_FILE_FORMAT : S_OK);
    EXPECT_EQ(g.WaitEvent(300), 0);  // reported once
    EXPECT_EQ(g.mc->Stop(), S_OK);
  }
}

TEST(VideoGraph, StopEndsPlaybackAtOnceAndRunStartsOver) {
  test::TempDir dir;
  WriteClip(dir.Path() + "/clip.avi", 75);  // 3 s
  WriteClip(dir.Path() + "/long.avi", 150, 1);  // 150 s
  {
    Graph g;
    ASSERT_EQ(g.gb->RenderFile(u"long.avi", nullptr), S_OK);
    ASSERT_EQ(g.mc->Run(), S_OK);
    std::this_thread::sleep_for(200ms);  // any moment of the playback will do
    const auto start = Clock::now();
    EXPECT_EQ(g.mc->Stop(), S_OK);
    EXPECT_LT(Clock::now() - start, 60s);  // the clip's rest would take 149 s
  }
  Graph g;
  ASSERT_EQ(g.gb->RenderFile(u"clip.avi", nullptr), S_OK);
  ASSERT_EQ(g.mc->Run(), S_OK);
  std::this_thread::sleep_for(200ms);  // any moment of the playback will do
  EXPECT_EQ(g.mc->Stop(), S_OK);
  EXPECT_EQ(g.WaitEvent(400), 0);
  EXPECT_NE(g.SdlWindow(), nullptr);  // the window stays until the graph goes
  // A new run plays the file again from its start: its end comes its 3 s after the run.
  const auto start = Clock::now();
  ASSERT_EQ(g.mc->Run(), S_OK);
  EXPECT_EQ(g.WaitEvent(kPatienceMs), EC_COMPLETE);
  EXPECT_GE(Clock::now() - start, 2900ms);
}

TEST(VideoGraph, FullScreenPlaybackShowsTheFrames) {
  int width = 0, height = 0;
  test::ScreenSize(width, height);
  ASSERT_GT(width, 0) << "needs an X display";
  test::TempDir dir;
  WriteClip(dir.Path() + "/clip.avi", 100);  // 4 s
  Graph g;
  ASSERT_EQ(g.gb->RenderFile(u"clip.avi", nullptr), S_OK);
  ASSERT_EQ(g.vw->put_FullScreenMode(OATRUE), S_OK);
  ASSERT_EQ(g.mc->Run(), S_OK);
  // 4:3 video fitted to the screen: the sky fills the upper middle, the snow the
  // lowest fifth of the picture. Looked at until the picture shows, while the clip plays
  // and after its end too: the last frame stays on the window until the graph goes, so
  // a loaded machine that shows its frames late still shows one. The last look is what
  // is checked.
  const SDL_Rect fit = platform::FrameBlitter::FitRect(160.0 / 120.0, width, height);
  std::optional<test::Rgb> sky, snow;
  LONG event = 0;
  // The engine's loop pumps every 100 ms meanwhile.
  for (int i = 0; i < kPatienceMs / 100; ++i) {
    const LONG next = g.WaitEvent(100);
    if (event == 0) event = next;
    platform::PumpEvents();
    sky = test::ScreenAverage(fit.x + fit.w / 2 - 20, fit.y + fit.h / 8, 40, 20);
    snow = test::ScreenAverage(fit.x + 10, fit.y + fit.h * 9 / 10, 40, 10);
    if (sky && snow && sky->b > 170 && sky->b > sky->r + 80 && snow->r > 200 && snow->g > 200) break;
  }
  ASSERT_TRUE(sky && snow);
  EXPECT_GT(sky->b, 170);
  EXPECT_GT(sky->b, sky->r + 80);
  EXPECT_GT(snow->r, 200);
  EXPECT_GT(snow->g, 200);
  EXPECT_EQ(event ? event : g.WaitEvent(kPatienceMs), EC_COMPLETE);
  g.ReleaseAll();
}

TEST(VideoGraph, KeysAndLeftClicksReachTheDrain) {
  test::TempDir dir;
  WriteClip(dir.Path() + "/clip.avi", 25);
  Graph g;
  ASSERT_EQ(g.gb->RenderFile(u"clip.avi", nullptr), S_OK);
  ASSERT_EQ(g.mc->Pause(), S_OK);
  const Uint32 id = SDL_GetWindowID(g.SdlWindow());
  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.windowID = id;
  key.key.keysym.sym = SDLK_ESCAPE;
  key.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
  SDL_PushEvent(&key);
  platform::PumpEvents();
  EXPECT_TRUE(g.posted.empty());  // no drain yet: input is dropped
  ASSERT_EQ(g.vw->put_MessageDrain(42), S_OK);
  SDL_PushEvent(&key);
  SDL_Event click{};
  click.type = SDL_MOUSEBUTTONDOWN;
  click.button.windowID = id;
  click.button.button = SDL_BUTTON_LEFT;
  click.button.x = 3;
  click.button.y = 2;
  SDL_PushEvent(&click);
  platform::PumpEvents();
  ASSERT_EQ(g.posted.size(), 2u);
  EXPECT_EQ(g.posted[0].window, 42);
  EXPECT_EQ(g.posted[0].message.message, 0x0100u);
  EXPECT_EQ(g.posted[0].message.wParam, 27u);
  EXPECT_EQ(g.posted[1].message.message, 0x0201u);
  EXPECT_EQ(g.posted[1].message.lParam, (2 << 16) | 3);
  // Input never stops playback by itself.
  ASSERT_EQ(g.mc->Run(), S_OK);
  EXPECT_EQ(g.WaitEvent(kPatienceMs), EC_COMPLETE);
}

TEST(VideoInput, TranslatesKeyPressesAndLeftClicksOfItsWindowOnly) {
  struct Case {
    Uint32 type;
    Uint32 window;
    SDL_Keycode key;  // or the mouse button
    std::optional<std::pair<UINT, WPARAM>> message;
  };
  constexpr Uint32 kOurs = 7;
  const std::vector<Case> cases{
      {SDL_KEYDOWN, kOurs, SDLK_RETURN, std::pair<UINT, WPARAM>{0x0100, 13}},
      {SDL_KEYDOWN, kOurs, SDLK_KP_ENTER, std::pair<UINT, WPARAM>{0x0100, 13}},
      {SDL_KEYDOWN, kOurs, SDLK_ESCAPE, std::pair<UINT, WPARAM>{0x0100, 27}},
      {SDL_KEYDOWN, kOurs, SDLK_SPACE, std::pair<UINT, WPARAM>{0x0100, 32}},
      {SDL_KEYDOWN, kOurs, SDLK_q, std::pair<UINT, WPARAM>{0x0100, 'Q'}},
      {SDL_KEYDOWN, kOurs, SDLK_5, std::pair<UINT, WPARAM>{0x0100, '5'}},
      {SDL_KEYDOWN, kOurs, SDLK_F1, std::pair<UINT, WPARAM>{0x0100, 0x70}},
      {SDL_KEYDOWN, kOurs, SDLK_LEFT, std::pair<UINT, WPARAM>{0x0100, 0x25}},
      {SDL_KEYDOWN, 8, SDLK_ESCAPE, std::nullopt},  // another window's key
      {SDL_KEYUP, kOurs, SDLK_ESCAPE, std::nullopt},
      {SDL_MOUSEBUTTONDOWN, kOurs, SDL_BUTTON_LEFT, std::pair<UINT, WPARAM>{0x0201, 1}},
      {SDL_MOUSEBUTTONDOWN, kOurs, SDL_BUTTON_RIGHT, std::nullopt},
      {SDL_MOUSEBUTTONUP, kOurs, SDL_BUTTON_LEFT, std::nullopt},
      {SDL_MOUSEBUTTONDOWN, 8, SDL_BUTTON_LEFT, std::nullopt},
  };
  for (const Case& c : cases) {
    SDL_Event e{};
    e.type = c.type;
    if (c.type == SDL_KEYDOWN || c.type == SDL_KEYUP) {
      e.key.windowID = c.window;
      e.key.keysym.sym = c.key;
    } else {
      e.button.windowID = c.window;
      e.button.button = static_cast<Uint8>(c.key);
    }
    const auto got = platform::TranslateVideoInput(e, kOurs);
    ASSERT_EQ(got.has_value(), c.message.has_value()) << c.type << " " << c.key;
    if (got) {
      EXPECT_EQ(got->message, c.message->first);
      EXPECT_EQ(got->wParam, c.message->second) << c.key;
    }
  }
}

TEST(VideoInput, FitRectKeepsTheAspectCentred) {
  struct Case {
    double aspect;
    int w, h;
    SDL_Rect rect;
  };
  for (const Case& c : std::vector<Case>{{4.0 / 3.0, 1280, 1024, {0, 32, 1280, 960}},
                                         {4.0 / 3.0, 640, 480, {0, 0, 640, 480}},
                                         {16.0 / 9.0, 800, 600, {0, 75, 800, 450}},
                                         {1.0, 1280, 1024, {128, 0, 1024, 1024}},
                                         {4.0 / 3.0, 0, 0, {0, 0, 0, 0}}}) {
    const SDL_Rect r = platform::FrameBlitter::FitRect(c.aspect, c.w, c.h);
    EXPECT_EQ(r.x, c.rect.x);
    EXPECT_EQ(r.y, c.rect.y);
    EXPECT_EQ(r.w, c.rect.w);
    EXPECT_EQ(r.h, c.rect.h);
  }
}

}  // namespace
