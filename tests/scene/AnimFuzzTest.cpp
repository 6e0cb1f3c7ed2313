// Fuzz-style: both readers must survive truncated, bit-flipped and size-mangled files
// (a clean load or a refusal, never a read outside the file), and whatever loads must
// play: an action, then 300 steps posed, skinned and drawn on the recording device.
// Run it in the sanitizer build as well (NAVO_SANITIZE).
#include "scene/AnimObject.h"
#include "scene/Animation.h"
#include "scene/AnimationFactory.h"
#include "tests/scene/AnimTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kSteps = 300;

/// A small deterministic generator, so that a failing round can be replayed.
class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : m_state(seed) {}
  std::uint32_t Next(std::uint32_t bound) {
    m_state = m_state * 1103515245u + 12345u;
    return ((m_state >> 8) & 0xFFFFFF) % (bound ? bound : 1);
  }

 private:
  std::uint32_t m_state;
};

/// Flips bytes (mostly in the directory, where the sizes are), edits a section's
/// offset or size, puts small numbers into record words (indices near their limits), and
/// sometimes cuts the file.
Bytes Mutate(Bytes file, Lcg& rng) {
  const int edits = 1 + int(rng.Next(4));
  for (int e = 0; e < edits && !file.empty(); ++e) {
    switch (rng.Next(4)) {
      case 0: {
        const std::size_t at = rng.Next(3) ? rng.Next(160) : rng.Next(std::uint32_t(file.size()));
        if (at < file.size()) file[at] ^= std::uint8_t(1u << rng.Next(8));
        break;
      }
      case 1: {
        const std::size_t word = 8 + 4 * rng.Next(38);
        if (word + 4 > file.size()) break;
        const std::uint32_t old = test::U32At(file, word);
        const std::uint32_t values[] = {0, old + 1, old - 1, old + 20, old * 2, std::uint32_t(file.size()),
                                        0xFFFFFFFFu, 0x80000000u, rng.Next(4096)};
        test::PatchU32(file, word, values[rng.Next(9)]);
        break;
      }
      case 2: {
        const std::size_t at = 160 + 4 * rng.Next(std::uint32_t(file.size() / 4));
        if (at + 4 <= file.size()) test::PatchU32(file, at, rng.Next(3) ? rng.Next(40) : 0xFFFFFFFFu - rng.Next(4));
        break;
      }
      default:
        file[rng.Next(std::uint32_t(file.size()))] = std::uint8_t(rng.Next(256));
        break;
    }
  }
  if (rng.Next(6) == 0) file.resize(rng.Next(std::uint32_t(file.size() + 1)));
  return file;
}

/// An animation for a mesh's bones as loaded (whatever their names), 2 to 4 keys with
/// some turn and drift.
Bytes AnimationFor(const N_AnimObject& mesh, int frames) {
  std::vector<datagen::AnimTrack> tracks;
  for (const N_Bone& bone : mesh.Bones()) {
    datagen::AnimTrack track{bone.name, {}};
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

/// Plays action 0 (and cross-fades into the last action) for kSteps steps, posed,
/// skinned and drawn.
void Play(N_AnimationFactory& set, test::AnimRig& rig) {
  const int instance = set.CreateInstance();
  if (instance < 0 || set.ActionCount() == 0) return;
  set.SetAction(instance, 0, 30.0f, 0.5f);
  set.SetNextAction(instance, set.ActionCount() - 1, 45.0f, 0.5f);
  set.SetActionRate(instance, 30.0f, 0.5f, 0.7f);
  for (int step = 0; step < kSteps; ++step) {
    set.RenderInstance(0.013f * float(step % 5), instance, N_Vector3{0, 400, 0}, N_Matrix3{}, true, true);
    if (step == kSteps / 2) set.SetNextAction(instance, 0, 20.0f, 1.0f);
  }
  rig.device->ClearCalls();
}

TEST(AnimFuzz, MutatedMeshesLoadCleanlyOrAreRefusedAndPlay) {
  test::AnimRig rig;
  rig.core.vars->SetInt("showskeleton", 1, 0);
  datagen::AnimMeshBuilder full = test::TwoBoneQuad();
  full.AddBone("end", 1, {30, 0, 0});
  full.AddBox(full.AddMaterial("anim/box"), {-1, -1, -1}, {1, 1, 1}, {{2, 1.0f}});
  std::vector<datagen::AnimMeshBuilder::Vertex> lit(3);
  lit[1].skinPoint = 1;
  lit[2].skinPoint = 2;
  full.AddSurface(0, lit, {0, 1, 2}, animfile::kLightmappedSurface, 0, full.AddLightmap("maps/lm0"));
  const std::vector<Bytes> seeds = {test::ReadBytes(test::GameRoot() + "/data/anim/props/flag.mesh"), full.Write(),
                                    test::TwoBoneQuad().Write()};
  ASSERT_GT(seeds[0].size(), 160u);
  Lcg rng(2024);
  int loaded = 0, refused = 0, played = 0;
  for (int round = 0; round < 600; ++round) {
    test::WriteBytes("data/anim/fuzz.mesh", Mutate(seeds[std::size_t(round) % seeds.size()], rng));
    N_AnimationFactory set;
    if (set.AddMesh("data/anim/fuzz.mesh") < 0) {
      ++refused;
      continue;
    }
    ++loaded;
    rig.LoadShaders();
    const N_AnimObject& mesh = *set.Mesh(0);
    test::WriteBytes("data/anim/fuzz.anim", AnimationFor(mesh, 2 + round % 3));
    if (set.AddAction("data/anim/fuzz.anim", nullptr, round % 2 == 0) >= 0) ++played;
    Play(set, rig);
  }
  EXPECT_GT(loaded, 100);
  EXPECT_GT(refused, 100);
  EXPECT_GT(played, 50);
}

TEST(AnimFuzz, MutatedAnimationsLoadCleanlyOrAreRefusedAndPlay) {
  test::AnimRig rig;
  const datagen::AnimMeshBuilder quad = test::TwoBoneQuad();
  test::WriteBytes("data/anim/quad.mesh", quad.Write());
  // Seeds: tracks in bone order, tracks that MatchBones reorders, and a short B.
  std::vector<N_AnimKey> root, tip;
  for (int f = 0; f < 6; ++f) {
    root.push_back(quad.Key(0, datagen::AxisRotation({0, 0, 1}, 0.2f * float(f))));
    tip.push_back(quad.Key(1, datagen::AxisRotation({1, 0, 0}, 0.3f * float(f))));
  }
  const Bytes ordered = datagen::WriteAnimation({{"root", root}, {"tip", tip}});
  const Bytes reordered = datagen::WriteAnimation({{"tip", {tip[0], tip[1]}}, {"root", root}});
  const Bytes brief = datagen::WriteAnimation({{"root", {root[0], root[1]}}, {"tip", {tip[2], tip[3], tip[4]}}});
  test::WriteBytes("data/anim/long.anim", ordered);
  const std::vector<Bytes> seeds = {ordered, reordered, brief};
  Lcg rng(77);
  int loaded = 0, refused = 0;
  for (int round = 0; round < 600; ++round) {
    test::WriteBytes("data/anim/fuzz.anim", Mutate(seeds[std::size_t(round) % seeds.size()], rng));
    N_AnimationFactory set;
    ASSERT_EQ(set.AddMesh("data/anim/quad.mesh"), 0);
    rig.LoadShaders();
    // Alone, then as animation B of a two-animation action read at the long A's frames.
    const int alone = set.AddAction("data/anim/fuzz.anim", nullptr, round % 2 == 0);
    (alone >= 0 ? loaded : refused) += 1;
    set.AddAction("data/anim/long.anim", "data/anim/fuzz.anim", round % 3 != 0);
    Play(set, rig);
  }
  EXPECT_GT(loaded, 100);
  EXPECT_GT(refused, 100);
}

}  // namespace
