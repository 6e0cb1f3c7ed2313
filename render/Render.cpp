// PROVISIONAL: construction and the few renderer operations the device branch owns.
#include "render/Render.h"

#include "render/OcclusionQuery.h"
#include "render/RenderModule.h"
#include "render/VertexBuffer.h"

#include <algorithm>

N_Render::N_Render() = default;

N_Render::~N_Render() {
  for (N_OcclusionQuery* q : m_occlusionQueries) delete q;
  delete m_quad;
  delete m_lineDecl;
  delete m_pointDecl;
  delete m_surfaceNoColourDecl;
  delete m_surfaceDecl;
  delete m_pointSpriteDecl;
}

void N_Render::AttachDevice(IDirect3D9* d3d, IDirect3DDevice9* device, DWORD stencilBits) {
  m_d3d = d3d;
  m_device = device;
  m_stencilBits = stencilBits;
  device->GetDeviceCaps(&m_caps);
  SetDefaultRenderStates(device);
  m_lineDecl = new N_VertexDecl(device);
  m_lineDecl->AddElement(0, 0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0);
  m_lineDecl->AddElement(0, 12, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_COLOR, 0);
  m_pointDecl = new N_VertexDecl(device);
  m_pointDecl->AddElement(0, 0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0);
  m_pointDecl->AddElement(0, 12, D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_PSIZE, 0);
  m_pointDecl->AddElement(0, 16, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_COLOR, 0);
  m_surfaceDecl = new N_VertexDecl(device);
  m_surfaceDecl->AddElement(0, 0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0);
  m_surfaceDecl->AddElement(0, 12, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0);
  m_surfaceDecl->AddElement(0, 24, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 0);
  m_surfaceDecl->AddElement(0, 28, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 0);
  m_surfaceDecl->AddElement(0, 36, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 1);
  m_quad = new N_VertexBuffer(device, 44, 4);
  auto* v = static_cast<N_SurfaceVertex*>(m_quad->Lock(true, false));
  const float xy[4][2] = {{0, 479}, {0, 0}, {639, 479}, {639, 0}};
  for (int i = 0; i < 4; ++i) {
    v[i] = {};
    v[i].position[0] = xy[i][0];
    v[i].position[1] = xy[i][1];
  }
  m_quad->Unlock();
  SetShadowColor(m_shadowColor[0], m_shadowColor[1], m_shadowColor[2]);
}

DWORD N_Render::TextureUnitCount() const { return std::min<DWORD>(m_caps.MaxSimultaneousTextures, 8); }

void N_Render::SetVertexDecl(N_VertexDecl* declaration) {
  m_device->SetVertexDeclaration(declaration != nullptr ? declaration->GetDeclaration() : nullptr);
}

N_OcclusionQuery* N_Render::CreateOcclusionQuery() {
  auto* query = new N_OcclusionQuery(this, m_device);
  if (!query->IsMade()) {
    delete query;
    return nullptr;
  }
  m_occlusionQueries.push_back(query);
  return query;
}

void N_Render::DestroyOcclusionQuery(N_OcclusionQuery** query) {
  if (*query == nullptr) return;
  m_occlusionQueries.remove(*query);
  delete *query;
  *query = nullptr;
}
