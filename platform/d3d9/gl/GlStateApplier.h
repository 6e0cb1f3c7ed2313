#pragma once
// Inside the layer: the one place where Direct3D state becomes OpenGL state. The
// device calls Apply before every draw and clear with the groups that changed; the
// applier keeps what it last gave GL and calls GL only for differences. Invalidate()
// forgets everything (after code outside changed GL state); with the cache switched
// off (NAVO_GL_STATE_CACHE=0) every value is applied every time, which catches
// cache bugs.
//
// Conventions applied here: culling by screen winding (glFrontFace CCW, D3DCULL_CCW
// culls GL_FRONT); two-sided stencil CW faces = GL_BACK; y counted from the target's
// top for viewport and scissor; Direct3D's pixel centres by a clip-space offset of
// (+1/W, -1/H); 2D texture transforms with their translation in the third row; render-
// target textures (stored bottom row first) sampled with v flipped.
#include "platform/d3d9/DeviceState.h"
#include "platform/d3d9/gl/GlContext.h"

#include <array>
#include <cstdint>
#include <vector>

namespace platform::d3d9 {

class GlVertexShader;

/// One vertex array of a draw: an element of the declaration and where its data is.
struct GlVertexArray {
  D3DVERTEXELEMENT9 element;
  GLuint buffer;
  std::size_t offset;  ///< byte offset of the element in the buffer for vertex 0
  GLsizei stride;
};

class GlStateApplier {
 public:
  explicit GlStateApplier(GlContext& context);
  ~GlStateApplier();
  GlStateApplier(const GlStateApplier&) = delete;
  GlStateApplier& operator=(const GlStateApplier&) = delete;

  void Invalidate();
  /// Applies the changed groups for a target of that height (viewport and scissor count
  /// y from its top).
  void Apply(const DeviceState& state, DWORD dirty, UINT targetHeight);
  /// Sets the vertex arrays of a draw (after Apply).
  void ApplyVertexInput(const DeviceState& state, const std::vector<GlVertexArray>& arrays);
  /// The program that stands in for the fixed-function transform while points carry a
  /// size per vertex (Direct3D's PSIZE element): GL's fixed function takes one size for
  /// every point. Null when the draw needs none. Given before Apply; not owned.
  void SetPointProgram(GlVertexShader* program);
  /// Values the applier has passed to GL because they differed from what GL held
  /// (all devices of the process together).
  static std::uint64_t StateChanges() { return s_stateChanges; }
  /// Clears the viewport (and the rectangles, and the scissor rectangle when enabled)
  /// of the bound target, whatever the write masks say.
  void Clear(const DeviceState& state, DWORD count, const D3DRECT* rects, DWORD flags, DWORD color, float z,
             DWORD stencil, UINT targetWidth, UINT targetHeight);

 private:
  /// Client arrays: vertex, normal, colour, secondary colour, 8 texture coordinates,
  /// the point size attribute.
  static constexpr std::size_t kArraySlots = 13;

  template <class T>
  bool Changed(T& have, const T& want) {
    if (!m_force && have == want) return false;
    have = want;
    ++s_stateChanges;
    return true;
  }
  void Toggle(GLenum cap, bool on);
  void ActiveUnit(DWORD unit);

  void ApplyRender(const std::array<DWORD, kD3DRenderStateCount>& rs, float viewportHeight);
  void ApplyBlend(const std::array<DWORD, kD3DRenderStateCount>& rs);
  void ApplyStencil(const std::array<DWORD, kD3DRenderStateCount>& rs);
  void ApplyFog(const std::array<DWORD, kD3DRenderStateCount>& rs);
  void ApplyPoints(const std::array<DWORD, kD3DRenderStateCount>& rs, float viewportHeight);
  void ApplyStages(const DeviceState& state);
  void ApplyStage(const DeviceState& state, DWORD unit, bool active);
  void ApplyCombiner(DWORD unit, const std::array<DWORD, kD3DTextureStageStateCount>& ts, DWORD textureFactor);
  void ApplyTexGen(DWORD unit, DWORD texCoordIndex);
  void ApplySamplers(const DeviceState& state);
  void ApplyTransforms(const DeviceState& state);
  void ApplyLights(const DeviceState& state);
  void ApplyMaterial(const DeviceState& state);
  void ApplyViewport(const DeviceState& state, UINT targetHeight);
  void ApplyScissor(const DeviceState& state, UINT targetHeight);
  void ApplyProgram(const DeviceState& state, DWORD dirty);
  void ApplyPointProgram(const DeviceState& state);
  void ApplyColorMaterial(const std::array<DWORD, kD3DRenderStateCount>& rs, bool vertexColor);
  /// Points the GL array of one element at its data; marks the slots it uses.
  void PointArray(const DeviceState& state, const GlVertexArray& array, std::array<bool, kArraySlots>& used);
  void EnableArrays(const std::array<bool, kArraySlots>& wanted);
  void ClientUnit(DWORD unit);
  D3DMATRIX TextureMatrixFor(const DeviceState& state, DWORD unit) const;

  GlContext& m_context;
  bool m_cacheOn = true;
  bool m_force = true;  ///< apply everything on the next Apply
  DWORD m_pending = 0;  ///< groups a clear changed behind the device's back

  // What GL holds now (meaningless while m_force is set).
  std::array<signed char, 32> m_caps{};
  GLenum m_depthFunc = 0;
  bool m_depthMask = true;
  GLenum m_polygonMode = 0;
  GLenum m_shadeModel = 0;
  std::pair<GLenum, DWORD> m_alphaFunc{};
  std::array<GLenum, 4> m_blendFunc{};
  std::array<GLenum, 2> m_blendEquation{};
  DWORD m_blendColor = 0;
  GLenum m_cullFace = 0;
  std::array<DWORD, 9> m_stencil{};
  DWORD m_colorMask = 0xF;
  std::pair<DWORD, DWORD> m_depthBias{};
  std::array<DWORD, 6> m_fog{};
  std::array<DWORD, 3> m_lightModel{};
  std::array<float, 7> m_points{};
  GLenum m_colorMaterial = 0;
  DWORD m_activeUnit = 0xFFFFFFFF;
  DWORD m_clientUnit = 0xFFFFFFFF;

  struct UnitState {
    GLenum enabledTarget = 0;        ///< GL_TEXTURE_2D, _CUBE_MAP, _3D or 0 (all off)
    std::array<GLuint, 3> bound{};   ///< names bound to 2D, cube, 3D
    std::array<DWORD, 9> combiner{};
    DWORD texCoordIndex = 0xFFFFFFFF;
    D3DMATRIX matrix{};
    std::array<DWORD, kD3DSamplerStateCount> sampler{};
    bool sprite = false;
  };
  std::array<UnitState, kMaxStages> m_units{};
  std::array<GLuint, kMaxStages> m_samplers{};
  GLuint m_white = 0;  ///< 1x1 white texture for stages without one
  DWORD m_unitCount = kMaxStages;

  D3DMATRIX m_projection{};
  D3DMATRIX m_modelView{};
  std::array<GLint, 4> m_viewport{};
  std::array<float, 2> m_depthRange{};
  std::array<GLint, 4> m_scissor{};
  GLuint m_program = 0;
  GlVertexShader* m_programObject = nullptr;
  GlVertexShader* m_pointProgram = nullptr;
  GLint m_pointScaleLocation = -1;  ///< of m_pointProgram: (A, B, C, viewport height)
  GLint m_pointRangeLocation = -1;  ///< (minimum, maximum, scaling on, 0)
  std::array<float, 8> m_pointUniforms{};
  std::array<float, 2> m_pixelOffset{};

  std::array<bool, kArraySlots> m_arrays{};

  static inline std::uint64_t s_stateChanges = 0;
};

}  // namespace platform::d3d9
