#include "tests/scene/ParticleTestSupport.h"

#include "core/Globals.h"
#include "render/RenderStateCache.h"
#include "scene/SceneAccess.h"

#include <algorithm>

namespace test {

TestFrameTime::TestFrameTime() { g_timer = &Timer(); }

TestFrameTime::~TestFrameTime() {
  if (g_timer == &Timer()) g_timer = nullptr;
}

bool GroundGame::GetAthleteView(std::int32_t id, const float** block, N_Vector3* point) {
  asked.push_back(id);
  if (id != athleteId) return false;
  *block = ground.data();
  *point = viewPoint;
  return true;
}

ParticleRig::ParticleRig() {
  // A rig before this one in the process may have left its freed material bound.
  g_renderStateCache.currentShader = nullptr;
  g_scene.camera = &camera;
  g_scene.particles = &particles;
}

ParticleRig::~ParticleRig() {
  particles.DestroyAllSystems();  // while the renderer still takes the buffers back
  g_renderStateCache.currentShader = nullptr;  // the rig's materials go with it
  g_scene.particles = nullptr;
  g_scene.camera = nullptr;
}

void ParticleRig::Script(const std::string& file, const std::string& text) const {
  rig.harness.dir.Write("data/scripts/" + file, text);
}

int ParticleRig::Parse(const std::string& file) {
  return particles.ParseScript((rig.harness.dir.Path() + "/data/scripts/" + file).c_str());
}

const N_ParticleShader* ParticleRig::Template(const std::string& name, const std::string& lines) {
  const std::string file = name + ".particle";
  Script(file, name + "\n{\n" + lines + "\n}\n");
  Parse(file);
  return particles.FindShader(name.c_str());
}

bool ParticleRig::Step(N_ParticleEmitter& emitter, double dt) {
  time.Advance(dt);
  return emitter.Update();
}

void ParticleRig::ForgetCalls() {
  rig.device->ClearCalls();
  render.Forget();
}

std::uint32_t LiveCount(const N_ParticleEmitter& emitter) {
  return static_cast<std::uint32_t>(std::count_if(emitter.Particles().begin(), emitter.Particles().end(),
                                                  [](const N_Particle& p) { return p.IsAlive(); }));
}

}  // namespace test
