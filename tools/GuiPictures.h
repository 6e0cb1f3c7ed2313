#pragma once
// The pictures of the GUI's 2D materials, which the datagen step "menu" writes below
// "data/": the menu's own (MenuSamples.cpp), the widgets' (WidgetPictures.cpp) and the
// extra elements' (ExtraPictures.cpp), with
// the small drawing helpers they share. Procedural: the same bytes on every run.
#include "tools/DdsWriter.h"
#include "tools/Image.h"

#include <functional>
#include <string>
#include <vector>

namespace datagen {

struct GuiPicture {
  std::string name;  ///< as the materials map it: "data/<name>.dds"
  DdsFormat format;
  RgbaImage picture;
};

/// A picture of w x h texels, each from its centre's place (u, v) in 0..1.
RgbaImage DrawPicture(int w, int h, const std::function<Rgba(float u, float v)>& texel);
/// A colour of components 0..1 (clamped), rounded to bytes.
Rgba ColourOf(float r, float g, float b, float a = 1.0f);

/// The widgets' pictures: the scroll-bar arrows (each with its look under the mouse),
/// bit and track, the table's rows (normal, selected, marked) and grid line, the
/// progress bar's fill and back, the edit box's frame and the selector items (each
/// with its highlight).
std::vector<GuiPicture> WidgetPictures();
/// The extra elements' pictures: the track map with its two marks, the figure (white,
/// so the element tints it) with its outline, and the image scroller's arrows and five
/// items (each with its look under the mouse or its highlight).
std::vector<GuiPicture> ExtraPictures();

}  // namespace datagen
