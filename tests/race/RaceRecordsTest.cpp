#include "race/ExportData.h"
#include "race/GameData.h"
#include "race/RunRecorder.h"

#include <gtest/gtest.h>

namespace {

TEST(RaceRecords, AnUnfilledDescriptionHasItsDefaultsAndTextsAreCutToTheirFields) {
  GameData data;
  EXPECT_TRUE(data.StartList.empty());
  EXPECT_EQ(data.PlayerIndex, -1);
  EXPECT_EQ(data.Laps, 0);
  EXPECT_EQ(data.SnowQuality, 1);
  EXPECT_EQ(data.TimeLimit, -1.0f);
  EXPECT_EQ(data.TargetHits, -1);
  EXPECT_EQ(data.ShotLimit, -1);
  EXPECT_EQ(data.Sway, 1);
  EXPECT_EQ(data.PlayerName, "Uplny pako");
  EXPECT_EQ(data.Nation, "GER");
  EXPECT_EQ(data.TrainingScale1, 1.0f);
  data.SetPlayerName(std::string(200, 'n'));
  data.SetNation("SVKX");
  EXPECT_EQ(data.PlayerName, std::string(127, 'n'));
  EXPECT_EQ(data.Nation, "SVK");
}

TEST(RaceRecords, AResultOwnsItsRowsLapTimesAndRecordedRun) {
  {
    ExportData empty;
    EXPECT_EQ(empty.Discipline, 13);
    EXPECT_EQ(empty.Success, 1);
    EXPECT_TRUE(empty.Rows.empty());
    EXPECT_TRUE(empty.LapTimes.empty());
    EXPECT_EQ(empty.Ghost, nullptr);
  }
  // Filled and destroyed: the sanitizer build's leak check sees the three freed.
  auto result = std::make_unique<ExportData>();
  result->Rows.resize(30);
  result->LapTimes = {61.5f, 60.25f, 12.0f};
  result->Ghost = std::make_unique<N_RunRecorder>();
  result->Ghost->StartRecording(nullptr, {1, 2, 3}, {1, 0, 0}, 7);
  EXPECT_EQ(result->Rows[29].StartNumber, 0);
  result.reset();
}

}  // namespace
