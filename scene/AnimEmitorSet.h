#pragma once
// N_AnimEmitorSet: the particle effects of a skier figure, read from the emitter control
// script "data\anim\ref_meshe\particle.ctrl" into a template (once, by the figure
// factory, while "PlayersParticles" is 1) and cloned for every figure instance. Each
// frame the instance's clone follows the figure's bones and switches its emitters by
// the figure's action and frame (Update), then draws its trail patches (UpdatePatches).
//
// The script, one entry after another:
//   <name> point <bone> <particle>        or   <name> line <bone A> <bone B> <particle>
//   {                                           ("patch" as the name: the last token
//   <action file> <frame> <frame> ...            names a trail patch's material)
//   }
// The action file is the path of an action's first animation file, compared exactly
// with the factory's action names; a frame v >= 0 switches on when the figure's frame
// reaches v, v < 0 off at -v, in ascending order of their absolute values; a second
// line of the same action is ignored. Every error of the script is critical.
#include "core/Matrix3.h"
#include "core/Matrix4.h"
#include "core/Tokenizer.h"
#include "core/Vector3.h"
#include "scene/AnimEmitor.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

class N_AnimationFactory2;
class N_ParticleSystem;

class N_AnimEmitorSet final : public N_Tokenizer {
 public:
  N_AnimEmitorSet();
  ~N_AnimEmitorSet() override;

  /// Reads the script (a null name does nothing; a missing file gives no emitters) with
  /// the factory's actions and its first figure mesh's bones, then stops every plain
  /// emitter and gives every patch the emitters' patch value.
  void Load(const char* fileName, const N_AnimationFactory2& factory);
  /// Reads the entries of the open script into the emitters; makes the shared particle
  /// system first and starts it (with no emitter in it yet) after the last entry.
  void Parse();
  /// The set of one figure instance: every emitter cloned, in order.
  std::unique_ptr<N_AnimEmitorSet> Clone() const;
  /// Binds the set, its emitters' patch values and their patches to the instance.
  void SetInstance(std::int32_t instance);
  /// The instance's posed bone matrices, which every emitter reads.
  void SetBoneMatrices(const std::vector<N_Matrix4>* matrices);
  /// Per frame: every emitter follows its bones, then switches.
  void Update(int action, int frame, const N_Vector3& position, const N_Matrix3& orientation);
  /// Per frame: every patch is drawn.
  void UpdatePatches();

  const std::vector<std::unique_ptr<N_AnimEmitor>>& Emitters() const { return m_emitters; }
  N_ParticleSystem* SystemList() const { return m_systemList; }
  std::int32_t Instance() const { return m_instance; }

 private:
  using KindReader = void (N_AnimEmitorSet::*)(N_AnimEmitor&);
  struct Kind {
    std::string_view keyword;
    KindReader read;
  };
  static std::span<const Kind> Kinds();

  /// One entry whose name was read: head line, brace, switch lines up to "}".
  void ParseEntry(const char* name);
  void ReadPoint(N_AnimEmitor& emitter);
  void ReadLine(N_AnimEmitor& emitter);
  /// The bone of the next token on the head line in the first figure mesh, -1 without.
  std::int32_t ReadBone(std::string& name);
  /// Switch lines up to the closing brace (or the end of the script).
  void ReadSwitchLines(N_AnimEmitor& emitter);

  std::vector<std::unique_ptr<N_AnimEmitor>> m_emitters;
  const N_AnimationFactory2* m_factory = nullptr;
  N_ParticleSystem* m_systemList = nullptr;  ///< the particle manager's
  std::int32_t m_instance = N_AnimEmitor::kUnbound;
};
