#include "platform/d3d9/VertexDeclaration.h"

namespace platform::d3d9 {

UINT DeclTypeBytes(BYTE type) {
  switch (type) {
    case D3DDECLTYPE_FLOAT1: return 4;
    case D3DDECLTYPE_FLOAT2: return 8;
    case D3DDECLTYPE_FLOAT3: return 12;
    case D3DDECLTYPE_FLOAT4: return 16;
    case D3DDECLTYPE_D3DCOLOR:
    case D3DDECLTYPE_UBYTE4:
    case D3DDECLTYPE_UBYTE4N:
    case D3DDECLTYPE_SHORT2: return 4;
    case D3DDECLTYPE_SHORT4: return 8;
    default: return 0;
  }
}

namespace {

void Append(std::vector<D3DVERTEXELEMENT9>& out, WORD& offset, BYTE type, BYTE usage, BYTE index) {
  out.push_back({0, offset, type, D3DDECLMETHOD_DEFAULT, usage, index});
  offset = WORD(offset + DeclTypeBytes(type));
}

/// Float count of texture-coordinate set i: bits 16 + 2i hold 0 = two, 1 = three, 2 = four, 3 = one.
BYTE TexCoordType(DWORD fvf, UINT set) {
  switch ((fvf >> (16 + 2 * set)) & 3) {
    case 1: return D3DDECLTYPE_FLOAT3;
    case 2: return D3DDECLTYPE_FLOAT4;
    case 3: return D3DDECLTYPE_FLOAT1;
    default: return D3DDECLTYPE_FLOAT2;
  }
}

}  // namespace

std::vector<D3DVERTEXELEMENT9> ElementsFromFvf(DWORD fvf) {
  std::vector<D3DVERTEXELEMENT9> out;
  WORD offset = 0;
  if ((fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW) {
    Append(out, offset, D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_POSITIONT, 0);
  } else if ((fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZ) {
    Append(out, offset, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0);
  }
  if (fvf & D3DFVF_NORMAL) Append(out, offset, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0);
  if (fvf & D3DFVF_PSIZE) Append(out, offset, D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_PSIZE, 0);
  if (fvf & D3DFVF_DIFFUSE) Append(out, offset, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 0);
  if (fvf & D3DFVF_SPECULAR) Append(out, offset, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 1);
  const UINT sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
  for (UINT i = 0; i < sets && i < 8; ++i) {
    Append(out, offset, TexCoordType(fvf, i), D3DDECLUSAGE_TEXCOORD, BYTE(i));
  }
  return out;
}

UINT FvfStride(DWORD fvf) {
  UINT stride = 0;
  for (const D3DVERTEXELEMENT9& e : ElementsFromFvf(fvf)) stride += DeclTypeBytes(e.Type);
  return stride;
}

HRESULT VertexDeclaration::GetDeclaration(D3DVERTEXELEMENT9* elements, UINT* count) {
  if (!count) return D3DERR_INVALIDCALL;
  *count = UINT(m_elements.size() + 1);
  if (elements) {
    for (std::size_t i = 0; i < m_elements.size(); ++i) elements[i] = m_elements[i];
    elements[m_elements.size()] = D3DDECL_END();
  }
  return D3D_OK;
}

bool ReadDeclaration(const D3DVERTEXELEMENT9* elements, std::vector<D3DVERTEXELEMENT9>& out) {
  out.clear();
  if (!elements) return false;
  for (DWORD i = 0; i < MAXD3DDECLLENGTH; ++i) {
    if (elements[i].Stream == 0xFF && elements[i].Type == D3DDECLTYPE_UNUSED) return true;
    out.push_back(elements[i]);
  }
  return false;
}

}  // namespace platform::d3d9
