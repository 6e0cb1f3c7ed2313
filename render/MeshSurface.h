#pragma once
// N_MeshSurface: the drawable record of every piece of geometry (level surfaces, mesh
// surfaces, lens-flare sprites, shadow volumes). Its builder fills it; the renderer
// draws it with the bound shader (N_Render::SetShader, then N_Render::DrawSurface).
// Drawn from GPU buffers when it has a vertex buffer, else from the system-memory
// vertices and 16-bit indices. The buffers and the binding belong to the builder.
#include "core/Vector3.h"
#include "render/SurfaceVertex.h"

#include <cstdint>
#include <vector>

class N_VertexBuffer;
class N_IndexBuffer;
class N_VertexBufferBinding;

/// Primitive types of a surface.
enum class SurfacePrimitive : std::int32_t {
  TriangleList = 0,
  TriangleStrip = 1,
  TriangleFan = 2,
  PointList = 3,
  LineList = 4,
  LineStrip = 5,
};

struct N_MeshSurface {
  static constexpr std::int32_t kTag = 666;

  std::int32_t tag = kTag;  ///< first member, 666 for every constructed surface
  std::int32_t type = 0;    ///< the builder's surface type (1 lightmapped, 3 ...)
  std::int32_t shader = -1; ///< shader handle of the shader manager, -1 none
  std::int32_t primitiveType = 0;  ///< a SurfacePrimitive value; others draw nothing
  N_SurfaceVertex* vertices = nullptr;  ///< system-memory vertices, without GPU buffers
  std::uint32_t vertexCount = 0;        ///< 0: nothing to draw
  std::uint16_t* indices = nullptr;     ///< system-memory indices, without GPU buffers
  std::uint16_t indexCount = 0;
  std::uint8_t indexed = 0;  ///< points and lines count indices (1) or vertices (0)
  N_VertexBuffer* vertexBuffer = nullptr;  ///< non-null: drawn from GPU buffers
  N_IndexBuffer* indexBuffer = nullptr;
  std::uint32_t startIndex = 0;  ///< first index in the index buffer
  std::int32_t baseVertex = 0;   ///< added to every index
  N_VertexBufferBinding* binding = nullptr;
  std::int32_t lightmap = -1;  ///< texture handle of the surface's lightmap, -1 none
  N_Vector3 boundsMin;
  N_Vector3 boundsMax;
  N_Vector3 centre;
  float radius = 0.0f;  ///< half the box's diagonal
  std::uint8_t sharedBuffers = 0;  ///< the buffers are a level's, shared by its surfaces
  std::uint32_t vertexOffset = 0;  ///< first vertex and index in the shared buffers
  std::uint32_t indexOffset = 0;
  /// Vertices the surface owns (the shadow volume's array mode); freed with it.
  std::vector<N_SurfaceVertex> ownedVertices;

  bool DrawsFromBuffers() const { return vertexBuffer != nullptr; }
};
