#include "render/VertexBuffer.h"

N_VertexBuffer::N_VertexBuffer(IDirect3DDevice9* device, DWORD stride, DWORD count)
    : m_stride(stride), m_device(device) {
  device->CreateVertexBuffer(stride * count, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &m_buffer, nullptr);
}
N_VertexBuffer::~N_VertexBuffer() {
  if (m_buffer) m_buffer->Release();
}
void* N_VertexBuffer::Lock(bool, bool) {
  void* p = nullptr;
  m_buffer->Lock(0, 0, &p, D3DLOCK_NOSYSLOCK);
  return p;
}
void N_VertexBuffer::Unlock() { m_buffer->Unlock(); }
void N_VertexBuffer::Bind() { m_device->SetStreamSource(0, m_buffer, 0, m_stride); }

N_VertexDecl::~N_VertexDecl() {
  if (m_declaration) m_declaration->Release();
}
void N_VertexDecl::AddElement(BYTE stream, WORD offset, BYTE type, BYTE usage, BYTE usageIndex) {
  m_elements[m_count++] = {stream, offset, type, D3DDECLMETHOD_DEFAULT, usage, usageIndex};
  m_dirty = true;
}
IDirect3DVertexDeclaration9* N_VertexDecl::GetDeclaration() {
  if (!m_dirty) return m_declaration;
  if (m_declaration) m_declaration->Release();
  m_declaration = nullptr;
  D3DVERTEXELEMENT9 elements[9];
  for (int i = 0; i < m_count; ++i) elements[i] = m_elements[i];
  elements[m_count] = D3DDECL_END();
  m_device->CreateVertexDeclaration(elements, &m_declaration);
  m_dirty = false;
  return m_declaration;
}
