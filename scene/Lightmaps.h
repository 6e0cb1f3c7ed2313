#pragma once
// The lightmaps of the level, the static meshes and the animated meshes: each a device
// texture in a record of its owner's (the texture manager's table holds no entry for
// it), made and given back through the texture manager. The record keeps the byte
// count the renderer counted when it made the texture, so that giving the texture back
// takes those bytes off the texture-memory figure again.
#include "render/TexInfo.h"

#include <vector>

/// Makes the lightmap of the name (below "data\", the default texture when missing)
/// into the record, through the texture manager's LoadLightmap.
void LoadLightmap(const char* name, TexInfo& record);
/// Gives every lightmap's texture back through the texture manager's ReleaseLightmap
/// and empties the list.
void ReleaseLightmaps(std::vector<TexInfo>& lightmaps);
