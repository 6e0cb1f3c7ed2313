#include "platform/d3dx9/TextureBuilder.h"

#include "platform/d3dx9/ImageOps.h"

#include <algorithm>
#include <optional>

namespace platform {
namespace {

/// The file's level of exactly that size, or -1.
int MatchingFileLevel(const DdsImage& image, std::uint32_t face, const TextureShape& size) {
  for (std::uint32_t l = 0; l < image.levels; ++l) {
    const DdsSurface& s = image.Surface(face, l);
    if (s.width == size.width && s.height == size.height && s.depth == size.depth) return static_cast<int>(l);
  }
  return -1;
}

RgbaImage DecodeFileLevel(const DdsImage& image, std::uint32_t face, std::uint32_t level) {
  const DdsSurface& s = image.Surface(face, level);
  return DecodeLevel(image.format, image.Bytes(face, level), s.width, s.height, s.depth);
}

}  // namespace

TextureShape LevelShape(const TextureShape& top, std::uint32_t level) {
  TextureShape s = top;
  s.width = std::max(1u, top.width >> level);
  s.height = std::max(1u, top.height >> level);
  s.depth = std::max(1u, top.depth >> level);
  s.levels = 1;
  return s;
}

void ForEachFaceLevel(const DdsImage& image, std::uint32_t face, const TextureShape& shape, const LevelSink& take) {
  std::optional<RgbaImage> above;  // the previous level in RGBA, when the next is made from it
  for (std::uint32_t level = 0; level < shape.levels; ++level) {
    const TextureShape size = LevelShape(shape, level);
    const int fileLevel = MatchingFileLevel(image, face, size);
    const bool copy = fileLevel >= 0 && image.format == shape.format;
    // The next level is made from this one unless the file has it.
    const bool feedsNext =
        level + 1 < shape.levels && MatchingFileLevel(image, face, LevelShape(shape, level + 1)) < 0;
    // A level the file holds goes out first, so that what the sink made of it is gone
    // before the level is decoded for the next.
    if (copy && !take(level, image.Bytes(face, static_cast<std::uint32_t>(fileLevel)))) return;
    std::optional<RgbaImage> current;
    if (!copy || feedsNext) {
      if (fileLevel >= 0) current = DecodeFileLevel(image, face, static_cast<std::uint32_t>(fileLevel));
      else if (above) current = Resample(*above, size.width, size.height, size.depth);
      else current = Resample(DecodeFileLevel(image, face, 0), size.width, size.height, size.depth);
    }
    above.reset();  // done with: at most two levels are held in RGBA
    if (!copy && !take(level, EncodeLevel(shape.format, *current))) return;
    if (feedsNext) above = std::move(current);
  }
}

std::vector<std::vector<std::uint8_t>> BuildFaceLevels(const DdsImage& image, std::uint32_t face,
                                                       const TextureShape& shape) {
  std::vector<std::vector<std::uint8_t>> out;
  ForEachFaceLevel(image, face, shape, [&](std::uint32_t, std::span<const std::uint8_t> bytes) {
    out.emplace_back(bytes.begin(), bytes.end());
    return true;
  });
  return out;
}

}  // namespace platform
