// N_Render::ShowSplashImage over the recording device: the order of its steps, the
// stretch filter by the device's capabilities, and the silent stops.
#include "platform/d3d9.h"
#include "render/Render.h"
#include "tests/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using test::RecordingRender;

/// The calls of the splash that matter, in order, each cut before its arguments
/// where those name objects.
std::vector<std::string> SplashCalls(RecordingRender& harness) {
  std::vector<std::string> out;
  for (const std::string& call : harness.Device()->Calls()) {
    for (const char* prefix : {"Clear(", "CreateOffscreenPlainSurface(", "StretchRect(", "Present("}) {
      if (call.rfind(prefix, 0) != 0) continue;
      out.push_back(call.rfind("StretchRect(", 0) == 0 ? "StretchRect filter " + call.substr(call.size() - 2, 1)
                                                       : call);
    }
  }
  return out;
}

TEST(RenderSplash, StretchesTheResourceWithTheBestFilterTheDeviceOffers) {
  struct Case {
    const char* name;
    DWORD caps;
    const char* filter;
  };
  const Case cases[] = {
      {"linear", D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFLINEAR | D3DPTFILTERCAPS_MINFPOINT |
                     D3DPTFILTERCAPS_MAGFPOINT, "2"},
      {"linear minification only", D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MINFPOINT |
                                       D3DPTFILTERCAPS_MAGFPOINT, "1"},
      {"point", D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MAGFPOINT, "1"},
      {"none", D3DPTFILTERCAPS_MAGFLINEAR, "0"},
  };
  for (const Case& c : cases) {
    auto config = RecordingRender::DefaultConfig();
    config.device.caps.StretchRectFilterCaps = c.caps;
    RecordingRender harness(config);
    ASSERT_TRUE(harness.render->Init());
    harness.Device()->ClearCalls();
    harness.render->ShowSplashImage(116);
    const std::vector<std::string> expected = {"Clear(0, 0x3, 0x00000000, 0, 0)",
                                               "CreateOffscreenPlainSurface(800, 600, 22, 0)",
                                               std::string("StretchRect filter ") + c.filter, "Present()"};
    EXPECT_EQ(SplashCalls(harness), expected) << c.name;
  }
}

TEST(RenderSplash, StopsSilentlyAtAFailingStep) {
  {
    RecordingRender harness;
    ASSERT_TRUE(harness.render->Init());
    harness.Device()->ClearCalls();
    harness.render->ShowSplashImage(117);  // no such resource
    EXPECT_EQ(SplashCalls(harness), std::vector<std::string>{"Clear(0, 0x3, 0x00000000, 0, 0)"});
  }
  {
    auto config = RecordingRender::DefaultConfig();
    config.device.failingCalls.insert("CreateOffscreenPlainSurface");
    RecordingRender harness(config);
    ASSERT_TRUE(harness.render->Init());
    harness.Device()->ClearCalls();
    harness.render->ShowSplashImage(116);
    EXPECT_EQ(SplashCalls(harness).size(), 2u);  // the clear and the refused surface
    EXPECT_TRUE(harness.Calls("Present").empty());
  }
}

}  // namespace
