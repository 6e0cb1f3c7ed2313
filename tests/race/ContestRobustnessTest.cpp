// Random descriptions through the relay and both buddy contests: any entry count,
// athlete indices beyond the lists, lap counts 0 to 255, any player index, discipline
// and contest fields; Load, Init, 300 updates, Render and PollResult with every
// question answered No. Nothing may crash or hang (the sanitizer build checks the
// memory).
#include "core/Random.h"
#include "race/ExportData.h"
#include "race/GameBodyGamesRun.h"
#include "race/GameBodyGamesShoot.h"
#include "race/GameRelay.h"
#include "tests/race/RaceSimRig.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using test::RaceSimRig;

std::unique_ptr<GameData> RandomDescription(std::mt19937& gen) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
  auto data = std::make_unique<GameData>();
  const int entries = pick(0, 40);
  for (int i = 0; i < entries; ++i) data->StartList.push_back({pick(-3, 400), float(pick(-20, 5))});
  data->Sex = pick(0, 2);
  data->Discipline = pick(0, 13);
  data->Laps = std::uint8_t(pick(0, 1) ? pick(0, 3) : pick(0, 255));
  data->PlayerIndex = std::int8_t(pick(-128, 127));
  data->Difficulty = std::uint8_t(pick(0, 1));
  data->TimeLimit = float(pick(-2, 3));
  data->Faultless = std::uint8_t(pick(0, 1));
  data->TargetHits = pick(-1, 3);
  data->ShotLimit = pick(-1, 3);
  data->Sway = std::uint8_t(pick(0, 1));
  return data;
}

template <class Mode>
void Drive(RaceSimRig& rig, std::unique_ptr<GameData> data) {
  Mode mode(std::move(data), rig.Services());
  mode.Load();
  mode.Init();
  mode.SetPaused(0);
  std::unique_ptr<ExportData> result;
  for (int i = 0; i < 300 && !result; ++i) {
    mode.Update(0.05f + 0.01f * float(i % 7));
    mode.Render(0.05f);
    result = mode.PollResult();
  }
  if (!result) result = mode.PollResult();
  if (result) {
    EXPECT_EQ(mode.PollResult(), nullptr);  // a record is made once
  }
}

TEST(ContestRobustness, RandomDescriptionsThroughEveryMode) {
  RaceSimRig rig(RaceSimRig::Recording::kOff);
  rig.camera.viewportWidth = 1280;  // a screen for the relay's letterbox
  rig.camera.aspect = 1280.0f / 1024.0f;
  std::mt19937 gen(37);
  Srand(37);
  for (int round = 0; round < 8; ++round) {
    SCOPED_TRACE(round);
    Drive<N_GameRelay>(rig, RandomDescription(gen));
    Drive<N_GameBodyGamesRun>(rig, RandomDescription(gen));
    Drive<N_GameBodyGamesShoot>(rig, RandomDescription(gen));
  }
}

}  // namespace
