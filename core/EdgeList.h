#pragma once
// The edge list of a closed triangle mesh, from which the stencil shadows find the
// silhouette edges seen from a light.
#include "core/Vector3.h"

#include <cstdint>
#include <vector>

/// A shadow triangle as the animated mesh files store it (20 bytes).
struct N_ShadowTriangle {
  std::uint16_t corner[3] = {};  ///< indices into the mesh's posed positions
  std::uint16_t unused = 0;
  N_Vector3 normal;              ///< recomputed by the shadow volume
};
static_assert(sizeof(N_ShadowTriangle) == 20);

/// An edge shared by face A and face B (8 bytes).
struct N_Edge {
  static constexpr std::uint16_t kNoFace = 0xFFFF;
  std::uint16_t a = 0;  ///< the smaller corner index
  std::uint16_t b = 0;
  std::uint16_t faceA = kNoFace;
  std::uint16_t faceB = kNoFace;
};
static_assert(sizeof(N_Edge) == 8);

/// Face numbers are 16-bit and 0xFFFF means "no face": larger meshes are refused.
constexpr int kMaxEdgeListTriangles = 0xFFFF;

/// Fills edges (emptied first) and returns their count. Every directed edge (i0, i1),
/// (i1, i2), (i2, i0) with the smaller index first is listed with face A = its
/// triangle; each edge with the larger index first then becomes face B of the first
/// listed reverse edge still without one. Complete for a closed mesh; an edge used
/// only larger-index-first is not listed, equal indices are ignored. More than
/// kMaxEdgeListTriangles triangles (or a negative count) give 0 edges and a log line.
int BuildEdgeList(int triangleCount, const N_ShadowTriangle* triangles, std::vector<N_Edge>& edges);
