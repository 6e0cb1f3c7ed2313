// The DDS reader: a parsed file must describe only bytes it holds, for every face and
// level; each level's first and last byte are read to prove it.
#include "fuzz/FuzzSupport.h"
#include "platform/d3dx9/DdsImage.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const auto image = platform::ParseDds(std::vector<std::uint8_t>(data, data + size), error);
  if (!image) {
    fuzz::Check(!error.empty(), "a refused file without a reason");
    return 0;
  }
  fuzz::Check(image->surfaces.size() == std::size_t{image->Faces()} * image->levels, "surfaces missing");
  unsigned sum = 0;
  for (std::uint32_t face = 0; face < image->Faces(); ++face) {
    for (std::uint32_t level = 0; level < image->levels; ++level) {
      const platform::DdsSurface& surface = image->Surface(face, level);
      fuzz::Check(surface.offset <= image->file.size() && surface.bytes <= image->file.size() - surface.offset,
                  "a level beyond the end of the file");
      const auto bytes = image->Bytes(face, level);
      if (!bytes.empty()) sum += bytes.front() + bytes.back();
    }
  }
  (void)sum;
  return 0;
}
