#include "tools/RacePictures.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace datagen {

namespace {

constexpr float kPi = 3.14159265f;

struct Colour3 {
  float r, g, b;
};

/// A flag: three stripes, top to bottom (or left to right when vertical).
struct Flag {
  const char* code;
  bool vertical;
  Colour3 stripes[3];
};

constexpr Colour3 kBlack{0.05f, 0.05f, 0.05f}, kRed{0.85f, 0.1f, 0.12f}, kGold{1.0f, 0.8f, 0.0f},
    kWhite{0.97f, 0.97f, 0.97f}, kBlue{0.0f, 0.22f, 0.6f}, kNavy{0.0f, 0.13f, 0.4f}, kSky{0.45f, 0.7f, 0.9f},
    kGreen{0.0f, 0.55f, 0.25f}, kYellow{1.0f, 0.85f, 0.1f}, kMaroon{0.6f, 0.1f, 0.15f}, kSwedish{0.0f, 0.35f, 0.6f};

constexpr std::array<Flag, 32> kFlags{{
    {"GER", false, {kBlack, kRed, kGold}},   {"AUT", false, {kRed, kWhite, kRed}},
    {"SUI", true, {kRed, kWhite, kRed}},     {"USA", false, {kBlue, kWhite, kRed}},
    {"FRA", true, {kBlue, kWhite, kRed}},    {"ROM", true, {kBlue, kYellow, kRed}},
    {"GRL", false, {kWhite, kRed, kRed}},    {"ARG", false, {kSky, kWhite, kSky}},
    {"MDA", true, {kNavy, kGold, kRed}},     {"GRE", false, {kBlue, kWhite, kBlue}},
    {"ITA", true, {kGreen, kWhite, kRed}},   {"NZL", false, {kNavy, kRed, kNavy}},
    {"HUN", false, {kRed, kWhite, kGreen}},  {"LTU", false, {kYellow, kGreen, kRed}},
    {"CRO", false, {kRed, kWhite, kBlue}},   {"CHI", false, {kWhite, kWhite, kRed}},
    {"AUS", false, {kNavy, kWhite, kNavy}},  {"BUL", false, {kWhite, kGreen, kRed}},
    {"CAN", true, {kRed, kWhite, kRed}},     {"BLR", false, {kRed, kRed, kGreen}},
    {"CZE", false, {kWhite, kBlue, kRed}},   {"EST", false, {kBlue, kBlack, kWhite}},
    {"FIN", false, {kWhite, kBlue, kWhite}}, {"GBR", true, {kNavy, kRed, kNavy}},
    {"LAT", false, {kMaroon, kWhite, kMaroon}}, {"NOR", true, {kRed, kNavy, kRed}},
    {"POL", false, {kWhite, kRed, kRed}},    {"RUS", false, {kWhite, kBlue, kRed}},
    {"SLO", false, {kWhite, kBlue, kRed}},   {"SVK", false, {kWhite, kBlue, kRed}},
    {"SWE", false, {kSwedish, kYellow, kSwedish}}, {"UKR", false, {kBlue, kYellow, kYellow}},
}};

Rgba Opaque(const Colour3& c) { return ColourOf(c.r, c.g, c.b); }

/// A 3 x 5 digit: bit 2 of each row is its left column.
constexpr std::array<std::array<std::uint8_t, 5>, 10> kDigits{{
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
}};

/// The penalty count: a white digit on a dark red square.
RgbaImage Penalty(int digit) {
  return DrawPicture(32, 32, [digit](float u, float v) {
    const int column = static_cast<int>((u - 0.25f) / 0.5f * 3.0f);
    const int row = static_cast<int>((v - 0.15f) / 0.7f * 5.0f);
    const bool inside = u >= 0.25f && u < 0.75f && v >= 0.15f && v < 0.85f && column < 3 && row < 5;
    if (inside && (kDigits[std::size_t(digit)][std::size_t(row)] >> (2 - column) & 1)) return ColourOf(1, 1, 1);
    return ColourOf(0.45f, 0.05f, 0.05f, 0.9f);
  });
}

/// Five cartridge places from left to right, the first `count` filled with brass.
RgbaImage Bullets(int count) {
  return DrawPicture(128, 32, [count](float u, float v) {
    const int slot = std::min(static_cast<int>(u * 5.0f), 4);
    const float x = u * 5.0f - float(slot);  // across the slot
    const bool body = std::fabs(x - 0.5f) < 0.22f && v > 0.3f && v < 0.92f;
    const bool tip = std::fabs(x - 0.5f) < 0.22f * (v - 0.08f) / 0.22f && v > 0.08f && v <= 0.3f;
    if (!body && !tip) return ColourOf(0, 0, 0, 0);
    if (slot >= count) return ColourOf(0.3f, 0.3f, 0.3f, 0.5f);
    return tip ? ColourOf(0.75f, 0.5f, 0.3f) : ColourOf(0.85f, 0.7f, 0.25f);
  });
}

/// A round target: white when hit, black with a white ring when missed.
RgbaImage Target(bool hit) {
  return DrawPicture(32, 32, [hit](float u, float v) {
    const float d = std::hypot(u - 0.5f, v - 0.5f) * 2.0f;
    if (d > 0.95f) return ColourOf(0, 0, 0, 0);
    if (hit) return ColourOf(0.97f, 0.97f, 0.97f);
    return d > 0.8f ? ColourOf(0.9f, 0.9f, 0.9f) : ColourOf(0.05f, 0.05f, 0.05f);
  });
}

RgbaImage Weather(int kind) {
  return DrawPicture(64, 64, [kind](float u, float v) {
    const float x = u - 0.5f, y = v - 0.5f, d = std::hypot(x, y) * 2.0f;
    switch (kind) {
      case 0:  // sunny: a sun with rays on blue
        if (d < 0.45f) return ColourOf(1.0f, 0.85f, 0.1f);
        if (d < 0.8f && std::fmod(std::atan2(y, x) / kPi * 4.0f + 8.0f, 1.0f) < 0.35f) return ColourOf(1.0f, 0.7f, 0.1f);
        return ColourOf(0.3f, 0.55f, 0.9f);
      case 1:  // snowing: flakes on grey
        return std::fmod(u * 4.0f + v * 2.0f, 1.0f) < 0.2f && std::fmod(v * 4.0f, 1.0f) < 0.2f
                   ? ColourOf(1, 1, 1)
                   : ColourOf(0.45f, 0.5f, 0.58f);
      case 2:  // foggy: grey bands
        return std::fmod(v * 5.0f, 1.0f) < 0.5f ? ColourOf(0.75f, 0.77f, 0.8f) : ColourOf(0.55f, 0.57f, 0.62f);
      case 3:  // dry snow: white with sparkles
        return std::fmod(u * 7.0f + v * 3.0f, 1.0f) < 0.1f ? ColourOf(0.7f, 0.85f, 1.0f) : ColourOf(0.97f, 0.97f, 1.0f);
      case 4:  // wet snow: blue drops on grey-white
        return std::hypot(std::fmod(u * 3.0f, 1.0f) - 0.5f, std::fmod(v * 3.0f, 1.0f) - 0.5f) < 0.2f
                   ? ColourOf(0.2f, 0.45f, 0.85f)
                   : ColourOf(0.82f, 0.85f, 0.88f);
      default:  // ice: light cyan with cracks
        return std::fabs(std::fmod(u * 2.0f + v * 1.3f, 1.0f) - 0.5f) < 0.03f ? ColourOf(1, 1, 1)
                                                                              : ColourOf(0.6f, 0.88f, 0.95f);
    }
  });
}

RgbaImage Stopwatch() {
  return DrawPicture(32, 32, [](float u, float v) {
    const float x = u - 0.5f, y = v - 0.55f, d = std::hypot(x, y) * 2.0f;
    if (v < 0.12f && std::fabs(x) < 0.08f) return ColourOf(0.8f, 0.8f, 0.8f);  // the crown
    if (d > 0.85f) return ColourOf(0, 0, 0, 0);
    if (d > 0.72f) return ColourOf(0.8f, 0.8f, 0.8f);
    const bool hand = (std::fabs(x) < 0.04f && y < 0.0f && y > -0.3f) || (std::fabs(y) < 0.04f && x > 0.0f && x < 0.22f);
    return hand ? ColourOf(0.05f, 0.05f, 0.05f) : ColourOf(1, 1, 1);
  });
}

}  // namespace

Rgba FlagColour(const std::string& code, float u, float v) {
  for (const Flag& flag : kFlags) {
    if (code != flag.code) continue;
    const float along = flag.vertical ? u : v;
    return Opaque(flag.stripes[std::size_t(std::clamp(static_cast<int>(along * 3.0f), 0, 2))]);
  }
  return {};
}

RgbaImage PlainMap() {
  return DrawPicture(256, 256, [](float u, float v) {
    const float edge = std::min(std::min(u, 1.0f - u), std::min(v, 1.0f - v));
    if (edge < 0.02f) return ColourOf(0.6f, 0.85f, 1.0f, 0.9f);
    return ColourOf(0.9f, 0.93f, 0.97f, 0.75f);
  });
}

std::vector<GuiPicture> RacePictures() {
  std::vector<GuiPicture> out;
  const auto add = [&out](const std::string& name, RgbaImage picture) {
    out.push_back({"textures/" + name, DdsFormat::A8R8G8B8, std::move(picture)});
  };
  add("hud/frame", RgbaImage(8, 8, ColourOf(0.02f, 0.05f, 0.12f, 0.6f)));
  add("hud/power", DrawPicture(32, 8, [](float, float v) { return ColourOf(1.0f, 0.45f + 0.3f * v, 0.05f); }));
  add("hud/power_back", RgbaImage(8, 8, ColourOf(0.15f, 0.08f, 0.02f, 0.8f)));
  add("hud/cond", DrawPicture(32, 8, [](float, float v) { return ColourOf(0.1f, 0.75f + 0.2f * v, 0.6f); }));
  add("hud/cond_back", RgbaImage(8, 8, ColourOf(0.02f, 0.1f, 0.15f, 0.8f)));
  add("hud/mark", RgbaImage(8, 8, ColourOf(1.0f, 0.9f, 0.1f)));
  add("hud/playermark", RgbaImage(8, 8, ColourOf(1.0f, 0.1f, 0.1f)));
  add("hud/red_flash", DrawPicture(64, 64, [](float u, float v) {
        const float edge = std::min(std::min(u, 1.0f - u), std::min(v, 1.0f - v));
        return ColourOf(1.0f, 0.05f, 0.05f, edge < 0.1f ? 0.8f : 0.25f);
      }));
  add("hud/stopwatch", Stopwatch());
  for (int n = 0; n <= 5; ++n) add("hud/bullets" + std::to_string(n), Bullets(n));
  for (int n = 0; n <= 8; ++n) add("hud/penalty" + std::to_string(n), Penalty(n));
  add("hud/hit", Target(true));
  add("hud/miss", Target(false));
  for (const char* code : kNationCodes) {
    std::string lower = code;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    add("flags/" + lower, DrawPicture(64, 32, [code](float u, float v) { return FlagColour(code, u, v); }));
  }
  constexpr std::array<const char*, 6> kIcons{"sunny", "snowy", "foggy", "dry", "wet", "ice"};
  for (std::size_t i = 0; i < kIcons.size(); ++i) add(std::string("menu/") + kIcons[i], Weather(static_cast<int>(i)));
  return out;
}

}  // namespace datagen
