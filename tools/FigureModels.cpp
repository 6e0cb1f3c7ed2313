// The skier reference meshes: one skeleton (24 bones, facing +x, z up, the feet on
// z = 0) and rigid parts, each on its bone: prisms for the limbs, the neck, the head,
// the cap and the poles, boxes for the body, the bib, the hands, the boots, the skis and
// the rifle on the back. One surface per material: the five dress placeholders and the
// face and boots materials (data/scripts/figures.shader). Every part is closed and is
// also the shadow mesh.
#include "tools/FigureSamples.h"

#include <array>
#include <cmath>

namespace datagen::figures {

namespace {

constexpr float kPi = 3.14159265f;

struct BoneDef {
  const char* name;
  int parent;
  N_Vector3 at;  ///< the joint in mesh space
};

/// In the order of the Bone enumeration.
const std::array<BoneDef, kBoneCount> kBones{{
    {"pelvis", -1, {0, 0, 37}},
    {"spine", kPelvis, {0, 0, 42}},
    {"chest", kSpine, {0, 0, 50}},
    {"neck", kChest, {0, 0, 58}},
    {"head", kNeck, {0, 0, 61}},
    {"upperarm_l", kChest, {0, 9, 56}},
    {"forearm_l", kUpperArmL, {0, 9, 45}},
    {"hand_l", kForearmL, {0, 9, 35}},
    {"pole_l", kHandL, {0, 9, 34}},
    {"upperarm_r", kChest, {0, -9, 56}},
    {"forearm_r", kUpperArmR, {0, -9, 45}},
    {"hand_r", kForearmR, {0, -9, 35}},
    {"pole_r", kHandR, {0, -9, 34}},
    {"thigh_l", kPelvis, {0, 4, 36}},
    {"shin_l", kThighL, {0, 4, 19}},
    {"foot_l", kShinL, {0, 4, 3}},
    {"ski_l", kFootL, {0, 4, 1}},
    {"skitip_l", kSkiL, {42, 4, 1}},
    {"thigh_r", kPelvis, {0, -4, 36}},
    {"shin_r", kThighR, {0, -4, 19}},
    {"foot_r", kShinR, {0, -4, 3}},
    {"ski_r", kFootR, {0, -4, 1}},
    {"skitip_r", kSkiR, {42, -4, 1}},
    {"rifle", kChest, {-5, 0, 52}},
}};

enum Material { kSuit, kBib, kSticks, kGun, kSki, kFace, kBoots, kMaterialCount };

const std::array<const char*, kMaterialCount> kMaterialNames{
    "textures\\lyziari\\dress01", "textures\\lyziari\\startnum01", "textures\\lyziari\\stick01",
    "textures\\lyziari\\gun01",   "textures\\lyziari\\ski01",      "lyziari/face",
    "lyziari/boots",
};

N_Vector3 Cross(const N_Vector3& a, const N_Vector3& b) {
  N_Vector3 out;
  Vec3Cross(out, a, b);
  return out;
}

/// The parts of one mesh, gathered by material and written as one surface each.
class Parts {
 public:
  explicit Parts(AnimMeshBuilder& mesh) : m_mesh(mesh) {}

  /// A box from lo to hi; every face's texture upright as seen from outside (the sides
  /// with z up).
  void Box(int bone, Material material, const N_Vector3& lo, const N_Vector3& hi) {
    int first = 0;
    for (int i = 0; i < 8; ++i) {
      const int point = m_mesh.AddSkinPoint({i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z},
                                            {{bone, 1.0f}});
      if (i == 0) first = point;
    }
    // Corners bottom-left, bottom-right, top-right, top-left seen from outside.
    constexpr int kFaces[6][4] = {{1, 3, 7, 5}, {2, 0, 4, 6}, {3, 2, 6, 7}, {0, 1, 5, 4}, {6, 4, 5, 7}, {0, 2, 3, 1}};
    const N_Vector3 kNormals[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (int f = 0; f < 6; ++f) {
      Quad(material, {first + kFaces[f][0], first + kFaces[f][1], first + kFaces[f][2], first + kFaces[f][3]},
           kNormals[f], 0.0f, 1.0f);
    }
  }

  /// A prism of `sides` sides from a to b with the half widths rx and ry across.
  void Prism(int bone, Material material, const N_Vector3& a, const N_Vector3& b, float rx, float ry, int sides) {
    N_Vector3 axis = b - a;
    axis.Normalize();
    N_Vector3 reference = std::fabs(axis.x) < 0.9f ? N_Vector3{1, 0, 0} : N_Vector3{0, 0, 1};
    N_Vector3 u = reference - axis * Vec3Dot(reference, axis);
    u.Normalize();
    const N_Vector3 v = Cross(axis, u);
    const float start = sides == 4 ? kPi / 4.0f : 0.0f;  // a low prism is a box
    const float widen = sides == 4 ? std::sqrt(2.0f) : 1.0f;
    const auto ring = [&](const N_Vector3& centre, int i) {
      const float angle = start + 2.0f * kPi * float(i) / float(sides);
      return centre + u * (std::cos(angle) * rx * widen) + v * (std::sin(angle) * ry * widen);
    };
    const int first = m_mesh.SkinPointCount();
    for (int i = 0; i < sides; ++i) m_mesh.AddSkinPoint(ring(a, i), {{bone, 1.0f}});
    for (int i = 0; i < sides; ++i) m_mesh.AddSkinPoint(ring(b, i), {{bone, 1.0f}});
    const auto pointA = [&](int i) { return first + i % sides; };
    const auto pointB = [&](int i) { return first + sides + i % sides; };
    for (int i = 0; i < sides; ++i) {
      const float mid = start + 2.0f * kPi * (float(i) + 0.5f) / float(sides);
      const N_Vector3 normal = u * std::cos(mid) + v * std::sin(mid);
      Quad(material, {pointA(i), pointA(i + 1), pointB(i + 1), pointB(i)}, normal, float(i) / float(sides),
           float(i + 1) / float(sides));
    }
    for (int i = 1; i + 1 < sides; ++i) {
      Triangle(material, {pointB(0), pointB(i), pointB(i + 1)}, axis);
      Triangle(material, {pointA(0), pointA(i + 1), pointA(i)}, axis * -1.0f);
    }
  }

  /// One surface per material used.
  void Finish() {
    for (int m = 0; m < kMaterialCount; ++m) {
      if (m_vertices[m].empty()) continue;
      m_mesh.AddSurface(m_mesh.AddMaterial(kMaterialNames[std::size_t(m)]), m_vertices[m], m_indices[m]);
    }
  }

 private:
  /// Corners bottom-left, bottom-right, top-right, top-left (counter-clockwise from
  /// outside); the texture from u0 to u1 across, upright.
  void Quad(Material material, const std::array<int, 4>& corners, const N_Vector3& normal, float u0, float u1) {
    const float uv[4][2] = {{u0, 1}, {u1, 1}, {u1, 0}, {u0, 0}};
    const auto base = static_cast<std::uint16_t>(m_vertices[material].size());
    for (int c = 0; c < 4; ++c) Vertex(material, corners[std::size_t(c)], normal, uv[c][0], uv[c][1]);
    for (const int c : {0, 1, 2, 0, 2, 3}) m_indices[material].push_back(static_cast<std::uint16_t>(base + c));
    m_mesh.AddShadowTriangle(corners[0], corners[1], corners[2]);
    m_mesh.AddShadowTriangle(corners[0], corners[2], corners[3]);
  }

  void Triangle(Material material, const std::array<int, 3>& corners, const N_Vector3& normal) {
    const auto base = static_cast<std::uint16_t>(m_vertices[material].size());
    const float uv[3][2] = {{0.5f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}};
    for (int c = 0; c < 3; ++c) Vertex(material, corners[std::size_t(c)], normal, uv[c][0], uv[c][1]);
    for (int c = 0; c < 3; ++c) m_indices[material].push_back(static_cast<std::uint16_t>(base + c));
    m_mesh.AddShadowTriangle(corners[0], corners[1], corners[2]);
  }

  void Vertex(Material material, int skinPoint, const N_Vector3& normal, float u, float v) {
    AnimMeshBuilder::Vertex vertex;
    vertex.skinPoint = skinPoint;
    vertex.normal = normal;
    vertex.uv[0] = u;
    vertex.uv[1] = v;
    m_vertices[material].push_back(vertex);
  }

  AnimMeshBuilder& m_mesh;
  std::array<std::vector<AnimMeshBuilder::Vertex>, kMaterialCount> m_vertices;
  std::array<std::vector<std::uint16_t>, kMaterialCount> m_indices;
};

/// The limbs and poles of one side (y = +1 left, -1 right).
void AddSide(Parts& parts, const Build& b, float y, int sides, bool low) {
  const bool left = y > 0.0f;
  const float g = b.girth;
  parts.Prism(left ? kUpperArmL : kUpperArmR, kSuit, {0, 9 * y, 57}, {0, 9 * y, 45}, 2.0f * g, 2.0f * g, sides);
  parts.Prism(left ? kForearmL : kForearmR, kSuit, {0, 9 * y, 45}, {0, 9 * y, 36}, 1.7f * g, 1.7f * g, sides);
  if (!low) parts.Box(left ? kHandL : kHandR, kBoots, {-1.5f, 9 * y - 1.2f, 32.5f}, {1.5f, 9 * y + 1.2f, 36});
  parts.Prism(left ? kPoleL : kPoleR, kSticks, {0.5f, 9 * y, 36}, {-13, 9 * y, -1}, 0.35f, 0.35f, low ? 4 : 6);
  parts.Prism(left ? kThighL : kThighR, kSuit, {0, 4 * y, 36.5f}, {0, 4 * y, 19}, 3.0f * g, 3.0f * g, sides);
  parts.Prism(left ? kShinL : kShinR, kSuit, {0, 4 * y, 19}, {0, 4 * y, 4.5f}, 2.3f * g, 2.3f * g, sides);
  parts.Box(left ? kFootL : kFootR, kBoots, {-3, 4 * y - 2, 0.8f}, {5, 4 * y + 2, 5.5f});
  parts.Box(left ? kSkiL : kSkiR, kSki, {-28, 4 * y - 1.4f, 0}, {42, 4 * y + 1.4f, 0.8f});
}

}  // namespace

AnimMeshBuilder Model(const Build& b, bool lowDetail) {
  AnimMeshBuilder mesh;
  for (const BoneDef& bone : kBones) mesh.AddBone(bone.name, bone.parent, bone.at);
  Parts parts(mesh);
  const int sides = lowDetail ? 4 : 12;
  const float g = b.girth, h = b.head;
  parts.Box(kPelvis, kSuit, {-4 * g, -6.5f * g, 33}, {4 * g, 6.5f * g, 41.5f});
  parts.Box(kSpine, kSuit, {-3.8f * g, -6.3f * g, 41.5f}, {3.8f * g, 6.3f * g, 50});
  parts.Box(kChest, kSuit, {-4.3f * g, -7.5f * g, 50}, {4.3f * g, 7.5f * g, 58});
  // The start number on the chest, its front upright to a viewer in front.
  parts.Box(kChest, kBib, {4.3f * g, -4, 50.5f}, {4.3f * g + 0.5f, 4, 57.5f});
  if (!lowDetail) parts.Prism(kNeck, kFace, {0, 0, 57.5f}, {0, 0, 61.5f}, 1.8f * g, 1.8f * g, sides);
  parts.Prism(kHead, kFace, {0, 0, 61}, {0, 0, 61 + 8.5f * h}, 3.6f * h, 3.3f * h, sides);
  if (b.cap && !lowDetail) parts.Prism(kHead, kSuit, {0, 0, 59 + 8.5f * h}, {0, 0, 62.5f + 8.5f * h}, 3.9f * h, 3.6f * h, sides);
  if (b.ponytail) parts.Box(kHead, kBoots, {-3.4f * h - 2.5f, -1, 62}, {-3.2f * h, 1, 67});
  AddSide(parts, b, 1.0f, sides, lowDetail);
  AddSide(parts, b, -1.0f, sides, lowDetail);
  parts.Box(kRifle, kGun, {-7, -0.8f, 40}, {-5.2f, 0.8f, 66});
  parts.Finish();
  return mesh;
}

}  // namespace datagen::figures
