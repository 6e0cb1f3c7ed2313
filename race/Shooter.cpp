#include "race/Shooter.h"

#include "core/Matrix3.h"
#include "race/ai/AiLog.h"
#include "render/Camera.h"
#include "scene/AnimInstance.h"
#include "scene/SceneAccess.h"

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

// TODO(issue 34): the series of the racers' shooting.
// The series' record and the rifle shown or hidden; the view, the animations and the
// HUD follow with the racers' shooting.
void N_Shooter::Begin(N_Racer* racer, bool showHits) {
  m_series.racer = racer;
  m_series.showHits = showHits ? 1 : 0;
  m_series.shots = 0;
  m_shown = 1;
}

void N_Shooter::End() { m_shown = 0; }
bool N_Shooter::IsDone() { return false; }
void N_Shooter::BeginTrainingSeries() {}
void N_Shooter::Update(float) {}

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

void N_Shooter::Render(float frameTime) {
  if (!m_shown || !m_set || !g_scene.camera) return;
  // The camera looks along -axisZ.
  N_Matrix3 rotation;
  rotation.FromDirection(g_scene.camera->axisZ * -1.0f);
  m_set->RenderInstance(frameTime, m_instance, m_eyePoint, rotation, true, true);
}
