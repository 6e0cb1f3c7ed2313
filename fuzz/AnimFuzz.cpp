// The animated meshes ("AMSH") and animations ("ANIM"), through the animation set as
// the animated level objects and the figures use it: AddMesh, the shaders built, an
// action of the animation alone and one mixing it into an animation of the mesh's own
// bones, the shadow volumes made, then a few dozen steps played, posed, skinned and
// drawn on the recording renderer with a cross-fade between the actions.
//
// The input is the mesh file; where the animation file's header ("ANIM", version 130)
// follows in it, the animation file starts there. Without one the animation is a
// generated one of the loaded mesh's bones, so every mesh that loads also plays.
#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordingRenderer.h"
#include "fuzz/SceneSupport.h"
#include "scene/AnimObject.h"
#include "scene/AnimationFactory.h"
#include "tools/AnimWriter.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kMesh = "data\\anim\\fuzz.mesh";
constexpr const char* kAnimation = "data\\anim\\fuzz.anim";
constexpr const char* kOwnBones = "data\\anim\\bones.anim";
constexpr int kSteps = 40;

/// The materials a mesh may name: the pole's casts the stencil shadow.
constexpr std::string_view kMaterials =
    "props/flag_pole\n{\n\tsurfaceparm castshadow\n}\n"
    "props/flag_cloth\n{\n\tcull none\n}\n";

/// An animation of the mesh's bones as loaded (whatever their names): `frames` keys
/// with some turn and drift.
std::vector<std::uint8_t> AnimationOf(const N_AnimObject& mesh, int frames) {
  std::vector<datagen::AnimTrack> tracks;
  for (const N_Bone& bone : mesh.Bones()) {
    datagen::AnimTrack track{std::string(bone.name, strnlen(bone.name, sizeof bone.name)), {}};
    for (int f = 0; f < frames; ++f) {
      N_AnimKey key;
      key.position = {float(f), float(bone.index % 7), 0.5f * float(f)};
      key.rotation = datagen::AxisRotation({0, 0, 1}, 0.3f * float(f + bone.index));
      track.keys.push_back(key);
    }
    tracks.push_back(track);
  }
  return datagen::WriteAnimation(tracks);
}

/// Plays the first action and cross-fades into the last, posed, skinned and drawn.
void Play(N_AnimationFactory& set, fuzz::Scene& scene) {
  const int instance = set.CreateInstance();
  if (instance < 0 || set.ActionCount() == 0) return;
  set.SetAction(instance, 0, 30.0f, 0.5f);
  set.SetNextAction(instance, set.ActionCount() - 1, 45.0f, 0.5f);
  set.SetActionRate(instance, 30.0f, 0.5f, 0.7f);
  for (int step = 0; step < kSteps; ++step) {
    scene.clock.Advance(0.013 * (step % 5));
    set.RenderInstance(0.013f * float(step % 5), instance, N_Vector3{0, 400, 0}, N_Matrix3{}, true, true);
    if (step == kSteps / 2) set.SetNextAction(instance, 0, 20.0f, 1.0f);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Scene& scene = fuzz::SceneOnRecordingRenderer();
  static const bool materials = (fuzz::WriteMaterials("fuzz", kMaterials), true);
  (void)materials;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  constexpr std::string_view kAnimationHeader("ANIM\x82\0\0\0", 8);
  const std::size_t split = size > 8 ? input.find(kAnimationHeader, 8) : std::string_view::npos;
  fuzz::WriteFile(kMesh, input.substr(0, split));
  const bool ownAnimation = split != std::string_view::npos;
  if (ownAnimation) fuzz::WriteFile(kAnimation, input.substr(split));
  const bool loop = size % 2 == 0;

  fuzz::Guarded([&] {
    N_AnimationFactory set;
    if (set.AddMesh(kMesh) < 0) return;
    const N_AnimObject& mesh = *set.Mesh(0);
    fuzz::Check(mesh.Positions().size() == mesh.SkinPoints().size(), "a position missing for a skin point");
    const std::vector<std::uint8_t> ownBones = AnimationOf(mesh, 2 + int(size % 3));
    fuzz::WriteFile(kOwnBones, ownBones.data(), ownBones.size());
    if (!ownAnimation) {
      const std::vector<std::uint8_t> generated = AnimationOf(mesh, 3 + int(size % 4));
      fuzz::WriteFile(kAnimation, generated.data(), generated.size());
    }
    scene.shaders.LoadShaders();
    set.AddAction(kAnimation, nullptr, loop);
    set.AddAction(kOwnBones, kAnimation, !loop);
    set.CreateShadowVolumes();
    Play(set, scene);
  });
  fuzz::ForgetCalls();
  return 0;
}
