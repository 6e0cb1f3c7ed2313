#include "race/ai/AiPath.h"

#include "race/ShootingRange.h"
#include "race/World.h"
#include "race/ai/AiLog.h"
#include "race/ai/AiTableMng.h"
#include "race/ai/StartPlaces.h"
#include "scene/Level.h"

#include <utility>

namespace Ai {

namespace {

/// Where each start type's start sector is labelled: the path and its group-2 bit.
struct StartLabel {
  std::int32_t type;
  std::uint8_t bit;
};
const StartLabel kStartLabels[] = {{0, 0x02}, {4, 0x02}, {1, 0x08}, {2, 0x01}, {3, 0x04}};

constexpr std::int32_t kStartGroup = 2;
constexpr std::int32_t kRelayChangeGroup = 6;
constexpr std::uint8_t kRelayChangeBit = 0x20;  // E_ST_GOTONORMALPATH_RELAY

/// The first sector of the path carrying the bit in the group, once along (or around).
N_AiSector* FirstLabelled(N_AiSector* head, std::int32_t group, std::uint8_t bit) {
  for (N_AiSector* s = head; s;) {
    if (s->Flags().Has(group, bit)) return s;
    s = s->Next();
    if (s == head) break;
  }
  return nullptr;
}

}  // namespace

N_AiPath::N_AiPath() = default;

N_AiPath::~N_AiPath() {
  m_tree.reset();
  m_startPlaces.reset();
  m_aiTables.reset();
  m_shootingRange.reset();
  m_shootTriggers.clear();
  m_shootInPoints.clear();
  m_shootOutPoints.clear();
  m_shootPattern.clear();
  m_markers.clear();
}

bool N_AiPath::Load() {
  if (!g_world) {
    N_AiLog::Write("Ai::N_AiPath:  No level to load from.\n");
    return false;
  }
  return Load(g_world->Level());
}

bool N_AiPath::Load(const N_Level& level) {
  m_tree = std::make_unique<N_AiPathTree>();
  m_tree->Load(level);  // what a failed tree built stays usable

  m_startPlaces = std::make_unique<N_StartPlaces>();
  if (!m_startPlaces->Load(level)) {
    N_AiLog::Write("Ai::N_AiPath: Loading All Starts Points failed.\n");
    return false;
  }
  N_AiLog::Write("Ai::N_AiPath: Loading All Start Points done.\n");

  const struct {
    const char* set;
    std::vector<N_Vector3>* points;
    const char* before;
    const char* done;
    const char* failed;
  } helpers[] = {
      {"Info_Shoot_Helper_In", &m_shootInPoints, "Ai::N_AiPath: Loading HelpersIn.",
       "Ai::N_AiPath: Loading  HelpersIn done.\n", "Ai::N_AiPath:  Loading HelpersIn failed.\n"},
      {"Info_Shoot_Helper_Out", &m_shootOutPoints, "Ai::N_AiPath: Loading HelpersOut.",
       "Ai::N_AiPath: Loading HelpersOut done.\n", "Ai::N_AiPath:  Loading HelpersOut failed.\n"},
  };
  for (const auto& helper : helpers) {
    N_AiLog::Write(helper.before);
    std::int32_t count = 0;
    const N_Vector3* points = level.FindPointSet(helper.set, &count);
    if (!points) {
      N_AiLog::Write(helper.failed);
      return false;
    }
    helper.points->assign(points, points + count);
    N_AiLog::Write(helper.done);
  }

  const struct {
    const char* set;
    std::int32_t key;
    const char* before;
    const char* done;
    const char* failed;
  } markers[] = {
      {"Info_Sipka_Ciel", kFinishArrowPos, "Ai::N_AiPath: Loading Sipka Finish.",
       "Ai::N_AiPath: Loading Sipka Finish done.\n", "Ai::N_AiPath:  Loading Sipka Finish failed.\n"},
      {"Sprint_Starter", kStartBoxPos, "Ai::N_AiPath: Loading StartBox.", "Ai::N_AiPath: Loading StartBox done.\n",
       "Ai::N_AiPath:  Loading StartBox failed.\n"},
      {"Info_Sipka_PenaltyRound", kPenaltyArrowPos, "Ai::N_AiPath: Loading Sipka PenaltyRound.",
       "Ai::N_AiPath: Loading Sipka PenaltyRound done.\n", "Ai::N_AiPath:  Loading Sipka PenaltyRound failed.\n"},
  };
  for (const auto& marker : markers) {
    N_AiLog::Write(marker.before);
    if (!LoadMarker(level, marker.set, marker.key)) N_AiLog::Write(marker.failed);
    N_AiLog::Write(marker.done);
  }

  N_AiLog::Write("Ai::N_AiPath: Loading Shoot points.");
  std::int32_t lanes = 0;
  const N_Vector3* standPoints = level.FindPointSet("Info_Shoot_Points", &lanes);
  if (!standPoints) {
    N_AiLog::Write("Ai::N_AiPath:  Loading Shoot points failed.\n");
    return false;
  }
  N_AiLog::Write("Ai::N_AiPath: Loading Shoot points done.\n");

  N_AiLog::Write("Ai::N_AiPath: Loading Shoot Target points.");
  std::int32_t targets = 0;
  const N_Vector3* targetPoints = level.FindPointSet("Info_Shoot_Target", &targets);
  if (!targetPoints) {
    N_AiLog::Write("Ai::N_AiPath:  Loading Shoot Target points failed.\n");
    return false;
  }
  N_AiLog::Write("Ai::N_AiPath: Loading Shoot Target points done.\n");

  if (!LoadShootTriggers(level, lanes)) return false;

  // No lanes: the targets cannot be divided among them, no range.
  if (lanes > 0) {
    m_shootingRange = std::make_unique<N_ShootingRange>();
    m_shootingRange->Build(targetPoints, targets, standPoints, lanes);
  }

  m_aiTables = std::make_unique<N_AiTableMng>();
  m_aiTables->LoadStrategies("Data\\Ai\\Strategy\\");
  m_aiTables->LoadAnimBlendTimes("Data\\Ai\\Anims.time");
  m_aiTables->LoadAnimPhysicTable("Data\\Ai\\Anims.physics");
  return true;
}

bool N_AiPath::LoadMarker(const N_Level& level, const char* setName, std::int32_t position) {
  std::int32_t count = 0;
  const N_Vector3* points = level.FindPointSet(setName, &count);
  if (!points || count < 2) return false;  // a direction needs a second point
  N_Vector3 direction = points[1] - points[0];
  direction.Normalize();
  m_markers.emplace(position, points[0]);  // the first value stored under a key stays
  m_markers.emplace(position + 1, direction);
  return true;
}

bool N_AiPath::LoadShootTriggers(const N_Level& level, std::int32_t lanes) {
  N_AiLog::Write("Ai::N_AiPath: Loading Shoot Triggers.");
  m_shootTriggers.assign(static_cast<std::size_t>(lanes > 0 ? lanes : 0), nullptr);
  for (std::int32_t i = 0; i < lanes; ++i) {
    const std::string name = FormatAiLine("%s%.2d", "Trigger_Shoot_", i);
    const N_LevelTrigger* trigger = level.FindTrigger(name.c_str());
    if (!trigger) {
      N_AiLog::Write(FormatAiLine("Ai::N_AiPath:  Failed load %s !!!!.\n", name.c_str()));
      N_AiLog::Write("Ai::N_AiPath:  Loading Shoot Triggers failed.\n");
      return false;
    }
    m_shootTriggers[static_cast<std::size_t>(i)] = trigger;
    N_AiLog::Write(FormatAiLine("Shoot Triggers %s loaded.", name.c_str()));
  }
  N_AiLog::Write("Ai::N_AiPath: Loading Shoot Triggers done.\n");
  return true;
}

bool N_AiPath::GetStartSector(std::int32_t startType, N_AiSector*& out) const {
  for (const StartLabel& label : kStartLabels) {
    if (label.type != startType) continue;
    N_AiSector* head = m_tree ? m_tree->GetStartPath(startType) : nullptr;
    N_AiSector* sector = FirstLabelled(head, kStartGroup, label.bit);
    if (!sector) return false;
    out = sector;
    return true;
  }
  N_AiLog::Error(4, "Ai::N_AiPath:Undefined Start sector \n");
  return false;
}

bool N_AiPath::GetRelayChangeSector() {
  if (m_tree) m_tree->ComputeLengths();
  if (m_shootingRange && m_shootingRange->Shooter() && m_shootingRange->Shooter()->Set()) {
    m_shootingRange->Shooter()->Set()->CreateShadowVolumes();
  }
  if (!FindRelayChangeSector(m_relayChangeSector)) {
    N_AiLog::Write("Ai::N_AiPath:  GetRelayChangeSector return NULL !!!.\n");
  }
  return true;
}

bool N_AiPath::FindRelayChangeSector(N_AiSector*& out) const {
  out = FirstLabelled(m_tree ? m_tree->Head(N_AiPathTree::kNormal) : nullptr, kRelayChangeGroup, kRelayChangeBit);
  return out != nullptr;
}

N_Vector3 N_AiPath::HelperPoint(const std::vector<N_Vector3>& points, std::uint32_t i, bool& reported,
                                const char* what) {
  if (i < points.size()) return points[i];
  if (!reported) {
    reported = true;
    N_AiLog::Write(FormatAiLine("Ai::N_AiPath:  %s %u past its %zu points.\n", what, i, points.size()));
  }
  return points.empty() ? N_Vector3{} : points.back();
}

N_Vector3 N_AiPath::GetHelperIn(std::uint32_t i) {
  return HelperPoint(m_shootInPoints, i, m_reportedHelperIn, "GetHelperIn");
}

N_Vector3 N_AiPath::GetHelperOut(std::uint32_t i) {
  return HelperPoint(m_shootOutPoints, i, m_reportedHelperOut, "GetHelperOut");
}

void N_AiPath::SetShootPattern(std::string pattern) {
  m_shootPattern.clear();
  for (char c : pattern) m_shootPattern.push_back(c);
}

std::int32_t N_AiPath::GetShootStance(std::uint32_t round) const {
  if (round >= m_shootPattern.size()) return 0;
  switch (m_shootPattern[round]) {
    case 'L':
      return 2;
    case 'S':
      return 1;
    default:
      return 0;
  }
}

N_Vector3 N_AiPath::Marker(std::int32_t key) const {
  const auto it = m_markers.find(key);
  return it == m_markers.end() ? N_Vector3{} : it->second;
}

void N_AiPath::GetFinishArrow(N_Vector3& position, N_Vector3& direction) const {
  position = Marker(kFinishArrowPos);
  direction = Marker(kFinishArrowDir);
}

void N_AiPath::GetPenaltyArrow(N_Vector3& position, N_Vector3& direction) const {
  position = Marker(kPenaltyArrowPos);
  direction = Marker(kPenaltyArrowDir);
}

void N_AiPath::GetStartBox(N_Vector3& position, N_Vector3& direction) const {
  position = Marker(kStartBoxPos);
  direction = Marker(kStartBoxDir);
}

const N_LevelTrigger* N_AiPath::GetShootTrigger(std::uint32_t lane) const {
  return lane < m_shootTriggers.size() ? m_shootTriggers[lane] : nullptr;
}

N_ShootLane* N_AiPath::GetStand(int lane) const { return m_shootingRange ? m_shootingRange->GetLane(lane) : nullptr; }

const N_AiStrategy* N_AiPath::FindStrategy(float a) const {
  return m_aiTables ? m_aiTables->FindStrategy(a) : nullptr;
}

void N_AiPath::RenderShootTargets(float frameTime) {
  if (m_shootingRange && m_shootingRange->Targets()) m_shootingRange->Targets()->Render(frameTime);
}

void N_AiPath::UpdateShootingRange(float frameTime) {
  if (m_shootingRange) m_shootingRange->Update(frameTime);
}

void N_AiPath::SetShooterView(N_Racer* racer) {
  if (m_shootingRange && m_shootingRange->Shooter()) m_shootingRange->Shooter()->Begin(racer, false);
}

void N_AiPath::ResetShooterView() {
  if (m_shootingRange && m_shootingRange->Shooter()) m_shootingRange->Shooter()->End();
}

}  // namespace Ai
