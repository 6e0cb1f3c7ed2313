// The race's sample markers (below "data\anim\"): the direction, finish and penalty
// arrows ("sipka\sipka", "sipka_finish", "sipka_trest"), the five penalty-count boards
// ("sipka_trest_c1" to "_c5", showing one to five white dots, with one animation for
// all) and the starter ("starter.mesh": standing "starter_s.anim", giving the start
// "starter.anim"). Materials in data/scripts/markers.shader; the textures here.
//
// The arrows lie around their origin (shaft behind, head ahead), so that a marker drawn
// at a place covers that place, and bob gently. The finish and penalty arrows point
// along +x, the direction they are drawn with. The lane arrow is drawn at a racer's
// stand with his lane's shooting direction and points to the right of it (along -y):
// the way onto the mat, in which he lies down to shoot prone. It is large, so that it
// can be read from the stadium's entry, and hangs over the stand with its head tilted
// up, wholly above the race camera's eye: a skier coming onto the mat is seen below it,
// never hidden by it, and its middle marks the stand from every side. The boards stand above
// the penalty arrow's place and sway a little. The starter stands on his place, his
// right arm down; he raises it over his head for the start.
#include "tools/AnimWriter.h"
#include "tools/DdsWriter.h"
#include "tools/Step.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

using datagen::AnimMeshBuilder;
using Frames = std::vector<std::vector<N_AnimKey>>;

constexpr float kPi = 3.14159265f;
constexpr float kDegree = kPi / 180.0f;
constexpr float kHalfHeight = 8.0f;  ///< of the arrows' shaft and head

/// A placement of the arrow's points and normals in its figure.
using Place = N_Vector3 (*)(const N_Vector3&, bool normal);
N_Vector3 AsBuilt(const N_Vector3& p, bool) { return p; }

/// A triangle of (x, y) corners extruded from z0 to z1 on one bone: top, bottom and
/// three sides (drawn from both sides by its material), placed by `place`.
void AddTrianglePrism(AnimMeshBuilder& mesh, int material, int bone, const std::array<float, 6>& xy, float z0,
                      float z1, Place place = AsBuilt) {
  std::vector<AnimMeshBuilder::Vertex> vertices;
  std::vector<std::uint16_t> indices;
  int points[2][3];
  for (int level = 0; level < 2; ++level) {
    for (int c = 0; c < 3; ++c) {
      points[level][c] = mesh.AddSkinPoint(place({xy[2 * c], xy[2 * c + 1], level ? z1 : z0}, false), {{bone, 1.0f}});
    }
  }
  const auto face = [&](std::initializer_list<int> corners, const N_Vector3& normal) {
    const auto base = static_cast<std::uint16_t>(vertices.size());
    int n = 0;
    for (const int point : corners) {
      AnimMeshBuilder::Vertex v;
      v.skinPoint = point;
      v.uv[0] = float(n & 1);
      v.uv[1] = float(n >> 1);
      v.normal = place(normal, true);
      vertices.push_back(v);
      ++n;
    }
    for (std::uint16_t i = 1; i + 1 < n; ++i) indices.insert(indices.end(), {base, std::uint16_t(base + i), std::uint16_t(base + i + 1)});
  };
  face({points[1][0], points[1][1], points[1][2]}, {0, 0, 1});
  face({points[0][0], points[0][2], points[0][1]}, {0, 0, -1});
  for (int c = 0; c < 3; ++c) {
    const int d = (c + 1) % 3;
    const float nx = xy[2 * d + 1] - xy[2 * c + 1], ny = xy[2 * c] - xy[2 * d];
    const float length = std::sqrt(nx * nx + ny * ny);
    face({points[0][c], points[0][d], points[1][d], points[1][c]}, {nx / length, ny / length, 0.0f});
  }
  mesh.AddSurface(material, vertices, indices);
}

/// A flat arrow around the origin in one material, along +x.
AnimMeshBuilder ArrowMesh(const char* material) {
  AnimMeshBuilder mesh;
  const int arrow = mesh.AddBone("arrow", -1, {0.0f, 0.0f, 0.0f});
  const int m = mesh.AddMaterial(material);
  mesh.AddBox(m, {-40.0f, -5.0f, -kHalfHeight}, {2.0f, 5.0f, kHalfHeight}, {{arrow, 1.0f}});
  AddTrianglePrism(mesh, m, arrow, {0.0f, -18.0f, 28.0f, 0.0f, 0.0f, 18.0f}, -kHalfHeight, kHalfHeight);
  return mesh;
}

/// The lane arrow: built along +x round the origin, its head tilted up by
/// kLaneArrowTilt about its middle, raised kLaneArrowLift (its tail at the height of the
/// race camera's eye over the skier), then turned a quarter to the right.
constexpr float kLaneArrowTilt = 30.0f * kDegree;
constexpr float kLaneArrowLift = 190.0f;
N_Vector3 LaneArrowPlace(const N_Vector3& p, bool normal) {
  const float c = std::cos(kLaneArrowTilt), s = std::sin(kLaneArrowTilt);
  const N_Vector3 tilted{p.x * c - p.z * s, p.y, p.x * s + p.z * c + (normal ? 0.0f : kLaneArrowLift)};
  return {tilted.y, -tilted.x, tilted.z};
}

AnimMeshBuilder LaneArrowMesh(const char* material) {
  AnimMeshBuilder mesh;
  const int arrow = mesh.AddBone("arrow", -1, {0.0f, 0.0f, 0.0f});
  const int m = mesh.AddMaterial(material);
  constexpr float kTail = -165.0f, kShaft = 20.0f, kHead = 165.0f, kHeadHalfWidth = 75.0f, kHeadFrom = 25.0f;
  AddTrianglePrism(mesh, m, arrow, {kTail, -kShaft, kHeadFrom, -kShaft, kHeadFrom, kShaft}, -kHalfHeight, kHalfHeight,
                   LaneArrowPlace);
  AddTrianglePrism(mesh, m, arrow, {kTail, -kShaft, kHeadFrom, kShaft, kTail, kShaft}, -kHalfHeight, kHalfHeight,
                   LaneArrowPlace);
  AddTrianglePrism(mesh, m, arrow, {kHeadFrom, -kHeadHalfWidth, kHead, 0.0f, kHeadFrom, kHeadHalfWidth}, -kHalfHeight,
                   kHalfHeight, LaneArrowPlace);
  return mesh;
}

/// A looping motion of one root bone: keys of a shift and a turn about the axis by t.
Frames RootLoop(const AnimMeshBuilder& mesh, int keys, const N_Vector3& axis, float degrees, float lift) {
  Frames frames;
  for (int k = 0; k < keys; ++k) {
    const float phase = 2.0f * kPi * float(k % (keys - 1)) / float(keys - 1);
    std::vector<N_AnimKey> frame = mesh.BindPose();
    frame[0] = mesh.Key(0, datagen::AxisRotation(axis, degrees * kDegree * std::sin(phase)));
    frame[0].position.z += lift * std::sin(phase);
    frames.push_back(frame);
  }
  return frames;
}

/// The board of penalty loops, above the penalty arrow's place, facing +x.
AnimMeshBuilder BoardMesh(int count) {
  AnimMeshBuilder mesh;
  const int board = mesh.AddBone("board", -1, {0.0f, 0.0f, 12.0f});
  mesh.AddBox(mesh.AddMaterial("markers/board_c" + std::to_string(count)), {-1.0f, -15.0f, 14.0f}, {1.0f, 15.0f, 34.0f},
              {{board, 1.0f}});
  return mesh;
}

// The starter's bones.
constexpr int kBody = 0;
constexpr int kArm = 1;

AnimMeshBuilder StarterMesh() {
  AnimMeshBuilder mesh;
  const int body = mesh.AddBone("body", -1, {0.0f, 0.0f, 0.0f});
  const int arm = mesh.AddBone("arm_r", body, {0.0f, -8.0f, 42.0f});
  const int coat = mesh.AddMaterial("markers/starter_coat");
  mesh.AddBox(coat, {-5.0f, -3.0f, 0.0f}, {5.0f, -0.5f, 22.0f}, {{body, 1.0f}});  // the legs
  mesh.AddBox(coat, {-5.0f, 0.5f, 0.0f}, {5.0f, 3.0f, 22.0f}, {{body, 1.0f}});
  mesh.AddBox(coat, {-6.0f, -6.0f, 22.0f}, {6.0f, 6.0f, 45.0f}, {{body, 1.0f}});
  mesh.AddBox(mesh.AddMaterial("markers/starter_face"), {-4.0f, -4.0f, 45.0f}, {4.0f, 4.0f, 54.0f}, {{body, 1.0f}});
  mesh.AddBox(coat, {-2.0f, -10.0f, 20.0f}, {2.0f, -6.0f, 44.0f}, {{arm, 1.0f}});
  mesh.AddBox(mesh.AddMaterial("markers/starter_flag"), {-1.0f, -16.0f, 12.0f}, {1.0f, -10.0f, 22.0f}, {{arm, 1.0f}});
  return mesh;
}

/// Standing: a slow sway (looping). The start: the arm up over the head and down again.
Frames StarterFrames(const AnimMeshBuilder& mesh, bool start) {
  const int keys = start ? 25 : 33;
  Frames frames;
  for (int k = 0; k < keys; ++k) {
    std::vector<N_AnimKey> frame = mesh.BindPose();
    if (start) {
      const float t = float(k) / float(keys - 1);
      const float raise = t < 0.4f ? t / 0.4f : (t < 0.7f ? 1.0f : 1.0f - (t - 0.7f) / 0.3f);
      frame[kArm] = mesh.Key(kArm, datagen::AxisRotation({1, 0, 0}, -160.0f * kDegree * raise));
    } else {
      const float phase = 2.0f * kPi * float(k % (keys - 1)) / float(keys - 1);
      frame[kBody] = mesh.Key(kBody, datagen::AxisRotation({0, 0, 1}, 6.0f * kDegree * std::sin(phase)));
    }
    frames.push_back(frame);
  }
  return frames;
}

std::vector<std::uint8_t> Plain(datagen::Rgba colour) {
  return datagen::EncodeDds(datagen::RgbaImage(8, 8, colour), {datagen::DdsFormat::A8R8G8B8, false});
}

/// A dark blue board with `count` white dots in a row.
std::vector<std::uint8_t> BoardPicture(int count) {
  datagen::RgbaImage image(64, 32, {20, 40, 120, 255});
  const float spacing = 64.0f / float(count);
  for (int dot = 0; dot < count; ++dot) {
    const float cx = spacing * (float(dot) + 0.5f), cy = 16.0f;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 64; ++x) {
        const float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
        if (dx * dx + dy * dy <= 25.0f) image.At(x, y) = {245, 245, 245, 255};
      }
  }
  return datagen::EncodeDds(image, {datagen::DdsFormat::A8R8G8B8, false});
}

bool WriteMarkers(datagen::Output& out) {
  bool ok = true;
  const auto write = [&](const std::string& path, const std::vector<std::uint8_t>& bytes) {
    ok = out.Write(path, bytes) && ok;
  };
  const auto anim = [&](const std::string& path, const AnimMeshBuilder& mesh, const Frames& frames) {
    write(path, datagen::WriteAnimation(datagen::TracksFromFrames(mesh, frames)));
  };
  struct Arrow {
    const char* stem;
    const char* material;
    bool lane;
  };
  for (const Arrow& arrow : {Arrow{"sipka", "markers/arrow", true}, Arrow{"sipka_finish", "markers/arrow_finish", false},
                             Arrow{"sipka_trest", "markers/arrow_penalty", false}}) {
    const AnimMeshBuilder mesh = arrow.lane ? LaneArrowMesh(arrow.material) : ArrowMesh(arrow.material);
    write(std::string("data/anim/sipka/") + arrow.stem + ".mesh", mesh.Write());
    anim(std::string("data/anim/sipka/") + arrow.stem + ".anim", mesh, RootLoop(mesh, 25, {0, 0, 1}, 0.0f, 3.0f));
  }
  for (int count = 1; count <= 5; ++count) {
    const AnimMeshBuilder board = BoardMesh(count);
    write("data/anim/sipka/sipka_trest_c" + std::to_string(count) + ".mesh", board.Write());
    if (count == 1) anim("data/anim/sipka/sipka_trest_c1.anim", board, RootLoop(board, 25, {1, 0, 0}, 4.0f, 0.0f));
    write("data/textures/markers/board_c" + std::to_string(count) + ".dds", BoardPicture(count));
  }
  const AnimMeshBuilder starter = StarterMesh();
  write("data/anim/starter.mesh", starter.Write());
  anim("data/anim/starter_s.anim", starter, StarterFrames(starter, false));
  anim("data/anim/starter.anim", starter, StarterFrames(starter, true));

  write("data/textures/markers/arrow.dds", Plain({250, 200, 20, 255}));
  write("data/textures/markers/arrow_finish.dds", Plain({30, 190, 60, 255}));
  write("data/textures/markers/arrow_penalty.dds", Plain({220, 30, 30, 255}));
  write("data/textures/markers/starter_coat.dds", Plain({200, 60, 20, 255}));
  write("data/textures/markers/starter_face.dds", Plain({230, 185, 150, 255}));
  write("data/textures/markers/starter_flag.dds", Plain({240, 240, 30, 255}));
  return ok;
}

const datagen::StepRegistrar kMarkers{{"markers", "the race's arrows, penalty boards and starter", &WriteMarkers}};

}  // namespace
