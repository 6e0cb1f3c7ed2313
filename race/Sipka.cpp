#include "race/Sipka.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Tokenizer.h"
#include "core/VarMng.h"
#include "race/LevelMap.h"
#include "render/ShaderMng.h"
#include "render/TextureMng.h"
#include "scene/SceneAccess.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kBoardMeshes[N_Sipka::kBoardCount] = {
    "Data\\anim\\sipka\\sipka_trest_c1.mesh", "Data\\anim\\sipka\\sipka_trest_c2.mesh",
    "Data\\anim\\sipka\\sipka_trest_c3.mesh", "Data\\anim\\sipka\\sipka_trest_c4.mesh",
    "Data\\anim\\sipka\\sipka_trest_c5.mesh"};

N_Matrix3 Facing(const N_Vector3& direction) {
  N_Matrix3 rotation;
  rotation.FromDirection(direction);
  return rotation;
}

/// The mini-map's player mark back to 0, as at the start.
void ResetMiniMap() { SetMapPlayerMark(0); }

/// The racers' marks to the mini-map "Map1".
void HandMarksToMiniMap(const std::vector<N_Vector3>& marks) { ::UpdateMapMarks(marks); }

}  // namespace

bool N_Sipka::LoadSet(Set set, const std::vector<const char*>& meshes,
                      const std::vector<std::pair<const char*, bool>>& actions, int& instance, int& mesh,
                      std::vector<int>& actionIndices) {
  auto& animationSet = m_sets[std::size_t(set)];
  animationSet = std::make_unique<N_AnimationFactory>();
  for (const char* file : meshes) {
    const int index = animationSet->AddMesh(file);
    if (index < 0) return false;
    if (mesh < 0) mesh = index;
  }
  for (const auto& [file, loop] : actions) {
    const int index = animationSet->AddAction(file, nullptr, loop);
    if (index < 0) return false;
    actionIndices.push_back(index);
  }
  instance = animationSet->CreateInstance();
  if (instance < 0) return false;
  animationSet->SetAction(instance, actionIndices.front(), kFrameRate, 0.0f);
  animationSet->SetNextAction(instance, actionIndices.front(), kFrameRate, 0.0f);
  return true;
}

bool N_Sipka::Load() {
  std::vector<int> actions;
  const auto first = [&actions](int& action) {
    action = actions.front();
    actions.clear();
  };
  if (!LoadSet(kArrow, {"Data\\anim\\sipka\\sipka.mesh"}, {{"Data\\anim\\sipka\\sipka.anim", true}}, m_arrowInstance,
               m_arrowMesh, actions))
    return false;
  first(m_arrowAction);
  if (!LoadSet(kFinish, {"Data\\anim\\sipka\\sipka_finish.mesh"}, {{"Data\\anim\\sipka\\sipka_finish.anim", true}},
               m_finishInstance, m_finishMesh, actions))
    return false;
  first(m_finishAction);
  int penaltyInstance = -1, penaltyMesh = -1, penaltyAction = -1;
  if (!LoadSet(kPenaltyArrow, {"Data\\anim\\sipka\\sipka_trest.mesh"}, {{"Data\\anim\\sipka\\sipka_trest.anim", true}},
               penaltyInstance, penaltyMesh, actions))
    return false;
  first(penaltyAction);
  if (!LoadSet(kPenaltyCount, std::vector<const char*>(std::begin(kBoardMeshes), std::end(kBoardMeshes)),
               {{"Data\\anim\\sipka\\sipka_trest_c1.anim", true}}, m_boardInstance, m_boardMesh, actions))
    return false;
  first(m_boardAction);
  if (!LoadSet(kStarter, {"Data\\anim\\starter.mesh"},
               {{"Data\\anim\\starter_s.anim", true}, {"Data\\anim\\starter.anim", false}}, m_starterInstance,
               m_starterMesh, actions))
    return false;
  m_starterStandAction = actions[0];
  m_starterStartAction = actions[1];
  // The meshes named their materials: build them and their textures.
  if (g_scene.shaderMng) g_scene.shaderMng->LoadShaders();
  if (g_textureMng) g_textureMng->PurgeTextures();
  return true;
}

void N_Sipka::CreateShadows() {
  for (auto& set : m_sets) {
    if (set) set->CreateShadowVolumes();
  }
}

void N_Sipka::SetArrowPlace(const N_Vector3& position, const N_Vector3& direction) {
  m_arrowPlace = position;
  m_arrowRotation = Facing(direction);
}

void N_Sipka::SetFinishPlace(const N_Vector3& position, const N_Vector3& direction) {
  m_finishPlace = position;
  m_finishRotation = Facing(direction);
}

void N_Sipka::SetPenaltyPlace(const N_Vector3& position, const N_Vector3& direction) {
  m_penaltyPlace = position;
  m_penaltyRotation = Facing(direction);
}

void N_Sipka::SetStarterPlace(const N_Vector3& position, const N_Vector3& direction) {
  m_starterPlace = position;
  m_starterRotation = Facing(direction);
}

void N_Sipka::Draw(Set set, int instance, float frameTime, const N_Vector3& position, const N_Matrix3& rotation,
                   bool force) {
  if (N_AnimationFactory* animationSet = SetAt(set)) {
    animationSet->RenderInstance(frameTime, instance, position, rotation, force, true);
  }
}

void N_Sipka::RenderArrow(float frameTime) { Draw(kArrow, m_arrowInstance, frameTime, m_arrowPlace, m_arrowRotation, false); }

void N_Sipka::RenderFinish(float frameTime) {
  Draw(kFinish, m_finishInstance, frameTime, m_finishPlace, m_finishRotation, false);
}

void N_Sipka::RenderStarter(float frameTime) {
  Draw(kStarter, m_starterInstance, frameTime, m_starterPlace, m_starterRotation, true);
}

void N_Sipka::ShowSipkaPenalty(float frameTime, std::int32_t count) {
  if (count == 0) return;
  if (count < 0 || count > kBoardCount + 1) {
    if (g_errorLog) g_errorLog->Report(0, "zle cislo do func: N_Sipka::ShowSipkaPenalty\n");
    return;
  }
  // Six loops have no board of their own: the board keeps what it showed.
  if (count <= kBoardCount) {
    if (N_AnimationFactory* board = SetAt(kPenaltyCount)) board->SetInstanceMesh(m_boardInstance, count - 1);
  }
  // The penalty arrow's instance is the first of its set.
  Draw(kPenaltyArrow, 0, frameTime, m_penaltyPlace, m_penaltyRotation, false);
  Draw(kPenaltyCount, m_boardInstance, frameTime, m_penaltyPlace, m_penaltyRotation, false);
}

void N_Sipka::StartStarter() {
  if (N_AnimationFactory* starter = SetAt(kStarter)) {
    starter->SetNextAction(m_starterInstance, m_starterStartAction, kFrameRate, 0.0f);
  }
}

void N_Sipka::LoadMapQuad() {
  const char* text = g_varMng ? g_varMng->GetString("MapQuad") : nullptr;
  N_Tokenizer tokens;
  tokens.OpenBuffer(text ? text : "", text ? std::strlen(text) : 0);
  for (float& value : m_mapQuad) {
    const char* token = tokens.NextToken(true);
    value = token ? static_cast<float>(std::atof(token)) : 0.0f;
  }
  m_mapWidth = std::fabs(m_mapQuad[2] - m_mapQuad[0]);
  m_mapHeight = std::fabs(m_mapQuad[3] - m_mapQuad[1]);
  m_heightScale = 1.0f;
  ResetMiniMap();
}

N_Vector3 N_Sipka::MapMark(const N_Vector3& position) const {
  // A rectangle of no size on an axis marks 0.0 there instead of dividing by zero.
  const float u = m_mapWidth != 0.0f ? std::fabs(position.x - m_mapQuad[0]) / m_mapWidth : 0.0f;
  const float v = m_mapHeight != 0.0f ? std::fabs(position.y - m_mapQuad[1]) / m_mapHeight : 0.0f;
  return {u, v, position.z / m_heightScale};
}

void N_Sipka::UpdateMapMarks(std::vector<N_Vector3> positions) {
  std::vector<N_Vector3> marks;
  marks.reserve(positions.size());
  for (const N_Vector3& position : positions) marks.push_back(MapMark(position));
  positions.clear();
  HandMarksToMiniMap(marks);
}
