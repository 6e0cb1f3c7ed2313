// Presentation, device loss and reset, and video-mode changes.
#include "core/ErrorLog.h"
#include "render/IndexBuffer.h"
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"
#include "render/VertexBuffer.h"

bool N_Render::EndFrame() {
  g_renderStateCache.currentShader = nullptr;  // the next frame's first SetShader binds anew
  m_device->EndScene();
  if (m_device->Present(nullptr, nullptr, 0, nullptr) == D3DERR_DEVICELOST) {
    if (m_device->TestCooperativeLevel() == D3DERR_DEVICENOTRESET) {
      RestoreDevice();
    } else {
      m_deviceLost = true;
    }
  }
  return true;
}

void N_Render::RestoreDevice() {
  m_device->EndScene();
  for (N_IndexBuffer* buffer : m_indexBuffers) buffer->ReleaseDeviceBuffer();
  for (N_VertexBuffer* buffer : m_vertexBuffers) buffer->ReleaseDeviceBuffer();
  NotifyEffects(false);
  if (m_offscreenSurface) m_offscreenSurface->Release();
  if (m_offscreenTexture) m_offscreenTexture->Release();
  m_offscreenSurface = nullptr;
  m_offscreenTexture = nullptr;
  // A reset that fails for another reason goes on: the resources come back and the flag
  // clears, and the device answers "lost" at a later present, which starts this again.
  if (m_device->Reset(&m_presentParams) == D3DERR_DEVICELOST) {
    g_renderServices->errorLog->Critical(0, "D3D Device couldn't be restored!");
  }
  for (UINT i = 0; i < m_presentParams.BackBufferCount; ++i) {
    IDirect3DSurface9* backBuffer = nullptr;
    if (SUCCEEDED(m_device->GetBackBuffer(0, i, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) && backBuffer) {
      backBuffer->Release();
    }
  }
  for (N_IndexBuffer* buffer : m_indexBuffers) buffer->Restore();
  for (N_VertexBuffer* buffer : m_vertexBuffers) buffer->Restore();
  NotifyEffects(true);
  CreateOffscreenTarget();
  SetDefaultRenderStates(m_device);
  m_deviceLost = false;
}

void N_Render::ApplyVideoMode() {
  if (!m_d3d || !m_device) return;
  const D3DFORMAT adapterFormat = AdapterFormat();
  D3DFORMAT depthFormat = D3DFMT_UNKNOWN;
  if (!ChooseDepthStencilFormat(adapterFormat, depthFormat)) {
    RenderPrint("!!! Error: Couldn't find any suitable depth-stencil buffer format\n");
    return;
  }
  FillPresentParameters(adapterFormat, depthFormat);
  ApplyWindowStyle();
  RestoreDevice();
}
