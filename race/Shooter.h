#pragma once
// N_Shooter: the player's first-person rifle at the shooting range: an animation set
// with the rifle mesh and its six animations (shouldering, aiming, shot, reloading,
// loading a spare cartridge, putting down), one instance, and the state of the
// player's series (the racer shooting, shown and aiming flags, shots, the eye point,
// the series time and misses, the "Stopka" and show-hits flags).
//
// Owned by the shooting range, which loads it when it is built. The shake camera asks
// it whether it is aimed and has it drawn (N_RifleView); the world's render reaches it
// through the shake camera. The series itself (Begin, End, IsDone, BeginTrainingSeries,
// Update) is the racers' shooting, which fills those members (issue 34: racer skiing and
// shooting).
#include "core/Vector3.h"
#include "scene/AnimationFactory.h"
#include "scene/RifleView.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

struct N_Racer;

class N_Shooter final : public N_RifleView {
 public:
  static constexpr const char* kMeshFile = "Data\\Anim\\Puska\\puska_ref.mesh";
  enum Animation : int { kShoulder = 0, kAim = 1, kShot = 2, kReload = 3, kSpareCartridge = 4, kPutDown = 5 };
  static constexpr std::array<const char*, 6> kAnimationFiles = {
      "Data\\Anim\\Puska\\puska_prilozenie.anim", "Data\\Anim\\Puska\\puska_mierenie.anim",
      "Data\\Anim\\Puska\\puska_vystrel.anim",    "Data\\Anim\\Puska\\puska_nabitie.anim",
      "Data\\Anim\\Puska\\puska_dobitie.anim",    "Data\\Anim\\Puska\\puska_odlozenie.anim"};

  /// The state of the player's series beside the shown flag and the eye point.
  struct Series {
    N_Racer* racer = nullptr;  ///< the racer shooting (not owned)
    std::uint8_t aiming = 0;
    std::int32_t shots = 0;
    float time = 0.0f;  ///< seconds of the series
    std::int32_t misses = 0;
    std::uint8_t stopkaShown = 0;
    std::uint8_t showHits = 0;
  };

  /// Everything zero, null or empty; instance and mesh index -1.
  N_Shooter() = default;
  ~N_Shooter() override = default;
  N_Shooter(const N_Shooter&) = delete;
  N_Shooter& operator=(const N_Shooter&) = delete;

  /// The animation set, the rifle mesh and the six animations in order (only the aiming
  /// one loops), logged to the AI log; a failing animation stops the load (false, the
  /// rest not loaded). At the end the rifle's instance.
  bool Load();

  /// The player's series (filled by the racers' shooting). Begin records the racer and
  /// the show-hits flag, zeroes the shots and shows the rifle; End hides it.
  void Begin(N_Racer* racer, bool showHits);
  void End();
  bool IsDone();
  void BeginTrainingSeries();
  void Update(float frameTime);

  /// False while the rifle has no instance or no action, and while its current action
  /// is shouldering, loading a spare cartridge or putting down.
  bool IsAiming() override;
  /// While shown: the rifle at the eye point, its barrel (+x) along the current
  /// camera's view direction.
  void Render(float frameTime) override;

  N_AnimationFactory* Set() const { return m_set.get(); }
  int InstanceIndex() const { return m_instance; }
  int MeshIndex() const { return m_mesh; }
  /// The action indices of the animations loaded, in the order above.
  const std::vector<int>& Animations() const { return m_animations; }
  bool Shown() const { return m_shown != 0; }
  void SetShown(bool shown) { m_shown = shown ? 1 : 0; }
  const N_Vector3& EyePoint() const { return m_eyePoint; }
  const Series& SeriesState() const { return m_series; }
  void SetEyePoint(const N_Vector3& eye) { m_eyePoint = eye; }

 private:
  std::unique_ptr<N_AnimationFactory> m_set;
  int m_instance = -1;
  int m_mesh = -1;
  std::vector<int> m_animations;
  std::uint8_t m_shown = 0;
  N_Vector3 m_eyePoint;
  Series m_series;
};
