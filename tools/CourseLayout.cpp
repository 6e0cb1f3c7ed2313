#include "tools/CourseLayout.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

namespace course {

namespace {

constexpr float kPi = 3.14159265f;
/// The flat ground around the stadium, in its frame, and the width over which the
/// hills rise beyond it.
constexpr float kFlatMinX = -1500.0f, kFlatMaxX = 11800.0f, kFlatHalfY = 3000.0f;
constexpr float kHillRise = 2500.0f;

float SmoothStep(float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

/// Seeds and hill heights give each lap, with the arcade short cut and without, a climb
/// and a descent of 15 to 18% at their steepest (the herringbone up, the tuck down).
std::vector<Layout> MakeLayouts() {
  Layout north;
  north.name = "Beitostolen";
  north.frame = {{-5300.0f, -2000.0f}, 0.0f};
  north.loop = {{12200, 1500}, {12000, 4000}, {9000, 5600}, {7500, 8600}, {2500, 8800},
                {0, 5600},     {-2400, 3700}, {-2600, 1400}, {-1300, 200}};
  north.shortCutFrom = 2;  // waypoint (9000, 5600)
  north.shortCutTo = 5;    // waypoint (0, 5600)
  north.hillHeight = 231.0f;
  north.seed = 637;
  north.sunAzimuth = 0.6f;

  Layout south;
  south.name = "Holmenkollen";
  south.frame = {{4200.0f, 1800.0f}, kPi * 200.0f / 180.0f};
  south.loop = {{12300, -1400}, {12200, -4600}, {8500, -5800}, {6800, -8800}, {2000, -8800},
                {0, -5800},     {-2600, -3600}, {-2700, -1300}, {-1300, -150}};
  south.shortCutFrom = 2;  // waypoint (8500, -5800)
  south.shortCutTo = 5;    // waypoint (0, -5800)
  south.hillHeight = 225.0f;
  south.seed = 627;
  south.sunAzimuth = 2.4f;
  return {north, south};
}

/// A race level of rows 2 to 9 of the full level table: the name, the sample layout
/// whose plan it takes (0 "Beitostolen", 1 "Holmenkollen"), the seed of its hills and
/// trees and the height of its hills. Seed and height are chosen so that its lap, with
/// the arcade short cut and without, climbs and descends steeply enough (15 to 18% at
/// the steepest) that the field climbs in the herringbone at about half its speed on
/// the flat and runs down in the tuck at half as fast again.
struct Variant {
  const char* name;
  std::size_t layout;
  std::uint32_t seed;
  float hillHeight;
};
constexpr Variant kVariants[] = {{"Ostersund", 0, 437, 210.0f}, {"Oberhof", 1, 582, 213.75f},
                                 {"Ruhpolding", 0, 397, 231.0f}, {"Antholz", 1, 545, 247.5f},
                                 {"Torino", 0, 319, 220.5f},     {"Pokljuka", 1, 404, 236.25f},
                                 {"Hochfilzen", 0, 542, 220.5f}, {"Khanty-Mansiysk", 1, 36, 213.75f}};

std::vector<Layout> MakeVariants() {
  std::vector<Layout> variants;
  for (const Variant& v : kVariants) {
    Layout variant = Layouts()[v.layout];
    variant.name = v.name;
    variant.seed = v.seed;
    variant.hillHeight = v.hillHeight;
    variant.sunAzimuth += 0.7f * static_cast<float>(variants.size());
    variants.push_back(std::move(variant));
  }
  return variants;
}

Layout MakeRunning() {
  Layout layout;
  layout.name = "Running";
  layout.frame = {{-1200.0f, 5200.0f}, kPi * 90.0f / 180.0f};
  layout.loop = {{12200, 1500}, {11800, 3900}, {8800, 5000}, {4800, 5400},
                 {800, 4900},   {-2300, 3400}, {-2600, 1400}, {-1300, 200}};
  layout.shortCutFrom = 2;  // waypoint (8800, 5000)
  layout.shortCutTo = 4;    // waypoint (800, 4900)
  layout.hillHeight = 90.0f;
  layout.seed = 37;
  layout.sunAzimuth = 1.4f;
  return layout;
}

}  // namespace

Vec2 Frame::Point(Vec2 local) const { return origin + Direction(local); }

Vec2 Frame::Direction(Vec2 local) const {
  const float c = std::cos(angle), s = std::sin(angle);
  return {c * local.x - s * local.y, s * local.x + c * local.y};
}

Vec2 Frame::Local(Vec2 world) const {
  const Vec2 d = world - origin;
  const float c = std::cos(angle), s = std::sin(angle);
  return {c * d.x + s * d.y, -s * d.x + c * d.y};
}

const std::vector<Layout>& Layouts() {
  static const std::vector<Layout> layouts = MakeLayouts();
  return layouts;
}

const std::vector<Layout>& VariantLayouts() {
  static const std::vector<Layout> variants = MakeVariants();
  return variants;
}

const Layout& RunningLayout() {
  static const Layout running = MakeRunning();
  return running;
}

const Layout* FindLayout(std::string_view name) {
  const auto same = [name](const Layout& layout) {
    return layout.name.size() == name.size() &&
           std::equal(name.begin(), name.end(), layout.name.begin(), [](char a, char b) {
             return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
  };
  for (const std::vector<Layout>* layouts : {&Layouts(), &VariantLayouts()}) {
    for (const Layout& layout : *layouts) {
      if (same(layout)) return &layout;
    }
  }
  return same(RunningLayout()) ? &RunningLayout() : nullptr;
}

Terrain::Terrain(const Layout& layout) : m_frame(layout.frame), m_amplitude(layout.hillHeight) {
  for (int i = 0; i < 3; ++i) m_phase[i] = float((layout.seed * (i + 3) * 7919u) % 628u) * 0.01f;
}

float Terrain::Height(Vec2 world) const {
  const Vec2 local = m_frame.Local(world);
  const float outX = std::max(kFlatMinX - local.x, local.x - kFlatMaxX);
  const float outY = std::fabs(local.y) - kFlatHalfY;
  const float outside = std::max(outX, outY);
  const float rise = SmoothStep(outside / kHillRise);
  if (rise <= 0.0f) return 0.0f;
  constexpr float k1 = 2 * kPi / 9000.0f, k2 = 2 * kPi / 11000.0f, k3 = 2 * kPi / 6500.0f;
  const float hills = 0.6f * std::sin(world.x * k1 + m_phase[0]) * std::cos(world.y * k2 + m_phase[1]) +
                      0.4f * std::sin((world.x + world.y) * k3 + m_phase[2]) + 0.5f;
  return m_amplitude * rise * hills;
}

N_Vector3 Terrain::Normal(Vec2 world) const {
  constexpr float d = 20.0f;
  const float dx = Height(world + Vec2{d, 0}) - Height(world - Vec2{d, 0});
  const float dy = Height(world + Vec2{0, d}) - Height(world - Vec2{0, d});
  N_Vector3 n{-dx, -dy, 2.0f * d};
  n.Normalize();
  return n;
}

}  // namespace course
