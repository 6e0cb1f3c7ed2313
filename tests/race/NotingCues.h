#pragma once
// A double of the shooting's HUD and sound cues that notes every call as one line.
#include "race/ShootingCues.h"

#include <string>
#include <utility>
#include <vector>

namespace test {

/// Notes what the shooting shows and plays, one line a call.
struct NotingCues final : N_ShootingCues {
  void ShowShootingPage() override { calls.push_back("ShowShootingPage"); }
  void CloseShootingPage() override { calls.push_back("CloseShootingPage"); }
  void UpdateShootingClock(float) override {}
  void UpdateShootTable(std::uint8_t mask) override { calls.push_back("UpdateShootTable " + std::to_string(mask)); }
  void ResetShootTable() override { calls.push_back("ResetShootTable"); }
  void AddBullets(std::int32_t count) override { calls.push_back("AddBullets " + std::to_string(count)); }
  void ShowShootingHits() override { calls.push_back("ShowShootingHits"); }
  void HideShootingHits() override { calls.push_back("HideShootingHits"); }
  void AddShootingHit() override { calls.push_back("AddShootingHit"); }
  void ShowStopwatch() override { calls.push_back("ShowStopwatch"); }
  void HideStopwatch() override { calls.push_back("HideStopwatch"); }
  void ShowPenaltyRounds(std::int32_t count) override { calls.push_back("ShowPenaltyRounds " + std::to_string(count)); }
  void ShowPlayerStatus(const char* name, const char*) override { calls.push_back(std::string("ShowPlayerStatus ") + name); }
  void HidePlayerStatus() override { calls.push_back("HidePlayerStatus"); }
  void PlaySound(std::int32_t id) override { calls.push_back("sound " + std::to_string(id)); }
  void PlayHeartbeat(float) override {}
  void StopHeartbeat() override { calls.push_back("StopHeartbeat"); }

  /// The calls since the last look.
  std::vector<std::string> Take() { return std::exchange(calls, {}); }
  std::vector<std::string> calls;
};

}  // namespace test
