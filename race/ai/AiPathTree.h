#pragma once
// N_AiPathTree: the graph every skier of a race moves on. The level carries the track
// as eight triples of polylines (left edge, ideal line, right edge) and as named
// trigger boxes; Load turns each triple into a chain of sectors, joins the side paths
// (starts, finish run-in, penalty loop, short cuts) to the Normal ring at the sectors
// holding their junction triggers, and labels sectors with the race's events.
//
// Owned by N_AiPath. Every step and fault goes to "Ai.log"; a missing required trigger
// or path set asks whether to end the program (status 4). The tree owns its sectors:
// the destructor walks each path from its head once (a ring once around).
#include "race/ai/AiIdentificator.h"
#include "race/ai/AiSector.h"

#include <array>
#include <cstdint>
#include <vector>

class N_Level;

namespace Ai {

class N_AiPathTree {
 public:
  /// The path heads, in their stored order.
  enum Path : int {
    kMassStart,
    kSprintStart,
    kRelayStart,
    kNormal,
    kShortCutArcade,
    kShortCutShootArea,
    kCiel,
    kPenalty,
    kPathCount
  };

  N_AiPathTree() = default;
  ~N_AiPathTree();
  N_AiPathTree(const N_AiPathTree&) = delete;
  N_AiPathTree& operator=(const N_AiPathTree&) = delete;

  /// Loads the identificators, builds the eight paths and generates the tree. True when
  /// the generation ran to its end; false when a MassStart count mismatch stopped it
  /// before any path, or a failed attachment or label stopped it (what was built stays).
  bool Load(const N_Level& level);

  /// Builds one path of count points per set into the head slot: count - 1 sectors,
  /// each with cross-sections of its own, linked in order and, when closed, the last
  /// to the first. Fewer than two points build nothing. Always true.
  bool BuildPath(const N_Vector3* left, const N_Vector3* ideal, const N_Vector3* right, std::int32_t count,
                 N_AiSector*& head, std::int32_t pathType, bool closed);
  /// Joins the branch's sector of the point and the Normal path's sector of the point:
  /// their edges must agree (the ideal points too when asked); both get the label and
  /// each the other in its junction list.
  bool AttachBranch(N_AiSector* branch, N_AiSector* normal, const N_Vector3& point, std::int32_t group,
                    std::uint8_t bit, bool checkIdeal);
  /// Sets the label on the path's sector of the point.
  bool LabelSector(N_AiSector* head, const N_Vector3& point, std::int32_t group, std::uint8_t bit);

  /// Adds each path's sector lengths (all but its last sector's) to its length.
  bool ComputeLengths();
  /// Head of the path that holds a start type's start sector: 1 RelayStart, 2 and 3
  /// MassStart, any other SprintStart.
  N_AiSector* GetStartPath(std::int32_t startType) const;

  N_AiSector* Head(Path path) const { return m_heads[path]; }
  float Length(Path path) const { return m_lengths[path]; }

  /// The path's sector holding the point: the last of several (one "Prilis vela
  /// priesekov" line per extra one), null when none. The walk stops at the end of the
  /// chain or back at the head.
  static N_AiSector* FindSector(N_AiSector* head, const N_Vector3& point);

 private:
  void LoadIdentificators(const N_Level& level);
  /// False when a MassStart count mismatch ends the loading.
  bool LoadPaths(const N_Level& level);
  bool Generate();
  /// One generation step for an identificator; false stops the generation.
  bool RunStep(const N_AiIdentificator& id);
  void FreePath(N_AiSector*& head);

  std::array<N_AiSector*, kPathCount> m_heads = {};
  std::array<float, kPathCount> m_lengths = {};
  std::vector<N_AiIdentificator> m_identificators;  ///< only while Load runs
};

}  // namespace Ai
