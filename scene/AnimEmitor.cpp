#include "scene/AnimEmitor.h"

#include "scene/ParticleEmitter.h"
#include "scene/ParticleMng.h"
#include "scene/ParticlePatch.h"
#include "scene/ParticleSystem.h"
#include "scene/SceneAccess.h"
#include "scene/SceneHelpers.h"

#include <cstdlib>

namespace {

const char* Text(const char* text) { return text ? text : ""; }

}  // namespace

N_AnimEmitor::N_AnimEmitor() = default;

N_AnimEmitor::~N_AnimEmitor() { Release(); }

void N_AnimEmitor::SetName(const char* name) { m_name = std::string(Text(name)).substr(0, kNameLength); }

void N_AnimEmitor::Create(N_ParticleSystem* systems, const char* emitterName, const char* particleName) {
  systemList = systems;
  std::unique_ptr<N_ParticleEmitter> emitter =
      g_scene.particles ? g_scene.particles->CreateEmitter(particleName) : nullptr;
  if (!emitter) {
    SceneCritical(0, "Failed to create particle emitor %s with shader %s", Text(emitterName), Text(particleName));
  }
  emitter->position = {0.0f, 0.0f, 0.0f};
  const float box[6] = {0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f};
  emitter->SetBox(box);
  m_ownParticles = std::move(emitter);
  m_particles = m_ownParticles.get();
}

void N_AnimEmitor::SetPatch(const char* patchName) {
  patchFlag = 1;
  m_patch = std::make_unique<N_ParticlePatch>(patchName);
  m_patchName = std::string(Text(patchName)).substr(0, kNameLength);
}

std::unique_ptr<N_AnimEmitor> N_AnimEmitor::Clone() const {
  auto clone = std::make_unique<N_AnimEmitor>();
  clone->kind = kind;
  clone->boneA = boneA;
  clone->boneB = boneB;
  clone->switchTable = switchTable;
  clone->boneMatrices = boneMatrices;
  clone->systemList = systemList;
  clone->active = 1;
  clone->patchFlag = patchFlag;
  if (m_patch) {
    clone->m_patchName = m_patchName;
    clone->m_patch = std::make_unique<N_ParticlePatch>(m_patchName.c_str());
    clone->m_patch->athleteId = patchValue;
  } else if (m_particles && g_scene.particles) {
    std::unique_ptr<N_ParticleEmitter> copy = g_scene.particles->CloneEmitter(*m_particles);
    if (systemList) {
      clone->m_particles = systemList->AddEmitter(std::move(copy));
    } else {
      clone->m_ownParticles = std::move(copy);
      clone->m_particles = clone->m_ownParticles.get();
    }
  }
  return clone;
}

bool N_AnimEmitor::BonePoint(std::int32_t bone, const N_Matrix3& rotation, const N_Vector3& position,
                             N_Vector3& out) const {
  if (!boneMatrices || bone < 0 || static_cast<std::size_t>(bone) >= boneMatrices->size()) return false;
  const N_Matrix4& pose = (*boneMatrices)[static_cast<std::size_t>(bone)];
  rotation.Transform({pose.m[3], pose.m[7], pose.m[11]}, out);
  out.AddTo(position);
  return true;
}

void N_AnimEmitor::Update(const N_Matrix3& rotation, const N_Vector3& position) {
  N_Vector3 a, b;
  if (!BonePoint(boneA, rotation, position, a)) return;
  if (kind == kLine) {
    if (!BonePoint(boneB, rotation, position, b)) return;
  } else {
    b = a;
  }
  if (m_patch) {
    m_patch->Update(a, b);
    return;
  }
  if (!m_particles) return;
  if (kind == kLine) {
    SetLine(*m_particles, a, b);
  } else {
    m_particles->position = a;
  }
  m_particles->SetOrientation(rotation);
}

void N_AnimEmitor::SetLine(N_ParticleEmitter& emitter, const N_Vector3& start, const N_Vector3& end) {
  emitter.position = start;
  emitter.lineVector = end - start;
}

void N_AnimEmitor::CreateSwitchTable() { switchTable = std::make_shared<SwitchTable>(); }

void N_AnimEmitor::SwitchOn() {
  if (m_patch) {
    m_patch->active = 1;
  } else if (m_particles) {
    m_particles->Start();
  }
  on = 1;
}

void N_AnimEmitor::SwitchOff() {
  if (m_patch) {
    m_patch->active = 0;
  } else if (m_particles) {
    m_particles->StopEmitting();
  }
  on = 0;
}

void N_AnimEmitor::Step(const std::vector<int>& values, int frame) {
  // The first value beyond the last frame seen; it acts once the frame reaches it.
  for (const int value : values) {
    const long long at = std::llabs(static_cast<long long>(value));
    if (at <= lastFrame) continue;
    if (at <= frame) {
      if (value < 0 && on == 1) SwitchOff();
      if (value >= 0 && on == 0) SwitchOn();
    }
    return;
  }
}

void N_AnimEmitor::UpdateSwitch(int action, int frame) {
  if (action != lastAction) {
    // A patch keeps its own state until a value of the new action switches it.
    on = 0;
    if (!m_patch && m_particles) m_particles->StopEmitting();
  }
  if (switchTable) {
    const auto found = switchTable->find(action);
    if (found != switchTable->end()) Step(found->second, frame);
  }
  lastAction = action;
  lastFrame = frame;
}

void N_AnimEmitor::Release() {
  // A clone shares the table with its template: dropping its share frees nothing.
  switchTable.reset();
  if (m_patch) m_patch->Release();
  m_patch.reset();
  m_ownParticles.reset();
  m_particles = nullptr;
}
