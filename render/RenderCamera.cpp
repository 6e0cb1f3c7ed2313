// N_Render: viewport and transforms for drawing through a camera or in the 640 x 480
// screen units of the 2D mode, and the scissor rectangle.
#include "core/ErrorLog.h"
#include "render/Camera.h"
#include "render/MatrixConvert.h"
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr float kScissorScaleX = 0.0015625f;     // 1/640 as a 32-bit float
constexpr float kScissorScaleY = 0.0020833334f;  // 1/480 as a 32-bit float

D3DVIEWPORT9 ViewportOf(const N_Camera& camera) {
  return {static_cast<DWORD>(camera.viewportX),
          static_cast<DWORD>(camera.viewportY),
          static_cast<DWORD>(camera.viewportWidth),
          static_cast<DWORD>(camera.viewportHeight),
          0.0f,
          1.0f};
}

/// Screen point (x, y) to (x - 320, 240 - y).
N_Matrix4 ScreenView() {
  N_Matrix4 m;  // identity
  m.m[5] = -1.0f;
  m.m[12] = -320.0f;
  m.m[13] = 240.0f;
  return m;
}

/// Right-handed orthographic projection of 639 x 479 units, depth 0..1.
N_Matrix4 ScreenProjection() {
  N_Matrix4 m;
  std::fill(std::begin(m.m), std::end(m.m), 0.0f);
  m.m[0] = 2.0f / 639.0f;
  m.m[5] = 2.0f / 479.0f;
  m.m[10] = -1.0f;  // 1 / (near - far) with near 0, far 1
  m.m[14] = 0.0f;   // near / (near - far)
  m.m[15] = 1.0f;
  return m;
}

/// trunc(value x factor x size), worked out in double as the x87 did.
LONG ScaleToViewport(float value, float factor, std::int32_t size) {
  return static_cast<LONG>(static_cast<double>(value) * static_cast<double>(factor) * static_cast<double>(size));
}

}  // namespace

void N_Render::SetupCamera(N_Camera* camera, std::int32_t is3D) {
  if (is3D != 0) {
    m_device->SetRenderState(D3DRS_ZENABLE, RenderVarInt("r_useWBuffer") != 0 ? D3DZB_USEW : D3DZB_TRUE);
    m_device->SetRenderState(D3DRS_FILLMODE, RenderVarInt("r_grid") != 0 ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
    SetupCamera3D(camera);
    return;
  }
  if (camera == nullptr) return;  // nothing to take the viewport from

  const D3DVIEWPORT9 viewport = ViewportOf(*camera);
  m_device->SetViewport(&viewport);
  m_world = ToD3D(N_Matrix4{});
  m_view = ToD3D(ScreenView());
  m_projection = ToD3D(ScreenProjection());
  m_device->SetTransform(D3DTS_WORLD, &m_world);
  m_device->SetTransform(D3DTS_VIEW, &m_view);
  m_device->SetTransform(D3DTS_PROJECTION, &m_projection);

  N_RenderStateCache& cache = g_renderStateCache;
  if (cache.depthFunction != D3DCMP_LESSEQUAL) {
    m_device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    cache.depthFunction = D3DCMP_LESSEQUAL;
  }
  m_device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
  m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  cache.cull = 1;
  m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
  cache.lighting = FALSE;
  m_device->SetRenderState(D3DRS_FOGENABLE, FALSE);
  m_device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
  cache.alphaFunction = D3DCMP_ALWAYS;
  m_camera = camera;
}

void N_Render::SetupCamera3D(N_Camera* camera) {
  m_camera = camera;
  if (camera == nullptr) {
    if (g_renderServices != nullptr && g_renderServices->errorLog != nullptr) {
      g_renderServices->errorLog->Report(12, "Can't init camera!\n");
    }
    return;
  }
  const D3DVIEWPORT9 viewport = ViewportOf(*camera);
  m_device->SetViewport(&viewport);
  const RECT scissor{camera->viewportX, camera->viewportY, camera->viewportX + camera->viewportWidth,
                     camera->viewportY + camera->viewportHeight};
  m_device->SetScissorRect(&scissor);

  m_projection = ToD3D(camera->projection);
  m_view = ToD3D(camera->view);
  m_device->SetTransform(D3DTS_PROJECTION, &m_projection);
  m_device->SetTransform(D3DTS_VIEW, &m_view);

  // The view read as three rows of (rotation, translation) applied to the point (0, 0, 1).
  const float* v = camera->view.m;
  camera->forward = {v[2] + v[3], v[6] + v[7], v[10] + v[11]};
  camera->viewPlaneDistance = camera->forward.x * camera->position.x + camera->forward.y * camera->position.y +
                              camera->forward.z * camera->position.z;
}

void N_Render::SetScissorRect(std::uint8_t enable, float left, float top, float right, float bottom) {
  if (enable == 0) {
    m_device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    return;
  }
  if (m_camera == nullptr) return;  // no viewport to scale to
  const std::int32_t w = m_camera->viewportWidth;
  const std::int32_t h = m_camera->viewportHeight;
  const RECT rect{ScaleToViewport(left, kScissorScaleX, w), ScaleToViewport(top, kScissorScaleY, h),
                  ScaleToViewport(right, kScissorScaleX, w), ScaleToViewport(bottom, kScissorScaleY, h)};
  m_device->SetScissorRect(&rect);
  m_device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
}
