#pragma once
// What the level loader's tests share: level files written with the game's writer
// (tools/LevelWriter.h), the spectators' files (a script, two small animated meshes on
// one skeleton with their low meshes, three animations), and an animation set that
// records what the audience asks of it.
#include "scene/AnimationFactory.h"
#include "tools/LevelWriter.h"

#include <memory>
#include <string>
#include <vector>

namespace test {

/// Writes the level file of the data below the current directory.
void WriteLevel(const std::string& path, const datagen::LevelData& level);
/// The bytes of a level file with one record of every section: two surfaces (one
/// lightmapped), a point set, a sound source, a camera with its path, a light, a
/// trigger, a light grid, an emitter, a spectator of "data\ai\a.mesh", a scene object
/// over the surfaces with the path, a name pair and no animated object.
datagen::LevelData SmallLevel();

/// The default spectator script: "data\ai\a.mesh" idles with "idle1" and "idle2" and
/// acts with "act", "data\ai\b.mesh" idles with "idle2" only.
std::string AudienceScript();
/// Writes the script at "data/ai/divaci.ai" and every mesh, low mesh and animation it
/// may name: "data/ai/a.mesh", "b.mesh" (and "_l.mesh" of each), "idle1.anim",
/// "idle2.anim", "act.anim", "extra.anim".
void WriteAudience(const std::string& script = AudienceScript());

/// An animation set that notes the instance operations asked of it: CreateInstance and
/// the set-ups go on to the set; RenderInstance is only noted (nothing is posed).
class RecordingAnimSet final : public N_AnimationFactory {
 public:
  struct Call {
    std::string what;  ///< "create", "action", "next", "mesh", "render"
    int instance = -1;
    int value = -1;      ///< the action or mesh
    float time = 0.0f;   ///< "render": the time step
  };
  int CreateInstance() override;
  bool SetAction(int instance, int action, float rate, float mix) override;
  bool SetNextAction(int instance, int action, float rate, float mix) override;
  bool SetInstanceMesh(int instance, int mesh) override;
  void RenderInstance(float frameTime, int instance, const N_Vector3& position, const N_Matrix3& rotation, bool force,
                      bool draw) override;

  /// The calls of every recording set, in order (cleared by the tests).
  static std::vector<Call> calls;
  /// For N_AudienceMng::SetAnimationSetMaker.
  static std::unique_ptr<N_AnimationFactory> Make();
};

}  // namespace test
