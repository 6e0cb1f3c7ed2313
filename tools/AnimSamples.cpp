// The sample animated prop: a flag on a pole ("data\anim\props\flag.mesh" and
// "flag.anim"), the level issues place it as an animated level object. The pole is a
// box on the root bone (and the closed shadow mesh); the cloth hangs from three bones
// along its top edge, each turning about the vertical a little after the one before,
// so a wave runs along the cloth in one looping animation of 17 keys (the last equal
// to the first): a chequered race flag. Materials in data/scripts/props.shader; the
// textures here.
#include "tools/AnimWriter.h"
#include "tools/DdsWriter.h"
#include "tools/Step.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using datagen::AnimMeshBuilder;

constexpr float kPi = 3.14159265f;
constexpr int kFrames = 17;  // 16 distinct keys, then the first again
constexpr float kPoleHeight = 300.0f;
constexpr float kClothTop = 250.0f;
constexpr float kClothBottom = 150.0f;
constexpr float kClothWidth = 150.0f;
constexpr int kColumns = 7;
constexpr int kRows = 3;
/// Bone x positions along the cloth's top edge.
constexpr float kClothBones[3] = {0.0f, 50.0f, 100.0f};

/// The cloth bones' weights for a column at x: linear between neighbouring bones, the
/// last bone alone beyond it.
std::vector<AnimMeshBuilder::Weight> ClothWeights(float x, int firstBone) {
  if (x >= kClothBones[2]) return {{firstBone + 2, 1.0f}};
  const int k = x < kClothBones[1] ? 0 : 1;
  const float t = (x - kClothBones[k]) / (kClothBones[k + 1] - kClothBones[k]);
  if (t == 0.0f) return {{firstBone + k, 1.0f}};
  return {{firstBone + k, 1.0f - t}, {firstBone + k + 1, t}};
}

void AddCloth(AnimMeshBuilder& mesh, int material, int firstBone) {
  std::vector<AnimMeshBuilder::Vertex> vertices;
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const float u = float(column) / (kColumns - 1), v = float(row) / (kRows - 1);
      const float x = u * kClothWidth, z = kClothTop - v * (kClothTop - kClothBottom);
      AnimMeshBuilder::Vertex vertex;
      vertex.skinPoint = mesh.AddSkinPoint({x, 0.0f, z}, ClothWeights(x, firstBone));
      vertex.uv[0] = u;
      vertex.uv[1] = v;
      vertex.normal = {0.0f, -1.0f, 0.0f};
      vertices.push_back(vertex);
    }
  }
  std::vector<std::uint16_t> indices;
  for (int row = 0; row + 1 < kRows; ++row) {
    for (int column = 0; column + 1 < kColumns; ++column) {
      const auto a = static_cast<std::uint16_t>(row * kColumns + column);
      const auto b = static_cast<std::uint16_t>(a + 1), c = static_cast<std::uint16_t>(a + kColumns),
                 d = static_cast<std::uint16_t>(a + kColumns + 1);
      indices.insert(indices.end(), {a, c, d, a, d, b});
    }
  }
  mesh.AddSurface(material, vertices, indices);
}

AnimMeshBuilder FlagMesh() {
  AnimMeshBuilder mesh;
  const int pole = mesh.AddBone("pole", -1, {0.0f, 0.0f, 0.0f});
  int parent = pole;
  for (int i = 0; i < 3; ++i) {
    parent = mesh.AddBone("cloth_" + std::to_string(i + 1), parent, {kClothBones[i], 0.0f, kClothTop});
  }
  // The pole first: its material casts the shadow of the shadow mesh (the pole's box).
  mesh.AddBox(mesh.AddMaterial("props/flag_pole"), {-4.0f, -4.0f, 0.0f}, {4.0f, 4.0f, kPoleHeight}, {{pole, 1.0f}});
  AddCloth(mesh, mesh.AddMaterial("props/flag_cloth"), pole + 1);
  return mesh;
}

std::vector<std::vector<N_AnimKey>> FlagFrames(const AnimMeshBuilder& mesh) {
  constexpr float kSwing[3] = {0.12f, 0.35f, 0.35f};  // radians about the vertical
  std::vector<std::vector<N_AnimKey>> frames;
  for (int k = 0; k < kFrames; ++k) {
    // k modulo 16: the last key is the first one bit for bit.
    const float phase = 2.0f * kPi * float(k % (kFrames - 1)) / float(kFrames - 1);
    std::vector<N_AnimKey> keys = mesh.BindPose();
    for (int i = 0; i < 3; ++i) {
      keys[std::size_t(i + 1)] = mesh.Key(i + 1, datagen::AxisRotation({0, 0, 1}, kSwing[i] * std::sin(phase - 1.2f * i)));
    }
    frames.push_back(keys);
  }
  return frames;
}

datagen::RgbaImage Picture(int w, int h, datagen::Rgba (*texel)(float, float)) {
  datagen::RgbaImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.At(x, y) = texel((x + 0.5f) / w, (y + 0.5f) / h);
  return image;
}

bool WriteProps(datagen::Output& out) {
  const AnimMeshBuilder flag = FlagMesh();
  bool ok = out.Write("data/anim/props/flag.mesh", flag.Write());
  ok = out.Write("data/anim/props/flag.anim", datagen::WriteAnimation(datagen::TracksFromFrames(flag, FlagFrames(flag)))) && ok;
  // A chequered race flag (8 x 4 squares) on a grey pole.
  const auto cloth = Picture(64, 32, [](float u, float v) {
    const bool dark = (int(u * 8.0f) + int(v * 4.0f)) % 2 == 1;
    return dark ? datagen::Rgba{40, 40, 45, 255} : datagen::Rgba{235, 235, 235, 255};
  });
  const auto pole = Picture(8, 32, [](float, float v) {
    const auto l = static_cast<std::uint8_t>(150 + 40 * v);
    return datagen::Rgba{l, l, l, 255};
  });
  ok = out.Write("data/textures/props/flag_cloth.dds", datagen::EncodeDds(cloth, {datagen::DdsFormat::Dxt1, true})) && ok;
  ok = out.Write("data/textures/props/flag_pole.dds", datagen::EncodeDds(pole, {datagen::DdsFormat::Dxt1, true})) && ok;
  return ok;
}

const datagen::StepRegistrar kProps{{"props", "the animated sample prop (a flag) with its textures", &WriteProps}};

}  // namespace
