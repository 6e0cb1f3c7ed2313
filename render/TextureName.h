#pragma once
// Texture names as the texture manager keys them: a path below "data\" without
// extension, compared without regard to case.
#include <string>
#include <string_view>

/// The name with its extension cut: the last '.' of the final path component goes,
/// with everything after it. A '.' at index 0 of the whole name is not looked at, so
/// ".dds" stays; "a.b.c" gives "a.b"; "textures/v1.2/x" keeps its folder's dot.
std::string CutTextureExtension(std::string_view name);
