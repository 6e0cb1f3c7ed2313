#include "scene/LevelAnimObject.h"

#include "scene/AnimationFactory.h"
#include "scene/SceneHelpers.h"

N_LevelAnimObject::InstanceMaker N_LevelAnimObject::s_instanceMaker = nullptr;

N_LevelAnimObject::N_LevelAnimObject() = default;

N_LevelAnimObject::~N_LevelAnimObject() {
  if (m_set) m_set->Clear();
}

void N_LevelAnimObject::Load(const char* name, const N_Vector3& position, const N_Quaternion& rotation) {
  const std::string base = name ? name : "";
  const std::string meshPath = base + ".mesh";
  m_set = std::make_unique<N_AnimationFactory>();
  m_mesh = m_set->AddMesh(meshPath.c_str());
  if (m_mesh == -1) SceneCritical(0, "Load Mesh for Anim object failed! path:%s", meshPath.c_str());
  const std::string animationPath = base + ".anim";
  m_action = m_set->AddAction(animationPath.c_str(), nullptr, true);
  if (m_action == -1) SceneCritical(0, "Load Animation for Anim object failed! path:%s", animationPath.c_str());
  m_instance = s_instanceMaker ? s_instanceMaker(*m_set) : m_set->CreateInstance();
  if (m_instance == -1) SceneCritical(0, "Creating anim object failed!!");
  m_set->SetInstanceMesh(m_instance, m_mesh);
  m_set->SetAction(m_instance, m_action, 30.0f, 0.0f);
  m_set->SetNextAction(m_instance, m_action, 30.0f, 0.0f);
  m_position = position;
  m_orientation.FromQuaternion(rotation);
}
