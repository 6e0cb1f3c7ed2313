#pragma once
// Writes animated mesh files ("AMSH", version 140) and animation files ("ANIM",
// version 130), field by field, with the game's records (scene/AnimFile.h): the
// 160-byte directory, then the sections in order; unused sections have offset and
// size 0.
//
// AnimMeshBuilder takes a skeleton (names, parents, bind positions in mesh space),
// skin points with their weights, surfaces over their own vertices with materials,
// and closed shadow meshes. It stores the bind skeleton the way the skinning reads it:
// a bone's stored transform is the inverse of its bind transform (rotation (1, 0, 0, 0),
// position minus the bind position), and a key holds the bone's transform relative
// to its parent, so that the bind-pose keys (BindPose) give back every skin point.
//
// Rotations are quaternions for the engine's matrix formula (N_Matrix4::FromQuaternion),
// the transpose of the textbook one: AxisRotation turns the textbook angle into it.
#include "core/Quaternion.h"
#include "core/Vector3.h"
#include "scene/AnimFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

/// A rotation by angle radians about the unit axis, counter-clockwise seen from the
/// axis tip (a rotation by +θ about +z is (cos θ/2, 0, 0, -sin θ/2)).
N_Quaternion AxisRotation(const N_Vector3& axis, float angle);

class AnimMeshBuilder {
 public:
  struct Weight {
    int bone = 0;
    float weight = 1.0f;
  };
  struct Vertex {
    int skinPoint = 0;
    float uv[2] = {};
    N_Vector3 normal{0.0f, 0.0f, 1.0f};
    std::uint32_t colour = 0xFFFFFFFF;
    float lightmapUv[2] = {};
  };
  struct Bone {
    std::string name;
    int parent = -1;
    N_Vector3 bindPosition;  ///< in mesh space
  };

  /// A bone; its parent must be added before it (-1 for a root). Returns its index.
  int AddBone(const std::string& name, int parent, const N_Vector3& bindPosition);
  /// A bind-space point moved by its weighted bones. Returns its index.
  int AddSkinPoint(const N_Vector3& position, const std::vector<Weight>& weights);
  int AddMaterial(const std::string& name);
  int AddLightmap(const std::string& name);
  /// A triangle-list surface (or another primitive type) over vertices of its own, with
  /// indices relative to its first vertex; its box is that of its skin points. Type 1
  /// surfaces name a lightmap. Returns its index.
  int AddSurface(int material, const std::vector<Vertex>& vertices, const std::vector<std::uint16_t>& indices,
                 std::uint32_t type = animfile::kPlainSurface, std::uint32_t primitiveType = 0, int lightmap = 0);
  /// One triangle of the closed shadow mesh, over skin points, wound outwards.
  void AddShadowTriangle(int a, int b, int c);
  /// A box from lo to hi moved by the weighted bones: 8 skin points (corner i takes
  /// hi on x for bit 0, on y for bit 1, on z for bit 2), a surface of 6 faces with their
  /// own normals, wound counter-clockwise seen from outside, and the same 12 triangles
  /// as a closed shadow mesh. Returns the first skin point.
  int AddBox(int material, const N_Vector3& lo, const N_Vector3& hi, const std::vector<Weight>& weights);

  /// The mesh file.
  std::vector<std::uint8_t> Write() const;
  /// One key per bone, in bone order: the bind pose relative to each parent.
  std::vector<N_AnimKey> BindPose() const;
  /// The bone's key relative to its parent at its bind offset, turned by the rotation.
  N_AnimKey Key(int bone, const N_Quaternion& rotation) const;

  const std::vector<Bone>& Bones() const { return m_bones; }
  int SkinPointCount() const { return static_cast<int>(m_skinPoints.size()); }

 private:
  std::vector<Bone> m_bones;
  std::vector<N_AnimNameRecord> m_materials;
  std::vector<N_AnimNameRecord> m_lightmaps;
  std::vector<N_AnimVertexRecord> m_vertices;
  std::vector<std::uint16_t> m_indices;
  std::vector<N_AnimSurfaceRecord> m_surfaces;
  std::vector<N_AnimSkinPoint> m_skinPoints;
  std::vector<N_AnimWeight> m_weights;
  std::vector<N_ShadowTriangle> m_shadowTriangles;
};

/// One track of an animation: a bone name and its keys, one per frame.
struct AnimTrack {
  std::string name;
  std::vector<N_AnimKey> keys;
};

/// The animation file: the tracks in the given order, their keys one after the other.
std::vector<std::uint8_t> WriteAnimation(const std::vector<AnimTrack>& tracks);

/// Tracks named after the builder's bones, one key list per frame (frames[f][bone]).
std::vector<AnimTrack> TracksFromFrames(const AnimMeshBuilder& mesh, const std::vector<std::vector<N_AnimKey>>& frames);

}  // namespace datagen
