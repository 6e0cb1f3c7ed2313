// N_Render: binding a material (SetShader) and drawing surfaces with it, stage group by
// stage group, through the render-state cache.
#include "core/Matrix3.h"
#include "render/FloatBits.h"
#include "render/IndexBuffer.h"
#include "render/MatrixConvert.h"
#include "render/MeshSurface.h"
#include "render/Render.h"
#include "render/RenderStateCache.h"
#include "render/Shader.h"
#include "render/StageTexture.h"
#include "render/VertexBuffer.h"

#include <cstring>

namespace {

constexpr float kPolygonOffsetBias = -0.000001f;
constexpr float kPolygonOffsetSlope = -0.001f;

DWORD DeviceCull(std::int32_t cull) { return cull == 0 ? D3DCULL_NONE : cull < 0 ? D3DCULL_CW : D3DCULL_CCW; }

struct SurfaceDraw {
  D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
  std::int32_t count = 0;  ///< signed: strips of fewer than 3 indices come out negative
  bool triangles = false;
};

SurfaceDraw SurfaceDrawOf(const N_MeshSurface& surface) {
  const std::int32_t indices = surface.indexCount;
  const std::int32_t elements = surface.indexed ? indices : std::int32_t(surface.vertexCount);
  switch (static_cast<SurfacePrimitive>(surface.primitiveType)) {
    case SurfacePrimitive::TriangleList: return {D3DPT_TRIANGLELIST, indices / 3, true};
    case SurfacePrimitive::TriangleStrip: return {D3DPT_TRIANGLESTRIP, indices - 2, true};
    case SurfacePrimitive::TriangleFan: return {D3DPT_TRIANGLEFAN, indices - 2, true};
    case SurfacePrimitive::PointList: return {D3DPT_POINTLIST, elements, false};
    case SurfacePrimitive::LineList: return {D3DPT_LINELIST, elements / 2, false};
    case SurfacePrimitive::LineStrip: return {D3DPT_LINESTRIP, elements - 1, false};
  }
  return {};
}

}  // namespace

void N_Render::SetShader(N_Shader* shader, std::int32_t lightmap) {
  if (m_deviceLost) return;
  N_RenderStateCache& cache = g_renderStateCache;
  cache.currentLightmap = lightmap;
  if (shader == cache.currentShader && !m_shaderRebind) return;
  m_shaderRebind = false;
  if (cache.currentShader && (cache.currentShader->surfaceParm & SurfaceParm::kSkyBit)) {
    m_device->SetTransform(D3DTS_VIEW, &m_view);
  }
  if (m_vertexProgramBound) {
    if (MixedVertexProcessing()) m_device->SetSoftwareVertexProcessing(FALSE);
    m_device->SetVertexShader(nullptr);
    m_vertexProgramBound = false;
  }
  cache.currentShader = shader;
  cache.noShader = shader ? 0 : 1;
  if (!shader) return;

  if (shader->flags & ShaderFlag::kEffect) {
    // The effect's passes set the units they use; the others are switched off.
    for (std::uint32_t unit = 1; unit < TextureUnitCount(); ++unit) {
      m_device->SetTextureStageState(unit, D3DTSS_COLOROP, D3DTOP_DISABLE);
      m_device->SetTextureStageState(unit, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
      m_device->SetTextureStageState(unit, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
      cache.textureTransform[unit] = D3DTTFF_DISABLE;
      cache.boundTexture[unit] = -1;
      m_device->SetTextureStageState(unit, D3DTSS_TEXCOORDINDEX, unit == 1 ? 1 : 0);
      cache.texCoordMode[unit] = unit == 1 ? 2 : 0;
    }
    return;
  }

  const auto cull = static_cast<std::int32_t>(shader->cull);
  if (cull != cache.cull) {
    m_device->SetRenderState(D3DRS_CULLMODE, DeviceCull(cull));
    cache.cull = cull;
  }
  const std::uint32_t offset = shader->flags & ShaderFlag::kPolygonOffset;
  if (offset != cache.polygonOffset) {
    cache.polygonOffset = offset;
    m_device->SetRenderState(D3DRS_DEPTHBIAS, FloatBits(offset ? kPolygonOffsetBias : 0.0f));
    m_device->SetRenderState(D3DRS_SLOPESCALEDEPTHBIAS, FloatBits(offset ? kPolygonOffsetSlope : 0.0f));
  }
  if (shader->surfaceParm & SurfaceParm::kSkyBit) {
    // The sky stays around the camera: the device's view loses its translation, the
    // kept view does not (the next SetShader gives it back).
    D3DMATRIX view = m_view;
    view._41 = view._42 = view._43 = 0.0f;
    m_device->SetTransform(D3DTS_VIEW, &view);
  }
  if (shader->deformCount > 0) ApplyDeforms(*shader);
}

void N_Render::ApplyStageStates(const N_ShaderStage* stage) {
  N_RenderStateCache& cache = g_renderStateCache;
  if (stage->blendSrc != cache.sourceBlend || stage->blendDst != cache.destinationBlend) {
    if (stage->blendSrc == D3DBLEND_ONE && stage->blendDst == D3DBLEND_ZERO) {
      m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);  // the factors stay as they are
    } else {
      if (cache.sourceBlend == D3DBLEND_ONE && cache.destinationBlend == D3DBLEND_ZERO) {
        m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
      }
      m_device->SetRenderState(D3DRS_SRCBLEND, stage->blendSrc);
      m_device->SetRenderState(D3DRS_DESTBLEND, stage->blendDst);
    }
    cache.sourceBlend = stage->blendSrc;
    cache.destinationBlend = stage->blendDst;
  }
  if (stage->alphaFunc != cache.alphaFunction || stage->alphaRef != cache.alphaReference) {
    if (stage->alphaFunc == D3DCMP_ALWAYS) {
      m_device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    } else {
      m_device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
      m_device->SetRenderState(D3DRS_ALPHAFUNC, stage->alphaFunc);
      m_device->SetRenderState(D3DRS_ALPHAREF, stage->alphaRef);
    }
    cache.alphaFunction = stage->alphaFunc;
    cache.alphaReference = stage->alphaRef;
  }
  if (stage->depthFunc != cache.depthFunction) {
    m_device->SetRenderState(D3DRS_ZFUNC, stage->depthFunc);
    cache.depthFunction = stage->depthFunc;
  }
  const std::uint32_t depthWrite = stage->depthWrite ? 1 : 0;
  if (depthWrite != cache.depthWrite) {
    m_device->SetRenderState(D3DRS_ZWRITEENABLE, depthWrite);
    cache.depthWrite = depthWrite;
  }
}

void N_Render::BindSurfaceStreams(const N_MeshSurface& surface) {
  N_RenderStateCache& cache = g_renderStateCache;
  if (cache.streamBinding != surface.binding) {
    if (surface.binding) ApplyVertexBufferBinding(surface.binding);
    cache.streamBinding = surface.binding;
  }
  if (cache.indexBuffer != surface.indexBuffer) {
    if (surface.indexBuffer) m_device->SetIndices(surface.indexBuffer->DeviceBuffer());
    cache.indexBuffer = surface.indexBuffer;
  }
}

void N_Render::DrawSurfaceGeometry(const N_MeshSurface& surface, D3DPRIMITIVETYPE type, std::uint32_t count) {
  if (surface.DrawsFromBuffers()) {
    m_device->DrawIndexedPrimitive(type, surface.baseVertex, 0, surface.vertexCount, surface.startIndex, count);
    return;
  }
  m_device->DrawIndexedPrimitiveUP(type, 0, surface.vertexCount, count, surface.indices, D3DFMT_INDEX16,
                                   surface.vertices, kSurfaceVertexSize);
  // Direct3D leaves stream 0 and the indices unset after a draw from memory.
  g_renderStateCache.ForgetStreams();
}

void N_Render::DisableUnitsFrom(std::uint32_t first) {
  N_RenderStateCache& cache = g_renderStateCache;
  for (std::uint32_t unit = first; unit < TextureUnitCount(); ++unit) {
    // A unit whose cached texture is -1 is off already (the cache's invariant).
    if (cache.boundTexture[unit] == -1) continue;
    m_device->SetTextureStageState(unit, D3DTSS_COLOROP, D3DTOP_DISABLE);
    m_device->SetTextureStageState(unit, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    m_device->SetTexture(unit, nullptr);
    cache.boundTexture[unit] = -1;
  }
}

void N_Render::DrawSurface(N_MeshSurface* surface) {
  N_RenderStateCache& cache = g_renderStateCache;
  // Without a current shader (none bound this frame) there is nothing to draw with.
  if (!surface || surface->vertexCount == 0 || m_deviceLost || cache.noShader || !cache.currentShader) return;
  BindSurfaceStreams(*surface);
  const SurfaceDraw draw = SurfaceDrawOf(*surface);
  if (draw.count <= 0) return;
  if (draw.triangles) m_polygonCount += std::uint32_t(draw.count);
  const N_Shader& shader = *cache.currentShader;
  if (shader.flags & ShaderFlag::kEffect) {
    // The same draw once per pass of the effect; a shader whose effect could not be
    // made draws nothing.
    DrawEffectPasses(shader.effect, [&] { DrawSurfaceGeometry(*surface, draw.type, std::uint32_t(draw.count)); });
    return;
  }

  const std::uint32_t units = TextureUnitCount();
  for (cache.currentLayer = 0; cache.currentLayer < shader.stageCount; ++cache.currentLayer) {
    std::uint32_t unit = 0;
    const N_ShaderStage* stage = shader.Stage(cache.currentLayer);
    ApplyTexCoords(0, surface);
    ApplyColourSource(surface);
    ApplyStageStates(stage);
    BindStageTexture(stage, 0);
    // Stages that multiply onto the one before share its pass while units last; only
    // the group's first stage sets blending, tests and the colour source.
    while ((stage->flags & StageFlag::kMultiplied) && cache.currentLayer + 1 < shader.stageCount &&
           unit + 1 < units) {
      ++unit;
      stage = shader.Stage(++cache.currentLayer);
      ApplyTexCoords(unit, surface);
      BindStageTexture(stage, unit);
    }
    DisableUnitsFrom(unit + 1);
    DrawSurfaceGeometry(*surface, draw.type, std::uint32_t(draw.count));
  }
}

void N_Render::DrawSurfaceIdentity(N_MeshSurface* surface) {
  // Through SetWorldMatrix: a bound vertex program gets the new world in c0-c3 too.
  SetWorldMatrix(N_Matrix4{});
  DrawSurface(surface);
}

void N_Render::SetWorldFromRotation(const N_Vector3& position, const N_Matrix3& rotation) {
  const float* r = rotation.m;
  N_Matrix4 world;
  const float rows[16] = {r[0], r[3], r[6], 0, r[1], r[4], r[7], 0, r[2], r[5], r[8], 0,
                          position.x, position.y, position.z, 1};
  std::memcpy(world.m, rows, sizeof rows);
  SetWorldMatrix(world);
}

void N_Render::DrawSurfaceAt(N_MeshSurface* surface, const N_Vector3& position, const N_Matrix3& rotation, float) {
  SetWorldFromRotation(position, rotation);
  DrawSurface(surface);
}
