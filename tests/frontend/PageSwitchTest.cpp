// The faded page switch with the timer on the test clock: the frames' opacities, the
// ducked music, the pages changing while the screen is black, and the renderer's calls.
#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/VarMng.h"
#include "frontend/FrontendFrame.h"
#include "frontend/PageSwitch.h"
#include "gui/GuiMng.h"
#include "race/World.h"
#include "render/Camera.h"
#include "tests/frontend/MenuRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

TEST(PageSwitch, FadesOutChangesThePagesAtBlackAndFadesIn) {
  test::MenuRig rig;
  // A page of the test that notes its showing (the set-up pages are the game's own now).
  rig.MakePage("FadeTarget");
  constexpr float kVolume = 0.8f;
  struct Case {
    double dt;  ///< every frame's time
    const char* from;
    const char* to;
    bool snow;
    Names timeline;  ///< each frame's overlay, and the pages shown between
    Names after;
  };
  const Case cases[] = {
      {0.25, "MainMenu", "FadeTarget", true,
       {"0.25", "0.50", "0.75", "1.00", "FadeTarget", "0.75", "0.50", "0.25", "0.00"}, {"Background", "FadeTarget"}},
      {1.0, "MainMenu", "FadeTarget", false, {"1.00", "FadeTarget", "0.00"}, {"Background", "FadeTarget"}},
      {0.5, "NoSuchPage", "FadeTarget", true, {"0.50", "1.00", "FadeTarget", "0.50", "0.00"},
       {"Background", "FadeTarget", "MainMenu"}},
      {0.5, "MainMenu", "NoSuchPage", false, {"0.50", "1.00", "0.50", "0.00"}, {"Background"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " to " + c.to + FormatString(" by %g", c.dt));
    rig.ShowOnly({"Background", "MainMenu", "Relay"});
    rig.Gui().SetSnow(!c.snow);
    rig.Sound().SetMusicVolume(kVolume);
    rig.pages.Step(c.dt);  // the frame of the click
    rig.pages.events.clear();
    std::vector<float> volumes;
    frontend::SetFrameObserver([&](const frontend::FrameEvent& event) {
      if (!event.drawn) {
        rig.pages.clock.counter += static_cast<std::uint64_t>(c.dt * 1e6);
        return;
      }
      test::ShownPages().push_back(FormatString("%.2f", double(event.overlay)));
      volumes.push_back(rig.Sound().GetMusicVolume());
      // The screen is black while the pages change: nothing of the GUI moves meanwhile.
      EXPECT_EQ(rig.Gui().GetHoverElement(), nullptr);
    });
    SwitchPageWithFade(c.from, c.to, c.snow);
    frontend::SetFrameObserver({});
    EXPECT_EQ(test::ShownPages(), c.timeline);
    EXPECT_EQ(rig.Visible(), c.after);
    EXPECT_EQ(rig.Gui().GetSnow(), c.snow);
    EXPECT_EQ(rig.Sound().GetMusicVolume(), kVolume);
    // Half the volume, exactly, in the frame of full black; full again at the end.
    std::size_t black = 0;
    while (test::ShownPages()[black] != "1.00") ++black;
    ASSERT_LT(black, volumes.size());
    EXPECT_EQ(volumes[black], kVolume * 0.5f);
    EXPECT_EQ(volumes.back(), kVolume);
    // The frame of the click is ended once more before the first frame begins.
    ASSERT_FALSE(rig.pages.events.empty());
    EXPECT_EQ(rig.pages.events.front(), "end frame");
    EXPECT_EQ(rig.pages.events[1], "begin frame");
  }
}

// Without a current camera the bare frame draws only the pages and the overlay; with
// one, the level as queued in 3D first. The 2D frame never sets up 3D.
TEST(PageSwitch, BareFramesDrawTheLevelOnlyWithACamera) {
  test::MenuRig rig;
  N_Camera camera;
  camera.SetProjection(90.0f, 640.0f, 480.0f, 0.0f, 0.0f);
  struct Case {
    N_Camera* camera;
    bool bare;
    Names events;
  };
  // Without a camera the 2D set-up takes the whole window.
  const std::string window =
      FormatString("2D camera %dx%d", g_varMng->GetInt("v_width"), g_varMng->GetInt("v_height"));
  const Case cases[] = {
      {nullptr, true, {"begin frame", window, "end frame"}},
      {&camera, true, {"begin frame", "3D camera", "2D camera 640x480", "end frame"}},
      {&camera, false, {"begin frame", "2D camera 640x480", "end frame"}},
  };
  for (const Case& c : cases) {
    rig.pages.World().SetCurrentCamera(c.camera);
    rig.pages.events.clear();
    if (c.bare) frontend::RunBareFrame(0.5f);
    else frontend::RunFlatFrame();
    EXPECT_EQ(rig.pages.events, c.events);
  }
  rig.pages.World().SetCurrentCamera(nullptr);
}

}  // namespace
