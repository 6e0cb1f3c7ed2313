#include "scene/FigureMesh.h"

#include "render/Render.h"
#include "render/ShadowVolume.h"
#include "scene/FigureDress.h"

N_FigureMesh::~N_FigureMesh() { Release(); }

std::int32_t N_FigureMesh::SurfaceShader(const std::string& material, std::uint32_t type) {
  const std::int32_t code = ClassifyDressTexture(material.c_str());
  return code != 0 ? code : N_AnimObject::SurfaceShader(material, type);
}

void N_FigureMesh::CreateShadowVolume() {
  if (m_shadowVolume) m_shadowVolume->ReleaseBuffers();
  m_shadowVolume.reset();
  if (!g_render) return;  // drawn only through the renderer, which also reports a mesh with holes
  BuildShadowVolume(kShadowLength);
}
