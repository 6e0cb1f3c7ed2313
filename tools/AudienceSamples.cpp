// Step "audience": the spectators of the sample courses, as the spectator script
// (data/Ai/divaci.ai) names them: two animated meshes "data\ai\fan_a.mesh" and
// "fan_b.mesh" on one skeleton (the audience's animation set matches every animation
// against its first mesh), their low-detail static meshes ("<mesh>_l.mesh"), four
// looping animations (two idle, two lively) and the textures of their materials
// (data/scripts/audience.shader). A fan is a figure of boxes facing +x, 68 inches tall.
#include "tools/AnimWriter.h"
#include "tools/DdsWriter.h"
#include "tools/MeshWriter.h"
#include "tools/Step.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using datagen::AnimMeshBuilder;

constexpr float kPi = 3.14159265f;

/// The figure's boxes: corners, the bone that carries each, and its material slot
/// (0 the jacket, 1 the skin, 2 the trousers).
struct Part {
  N_Vector3 lo, hi;
  int bone;
  int material;
};
enum Bone { kPelvis, kSpine, kHead, kArmLeft, kArmRight };
const Part kParts[] = {
    {{-5, -9, 0}, {5, 9, 35}, kPelvis, 2},     // legs
    {{-6, -10, 35}, {6, 10, 57}, kSpine, 0},   // body
    {{-4, -4, 57}, {4, 4, 67}, kHead, 1},      // head
    {{-3, 10, 34}, {3, 14, 56}, kArmLeft, 0},  // left arm
    {{-3, -14, 34}, {3, -10, 56}, kArmRight, 0},
};

AnimMeshBuilder FanMesh(const std::string& jacket) {
  AnimMeshBuilder mesh;
  mesh.AddBone("pelvis", -1, {0, 0, 35});
  mesh.AddBone("spine", kPelvis, {0, 0, 45});
  mesh.AddBone("head", kSpine, {0, 0, 57});
  mesh.AddBone("arm_l", kSpine, {0, 12, 56});
  mesh.AddBone("arm_r", kSpine, {0, -12, 56});
  const int materials[3] = {mesh.AddMaterial(jacket), mesh.AddMaterial("audience/skin"),
                            mesh.AddMaterial("audience/trousers")};
  for (const Part& part : kParts) mesh.AddBox(materials[part.material], part.lo, part.hi, {{part.bone, 1.0f}});
  return mesh;
}

/// The low-detail mesh: the same boxes standing still, one surface per material.
datagen::SurfaceData LowMesh(const std::string& jacket) {
  datagen::SurfaceData mesh;
  mesh.materials = {jacket, "audience/skin", "audience/trousers"};
  for (int material = 0; material < 3; ++material) {
    std::vector<N_SurfaceVertex> vertices;
    std::vector<std::uint16_t> indices;
    for (const Part& part : kParts) {
      if (part.material != material) continue;
      const N_Vector3 lo = part.lo, hi = part.hi;
      const auto corner = [&](int i) {
        return N_Vector3{i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z};
      };
      // Six faces, each four corners counter-clockwise seen from outside.
      const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
      for (const auto& face : faces) {
        const auto first = static_cast<std::uint16_t>(vertices.size());
        for (int k = 0; k < 4; ++k) {
          const N_Vector3 p = corner(face[k]);
          vertices.push_back(datagen::MeshVertex(p.x, p.y, p.z, 0xFFFFFFFF, float(k == 1 || k == 2), float(k >= 2)));
        }
        for (int k : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<std::uint16_t>(first + k));
      }
    }
    mesh.AddSurface(vertices, indices, static_cast<std::uint32_t>(material));
  }
  return mesh;
}

/// A looping animation of `frames` keys (the last equal to the first): the bind pose
/// with each bone turned by pose(bone, phase), phase running 0..1 over the loop.
std::vector<std::uint8_t> Animation(const AnimMeshBuilder& mesh, int frames,
                                    const std::function<N_Quaternion(int, float)>& pose) {
  std::vector<std::vector<N_AnimKey>> keys;
  for (int f = 0; f < frames; ++f) {
    const float phase = float(f % (frames - 1)) / float(frames - 1);
    std::vector<N_AnimKey> frame = mesh.BindPose();
    for (int bone = 0; bone < int(frame.size()); ++bone) frame[std::size_t(bone)] = mesh.Key(bone, pose(bone, phase));
    keys.push_back(frame);
  }
  return datagen::WriteAnimation(datagen::TracksFromFrames(mesh, keys));
}

N_Quaternion Turn(const N_Vector3& axis, float angle) { return datagen::AxisRotation(axis, angle); }

datagen::RgbaImage Plain(int r, int g, int b) {
  datagen::RgbaImage image(16, 16);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const int shade = ((x / 4 + y / 4) % 2) * 12;  // a faint weave
      image.At(x, y) = {std::uint8_t(std::max(0, r - shade)), std::uint8_t(std::max(0, g - shade)),
                        std::uint8_t(std::max(0, b - shade)), 255};
    }
  }
  return image;
}

bool WriteAudience(datagen::Output& out) {
  const std::pair<const char*, const char*> fans[] = {{"fan_a", "audience/fan_a"}, {"fan_b", "audience/fan_b"}};
  bool ok = true;
  for (const auto& [file, jacket] : fans) {
    const std::string mesh = std::string("data/Ai/") + file + ".mesh";
    ok = out.Write(mesh, FanMesh(jacket).Write()) && ok;
    ok = out.Write(mesh + "_l.mesh", datagen::EncodeMesh(LowMesh(jacket))) && ok;
  }
  const AnimMeshBuilder mesh = FanMesh("audience/fan_a");
  const N_Vector3 x{1, 0, 0}, z{0, 0, 1};
  const float tau = 2.0f * kPi;
  ok = out.Write("data/Ai/fan_idle1.anim", Animation(mesh, 31, [&](int bone, float t) {
         return bone == kSpine ? Turn(x, 0.05f * std::sin(tau * t)) : N_Quaternion{};
       })) && ok;
  ok = out.Write("data/Ai/fan_idle2.anim", Animation(mesh, 61, [&](int bone, float t) {
         return bone == kHead ? Turn(z, 0.4f * std::sin(tau * t)) : N_Quaternion{};
       })) && ok;
  ok = out.Write("data/Ai/fan_cheer.anim", Animation(mesh, 31, [&](int bone, float t) {
         const float lift = 2.4f * (0.5f - 0.5f * std::cos(tau * t));
         if (bone == kArmLeft) return Turn(x, lift);
         if (bone == kArmRight) return Turn(x, -lift);
         return N_Quaternion{};
       })) && ok;
  ok = out.Write("data/Ai/fan_wave.anim", Animation(mesh, 31, [&](int bone, float t) {
         return bone == kArmRight ? Turn(x, -2.5f + 0.4f * std::sin(tau * t)) : N_Quaternion{};
       })) && ok;
  const std::pair<const char*, datagen::RgbaImage> textures[] = {
      {"jacket_a", Plain(200, 40, 35)}, {"jacket_b", Plain(40, 70, 190)}, {"skin", Plain(225, 185, 160)},
      {"trousers", Plain(45, 45, 55)}};
  for (const auto& [name, picture] : textures) {
    ok = out.Write(std::string("data/textures/audience/") + name + ".dds",
                   datagen::EncodeDds(picture, {datagen::DdsFormat::Dxt1, true})) &&
         ok;
  }
  return ok;
}

const datagen::StepRegistrar kAudience{{"audience", "the spectators' meshes, animations and textures", &WriteAudience}};

}  // namespace
