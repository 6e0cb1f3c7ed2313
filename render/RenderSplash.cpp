// N_Render::ShowSplashImage: the start-up picture, a DDS resource of the program.
#include "platform/d3dx9.h"
#include "render/Render.h"

namespace {

/// The best filter the device's stretch copies offer: linear, else point, else none.
D3DTEXTUREFILTERTYPE SplashFilter(DWORD stretchCaps) {
  const auto has = [stretchCaps](DWORD bits) { return (stretchCaps & bits) == bits; };
  if (has(D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFLINEAR)) return D3DTEXF_LINEAR;
  if (has(D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MAGFPOINT)) return D3DTEXF_POINT;
  return D3DTEXF_NONE;
}

}  // namespace

void N_Render::ShowSplashImage(std::uint16_t resourceId) {
  if (!m_device) return;
  m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00000000, 0.0f, 0);  // black, depth 0
  D3DXIMAGE_INFO info{};
  if (FAILED(D3DXGetImageInfoFromResourceA(0, MAKEINTRESOURCEA(resourceId), &info))) return;

  IDirect3DSurface9* backBuffer = nullptr;
  if (FAILED(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer))) return;
  D3DSURFACE_DESC desc{};
  backBuffer->GetDesc(&desc);
  IDirect3DSurface9* picture = nullptr;
  if (FAILED(m_device->CreateOffscreenPlainSurface(info.Width, info.Height, desc.Format, D3DPOOL_DEFAULT, &picture,
                                                   nullptr))) {
    backBuffer->Release();
    return;
  }
  if (SUCCEEDED(D3DXLoadSurfaceFromResourceA(picture, nullptr, nullptr, 0, MAKEINTRESOURCEA(resourceId), nullptr,
                                             D3DX_FILTER_NONE, 0, nullptr))) {
    m_device->StretchRect(picture, nullptr, backBuffer, nullptr, SplashFilter(m_caps.StretchRectFilterCaps));
    m_device->Present(nullptr, nullptr, 0, nullptr);
  }
  picture->Release();
  backBuffer->Release();
}
