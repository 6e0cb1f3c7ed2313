#pragma once
// Doubles of the world tests: a game and a rifle that note what the world asks of them
// into a shared list of events, and a sound manager that notes the sounds made,
// played and released.
#include "core/Globals.h"
#include "core/Log.h"
#include "race/ExportData.h"
#include "scene/Game.h"
#include "scene/RifleView.h"
#include "sound/SoundMng.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace test {

/// A game noting "game update", "game poll", "game render", "paused <n>", "game removed"
/// and "game deleted". `onUpdate` runs inside its Update; `result`, when set, is handed
/// over by the next poll.
class RecordingGame final : public N_Game {
 public:
  explicit RecordingGame(std::vector<std::string>& events) : m_events(events) {}
  ~RecordingGame() override { m_events.push_back("game deleted"); }
  void Load() override {}
  void Init() override {}
  void Update(float) override {
    m_events.push_back("game update");
    if (onUpdate) onUpdate();
  }
  void Render(float frameTime) override {
    m_events.push_back("game render");
    if (onRender) onRender(frameTime);
  }
  std::unique_ptr<ExportData> PollResult() override {
    m_events.push_back("game poll");
    return std::move(result);
  }
  void OnRemove() override { m_events.push_back("game removed"); }
  std::uint8_t SetPaused(std::uint8_t paused) override {
    m_events.push_back("paused " + std::to_string(paused));
    return paused;
  }
  bool GetAthleteView(std::int32_t, const float**, N_Vector3*) override { return false; }

  std::function<void()> onUpdate;
  std::function<void(float)> onRender;
  std::unique_ptr<ExportData> result;

 private:
  std::vector<std::string>& m_events;
};

/// A rifle that is aimed or not, noting "rifle" when drawn.
class RecordingRifle final : public N_RifleView {
 public:
  explicit RecordingRifle(std::vector<std::string>& events) : m_events(events) {}
  bool IsAiming() override { return aiming; }
  void Render(float) override { m_events.push_back("rifle"); }
  bool aiming = false;

 private:
  std::vector<std::string>& m_events;
};

/// A silent sound manager noting the sounds made (by name), played and released (by
/// handle); handles count from 1 in the order of making. Behind g_soundMng while it lives.
class NotingSoundMng final : public N_SoundMng {
 public:
  NotingSoundMng() { g_soundMng = this; }
  ~NotingSoundMng() override { g_soundMng = nullptr; }
  int CreateSound(const char* shader, const float*) override {
    made.push_back(shader);
    return int(made.size());
  }
  bool ReleaseSound(int handle) override {
    released.push_back(handle);
    return false;
  }
  int Play(int handle) override {
    played.push_back(handle);
    return 0;
  }
  void DumpBufferStatistics() override {
    ++dumps;
    if (g_log) g_log->Print("SoundMng::DumpBufferStatistics\n");
  }
  /// The name a handle was made for ("" for none).
  std::string NameOf(int handle) const {
    return handle >= 1 && handle <= int(made.size()) ? made[std::size_t(handle - 1)] : "";
  }
  std::vector<std::string> made;
  std::vector<int> released;
  std::vector<int> played;
  int dumps = 0;
};

}  // namespace test
