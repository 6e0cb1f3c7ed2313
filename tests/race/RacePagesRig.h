#pragma once
// The race pages over a test world: the world with the game root's page scripts,
// materials, texts and athletes (not started: no level, no figures), a renderer over
// the recording device that notes what the pages ask of it, a sound manager noting
// its category switches, a timer the test moves, and the string table, all behind
// their global pointers for the rig's lifetime. The race pages' process-wide values
// start fresh.
#include "core/InputMng.h"
#include "core/StringTable.h"
#include "core/Timer.h"
#include "race/ExportData.h"
#include "race/World.h"
#include "render/TextureMngImpl.h"
#include "sound/SoundMng.h"
#include "tests/render/FakeTextureDevice.h"
#include "tests/render/RenderRig.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class N_GuiElement;
class N_GuiTable;

namespace test {

/// What the pages ask of the renderer, in order: "begin frame", "2D camera WxH",
/// "3D camera", "end frame", "post filter <amount>"; the amounts also on their own.
class PagesRender final : public N_Render {
 public:
  explicit PagesRender(std::vector<std::string>& events) : m_events(events) {}
  bool BeginFrame(bool clearTarget) override;
  bool EndFrame() override;
  void SetupCamera(N_Camera* camera, std::int32_t is3D) override;
  void SetPostFilterAmount(float amount) override;

  std::vector<float> amounts;

 private:
  std::vector<std::string>& m_events;
};

/// A silent sound manager noting the category switches (category, value).
class CategorySoundMng final : public N_SoundMng {
 public:
  CategorySoundMng() { g_soundMng = this; }
  ~CategorySoundMng() override { g_soundMng = nullptr; }
  void SetCategoryEnabled(int category, std::uint32_t value) override { switches.emplace_back(category, value != 0); }
  std::vector<std::pair<int, bool>> switches;
};

/// A game that notes its calls ("OnRemove", "deleted") and hands over nothing.
class NotingGame final : public N_Game {
 public:
  explicit NotingGame(std::vector<std::string>& calls) : m_calls(calls) {}
  ~NotingGame() override { m_calls.push_back("deleted"); }
  void Load() override {}
  void Init() override {}
  void Update(float) override { m_calls.push_back("Update"); }
  void Render(float) override {}
  std::unique_ptr<ExportData> PollResult() override;
  void OnRemove() override { m_calls.push_back("OnRemove"); }
  std::uint8_t SetPaused(std::uint8_t paused) override { return paused; }
  bool GetAthleteView(std::int32_t, const float**, N_Vector3*) override { return false; }

  /// Handed over by the next PollResult.
  std::unique_ptr<ExportData> result;

 private:
  std::vector<std::string>& m_calls;
};

/// A clock the test moves; it counts the timer's reads of its counter (one a tick).
class TestClock final : public platform::Clock {
 public:
  std::uint64_t PerformanceFrequency() const override { return 1000000; }
  std::uint64_t PerformanceCounter() const override {
    ++reads;
    return counter;
  }
  std::uint32_t Milliseconds() const override { return 0; }
  std::uint64_t counter = 1000;
  mutable int reads = 0;
};

class RacePagesRig {
 public:
  RacePagesRig();
  ~RacePagesRig();
  RacePagesRig(const RacePagesRig&) = delete;
  RacePagesRig& operator=(const RacePagesRig&) = delete;

  /// Moves the timer on by the seconds (one tick).
  void Step(double seconds);
  /// Frames of dt seconds for the time: the timer moves, the pages are drawn (fades).
  /// The default step is exact in binary, so that fades end on the frame they should.
  void Frames(double seconds, double dt = 0.125);

  N_World& World() { return *world; }
  N_GuiElement& Element(const char* name);
  template <class T>
  T& ElementAs(const char* name) {
    return dynamic_cast<T&>(Element(name));
  }
  std::string Caption(const char* name);
  bool PageVisible(const char* name);
  /// The cells of every row of a table: texts by caption, pictures by shader name.
  std::vector<std::vector<std::string>> Rows(const char* table);
  /// The log written since the last call.
  std::string NewLog();
  /// An input manager over the rig's core, installed as g_inputMng; it reads the
  /// scripted keyboard (a platform::ScriptedInput must outlive it). Null if it fails.
  std::unique_ptr<N_InputMng> ScriptedInputMng();

  std::vector<std::string> events;  ///< the renderer's
  RenderRig rig;
  FakeTextureDevice device;
  N_TextureMngImpl textures{1024, &device};
  N_StringTable strings;
  std::unique_ptr<CategorySoundMng> sounds;  ///< made once the sound scripts are there
  TestClock clock;
  N_Timer timer{clock};
  std::unique_ptr<N_World> world;

 private:
  std::size_t m_logMark = 0;
};

}  // namespace test
