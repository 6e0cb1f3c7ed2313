#pragma once
// N_AnimObject: a skinned mesh read from an animated mesh file ("AMSH", version 140):
// materials, lightmaps, surfaces with their GPU buffers, the skin (points and weights),
// the bind skeleton and the closed shadow mesh. Owned by an animation set
// (N_AnimationFactory), which poses its skeleton per instance and then, for a visible
// instance, calls Skin (posed positions into the vertex buffers) and Draw (skeleton
// lines, ambient light, surfaces, stencil shadow).
//
// The surfaces point into the object's own arrays, which never move after Load. GPU
// buffers are made only while a renderer exists, shaders only while the scene's shader
// manager does (g_scene); a headless set loads, advances and poses all the same.
#include "core/EdgeList.h"
#include "core/Matrix3.h"
#include "core/Vector3.h"
#include "render/MeshSurface.h"
#include "render/SurfaceVertex.h"
#include "render/TexInfo.h"
#include "scene/AnimFile.h"
#include "scene/Bone.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class N_Animation;
class N_ShadowVolume;
struct N_AnimInstance;
struct N_FigureAthlete;

class N_AnimObject {
 public:
  static constexpr float kSkeletonPointSize = 6.0f;

  N_AnimObject();
  /// Release.
  virtual ~N_AnimObject();
  N_AnimObject(const N_AnimObject&) = delete;
  N_AnimObject& operator=(const N_AnimObject&) = delete;

  /// Reads a mesh file into this object, replacing what it held. False on every
  /// failure, with the object as it was: a null name, a file that cannot be opened
  /// (code 12), a wrong magic or a malformed file (code 9, "not valid mesh file"), a
  /// wrong version (code 9). The file is checked whole before anything is taken.
  bool Load(const char* fileName);
  /// Skin points into posed positions with the instance's bone matrices (each weight w
  /// of bone b adds w x pose_b x stored_b x point; weights of 0.0 are skipped), every
  /// render vertex takes its skin point's position, and each drawn surface's vertex
  /// buffer is rewritten whole with the discard flag.
  void Skin(const N_AnimInstance& instance);
  /// The skeleton ("showskeleton"), the level's ambient light at the position, every
  /// surface with a buffer and a shader, then the shadow volume for the level's sun.
  void Draw(const N_Vector3& position, const N_Matrix3& rotation);
  /// Draw in an athlete's dress: the placeholder codes of the surfaces (FigureDress.h)
  /// become the athlete's suit, sticks, gun and ski shaders and the bib of the dress
  /// number (g_scene.figureRoster); a placeholder without one (no athlete, no roster)
  /// is not drawn. A dress number outside 1..31 draws nothing and is shown in a box,
  /// once per number and run (a box each frame would stop the game).
  void DrawDressed(const N_Vector3& position, const N_Matrix3& rotation, int dressNumber,
                   const N_FigureAthlete* athlete);
  /// Index of the first bone named so (case ignored), -1 when none.
  int FindBone(const char* name) const;
  bool SameBoneCount(const N_AnimObject& other) const { return BoneCount() == other.BoneCount(); }
  bool FitsAnimation(const N_Animation& animation) const;
  /// A shadow volume from the shadow triangles and the posed positions when the first
  /// surface's shader casts shadows ("surfaceparm castshadow"), extruded by the
  /// shader's length; none otherwise (a previous one is given back first).
  virtual void CreateShadowVolume();
  /// Gives back everything: lightmaps (renderer), buffers and bindings (renderer),
  /// shader references (shader manager), arrays, bones and the shadow volume.
  void Release();

  int BoneCount() const { return static_cast<int>(m_bones.size()); }
  const std::vector<N_Bone>& Bones() const { return m_bones; }
  std::vector<N_Bone>& Bones() { return m_bones; }
  const std::vector<std::int32_t>& Roots() const { return m_roots; }
  const std::vector<N_MeshSurface>& Surfaces() const { return m_surfaces; }
  const std::vector<std::string>& Materials() const { return m_materials; }
  const std::vector<TexInfo>& Lightmaps() const { return m_lightmaps; }
  const std::vector<N_AnimSkinPoint>& SkinPoints() const { return m_skinPoints; }
  const std::vector<N_AnimWeight>& Weights() const { return m_weights; }
  /// Bind positions after Load, posed positions after each Skin (one per skin point).
  const std::vector<N_Vector3>& Positions() const { return m_positions; }
  const std::vector<N_SurfaceVertex>& RenderVertices() const { return m_renderVertices; }
  const std::vector<N_ShadowTriangle>& ShadowTriangles() const { return m_shadowTriangles; }
  const N_ShadowVolume* ShadowVolume() const { return m_shadowVolume.get(); }
  const N_Vector3& BoundsMin() const { return m_boundsMin; }
  const N_Vector3& BoundsMax() const { return m_boundsMax; }
  const N_Vector3& Centre() const { return m_centre; }
  float Radius() const { return m_radius; }

 protected:
  struct FileContents;

  /// Takes a checked file's contents: surfaces with shaders and buffers, bones with
  /// their hierarchy and bind matrices, the bounding box.
  void Adopt(FileContents&& contents);
  void BuildSurfaces(const std::vector<N_AnimSurfaceRecord>& records);
  void BuildSurfaceBuffers(N_MeshSurface& surface);
  void BuildBones(const std::vector<N_AnimBoneRecord>& records);
  void BuildBounds();
  /// The shader handle a surface of the material gets: the shader manager's (none
  /// without a manager).
  virtual std::int32_t SurfaceShader(const std::string& material, std::uint32_t type);
  /// Whether Release gives the surface's handle back to the shader manager.
  virtual bool HoldsShaderReference(std::int32_t handle) const { return handle >= 0; }
  /// Surfaces that skinning, upload and drawing use: a vertex buffer and a shader (or a
  /// dress placeholder, below -1).
  static bool IsDrawn(const N_MeshSurface& surface);
  void DrawSkeleton(const N_Vector3& position, const N_Matrix3& rotation) const;
  /// What every draw does before the surfaces: the skeleton and the ambient light.
  void BeginDraw(const N_Vector3& position, const N_Matrix3& rotation) const;
  /// A new shadow volume over the shadow triangles and the posed positions (a previous
  /// one must be given back first).
  void BuildShadowVolume(float length);
  /// The shadow volume for the level's sun, after the surfaces.
  void DrawShadow(const N_Vector3& position, const N_Matrix3& rotation);
  /// Binds the shader of the handle and draws the surface (nothing without a record).
  static void DrawSurface(N_MeshSurface& surface, std::int32_t shader, const N_Vector3& position,
                          const N_Matrix3& rotation);

  std::vector<std::string> m_materials;
  std::vector<TexInfo> m_lightmaps;  ///< device textures from the texture manager's LoadLightmap
  std::vector<std::uint16_t> m_indices;
  std::vector<N_MeshSurface> m_surfaces;
  std::vector<N_AnimVertexRecord> m_sourceVertices;
  std::vector<N_AnimSkinPoint> m_skinPoints;
  std::vector<N_Vector3> m_positions;
  std::vector<N_SurfaceVertex> m_renderVertices;
  std::vector<std::uint32_t> m_vertexSkinPoints;  ///< the skin point of each render vertex
  std::vector<N_AnimWeight> m_weights;
  std::vector<N_Bone> m_bones;
  std::vector<std::int32_t> m_roots;  ///< bones with parent -1, ascending
  std::vector<N_ShadowTriangle> m_shadowTriangles;
  std::unique_ptr<N_ShadowVolume> m_shadowVolume;
  N_Vector3 m_boundsMin;
  N_Vector3 m_boundsMax;
  N_Vector3 m_centre;
  float m_radius = 0.0f;
};
