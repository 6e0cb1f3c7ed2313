// N_Render: points, lines, wire and solid boxes and the fade quad, drawn straight from
// the renderer's own vertex records without shaders or GPU buffers. Each draw sets
// what it needs and leaves the render-state cache matching the device.
#include "core/OrientedBox.h"
#include "render/Camera.h"
#include "render/FloatBits.h"
#include "render/MatrixConvert.h"
#include "render/PackedColor.h"
#include "render/Render.h"
#include "render/RenderStateCache.h"

#include <cstring>

namespace {

constexpr DWORD kPointFvf = D3DFVF_XYZ | D3DFVF_PSIZE | D3DFVF_DIFFUSE;                   // 0x62
constexpr DWORD kLineFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;                                   // 0x42

/// Corner pairs of the 12 box edges: the minimum-z face, the maximum-z face, then the
/// four edges parallel to z. Corner i: bit-wise (min/max x, min/max y) around a face,
/// 0-3 at minimum z and 4-7 at maximum z.
constexpr int kEdges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                               {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};

/// The solid box: twelve triangles over the same corner numbering.
constexpr WORD kBoxIndices[36] = {0, 1, 5, 0, 5, 4, 1, 2, 6, 1, 6, 5, 2, 3, 6, 3, 7, 6,
                                  3, 0, 4, 3, 4, 7, 4, 5, 6, 4, 6, 7, 0, 2, 1, 0, 3, 2};

void BoxCorners(const float* box, N_Vector3* corners) {
  const float x[2] = {box[0], box[3]}, y[2] = {box[1], box[4]}, z[2] = {box[2], box[5]};
  static constexpr int kXSide[4] = {0, 1, 1, 0};
  static constexpr int kYSide[4] = {0, 0, 1, 1};
  for (int i = 0; i < 8; ++i) corners[i] = {x[kXSide[i % 4]], y[kYSide[i % 4]], z[i / 4]};
}

void SetColour(float* out, const float* colour, bool packed) {
  std::memcpy(out, colour, 3 * sizeof(float));
  // The flexible vertex format reads a packed colour where the first float lies.
  if (packed) {
    const std::uint32_t argb = PackArgb(0xFF, colour[0], colour[1], colour[2]);
    std::memcpy(out, &argb, sizeof argb);
  }
}

}  // namespace

void N_Render::BeginImmediateDraw() {
  m_world = ToD3D(N_Matrix4{});
  m_device->SetTransform(D3DTS_WORLD, &m_world);
  // The program goes: the next SetShader binds in full, even the shader still current
  // (a deformed mesh drawn after a skeleton line would otherwise lose its program).
  if (m_vertexProgramBound && MixedVertexProcessing()) m_device->SetSoftwareVertexProcessing(FALSE);
  m_vertexProgramBound = false;
  m_shaderRebind = true;
  m_device->SetVertexShader(nullptr);
  m_device->SetPixelShader(nullptr);
  m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
  m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
  g_renderStateCache.boundTexture[0] = -1;
  g_renderStateCache.ForgetStreams();  // the UP draws leave stream 0 and the indices unset
}

void N_Render::UseImmediateFormat(DWORD fvf, N_VertexDecl* declaration) {
  if (m_softwareVertexProcessing) {
    m_device->SetFVF(fvf);
  } else {
    SetVertexDecl(declaration);
  }
}

void N_Render::DrawPoint(const float* position, float size, const float* colour) {
  N_PointVertex& v = m_immediate.point;
  std::memcpy(v.position, position, sizeof v.position);
  v.size = size;
  SetColour(v.colour, colour, m_softwareVertexProcessing);
  BeginImmediateDraw();
  UseImmediateFormat(kPointFvf, BuiltInDeclaration(BuiltInDecl::Point));
  m_device->SetRenderState(D3DRS_POINTSIZE, FloatBits(size));
  m_device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &v, sizeof v);
  m_shadowDeclCurrent = false;
}

void N_Render::DrawPointXYZ(float x, float y, float z, float size, const float* colour) {
  const float position[3] = {x, y, z};
  DrawPoint(position, size, colour);
}

void N_Render::DrawLine(const float* from, const float* to, const float* colour, float /*width*/) {
  N_LineVertex* v = m_immediate.lines.data();
  std::memcpy(v[0].position, from, sizeof v[0].position);
  std::memcpy(v[1].position, to, sizeof v[1].position);
  SetColour(v[0].colour, colour, m_softwareVertexProcessing);
  SetColour(v[1].colour, colour, m_softwareVertexProcessing);
  DrawLines(1);
}

void N_Render::DrawLineXYZ(float x1, float y1, float z1, float x2, float y2, float z2, const float* colour,
                           float width) {
  const float from[3] = {x1, y1, z1};
  const float to[3] = {x2, y2, z2};
  DrawLine(from, to, colour, width);
}

void N_Render::DrawWireBox(const float* box, const float* colour) {
  N_Vector3 corners[8];
  BoxCorners(box, corners);
  DrawBoxEdges(corners, colour);
}

void N_Render::DrawOrientedWireBox(const N_OrientedBox& box, const float* colour) {
  N_Vector3 corners[8];
  box.GetCorners(corners);
  DrawBoxEdges(corners, colour);
}

void N_Render::DrawBoxEdges(const N_Vector3* corners, const float* colour) {
  const bool packed = m_softwareVertexProcessing;
  for (int edge = 0; edge < N_ImmediateVertices::kBoxEdges; ++edge) {
    for (int end = 0; end < 2; ++end) {
      N_LineVertex& v = m_immediate.lines[static_cast<std::size_t>(2 * edge + end)];
      const N_Vector3& c = corners[kEdges[edge][end]];
      v.position[0] = c.x;
      v.position[1] = c.y;
      v.position[2] = c.z;
      SetColour(v.colour, colour, packed);
    }
  }
  DrawLines(N_ImmediateVertices::kBoxEdges);
}

void N_Render::DrawLines(UINT count) {
  BeginImmediateDraw();
  UseImmediateFormat(kLineFvf, BuiltInDeclaration(BuiltInDecl::Line));
  m_device->DrawPrimitiveUP(D3DPT_LINELIST, count, m_immediate.lines.data(), sizeof(N_LineVertex));
  m_shadowDeclCurrent = false;
}

void N_Render::DrawBox(const float* box, const float* colour) {
  const std::uint32_t argb = PackArgb(ColorByte(colour[3]), colour[0], colour[1], colour[2]);
  N_Vector3 corners[8];
  BoxCorners(box, corners);
  for (int i = 0; i < 8; ++i) {
    N_SurfaceVertex& v = m_immediate.box[static_cast<std::size_t>(i)];
    v = {};
    v.position[0] = corners[i].x;
    v.position[1] = corners[i].y;
    v.position[2] = corners[i].z;
    v.colour = argb;
  }
  BeginImmediateDraw();
  UseImmediateFormat(kSurfaceFvf, BuiltInDeclaration(BuiltInDecl::Surface));
  m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  g_renderStateCache.cull = 0;
  m_device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 8, 12, kBoxIndices, D3DFMT_INDEX16, m_immediate.box.data(),
                                   sizeof(N_SurfaceVertex));
  m_shadowDeclCurrent = false;
}

void N_Render::DrawQuad(float r, float g, float b, float a) {
  if (m_camera == nullptr) return;  // the quad takes its size from the current camera
  const float w = static_cast<float>(m_camera->viewportWidth);
  const float h = static_cast<float>(m_camera->viewportHeight);
  const std::uint32_t argb = PackArgb(ColorByte(a), r, g, b);
  const float corners[4][2] = {{0.0f, h}, {0.0f, 0.0f}, {w, h}, {w, 0.0f}};
  for (int i = 0; i < 4; ++i) {
    N_SurfaceVertex& v = m_immediate.quad[static_cast<std::size_t>(i)];
    v = {};
    v.position[0] = corners[i][0];
    v.position[1] = corners[i][1];
    v.colour = argb;
  }
  SetVertexDecl(BuiltInDeclaration(BuiltInDecl::Surface));
  m_shadowDeclCurrent = false;
  N_RenderStateCache& cache = g_renderStateCache;
  m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
  m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
  cache.boundTexture[0] = -1;
  m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, m_immediate.quad.data(), sizeof(N_SurfaceVertex));
  cache.ForgetStreams();
  m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  cache.sourceBlend = D3DBLEND_ONE;
  cache.destinationBlend = D3DBLEND_ZERO;
}
