// The particle scripts ("scripts\*.particle"), through the particle manager's
// LoadScripts as the world's start-up reads them (every detail level allowed), the
// materials the templates name built, then the game's frame path on what was read: a
// system with an emitter of each template the script names (at most 8), started in
// view and updated and drawn for a few frames on the recording renderer. At the end of
// each input the world's shutdown cycle of the shader manager must free every entry.
#include "core/Random.h"
#include "core/Tokenizer.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordingRenderer.h"
#include "fuzz/SceneSupport.h"
#include "scene/ParticleMng.h"
#include "scene/SceneAccess.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMaxEmitters = 8;
constexpr int kFrames = 4;

/// The names the script gives its blocks: every token followed by "{".
std::vector<std::string> BlockNames(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> names;
  N_Tokenizer tok;
  tok.OpenBuffer(reinterpret_cast<const char*>(data), size);
  std::string previous;
  while (const char* token = tok.NextToken(true)) {
    if (std::strcmp(token, "{") == 0 && !previous.empty() && names.size() < kMaxEmitters) names.push_back(previous);
    previous = token;
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Scene& scene = fuzz::SceneOnRecordingRenderer();
  fuzz::WriteFile("data\\scripts\\fuzz.particle", data, size);
  Srand(1);  // the emitters' spread: the same for every run of an input
  {
    N_ParticleMng particles;
    g_scene.particles = &particles;
    particles.SetDetail(255);
    particles.LoadScripts();
    scene.shaders.LoadShaders();
    N_ParticleSystem* system = particles.CreateSystem();
    for (const std::string& name : BlockNames(data, size)) {
      std::unique_ptr<N_ParticleEmitter> emitter = particles.CreateEmitter(name.c_str());
      if (!emitter) continue;
      emitter->position = {0.0f, 400.0f, 0.0f};
      emitter->lineVector = {10.0f, 20.0f, 30.0f};
      system->AddEmitter(std::move(emitter))->Start();
    }
    for (int frame = 0; frame < kFrames; ++frame) {
      scene.clock.Advance(0.3);
      particles.UpdateAll();
      particles.RenderAll();
    }
    g_scene.particles = nullptr;
  }
  scene.shaders.ResetRefCounts();
  scene.shaders.LoadShaders();
  fuzz::Check(scene.shaders.Count() == 0, "shader entries left after the shutdown cycle");
  fuzz::ForgetCalls();
  return 0;
}
