// The panel's drawing (background, border, children, border particles) and its
// attributes; the manager's page drawing order, read through a recording batcher
// target and a renderer over the recording device.
#include "gui/GuiPage.h"
#include "gui/GuiPanel.h"
#include "gui/GuiServices.h"
#include "render/Render.h"
#include "render/Shader.h"
#include "render/ShaderNames.h"
#include "render/RenderServices.h"
#include "render/TextureMngImpl.h"
#include "tests/gui/GuiRig.h"
#include "tests/render/FakeTextureDevice.h"
#include "tests/render/RenderRig.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Quad = test::QueuedQuad;

std::vector<Quad> TakeQuads(test::GuiRig& rig) { return rig.TakeQuads(); }

class GuiPanelTest : public ::testing::Test {
 protected:
  GuiPanelTest() {
    page = rig.mng->CreatePage("p");
    panel = rig.Create<N_GuiPanel>("Panel", "panel");
    test::Set(*panel, {{"left", "10"}, {"top", "20"}, {"width", "100"}, {"height", "50"}, {"shader", "bg"}});
    page->AddElement(panel);
    page->ShowImmediate();
    bg = rig.shaders.AddShader("bg", 0, 3);
  }
  std::vector<Quad> Draw() {
    page->Render();
    return TakeQuads(rig);
  }

  test::GuiRig rig;
  N_GuiPage* page = nullptr;
  N_GuiPanel* panel = nullptr;
  int bg = -1;
};

TEST_F(GuiPanelTest, BackgroundBorderAndTheirSwitches) {
  const int border = rig.shaders.AddShader("border", 0, 3);
  const int off = rig.shaders.AddShader("off", 0, 3);
  const Quad background{bg, 10, 20, 100, 50, 1, 1, 255};
  EXPECT_EQ(Draw(), (std::vector<Quad>{background}));

  // Border size 1 frames the rectangle; the right and bottom strips start one unit in.
  test::Set(*panel, {{"bordershader", "border"}, {"bordersize", "1"}});
  const std::vector<Quad> framed{background,
                                 {border, 10, 21, 1, 48, 1, 1, 255},
                                 {border, 109, 21, 1, 48, 1, 1, 255},
                                 {border, 10, 20, 100, 1, 1, 1, 255},
                                 {border, 10, 69, 100, 1, 1, 1, 255}};
  EXPECT_EQ(Draw(), framed);
  test::Set(*panel, {{"bordersize", "3"}});
  EXPECT_EQ(Draw()[2], (Quad{border, 109, 23, 3, 44, 1, 1, 255}));

  struct Case {
    const char* what;
    std::vector<std::pair<const char*, const char*>> attributes;
    std::vector<Quad> expected;
  };
  const std::vector<Case> cases = {
      {"tiling keeps an axis given as 0", {{"bordershader", ""}, {"bordersize", "1"}, {"tiling", "0 3"}},
       {{bg, 10, 20, 100, 50, 1, 3, 255}, {border, 10, 21, 1, 48, 1, 1, 255}, {border, 109, 21, 1, 48, 1, 1, 255},
        {border, 10, 20, 100, 1, 1, 1, 255}, {border, 10, 69, 100, 1, 1, 1, 255}}},
      {"disabled without its own shader", {{"tiling", "1 1"}, {"enabled", "false"}}, framed},
      {"disabled with one", {{"disabledshader", "off"}},
       {{off, 10, 20, 100, 50, 1, 1, 255}, framed[1], framed[2], framed[3], framed[4]}},
      {"enabled again", {{"enabled", "true"}}, framed},
      {"transparent", {{"transparent", "true"}}, {}},
      {"hidden", {{"transparent", "false"}, {"visible", "false"}}, {}},
  };
  for (const Case& c : cases) {
    for (const auto& [name, value] : c.attributes) ASSERT_TRUE(panel->SetAttribute(name, value)) << c.what;
    EXPECT_EQ(Draw(), c.expected) << c.what;
  }
  EXPECT_EQ(panel->GetAttribute("tiling"), "1 1");
  ASSERT_TRUE(panel->SetAttribute("tiling", "2.5"));
  EXPECT_EQ(panel->GetAttribute("tiling"), "2.5 1");
  EXPECT_EQ(panel->GetAttribute("bordershader"), "border") << "an empty name is ignored";
  EXPECT_EQ(panel->GetClassName(), "N_GuiPanel");

  // At alpha 0 a background that fades by its vertices' alpha is left out; an opaque one stays.
  const int fade = rig.shaders.AddShader("fade", 0, 3);
  rig.shaders.LoadShaders();
  N_Shader* material = rig.shaders.GetShader(fade);
  ASSERT_NE(material, nullptr);
  if (material->stageCount == 0) material->AddStage();
  for (int i = 0; i < material->stageCount; ++i) {
    material->Stage(i)->SetAlphaGen(AlphaGen::Vertex);
    material->Stage(i)->blendSrc = GlValue::kSrcAlpha;
    material->Stage(i)->blendDst = GlValue::kOneMinusSrcAlpha;
    material->Stage(i)->depthWrite = false;
  }
  test::Set(*panel, {{"visible", "true"}, {"shader", "fade"}});
  panel->SetAlpha(0);
  EXPECT_EQ(Draw(), (std::vector<Quad>{{border, 10, 21, 1, 48, 1, 1, 0}, {border, 109, 21, 1, 48, 1, 1, 0},
                                       {border, 10, 20, 100, 1, 1, 1, 0}, {border, 10, 69, 100, 1, 1, 1, 0}}));
  panel->SetAlpha(1);
  EXPECT_EQ(Draw().at(0), (Quad{fade, 10, 20, 100, 50, 2.5f, 1, 1}));
  test::Set(*panel, {{"shader", "bg"}});
  panel->SetAlpha(0);
  EXPECT_EQ(Draw().at(0), (Quad{bg, 10, 20, 100, 50, 2.5f, 1, 0}));
}

TEST_F(GuiPanelTest, OnlyAnOpaqueFullScreenPanelOfAShownPageHidesTheScreen) {
  // The 3D view is left out under such a panel: each row must let it show again.
  const int glass = rig.shaders.AddShader("glass", 0, 3);
  rig.shaders.LoadShaders();
  for (int h : {bg, glass}) {
    if (rig.shaders.GetShader(h)->stageCount == 0) rig.shaders.GetShader(h)->AddStage();
  }
  rig.shaders.GetShader(glass)->Stage(0)->blendDst = GlValue::kOneMinusSrcAlpha;
  EXPECT_FALSE(rig.mng->IsScreenCovered()) << "a small panel";
  test::Set(*panel, {{"left", "0"}, {"top", "0"}, {"width", "640"}, {"height", "480"}});
  struct Row {
    const char* what;
    std::function<void()> apply, undo;
  };
  const Row rows[] = {
      {"its page moved", [&] { page->SetOffset(0.0f, 5.0f); }, [&] { page->SetOffset(0.0f, 0.0f); }},
      {"a blended material", [&] { panel->SetShader("glass"); }, [&] { panel->SetShader("bg"); }},
      {"transparent", [&] { panel->SetTransparent(true); }, [&] { panel->SetTransparent(false); }},
      {"its page fading out", [&] { page->Close(1.0f); }, [&] { page->ShowImmediate(); }},
  };
  for (const Row& row : rows) {
    EXPECT_TRUE(rig.mng->IsScreenCovered()) << "before: " << row.what;
    row.apply();
    EXPECT_FALSE(rig.mng->IsScreenCovered()) << row.what;
    row.undo();
  }
}

TEST_F(GuiPanelTest, ChildrenInNameOrderAndATransparentPanelStillDrawsThem) {
  for (const char* name : {"b", "c", "a"}) {
    auto* child = rig.Create<N_GuiPanel>("Panel", name);
    test::Set(*child, {{"shader", name}, {"width", "5"}, {"height", "5"}});
    panel->Add(child);
  }
  std::vector<std::int32_t> order;
  for (const Quad& q : Draw()) order.push_back(q.shader);
  const int a = rig.shaders.AddShader("a", 0, 3), b = rig.shaders.AddShader("b", 0, 3),
            c = rig.shaders.AddShader("c", 0, 3);
  EXPECT_EQ(order, (std::vector<std::int32_t>{bg, a, b, c}));
  test::Set(*panel, {{"transparent", "true"}, {"particleshader", "spark"}, {"numparticles", "2"}});
  order.clear();
  for (const Quad& q : Draw()) order.push_back(q.shader);
  const int spark = rig.shaders.AddShader("spark", 0, 3);
  EXPECT_EQ(order, (std::vector<std::int32_t>{a, b, c, spark, spark}));
}

TEST_F(GuiPanelTest, ParticlesRunRoundTheBorder) {
  test::Set(*panel, {{"left", "100"}, {"top", "100"}, {"width", "200"}, {"height", "100"}, {"particleshader", "spark"},
                     {"particlesize", "6"}});
  Draw();  // laid out at its new place
  // A new count starts the trail on the top edge, running left, largest first.
  ASSERT_TRUE(panel->SetAttribute("numparticles", "3"));
  EXPECT_EQ(panel->GetAttribute("numparticles"), "3");
  const auto& particles = panel->Particles();
  ASSERT_EQ(particles.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const float half = 6.0f / ((i + 1) * 0.75f);
    EXPECT_FLOAT_EQ(particles[i].halfSize, half);
    EXPECT_FLOAT_EQ(particles[i].x, 100.0f + (3.0f - i) * half * 0.1f);
    EXPECT_EQ(particles[i].y, 100.0f);
    EXPECT_EQ(particles[i].vx, -10.0f);
  }
  // The speed starts them again on the bottom edge, running right.
  ASSERT_TRUE(panel->SetAttribute("particlespeed", "100"));
  EXPECT_EQ(particles[0].y, 200.0f);
  EXPECT_EQ(particles[0].vx, 100.0f);

  // The opacity is the alpha times n / (i + 1), kept to a byte.
  panel->SetAlpha(100);
  std::vector<std::uint32_t> alphas;
  for (const Quad& q : Draw()) alphas.push_back(q.alpha);
  EXPECT_EQ(alphas, (std::vector<std::uint32_t>{100, 255, 150, 100})) << "the background, then the particles";

  // The leader's edges, in order, over two rounds and a bit (perimeter 600 at 100 a second).
  std::vector<std::string> edges;
  for (int frame = 0; frame < 260; ++frame) {
    rig.Step(0.05);
    Draw();
    const N_GuiPanel::Particle& p = particles[0];
    std::string edge;
    if (p.vx > 0) edge = p.y == 200.0f ? "bottom, right" : "?";
    if (p.vy < 0) edge = p.x == 300.0f ? "right edge, up" : "?";
    if (p.vx < 0) edge = p.y == 100.0f ? "top, left" : "?";
    if (p.vy > 0) edge = p.x == 100.0f ? "left edge, down" : "?";
    if (edges.empty() || edges.back() != edge) edges.push_back(edge);
  }
  EXPECT_EQ(edges, (std::vector<std::string>{"bottom, right", "right edge, up", "top, left", "left edge, down",
                                             "bottom, right", "right edge, up", "top, left", "left edge, down",
                                             "bottom, right"}));
}

TEST_F(GuiPanelTest, AScriptsParticleCountIsKeptWithinTheBatcher) {
  for (const auto& [value, count] : {std::pair{"-5", 0u}, {"100000", 4024u}, {"7", 7u}, {"0", 0u}}) {
    ASSERT_TRUE(panel->SetAttribute("numparticles", value));
    EXPECT_EQ(panel->GetParticleCount(), count) << value;
    EXPECT_EQ(panel->GetAttribute("numparticles"), std::to_string(count));
  }
}

/// Records the batcher's flushes and draws and, at each flush, the world matrices the
/// renderer set since the last one.
struct OrderTarget final : N_TextBatchTarget {
  explicit OrderTarget(platform::d3d9::RecordingDevice& d) : device(d) {}
  void CatchUp() {
    const std::vector<std::string>& calls = device.Calls();
    for (; seen < calls.size(); ++seen) {
      if (calls[seen].rfind("SetTransform(256, ", 0) == 0) log.push_back("world " + calls[seen].substr(18));
    }
  }
  void ClearDepth() override {
    CatchUp();
    log.push_back("flush");
  }
  void BindShader(std::int32_t shader) override { log.push_back("bind " + std::to_string(shader)); }
  void DrawSurface(N_MeshSurface&) override { log.push_back("draw"); }

  platform::d3d9::RecordingDevice& device;
  std::size_t seen = 0;
  std::vector<std::string> log;
};

TEST(GuiRender, EachVisiblePageIsDrawnAfterAFlushWithItsOwnMatrixThenTheSnow) {
  test::RenderRig render;
  test::GuiRig rig;  // its core services are the global ones from here on
  g_render = &render.render;
  OrderTarget target(*render.device);
  N_TextBatch batch(&target);
  batch.Init();
  g_guiServices.textBatch = &batch;
  rig.mng->LoadGuiFiles("scripts\\gui\\*.gui");  // the snow
  rig.mng->SetSnow(true);
  struct PageSpec {
    const char* name;
    int z;
    float dx, dy;
    bool visible;
  };
  for (const PageSpec& s : {PageSpec{"Bravo", 5, 0, 50, true}, PageSpec{"Alpha", 5, 100, 0, true},
                            PageSpec{"Charlie", 3, 0, 0, true}, PageSpec{"Delta", 4, 0, 0, false}}) {
    N_GuiPage* page = rig.mng->CreatePage(s.name);
    page->SetZOrder(static_cast<std::uint16_t>(s.z));
    page->SetOffset(s.dx, s.dy);
    auto* panel = rig.Create<N_GuiPanel>("Panel", std::string("panel") + s.name);
    panel->SetShader(s.name);
    page->AddElement(panel);
    if (s.visible) page->ShowImmediate();
  }
  const std::string identity = "[1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1])";
  rig.mng->Render();
  batch.Flush();
  target.CatchUp();
  std::vector<std::string> expected{"flush",
                                    "world " + identity,
                                    "flush",
                                    "bind " + std::to_string(rig.shaders.AddShader("Charlie", 0, 3)),
                                    "draw",
                                    "world [1 0 0 0 0 1 0 0 0 0 1 0 100 0 0 1])",
                                    "flush",
                                    "bind " + std::to_string(rig.shaders.AddShader("Alpha", 0, 3)),
                                    "draw",
                                    "world [1 0 0 0 0 1 0 0 0 0 1 0 0 50 0 1])",
                                    "flush",
                                    "bind " + std::to_string(rig.shaders.AddShader("Bravo", 0, 3)),
                                    "draw",
                                    "bind " + std::to_string(rig.mng->GetSnowShader())};
  expected.insert(expected.end(), 50, "draw");
  EXPECT_EQ(target.log, expected);
  g_guiServices.textBatch = &rig.batch;
  g_render = nullptr;
}

TEST(GuiRender, AShaderFirstAddedAfterTheShadersWereLoadedDrawsNothingUntilTheNextLoad) {
  // The shader manager makes records only when it loads: an element given a new name
  // at run time has none yet, and the flush hands the renderer no shader for it.
  test::RenderRig render;
  test::FakeTextureDevice device;
  N_TextureMngImpl textures(1024, &device);
  g_renderServicesCopy.textureMng = &textures;
  {
    test::GuiRig rig(true);  // the batcher draws through the renderer
    N_GuiPage* page = rig.mng->CreatePage("p");
    for (const char* name : {"early", "late"}) {
      auto* panel = rig.Create<N_GuiPanel>("Panel", name);
      test::Set(*panel, {{"left", name[0] == 'e' ? "0" : "100"}, {"width", "50"}, {"height", "50"}});
      page->AddElement(panel);
    }
    rig.mng->GetElement("early", false)->SetShader("gui/early");
    rig.shaders.LoadShaders();
    rig.mng->GetElement("late", false)->SetShader("gui/late");
    page->ShowImmediate();
    auto draws = [&] {
      render.device->ClearCalls();
      page->Render();
      rig.batch.Flush();
      return render.device->CallsStartingWith("DrawIndexedPrimitiveUP").size();
    };
    EXPECT_EQ(rig.shaders.GetShader(rig.mng->GetElement("late", false)->GetShader()), nullptr);
    EXPECT_EQ(draws(), 1u) << "only the panel whose shader has its record";
    rig.shaders.LoadShaders();
    EXPECT_EQ(draws(), 2u);
    rig.shaders.ResetRefCounts();
    rig.shaders.LoadShaders();
  }
  textures.ResetRefCounts();
  textures.PurgeTextures();
  g_renderServicesCopy.textureMng = nullptr;
}

}  // namespace
