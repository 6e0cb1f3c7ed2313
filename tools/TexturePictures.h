#pragma once
// The pictures of the sample textures: the default texture every failed load falls
// back to, and the start-up splash (which the program carries as a resource).
#include "tools/Image.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace datagen {

/// The splash: 800 x 600 pixels.
constexpr int kSplashWidth = 800;
constexpr int kSplashHeight = 600;
/// The resource identifier the application shows the splash with.
constexpr std::uint32_t kSplashResourceId = 116;

/// A light grey checker board, 64 x 64: plainly a placeholder wherever it shows.
RgbaImage DefaultTexturePicture();
/// A winter course under a blue sky with the game's name.
RgbaImage SplashPicture();

/// Draws the text in the title's 5 x 7 letters (the title's letters and the digits;
/// others are skipped) centred on cx, cells of `scale` pixels, with a dark shadow.
void DrawGlyphText(RgbaImage& img, std::string_view text, int cx, int top, int scale, Rgba colour);

/// The splash as the program carries it: DXT1, one level (128 + 240,000 bytes).
std::vector<std::uint8_t> SplashDds();

}  // namespace datagen
