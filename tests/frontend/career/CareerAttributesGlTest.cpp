// The week's attribute changes on the OpenGL device (Xvfb with Mesa), on a clock the
// test moves: the power gauge is read back from the frame before the present, at the
// animation's first frame and once it shows its new value.
#include "frontend/FrontendFrame.h"
#include "frontend/career/CareerAttributeView.h"
#include "frontend/career/CareerState.h"

#include "core/Globals.h"
#include "core/Timer.h"
#include "gui/GuiProgressBar.h"
#include "tests/race/WorldGlRig.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

using test::WorldGlRig;

class SteppedClock final : public platform::Clock {
 public:
  std::uint64_t PerformanceFrequency() const override { return 1000000; }
  std::uint64_t PerformanceCounter() const override { return counter; }
  std::uint32_t Milliseconds() const override { return 0; }
  std::uint64_t counter = 1000;
};

int Distance(DWORD a, DWORD b) {
  int sum = 0;
  for (int shift : {0, 8, 16}) sum += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
  return sum;
}

TEST(CareerAttributesGl, PowerGaugeGrowsFromTheOldToTheNewLength) {
  WorldGlRig w;
  w.SceneOnly();
  SteppedClock clock;
  N_Timer timer{clock};
  timer.Tick();
  g_timer = &timer;
  w.world->GuiMng().GetPage("Career")->ShowImmediate();
  career::Week() = CareerWeekState{};
  N_CareerProfile& p = career::NewProfile();
  p.maxPower = 100.0f;
  p.power = 50.0f;
  career::AttributeChanges changes{};
  changes[career::kChangePower] = 3.4f;

  auto& gauge = static_cast<N_GuiProgressBar&>(*w.world->GuiMng().GetElement("PowerAtt3", false));
  std::vector<DWORD> first, last;
  int frames = 0;
  frontend::SetFrameObserver([&](const frontend::FrameEvent& event) {
    if (!event.drawn) {
      clock.counter += 15625;
      return;
    }
    ++frames;
    if (first.empty()) first = w.Pixels();
    if (last.empty() && gauge.GetValue() == 53.0f) last = w.Pixels();
  });
  career::ShowCareerAttributeChanges(changes);
  frontend::SetFrameObserver({});
  g_timer = nullptr;
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(last.empty());
  EXPECT_EQ(frames, 128 + 3 * 2 + 64);

  // Along the gauge's middle: filled below 50 % in both, the back beyond 53 % in both,
  // and between the two lengths the back first and the fill (a shaded picture, so
  // only "not the back") at the end.
  const float y = gauge.GetScreenY() + gauge.GetHeight() * 0.5f;
  auto at = [&](const std::vector<DWORD>& pixels, float fraction) {
    return WorldGlRig::At(pixels, int(gauge.GetScreenX() + gauge.GetWidth() * fraction), int(y));
  };
  const DWORD fill = at(first, 0.45f), back = at(first, 0.6f);
  ASSERT_GT(Distance(fill, back), 60) << std::hex << fill << " " << back;
  EXPECT_GT(Distance(at(last, 0.45f), back), 60);
  EXPECT_LT(Distance(at(last, 0.6f), back), 20);
  EXPECT_LT(Distance(at(first, 0.515f), back), 20) << std::hex << at(first, 0.515f);
  EXPECT_GT(Distance(at(last, 0.515f), back), 60) << std::hex << at(last, 0.515f);
  career::DeleteProfile();
}

}  // namespace
