// The skier figures' emitter control script ("data\anim\ref_meshe\particle.ctrl"), read
// as the figure factory reads it into its template: with the bones of the first figure
// mesh, the factory's 48 skier actions and the particle templates of the figures'
// effects (the game root's sample figure of "ref_model1", its animations and
// "figures.particle", copied once). A script that loads must give every emitter its
// bones, switch table and particle emitter or patch; its clone, bound to a figure, is
// then moved and switched through a few frames of every action the script names.
#include "core/Globals.h"
#include "core/VarMng.h"
#include "fuzz/FuzzSupport.h"
#include "render/ShaderMng.h"
#include "scene/AnimEmitorSet.h"
#include "scene/AnimInstance.h"
#include "scene/AnimationFactory2.h"
#include "scene/FigureMesh.h"
#include "scene/FigureRoster.h"
#include "scene/ParticleMng.h"
#include "scene/SceneAccess.h"

#include <filesystem>
#include <memory>

namespace {

/// One athlete of the first model: the factory loads its figure mesh, its low twin and
/// every action.
class OneAthlete final : public N_FigureRoster {
 public:
  OneAthlete() { m_athlete.Mesh = "data\\anim\\ref_meshe\\ref_model1.mesh"; }
  std::size_t AthleteCount() const override { return 1; }
  N_FigureAthlete* Athlete(std::size_t index) const override { return index == 0 ? &m_athlete : nullptr; }
  N_FigureAthlete& Ghost() override { return m_ghost; }
  int BibShader(int) const override { return -1; }

 private:
  mutable N_FigureAthlete m_athlete;
  N_FigureAthlete m_ghost;
};

/// The figures the script is read for, made once per process.
struct Figures {
  Figures() {
    namespace fs = std::filesystem;
    const fs::path root = NAVO_GAME_ROOT;
    for (const char* part : {"data/anim/ref_meshe/ref_model1.mesh", "data/anim/ref_meshe/low_ref_model1.mesh",
                             "data/anim/lyziari", "data/scripts/figures.particle"}) {
      fs::create_directories(fs::path(part).parent_path());
      fs::copy(root / part, part, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
    g_scene.particles = &particles;
    g_scene.figureRoster = &roster;
    particles.ParseScript("data\\scripts\\figures.particle");
    g_varMng->SetInt("PlayersParticles", 0, 0);  // the template is this target's to read
    factory.Load();
    fuzz::Check(factory.FigureMeshCount() == 2 && factory.ActionCount() == N_AnimationFactory2::kActionCount,
                "the sample figure did not load");
  }

  N_ParticleMng particles;
  OneAthlete roster;
  N_AnimationFactory2 factory;
};

/// Moves and switches a loaded script's clone, bound to the figure, through a few frames
/// of every action it names.
void Drive(const N_AnimEmitorSet& script, N_AnimInstance& figure, int bones) {
  for (const auto& emitter : script.Emitters()) {
    fuzz::Check(emitter->switchTable != nullptr, "an emitter without a switch table");
    fuzz::Check(emitter->boneA >= 0 && emitter->boneA < bones && emitter->boneB >= 0 && emitter->boneB < bones,
                "an emitter on a bone the skeleton does not have");
    fuzz::Check(emitter->IsPatch() ? emitter->Patch() != nullptr : emitter->Particles() != nullptr,
                "an emitter without its effect");
  }
  std::unique_ptr<N_AnimEmitorSet> clone = script.Clone();
  clone->SetInstance(0);
  clone->SetBoneMatrices(&figure.boneMatrices);
  const N_Matrix3 facing;
  for (const auto& emitter : script.Emitters()) {
    for (const auto& [action, frames] : *emitter->switchTable) {
      for (int frame = 0; frame < 40; frame += 3) clone->Update(action, frame, {0.0f, 0.0f, 0.0f}, facing);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Figures figures;
  fuzz::WriteFile(N_AnimationFactory2::kEmitterScript, data, size);
  N_ShaderMng shaders(64);  // the patches' materials, anew for every input
  g_scene.shaderMng = &shaders;
  {
    N_AnimEmitorSet script;
    if (fuzz::Guarded([&] { script.Load(N_AnimationFactory2::kEmitterScript, figures.factory); })) {
      Drive(script, *figures.factory.Instance(0), figures.factory.FigureMesh(0)->BoneCount());
    }
    // The clones' effects went into the script's system, the particle manager's.
    if (script.SystemList()) figures.particles.DestroySystem(script.SystemList());
  }
  g_scene.shaderMng = nullptr;
  return 0;
}
