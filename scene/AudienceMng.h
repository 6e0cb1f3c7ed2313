#pragma once
// N_AudienceMng: the spectators' script ("data\ai\divaci.ai") and what it loads: the
// spectator meshes with their animations in one animation set, and each mesh's
// low-detail static mesh (the mesh name followed by "_l.mesh"). A member of the level,
// built with it: the loader calls ParseScript, then LogNames, then sets the spectators
// up against FindMesh and State (scene/Spectator.h); the level's actor drawing
// (N_Level::RenderActors) plays and draws them through Set and LowMesh.
//
// The script: mesh blocks until the end of the file, each a mesh name, "{", any
// number of case statements ("case", then "IDLE:" or "ACTION:", then "{", entries,
// "}"), "}"; an entry is an animation name and one further token, which is skipped.
// Keywords compare without regard to case; mesh and animation names exactly. Every
// error of the script is critical (code 0).
#include "core/Tokenizer.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class N_AnimationFactory;
class N_StaticMesh;

/// The animations a spectator mesh plays: indices into the audience's animation names.
struct N_AudienceState {
  std::int32_t mesh = -1;
  std::vector<std::int32_t> idle;
  std::vector<std::int32_t> action;
};

class N_AudienceMng : public N_Tokenizer {
 public:
  /// Test hook: when set, makes the animation set in place of a plain N_AnimationFactory.
  using SetMaker = std::unique_ptr<N_AnimationFactory> (*)();

  N_AudienceMng();
  /// Deletes the low meshes, the animation set and the states.
  ~N_AudienceMng() override;

  /// Parses the script, then LoadMeshes. A file that cannot be opened holds no block.
  void ParseScript(const char* fileName);
  /// The index of a mesh or animation name: an empty name gives -1, a known name its
  /// index, a new name the next index (appended to the names).
  std::int32_t AddMesh(const std::string& name);
  std::int32_t AddAnimation(const std::string& name);
  /// The index of a mesh name, -1 when the script has no such mesh.
  std::int32_t FindMesh(const std::string& name) const;
  /// Creates the animation set and adds every mesh (with its low mesh) and every
  /// animation (looping), in index order; one that does not load is critical.
  void LoadMeshes();
  /// "NPC Mesh: %s\n" for every mesh, then "NPC Anim: %s\n" for every animation, each
  /// in name order.
  void LogNames() const;

  /// The state of a mesh index, null when none.
  const N_AudienceState* State(std::int32_t mesh) const;
  /// The animation set; null before LoadMeshes.
  N_AnimationFactory* Set() const { return m_set.get(); }
  /// The set's mesh index of a mesh and its action index of an animation.
  std::int32_t SetMesh(std::int32_t mesh) const;
  std::int32_t SetAction(std::int32_t animation) const;
  /// The low-detail mesh of a mesh index, null when none.
  N_StaticMesh* LowMesh(std::int32_t mesh) const;
  const std::vector<std::string>& MeshNames() const { return m_meshNames; }
  const std::vector<std::string>& AnimationNames() const { return m_animationNames; }

  static void SetAnimationSetMaker(SetMaker maker) { s_setMaker = maker; }

 private:
  void ParseMeshBlock(const std::string& meshName);
  void ParseList(std::vector<std::int32_t>& list);
  /// The next token; the end of the input inside a block is critical.
  const char* NextInBlock();

  static SetMaker s_setMaker;

  std::map<std::string, std::int32_t> m_meshIndices;
  std::map<std::string, std::int32_t> m_animationIndices;
  std::map<std::int32_t, N_AudienceState> m_states;
  std::vector<std::string> m_meshNames;
  std::vector<std::string> m_animationNames;
  std::unique_ptr<N_AnimationFactory> m_set;
  std::vector<std::unique_ptr<N_StaticMesh>> m_lowMeshes;
  std::vector<std::int32_t> m_setMeshes;   ///< by mesh index
  std::vector<std::int32_t> m_setActions;  ///< by animation index
};
