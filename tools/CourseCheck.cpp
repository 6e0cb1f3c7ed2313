#include "tools/CourseCheck.h"

#include "tools/CourseGeometry.h"
#include "tools/CourseSkier.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

namespace course {

const std::array<const char*, 29> kFixedTriggers{
    "Trigger_Mass2Normal",     "Trigger_Sprint2Normal",          "Trigger_Relay2Normal",
    "Trigger_Normal2Ciel",     "Trigger_ShootArea",              "Trigger_PenaltyShow",
    "Trigger_PenaltyPath",     "Trigger_StartMass",              "Trigger_StartSprint",
    "Trigger_StartHunting",    "Trigger_StartRelay",             "Trigger_Ciel",
    "Trigger_PenaltyResult",   "Trigger_ShortCutArcadeStart",    "Trigger_ShortCutArcadeEnd",
    "Trigger_ShortCutShootAreaStart", "Trigger_ShortCutShootAreaEnd", "Trigger_RoundCount",
    "Trigger_Penalty_Count",   "Trigger_ShowSipkaCiel",          "Trigger_RoundTime",
    "Trigger_RelayAiChange",   "Trigger_RoundCount2",            "Trigger_GoToNormalPath",
    "Trigger_ShowRelayPlayer", "Trigger_Com_Trainer_01",         "Trigger_Com_Trainer_02",
    "Trigger_Com_Trainer_03",  "Trigger_Kampfgeist"};

namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

template <class List>
auto FindNamed(const List& list, std::string_view name) -> decltype(&list.front().second) {
  for (const auto& entry : list) {
    if (SameName(entry.first, name)) return &entry.second;
  }
  return nullptr;
}

std::string Format(const char* format, auto... values) {
  char text[256];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

constexpr float kDegrees = 57.29578f;  ///< per radian

N_Vector3 Position(const std::array<float, 15>& box) { return {box[0], box[1], box[2]}; }

/// The eight corners of an oriented box.
std::array<N_Vector3, 8> Corners(const std::array<float, 15>& box) {
  std::array<N_Vector3, 8> corners;
  for (int i = 0; i < 8; ++i) {
    N_Vector3 p = Position(box);
    for (int axis = 0; axis < 3; ++axis) {
      const float sign = (i >> axis) & 1 ? 1.0f : -1.0f;
      const N_Vector3 u{box[3 + 3 * axis], box[4 + 3 * axis], box[5 + 3 * axis]};
      p = p + u * (sign * box[12 + axis]);
    }
    corners[std::size_t(i)] = p;
  }
  return corners;
}

/// The plan distance from p to the segment from a to b.
float PlanDistance(Vec2 a, Vec2 b, Vec2 p) {
  const Vec2 ab = b - a;
  const float span = Dot(ab, ab);
  const float t = span > 0.0f ? std::clamp(Dot(p - a, ab) / span, 0.0f, 1.0f) : 0.0f;
  return Length(p - (a + ab * t));
}

float SquaredDistance(const N_Vector3& a, const N_Vector3& b) {
  const N_Vector3 d = a - b;
  return Vec3Dot(d, d);
}

/// One path of the course with the race's sectors over it.
struct Path {
  std::vector<Section> sections;
  std::vector<SectorPlanes> sectors;
};

/// A label or attachment: the trigger, its path, and for an attachment the branch.
struct Placement {
  const char* trigger;
  PathKind path;
  std::optional<PathKind> branch;  ///< attachments: the branch joined to Normal
  bool ideal = true;               ///< attachments: whether the ideal points must agree
};

constexpr Placement kPlacements[] = {
    {"Trigger_Mass2Normal", kNormal, kMassStart},
    {"Trigger_Sprint2Normal", kNormal, kSprintStart},
    {"Trigger_Relay2Normal", kNormal, kRelayStart},
    {"Trigger_Normal2Ciel", kNormal, kCiel},
    {"Trigger_ShootArea", kNormal, {}},
    {"Trigger_PenaltyShow", kNormal, {}},
    {"Trigger_PenaltyPath", kNormal, kPenalty, false},
    {"Trigger_StartMass", kMassStart, {}},
    {"Trigger_StartSprint", kSprintStart, {}},
    {"Trigger_StartHunting", kMassStart, {}},
    {"Trigger_StartRelay", kRelayStart, {}},
    {"Trigger_Ciel", kCiel, {}},
    {"Trigger_PenaltyResult", kNormal, {}},
    {"Trigger_ShortCutArcadeStart", kNormal, kShortCutArcade},
    {"Trigger_ShortCutArcadeEnd", kNormal, kShortCutArcade},
    {"Trigger_ShortCutShootAreaStart", kNormal, kShortCutShootArea},
    {"Trigger_ShortCutShootAreaEnd", kNormal, kShortCutShootArea},
    {"Trigger_RoundCount", kNormal, {}},
    {"Trigger_Penalty_Count", kPenalty, {}},
    {"Trigger_ShowSipkaCiel", kNormal, {}},
    {"Trigger_RoundTime", kNormal, {}},
    {"Trigger_RelayAiChange", kNormal, {}},
    {"Trigger_RoundCount2", kNormal, {}},
    {"Trigger_GoToNormalPath", kNormal, {}},
    {"Trigger_ShowRelayPlayer", kNormal, {}},
    {"Trigger_Com_Trainer_01", kNormal, {}},
    {"Trigger_Com_Trainer_02", kNormal, {}},
    {"Trigger_Com_Trainer_03", kNormal, {}},
    {"Trigger_Kampfgeist", kNormal, {}},
    {"Trigger_SplitTime_1", kNormal, {}},
    {"Trigger_SplitTime_2", kNormal, {}},
    {"Trigger_SplitTime_3", kNormal, {}},
};

/// The Normal path's labels of one lap from the stadium exit, in order.
constexpr const char* kLapOrder[] = {
    "Trigger_Mass2Normal",     "Trigger_Sprint2Normal",   "Trigger_Relay2Normal",           "Trigger_ShowSipkaCiel",
    "Trigger_Normal2Ciel",     "Trigger_ShortCutShootAreaStart", "Trigger_RoundTime",     "Trigger_ShootArea",
    "Trigger_RoundCount2",     "Trigger_ShortCutShootAreaEnd",   "Trigger_ShowRelayPlayer", "Trigger_RelayAiChange",
    "Trigger_GoToNormalPath",  "Trigger_PenaltyShow",     "Trigger_PenaltyPath",            "Trigger_PenaltyResult",
    "Trigger_RoundCount"};
/// The loop's labels, between "Trigger_Relay2Normal" and "Trigger_ShowSipkaCiel", in order.
constexpr const char* kLoopOrder[] = {"Trigger_Com_Trainer_01",      "Trigger_Com_Trainer_02",
                                      "Trigger_Kampfgeist",          "Trigger_ShortCutArcadeStart",
                                      "Trigger_ShortCutArcadeEnd",   "Trigger_Com_Trainer_03"};
constexpr const char* kSplitOrder[] = {"Trigger_SplitTime_1", "Trigger_SplitTime_2", "Trigger_SplitTime_3"};

class Checker {
 public:
  explicit Checker(const Identifiers& course) : m_course(course) {}

  std::vector<std::string> Run() {
    CheckCounts();
    for (int kind = 0; kind < int(kPathNames.size()); ++kind) BuildPath(PathKind(kind));
    for (const Placement& placement : kPlacements) Place(placement);
    CheckSplitGaps();
    CheckLapOrder();
    CheckRange();
    CheckStartPlaces();
    CheckForwardSkier();
    CheckWayOn();
    return std::move(m_faults);
  }

 private:
  void Fault(std::string text) { m_faults.push_back(std::move(text)); }

  const std::vector<N_Vector3>* Set(const std::string& name, int exactly = -1, int atLeast = 0) {
    const std::vector<N_Vector3>* set = m_course.PointSet(name);
    if (!set) {
      Fault("point set " + name + " is missing");
    } else if ((exactly >= 0 && int(set->size()) != exactly) || int(set->size()) < atLeast) {
      Fault(Format("point set %s has %d points", name.c_str(), int(set->size())));
      return nullptr;
    }
    return set;
  }

  void CheckCounts() {
    for (const char* name : {"Info_Sipka_Ciel", "Sprint_Starter", "Info_Sipka_PenaltyRound", "Info_HuntingStartTan",
                             "Info_MassStartTan", "Info_Sprint_Start", "Info_Relay_Start"}) {
      Set(name, 2);
    }
    for (int i = 0; i < 15; ++i) Set(Format("Info_Hunting_Start%02d", i), 2);
    Set("Info_Grid_MassStart", 15);
    for (int i = 0; i < 4; ++i) Set(Format("Info_Relay_StartsPoints_%d", i), 4);
    Set("Info_Shoot_Helper_In", kLanes);
    Set("Info_Shoot_Helper_Out", kLanes);
    Set("Info_Shoot_Points", kLanes);
    Set("Info_Shoot_Target", kLanes * kTargetsPerLane);
    if (const auto* menu = Set("CameraPath_Menu", -1, 4)) {
      for (std::size_t i = 0; i < menu->size(); ++i) {
        if (SquaredDistance((*menu)[i], (*menu)[(i + 1) % menu->size()]) == 0.0f) {
          Fault(Format("CameraPath_Menu repeats point %d", int(i)));
        }
      }
    }
    for (const char* name : kFixedTriggers) {
      if (!m_course.Trigger(name)) Fault(std::string("trigger ") + name + " is missing");
    }
    for (int lane = 0; lane < kLanes; ++lane) {
      if (!m_course.Trigger(Format("Trigger_Shoot_%.2d", lane))) Fault(Format("trigger Trigger_Shoot_%.2d is missing", lane));
    }
  }

  void BuildPath(PathKind kind) {
    const std::string prefix = std::string("Path_") + kPathNames[kind];
    const auto* left = Set(prefix + "_Left");
    const auto* ideal = Set(prefix + "_Ideal");
    const auto* right = Set(prefix + "_Right");
    if (!left || !ideal || !right) return;
    if (left->size() != ideal->size() || left->size() != right->size() || left->size() < 2) {
      return Fault(Format("%s has %d, %d and %d points", prefix.c_str(), int(left->size()), int(ideal->size()),
                          int(right->size())));
    }
    Path& path = m_paths[kind];
    for (std::size_t i = 0; i < left->size(); ++i) path.sections.push_back({(*left)[i], (*ideal)[i], (*right)[i]});
    const bool ring = kind == kNormal || kind == kPenalty;
    if (ring && !SameSection(path.sections.front(), path.sections.back(), true)) {
      Fault(prefix + " is a ring that does not end on its first cross-section");
    }
    std::vector<std::array<Vec2, 4>> outlines;
    for (std::size_t i = 0; i + 1 < path.sections.size(); ++i) {
      const Section& s = path.sections[i];
      const Section& e = path.sections[i + 1];
      path.sectors.emplace_back(s, e);
      const SectorPlanes& sector = path.sectors.back();
      outlines.push_back(Outline(s, e));
      if (!IsConvexCounterClockwise(outlines.back())) {
        Fault(Format("%s sector %d is folded or has its left edge on the right", prefix.c_str(), int(i)));
      }
      if (std::fabs(sector.StartIdealValue()) > 0.1f || std::fabs(sector.EndIdealValue()) > 0.1f) {
        Fault(Format("%s sector %d has an ideal point off its cross-section", prefix.c_str(), int(i)));
      }
      if (sector.LeftValue(s.ideal) < 0.0f || sector.RightValue(s.ideal) < 0.0f || sector.LeftValue(e.ideal) < 0.0f ||
          sector.RightValue(e.ideal) < 0.0f) {
        Fault(Format("%s sector %d has an ideal point outside its edges", prefix.c_str(), int(i)));
      }
      const float run = Length(Plan(e.ideal) - Plan(s.ideal));
      if (run > 0.0f && (e.ideal.z - s.ideal.z) / run > kMaxClimb) {
        Fault(Format("%s sector %d climbs %.3f per unit, more than %.2f", prefix.c_str(), int(i),
                     double((e.ideal.z - s.ideal.z) / run), double(kMaxClimb)));
      }
    }
    for (std::size_t i = 0; i < outlines.size(); ++i) {
      for (std::size_t j = i + 1; j < outlines.size(); ++j) {
        if (Overlap(outlines[i], outlines[j], 0.5f)) {
          Fault(Format("%s overlaps itself: sectors %d and %d", prefix.c_str(), int(i), int(j)));
        }
      }
    }
  }

  /// The index of the one sector of the path that holds the point, -1 (with a fault)
  /// when none or several do.
  int SectorOf(PathKind kind, const N_Vector3& point, const std::string& what) {
    const Path& path = m_paths[kind];
    if (path.sectors.empty()) return -1;
    int found = -1, count = 0;
    for (std::size_t i = 0; i < path.sectors.size(); ++i) {
      if (path.sectors[i].Contains(point)) found = int(i), ++count;
    }
    if (count != 1) {
      Fault(Format("%s lies in %d sectors of Path_%s", what.c_str(), count, kPathNames[kind]));
      return -1;
    }
    return found;
  }

  void Place(const Placement& placement) {
    const auto* box = m_course.Trigger(placement.trigger);
    if (!box) return;
    const N_Vector3 point = Position(*box);
    const int normal = SectorOf(placement.path, point, placement.trigger);
    m_labels[placement.trigger] = normal;
    if (!placement.branch) return;
    const int branch = SectorOf(*placement.branch, point, placement.trigger);
    m_branchLabels[placement.trigger] = branch;
    if (normal < 0 || branch < 0) return;
    const Path& a = m_paths[kNormal];
    const Path& b = m_paths[*placement.branch];
    for (int end = 0; end < 2; ++end) {
      const Section& s = a.sections[std::size_t(normal + end)];
      const Section& t = b.sections[std::size_t(branch + end)];
      const bool agree = SquaredDistance(s.left, t.left) <= 0.1f && SquaredDistance(s.right, t.right) <= 0.1f &&
                         (!placement.ideal || SquaredDistance(s.ideal, t.ideal) <= 0.1f);
      if (!agree) Fault(std::string(placement.trigger) + ": the junction sectors' cross-sections differ");
    }
  }

  int Label(const char* trigger) const {
    const auto it = m_labels.find(trigger);
    return it == m_labels.end() ? -1 : it->second;
  }

  void CheckSplitGaps() {
    bool gap = false;
    for (int n = 1; n <= 7; ++n) {
      const bool present = m_course.Trigger(Format("Trigger_SplitTime_%d", n)) != nullptr;
      if (present && gap) Fault(Format("Trigger_SplitTime_%d follows a missing split time", n));
      gap = gap || !present;
    }
  }

  /// The labels' sectors along one lap from the first start junction.
  void CheckLapOrder() {
    const int n = int(m_paths[kNormal].sectors.size());
    const int origin = Label(kLapOrder[0]);
    if (n == 0 || origin < 0) return;
    auto offset = [&](const char* trigger) {
      const int index = Label(trigger);
      return index < 0 ? -1 : (index - origin + n) % n;
    };
    auto inOrder = [&](const char* const* names, std::size_t count, int after, int before) {
      int previous = after;
      for (std::size_t i = 0; i < count; ++i) {
        const int at = offset(names[i]);
        if (at < 0) continue;
        if (at <= previous || at >= before) Fault(std::string(names[i]) + " is out of its place along the lap");
        previous = std::max(previous, at);
      }
    };
    inOrder(kLapOrder, std::size(kLapOrder), -1, n);
    const int loopFrom = offset("Trigger_Relay2Normal"), loopTo = offset("Trigger_ShowSipkaCiel");
    inOrder(kLoopOrder, std::size(kLoopOrder), loopFrom, loopTo);
    inOrder(kSplitOrder, std::size(kSplitOrder), loopFrom, loopTo);
    const int cutFrom = offset("Trigger_ShortCutArcadeStart"), cutTo = offset("Trigger_ShortCutArcadeEnd");
    for (const char* split : kSplitOrder) {
      const int at = offset(split);
      if (at > cutFrom && at < cutTo) Fault(std::string(split) + " lies on the stretch the arcade short cut skips");
    }
    const auto ciel = m_branchLabels.find("Trigger_Normal2Ciel");
    if (ciel != m_branchLabels.end() && Label("Trigger_Ciel") <= ciel->second) {
      Fault("Trigger_Ciel does not lie after the finish path's junction");
    }
    const auto penalty = m_branchLabels.find("Trigger_PenaltyPath");
    if (penalty != m_branchLabels.end() && Label("Trigger_Penalty_Count") == penalty->second) {
      Fault("Trigger_Penalty_Count lies in the penalty loop's junction sector");
    }
  }

  /// Inside the range sector and at least kRangeMargin from its sides.
  void InRange(const SectorPlanes& range, const N_Vector3& p, const std::string& what) {
    if (!range.Contains(p) || range.LeftValue(p) < kRangeMargin || range.RightValue(p) < kRangeMargin) {
      Fault(what + " is outside the range sector or within 5 units of its sides");
    }
  }

  /// A racer's way onto his mat (entry point to stand) and off it (stand to exit point)
  /// passes every other lane's stand at least kLaneClearance away.
  void CheckLaneWays(const std::vector<N_Vector3>& stands, const std::vector<N_Vector3>& entries,
                     const std::vector<N_Vector3>& exits) {
    const std::size_t lanes = std::min({stands.size(), entries.size(), exits.size()});
    for (std::size_t i = 0; i < lanes; ++i) {
      for (std::size_t j = 0; j < lanes; ++j) {
        if (j == i) continue;
        const Vec2 other = Plan(stands[j]);
        if (PlanDistance(Plan(entries[i]), Plan(stands[i]), other) < kLaneClearance ||
            PlanDistance(Plan(stands[i]), Plan(exits[i]), other) < kLaneClearance) {
          Fault(Format("the way through lane %d passes the stand of lane %d", int(i), int(j)));
          break;
        }
      }
    }
  }

  /// A racer's line of fire (stand to his middle target) passes every other stand at
  /// least kFireClearance away.
  void CheckLinesOfFire(const std::vector<N_Vector3>& stands, const std::vector<N_Vector3>& targets) {
    const std::size_t lanes = std::min(stands.size(), targets.size() / kTargetsPerLane);
    for (std::size_t i = 0; i < lanes; ++i) {
      const Vec2 middle = Plan(targets[i * kTargetsPerLane + kTargetsPerLane / 2]);
      for (std::size_t j = 0; j < lanes; ++j) {
        if (j != i && PlanDistance(Plan(stands[i]), middle, Plan(stands[j])) < kFireClearance) {
          Fault(Format("the line of fire of lane %d passes the stand of lane %d", int(i), int(j)));
          break;
        }
      }
    }
  }

  void CheckRange() {
    const int index = Label("Trigger_ShootArea");
    if (index < 0) return;
    const SectorPlanes& range = m_paths[kNormal].sectors[std::size_t(index)];
    const auto* stands = m_course.PointSet("Info_Shoot_Points");
    const auto* entries = m_course.PointSet("Info_Shoot_Helper_In");
    const auto* exits = m_course.PointSet("Info_Shoot_Helper_Out");
    for (int lane = 0; lane < kLanes; ++lane) {
      const auto i = std::size_t(lane);
      if (stands && i < stands->size()) InRange(range, (*stands)[i], Format("the stand of lane %d", lane));
      if (entries && i < entries->size()) InRange(range, (*entries)[i], Format("the entry point of lane %d", lane));
      if (exits && i < exits->size()) InRange(range, (*exits)[i], Format("the exit point of lane %d", lane));
      if (const auto* box = m_course.Trigger(Format("Trigger_Shoot_%.2d", lane))) {
        for (const N_Vector3& corner : Corners(*box)) InRange(range, corner, Format("the approach box of lane %d", lane));
      }
    }
    if (stands && entries && exits) CheckLaneWays(*stands, *entries, *exits);
    if (const auto* targets = m_course.PointSet("Info_Shoot_Target"); stands && targets) CheckLinesOfFire(*stands, *targets);
  }

  /// The point lies in the path's sector of the label.
  void InLabelled(PathKind kind, const char* label, const N_Vector3& p, const std::string& what) {
    const int index = Label(label);
    if (index < 0) return;
    if (!m_paths[kind].sectors[std::size_t(index)].Contains(p)) {
      Fault(what + " is not in the " + label + " sector of Path_" + kPathNames[kind]);
    }
  }

  /// The tangent set points along the labelled sector.
  void Along(PathKind kind, const char* label, const char* set) {
    const int index = Label(label);
    const auto* points = m_course.PointSet(set);
    if (index < 0 || !points || points->size() < 2) return;
    N_Vector3 d = (*points)[1] - (*points)[0];
    d.Normalize();
    if (Vec3Dot(d, m_paths[kind].sectors[std::size_t(index)].Direction()) < 0.9f) {
      Fault(std::string(set) + " does not point along its path");
    }
  }

  void CheckStartPlaces() {
    if (const auto* sprint = m_course.PointSet("Info_Sprint_Start"); sprint && !sprint->empty()) {
      InLabelled(kSprintStart, "Trigger_StartSprint", sprint->front(), "the sprint start");
    }
    if (const auto* relay = m_course.PointSet("Info_Relay_Start"); relay && !relay->empty()) {
      InLabelled(kRelayStart, "Trigger_StartRelay", relay->front(), "the relay start");
    }
    const int grid = Label("Trigger_StartMass"), pursuit = Label("Trigger_StartHunting");
    if (grid >= 0 && pursuit >= 0 && pursuit <= grid) {
      Fault("the Trigger_StartHunting sector does not lie after the mass-start grid's");
    }
    if (const auto* places = m_course.PointSet("Info_Grid_MassStart")) {
      for (std::size_t i = 0; i < places->size(); ++i) {
        InLabelled(kMassStart, "Trigger_StartMass", (*places)[i], Format("grid place %d", int(i)));
        if (pursuit >= 0 && m_paths[kMassStart].sectors[std::size_t(pursuit)].Contains((*places)[i])) {
          Fault(Format("grid place %d lies in the Trigger_StartHunting sector", int(i)));
        }
      }
    }
    for (int i = 0; i < 15; ++i) {
      const auto* set = m_course.PointSet(Format("Info_Hunting_Start%02d", i));
      if (set && !set->empty()) InLabelled(kMassStart, "Trigger_StartHunting", set->front(), Format("pursuit place %d", i));
    }
    for (int i = 0; i < 4; ++i) {
      const auto* set = m_course.PointSet(Format("Info_Relay_StartsPoints_%d", i));
      if (set && set->size() == 4) InLabelled(kNormal, "Trigger_GoToNormalPath", (*set)[2], Format("relay take-over %d", i));
    }
    Along(kMassStart, "Trigger_StartMass", "Info_MassStartTan");
    Along(kMassStart, "Trigger_StartHunting", "Info_HuntingStartTan");
    Along(kSprintStart, "Trigger_StartSprint", "Info_Sprint_Start");
    Along(kRelayStart, "Trigger_StartRelay", "Info_Relay_Start");
    // Each start lies before its path's junction with Normal.
    const std::pair<const char*, const char*> starts[] = {{"Trigger_StartMass", "Trigger_Mass2Normal"},
                                                          {"Trigger_StartHunting", "Trigger_Mass2Normal"},
                                                          {"Trigger_StartSprint", "Trigger_Sprint2Normal"},
                                                          {"Trigger_StartRelay", "Trigger_Relay2Normal"}};
    for (const auto& [start, junction] : starts) {
      const auto it = m_branchLabels.find(junction);
      if (it != m_branchLabels.end() && Label(start) >= 0 && Label(start) >= it->second) {
        Fault(std::string(start) + " does not lie before " + junction);
      }
    }
  }

  /// The Normal path's sectors from `from` up to `to` (both included, round the ring).
  void AddNormal(std::vector<WaySector>& way, int from, int to) const {
    const Path& ring = m_paths[kNormal];
    const int n = int(ring.sectors.size());
    for (int i = from;; i = (i + 1) % n) {
      way.push_back(Sector(kNormal, i));
      if (i == to || int(way.size()) > 2 * n) return;
    }
  }
  WaySector Sector(PathKind kind, int i) const {
    const Path& path = m_paths[kind];
    return {&path.sections[std::size_t(i)], &path.sections[std::size_t(i) + 1], &path.sectors[std::size_t(i)], kind, i};
  }

  /// The loop's sectors from the last start junction's to the finish arrow's, the
  /// arcade short cut's in place of those it skips; empty when a label is missing.
  std::vector<WaySector> Loop(bool shortCut) const {
    const int from = Label("Trigger_Relay2Normal"), to = Label("Trigger_ShowSipkaCiel");
    const int cutFrom = Label("Trigger_ShortCutArcadeStart"), cutTo = Label("Trigger_ShortCutArcadeEnd");
    const int cut = int(m_paths[kShortCutArcade].sectors.size());
    if (from < 0 || to < 0 || m_paths[kNormal].sectors.empty() || (shortCut && (cutFrom < 0 || cutTo < 0 || cut == 0))) {
      return {};
    }
    std::vector<WaySector> loop;
    if (!shortCut) {
      AddNormal(loop, from, to);
      return loop;
    }
    AddNormal(loop, from, cutFrom);
    loop.pop_back();
    for (int k = 0; k < cut; ++k) loop.push_back(Sector(kShortCutArcade, k));
    AddNormal(loop, (cutTo + 1) % int(m_paths[kNormal].sectors.size()), to);  // its last sector is cutTo's junction
    return loop;
  }

  /// Sends the skier along the way, setting off at four points of his stride; a fault
  /// for each sector whose side he meets more steeply than the limit (once per sector)
  /// and when he does not reach its end.
  void Ski(const std::vector<WaySector>& way, Vec2 from, Vec2 heading, float limit, const std::string& who,
           std::set<std::pair<int, int>>& reported) {
    if (way.empty()) return;
    for (const float stride : {0.0f, 0.25f, 0.5f, 0.75f}) {
      const bool through = SkiForward(way, from, heading, stride, [&](const SideMet& side) {
        const WaySector& at = way[side.at];
        if (side.angle > limit && reported.insert({at.path, at.sector}).second) {
          Fault(Format("%s meets a side of Path_%s sector %d at %.1f degrees, more than %.1f", who.c_str(),
                       kPathNames[std::size_t(at.path)], at.sector, double(side.angle * kDegrees),
                       double(limit * kDegrees)));
        }
      });
      if (!through && reported.insert({-1, int(reported.size())}).second) Fault(who + " does not get through");
    }
  }

  /// A skier of the least curve technique holding forward only, started across the loop's
  /// first cross-section along its first sector, skis the loop with the arcade short cut
  /// and without.
  void CheckForwardSkier() {
    std::set<std::pair<int, int>> reported;  // path and sector
    constexpr int kStarts = 11;
    for (const bool shortCut : {false, true}) {
      const std::vector<WaySector> loop = Loop(shortCut);
      if (loop.empty()) continue;
      const Section& first = *loop.front().start;
      const Vec2 across = Plan(first.left) - Plan(first.right);
      const float width = Length(across);
      for (int start = 0; start < kStarts && width > 2.0f * kSideMargin; ++start) {
        const float at = kSideMargin + 1.0f + (width - 2.0f * kSideMargin - 2.0f) * float(start) / float(kStarts - 1);
        Ski(loop, Plan(first.right) + Normalized(across) * at, Plan(loop.front().end->ideal) - Plan(first.ideal),
            SideAngleLimit(kLeastCurveTechnique), "a skier holding forward", reported);
      }
    }
  }

  /// From every stand, facing the way he lies down to shoot prone, a skier of the least
  /// curve technique holding forward only skis to the penalty fork, round the penalty loop as
  /// many times as he can owe it (none to five) and on to the lap count.
  void CheckWayOn() {
    const int range = Label("Trigger_ShootArea"), fork = Label("Trigger_PenaltyPath"), lap = Label("Trigger_RoundCount");
    const auto branch = m_branchLabels.find("Trigger_PenaltyPath");
    const auto* stands = m_course.PointSet("Info_Shoot_Points");
    const auto* targets = m_course.PointSet("Info_Shoot_Target");
    const int ring = int(m_paths[kPenalty].sectors.size());
    if (range < 0 || fork < 0 || lap < 0 || branch == m_branchLabels.end() || branch->second < 0 || !stands ||
        !targets || ring == 0) {
      return;
    }
    std::set<std::pair<int, int>> reported;
    const std::size_t lanes = std::min(stands->size(), targets->size() / kTargetsPerLane);
    for (int loops = 0; loops <= 5; ++loops) {
      std::vector<WaySector> way;
      AddNormal(way, range, fork);
      for (int k = 0; k < loops; ++k) {
        for (int i = 1; i <= ring; ++i) way.push_back(Sector(kPenalty, (branch->second + i) % ring));
      }
      AddNormal(way, (fork + 1) % int(m_paths[kNormal].sectors.size()), lap);
      for (std::size_t lane = 0; lane < lanes; ++lane) {
        const Vec2 shoot = Plan((*targets)[lane * kTargetsPerLane + kTargetsPerLane / 2]) - Plan((*stands)[lane]);
        Ski(way, Plan((*stands)[lane]), {shoot.y, -shoot.x}, SideAngleLimit(kLeastCurveTechnique),
            Format("a skier holding forward from the stand of lane %d (%d penalty loops)", int(lane), loops), reported);
      }
    }
  }

  const Identifiers& m_course;
  std::array<Path, kPathNames.size()> m_paths;
  std::map<std::string, int> m_labels;        ///< trigger -> sector of its (Normal or label) path
  std::map<std::string, int> m_branchLabels;  ///< attachment trigger -> sector of its branch
  std::vector<std::string> m_faults;
};

}  // namespace

const std::vector<N_Vector3>* Identifiers::PointSet(std::string_view name) const { return FindNamed(pointSets, name); }

const std::array<float, 15>* Identifiers::Trigger(std::string_view name) const { return FindNamed(triggers, name); }

std::vector<std::string> CheckCourse(const Identifiers& course) { return Checker(course).Run(); }

}  // namespace course
