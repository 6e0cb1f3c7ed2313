#include "fuzz/RecordingRenderer.h"

#include "core/CoreServices.h"
#include "core/Globals.h"
#include "core/VarMng.h"
#include "fuzz/FuzzSupport.h"
#include "platform/d3d9.h"

namespace fuzz {

namespace {

platform::d3d9::RecordingDirect3D* g_direct3D = nullptr;

N_Render* MakeRenderer() {
  platform::d3d9::RecordingDirect3DConfig config;
  config.device = platform::d3d9::DefaultRecordingDeviceConfig();
  g_direct3D = new platform::d3d9::RecordingDirect3D(std::move(config));
  platform::SetDirect3DFactory([](UINT) {
    g_direct3D->AddRef();
    return g_direct3D;
  });
  g_varMng->SetInt("v_fullscreen", 0, 0);
  g_varMng->SetInt("wnd_handle", 1, 0);
  static N_CoreServices services;
  services.errorLog = g_errorLog;
  services.log = g_log;
  services.varMng = g_varMng;
  N_Render* render = nullptr;
  CreateRender(&services, &render);
  Check(render && render->Init(), "the recording renderer did not start");
  return render;
}

}  // namespace

N_Render& RecordingRenderer() {
  static N_Render* const render = MakeRenderer();
  return *render;
}

void ForgetCalls() {
  if (g_direct3D && g_direct3D->LastDevice()) g_direct3D->LastDevice()->ClearCalls();
}

platform::d3d9::RecordingDevice& RecordingDeviceOf() {
  RecordingRenderer();
  Check(g_direct3D->LastDevice() != nullptr, "the recording renderer has no device");
  return *g_direct3D->LastDevice();
}

}  // namespace fuzz
