#include "race/ai/AiPathTree.h"

#include "core/Matrix3.h"
#include "race/ai/AiLog.h"
#include "scene/Level.h"

#include <algorithm>
#include <memory>
#include <string>

namespace Ai {

namespace {

/// One path as the level names it, in loading order, with its check messages.
struct PathSource {
  N_AiPathTree::Path slot;
  const char* sets;  ///< "Path_" + sets + "_Left" / "_Ideal" / "_Right"
  const char* tag;   ///< the "Loading Path" lines' name
  std::int32_t type;
  bool closed;
  const char* countMessage;  ///< left, ideal, right counts
  const char* undefined[3];  ///< left, ideal, right
};

const PathSource kPathSources[] = {
    {N_AiPathTree::kMassStart, "MassStart", "PATH_MASSSTART", kPathMassStart, false,
     "Ai::N_AiPath: MassStart Path Error !!!\n     Number of vertices in path is not equal:  %d = %d = %d .\n",
     {"Ai::N_AiPath: PATH_MASSSTART_LEFT undefined.\n", "Ai::N_AiPath: PATH_MASSSTART_IDEAL undefined.\n",
      "Ai::N_AiPath: PATH_MASSSTART_RIGHT undefined.\n"}},
    {N_AiPathTree::kSprintStart, "SprintStart", "PATH_SPRINTSTART", kPathSprintStart, false,
     "Ai::N_AiPath: SprintStart Path Error !!!\n     Number of vertices in path is not equal:  %d = %d = %d .\n",
     {"N_AiPath: PATH_SPRINTSTART_LEFT undefined.\n", "N_AiPath: PATH_SPRINTSTART_IDEAL undefined.\n",
      "N_AiPath: PATH_SPRINTSTARTRIGHT undefined.\n"}},
    {N_AiPathTree::kRelayStart, "RelayStart", "PATH_RELAYSTART", kPathRelayStart, false,
     "Ai::N_AiPath: RelayStart Path Error !!!\n     Number of vertices in path is not equal:  %d = %d = %d \n",
     {"N_AiPath: PATH_RELAYSTART_LEFT undefined.\n", "N_AiPath: PATH_RELAYSTART_IDEAL undefined.\n",
      "N_AiPath: PATH_RELAYSTART_RIGHT undefined.\n"}},
    {N_AiPathTree::kNormal, "Normal", "PATH_NORMAL", kPathNormal, true,
     "Ai::N_AiPath: Normal Path Error !!!\n     Number of vertices in path is not equal:  %d = %d = %d .\n",
     {"N_AiPath: PATH_NORMAL_LEFT undefined.\n", "N_AiPath: PATH_NORMAL_IDEAL undefined.\n",
      "N_AiPath: PATH_NORMAL_RIGHT undefined.\n"}},
    {N_AiPathTree::kShortCutArcade, "ShortCutArcade", "PATH_SHORTCUTARCADE", kPathShortCutArcade, false,
     "Ai::N_AiPath: ShortCutArcade Path Error !!!\n     Number of vertices in path is not equal:  %d = %d = %d .\n",
     {"N_AiPath: PATH_SHORTCUTARCADE_LEFT undefined.\n", "N_AiPath: PATH_SHORTCUTARCADE_IDEAL undefined.\n",
      "N_AiPath: PATH_SHORTCUTARCADE_RIGHT undefined.\n"}},
    {N_AiPathTree::kShortCutShootArea, "ShortCutShootArea", "PATH_SHORTCUTSHOOTAREA", kPathShortCutShootArea, false,
     "N_AiPath: ShorCutShootArea Path Error !!!\n     Number of vertices in path is not equal:  %d = %d = %d .\n",
     {"N_AiPath: PATH_SHORTCUTSHOOTAREA_LEFT undefined. \n", "N_AiPath: PATH_SHORTCUTSHOOTAREA_IDEAL undefined. \n",
      "N_AiPath: PATH_SHORTCUTSHOOTAREA_RIGHT undefined. \n"}},
    {N_AiPathTree::kPenalty, "Penalty", "PATH_PENALTY", kPathPenalty, true,
     "N_AiPath: Penalty Path Error !!!\n     Number of vertices in path is not equal:  %d = %d = %d \n",
     {"N_AiPath: PATH_PENALTY_LEFT undefined.\n", "N_AiPath: PATH_PENALTY_IDEAL undefined. \n",
      "N_AiPath: PATH_PENALTY_RIGHT undefined. \n"}},
    {N_AiPathTree::kCiel, "Ciel", "PATH_CIEL", kPathCiel, false,
     "N_AiPath: Ciel Path Error !!!\n     Number of vertices in path is not equal:  %d = %d = %d .\n",
     {"N_AiPath: PATH_CIEL_LEFT undefined.\n", "N_AiPath: PATH_CIEL_IDEAL undefined.\n",
      "N_AiPath: PATH_CIEL_RIGHT undefined.\n"}},
};

/// A junction of a branch path with the Normal ring. Without a "before" text the step
/// writes neither its before nor its after line.
struct AttachStep {
  std::int32_t group;
  std::uint8_t bit;
  N_AiPathTree::Path branch;
  bool checkIdeal;
  const char* before;
  const char* after;
  const char* failure;
  bool fatal;  ///< the failure is an error that stops the generation; else a plain line
};

const AttachStep kAttachSteps[] = {
    {3, 0x01, N_AiPathTree::kMassStart, true, "Ai::N_AiPath: Attaching MassPath  to Normal Path.",
     "Ai::N_AiPath: MassPath attached to Normal Path.\n", "Ai::N_AiPath: Chyba konzistencie hran. Mass2Normal\n", true},
    {3, 0x02, N_AiPathTree::kSprintStart, true, "Ai::N_AiPath: Attaching SprintPath  to Normal Path.",
     "Ai::N_AiPath: SprintPath attached to Normal Path.\n", "Ai::N_AiPath: Chyba konzistencie hran. Sprint2Normal\n",
     true},
    {3, 0x04, N_AiPathTree::kRelayStart, true, "Ai::N_AiPath: Attaching RelayPath  to Normal Path.",
     "Ai::N_AiPath: RelayPath attached to Normal Path.\n", "Ai::N_AiPath: Chyba konzistencie hran. Relay2Normal\n",
     true},
    {3, 0x08, N_AiPathTree::kCiel, true, "Ai::N_AiPath: Attaching CielPath  to Normal Path.",
     "Ai::N_AiPath: CielPath attached to Normal Path.\n", "Ai::N_AiPath: Chyba konzistencie hran. NORMAL2CIEL\n", true},
    {3, 0x10, N_AiPathTree::kPenalty, false, "Ai::N_AiPath: Attaching Penalty  to Normal Path.",
     "Ai::N_AiPath: PenaltyPath attached to Normal Path.\n",
     "Ai::N_AiPath: Chyba konzistencie hran. E_ST_NORMAL2PENALTY\n", true},
    {4, 0x01, N_AiPathTree::kShortCutArcade, true, "Ai::N_AiPath: Attaching ShortCutArcadeStart  to Normal Path.",
     "Ai::N_AiPath: ShortCutArcadeStart attached to Normal Path.\n",
     "Ai::N_AiPath: Chyba konzistencie hran. SHORTCUTARCADESTART\n", true},
    {4, 0x02, N_AiPathTree::kShortCutArcade, true, "Ai::N_AiPath: Attaching ShortCutArcadeEnd  to Normal Path.",
     "Ai::N_AiPath: ShortCutArcadeEnd attached to Normal Path.\n",
     "Ai::N_AiPath: Chyba konzistencie hran. SHORTCUTARCADEEND\n", true},
    {4, 0x04, N_AiPathTree::kShortCutShootArea, true,
     "Ai::N_AiPath: Attaching ShortCutShootAreaStart  to Normal Path.",
     "Ai::N_AiPath: ShortCutShootAreaStart attached to Normal Path.\n",
     "Ai::N_AiPath: Chyba konzistencie hran. SHORTCUTSHOOTAREASTART\n", false},
    {4, 0x08, N_AiPathTree::kShortCutShootArea, true, nullptr, nullptr,
     "Ai::N_AiPath: Chyba konzistencie hran. SHORTCUTSHOOTAREAEND\n", false},
};

/// A label on one path. Its lines: "Labeling <name> sector." before (when withBefore),
/// "<name> sector labeled.\n" after, "Chyba pri oznacovani sektora <name>.\n" (error
/// 4, stop) on failure.
struct LabelStep {
  std::int32_t group;
  std::uint8_t bit;
  N_AiPathTree::Path path;
  const char* name;
  bool withBefore;
};

const LabelStep kLabelSteps[] = {
    {1, 0x01, N_AiPathTree::kNormal, "ShootArea", true},
    {1, 0x02, N_AiPathTree::kNormal, "PenaltyShow", true},
    {1, 0x04, N_AiPathTree::kNormal, "PenaltyResult", true},
    {1, 0x08, N_AiPathTree::kPenalty, "Penalty Count", false},
    {2, 0x01, N_AiPathTree::kMassStart, "MassStart", true},
    {2, 0x02, N_AiPathTree::kSprintStart, "SprintStart", true},
    {2, 0x04, N_AiPathTree::kMassStart, "HuntingStart", true},
    {2, 0x08, N_AiPathTree::kRelayStart, "RelayStart", true},
    {2, 0x10, N_AiPathTree::kCiel, "Ciel", true},
    {6, 0x01, N_AiPathTree::kNormal, "Round Count", true},
    {6, 0x02, N_AiPathTree::kNormal, "ShowSipkaCiel", true},
    {6, 0x04, N_AiPathTree::kNormal, "RoundTime", true},
    {6, 0x08, N_AiPathTree::kNormal, "RelayAiChange", true},
    {6, 0x10, N_AiPathTree::kNormal, "E_ST_SHOW_NEXT_RELAY_PLAYER", true},
    {6, 0x20, N_AiPathTree::kNormal, "E_ST_GOTONORMALPATH_RELAY", true},
    {6, 0x40, N_AiPathTree::kNormal, "E_ST_ROUND_COUNT2", true},
    {6, 0x80, N_AiPathTree::kNormal, "E_ST_FIGHT_GHOST", false},
    {7, 0x01, N_AiPathTree::kNormal, "E_ST_TRAINERCOMMENTAR_1", true},
    {7, 0x02, N_AiPathTree::kNormal, "E_ST_TRAINERCOMMENTAR_2", true},
    {7, 0x04, N_AiPathTree::kNormal, "E_ST_TRAINERCOMMENTAR_3", true},
};

std::unique_ptr<N_Matrix3> Section(const N_Vector3* left, const N_Vector3* ideal, const N_Vector3* right,
                                   std::int32_t i) {
  auto section = std::make_unique<N_Matrix3>();
  section->SetRows(left[i], ideal[i], right[i]);
  return section;
}

N_Vector3 TriggerPosition(const N_LevelTrigger& trigger) {
  return {trigger.box[0], trigger.box[1], trigger.box[2]};
}

}  // namespace

N_AiPathTree::~N_AiPathTree() {
  for (N_AiSector*& head : m_heads) FreePath(head);
}

void N_AiPathTree::FreePath(N_AiSector*& head) {
  // Collected first: the walk compares with the head, which is deleted on the way.
  std::vector<N_AiSector*> sectors;
  for (N_AiSector* s = head; s;) {
    sectors.push_back(s);
    s = s->Next();
    if (s == head) break;
  }
  for (N_AiSector* s : sectors) delete s;
  head = nullptr;
}

bool N_AiPathTree::Load(const N_Level& level) {
  N_AiLog::Write("Ai::N_AiPath: Loading.\n");
  N_AiLog::Write("Ai::N_AiPath: Loading identificators.");
  LoadIdentificators(level);
  if (!LoadPaths(level)) {
    m_identificators.clear();
    return false;
  }
  N_AiLog::Write("Ai::N_AiPath: Loading Path done.\n");
  N_AiLog::Write("Ai::N_AiPath: Loading All Starts.");
  N_AiLog::Write("Ai::N_AiPath: Generate Ai Path tree.");
  const bool generated = Generate();
  m_identificators.clear();
  if (!generated) return false;
  N_AiLog::Write("Ai::N_AiPath: Generate Ai Path tree done.\n");
  return true;
}

void N_AiPathTree::LoadIdentificators(const N_Level& level) {
  for (const N_AiIdentificatorKind& kind : kFixedIdentificators) {
    N_AiLog::Write(FormatAiLine("Ai::N_AiPath: Loading Identificator %s", kind.trigger));
    if (const N_LevelTrigger* trigger = level.FindTrigger(kind.trigger)) {
      m_identificators.push_back({kind.trigger, TriggerPosition(*trigger), kind.group, kind.bit});
      N_AiLog::Write(FormatAiLine("Ai::N_AiPath: Identificator %s loaded.\n", kind.trigger));
    } else if (kind.required) {
      N_AiLog::Error(4, FormatAiLine("Ai::N_AiPath: Cannot load %s.\n", kind.trigger));
    } else {
      N_AiLog::Write(FormatAiLine(" --- Ai::N_AiPath: Identificator %s not found.\n", kind.trigger));
    }
  }
  N_AiLog::Write("Ai::N_AiPath: Loading Identificator SplitTimes");
  int found = 0;
  for (int n = 1; n <= kSplitTimes; ++n) {
    const std::string name = FormatAiLine("%s%d", kSplitTimePrefix, n);
    const N_LevelTrigger* trigger = level.FindTrigger(name.c_str());
    if (!trigger) continue;
    // Counted always, used only while no lower number was missing.
    ++found;
    if (found != n) continue;
    m_identificators.push_back(
        {name, TriggerPosition(*trigger), kSplitTimeGroup, static_cast<std::uint8_t>(1u << (n - 1))});
    N_AiLog::Write(FormatAiLine("Ai::N_AiPath: Identificator %s loaded.", name.c_str()));
  }
  N_AiLog::Write(FormatAiLine("Ai::N_AiPath: Loading %d SplitTime Identificators", found));
  N_AiLog::Write("Ai::N_AiPath: Loading identificators done.\n");
}

bool N_AiPathTree::LoadPaths(const N_Level& level) {
  N_AiLog::Write("Ai::N_AiPath: Loading Path. \n");
  static const char* const kSides[3] = {"_Left", "_Ideal", "_Right"};
  for (const PathSource& path : kPathSources) {
    N_AiLog::Write(FormatAiLine("Ai::N_AiPath: Loading Path %s.", path.tag));
    const N_Vector3* sets[3] = {};
    std::int32_t counts[3] = {};
    for (int k = 0; k < 3; ++k) {
      const std::string name = std::string("Path_") + path.sets + kSides[k];
      sets[k] = level.FindPointSet(name.c_str(), &counts[k]);
      if (!sets[k]) counts[k] = 0;
    }
    if (counts[0] != counts[1] || counts[1] != counts[2]) {
      N_AiLog::WriteBox(FormatAiLine(path.countMessage, counts[0], counts[1], counts[2]));
      if (path.slot == kMassStart) return false;
    }
    for (int k = 0; k < 3; ++k) {
      if (!sets[k]) N_AiLog::Error(4, path.undefined[k]);
    }
    // Never past the shortest set, never from a missing one.
    if (sets[0] && sets[1] && sets[2]) {
      const std::int32_t count = std::min({counts[0], counts[1], counts[2]});
      BuildPath(sets[0], sets[1], sets[2], count, m_heads[path.slot], path.type, path.closed);
    }
    N_AiLog::Write(FormatAiLine("Ai::N_AiPath: Loading Path %s done.\n", path.tag));
  }
  return true;
}

bool N_AiPathTree::BuildPath(const N_Vector3* left, const N_Vector3* ideal, const N_Vector3* right,
                             std::int32_t count, N_AiSector*& head, std::int32_t pathType, bool closed) {
  if (count < 2) return true;
  N_AiSector* first = nullptr;
  N_AiSector* previous = nullptr;
  for (std::int32_t i = 0; i + 1 < count; ++i) {
    auto* sector = new N_AiSector();
    sector->ComputePlanes(Section(left, ideal, right, i), Section(left, ideal, right, i + 1), pathType);
    if (!first) first = sector;
    N_AiSector::Link(previous, sector);
    previous = sector;
  }
  if (closed) N_AiSector::Link(previous, first);
  // A head built before (a level repeating a path) is freed, not leaked.
  FreePath(head);
  head = first;
  return true;
}

N_AiSector* N_AiPathTree::FindSector(N_AiSector* head, const N_Vector3& point) {
  N_AiSector* found = nullptr;
  for (N_AiSector* s = head; s;) {
    if (s->Classify(point) == 0) {
      if (found) N_AiLog::Write("Ai::N_AiPath: Prilis vela priesekov. !!!!!");
      found = s;
    }
    s = s->Next();
    if (s == head) break;
  }
  return found;
}

bool N_AiPathTree::AttachBranch(N_AiSector* branch, N_AiSector* normal, const N_Vector3& point, std::int32_t group,
                                std::uint8_t bit, bool checkIdeal) {
  N_AiSector* branchSector = FindSector(branch, point);
  N_AiSector* normalSector = FindSector(normal, point);
  if (!branchSector || !normalSector) {
    N_AiLog::Write("Ai::N_AiPath: Priesek neexistuje. !!!!!");
    return false;
  }
  if (!branchSector->CheckConsistency(*normalSector, checkIdeal)) {
    N_AiLog::Write("Ai::N_AiPath: Hrany nesedia . !!!!!");
    return false;
  }
  branchSector->SetFlag(group, bit);
  normalSector->SetFlag(group, bit);
  branchSector->AddJunction(normalSector);
  normalSector->AddJunction(branchSector);
  return true;
}

bool N_AiPathTree::LabelSector(N_AiSector* head, const N_Vector3& point, std::int32_t group, std::uint8_t bit) {
  N_AiSector* sector = FindSector(head, point);
  if (!sector) {
    N_AiLog::Write("Ai::N_AiPath: Label sector failed !!!!!");
    return false;
  }
  sector->SetFlag(group, bit);
  return true;
}

bool N_AiPathTree::Generate() {
  for (const N_AiIdentificator& id : m_identificators) {
    if (!RunStep(id)) return false;
  }
  return true;
}

bool N_AiPathTree::RunStep(const N_AiIdentificator& id) {
  for (const AttachStep& step : kAttachSteps) {
    if (step.group != id.group || step.bit != id.bit) continue;
    if (step.before) N_AiLog::Write(step.before);
    if (AttachBranch(m_heads[step.branch], m_heads[kNormal], id.position, id.group, id.bit, step.checkIdeal)) {
      if (step.after) N_AiLog::Write(step.after);
      return true;
    }
    if (!step.fatal) {
      N_AiLog::Write(step.failure);
      return true;
    }
    N_AiLog::Error(4, step.failure);
    return false;
  }
  for (const LabelStep& step : kLabelSteps) {
    if (step.group != id.group || step.bit != id.bit) continue;
    if (step.withBefore) N_AiLog::Write(std::string("Ai::N_AiPath: Labeling ") + step.name + " sector.");
    if (LabelSector(m_heads[step.path], id.position, id.group, id.bit)) {
      N_AiLog::Write(std::string("Ai::N_AiPath: ") + step.name + " sector labeled.\n");
      return true;
    }
    N_AiLog::Error(4, std::string("Ai::N_AiPath: Chyba pri oznacovani sektora ") + step.name + ".\n");
    return false;
  }
  if (id.group == kSplitTimeGroup) {
    int n = 1;
    while (n < kSplitTimes && (1u << (n - 1)) != id.bit) ++n;
    N_AiLog::Write(FormatAiLine("Ai::N_AiPath: Labeling SplitTime_%d  sector.", n));
    if (LabelSector(m_heads[kNormal], id.position, id.group, id.bit)) {
      N_AiLog::Write(FormatAiLine("Ai::N_AiPath: SplitTime_%d sector labeled.\n", n));
      return true;
    }
    N_AiLog::Write(FormatAiLine("Ai::N_AiPath: Chyba pri oznacovani sektora SplitTime_%d.\n", n));
    return false;
  }
  return true;
}

bool N_AiPathTree::ComputeLengths() {
  for (int p = 0; p < kPathCount; ++p) {
    N_AiSector* head = m_heads[p];
    for (N_AiSector* s = head; s && s->Next() && s->Next() != head; s = s->Next()) m_lengths[p] += s->Length();
  }
  return true;
}

N_AiSector* N_AiPathTree::GetStartPath(std::int32_t startType) const {
  switch (startType) {
    case 1:
      return m_heads[kRelayStart];
    case 2:
    case 3:
      return m_heads[kMassStart];
    default:
      return m_heads[kSprintStart];
  }
}

}  // namespace Ai
