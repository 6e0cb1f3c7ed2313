// The race's path network (Ai::N_AiPath::Load), built as every race start builds it
// from the level's named polylines and trigger boxes. The input is a level file
// ("data\levels\fuzz.alf"): what the level file reader (scene/LevelFile.h) takes of
// it becomes the level's point sets, points and triggers, as N_Level::Load keeps them;
// then the network is loaded with the game root's rifle, targets and AI tables, and
// asked what the game modes and racers ask: lengths and relay change, start sectors and
// places, range points, stances, markers, triggers and lanes, a strategy, the sector of
// points along every path with their side distances and ground heights, one range
// update.
#include "fuzz/FuzzSupport.h"
#include "platform/win32/Files.h"
#include "race/ShootingRange.h"
#include "race/ai/AiPath.h"
#include "race/ai/AiSector.h"
#include "race/ai/AiStrategy.h"
#include "race/ai/StartPlaces.h"
#include "scene/Level.h"
#include "scene/LevelFile.h"

#include <filesystem>
#include <span>
#include <string>

namespace {

void CopySupportFiles() {
  namespace fs = std::filesystem;
  for (const char* folder : {"data/anim/puska", "data/anim/terciky", "data/Ai"}) {
    fs::create_directories(folder);
    fs::copy(fs::path(NAVO_GAME_ROOT) / folder, folder, fs::copy_options::recursive | fs::copy_options::skip_existing);
  }
}

/// A sector's answers for a few points: its ends, its ideal points and a point beside.
float AskSector(const Ai::N_AiSector& sector) {
  float sum = sector.Length();
  for (const bool atEnd : {false, true}) {
    const N_Vector3 ideal = sector.GetIdealPoint(atEnd);
    for (const N_Vector3& p : {ideal, ideal + N_Vector3{30.0f, -40.0f, 5.0f}}) {
      float sides[3] = {};
      sector.GetSideDistances(p, sides);
      float z = 0.0f;
      sector.GetGroundHeight(p, z);
      N_Vector3 clamped;
      sector.ClampToSpan(p, clamped);
      sum += sides[0] + sides[1] + sides[2] + z + clamped.x + float(sector.Classify(p));
      const Ai::N_AiSector* head = &sector;
      if (Ai::N_AiSector* found = Ai::N_AiPathTree::FindSector(const_cast<Ai::N_AiSector*>(head), p)) {
        sum += found->Length();
      }
    }
  }
  return sum;
}

/// Every question of the race, in the order a game mode's Init and the race step ask them.
float AskNetwork(Ai::N_AiPath& path) {
  float sum = 0.0f;
  path.GetRelayChangeSector();
  for (std::int32_t type = 0; type <= 5; ++type) {
    Ai::N_AiSector* sector = nullptr;
    if (path.GetStartSector(type, sector)) sum += sector->Length();
  }
  if (Ai::N_AiPathTree* tree = path.Tree()) {
    for (int kind = 0; kind < Ai::N_AiPathTree::kPathCount; ++kind) {
      const auto which = static_cast<Ai::N_AiPathTree::Path>(kind);
      sum += tree->Length(which);
      int sectors = 0;  // at most 64 sectors of each path: a long path costs no more
      for (Ai::N_AiSector* s = tree->Head(which); s && sectors < 64; s = s->Next(), ++sectors) {
        sum += AskSector(*s);
        if (s->Next() == tree->Head(which)) break;
      }
    }
  }
  if (Ai::N_StartPlaces* places = path.StartPlaces()) {
    N_Vector3 p, d;
    for (std::uint32_t i = 0; i < 40; i += 13) {
      places->GetMassStartPlace(p, d, i);
      places->GetPursuitPlace(p, d, i);
      places->GetRelayChangePlace(p, d, std::int32_t(i));
      places->GetRelayChangeOffset(p, std::int32_t(i));
      sum += p.x + d.x;
    }
    places->GetSprintStart(p, d);
  }
  path.SetShootPattern("LLSSVVV");
  for (std::uint32_t i = 0; i < 8; ++i) {
    sum += float(path.GetShootStance(i)) + path.GetHelperIn(i).x + path.GetHelperOut(i).x;
    if (path.GetShootTrigger(i)) sum += 1.0f;
    if (path.GetStand(int(i))) sum += 1.0f;
  }
  N_Vector3 p, d;
  path.GetFinishArrow(p, d);
  path.GetPenaltyArrow(p, d);
  path.GetStartBox(p, d);
  sum += p.x + d.x;
  if (const Ai::N_AiStrategy* strategy = path.FindStrategy(0.5f)) sum += strategy->key;
  path.UpdateShootingRange(0.033f);
  path.ResetShooterView();
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool copied = (CopySupportFiles(), true);
  (void)copied;
  // Written and read back as the level loader reads "data\levels\<mapname>".
  fuzz::WriteFile("data\\levels\\fuzz.alf", data, size);
  std::string raw;
  if (!platform::ReadWholeFile("data\\levels\\fuzz.alf", raw)) return 0;
  N_LevelFile file;
  std::string fault;
  const std::span bytes(reinterpret_cast<const std::uint8_t*>(raw.data()), raw.size());
  if (!ReadLevelFile(bytes, file, fault)) return 0;  // the level loader refuses it
  N_Level level;
  level.pointSets = std::move(file.pointSets);
  level.points = std::move(file.points);
  level.triggers = std::move(file.triggers);
  fuzz::Guarded([&] {
    Ai::N_AiPath path;
    path.Load(level);
    volatile float kept = AskNetwork(path);  // every answer is read
    (void)kept;
  });
  return 0;
}
