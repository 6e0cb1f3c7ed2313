#include "tools/CourseScenery.h"

#include "tools/CourseStadium.h"
#include "tools/DdsWriter.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>

namespace course {

namespace {

using namespace stadium;
using datagen::LevelData;

constexpr float kPi = 3.14159265f;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kLightmapped = 1, kPlain = 3;
/// Ground tiles: their size and their quads along each side.
constexpr float kTileSize = 2400.0f;
constexpr int kTileQuads = 12;
/// Track sectors per drawn piece (one mesh object each).
constexpr std::size_t kSectorsPerPiece = 24;
/// Render flags: shown only in track mode 2; shown only below detail 1.
constexpr std::uint32_t kTrackMode2 = 2;
constexpr std::uint32_t kBelowDetail1 = 1u << 8;
constexpr const char* kTree = "data\\meshes\\trees\\spruce";
constexpr int kTrees = 48;
constexpr const char* kFanMeshes[2] = {"data\\ai\\fan_a.mesh", "data\\ai\\fan_b.mesh"};
/// The sun's height over the horizon.
constexpr float kSunElevation = 0.6f;

N_Vector3 Up() { return {0.0f, 0.0f, 1.0f}; }
N_Vector3 Flat(Vec2 v) { return {v.x, v.y, 0.0f}; }

/// The rotation whose local x axis points along the plan direction, z up.
N_Quaternion Heading(Vec2 direction) {
  const Vec2 f = Normalized(direction), left = LeftOf(f);
  return EngineRotation(Flat(f), Flat(left), Up());
}

/// A small deterministic generator for the scenery's choices.
class Dice {
 public:
  explicit Dice(std::uint32_t seed) : m_state(seed * 2654435761u + 1u) {}
  float Next() {
    m_state = m_state * 1664525u + 1013904223u;
    return float(m_state >> 8) / 16777216.0f;
  }

 private:
  std::uint32_t m_state;
};

/// Vertices and indices of one surface being built.
struct Mesh {
  std::vector<N_SurfaceVertex> vertices;
  std::vector<std::uint16_t> indices;

  void Vertex(const N_Vector3& p, const N_Vector3& normal, float u, float v, float lu = 0.0f, float lv = 0.0f) {
    N_SurfaceVertex vertex = datagen::MeshVertex(p.x, p.y, p.z, kWhite, u, v);
    vertex.normal[0] = normal.x;
    vertex.normal[1] = normal.y;
    vertex.normal[2] = normal.z;
    vertex.uv1[0] = lu;
    vertex.uv1[1] = lv;
    vertices.push_back(vertex);
  }
  /// A quad of four points in counter-clockwise order seen from its front.
  void Quad(const N_Vector3& a, const N_Vector3& b, const N_Vector3& c, const N_Vector3& d, const N_Vector3& normal,
            float uScale = 1.0f, float vScale = 1.0f) {
    const auto first = static_cast<std::uint16_t>(vertices.size());
    Vertex(a, normal, 0.0f, vScale);
    Vertex(b, normal, uScale, vScale);
    Vertex(c, normal, uScale, 0.0f);
    Vertex(d, normal, 0.0f, 0.0f);
    for (int k : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<std::uint16_t>(first + k));
  }
};

class SceneryBuilder {
 public:
  SceneryBuilder(const Layout& layout, const Terrain& terrain, const Track& track, const Bounds& ground,
                 const std::string& lightmapName, LevelData& level)
      : m_layout(layout), m_frame(layout.frame), m_terrain(terrain), m_track(track), m_ground(ground), m_level(level) {
    m_level.geometry.lightmaps = {lightmapName};
  }

  void Build() {
    BuildGround();
    BuildTrack();
    BuildStadium();
    BuildSky();
    BuildTrees();
    BuildSnowcat();
    BuildLights();
    BuildLightGrid();
    BuildEffectsAndSounds();
    BuildSpectators();
    BuildCameras();
    m_level.animObjects.push_back(
        {Ground({kFinishLine + 120.0f, kFinishY - 230.0f}, 0.0f), Heading(m_frame.Direction({1, 0})), "finish flag",
         "data\\anim\\props\\flag"});
    m_level.namePairs.push_back({m_layout.name, "a sample course of the Navo biathlon"});
  }

 private:
  N_Vector3 Ground(Vec2 local, float above) const {
    const Vec2 w = m_frame.Point(local);
    return {w.x, w.y, m_terrain.Height(w) + above};
  }

  std::uint32_t Material(const std::string& name) {
    auto& materials = m_level.geometry.materials;
    const auto it = std::find(materials.begin(), materials.end(), name);
    if (it != materials.end()) return static_cast<std::uint32_t>(it - materials.begin());
    materials.push_back(name);
    return static_cast<std::uint32_t>(materials.size() - 1);
  }
  std::uint32_t Surface(const Mesh& mesh, const std::string& material, std::uint32_t kind = kPlain) {
    return m_level.geometry.AddSurface(mesh.vertices, mesh.indices, Material(material), kind, 0);
  }
  /// A mesh object over surfaces first .. last, its box theirs.
  void MeshObject(const std::string& name, std::uint32_t first, std::uint32_t last, std::uint32_t flags = 0) {
    datagen::LevelSceneObject object;
    object.name = name;
    object.box = {1e30f, 1e30f, 1e30f, -1e30f, -1e30f, -1e30f};
    for (std::uint32_t s = first; s <= last; ++s) {
      const float* box = m_level.geometry.surfaces[s].box;
      for (int a = 0; a < 3; ++a) {
        object.box[std::size_t(a)] = std::min(object.box[std::size_t(a)], box[a]);
        object.box[std::size_t(a) + 3] = std::max(object.box[std::size_t(a) + 3], box[a + 3]);
      }
    }
    object.surfaceRange = m_level.AddSurfaceRange(first, last - first + 1);
    object.flags = flags;
    m_level.sceneObjects.push_back(object);
  }
  /// A box standing on the ground at a local point: half sizes along the stadium's x and
  /// y, from `bottom` to `top` over the ground at its centre.
  void Box(Mesh& mesh, Vec2 centre, Vec2 half, float bottom, float top) const {
    Box(mesh, centre, half, bottom, top, m_frame);
  }
  /// The same in a frame of the world (`frame` maps its local points to world points).
  void Box(Mesh& mesh, Vec2 centre, Vec2 half, float bottom, float top, const Frame& frame) const {
    const float z0 = m_terrain.Height(frame.Point(centre));
    auto at = [&](float sx, float sy, float z) {
      const Vec2 w = frame.Point(centre + Vec2{half.x * sx, half.y * sy});
      return N_Vector3{w.x, w.y, z0 + z};
    };
    const N_Vector3 px = Flat(frame.Direction({1, 0})), py = Flat(frame.Direction({0, 1}));
    const float ux = half.x / 50.0f, uy = half.y / 50.0f, uz = (top - bottom) / 50.0f;
    mesh.Quad(at(-1, -1, top), at(1, -1, top), at(1, 1, top), at(-1, 1, top), Up(), ux, uy);
    mesh.Quad(at(-1, -1, bottom), at(1, -1, bottom), at(1, -1, top), at(-1, -1, top), py * -1.0f, ux, uz);
    mesh.Quad(at(1, 1, bottom), at(-1, 1, bottom), at(-1, 1, top), at(1, 1, top), py, ux, uz);
    mesh.Quad(at(1, -1, bottom), at(1, 1, bottom), at(1, 1, top), at(1, -1, top), px, uy, uz);
    mesh.Quad(at(-1, 1, bottom), at(-1, -1, bottom), at(-1, -1, top), at(-1, 1, top), px * -1.0f, uy, uz);
  }

  /// Lightmapped ground tiles; the lightmap spans the whole ground.
  void BuildGround() {
    const float width = m_ground[2] - m_ground[0], height = m_ground[3] - m_ground[1];
    const int tilesX = int(std::ceil(width / kTileSize)), tilesY = int(std::ceil(height / kTileSize));
    const float step = kTileSize / kTileQuads;
    for (int ty = 0; ty < tilesY; ++ty) {
      for (int tx = 0; tx < tilesX; ++tx) {
        Mesh mesh;
        for (int j = 0; j <= kTileQuads; ++j) {
          for (int i = 0; i <= kTileQuads; ++i) {
            const Vec2 p{m_ground[0] + kTileSize * float(tx) + step * float(i),
                         m_ground[1] + kTileSize * float(ty) + step * float(j)};
            mesh.Vertex({p.x, p.y, m_terrain.Height(p)}, m_terrain.Normal(p), p.x / 600.0f, p.y / 600.0f,
                        (p.x - m_ground[0]) / width, (p.y - m_ground[1]) / height);
          }
        }
        for (int j = 0; j < kTileQuads; ++j) {
          for (int i = 0; i < kTileQuads; ++i) {
            const auto a = static_cast<std::uint16_t>(j * (kTileQuads + 1) + i);
            const auto b = static_cast<std::uint16_t>(a + 1), c = static_cast<std::uint16_t>(a + kTileQuads + 1),
                       d = static_cast<std::uint16_t>(c + 1);
            mesh.indices.insert(mesh.indices.end(), {a, b, d, a, d, c});
          }
        }
        const std::uint32_t surface = Surface(mesh, "textures/course/snow", kLightmapped);
        MeshObject("ground " + std::to_string(tx) + " " + std::to_string(ty), surface, surface);
      }
    }
  }

  /// Every path's sectors as the race's ground triangles (end right, end left, start
  /// left; end right, start left, start right), in pieces. A sector is drawn once, by
  /// the first path that has it: branches share their junction sectors with the Normal
  /// path, and the three start paths share the whole start area and its bend into the
  /// straight (copies drawn over each other only cost their fill again). The start
  /// paths run the same distance to each shared sector, so the copy kept has the
  /// texture coordinates of the ones dropped.
  void BuildTrack() {
    std::vector<std::pair<Section, Section>> drawn;
    const auto isDrawn = [&](const Section& s, const Section& e) {
      return std::any_of(drawn.begin(), drawn.end(), [&](const std::pair<Section, Section>& d) {
        return SameSection(d.first, s, false) && SameSection(d.second, e, false);
      });
    };
    for (std::size_t kind = 0; kind < m_track.paths.size(); ++kind) {
      const std::vector<Section>& path = m_track.paths[kind];
      Mesh mesh;
      float along = 0.0f;
      std::size_t sectors = 0;
      auto flush = [&] {
        if (mesh.indices.empty()) return;
        const std::uint32_t surface = Surface(mesh, "textures/course/track");
        MeshObject(std::string("track ") + kPathNames[kind], surface, surface);
        mesh = Mesh{};
        sectors = 0;
      };
      for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const Section& s = path[i];
        const Section& e = path[i + 1];
        const float length = Length(Plan(e.ideal) - Plan(s.ideal));
        if (isDrawn(s, e)) {
          along += length;
          continue;
        }
        drawn.emplace_back(s, e);
        const auto first = static_cast<std::uint16_t>(mesh.vertices.size());
        const float v0 = along / 400.0f, v1 = (along + length) / 400.0f;
        mesh.Vertex(s.left, Up(), 0.0f, v0);
        mesh.Vertex(s.right, Up(), 1.0f, v0);
        mesh.Vertex(e.left, Up(), 0.0f, v1);
        mesh.Vertex(e.right, Up(), 1.0f, v1);
        for (int k : {3, 2, 0, 3, 0, 1}) mesh.indices.push_back(static_cast<std::uint16_t>(first + k));
        along += length;
        if (++sectors == kSectorsPerPiece) flush();
      }
      flush();
    }
  }

  void BuildStadium() {
    Mesh stand;
    for (int tier = 0; tier < kTiers; ++tier) {
      const float back = kStandFront - kTierDepth * float(tier + 1);
      Box(stand, {(kStandFrom + kStandTo) * 0.5f, back + kTierDepth * 0.5f}, {(kStandTo - kStandFrom) * 0.5f, kTierDepth * 0.5f},
          0.0f, kTierHeight * float(tier + 1));
    }
    const float wall = kStandFront - kTierDepth * kTiers;
    Box(stand, {(kStandFrom + kStandTo) * 0.5f, wall - 10.0f}, {(kStandTo - kStandFrom) * 0.5f, 10.0f}, 0.0f,
        kTierHeight * kTiers + 160.0f);
    const std::uint32_t standSurface = Surface(stand, "textures/course/stand");
    MeshObject("grandstand", standSurface, standSurface);

    Mesh gates;
    // The start gate where the grid begins: at its end a post would stand by the range's
    // outer lanes.
    Gate(gates, {kGridFrom, 0}, kStartHalfWidth, StartFrame());
    Gate(gates, {kFinishLine, kFinishY}, kHalfWidth, m_frame);
    const std::uint32_t gateSurface = Surface(gates, "textures/course/gate");
    MeshObject("start and finish gates", gateSurface, gateSurface);

    // Each lane's mat under its stand, along its shooting direction, in which a racer
    // lies down, and the frame behind its targets, square to it.
    Mesh mats, frames;
    for (int lane = 0; lane < kLanes; ++lane) {
      const Vec2 stand = LaneStand(lane);
      const Vec2 shoot = LeftOf(LaneFacing(lane));
      Box(mats, {}, {kMatHalfLength, kMatHalfWidth}, 0.0f, kLift + 1.5f, Turned(stand, shoot));
      Box(frames, {}, {10.0f, 45.0f}, 0.0f, kTargetHeight + 30.0f, Turned(stand + shoot * (kTargetDistance + 25.0f), shoot));
    }
    const std::uint32_t matSurface = Surface(mats, "textures/course/mat");
    const std::uint32_t frameSurface = Surface(frames, "textures/course/frame");
    MeshObject("shooting mats", matSurface, matSurface);
    MeshObject("target frames", frameSurface, frameSurface);

    Mesh rangeBanner, finishBanner;
    // Along the range's right side, between it and the finish lane.
    const float bannerY = -std::max(kRangeRight[0], kRangeRight[1]) - 40.0f;
    Box(rangeBanner, {kRangeTo * 0.5f, bannerY}, {kRangeTo * 0.5f - 1000.0f, 3.0f}, 30.0f, 90.0f);
    Box(finishBanner, {(kFinishFrom + kFinishTo) * 0.5f, kFinishY + kHalfWidth + 40.0f}, {(kFinishTo - kFinishFrom) * 0.5f, 3.0f},
        30.0f, 90.0f);
    const std::uint32_t rangeSurface = Surface(rangeBanner, "textures/course/banner");
    const std::uint32_t finishSurface = Surface(finishBanner, "textures/course/banner");
    MeshObject("range banner (track mode 2)", rangeSurface, rangeSurface, kTrackMode2);
    MeshObject("finish banner (detail 0)", finishSurface, finishSurface, kBelowDetail1);
  }

  /// Two posts beside a lane along the frame's x axis and a banner across it.
  void Gate(Mesh& mesh, Vec2 at, float halfWidth, const Frame& frame) const {
    const float post = halfWidth + 30.0f;
    Box(mesh, at + Vec2{0, post}, {10.0f, 10.0f}, 0.0f, 320.0f, frame);
    Box(mesh, at - Vec2{0, post}, {10.0f, 10.0f}, 0.0f, 320.0f, frame);
    Box(mesh, at, {8.0f, post + 10.0f}, 250.0f, 320.0f, frame);
  }
  /// The start area's frame in the world.
  Frame StartFrame() const {
    return {m_frame.Point(m_track.startArea.origin), m_frame.angle + m_track.startArea.angle};
  }
  /// The frame in the world at a local point, its x axis along a local direction.
  Frame Turned(Vec2 at, Vec2 along) const { return {m_frame.Point(at), m_frame.angle + std::atan2(along.y, along.x)}; }

  /// A flattened dome over the whole course, its rim far below the ground's edge (a
  /// camera near the edge looks past it).
  void BuildSky() {
    constexpr int kAround = 24, kUp = 6;
    const Vec2 centre{(m_ground[0] + m_ground[2]) * 0.5f, (m_ground[1] + m_ground[3]) * 0.5f};
    const float radius = std::max(m_ground[2] - m_ground[0], m_ground[3] - m_ground[1]) * 0.9f;
    Mesh sky;
    for (int j = 0; j <= kUp; ++j) {
      const float elevation = kPi * 0.5f * float(j) / kUp;
      for (int i = 0; i <= kAround; ++i) {
        const float a = 2.0f * kPi * float(i) / kAround;
        const N_Vector3 p{centre.x + std::cos(a) * std::cos(elevation) * radius,
                          centre.y + std::sin(a) * std::cos(elevation) * radius,
                          radius * (std::sin(elevation) * 0.65f - 0.3f)};
        sky.Vertex(p, {-std::cos(a), -std::sin(a), 0.0f}, float(i) / kAround * 6.0f, float(j) / kUp * 1.5f);
      }
    }
    for (int j = 0; j < kUp; ++j) {
      for (int i = 0; i < kAround; ++i) {
        const auto a = static_cast<std::uint16_t>(j * (kAround + 1) + i);
        const auto b = static_cast<std::uint16_t>(a + 1), c = static_cast<std::uint16_t>(a + kAround + 1),
                   d = static_cast<std::uint16_t>(c + 1);
        sky.indices.insert(sky.indices.end(), {a, d, b, a, c, d});
      }
    }
    const std::uint32_t surface = Surface(sky, "textures/course/sky");
    MeshObject("sky", surface, surface);
  }

  /// The plan distance from a world point to the nearest cross-section of any path.
  float DistanceToTrack(Vec2 p) const {
    float nearest = 1e30f;
    for (const auto& path : m_track.paths) {
      for (const Section& s : path) nearest = std::min(nearest, Length(Plan(s.ideal) - p));
    }
    return nearest;
  }

  /// Spruces on the hills, away from the track and out of the stadium.
  void BuildTrees() {
    Dice dice(m_layout.seed);
    int placed = 0;
    for (int attempt = 0; attempt < 4000 && placed < kTrees; ++attempt) {
      const Vec2 p{m_ground[0] + 1500.0f + dice.Next() * (m_ground[2] - m_ground[0] - 3000.0f),
                   m_ground[1] + 1500.0f + dice.Next() * (m_ground[3] - m_ground[1] - 3000.0f)};
      const Vec2 local = m_frame.Local(p);
      const bool inStadium = local.x > -1000.0f && local.x < 11300.0f && std::fabs(local.y) < 2600.0f;
      if (inStadium || DistanceToTrack(p) < 500.0f) continue;
      const float yaw = dice.Next() * 2.0f * kPi, c = std::cos(yaw), s = std::sin(yaw), z = m_terrain.Height(p);
      datagen::LevelSceneObject tree;
      tree.name = "spruce " + std::to_string(placed);
      tree.lod = kTree;
      tree.box = {p.x - 110.0f, p.y - 110.0f, z, p.x + 110.0f, p.y + 110.0f, z + 400.0f};
      tree.matrix = {c, -s, 0, p.x, s, c, 0, p.y, 0, 0, 1, z, 0, 0, 0, 1};
      tree.distances = {3000.0f, 7000.0f, 16000.0f};
      m_level.sceneObjects.push_back(tree);
      ++placed;
    }
  }

  /// A snowcat driving round a circle beside the stadium, with its engine: its surfaces
  /// and box in its own frame, placed by its looping path.
  void BuildSnowcat() {
    Mesh body;
    const auto box = [&](N_Vector3 lo, N_Vector3 hi) {
      const N_Vector3 c[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
                              {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
      body.Quad(c[4], c[5], c[6], c[7], Up());
      body.Quad(c[0], c[1], c[5], c[4], {0, -1, 0});
      body.Quad(c[2], c[3], c[7], c[6], {0, 1, 0});
      body.Quad(c[1], c[2], c[6], c[5], {1, 0, 0});
      body.Quad(c[3], c[0], c[4], c[7], {-1, 0, 0});
    };
    box({-150, -80, 0}, {150, 80, 70});    // tracks
    box({-120, -70, 70}, {130, 70, 130});  // body
    box({-40, -60, 130}, {90, 60, 200});   // cab
    const std::uint32_t surface = Surface(body, "textures/course/snowcat");
    MeshObject("snowcat", surface, surface);
    datagen::LevelSceneObject& snowcat = m_level.sceneObjects.back();
    snowcat.sound = "level_engine";
    std::vector<N_PathKey> keys;
    constexpr int kKeys = 16;
    const Vec2 centre{10500.0f, -1800.0f};
    for (int k = 0; k <= kKeys; ++k) {
      const float a = 2.0f * kPi * float(k % kKeys) / kKeys;
      const Vec2 local = centre + Vec2{std::cos(a), std::sin(a)} * 500.0f;
      keys.push_back({Ground(local, 0.0f), Heading(m_frame.Direction({-std::sin(a), std::cos(a)}))});
    }
    snowcat.cameraPath = m_level.AddPath(keys, 0, 0.5f);
  }

  N_Vector3 Centre() const {
    const Vec2 c{(m_ground[0] + m_ground[2]) * 0.5f, (m_ground[1] + m_ground[3]) * 0.5f};
    return {c.x, c.y, m_terrain.Height(c)};
  }

  void BuildLights() {
    const N_Vector3 centre = Centre();
    const N_Vector3 toSun{std::cos(m_layout.sunAzimuth) * std::cos(kSunElevation),
                          std::sin(m_layout.sunAzimuth) * std::cos(kSunElevation), std::sin(kSunElevation)};
    m_level.lights.push_back({"lf_sun", centre + toSun * 16000.0f, centre, {1.0f, 0.96f, 0.86f}});
    const float middle = (kStandFrom + kStandTo) * 0.5f;
    m_level.lights.push_back({"stadium_lamp", Ground({middle, kStandFront - kTierDepth * kTiers}, 600.0f),
                              Ground({middle, kFinishY}, 0.0f), {1.0f, 0.85f, 0.6f}});
  }

  /// Sky light over the ground, a little brighter where the sun falls on a slope.
  void BuildLightGrid() {
    datagen::LevelLightGrid& grid = m_level.lightGrid;
    grid.size = {9, 9, 2};
    grid.bounds = {m_ground[0], m_ground[1], -200.0f, m_ground[2], m_ground[3], 2000.0f};
    const N_Vector3 toSun{std::cos(m_layout.sunAzimuth), std::sin(m_layout.sunAzimuth), 1.0f};
    for (std::uint32_t z = 0; z < grid.size[2]; ++z) {
      for (std::uint32_t y = 0; y < grid.size[1]; ++y) {
        for (std::uint32_t x = 0; x < grid.size[0]; ++x) {
          const Vec2 p{m_ground[0] + (m_ground[2] - m_ground[0]) * float(x) / 8.0f,
                       m_ground[1] + (m_ground[3] - m_ground[1]) * float(y) / 8.0f};
          N_Vector3 sun = toSun;
          sun.Normalize();
          const float light = 0.8f + 0.15f * std::max(0.0f, Vec3Dot(m_terrain.Normal(p), sun)) + 0.05f * float(z);
          const auto channel = [&](float base) { return std::uint32_t(std::min(255.0f, base * light * 255.0f)); };
          grid.cells.push_back(channel(0.62f) << 16 | channel(0.66f) << 8 | channel(0.74f));
        }
      }
    }
    m_level.hasLightGrid = true;
  }

  void BuildEffectsAndSounds() {
    const Vec2 middle{m_track.exitX * 0.5f, 0.0f};
    m_level.emitters.push_back({"snow", "snow", Ground(middle, 800.0f), {-1500, -1500, -750, 1500, 1500, 750}});
    m_level.soundSources.push_back(
        {Ground({(kStandFrom + kStandTo) * 0.5f, kStandFront - 250.0f}, 200.0f), "crowd", "level_crowd"});
    m_level.soundSources.push_back({Ground({m_track.exitX * 0.5f, 4000.0f}, 600.0f), "wind", "level_wind"});
  }

  void Spectator(Vec2 local, float above, Vec2 facing, int which) {
    const int index = int(m_level.spectators.size());
    m_level.spectators.push_back({Ground(local, above), Heading(m_frame.Direction(facing)),
                                  "fan " + std::to_string(index), kFanMeshes[which % 2]});
  }

  /// On the grandstand's tiers and in a row in front of it, facing the track.
  void BuildSpectators() {
    for (int tier = 0; tier < kTiers; ++tier) {
      for (int i = 0; i < 12; ++i) {
        Spectator({kStandFrom + 80.0f + 160.0f * float(i), kStandFront - kTierDepth * (float(tier) + 0.5f)},
                  kTierHeight * float(tier + 1), {0, 1}, i + tier);
      }
    }
    for (int i = 0; i < 15; ++i) Spectator({2000.0f + 140.0f * float(i), kStandFront + 100.0f}, 0.0f, {0, 1}, i);
  }

  /// A fly-by over the start area: play-once keys along a line of local points at a
  /// height, looking at the start area.
  void FlyBy(const std::string& name, Vec2 from, Vec2 to, float heightFrom, float heightTo) {
    const N_Vector3 target = Ground(m_track.startArea.Point({(kGridFrom + kPursuitTo) * 0.5f, 0}), 50.0f);
    std::vector<N_PathKey> keys;
    constexpr int kKeys = 12;
    for (int k = 0; k < kKeys; ++k) {
      const float t = float(k) / (kKeys - 1);
      const N_Vector3 eye = Ground(from + (to - from) * t, heightFrom + (heightTo - heightFrom) * t);
      N_Vector3 forward = target - eye;
      forward.Normalize();
      // The camera looks along its local -z with its local +y up.
      const N_Vector3 back = forward * -1.0f;
      N_Vector3 up = Up() - forward * Vec3Dot(Up(), forward);
      up.Normalize();
      N_Vector3 right;
      Vec3Cross(right, up, back);
      keys.push_back({eye, EngineRotation(right, up, back)});
    }
    m_level.cameras.push_back({name, m_level.AddPath(keys, 2, 4.0f)});
  }

  void BuildCameras() {
    FlyBy("Camera_Sprint", {4300, -2900}, {6900, -2900}, 450.0f, 300.0f);
    FlyBy("Camera_Hunting", {7800, -400}, {6200, -600}, 550.0f, 300.0f);
    FlyBy("Camera_Relay", {4300, -500}, {5200, -800}, 650.0f, 320.0f);
  }

  const Layout& m_layout;
  Frame m_frame;
  const Terrain& m_terrain;
  const Track& m_track;
  Bounds m_ground;
  LevelData& m_level;
};

}  // namespace

N_Quaternion EngineRotation(const N_Vector3& x, const N_Vector3& y, const N_Vector3& z) {
  // The textbook quaternion of the matrix whose columns are x, y, z; the engine's
  // formula is the transpose of the textbook one, so it takes the conjugate.
  const float m00 = x.x, m01 = y.x, m02 = z.x, m10 = x.y, m11 = y.y, m12 = z.y, m20 = x.z, m21 = y.z, m22 = z.z;
  N_Quaternion q;
  const float trace = m00 + m11 + m22;
  if (trace > 0.0f) {
    const float s = std::sqrt(trace + 1.0f) * 2.0f;
    q = {0.25f * s, (m21 - m12) / s, (m02 - m20) / s, (m10 - m01) / s};
  } else if (m00 > m11 && m00 > m22) {
    const float s = std::sqrt(1.0f + m00 - m11 - m22) * 2.0f;
    q = {(m21 - m12) / s, 0.25f * s, (m01 + m10) / s, (m02 + m20) / s};
  } else if (m11 > m22) {
    const float s = std::sqrt(1.0f + m11 - m00 - m22) * 2.0f;
    q = {(m02 - m20) / s, (m01 + m10) / s, 0.25f * s, (m12 + m21) / s};
  } else {
    const float s = std::sqrt(1.0f + m22 - m00 - m11) * 2.0f;
    q = {(m10 - m01) / s, (m02 + m20) / s, (m12 + m21) / s, 0.25f * s};
  }
  return {q.w, -q.x, -q.y, -q.z};
}

Bounds TrackBounds(const Track& track, float margin) {
  Bounds b{1e30f, 1e30f, -1e30f, -1e30f};
  for (const auto& path : track.paths) {
    for (const Section& s : path) {
      for (const N_Vector3& p : {s.left, s.right}) {
        b = {std::min(b[0], p.x), std::min(b[1], p.y), std::max(b[2], p.x), std::max(b[3], p.y)};
      }
    }
  }
  return {b[0] - margin, b[1] - margin, b[2] + margin, b[3] + margin};
}

void BuildScenery(const Layout& layout, const Terrain& terrain, const Track& track, const Bounds& ground,
                  const std::string& lightmapName, LevelData& level) {
  SceneryBuilder(layout, terrain, track, ground, lightmapName, level).Build();
}

std::vector<std::uint8_t> GroundLightmap(const Layout& layout, const Terrain& terrain, const Bounds& ground) {
  constexpr int kSize = 256;
  N_Vector3 toSun{std::cos(layout.sunAzimuth) * std::cos(kSunElevation),
                  std::sin(layout.sunAzimuth) * std::cos(kSunElevation), std::sin(kSunElevation)};
  toSun.Normalize();
  datagen::RgbaImage image(kSize, kSize);
  for (int j = 0; j < kSize; ++j) {
    for (int i = 0; i < kSize; ++i) {
      const Vec2 p{ground[0] + (ground[2] - ground[0]) * (float(i) + 0.5f) / kSize,
                   ground[1] + (ground[3] - ground[1]) * (float(j) + 0.5f) / kSize};
      const float light = 0.55f + 0.45f * std::max(0.0f, Vec3Dot(terrain.Normal(p), toSun)) / toSun.z;
      const auto value = [&](float tint) { return static_cast<std::uint8_t>(std::min(255.0f, light * tint * 255.0f)); };
      image.At(i, j) = {value(0.95f), value(0.97f), value(1.0f), 255};
    }
  }
  return datagen::EncodeDds(image, {datagen::DdsFormat::Dxt1, true});
}

}  // namespace course
