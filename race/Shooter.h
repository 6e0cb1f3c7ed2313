#pragma once
// N_Shooter: the player's first-person rifle at the shooting range: an animation set
// with the rifle mesh and its six animations (shouldering, aiming, shot, reloading,
// loading a spare cartridge, putting down), one instance, and the state of the
// player's series (the racer shooting, shown and aiming flags, shots, the eye point,
// the series time and misses, the "Stopka" and show-hits flags).
//
// Owned by the shooting range, which loads it when it is built. The shake camera asks
// it whether it is aimed and has it drawn (N_RifleView); the world's render reaches it
// through the shake camera.
//
// The player's series: Begin (at the stand, after the racer's preparation) puts the eye
// 30 above a prone racer and 80 above a standing one, hands the shake camera this rifle,
// switches "viewmode" to 2 looking at the lane's middle target and shoulders the rifle.
// Update, per race step while shown: the series clock, the rifle's animation (which
// runs with the race; the frame's draw only poses it), aiming after shouldering, a shot
// or a reload, the reload's progress into the racer's ReloadProgress; the rifle put down
// once the racer's cartridges are shot or no target stands; while aimed the developer
// key that fells every target, reloads (a spare cartridge after five shots), "not
// loaded" without one, and the shot along the current camera's view from the eye
// point: every standing target whose sphere (3/2 pi) the ray meets falls; "Stopka"
// while the aim is outside 12 pi of the middle target; the heartbeat. IsDone once the
// rifle is down (the racer's Bullets 0); End back to "viewmode" 1 with the HUD closed.
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

  /// The player's series (steps in the class comment).
  void Begin(N_Racer* racer, bool showHits);
  void End();
  /// True once the putting-down has played whole; it then sets the racer's Bullets 0.
  bool IsDone();
  /// A fresh series of five at the same stand (the trainings): no misses, shouldering
  /// queued, the shoot table reset.
  void BeginTrainingSeries();
  void Update(float frameTime);

  /// False while the rifle has no instance or no action, and while its current action
  /// is shouldering, loading a spare cartridge or putting down.
  bool IsAiming() override;
  /// While shown: the rifle posed at the eye point, its barrel (+x) along the current
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
  /// The rifle animation playing (its place in the order above), -1 none.
  int CurrentAnimation() const;
  /// Its frame over its frames less 2, at most 1.0.
  float AnimationProgress() const;
  bool Finished(Animation animation) const;
  /// Plays the animation at once and queues it, at 30 frames a second.
  void Play(Animation animation);
  /// The developer key, the reload and the shot while aimed.
  void Controls(N_Racer& racer);
  void JudgeShot(N_Racer& racer);
  /// "Stopka" shown while the aim is off the middle target, hidden when it is back.
  void UpdateStopka(const N_Racer& racer);

  std::unique_ptr<N_AnimationFactory> m_set;
  int m_instance = -1;
  int m_mesh = -1;
  std::vector<int> m_animations;
  std::uint8_t m_shown = 0;
  N_Vector3 m_eyePoint;
  Series m_series;
};
