#pragma once
// Inside the layer: Direct3D 9's fixed-function vertex lighting as a GL vertex program.
// GL's own lighting departs from Direct3D's where it shows: it has no range cut-off, its
// spot cone is a cut-off angle with an exponent where Direct3D has an inner and an outer
// cone with a falloff between, and it takes one material colour from the vertex where
// Direct3D takes each of the four from its own source. So every lit draw without a
// vertex shader of its own runs this program, which evaluates Direct3D's equation:
//
//   colour   = Ce + Ca (Ga + sum Atten Spot La) + Cd sum Atten Spot Ld max(N.L, 0)
//   specular = Cs sum Atten Spot Ls (N.H)^P         (for lights with N.L > 0)
//   Atten    = 1 / (a0 + a1 d + a2 d^2), 0 beyond Range, 1 for directional lights
//   Spot     = 1 inside Theta, 0 outside Phi, ((rho - cos Phi/2) / (cos Theta/2 - cos Phi/2))^Falloff between
//
// in camera space. It also does the rest of the fixed-function vertex work that GL
// leaves undone under a program: the transform (ftransform, so lit and unlit passes
// meet in depth), the texture-coordinate generators and texture matrices of each unit,
// and the fog distance.
//
// The owner (the state applier) binds the program for lit draws and calls Update with
// the state groups that changed; the uniforms as last given are kept here, so a draw
// sends only what differs: the lights when a light or the view changed, the material
// when it changed.
#include "platform/d3d9/DeviceState.h"
#include "platform/d3d9/gl/GlContext.h"

#include <array>
#include <memory>
#include <string>

namespace platform::d3d9 {

class GlVertexShader;

class GlLightingProgram {
 public:
  /// The program for `units` texture units, or null with the compiler's log.
  static std::unique_ptr<GlLightingProgram> Create(std::shared_ptr<GlContext> context, DWORD units,
                                                   std::string& log);
  ~GlLightingProgram();
  GlLightingProgram(const GlLightingProgram&) = delete;
  GlLightingProgram& operator=(const GlLightingProgram&) = delete;

  GLuint Program() const;
  /// Forgets what the uniforms hold: the next Update sends every group.
  void Invalidate() { m_known = m_sourcesKnown = false; }
  /// Sends the lights, the material and the generators where they differ from what the
  /// program holds. The program must be the bound one. dirty: the device's groups
  /// changed since the last call (the lights are looked at for kDirtyLights only, which
  /// the view's SetTransform sets too); all: send every group whatever it holds (the
  /// state cache is off). Returns the number of uniforms sent.
  int Update(const DeviceState& state, DWORD dirty, bool all);
  /// Sends where each material colour comes from, for a draw whose vertices carry a
  /// first (diffuse) and a second (specular) colour or not. Returns the uniforms sent.
  int UpdateSources(const DeviceState& state, bool all, bool diffuse, bool specular);

  /// Seven vectors per light: camera-space position (type in w), direction (towards
  /// the light for a directional one; range in w), attenuation (falloff in w), the
  /// cosines of half Theta and half Phi, then the diffuse, specular and ambient colours.
  static constexpr std::size_t kLightVectors = 7;

 private:
  GlLightingProgram(std::shared_ptr<GlContext> context, GlVertexShader* shader);

  // Each sends its group when it differs from what the program holds (or always with
  // all) and returns the uniforms sent.
  int SendLights(const DeviceState& state, bool all);
  int SendMaterial(const DeviceState& state, bool all);
  int SendTexGen(const DeviceState& state, bool all);

  std::shared_ptr<GlContext> m_context;
  GlVertexShader* m_shader;  ///< owned reference
  GLint m_lightsLocation = -1;
  GLint m_lightCountLocation = -1;
  GLint m_materialLocation = -1;
  GLint m_sourcesLocation = -1;
  GLint m_texGenLocation = -1;
  bool m_known = false;         ///< whether the lights, material and generators below are the program's
  bool m_sourcesKnown = false;  ///< whether m_sources is the program's

  std::array<float, kMaxLights * kLightVectors * 4> m_lights{};
  GLint m_lightCount = -1;
  std::array<float, 6 * 4> m_material{};  ///< diffuse, ambient, specular, emissive, global ambient, switches
  std::array<float, 4> m_sources{};
  std::array<float, kMaxStages> m_texGen{};
};

}  // namespace platform::d3d9
