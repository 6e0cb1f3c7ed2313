#pragma once
// The textures named by the sample material scripts (data/scripts/*.shader and the
// IFL lists they name): the fixed font, the console, the mist overlay and the course
// materials. Small procedural pictures, the same bytes on every run.
#include <string>
#include <vector>

namespace tools {

/// Writes every texture as "data/<name>.dds" below the game root; false when one
/// could not be written.
bool WriteMaterialTextures(const std::string& gameRoot);

/// The texture names written (as the scripts spell them, without extension).
std::vector<std::string> MaterialTextureNames();

}  // namespace tools
