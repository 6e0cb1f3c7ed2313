#pragma once
// N_GuiPanel: the plain rectangular container of the GUI. It draws a tiled background
// shader, an optional border of four strips, its children in name order and optional
// small particles that run round its border. Factory type "Panel"; the base of the
// cursor, the radio group and most composite elements, which call its Render from
// their own.
//
// Render (its page or parent, each frame after ApplyLayout): background, border,
// children, particles; every quad goes to the 2D batcher with the element's alpha.
#include "gui/GuiContainer.h"

#include <cstdint>
#include <string>
#include <vector>

class N_GuiPanel : public N_GuiContainer {
 public:
  static constexpr const char* kTypeName = "Panel";
  /// The most particles one panel keeps: the batcher holds no more entries between two
  /// flushes, and a script's count must not allocate without bound.
  static constexpr std::int32_t kMaxParticles = 4024;

  explicit N_GuiPanel(std::string name);
  ~N_GuiPanel() override = default;

  /// Nothing while hidden. Unless transparent: the background (the disabled shader
  /// while disabled, when set) and the border; then the children in name order, then
  /// the particles, which move on by the frame time.
  void Render() override;
  const std::string& GetTypeName() const override;
  void BuildAttributes() override;

  /// "x y": each number that is not 0 replaces the repeat on its axis.
  void SetTiling(const std::string& text);
  std::string GetTiling() const;
  float GetTilingX() const { return m_tilingX; }
  float GetTilingY() const { return m_tilingY; }
  /// Whether its background alone hides the whole screen: a shown top-level element of
  /// a shown page that is not fading out, not transparent, with an opaque material
  /// (one whose quad replaces what is under it at any alpha) over all of 640 x 480
  /// through the page's matrix. Nothing drawn before the pages can then be seen.
  bool CoversScreen();
  void SetTransparent(bool transparent) { m_transparent = transparent; }
  bool IsTransparent() const { return m_transparent; }
  /// An empty name is ignored; else the shader of the strips (a reference is kept).
  void SetBorderShader(const std::string& name);
  const std::string& GetBorderShaderName() const { return m_borderShaderName; }
  void SetBorderSize(float size) { m_borderSize = size; }
  float GetBorderSize() const { return m_borderSize; }
  /// An empty name is ignored; else the shader of the particles.
  void SetParticleShader(const std::string& name);
  const std::string& GetParticleShaderName() const { return m_particleShaderName; }
  /// A new trail of n particles (0..kMaxParticles), starting on the top edge running left.
  void SetParticleCount(std::int32_t count);
  std::uint32_t GetParticleCount() const { return static_cast<std::uint32_t>(m_particles.size()); }
  /// The size of the leading particle; the trail starts again on the bottom edge.
  void SetParticleSize(float size);
  float GetParticleSize() const { return m_particleSize; }
  /// Screen units per second; the trail starts again on the bottom edge.
  void SetParticleSpeed(float speed);
  float GetParticleSpeed() const { return m_particleSpeed; }

  struct Particle {
    float x = 0.0f;  ///< centre on the screen
    float y = 0.0f;
    float vx = 0.0f;
    float vy = 0.0f;
    float opacity = 0.0f;  ///< factor of the element's alpha
    float halfSize = 0.0f;
  };
  const std::vector<Particle>& Particles() const { return m_particles; }

 protected:
  /// Background and border, unless transparent.
  void RenderFrame();
  /// The same over a rectangle of its own size at the element's place, the background
  /// repeated as given (a progress bar draws its fill so).
  void RenderFrame(float width, float height, float tilingX, float tilingY);
  void RenderChildren();
  void RenderParticles();
  /// The disabled shader while disabled (when set), else the current one; -1 none.
  std::int32_t BackgroundShader() const;

 private:
  /// Lines the trail up behind its leader on the bottom edge, running right.
  void ResetParticles();

  bool m_transparent = false;
  float m_tilingX = 1.0f;
  float m_tilingY = 1.0f;
  float m_borderSize = 1.0f;  ///< strip thickness in screen units
  std::string m_borderShaderName;
  std::int32_t m_borderShader = -1;  ///< -1: no border
  std::string m_particleShaderName;
  std::int32_t m_particleShader = -1;  ///< -1: no particles
  float m_particleSize = 20.0f;
  float m_particleSpeed = 10.0f;
  std::vector<Particle> m_particles;
};
