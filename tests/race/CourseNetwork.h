#pragma once
// The path network of a sample course as the game root holds it: the level file's
// point sets and trigger boxes, read without drawing anything, loaded into a path rig.
#include "race/ai/AiSector.h"
#include "tests/race/AiPathSupport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace test {

/// Reads "data/levels/<name>.alf" of the game root into the rig's level and loads the
/// network; false when the file cannot be read or the network does not load.
bool LoadSampleNetwork(PathRig& rig, const std::string& name);

/// The sectors of a path from its head, once along or once around.
std::vector<Ai::N_AiSector*> PathSectors(Ai::N_AiSector* head);
/// The first sector of the path carrying the bit of the group; null when none.
Ai::N_AiSector* FlaggedSector(Ai::N_AiSector* head, int group, std::uint8_t bit);
/// The middle of a sector's ideal line.
N_Vector3 SectorMiddle(const Ai::N_AiSector& sector);

}  // namespace test
