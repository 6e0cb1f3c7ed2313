// N_AnimationFactory: the lists of the set and the operations that fill and change them.
#include "scene/AnimationFactory.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "scene/AnimObject.h"
#include "scene/Animation.h"

namespace {

const char* Printable(const char* name) { return name ? name : "(null)"; }

}  // namespace

N_AnimationFactory::N_AnimationFactory() = default;

N_AnimationFactory::~N_AnimationFactory() { Clear(); }

int N_AnimationFactory::AddMesh(const char* fileName) {
  if (!fileName) return -1;
  auto mesh = std::make_unique<N_AnimObject>();
  if (!mesh->Load(fileName)) return -1;
  if (!m_meshes.empty() && !mesh->SameBoneCount(*m_meshes.front())) {
    if (g_errorLog) g_errorLog->Report(12, "Mesh %s has different bone hierarhy or bad names!\n", fileName);
    return -1;
  }
  m_meshes.push_back(std::move(mesh));
  return MeshCount() - 1;
}

int N_AnimationFactory::AddAnimation(const char* fileName) {
  if (m_meshes.empty()) return -1;
  auto animation = std::make_unique<N_Animation>();
  if (!animation->Load(fileName)) {
    if (g_errorLog) g_errorLog->Report(12, "Load animation %s FAILED!\n", Printable(fileName));
    return -1;
  }
  const N_AnimObject& skeleton = *m_meshes.front();
  if (!skeleton.FitsAnimation(*animation) || !animation->MatchBones(skeleton.Bones().data(), skeleton.BoneCount())) {
    if (g_errorLog) g_errorLog->Report(12, "Animation %s has different bone hierarhy or bad names!\n", fileName);
    return -1;
  }
  m_animations.push_back(std::move(animation));
  return AnimationCount() - 1;
}

int N_AnimationFactory::AddAction(const char* fileA, const char* fileB, bool loop) {
  if (!fileA) return -1;
  auto action = std::make_unique<N_AnimAction>();
  action->loop = loop ? 1 : 0;
  action->rate = kDefaultRate;
  action->animationA = AddAnimation(fileA);
  if (action->animationA < 0) return -1;
  if (fileB) {
    action->animationB = AddAnimation(fileB);
    if (action->animationB < 0) return -1;  // A stays in the animation list
    action->twoAnimations = 1;
  }
  const int index = ActionCount();
  action->actionIndex = index;
  m_actions.push_back(std::move(action));
  m_actionNames.emplace(fileA, index);  // a name already present keeps its first action
  return index;
}

int N_AnimationFactory::CreateInstance() {
  if (m_meshes.empty()) return -1;
  auto instance = std::make_unique<N_AnimInstance>();
  instance->boneMatrices.assign(static_cast<std::size_t>(m_meshes.front()->BoneCount()), N_Matrix4{});
  m_instances.push_back(std::move(instance));
  return InstanceCount() - 1;
}

bool N_AnimationFactory::SetInstanceMesh(int instance, int mesh) {
  if (!ValidInstance(instance) || mesh < 0 || mesh >= MeshCount()) return false;
  m_instances[static_cast<std::size_t>(instance)]->mesh = mesh;
  return true;
}

bool N_AnimationFactory::SetAction(int instance, int action, float rate, float mix) {
  if (!ValidInstance(instance) || !ValidAction(action)) return false;
  const N_AnimAction& from = *m_actions[static_cast<std::size_t>(action)];
  N_AnimAction& channel = m_instances[static_cast<std::size_t>(instance)]->channel1;
  channel.twoAnimations = from.twoAnimations;
  channel.loop = from.loop;
  channel.animationA = from.animationA;
  channel.animationB = from.animationB;
  channel.frameA = from.frameA;
  channel.frameB = from.frameB;
  channel.actionIndex = from.actionIndex;
  channel.rate = rate;
  channel.mix = mix;
  return true;
}

bool N_AnimationFactory::SetNextAction(int instance, int action, float rate, float mix) {
  if (!ValidInstance(instance) || !ValidAction(action)) return false;
  N_AnimInstance& target = *m_instances[static_cast<std::size_t>(instance)];
  target.queuedAction = action;
  target.queuedRate = rate;
  target.queuedMix = mix;
  return true;
}

bool N_AnimationFactory::SetActionRate(int instance, float rate, float mix, float blendDuration) {
  if (!ValidInstance(instance)) return false;
  N_AnimInstance& target = *m_instances[static_cast<std::size_t>(instance)];
  target.channel1.rate = rate;
  target.channel1.mix = mix;
  target.blendDuration = blendDuration;
  return true;
}

void N_AnimationFactory::CreateShadowVolumes() {
  for (const auto& mesh : m_meshes) mesh->CreateShadowVolume();
}

void N_AnimationFactory::Clear() {
  m_meshes.clear();
  m_actions.clear();
  m_instances.clear();
  m_animations.clear();
  m_actionNames.clear();
}

N_AnimObject* N_AnimationFactory::Mesh(int index) const {
  return index >= 0 && index < MeshCount() ? m_meshes[static_cast<std::size_t>(index)].get() : nullptr;
}

const N_Animation* N_AnimationFactory::Animation(int index) const {
  return index >= 0 && index < AnimationCount() ? m_animations[static_cast<std::size_t>(index)].get() : nullptr;
}

N_AnimInstance* N_AnimationFactory::Instance(int index) const {
  return ValidInstance(index) ? m_instances[static_cast<std::size_t>(index)].get() : nullptr;
}

const N_AnimAction* N_AnimationFactory::Action(int index) const {
  return ValidAction(index) ? m_actions[static_cast<std::size_t>(index)].get() : nullptr;
}

int N_AnimationFactory::FindAction(const std::string& name) const {
  const auto it = m_actionNames.find(name);
  return it == m_actionNames.end() ? -1 : it->second;
}
