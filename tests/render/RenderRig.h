#pragma once
// A renderer made by Init on the recording device, with a camera for the set-ups.
#include "core/VarMng.h"
#include "render/Camera.h"
#include "render/Render.h"
#include "render/RenderStateCache.h"
#include "tests/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace test {

class RenderRig {
 public:
  explicit RenderRig(platform::d3d9::RecordingDirect3DConfig config = RecordingRender::DefaultConfig(),
                     RenderMaker make = {})
      : harness(std::move(config), std::move(make)), core(harness.core), render(*harness.render) {
    EXPECT_TRUE(render.Init());
    device = harness.Device();
    device->ClearCalls();
    camera.SetProjection(90.0f, 640.0f, 480.0f, 0.0f, 0.0f);
    NewLog();
  }

  /// A device whose depth buffer has no stencil bits.
  static platform::d3d9::RecordingDirect3DConfig WithoutStencil() {
    auto config = RecordingRender::DefaultConfig();
    config.depthFormats = {D3DFMT_D32, D3DFMT_D16};
    return config;
  }
  /// A device made for software vertex processing.
  static platform::d3d9::RecordingDirect3DConfig Software() {
    auto config = RecordingRender::DefaultConfig();
    config.failingBehaviour = {D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE,
                               D3DCREATE_MIXED_VERTEXPROCESSING};
    return config;
  }

  /// The log written since the last call.
  std::string NewLog() {
    const std::string text = core.LogText();
    const std::string fresh = text.substr(std::min(m_logMark, text.size()));
    m_logMark = text.size();
    return fresh;
  }
  DWORD State(D3DRENDERSTATETYPE state) {
    DWORD value = 0;
    device->GetRenderState(state, &value);
    return value;
  }
  DWORD Stage(DWORD unit, D3DTEXTURESTAGESTATETYPE type) {
    DWORD value = 0;
    device->GetTextureStageState(unit, type, &value);
    return value;
  }

  RecordingRender harness;
  CoreServices& core;
  N_Render& render;
  platform::d3d9::RecordingDevice* device = nullptr;
  N_Camera camera;

 private:
  std::size_t m_logMark = 0;
};

}  // namespace test
