#pragma once
// Inside the layer: vertex declarations, and the flexible vertex formats as the
// declarations they stand for.
#include "platform/d3d9/Common.h"

#include <vector>

namespace platform::d3d9 {

/// Bytes of one element of a declaration type (0 for unknown types).
UINT DeclTypeBytes(BYTE type);
/// The stream-0 elements of a flexible vertex format, in the format's memory order.
std::vector<D3DVERTEXELEMENT9> ElementsFromFvf(DWORD fvf);
/// Bytes of one vertex of a flexible vertex format.
UINT FvfStride(DWORD fvf);

class VertexDeclaration : public RefCounted<IDirect3DVertexDeclaration9>, public TrackedResource {
 public:
  /// The elements up to (not including) the end marker.
  explicit VertexDeclaration(std::vector<D3DVERTEXELEMENT9> elements) : m_elements(std::move(elements)) {}
  ~VertexDeclaration() override { Link().NotifyDestroyed(); }

  HRESULT GetDeclaration(D3DVERTEXELEMENT9* elements, UINT* count) override;
  const std::vector<D3DVERTEXELEMENT9>& Elements() const { return m_elements; }

 private:
  std::vector<D3DVERTEXELEMENT9> m_elements;
};

/// Reads a declaration array up to its end marker (at most MAXD3DDECLLENGTH elements);
/// false when the marker is missing.
bool ReadDeclaration(const D3DVERTEXELEMENT9* elements, std::vector<D3DVERTEXELEMENT9>& out);

}  // namespace platform::d3d9
