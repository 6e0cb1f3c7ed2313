// The world's start on the sample data (recording renderer, noting sound manager): the
// order of its steps in the log and in the shader handles, the default player names
// and the elements that show them, the condition selectors, and the critical end
// without the main menu's pages.
#include "race/World.h"

#include "core/ErrorLog.h"
#include "core/StringTable.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiTextSelector.h"
#include "render/RenderServices.h"
#include "render/TextureMngImpl.h"
#include "scene/ParticleShader.h"
#include "tests/race/WorldTestSupport.h"
#include "tests/render/FakeTextureDevice.h"
#include "tests/render/RenderRig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

/// The sample game data (less the files named) below a fresh folder, with the string
/// tables read, the recording renderer, a noting sound manager and a world made.
struct StartRig {
  explicit StartRig(const std::vector<std::string>& without = {}) {
    namespace fs = std::filesystem;
    const fs::path data = fs::path(test::GameRoot()) / "data";
    fs::create_directories(fs::path(rig.harness.dir.Path()) / "data");
    for (const auto& entry : fs::directory_iterator(data)) {
      if (entry.path().filename() == "video") continue;
      fs::copy(entry.path(), fs::path(rig.harness.dir.Path()) / "data" / entry.path().filename(),
               fs::copy_options::recursive);
    }
    for (const std::string& file : without) fs::remove(fs::path(rig.harness.dir.Path()) / file);
    strings.SetLanguage("eng");
    strings.ReadDir("scripts\\strings\\*.string");
    g_stringTable = &strings;
    g_renderServicesCopy.textureMng = &textures;
    g_render = &rig.render;
    world = std::make_unique<N_World>(&textures);
    g_world = world.get();
  }
  ~StartRig() {
    g_world = nullptr;
    world.reset();
    g_render = nullptr;
    g_renderServicesCopy.textureMng = nullptr;
    g_stringTable = nullptr;
  }
  N_GuiElement* Element(const std::string& name) {
    const auto found = world->GuiMng().Elements().find(name);
    return found != world->GuiMng().Elements().end() ? found->second : nullptr;
  }

  test::RenderRig rig;
  test::NotingSoundMng sound;
  test::FakeTextureDevice device;
  N_TextureMngImpl textures{1024, &device};
  N_StringTable strings;
  std::unique_ptr<N_World> world;
};

TEST(WorldStart, InitialisesInOrderAndShowsTheMainMenu) {
  StartRig r;
  ASSERT_TRUE(r.world->Init());
  const std::string log = r.rig.core.LogText();
  EXPECT_TRUE(test::ContainsInOrder(log, {" Loading Level: data\\levels\\Beitostolen.ALF", "Parsing particle script",
                                          "N_AnimObject: Loading mesh \"data\\anim\\ref_meshe\\", "Parsing gui file",
                                          "--- Reading shaders:", "--- Total particle scripts loaded",
                                          "SoundMng::DumpBufferStatistics"}));
  EXPECT_EQ(log.find("SoundMng::DumpBufferStatistics"), log.rfind("SoundMng::DumpBufferStatistics"));
  EXPECT_EQ(r.sound.dumps, 1);
  EXPECT_EQ(log.find("not found"), std::string::npos) << "nothing the start looks up is missing";
  // The athletes' gear is added after the particle templates' materials and before the
  // figures' own face and boots.
  N_World& world = *r.world;
  int particleMaterial = -1;
  for (const char* snow : {"ski_spray", "snow"}) {
    if (const N_ParticleShader* shader = world.ParticleMng().FindShader(snow)) particleMaterial = shader->shader;
  }
  ASSERT_GE(particleMaterial, 0);
  const int dress = world.AthletMng().Athlete(0)->DressShader;
  const int face = world.ShaderMng().AddShader("lyziari/face", 0, 3);
  EXPECT_LT(particleMaterial, dress);
  EXPECT_LT(dress, face);
  EXPECT_TRUE(world.GuiMng().GetPage("Background")->IsVisible());
  EXPECT_TRUE(world.GuiMng().GetPage("MainMenu")->IsVisible());
  EXPECT_EQ(world.CurrentCamera(), &world.CameraMng().RaceController().OwnCamera());
}

TEST(WorldStart, EmptyPlayerNamesGetTheDefaultAndTheirElementsShowTheNames) {
  StartRig r;
  const test::TempDir& dir = r.rig.harness.dir;
  // A page of the three names and the three condition selectors.
  std::string page = "Names\n{\n";
  for (const char* name : {"PlayerName1", "PlayerName2", "PlayerName3"}) {
    page += std::string("container Text(") + name + ")\n{\n}\n";
  }
  for (const char* name : {"InitCondition1", "InitCondition2", "ArmsCondition1"}) {
    page += std::string("container TextSelector(") + name + ")\n{\n";
    for (int item = 0; item < 12; ++item) page += "item \"" + std::to_string(item) + "\"\n";
    page += "}\n";
  }
  dir.Write("data/scripts/gui/names.gui", page + "}\n");
  N_VarMng& vars = *r.rig.core.vars;
  vars.SetString("PlayerName1", "Anna Ski", 2);
  vars.SetString("PlayerName2", "", 2);
  ASSERT_TRUE(r.world->Init());
  const std::string fallback = r.strings.Find("#str021");
  ASSERT_FALSE(fallback.empty());
  EXPECT_STREQ(vars.GetString("PlayerName1"), "Anna Ski");
  EXPECT_EQ(vars.GetString("PlayerName2"), fallback);
  EXPECT_EQ(vars.GetString("PlayerName3"), fallback);
  EXPECT_EQ(vars.Find("PlayerName2")->Flags() & 0x20u, 0x20u) << "still saved";
  EXPECT_EQ(r.Element("PlayerName1")->GetCaption(), "Anna Ski");
  EXPECT_EQ(r.Element("PlayerName2")->GetCaption(), fallback);
  for (const char* name : {"InitCondition1", "InitCondition2", "ArmsCondition1"}) {
    auto* selector = dynamic_cast<N_GuiTextSelector*>(r.Element(name));
    ASSERT_NE(selector, nullptr) << name;
    EXPECT_EQ(selector->GetSelected(), 9u) << name;
  }
}

TEST(WorldStart, WithoutTheMainMenusPagesTheStartEndsCritically) {
  StartRig r({"data/scripts/gui/mainmenu.gui"});
  EXPECT_EXIT(r.world->Init(), testing::ExitedWithCode(255), "");
  const std::string log = r.rig.harness.dir.Read("navo.log");
  EXPECT_NE(log.find("Main menu gui pages not found!"), std::string::npos);
}

}  // namespace
