#include "bench/BenchRenderer.h"

#include "core/BuiltinVars.h"
#include "core/Globals.h"
#include "platform/win32/TestWindow.h"
#include "render/TexInfo.h"

BenchRenderer::BenchRenderer(int width, int height, const char* logName) : log(logName), errorLog(&log) {
  g_log = &log;
  g_errorLog = &errorLog;
  g_varMng = &vars;
  RegisterBuiltinVars();
  window = platform::CreateTestWindow(width, height);
  vars.SetInt("v_fullscreen", 0, 0);
  vars.SetInt("v_width", width, 0);
  vars.SetInt("v_height", height, 0);
  vars.SetInt("r_swapInterval", 0, 0);
  vars.SetInt("wnd_handle", window, 0);
  services.errorLog = &errorLog;
  services.log = &log;
  services.varMng = &vars;
  CreateRender(&services, &render);
  ready = window && render->Init();
}

BenchRenderer::~BenchRenderer() {
  for (IDirect3DTexture9* texture : m_textures) texture->Release();
  if (render->Device()) render->Shutdown();
  ReleaseRender(render);
  platform::DestroyTestWindow(window);
  g_varMng = nullptr;
  g_errorLog = nullptr;
  g_log = nullptr;
}

TexInfo* BenchRenderer::Texture(UINT size, DWORD colour) {
  IDirect3DTexture9* texture = nullptr;
  if (FAILED(render->Device()->CreateTexture(size, size, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr))) {
    return nullptr;
  }
  D3DLOCKED_RECT locked{};
  texture->LockRect(0, &locked, nullptr, 0);
  for (UINT y = 0; y < size; ++y) {
    auto* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
    for (UINT x = 0; x < size; ++x) row[x] = colour;
  }
  texture->UnlockRect(0);
  m_textures.push_back(texture);
  m_records.push_back(std::make_unique<TexInfo>());
  m_records.back()->texture = platform::TextureHandleOf(texture);
  return m_records.back().get();
}
