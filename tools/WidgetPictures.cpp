#include "tools/GuiPictures.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace datagen {

namespace {

/// A rounded square of the colour with a light rim and a white arrow pointing in the
/// direction (dx, dy), its tip near that edge.
RgbaImage Arrow(float dx, float dy, float r, float g, float b) {
  return DrawPicture(32, 32, [=](float u, float v) {
    const float x = u - 0.5f, y = v - 0.5f;
    const float edge = std::max(std::fabs(x), std::fabs(y));
    if (edge > 0.47f) return ColourOf(0.9f, 0.95f, 1.0f, 0.95f);
    // Along the arrow (towards its tip) and across it.
    const float along = x * dx + y * dy;
    const float across = std::fabs(x * dy - y * dx);
    const bool head = along > -0.1f && along < 0.3f && across < (0.3f - along) * 0.9f;
    const bool shaft = along > -0.32f && along <= -0.1f && across < 0.08f;
    if (head || shaft) return ColourOf(1.0f, 1.0f, 1.0f);
    const float shade = 1.1f - 0.4f * v;
    return ColourOf(r * shade, g * shade, b * shade, 0.9f);
  });
}

/// A band of the colour, lighter towards its middle, with a thin light line at its top.
RgbaImage Band(int w, int h, float r, float g, float b, float a) {
  return DrawPicture(w, h, [=](float, float v) {
    if (v < 1.0f / h) return ColourOf(0.8f, 0.9f, 1.0f, a);
    const float shade = 0.8f + 0.4f * (1.0f - std::fabs(v - 0.5f) * 2.0f);
    return ColourOf(r * shade, g * shade, b * shade, a);
  });
}

/// The progress fill: green with slanted stripes, so that its repeat shows.
RgbaImage ProgressFill() {
  return DrawPicture(32, 16, [](float u, float v) {
    const bool stripe = std::fmod(u * 2.0f + v, 0.5f) < 0.25f;
    const float shade = stripe ? 1.0f : 0.8f;
    return ColourOf(0.15f * shade, 0.85f * shade, 0.2f * shade);
  });
}

/// A selector item: a disc of the colour on a dark square; the highlight adds a
/// light ring round it.
RgbaImage Item(float r, float g, float b, bool highlight) {
  return DrawPicture(64, 64, [=](float u, float v) {
    const float d = std::hypot(u - 0.5f, v - 0.5f) * 2.0f;
    if (highlight && d > 0.8f && d < 0.95f) return ColourOf(1.0f, 0.95f, 0.6f);
    if (d < 0.7f) return ColourOf(r * (1.2f - d), g * (1.2f - d), b * (1.2f - d));
    return ColourOf(0.05f, 0.08f, 0.18f, 0.9f);
  });
}

}  // namespace

std::vector<GuiPicture> WidgetPictures() {
  std::vector<GuiPicture> out;
  const auto add = [&out](const std::string& name, RgbaImage picture) {
    out.push_back({"textures/gui/" + name, DdsFormat::A8R8G8B8, std::move(picture)});
  };
  struct Direction {
    const char* name;
    float dx, dy;
  };
  for (const Direction& d : std::array<Direction, 4>{{{"up", 0, -1}, {"down", 0, 1}, {"left", -1, 0}, {"right", 1, 0}}}) {
    add(std::string("scroll_") + d.name, Arrow(d.dx, d.dy, 0.12f, 0.22f, 0.55f));
    add(std::string("scroll_") + d.name + "_over", Arrow(d.dx, d.dy, 0.95f, 0.55f, 0.1f));
  }
  add("scroll_bit", Band(16, 16, 0.55f, 0.75f, 1.0f, 1.0f));
  add("scroll_track", RgbaImage(8, 8, ColourOf(0.02f, 0.04f, 0.1f, 0.7f)));
  add("row", Band(64, 16, 0.1f, 0.16f, 0.35f, 0.75f));
  add("row_selected", Band(64, 16, 0.95f, 0.55f, 0.1f, 0.9f));
  add("row_marked", Band(64, 16, 0.4f, 0.4f, 0.4f, 0.75f));
  add("grid_line", RgbaImage(4, 4, ColourOf(0.6f, 0.85f, 1.0f)));
  add("progress_fill", ProgressFill());
  add("progress_back", RgbaImage(8, 8, ColourOf(0.1f, 0.1f, 0.12f, 0.85f)));
  add("edit_frame", DrawPicture(128, 32, [](float u, float v) {
        const bool rim = u < 2.0f / 128 || u > 126.0f / 128 || v < 2.0f / 32 || v > 30.0f / 32;
        return rim ? ColourOf(0.6f, 0.85f, 1.0f) : ColourOf(0.02f, 0.03f, 0.08f, 0.85f);
      }));
  struct ItemLook {
    const char* name;
    float r, g, b;
  };
  for (const ItemLook& i : std::array<ItemLook, 3>{{{"a", 0.9f, 0.2f, 0.2f}, {"b", 0.2f, 0.8f, 0.3f}, {"c", 0.3f, 0.4f, 1.0f}}}) {
    add(std::string("item_") + i.name, Item(i.r, i.g, i.b, false));
    add(std::string("item_") + i.name + "_over", Item(i.r, i.g, i.b, true));
  }
  return out;
}

}  // namespace datagen
