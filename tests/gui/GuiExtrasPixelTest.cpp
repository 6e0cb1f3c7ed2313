// The extra elements and effects on the OpenGL device under the virtual X server, at
// 640 x 480, read back from the back buffer: a page sliding in (drawn shifted by its
// offset midway, in place at the end), a track map's mark, a scrolling text kept
// inside its clip, with the scissor off for what is drawn after it, and a model view
// that leaves the 2D drawing after it as it found it.
#include "core/Vector3.h"
#include "gui/GuiServices.h"
#include "gui/GuiEffect.h"
#include "gui/GuiFigures.h"
#include "gui/GuiMap.h"
#include "gui/GuiModel.h"
#include "gui/GuiScrollingText.h"
#include "tests/gui/GuiPixelRig.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

/// One athlete with a figure that draws nothing: the model view's own set-ups remain.
class StillFigures final : public N_GuiFigures {
 public:
  const N_FigureAthlete* GetMale(std::int32_t index) override { return index == 0 ? &athlete : nullptr; }
  const N_FigureAthlete* GetFemale(std::int32_t) override { return nullptr; }
  void SetNextAction(std::int32_t, std::int32_t, float, float) override {}
  void RenderFigure(float, std::int32_t, const N_Vector3&, const N_Matrix3&, std::int32_t, const N_FigureAthlete&, bool,
                    bool, bool) override {
    ++drawn;
  }
  N_FigureAthlete athlete = [] {
    N_FigureAthlete record;
    record.Figure = 0;
    return record;
  }();
  int drawn = 0;
};

using test::IsGreen;
using test::IsRed;
using test::IsText;
using test::Pixel;

class GuiExtrasPixels : public test::GuiPixelFixture {
 protected:
  /// Red pixels over the whole rectangle of screen units (its edge pixels aside).
  int RedInside(const test::BackBufferImage& image, float left, float top, float right, float bottom) {
    return image.Count(Pixel(left + 1, 640), Pixel(top + 1, 480), Pixel(right - 1, 640), Pixel(bottom - 1, 480), &IsRed);
  }
  int Area(float left, float top, float right, float bottom) {
    return int((Pixel(right - 1, 640) - Pixel(left + 1, 640)) * (Pixel(bottom - 1, 480) - Pixel(top + 1, 480)));
  }
};

TEST_F(GuiExtrasPixels, APageSlidesInByItsOffset) {
  Add<N_GuiElement>("Panel", "slid", {{"left", "100"}, {"top", "100"}, {"width", "200"}, {"height", "100"},
                                      {"shader", "gui/red"}});
  N_GuiEffect* effect = rig.mng->CreateEffect("PageScroll");
  test::Set(*effect, {{"direction", "left"}, {"speed", "80"}, {"dump", "1"}});
  page->AddEffect(effect);
  Show();
  EXPECT_EQ(Frame(0.001).Count(0, 0, 640, 480, &IsRed), 0) << "one screen to the right";
  // Each frame draws at the offset, then moves it: after 4 s, 640 + 4 x (-80 + 4) =
  // 336 to the right.
  Frame(4.0);
  const test::BackBufferImage midway = Frame(0.001);
  EXPECT_EQ(RedInside(midway, 436, 100, 636, 200), Area(436, 100, 636, 200));
  EXPECT_EQ(midway.Count(0, 0, Pixel(435, 640), 480, &IsRed), 0);
  Frame(10.0);
  const test::BackBufferImage end = Frame(0.001);
  EXPECT_EQ(RedInside(end, 100, 100, 300, 200), Area(100, 100, 300, 200));
  EXPECT_EQ(end.Count(Pixel(301, 640), 0, 640, 480, &IsRed), 0);
}

TEST_F(GuiExtrasPixels, AMarkStandsOnItsPointOfTheMap) {
  auto* map = Add<N_GuiMap>("Map", "map", {{"left", "10"}, {"top", "20"}, {"width", "200"}, {"height", "100"},
                                          {"shader", "gui/green"}, {"markshader", "gui/red"}});
  Show();
  Frame();
  map->SetMarks(std::vector<N_Vector3>{{0.5f, 0.5f, 0.0f}});
  const test::BackBufferImage image = Frame();
  // Centred on (110, 70): 6 x 6 from (107, 67), over the green map.
  EXPECT_EQ(RedInside(image, 107, 67, 113, 73), Area(107, 67, 113, 73));
  EXPECT_EQ(image.Count(0, 0, 640, Pixel(66, 480), &IsRed), 0);
  EXPECT_EQ(image.Count(0, Pixel(74, 480), 640, 480, &IsRed), 0);
  EXPECT_EQ(image.Count(0, 0, Pixel(106, 640), 480, &IsRed), 0);
  EXPECT_EQ(image.Count(Pixel(114, 640), 0, 640, 480, &IsRed), 0);
  EXPECT_GT(image.Count(Pixel(20, 640), Pixel(30, 480), Pixel(100, 640), Pixel(60, 480), &IsGreen), 1000);
}

TEST_F(GuiExtrasPixels, AScrollingTextStaysInsideItsClip) {
  Add<N_GuiScrollingText>("ScrollingText", "ticker",
                          {{"left", "200"}, {"top", "200"}, {"width", "100"}, {"height", "48"},
                           {"fontname", "normal"}, {"charheight", "3"}, {"color", "0"}, {"caption", "WMWMWM"},
                           {"scrollx", "-50"}});
  // Drawn after it, outside its clip: the scissor must be off again.
  Add<N_GuiElement>("Panel", "after", {{"left", "400"}, {"top", "300"}, {"width", "100"}, {"height", "50"},
                                       {"shader", "gui/red"}});
  Show();
  const UINT x0 = Pixel(200, 640), y0 = Pixel(200, 480), x1 = Pixel(300, 640), y1 = Pixel(248, 480);
  int inside = 0;
  for (int i = 0; i < 8; ++i) {
    const test::BackBufferImage image = Frame(0.5);
    inside += image.Count(x0, y0, x1, y1, &IsText);
    // The scissor's pixels may round either way at its edges.
    EXPECT_EQ(image.Count(0, 0, 640, 480, &IsText), image.Count(x0 - 1, y0 - 1, x1 + 1, y1 + 1, &IsText)) << i;
    EXPECT_EQ(RedInside(image, 400, 300, 500, 350), Area(400, 300, 500, 350)) << i;
  }
  EXPECT_GT(inside, 200) << "the text crossed the clip";
}

TEST_F(GuiExtrasPixels, AfterAModelViewTheSlidPageDrawsInTheFullWindow) {
  StillFigures figures;
  g_guiServices.figures = &figures;
  g_guiServices.camera = &camera;
  Add<N_GuiModel>("Model", "model", {{"left", "20"}, {"top", "20"}, {"width", "100"}, {"height", "100"}});
  // Queued after the model: one quad 100 to the right of its place on the page moved by
  // (100, 0), one in the far corner (outside the model's viewport).
  Add<N_GuiElement>("Panel", "after", {{"left", "100"}, {"top", "200"}, {"width", "100"}, {"height", "50"},
                                       {"shader", "gui/red"}});
  Add<N_GuiElement>("Panel", "corner", {{"left", "520"}, {"top", "400"}, {"width", "100"}, {"height", "60"},
                                        {"shader", "gui/green"}});
  page->SetOffset(100.0f, 0.0f);
  Show();
  const test::BackBufferImage image = Frame();
  EXPECT_EQ(figures.drawn, 1);
  EXPECT_EQ(RedInside(image, 200, 200, 300, 250), Area(200, 200, 300, 250));
  EXPECT_EQ(image.Count(0, 0, Pixel(199, 640), 480, &IsRed), 0);
  EXPECT_EQ(image.Count(Pixel(301, 640), 0, 640, 480, &IsRed), 0);
  // The corner quad lies beyond the window's right edge once moved: its visible part
  // fills the window up to its edge.
  EXPECT_EQ(image.Count(Pixel(621, 640), Pixel(401, 480), 640, Pixel(459, 480), &IsGreen),
            int((640 - Pixel(621, 640)) * (Pixel(459, 480) - Pixel(401, 480))));
  EXPECT_EQ(render->CurrentCamera(), &camera) << "the world's camera again";
  g_guiServices.figures = nullptr;
  g_guiServices.camera = nullptr;
}

}  // namespace
