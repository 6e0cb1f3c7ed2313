#pragma once
// N_ShadowVolume: the stencil shadow of one skinned mesh whose material casts shadows.
// Built once from the mesh's closed triangle list (an open mesh ends the program);
// each frame Update finds the edges between faces lit and unlit by the light, for the
// current pose, and extrudes each into a quad away from the light; Draw hands the
// quads to the renderer's stencil pass (N_Render::DrawShadowVolume). No caps are made.
//
// Owned by its mesh (N_AnimObject), which keeps the triangles and the posed positions
// the volume points to. The GPU buffers are the renderer's: ReleaseBuffers gives them
// back before the renderer goes.
#include "core/EdgeList.h"
#include "core/Matrix3.h"
#include "core/Vector3.h"
#include "render/MeshSurface.h"

#include <cstdint>
#include <utility>
#include <vector>

class N_ShadowVolume {
 public:
  static constexpr std::size_t kSilhouetteReserve = 8192;
  static constexpr float kDefaultExtrusion = 1000.0f;
  /// The surface's 16-bit index count holds 6 indices per silhouette edge: edges past
  /// this many are not drawn.
  static constexpr std::size_t kMaxSilhouette = 0xFFFF / 6;

  /// bufferMode: GPU buffers (true, as the animated meshes use) or plain arrays.
  explicit N_ShadowVolume(bool bufferMode);
  N_ShadowVolume(const N_ShadowVolume&) = delete;
  N_ShadowVolume& operator=(const N_ShadowVolume&) = delete;

  /// Keeps the pointers, computes the face normals and the edge list, and makes room
  /// for every edge to be a silhouette edge. A mesh with an edge of one face only is a
  /// critical error ("N_ShadowVolume: Pokus o vytvorenie tiena z deraveho meshu!").
  void Build(N_ShadowTriangle* triangles, int triangleCount, const N_Vector3* positions);
  /// This frame's silhouette for the light's direction (normalised) and the figure's
  /// rotation and position; nothing while "r_shadowsEnabled" is 0. The scale is not read.
  void Update(const N_Vector3& light, const N_Vector3& position, const N_Matrix3& rotation, float scale);
  /// The renderer's stencil pass over the quads (nothing for a volume without edges).
  void Draw(const N_Vector3& position, const N_Matrix3& rotation, float scale);
  /// Destroys the GPU buffers through the renderer and frees the arrays and lists.
  void ReleaseBuffers();

  /// Length of the extrusion away from the light (1000 until the owner sets its shader's).
  void SetExtrusionLength(float length) { m_extrusion = length; }
  float ExtrusionLength() const { return m_extrusion; }
  const std::vector<N_Edge>& Edges() const { return m_edges; }
  /// (first, second) corners of this frame's silhouette edges, wound alike.
  const std::vector<std::pair<std::uint16_t, std::uint16_t>>& Silhouette() const { return m_silhouette; }
  const N_MeshSurface& Surface() const { return m_surface; }

 private:
  void ComputeNormals();
  void FindSilhouette(const N_Vector3& extrusion);
  void WriteQuads(N_SurfaceVertex* vertices, std::uint16_t* indices, const N_Vector3& extrusion) const;

  const N_Vector3* m_positions = nullptr;  ///< the mesh's posed positions, not owned
  std::vector<N_Edge> m_edges;
  N_ShadowTriangle* m_triangles = nullptr;  ///< the mesh's, not owned
  int m_triangleCount = 0;
  N_MeshSurface m_surface;
  std::vector<std::uint16_t> m_indexArray;  ///< array mode: the quads' indices
  bool m_bufferMode;
  float m_extrusion = kDefaultExtrusion;
  std::vector<std::pair<std::uint16_t, std::uint16_t>> m_silhouette;
};
