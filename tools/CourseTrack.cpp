#include "tools/CourseTrack.h"

#include "tools/CourseStadium.h"
#include "tools/CourseStraight.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

namespace course {

namespace {

using namespace stadium;

constexpr float kPi = 3.14159265f;
/// Trigger boxes reach this high above their centre and below it.
constexpr float kTriggerHalfHeight = 200.0f;

/// The labels of the loop's last sectors, the last one last: the finish arrow and fork
/// (the last lap leaves for the finish before the stadium), the range by-pass's fork
/// and the lap time, which gives a racer his stance as he enters the range.
constexpr const char* kLoopEnd[] = {"Trigger_ShowSipkaCiel", "Trigger_Normal2Ciel", "Trigger_ShortCutShootAreaStart",
                                    "Trigger_RoundTime"};

/// The loop's labels: before the arcade short cut (by fraction of that stretch) and
/// after it. The split times all lie before it: the standings each opens stay up for
/// 10 s over the screen's middle, and from the short cut's end the stadium, where the
/// lane arrow comes into view, is nearer than that.
constexpr std::pair<const char*, float> kBeforeShortCut[] = {{"Trigger_Com_Trainer_01", 0.15f},
                                                             {"Trigger_SplitTime_1", 0.3f},
                                                             {"Trigger_Com_Trainer_02", 0.5f},
                                                             {"Trigger_SplitTime_2", 0.65f},
                                                             {"Trigger_Kampfgeist", 0.85f},
                                                             {"Trigger_SplitTime_3", 0.95f}};
constexpr std::pair<const char*, float> kAfterShortCut[] = {{"Trigger_Com_Trainer_03", 0.6f}};

std::string Format(const char* format, int value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

class TrackBuilder {
 public:
  TrackBuilder(const Layout& layout, const Terrain& terrain) : m_layout(layout), m_frame(layout.frame), m_terrain(terrain) {}

  Track Build() {
    BuildNormal();
    BuildFinish();
    BuildPenalty();
    BuildBypass();
    BuildStarts();
    BuildShortCut();
    AddPaths();
    AddRange();
    AddStartPlaces();
    AddMarkers();
    AddMenuPath();
    return std::move(m_track);
  }

 private:
  /// The world point over a local plan point, `above` over the ground.
  N_Vector3 Ground(Vec2 local, float above = kLift) const {
    const Vec2 w = m_frame.Point(local);
    return {w.x, w.y, m_terrain.Height(w) + above};
  }
  Section MakeSection(const Stop& stop) const {
    const Vec2 side = LeftOf(stop.station.direction);
    const float right = stop.rightWidth < 0.0f ? stop.halfWidth : stop.rightWidth;
    return {Ground(stop.station.point + side * stop.halfWidth), Ground(stop.station.point),
            Ground(stop.station.point - side * right)};
  }
  /// The sections of the stations from `first` up to (without) `end`, at one half width.
  void Append(std::vector<Section>& path, const std::vector<Station>& stations, std::size_t first, std::size_t end,
              float halfWidth = kHalfWidth) {
    for (std::size_t i = first; i < end; ++i) path.push_back(MakeSection({stations[i], halfWidth}));
  }
  std::vector<Section>& Path(PathKind kind) { return m_track.paths[kind]; }
  const Section& Normal(int i) const { return m_track.paths[kNormal][std::size_t(i)]; }
  int NormalSector(const char* label) const { return m_normalSectors.at(label); }

  void BuildNormal() {
    const Straight& straight = StadiumStraight();
    std::vector<Stop> stops = straight.stops;
    m_normalSectors = straight.sectors;
    const Station exit = stops.back().station;
    m_track.exitX = exit.point.x;
    const std::vector<Station> loop = SampleCurve(exit.point, exit.direction, m_layout.loop, {0, 0}, {1, 0}, kCurveStep);
    const int loopFirst = int(stops.size()) - 1;
    for (std::size_t i = 1; i + 1 < loop.size(); ++i) stops.push_back({loop[i]});
    for (const Stop& stop : stops) {
      m_normalStations.push_back(stop.station);
      Path(kNormal).push_back(MakeSection(stop));
    }
    Path(kNormal).push_back(Path(kNormal).front());  // the ring ends on its first cross-section
    LabelLoop(loopFirst);
    for (const auto& [label, sector] : m_normalSectors) LabelSector(label, Normal(sector), Normal(sector + 1));
  }

  /// The Normal station nearest to a local point, from `from` on.
  int NearestStation(Vec2 point, int from) const {
    int best = from;
    for (int i = from; i < int(m_normalStations.size()); ++i) {
      if (Length(m_normalStations[std::size_t(i)].point - point) <
          Length(m_normalStations[std::size_t(best)].point - point)) {
        best = i;
      }
    }
    return best;
  }

  void LabelLoop(int loopFirst) {
    const int sectors = int(m_normalStations.size());  // the ring's sector count
    const int from = NearestStation(m_layout.loop[std::size_t(m_layout.shortCutFrom)], loopFirst);
    const int to = NearestStation(m_layout.loop[std::size_t(m_layout.shortCutTo)], from + 1);
    m_normalSectors["Trigger_ShortCutArcadeStart"] = from;
    m_normalSectors["Trigger_ShortCutArcadeEnd"] = to;
    for (const auto& [label, fraction] : kBeforeShortCut) {
      m_normalSectors[label] = loopFirst + 1 + int(float(from - loopFirst - 2) * fraction);
    }
    for (const auto& [label, fraction] : kAfterShortCut) {
      m_normalSectors[label] = to + 1 + int(float(sectors - to - 2) * fraction);
    }
    int last = sectors - int(std::size(kLoopEnd));
    for (const char* label : kLoopEnd) m_normalSectors[label] = last++;
  }

  /// A trigger box over a sector: centred in it, along it, nine tenths of its size.
  void LabelSector(const std::string& name, const Section& s, const Section& e) {
    const N_Vector3 centre = (s.left + s.right + e.left + e.right) * 0.25f;
    const Vec2 along = Normalized(Plan(e.ideal) - Plan(s.ideal));
    const float length = Length(Plan(e.ideal) - Plan(s.ideal));
    const float halfWidth = (Length(Plan(s.left) - Plan(s.right)) + Length(Plan(e.left) - Plan(e.right))) * 0.25f;
    AddTrigger(name, centre, along, {length * 0.45f, halfWidth * 0.9f, kTriggerHalfHeight});
  }
  /// A box at the centre, its first axis along the plan direction.
  void AddTrigger(const std::string& name, const N_Vector3& centre, Vec2 along, const std::array<float, 3>& half) {
    const Vec2 side = LeftOf(along);
    m_track.identifiers.triggers.push_back({name,
                                            {centre.x, centre.y, centre.z, along.x, along.y, 0.0f, side.x, side.y, 0.0f,
                                             0.0f, 0.0f, 1.0f, half[0], half[1], half[2]}});
  }
  void AddPointSet(const std::string& name, std::vector<N_Vector3> points) {
    m_track.identifiers.pointSets.emplace_back(name, std::move(points));
  }

  /// The finish path: from its junction on the loop's last bend it curves south past
  /// the range to the finish lane, which carries the finish line.
  void BuildFinish() {
    const int fork = NormalSector("Trigger_Normal2Ciel");
    auto& path = Path(kCiel);
    path = {Normal(fork), Normal(fork + 1)};
    const Station& from = m_normalStations[std::size_t(fork) + 1];
    const auto curve = SampleCurve(from.point, from.direction, {}, {kFinishFrom, kFinishY}, {1, 0}, kCurveStep);
    Append(path, curve, 1, curve.size());
    std::vector<Station> lane;
    for (float x = kFinishFrom + kStraightStep; x <= kFinishTo; x += kStraightStep) lane.push_back({{x, kFinishY}, {1, 0}});
    const int before = int(path.size()) - 1;
    Append(path, lane, 0, lane.size());
    const int line = before + int((kFinishLine - kFinishFrom) / kStraightStep);
    LabelSector("Trigger_Ciel", path[std::size_t(line)], path[std::size_t(line) + 1]);
  }

  /// The penalty loop: its junction sector, then left round to the north and back into
  /// the junction along the straight (tools/CourseStraight.h); a ring.
  void BuildPenalty() {
    const int fork = NormalSector("Trigger_PenaltyPath");
    const Station& start = m_normalStations[std::size_t(fork)];
    const Station& end = m_normalStations[std::size_t(fork) + 1];
    const auto round = SamplePolyline(PenaltyLine(start, end), kPenaltyStep);
    auto& path = Path(kPenalty);
    path = {Normal(fork), Normal(fork + 1)};
    Append(path, round, 1, round.size() - 1);
    path.push_back(Normal(fork));
    // The count is taken half way round, where the loop lies furthest from the fork.
    std::size_t count = 1;
    for (std::size_t i = 1; i + 1 < round.size(); ++i) {
      if (Length(round[i].point - end.point) > Length(round[count].point - end.point)) count = i;
    }
    LabelSector("Trigger_Penalty_Count", path[count + 1], path[count + 2]);
  }

  /// The range's by-pass: no racer takes it; it runs with the Normal path from its fork
  /// on the loop's last bend through the range to its return after it (a lane of its
  /// own beside the range would be a track line leading a skier astray).
  void BuildBypass() {
    const int from = NormalSector("Trigger_ShortCutShootAreaStart");
    const int to = NormalSector("Trigger_ShortCutShootAreaEnd");
    const int ring = int(m_normalStations.size());
    auto& path = Path(kShortCutShootArea);
    path.clear();
    for (int i = from; i <= ring + to + 1; ++i) path.push_back(Normal(i % ring));
  }

  /// A point of the start area's frame in the stadium's frame.
  Vec2 Start(Vec2 local) const { return m_track.startArea.Point(local); }
  Vec2 StartDirection(Vec2 local) const { return m_track.startArea.Direction(local); }

  /// The start paths: one start area (lead-in, grid, pursuit places, narrowing) along
  /// its axis, then one bend into the straight; each path then follows the straight to
  /// its junction.
  void BuildStarts() {
    const int mass = NormalSector("Trigger_Mass2Normal");
    const Vec2 junction = m_normalStations[std::size_t(mass)].point;
    const Vec2 axis{std::cos(kStartAngle), std::sin(kStartAngle)};
    const Vec2 meeting = junction - Vec2{kStartBend, 0.0f};
    m_track.startArea = {meeting - axis * (kStartNarrowTo - kStartLeadIn + kStartBend), kStartAngle};
    std::vector<Section> start;
    for (const auto& [x, halfWidth] : {std::pair{kStartLeadIn, kStartHalfWidth}, std::pair{kGridFrom, kStartHalfWidth},
                                       std::pair{kGridTo, kStartHalfWidth}, std::pair{kPursuitTo, kStartHalfWidth},
                                       std::pair{kStartNarrowTo, kHalfWidth}}) {
      start.push_back(MakeSection({{Start({x, 0}), axis}, halfWidth}));
    }
    const auto curve = SampleCurve(Start({kStartNarrowTo, 0}), axis, {}, junction, {1, 0}, kCurveStep);
    Append(start, curve, 1, curve.size() - 1);
    const std::pair<PathKind, const char*> paths[] = {{kMassStart, "Trigger_Mass2Normal"},
                                                      {kSprintStart, "Trigger_Sprint2Normal"},
                                                      {kRelayStart, "Trigger_Relay2Normal"}};
    for (const auto& [kind, junction] : paths) {
      Path(kind) = start;
      for (int i = mass; i <= NormalSector(junction) + 1; ++i) Path(kind).push_back(Normal(i));
    }
    // The labels of the grid's sector (1) and of the pursuit's (2).
    const Section& gridFrom = start[1];
    const Section& gridTo = start[2];
    LabelSector("Trigger_StartMass", gridFrom, gridTo);
    LabelSector("Trigger_StartHunting", start[2], start[3]);
    const float middle = (kGridFrom + kGridTo) * 0.5f;
    const Vec2 along = m_frame.Direction(axis);
    AddTrigger("Trigger_StartSprint", Ground(Start({middle, 100})), along, {300, 150, kTriggerHalfHeight});
    AddTrigger("Trigger_StartRelay", Ground(Start({middle, -100})), along, {300, 150, kTriggerHalfHeight});
  }

  /// The arcade short cut: from its junction on the loop across (through the layout's
  /// points, if any) to the other.
  void BuildShortCut() {
    const int from = NormalSector("Trigger_ShortCutArcadeStart");
    const int to = NormalSector("Trigger_ShortCutArcadeEnd");
    const Station& a = m_normalStations[std::size_t(from) + 1];
    const Station& b = m_normalStations[std::size_t(to)];
    auto& path = Path(kShortCutArcade);
    path = {Normal(from), Normal(from + 1)};
    const auto curve = SampleCurve(a.point, a.direction, m_layout.shortCut, b.point, b.direction, kCurveStep);
    Append(path, curve, 1, curve.size() - 1);
    path.push_back(Normal(to));
    path.push_back(Normal(to + 1));
  }

  void AddPaths() {
    for (std::size_t kind = 0; kind < kPathNames.size(); ++kind) {
      std::vector<N_Vector3> left, ideal, right;
      for (const Section& s : m_track.paths[kind]) {
        left.push_back(s.left);
        ideal.push_back(s.ideal);
        right.push_back(s.right);
      }
      const std::string prefix = std::string("Path_") + kPathNames[kind];
      AddPointSet(prefix + "_Left", left);
      AddPointSet(prefix + "_Ideal", ideal);
      AddPointSet(prefix + "_Right", right);
    }
  }

  /// The 30 lanes: stands, entry and exit points, approach boxes and targets.
  void AddRange() {
    std::vector<N_Vector3> stands, entries, exits, targets;
    for (int lane = 0; lane < kLanes; ++lane) {
      const Vec2 stand = LaneStand(lane);
      const Vec2 facing = LaneFacing(lane);  // lying down: the right of the shooting direction
      const Vec2 shoot = LeftOf(facing);
      stands.push_back(Ground(stand));
      entries.push_back(Ground(stand - facing * kApproach));
      exits.push_back(Ground(stand + facing * kExitAhead));
      for (int t = 0; t < kTargetsPerLane; ++t) {
        targets.push_back(Ground(stand + shoot * kTargetDistance + facing * (kTargetSpacing * float(t - 2)), kTargetHeight));
      }
      const Vec2 centre = stand + facing * ((kApproachBoxTo - kApproachBoxFrom) * 0.5f);
      AddTrigger(Format("Trigger_Shoot_%.2d", lane), Ground(centre, 60.0f), m_frame.Direction(facing),
                 {(kApproachBoxFrom + kApproachBoxTo) * 0.5f, kApproachBoxHalfWidth, 60.0f});
    }
    AddPointSet("Info_Shoot_Points", stands);
    AddPointSet("Info_Shoot_Target", targets);
    AddPointSet("Info_Shoot_Helper_In", entries);
    AddPointSet("Info_Shoot_Helper_Out", exits);
  }

  /// Two points: a place and one ahead of it along the local direction.
  std::vector<N_Vector3> Pair(Vec2 place, Vec2 direction) const { return {Ground(place), Ground(place + direction)}; }

  /// Two points of the start area's frame: a place and one ahead of it.
  std::vector<N_Vector3> StartPair(Vec2 place, Vec2 direction) const {
    return Pair(Start(place), StartDirection(direction));
  }

  void AddStartPlaces() {
    // The grid: five rows of three, the front row first.
    std::vector<N_Vector3> grid;
    const float columns[3] = {0.0f, 170.0f, -170.0f};
    for (int row = 0; row < 5; ++row) {
      for (float column : columns) grid.push_back(Ground(Start({kGridTo - 150.0f - 150.0f * float(row), column})));
    }
    AddPointSet("Info_Grid_MassStart", grid);
    AddPointSet("Info_MassStartTan", StartPair({kGridFrom, 0}, {100, 0}));
    for (int i = 0; i < 15; ++i) {
      const Vec2 place{kPursuitTo - 100.0f - 150.0f * float(i / 3), columns[i % 3]};
      AddPointSet(Format("Info_Hunting_Start%02d", i), StartPair(place, {100, 0}));
    }
    AddPointSet("Info_HuntingStartTan", StartPair({kGridTo, 0}, {100, 0}));
    AddPointSet("Info_Sprint_Start", StartPair({kGridTo - 100.0f, 60.0f}, {100, 0}));
    AddPointSet("Info_Relay_Start", StartPair({kGridTo - 100.0f, -60.0f}, {100, 0}));
    AddPointSet("Sprint_Starter", StartPair({kGridTo - 80.0f, kStartHalfWidth - 40.0f}, {0, -100}));
    // The relay take-over places side by side across the take-over sector: p2 the place,
    // p3 ahead, p0 and p1 behind it (the hand-over point and its second offset).
    const int change = NormalSector("Trigger_GoToNormalPath");
    const Vec2 middle =
        (m_normalStations[std::size_t(change)].point + m_normalStations[std::size_t(change) + 1].point) * 0.5f;
    for (int team = 0; team < 4; ++team) {
      const Vec2 place = middle + Vec2{0.0f, -90.0f + 60.0f * float(team)};
      AddPointSet(Format("Info_Relay_StartsPoints_%d", team),
                  {Ground(place - Vec2{80, 0}), Ground(place - Vec2{80, -30}), Ground(place), Ground(place + Vec2{100, 0})});
    }
  }

  /// The finish arrow at the finish fork, on its right and pointing half right, and the
  /// penalty arrow at the penalty fork, each pointing the way.
  void AddMarkers() {
    const Station& fork = m_normalStations[std::size_t(NormalSector("Trigger_ShowSipkaCiel")) + 1];
    const Vec2 left = LeftOf(fork.direction);
    AddPointSet("Info_Sipka_Ciel", Pair(fork.point - left * 60.0f, (fork.direction - left) * 120.0f));
    const Station& penalty = m_normalStations[std::size_t(NormalSector("Trigger_PenaltyShow")) + 1];
    const Vec2 ahead = penalty.direction;
    AddPointSet("Info_Sipka_PenaltyRound", Pair(penalty.point + LeftOf(ahead) * 60.0f, ahead * 80.0f + LeftOf(ahead) * 140.0f));
  }

  /// Eight points round the stadium, high over its flat ground, for the menu's camera:
  /// it starts south of the start area and flies west along the stadium first.
  void AddMenuPath() {
    std::vector<N_Vector3> points;
    const Vec2 centre{m_track.exitX * 0.5f, -300.0f};
    for (int i = 0; i < 8; ++i) {
      const float a = -kPi * 0.5f - 2.0f * kPi * float(i) / 8.0f;  // westwards first
      points.push_back(Ground(centre + Vec2{std::cos(a) * 6000.0f, std::sin(a) * 2300.0f}, 600.0f));
    }
    AddPointSet("CameraPath_Menu", points);
  }

  const Layout& m_layout;
  Frame m_frame;
  const Terrain& m_terrain;
  std::vector<Station> m_normalStations;    ///< in the stadium's frame, the ring's stations
  std::map<std::string, int> m_normalSectors;  ///< label -> sector of the Normal path
  Track m_track;
};

}  // namespace

Track BuildTrack(const Layout& layout, const Terrain& terrain) { return TrackBuilder(layout, terrain).Build(); }

}  // namespace course
