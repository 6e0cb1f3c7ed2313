#include "race/World.h"

#include "core/FormatString.h"
#include "race/ExportData.h"
#include "race/LoadingProgress.h"
#include "gui/GuiFactories.h"
#include "gui/GuiFigures.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
#include "gui/GuiText.h"
#include "render/MeshSurface.h"
#include "render/RenderServices.h"
#include "render/TextureMngImpl.h"
#include "scene/AnimEmitorSet.h"
#include "scene/CameraMng.h"
#include "scene/FigureRoster.h"
#include "scene/LensFlare.h"
#include "scene/LevelCamera.h"
#include "scene/MeshObject.h"
#include "scene/ParticleShader.h"
#include "scene/ParticleSystem.h"
#include "scene/SceneAccess.h"
#include "sound/SoundMng.h"
#include "tests/render/FakeTextureDevice.h"
#include "tests/render/RenderRig.h"
#include "tests/support/TestEnv.h"
#include "tools/LevelWriter.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

/// What every world start needs, with athletes of its own (one man, one woman, in the
/// default gear) in place of the sample's.
void WriteStartFiles(const test::TempDir& dir) {
  dir.Write("data/profiles/playerprofiles.data",
            "{\nAthletName \"A One\"\nSex Male\nMesh \"data\\anim\\ref_meshe\\ref_model2.mesh\"\n}\n"
            "{\nAthletName \"B Two\"\nSex Female\nMesh \"data\\anim\\ref_meshe\\ref_model_F3.mesh\"\n}\n");
  test::CopyFigureData(dir);
  test::WriteStartPages(dir);
}

TEST(World, OwnsItsShaderManagerAndTextBatcher) {
  test::TempDir dir;
  test::CoreServices core;  // the start level is named by "mapname"
  WriteStartFiles(dir);
  N_World world(nullptr);
  EXPECT_EQ(world.TextureMng(), nullptr);
  EXPECT_TRUE(world.Init());
  // The GUI's model views reach the athletes, their figures and the current camera.
  N_GuiFigures* figures = g_guiServices.figures;
  ASSERT_NE(figures, nullptr);
  EXPECT_EQ(figures->GetMale(0), world.AthletMng().GetMale(0));
  EXPECT_EQ(figures->GetFemale(0), world.AthletMng().GetFemale(0));
  EXPECT_GE(figures->GetMale(0)->Figure, 0) << "its figure instance";
  for (const std::int32_t index : {-1, 1, 1 << 30}) {
    EXPECT_EQ(figures->GetMale(index), nullptr) << index;
    EXPECT_EQ(figures->GetFemale(index), nullptr) << index;
  }
  EXPECT_EQ(g_guiServices.camera, world.CurrentCamera());
  const int shaders = world.ShaderMng().Count();
  EXPECT_EQ(shaders, 1 + 4 + 31 + 4 + 3 + 2)
      << "the skiers' snow; both athletes wear the default gear; the bibs; the ghost's gear; the figures' face, "
         "boots and ski trail; then the GUI's snow and cursor";
  EXPECT_EQ(world.ShaderMng().AddShader("a", 0, 3), shaders);
  world.TextBatch().AddText("0", 0, 550.0f, 0.0f, 0.8f, 6, 255);
  EXPECT_EQ(world.TextBatch().EntryCount(), 1u);
  world.Update(0.016f);
  world.Render(0.016f);
  EXPECT_EQ(world.TextBatch().EntryCount(), 0u) << "every frame's render empties the queue, drawn or not";
}

TEST(World, InitBuildsTheShadersAndTheDestructorFreesThemAndTheirTextures) {
  test::TempDir dir;
  test::CoreServices core;
  WriteStartFiles(dir);
  dir.Write("data/scripts/2d.shader", "console\n{\ncull none\n{ map gfx/2d/console\n}\n}\n");
  test::FakeTextureDevice device;
  N_TextureMngImpl textures(1024, &device);
  N_CoreServices services;
  services.textureMng = &textures;
  g_renderServices = &services;  // the shaders reach the texture manager through the renderer's record
  int live = 0;
  {
    N_World world(&textures);
    const int console = world.ShaderMng().AddShader("console", 0, 3);
    const int font = world.ShaderMng().AddShader("gfx/2d/bigchars", 0, 3);
    world.Init();
    ASSERT_NE(world.ShaderMng().GetShader(console), nullptr);
    EXPECT_EQ(world.ShaderMng().GetShader(console)->cull, Cull::None);
    EXPECT_NE(world.ShaderMng().GetShader(font), nullptr);  // no block: the default
    // Each texture is tried and, missing, replaced by the default (beside the textures of
    // the athletes' gear, bibs and ghost gear and the figures' materials).
    const auto triedThenDefault = [&](const std::string& name) {
      const auto at = std::find(device.created.begin(), device.created.end(), name);
      return at != device.created.end() && at + 1 != device.created.end() && at[1] == "data\\textures\\default.dds";
    };
    EXPECT_TRUE(triedThenDefault("data\\gfx/2d/console.dds"));
    EXPECT_TRUE(triedThenDefault("data\\gfx/2d/bigchars.dds"));
    // The GUI's snow and cursor, added while the GUI starts, get their records too.
    for (const char* gui : {"data\\textures\\menu\\snow.dds", "data\\Kurzor.dds"}) {
      EXPECT_NE(std::find(device.created.begin(), device.created.end(), gui), device.created.end()) << gui;
    }
    EXPECT_EQ(world.AthletMng().GetMaleCount(), 1u);
    EXPECT_EQ(world.AthletMng().GetFemaleCount(), 1u);
    live = textures.LiveCount();
    EXPECT_GT(live, 2);
  }
  EXPECT_EQ(textures.LiveCount(), 0);
  EXPECT_EQ(device.released.size(), std::size_t(live));
  const std::string log = core.LogText();
  EXPECT_LT(log.find("ShaderMng: 0 shaders in memory\n"), log.find("--- Freeing Textures\n"));
  EXPECT_LT(log.find("--- Freeing Textures\n"), log.rfind("TextureMng: 0 textures in memory\n"));
  g_renderServices = nullptr;
}

TEST(World, LendsItsFrustumShadersAndLevelToTheSceneWhileItLives) {
  test::TempDir dir;
  test::CoreServices core;
  {
    N_World world(nullptr);
    EXPECT_EQ(g_scene.frustum, &world.Frustum());
    EXPECT_EQ(g_scene.shaderMng, &world.ShaderMng());
    EXPECT_EQ(g_scene.level, &world.Level());
  }
  EXPECT_EQ(g_scene.frustum, nullptr) << "nothing dangles after the world";
  EXPECT_EQ(g_scene.shaderMng, nullptr);
  EXPECT_EQ(g_scene.level, nullptr);
}

/// A drawable that reports its deletion.
class Witness final : public N_RenderObject {
 public:
  explicit Witness(std::function<void()> onDelete) : m_onDelete(std::move(onDelete)) {}
  ~Witness() override { m_onDelete(); }

 private:
  std::function<void()> m_onDelete;
};

TEST(World, DrawsItsLevelObjectsThroughItsCurrentCamera) {
  test::RenderRig rig;
  test::FakeTextureDevice device;
  N_TextureMngImpl textures(1024, &device);
  g_renderServicesCopy.textureMng = &textures;  // the world's default shaders take their textures here
  g_render = &rig.render;
  std::string logWhenDeleted;
  WriteStartFiles(rig.harness.dir);
  {
    N_World world(&textures);
    EXPECT_EQ(g_scene.frustum, &world.Frustum());
    EXPECT_EQ(g_scene.shaderMng, &world.ShaderMng());
    EXPECT_EQ(g_scene.levelObjects, &world.LevelObjects());
    N_SurfaceVertex vertices[3] = {};
    for (int i = 0; i < 3; ++i) {
      vertices[i].position[0] = float(i == 1) * 100.0f;
      vertices[i].position[1] = 1000.0f;
      vertices[i].position[2] = float(i == 2) * 100.0f;
    }
    std::uint16_t indices[3] = {0, 1, 2};
    N_MeshSurface surface;
    surface.shader = world.ShaderMng().AddShader("rock", 0, 3);
    surface.vertices = vertices;
    surface.vertexCount = 3;
    surface.indices = indices;
    surface.indexCount = 3;
    auto object = std::make_unique<N_MeshObject>(&surface, 1);
    const float box[6] = {0, 999, 0, 100, 1001, 100};
    object->SetTransform(box, 0, N_RenderObject::kMeshObject, N_Matrix4{}, 0);
    world.LevelObjects().Add(std::move(object));
    world.LevelObjects().Add(std::make_unique<Witness>([&] { logWhenDeleted = rig.core.LogText(); }));
    world.Init();
    world.LevelObjects().Sort();

    EXPECT_EQ(g_scene.camera, &world.CameraMng().RaceController().OwnCamera()) << "Init's current camera";
    rig.device->ClearCalls();
    world.Render(0.016f);  // "viewmode" 1: the free camera, at the origin looking along +y
    EXPECT_EQ(world.CurrentCamera(), &world.CameraMng().FreeController().Camera());
    EXPECT_EQ(g_scene.camera, world.CurrentCamera());
    EXPECT_EQ(rig.device->CallsStartingWith("DrawIndexedPrimitiveUP").size(), 1u);
  }
  EXPECT_NE(logWhenDeleted.find("--- Freeing Textures\n"), std::string::npos)
      << "the drawables go after the shader and texture cycle";
  EXPECT_EQ(g_scene.frustum, nullptr);
  EXPECT_EQ(g_scene.levelObjects, nullptr);
  g_render = nullptr;
  g_renderServicesCopy.textureMng = nullptr;
}

TEST(World, StartsIntoTheMainMenuAndDrawsTheGuiInTheTwoDSetUp) {
  test::RenderRig rig;
  test::FakeTextureDevice device;
  N_TextureMngImpl textures(1024, &device);
  g_renderServicesCopy.textureMng = &textures;
  g_render = &rig.render;
  WriteStartFiles(rig.harness.dir);  // its pages replaced by these
  rig.harness.dir.Write("data/scripts/gui/menu.gui",
                        "Background\n{\nshowcursor false\ncontainer Panel(Back)\n{\nshader gui/back\n}\n}\n"
                        "MainMenu\n{\nzorder 20\n}\n");
  {
    N_World world(&textures);
    // Seventeen element factories, then three effect factories, in the game's order.
    std::vector<std::string> factories;
    for (const char* type : {"Panel", "Cursor", "Text", "EditBox", "Button", "CheckBox", "ScrollBar", "TextSelector",
                             "ImageSelector", "ImageScroller", "Table", "ProgressBar", "RadioGroup", "ScrollingText",
                             "Model", "Figure", "Map"})
      factories.push_back(std::string(" +    GuiElementFactory for type ") + type + " registered.\n");
    for (const char* type : {"Scroll", "Fade", "PageScroll"})
      factories.push_back(std::string(" +    GuiEffectFactory for type ") + type + " registered.\n");
    EXPECT_TRUE(test::ContainsInOrder(rig.core.LogText(), factories));
    const std::string log = rig.core.LogText();
    std::size_t registrations = 0;
    for (std::size_t at = log.find("Factory for type "); at != std::string::npos; at = log.find("Factory for type ", at + 1))
      ++registrations;
    EXPECT_EQ(registrations, 20u);
    ASSERT_TRUE(world.Init());
    N_GuiMng& gui = world.GuiMng();
    EXPECT_TRUE(gui.GetPage("Background")->IsVisible());
    EXPECT_TRUE(gui.GetPage("MainMenu")->IsVisible());
    N_GuiElement* cursor = gui.GetCursor();
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->GetName(), "Cursor");
    EXPECT_EQ(cursor->GetTypeName(), "Cursor");
    EXPECT_EQ(cursor->GetShaderName(), "Kurzor");
    EXPECT_EQ(gui.GetCursorCounter(), 1) << "the main menu asks for the cursor";
    EXPECT_TRUE(cursor->IsVisible());
    // The GUI's shaders were added before the shaders were loaded: they have records.
    EXPECT_NE(world.ShaderMng().GetShader(gui.GetSnowShader()), nullptr);
    EXPECT_NE(world.ShaderMng().GetShader(cursor->GetShader()), nullptr);

    rig.device->ClearCalls();
    world.Update(0.016f);
    world.Render(0.016f);
    std::string calls;
    for (const std::string& call : rig.device->Calls()) calls += call + "\n";
    // The 2D projection, then a page's world matrix and its quad, then the present.
    EXPECT_TRUE(test::ContainsInOrder(calls, {"SetTransform(3, ", "SetTransform(256, ", "DrawIndexedPrimitiveUP(",
                                              "Present()"}));
  }
  g_render = nullptr;
  g_renderServicesCopy.textureMng = nullptr;
}

TEST(World, HandsTheGuiItsServicesAndTakesThemBackAfterTheGuiManager) {
  test::TempDir dir;
  test::CoreServices core;
  // A font file of one glyph, so that a text element holds a loaded font.
  std::string font(76 + 20, '\0');
  font[0] = 'a';
  font[4] = 1;
  dir.Write("data/gfx/fonts/tiny.font", font);
  {
    N_World world(nullptr);
    EXPECT_EQ(g_guiServices.guiMng, &world.GuiMng());
    EXPECT_EQ(g_guiServices.shaderMng, &world.ShaderMng());
    EXPECT_EQ(g_guiServices.textBatch, &world.TextBatch());
    EXPECT_EQ(g_guiServices.fonts, &world.Fonts());
    RegisterGuiFactories(world.GuiMng());
    auto* text = static_cast<N_GuiText*>(world.GuiMng().CreateElement("Text", "label", false));
    ASSERT_NE(text, nullptr);
    text->SetAttribute("fontname", "tiny");
    EXPECT_EQ(text->GetFont(), world.Fonts().at("tiny").get());
    EXPECT_GE(world.ShaderMng().Count(), 1) << "the font's own shader";
  }
  EXPECT_EQ(g_guiServices.guiMng, nullptr);
  EXPECT_EQ(g_guiServices.fonts, nullptr);
  EXPECT_EQ(g_guiServices.textBatch, nullptr);
}

/// A particle template with its material, in the current directory.
void WriteParticleScripts(const test::TempDir& dir) {
  dir.Write("data/scripts/fx.particle", "spark\n{\n numparticles 3\n live 50 50\n shader fx/spark\n}\n");
  dir.Write("data/scripts/fx.shader", "fx/spark\n{\n{\n map fx/spark\n blendfunc add\n}\n}\n");
}

TEST(World, ReadsTheParticleScriptsBeforeItBuildsTheShadersAndLendsTheManager) {
  test::TempDir dir;
  test::CoreServices core;
  core.vars->SetInt("ParticleDetails", 0x103, 0);  // the low byte
  WriteParticleScripts(dir);
  WriteStartFiles(dir);
  test::FakeTextureDevice device;
  N_TextureMngImpl textures(1024, &device);
  N_CoreServices services;
  services.textureMng = &textures;
  g_renderServices = &services;
  {
    N_World world(&textures);
    EXPECT_EQ(g_scene.particles, &world.ParticleMng());
    world.Init();
    EXPECT_EQ(world.ParticleMng().Detail(), 3);
    const N_ParticleShader* spark = world.ParticleMng().FindShader("spark");
    ASSERT_NE(spark, nullptr);
    EXPECT_NE(world.ShaderMng().GetShader(spark->shader), nullptr) << "the material was built by Init";
    EXPECT_TRUE(test::ContainsInOrder(core.LogText(), {"Parsing particle script '", " +    spark\n",
                                                       "--- Reading shaders:\n", " +    fx/spark\n",
                                                       "\n--- Total particle scripts loaded: 3\n"}))
        << "the two of the skiers' snow and this one";
  }
  EXPECT_EQ(g_scene.particles, nullptr);
  g_renderServices = nullptr;
}

/// The renderer noting the world's frame steps and when buffers go back.
class StepRender final : public N_Render {
 public:
  StepRender(std::vector<std::string>& events, std::function<std::string()> log)
      : m_events(events), m_log(std::move(log)) {}
  void SetupCamera(N_Camera* camera, std::int32_t is3D) override {
    m_events.push_back(is3D ? "3D" : "2D");
    N_Render::SetupCamera(camera, is3D);
  }
  void DrawShadowOverlay() override {
    m_events.push_back("shadow overlay");
    N_Render::DrawShadowOverlay();
  }
  void DrawPointSprites(N_MeshSurface* surface) override {
    m_events.push_back("particles");
    N_Render::DrawPointSprites(surface);
  }
  void DrawPostPass() override {
    m_events.push_back("post pass");
    N_Render::DrawPostPass();
  }
  void DestroyVertexBuffer(N_VertexBuffer** buffer) override {
    if (buffer && *buffer) {
      const bool late = m_log().find("--- Freeing Textures\n") != std::string::npos;
      m_events.push_back(late ? "buffer back after the shader cycle" : "buffer back");
    }
    N_Render::DestroyVertexBuffer(buffer);
  }

 private:
  std::vector<std::string>& m_events;
  std::function<std::string()> m_log;
};

/// A game that notes its deletion.
class NoticedGame final : public N_Game {
 public:
  explicit NoticedGame(std::vector<std::string>& events) : m_events(events) {}
  ~NoticedGame() override { m_events.push_back("game deleted"); }
  void Load() override {}
  void Init() override {}
  void Update(float) override {}
  void Render(float) override {}
  std::unique_ptr<ExportData> PollResult() override { return nullptr; }
  void OnRemove() override {}
  std::uint8_t SetPaused(std::uint8_t paused) override { return paused; }
  bool GetAthleteView(std::int32_t, const float**, N_Vector3*) override { return false; }

 private:
  std::vector<std::string>& m_events;
};

TEST(World, DrawsTheParticlesAfterTheShadowOverlayAndDeletesThemBeforeTheShaderCycle) {
  std::vector<std::string> events;
  test::RenderRig rig(test::RecordingRender::DefaultConfig(), [&events] {
    return new StepRender(events, [] {
      std::ifstream in("navo.log", std::ios::binary);  // the rig's log, in its directory
      return std::string(std::istreambuf_iterator<char>(in), {});
    });
  });
  WriteParticleScripts(rig.harness.dir);
  WriteStartFiles(rig.harness.dir);
  test::FakeTextureDevice device;
  N_TextureMngImpl textures(1024, &device);
  g_renderServicesCopy.textureMng = &textures;
  g_render = &rig.render;
  {
    N_World world(&textures);
    world.Init();
    N_ParticleSystem* system = world.ParticleMng().CreateSystem();
    system->AddEmitter(world.ParticleMng().CreateEmitter("spark"))->position = {0.0f, 1000.0f, 0.0f};
    system->Start(0);
    world.SetGame(std::make_unique<NoticedGame>(events));
    EXPECT_EQ(g_scene.game, world.Game());
    world.CameraMng().FreeController().Camera().position = {0.0f, 0.0f, 0.0f};  // looking along +y
    world.Update(0.016f);  // builds the particles' vertices
    events.clear();
    world.Render(0.016f);
    // The free camera draws into the offscreen surface; the post pass copies it back in
    // a 2D set-up of its own.
    EXPECT_EQ(events,
              (std::vector<std::string>{"3D", "2D", "shadow overlay", "3D", "particles", "2D", "post pass", "2D"}));
    events.clear();
    rig.NewLog();
  }
  // The figures' buffers and the spark's go back before the shader cycle.
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events.front(), "game deleted");
  for (std::size_t i = 1; i < events.size(); ++i) EXPECT_EQ(events[i], "buffer back") << i;
  EXPECT_NE(rig.NewLog().find("--- Freeing Textures\n"), std::string::npos);
  EXPECT_EQ(g_scene.game, nullptr);
  g_render = nullptr;
  g_renderServicesCopy.textureMng = nullptr;
}

/// The renderer noting the frame's steps: camera set-ups, the offscreen target, the
/// surfaces, quads and overlay, the post pass, fog and lights.
class FrameRender final : public N_Render {
 public:
  explicit FrameRender(std::vector<std::string>& events) : m_events(events) {}
  bool BeginFrame(bool clearTarget) override {
    m_events.push_back("begin frame");
    return N_Render::BeginFrame(clearTarget);
  }
  void SetupCamera(N_Camera* camera, std::int32_t is3D) override {
    m_events.push_back(is3D ? "3D" : "2D");
    N_Render::SetupCamera(camera, is3D);
  }
  void SetOffscreenTarget(std::uint8_t on) override {
    m_events.push_back(on ? "offscreen" : "back buffer");
    N_Render::SetOffscreenTarget(on);
  }
  void DrawSurface(N_MeshSurface* surface) override {
    m_events.push_back("surface");
    N_Render::DrawSurface(surface);
  }
  void DrawQuad(float r, float g, float b, float a) override {
    m_events.push_back("glare");
    N_Render::DrawQuad(r, g, b, a);
  }
  void DrawShadowOverlay() override {
    m_events.push_back("shadow overlay");
    N_Render::DrawShadowOverlay();
  }
  void DrawPostPass() override {
    m_events.push_back("post pass");
    N_Render::DrawPostPass();
  }
  void DisableFog() override {
    m_events.push_back("fog off");
    N_Render::DisableFog();
  }
  void SetShadowColor(float r, float g, float b) override {
    m_events.push_back("shadow colour");
    N_Render::SetShadowColor(r, g, b);
  }
  void DisableLights() override {
    m_events.push_back(LogHas("--- Freeing Textures\n") ? "lights off after the shader cycle" : "lights off");
    N_Render::DisableLights();
  }
  void DestroyOcclusionQuery(N_OcclusionQuery** query) override {
    if (query && *query)
      m_events.push_back(LogHas("--- Freeing Textures\n") ? "query back after the shader cycle" : "query back");
    N_Render::DestroyOcclusionQuery(query);
  }

 private:
  static bool LogHas(const std::string& text) {
    std::ifstream in("navo.log", std::ios::binary);  // the rig's log, in its directory
    return std::string(std::istreambuf_iterator<char>(in), {}).find(text) != std::string::npos;
  }
  std::vector<std::string>& m_events;
};

/// A world on the recording renderer (800 x 600) whose start level holds a sun with its
/// glare flare ahead of the cameras, the menu path and a sprint fly-by camera; `edit`
/// changes the level before it is written.
struct FrameRig {
  explicit FrameRig(const std::function<void(datagen::LevelData&)>& edit = {})
      : rig(test::RecordingRender::DefaultConfig(), [this] { return new FrameRender(events); }) {
    g_renderServicesCopy.textureMng = &textures;
    g_render = &rig.render;
    rig.core.vars->SetInt("v_width", 800, 2);
    rig.core.vars->SetInt("v_height", 600, 2);
    WriteStartFiles(rig.harness.dir);
    datagen::LevelData level;
    level.lights.push_back({"lf_sun", {0.0f, 5000.0f, 0.0f}, {}, {1.0f, 1.0f, 1.0f}});
    level.pointSets.push_back({"CameraPath_Menu", {{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}}});
    level.cameras.push_back({"Camera_Sprint", level.AddPath(std::vector<N_PathKey>(4), N_CameraPath::kPlayOnce, 1.0f)});
    if (edit) edit(level);
    const std::vector<std::uint8_t> bytes = datagen::EncodeLevel(level);
    rig.harness.dir.Write(test::kStartLevelFile, std::string(bytes.begin(), bytes.end()));
    world = std::make_unique<N_World>(&textures);
  }
  /// The game root's sample courses (and the snow's particle script) in place of the
  /// written start level.
  void UseSampleCourses() const {
    std::filesystem::remove_all(rig.harness.dir.Path() + "/data/levels");
    test::CopyCoursesFromGameRoot(rig.harness.dir);
    test::CopyFromGameRoot(rig.harness.dir, "data/scripts/weather.particle");
  }
  ~FrameRig() {
    g_world = nullptr;
    world.reset();
    g_render = nullptr;
    g_renderServicesCopy.textureMng = nullptr;
  }
  std::vector<std::string> events;
  test::RenderRig rig;
  test::FakeTextureDevice device;
  N_TextureMngImpl textures{1024, &device};
  std::unique_ptr<N_World> world;
};

TEST(World, InitSetsTheCamerasUpAndMakesTheLevelsEffectsAfterTheShaders) {
  FrameRig r([](datagen::LevelData& level) {
    // A quad of the tree's material: vertex 0 to 3 is 10 across.
    level.geometry.materials = {"tree"};
    std::vector<N_SurfaceVertex> corners(4, datagen::MeshVertex(0, 0, 0, 0, 0, 0));
    corners[3].position[0] = 10.0f;
    level.geometry.AddSurface(corners, {0, 1, 2, 0, 2, 3}, 0);
  });
  N_World& world = *r.world;
  r.rig.harness.dir.Write("data/scripts/tree.shader", "tree\n{\n deformvertexes autosprite 0 0\n{\n map tree\n}\n}\n");
  N_Level& level = world.Level();
  world.Init();
  ASSERT_EQ(level.surfaces.size(), 1u);
  const N_MeshSurface& quad = level.surfaces[0];
  EXPECT_EQ(world.CurrentCamera(), &world.CameraMng().RaceController().OwnCamera());
  EXPECT_EQ(world.CameraMng().FreeController().Camera().viewportWidth, 800) << "the cameras are set up";
  EXPECT_EQ(world.CameraMng().RaceController().Samples().size(), 4u);
  EXPECT_NE(world.CameraMng().RaceController().SprintCamera(), nullptr);
  const N_Shader* tree = world.ShaderMng().GetShader(quad.shader);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->deforms[0].values[0], 5.0f) << "the billboards were measured once the shaders were built";
  EXPECT_NE(level.sharedVertexBuffer, nullptr);
  EXPECT_EQ(level.flares[0]->Sprite(9).size, 0.3f) << "the flares got their sprites";
}

TEST(World, UpdateReadsTheViewModeAndSetsTheFog) {
  FrameRig r;
  N_World& world = *r.world;
  world.Init();
  r.rig.core.vars->SetInt("viewmode", 2, 2);
  r.events.clear();
  world.Update(0.016f);
  EXPECT_EQ(world.CameraMng().ViewMode(), 2);
  EXPECT_EQ(r.events, (std::vector<std::string>{"fog off", "shadow colour"}));
}

/// A view mode and the camera the frame must be drawn through. Each case runs in a
/// process of its own: the GUI's file paths keep the first working directory of a run.
enum class ViewCamera { Free, Shake, Race, Sprint };
struct ViewCase {
  const char* name;
  int viewmode;
  int raceMode;
  bool sprintCamera;
  ViewCamera camera;
  int viewmodeAfter;
};

class WorldViewMode : public testing::TestWithParam<ViewCase> {};

TEST_P(WorldViewMode, RenderDrawsThroughTheCameraOfTheViewMode) {
  const std::vector<std::string> scene = {"3D",  // the level objects (none), then the flare
                                          "surface", "surface", "surface", "surface", "surface", "surface",
                                          "surface", "surface", "surface", "surface", "2D", "glare", "3D",
                                          "2D", "shadow overlay", "3D", "2D"};
  auto withOffscreen = [&] {
    std::vector<std::string> events = {"begin frame", "offscreen"};
    events.insert(events.end(), scene.begin(), scene.end());
    events.insert(events.end(), {"back buffer", "post pass", "2D"});
    return events;
  };
  {
    const ViewCase& c = GetParam();
    FrameRig r([&](datagen::LevelData& level) {
      if (!c.sprintCamera) level.cameras.clear();
    });
    N_World& world = *r.world;
    world.Init();
    // The cameras look at the sun (the race camera's own camera looks down).
    world.CameraMng().FreeController().Camera().position = {0, 0, 0};
    r.rig.core.vars->SetInt("viewmode", c.viewmode, 2);
    world.CameraMng().SetRaceCameraMode(c.raceMode);
    world.Update(0.016f);
    r.events.clear();
    world.Render(0.016f);
    N_CameraMng& cameras = world.CameraMng();
    N_Camera* expected = c.camera == ViewCamera::Free    ? &cameras.FreeController().Camera()
                         : c.camera == ViewCamera::Shake ? &cameras.ShakeController().MainCamera()
                         : c.camera == ViewCamera::Race  ? &cameras.RaceController().OwnCamera()
                                              : static_cast<N_Camera*>(cameras.RaceController().SprintCamera());
    EXPECT_EQ(world.CurrentCamera(), expected);
    EXPECT_EQ(g_scene.camera, expected);
    EXPECT_EQ(r.rig.core.vars->GetInt("viewmode"), c.viewmodeAfter);
    EXPECT_EQ(cameras.ViewMode(), c.viewmodeAfter);
    if (c.viewmode == 0) {
      // Straight into the back buffer; only the flare's glare needs it in view.
      EXPECT_EQ(std::count(r.events.begin(), r.events.end(), "offscreen"), 0);
      EXPECT_EQ(std::count(r.events.begin(), r.events.end(), "post pass"), 0);
    } else if (c.viewmode == 2) {
      // At the range the rifle's own camera follows the flares (no rifle attached,
      // nothing drawn through it).
      std::vector<std::string> events = withOffscreen();
      const auto glare = std::find(events.begin(), events.end(), "glare");
      events.insert(glare + 2, "3D");
      EXPECT_EQ(r.events, events);
    } else {
      EXPECT_EQ(r.events, withOffscreen());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(World, WorldViewMode,
                         testing::Values(ViewCase{"NormalView", 1, 0, true, ViewCamera::Free, 1},
                                         ViewCase{"AnyOtherValue", 7, 0, true, ViewCamera::Free, 7},
                                         ViewCase{"ShootingRange", 2, 0, true, ViewCamera::Shake, 2},
                                         ViewCase{"BehindTheMenus", 0, 0, true, ViewCamera::Race, 0},
                                         ViewCase{"TheSprintFlyBy", 0, 1, true, ViewCamera::Sprint, 0},
                                         ViewCase{"AFlyByWithoutItsCamera", 0, 1, false, ViewCamera::Free, 1}),
                         [](const testing::TestParamInfo<ViewCase>& info) { return std::string(info.param.name); });

std::vector<float> g_progress;

TEST(World, LoadLevelMakesTheOtherCourseAndOnlyRereadsTheSettingsOfTheSameOne) {
  FrameRig r;
  r.UseSampleCourses();
  N_World& world = *r.world;
  g_world = &world;  // as the application sets it: the progress draws the world's pages
  N_VarMng& vars = *r.rig.core.vars;
  SetLoadingProgressObserver([](float percent) { g_progress.push_back(percent); });
  const std::vector<float> loader{5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 65, 75, 80};
  world.Init();
  EXPECT_EQ(g_progress, loader);
  EXPECT_EQ(world.CurrentMapName(), "Beitostolen.ALF");
  auto loads = [&] {
    const std::string log = r.rig.core.LogText();
    int count = 0;
    for (std::size_t at = log.find("\n Loading Level: "); at != std::string::npos; at = log.find("\n Loading Level: ", at + 1)) {
      ++count;
    }
    return count;
  };

  // The same course in other letters: its settings again, nothing else; the
  // "Loading" page is hidden, so nothing is drawn.
  N_GuiPage* loading = world.GuiMng().CreatePage("Loading");
  ASSERT_NE(loading, nullptr);
  vars.SetInt("foglinear", 7, 2);
  vars.SetString("mapname", "beitostolen.alf", 2);
  g_progress.clear();
  r.events.clear();
  world.LoadLevel();
  EXPECT_EQ(g_progress, std::vector<float>{100});
  EXPECT_EQ(std::count(r.events.begin(), r.events.end(), "begin frame"), 0);
  EXPECT_EQ(vars.GetInt("foglinear"), 0) << "from Beitostolen.alf.cfg";
  EXPECT_EQ(loads(), 1);
  EXPECT_EQ(world.CurrentMapName(), "Beitostolen.ALF");

  // The other course: a new level and camera manager, the progress to 100, one frame
  // of the shown "Loading" page for each step.
  loading->ShowImmediate();
  // A drawable of the old course: gone before the new course is read.
  int loadsWhenCleared = -1;
  world.LevelObjects().Add(std::make_unique<Witness>([&] { loadsWhenCleared = loads(); }));
  vars.SetString("mapname", "Holmenkollen.alf", 2);
  g_progress.clear();
  r.events.clear();
  world.LoadLevel();
  std::vector<float> expected = loader;
  expected.insert(expected.end(), {85, 90, 100});
  EXPECT_EQ(g_progress, expected);
  EXPECT_EQ(std::count(r.events.begin(), r.events.end(), "begin frame"), std::ptrdiff_t(expected.size()));
  loading->Hide();
  EXPECT_EQ(loads(), 2);
  EXPECT_EQ(loadsWhenCleared, 1) << "the level object list was cleared before the new level filled it";
  EXPECT_EQ(world.CurrentMapName(), "Holmenkollen.alf");
  N_Level& level = world.Level();
  EXPECT_EQ(g_scene.level, &level);
  EXPECT_EQ(world.CurrentCamera(), &world.CameraMng().RaceController().OwnCamera());
  std::int32_t menuPoints = 0;
  ASSERT_NE(level.FindPointSet("CameraPath_Menu", &menuPoints), nullptr);
  EXPECT_EQ(world.CameraMng().RaceController().Samples().size(), std::size_t(menuPoints)) << "set up on the new level";
  EXPECT_NE(world.CameraMng().RaceController().SprintCamera(), nullptr);
  EXPECT_EQ(world.LevelObjects().Drawables().size(), level.sceneObjects.size()) << "the old course's drawables went";
  EXPECT_FALSE(world.LevelObjects().Unsorted());
  EXPECT_NE(level.sharedVertexBuffer, nullptr) << "its effects are made";
  // A frame in each view mode draws the new course.
  for (const int mode : {0, 1, 2}) {
    vars.SetInt("viewmode", mode, 2);
    world.Update(0.016f);
    r.events.clear();
    world.Render(0.016f);
    EXPECT_GT(std::count(r.events.begin(), r.events.end(), "surface"), 0) << mode;
  }
  SetLoadingProgressObserver(nullptr);
}

TEST(World, DeletesTheLevelAfterTheShaderCycleAndAfterTheParticles) {
  FrameRig r([](datagen::LevelData& level) { level.emitters.push_back({"snow", "spark", {}, {}}); });
  r.rig.harness.dir.Write("data/scripts/fx.particle", "spark\n{\n numparticles 3\n live 50 50\n shader fx/spark\n}\n");
  r.world->Init();
  ASSERT_NE(r.world->Level().snow, nullptr);
  r.events.clear();
  r.world.reset();  // the level's system went with the particle manager: it only forgets it
  // The figures (two athletes and the ghost) give their occlusion queries back before
  // the shader cycle, the level its flare's after it.
  EXPECT_EQ(r.events, (std::vector<std::string>{"query back", "query back", "query back",
                                                "lights off after the shader cycle", "query back after the shader cycle"}));
  EXPECT_EQ(g_scene.level, nullptr);
  EXPECT_EQ(g_scene.camera, nullptr);
}

}  // namespace

namespace {

/// A silent sound manager noting the sounds made and released.
class NotingSoundMng final : public N_SoundMng {
 public:
  NotingSoundMng() { g_soundMng = this; }
  ~NotingSoundMng() override { g_soundMng = nullptr; }
  int CreateSound(const char* shader, const float*) override {
    made.push_back(shader);
    return int(made.size());
  }
  bool ReleaseSound(int handle) override {
    released.push_back(handle);
    return false;
  }
  std::vector<std::string> made;
  std::vector<int> released;
};

TEST(World, MakesOneFigurePerAthleteOfTheSampleAndTheGhostsAfterTheParticleScriptsAndHasTheBodySounds) {
  test::TempDir dir;
  test::CoreServices core;
  test::CopyFromGameRoot(dir, test::kProfilesFile);  // the sample athletes
  test::CopyFigureData(dir);
  test::WriteStartPages(dir);
  NotingSoundMng sound;
  {
    N_World world(nullptr);
    // The coach's sounds in id order, then the body sounds' heartbeat.
    std::vector<std::string> made(N_SoundCache::kSoundNames.begin(), N_SoundCache::kSoundNames.end());
    made.push_back("srdce");
    EXPECT_EQ(sound.made, made);
    N_AthletMng& athletes = world.AthletMng();
    EXPECT_EQ(g_scene.figureRoster, static_cast<N_FigureRoster*>(&athletes));
    world.Init();
    EXPECT_TRUE(test::ContainsInOrder(core.LogText(), {"Parsing particle script '", "N_AnimObject: Loading mesh",
                                                       "--- Reading shaders:\n"}));
    EXPECT_EQ(core.LogText().find("Not enought params"), std::string::npos) << "the sample profiles are complete";
    const N_AnimationFactory2& figures = world.Figures();
    EXPECT_EQ(figures.FigureMeshCount(), 12) << "the sample athletes wear all six models";
    EXPECT_EQ(figures.ActionCount(), 48);
    ASSERT_NE(figures.EmitterTemplate(), nullptr);
    ASSERT_GE(athletes.AthleteCount(), 48u);
    ASSERT_EQ(figures.InstanceCount(), int(athletes.AthleteCount()) + 1) << "one figure per athlete and the ghost's";
    std::set<int> models;
    for (std::size_t a = 0; a < athletes.AthleteCount(); ++a) {
      const N_AthletProfile& athlete = *athletes.Athlete(a);
      SCOPED_TRACE(athlete.AthletName);
      EXPECT_EQ(athlete.Figure, int(a)) << "in file order";
      ASSERT_GE(athlete.MeshHandle, N_AnimationFactory2::kFirstFullMesh);
      EXPECT_EQ(athlete.LowMeshHandle, athlete.MeshHandle - N_AnimationFactory2::kFirstFullMesh);
      EXPECT_EQ(figures.Instance(athlete.Figure)->mesh, athlete.MeshHandle);
      models.insert(athlete.MeshHandle - (athlete.Sex == 1 ? 3 : 0));
      for (const int gear : {athlete.DressShader, athlete.SticksShader, athlete.GunShader, athlete.SkiShader}) {
        EXPECT_NE(world.ShaderMng().GetShader(gear), nullptr);
      }
    }
    EXPECT_EQ(models, (std::set<int>{6, 7, 8})) << "three models of each sex, the women's after the men's";
    const N_AthletProfile& ghost = athletes.Ghost();
    EXPECT_EQ(ghost.Figure, int(athletes.AthleteCount())) << "the spare figure is the ghost's";
    EXPECT_EQ(figures.Instance(ghost.Figure)->mesh, N_AnimationFactory2::kFirstFullMesh);
    EXPECT_EQ(*world.ShaderMng().GetEntry(ghost.DressShader)->name, "duch_dress");
    for (int n = 1; n <= N_FigureRoster::kBibCount; ++n) {
      EXPECT_EQ(*world.ShaderMng().GetEntry(athletes.BibShader(n))->name, FormatString("textures\\lyziari\\startnum%02d", n));
    }
    const int breath = world.BodySounds().CreateSoundObj(1);
    EXPECT_EQ(sound.made.back(), "dych_zena");
    EXPECT_EQ(world.BodySounds().GetSlot(breath)->sound, int(sound.made.size()));
    for (int id = 0; id < N_SoundCache::kSoundCount; ++id) EXPECT_EQ(world.SoundCache().Handle(id), id + 1);
  }
  // The coach's sounds go back before the cache is deleted; the body sounds, deleted
  // last, give the breath and the heartbeat back.
  std::vector<int> released;
  for (int handle = 1; handle <= N_SoundCache::kSoundCount; ++handle) released.push_back(handle);
  released.insert(released.end(), {N_SoundCache::kSoundCount + 2, N_SoundCache::kSoundCount + 1});
  EXPECT_EQ(sound.released, released);
  EXPECT_EQ(g_scene.figureRoster, nullptr);
}

TEST(World, FiguresDrawnWithTheirEffectsGoWithTheWorld) {
  // Under the sanitizer build this case also checks that nothing leaks: meshes, actions,
  // instances with their bone buffers, emitter clones and their patches, occlusion
  // queries and the template with its own effects.
  test::RenderRig rig;
  test::CopyFromGameRoot(rig.harness.dir, test::kProfilesFile);
  test::CopyFigureData(rig.harness.dir);
  test::WriteStartPages(rig.harness.dir);
  test::FakeTextureDevice device;
  N_TextureMngImpl textures(1024, &device);
  g_renderServicesCopy.textureMng = &textures;
  g_render = &rig.render;
  std::vector<std::string> events;
  {
    N_World world(&textures);
    world.Init();
    world.SetCurrentCamera(&rig.camera);
    world.SetGame(std::make_unique<NoticedGame>(events));
    N_AnimationFactory2& figures = world.Figures();
    N_AthletMng& athletes = world.AthletMng();
    for (int i = 0; i < figures.InstanceCount(); ++i) {
      figures.SetAction(i, 7, 30.0f, 0.0f);
      figures.SetNextAction(i, 7, 30.0f, 0.0f);
    }
    figures.CreateShadowVolumes();
    for (int frame = 0; frame < 20; ++frame) {
      world.Update(0.05f);
      world.Render(0.05f);
      for (std::size_t a = 0; a <= athletes.AthleteCount(); ++a) {
        const N_AthletProfile* athlete = a < athletes.AthleteCount() ? athletes.Athlete(a) : &athletes.Ghost();
        figures.RenderFigure(0.05f, athlete->Figure, {float(a % 10) * 50.0f, 400.0f + float(a / 10) * 50.0f, -40.0f},
                             N_Matrix3{}, int(a % 31) + 1, athlete, false, true, true);
      }
    }
    EXPECT_GT(world.ParticleMng().EmitterCount(), 0u);
  }
  g_render = nullptr;
  g_renderServicesCopy.textureMng = nullptr;
}

}  // namespace
