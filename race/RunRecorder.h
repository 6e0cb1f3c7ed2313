#pragma once
// The recorded run of a time attack (the game mode's messages call it TimeAttackData):
// records the player's run ten samples a second and plays a saved run back as the
// ghost, interpolating its position and heading between samples.
//
// Made by the time-attack set-up, which may load the saved run of the chosen settings
// ("data\tables\" + GetTimeAttackFileName(...)); handed to the game mode, which calls
// StartRecording when the race is set up and Step once per race step; then carried by
// the race result (ExportData::Ghost) to the final-result page, which saves the new
// run. The time-attack mode draws the ghost (DrawGhost) after the player's figure.
//
// File: the samples one after another, 28 bytes each, little-endian, no header.
#include "core/Matrix3.h"
#include "core/Vector3.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class N_AnimationFactory2;

class N_RunRecorder {
 public:
  /// One sample of a run, the unit of the file and of both buffers.
  struct Sample {
    N_Vector3 position;        ///< world units
    N_Vector3 heading;         ///< unit vector
    std::int8_t action = 0;    ///< the skier animation that was playing
    std::uint8_t padding[3] = {};  ///< zero in memory and in the files written
  };
  static_assert(sizeof(Sample) == 28);
  static constexpr std::size_t kSampleBytes = 28;
  static constexpr std::int32_t kCapacity = 36000;  ///< 3600 s at 10 samples a second

  /// Rate 10.0, no ghost, the recording buffer for the whole run allocated at once.
  N_RunRecorder();
  ~N_RunRecorder();
  N_RunRecorder(const N_RunRecorder&) = delete;
  N_RunRecorder& operator=(const N_RunRecorder&) = delete;

  /// Frees the ghost samples and the recording buffer (recording stops) and clears loaded.
  void Release();

  /// Loads "data\tables\" + name as the ghost run. False when the file does not open
  /// or holds no whole sample; a size that is no multiple of 28 loads the whole
  /// samples and says so in the engine log.
  bool Load(const std::string& name);
  /// Replaces "data\tables\" + name with the recorded samples, whole or not at all;
  /// false when anything failed (the old file then stays).
  bool Save(const std::string& name) const;

  /// Keeps the figure set (not owned) and records the start sample at once.
  void StartRecording(N_AnimationFactory2* figureSet, const N_Vector3& position, const N_Vector3& heading,
                      std::int8_t action);
  /// One race step of dt seconds: moves the ghost along its run, then records the
  /// player at position and heading with the action playing.
  void Step(float dt, const N_Vector3& position, const N_Vector3& heading, std::int8_t action);
  /// With ghost samples: queues the ghost action on the ghost's figure (the roster's
  /// spare instance, g_scene.figureRoster) at 30 frames a second and draws it in the
  /// ghost gear at the ghost's place. Nothing without a run, figure set or roster.
  void DrawGhost(float dt);

  // The ghost, as the last Step placed it.
  const N_Vector3& GhostPosition() const { return m_ghostPosition; }
  const N_Matrix3& GhostRotation() const { return m_ghostRotation; }
  std::int32_t GhostAction() const { return m_ghostAction; }
  std::int32_t GhostSampleCount() const { return m_ghostCount; }
  bool IsLoaded() const { return m_loaded; }
  N_AnimationFactory2* FigureSet() const { return m_figureSet; }

  std::int32_t RecordedCount() const { return m_recordedCount; }
  /// A recorded sample, index below RecordedCount().
  const Sample& RecordedSample(std::int32_t index) const { return m_recording[static_cast<std::size_t>(index)]; }
  /// Seconds of the recording clock not yet turned into samples.
  float RecordingClock() const { return m_recordClock; }

 private:
  void StepPlayback(float dt);
  void StepRecording(float dt, const N_Vector3& position, const N_Vector3& heading, std::int8_t action);
  /// Appends a sample unless the buffer is full (which is logged once).
  void Append(const Sample& sample);

  std::unique_ptr<Sample[]> m_ghost;      ///< the loaded run, or null
  std::unique_ptr<Sample[]> m_recording;  ///< room for kCapacity samples, or null after Release
  float m_rate = 10.0f;
  float m_recordClock = 0.0f;
  float m_playbackClock = 0.0f;
  std::int32_t m_capacity = kCapacity;
  std::int32_t m_ghostCount = 0;
  std::int32_t m_recordedCount = 0;
  std::int32_t m_ghostAction = 0;
  bool m_loaded = false;
  bool m_fullReported = false;
  N_AnimationFactory2* m_figureSet = nullptr;
  N_Vector3 m_ghostPosition;
  N_Matrix3 m_ghostRotation;
};

/// "time_attack%d%d%d%d.dat" of the level, game mode, track length and difficulty choices.
std::string GetTimeAttackFileName(int level, int gameMode, int trackLength, int difficulty);
