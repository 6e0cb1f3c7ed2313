#include "race/World.h"

#include "render/MeshSurface.h"
#include "gui/GuiFactories.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
#include "gui/GuiText.h"
#include "render/RenderServices.h"
#include "render/TextureMngImpl.h"
#include "scene/MeshObject.h"
#include "scene/SceneAccess.h"
#include "tests/render/FakeTextureDevice.h"
#include "tests/render/RenderRig.h"
#include "tests/support/TestEnv.h"

#include <functional>

#include <gtest/gtest.h>

namespace {

TEST(World, OwnsItsShaderManagerAndTextBatcher) {
  test::TempDir dir;
  test::WriteStartPages(dir);
  N_World world(nullptr);
  EXPECT_EQ(world.TextureMng(), nullptr);
  EXPECT_TRUE(world.Init());
  EXPECT_EQ(world.ShaderMng().AddShader("a", 0, 3), 2) << "after the GUI's snow and cursor";
  world.TextBatch().AddText("0", 0, 550.0f, 0.0f, 0.8f, 6, 255);
  EXPECT_EQ(world.TextBatch().EntryCount(), 1u);
  world.Update(0.016f);
  world.Render(0.016f);
  EXPECT_EQ(world.TextBatch().EntryCount(), 0u) << "every frame's render empties the queue, drawn or not";
}

TEST(World, InitBuildsTheShadersAndTheDestructorFreesThemAndTheirTextures) {
  test::TempDir dir;
  test::CoreServices core;
  dir.Write("data/scripts/2d.shader", "console\n{\ncull none\n{ map gfx/2d/console\n}\n}\n");
  test::WriteStartPages(dir);
  test::FakeTextureDevice device;
  N_TextureMngImpl textures(1024, &device);
  N_CoreServices services;
  services.textureMng = &textures;
  g_renderServices = &services;  // the shaders reach the texture manager through the renderer's record
  {
    N_World world(&textures);
    const int console = world.ShaderMng().AddShader("console", 0, 3);
    const int font = world.ShaderMng().AddShader("gfx/2d/bigchars", 0, 3);
    world.Init();
    ASSERT_NE(world.ShaderMng().GetShader(console), nullptr);
    EXPECT_EQ(world.ShaderMng().GetShader(console)->cull, Cull::None);
    EXPECT_NE(world.ShaderMng().GetShader(font), nullptr);  // no block: the default
    // The GUI's snow and cursor, added while the GUI starts, get their records too.
    EXPECT_EQ(device.created,
              (std::vector<std::string>{"data\\gfx/2d/console.dds", "data\\textures\\default.dds",
                                        "data\\gfx/2d/bigchars.dds", "data\\textures\\default.dds",
                                        "data\\textures\\menu\\snow.dds", "data\\textures\\default.dds",
                                        "data\\Kurzor.dds", "data\\textures\\default.dds"}));
    EXPECT_EQ(textures.LiveCount(), 4);
  }
  EXPECT_EQ(textures.LiveCount(), 0);
  EXPECT_EQ(device.released.size(), 4u);
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
  test::WriteStartPages(rig.harness.dir);
  std::string logWhenDeleted;
  {
    N_World world(&textures);
    EXPECT_EQ(g_scene.frustum, &world.Frustum());
    EXPECT_EQ(g_scene.shaderMng, &world.ShaderMng());
    EXPECT_EQ(g_scene.levelObjects, &world.LevelObjects());
    EXPECT_EQ(g_scene.camera, nullptr);
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

    rig.device->ClearCalls();
    world.Render(0.016f);
    EXPECT_TRUE(rig.device->CallsStartingWith("DrawIndexedPrimitiveUP").empty()) << "no camera, no scene";
    world.SetCurrentCamera(&rig.camera);  // at the origin, looking along +y
    EXPECT_EQ(g_scene.camera, &rig.camera);
    world.Render(0.016f);
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
  rig.harness.dir.Write("data/scripts/gui/menu.gui",
                        "Background\n{\nshowcursor false\ncontainer Panel(Back)\n{\nshader gui/back\n}\n}\n"
                        "MainMenu\n{\nzorder 20\n}\n");
  {
    N_World world(&textures);
    EXPECT_TRUE(test::ContainsInOrder(rig.core.LogText(), {" +    GuiElementFactory for type Panel registered.\n",
                                                           " +    GuiElementFactory for type Cursor registered.\n"}));
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

}  // namespace
