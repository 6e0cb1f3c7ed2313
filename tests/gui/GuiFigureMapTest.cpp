// The figure (its two tinted pictures over a transparent panel, its colour lists) and
// the track map (marks placed on the map, drawn in point order with the player's
// picture, the map picture's reference given back when it changes).
#include "core/Vector3.h"
#include "gui/GuiFigure.h"
#include "gui/GuiMap.h"
#include "gui/GuiPage.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class GuiFigureMapTest : public ::testing::Test {
 protected:
  /// Lays the page out and draws it; what it queued, as texts (their colours).
  std::vector<test::QueuedText> Draw(const char* pageName) {
    N_GuiPage* page = rig.mng->GetPage(pageName);
    page->ShowImmediate();
    rig.Step(0.02);
    page->Render();
    return rig.TakeQueue();
  }
  std::int32_t Handle(const char* name) { return rig.shaders.AddShader(name, 0, 3); }

  test::GuiRig rig;
};

TEST_F(GuiFigureMapTest, AFigureDrawsItsTwoTintedPicturesOverATransparentPanel) {
  ASSERT_TRUE(rig.LoadScript("figure.gui"));
  auto* figure = static_cast<N_GuiFigure*>(rig.mng->GetElement("SkierFigure", false));
  ASSERT_NE(figure, nullptr);
  EXPECT_TRUE(figure->IsTransparent());
  const std::vector<test::QueuedText> drawn = Draw("FigurePage");
  ASSERT_EQ(drawn.size(), 2u) << "no background: the figure, then the outline";
  struct Expected {
    const char* shader;
    std::uint32_t rgb;
    std::uint32_t alpha;
  };
  // The figure tint (0.2, 0.2, 1.0, 1.0) x 255; the outline's is all 0.
  const Expected expected[] = {{"textures\\gui\\figure", 0x3333FF, 255}, {"textures\\gui\\figure_outline", 0, 0}};
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    EXPECT_EQ(drawn[i].shader, Handle(expected[i].shader));
    EXPECT_EQ(drawn[i].rgb, expected[i].rgb) << i;
    EXPECT_EQ(drawn[i].alpha, expected[i].alpha) << i;
    EXPECT_EQ(drawn[i].left, 20.0f);
    EXPECT_EQ(drawn[i].top, 40.0f);
    EXPECT_EQ(drawn[i].right, 84.0f);
    EXPECT_EQ(drawn[i].bottom, 168.0f);
  }
  // The lists are kept, not drawn: the script's full list, and its partial one over
  // the defaults.
  EXPECT_EQ(figure->GetAttribute("figurecolors"), "0.2 0.2 1 1 1 0 0 1");
  EXPECT_EQ(figure->GetAttribute("outlinecolors"), "1 1 1 0 0 0 0 1");
  EXPECT_EQ(figure->FigureTint()[3], 1.0f);
  EXPECT_EQ(figure->OutlineTint()[3], 0.0f);
}

TEST_F(GuiFigureMapTest, AFigureWithoutPicturesDrawsLikeATransparentPanel) {
  N_GuiPage* page = rig.mng->CreatePage("p");
  auto* figure = rig.Create<N_GuiFigure>("Figure", "f");
  auto* inner = rig.Create<N_GuiElement>("Panel", "inner");
  inner->SetShader("inner");
  figure->Add(inner);
  figure->SetShader("ignored");
  page->AddElement(figure);
  page->ShowImmediate();
  page->Render();
  const std::vector<test::QueuedText> drawn = rig.TakeQueue();
  ASSERT_EQ(drawn.size(), 1u) << "only its child";
  EXPECT_EQ(drawn[0].shader, Handle("inner"));
  figure->Hide();
  figure->SetFigureShader("fig");
  page->Render();
  EXPECT_TRUE(rig.TakeQueue().empty()) << "hidden";
}

TEST_F(GuiFigureMapTest, TheColourListsTakeUpToEightNumbers) {
  auto* figure = rig.Create<N_GuiFigure>("Figure", "f");
  struct Case {
    const char* value;
    const char* readBack;
  };
  std::string many;
  for (int i = 0; i < 300; ++i) many += std::to_string(i % 10) + " ";
  const Case cases[] = {
      {nullptr, "0.2 0.2 1 1 1 0 0 1"},
      {"0.5 0.25 0", "0.5 0.25 0 1 1 0 0 1"},
      {many.c_str(), "0 1 2 3 4 5 6 7"},
      {"", "0 1 2 3 4 5 6 7"},
      {"1\t2  3", "1 2 3 3 4 5 6 7"},
  };
  for (const Case& c : cases) {
    if (c.value) {
      EXPECT_TRUE(figure->SetAttribute("figurecolors", c.value));
    }
    EXPECT_EQ(figure->GetAttribute("figurecolors"), c.readBack) << (c.value ? c.value : "(default)");
  }
  EXPECT_EQ(figure->GetAttribute("outlinecolors"), "0 0 0 0 0 0 0 1");
  EXPECT_EQ(figure->FigureTint()[0], 0.2f) << "the tints stay";
}

TEST_F(GuiFigureMapTest, MarksArePlacedOnTheMapAndDrawnInPointOrder) {
  ASSERT_TRUE(rig.LoadScript("map.gui"));
  auto* map = static_cast<N_GuiMap*>(rig.mng->GetElement("TrackMap", false));
  ASSERT_NE(map, nullptr);
  rig.mng->GetPage("MapPage")->Render();
  rig.TakeQueue();
  EXPECT_EQ(map->GetPlayerIndex(), N_GuiMap::kNoPlayer);
  const std::int32_t mark = Handle("textures\\gui\\mark"), player = Handle("textures\\gui\\mark_player");
  struct Case {
    std::vector<N_Vector3> points;
    std::uint32_t playerIndex;
    std::vector<test::QueuedQuad> quads;  ///< after the map's own picture
  };
  const Case cases[] = {
      // (0.5, 0.5) on 200 x 100 at (10, 20): centred at (110, 70), 6 x 6 from (107, 67).
      {{{0.5f, 0.5f, 0}}, N_GuiMap::kNoPlayer, {{mark, 107, 67, 6, 6, 1, 1, 255}}},
      {{{0, 0, 0}, {1, 1, 0}, {0.25f, 0.5f, 9}},
       1,
       {{mark, 7, 17, 6, 6, 1, 1, 255}, {player, 207, 117, 6, 6, 1, 1, 255}, {mark, 57, 67, 6, 6, 1, 1, 255}}},
      // Fewer points: the list shrinks; the player's index beyond it draws none.
      {{{0.5f, 0.5f, 0}}, 1, {{mark, 107, 67, 6, 6, 1, 1, 255}}},
      {{}, 0, {}},
  };
  for (const Case& c : cases) {
    map->SetMarks(c.points);
    map->SetPlayerIndex(c.playerIndex);
    EXPECT_EQ(map->Marks().size(), c.points.size());
    rig.mng->GetPage("MapPage")->Render();
    std::vector<test::QueuedQuad> quads = rig.TakeQuads();
    ASSERT_FALSE(quads.empty());
    EXPECT_EQ(quads.front().shader, Handle("textures\\gui\\map"));
    quads.erase(quads.begin());
    EXPECT_EQ(quads, c.quads);
  }
  // A point's mark stays where it was placed when the map moves: the HUD places them
  // anew every frame.
  map->SetMarks(std::vector<N_Vector3>{{0.5f, 0.5f, 0}});
  map->SetPlayerIndex(N_GuiMap::kNoPlayer);
  map->SetLeft(300.0f);
  EXPECT_EQ(map->Marks()[0].x, 110.0f);
  map->SetMarkSize(5.0f);
  map->SetAlpha(100);
  rig.mng->GetPage("MapPage")->Render();
  const std::vector<test::QueuedQuad> moved = rig.TakeQuads();
  ASSERT_EQ(moved.size(), 2u);
  EXPECT_EQ(moved[1], (test::QueuedQuad{mark, 105, 65, 10, 10, 1, 1, 100}));
}

TEST_F(GuiFigureMapTest, ANewMapPictureGivesBackThePreviousNamesReference) {
  auto* map = rig.Create<N_GuiMap>("Map", "m");
  // The references of a name, read without taking one.
  const auto refs = [&](const std::string& name) {
    for (int i = 0; i < rig.shaders.Capacity(); ++i) {
      const N_ShaderEntry* e = rig.shaders.GetEntry(i);
      if (e && e->name && *e->name == name) return e->refCount;
    }
    return 0;
  };
  map->SetShader("mapA");
  EXPECT_EQ(refs("mapA"), 1);
  const std::int32_t lit = (map->SetAttribute("highlightshader", "mapLit"), rig.shaders.AddShader("mapLit", 0, 3));
  rig.shaders.ReleaseShader(lit);
  map->HandleEvent(test::Ev(N_GuiEventType::Enter));
  EXPECT_EQ(map->GetShader(), lit) << "hovered";
  map->SetShader("mapB");
  EXPECT_EQ(refs("mapA"), 0) << "given back once";
  EXPECT_EQ(refs("mapLit"), 1) << "the highlight keeps its reference";
  EXPECT_EQ(refs("mapB"), 1);
  map->SetShader("");
  EXPECT_EQ(refs("mapB"), 1) << "an empty name changes nothing";
  EXPECT_EQ(map->GetShaderName(), "mapB");
  map->SetShader("mapB");
  EXPECT_EQ(refs("mapB"), 1) << "the same name again: one given back, one taken";
}

}  // namespace
