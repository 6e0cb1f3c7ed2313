// Waves and the texture transform of the texture-coordinate modifiers: pure functions
// of the time.
#include "render/TexCoordTransform.h"
#include "render/Wave.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr float kPi = 3.14159265f;

TEST(Wave, FunctionsFollowTheirFormulas) {
  // function, base, amplitude, phase, frequency; the time; the value.
  struct Case {
    float wave[5];
    float time;
    float value;
  };
  const Case cases[] = {
      {{4, 0, 1, 0, 1}, 1.25f, 0.25f},              // sawtooth
      {{4, 0, 1, 0, 1}, 1.0f, 1.0f},                // f is 1 at an odd whole x ...
      {{4, 0, 1, 0, 1}, 2.0f, 0.0f},                // ... and 0 at an even one
      {{4, 0, 1, 0, 1}, 3.0f, 1.0f},
      {{5, 0, 1, 0, 1}, 1.25f, 0.75f},              // inverse sawtooth
      {{1, 0.5f, 2, 0, 1}, 0.25f, 2.5f},            // sine, a quarter period
      {{1, 0.5f, 2, 0.25f, 1}, 0.0f, 2.5f},         // the phase shifts it
      {{2, 0, 1, 0, 1}, 0.25f, 0.0f},               // triangle: 4f - 1 below one half
      {{2, 0, 1, 0, 1}, 0.0f + 0.125f, -0.5f},
      {{2, 0, 1, 0, 1}, 0.75f, 0.0f},               // 3 - 4f from one half
      {{2, 0, 1, 0, 1}, 0.625f, 0.5f},
      {{3, 1, 2, 0, 0.5f}, 0.5f, 3.0f},             // square: base + amplitude, first half
      {{3, 1, 2, 0, 0.5f}, 1.5f, -1.0f},            // base - amplitude, second half
      {{3, 1, 2, 0, 0.5f}, 2.5f, 3.0f},             // and the next period again
      {{0, 1, 2, 0, 1}, 0.5f, 2.0f},                // const and unknown codes: sawtooth
      {{9, 1, 2, 0, 1}, 0.25f, 1.5f},
      {{3.4f, 1, 2, 0, 1}, 0.75f, -1.0f},           // the nearest code: 3, square
      {{4, 0, 1, 0, 2}, 0.375f, 0.75f},             // the frequency scales the time
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(EvaluateWaveAt(c.wave, c.time), c.value, 1e-5f)
        << "function " << c.wave[0] << " at " << c.time;
  }
}

struct Uv {
  float u, v;
};

Uv Apply(const N_TexMatrix& m, Uv in) {
  return {in.u * m[0] + in.v * m[3] + m[6], in.u * m[1] + in.v * m[4] + m[7]};
}

N_ShaderTcMod Mod(TcModType type, std::vector<float> values) {
  N_ShaderTcMod mod;
  mod.type = type;
  mod.count = std::int32_t(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) mod.values[i] = values[i];
  return mod;
}

void ExpectUv(const N_TexMatrix& m, Uv in, Uv out, const char* what) {
  const Uv got = Apply(m, in);
  EXPECT_NEAR(got.u, out.u, 1e-4f) << what;
  EXPECT_NEAR(got.v, out.v, 1e-4f) << what;
}

TEST(TexMods, ComposeRotateThenScrollThenScaleAboutTheCentre) {
  using T = TcModType;
  // Each modifier alone.
  ExpectUv(ComposeTexMods(std::vector{Mod(T::Scroll, {0.5f, 0.25f})}, 1.0f), {0, 0}, {0.5f, 0.25f}, "scroll");
  ExpectUv(ComposeTexMods(std::vector{Mod(T::Scale, {2, 4})}, 7.0f), {0.5f, 0.5f}, {0.5f, 0.5f}, "scale centre");
  ExpectUv(ComposeTexMods(std::vector{Mod(T::Scale, {2, 4})}, 7.0f), {1, 1}, {1.5f, 2.5f}, "scale corner");
  // rotate 90 / (3.14 / 180 x 180 / pi) degrees a second turns a quarter in one second.
  const float quarter = 90.0f * (kPi / 180.0f) / 0.017444445f;
  ExpectUv(ComposeTexMods(std::vector{Mod(T::Rotate, {quarter})}, 1.0f), {0.5f, 0.5f}, {0.5f, 0.5f}, "rotation centre");
  ExpectUv(ComposeTexMods(std::vector{Mod(T::Rotate, {quarter})}, 1.0f), {1, 0.5f}, {0.5f, 1.0f}, "rotation edge");

  // Script order does not matter: rotate, then scroll, then scale.
  const std::vector mods{Mod(T::Scale, {2, 2}), Mod(T::Scroll, {0.25f, 0}), Mod(T::Rotate, {quarter})};
  // (1, 0.5) -> rotated (0.5, 1) -> scrolled (0.75, 1) -> scaled about 0.5: (1, 1.5).
  ExpectUv(ComposeTexMods(mods, 1.0f), {1, 0.5f}, {1.0f, 1.5f}, "all three");
}

TEST(TexMods, LaterScalesReplaceEarlierOnesAndSomeCountAsNone) {
  using T = TcModType;
  const N_TexMatrix identity{1, 0, 0, 0, 1, 0, 0, 0, 1};
  // A later scale, stretch or turb replaces an earlier one.
  ExpectUv(ComposeTexMods(std::vector{Mod(T::Scale, {4, 4}), Mod(T::Scale, {2, 2})}, 0.0f), {1, 1}, {1.5f, 1.5f},
           "scale after scale");
  // stretch with a const wave of value 0.5 scales by 2.
  ExpectUv(ComposeTexMods(std::vector{Mod(T::Scale, {4, 4}), Mod(T::Stretch, {0, 0.5f, 0, 0, 0})}, 0.0f), {1, 1},
           {1.5f, 1.5f}, "stretch after scale");
  // turb at time 0: 1 + base / 2 on s, 1 + (base + amplitude sin(phase)) / 2 on t.
  ExpectUv(ComposeTexMods(std::vector{Mod(T::Scale, {4, 4}), Mod(T::Turb, {2, 2, kPi / 2, 1})}, 0.0f), {1, 1},
           {1.5f, 2.0f}, "turb after scale");
  // No effect: transform; scale (0, 0); a stretch whose wave is 0; scroll (0, 0).
  EXPECT_EQ(ComposeTexMods(std::vector{Mod(T::Transform, {2, 0, 0, 2, 0.5f, 0.5f})}, 3.0f), identity);
  EXPECT_EQ(ComposeTexMods(std::vector{Mod(T::Scale, {0, 0})}, 3.0f), identity);
  EXPECT_EQ(ComposeTexMods(std::vector{Mod(T::Stretch, {0, 0, 0, 0, 0})}, 3.0f), identity);
  EXPECT_EQ(ComposeTexMods(std::vector{Mod(T::Scroll, {0, 0})}, 3.0f), identity);
  EXPECT_EQ(ComposeTexMods({}, 3.0f), identity);
}

TEST(TexMods, Matrix3MultiplyIsRowByColumnAndMayWriteAnOperand) {
  float a[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  const float b[9] = {0, 1, 0, 0, 0, 1, 1, 0, 0};  // cycles the columns
  Matrix3Multiply(a, a, b);
  const float expected[9] = {3, 1, 2, 6, 4, 5, 9, 7, 8};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(a[i], expected[i]) << i;
}

}  // namespace
