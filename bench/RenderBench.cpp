// Frame rate of the renderer's empty frame (BeginFrame's clears, EndFrame's present) at
// 1024 x 768 on the OpenGL device. Run under Xvfb in CI:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/render_bench
#include "core/BuiltinVars.h"
#include "core/CoreServices.h"
#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "platform/win32/TestWindow.h"
#include "render/Render.h"

#include <benchmark/benchmark.h>

namespace {

void ClearAndPresent(benchmark::State& state) {
  const int width = int(state.range(0)), height = int(state.range(1));
  N_Log log("render_bench.log");
  N_ErrorLog errorLog(&log);
  N_VarMng vars;
  g_log = &log;
  g_errorLog = &errorLog;
  g_varMng = &vars;
  RegisterBuiltinVars();
  const HWND window = platform::CreateTestWindow(width, height);
  vars.SetInt("v_fullscreen", 0, 0);
  vars.SetInt("v_width", width, 0);
  vars.SetInt("v_height", height, 0);
  vars.SetInt("r_swapInterval", 0, 0);
  vars.SetInt("wnd_handle", window, 0);
  N_CoreServices services;
  services.errorLog = &errorLog;
  services.log = &log;
  services.varMng = &vars;
  N_Render* render = nullptr;
  CreateRender(&services, &render);
  if (!window || !render->Init()) {
    state.SkipWithError("no OpenGL device");
  } else {
    for (auto _ : state) {
      render->BeginFrame();
      render->EndFrame();
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    render->Shutdown();
  }
  ReleaseRender(render);
  platform::DestroyTestWindow(window);
  g_varMng = nullptr;
  g_errorLog = nullptr;
  g_log = nullptr;
}

BENCHMARK(ClearAndPresent)->Args({1024, 768})->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
