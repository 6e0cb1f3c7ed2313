#pragma once
// PROVISIONAL: the vertex buffer wrapper as far as the full-screen quad needs it;
// replaced by the device branch's buffers.
#include "platform/d3d9.h"

class N_VertexBuffer {
 public:
  N_VertexBuffer(IDirect3DDevice9* device, DWORD stride, DWORD count);
  ~N_VertexBuffer();
  void* Lock(bool write, bool discard);
  void Unlock();
  void Bind();
  DWORD GetStride() const { return m_stride; }

 private:
  DWORD m_stride;
  IDirect3DVertexBuffer9* m_buffer = nullptr;
  IDirect3DDevice9* m_device;
};

class N_VertexDecl {
 public:
  explicit N_VertexDecl(IDirect3DDevice9* device) : m_device(device) {}
  ~N_VertexDecl();
  void AddElement(BYTE stream, WORD offset, BYTE type, BYTE usage, BYTE usageIndex);
  IDirect3DVertexDeclaration9* GetDeclaration();

 private:
  IDirect3DDevice9* m_device;
  IDirect3DVertexDeclaration9* m_declaration = nullptr;
  bool m_dirty = true;
  D3DVERTEXELEMENT9 m_elements[8] = {};
  int m_count = 0;
};
