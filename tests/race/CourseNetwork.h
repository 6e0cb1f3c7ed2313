#pragma once
// The path network of a sample course as the game root holds it: the level file's
// point sets and trigger boxes, read without drawing anything, loaded into a path rig;
// and the racers' speeds on the slopes of a network's ring.
#include "race/ai/AiPathTree.h"
#include "race/ai/AiSector.h"
#include "tests/race/AiPathSupport.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct N_Racer;

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

/// The sectors of one lap as the racers ski it: the Normal ring, with the arcade short
/// cut in place of the part it cuts off when the race takes it.
std::vector<Ai::N_AiSector*> LapSectors(const Ai::N_AiPathTree& tree, bool arcadeShortCut);

/// A lap's steepest climb and steepest descent (the run of sectors about the steepest
/// one that climb or fall at least half as steeply) and its flat (sectors within 1%
/// between two such), by the gradient of their ideal line; the racers' speeds and
/// techniques there while skiing on their own (not shooting, not across the finish).
class TerrainSpeeds {
 public:
  enum Stretch { kDescent, kFlat, kClimb };
  explicit TerrainSpeeds(const std::vector<Ai::N_AiSector*>& lap);
  void Sample(const N_Racer& r);
  float Mean(Stretch s) const { return m_seen[s].steps ? float(m_seen[s].speed / double(m_seen[s].steps)) : 0.0f; }
  /// The share of the steps there in the technique.
  float Herringbone(Stretch s) const { return Share(s, m_seen[s].herringbone); }
  float Tuck(Stretch s) const { return Share(s, m_seen[s].tuck); }

 private:
  struct Seen {
    double speed = 0.0;
    long steps = 0, herringbone = 0, tuck = 0;
  };
  float Share(Stretch s, long steps) const { return m_seen[s].steps ? float(steps) / float(m_seen[s].steps) : 0.0f; }

  std::map<const Ai::N_AiSector*, Stretch> m_stretch;
  Seen m_seen[3];
};

}  // namespace test
