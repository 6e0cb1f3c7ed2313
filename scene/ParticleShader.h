#pragma once
// N_ParticleShader: one particle template ("particle shader"), read from the particle
// scripts ("scripts\*.particle") by N_ParticleParser and owned by the particle
// manager's name map. Emitters are made from a template by name and read its fields
// every frame; nothing changes a template after its script has been read.
//
// The setters apply one script attribute each, with the script's units turned into the
// template's: sizes halved, degrees into radians, fade times into rates.
#include "core/Vector3.h"

#include <cstdint>
#include <string>

class N_ParticleShader {
 public:
  /// Emitter shapes.
  static constexpr std::uint32_t kPoint = 0;
  static constexpr std::uint32_t kBox = 1;
  static constexpr std::uint32_t kLine = 2;
  /// copyFlags bits (kept, not read by the emitters).
  static constexpr std::uint32_t kCopyVelocities = 1;
  static constexpr std::uint32_t kCopySizes = 2;
  static constexpr std::uint32_t kCopyColors = 4;
  /// killFlags bit: an emitter out of view (or too far) stops, an oriented one drops
  /// its particles.
  static constexpr std::uint32_t kKillIfUnseen = 1;

  /// The name is kept whole, whatever its length.
  explicit N_ParticleShader(std::string name);

  void SetType(std::uint32_t shape) { type = shape; }
  void SetBoxHalfExtents(const N_Vector3& halfExtents) { boxHalfExtents = halfExtents; }
  void SetNumParticles(std::uint32_t count) { numParticles = count; }
  void SetEmissionRate(std::uint32_t minimum, std::uint32_t maximum);
  void SetShader(std::int32_t handle) { shader = handle; }
  void SetVelocity(const N_Vector3& minimum, const N_Vector3& maximum);
  /// Full sizes: the half sizes are half of them.
  void SetSize(float minimum, float maximum);
  /// The target's full size and the change of the half size a second.
  void SetTargetSize(float size, float rate);
  void SetColor(const N_Vector3& minimum, const N_Vector3& maximum);
  /// Degrees a second.
  void SetRotate(float minimum, float maximum);
  /// Seconds.
  void SetLive(float minimum, float maximum);
  void SetRestart(bool on) { restart = on ? 1 : 0; }
  void AddCopyFlags(std::uint32_t bits) { copyFlags |= bits; }
  void SetMoveWithParent() { moveWithParent = 1; }
  /// Seconds of the fade; 0 or less leaves the fade off (a rate of 1 / 0 would keep a
  /// fading-in particle invisible for ever).
  void SetFadeOut(float seconds);
  void SetFadeIn(float seconds);
  void SetTrialSize(std::int32_t size) { trialSize = size; }
  void SetGravity(const N_Vector3& acceleration) { gravity = acceleration; }
  void AddKillFlags(std::uint32_t bits) { killFlags |= bits; }
  void SetDetail(std::uint8_t level) { detail = level; }
  void SetLight() { light = 1; }

  bool Rotates() const { return rotates != 0; }
  bool KillsIfUnseen() const { return (killFlags & kKillIfUnseen) != 0; }

  // Fields without a default in the scripts start at 0 (the shader at none).
  std::string name;
  std::uint32_t type = kPoint;
  std::uint32_t numParticles = 0;
  /// Particles spawned at a start and respawned a frame; emissionMax 0: every slot.
  std::uint32_t emissionMin = 0;
  std::uint32_t emissionMax = 0;
  N_Vector3 velocityMin;  ///< units a second, per axis
  N_Vector3 velocityMax;
  N_Vector3 colorMin{1.0f, 1.0f, 1.0f};  ///< red, green, blue in 0..255 units
  N_Vector3 colorMax{1.0f, 1.0f, 1.0f};
  N_Vector3 gravity;  ///< units a second squared
  float halfSizeMin = 0.0f;
  float halfSizeMax = 0.0f;
  float targetHalfSize = 0.0f;
  float targetRate = 0.0f;  ///< change of the half size a second; negative shrinks
  std::uint8_t hasTargetSize = 0;
  std::uint8_t rotates = 0;
  float spinMin = 0.0f;  ///< radians a second
  float spinMax = 0.0f;
  std::int32_t trialSize = 0;
  float lifeMin = 0.0f;  ///< seconds
  float lifeMax = 0.0f;
  std::uint8_t fadesOut = 0;
  std::uint8_t fadesIn = 0;
  float fadeOutRate = 0.0f;  ///< 1 / the fade time in seconds
  float fadeInRate = 0.0f;
  std::uint8_t moveWithParent = 0;  ///< spawned particles follow the current camera
  std::uint32_t copyFlags = 0;
  std::uint32_t killFlags = 0;
  std::uint8_t light = 0;
  std::int32_t shader = -1;  ///< the material's shader handle; -1: the template draws nothing
  std::uint8_t restart = 1;  ///< dead particles respawn while the emitter runs
  std::uint8_t detail = 0;   ///< runs only while at most the manager's detail setting
  N_Vector3 boxHalfExtents;  ///< the spawn box of type box
  /// The slot count was cut to what one draw can index; reported once per template.
  mutable bool slotCapReported = false;
};
