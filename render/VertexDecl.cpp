#include "render/VertexDecl.h"

#include "render/RenderServices.h"

N_VertexDecl::~N_VertexDecl() {
  if (m_declaration) m_declaration->Release();
}

void N_VertexDecl::AddElement(std::uint8_t stream, std::uint16_t offset, std::uint8_t type, std::uint8_t usage,
                              std::uint8_t usageIndex) {
  m_elements.push_back({stream, offset, type, D3DDECLMETHOD_DEFAULT, usage, usageIndex});
  m_dirty = true;
}

IDirect3DVertexDeclaration9* N_VertexDecl::GetDeclaration() {
  if (!m_dirty) return m_declaration;
  if (m_declaration) m_declaration->Release();
  m_declaration = nullptr;
  std::vector<D3DVERTEXELEMENT9> array = m_elements;
  array.push_back(D3DDECL_END());
  const HRESULT result = m_device->CreateVertexDeclaration(array.data(), &m_declaration);
  if (FAILED(result)) {
    m_declaration = nullptr;
    RenderPrint("DX Error: %s\n", DXGetErrorString9A(result));
  }
  m_dirty = false;
  return m_declaration;
}
