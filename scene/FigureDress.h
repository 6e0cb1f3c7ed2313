#pragma once
// The dress placeholders of the skier figure meshes: a material named after one of five
// fixed textures stands for an item of the athlete drawing the figure. The figure mesh
// reader stores the placeholder's code as the surface's shader, and the dressed drawing
// (N_AnimObject::DrawDressed) puts the athlete's own shader in its place.
#include "render/TexInfo.h"

#include <cstdint>

namespace dress {

constexpr std::int32_t kStartNumber = -2;  ///< "textures\lyziari\startnum01": the bib of the start number
constexpr std::int32_t kSuit = -3;         ///< "textures\lyziari\dress01"
constexpr std::int32_t kSticks = -4;       ///< "textures\lyziari\stick01"
constexpr std::int32_t kGun = -5;          ///< "textures\lyziari\gun01"
constexpr std::int32_t kSki = -6;          ///< "textures\lyziari\ski01"

}  // namespace dress

/// The placeholder code of a material name (case ignored); 0 for any other name and
/// for null.
std::int32_t ClassifyDressTexture(const char* materialName);

/// A texture filter that takes every texture.
bool AlwaysTrue(const TexInfo* texture, int, int);
