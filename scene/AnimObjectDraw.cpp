// N_AnimObject per frame: skinning on the processor, the skeleton lines, the surfaces
// and the stencil shadow; and the shadow volume made once per race.
#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Matrix34.h"
#include "core/VarMng.h"
#include "render/Render.h"
#include "render/Shader.h"
#include "render/ShaderMng.h"
#include "render/ShadowVolume.h"
#include "render/VertexBuffer.h"
#include "scene/AnimInstance.h"
#include "scene/AnimObject.h"
#include "scene/FigureDress.h"
#include "scene/FigureRoster.h"
#include "scene/Level.h"
#include "scene/SceneAccess.h"

#include <set>
#include <utility>

namespace {

constexpr float kRed[3] = {1.0f, 0.0f, 0.0f};
constexpr float kYellow[3] = {1.0f, 1.0f, 0.0f};

const N_Shader* ShaderOf(const N_MeshSurface& surface) {
  return g_scene.shaderMng ? g_scene.shaderMng->GetShader(surface.shader) : nullptr;
}

}  // namespace

void N_AnimObject::Skin(const N_AnimInstance& instance) {
  if (instance.boneMatrices.size() < m_bones.size()) return;  // another skeleton: nothing to read
  // pose_b x stored_b once per bone, then one affine transform per weight.
  std::vector<N_Matrix34> skinning(m_bones.size());
  for (std::size_t b = 0; b < m_bones.size(); ++b) {
    N_Matrix4 product;
    skinning[b] = N_Matrix34(MatrixMultiply(product, instance.boneMatrices[b], m_bones[b].storedTransform));
  }
  for (std::size_t i = 0; i < m_skinPoints.size(); ++i) {
    const N_AnimSkinPoint& point = m_skinPoints[i];
    N_Vector3 sum;
    for (std::uint32_t k = 0; k < point.weightCount; ++k) {
      const N_AnimWeight& weight = m_weights[point.firstWeight + k];
      if (weight.weight == 0.0f) continue;
      N_Vector3 moved;
      skinning[weight.bone].TransformPoint(moved, point.position);
      sum.AddTo(moved * weight.weight);
    }
    m_positions[i] = sum;  // not renormalised: the weights are the file's
  }
  for (std::size_t v = 0; v < m_renderVertices.size(); ++v) {
    const N_Vector3& position = m_positions[m_vertexSkinPoints[v]];
    float* out = m_renderVertices[v].position;
    out[0] = position.x;
    out[1] = position.y;
    out[2] = position.z;
  }
  for (N_MeshSurface& surface : m_surfaces) {
    if (!IsDrawn(surface)) continue;
    surface.vertexBuffer->Write(0, surface.vertexCount * N_Render::kSurfaceVertexSize, surface.vertices, true);
  }
}

void N_AnimObject::DrawSkeleton(const N_Vector3& position, const N_Matrix3& rotation) const {
  const auto pointOf = [&](const N_Bone& bone) {
    N_Vector3 point;
    rotation.Transform({bone.pose.m[3], bone.pose.m[7], bone.pose.m[11]}, point);
    return point + position;
  };
  // Depth first from each root, children in list order, each child's point and the line
  // from its parent before its own subtree; a root gets no point of its own. An explicit
  // stack: a file may chain thousands of bones.
  std::vector<std::int32_t> stack;
  const auto pushChildren = [&](const N_Bone& bone) {
    for (auto it = bone.children.rbegin(); it != bone.children.rend(); ++it) stack.push_back(*it);
  };
  for (const std::int32_t root : m_roots) {
    pushChildren(m_bones[static_cast<std::size_t>(root)]);
    while (!stack.empty()) {
      const N_Bone& child = m_bones[static_cast<std::size_t>(stack.back())];
      stack.pop_back();
      const N_Vector3 from = pointOf(m_bones[static_cast<std::size_t>(child.parent)]);
      const N_Vector3 to = pointOf(child);
      g_render->DrawPointXYZ(to.x, to.y, to.z, kSkeletonPointSize, kRed);
      g_render->DrawLineXYZ(from.x, from.y, from.z, to.x, to.y, to.z, kYellow, 1.0f);
      pushChildren(child);
    }
  }
}

void N_AnimObject::BeginDraw(const N_Vector3& position, const N_Matrix3& rotation) const {
  if (g_varMng && g_varMng->GetInt("showskeleton") != 0) DrawSkeleton(position, rotation);
  if (g_scene.level) g_scene.level->SetAmbientFromLightGrid(position);
}

void N_AnimObject::DrawSurface(N_MeshSurface& surface, std::int32_t shader, const N_Vector3& position,
                               const N_Matrix3& rotation) {
  N_Shader* record = g_scene.shaderMng ? g_scene.shaderMng->GetShader(shader) : nullptr;
  if (!record) return;
  // Lightmap argument 0: a "$lightmap" stage of an animated mesh binds no texture.
  g_render->SetShader(record, 0);
  g_render->DrawSurfaceAt(&surface, position, rotation, 1.0f);
}

void N_AnimObject::DrawShadow(const N_Vector3& position, const N_Matrix3& rotation) {
  N_Level* level = g_scene.level;
  if (!m_shadowVolume || !level) return;
  const N_RenderLight& sun = level->SunLight();
  m_shadowVolume->Update({sun.direction[0], sun.direction[1], sun.direction[2]}, position, rotation, 1.0f);
  m_shadowVolume->Draw(position, rotation, 1.0f);
}

void N_AnimObject::Draw(const N_Vector3& position, const N_Matrix3& rotation) {
  if (!g_render) return;
  BeginDraw(position, rotation);
  for (N_MeshSurface& surface : m_surfaces) {
    if (IsDrawn(surface)) DrawSurface(surface, surface.shader, position, rotation);
  }
  DrawShadow(position, rotation);
}

void N_AnimObject::DrawDressed(const N_Vector3& position, const N_Matrix3& rotation, int dressNumber,
                               const N_FigureAthlete* athlete) {
  if (dressNumber < 1 || dressNumber > N_FigureRoster::kBibCount) {
    static std::set<int> reported;
    if (reported.insert(dressNumber).second && g_errorLog) {
      g_errorLog->ReportBox(0, "Posielas zle cislo dresu! <1,31> vstup bol: %d", dressNumber);
    }
    return;
  }
  if (!g_render) return;
  BeginDraw(position, rotation);
  const N_FigureRoster* roster = g_scene.figureRoster;
  for (N_MeshSurface& surface : m_surfaces) {
    if (!IsDrawn(surface)) continue;
    std::int32_t shader = surface.shader;
    switch (shader) {
      case dress::kStartNumber: shader = roster ? roster->BibShader(dressNumber) : N_ShaderMng::kNoShader; break;
      case dress::kSuit: shader = athlete ? athlete->DressShader : N_ShaderMng::kNoShader; break;
      case dress::kSticks: shader = athlete ? athlete->SticksShader : N_ShaderMng::kNoShader; break;
      case dress::kGun: shader = athlete ? athlete->GunShader : N_ShaderMng::kNoShader; break;
      case dress::kSki: shader = athlete ? athlete->SkiShader : N_ShaderMng::kNoShader; break;
      default: break;
    }
    DrawSurface(surface, shader, position, rotation);
  }
  DrawShadow(position, rotation);
}

void N_AnimObject::CreateShadowVolume() {
  if (m_shadowVolume) m_shadowVolume->ReleaseBuffers();
  m_shadowVolume.reset();
  // A volume is drawn only through the renderer, which also reports a mesh with holes.
  if (!g_render || m_surfaces.empty()) return;
  const N_Shader* shader = ShaderOf(m_surfaces[0]);
  if (!shader || shader->surfaceParm != SurfaceParm::kCastShadow) return;
  BuildShadowVolume(shader->shadowDistance);
}

void N_AnimObject::BuildShadowVolume(float length) {
  auto volume = std::make_unique<N_ShadowVolume>(true);
  volume->Build(m_shadowTriangles.data(), static_cast<int>(m_shadowTriangles.size()), m_positions.data());
  volume->SetExtrusionLength(length);
  m_shadowVolume = std::move(volume);
}
