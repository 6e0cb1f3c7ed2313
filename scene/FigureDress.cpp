#include "scene/FigureDress.h"

#include "platform/win32.h"

#include <array>
#include <string_view>

namespace {

struct Placeholder {
  std::string_view texture;
  std::int32_t code;
};

constexpr std::array kPlaceholders{
    Placeholder{"textures\\lyziari\\startnum01", dress::kStartNumber},
    Placeholder{"textures\\lyziari\\dress01", dress::kSuit},
    Placeholder{"textures\\lyziari\\stick01", dress::kSticks},
    Placeholder{"textures\\lyziari\\gun01", dress::kGun},
    Placeholder{"textures\\lyziari\\ski01", dress::kSki},
};

}  // namespace

std::int32_t ClassifyDressTexture(const char* materialName) {
  if (!materialName) return 0;
  for (const Placeholder& p : kPlaceholders) {
    if (platform::EqualsNoCase(materialName, p.texture)) return p.code;
  }
  return 0;
}

bool AlwaysTrue(const TexInfo*, int, int) { return true; }
