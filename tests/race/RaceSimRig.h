#pragma once
// Headless races for the race simulation's and the game modes' tests: the figure rig
// (recording renderer, shaders, the skier figures) with the game's athletes (or a
// profile file of n athletes of its own), the markers' and the range's files, a sample
// course filled into the level with its path network, "Ai.log" open, answered message
// boxes, and recording doubles of the HUD pages, the listener and the camera.
#include "core/InputMng.h"
#include "platform/dinput8/ScriptedInput.h"
#include "race/AthletMng.h"
#include "race/GameData.h"
#include "race/RaceSimServices.h"
#include "race/ai/AiPath.h"
#include "render/Camera.h"
#include "render/TextureMngImpl.h"
#include "sound/SoundMng.h"
#include "tests/render/FakeTextureDevice.h"
#include "tests/scene/FigureTestSupport.h"

#include "core/PlayerControls.h"

#include <memory>
#include <string>
#include <vector>

struct N_Racer;

namespace test {

/// The HUD's calls as text lines ("ShowStartInfo 3 0 1 2", "UpdateStartCounter 4.97").
class RecordingHud final : public N_RaceHud {
 public:
  void ShowStartInfo(std::int32_t track, bool arcadeLevels, std::int32_t weather, std::int32_t snow) override;
  void UpdateStartCounter(float seconds) override;
  void CloseStartInfo() override { calls.push_back("CloseStartInfo"); }
  void ShowPlayerStatus(const char* name, const char* nation) override;
  void UpdatePlayerStatus(float time, float speed, float heartRate, float power, float condition,
                          std::int32_t position, std::int32_t lap, std::int32_t laps) override;
  void HidePlayerStatus() override { calls.push_back("HidePlayerStatus"); }
  void CloseShootingPage() override { calls.push_back("CloseShootingPage"); }
  void ClosePenaltyRounds() override { calls.push_back("ClosePenaltyRounds"); }
  void UpdatePenaltyRounds(std::int32_t count) override;
  void CloseSplitTimes() override { calls.push_back("CloseSplitTimes"); }

  /// The calls whose text starts with the prefix.
  std::vector<std::string> Named(const std::string& prefix) const;
  std::vector<std::string> calls;
};

/// A silent sound manager keeping the last listener and counting the calls.
class RecordingListener final : public N_SoundMng {
 public:
  void SetListener(const float* position, const float* forward, const float* velocity) override;
  N_Vector3 position, forward, velocity;
  int calls = 0;
};

/// A camera noting the point each view is turned towards.
class RecordingCamera final : public N_Camera {
 public:
  void LookAt(const N_Vector3* eye, const N_Vector3* target) override;
  std::vector<N_Vector3> targets;
};

class RaceSimRig : public FigureRig {
 public:
  /// Whether the device writes its draw calls down. A race run to its end draws
  /// thousands of frames: without a record it takes a tenth of the time.
  enum class Recording { kOn, kOff };

  /// The game's athletes when ownAthletes is 0, else a profile file of that many men.
  explicit RaceSimRig(const std::string& layout = "Beitostolen", int ownAthletes = 0,
                      Recording recording = Recording::kOn);
  explicit RaceSimRig(Recording recording) : RaceSimRig("Beitostolen", 0, recording) {}
  ~RaceSimRig();

  /// One input frame: the input manager's update, then the controls' poll.
  void Poll(N_PlayerControls& controls);
  /// Presses the keys a player would to ski the racer round the course: forward held,
  /// left or right towards the ideal point its sector leads to (the one the computer
  /// aims at), no turn key while that point lies nearly straight ahead. Call before the
  /// input manager's update of the frame.
  void SteerByKeys(const N_Racer& racer);
  /// The same towards a point of the test's choosing (a shooting stand's approach).
  void SteerTowards(const N_Racer& racer, const N_Vector3& target);

  /// The athletes, the figures, the HUD, listener and camera doubles and the level.
  N_RaceServices Services();
  /// A race of n racers (athletes 0 .. n - 1 of the men), start times -step x i.
  static std::unique_ptr<GameData> Race(std::int32_t discipline, int racers, float step, int player,
                                        std::uint8_t laps = 3);
  std::vector<std::string> AiLogLines() const;
  std::string AiLog() const { return harness.dir.Read("Ai.log"); }

  FakeTextureDevice textureDevice;
  N_TextureMngImpl textures{2048, &textureDevice};
  std::unique_ptr<N_AthletMng> athletMng;
  std::unique_ptr<Ai::N_AiPath> path;
  platform::ScriptedInput input;  ///< behind g_inputMng
  std::unique_ptr<N_InputMng> inputMng;
  RecordingHud hud;
  RecordingListener listener;
  RecordingCamera camera;
  int answer;
  std::vector<std::string> boxes;
};

}  // namespace test
