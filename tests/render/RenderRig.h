#pragma once
// A renderer on the recording device, with the core services of a test behind it.
#include "platform/d3d9/RecordingDevice.h"
#include "render/Render.h"
#include "render/RenderModule.h"
#include "render/RenderStateCache.h"
#include "scene/Camera.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <string>

namespace test {

class RenderRig {
 public:
  explicit RenderRig(DWORD stencilBits = 8,
                     platform::d3d9::RecordingDeviceConfig config = platform::d3d9::DefaultRecordingDeviceConfig()) {
    g_renderModule.services.log = core.log.get();
    g_renderModule.services.errorLog = core.errorLog.get();
    g_renderModule.services.varMng = core.vars.get();
    D3DPRESENT_PARAMETERS params{};
    params.Windowed = TRUE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = stencilBits != 0 ? D3DFMT_D24S8 : D3DFMT_D16;
    device = new platform::d3d9::RecordingDevice(config, params);
    render.AttachDevice(nullptr, device, stencilBits);
    device->ClearCalls();
    camera.SetProjection(90.0f, 640.0f, 480.0f, 0.0f, 0.0f);
  }
  ~RenderRig() {
    g_renderModule.services = {};
    device->Release();
  }
  RenderRig(const RenderRig&) = delete;
  RenderRig& operator=(const RenderRig&) = delete;

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

  TempDir dir;
  CoreServices core;
  platform::d3d9::RecordingDevice* device = nullptr;
  N_Render render;
  N_Camera camera;

 private:
  std::size_t m_logMark = 0;
};

}  // namespace test
