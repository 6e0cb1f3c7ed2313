#include "race/Shooter.h"

#include "core/Globals.h"
#include "core/Intersection.h"
#include "core/Matrix3.h"
#include "core/PlayerControls.h"
#include "core/Random.h"
#include "core/VarMng.h"
#include "race/Racer.h"
#include "race/ShootLane.h"
#include "race/ShootingCues.h"
#include "race/World.h"
#include "race/ai/AiLog.h"
#include "render/Camera.h"
#include "scene/AnimInstance.h"
#include "scene/Animation.h"
#include "scene/SceneAccess.h"

#include <algorithm>
#include <string>

bool N_Shooter::Load() {
  N_AiLog::Write("N_Shooter: Loading shooter.");
  m_set = std::make_unique<N_AnimationFactory>();
  m_mesh = m_set->AddMesh(kMeshFile);
  m_animations.clear();
  for (std::size_t k = 0; k < kAnimationFiles.size(); ++k) {
    const std::string file = kAnimationFiles[k];
    const int action = m_set->AddAction(file.c_str(), nullptr, k == kAim);
    if (action < 0) {
      N_AiLog::Write("N_Shooter: Failed load anim " + file + "!!!!!");
      return false;
    }
    m_animations.push_back(action);
    N_AiLog::Write("N_Shooter: Animation " + file + " loaded.");
  }
  N_AiLog::Write("N_Shooter: Loading shooter done.");
  m_instance = m_set->CreateInstance();
  return true;
}

namespace {

constexpr float kFrameRate = 30.0f;
constexpr float kBlendTime = 0.01f;
constexpr std::uint32_t kSetFlags = 0x02;
/// Eye heights above the racer: prone and otherwise.
constexpr float kProneEye = 30.0f;
constexpr float kStandingEye = 80.0f;
/// Radius of a target's sphere (3/2 pi) and of the sphere about the middle target the
/// aim must stay in (12 pi) before "Stopka" shows.
constexpr float kTargetRadius = 4.712389f;
constexpr float kStopkaRadius = 37.699112f;
/// Shots taken before a reload loads a spare cartridge instead.
constexpr std::int32_t kMagazine = 5;
constexpr float kChambered = 1.0f;
constexpr float kUnloaded = 0.01f;
constexpr float kConcentrationStep = 0.05f;

N_ShakeCamera* ShakeController() { return g_world ? &g_world->CameraMng().ShakeController() : nullptr; }

/// The camera the aim follows: the frame's camera, else the shake camera's.
const N_Camera* AimCamera() {
  if (g_scene.camera) return g_scene.camera;
  N_ShakeCamera* shake = ShakeController();
  return shake ? &shake->MainCamera() : nullptr;
}

void SetViewMode(std::int32_t mode) {
  if (g_varMng) g_varMng->SetInt("viewmode", mode, kSetFlags);
  if (g_world) g_world->CameraMng().ReadViewMode();
}

}  // namespace

int N_Shooter::CurrentAnimation() const {
  const N_AnimInstance* instance = m_set ? m_set->Instance(m_instance) : nullptr;
  if (!instance) return -1;
  for (std::size_t k = 0; k < m_animations.size(); ++k) {
    if (instance->channel1.actionIndex == m_animations[k]) return int(k);
  }
  return -1;
}

float N_Shooter::AnimationProgress() const {
  const N_AnimInstance* instance = m_set ? m_set->Instance(m_instance) : nullptr;
  const N_Animation* animation = instance ? m_set->Animation(instance->channel1.animationA) : nullptr;
  if (!animation) return 0.0f;
  const int frames = animation->FrameCount();
  // With 2 keys the only frame is the last one.
  if (frames <= 2) return 1.0f;
  return std::min(1.0f, float(instance->channel1.frameA) / float(frames - 2));
}

bool N_Shooter::Finished(Animation animation) const {
  return CurrentAnimation() == animation && AnimationProgress() >= 1.0f;
}

void N_Shooter::Play(Animation animation) {
  if (!m_set || std::size_t(animation) >= m_animations.size()) return;
  const int action = m_animations[std::size_t(animation)];
  m_set->SetAction(m_instance, action, kFrameRate, 0.0f);
  m_set->SetNextAction(m_instance, action, kFrameRate, 0.0f);
}

void N_Shooter::Begin(N_Racer* racer, bool showHits) {
  m_series.racer = racer;
  m_series.time = 0.0f;
  m_series.showHits = showHits ? 1 : 0;
  if (racer) {
    m_eyePoint = racer->Pos;
    m_eyePoint.z += racer->Stance == 2 ? kProneEye : kStandingEye;
  }
  if (N_ShakeCamera* shake = ShakeController()) shake->AttachRifle(this);
  SetViewMode(2);
  const N_Vector3* middle = racer && racer->Lane ? racer->Lane->TargetPosition(N_ShootLane::kMiddleTarget) : nullptr;
  if (middle) {
    if (N_ShakeCamera* shake = ShakeController()) shake->LookAt(m_eyePoint, *middle);
  }
  m_series.aiming = 0;
  m_shown = 1;
  if (m_set) {
    m_set->SetInstanceMesh(m_instance, m_mesh);
    Play(kShoulder);
    m_set->SetActionRate(m_instance, kFrameRate, 0.0f, kBlendTime);
  }
  if (racer) racer->ReloadProgress = 0.0f;
  m_series.shots = 0;
  ShootingCues().ShowShootingPage();
  if (showHits) ShootingCues().ShowShootingHits();
}

void N_Shooter::End() {
  m_shown = 0;
  m_series.racer = nullptr;
  m_series.aiming = 0;
  SetViewMode(1);
  ShootingCues().StopHeartbeat();
  ShootingCues().CloseShootingPage();
  ShootingCues().HideStopwatch();
  m_series.stopkaShown = 0;
  if (m_series.showHits) ShootingCues().HideShootingHits();
}

bool N_Shooter::IsDone() {
  // A rifle that did not load whole cannot be put down: its series is over at once
  // (the load has logged what is missing) rather than holding the racer for ever.
  const bool playable = m_set && m_set->Instance(m_instance) && m_animations.size() == kAnimationFiles.size();
  if (playable && !Finished(kPutDown)) return false;
  if (m_series.racer) m_series.racer->Bullets = 0;
  return true;
}

void N_Shooter::BeginTrainingSeries() {
  m_series.misses = 0;
  m_series.aiming = 0;
  m_shown = 1;
  if (m_set) m_set->SetNextAction(m_instance, m_animations.empty() ? -1 : m_animations[kShoulder], kFrameRate, 0.0f);
  if (m_series.racer) m_series.racer->ReloadProgress = 0.0f;
  m_series.shots = 0;
  ShootingCues().ResetShootTable();
}

void N_Shooter::Update(float frameTime) {
  N_Racer* racer = m_series.racer;
  if (!m_shown || !racer) return;
  m_series.time += frameTime;
  ShootingCues().UpdateShootingClock(m_series.time);
  // The rifle's animation runs with the race; the frame's draw only poses it.
  if (m_set) m_set->RenderInstance(frameTime, m_instance, m_eyePoint, N_Matrix3{}, false, false);

  switch (CurrentAnimation()) {
    case kShoulder:
      if (AnimationProgress() >= 1.0f) {
        Play(kAim);
        m_series.aiming = 1;
      }
      break;
    case kShot:
      if (AnimationProgress() >= 1.0f) Play(kAim);
      break;
    case kReload:
      racer->ReloadProgress = AnimationProgress();
      if (racer->ReloadProgress >= 1.0f) {
        ShootingCues().PlaySound(N_ShootingCues::kReload);
        racer->ReloadProgress = kChambered;
        Play(kAim);
      }
      break;
    case kSpareCartridge:
      racer->ReloadProgress = AnimationProgress();
      if (racer->ReloadProgress >= 1.0f) Play(kAim);
      break;
    default: break;
  }

  N_ShootLane* lane = racer->Lane;
  const bool anyStanding = lane && lane->StandingCount() > 0;
  if (CurrentAnimation() != kPutDown && (m_series.shots == racer->Bullets || !anyStanding)) {
    Play(kPutDown);
    m_series.aiming = 0;
  }
  if (m_series.aiming) Controls(*racer);

  UpdateStopka(*racer);
  ShootingCues().PlayHeartbeat(racer->HeartRate);
}

void N_Shooter::Controls(N_Racer& racer) {
  N_ShootLane* lane = racer.Lane;
  if (lane && IsCtrlShiftQPressed()) {
    racer.Bullets = 0;
    for (int i = 0; i < N_ShootLane::kTargetCount; ++i) {
      if (!lane->Target(i)->standing) continue;
      lane->KnockDown(i);
      ++racer.Shots;
      ++m_series.shots;
      ShootingCues().UpdateShootTable(std::uint8_t(lane->HitMask()));
      if (m_series.showHits) ShootingCues().AddShootingHit();
    }
    ShootingCues().PlaySound(N_ShootingCues::kHit);
  }
  if (racer.ReloadProgress < kChambered) {
    if (racer.ReloadProgress < kUnloaded && IsReloadPressed()) {
      if (m_series.shots < kMagazine) {
        Play(kReload);
      } else {
        Play(kSpareCartridge);
        ShootingCues().AddBullets(1);
      }
    }
    if (racer.ReloadProgress < kUnloaded && IsShootPressed()) ShootingCues().PlaySound(N_ShootingCues::kNotLoaded);
    return;
  }
  if (!IsShootPressed()) return;
  if (racer.Bullets > 0) JudgeShot(racer);
  ++m_series.shots;
  Play(kShot);
  racer.ReloadProgress = 0.0f;
}

void N_Shooter::JudgeShot(N_Racer& racer) {
  N_ShootLane* lane = racer.Lane;
  if (!lane) return;
  bool hit = false;
  if (IsCtrlShiftAPressed()) {
    hit = lane->HitFirstStanding() >= 0;
  } else if (const N_Camera* camera = AimCamera()) {
    const N_Vector3 direction = camera->axisZ * -1.0f;
    for (int i = 0; i < N_ShootLane::kTargetCount; ++i) {
      const N_ShootTarget* target = lane->Target(i);
      if (!target->standing || !RayIntersectsSphere(m_eyePoint, direction, {target->position, kTargetRadius})) continue;
      lane->KnockDown(i);
      hit = true;
      if (RandomRange(0.0f, 1.0f) < racer.Coolness) {
        racer.Concentration = std::min(1.0f, racer.Concentration + (1.0f - racer.Coolness) * kConcentrationStep);
      }
    }
  }
  if (hit) {
    ShootingCues().PlaySound(N_ShootingCues::kHit);
    if (m_series.showHits) ShootingCues().AddShootingHit();
  } else {
    ShootingCues().PlaySound(N_ShootingCues::kMiss);
    ++m_series.misses;
    if (RandomRange(0.0f, 1.0f) > racer.Coolness) {
      racer.Concentration = std::max(0.0f, racer.Concentration - (1.0f - racer.Coolness) * kConcentrationStep);
    }
  }
  ShootingCues().UpdateShootTable(std::uint8_t(lane->HitMask()));
  ++racer.Shots;
}

void N_Shooter::UpdateStopka(const N_Racer& racer) {
  const N_Vector3* middle = racer.Lane ? racer.Lane->TargetPosition(N_ShootLane::kMiddleTarget) : nullptr;
  const N_Camera* camera = AimCamera();
  if (!middle || !camera) return;
  const bool onTarget = RayIntersectsSphere(m_eyePoint, camera->axisZ * -1.0f, {*middle, kStopkaRadius});
  if (!onTarget && !m_series.stopkaShown) {
    ShootingCues().ShowStopwatch();
    m_series.stopkaShown = 1;
  } else if (onTarget && m_series.stopkaShown) {
    ShootingCues().HideStopwatch();
    m_series.stopkaShown = 0;
  }
}

bool N_Shooter::IsAiming() {
  const N_AnimInstance* instance = m_set ? m_set->Instance(m_instance) : nullptr;
  if (!instance) return false;
  const std::int32_t current = instance->channel1.actionIndex;
  if (current < 0) return false;
  for (const Animation still : {kShoulder, kSpareCartridge, kPutDown}) {
    if (std::size_t(still) < m_animations.size() && current == m_animations[std::size_t(still)]) return false;
  }
  return true;
}

void N_Shooter::Render(float /*frameTime*/) {
  if (!m_shown || !m_set || !g_scene.camera) return;
  // The camera looks along -axisZ.
  N_Matrix3 rotation;
  rotation.FromDirection(g_scene.camera->axisZ * -1.0f);
  // The series' update advances the animation with the race; the draw only poses it.
  m_set->RenderInstance(0.0f, m_instance, m_eyePoint, rotation, true, true);
}
