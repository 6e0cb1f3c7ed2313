// The sample textures of the game root: "data\textures\default.dds", the texture
// every texture that cannot be loaded falls back to (DXT1 with its mip chain).
#include "tools/DdsWriter.h"
#include "tools/Step.h"
#include "tools/TexturePictures.h"

namespace {

bool WriteTextures(datagen::Output& out) {
  return out.Write("data/textures/default.dds",
                   datagen::EncodeDds(datagen::DefaultTexturePicture(), {datagen::DdsFormat::Dxt1, true}));
}

const datagen::StepRegistrar kTextures{{"textures", "default texture", &WriteTextures}};

}  // namespace
