#pragma once
// N_ParticlePatch: a skier's trail on the snow, a ring of 80 flat quads stamped along
// the path, each fading out within 1 / 0.3 = 3.33 s. A figure's emitter attachment of
// the "patch" kind makes one (inactive), switches it with the animation, calls Update
// with its bone positions every frame, draws it with the figure and releases it with
// the figure set.
//
// Update, only while a game runs (g_scene.game): every vertex fades; then, when active
// and more than 60 units from the last stamp, the running game gives the skier's ground
// triangle (N_Game::GetAthleteView with athleteId) and, with both end points within 10
// units of its plane, a quad from a to b, 2 units wide, is stamped over the oldest one.
// Render draws all 320 vertices while "PlayersParticles" is 1.
#include "core/Vector3.h"
#include "render/MeshSurface.h"

#include <array>
#include <cstdint>

class N_ParticlePatch {
 public:
  static constexpr std::uint32_t kQuads = 80;
  static constexpr std::uint32_t kVertices = kQuads * 4;
  static constexpr std::uint32_t kIndices = kQuads * 6;
  /// last.x while nothing has been stamped yet.
  static constexpr float kNoStamp = -1000000.0f;
  static constexpr float kStampDistance = 60.0f;    ///< between two stamps, at least
  static constexpr float kGroundTolerance = 10.0f;  ///< end points farther off the ground stamp nothing
  static constexpr float kFadePerSecond = 0.3f;

  /// Takes a reference to the material (through g_scene.shaderMng) and makes the
  /// buffers: the index pattern written once, every vertex invisible. Headless (no
  /// renderer) it has no buffers and does nothing.
  explicit N_ParticlePatch(const char* shaderName);
  /// Release.
  ~N_ParticlePatch();
  N_ParticlePatch(const N_ParticlePatch&) = delete;
  N_ParticlePatch& operator=(const N_ParticlePatch&) = delete;

  /// One frame with the two bone positions (the same point twice for one bone).
  void Update(const N_Vector3& a, const N_Vector3& b);
  void Render();
  /// Gives the buffers and the binding back to the renderer (again: nothing).
  void Release();

  std::uint32_t Next() const { return m_next; }
  const N_Vector3& Last() const { return m_last; }
  float Fade(std::uint32_t vertex) const { return m_fade[vertex]; }
  const N_MeshSurface& Surface() const { return m_surface; }

  std::int32_t active = 0;       ///< stamping on (set by the owner)
  std::int32_t athleteId = 666;  ///< handed unchanged to GetAthleteView (the owner sets it)

 private:
  /// Steps 2-8 of an update on the locked vertices.
  void Stamp(N_SurfaceVertex* vertices, const N_Vector3& a, const N_Vector3& b);

  std::uint32_t m_next = 0;  ///< first vertex of the next quad: 0, 4, ... 316, then 0 again
  N_MeshSurface m_surface;
  N_Vector3 m_last{kNoStamp, 0.0f, 0.0f};
  std::array<float, kVertices> m_fade{};  ///< opacity 0..1 per vertex
};
