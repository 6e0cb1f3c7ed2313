#include "tests/race/CourseNetwork.h"

#include "scene/LevelFile.h"

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

}  // namespace test
