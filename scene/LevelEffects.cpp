// N_Level::InitEffects: what a level sets up once it is loaded and its shaders are
// built.
#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32/Files.h"
#include "render/IndexBuffer.h"
#include "render/Render.h"
#include "render/Shader.h"
#include "render/ShaderMng.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"
#include "scene/LensFlare.h"
#include "scene/Level.h"
#include "scene/ParticleMng.h"
#include "scene/SceneAccess.h"
#include "scene/SceneHelpers.h"
#include "sound/SoundMng.h"

#include <cmath>
#include <string>

namespace {

constexpr std::uint32_t kIndexFormat16 = 101;
constexpr std::uint32_t kStaticBuffer = 1;
/// A billboard's six indices into its four vertices.
constexpr std::uint16_t kBillboardIndices[6] = {0, 3, 1, 0, 2, 3};
constexpr float kBillboardUv[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};

bool IsAutosprite(const N_ShaderDeform& deform) {
  return deform.type == DeformType::Autosprite || deform.type == DeformType::Autosprite2;
}

N_Vector3 PositionOf(const N_SurfaceVertex& v) { return {v.position[0], v.position[1], v.position[2]}; }

float HalfDistance(const N_SurfaceVertex& a, const N_SurfaceVertex& b) {
  const N_Vector3 d = PositionOf(a) - PositionOf(b);
  return std::sqrt(Vec3Dot(d, d)) * 0.5f;
}

}  // namespace

void N_Level::InitEffects() {
  MakeBillboards();
  MakeSharedBuffers();
  StartParticleEffects();
  SetSunFromLight();
  for (const auto& flare : flares) flare->InitSprites();
  if (g_soundMng) {
    for (int handle : ambientSounds) {
      if (handle != 0) g_soundMng->Play(handle);  // 0: the sound could not be made
    }
  }
}

// A surface whose shader turns it to face the camera is a quad: its four vertices
// collapse onto the quad's centre and carry their corner in the normal's x and the
// texture coordinates; the shader's deform values get the quad's half sizes (the
// first such surface measures them for every surface of that shader).
void N_Level::MakeBillboards() {
  N_ShaderMng* shaders = g_scene.shaderMng;
  if (!shaders) return;
  for (std::size_t i = 0; i < surfaces.size(); ++i) {
    N_MeshSurface& surface = surfaces[i];
    N_Shader* shader = shaders->GetShader(surface.shader);
    if (!shader) continue;
    bool autosprite = false;
    for (int k = 0; k < shader->deformCount; ++k)
      autosprite = autosprite || IsAutosprite(shader->deforms[std::size_t(k)]);
    if (!autosprite) continue;
    // Anything but a quad of 4 vertices and 6 indices stays as it is: six indices
    // written over a shorter run would overwrite the next surface's.
    if (surface.vertexCount != 4 || surface.indexCount < 6 || std::size_t(surface.vertexOffset) + 4 > vertices.size() ||
        std::size_t(surface.indexOffset) + 6 > indices.size()) {
      if (g_log) {
        g_log->Print("!!! Level surface %d: an autosprite shader needs a quad of 4 vertices and 6 indices (%u, %u)\n",
                     static_cast<int>(i), surface.vertexCount, static_cast<unsigned>(surface.indexCount));
      }
      continue;
    }
    N_SurfaceVertex* quad = vertices.data() + surface.vertexOffset;
    const float halfWidth = HalfDistance(quad[0], quad[3]);
    const float halfHeight = HalfDistance(quad[0], quad[2]);
    for (int k = 0; k < shader->deformCount; ++k) {
      N_ShaderDeform& deform = shader->deforms[std::size_t(k)];
      if (!IsAutosprite(deform)) continue;
      if (deform.values[0] == 0.0f) deform.values[0] = halfWidth;
      if (deform.values[1] == 0.0f) deform.values[1] = halfHeight;
    }
    const N_Vector3 centre =
        (PositionOf(quad[0]) + PositionOf(quad[1]) + PositionOf(quad[2]) + PositionOf(quad[3])) * 0.25f;
    surface.centre = centre;
    for (int k = 0; k < 4; ++k) {
      quad[k].position[0] = centre.x;
      quad[k].position[1] = centre.y;
      quad[k].position[2] = centre.z;
      quad[k].normal[0] = float(k);
      quad[k].uv0[0] = kBillboardUv[k][0];
      quad[k].uv0[1] = kBillboardUv[k][1];
    }
    for (int k = 0; k < 6; ++k) indices[surface.indexOffset + std::size_t(k)] = kBillboardIndices[k];
  }
}

// One vertex buffer, one index buffer and one binding hold the whole level; every
// surface draws its run of them.
void N_Level::MakeSharedBuffers() {
  N_Render* render = g_render;
  if (!render) return;
  render->DestroyIndexBuffer(&sharedIndexBuffer);
  render->DestroyVertexBuffer(&sharedVertexBuffer);
  render->DestroyVertexBufferBinding(&sharedBinding);
  // An empty level makes no buffers: the renderer refuses a size of 0.
  if (!vertices.empty()) {
    const auto count = static_cast<std::uint32_t>(vertices.size());
    sharedVertexBuffer = render->CreateVertexBuffer(N_Render::kSurfaceVertexSize, count, kStaticBuffer);
    if (sharedVertexBuffer) sharedVertexBuffer->Write(0, count * N_Render::kSurfaceVertexSize, vertices.data(), false);
    sharedBinding = render->CreateVertexBufferBinding();
    if (sharedBinding) sharedBinding->SetStream(0, sharedVertexBuffer);
  }
  if (!indices.empty()) {
    const auto count = static_cast<std::uint32_t>(indices.size());
    sharedIndexBuffer = render->CreateIndexBuffer(kIndexFormat16, count, kStaticBuffer);
    if (sharedIndexBuffer) sharedIndexBuffer->Write(0, count * 2u, indices.data(), false);
  }
  for (N_MeshSurface& surface : surfaces) {
    surface.sharedBuffers = 1;
    surface.vertexBuffer = sharedVertexBuffer;
    surface.indexBuffer = sharedIndexBuffer;
    surface.binding = sharedBinding;
    surface.baseVertex = static_cast<std::int32_t>(surface.vertexOffset);
    surface.startIndex = surface.indexOffset;
  }
}

// One system holds an emitter for every placement whose template exists (others are
// skipped without a word); the "snow" placement's emitter waits for SetSnow, every
// other one starts at once.
void N_Level::StartParticleEffects() {
  N_ParticleMng* particles = g_scene.particles;
  if (!particles) SceneCritical(9, "Particle manager not initialized!");
  ReleaseParticleEffects();
  particleSystem = particles->CreateSystem();
  for (const N_LevelEmitter& record : emitters) {
    const std::string templateName(levelfile::FieldName(record.particleSystem));
    std::unique_ptr<N_ParticleEmitter> made = particles->CreateEmitter(templateName.c_str());
    if (!made) continue;
    made->position = record.position;
    made->SetBox(record.box);
    N_ParticleEmitter* emitter = particleSystem->AddEmitter(std::move(made));
    if (platform::EqualsNoCase(levelfile::FieldName(record.name), "snow")) {
      snow = emitter;
    } else {
      emitter->Start();
    }
  }
}

// "lf_sun", else "sun": a directional light from its position towards its target in
// its colour, in the renderer's slot 0.
void N_Level::SetSunFromLight() {
  const N_LevelLight* light = FindLight("lf_sun");
  if (!light) light = FindLight("sun");
  if (!light) return;
  N_Vector3 direction = light->target - light->position;
  direction.Normalize();  // shorter than 1e-7: (1, 0, 0)
  sunLight.type = 1;
  sunLight.position[0] = light->position.x;
  sunLight.position[1] = light->position.y;
  sunLight.position[2] = light->position.z;
  sunLight.direction[0] = direction.x;
  sunLight.direction[1] = direction.y;
  sunLight.direction[2] = direction.z;
  for (int c = 0; c < 3; ++c) {
    sunLight.diffuse[c] = light->colour[c];
    sunLight.specular[c] = light->colour[c];
  }
  sunLight.changed = 1;
  if (g_render) g_render->SetLight(0, &sunLight);
}
