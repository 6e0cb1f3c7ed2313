// The ring of occlusion queries on the recording device (a query's answer is ready
// as soon as it has ended, with the pixel count the device is configured with).
#include "tests/render/RenderRig.h"

#include "render/OcclusionQuery.h"

#include <algorithm>

namespace {

const float kBox[6] = {0, 0, 0, 1, 1, 1};

TEST(OcclusionQuery, PollingCollectsFromTheFirstEntryOn) {
  auto config = test::RecordingRender::DefaultConfig();
  config.device.occlusionResult = 42;
  test::RenderRig rig(config);
  N_OcclusionQuery* ring = rig.render.CreateOcclusionQuery();
  ASSERT_NE(ring, nullptr);

  DWORD count = 7;
  EXPECT_FALSE(ring->GetResult(&count, false));  // nothing issued
  EXPECT_EQ(count, 7u);

  ring->TestBox(kBox);          // entry 0, ended
  EXPECT_EQ(ring->Begin(), 0);  // entry 1, begun only
  EXPECT_TRUE(ring->GetResult(&count, true));
  EXPECT_EQ(count, 42u);
  EXPECT_EQ(ring->End(), 0);  // entry 1 ends now, but entry 0 is free again
  count = 7;
  EXPECT_FALSE(ring->GetResult(&count, false));
  EXPECT_EQ(count, 7u);
  EXPECT_EQ(ring->End(), 1);  // nothing begun
  rig.render.DestroyOcclusionQuery(&ring);
  EXPECT_EQ(ring, nullptr);
}

TEST(OcclusionQuery, AFullRingStillDrawsInvisibly) {
  test::RenderRig rig;
  N_OcclusionQuery* ring = rig.render.CreateOcclusionQuery();
  ASSERT_NE(ring, nullptr);
  for (int i = 0; i < N_OcclusionQuery::kEntries; ++i) ring->Begin();
  EXPECT_EQ(ring->Begin(), 1);

  g_renderStateCache.depthFunction = D3DCMP_GREATER;
  g_renderStateCache.depthWrite = 0;
  rig.device->ClearCalls();
  ring->TestPoint(kBox, 4.0f);  // the 31st test
  const auto& calls = rig.device->Calls();
  const auto at = [&calls](const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) - calls.begin();
  };
  const auto draw = at("DrawPrimitiveUP(1, 1, 28)");
  ASSERT_LT(draw, std::ptrdiff_t(calls.size()));
  EXPECT_LT(at("SetRenderState(168, 0)"), draw);   // colour writes off
  EXPECT_LT(at("SetRenderState(14, 0)"), draw);    // depth writes off
  EXPECT_LT(at("SetRenderState(23, 4)"), draw);    // depth test LESSEQUAL
  EXPECT_GT(at("SetRenderState(168, 15)"), draw);  // colour writes back
  EXPECT_GT(at("SetRenderState(14, 1)"), draw);
  EXPECT_EQ(rig.State(D3DRS_ZFUNC), DWORD(D3DCMP_LESSEQUAL));
  EXPECT_EQ(g_renderStateCache.depthFunction, DWORD(D3DCMP_LESSEQUAL));
  EXPECT_EQ(g_renderStateCache.depthWrite, 1u);

  // The End after it ended the lowest begun entry: one result is ready.
  DWORD count = 0;
  EXPECT_TRUE(ring->GetResult(&count, false));
  rig.render.DestroyOcclusionQuery(&ring);
}

TEST(OcclusionQuery, ARingWithoutAllItsQueriesIsNotMade) {
  auto config = test::RecordingRender::DefaultConfig();
  config.device.failingCalls.insert("CreateQuery");
  test::RenderRig rig(config);
  EXPECT_EQ(rig.render.CreateOcclusionQuery(), nullptr);

  // Used anyway, a ring of missing queries issues nothing and never reports.
  N_OcclusionQuery ring(&rig.render, rig.device);
  EXPECT_FALSE(ring.IsMade());
  EXPECT_EQ(ring.Begin(), 1);
  ring.TestBox(kBox);
  DWORD count = 5;
  EXPECT_FALSE(ring.GetResult(&count, true));
  EXPECT_EQ(count, 5u);
}

}  // namespace
