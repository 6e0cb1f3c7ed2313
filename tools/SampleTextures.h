#pragma once
// The sample textures: the default texture every failed load falls back to, and the
// start-up splash picture (which the program carries as a resource, not as a file).
#include "platform/d3dx9/ImageOps.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

/// The splash: 800 x 600 pixels.
constexpr std::uint32_t kSplashWidth = 800;
constexpr std::uint32_t kSplashHeight = 600;
/// The resource identifier the application shows the splash with.
constexpr std::uint32_t kSplashResourceId = 116;

/// A light grey checker board, 64 x 64: plainly a placeholder wherever it shows.
platform::RgbaImage DefaultTexturePicture();
/// A winter course under a blue sky with the game's name.
platform::RgbaImage SplashPicture();

/// The splash as the program carries it: DXT1, one level.
std::vector<std::uint8_t> SplashDds();

/// Writes "data\textures\default.dds" (DXT1 with its mip chain) below the game root.
bool WriteSampleTextures(const std::string& gameRoot);

}  // namespace tools
