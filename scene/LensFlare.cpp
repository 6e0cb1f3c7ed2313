#include "scene/LensFlare.h"

#include "core/Globals.h"
#include "core/Matrix4.h"
#include "core/Timer.h"
#include "render/Camera.h"
#include "render/Frustum.h"
#include "render/IndexBuffer.h"
#include "render/OcclusionQuery.h"
#include "render/Render.h"
#include "render/ShaderMng.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"
#include "scene/LevelRecords.h"
#include "scene/SceneAccess.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr std::uint32_t kIndexFormat16 = 101;
constexpr std::uint32_t kStaticBuffer = 1;
constexpr std::uint32_t kDynamicBuffer = 2;
/// The flare plane lies this far beyond the camera's near plane.
constexpr float kPlaneBeyondNear = 2.0f;
/// Below this cosine between the view and the light the glare is off; the intensity
/// rises by kIntensityScale per unit above it (0.75 looking straight at the light).
constexpr float kGlareCosine = 0.95f;
constexpr float kIntensityScale = 15.0f;
constexpr float kQuerySize = 2.0f;
/// A flare line shorter than this (the light at the view centre) has no direction of
/// its own: the sprites lie along the camera's right axis.
constexpr float kShortestLine = 1e-7f;

struct SpriteEntry {
  int shader;  ///< flare00 to flare05
  float position, size, red, green, blue;
};
/// Sprite 9's colour is the light's (marked by a negative red here).
constexpr SpriteEntry kSpriteTable[N_LensFlare::kSprites] = {
    {2, 1.3f, 0.04f, 0.6f, 0.0f, 0.0f},   {3, 1.0f, 0.1f, 0.4f, 0.0f, 0.0f},  {1, 0.5f, 0.2f, 0.3f, 0.0f, 0.0f},
    {3, 0.2f, 0.05f, 0.3f, 0.0f, 0.0f},   {0, 0.0f, 0.04f, 0.3f, 0.0f, 0.0f}, {4, -0.25f, 0.07f, 0.5f, 0.0f, 0.0f},
    {4, -0.4f, 0.02f, 0.6f, 0.0f, 0.0f},  {4, -0.6f, 0.04f, 0.4f, 0.0f, 0.0f}, {4, -1.0f, 0.03f, 0.2f, 0.0f, 0.0f},
    {5, 1.0f, 0.3f, -1.0f, 0.0f, 0.0f},
};

/// 255 x the value, truncated, kept to 0..255 (a colour above 1.0 would wrap in the byte).
std::uint32_t ColourByte(float value) {
  const float scaled = 255.0f * value;
  if (!(scaled > 0.0f)) return 0;
  if (scaled >= 255.0f) return 255;
  return static_cast<std::uint32_t>(scaled);
}

}  // namespace

N_LensFlare::N_LensFlare() = default;

N_LensFlare::~N_LensFlare() {
  DestroyGpuObjects();
  ReleaseShaders();
}

void N_LensFlare::DestroyGpuObjects() {
  if (!g_render) return;
  g_render->DestroyVertexBuffer(&m_vertexBuffer);
  g_render->DestroyIndexBuffer(&m_indexBuffer);
  g_render->DestroyVertexBufferBinding(&m_binding);
  g_render->DestroyOcclusionQuery(&m_query);
}

void N_LensFlare::ReleaseShaders() {
  for (int& handle : m_shaders) {
    if (handle != -1 && g_scene.shaderMng) g_scene.shaderMng->ReleaseShader(handle);
    handle = -1;
  }
}

void N_LensFlare::AttachLight(const N_LevelLight* light, std::uint8_t glare) {
  m_light = light;
  m_glare = glare;
}

void N_LensFlare::Setup() {
  DestroyGpuObjects();
  if (N_Render* render = g_render) {
    m_vertexBuffer = render->CreateVertexBuffer(N_Render::kSurfaceVertexSize, kVertices, kDynamicBuffer);
    static constexpr std::uint16_t kQuad[6] = {0, 1, 2, 0, 2, 3};
    m_indexBuffer = render->CreateIndexBuffer(kIndexFormat16, 6, kStaticBuffer);
    if (m_indexBuffer) m_indexBuffer->Write(0, sizeof kQuad, kQuad, false);
    m_binding = render->CreateVertexBufferBinding();
    if (m_binding) m_binding->SetStream(0, m_vertexBuffer);
    m_query = render->CreateOcclusionQuery();
  }
  for (int i = 0; i < kSprites; ++i) {
    N_MeshSurface& s = m_sprites[std::size_t(i)].surface;
    s.type = 1;
    s.primitiveType = static_cast<std::int32_t>(SurfacePrimitive::TriangleList);
    s.vertexCount = 4;
    s.indexCount = 6;
    s.indexed = 1;
    s.baseVertex = 4 * i;
    s.startIndex = 0;
    s.vertexBuffer = m_vertexBuffer;
    s.indexBuffer = m_indexBuffer;
    s.binding = m_binding;
  }
  // A second Setup must not keep the first one's references.
  ReleaseShaders();
  for (int k = 0; k < kShaders; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "textures\\common\\flare%02d", k);
    m_shaders[std::size_t(k)] = g_scene.shaderMng ? g_scene.shaderMng->AddShader(name, 0, N_ShaderMng::kType2D) : -1;
  }
}

void N_LensFlare::InitSprites() {
  for (int i = 0; i < kSprites; ++i) {
    const SpriteEntry& entry = kSpriteTable[i];
    N_LensFlareSprite& sprite = m_sprites[std::size_t(i)];
    sprite.surface.shader = m_shaders[std::size_t(entry.shader)];
    sprite.position = entry.position;
    sprite.size = entry.size;
    if (entry.red < 0.0f) {
      sprite.red = m_light ? m_light->colour[0] : 0.0f;
      sprite.green = m_light ? m_light->colour[1] : 0.0f;
      sprite.blue = m_light ? m_light->colour[2] : 0.0f;
    } else {
      sprite.red = entry.red;
      sprite.green = entry.green;
      sprite.blue = entry.blue;
    }
  }
}

void N_LensFlare::Update() {
  const N_Camera* camera = g_scene.camera;
  if (!m_light || !camera || !g_scene.frustum) {
    m_visible = 0;
    return;
  }
  const N_Vector3& light = m_light->position;
  std::int32_t mask = 0xF;
  m_visible = g_scene.frustum->TestPoint(light.x, light.y, light.z, &mask) ? 1 : 0;
  if (!m_visible) return;

  N_Render* render = g_render;
  if (render && render->SupportsOcclusionQueries() && m_query) {
    DWORD pixels = 0;
    const bool read = m_query->GetResult(&pixels, true);
    const float position[3] = {light.x, light.y, light.z};
    m_query->TestPoint(position, kQuerySize);
    if (read && pixels == 0) {
      m_fade = 0.0f;
      m_visible = 0;
      return;
    }
    const float dt = g_timer ? static_cast<float>(g_timer->GetFrameTime()) : 0.0f;
    m_fade = std::fmin(m_fade + dt * kFadeRate, 1.0f);
  }
  BuildSprites();
}

void N_LensFlare::BuildSprites() {
  const N_Camera& camera = *g_scene.camera;
  const N_Vector3 f = camera.axisZ * -1.0f;  // the camera looks along -axisZ
  const float d = camera.nearPlane + kPlaneBeyondNear;
  const N_Vector3 centre = camera.position + f * d;
  N_Vector3 toLight = m_light->position - camera.position;
  toLight.Normalize();
  const float c = Vec3Dot(toLight, f);
  m_intensity = std::fmax((c - kGlareCosine) * kIntensityScale, 0.0f);
  const N_Vector3 lightPoint = camera.position + toLight * (d / c);
  const N_Vector3 line = lightPoint - centre;
  N_Vector3 u = line;
  if (std::sqrt(Vec3Dot(u, u)) < kShortestLine) u = camera.axisX;
  u.Normalize();
  N_Vector3 v;
  Vec3Cross(v, u, f);

  static constexpr float kCornerU[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  static constexpr float kCornerSign[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  N_SurfaceVertex vertices[kVertices] = {};
  for (int i = 0; i < kSprites; ++i) {
    const N_LensFlareSprite& sprite = m_sprites[std::size_t(i)];
    const N_Vector3 middle = centre + line * sprite.position;
    const N_Vector3 a = u * sprite.size, b = v * sprite.size;
    const std::uint32_t colour = 0xFF000000u | ColourByte(m_fade * sprite.red) << 16 |
                                 ColourByte(m_fade * sprite.green) << 8 | ColourByte(m_fade * sprite.blue);
    for (int k = 0; k < 4; ++k) {
      N_SurfaceVertex& vertex = vertices[4 * i + k];
      const N_Vector3 p = middle + a * kCornerSign[k][0] + b * kCornerSign[k][1];
      vertex.position[0] = p.x;
      vertex.position[1] = p.y;
      vertex.position[2] = p.z;
      vertex.colour = colour;
      vertex.uv0[0] = kCornerU[k][0];
      vertex.uv0[1] = kCornerU[k][1];
    }
  }
  if (m_vertexBuffer) m_vertexBuffer->Write(0, sizeof vertices, vertices, true);
}

void N_LensFlare::Render() {
  N_Render* render = g_render;
  if (!m_visible || !render) return;
  render->SetWorldMatrix(N_Matrix4{});
  for (N_LensFlareSprite& sprite : m_sprites) {
    render->SetShader(g_scene.shaderMng ? g_scene.shaderMng->GetShader(sprite.surface.shader) : nullptr, -1);
    render->DrawSurface(&sprite.surface);
  }
  if (m_glare && m_light) {
    N_Camera* camera = g_scene.camera;
    render->SetupCamera(camera, 0);
    render->DrawQuad(m_light->colour[0], m_light->colour[1], m_light->colour[2], m_fade * m_intensity);
    render->SetupCamera(camera, 1);
  }
}
