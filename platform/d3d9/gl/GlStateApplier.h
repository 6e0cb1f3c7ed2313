#pragma once
// Inside the layer: the one place where Direct3D state becomes OpenGL state. The
// device calls Apply before every draw and clear with the groups that changed, then
// ApplyVertexInput with the draw's arrays; the applier keeps what it last gave GL (the
// render states, the arrays each client array points at, the element buffer, the
// lighting program's uniforms) and calls GL only for differences, so a second draw of
// the same material and buffers costs the draw call and little else. Invalidate()
// forgets everything (after code outside changed GL state); ForgetBindings() forgets
// the GL names it holds (a name may come back for a new object). With the cache
// switched off (NAVO_GL_STATE_CACHE=0) every value is applied every time, which catches
// cache bugs.
//
// Lit draws without a vertex shader of their own run the lighting program
// (GlLightingProgram), which follows Direct3D's lighting equation; GL's fixed-function
// lighting is never used.
//
// Conventions applied here: culling by screen winding (glFrontFace CCW, D3DCULL_CCW
// culls GL_FRONT); two-sided stencil CW faces = GL_BACK; y counted from the target's
// top for viewport and scissor; Direct3D's pixel centres by a clip-space offset of
// (+1/W, -1/H); 2D texture transforms with their translation in the third row; render-
// target textures (stored bottom row first) sampled with v flipped.
#include "platform/d3d9/DeviceState.h"
#include "platform/d3d9/gl/GlContext.h"
#include "platform/d3d9/gl/GlLighting.h"

#include <array>
#include <cstdint>
#include <memory>
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
  explicit GlStateApplier(std::shared_ptr<GlContext> context);
  ~GlStateApplier();
  GlStateApplier(const GlStateApplier&) = delete;
  GlStateApplier& operator=(const GlStateApplier&) = delete;

  void Invalidate();
  /// Forgets the GL names it holds bound (textures, array and element buffers): called
  /// when a resource goes away, whose name GL may hand to the next new object.
  void ForgetBindings();
  /// Applies the changed groups for a target of that height (viewport and scissor count
  /// y from its top).
  void Apply(const DeviceState& state, DWORD dirty, UINT targetHeight);
  /// Points the client arrays at the draw's vertex data (after Apply): only arrays whose
  /// buffer, offset, stride or layout differ from what they point at are pointed again.
  void ApplyVertexInput(const DeviceState& state, const std::vector<GlVertexArray>& arrays);
  /// Binds the element buffer of an indexed draw (when it is not bound already).
  void BindIndices(GLuint buffer);
  /// The program that stands in for the fixed-function transform while points carry a
  /// size per vertex (Direct3D's PSIZE element): GL's fixed function takes one size for
  /// every point. Null when the draw needs none. Given before Apply; not owned.
  void SetPointProgram(GlVertexShader* program);
  /// Values the applier has passed to GL because they differed from what GL held
  /// (all devices of the process together).
  static std::uint64_t StateChanges() { return s_stateChanges; }
  /// Clears the parts (GL buffer bits) of the bound framebuffer whole, whatever the
  /// scissor and write masks; the next Apply puts them back.
  void ClearWhole(GLbitfield bits, float z, DWORD stencil);
  /// Clears the viewport (and the rectangles, and the scissor rectangle when enabled)
  /// of the bound target, whatever the write masks say.
  void Clear(const DeviceState& state, DWORD count, const D3DRECT* rects, DWORD flags, DWORD color, float z,
             DWORD stencil, UINT targetWidth, UINT targetHeight);

 private:
  /// Client arrays: vertex, normal, colour, secondary colour, 8 texture coordinates,
  /// the point size attribute.
  static constexpr std::size_t kArraySlots = 13;

  /// Where one client array reads: meaningful while the array is on, and kept while it
  /// is off (GL keeps the pointer), so turning it on again costs no new pointer.
  struct ArrayPointer {
    GLuint buffer = 0;
    GLint size = 0;  ///< components, or GL_BGRA for Direct3D's packed colours
    GLenum type = 0;
    GLsizei stride = 0;
    std::size_t offset = 0;
    bool operator==(const ArrayPointer&) const = default;
  };
  using ArrayPointers = std::array<ArrayPointer, kArraySlots>;
  using ArraySlots = std::array<bool, kArraySlots>;

  template <class T>
  bool Changed(T& have, const T& want) {
    if (!m_force && have == want) return false;
    have = want;
    ++s_stateChanges;
    return true;
  }
  /// Switches a GL capability when it differs from what GL holds (always with force).
  void Toggle(GLenum cap, bool on, bool force = false);
  void ActiveUnit(DWORD unit);
  void MatrixMode(GLenum mode);

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
  void ApplyViewport(const DeviceState& state, UINT targetHeight);
  void ApplyScissor(const DeviceState& state, UINT targetHeight);
  void ApplyProgram(const DeviceState& state, DWORD dirty);
  void ApplyPointProgram(const DeviceState& state);
  /// The lighting program, made on first use; null when it cannot be made (lit draws
  /// are then drawn unlit, with a warning).
  GlLightingProgram* Lighting();
  /// Where the GL arrays of one element read; marks the slots it uses.
  void DescribeArray(const DeviceState& state, const GlVertexArray& array, ArrayPointers& pointers,
                     ArraySlots& used);
  void PointArray(std::size_t slot, const ArrayPointer& pointer);
  void EnableArrays(const ArraySlots& wanted, bool force);
  /// Direct3D's values for the elements a draw lacks: white diffuse, black specular,
  /// a zero normal (GL leaves a current value undefined after a draw from its array).
  void SetMissingDefaults(const ArraySlots& used, bool force);
  void ClientUnit(DWORD unit);
  D3DMATRIX TextureMatrixFor(const DeviceState& state, DWORD unit) const;

  std::shared_ptr<GlContext> m_contextOwner;
  GlContext& m_context;
  bool m_cacheOn = true;
  bool m_force = true;  ///< apply everything on the next Apply
  DWORD m_pending = 0;  ///< groups a clear changed behind the device's back
  bool m_forceInput = true;  ///< point and switch every array on the next ApplyVertexInput

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
  std::array<float, 7> m_points{};
  DWORD m_activeUnit = 0xFFFFFFFF;
  DWORD m_clientUnit = 0xFFFFFFFF;
  GLenum m_matrixMode = 0;  ///< 0: unknown

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
  /// The bound program when it reads texture-coordinate set n as gl_MultiTexCoordn (a
  /// vertex shader, the point program); null for fixed function and the lighting program,
  /// whose units read the set their TEXCOORDINDEX names.
  GlVertexShader* m_programObject = nullptr;
  std::unique_ptr<GlLightingProgram> m_lighting;
  bool m_lightingTried = false;
  bool m_lit = false;          ///< the bound program is the lighting program
  DWORD m_lightingDirty = 0;   ///< groups changed since the lighting program last got its uniforms
  GlVertexShader* m_pointProgram = nullptr;
  GLint m_pointScaleLocation = -1;  ///< of m_pointProgram: (A, B, C, viewport height)
  GLint m_pointRangeLocation = -1;  ///< (minimum, maximum, scaling on, 0)
  std::array<float, 8> m_pointUniforms{};
  std::array<float, 2> m_pixelOffset{};

  ArraySlots m_arrays{};     ///< arrays switched on
  ArrayPointers m_pointers{};  ///< where each array points
  /// Current colour, secondary colour and normal hold Direct3D's defaults.
  std::array<bool, 3> m_defaultsSet{};
  GLuint m_elementBuffer = 0;
  bool m_elementBufferKnown = false;

  static inline std::uint64_t s_stateChanges = 0;
};

}  // namespace platform::d3d9
