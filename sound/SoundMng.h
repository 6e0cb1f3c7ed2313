#pragma once
// The game's one audio service over OpenAL. Owned by the application from start-up to
// shutdown (made by CreateSoundMng, reached through g_soundMng).
//
// It owns the device and context, a pool of 128 sources (slot 0 is the music's), the
// wav buffers (shared by name, reference-counted), the sound shaders, the music stream,
// nine category switches and two volumes. Sounds are made from shader names:
//   positional (handle > 0): has a position; the per-frame Update starts it when its
//     priority ((distance - min) / min x volume) falls to 20 or below, stops it above 30;
//   plain (handle < 0): no position; Play starts it at once, relative to the listener.
//
// Per frame, after the world render: Update() = music keep-alive, priorities, free the
// ended sources, sort by priority, start/stop/move the positional sounds.
//
// Without an audio device the manager runs silent: records are still made (with
// buffer 0), and nothing is ever played. With one, a wav that cannot be buffered (a
// missing or damaged file) has buffer 0 too, with a line at each load: its sound stays
// silent.
#include "sound/OggStream.h"
#include "sound/PlainSound.h"
#include "sound/SoundInstance.h"
#include "sound/SoundShaderList.h"
#include "sound/SoundSource.h"
#include "sound/WavBuffer.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct N_CoreServices;

class N_SoundMng {
 public:
  static constexpr int kMaxSources = 128;
  static constexpr std::uint32_t kNoSlot = 666;  ///< AllocateSource / ResetSource: none
  static constexpr std::uint32_t kCategoryOn = 0x01010101;
  static constexpr float kStartPriority = 20.0f;
  static constexpr float kStopPriority = 30.0f;
  static constexpr const char* kShaderMask = "scripts\\Sounds\\*.ssd";

  /// Opens the device (Init) and reads every sound shader script.
  N_SoundMng();
  /// Releases the music and the buffers and closes the device (when still open).
  virtual ~N_SoundMng();
  N_SoundMng(const N_SoundMng&) = delete;
  N_SoundMng& operator=(const N_SoundMng&) = delete;

  /// Opens the default device, makes the context, sets the listener and generates the
  /// sources; false without a device (the manager then runs silent).
  virtual bool Init();
  /// Deletes the sources and closes the context and the device.
  virtual void Shutdown();
  /// The per-frame pass; call once per main-loop pass after the world render.
  virtual void Update();
  /// A positional sound at position (3 floats), or with a null position a plain sound
  /// (LoadShaderSounds). A shader name of no script gives a sound without wavs (silent),
  /// logged once a name.
  virtual int CreateSound(const char* shaderName, const float* position);
  /// A plain sound; an unknown shader name as for CreateSound.
  virtual int LoadShaderSounds(const char* shaderName);
  /// Stops the sound, drops its wav references and frees its record. Always false.
  virtual bool ReleaseSound(int handle);
  /// Positional: sets the play flag (when its category is on), returns 0. Plain: starts
  /// it; 1 when it plays (or already did), 0 when its category is off or no source.
  virtual int Play(int handle);
  virtual void Stop(int handle);
  virtual bool IsPlaying(int handle);
  virtual void StopSource(int handle);
  virtual int SetPosition(int handle, float x, float y, float z);
  /// Positional: position, volume and variant, returns 1. Plain: only the variant, 0.
  virtual int SetSoundParams(int handle, float x, float y, float z, float volume, int variant);
  virtual int GetVariantCount(int handle);
  virtual void SetMusicVolume(float volume);
  virtual void SetFXVolume(float volume);
  virtual float GetMusicVolume();
  virtual float GetFXVolume();
  /// Categories 0..8; another is a critical error. Switching one off stops its sources
  /// (category 1: releases the music).
  virtual void SetCategoryEnabled(int category, std::uint32_t value);
  virtual std::uint32_t IsCategoryEnabled(int category);
  /// Starts the music file unless music still streams. Always false.
  virtual bool PlayMusic(const char* fileName);
  virtual bool StopMusic();
  /// position, forward (3 floats each); velocity is not used.
  virtual void SetListener(const float* position, const float* forward, const float* velocity);
  /// A free slot (1..count-1), else the busiest slot above priority 0 (stopped), else kNoSlot.
  virtual std::uint32_t AllocateSource(float priority);
  /// Takes a slot for the music: its source name, or kNoSlot when the slot does not exist.
  virtual std::uint32_t ResetSource(std::uint32_t slot);
  virtual void DumpBufferStatistics();
  virtual bool IsMusicPlaying();

  std::uint32_t CreateHWBuffer(const std::string& wavName);
  std::uint32_t RegisterWav(const std::string& wavName);
  int UnregisterWav(const std::string& wavName);
  void DeleteBuffer(std::uint32_t buffer);
  void GenerateSources();
  void DeleteSources();
  void RenewSource(int handle);
  bool UpdateSourcePosition(int handle);
  /// The order of the per-frame sort: smaller priority (nearer, louder) first. Strict,
  /// so equal priorities keep their order under a stable sort.
  static bool ComparePriority(const N_SoundInstance* a, const N_SoundInstance* b);

  // Inspection (diagnostics and tests).
  bool HasDevice() const { return m_deviceOpen; }
  int GetSourceCount() const { return m_sourceCount; }
  const N_SoundSource& GetSource(int slot) const { return m_sources.at(slot); }
  const N_SoundInstance* GetInstance(int handle) const;
  const N_SoundShaderList& Shaders() const { return m_shaders; }
  const N_OggStream& MusicStream() const { return m_music; }
  const std::string& MusicFileName() const { return m_musicFileName; }

 private:
  N_SoundInstance* FindInstance(int handle) const;
  N_PlainSound* FindPlain(int handle) const;
  const N_SoundShader* ShaderOf(int handle) const;
  int FindSlot(int handle, bool playingOnly) const;
  bool SlotIsBusy(int slot) const;  ///< playing or paused
  bool SlotHasEnded(int slot) const;  ///< initial or stopped
  void FreeSlot(int slot);
  void StartInstance(N_SoundInstance& instance, std::uint32_t slot);
  /// Whether a sound has a wav to play: buffer 0 is none (no device, or a file that
  /// could not be buffered; a variant of it chosen among good ones plays nothing).
  static bool HasBuffer(const std::vector<std::uint32_t>& buffers);
  /// The shader of the name, or a silent one (no wavs) for a name of no script.
  const N_SoundShader* FindShader(const char* shaderName);
  void UpdatePriorities();
  void FreeEndedSources();
  void WalkInstances();
  void KeepMusicAlive();
  void ReleaseMusic();
  void MusicFailed(const std::string& text);
  int ChooseBuffer(const std::vector<std::uint32_t>& buffers, int variant);
  void SetGain(std::uint32_t source, float gain);

  float m_listenerPosition[3] = {0.0f, 0.0f, 0.0f};
  float m_listenerVelocity[3] = {0.0f, 0.0f, 0.0f};
  float m_listenerForward[3] = {0.0f, 1.0f, 0.0f};
  float m_listenerUp[3] = {1.0f, 0.0f, 0.0f};
  float m_musicVolume = 1.0f;  ///< the application sets both right after creation
  float m_fxVolume = 1.0f;
  std::array<N_SoundSource, kMaxSources> m_sources{};
  std::int32_t m_sourceCount = 0;
  N_SoundShaderList m_shaders;
  std::map<std::string, std::unique_ptr<N_SoundShader>> m_silentShaders;  ///< names of no script
  std::vector<std::unique_ptr<N_SoundInstance>> m_instances;  ///< handle - 1; null = free
  std::vector<std::unique_ptr<N_PlainSound>> m_plainSounds;   ///< -handle - 1; null = free
  std::int32_t m_freeInstances = 0;
  std::int32_t m_freePlainSounds = 0;
  std::map<std::string, std::unique_ptr<N_WavBuffer>> m_wavBuffers;  ///< never shrinks
  std::int32_t m_nextWavSerial = 0;
  std::array<std::uint32_t, SoundCategory::kCount> m_categories{};
  std::vector<N_SoundInstance*> m_priorityOrder;  ///< the live instances, sorted each frame
  std::int32_t m_orderDirty = 1;
  N_OggStream m_music;
  std::string m_musicFileName;  ///< the file last given to PlayMusic; empty = no music
  bool m_deviceOpen = false;    ///< a context is current: without it nothing is played
};

/// Makes the manager, stores it in *out, and copies the core services block into the
/// sound module. Always true.
bool CreateSoundMng(N_SoundMng** out, const N_CoreServices* block);
/// Deletes the manager (closing the device) and nulls the pointer.
void ReleaseSoundMng(N_SoundMng** manager);

/// The application's pointer to the sound manager (set when it creates it).
extern N_SoundMng* g_soundMng;
