#include "tools/CourseLayout.h"

#include "tools/CourseStraight.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <span>
#include <utility>

namespace course {

namespace {

constexpr float kPi = 3.14159265f;
/// The loops' waypoints are drawn for a stadium straight that ends at kDrawnExit on its
/// line; Stretched moves them onto the straight as it is (tools/CourseStraight.h).
constexpr float kDrawnExit = 10600.0f;
/// The flat ground around the stadium, in its frame, beyond the straight's end, and the
/// width over which the hills rise beyond it.
constexpr float kFlatMinX = -1500.0f, kFlatBeyondExit = 1200.0f, kFlatHalfY = 3000.0f;
constexpr float kHillRise = 2500.0f;

float SmoothStep(float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

/// The loop of "Beitostolen": it leaves the stadium eastwards, turns north, runs back
/// west over the hills and comes down into the stadium, turning left all the way. A
/// skier who holds forward only slides along the outer side of each bend and is on that
/// side when the next one comes; the first bend, which he meets from anywhere across the
/// track, turns gently at first (about 20 degrees in 3,500 units) before it tightens. The
/// arcade short cut leaves the east side and rejoins on the west, turning left too. The
/// last bend is a circle's arc that ends on the straight's line 600 units before the
/// stadium: a skier who holds forward comes off its outer side into the stadium facing
/// the range ahead, and the range's wide entry meets the loop's last cross-section square.
constexpr Vec2 kNorthLoop[] = {{11600, 0},    {12590, 40},   {13580, 180},  {14520, 490},  {15240, 1170}, {15430, 2130},
                               {15360, 3120}, {15260, 4120}, {14950, 5050}, {14170, 5650}, {13190, 5820}, {12200, 5910},
                               {11200, 5980}, {10210, 6030}, {9210, 6070},  {8210, 6090},  {7220, 6100},  {6220, 6090},
                               {5220, 6060},  {4230, 6010},  {3230, 5950},  {2240, 5880},  {1240, 5790},  {250, 5680},
                               {-730, 5510},  {-1560, 5000}, {-1940, 4090}, {-2020, 3090}, {-2050, 2100}, {-2050, 1450}, {-1940, 895},
                               {-1625, 425}, {-1155, 110}, {-600, 0}, {-300, 0}};
constexpr Vec2 kNorthShortCut[] = {{15300, 3130}, {14640, 3870}, {13700, 4260}, {12710, 4470}, {11700, 4610},
                                   {10690, 4710}, {9680, 4770},  {8660, 4820},  {7640, 4840},  {6630, 4850},
                                   {5610, 4840},  {4600, 4820},  {3580, 4780},  {2570, 4710},  {1560, 4620},
                                   {550, 4480},   {-440, 4270},  {-1380, 3890}, {-1990, 3110}};
constexpr int kNorthShortCutFrom = 5;
constexpr int kNorthShortCutTo = 28;

/// The stadium straight's end: where the loop leaves it.
Vec2 Exit() { return StadiumStraight().stops.back().station.point; }

/// A waypoint drawn for the straight's end at (kDrawnExit, 0) on the straight as it is:
/// the stretch beyond the stadium's entry lengthened evenly, the rest moved on. The
/// first bend's waypoints, the first kBendPoints of a loop, are raised or lowered to the
/// exit's side, the last of them half as much: the bend starts along the straight.
constexpr std::size_t kBendPoints = 5;
Vec2 Stretched(Vec2 p, float lift = 0.0f) {
  if (p.x <= 0.0f) return p;
  const Vec2 exit = Exit();
  return {p.x + (exit.x - kDrawnExit) * std::min(p.x / kDrawnExit, 1.0f), p.y + exit.y * lift};
}

/// The points, or their mirror images across the stadium straight (the loop on the
/// other side), stretched onto the straight; a loop's first bend lifted to its exit.
std::vector<Vec2> Points(std::span<const Vec2> points, bool mirrored = false, bool loop = false) {
  std::vector<Vec2> out;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const float lift = !loop || i >= kBendPoints ? 0.0f : (i + 1 == kBendPoints ? 0.5f : 1.0f);
    out.push_back(Stretched({points[i].x, mirrored ? -points[i].y : points[i].y}, lift));
  }
  return out;
}

/// Seeds and hill heights give each lap, with the arcade short cut and without, a climb
/// and a descent of 15 to 18% at their steepest (the herringbone up, the tuck down).
std::vector<Layout> MakeLayouts() {
  Layout north;
  north.name = "Beitostolen";
  north.frame = {{-5300.0f, -2000.0f}, 0.0f};
  north.loop = Points(kNorthLoop, false, true);
  north.shortCutFrom = kNorthShortCutFrom;
  north.shortCutTo = kNorthShortCutTo;
  north.shortCut = Points(kNorthShortCut);
  north.hillHeight = 238.5f;
  north.seed = 498;
  north.sunAzimuth = 0.6f;

  // The same loop turning right, south of the stadium.
  Layout south;
  south.name = "Holmenkollen";
  south.frame = {{4200.0f, 1800.0f}, kPi * 200.0f / 180.0f};
  south.loop = Points(kNorthLoop, true, true);
  south.shortCutFrom = kNorthShortCutFrom;
  south.shortCutTo = kNorthShortCutTo;
  south.shortCut = Points(kNorthShortCut, true);
  south.hillHeight = 214.75f;
  south.seed = 794;
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
constexpr Variant kVariants[] = {{"Ostersund", 0, 426, 238.25f},  {"Oberhof", 1, 434, 222.25f},
                                 {"Ruhpolding", 0, 831, 234.5f},  {"Antholz", 1, 880, 219.75f},
                                 {"Torino", 0, 649, 237.5f},      {"Pokljuka", 1, 656, 239.25f},
                                 {"Hochfilzen", 0, 872, 236.5f},  {"Khanty-Mansiysk", 1, 475, 216.75f}};

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
  // Like Beitostolen's loop (left all the way, the first bend gently at first, the last
  // one ending on the straight's line), with a lower top; the short cut cuts the
  // north-east corner.
  layout.loop = Points(std::vector<Vec2>{{11610, 0},    {12610, 40},   {13610, 190},  {14560, 510},  {15260, 1210}, {15430, 2180},
                 {15290, 3180}, {14660, 3940}, {13690, 4190}, {12700, 4320}, {11700, 4420}, {10690, 4520},
                 {9690, 4590},  {8680, 4650},  {7680, 4690},  {6670, 4720},  {5670, 4730},  {4660, 4720},
                 {3650, 4700},  {2650, 4660},  {1640, 4610},  {640, 4540},   {-360, 4440},  {-1280, 4070},
                 {-1740, 3190}, {-1790, 1790}, {-1790, 1190}, {-1699, 735}, {-1441, 349}, {-1055, 91}, {-600, 0}, {-300, 0}},
                       false, true);
  layout.shortCutFrom = 5;
  layout.shortCutTo = 10;
  layout.shortCut = Points(std::vector<Vec2>{{15190, 3080}, {14420, 3620}, {13550, 4010}, {12640, 4280}});
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
  const float outX = std::max(kFlatMinX - local.x, local.x - (Exit().x + kFlatBeyondExit));
  const float outY = std::fabs(local.y) - kFlatHalfY;
  // The distance from the flat rectangle, rounded at its corners: a track that passes
  // a corner rises without a crease.
  const float outside = outX > 0.0f && outY > 0.0f ? std::hypot(outX, outY) : std::max(outX, outY);
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
