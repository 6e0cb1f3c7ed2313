// Widgets on the OpenGL device under the virtual X server, at 640 x 480, read back
// from the back buffer: a progress bar's fill over its back, a text selector's slide
// inside its clip, an edit box's blinking caret and a table's image cell.
#include "gui/GuiEditBox.h"
#include "gui/GuiProgressBar.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextSelector.h"
#include "tests/gui/GuiPixelRig.h"

#include <gtest/gtest.h>

namespace {

using test::IsRed;
using test::IsGreen;
using test::IsText;
using test::Pixel;

class GuiWidgetPixels : public test::GuiPixelFixture {};

TEST_F(GuiWidgetPixels, AProgressBarFillsItsShareOverItsBack) {
  Add<N_GuiProgressBar>("ProgressBar", "bar",
                        {{"left", "100"}, {"top", "100"}, {"width", "200"}, {"height", "40"}, {"shader", "gui/red"},
                         {"shaderback", "gui/green"}, {"range", "100"}, {"value", "25"}});
  Show();
  const test::BackBufferImage image = Frame();
  ASSERT_EQ(image.width, 640u);
  const UINT top = Pixel(101, 480), bottom = Pixel(139, 480);
  // The fill over its first 50 units, the back beyond, nothing else.
  EXPECT_EQ(image.Count(Pixel(101, 640), top, Pixel(149, 640), bottom, &IsRed),
            int((Pixel(149, 640) - Pixel(101, 640)) * (bottom - top)));
  EXPECT_EQ(image.Count(Pixel(151, 640), top, Pixel(299, 640), bottom, &IsGreen),
            int((Pixel(299, 640) - Pixel(151, 640)) * (bottom - top)));
  EXPECT_EQ(image.Count(Pixel(151, 640), 0, 640, 480, &IsRed), 0);
  EXPECT_EQ(image.Count(0, 0, 640, Pixel(99, 480), &IsGreen), 0);
  EXPECT_EQ(image.Count(Pixel(301, 640), 0, 640, 480, &IsGreen), 0);
}

TEST_F(GuiWidgetPixels, ATextSelectorSlidesInsideItsClip) {
  auto* selector = Add<N_GuiTextSelector>("TextSelector", "sel",
                                          {{"left", "200"}, {"top", "200"}, {"fontname", "normal"}, {"charheight", "3"},
                                           {"color", "0"}, {"item", "WWW"}, {"item", "MMMMMM"}});
  Show();
  Frame();
  N_GuiEvent press;
  press.type = N_GuiEventType::Button;
  press.button = kGuiLeftButton;
  press.pressed = true;
  selector->HandleEvent(press);
  ASSERT_TRUE(selector->IsSliding());
  Frame(0.5);  // drawn at offset 0; then 15 units on
  float left = 0, top = 0, right = 0, bottom = 0;
  selector->ClipRect(left, top, right, bottom);
  ASSERT_EQ(bottom - top, 48.0f);
  const test::BackBufferImage image = Frame(0.1);  // both texts reach out of the clip by 15 and 33 units
  ASSERT_TRUE(selector->IsSliding());
  const UINT x0 = Pixel(left, 640), y0 = Pixel(top, 480), x1 = Pixel(right, 640), y1 = Pixel(bottom, 480);
  EXPECT_GT(image.Count(x0, y0, x1, y1, &IsText), 50) << "both texts inside, faded towards the clip's edges";
  // The scissor's pixels may round either way at its edges.
  const int all = image.Count(0, 0, 640, 480, &IsText);
  EXPECT_EQ(all, image.Count(x0 - 1, y0 - 1, x1 + 1, y1 + 1, &IsText)) << "no text pixel outside the clip";
  // After the slide the text stands unclipped at its place again.
  for (int i = 0; i < 5; ++i) Frame(0.5);
  EXPECT_FALSE(selector->IsSliding());
}

TEST_F(GuiWidgetPixels, AFocusedEditBoxBlinksItsCaret) {
  auto* edit = Add<N_GuiEditBox>("EditBox", "edit",
                                 {{"left", "100"}, {"top", "300"}, {"width", "300"}, {"height", "40"},
                                  {"fontname", "normal"}, {"charheight", "2"}, {"color", "0"}, {"caption", "AB"}});
  edit->SetFocus(true);
  Show();
  // The caret stands after the text: its column right of the text's last pixel.
  const test::BackBufferImage first = Frame(0.25);
  UINT textRight = 0;
  for (UINT x = 0; x < first.width; ++x) {
    if (first.Count(x, Pixel(300, 480), x + 1, Pixel(340, 480), &IsText) > 0) textRight = x;
  }
  ASSERT_GT(textRight, Pixel(100, 640));
  auto caretPixels = [&](const test::BackBufferImage& image) {
    return image.Count(textRight + 1, Pixel(300, 480), textRight + 30, Pixel(340, 480), &IsText);
  };
  EXPECT_EQ(caretPixels(first), 0) << "0.25 s";
  // Frames of 0.25 s: none at 0.5 s, shown at 0.75 s, hidden again at 1.5 s.
  const std::pair<double, bool> steps[] = {{0.5, false}, {0.75, true}, {1.0, true}, {1.25, true}, {1.5, false}};
  for (const auto& [time, shown] : steps) {
    const test::BackBufferImage image = Frame(0.25);
    if (shown) {
      EXPECT_GT(caretPixels(image), 10) << time << " s";
    } else {
      EXPECT_EQ(caretPixels(image), 0) << time << " s";
    }
  }
}

TEST_F(GuiWidgetPixels, ATableImageCellShowsItsPictureAtItsPlace) {
  Add<N_GuiTable>("Table", "T",
                  {{"left", "50"}, {"top", "50"}, {"width", "400"}, {"height", "200"}, {"rowheight", "40"},
                   {"columntypes", "text image"}, {"columnwidths", "100 60"}, {"row", "x gui/red"}});
  Show();
  const test::BackBufferImage image = Frame();
  // Row at (55, 55); the cell after the first column, inside the spacing: (155, 60),
  // 50 x 30.
  EXPECT_EQ(image.Count(Pixel(156, 640), Pixel(61, 480), Pixel(204, 640), Pixel(89, 480), &IsRed),
            int((Pixel(204, 640) - Pixel(156, 640)) * (Pixel(89, 480) - Pixel(61, 480))));
  EXPECT_EQ(image.Count(0, 0, 640, Pixel(59, 480), &IsRed), 0);
  EXPECT_EQ(image.Count(0, Pixel(91, 480), 640, 480, &IsRed), 0);
  EXPECT_EQ(image.Count(0, 0, Pixel(154, 640), 480, &IsRed), 0);
  EXPECT_EQ(image.Count(Pixel(206, 640), 0, 640, 480, &IsRed), 0);
}

}  // namespace
