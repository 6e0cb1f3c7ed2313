#pragma once
// What the skier figure tests share: the game's figure data (copied from the game
// root), a roster of athletes with their gear, and a figure scene on the recording
// renderer with the particle manager (the figures' particle scripts read) behind
// g_scene.
#include "scene/AnimationFactory2.h"
#include "scene/FigureRoster.h"
#include "scene/ParticleMng.h"
#include "tests/scene/AnimTestSupport.h"
#include "tests/scene/TestRoster.h"

#include <deque>
#include <memory>
#include <string>

namespace test {

/// The reference mesh path of a model ("ref_model1", "low_ref_model_F2").
std::string ReferenceMesh(const std::string& model);
/// The six full-detail models, men first.
extern const char* const kSixModels[6];

/// The tests' own gear, athlete n (from 1) of a roster wearing suit ((n - 1) % 6) + 1,
/// sticks and gun ((n - 1) % 2) + 1 and skis ((n - 1) % 3) + 1: the shader (and texture)
/// names "textures\testgear\suit_<k>" and so on.
std::string TestGear(const char* item, int k);
/// Writes the gear's textures below "data/textures/testgear/" in the current directory,
/// each of one colour (suit 1 red C8 1E 1E), the skis and the first gun with a band.
void WriteTestGear();

/// N_Render noting the material of every SetShader (then binding it as usual).
class ShaderNotingRender final : public N_Render {
 public:
  void SetShader(N_Shader* shader, std::int32_t lightmap) override;
  std::vector<const N_Shader*> bound;
};

/// AnimRig (its renderer noting the materials bound) with the game's start-up data in
/// its directory, the particle manager with the figures' particle scripts, and a roster
/// lent through g_scene.figureRoster.
class FigureRig : public AnimRig {
 public:
  explicit FigureRig(platform::d3d9::RecordingDirect3DConfig config = RecordingRender::DefaultConfig());
  /// The figures first, then the particle systems, while the renderer still exists.
  ~FigureRig();

  /// A factory loaded (N_AnimationFactory2::Load) with the roster as it stands, then
  /// the shader records built.
  N_AnimationFactory2& LoadFigures();
  /// The roster of the six models with the bibs, then LoadFigures.
  N_AnimationFactory2& LoadSixFigures();
  ShaderNotingRender& Noting() { return static_cast<ShaderNotingRender&>(render); }

  /// A roster athlete of the reference mesh path in the tests' gear (TestGear).
  N_FigureAthlete& AddAthlete(const std::string& mesh);
  /// An athlete of each of the six models.
  void AddSixAthletes();
  /// The 31 bibs' shaders into the roster's table.
  void AddBibs();
  /// The device's calls starting with the prefix.
  std::vector<std::string> Calls(const std::string& prefix) { return device->CallsStartingWith(prefix); }

  N_ParticleMng particles;
  TestRoster roster;
  std::deque<N_FigureAthlete> athletes;  ///< the roster points into it
  std::unique_ptr<N_AnimationFactory2> figures;
};

/// The rotation that turns a figure (facing +x) to face along the direction.
N_Matrix3 Facing(const N_Vector3& direction);

}  // namespace test
