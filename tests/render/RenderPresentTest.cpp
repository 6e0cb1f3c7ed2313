// End of frame, device loss and restore, over the recording device.
#include "render/IndexBuffer.h"
#include "render/Render.h"
#include "render/RenderStateCache.h"
#include "render/VertexBuffer.h"
#include "tests/render/RenderTestSupport.h"

#include <gtest/gtest.h>

namespace {

using test::RecordingRender;

TEST(RenderPresent, EndFrameRestoresALostDeviceWhenItCanBeReset) {
  struct Case {
    const char* name;
    HRESULT present, cooperative, reset;
    bool restored, lostAfter;
  };
  const Case cases[] = {
      {"presented", D3D_OK, D3D_OK, D3D_OK, false, false},
      {"lost, not resettable yet", D3DERR_DEVICELOST, D3DERR_DEVICELOST, D3D_OK, false, true},
      {"lost, resettable", D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET, D3D_OK, true, false},
      // A reset failing for another reason still restores and clears the flag.
      {"reset refused", D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET, D3DERR_INVALIDCALL, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingRender harness;
    ASSERT_TRUE(harness.render->Init());
    N_VertexBuffer* dynamicVb = harness.render->CreateVertexBuffer(8, 4, 2);
    N_IndexBuffer* dynamicIb = harness.render->CreateIndexBuffer(101, 4, 2);
    N_VertexBuffer* staticVb = harness.render->CreateVertexBuffer(8, 4, 1);
    IDirect3DVertexBuffer9* staticBefore = staticVb->DeviceBuffer();
    IDirect3DVertexBuffer9* dynamicBefore = dynamicVb->DeviceBuffer();
    auto& config = harness.Device()->Config();
    config.presentResult = c.present;
    config.cooperativeLevel = c.cooperative;
    config.resetResult = c.reset;
    g_renderStateCache.currentShader = reinterpret_cast<N_Shader*>(&harness);
    harness.render->BeginFrame();
    harness.Device()->ClearCalls();
    EXPECT_TRUE(harness.render->EndFrame());
    EXPECT_EQ(g_renderStateCache.currentShader, nullptr) << "the next frame binds its first shader anew";
    EXPECT_EQ(harness.render->IsDeviceLost(), c.lostAfter);
    EXPECT_EQ(harness.Calls("Reset(").size(), c.restored ? 1u : 0u);
    if (c.restored) {
      EXPECT_NE(dynamicVb->DeviceBuffer(), nullptr);
      EXPECT_NE(dynamicIb->DeviceBuffer(), nullptr);
      EXPECT_NE(dynamicVb->DeviceBuffer(), dynamicBefore) << "a new, empty device copy";
      EXPECT_EQ(harness.Calls("CreateRenderTarget").size(), 1u) << "the offscreen target is made again";
      EXPECT_EQ(harness.Calls("GetBackBuffer(0, 0").size(), 2u) << "the back buffers are fetched and released";
    }
    EXPECT_EQ(staticVb->DeviceBuffer(), staticBefore) << "a managed buffer is never touched";
  }
}

TEST(RenderPresent, RestoreWalksIndexBuffersBeforeVertexBuffersAndResetsTheStates) {
  RecordingRender harness;
  harness.core.vars->SetInt("v_trippleBuffering", 1, 0);
  ASSERT_TRUE(harness.render->Init());
  harness.render->CreateVertexBuffer(8, 4, 2);
  harness.render->CreateIndexBuffer(101, 4, 2);
  harness.Device()->ClearCalls();
  harness.render->RestoreDevice();
  std::vector<std::string> order;
  for (const std::string& call : harness.Device()->Calls()) {
    for (const char* name : {"Reset(", "GetBackBuffer(", "CreateIndexBuffer(", "CreateVertexBuffer(",
                             "CreateRenderTarget(", "SetRenderState(137"}) {
      if (call.rfind(name, 0) == 0) order.push_back(name);
    }
  }
  // Two back buffers fetched and released after the reset; the last GetBackBuffer reads the
  // size for the new offscreen target.
  const std::vector<std::string> expected = {"Reset(",           "GetBackBuffer(",     "GetBackBuffer(",
                                             "CreateIndexBuffer(", "CreateVertexBuffer(", "GetBackBuffer(",
                                             "CreateRenderTarget(", "SetRenderState(137"};
  EXPECT_EQ(order, expected);
}

TEST(RenderPresentDeathTest, AResetThatReportsTheDeviceLostEndsTheProgram) {
  RecordingRender harness;
  ASSERT_TRUE(harness.render->Init());
  harness.Device()->Config().resetResult = D3DERR_DEVICELOST;
  EXPECT_EXIT(harness.render->RestoreDevice(), ::testing::ExitedWithCode(255), "");
  EXPECT_NE(harness.Log().find("*** D3D Device couldn't be restored!"), std::string::npos);
}

TEST(RenderPresent, ApplyVideoModeDoesNothingWithoutADevice) {
  RecordingRender harness;
  harness.render->ApplyVideoMode();  // before Init
  ASSERT_TRUE(harness.render->Init());
  harness.render->Shutdown();
  harness.render->ApplyVideoMode();  // after Shutdown
  EXPECT_EQ(harness.render->Device(), nullptr);
}

TEST(RenderPresent, ApplyVideoModeWithoutADepthFormatChangesNothing) {
  RecordingRender harness;
  ASSERT_TRUE(harness.render->Init());
  const D3DPRESENT_PARAMETERS before = harness.render->PresentParameters();
  harness.Direct3D().Config().depthFormats.clear();
  harness.core.vars->SetInt("v_trippleBuffering", 1, 0);
  harness.Device()->ClearCalls();
  harness.render->ApplyVideoMode();
  EXPECT_EQ(harness.render->PresentParameters().BackBufferCount, before.BackBufferCount);
  EXPECT_TRUE(harness.Calls("Reset(").empty());
  EXPECT_NE(harness.Log().find("!!! Error: Couldn't find any suitable depth-stencil buffer format\n"),
            std::string::npos);
}

TEST(RenderPresent, GammaRampEntries) {
  RecordingRender harness;
  ASSERT_TRUE(harness.render->Init());
  struct Case {
    float gamma, brightness, contrast;
    int index;
    WORD entry;
  };
  const Case cases[] = {
      {1.0f, 0.0f, 1.0f, 255, 65279}, {1.0f, 0.0f, 1.0f, 128, 32768}, {0.0f, 0.0f, 1.0f, 255, 65279},
      {1.0f, 1.0f, 1.0f, 0, 65535},   {2.0f, 0.0f, 1.0f, 64, 32768},  {1.0f, -0.5f, 1.0f, 10, 0},
  };
  for (const Case& c : cases) {
    harness.render->SetGamma(c.gamma, c.brightness, c.contrast, 1);
    const D3DGAMMARAMP& ramp = harness.Device()->GammaRamp();
    EXPECT_EQ(ramp.red[c.index], c.entry) << c.gamma << " " << c.brightness << " " << c.index;
    EXPECT_EQ(ramp.blue[c.index], c.entry);
    EXPECT_EQ(harness.Device()->GammaFlags(), D3DSGR_CALIBRATE);
  }
}

}  // namespace
