#pragma once
// A vertex layout built element by element. The device declaration is made on the
// first GetDeclaration after a change and reused until the next AddElement.
#include "platform/d3d9.h"

#include <cstdint>
#include <vector>

class N_VertexDecl {
 public:
  explicit N_VertexDecl(IDirect3DDevice9* device) : m_device(device) {}
  ~N_VertexDecl();
  N_VertexDecl(const N_VertexDecl&) = delete;
  N_VertexDecl& operator=(const N_VertexDecl&) = delete;

  /// Appends an element (default method) and marks the declaration for rebuilding.
  void AddElement(std::uint8_t stream, std::uint16_t offset, std::uint8_t type, std::uint8_t usage,
                  std::uint8_t usageIndex);
  /// The device declaration, built when dirty; null after a failed build (logged).
  IDirect3DVertexDeclaration9* GetDeclaration();
  /// The readiness check the draw paths make before GetDeclaration: always false, so they
  /// always ask GetDeclaration.
  bool IsReady() const { return false; }

  const std::vector<D3DVERTEXELEMENT9>& Elements() const { return m_elements; }
  bool IsDirty() const { return m_dirty; }

 private:
  IDirect3DDevice9* m_device;                            ///< not owned
  IDirect3DVertexDeclaration9* m_declaration = nullptr;  ///< owned
  bool m_dirty = true;
  std::vector<D3DVERTEXELEMENT9> m_elements;
};
