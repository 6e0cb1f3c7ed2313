#include "tests/support/GlRender.h"

#include "core/VarMng.h"
#include "platform/win32/TestWindow.h"
#include "render/RenderServices.h"
#include "render/TexInfo.h"

namespace test {

GlRender::GlRender(int width, int height) : m_width(width), m_height(height) {
  window = platform::CreateTestWindow(width, height);
  EXPECT_NE(window, 0);
  SetUpRenderServices(core, services, window, width, height);
}

GlRender::~GlRender() {
  Stop();
  platform::DestroyTestWindow(window);
}

void GlRender::Stop() {
  for (IDirect3DTexture9* texture : m_textures) texture->Release();
  m_textures.clear();
  if (renderObject) {
    if (renderObject->Device()) renderObject->Shutdown();
    ReleaseRender(renderObject);
  }
  renderObject = nullptr;
  device = nullptr;
}

bool GlRender::Start(const std::function<N_Render*()>& make) {
  CreateRender(&services, &renderObject);
  if (make) {
    delete renderObject;
    renderObject = make();
    g_renderServicesCopy.render = renderObject;
  }
  const bool ready = renderObject->Init();
  EXPECT_TRUE(ready);
  device = renderObject->Device();
  return ready;
}

TexInfo* GlRender::Texture(int width, int height, const std::vector<DWORD>& texels) {
  IDirect3DTexture9* texture = nullptr;
  EXPECT_EQ(device->CreateTexture(UINT(width), UINT(height), 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
            D3D_OK);
  D3DLOCKED_RECT locked{};
  texture->LockRect(0, &locked, nullptr, 0);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
    for (int x = 0; x < width; ++x) row[x] = texels[std::size_t(y * width + x)];
  }
  texture->UnlockRect(0);
  m_textures.push_back(texture);
  TexInfo& record = m_records.emplace_back();
  record.texture = platform::TextureHandleOf(texture);
  return &record;
}

std::vector<DWORD> GlRender::Pixels() {
  std::vector<DWORD> pixels;
  IDirect3DSurface9* surface = nullptr;
  if (!device || FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface)) || !surface) return pixels;
  D3DLOCKED_RECT locked{};
  if (SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
    for (int y = 0; y < m_height; ++y) {
      const auto* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
      for (int x = 0; x < m_width; ++x) pixels.push_back(row[x] & 0xFFFFFF);
    }
    surface->UnlockRect();
  }
  surface->Release();
  return pixels;
}

DWORD GlRender::Pixel(int x, int y) {
  const std::vector<DWORD> pixels = Pixels();
  const std::size_t at = std::size_t(y) * std::size_t(m_width) + std::size_t(x);
  return at < pixels.size() ? pixels[at] : 0xDEADBEEF;
}

void SetUpRenderServices(CoreServices& core, N_CoreServices& services, HWND window, int width, int height) {
  core.vars->SetInt("v_fullscreen", 0, 0);
  core.vars->SetInt("v_width", width, 0);
  core.vars->SetInt("v_height", height, 0);
  core.vars->SetInt("wnd_handle", window, 0);
  services.errorLog = core.errorLog.get();
  services.log = core.log.get();
  services.varMng = core.vars.get();
}

}  // namespace test
