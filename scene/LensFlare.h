#pragma once
// N_LensFlare: the flare of one bright light of the level: ten textured sprites along
// the line from the centre of the view through the light, fading in while the light is
// seen and out when geometry hides it, and for a glare light (the sun) a full-view
// tint in the light's colour. The level loader makes one per "lf_..." light
// (AttachLight, then Setup); the level owns it, initialises its sprites in InitEffects
// and per frame calls Update (from the world's render, before the flares are drawn)
// and Render (after the scene).
//
// Update, per frame:
//   1. visible = the light inside the world's frustum; else stop (the fade is kept);
//   2. with occlusion queries: the earlier query's pixel count (read one frame late,
//      so the flare never waits for the device); 0 pixels hide the flare (fade 0),
//      otherwise the fade grows by 3 a second up to 1; a new query at the light;
//   3. the intensity from how directly the camera looks at the light, the flare
//      line on a plane 2 units beyond the camera's near plane;
//   4. the 40 vertices of the ten sprites, in one write.
// The camera, the frustum and the shaders are the world's (g_scene), the frame time is
// g_timer's.
#include "render/MeshSurface.h"

#include <array>
#include <cstdint>

struct N_LevelLight;
class N_OcclusionQuery;

/// A sprite: its surface (4 vertices of the flare's buffer), its place along the flare
/// line (0 the view centre, 1 the light), its half size and its colour.
struct N_LensFlareSprite {
  N_MeshSurface surface;
  float position = 0.0f;
  float size = 0.0f;
  float red = 0.0f;
  float green = 0.0f;
  float blue = 0.0f;
};

class N_LensFlare {
 public:
  static constexpr int kSprites = 10;
  static constexpr int kShaders = 6;
  static constexpr int kVertices = 4 * kSprites;
  /// The fade gained per second of visible frames.
  static constexpr float kFadeRate = 3.0f;

  /// Ten sprite surfaces, no light, no GPU objects or shaders; invisible with fade 0.
  N_LensFlare();
  /// Gives the GPU objects and the six shaders back.
  ~N_LensFlare();
  N_LensFlare(const N_LensFlare&) = delete;
  N_LensFlare& operator=(const N_LensFlare&) = delete;

  /// The light record (the level's, which outlives the flare) and the glare flag.
  void AttachLight(const N_LevelLight* light, std::uint8_t glare);
  /// Makes the GPU objects anew (a 40-vertex dynamic vertex buffer, the 6-index buffer
  /// 0, 1, 2, 0, 2, 3, their binding and an occlusion query), points sprite i at
  /// vertices 4i..4i+3, and adds the six shaders "textures\common\flare00" to
  /// "flare05" (kind 3).
  void Setup();
  /// The sprite table: shader, place, size and colour of each sprite.
  void InitSprites();
  void Update();
  /// The sprites with the identity world matrix, then the glare in a 2D set-up of the
  /// world's camera; nothing while the last update left the flare invisible.
  void Render();

  const N_LensFlareSprite& Sprite(int i) const { return m_sprites[std::size_t(i)]; }
  /// Shader handle k of "textures\common\flare0k"; -1 before Setup.
  int Shader(int k) const { return m_shaders[std::size_t(k)]; }
  N_VertexBuffer* VertexBuffer() const { return m_vertexBuffer; }
  N_IndexBuffer* IndexBuffer() const { return m_indexBuffer; }
  N_VertexBufferBinding* Binding() const { return m_binding; }
  N_OcclusionQuery* Query() const { return m_query; }
  const N_LevelLight* Light() const { return m_light; }
  bool IsVisible() const { return m_visible != 0; }
  bool HasGlare() const { return m_glare != 0; }
  float Intensity() const { return m_intensity; }
  float Fade() const { return m_fade; }

 private:
  void DestroyGpuObjects();
  void ReleaseShaders();
  /// Steps 3 and 4 of the update.
  void BuildSprites();

  const N_LevelLight* m_light = nullptr;
  std::array<N_LensFlareSprite, kSprites> m_sprites;
  std::array<int, kShaders> m_shaders{-1, -1, -1, -1, -1, -1};
  N_VertexBuffer* m_vertexBuffer = nullptr;
  N_IndexBuffer* m_indexBuffer = nullptr;
  N_VertexBufferBinding* m_binding = nullptr;
  N_OcclusionQuery* m_query = nullptr;
  std::int32_t m_visible = 0;
  std::uint8_t m_glare = 0;
  float m_intensity = 0.0f;
  float m_fade = 0.0f;
};
