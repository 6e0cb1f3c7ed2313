// N_AnimationFactory2: the reference meshes, the skier actions, the instances and the
// building of the whole figure set.
#include "scene/AnimationFactory2.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "platform/win32.h"
#include "render/Render.h"
#include "scene/AnimEmitorSet.h"
#include "scene/Animation.h"
#include "scene/FigureMesh.h"
#include "scene/FigureRoster.h"
#include "scene/SceneAccess.h"
#include "scene/SceneHelpers.h"

#include <array>
#include <string_view>

namespace {

/// The reference meshes by fixed index.
constexpr std::array<std::string_view, N_AnimationFactory2::kFixedMeshes> kReferenceMeshes{
    "data\\anim\\ref_meshe\\low_ref_model1.mesh",   "data\\anim\\ref_meshe\\low_ref_model2.mesh",
    "data\\anim\\ref_meshe\\low_ref_model3.mesh",   "data\\anim\\ref_meshe\\low_ref_model_F1.mesh",
    "data\\anim\\ref_meshe\\low_ref_model_F2.mesh", "data\\anim\\ref_meshe\\low_ref_model_F3.mesh",
    "data\\anim\\ref_meshe\\ref_model1.mesh",       "data\\anim\\ref_meshe\\ref_model2.mesh",
    "data\\anim\\ref_meshe\\ref_model3.mesh",       "data\\anim\\ref_meshe\\ref_model_F1.mesh",
    "data\\anim\\ref_meshe\\ref_model_F2.mesh",     "data\\anim\\ref_meshe\\ref_model_F3.mesh",
};

struct SkierAction {
  const char* file;
  const char* second;  ///< mixed into the first by the channel's mix, or null
  bool loop;
};

/// The skier actions by index, which the race addresses them by.
constexpr std::array<SkierAction, N_AnimationFactory2::kActionCount> kSkierActions{{
    {"pad_dolava_A", nullptr, false},
    {"pad_doprava_A", nullptr, false},
    {"pad_dopredu_A", nullptr, false},
    {"pad_dozadu_A", nullptr, false},
    {"brzdenie_min_zjazd_A", "brzdenie_max_zjazd_A", true},
    {"zatacanie_korc_dolava_A", nullptr, true},
    {"zatacanie_korc_doprava_A", nullptr, true},
    {"korculovanie_2_2_A", nullptr, true},
    {"korculovanie_2_2_B", nullptr, true},
    {"korculovanie_1_2_A", nullptr, true},
    {"korculovanie_1_2_B", nullptr, true},
    {"korculovanie_bez_palic", nullptr, true},
    {"stromcek_A", nullptr, true},
    {"zatacanie_zjazd_dolava_A", nullptr, true},
    {"zatacanie_zjazd_doprava_A", nullptr, true},
    {"paralel_1p_A", nullptr, true},
    {"zjazd_bez_palic_A", nullptr, true},
    {"paralel_2p_A", nullptr, true},
    {"postoj_na_mieste_A", nullptr, true},
    {"postoj_na_mieste_B", nullptr, true},
    {"postoj_na_mieste_C", nullptr, true},
    {"otacanie_na_mieste", nullptr, true},
    {"otacanie_na_mieste", nullptr, true},
    {"strelba_z_lahu_priprava_A", nullptr, false},
    {"strelba_z_lahu_strelba_A", nullptr, true},
    {"strelba_z_lahu_zaver_A", nullptr, false},
    {"strelba_z_lahu_priprava_B", nullptr, false},
    {"strelba_z_lahu_strelba_B", nullptr, true},
    {"strelba_z_lahu_zaver_B", nullptr, false},
    {"strelba_z_boku_priprava_A", nullptr, false},
    {"strelba_z_boku_strelba_A", nullptr, true},
    {"strelba_z_boku_zaver_A", nullptr, false},
    {"strelba_z_boku_priprava_B", nullptr, false},
    {"strelba_z_boku_strelba_B", nullptr, true},
    {"strelba_z_boku_zaver_B", nullptr, false},
    {"vycerpany_A", nullptr, true},
    {"vycerpany_priprava_B", nullptr, false},
    {"vycerpany_trvanie_B", nullptr, true},
    {"vycerpany_zaver_B", nullptr, false},
    {"tesi_sa_A", nullptr, false},
    {"hneva_sa_A", nullptr, false},
    {"postoj_na_mieste_A", nullptr, false},
    {"stafeta_predavanie_slava_A", nullptr, false},
    {"stafeta_predavanie_slava_B", nullptr, false},
    {"stafeta_predavanie_sprava_A", nullptr, false},
    {"stafeta_predavanie_sprava_A", nullptr, false},
    {"stafeta_otoceny_slava_A", nullptr, true},
    {"stafeta_otoceny_sprava_A", nullptr, true},
}};

std::string ActionPath(const char* stem) { return std::string("data\\anim\\lyziari\\") + stem + ".anim"; }

/// "dir\name" -> "dir\low_name".
std::string LowDetailPath(const std::string& path) {
  const std::size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return "low_" + path;
  return path.substr(0, slash) + "\\low_" + path.substr(slash + 1);
}

}  // namespace

N_AnimationFactory2::N_AnimationFactory2() = default;

N_AnimationFactory2::~N_AnimationFactory2() {
  m_fixedMeshes = {};
  m_figureMeshes.clear();
  m_actions.clear();
  for (const auto& instance : m_instances) {
    instance->emitters.reset();
    if (instance->occlusionQuery && g_render) g_render->DestroyOcclusionQuery(&instance->occlusionQuery);
  }
  m_instances.clear();
  m_animations.clear();
  m_emitterTemplate.reset();
  m_meshLoadList.clear();
  m_actionNames.clear();
}

int N_AnimationFactory2::FixedIndexOf(const char* path) {
  if (!path) return -1;
  for (std::size_t i = 0; i < kReferenceMeshes.size(); ++i) {
    if (platform::EqualsNoCase(path, kReferenceMeshes[i])) return static_cast<int>(i);
  }
  return -1;
}

int N_AnimationFactory2::GetReferenceMesh(const char* path) {
  const std::string key = path ? path : "";
  if (m_meshLoadList.emplace(key, m_registrations).second) ++m_registrations;
  const int index = FixedIndexOf(key.c_str());
  if (index < 0) SceneCritical(0, "N_AnimationFactory2: Iny ako dohodnuty nazov meshu!\n %s", key.c_str());
  return index;
}

int N_AnimationFactory2::AddFigureMesh(const char* path) {
  if (!path) return -1;
  auto mesh = std::make_unique<N_FigureMesh>();
  if (!mesh->Load(path)) return -1;
  if (!m_figureMeshes.empty() && !mesh->SameBoneCount(*m_figureMeshes.front())) {
    if (g_errorLog) g_errorLog->Report(12, "Mesh %s has different bone hierarhy or bad names!\n", path);
    return -1;
  }
  // A fixed index loaded under two spellings keeps the first mesh; the other is owned
  // and freed with the rest but never drawn.
  const int fixed = FixedIndexOf(path);
  if (fixed >= 0 && !m_fixedMeshes[static_cast<std::size_t>(fixed)]) {
    m_fixedMeshes[static_cast<std::size_t>(fixed)] = mesh.get();
  }
  m_figureMeshes.push_back(std::move(mesh));
  return FigureMeshCount() - 1;
}

int N_AnimationFactory2::AddFigureAnimation(const char* path) {
  if (m_figureMeshes.empty()) return -1;
  auto animation = std::make_unique<N_Animation>();
  if (!animation->Load(path)) {
    if (g_errorLog) g_errorLog->Report(12, "Load animation %s FAILED!\n", path ? path : "(null)");
    return -1;
  }
  const N_FigureMesh& skeleton = *m_figureMeshes.front();
  if (!skeleton.FitsAnimation(*animation) || !animation->MatchBones(skeleton.Bones().data(), skeleton.BoneCount())) {
    if (g_errorLog) g_errorLog->Report(12, "Animation %s has different bone hierarhy or bad names!\n", path);
    return -1;
  }
  m_animations.push_back(std::move(animation));
  return AnimationCount() - 1;
}

int N_AnimationFactory2::AddAction(const char* path1, const char* path2, bool loop) {
  if (!path1) return -1;
  auto action = std::make_unique<N_AnimAction>();
  action->loop = loop ? 1 : 0;
  action->rate = kDefaultRate;
  action->animationA = AddFigureAnimation(path1);
  if (action->animationA < 0) return -1;
  if (path2) {
    action->animationB = AddFigureAnimation(path2);
    if (action->animationB < 0) return -1;  // the first stays in the animation list
    action->twoAnimations = 1;
  }
  const int index = ActionCount();
  action->actionIndex = index;
  m_actions.push_back(std::move(action));
  m_actionNames.emplace(path1, index);  // a name already present keeps its first action
  return index;
}

int N_AnimationFactory2::FindAction(const char* name) const {
  return name ? N_AnimationFactory::FindAction(std::string(name)) : -1;
}

N_FigureMesh* N_AnimationFactory2::FigureMesh(int index) const {
  return index >= 0 && index < FigureMeshCount() ? m_figureMeshes[static_cast<std::size_t>(index)].get() : nullptr;
}

N_FigureMesh* N_AnimationFactory2::MeshForIndex(int fixedIndex) const {
  if (fixedIndex >= 0 && fixedIndex < kFixedMeshes && m_fixedMeshes[static_cast<std::size_t>(fixedIndex)]) {
    return m_fixedMeshes[static_cast<std::size_t>(fixedIndex)];
  }
  return FigureMesh(0);
}

N_FigureMesh* N_AnimationFactory2::LowMeshForIndex(int fixedIndex) const {
  if (fixedIndex < kFirstFullMesh || fixedIndex >= kFixedMeshes) return nullptr;
  return m_fixedMeshes[static_cast<std::size_t>(fixedIndex - kFirstFullMesh)];
}

int N_AnimationFactory2::CreateInstance(const N_AnimEmitorSet* emitterTemplate) {
  if (m_figureMeshes.empty()) return -1;
  auto instance = std::make_unique<N_AnimInstance>();
  instance->boneMatrices.assign(static_cast<std::size_t>(m_figureMeshes.front()->BoneCount()), N_Matrix4{});
  if (emitterTemplate) {
    instance->emitters = emitterTemplate->Clone();
    instance->emitters->SetBoneMatrices(&instance->boneMatrices);
  }
  if (g_render && g_render->SupportsOcclusionQueries()) instance->occlusionQuery = g_render->CreateOcclusionQuery();
  m_instances.push_back(std::move(instance));
  const int index = InstanceCount() - 1;
  if (m_instances.back()->emitters) m_instances.back()->emitters->SetInstance(index);
  return index;
}

void N_AnimationFactory2::ResetFigure(int instance) {
  N_AnimInstance* figure = Instance(instance);
  if (!figure) return;
  figure->channel1 = N_AnimAction{};
  figure->channel2 = N_AnimAction{};
  figure->takenAction = 0;
  figure->frameTime = 0.0f;
  figure->extraTime = 0.0f;
  figure->blendDuration = 1.0f;
  figure->blendTimer = 0.0f;
  figure->blendFactor = 0.0f;
  SetAction(instance, kStartAction, kDefaultRate, 0.0f);
  figure->queuedAction = kStartAction;
  figure->queuedRate = kDefaultRate;
  figure->queuedMix = 0.0f;
}

bool N_AnimationFactory2::SetInstanceMesh(int instance, int mesh) {
  if (!ValidInstance(instance) || mesh < 0 || mesh >= kFixedMeshes) return false;
  m_instances[static_cast<std::size_t>(instance)]->mesh = mesh;
  return true;
}

void N_AnimationFactory2::CreateShadowVolumes() {
  for (const auto& mesh : m_figureMeshes) mesh->CreateShadowVolume();
}

void N_AnimationFactory2::Load() {
  if (N_FigureRoster* roster = g_scene.figureRoster) {
    for (std::size_t i = 0; i < roster->AthleteCount(); ++i) {
      N_FigureAthlete& athlete = *roster->Athlete(i);
      athlete.MeshHandle = GetReferenceMesh(athlete.Mesh.c_str());
      athlete.LowMeshHandle = GetReferenceMesh(LowDetailPath(athlete.Mesh).c_str());
    }
  }
  // In the byte order of the paths: with all twelve registered, the order of the table.
  for (const auto& [path, registration] : m_meshLoadList) {
    if (AddFigureMesh(path.c_str()) < 0) SceneCritical(0, "Error Loading Mesh %s \n", path.c_str());
  }
  for (const SkierAction& action : kSkierActions) {
    const std::string first = ActionPath(action.file);
    const std::string second = action.second ? ActionPath(action.second) : std::string();
    AddAction(first.c_str(), action.second ? second.c_str() : nullptr, action.loop);
  }
  if (SceneVarInt("PlayersParticles") == 1) {
    m_emitterTemplate = std::make_unique<N_AnimEmitorSet>();
    m_emitterTemplate->Load(kEmitterScript, *this);
  }
  CreateFigureInstances(m_emitterTemplate.get());
}

void N_AnimationFactory2::CreateFigureInstances(N_AnimEmitorSet* emitterTemplate) {
  // Every figure starts standing still, set and queued at 30 frames a second.
  const auto start = [this, emitterTemplate](int fixedMesh) {
    const int index = CreateInstance(emitterTemplate);
    SetAction(index, kStartAction, kDefaultRate, 0.0f);
    if (N_AnimInstance* instance = Instance(index)) {
      instance->queuedAction = kStartAction;
      instance->queuedRate = kDefaultRate;
      instance->queuedMix = 0.0f;
    }
    SetInstanceMesh(index, fixedMesh);  // an index outside the table keeps mesh 0
    return index;
  };
  N_FigureRoster* roster = g_scene.figureRoster;
  if (roster) {
    for (std::size_t i = 0; i < roster->AthleteCount(); ++i) {
      N_FigureAthlete& athlete = *roster->Athlete(i);
      athlete.Figure = start(athlete.MeshHandle);
    }
  }
  // The spare figure is the ghost's (the recorded run's), drawn as "ref_model1".
  const int spare = start(kFirstFullMesh);
  if (roster) roster->Ghost().Figure = spare;
}
