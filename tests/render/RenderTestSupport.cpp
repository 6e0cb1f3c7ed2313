#include "tests/render/RenderTestSupport.h"

#include "core/VarMng.h"
#include "platform/d3d9.h"
#include "render/RenderServices.h"

#include <cstdio>
#include <sstream>

namespace test {

platform::d3d9::RecordingDirect3DConfig RecordingRender::DefaultConfig() {
  platform::d3d9::RecordingDirect3DConfig config;
  config.device = platform::d3d9::DefaultRecordingDeviceConfig();
  std::snprintf(config.identifier.Description, sizeof config.identifier.Description, "Recording adapter");
  std::snprintf(config.identifier.DeviceName, sizeof config.identifier.DeviceName, "recorder");
  std::snprintf(config.identifier.Driver, sizeof config.identifier.Driver, "record.drv");
  return config;
}

RecordingRender::RecordingRender(platform::d3d9::RecordingDirect3DConfig config, RenderMaker make)
    : m_d3d(new platform::d3d9::RecordingDirect3D(std::move(config))) {
  core.vars->SetInt("v_fullscreen", 0, 0);
  core.vars->SetInt("wnd_handle", 1, 0);
  services.errorLog = core.errorLog.get();
  services.log = core.log.get();
  services.varMng = core.vars.get();
  auto* d3d = m_d3d;
  platform::SetDirect3DFactory([d3d](UINT) {
    d3d->AddRef();
    return d3d;
  });
  CreateRender(&services, &render);
  if (make) {
    // The module's services stay as CreateRender made them, with the subclass in them.
    delete render;
    render = make();
    g_renderServicesCopy.render = render;
  }
}

RecordingRender::~RecordingRender() {
  // As the application does: Shutdown also after an Init that failed, which keeps the
  // Direct3D object it was handed.
  render->Shutdown();
  ReleaseRender(render);
  platform::SetDirect3DFactory(nullptr);
  m_d3d->Release();
}

std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
  }
  return lines;
}

}  // namespace test
