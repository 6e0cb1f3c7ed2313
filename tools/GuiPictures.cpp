#include "tools/GuiPictures.h"

#include <algorithm>
#include <cmath>

namespace datagen {

RgbaImage DrawPicture(int w, int h, const std::function<Rgba(float u, float v)>& texel) {
  RgbaImage img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.At(x, y) = texel((x + 0.5f) / w, (y + 0.5f) / h);
  return img;
}

Rgba ColourOf(float r, float g, float b, float a) {
  const auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
  return {byte(r), byte(g), byte(b), byte(a)};
}

}  // namespace datagen
