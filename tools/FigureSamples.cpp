// The "figures" step: the skier reference meshes (six models and their low-detail
// twins), the animations of the skier actions, and the textures the figures are drawn
// with: the start-number bibs 1 to 31 (the number drawn on each), the gear of the
// built-in roster (suits, sticks, rifles, skis), the face and boots materials'
// textures and the skis' trail.
#include "tools/DdsWriter.h"
#include "tools/FigureSamples.h"
#include "tools/Step.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

using datagen::Rgba;
using datagen::RgbaImage;
namespace figures = datagen::figures;

struct Model {
  const char* name;
  figures::Build build;
};

const std::array<Model, 6> kModels{{
    {"ref_model1", {1.1f, 1.0f, true, false}},
    {"ref_model2", {1.0f, 1.05f, false, false}},
    {"ref_model3", {0.92f, 0.95f, true, false}},
    {"ref_model_F1", {0.85f, 0.95f, false, true}},
    {"ref_model_F2", {0.88f, 0.92f, true, false}},
    {"ref_model_F3", {0.82f, 0.9f, true, true}},
}};

std::vector<std::uint8_t> Dds(const RgbaImage& image) {
  return datagen::EncodeDds(image, {datagen::DdsFormat::A8R8G8B8, true});
}

/// A picture of one colour, with a band of another across v0..v1 (none when equal).
RgbaImage Plain(Rgba colour, Rgba band = {}, float v0 = 0.0f, float v1 = 0.0f) {
  constexpr int kSize = 16;
  RgbaImage image(kSize, kSize, colour);
  for (int y = 0; y < kSize; ++y) {
    const float v = (y + 0.5f) / kSize;
    if (v < v0 || v >= v1) continue;
    for (int x = 0; x < kSize; ++x) image.At(x, y) = band;
  }
  return image;
}

/// Digits of 3 x 5 cells, a row a string.
constexpr std::array<std::array<const char*, 5>, 10> kDigits{{
    {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"}, {"###", "..#", "###", "#..", "###"},
    {"###", "..#", "###", "..#", "###"}, {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"}, {"###", "..#", ".#.", ".#.", ".#."}, {"###", "#.#", "###", "#.#", "###"},
    {"###", "#.#", "###", "..#", "###"},
}};

/// A white bib of 32 x 32 with the two digits of the number in black in its middle.
RgbaImage Bib(int number) {
  constexpr int kSize = 32, kCell = 3, kTop = 9, kLeft = 5;
  RgbaImage image(kSize, kSize, {255, 255, 255, 255});
  const int digits[2] = {number / 10, number % 10};
  for (int d = 0; d < 2; ++d) {
    const int left = kLeft + d * (3 * kCell + 3);
    for (int row = 0; row < 5; ++row) {
      for (int column = 0; column < 3; ++column) {
        if (kDigits[std::size_t(digits[d])][std::size_t(row)][column] != '#') continue;
        for (int y = 0; y < kCell; ++y) {
          for (int x = 0; x < kCell; ++x) image.At(left + column * kCell + x, kTop + row * kCell + y) = {0, 0, 0, 255};
        }
      }
    }
  }
  return image;
}

/// The trail: white, opaque along the middle and clear at its sides.
RgbaImage Trail() {
  constexpr int kSize = 16;
  RgbaImage image(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const float across = std::abs((x + 0.5f) / kSize - 0.5f) * 2.0f;
      image.At(x, y) = {225, 230, 240, static_cast<std::uint8_t>(200.0f * (1.0f - across))};
    }
  }
  return image;
}

bool WriteTextures(datagen::Output& out) {
  struct Texture {
    const char* name;
    RgbaImage picture;
  };
  const Texture textures[] = {
      {"suit_1", Plain({200, 30, 30, 255})},
      {"suit_2", Plain({30, 60, 200, 255})},
      {"suit_3", Plain({30, 150, 60, 255})},
      {"suit_4", Plain({230, 200, 30, 255})},
      {"suit_5", Plain({140, 40, 170, 255})},
      {"suit_6", Plain({240, 120, 20, 255})},
      {"sticks_1", Plain({40, 40, 45, 255})},
      {"sticks_2", Plain({170, 170, 180, 255})},
      {"gun_1", Plain({110, 70, 35, 255}, {40, 40, 40, 255}, 0.0f, 0.3f)},
      {"gun_2", Plain({35, 35, 40, 255})},
      {"ski_1", Plain({240, 240, 240, 255}, {200, 30, 30, 255}, 0.4f, 0.6f)},
      {"ski_2", Plain({40, 80, 200, 255}, {240, 240, 240, 255}, 0.4f, 0.6f)},
      {"ski_3", Plain({230, 200, 30, 255}, {30, 30, 30, 255}, 0.4f, 0.6f)},
      {"face", Plain({230, 190, 160, 255})},
      {"boots", Plain({50, 50, 60, 255})},
      {"ski_trail", Trail()},
  };
  bool ok = true;
  for (const Texture& t : textures) {
    ok = out.Write(std::string("data/textures/lyziari/") + t.name + ".dds", Dds(t.picture)) && ok;
  }
  for (int number = 1; number <= 31; ++number) {
    char name[64];
    std::snprintf(name, sizeof name, "data/textures/lyziari/startnum%02d.dds", number);
    ok = out.Write(name, Dds(Bib(number))) && ok;
  }
  return ok;
}

bool WriteFigures(datagen::Output& out) {
  bool ok = true;
  for (const Model& model : kModels) {
    const std::string folder = "data/anim/ref_meshe/";
    ok = out.Write(folder + model.name + ".mesh", figures::Model(model.build, false).Write()) && ok;
    ok = out.Write(folder + "low_" + model.name + ".mesh", figures::Model(model.build, true).Write()) && ok;
  }
  // One skeleton in every model: the animations are keyed on the first.
  const datagen::AnimMeshBuilder skeleton = figures::Model(kModels[0].build, true);
  for (const figures::Motion& motion : figures::Motions()) {
    const auto tracks = datagen::TracksFromFrames(skeleton, figures::MotionFrames(skeleton, motion));
    ok = out.Write(std::string("data/anim/lyziari/") + motion.stem + ".anim", datagen::WriteAnimation(tracks)) && ok;
  }
  return WriteTextures(out) && ok;
}

const datagen::StepRegistrar kFigures{
    {"figures", "the skier figures: reference meshes, the skier actions' animations, bibs and gear", &WriteFigures}};

}  // namespace
