// The level render list over the recording renderer: the flag filter, distances,
// moving drawables and their sounds, the shader-sorted draw order, the wire boxes and
// what the list owns.
#include "core/VarMng.h"
#include "render/MeshSurface.h"
#include "scene/LevelObjectList.h"
#include "scene/LodObject.h"
#include "scene/LodRenderObject.h"
#include "scene/MeshObject.h"
#include "scene/StaticMesh.h"
#include "tests/scene/SceneTestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>

namespace {

/// The render list with drawables over surfaces of its own; the camera at the origin
/// looks along +y.
class ListRig {
 public:
  ListRig() {
    for (int i = 0; i < 4; ++i) {
      m_vertices[i] = datagen::MeshVertex(float(i & 1) * 10.0f, 0.0f, float(i >> 1) * 10.0f, 0xFFFFFFFF, 0, 0);
    }
  }

  /// A surface of one quad with a shader handle and a lightmap handle.
  N_MeshSurface* Surface(int shader = -1, int lightmap = -1) {
    N_MeshSurface& s = m_surfaces.emplace_back();
    s.type = 3;
    s.shader = shader;
    s.lightmap = lightmap;
    s.vertices = m_vertices;
    s.vertexCount = 4;
    s.indices = m_indices;
    s.indexCount = 6;
    return &s;
  }
  /// A mesh object over the surface whose box (half size 50) is centred at the point;
  /// returned after it joined the list.
  N_RenderObject* Mesh(N_MeshSurface* surface, const N_Vector3& at, std::uint32_t flags = 0, int sound = 0) {
    auto object = std::make_unique<N_MeshObject>(surface, 1);
    const float box[6] = {at.x - 50, at.y - 50, at.z - 50, at.x + 50, at.y + 50, at.z + 50};
    object->SetTransform(box, flags, N_RenderObject::kMeshObject, N_Matrix4{}, sound);
    N_RenderObject* added = object.get();
    list.Add(std::move(object));
    return added;
  }
  /// A moving mesh object: a box of half size 50 about its own origin, carried along x
  /// from `from` at 100 units a second (keys 100 apart, rate 1).
  N_RenderObject* Moving(N_MeshSurface* surface, const N_Vector3& from, std::uint32_t flags = 0, int sound = 0) {
    auto object = std::make_unique<N_MeshObject>(surface, 1);
    const float box[6] = {-50, -50, -50, 50, 50, 50};
    object->SetTransform(box, flags, N_RenderObject::kMeshObject, N_Matrix4{}, sound);
    std::vector<N_PathKey> keys(20);
    for (int i = 0; i < 20; ++i) keys[std::size_t(i)].position = {from.x + 100.0f * float(i), from.y, from.z};
    object->path = std::make_unique<N_CameraPath>(keys.data(), 20, 0, 1.0f);
    N_RenderObject* added = object.get();
    list.Add(std::move(object));
    return added;
  }
  /// One frame of the list.
  void Frame(float dt = 0.0f) {
    scene.render.Forget();
    list.Render(dt);
    list.RenderSorted();
  }
  N_VarMng& Vars() { return *scene.rig.core.vars; }

  test::SceneRig scene;

 private:
  N_SurfaceVertex m_vertices[4];
  std::uint16_t m_indices[6] = {0, 2, 1, 1, 2, 3};
  std::deque<N_MeshSurface> m_surfaces;

 public:
  N_LevelObjectList list;  // goes first: its drawables borrow the surfaces
};

TEST(LevelObjectList, TheFlagFilterFollowsTrackModeAndDetail) {
  const struct {
    std::uint32_t flags;
    int trackMode, detail;
    bool drawn;
  } cases[] = {
      {0x0000, 1, 0, true},  {0x0000, 7, 9, true},   // flags 0 always pass
      {0x0002, 1, 0, false}, {0x0002, 2, 0, true},   // track-mode byte 2
      {0x0200, 1, 0, true},  {0x0200, 1, 1, true},   // detail byte 2
      {0x0200, 1, 2, false}, {0x0200, 1, 3, false},
      {0x0201, 1, 1, true},  {0x0201, 2, 1, false},  // both bytes
  };
  for (const auto& c : cases) {
    ListRig rig;
    rig.Vars().SetInt("trackmode", c.trackMode, 0);
    rig.Vars().SetInt("detail", c.detail, 0);
    rig.Mesh(rig.Surface(), {0, 1000, 0}, c.flags);
    rig.Frame();
    EXPECT_EQ(rig.scene.render.draws.size(), c.drawn ? 1u : 0u) << std::hex << c.flags << std::dec << " trackmode "
                                                                << c.trackMode << " detail " << c.detail;
    EXPECT_EQ(rig.list.TrackMode(), c.trackMode);
    EXPECT_EQ(rig.list.Detail(), c.detail);
  }
}

TEST(LevelObjectList, StaticObjectsEndBeforeTheLodWorldDistance) {
  ListRig rig;
  const N_RenderObject* near = rig.Mesh(rig.Surface(), {0, 1000, 0});
  float depth = 0.0f;
  ASSERT_TRUE(rig.scene.frustum.TestBox(near->worldBox, &depth));
  const struct {
    float lodDistance;
    bool drawn;
  } cases[] = {{depth, false}, {depth + 1.0f, true}, {depth - 1.0f, false}};
  for (const auto& c : cases) {
    rig.Vars().SetFloat("LODWorldDistance", c.lodDistance, 0);
    rig.Frame();
    EXPECT_EQ(rig.scene.render.draws.size(), c.drawn ? 1u : 0u) << c.lodDistance << " for " << depth;
  }
}

TEST(LevelObjectList, MovingObjectsAdvanceUnseenButNotWhileFilteredOut) {
  ListRig rig;
  rig.Vars().SetInt("trackmode", 1, 0);
  // Far beyond "LODWorldDistance" (20000) but in view; behind the camera; filtered out.
  const N_RenderObject* far = rig.Moving(rig.Surface(), {0, 50000, 0});
  const N_RenderObject* behind = rig.Moving(rig.Surface(), {0, -1000, 0});
  const N_RenderObject* hidden = rig.Moving(rig.Surface(), {0, 1000, 0}, 0x0002);
  rig.Frame(2.5f);
  ASSERT_EQ(rig.scene.render.draws.size(), 1u);
  EXPECT_EQ(rig.scene.render.worlds.at(0).m[13], 50000.0f);
  EXPECT_EQ(far->worldMatrix.m[12], 250.0f);
  EXPECT_EQ(behind->path->CurrentKey(), 2);
  EXPECT_EQ(behind->worldMatrix.m[12], 250.0f);
  EXPECT_EQ(hidden->path->CurrentKey(), 0);
  EXPECT_EQ(hidden->path->Fraction(), 0.0f);
  // Moving objects are drawn where their path puts them this frame.
  rig.Frame(1.0f);
  ASSERT_EQ(rig.scene.render.worlds.size(), 1u);
  EXPECT_EQ(rig.scene.render.worlds[0].m[12], 350.0f);
}

TEST(LevelObjectList, AMovingObjectsSoundFollowsItEveryFrame) {
  ListRig rig;
  rig.Moving(rig.Surface(), {0, -1000, 0}, 0, 5);  // unseen: the sound still moves and plays
  rig.Moving(rig.Surface(), {0, 1000, 0}, 0, 0);   // no sound
  rig.Frame(1.0f);
  rig.Frame(0.5f);
  const auto& positions = rig.scene.sound.positions;
  ASSERT_EQ(positions.size(), 2u);
  EXPECT_EQ(positions[0].handle, 5);
  EXPECT_EQ(positions[0].x, 100.0f);
  EXPECT_EQ(positions[0].y, -1000.0f);
  EXPECT_EQ(positions[0].z, 0.0f);
  EXPECT_EQ(positions[1].x, 150.0f);
  EXPECT_EQ(rig.scene.sound.played, (std::vector<int>{5, 5}));
}

TEST(LevelObjectList, EachRecordWithInstancesBindsItsShaderOncePerFrame) {
  ListRig rig;
  test::WriteLodQuads("tree", 20.0f);
  const float distances[3] = {5000, 10000, 20000};
  auto lod = N_LodObject::Load("tree", distances);
  for (int level = 0; level < 3; ++level) {
    for (const auto& record : lod->Mesh(level)->Instances()) rig.list.AddSurfaceRecord(record.get());
  }
  for (float x : {-300.0f, 0.0f, 300.0f}) {  // three trees near by: all on mesh 1
    auto tree = std::make_unique<N_LodRenderObject>(lod->Mesh(0), lod->Mesh(1), lod->Mesh(2), distances[0],
                                                    distances[1], distances[2]);
    const float box[6] = {x - 20, 980, -20, x + 20, 1020, 20};
    tree->SetTransform(box, 0, N_RenderObject::kLodObject, N_Matrix4{}, -1);
    rig.list.Add(std::move(tree));
  }
  rig.Mesh(rig.Surface(), {0, -1000, 0});  // unseen: its record gets no matrix
  rig.scene.LoadShaders();
  rig.list.Sort();
  for (int frame = 0; frame < 2; ++frame) {
    rig.Frame();
    EXPECT_EQ(rig.scene.render.calls,
              (std::vector<std::string>{"SetShader", "SetWorldMatrix", "DrawSurface", "SetWorldMatrix", "DrawSurface",
                                        "SetWorldMatrix", "DrawSurface"}));
    ASSERT_EQ(rig.scene.render.shaders.size(), 1u);
    EXPECT_EQ(rig.scene.render.shaders[0].shader, rig.scene.shaders.GetShader(lod->Mesh(0)->Surfaces()[0].shader));
    EXPECT_EQ(rig.scene.render.worlds.size(), 3u) << "the queues are emptied every frame";
  }
  EXPECT_FALSE(rig.scene.rig.device->CallsStartingWith("DrawIndexedPrimitive(").empty()) << "drawn from its buffers";
}

TEST(LevelObjectList, RecordsDrawInKeyOrderAndLateRecordsFirst) {
  ListRig rig;
  test::WriteScript(rig.scene.rig.harness.dir, "s.shader",
                    "opaque\n{\n{\nmap a\n}\n}\nsky\n{\nsort sky\n{\nmap a\n}\n}\nbanner\n{\nsort banner\n{\nmap a\n}\n}\n");
  const int opaque = rig.scene.shaders.AddShader("opaque", 0, 3);
  const int sky = rig.scene.shaders.AddShader("sky", 0, 3);
  const int banner = rig.scene.shaders.AddShader("banner", 0, 3);
  rig.scene.LoadShaders();
  // Added A to F; expected by sort value (sky 2, opaque 3, banner 6), then shader, then
  // lightmap, ties in the order of addition.
  N_MeshSurface* a = rig.Surface(opaque, 5);
  N_MeshSurface* b = rig.Surface(sky, 9);
  N_MeshSurface* c = rig.Surface(opaque, 2);
  N_MeshSurface* d = rig.Surface(banner, -1);
  N_MeshSurface* e = rig.Surface(opaque, 2);
  N_MeshSurface* f = rig.Surface(opaque, 5);
  float x = -400.0f;
  for (N_MeshSurface* s : {a, b, c, d, e, f}) rig.Mesh(s, {x += 100.0f, 1000, 0});
  EXPECT_TRUE(rig.list.Unsorted());
  rig.list.Sort();
  EXPECT_FALSE(rig.list.Unsorted());
  rig.Frame();
  EXPECT_EQ(rig.scene.render.draws, (std::vector<const N_MeshSurface*>{b, c, e, a, f, d}));
  ASSERT_EQ(rig.scene.render.shaders.size(), 6u);
  EXPECT_EQ(rig.scene.render.shaders[0].lightmap, 9);
  EXPECT_EQ(rig.scene.render.shaders[5].lightmap, -1);
  // A record added after sorting has key 0 and goes first at the next sort the flag
  // starts, whatever its shader.
  N_MeshSurface* late = rig.Surface(banner, 7);
  rig.Mesh(late, {0, 900, 0});
  EXPECT_TRUE(rig.list.Unsorted());
  rig.Frame();
  EXPECT_FALSE(rig.list.Unsorted());
  EXPECT_EQ(rig.list.Records().front()->surface, late);
  EXPECT_EQ(rig.scene.render.draws, (std::vector<const N_MeshSurface*>{late, b, c, e, a, f, d}));
  // Sort gives it its key and its place: banner, lightmap 7 before the banner without one.
  rig.list.Sort();
  rig.Frame();
  EXPECT_EQ(rig.scene.render.draws, (std::vector<const N_MeshSurface*>{b, c, e, a, f, late, d}));
}

TEST(LevelObjectList, TheBoxSwitchDrawsTheWorldBoxesOfStaticObjectsDrawn) {
  const struct {
    int box;
    N_Vector3 at;
    bool moving;
    bool wireBox;
  } cases[] = {
      {1, {0, 1000, 0}, false, true},
      {0, {0, 1000, 0}, false, false},
      {1, {0, -1000, 0}, false, false},  // culled
      {1, {0, 1000, 0}, true, false},    // moving objects get none
  };
  for (const auto& c : cases) {
    ListRig rig;
    rig.Vars().SetInt("box", c.box, 0);
    const N_RenderObject* object = c.moving ? rig.Moving(rig.Surface(), c.at) : rig.Mesh(rig.Surface(), c.at);
    rig.Frame();
    ASSERT_EQ(rig.scene.render.boxes.size(), c.wireBox ? 1u : 0u) << c.box << " " << c.at.y << " " << c.moving;
    if (!c.wireBox) continue;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(rig.scene.render.boxes[0].box[std::size_t(i)], object->worldBox[i]);
    EXPECT_EQ(rig.scene.render.boxes[0].colour, (std::array<float, 3>{1.0f, 0.0f, 0.0f}));
  }
}

TEST(LevelObjectList, ClearDeletesTheDrawablesButNoSurfaceRecord) {
  ListRig rig;
  test::WriteLodQuads("tree", 20.0f);
  const float distances[3] = {5000, 10000, 20000};
  auto lod = N_LodObject::Load("tree", distances);
  N_SurfaceInstances* kept = lod->Mesh(0)->Instances()[0].get();
  rig.list.AddSurfaceRecord(kept);
  auto tree = std::make_unique<N_LodRenderObject>(lod->Mesh(0), lod->Mesh(1), lod->Mesh(2), 5000, 10000, 20000);
  const float box[6] = {-20, 980, -20, 20, 1020, 20};
  tree->SetTransform(box, 0, N_RenderObject::kLodObject, N_Matrix4{}, -1);
  rig.list.Add(std::move(tree));
  rig.Mesh(rig.Surface(), {0, 1000, 0}, 0, 3);
  rig.Moving(rig.Surface(), {0, 1000, 0}, 0, 4);
  rig.Mesh(rig.Surface(), {0, 1000, 0});
  rig.Frame(0.1f);
  EXPECT_EQ(rig.list.Drawables().size(), 4u);
  EXPECT_EQ(rig.list.Moving().size(), 1u);
  EXPECT_EQ(rig.list.Static().size(), 3u);
  EXPECT_EQ(rig.list.Records().size(), 4u);
  rig.list.Clear();
  EXPECT_TRUE(rig.list.Drawables().empty());
  EXPECT_TRUE(rig.list.Moving().empty());
  EXPECT_TRUE(rig.list.Static().empty());
  EXPECT_TRUE(rig.list.Records().empty());
  EXPECT_EQ(rig.scene.sound.released, (std::vector<int>{3, 4}));
  // The LOD mesh's record lives on with its mesh (LeakSanitizer sees the mesh objects'
  // records go with them).
  EXPECT_EQ(kept->surface, &lod->Mesh(0)->Surfaces()[0]);
  kept->matrices.clear();
  rig.Frame(0.1f);
  EXPECT_TRUE(rig.scene.render.calls.empty());
}

}  // namespace
