// The path network from generated levels: polylines of 0 to 500 points with mismatched
// counts, NaN, infinite and repeated coordinates, folded and zero-length sectors,
// triggers anywhere and names missing at random, every question answered No. Each
// load ends without a crash and the queries on the result stay safe.
#include "core/FormatString.h"
#include "race/ShootingRange.h"
#include "race/ai/AiIdentificator.h"
#include "tests/race/AiPathSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

/// The test's own generator, deterministic per seed.
struct Generator {
  explicit Generator(std::uint32_t seed) : state(seed * 2654435761u + 1u) {}
  std::uint32_t Next() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  }
  std::uint32_t Below(std::uint32_t n) { return n ? Next() % n : 0; }
  float Coordinate() {
    switch (Below(16)) {
      case 0:
        return std::numeric_limits<float>::quiet_NaN();
      case 1:
        return std::numeric_limits<float>::infinity();
      case 2:
        return -std::numeric_limits<float>::infinity();
      case 3:
        return 0.0f;
      default:
        return float(Below(4000)) - 2000.0f;
    }
  }
  std::uint32_t state;
};

const char* const kPaths[] = {"MassStart", "SprintStart", "RelayStart", "Normal",
                              "ShortCutArcade", "ShortCutShootArea", "Penalty", "Ciel"};

/// A polyline of n cross-sections: a wandering track (sometimes folded back, sometimes
/// standing still), with garbage coordinates now and then.
void AddPath(N_Level& level, Generator& g, const std::string& name) {
  const std::uint32_t n = g.Below(8) == 0 ? g.Below(501) : g.Below(40);
  std::vector<N_Vector3> left, ideal, right;
  float x = 0.0f, y = 0.0f;
  for (std::uint32_t i = 0; i < n; ++i) {
    const std::uint32_t kind = g.Below(10);
    if (kind == 0) {
      // zero length: the same cross-section again
    } else if (kind == 1) {
      x -= 100.0f;  // folded back
    } else {
      x += 100.0f;
      y += float(g.Below(60)) - 30.0f;
    }
    const bool garbage = g.Below(20) == 0;
    const N_Vector3 i0{garbage ? g.Coordinate() : x, y, 0.0f};
    left.push_back({i0.x, y + 50.0f, 0.0f});
    ideal.push_back(i0);
    right.push_back({i0.x, y - 50.0f, garbage ? g.Coordinate() : 0.0f});
  }
  const char* sides[] = {"_Left", "_Ideal", "_Right"};
  std::vector<N_Vector3>* sets[] = {&left, &ideal, &right};
  for (int k = 0; k < 3; ++k) {
    if (g.Below(12) == 0) continue;  // missing
    std::vector<N_Vector3> points = *sets[k];
    if (g.Below(6) == 0 && !points.empty()) points.resize(g.Below(std::uint32_t(points.size())));  // mismatched
    level.AddPointSet("Path_" + std::string(name) + sides[k], points);
  }
}

void AddTrigger(N_Level& level, Generator& g, const std::string& name) {
  if (g.Below(6) == 0) return;  // missing
  N_LevelTrigger trigger;
  std::strncpy(trigger.name, name.c_str(), sizeof trigger.name - 1);
  trigger.box[0] = g.Below(3) == 0 ? g.Coordinate() : float(g.Below(4000));
  trigger.box[1] = float(g.Below(200)) - 100.0f;
  trigger.box[2] = g.Below(10) == 0 ? g.Coordinate() : 0.0f;
  level.triggers.push_back(trigger);
}

void AddPoints(N_Level& level, Generator& g, const std::string& name, std::uint32_t most) {
  if (g.Below(8) == 0) return;
  std::vector<N_Vector3> points;
  const std::uint32_t n = g.Below(most + 1);
  for (std::uint32_t i = 0; i < n; ++i) points.push_back({g.Coordinate(), g.Coordinate(), g.Coordinate()});
  level.AddPointSet(name, points);
}

TEST(AiPathFuzz, GeneratedLevelsLoadWithoutFaultAndTheQueriesStaySafe) {
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    test::RaceRig rig;
    Generator g(seed);
    N_Level level;
    for (const char* path : kPaths) AddPath(level, g, path);
    for (const auto& kind : Ai::kFixedIdentificators) AddTrigger(level, g, kind.trigger);
    for (int n = 1; n <= Ai::kSplitTimes; ++n) AddTrigger(level, g, FormatString("Trigger_SplitTime_%d", n));
    if (g.Below(2)) test::FillStartPlaceSets(level);
    for (const char* set : {"Info_Shoot_Helper_In", "Info_Shoot_Helper_Out", "Info_Sipka_Ciel", "Sprint_Starter",
                            "Info_Sipka_PenaltyRound"}) {
      AddPoints(level, g, set, 4);
    }
    const std::uint32_t lanes = g.Below(5);
    AddPoints(level, g, "Info_Shoot_Points", lanes);
    AddPoints(level, g, "Info_Shoot_Target", lanes * 5 + 2);
    for (std::uint32_t i = 0; i < 6; ++i) AddTrigger(level, g, FormatString("Trigger_Shoot_%02u", i));

    {
      Ai::N_AiPath path;
      path.Load(level);
      path.GetRelayChangeSector();
      for (std::int32_t type = 0; type <= 5; ++type) {
        Ai::N_AiSector* sector = nullptr;
        path.GetStartSector(type, sector);
      }
      path.SetShootPattern("LSV");
      for (std::uint32_t i = 0; i < 8; ++i) {
        path.GetShootStance(i);
        path.GetHelperIn(i);
        path.GetHelperOut(i);
        path.GetShootTrigger(i);
        path.GetStand(int(i));
      }
      N_Vector3 p, d;
      path.GetFinishArrow(p, d);
      path.GetPenaltyArrow(p, d);
      path.GetStartBox(p, d);
      path.FindStrategy(0.5f);
      path.UpdateShootingRange(0.033f);
      path.ResetShooterView();
    }
    EXPECT_FALSE(rig.dir.Read("Ai.log").empty());
  }
}

}  // namespace
