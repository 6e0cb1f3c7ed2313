// The pictures of the menu's materials (data/scripts/menu.shader): the mouse cursor,
// the snowflake, the three looks of the menu buttons, the panel background and border,
// the black screen and the sixteen lens pictures of the main menu, each lens in its
// own colour and with its own number of rays; and, in the same step, the widgets'
// pictures (data/scripts/widgets.shader, WidgetPictures.cpp) and the extra elements'
// (data/scripts/extras.shader, ExtraPictures.cpp). Procedural, the same
// bytes on every run.
#include "tools/GuiPictures.h"
#include "tools/Step.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using datagen::DdsFormat;
using datagen::GuiPicture;
using datagen::Rgba;
using datagen::RgbaImage;

constexpr float kPi = 3.14159265f;

RgbaImage Picture(int w, int h, const std::function<Rgba(float, float)>& texel) {
  return datagen::DrawPicture(w, h, texel);
}

Rgba Colour(float r, float g, float b, float a = 1.0f) { return datagen::ColourOf(r, g, b, a); }

/// A colour of the hue (0..1 round the circle) at full saturation, scaled by value.
Rgba Hue(float hue, float value, float alpha) {
  const float h = std::fmod(hue, 1.0f) * 6.0f;
  const float x = 1.0f - std::fabs(std::fmod(h, 2.0f) - 1.0f);
  const std::array<std::array<float, 3>, 6> sectors{{{1, x, 0}, {x, 1, 0}, {0, 1, x}, {0, x, 1}, {x, 0, 1}, {1, 0, x}}};
  const auto& c = sectors[static_cast<std::size_t>(std::clamp(static_cast<int>(h), 0, 5))];
  return Colour(c[0] * value, c[1] * value, c[2] * value, alpha);
}

/// An arrow pointing up and left, its tip in the top-left corner (a solid 4 x 4 block,
/// so the corner shows at any scale): white with a black rim, transparent around it.
RgbaImage CursorArrow() {
  constexpr int kSize = 32;
  auto inside = [](int x, int y) {
    const bool head = y <= 22 && x <= 3 + y * 0.6f;
    const bool tail = y > 12 && y <= 30 && x >= 5 && x <= 11 && std::fabs((x - 5.0f) - (y - 14.0f) * 0.35f) <= 2.5f;
    return x >= 0 && y >= 0 && (head || tail);
  };
  RgbaImage img(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (!inside(x, y)) continue;
      const bool rim = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y + 1) || (y > 0 && !inside(x, y - 1));
      img.At(x, y) = rim && x > 0 && y > 0 ? Colour(0, 0, 0) : Colour(1, 1, 1);
    }
  }
  return img;
}

/// A soft six-rayed flake.
RgbaImage Snowflake() {
  return Picture(16, 16, [](float u, float v) {
    const float dx = u - 0.5f, dy = v - 0.5f;
    const float r = std::hypot(dx, dy) * 2.0f;
    const float rays = std::pow(std::fabs(std::cos(std::atan2(dy, dx) * 3.0f)), 8.0f);
    const float a = std::clamp((1.0f - r) * (0.6f + 0.8f * rays), 0.0f, 1.0f);
    return Colour(1.0f, 1.0f, 1.0f, a);
  });
}

/// A button look: a vertical gradient of the colour with a light rim.
RgbaImage ButtonLook(float r, float g, float b) {
  return Picture(128, 32, [=](float u, float v) {
    const bool rim = u < 2.0f / 128 || u > 126.0f / 128 || v < 2.0f / 32 || v > 30.0f / 32;
    if (rim) return Colour(0.9f, 0.95f, 1.0f, 0.95f);
    const float shade = 1.15f - 0.45f * v;
    return Colour(r * shade, g * shade, b * shade, 0.9f);
  });
}

/// Lens i of 16: a disc of hue i / 16 with i + 3 rays, darker towards its rim.
RgbaImage Lens(int i) {
  return Picture(128, 128, [i](float u, float v) {
    const float dx = u - 0.5f, dy = v - 0.5f;
    const float r = std::hypot(dx, dy) * 2.0f;
    if (r > 1.0f) return Colour(0, 0, 0, 0);
    const float rays = 0.5f + 0.5f * std::cos(std::atan2(dy, dx) * static_cast<float>(i + 3));
    return Hue(i / 16.0f, 0.45f + 0.35f * rays + 0.2f * (1.0f - r), 1.0f);
  });
}

std::vector<GuiPicture> MenuTextures() {
  std::vector<GuiPicture> out;
  out.push_back({"textures/menu/cursor", DdsFormat::A8R8G8B8, CursorArrow()});
  out.push_back({"textures/menu/snow", DdsFormat::A8R8G8B8, Snowflake()});
  out.push_back({"textures/menu/button_up", DdsFormat::A8R8G8B8, ButtonLook(0.12f, 0.22f, 0.55f)});
  out.push_back({"textures/menu/button_over", DdsFormat::A8R8G8B8, ButtonLook(0.95f, 0.55f, 0.1f)});
  out.push_back({"textures/menu/button_down", DdsFormat::A8R8G8B8, ButtonLook(0.15f, 0.6f, 0.2f)});
  out.push_back({"textures/menu/panel", DdsFormat::A8R8G8B8, Picture(32, 32, [](float u, float v) {
                   const float n = 0.04f * std::sin((u + 2.0f * v) * 2.0f * kPi);
                   return Colour(0.05f + n, 0.08f + n, 0.18f + n, 0.85f);
                 })});
  out.push_back({"textures/menu/panel_border", DdsFormat::A8R8G8B8, RgbaImage(8, 8, Colour(0.6f, 0.85f, 1.0f))});
  out.push_back({"textures/menu/black", DdsFormat::A8R8G8B8, RgbaImage(8, 8, Colour(0, 0, 0))});
  constexpr std::array<const char*, 16> kLenses{"single",     "multi",     "fun",      "options",     "credits",
                                                "exit",       "arcade",    "timeattack", "career",    "singlerace",
                                                "back",       "creategame", "joingame", "runtraining", "shoottraining",
                                                "buddygames"};
  for (std::size_t i = 0; i < kLenses.size(); ++i) {
    out.push_back({std::string("textures/menu/lens_") + kLenses[i], DdsFormat::Dxt1, Lens(static_cast<int>(i))});
  }
  return out;
}

bool WriteMenuTextures(datagen::Output& out) {
  std::vector<GuiPicture> pictures = MenuTextures();
  for (GuiPicture& widget : datagen::WidgetPictures()) pictures.push_back(std::move(widget));
  for (GuiPicture& extra : datagen::ExtraPictures()) pictures.push_back(std::move(extra));
  bool ok = true;
  for (const GuiPicture& t : pictures) {
    ok = out.Write("data/" + t.name + ".dds", datagen::EncodeDds(t.picture, {t.format, false})) && ok;
  }
  return ok;
}

const datagen::StepRegistrar kMenu{{"menu", "pictures of the menu's and the widgets' materials", &WriteMenuTextures}};

}  // namespace
