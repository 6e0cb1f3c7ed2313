#include "scene/AnimEmitorSet.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32.h"
#include "scene/AnimationFactory2.h"
#include "scene/FigureMesh.h"
#include "scene/ParticleEmitter.h"
#include "scene/ParticleMng.h"
#include "scene/ParticlePatch.h"
#include "scene/ParticleSystem.h"
#include "scene/SceneAccess.h"
#include "scene/SceneHelpers.h"

#include <array>
#include <cstring>

N_AnimEmitorSet::N_AnimEmitorSet() = default;

N_AnimEmitorSet::~N_AnimEmitorSet() = default;

std::span<const N_AnimEmitorSet::Kind> N_AnimEmitorSet::Kinds() {
  static constexpr std::array kKinds{
      Kind{"point", &N_AnimEmitorSet::ReadPoint},
      Kind{"line", &N_AnimEmitorSet::ReadLine},
  };
  return kKinds;
}

void N_AnimEmitorSet::Load(const char* fileName, const N_AnimationFactory2& factory) {
  if (!fileName) return;
  m_factory = &factory;
  OpenFile(fileName);
  Parse();
  if (m_emitters.empty() && g_log) {
    g_log->Print("!!! %s %s: the figures carry no particle effects\n", fileName,
                 platform::IdentifyFile(fileName) ? "holds no emitter entry" : "is missing");
  }
  // The template's own effects never run: only the clones are switched on.
  for (const auto& emitter : m_emitters) {
    if (emitter->IsPatch()) {
      if (emitter->Patch()) emitter->Patch()->athleteId = emitter->patchValue;
    } else {
      if (emitter->Particles()) emitter->Particles()->StopEmitting();
      emitter->on = 0;
    }
  }
}

void N_AnimEmitorSet::Parse() {
  if (!g_scene.particles) SceneCritical(0, "N_AnimEmitor: Particle System is not initialized!\n");
  m_systemList = g_scene.particles->CreateSystem();
  if (!m_systemList) SceneCritical(0, "N_AnimEmitor: Failed to create particle system!\n");
  for (const char* token = NextToken(true); token; token = NextToken(true)) ParseEntry(token);
  m_systemList->Start(0);
}

void N_AnimEmitorSet::ParseEntry(const char* name) {
  m_emitters.push_back(std::make_unique<N_AnimEmitor>());
  N_AnimEmitor& emitter = *m_emitters.back();
  emitter.CreateSwitchTable();
  emitter.SetName(name);
  const bool patch = platform::EqualsNoCase(name, "patch");  // before the next token replaces it

  const char* kind = NextToken(false);
  const Kind* found = nullptr;
  for (const Kind& k : Kinds()) {
    if (kind && platform::EqualsNoCase(kind, k.keyword)) found = &k;
  }
  if (!found) SceneCritical(0, "Unknown emitter kind '%s' on line %d\n", kind ? kind : "", Line());
  (this->*found->read)(emitter);

  const char* last = NextToken(false);
  const std::string target = last ? last : "";
  if (patch) {
    emitter.SetPatch(target.c_str());
  } else {
    emitter.Create(m_systemList, target.c_str(), target.c_str());
  }
  const char* brace = NextToken(true);
  if (!brace || std::strcmp(brace, "{") != 0) SceneCritical(0, "Bracket expected!\n line %d", Line());
  ReadSwitchLines(emitter);
}

std::int32_t N_AnimEmitorSet::ReadBone(std::string& name) {
  const char* token = NextToken(false);
  name = token ? token : "";
  const N_FigureMesh* skeleton = m_factory ? m_factory->FigureMesh(0) : nullptr;
  return token && skeleton ? skeleton->FindBone(token) : -1;
}

void N_AnimEmitorSet::ReadPoint(N_AnimEmitor& emitter) {
  emitter.kind = N_AnimEmitor::kPoint;
  std::string name;
  const std::int32_t bone = ReadBone(name);
  if (bone < 0) SceneCritical(0, "Bone name %s on line %d doesnt exist!\n", name.c_str(), Line());
  emitter.boneA = emitter.boneB = bone;
}

void N_AnimEmitorSet::ReadLine(N_AnimEmitor& emitter) {
  emitter.kind = N_AnimEmitor::kLine;
  std::string nameA, nameB;
  const std::int32_t a = ReadBone(nameA);
  const std::int32_t b = ReadBone(nameB);
  if (a < 0 || b < 0) SceneCritical(0, "Bone names on line %d doesnt exist!\n", Line());
  emitter.boneA = a;
  emitter.boneB = b;
}

void N_AnimEmitorSet::ReadSwitchLines(N_AnimEmitor& emitter) {
  for (const char* token = NextToken(true); token && std::strcmp(token, "}") != 0; token = NextToken(true)) {
    const int action = m_factory ? m_factory->FindAction(token) : -1;
    if (action < 0) SceneCritical(0, "Error on line %d\n", Line());
    std::vector<int> frames;
    while (NextToken(false)) frames.push_back(TokenAsInt());
    emitter.switchTable->emplace(action, std::move(frames));  // a second line of the action is ignored
  }
}

std::unique_ptr<N_AnimEmitorSet> N_AnimEmitorSet::Clone() const {
  auto clone = std::make_unique<N_AnimEmitorSet>();
  clone->m_factory = m_factory;
  clone->m_systemList = m_systemList;
  for (const auto& emitter : m_emitters) clone->m_emitters.push_back(emitter->Clone());
  return clone;
}

void N_AnimEmitorSet::SetInstance(std::int32_t instance) {
  m_instance = instance;
  for (const auto& emitter : m_emitters) {
    emitter->patchValue = instance;
    if (emitter->Patch()) emitter->Patch()->athleteId = instance;
  }
}

void N_AnimEmitorSet::SetBoneMatrices(const std::vector<N_Matrix4>* matrices) {
  for (const auto& emitter : m_emitters) emitter->boneMatrices = matrices;
}

void N_AnimEmitorSet::Update(int action, int frame, const N_Vector3& position, const N_Matrix3& orientation) {
  for (const auto& emitter : m_emitters) {
    emitter->Update(orientation, position);
    emitter->UpdateSwitch(action, frame);
  }
}

void N_AnimEmitorSet::UpdatePatches() {
  for (const auto& emitter : m_emitters) {
    if (emitter->Patch()) emitter->Patch()->Render();
  }
}
