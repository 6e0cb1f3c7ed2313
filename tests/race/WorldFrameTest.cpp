// The world's frame on the recording renderer: the update's order around the running
// game, the render of each view mode (the game's draws, the fall-back from a missing
// race camera, the scope pass and the rifle, the developer's polygon count), the
// screenshots taken by Scroll Lock, and the order of the world's teardown.
#include "race/World.h"

#include "core/FormatString.h"
#include "core/InputMng.h"
#include "gui/GuiMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiPage.h"
#include "platform/dinput8/ScriptedInput.h"
#include "render/MeshSurface.h"
#include "render/RenderServices.h"
#include "render/TextureMngImpl.h"
#include "scene/LevelCamera.h"
#include "scene/MeshObject.h"
#include "scene/ParticleSystem.h"
#include "scene/SceneAccess.h"
#include "tests/race/WorldTestSupport.h"
#include "tests/render/FakeTextureDevice.h"
#include "tests/render/RenderRig.h"
#include "tests/support/TestEnv.h"
#include "tools/LevelWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

/// The renderer noting the frame's steps into the rig's events: begin, camera set-ups
/// (with the camera), depth clears, sorted surfaces, the post pass, screenshots.
class EventRender final : public N_Render {
 public:
  explicit EventRender(std::vector<std::string>& events) : m_events(events) {}
  bool BeginFrame(bool clearTarget) override {
    m_events.push_back("begin frame");
    targetClears.push_back(clearTarget);
    return N_Render::BeginFrame(clearTarget);
  }
  void SetupCamera(N_Camera* camera, std::int32_t is3D) override {
    if (is3D) cameras3D.push_back(camera);
    m_events.push_back(is3D ? "3D" : "2D");
    N_Render::SetupCamera(camera, is3D);
  }
  void ClearDepth() override {
    m_events.push_back("clear depth");
    N_Render::ClearDepth();
  }
  void DisableFog() override {
    m_events.push_back("fog");
    N_Render::DisableFog();
  }
  void DrawSurface(N_MeshSurface* surface) override {
    m_events.push_back("surface");
    N_Render::DrawSurface(surface);
  }
  void DrawPostPass() override {
    m_events.push_back("post pass");
    // The text of the frame is all queued by now; the GUI and the flush come after.
    if (g_world) {
      queued.clear();
      for (std::uint32_t i = 0; i < g_world->TextBatch().EntryCount(); ++i) queued.push_back(g_world->TextBatch().Entry(i));
    }
    polygons = GetPolygonCount();
    N_Render::DrawPostPass();
  }
  void SaveScreenshot(const char* fileName, std::int32_t x, std::int32_t y, std::int32_t width,
                      std::int32_t height) override {
    shots.push_back(FormatString("%s %d %d %d %d", fileName, x, y, width, height));
  }

  std::vector<N_Camera*> cameras3D;
  std::vector<bool> targetClears;  ///< each frame's: whether BeginFrame cleared the colours
  std::vector<N_MeshSurface> queued;  ///< the text batcher's entries at the post pass
  std::uint32_t polygons = 0;
  std::vector<std::string> shots;

 private:
  std::vector<std::string>& m_events;
};

/// A world on the recording renderer (640 x 480) with two athletes, empty start pages
/// and a level of a menu path (and, unless told otherwise, a sprint fly-by camera),
/// started; a drawable 1000 units ahead of the cameras; the scripted keyboard behind
/// the input manager; with `noting`, a noting sound manager made before the world.
struct WorldRig {
  explicit WorldRig(bool sprintCamera = true, bool noting = false)
      : rig(test::RecordingRender::DefaultConfig(), [this] { return render = new EventRender(events); }) {
    g_renderServicesCopy.textureMng = &textures;
    g_render = &rig.render;
    N_CoreServices block;
    block.errorLog = rig.core.errorLog.get();
    block.log = rig.core.log.get();
    block.varMng = rig.core.vars.get();
    input = CreateInputMng(block);
    input->Init();
    g_inputMng = input.get();
    const test::TempDir& dir = rig.harness.dir;
    dir.Write("data/profiles/playerprofiles.data",
              "{\nAthletName \"A One\"\nSex Male\nMesh \"data\\anim\\ref_meshe\\ref_model2.mesh\"\n}\n"
              "{\nAthletName \"B Two\"\nSex Female\nMesh \"data\\anim\\ref_meshe\\ref_model_F3.mesh\"\n}\n");
    test::CopyFigureData(dir);
    test::WriteStartPages(dir);
    datagen::LevelData level;
    level.pointSets.push_back({"CameraPath_Menu", {{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}}});
    if (sprintCamera) {
      level.cameras.push_back({"Camera_Sprint", level.AddPath(std::vector<N_PathKey>(4), N_CameraPath::kPlayOnce, 1.0f)});
    }
    const std::vector<std::uint8_t> bytes = datagen::EncodeLevel(level);
    dir.Write(test::kStartLevelFile, std::string(bytes.begin(), bytes.end()));
    if (noting) sound = std::make_unique<test::NotingSoundMng>();
    world = std::make_unique<N_World>(&textures);
    g_world = world.get();
    world->Init();
    AddDrawable();
    world->LevelObjects().Sort();
    events.clear();
  }
  ~WorldRig() {
    g_world = nullptr;
    world.reset();
    g_inputMng = nullptr;
    input->Shutdown();
    g_render = nullptr;
    g_renderServicesCopy.textureMng = nullptr;
  }
  /// A triangle 1000 units ahead (+y) of the cameras at the origin.
  void AddDrawable() {
    for (int i = 0; i < 3; ++i) {
      vertices[i].position[0] = float(i == 1) * 100.0f;
      vertices[i].position[1] = 1000.0f;
      vertices[i].position[2] = float(i == 2) * 100.0f;
    }
    surface.shader = world->ShaderMng().AddShader("rock", 0, 3);
    surface.vertices = vertices;
    surface.vertexCount = 3;
    surface.indices = indices;
    surface.indexCount = 3;
    auto object = std::make_unique<N_MeshObject>(&surface, 1);
    const float box[6] = {0, 999, 0, 100, 1001, 100};
    object->SetTransform(box, 0, N_RenderObject::kMeshObject, N_Matrix4{}, 0);
    world->LevelObjects().Add(std::move(object));
  }
  test::RecordingGame& StartGame() {
    auto game = std::make_unique<test::RecordingGame>(events);
    test::RecordingGame& recording = *game;
    world->SetGame(std::move(game));
    return recording;
  }
  /// One frame of the world as the main loop runs it.
  void Frame() {
    input->Update();
    world->Update(0.05f);
    world->Render(0.05f);
  }
  long Count(const std::string& event) const { return std::count(events.begin(), events.end(), event); }

  std::vector<std::string> events;
  EventRender* render = nullptr;
  test::RenderRig rig;
  test::FakeTextureDevice device;
  N_TextureMngImpl textures{1024, &device};
  platform::ScriptedInput keys;
  std::unique_ptr<N_InputMng> input;
  std::unique_ptr<test::NotingSoundMng> sound;
  std::unique_ptr<N_World> world;
  N_SurfaceVertex vertices[3] = {};
  std::uint16_t indices[3] = {0, 1, 2};
  N_MeshSurface surface;
};

TEST(WorldFrame, UpdateRunsTheGameAfterTheCamerasAndFogAndBeforeTheParticles) {
  WorldRig r;
  N_World& world = *r.world;
  r.rig.harness.dir.Write("data/scripts/fx.particle", "spark\n{\n numparticles 3\n live 50 50\n}\n");
  world.ParticleMng().ParseScript("data/scripts/fx.particle");
  N_ParticleSystem* system = world.ParticleMng().CreateSystem();
  N_ParticleEmitter* spark = system->AddEmitter(world.ParticleMng().CreateEmitter("spark"));
  spark->position = {0.0f, 1000.0f, 0.0f};
  system->Start(0);
  test::RecordingGame& game = r.StartGame();
  r.rig.core.vars->SetInt("viewmode", 2, 2);
  int viewMode = -1;
  std::uint32_t built = 99;
  game.onUpdate = [&] {
    viewMode = world.CameraMng().ViewMode();
    built = spark->BuiltCount();
  };
  world.Update(0.05f);
  EXPECT_EQ(viewMode, 2) << "the cameras read the view mode first";
  EXPECT_EQ(built, 0u) << "the particles come last";
  EXPECT_GT(spark->BuiltCount(), 0u);
  EXPECT_EQ(r.events, (std::vector<std::string>{"fog", "game update", "game poll"})) << "the level's fog before the game";
}

TEST(WorldFrame, AFinishedGameLeavesTheWorldInTheFrameOfItsResult) {
  WorldRig r;
  test::RecordingGame& game = r.StartGame();
  r.world->Update(0.05f);
  ASSERT_NE(r.world->Game(), nullptr);
  game.result = std::make_unique<ExportData>();
  r.world->Update(0.05f);
  EXPECT_EQ(r.world->Game(), nullptr);
  EXPECT_EQ(g_scene.game, nullptr);
  const auto gameEvents = [&r] {
    std::vector<std::string> seen;
    std::copy_if(r.events.begin(), r.events.end(), std::back_inserter(seen),
                 [](const std::string& event) { return event.rfind("game", 0) == 0; });
    return seen;
  };
  const std::vector<std::string> expected = {"game update", "game poll",    "game update",
                                             "game poll",   "game removed", "game deleted"};
  EXPECT_EQ(gameEvents(), expected);
  r.world->Update(0.05f);  // no game: nothing more
  EXPECT_EQ(gameEvents(), expected);
}

/// A view mode, the race camera's mode and what the frame must do.
struct RenderCase {
  const char* name;
  int viewmode;
  int raceMode;
  bool sprintCamera;
  bool aiming;
  long gameRenders;
  bool unpaused;  ///< the game got SetPaused(0) and "viewmode" became 1
  bool polygonText;
  enum Camera { Free, Race, Sprint, Shake } camera;
};

class WorldRender : public testing::TestWithParam<RenderCase> {};

TEST_P(WorldRender, DrawsTheGameAndTheTextOfTheViewMode) {
  const RenderCase& c = GetParam();
  WorldRig r(c.sprintCamera);
  N_World& world = *r.world;
  N_CameraMng& cameras = world.CameraMng();
  r.rig.core.vars->SetInt("developer", 1, 2);
  r.rig.core.vars->SetInt("viewmode", c.viewmode, 2);
  cameras.SetRaceCameraMode(c.raceMode);
  test::RecordingRifle rifle(r.events);
  rifle.aiming = c.aiming;
  cameras.ShakeController().AttachRifle(&rifle);
  N_Camera* seenByGame = nullptr;
  test::RecordingGame& game = r.StartGame();
  game.onRender = [&](float) { seenByGame = world.CurrentCamera(); };
  world.Update(0.05f);
  r.events.clear();
  world.Render(0.05f);

  N_Camera* expected = c.camera == RenderCase::Free    ? &cameras.FreeController().Camera()
                       : c.camera == RenderCase::Race  ? &cameras.RaceController().OwnCamera()
                       : c.camera == RenderCase::Shake ? &cameras.ShakeController().MainCamera()
                                                       : static_cast<N_Camera*>(cameras.RaceController().SprintCamera());
  EXPECT_EQ(world.CurrentCamera(), expected);
  if (c.gameRenders > 0) {
    EXPECT_EQ(seenByGame, expected) << "current as soon as chosen";
  }
  EXPECT_EQ(r.Count("game render"), c.gameRenders);
  EXPECT_EQ(r.Count("paused 0"), c.unpaused ? 1 : 0);
  EXPECT_EQ(r.rig.core.vars->GetInt("viewmode"), c.unpaused ? 1 : c.viewmode);
  EXPECT_EQ(cameras.ViewMode(), c.unpaused ? 1 : c.viewmode);
  EXPECT_EQ(r.Count("rifle"), c.viewmode == 2 ? 1 : 0) << "the shake camera draws the rifle at the range";

  if (c.polygonText) {
    // The same entry as the polygon count queued at (0, 32), scale 1, colour 0 (white),
    // alpha 255, font 0.
    N_TextBatch reference(nullptr);
    reference.AddText(FormatString("num poly:%d \n", int(r.render->polygons)).c_str(), 0, 0.0f, 32.0f, 1.0f, 0, 255);
    ASSERT_EQ(r.render->queued.size(), 1u);
    const N_MeshSurface& queued = r.render->queued[0];
    const N_MeshSurface& wanted = reference.Entry(0);
    EXPECT_EQ(queued.shader, 0);
    ASSERT_EQ(queued.vertexCount, wanted.vertexCount);
    EXPECT_EQ(std::memcmp(queued.vertices, wanted.vertices, wanted.vertexCount * sizeof(N_SurfaceVertex)), 0);
  } else {
    EXPECT_TRUE(r.render->queued.empty());
  }

  if (c.viewmode == 2) {
    // The scope pass: depth cleared, the scope camera, depth cleared, the sorted
    // surfaces and the game again; then the rifle through its own camera.
    N_ShakeCamera& shake = cameras.ShakeController();
    std::vector<N_Camera*> want = {&shake.MainCamera()};
    if (c.aiming) want.push_back(&shake.ScopeCamera());
    want.push_back(&shake.RifleCamera());
    want.push_back(&shake.MainCamera());  // the particles
    EXPECT_EQ(r.render->cameras3D, want);
    const auto rifleAt = std::find(r.events.begin(), r.events.end(), "rifle");
    ASSERT_NE(rifleAt, r.events.end());
    const std::vector<std::string> beforeRifle(r.events.begin(), rifleAt);
    std::vector<std::string> tail = {"clear depth", "3D"};
    if (c.aiming) tail = {"clear depth", "3D", "clear depth", "surface", "game render", "clear depth", "3D"};
    ASSERT_GE(beforeRifle.size(), tail.size());
    EXPECT_EQ(std::vector<std::string>(beforeRifle.end() - long(tail.size()), beforeRifle.end()), tail);
    EXPECT_EQ(r.Count("surface"), c.aiming ? 2 : 1);
  }
  cameras.ShakeController().AttachRifle(nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    WorldFrame, WorldRender,
    testing::Values(RenderCase{"FreeCamera", 1, 0, true, false, 1, false, true, RenderCase::Free},
                    RenderCase{"AnyOtherMode", 5, 0, true, false, 1, false, true, RenderCase::Free},
                    RenderCase{"RangeNotAiming", 2, 0, true, false, 1, false, false, RenderCase::Shake},
                    RenderCase{"RangeAiming", 2, 0, true, true, 2, false, false, RenderCase::Shake},
                    RenderCase{"BehindTheMenus", 0, 0, true, false, 0, false, false, RenderCase::Race},
                    RenderCase{"SprintFlyBy", 0, 1, true, false, 1, false, false, RenderCase::Sprint},
                    RenderCase{"FlyByWithoutItsCamera", 0, 1, false, false, 1, true, false, RenderCase::Free}),
    [](const testing::TestParamInfo<RenderCase>& info) { return std::string(info.param.name); });

TEST(WorldFrame, UnderAnOpaqueFullScreenPageTheViewIsDrawnOnlyWhileAGameRuns) {
  WorldRig r;
  N_World& world = *r.world;
  r.rig.core.vars->SetInt("viewmode", 0, 2);  // behind the menus
  N_GuiElement* backdrop = world.GuiMng().CreateElement("Panel", "Backdrop", false);
  backdrop->SetSize(640.0f, 480.0f);
  backdrop->SetShader("rock");
  N_GuiPage* cover = world.GuiMng().CreatePage("Cover");
  cover->AddElement(backdrop);
  cover->ShowImmediate();
  world.ShaderMng().LoadShaders();
  N_Shader* rock = world.ShaderMng().GetShader(backdrop->GetShader());
  if (rock->stageCount == 0) rock->AddStage();  // a plain stage: opaque
  r.Frame();
  EXPECT_TRUE(r.render->cameras3D.empty()) << "no 3D behind the page";
  EXPECT_EQ(world.CurrentCamera(), &world.CameraMng().RaceController().OwnCamera()) << "the camera is still chosen";
  EXPECT_EQ(r.render->targetClears, std::vector<bool>{false}) << "the page's first draw replaces every colour";
  r.StartGame();
  r.Frame();
  EXPECT_FALSE(r.render->cameras3D.empty()) << "a running game's render moves it on";
  EXPECT_EQ(r.render->targetClears, (std::vector<bool>{false, true}));
}

TEST(WorldFrame, ScrollLockTakesOneNumberedScreenshotAPress) {
  WorldRig r;
  r.rig.core.vars->SetInt("v_width", 640, 2);
  r.rig.core.vars->SetInt("v_height", 480, 2);
  N_Var* counter = r.rig.core.vars->Find("ScreenshotName");
  ASSERT_NE(counter, nullptr) << "a built-in variable";
  r.Frame();
  EXPECT_TRUE(r.render->shots.empty());
  r.keys.KeyDown(N_World::kScreenshotKey);
  for (int frame = 0; frame < 10; ++frame) r.Frame();  // held down: one shot
  r.keys.KeyUp(N_World::kScreenshotKey);
  r.Frame();
  r.keys.KeyDown(N_World::kScreenshotKey);
  r.Frame();
  EXPECT_EQ(r.render->shots, (std::vector<std::string>{"data\\screenshots\\000001.bmp 0 0 640 480",
                                                        "data\\screenshots\\000002.bmp 0 0 640 480"}));
  EXPECT_EQ(r.rig.core.vars->GetInt("ScreenshotName"), 3);

  // A killed game saved no counter: the restarted one reads an older number, and the
  // screenshot takes the first free one (it used to write over the earlier pictures).
  for (const char* shot : {"000003.bmp", "000004.bmp", "000006.bmp"}) {
    r.rig.harness.dir.Write(std::string("data/Screenshots/") + shot, "picture");
  }
  r.rig.core.vars->SetInt("ScreenshotName", 3, 2);
  r.world->TakeScreenshot();
  EXPECT_EQ(r.render->shots.back(), "data\\screenshots\\000005.bmp 0 0 640 480");
  EXPECT_EQ(r.rig.core.vars->GetInt("ScreenshotName"), 6);
  // At the last number, and past it, the count goes round to the first free one: the
  // last picture used to be written over, and beyond it nothing was checked.
  r.rig.harness.dir.Write("data/Screenshots/999999.bmp", "picture");
  r.rig.harness.dir.Write("data/Screenshots/000000.bmp", "picture");
  for (const int counter : {999999, 5000000}) {
    r.rig.core.vars->SetInt("ScreenshotName", counter, 2);
    r.world->TakeScreenshot();
    EXPECT_EQ(r.render->shots.back(), "data\\screenshots\\000001.bmp 0 0 640 480") << counter;
    EXPECT_EQ(r.rig.core.vars->GetInt("ScreenshotName"), 2) << counter;
  }
}

TEST(WorldFrame, ARegistryWithoutTheCounterStartsAtZeroAndSavesIt) {
  WorldRig r;
  r.rig.core.vars->Unregister(r.rig.core.vars->Find("ScreenshotName"));
  ASSERT_EQ(r.rig.core.vars->Find("ScreenshotName"), nullptr);
  r.rig.core.vars->SetInt("v_width", 320, 2);
  r.rig.core.vars->SetInt("v_height", 200, 2);
  r.world->TakeScreenshot();
  r.world->TakeScreenshot();
  EXPECT_EQ(r.render->shots, (std::vector<std::string>{"data\\screenshots\\000000.bmp 0 0 320 200",
                                                        "data\\screenshots\\000001.bmp 0 0 320 200"}));
  const N_Var* counter = r.rig.core.vars->Find("ScreenshotName");
  ASSERT_NE(counter, nullptr);
  EXPECT_EQ(counter->Flags(), 0x22u) << "saved to config.cfg";
  EXPECT_EQ(r.rig.core.vars->GetInt("ScreenshotName"), 2);
}

std::vector<std::string> g_teardown;

TEST(WorldFrame, TeardownFollowsTheMembersOrderAndReleasesTheCoachsSoundsBeforeTheBodySounds) {
  WorldRig r(true, true);
  test::NotingSoundMng& sound = *r.sound;
  r.StartGame();
  const std::size_t made = sound.made.size();
  ASSERT_EQ(made, std::size_t(N_SoundCache::kSoundCount) + 1) << "the cache's sounds and the heartbeat";
  // Each step with the count of sounds given back so far.
  N_World::SetTeardownObserver([](const char* step) {
    const auto* noting = static_cast<const test::NotingSoundMng*>(g_soundMng);
    g_teardown.push_back(std::string(step) + " " + std::to_string(noting->released.size()));
  });
  g_world = nullptr;
  r.world.reset();
  N_World::SetTeardownObserver(nullptr);
  EXPECT_EQ(r.events, std::vector<std::string>{"game deleted"});
  EXPECT_EQ(g_teardown,
            (std::vector<std::string>{"game 0", "figures 0", "athletes 0", "cameras 0", "particles 0", "gui 0",
                                      "fonts freed 0", "shaders freed 0", "textures freed 0", "level objects 0",
                                      "level 0", "frustum 0", "text batcher 0", "shader manager 0", "font list 0",
                                      "sound cache unregistered 34", "sound cache 34", "body sounds 35"}));
  ASSERT_EQ(sound.released.size(), made);
  for (std::size_t i = 0; i < made; ++i) {
    EXPECT_EQ(sound.NameOf(sound.released[i]), sound.made[i]) << "each sound given back once, in the order made";
  }
  EXPECT_NE(r.rig.core.LogText().find("--- Freeing Textures\n"), std::string::npos);
}

}  // namespace
