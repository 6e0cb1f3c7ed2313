#include "tests/race/CourseNetwork.h"

#include "race/Racer.h"
#include "race/RacerControl.h"
#include "scene/LevelFile.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace test {

bool LoadSampleNetwork(PathRig& rig, const std::string& name) {
  std::ifstream in(GameRoot() + "/data/levels/" + name + ".alf", std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  N_LevelFile file;
  std::string fault;
  if (bytes.empty() || !ReadLevelFile(bytes, file, fault)) return false;
  rig.level.triggers = std::move(file.triggers);
  rig.level.pointSets = std::move(file.pointSets);
  rig.level.points = std::move(file.points);
  return rig.path.Load(rig.level);
}

std::vector<Ai::N_AiSector*> PathSectors(Ai::N_AiSector* head) {
  std::vector<Ai::N_AiSector*> sectors;
  for (Ai::N_AiSector* s = head; s;) {
    sectors.push_back(s);
    s = s->Next();
    if (s == head) break;
  }
  return sectors;
}

Ai::N_AiSector* FlaggedSector(Ai::N_AiSector* head, int group, std::uint8_t bit) {
  for (Ai::N_AiSector* s : PathSectors(head)) {
    if (s->Flags().Has(group, bit)) return s;
  }
  return nullptr;
}

N_Vector3 SectorMiddle(const Ai::N_AiSector& sector) {
  return (sector.GetIdealPoint(false) + sector.GetIdealPoint(true)) * 0.5f;
}

std::vector<Ai::N_AiSector*> LapSectors(const Ai::N_AiPathTree& tree, bool arcadeShortCut) {
  const std::vector<Ai::N_AiSector*> ring = PathSectors(tree.Head(Ai::N_AiPathTree::kNormal));
  if (!arcadeShortCut) return ring;
  // The short cut's first and last sectors stand for the ring's sectors of its two
  // junction labels.
  const auto flagged = [&](std::uint8_t bit) {
    return std::find_if(ring.begin(), ring.end(), [bit](const Ai::N_AiSector* s) { return s->Flags().Has(4, bit); });
  };
  const auto leave = flagged(0x01), rejoin = flagged(0x02);
  if (leave == ring.end() || rejoin == ring.end() || rejoin < leave) return ring;
  std::vector<Ai::N_AiSector*> lap(ring.begin(), leave);
  for (Ai::N_AiSector* s : PathSectors(tree.Head(Ai::N_AiPathTree::kShortCutArcade))) lap.push_back(s);
  lap.insert(lap.end(), rejoin + 1, ring.end());
  return lap;
}

TerrainSpeeds::TerrainSpeeds(const std::vector<Ai::N_AiSector*>& sectors) {
  std::vector<float> grade;
  for (const Ai::N_AiSector* s : sectors) {
    const N_Vector3 a = s->GetIdealPoint(false), b = s->GetIdealPoint(true);
    grade.push_back((b.z - a.z) / std::max(std::hypot(b.x - a.x, b.y - a.y), 1.0f));
  }
  // Flat, with flat neighbours: a racer at the foot of a slope still has it under his skis.
  const std::size_t n = sectors.size();
  for (std::size_t i = 0; i < n; ++i) {
    const bool flat = std::fabs(grade[(i + n - 1) % n]) < 0.01f && std::fabs(grade[i]) < 0.01f &&
                      std::fabs(grade[(i + 1) % n]) < 0.01f;
    if (flat) m_stretch[sectors[i]] = kFlat;
  }
  for (const auto& [stretch, sign] : {std::pair{kClimb, 1.0f}, std::pair{kDescent, -1.0f}}) {
    const float up = sign;
    const std::size_t steepest = std::size_t(
        std::max_element(grade.begin(), grade.end(), [&](float a, float b) { return up * a < up * b; }) - grade.begin());
    const float half = 0.5f * up * grade[steepest];
    std::size_t from = steepest, to = steepest;
    while (from > 0 && up * grade[from - 1] >= half) --from;
    while (to + 1 < grade.size() && up * grade[to + 1] >= half) ++to;
    for (std::size_t i = from; i <= to; ++i) m_stretch[sectors[i]] = stretch;
  }
}

void TerrainSpeeds::Sample(const N_Racer& r) {
  if (r.Time < 0.0f || r.Finished || r.Stopped || r.ShootPhase != 9) return;
  const auto it = m_stretch.find(r.Sector);
  if (it == m_stretch.end()) return;
  Seen& seen = m_seen[it->second];
  seen.speed += r.Speed;
  seen.steps += 1;
  seen.herringbone += r.Anim == SkierAnim::kHerringbone;
  seen.tuck += r.Anim == SkierAnim::kTuck;
}

}  // namespace test
