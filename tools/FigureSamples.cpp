// The "figures" step: the skier reference meshes (six models and their low-detail
// twins), the animations of the skier actions, and the textures of the figures' own
// materials: face, boots and the skis' trail. The athletes' gear and the start-number
// bibs that take the dress placeholders' places are the "athletes" step's.
#include "tools/DdsWriter.h"
#include "tools/FigureSamples.h"
#include "tools/Step.h"

#include <array>
#include <cmath>
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

/// A picture of one colour.
RgbaImage Plain(Rgba colour) { return RgbaImage(16, 16, colour); }

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
      {"face", Plain({230, 190, 160, 255})},
      {"boots", Plain({50, 50, 60, 255})},
      {"ski_trail", Trail()},
  };
  bool ok = true;
  for (const Texture& t : textures) {
    ok = out.Write(std::string("data/textures/lyziari/") + t.name + ".dds", Dds(t.picture)) && ok;
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

const datagen::StepRegistrar kFigures{{"figures",
                                       "the skier figures: reference meshes, the skier actions' animations, the "
                                       "textures of their materials",
                                       &WriteFigures}};

}  // namespace
