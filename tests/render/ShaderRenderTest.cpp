// The shader manager in the renderer module: textures through the module's texture
// manager, and the render-state cache never left holding a freed shader.
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"
#include "render/ShaderMng.h"
#include "render/TextureMngImpl.h"
#include "tests/render/FakeTextureDevice.h"
#include "tests/render/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ShaderRenderTest : public ::testing::Test {
 protected:
  ShaderRenderTest() {
    services.textureMng = &textures;
    g_renderServices = &services;
  }
  ~ShaderRenderTest() override {
    g_renderServices = nullptr;
    g_renderStateCache.currentShader = nullptr;
  }

  test::ShaderTestEnv env;
  test::FakeTextureDevice device;
  N_TextureMngImpl textures{1024, &device};
  N_CoreServices services;
};

TEST_F(ShaderRenderTest, DefaultShaderLoadsTheTextureNamedLikeIt) {
  test::WriteScript(env.dir, "x.shader", "scripted\n{\n{ map textures/bark\n}\n}\n");
  N_ShaderMng shaders(1024);
  const int rock = shaders.AddShader("textures/Rock", 0, 0);
  const int bark = shaders.AddShader("scripted", 0, 0);
  shaders.LoadShaders();
  textures.PurgeTextures();
  // Scripted shaders are built while the scripts are read, defaults after them; the
  // sample files do not exist here, so each falls back to the default texture.
  EXPECT_EQ(device.created,
            (std::vector<std::string>{"data\\textures/bark.dds", "data\\textures\\default.dds", "data\\textures/Rock.dds",
                                      "data\\textures\\default.dds"}));
  const N_Shader* shader = shaders.GetShader(rock);
  ASSERT_NE(shader, nullptr);
  ASSERT_EQ(shader->stageCount, 2);
  EXPECT_EQ(shader->stages[0]->textures[0], textures.FindTexture("textures/rock"));
  EXPECT_EQ(device.parameters[2], 0x80u);  // the base stage's flags
  EXPECT_NE(shaders.GetShader(bark), nullptr);
  EXPECT_EQ(textures.LiveCount(), 2);

  // The world's shutdown: shaders first, then the textures they gave back.
  shaders.ResetRefCounts();
  shaders.LoadShaders();
  textures.PurgeTextures();
  EXPECT_EQ(textures.LiveCount(), 0);
  EXPECT_EQ(device.released.size(), 2u);
}

TEST_F(ShaderRenderTest, FreedShaderIsNoLongerCurrent) {
  N_ShaderMng shaders(1024);
  const int current = shaders.AddShader("a", 0, 0);
  const int other = shaders.AddShader("b", 0, 0);
  shaders.LoadShaders();
  g_renderStateCache.currentShader = shaders.GetShader(current);
  shaders.ReleaseShader(other);
  EXPECT_EQ(g_renderStateCache.currentShader, shaders.GetShader(current));
  shaders.ReleaseShader(current);
  EXPECT_EQ(g_renderStateCache.currentShader, nullptr);
}

TEST_F(ShaderRenderTest, ADestroyedManagerLeavesNoCurrentShaderBehind) {
  // The game's host and the tests' double alike: a manager that goes away with its
  // current shader must not leave the cache pointing into its freed records.
  test::FakeShaderHost fake;
  for (const bool game : {true, false}) {
    {
      auto shaders = game ? std::make_unique<N_ShaderMng>(16) : std::make_unique<N_ShaderMng>(16, fake);
      const int handle = shaders->AddShader("a", 0, 0);
      shaders->LoadShaders();
      g_renderStateCache.currentShader = shaders->GetShader(handle);
      ASSERT_NE(g_renderStateCache.currentShader, nullptr);
    }
    EXPECT_EQ(g_renderStateCache.currentShader, nullptr) << (game ? "the game's host" : "the test double");
  }
}

}  // namespace
