// N_Render: the stencil pass of a shadow volume. The volume's faces count into the
// stencil buffer (front faces up, back faces down, or the reverse: only non-zero
// matters); the shadow overlay later darkens every marked pixel.
#include "render/IndexBuffer.h"
#include "render/MeshSurface.h"
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"

void N_Render::DrawShadowTriangles(const N_MeshSurface& surface, std::uint32_t triangles) {
  if (surface.DrawsFromBuffers() && surface.indexBuffer) {
    m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, surface.vertexCount, 0, triangles);
    return;
  }
  m_device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, surface.vertexCount, triangles, surface.indices,
                                   D3DFMT_INDEX16, surface.vertices, kSurfaceVertexSize);
  g_renderStateCache.ForgetStreams();
}

void N_Render::DrawShadowVolume(N_MeshSurface* surface, const N_Vector3& position, const N_Matrix3& rotation,
                                float) {
  if (RenderVarInt("r_shadowsEnabled") == 0 || m_stencilBits == 0) return;
  // An empty silhouette has nothing to mark: the states are left alone too.
  const std::uint32_t triangles = surface ? surface->indexCount / 3u : 0u;
  if (triangles == 0 || surface->vertexCount == 0 || m_deviceLost) return;
  N_RenderStateCache& cache = g_renderStateCache;
  m_stencilMayBeMarked = true;
  SetWorldFromRotation(position, rotation);

  // Unit 0 off with nothing bound: the cache's "none" holds on the device.
  m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
  m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
  m_device->SetTexture(0, nullptr);
  cache.boundTexture[0] = -1;

  m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  m_device->SetRenderState(D3DRS_FOGENABLE, FALSE);
  m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
  cache.lighting = FALSE;
  m_device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
  m_device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
  m_device->SetRenderState(D3DRS_STENCILREF, 0);
  m_device->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  m_device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
  cache.sourceBlend = D3DBLEND_ONE;
  cache.destinationBlend = D3DBLEND_ZERO;

  if (m_softwareVertexProcessing) {
    m_device->SetFVF(kSurfaceFvf);
  } else if (!m_shadowDeclCurrent) {
    SetVertexDecl(BuiltInDeclaration(BuiltInDecl::SurfaceWithoutColor));
    m_shadowDeclCurrent = true;
  }
  if (surface->DrawsFromBuffers()) {
    if (surface->binding) {
      ApplyVertexBufferBinding(surface->binding);
      cache.streamBinding = surface->binding;
    }
    if (surface->indexBuffer) {
      m_device->SetIndices(surface->indexBuffer->DeviceBuffer());
      cache.indexBuffer = surface->indexBuffer;
    }
  }

  if (m_caps.StencilCaps & D3DSTENCILCAPS_TWOSIDED) {
    m_device->SetRenderState(D3DRS_TWOSIDEDSTENCILMODE, TRUE);
    m_device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_DECR);
    m_device->SetRenderState(D3DRS_CCW_STENCILPASS, D3DSTENCILOP_INCR);
    m_device->SetRenderState(D3DRS_CCW_STENCILFUNC, D3DCMP_ALWAYS);
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    DrawShadowTriangles(*surface, triangles);
    m_device->SetRenderState(D3DRS_TWOSIDEDSTENCILMODE, FALSE);
    m_device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    m_polygonCount += triangles;
  } else {
    m_device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_INCR);
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    DrawShadowTriangles(*surface, triangles);
    m_device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_DECR);
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    DrawShadowTriangles(*surface, triangles);
    m_device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
    m_polygonCount += 2 * triangles;
  }
  cache.cull = -1;  // clockwise faces stay culled

  m_device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
  m_device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  m_device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
  cache.depthWrite = 1;
}
