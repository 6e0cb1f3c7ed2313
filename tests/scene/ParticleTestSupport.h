#pragma once
// What the particle tests share: the frame time at times a test sets (a timer over a
// clock the test moves, behind g_timer), a running game that answers a ground triangle
// for its athlete (until the race builds the game modes), and a particle scene on the
// recording renderer (SceneRig) with the manager, the camera and the timer behind g_scene.
#include "race/ExportData.h"  // the game doubles hand over no result
#include "scene/Game.h"
#include "scene/ParticleMng.h"
#include "scene/ParticleShader.h"
#include "tests/scene/SceneTestSupport.h"
#include "tests/support/ManualTimer.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace test {

/// g_timer at times the test sets, for the test's lifetime.
class TestFrameTime : public ManualTimer {
 public:
  TestFrameTime();
  ~TestFrameTime();
};

/// A running game whose one racer stands on a ground triangle: GetAthleteView answers
/// for `athleteId` only, with the triangle and the view point; every id asked is kept.
class GroundGame final : public N_Game {
 public:
  void Load() override {}
  void Init() override {}
  void Update(float) override {}
  void Render(float) override {}
  std::unique_ptr<ExportData> PollResult() override { return nullptr; }
  void OnRemove() override {}
  std::uint8_t SetPaused(std::uint8_t paused) override { return paused; }
  bool GetAthleteView(std::int32_t id, const float** block, N_Vector3* point) override;

  std::int32_t athleteId = 7;
  /// Three points: the flat ground z = 0 by default.
  std::array<float, 9> ground{0, 0, 0, 100, 0, 0, 0, 100, 0};
  N_Vector3 viewPoint{0.0f, 0.0f, 1.0f};
  std::vector<std::int32_t> asked;
};

/// SceneRig with the particle manager, the camera (at the origin looking along +y) and
/// the frame time behind the globals; scripts go to data/scripts below the test's
/// directory.
class ParticleRig : public SceneRig {
 public:
  ParticleRig();
  ~ParticleRig();

  /// Writes "data/scripts/<file>".
  void Script(const std::string& file, const std::string& text) const;
  /// Parses the file of data/scripts into the manager; returns the templates begun.
  int Parse(const std::string& file);
  /// Writes a script of one template "name { lines }" and parses it.
  const N_ParticleShader* Template(const std::string& name, const std::string& lines);
  /// Advances the time by dt and runs one Update of the emitter.
  bool Step(N_ParticleEmitter& emitter, double dt);
  /// The device's recorded calls starting with the prefix since the last ForgetCalls.
  std::vector<std::string> Calls(const std::string& prefix) { return rig.device->CallsStartingWith(prefix); }
  void ForgetCalls();

  N_ParticleMng particles;
  TestFrameTime time;
};

/// Slots of the emitter that are alive.
std::uint32_t LiveCount(const N_ParticleEmitter& emitter);
/// The alpha byte of a colour.
inline std::uint32_t AlphaOf(std::uint32_t colour) { return colour >> 24; }

}  // namespace test
