#pragma once
// Helpers of the race tests: a rig with a temporary game root, the core services, an
// open "Ai.log" and answered message boxes; a builder of sector chains and one of a
// level's start-place point sets.
#include "core/Vector3.h"
#include "platform/win32.h"
#include "race/ai/AiSector.h"
#include "tests/support/TestEnv.h"

#include <memory>
#include <string>
#include <vector>

class N_Level;

namespace test {

/// A message box as a test saw it.
struct Box {
  std::string caption;
  std::string text;
  bool operator==(const Box&) const = default;
};

/// A temporary game root with the core services and "Ai.log" open. Boxes are recorded
/// and answered with `answer` (IDNO unless a test changes it).
class RaceRig {
 public:
  RaceRig();
  ~RaceRig();

  /// The lines of "Ai.log" so far (split at each "\n"; the text after the last one too).
  std::vector<std::string> AiLogLines() const;

  TempDir dir;
  CoreServices core;
  std::vector<Box> boxes;
  int answer = IDNO;
};

/// Sectors of one path from three point lists (cross-section k = left[k], ideal[k],
/// right[k]): n - 1 sectors, planes computed, linked in order and, when closed, the
/// last to the first.
std::vector<std::unique_ptr<Ai::N_AiSector>> BuildSectorChain(const std::vector<N_Vector3>& left,
                                                               const std::vector<N_Vector3>& ideal,
                                                               const std::vector<N_Vector3>& right, bool closed,
                                                               std::int32_t pathKind = Ai::kPathNormal);

/// A straight, level course along +x from x0 to x1: left edge at y = +halfWidth, right
/// at y = -halfWidth, ideal line at y = 0, ground at z, cross-sections every step.
std::vector<std::unique_ptr<Ai::N_AiSector>> BuildStraightCourse(float x0, float x1, float step, float halfWidth,
                                                                  float z = 0.0f);

/// Fills every point set the start places read: pursuit place i at (100 i, 0, 0) with a
/// second point, tangents along +y (pursuit) and +x (mass start), a grid of gridPoints
/// places (10 k, 50, 0), sprint start (0, 500, 0) -> (0, 600, 0), relay start
/// (0, 700, 0) -> (10, 700, 0), take-over i points (1000 i + {0, 1, 5, 5}, 0, 0) with p3
/// one unit up in y from p2. Names in skip are left out.
void FillStartPlaceSets(N_Level& level, int gridPoints = 15, const std::vector<std::string>& skip = {});

}  // namespace test
