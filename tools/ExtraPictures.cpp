#include "tools/GuiPictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace datagen {

namespace {

/// The track map: snow with a darker loop of track round it and a start line.
RgbaImage TrackMap() {
  return DrawPicture(128, 64, [](float u, float v) {
    const float dx = (u - 0.5f) / 0.42f, dy = (v - 0.5f) / 0.38f;
    const float r = std::hypot(dx, dy);
    // The loop pinched in the middle, so that it reads as a course, not a ring.
    const float pinch = 1.0f - 0.25f * std::exp(-dx * dx * 6.0f);
    if (std::fabs(r - pinch) < 0.07f) return ColourOf(0.15f, 0.2f, 0.45f);
    if (std::fabs(u - 0.5f) < 0.01f && v > 0.82f) return ColourOf(0.8f, 0.1f, 0.1f);
    return ColourOf(0.88f, 0.92f, 0.97f, 0.95f);
  });
}

/// A racer's mark: a disc of the colour with a dark rim.
RgbaImage Mark(float r, float g, float b) {
  return DrawPicture(16, 16, [=](float u, float v) {
    const float d = std::hypot(u - 0.5f, v - 0.5f) * 2.0f;
    if (d > 1.0f) return ColourOf(0, 0, 0, 0);
    if (d > 0.75f) return ColourOf(0.05f, 0.05f, 0.1f);
    return ColourOf(r, g, b);
  });
}

/// Whether (u, v) lies inside a standing skier's silhouette: head, body, legs, poles.
bool InSkier(float u, float v) {
  const bool head = std::hypot((u - 0.5f) * 2.0f, v - 0.12f) < 0.08f;
  const bool body = v > 0.2f && v < 0.55f && std::fabs(u - 0.5f) < 0.12f - (v - 0.2f) * 0.08f;
  const bool legs = v >= 0.55f && v < 0.92f && std::fabs(std::fabs(u - 0.5f) - 0.05f - (v - 0.55f) * 0.1f) < 0.045f;
  const bool skis = v >= 0.92f && v < 0.95f && std::fabs(u - 0.5f) < 0.4f;
  const bool poles = v > 0.3f && v < 0.9f && std::fabs(std::fabs(u - 0.5f) - 0.2f - (v - 0.3f) * 0.15f) < 0.015f;
  return head || body || legs || skis || poles;
}

/// The figure: the silhouette in white, so that the element's tint gives its colour.
RgbaImage Figure() {
  return DrawPicture(64, 128, [](float u, float v) { return InSkier(u, v) ? ColourOf(1, 1, 1) : ColourOf(0, 0, 0, 0); });
}

/// The outline: white where the silhouette meets its surroundings.
RgbaImage Outline() {
  constexpr float du = 1.5f / 64.0f, dv = 1.5f / 128.0f;
  return DrawPicture(64, 128, [](float u, float v) {
    const bool in = InSkier(u, v);
    const bool edge = in != InSkier(u - du, v) || in != InSkier(u + du, v) || in != InSkier(u, v - dv) ||
                      in != InSkier(u, v + dv);
    return edge ? ColourOf(1, 1, 1) : ColourOf(0, 0, 0, 0);
  });
}

/// A scroller's arrow: a light triangle pointing left or right on a round dark button;
/// the look under the mouse glows orange.
RgbaImage ScrollerArrow(bool left, bool over) {
  return DrawPicture(32, 32, [=](float u, float v) {
    const float x = left ? 1.0f - u : u;
    const float d = std::hypot(u - 0.5f, v - 0.5f) * 2.0f;
    if (d > 1.0f) return ColourOf(0, 0, 0, 0);
    const bool head = x > 0.3f && x < 0.72f && std::fabs(v - 0.5f) < (0.72f - x) * 0.9f;
    if (head) return over ? ColourOf(1.0f, 0.8f, 0.3f) : ColourOf(0.9f, 0.95f, 1.0f);
    return over ? ColourOf(0.6f, 0.3f, 0.05f, 0.95f) : ColourOf(0.1f, 0.16f, 0.35f, 0.95f);
  });
}

/// A scroller item: a disc of the colour with a number of stripes; the highlight adds
/// a light frame.
RgbaImage ScrollerItem(float r, float g, float b, int stripes, bool highlight) {
  return DrawPicture(64, 64, [=](float u, float v) {
    const bool frame = u < 0.06f || u > 0.94f || v < 0.06f || v > 0.94f;
    if (frame) return highlight ? ColourOf(1.0f, 0.95f, 0.6f) : ColourOf(0.05f, 0.08f, 0.18f, 0.9f);
    const float d = std::hypot(u - 0.5f, v - 0.5f) * 2.0f;
    if (d > 0.8f) return ColourOf(0.05f, 0.08f, 0.18f, 0.9f);
    const bool stripe = std::fmod(v * static_cast<float>(stripes) * 2.0f, 2.0f) < 1.0f;
    const float shade = stripe ? 1.0f : 0.7f;
    return ColourOf(r * shade, g * shade, b * shade);
  });
}

}  // namespace

std::vector<GuiPicture> ExtraPictures() {
  std::vector<GuiPicture> out;
  const auto add = [&out](const std::string& name, RgbaImage picture) {
    out.push_back({"textures/gui/" + name, DdsFormat::A8R8G8B8, std::move(picture)});
  };
  add("map", TrackMap());
  add("mark", Mark(0.85f, 0.1f, 0.1f));
  add("mark_player", Mark(1.0f, 0.85f, 0.1f));
  add("figure", Figure());
  add("figure_outline", Outline());
  add("scroller_left", ScrollerArrow(true, false));
  add("scroller_left_over", ScrollerArrow(true, true));
  add("scroller_right", ScrollerArrow(false, false));
  add("scroller_right_over", ScrollerArrow(false, true));
  struct ItemLook {
    const char* name;
    float r, g, b;
  };
  const std::array<ItemLook, 5> items{{{"1", 0.9f, 0.2f, 0.2f},
                                       {"2", 0.2f, 0.8f, 0.3f},
                                       {"3", 0.3f, 0.4f, 1.0f},
                                       {"4", 0.9f, 0.8f, 0.2f},
                                       {"5", 0.7f, 0.3f, 0.9f}}};
  for (std::size_t i = 0; i < items.size(); ++i) {
    const ItemLook& it = items[i];
    const int stripes = static_cast<int>(i) + 1;
    add(std::string("scroller_item") + it.name, ScrollerItem(it.r, it.g, it.b, stripes, false));
    add(std::string("scroller_item") + it.name + "_over", ScrollerItem(it.r, it.g, it.b, stripes, true));
  }
  return out;
}

}  // namespace datagen
