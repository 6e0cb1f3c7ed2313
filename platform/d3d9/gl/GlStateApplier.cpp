#include "platform/d3d9/gl/GlStateApplier.h"

#include "platform/d3d9/StateDevice.h"
#include "platform/d3d9/WarnOnce.h"
#include "platform/d3d9/gl/GlMapping.h"
#include "platform/d3d9/gl/GlResources.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace platform::d3d9 {

namespace {

constexpr GLenum kCaps[] = {
    GL_DEPTH_TEST,   GL_ALPHA_TEST,           GL_BLEND,     GL_CULL_FACE,           GL_DITHER,
    GL_STENCIL_TEST, GL_SCISSOR_TEST,         GL_POLYGON_OFFSET_FILL,               GL_POLYGON_OFFSET_LINE,
    GL_POLYGON_OFFSET_POINT,                  GL_FOG,       GL_NORMALIZE,           GL_COLOR_SUM,
    GL_POINT_SPRITE, GL_MULTISAMPLE,          GL_VERTEX_PROGRAM_POINT_SIZE,
};
static_assert(std::size(kCaps) <= 32);

/// Direct3D 9 puts pixel centres on whole window coordinates, GL half a pixel further
/// (right and, with y up, down): the clip-space shift is (+1/W, -1/H). It falls short by
/// 1/128 pixel so that an edge running exactly through pixel centres lands on the side
/// Direct3D's top-left fill rule gives it, whatever the GL rasterizer's own rule.
std::array<float, 2> PixelOffset(const D3DVIEWPORT9& viewport) {
  const float w = viewport.Width ? float(viewport.Width) : 1.0f;
  const float h = viewport.Height ? float(viewport.Height) : 1.0f;
  constexpr float kHalfPixels = 1.0f - 1.0f / 64.0f;  // in units of half a pixel
  return {kHalfPixels / w, -kHalfPixels / h};
}

}  // namespace

GlStateApplier::GlStateApplier(std::shared_ptr<GlContext> context)
    : m_contextOwner(std::move(context)), m_context(*m_contextOwner) {
  const char* cache = std::getenv("NAVO_GL_STATE_CACHE");
  m_cacheOn = !(cache && cache[0] == '0');
  m_unitCount = DWORD(std::clamp(m_context.Info().maxTextureUnits, 1, int(kMaxStages)));
  // Fixed conventions, set once: Direct3D's 0..1 clip depth, culling by screen winding,
  // flat shading from the first vertex, separate specular, tightly packed pixel rows.
  glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
  glFrontFace(GL_CCW);
  glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
  glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPointParameteri(GL_POINT_SPRITE_COORD_ORIGIN, GL_UPPER_LEFT);
  glGenSamplers(GLsizei(kMaxStages), m_samplers.data());
  for (DWORD i = 0; i < m_unitCount; ++i) glBindSampler(i, m_samplers[i]);
  const GLubyte white[4] = {255, 255, 255, 255};
  glGenTextures(1, &m_white);
  glBindTexture(GL_TEXTURE_2D, m_white);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
  Invalidate();
}

GlStateApplier::~GlStateApplier() {
  if (!m_context.MakeCurrent()) return;
  glDeleteSamplers(GLsizei(kMaxStages), m_samplers.data());
  glDeleteTextures(1, &m_white);
}

void GlStateApplier::Invalidate() {
  m_force = true;
  m_activeUnit = m_clientUnit = 0xFFFFFFFF;
  m_matrixMode = 0;
  if (m_lighting) m_lighting->Invalidate();
  ForgetBindings();
}

void GlStateApplier::ForgetBindings() {
  // Names that match no GL object: the next use binds again.
  for (UnitState& unit : m_units) unit.bound.fill(0xFFFFFFFFu);
  for (ArrayPointer& pointer : m_pointers) pointer.buffer = 0xFFFFFFFFu;
  m_forceInput = true;
  m_elementBufferKnown = false;
}

void GlStateApplier::Toggle(GLenum cap, bool on, bool force) {
  const auto* slot = std::find(std::begin(kCaps), std::end(kCaps), cap);
  auto& have = m_caps[std::size_t(slot - std::begin(kCaps))];
  const signed char want = on ? 1 : 0;
  if (!m_force && !force && have == want) return;
  have = want;
  ++s_stateChanges;
  on ? glEnable(cap) : glDisable(cap);
}

void GlStateApplier::ActiveUnit(DWORD unit) {
  if (m_activeUnit == unit) return;
  m_activeUnit = unit;
  glActiveTexture(GL_TEXTURE0 + unit);
}

void GlStateApplier::MatrixMode(GLenum mode) {
  if (m_matrixMode == mode) return;
  m_matrixMode = mode;
  glMatrixMode(mode);
}

void GlStateApplier::Apply(const DeviceState& state, DWORD dirty, UINT targetHeight) {
  if (m_context.textureBindingsClobbered) {
    // An upload or a copy bound a texture of its own on the active unit: the stages
    // bind theirs again.
    for (UnitState& unit : m_units) unit.bound.fill(0xFFFFFFFFu);
    m_context.textureBindingsClobbered = false;
    dirty |= kDirtyTextures;
  }
  dirty |= m_pending;
  m_pending = 0;
  if (m_force || !m_cacheOn) dirty = kDirtyAll;
  m_lightingDirty |= dirty;
  const auto& rs = state.render;
  if (dirty & (kDirtyRender | kDirtyViewport)) ApplyRender(rs, float(state.viewport.Height));
  if (dirty & kDirtyViewport) ApplyViewport(state, targetHeight);
  if (dirty & (kDirtyScissor | kDirtyViewport)) ApplyScissor(state, targetHeight);
  if (dirty & (kDirtyStages | kDirtyTextures | kDirtyRender)) ApplyStages(state);
  if (dirty & kDirtySamplers) ApplySamplers(state);
  if (dirty & (kDirtyTransforms | kDirtyViewport)) ApplyTransforms(state);
  // Which program a draw runs follows the shader, the point program and the lighting
  // state; the lighting program's uniforms follow the lights, material and stages; the
  // point program reads the point states and the viewport height.
  constexpr DWORD kProgramDirty = kDirtyVertexShader | kDirtyConstants | kDirtyViewport | kDirtyRender |
                                  kDirtyLights | kDirtyMaterial | kDirtyStages;
  if (dirty & kProgramDirty) ApplyProgram(state, dirty);
  m_force = !m_cacheOn;
}

void GlStateApplier::ApplyRender(const std::array<DWORD, kD3DRenderStateCount>& rs, float viewportHeight) {
  ApplyPoints(rs, viewportHeight);
  Toggle(GL_DEPTH_TEST, UsesDepth(rs));  // no W-buffer in GL: USEW is a Z-buffer
  if (Changed(m_depthFunc, CompareFunc(rs[D3DRS_ZFUNC]))) glDepthFunc(m_depthFunc);
  if (Changed(m_depthMask, rs[D3DRS_ZWRITEENABLE] != FALSE)) glDepthMask(m_depthMask ? GL_TRUE : GL_FALSE);
  const DWORD fill = rs[D3DRS_FILLMODE];
  if (Changed(m_polygonMode, GLenum(fill == D3DFILL_POINT ? GL_POINT : fill == D3DFILL_WIREFRAME ? GL_LINE : GL_FILL))) {
    glPolygonMode(GL_FRONT_AND_BACK, m_polygonMode);
  }
  if (Changed(m_shadeModel, GLenum(rs[D3DRS_SHADEMODE] == D3DSHADE_FLAT ? GL_FLAT : GL_SMOOTH))) {
    glShadeModel(m_shadeModel);
  }
  Toggle(GL_ALPHA_TEST, rs[D3DRS_ALPHATESTENABLE] != FALSE);
  if (Changed(m_alphaFunc, std::pair(CompareFunc(rs[D3DRS_ALPHAFUNC]), rs[D3DRS_ALPHAREF] & 0xFF))) {
    glAlphaFunc(m_alphaFunc.first, GLfloat(m_alphaFunc.second) / 255.0f);
  }
  ApplyBlend(rs);
  const DWORD cull = rs[D3DRS_CULLMODE];
  Toggle(GL_CULL_FACE, cull == D3DCULL_CW || cull == D3DCULL_CCW);
  if (cull == D3DCULL_CW || cull == D3DCULL_CCW) {
    if (Changed(m_cullFace, GLenum(cull == D3DCULL_CCW ? GL_FRONT : GL_BACK))) glCullFace(m_cullFace);
  }
  Toggle(GL_DITHER, rs[D3DRS_DITHERENABLE] != FALSE);
  Toggle(GL_MULTISAMPLE, rs[D3DRS_MULTISAMPLEANTIALIAS] != FALSE);
  ApplyStencil(rs);
  if (Changed(m_colorMask, rs[D3DRS_COLORWRITEENABLE] & 0xF)) {
    glColorMask(m_colorMask & 1 ? GL_TRUE : GL_FALSE, m_colorMask & 2 ? GL_TRUE : GL_FALSE,
                m_colorMask & 4 ? GL_TRUE : GL_FALSE, m_colorMask & 8 ? GL_TRUE : GL_FALSE);
  }
  Toggle(GL_SCISSOR_TEST, rs[D3DRS_SCISSORTESTENABLE] != FALSE);
  const auto bias = std::pair(rs[D3DRS_SLOPESCALEDEPTHBIAS], rs[D3DRS_DEPTHBIAS]);
  const bool offset = StateFloat(bias.first) != 0.0f || StateFloat(bias.second) != 0.0f;
  Toggle(GL_POLYGON_OFFSET_FILL, offset);
  Toggle(GL_POLYGON_OFFSET_LINE, offset);
  Toggle(GL_POLYGON_OFFSET_POINT, offset);
  // Direct3D's bias is in depth-range units; GL's units are the depth buffer's steps (2^24).
  if (Changed(m_depthBias, bias)) glPolygonOffset(StateFloat(bias.first), StateFloat(bias.second) * 16777216.0f);
  ApplyFog(rs);
  // Unlit fixed function uses normals only for the texture-coordinate generators.
  Toggle(GL_NORMALIZE, rs[D3DRS_NORMALIZENORMALS] != FALSE);
}

void GlStateApplier::ApplyBlend(const std::array<DWORD, kD3DRenderStateCount>& rs) {
  Toggle(GL_BLEND, rs[D3DRS_ALPHABLENDENABLE] != FALSE);
  auto factors = [](DWORD src, DWORD dst) {
    // BOTHSRCALPHA and BOTHINVSRCALPHA set both factors from the source one.
    if (src == D3DBLEND_BOTHSRCALPHA) return std::pair<GLenum, GLenum>(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (src == D3DBLEND_BOTHINVSRCALPHA) return std::pair<GLenum, GLenum>(GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
    return std::pair(BlendFactor(src), BlendFactor(dst));
  };
  const auto color = factors(rs[D3DRS_SRCBLEND], rs[D3DRS_DESTBLEND]);
  const bool separate = rs[D3DRS_SEPARATEALPHABLENDENABLE] != FALSE;
  const auto alpha = separate ? factors(rs[D3DRS_SRCBLENDALPHA], rs[D3DRS_DESTBLENDALPHA]) : color;
  if (Changed(m_blendFunc, {color.first, color.second, alpha.first, alpha.second})) {
    glBlendFuncSeparate(color.first, color.second, alpha.first, alpha.second);
  }
  const GLenum equation = BlendEquation(rs[D3DRS_BLENDOP]);
  const GLenum alphaEquation = separate ? BlendEquation(rs[D3DRS_BLENDOPALPHA]) : equation;
  if (Changed(m_blendEquation, {equation, alphaEquation})) glBlendEquationSeparate(equation, alphaEquation);
  if (Changed(m_blendColor, rs[D3DRS_BLENDFACTOR])) glBlendColor(ColorFloats(m_blendColor)[0],
                                                                 ColorFloats(m_blendColor)[1],
                                                                 ColorFloats(m_blendColor)[2],
                                                                 ColorFloats(m_blendColor)[3]);
}

void GlStateApplier::ApplyStencil(const std::array<DWORD, kD3DRenderStateCount>& rs) {
  Toggle(GL_STENCIL_TEST, rs[D3DRS_STENCILENABLE] != FALSE);
  const bool twoSided = rs[D3DRS_TWOSIDEDSTENCILMODE] != FALSE;
  const std::array<DWORD, 9> want{rs[D3DRS_STENCILFUNC],      rs[D3DRS_STENCILREF],     rs[D3DRS_STENCILMASK],
                                  rs[D3DRS_STENCILFAIL],      rs[D3DRS_STENCILZFAIL],   rs[D3DRS_STENCILPASS],
                                  twoSided ? rs[D3DRS_CCW_STENCILFUNC] : 0u,
                                  twoSided ? (rs[D3DRS_CCW_STENCILFAIL] | rs[D3DRS_CCW_STENCILZFAIL] << 8 |
                                              rs[D3DRS_CCW_STENCILPASS] << 16)
                                           : 0u,
                                  rs[D3DRS_STENCILWRITEMASK]};
  if (!Changed(m_stencil, want)) return;
  const auto ref = GLint(rs[D3DRS_STENCILREF]);
  const GLuint mask = rs[D3DRS_STENCILMASK];
  // Direct3D's STENCIL* states are for clockwise faces, which GL (front = CCW) calls back.
  const GLenum cw = twoSided ? GL_BACK : GL_FRONT_AND_BACK;
  glStencilFuncSeparate(cw, CompareFunc(rs[D3DRS_STENCILFUNC]), ref, mask);
  glStencilOpSeparate(cw, StencilOp(rs[D3DRS_STENCILFAIL]), StencilOp(rs[D3DRS_STENCILZFAIL]),
                      StencilOp(rs[D3DRS_STENCILPASS]));
  if (twoSided) {
    glStencilFuncSeparate(GL_FRONT, CompareFunc(rs[D3DRS_CCW_STENCILFUNC]), ref, mask);
    glStencilOpSeparate(GL_FRONT, StencilOp(rs[D3DRS_CCW_STENCILFAIL]), StencilOp(rs[D3DRS_CCW_STENCILZFAIL]),
                        StencilOp(rs[D3DRS_CCW_STENCILPASS]));
  }
  glStencilMask(rs[D3DRS_STENCILWRITEMASK]);
}

void GlStateApplier::ApplyFog(const std::array<DWORD, kD3DRenderStateCount>& rs) {
  // The table (pixel) mode wins over the vertex mode; GL computes both per fragment
  // from the eye distance.
  const DWORD mode = rs[D3DRS_FOGTABLEMODE] != D3DFOG_NONE ? rs[D3DRS_FOGTABLEMODE] : rs[D3DRS_FOGVERTEXMODE];
  Toggle(GL_FOG, rs[D3DRS_FOGENABLE] != FALSE && mode != D3DFOG_NONE);
  const std::array<DWORD, 6> want{mode, rs[D3DRS_FOGCOLOR], rs[D3DRS_FOGSTART], rs[D3DRS_FOGEND],
                                  rs[D3DRS_FOGDENSITY], 0};
  if (!Changed(m_fog, want)) return;
  glFogi(GL_FOG_MODE, mode == D3DFOG_EXP ? GL_EXP : mode == D3DFOG_EXP2 ? GL_EXP2 : GL_LINEAR);
  glFogfv(GL_FOG_COLOR, ColorFloats(rs[D3DRS_FOGCOLOR]).data());
  glFogf(GL_FOG_START, StateFloat(rs[D3DRS_FOGSTART]));
  glFogf(GL_FOG_END, StateFloat(rs[D3DRS_FOGEND]));
  glFogf(GL_FOG_DENSITY, StateFloat(rs[D3DRS_FOGDENSITY]));
}

void GlStateApplier::ApplyPoints(const std::array<DWORD, kD3DRenderStateCount>& rs, float viewportHeight) {
  const bool scale = rs[D3DRS_POINTSCALEENABLE] != FALSE;
  // Direct3D multiplies the attenuated size by the viewport height; GL does not, so the
  // factors are divided by its square.
  const float h2 = viewportHeight > 0.0f ? viewportHeight * viewportHeight : 1.0f;
  const std::array<float, 7> want{StateFloat(rs[D3DRS_POINTSIZE]),
                                  StateFloat(rs[D3DRS_POINTSIZE_MIN]),
                                  StateFloat(rs[D3DRS_POINTSIZE_MAX]),
                                  scale ? StateFloat(rs[D3DRS_POINTSCALE_A]) / h2 : 1.0f,
                                  scale ? StateFloat(rs[D3DRS_POINTSCALE_B]) / h2 : 0.0f,
                                  scale ? StateFloat(rs[D3DRS_POINTSCALE_C]) / h2 : 0.0f,
                                  0.0f};
  const float maxSize = m_context.Info().maxPointSize;
  if (Changed(m_points, want)) {
    glPointSize(std::clamp(want[0], 1.0f, maxSize));
    glPointParameterf(GL_POINT_SIZE_MIN, std::clamp(want[1], 0.0f, maxSize));
    glPointParameterf(GL_POINT_SIZE_MAX, std::clamp(want[2], 0.0f, maxSize));
    const GLfloat attenuation[3] = {want[3], want[4], want[5]};
    glPointParameterfv(GL_POINT_DISTANCE_ATTENUATION, attenuation);
  }
  const bool sprite = rs[D3DRS_POINTSPRITEENABLE] != FALSE;
  Toggle(GL_POINT_SPRITE, sprite);
  for (DWORD unit = 0; unit < m_unitCount; ++unit) {
    if (!Changed(m_units[unit].sprite, sprite)) continue;
    ActiveUnit(unit);
    glTexEnvi(GL_POINT_SPRITE, GL_COORD_REPLACE, sprite ? GL_TRUE : GL_FALSE);
  }
}

void GlStateApplier::ApplyViewport(const DeviceState& state, UINT targetHeight) {
  const D3DVIEWPORT9& v = state.viewport;
  const std::array<GLint, 4> want{GLint(v.X), GLint(targetHeight) - GLint(v.Y + v.Height), GLint(v.Width),
                                  GLint(v.Height)};
  if (Changed(m_viewport, want)) glViewport(want[0], want[1], want[2], want[3]);
  if (Changed(m_depthRange, {v.MinZ, v.MaxZ})) glDepthRange(v.MinZ, v.MaxZ);
}

void GlStateApplier::ApplyScissor(const DeviceState& state, UINT targetHeight) {
  const RECT& r = state.scissor;
  const std::array<GLint, 4> want{GLint(r.left), GLint(targetHeight) - GLint(r.bottom),
                                  std::max(0, GLint(r.right - r.left)), std::max(0, GLint(r.bottom - r.top))};
  if (Changed(m_scissor, want)) glScissor(want[0], want[1], want[2], want[3]);
}

void GlStateApplier::ApplyTransforms(const DeviceState& state) {
  const auto offset = PixelOffset(state.viewport);
  D3DMATRIX shift = IdentityMatrix();
  shift._41 = offset[0];
  shift._42 = offset[1];
  const D3DMATRIX projection = Multiply(state.projection, shift);
  if (Changed(m_projection, projection)) {
    MatrixMode(GL_PROJECTION);
    glLoadMatrixf(&m_projection._11);
  }
  for (DWORD unit = 0; unit < m_unitCount; ++unit) {
    if (!Changed(m_units[unit].matrix, TextureMatrixFor(state, unit))) continue;
    ActiveUnit(unit);
    MatrixMode(GL_TEXTURE);
    glLoadMatrixf(&m_units[unit].matrix._11);
  }
  if (Changed(m_modelView, Multiply(state.world, state.view))) {
    MatrixMode(GL_MODELVIEW);
    glLoadMatrixf(&m_modelView._11);
  }
}

D3DMATRIX GlStateApplier::TextureMatrixFor(const DeviceState& state, DWORD unit) const {
  D3DMATRIX m = IdentityMatrix();
  const DWORD flags = state.stage[unit][D3DTSS_TEXTURETRANSFORMFLAGS];
  const DWORD count = flags & 0xFF;
  if (count != D3DTTFF_DISABLE) {
    const D3DMATRIX& t = state.textureMatrix[unit];
    if (count == D3DTTFF_COUNT2) {
      // (u, v, 1) in Direct3D takes its translation from the third row; GL pads to
      // (s, t, 0, 1), so the third row moves to the fourth, and q stays 1.
      m._11 = t._11;
      m._12 = t._12;
      m._21 = t._21;
      m._22 = t._22;
      m._41 = t._31;
      m._42 = t._32;
    } else {
      m = t;
      if (!(flags & D3DTTFF_PROJECTED)) m._14 = m._24 = m._34 = 0.0f, m._44 = 1.0f;
    }
  }
  auto* texture = dynamic_cast<GlTextureObject*>(state.textures[unit]);
  if (texture && texture->IsRenderTarget()) {
    // Rendered images hold their bottom row first: v becomes 1 - v.
    D3DMATRIX flip = IdentityMatrix();
    flip._22 = -1.0f;
    flip._42 = 1.0f;
    m = Multiply(m, flip);
  }
  return m;
}

void GlStateApplier::SetPointProgram(GlVertexShader* program) {
  if (program == m_pointProgram) return;
  m_pointProgram = program;
  m_pending |= kDirtyVertexShader;
  if (!program) return;
  m_pointScaleLocation = glGetUniformLocation(program->Program(), "navo_pointScale");
  m_pointRangeLocation = glGetUniformLocation(program->Program(), "navo_pointRange");
  m_pointUniforms.fill(std::nanf(""));  // the new program's uniforms must be given
}

GlLightingProgram* GlStateApplier::Lighting() {
  if (m_lightingTried) return m_lighting.get();
  m_lightingTried = true;
  std::string log;
  m_lighting = GlLightingProgram::Create(m_contextOwner, m_unitCount, log);
  if (!m_lighting) WarnOnce(("the lighting program (lit draws drawn unlit): " + log).c_str());
  return m_lighting.get();
}

void GlStateApplier::ApplyProgram(const DeviceState& state, DWORD dirty) {
  // A vertex shader of the draw's own; else the point program for points with sizes;
  // else, with lighting on, the lighting program; else fixed function.
  auto* program = dynamic_cast<GlVertexShader*>(state.vertexShader);
  const bool points = !program && m_pointProgram;
  if (points) program = m_pointProgram;
  GlLightingProgram* lighting = !program && state.render[D3DRS_LIGHTING] != FALSE ? Lighting() : nullptr;
  const GLuint name = program ? program->Program() : lighting ? lighting->Program() : 0u;
  const bool switched = Changed(m_program, name);
  if (switched) glUseProgram(m_program);
  m_programObject = program;
  m_lit = lighting != nullptr;
  Toggle(GL_VERTEX_PROGRAM_POINT_SIZE, points);
  if (lighting) {
    s_stateChanges += std::uint64_t(lighting->Update(state, m_lightingDirty, !m_cacheOn));
    m_lightingDirty = 0;
    return;
  }
  if (points) {
    // Its transform is GL's projection, which carries the pixel-centre shift already:
    // its pixel offset stays 0.
    ApplyPointProgram(state);
    return;
  }
  if (!program) return;
  if ((switched || (dirty & kDirtyConstants)) && program->ConstantsLocation() >= 0) {
    const GLsizei count = std::min(program->ConstantCount(), GLsizei(kVertexConstants));
    glUniform4fv(program->ConstantsLocation(), count, state.vertexConstants.data());
    ++s_stateChanges;
  }
  const auto offset = PixelOffset(state.viewport);
  if ((Changed(m_pixelOffset, offset) || switched) && program->PixelOffsetLocation() >= 0) {
    glUniform2f(program->PixelOffsetLocation(), offset[0], offset[1]);
  }
}

void GlStateApplier::ApplyPointProgram(const DeviceState& state) {
  // Direct3D's point size: the vertex's size, with scaling on times the viewport height
  // and sqrt(1 / (A + B d + C d^2)) for the eye distance d, clamped to the minimum and
  // maximum (the latter also to what GL can draw).
  const auto& rs = state.render;
  const float maxSize = std::min(StateFloat(rs[D3DRS_POINTSIZE_MAX]), m_context.Info().maxPointSize);
  const std::array<float, 8> want{StateFloat(rs[D3DRS_POINTSCALE_A]),
                                  StateFloat(rs[D3DRS_POINTSCALE_B]),
                                  StateFloat(rs[D3DRS_POINTSCALE_C]),
                                  float(state.viewport.Height),
                                  StateFloat(rs[D3DRS_POINTSIZE_MIN]),
                                  maxSize,
                                  rs[D3DRS_POINTSCALEENABLE] != FALSE ? 1.0f : 0.0f,
                                  0.0f};
  // NaN never equals itself: a fresh program always gets its values.
  if (!Changed(m_pointUniforms, want)) return;
  glUniform4f(m_pointScaleLocation, want[0], want[1], want[2], want[3]);
  glUniform4f(m_pointRangeLocation, want[4], want[5], want[6], want[7]);
}

void GlStateApplier::ClearWhole(GLbitfield bits, float z, DWORD stencil) {
  if (Changed(m_depthMask, true)) glDepthMask(GL_TRUE);
  glStencilMask(0xFFFFFFFFu);
  m_stencil[8] = 0xFFFFFFFFu;
  glClearDepth(z);
  glClearStencil(GLint(stencil));
  Toggle(GL_SCISSOR_TEST, false);
  glClear(bits);
  m_pending |= kDirtyRender | kDirtyScissor;
}

void GlStateApplier::Clear(const DeviceState& state, DWORD count, const D3DRECT* rects, DWORD flags, DWORD color,
                           float z, DWORD stencil, UINT targetWidth, UINT targetHeight) {
  GLbitfield bits = 0;
  if (flags & D3DCLEAR_TARGET) bits |= GL_COLOR_BUFFER_BIT;
  if (flags & D3DCLEAR_ZBUFFER) bits |= GL_DEPTH_BUFFER_BIT;
  if (flags & D3DCLEAR_STENCIL) bits |= GL_STENCIL_BUFFER_BIT;
  if (!bits) return;
  // A clear writes every channel whatever the write masks; the next Apply puts them back.
  if (Changed(m_colorMask, DWORD(0xF))) glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  if (Changed(m_depthMask, true)) glDepthMask(GL_TRUE);
  glStencilMask(0xFFFFFFFFu);
  m_stencil[8] = 0xFFFFFFFFu;
  const auto c = ColorFloats(color);
  glClearColor(c[0], c[1], c[2], c[3]);
  glClearDepth(z);
  glClearStencil(GLint(stencil));
  Toggle(GL_SCISSOR_TEST, true);
  // The cleared area: the viewport, within the scissor rectangle when that test is on.
  const D3DVIEWPORT9& v = state.viewport;
  LONG left = LONG(v.X), top = LONG(v.Y), right = LONG(v.X + v.Width), bottom = LONG(v.Y + v.Height);
  if (state.render[D3DRS_SCISSORTESTENABLE]) {
    left = std::max(left, state.scissor.left);
    top = std::max(top, state.scissor.top);
    right = std::min(right, state.scissor.right);
    bottom = std::min(bottom, state.scissor.bottom);
  }
  right = std::min(right, LONG(targetWidth));
  bottom = std::min(bottom, LONG(targetHeight));
  const D3DRECT whole{left, top, right, bottom};
  for (DWORD i = 0; i < (count && rects ? count : 1); ++i) {
    const D3DRECT& r = count && rects ? rects[i] : whole;
    const LONG l = std::max(left, r.x1), t = std::max(top, r.y1);
    const LONG rr = std::min(right, r.x2), b = std::min(bottom, r.y2);
    if (rr <= l || b <= t) continue;
    const std::array<GLint, 4> box{GLint(l), GLint(targetHeight) - GLint(b), GLint(rr - l), GLint(b - t)};
    if (Changed(m_scissor, box)) glScissor(box[0], box[1], box[2], box[3]);
    glClear(bits);
  }
  m_pending |= kDirtyRender | kDirtyScissor;  // masks and scissor go back on the next Apply
}

}  // namespace platform::d3d9
