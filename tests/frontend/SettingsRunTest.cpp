// The settings page in the game in process: the sliders moved with the scripted mouse
// through the GUI's own handling (a drag of the bit to both ends, a press on the
// track), with the display's gamma ramp read back from the OpenGL device and the
// sound on OpenAL's null output.
#include "app/Application.h"
#include "core/Globals.h"
#include "core/Timer.h"
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiScrollBar.h"
#include "platform/dinput8/ScriptedInput.h"
#include "platform/win32.h"
#include "race/World.h"
#include "render/Render.h"
#include "sound/SoundMng.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/TestEnv.h"
#include "core/KeyDefinitions.h"
#include "frontend/FrontendFrame.h"
#include "platform/dinput8.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Ramp = std::vector<WORD>;

N_GuiMng& Gui() { return g_world->GuiMng(); }
N_GuiScrollBar& Slider(const char* name) { return *static_cast<N_GuiScrollBar*>(Gui().GetElement(name, false)); }

Ramp DeviceRamp() {
  D3DGAMMARAMP ramp{};
  g_render->Device()->GetGammaRamp(0, &ramp);
  return Ramp(std::begin(ramp.red), std::end(ramp.red));
}

/// The ramp the renderer makes of the values (the device is given it back afterwards).
Ramp RampOf(float gamma, float brightness, float contrast) {
  D3DGAMMARAMP kept{};
  g_render->Device()->GetGammaRamp(0, &kept);
  g_render->SetGamma(gamma, brightness, contrast, 1);
  Ramp made = DeviceRamp();
  g_render->Device()->SetGammaRamp(0, 0, &kept);
  return made;
}

/// The gain of the music stream's source (slot 0).
float MusicGain() {
  float gain = -1.0f;
  alGetSourcef(g_soundMng->GetSource(0).source, AL_GAIN, &gain);
  return gain;
}

/// Steps run one a pass of the main loop, each until it answers true.
class Steps {
 public:
  void Then(std::function<bool()> step) { m_steps.push_back(std::move(step)); }
  /// Lets the game run for the time of its clock, which its held buttons run on.
  void Wait(int milliseconds) {
    Then([end = std::make_shared<double>(-1.0), milliseconds] {
      if (*end < 0.0) *end = g_timer->GetTime() + milliseconds / 1000.0;
      return g_timer->GetTime() >= *end;
    });
  }
  /// The cursor on a point: x from the slider's place when the step runs.
  void Cursor(const char* slider, std::function<float(N_GuiScrollBar&)> x) {
    Then([slider, x] {
      N_GuiScrollBar& bar = Slider(slider);
      Gui().GetCursor()->SetLeft(x(bar));
      Gui().GetCursor()->SetTop(bar.GetScreenY() + bar.GetHeight() / 2);
      return true;
    });
  }
  /// The left button down on the bit, the cursor to x while it is held (the GUI's held
  /// events come every 0.1 s), then up.
  void Drag(const char* slider, std::function<float(N_GuiScrollBar&)> x) {
    Cursor(slider, [](N_GuiScrollBar& bar) { return bar.GetBit()->GetScreenX() + bar.GetBit()->GetWidth() / 2; });
    Then([this] { return m_input.ButtonDown(0), true; });
    Wait(150);
    Cursor(slider, std::move(x));
    Wait(350);
    Then([this] { return m_input.ButtonUp(0), true; });
    Wait(50);
  }
  /// The left button held on the track at x.
  void Press(const char* slider, std::function<float(N_GuiScrollBar&)> x) {
    Cursor(slider, std::move(x));
    Then([this] { return m_input.ButtonDown(0), true; });
    Wait(350);
    Then([this] { return m_input.ButtonUp(0), true; });
    Wait(50);
  }
  void OnPass() {
    if (++m_passes > 3000) {
      ADD_FAILURE() << "the steps took too long";
      m_steps.clear();
      g_varMng->SetInt("exit", 1, 2);
    }
    if (!m_steps.empty() && m_steps.front()()) m_steps.pop_front();
  }
  bool Done() const { return m_steps.empty(); }
  platform::ScriptedInput& Input() { return m_input; }

 private:
  std::deque<std::function<bool()>> m_steps;
  platform::ScriptedInput m_input;
  int m_passes = 0;
};

float LeftEnd(N_GuiScrollBar& bar) { return bar.GetScreenX() + bar.GetSpacing() + 1.0f; }
float RightEnd(N_GuiScrollBar& bar) { return bar.GetScreenX() + bar.GetWidth() - bar.GetSpacing() - 1.0f; }
/// Where the middle of the bit lies for a position (the drag's own measure).
float At(N_GuiScrollBar& bar, float position) {
  const float track = bar.GetWidth() - 2.0f * bar.GetSpacing();
  return bar.GetScreenX() + bar.GetSpacing() + position * track / float(bar.GetTotal()) + bar.GetBit()->GetWidth() / 2;
}

/// The game root's data the pages show, an empty start level, a small window.
void PrepareGameRoot(const test::TempDir& dir) {
  for (const char* part : {"data/scripts", "data/gfx", "data/textures", "data/sounds", test::kProfilesFile}) {
    test::CopyFromGameRoot(dir, part);
  }
  test::CopyFigureData(dir);
  test::WriteEmptyLevel(dir, test::kStartLevelFile);
  dir.Write("user.cfg", "v_fullscreen 0\nv_width 640\nv_height 480\n");
}

/// The cursor on the element's middle, then a press and a release.
void Click(Steps& steps, const char* element) {
  steps.Then([element] {
    N_GuiElement* e = Gui().GetElement(element, false);
    Gui().GetCursor()->SetLeft(e->GetScreenX() + e->GetWidth() / 2);
    Gui().GetCursor()->SetTop(e->GetScreenY() + e->GetHeight() / 2);
    return true;
  });
  steps.Then([&steps] { return steps.Input().ButtonDown(0), true; });
  steps.Then([&steps] { return steps.Input().ButtonUp(0), true; });
}

TEST(SettingsRun, SlidersMovedWithTheMouseActAtOnce) {
  test::TempDir dir;
  PrepareGameRoot(dir);
  N_Application app;
  ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr)));
  Steps steps;
  steps.Then([] {
    if (!Gui().GetPage("MainMenu")->IsVisible()) return false;
    Gui().GetPage("MainMenu")->Hide();
    Gui().GetPage("CareerHS")->ShowImmediate();
    Gui().GetPage("Settings")->ShowImmediate();
    return true;
  });
  steps.Wait(300);
  // The bit dragged to both ends reads exactly 0 and 100, and the screen follows at once.
  steps.Drag("Gamma1", LeftEnd);
  steps.Then([] {
    EXPECT_EQ(Slider("Gamma1").GetValue(), 0);
    EXPECT_EQ(Gui().GetElement("Gamma1Value", false)->GetCaption(), "0");
    EXPECT_EQ(DeviceRamp(), RampOf(0.5f, 0.0f, 1.0f));
    EXPECT_FLOAT_EQ(g_varMng->GetFloat("r_gamma"), 1.0f);
    return true;
  });
  steps.Drag("Brightness1", RightEnd);
  steps.Then([] {
    EXPECT_EQ(Slider("Brightness1").GetValue(), 100);
    EXPECT_EQ(DeviceRamp(), RampOf(0.5f, 1.0f, 1.0f));
    EXPECT_FLOAT_EQ(g_varMng->GetFloat("r_brightness"), 0.0f);
    return true;
  });
  // A press on the track moves the bit there.
  steps.Press("Contrast1", [](N_GuiScrollBar& bar) { return At(bar, 20.5f); });
  steps.Then([] {
    const int contrast = Slider("Contrast1").GetValue();
    EXPECT_EQ(contrast, 20);
    EXPECT_EQ(DeviceRamp(), RampOf(0.5f, 1.0f, float(contrast) * 0.01f + 0.5f));
    return true;
  });
  // The volumes: the test sound plays, silent, and the music plays at a quarter.
  steps.Drag("FXVolume1", LeftEnd);
  steps.Then([] {
    EXPECT_EQ(Slider("FXVolume1").GetValue(), 0);
    EXPECT_EQ(g_soundMng->GetFXVolume(), 0.0f);
    EXPECT_TRUE(g_soundMng->IsPlaying(g_world->SoundCache().Handle(33)));
    return true;
  });
  steps.Drag("MusicVolume1", [](N_GuiScrollBar& bar) { return At(bar, 25.5f); });
  steps.Then([] {
    EXPECT_EQ(Slider("MusicVolume1").GetValue(), 25);
    EXPECT_FLOAT_EQ(g_soundMng->GetMusicVolume(), 0.25f);
    EXPECT_TRUE(g_soundMng->IsMusicPlaying());
    if (g_soundMng->HasDevice()) {
      EXPECT_FLOAT_EQ(MusicGain(), 0.25f);
    }
    return true;
  });
  // "Back14" puts the screen back; the volumes stay and show again.
  Click(steps, "Back14");
  steps.Wait(100);
  steps.Then([] {
    EXPECT_FALSE(Gui().GetPage("Settings")->IsVisible());
    EXPECT_EQ(DeviceRamp(), RampOf(1.0f, 0.0f, 1.0f));
    EXPECT_EQ(g_soundMng->GetFXVolume(), 0.0f);
    Gui().GetPage("Settings")->ShowImmediate();
    EXPECT_EQ(Slider("FXVolume1").GetValue(), 0);
    EXPECT_EQ(Slider("MusicVolume1").GetValue(), 25);
    EXPECT_EQ(Slider("Gamma1").GetValue(), 50);
    return g_varMng->SetInt("exit", 1, 2), true;
  });
  app.SetFrameHook([&steps] { steps.OnPass(); });
  app.Run();
  EXPECT_TRUE(steps.Done());
  EXPECT_EQ(dir.Read("navo.log").find("not found"), std::string::npos);
}

/// Red pixels (the text palette's red) in the element's rectangle on the back buffer.
int RedPixels(const char* name) {
  N_GuiElement* e = Gui().GetElement(name, false);
  const test::BackBufferImage image = test::ReadBackBuffer(g_render->Device());
  const float sx = float(image.width) / 639.0f, sy = float(image.height) / 479.0f;
  return image.Count(UINT(e->GetScreenX() * sx), UINT(e->GetScreenY() * sy), UINT((e->GetScreenX() + e->GetWidth()) * sx),
                     UINT((e->GetScreenY() + e->GetHeight()) * sy),
                     [](const platform::Rgba8& p) { return p.r > 200 && p.g < 60 && p.b < 60; });
}

// A key button clicked with the mouse waits for the key in red, drawn by the capture's
// own frames on the OpenGL device; the key is bound and the caption has its colour
// back. A binding is in force at once.
TEST(SettingsRun, KeyCaptureShowsTheWaitingButtonInRed) {
  test::TempDir dir;
  PrepareGameRoot(dir);
  N_Application app;
  ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr)));
  Steps steps;
  std::vector<int> waiting;  // red pixels of the button in each frame of the capture
  steps.Then([&] {
    if (!Gui().GetPage("MainMenu")->IsVisible()) return false;
    Gui().GetPage("MainMenu")->Hide();
    Gui().GetPage("ControlsOptions")->ShowImmediate();
    frontend::SetFrameObserver([&](const frontend::FrameEvent& event) {
      if (!event.drawn) return;
      waiting.push_back(RedPixels("BackwardKey1"));
      if (waiting.size() == 3) steps.Input().KeyDown(DIK_ESCAPE);
    });
    return true;
  });
  steps.Wait(300);
  Click(steps, "BackwardKey1");
  steps.Then([&] { return !waiting.empty(); });
  steps.Then([&] {
    frontend::SetFrameObserver({});
    steps.Input().KeyUp(DIK_ESCAPE);
    EXPECT_EQ(g_keyDefinitions[1], DIK_ESCAPE);
    EXPECT_EQ(Gui().GetElement("BackwardKey1", false)->GetCaption(), "Escape");
    // The page drawn again, without the capture: no red left.
    int after = -1;
    frontend::SetFrameObserver([&](const frontend::FrameEvent& event) {
      if (event.drawn) after = RedPixels("BackwardKey1");
    });
    frontend::RunFlatFrame();
    frontend::SetFrameObserver({});
    EXPECT_EQ(after, 0);
    return g_varMng->SetInt("exit", 1, 2), true;
  });
  app.SetFrameHook([&steps] { steps.OnPass(); });
  app.Run();
  EXPECT_TRUE(steps.Done());
  ASSERT_GE(waiting.size(), 3u);
  for (int red : waiting) EXPECT_GT(red, 20);
}

}  // namespace
