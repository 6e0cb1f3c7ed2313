// The textures the sample effects name through their "name" annotations (those not
// written for the material scripts): the gear effect's shading and glow ramps.
#include "tools/DdsWriter.h"
#include "tools/Step.h"

#include <algorithm>
#include <cmath>

namespace {

using datagen::Rgba;

std::uint8_t Byte(float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

/// 32 x 2, no mip levels (they would mix the rows): the top row the sun's shading from
/// 0.45 in the shade to full light, the bottom row the glow from a faint warmth over
/// the whole gear (the highlighted racer shows facing the camera too) to full on the outline.
datagen::RgbaImage GearRamps() {
  constexpr int kWidth = 32;
  datagen::RgbaImage image(kWidth, 2);
  for (int x = 0; x < kWidth; ++x) {
    const float t = (x + 0.5f) / kWidth;
    const float shade = 0.45f + 0.55f * t;
    image.At(x, 0) = Rgba{Byte(shade), Byte(shade), Byte(shade), 255};
    const float glow = 0.3f + 0.7f * std::pow(std::clamp((t - 0.35f) / 0.65f, 0.0f, 1.0f), 1.5f);
    image.At(x, 1) = Rgba{Byte(glow), Byte(glow), Byte(glow), 255};
  }
  return image;
}

bool WriteEffectTextures(datagen::Output& out) {
  return out.Write("data/textures/gear/ramps.dds",
                   datagen::EncodeDds(GearRamps(), {datagen::DdsFormat::X8R8G8B8, false}));
}

const datagen::StepRegistrar kEffectTextures{{"effects", "effect textures", &WriteEffectTextures}};

}  // namespace
