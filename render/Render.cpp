// The renderer object's life: factory, release, shutdown.
#include "render/Render.h"

#include "render/IndexBuffer.h"
#include "render/OcclusionQuery.h"
#include "render/RenderServices.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"
#include "render/VertexDecl.h"

#include <algorithm>

N_Render* g_render = nullptr;

N_Render* CreateRender(const N_CoreServices* services, N_Render** out) {
  auto* render = new N_Render;
  if (out) *out = render;
  g_renderServicesCopy = {};
  if (services) {
    g_renderServicesCopy.errorLog = services->errorLog;
    g_renderServicesCopy.log = services->log;
    g_renderServicesCopy.varMng = services->varMng;
    g_renderServicesCopy.timer = services->timer;
    g_renderServicesCopy.textureMng = services->textureMng;
  }
  g_renderServicesCopy.render = render;
  g_renderServices = &g_renderServicesCopy;
  return render;
}

void ReleaseRender(N_Render* render) {
  delete render;
  g_renderServices = nullptr;
}

N_Render::N_Render() = default;

N_Render::~N_Render() = default;

std::uint32_t N_Render::TextureUnitCount() const { return std::min<std::uint32_t>(m_caps.MaxSimultaneousTextures, 8); }

void N_Render::Shutdown() {
  // The offscreen target goes first; its fields are cleared so nothing can use them again.
  if (m_offscreenSurface) m_offscreenSurface->Release();
  if (m_offscreenTexture) m_offscreenTexture->Release();
  m_offscreenSurface = nullptr;
  m_offscreenTexture = nullptr;
  for (auto*& program : m_vertexPrograms) {
    if (program) program->Release();
    program = nullptr;
  }
  RenderPrint("--- Shutdown render\n");
  for (N_VertexDecl* declaration : m_vertexDecls) delete declaration;
  m_vertexDecls.clear();
  m_builtInDecls.fill(nullptr);
  for (N_VertexBufferBinding* binding : m_bindings) delete binding;
  m_bindings.clear();
  for (N_VertexBuffer* buffer : m_vertexBuffers) delete buffer;
  m_vertexBuffers.clear();
  m_fullScreenQuad = nullptr;
  for (N_IndexBuffer* buffer : m_indexBuffers) delete buffer;
  m_indexBuffers.clear();
  ReleaseEffects();
  for (N_OcclusionQuery* ring : m_occlusionQueryRings) delete ring;
  m_occlusionQueryRings.clear();
  if (m_device) {
    for (std::uint32_t stream = 0; stream < m_boundStreamCount; ++stream) {
      m_device->SetStreamSource(stream, nullptr, 0, 0);
    }
  }
  DisableLights();
  if (m_device) m_device->Release();
  m_device = nullptr;
  if (m_d3d) m_d3d->Release();
  m_d3d = nullptr;
}
