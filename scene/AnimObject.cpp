// N_AnimObject: reading and checking the mesh file, building the surfaces, the bones and
// the bounding box, and giving everything back.
#include "scene/AnimObject.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Matrix34.h"
#include "platform/win32.h"
#include "render/IndexBuffer.h"
#include "render/Render.h"
#include "render/ShaderMng.h"
#include "render/ShadowVolume.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"
#include "scene/AnimFileData.h"
#include "scene/Animation.h"
#include "scene/Lightmaps.h"
#include "scene/SceneAccess.h"

#include <algorithm>
#include <cmath>
#include <cstring>

/// Everything the reader takes from a file, checked before the object changes.
struct N_AnimObject::FileContents {
  std::vector<N_AnimNameRecord> materials;
  std::vector<N_AnimNameRecord> lightmaps;
  std::vector<N_AnimVertexRecord> vertices;
  std::vector<std::uint16_t> indices;
  std::vector<N_AnimSurfaceRecord> surfaces;
  std::vector<N_AnimSkinPoint> skinPoints;
  std::vector<N_AnimWeight> weights;
  std::vector<N_AnimBoneRecord> bones;
  std::vector<N_ShadowTriangle> shadowTriangles;

  /// Reads every section the mesh uses; false when one runs past the end of the file.
  bool Read(const N_AnimFileData& file);
  /// Every index the skinning, the surfaces and the shadow volume will follow lies
  /// inside its array.
  bool Consistent() const;

 private:
  bool SurfaceConsistent(const N_AnimSurfaceRecord& surface) const;
};

namespace {

constexpr float kInvertedMin = 1.0e9f;
constexpr float kInvertedMax = -1.0e9f;
constexpr std::uint32_t kIndexFormat16 = 101;
constexpr std::uint32_t kStaticBuffer = 1;

bool IsTakenType(std::uint32_t type) { return type == animfile::kLightmappedSurface || type == animfile::kPlainSurface; }

/// [first, first + count) inside an array of `size` elements.
bool RunInside(std::uint64_t first, std::uint64_t count, std::size_t size) { return first + count <= size; }

}  // namespace

bool N_AnimObject::FileContents::Read(const N_AnimFileData& file) {
  return file.ReadSection(animfile::kMaterials, materials) && file.ReadSection(animfile::kLightmaps, lightmaps) &&
         file.ReadSection(animfile::kVertices, vertices) && file.ReadSection(animfile::kIndices, indices) &&
         file.ReadSection(animfile::kSurfaces, surfaces) && file.ReadSection(animfile::kSkinPoints, skinPoints) &&
         file.ReadSection(animfile::kShadowTriangles, shadowTriangles) &&
         file.ReadSection(animfile::kWeights, weights) && file.ReadSection(animfile::kBones, bones);
}

bool N_AnimObject::FileContents::SurfaceConsistent(const N_AnimSurfaceRecord& surface) const {
  if (!IsTakenType(surface.type)) return true;  // left empty: nothing of it is read
  if (surface.material >= materials.size()) return false;
  if (surface.type == animfile::kLightmappedSurface && surface.lightmap >= lightmaps.size()) return false;
  if (!RunInside(surface.firstVertex, surface.vertexCount, vertices.size())) return false;
  if (!RunInside(surface.firstIndex, surface.indexCount, indices.size())) return false;
  const auto first = indices.begin() + surface.firstIndex;
  return std::all_of(first, first + surface.indexCount,
                     [&](std::uint16_t index) { return index < surface.vertexCount; });
}

bool N_AnimObject::FileContents::Consistent() const {
  const std::size_t points = skinPoints.size();
  const auto pointInRange = [points](std::uint32_t i) { return i < points; };
  return std::all_of(vertices.begin(), vertices.end(),
                     [&](const N_AnimVertexRecord& v) { return pointInRange(v.skinPoint); }) &&
         std::all_of(skinPoints.begin(), skinPoints.end(),
                     [&](const N_AnimSkinPoint& p) { return RunInside(p.firstWeight, p.weightCount, weights.size()); }) &&
         std::all_of(weights.begin(), weights.end(), [&](const N_AnimWeight& w) { return w.bone < bones.size(); }) &&
         std::all_of(surfaces.begin(), surfaces.end(),
                     [&](const N_AnimSurfaceRecord& s) { return SurfaceConsistent(s); }) &&
         std::all_of(shadowTriangles.begin(), shadowTriangles.end(), [&](const N_ShadowTriangle& t) {
           return pointInRange(t.corner[0]) && pointInRange(t.corner[1]) && pointInRange(t.corner[2]);
         });
}

N_AnimObject::N_AnimObject() { BuildBounds(); }

N_AnimObject::~N_AnimObject() { Release(); }

bool N_AnimObject::Load(const char* fileName) {
  if (!fileName) return false;
  N_AnimFileData file;
  if (!file.Read(fileName)) {
    if (g_errorLog) g_errorLog->Report(12, "error loading file %s!\n", fileName);
    return false;
  }
  if (!file.HasDirectory() || file.Word(0) != animfile::kMeshMagic) {
    if (g_errorLog) g_errorLog->Report(9, "%s is not valid mesh file!", fileName);
    return false;
  }
  if (file.Word(1) != animfile::kMeshVersion) {
    // The text names 1.30 while 140 is compared: the players' logs have always said so.
    if (g_errorLog) {
      g_errorLog->Report(9, "%s is an v.%d not supported version, supported version is 1.30", fileName,
                         static_cast<int>(file.Word(1)));
    }
    return false;
  }
  if (g_log) g_log->Print("N_AnimObject: Loading mesh \"%s\"\n", fileName);
  FileContents contents;
  if (!contents.Read(file) || !contents.Consistent()) {
    if (g_errorLog) g_errorLog->Report(9, "%s is not valid mesh file!", fileName);
    return false;
  }
  Release();
  Adopt(std::move(contents));
  return true;
}

void N_AnimObject::Adopt(FileContents&& contents) {
  for (const N_AnimNameRecord& record : contents.materials) m_materials.emplace_back(record.name);
  m_lightmaps.resize(contents.lightmaps.size());
  for (std::size_t i = 0; i < contents.lightmaps.size(); ++i) {
    LoadLightmap(contents.lightmaps[i].name, m_lightmaps[i]);
  }
  m_sourceVertices = std::move(contents.vertices);
  m_indices = std::move(contents.indices);
  m_skinPoints = std::move(contents.skinPoints);
  m_positions.reserve(m_skinPoints.size());
  for (const N_AnimSkinPoint& point : m_skinPoints) m_positions.push_back(point.position);
  m_renderVertices.resize(m_sourceVertices.size());
  m_vertexSkinPoints.resize(m_sourceVertices.size());
  for (std::size_t i = 0; i < m_sourceVertices.size(); ++i) {
    const N_AnimVertexRecord& source = m_sourceVertices[i];
    N_SurfaceVertex& vertex = m_renderVertices[i];
    const N_Vector3& position = m_positions[source.skinPoint];
    vertex = {{position.x, position.y, position.z},
              {source.normal[0], source.normal[1], source.normal[2]},
              source.colour,
              {source.uv0[0], source.uv0[1]},
              {source.uv1[0], source.uv1[1]}};
    m_vertexSkinPoints[i] = source.skinPoint;
  }
  m_shadowTriangles = std::move(contents.shadowTriangles);
  m_weights = std::move(contents.weights);
  BuildSurfaces(contents.surfaces);
  BuildBones(contents.bones);
  BuildBounds();
}

void N_AnimObject::BuildSurfaces(const std::vector<N_AnimSurfaceRecord>& records) {
  m_surfaces.resize(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    const N_AnimSurfaceRecord& record = records[i];
    N_MeshSurface& surface = m_surfaces[i];
    if (IsTakenType(record.type)) {
      surface.type = static_cast<std::int32_t>(record.type);
      surface.primitiveType = static_cast<std::int32_t>(record.primitiveType);
      surface.vertices = m_renderVertices.data() + record.firstVertex;
      surface.vertexCount = record.vertexCount;
      surface.indices = m_indices.data() + record.firstIndex;
      surface.indexCount = record.indexCount;
      surface.shader = SurfaceShader(m_materials[record.material], record.type);
      if (record.type == animfile::kLightmappedSurface) surface.lightmap = m_lightmaps[record.lightmap].texture;
      surface.boundsMin = {record.box[0], record.box[1], record.box[2]};
      surface.boundsMax = {record.box[3], record.box[4], record.box[5]};
    }
    BuildSurfaceBuffers(surface);
  }
}

std::int32_t N_AnimObject::SurfaceShader(const std::string& material, std::uint32_t type) {
  return g_scene.shaderMng ? g_scene.shaderMng->AddShader(material.c_str(), 0, type) : N_ShaderMng::kNoShader;
}

void N_AnimObject::BuildSurfaceBuffers(N_MeshSurface& surface) {
  if (!g_render) return;  // headless: the set still loads, advances and poses
  surface.indexBuffer = g_render->CreateIndexBuffer(kIndexFormat16, surface.indexCount, kStaticBuffer);
  if (surface.indexBuffer) surface.indexBuffer->Write(0, surface.indexCount * 2u, surface.indices, false);
  // Dynamic: the skinning rewrites it every frame the mesh is seen.
  surface.vertexBuffer = g_render->CreateVertexBuffer(N_Render::kSurfaceVertexSize, surface.vertexCount,
                                                      N_VertexBuffer::kDynamic);
  if (surface.vertexBuffer) {
    surface.vertexBuffer->Write(0, surface.vertexCount * N_Render::kSurfaceVertexSize, surface.vertices, false);
  }
  surface.binding = g_render->CreateVertexBufferBinding();
  if (surface.binding) surface.binding->SetStream(0, surface.vertexBuffer);
}

void N_AnimObject::BuildBones(const std::vector<N_AnimBoneRecord>& records) {
  const std::size_t count = records.size();
  m_bones.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    N_Bone& bone = m_bones[i];
    std::memcpy(bone.name, records[i].name, sizeof bone.name);
    bone.parent = records[i].parent;
    bone.storedPosition = records[i].position;
    bone.storedRotation = records[i].rotation;
    bone.index = static_cast<std::int32_t>(i);
  }
  // Children in ascending order of their own index; a bone that names itself or no bone
  // as its parent is nobody's child, and only parent -1 makes a root.
  for (std::size_t j = 0; j < count; ++j) {
    const std::int32_t parent = m_bones[j].parent;
    if (parent == -1) m_roots.push_back(static_cast<std::int32_t>(j));
    if (parent >= 0 && static_cast<std::size_t>(parent) < count && static_cast<std::size_t>(parent) != j) {
      m_bones[static_cast<std::size_t>(parent)].children.push_back(static_cast<std::int32_t>(j));
    }
  }
  for (N_Bone& bone : m_bones) {
    bone.storedTransform.FromQuaternion(bone.storedRotation);
    bone.storedTransform.m[3] = bone.storedPosition.x;
    bone.storedTransform.m[7] = bone.storedPosition.y;
    bone.storedTransform.m[11] = bone.storedPosition.z;
    bone.storedTransform.m[15] = 1.0f;
    N_Matrix34(bone.storedTransform).Invert(bone.inverseTransform);
  }
}

void N_AnimObject::BuildBounds() {
  N_Vector3 lo{kInvertedMin, kInvertedMin, kInvertedMin};
  N_Vector3 hi{kInvertedMax, kInvertedMax, kInvertedMax};
  for (const N_MeshSurface& surface : m_surfaces) {
    if (!IsTakenType(static_cast<std::uint32_t>(surface.type))) continue;  // no box of its own
    lo = {std::min(lo.x, surface.boundsMin.x), std::min(lo.y, surface.boundsMin.y), std::min(lo.z, surface.boundsMin.z)};
    hi = {std::max(hi.x, surface.boundsMax.x), std::max(hi.y, surface.boundsMax.y), std::max(hi.z, surface.boundsMax.z)};
  }
  m_boundsMin = lo;
  m_boundsMax = hi;
  const N_Vector3 half = (hi - lo) * 0.5f;
  m_centre = lo + half;
  m_radius = std::sqrt(Vec3Dot(half, half));
}

void N_AnimObject::Release() {
  ReleaseLightmaps(m_lightmaps);
  for (N_MeshSurface& surface : m_surfaces) {
    if (g_render) {
      if (surface.vertexBuffer) g_render->DestroyVertexBuffer(&surface.vertexBuffer);
      if (surface.indexBuffer) g_render->DestroyIndexBuffer(&surface.indexBuffer);
      if (surface.binding) g_render->DestroyVertexBufferBinding(&surface.binding);
    }
    if (HoldsShaderReference(surface.shader) && g_scene.shaderMng) g_scene.shaderMng->ReleaseShader(surface.shader);
  }
  if (m_shadowVolume) m_shadowVolume->ReleaseBuffers();
  m_shadowVolume.reset();
  m_materials.clear();
  m_lightmaps.clear();
  m_indices.clear();
  m_surfaces.clear();
  m_sourceVertices.clear();
  m_skinPoints.clear();
  m_positions.clear();
  m_renderVertices.clear();
  m_vertexSkinPoints.clear();
  m_weights.clear();
  m_bones.clear();
  m_roots.clear();
  m_shadowTriangles.clear();
  BuildBounds();
}

int N_AnimObject::FindBone(const char* name) const {
  if (!name) return -1;
  for (const N_Bone& bone : m_bones) {
    if (platform::EqualsNoCase(bone.name, name)) return bone.index;
  }
  return -1;
}

bool N_AnimObject::FitsAnimation(const N_Animation& animation) const { return animation.TrackCount() == BoneCount(); }

bool N_AnimObject::IsDrawn(const N_MeshSurface& surface) {
  return surface.vertexBuffer && surface.shader != N_ShaderMng::kNoShader;
}
