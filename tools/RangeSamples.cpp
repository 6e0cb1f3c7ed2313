// The shooting range's sample figures: the player's rifle ("puska_ref.mesh" with its six
// animations, below "data\Anim\Puska") and the target ("terciky.mesh" with its opening
// and closing animations, below "data\Anim\Terciky"). Materials in
// data/scripts/range.shader; the textures here, one plain colour each.
//
// The rifle is modelled for the eye point: its barrel along +x, the stock under and
// beside the eye, so that drawn at the eye and turned to the view it lies in the lower
// part of the frame. One root bone moves it (in from below, sway, recoil, tilt, out
// below); a bolt bone on its right slides for the reloading.
//
// The target faces +x: a white plate with a black face on its front, and a white cover
// hinged above the face. The face's middle is the figure's origin, so the target drawn at
// its point shows the black face just where the shot's hit sphere lies. Bind pose: the
// cover hangs over the face (closed); opened, it stands out horizontally from the hinge,
// edge on to the stand.
#include "tools/AnimWriter.h"
#include "tools/DdsWriter.h"
#include "tools/Step.h"

#include <cmath>
#include <functional>
#include <vector>

namespace {

using datagen::AnimMeshBuilder;
using Frames = std::vector<std::vector<N_AnimKey>>;

constexpr float kPi = 3.14159265f;
constexpr float kDegree = kPi / 180.0f;

// The rifle's bones.
constexpr int kRifle = 0;
constexpr int kBolt = 1;

AnimMeshBuilder RifleMesh() {
  AnimMeshBuilder mesh;
  const int rifle = mesh.AddBone("rifle", -1, {0.0f, 0.0f, 0.0f});
  const int bolt = mesh.AddBone("bolt", rifle, {26.0f, -2.0f, -6.0f});
  const int wood = mesh.AddMaterial("range/rifle_stock");
  const int metal = mesh.AddMaterial("range/rifle_metal");
  // Stock and fore-end under the eye, a little to its right.
  mesh.AddBox(wood, {6.0f, -4.5f, -12.0f}, {22.0f, -1.5f, -7.0f}, {{rifle, 1.0f}});
  mesh.AddBox(wood, {22.0f, -4.0f, -9.0f}, {44.0f, -2.0f, -6.5f}, {{rifle, 1.0f}});
  // Barrel and receiver, then the bolt handle on the right.
  mesh.AddBox(metal, {20.0f, -3.6f, -6.6f}, {66.0f, -2.4f, -5.4f}, {{rifle, 1.0f}});
  mesh.AddBox(metal, {22.0f, -4.2f, -7.0f}, {30.0f, -1.8f, -4.8f}, {{rifle, 1.0f}});
  mesh.AddBox(metal, {25.0f, -6.5f, -6.5f}, {27.0f, -4.2f, -5.5f}, {{bolt, 1.0f}});
  return mesh;
}

/// A key moved by `shift` from the bone's bind place and turned by the rotation.
N_AnimKey Moved(const AnimMeshBuilder& mesh, int bone, const N_Vector3& shift, const N_Quaternion& rotation) {
  N_AnimKey key = mesh.Key(bone, rotation);
  key.position = key.position + shift;
  return key;
}

/// A key of a rifle motion: the rifle's shift, its pitch (degrees, muzzle up) or roll
/// (degrees, to the right), and the bolt's slide back.
struct RiflePose {
  N_Vector3 shift;
  float pitch = 0.0f;
  float roll = 0.0f;
  float bolt = 0.0f;
};

/// The motion's keys; t runs from 0 to 1 (a loop's last key is its first again).
Frames RifleFrames(const AnimMeshBuilder& mesh, int keys, const std::function<RiflePose(float)>& pose, bool loop) {
  Frames frames;
  for (int k = 0; k < keys; ++k) {
    // A loop ends on its first key again; a one-shot reaches t = 1 on its last key.
    const float t = loop ? float(k % (keys - 1)) / float(keys - 1) : float(k) / float(keys - 1);
    const RiflePose p = pose(t);
    // One turn a pose: a roll where one is given, else the pitch.
    const N_Quaternion turn = p.roll != 0.0f ? datagen::AxisRotation({1, 0, 0}, p.roll * kDegree)
                                             : datagen::AxisRotation({0, 1, 0}, -p.pitch * kDegree);
    std::vector<N_AnimKey> frame = mesh.BindPose();
    frame[kRifle] = Moved(mesh, kRifle, p.shift, turn);
    frame[kBolt] = Moved(mesh, kBolt, {-p.bolt, 0.0f, 0.0f}, N_Quaternion{});
    frames.push_back(frame);
  }
  return frames;
}

/// 0 -> 1 eased in and out.
float Ease(float t) { return 0.5f - 0.5f * std::cos(kPi * t); }

/// Shouldering: in from below the view; putting down: out again.
RiflePose Shoulder(float t) { return {{0.0f, 0.0f, -30.0f * (1.0f - Ease(t))}, -25.0f * (1.0f - Ease(t)), 0, 0}; }
RiflePose PutDown(float t) { return Shoulder(1.0f - t); }
/// Aiming: the muzzle gently up and down.
RiflePose Aim(float t) { return {{0.0f, 0.0f, 0.3f * std::cos(2 * kPi * t)}, 0.6f * std::sin(2 * kPi * t), 0, 0}; }
/// The shot: recoil back and up, then home.
RiflePose Shot(float t) {
  const float kick = t < 0.2f ? t / 0.2f : 1.0f - Ease((t - 0.2f) / 0.8f);
  return {{-3.0f * kick, 0.0f, 0.5f * kick}, 6.0f * kick, 0, 0};
}
/// Reloading: the bolt back and forth.
RiflePose Reload(float t) { return {{0, 0, 0}, 0, 0, 4.0f * std::sin(kPi * t)}; }
/// A spare cartridge: the rifle rolls to the right, the bolt opens, back again.
RiflePose Spare(float t) {
  const float s = std::sin(kPi * t);
  return {{0.0f, 0.0f, -4.0f * s}, 0, 25.0f * s, 4.0f * s};
}

// The target's cover bone (after the plate) and its hinge at the cover's top edge.
constexpr int kCover = 1;
constexpr float kHingeX = 1.25f;
constexpr float kHingeZ = 6.0f;

AnimMeshBuilder TargetMesh() {
  AnimMeshBuilder mesh;
  const int plate = mesh.AddBone("plate", -1, {0.0f, 0.0f, 0.0f});
  const int cover = mesh.AddBone("cover", plate, {kHingeX, 0.0f, kHingeZ});
  mesh.AddBox(mesh.AddMaterial("range/target_plate"), {-2.0f, -8.0f, -8.0f}, {0.0f, 8.0f, 8.0f}, {{plate, 1.0f}});
  mesh.AddBox(mesh.AddMaterial("range/target_face"), {0.0f, -5.0f, -5.0f}, {0.5f, 5.0f, 5.0f}, {{plate, 1.0f}});
  mesh.AddBox(mesh.AddMaterial("range/target_cover"), {1.0f, -6.0f, -6.0f}, {1.5f, 6.0f, kHingeZ}, {{cover, 1.0f}});
  return mesh;
}

/// The cover from `from` to `to` (0 closed, 1 open) over nine keys, eased.
Frames CoverFrames(const AnimMeshBuilder& mesh, float from, float to) {
  constexpr int kKeys = 9;
  Frames frames;
  for (int k = 0; k < kKeys; ++k) {
    const float open = from + (to - from) * Ease(float(k) / float(kKeys - 1));
    std::vector<N_AnimKey> frame = mesh.BindPose();
    // Opened, the cover stands out towards the stand (+x) from its hinge.
    frame[kCover] = mesh.Key(kCover, datagen::AxisRotation({0, 1, 0}, -90.0f * kDegree * open));
    frames.push_back(frame);
  }
  return frames;
}

std::vector<std::uint8_t> Plain(datagen::Rgba colour) {
  return datagen::EncodeDds(datagen::RgbaImage(8, 8, colour), {datagen::DdsFormat::A8R8G8B8, false});
}

bool WriteRange(datagen::Output& out) {
  bool ok = true;
  const auto write = [&](const char* path, const std::vector<std::uint8_t>& bytes) { ok = out.Write(path, bytes) && ok; };
  const auto anim = [&](const char* path, const AnimMeshBuilder& mesh, const Frames& frames) {
    write(path, datagen::WriteAnimation(datagen::TracksFromFrames(mesh, frames)));
  };
  const AnimMeshBuilder rifle = RifleMesh();
  write("data/anim/puska/puska_ref.mesh", rifle.Write());
  anim("data/anim/puska/puska_prilozenie.anim", rifle, RifleFrames(rifle, 12, Shoulder, false));
  anim("data/anim/puska/puska_mierenie.anim", rifle, RifleFrames(rifle, 25, Aim, true));
  anim("data/anim/puska/puska_vystrel.anim", rifle, RifleFrames(rifle, 9, Shot, false));
  anim("data/anim/puska/puska_nabitie.anim", rifle, RifleFrames(rifle, 12, Reload, false));
  anim("data/anim/puska/puska_dobitie.anim", rifle, RifleFrames(rifle, 24, Spare, false));
  anim("data/anim/puska/puska_odlozenie.anim", rifle, RifleFrames(rifle, 12, PutDown, false));

  const AnimMeshBuilder target = TargetMesh();
  write("data/anim/terciky/terciky.mesh", target.Write());
  anim("data/anim/terciky/odklopenie.anim", target, CoverFrames(target, 0.0f, 1.0f));
  anim("data/anim/terciky/zaklopenie.anim", target, CoverFrames(target, 1.0f, 0.0f));

  write("data/textures/range/rifle_stock.dds", Plain({120, 72, 36, 255}));
  write("data/textures/range/rifle_metal.dds", Plain({70, 74, 80, 255}));
  write("data/textures/range/target_plate.dds", Plain({235, 235, 230, 255}));
  write("data/textures/range/target_face.dds", Plain({16, 16, 16, 255}));
  write("data/textures/range/target_cover.dds", Plain({250, 250, 250, 255}));
  return ok;
}

const datagen::StepRegistrar kRange{{"range", "the shooting range's rifle and target figures", &WriteRange}};

}  // namespace
