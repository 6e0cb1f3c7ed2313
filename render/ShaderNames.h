#pragma once
// The symbolic values of the shader scripts. Blend factors and compare functions are
// written with OpenGL names in the scripts but carry Direct3D 9 values, which is what
// the material records store and the renderer hands to the device; the remaining
// OpenGL names keep their OpenGL values.
#include "render/NamedValue.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace ShaderNames {

/// Sorted by name without regard to case (checked below), ending in the sentinel
/// "ZZZZ", so that NameToConstant can search it by halves.
inline constexpr auto kConstants = std::to_array<Named<std::uint32_t>>({
    {"FALSE", 0},
    {"GL_ALWAYS", 8},
    {"GL_BACK", 0x0405},
    {"GL_CLAMP", 0x2900},
    {"GL_DECAL", 0x2101},
    {"GL_DECR", 0x1E03},
    {"GL_DST_ALPHA", 7},
    {"GL_DST_COLOR", 9},
    {"GL_EQUAL", 3},
    {"GL_EYE_LINEAR", 0x2400},
    {"GL_EYE_PLANE", 0x2502},
    {"GL_FALSE", 0},
    {"GL_FLAT", 0x1D00},
    {"GL_FRONT", 0x0404},
    {"GL_FRONT_AND_BACK", 0x0408},
    {"GL_GEQUAL", 7},
    {"GL_GREATER", 5},
    {"GL_INCR", 0x1E02},
    {"GL_KEEP", 0x1E00},
    {"GL_LEQUAL", 4},
    {"GL_LESS", 2},
    {"GL_LINEAR", 0x2601},
    {"GL_LINEAR_MIPMAP_LINEAR", 0x2703},
    {"GL_LINEAR_MIPMAP_NEAREST", 0x2701},
    {"GL_MODULATE", 0x2100},
    {"GL_NEAREST", 0x2600},
    {"GL_NEAREST_MIPMAP_LINEAR", 0x2702},
    {"GL_NEAREST_MIPMAP_NEAREST", 0x2700},
    {"GL_NEVER", 1},
    {"GL_NOTEQUAL", 6},
    {"GL_OBJECT_LINEAR", 0x2401},
    {"GL_OBJECT_PLANE", 0x2501},
    {"GL_ONE", 2},
    {"GL_ONE_MINUS_DST_ALPHA", 8},
    {"GL_ONE_MINUS_DST_COLOR", 10},
    {"GL_ONE_MINUS_SRC_ALPHA", 6},
    {"GL_ONE_MINUS_SRC_COLOR", 4},
    {"GL_REPEAT", 0x2901},
    {"GL_REPLACE", 0x1E01},
    {"GL_SMOOTH", 0x1D01},
    {"GL_SPHERE_MAP", 0x2402},
    {"GL_SRC_ALPHA", 5},
    {"GL_SRC_ALPHA_SATURATE", 11},
    {"GL_SRC_COLOR", 3},
    {"GL_TEXTURE_ENV", 0x2300},
    {"GL_TEXTURE_ENV_COLOR", 0x2201},
    {"GL_TEXTURE_ENV_MODE", 0x2200},
    {"GL_TEXTURE_GEN_MODE", 0x2500},
    {"GL_TEXTURE_MAG_FILTER", 0x2800},
    {"GL_TEXTURE_MIN_FILTER", 0x2801},
    {"GL_TEXTURE_WRAP_S", 0x2802},
    {"GL_TEXTURE_WRAP_T", 0x2803},
    {"GL_TRUE", 1},
    {"GL_ZERO", 1},
    {"TRUE", 1},
    {"ZZZZ", 0},
});
static_assert(kConstants.size() == 56);

constexpr bool IsSortedNoCase() {
  for (std::size_t i = 1; i < kConstants.size(); ++i) {
    if (CompareNoCase(kConstants[i - 1].name, kConstants[i].name) >= 0) return false;
  }
  return true;
}
static_assert(IsSortedNoCase(), "the constant table must stay sorted for the binary search");

}  // namespace ShaderNames

/// The table value of a symbolic name (compared without regard to case), or 0 when the
/// name is not in the table.
constexpr std::uint32_t NameToConstant(std::string_view name) {
  int low = 0;
  int high = static_cast<int>(ShaderNames::kConstants.size()) - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const int order = CompareNoCase(ShaderNames::kConstants[middle].name, name);
    if (order == 0) return ShaderNames::kConstants[middle].value;
    if (order < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  return 0;
}

/// The values the records and the manager compare against, taken from the one table.
namespace GlValue {
inline constexpr std::uint32_t kZero = NameToConstant("GL_ZERO");
inline constexpr std::uint32_t kOne = NameToConstant("GL_ONE");
inline constexpr std::uint32_t kDstColor = NameToConstant("GL_DST_COLOR");
inline constexpr std::uint32_t kSrcColor = NameToConstant("GL_SRC_COLOR");
inline constexpr std::uint32_t kSrcAlpha = NameToConstant("GL_SRC_ALPHA");
inline constexpr std::uint32_t kOneMinusSrcAlpha = NameToConstant("GL_ONE_MINUS_SRC_ALPHA");
inline constexpr std::uint32_t kAlways = NameToConstant("GL_ALWAYS");
inline constexpr std::uint32_t kLequal = NameToConstant("GL_LEQUAL");
inline constexpr std::uint32_t kLess = NameToConstant("GL_LESS");
inline constexpr std::uint32_t kGequal = NameToConstant("GL_GEQUAL");
inline constexpr std::uint32_t kGreater = NameToConstant("GL_GREATER");
}  // namespace GlValue
