#pragma once
// The renderer on the OpenGL device in a window of its own, with the core services
// behind the globals, for the benchmarks (run under Xvfb).
#include "core/CoreServices.h"
#include "core/ErrorLog.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "platform/d3d9.h"
#include "render/Render.h"

#include <cstdint>
#include <memory>
#include <vector>

struct TexInfo;

class BenchRenderer {
 public:
  /// A window of width x height with no swap interval; `ready` says whether it all worked.
  BenchRenderer(int width, int height, const char* logName);
  ~BenchRenderer();
  BenchRenderer(const BenchRenderer&) = delete;
  BenchRenderer& operator=(const BenchRenderer&) = delete;

  /// A texture of one colour, with its record; null when the device refuses.
  TexInfo* Texture(UINT size, DWORD colour);

  N_Log log;
  N_ErrorLog errorLog;
  N_VarMng vars;
  HWND window = 0;
  N_CoreServices services;
  N_Render* render = nullptr;
  bool ready = false;

 private:
  std::vector<IDirect3DTexture9*> m_textures;
  std::vector<std::unique_ptr<TexInfo>> m_records;
};
