#include "scene/AudienceMng.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32/Files.h"
#include "scene/AnimationFactory.h"
#include "scene/SceneHelpers.h"
#include "scene/StaticMesh.h"

#include <array>
#include <cstring>

N_AudienceMng::SetMaker N_AudienceMng::s_setMaker = nullptr;

namespace {

/// The spectators' errors are critical with this code.
constexpr int kAudienceError = 0;

/// The list a case statement fills, by its keyword.
struct CaseWord {
  const char* word;
  std::vector<std::int32_t> N_AudienceState::*list;
};
constexpr std::array kCaseWords{CaseWord{"IDLE:", &N_AudienceState::idle}, CaseWord{"ACTION:", &N_AudienceState::action}};

bool Is(const char* token, const char* word) { return platform::EqualsNoCase(token, word); }

/// The index of a name in the map, appending a new name to the list.
std::int32_t AddName(const std::string& name, std::map<std::string, std::int32_t>& indices,
                     std::vector<std::string>& names) {
  if (name.empty()) return -1;
  const auto [it, added] = indices.try_emplace(name, static_cast<std::int32_t>(names.size()));
  if (added) names.push_back(name);
  return it->second;
}

}  // namespace

N_AudienceMng::N_AudienceMng() = default;

N_AudienceMng::~N_AudienceMng() {
  m_lowMeshes.clear();
  if (m_set) m_set->Clear();
  m_set.reset();
}

std::int32_t N_AudienceMng::AddMesh(const std::string& name) { return AddName(name, m_meshIndices, m_meshNames); }

std::int32_t N_AudienceMng::AddAnimation(const std::string& name) {
  return AddName(name, m_animationIndices, m_animationNames);
}

std::int32_t N_AudienceMng::FindMesh(const std::string& name) const {
  const auto it = m_meshIndices.find(name);
  return it == m_meshIndices.end() ? -1 : it->second;
}

const N_AudienceState* N_AudienceMng::State(std::int32_t mesh) const {
  const auto it = m_states.find(mesh);
  return it == m_states.end() ? nullptr : &it->second;
}

std::int32_t N_AudienceMng::SetMesh(std::int32_t mesh) const {
  return mesh >= 0 && std::size_t(mesh) < m_setMeshes.size() ? m_setMeshes[std::size_t(mesh)] : -1;
}

std::int32_t N_AudienceMng::SetAction(std::int32_t animation) const {
  return animation >= 0 && std::size_t(animation) < m_setActions.size() ? m_setActions[std::size_t(animation)] : -1;
}

N_StaticMesh* N_AudienceMng::LowMesh(std::int32_t mesh) const {
  return mesh >= 0 && std::size_t(mesh) < m_lowMeshes.size() ? m_lowMeshes[std::size_t(mesh)].get() : nullptr;
}

void N_AudienceMng::ParseScript(const char* fileName) {
  OpenFile(fileName ? fileName : "");
  while (const char* token = NextToken(true)) ParseMeshBlock(token);
  LoadMeshes();
}

const char* N_AudienceMng::NextInBlock() {
  const char* token = NextToken(true);
  if (!token) SceneCritical(kAudienceError, "end of file %s inside a block at line %d\n", FileName().c_str(), Line());
  return token;
}

void N_AudienceMng::ParseMeshBlock(const std::string& meshName) {
  const std::int32_t mesh = AddMesh(meshName);
  // A repeated mesh keeps the state of its first block: the later block's names still
  // count, its lists go to a scratch state.
  N_AudienceState scratch;
  const bool fresh = mesh != -1 && m_states.count(mesh) == 0;
  N_AudienceState& state = fresh ? m_states.emplace(mesh, N_AudienceState{mesh, {}, {}}).first->second : scratch;
  const char* token = NextToken(true);
  if (!token || std::strcmp(token, "{") != 0) SceneCritical(kAudienceError, "{ expected at line %d\n", Line());
  for (;;) {
    token = NextInBlock();
    if (std::strcmp(token, "}") == 0) return;
    if (!Is(token, "case")) {
      SceneCritical(kAudienceError, "wrong token '%s' in %s at line %d, expected case statement\n", token,
                    FileName().c_str(), Line());
    }
    token = NextInBlock();
    const CaseWord* selected = nullptr;
    for (const CaseWord& word : kCaseWords) {
      if (Is(token, word.word)) selected = &word;
    }
    if (!selected) SceneCritical(kAudienceError, "uknown case statemnet at line %d\n", Line());
    token = NextInBlock();
    if (std::strcmp(token, "{") != 0) {
      SceneCritical(kAudienceError, "wrong token '%s' in %s at line %d, expected {\n", token, FileName().c_str(),
                    Line());
    }
    ParseList(state.*(selected->list));
  }
}

void N_AudienceMng::ParseList(std::vector<std::int32_t>& list) {
  for (;;) {
    const char* token = NextInBlock();
    if (std::strcmp(token, "}") == 0) return;
    const std::int32_t animation = AddAnimation(token);
    if (animation != -1) list.push_back(animation);
    NextInBlock();
    TokenAsInt();  // the token after the name means nothing; a number no script means is said
  }
}

void N_AudienceMng::LoadMeshes() {
  m_set = s_setMaker ? s_setMaker() : std::make_unique<N_AnimationFactory>();
  for (const std::string& name : m_meshNames) {
    const int mesh = m_set->AddMesh(name.c_str());
    if (mesh == -1) SceneCritical(kAudienceError, "Load NPC mesh %s failed!\n", name.c_str());
    m_setMeshes.push_back(mesh);
    auto low = std::make_unique<N_StaticMesh>();
    low->Load((name + "_l.mesh").c_str());
    m_lowMeshes.push_back(std::move(low));
  }
  for (const std::string& name : m_animationNames) {
    const int action = m_set->AddAction(name.c_str(), nullptr, true);
    if (action == -1) SceneCritical(kAudienceError, "Load NPC animation %s failed!\n", name.c_str());
    m_setActions.push_back(action);
  }
}

void N_AudienceMng::LogNames() const {
  if (!g_log) return;
  for (const auto& [name, index] : m_meshIndices) g_log->Print("NPC Mesh: %s\n", name.c_str());
  for (const auto& [name, index] : m_animationIndices) g_log->Print("NPC Anim: %s\n", name.c_str());
}
