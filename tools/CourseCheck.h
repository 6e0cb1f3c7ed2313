#pragma once
// The rules a race course must keep, checked on its named point sets and trigger boxes
// (as the generator builds them, or as a loaded level holds them): the race's paths
// (three polylines each, equal counts, rings closed), their sectors as the race builds
// them (left edge on the left, ideal points on the cross-sections, no sector folded,
// none climbing more than a skater can, no path overlapping itself in plan), every
// label and attachment trigger inside exactly one sector of its paths with the junction
// sectors agreeing, the order of the labels along one lap of the Normal path, the
// shooting range (30 lanes of five targets, every stand, approach box, entry and exit
// point inside the "Trigger_ShootArea" sector and at least 5 units from its sides, no
// lane's way in or out nor its line of fire past another's stand), the start places in
// their labelled sectors (the pursuit places' sector after the mass-start grid's), the
// loop's bends and the ways from the stands through the penalty loops (a skier who holds
// forward only takes them), and the counts of every named set.
#include "core/Vector3.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace course {

/// The names a course carries, looked up without regard to case (first match).
struct Identifiers {
  std::vector<std::pair<std::string, std::vector<N_Vector3>>> pointSets;
  /// Centre, three unit axes, three half extents.
  std::vector<std::pair<std::string, std::array<float, 15>>> triggers;

  const std::vector<N_Vector3>* PointSet(std::string_view name) const;
  const std::array<float, 15>* Trigger(std::string_view name) const;
};

/// Lanes of the shooting range and targets per lane.
constexpr int kLanes = 30;
constexpr int kTargetsPerLane = 5;
/// How far inside the range sector's sides everything of a lane must lie.
constexpr float kRangeMargin = 5.0f;
/// How far a racer's way through his lane keeps from every other stand: clear of the
/// racer on it (racers touch at 40) and of the end of his mat.
constexpr float kLaneClearance = 45.0f;
/// How far a racer's line of fire keeps from every other stand: clear of the racer
/// standing on it.
constexpr float kFireClearance = 50.0f;

/// The steepest climb of a path's ideal line, height per unit of plan length: a slope
/// costs a skier 33 m/s2 times its sine, and the herringbone of the weakest sample
/// athlete (the heaviest, of the least technique) pushes 6.8 m/s2, so that he would
/// stall on steeper ones.
constexpr float kMaxClimb = 0.18f;

/// A skier of the least curve technique a player's athlete can have (the arcade field's
/// least, data/profiles/playerprofiles.data; a new career's athlete has 40) who holds
/// forward only (tools/CourseSkier.h) takes the loop's bends from anywhere across its
/// start, with the arcade short cut and without, and from every stand, facing the way he
/// lies down to shoot prone (a standing skier's facing after a quarter turn from his
/// targets), the straight to the penalty fork, every count of penalty loops and the way
/// on to the lap count.
constexpr float kLeastCurveTechnique = 31.0f;

/// Every rule the course breaks, one line each; empty when it keeps them all.
std::vector<std::string> CheckCourse(const Identifiers& course);

/// The eight paths' names as the point sets spell them ("Path_" + name + "_Left" ...),
/// in the race's order of path kinds: Normal, MassStart, SprintStart, RelayStart,
/// Penalty, Ciel, ShortCutArcade, ShortCutShootArea.
constexpr std::array<const char*, 8> kPathNames{"Normal", "MassStart",  "SprintStart",    "RelayStart",
                                                "Penalty", "Ciel",     "ShortCutArcade", "ShortCutShootArea"};
enum PathKind { kNormal, kMassStart, kSprintStart, kRelayStart, kPenalty, kCiel, kShortCutArcade, kShortCutShootArea };

/// The race's fixed trigger identificators (all 29, the optional ones included).
extern const std::array<const char*, 29> kFixedTriggers;

}  // namespace course
