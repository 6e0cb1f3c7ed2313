// The texture stages, samplers and vertex arrays of the state choke point.
#include "platform/d3d9/StateDevice.h"
#include "platform/d3d9/WarnOnce.h"
#include "platform/d3d9/gl/GlMapping.h"
#include "platform/d3d9/gl/GlResources.h"
#include "platform/d3d9/gl/GlStateApplier.h"

#include <algorithm>

namespace platform::d3d9 {

namespace {

GLenum ArgumentSource(DWORD argument) {
  switch (argument & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE: return GL_PRIMARY_COLOR;
    case D3DTA_TEXTURE: return GL_TEXTURE;
    case D3DTA_TFACTOR:
    case D3DTA_CONSTANT: return GL_CONSTANT;
    case D3DTA_SPECULAR: WarnOnce("texture argument SPECULAR (diffuse used)"); return GL_PRIMARY_COLOR;
    case D3DTA_TEMP: WarnOnce("texture argument TEMP (current used)"); return GL_PREVIOUS;
    default: return GL_PREVIOUS;  // CURRENT: the diffuse colour on stage 0, as in Direct3D
  }
}

void SetArgument(bool alpha, int slot, DWORD argument) {
  const bool complement = argument & D3DTA_COMPLEMENT;
  GLenum operand;
  if (alpha || (argument & D3DTA_ALPHAREPLICATE)) {
    operand = complement ? GL_ONE_MINUS_SRC_ALPHA : GL_SRC_ALPHA;
  } else {
    operand = complement ? GL_ONE_MINUS_SRC_COLOR : GL_SRC_COLOR;
  }
  glTexEnvi(GL_TEXTURE_ENV, GLenum((alpha ? GL_SRC0_ALPHA : GL_SRC0_RGB) + slot), GLint(ArgumentSource(argument)));
  glTexEnvi(GL_TEXTURE_ENV, GLenum((alpha ? GL_OPERAND0_ALPHA : GL_OPERAND0_RGB) + slot), GLint(operand));
}

/// One combiner (colour or alpha) of a stage.
void SetCombine(bool alpha, DWORD op, DWORD arg1, DWORD arg2, DWORD arg0) {
  GLenum mode = GL_MODULATE;
  float scale = 1.0f;
  DWORD args[3] = {arg1, arg2, 0};
  int count = 2;
  switch (op) {
    case D3DTOP_SELECTARG1: mode = GL_REPLACE, count = 1; break;
    case D3DTOP_SELECTARG2: mode = GL_REPLACE, count = 1, args[0] = arg2; break;
    case D3DTOP_MODULATE: break;
    case D3DTOP_MODULATE2X: scale = 2.0f; break;
    case D3DTOP_MODULATE4X: scale = 4.0f; break;
    case D3DTOP_ADD: mode = GL_ADD; break;
    case D3DTOP_ADDSIGNED: mode = GL_ADD_SIGNED; break;
    case D3DTOP_ADDSIGNED2X: mode = GL_ADD_SIGNED, scale = 2.0f; break;
    case D3DTOP_SUBTRACT: mode = GL_SUBTRACT; break;
    case D3DTOP_ADDSMOOTH: WarnOnce("texture operation ADDSMOOTH (ADD used)"); mode = GL_ADD; break;
    case D3DTOP_BLENDDIFFUSEALPHA: mode = GL_INTERPOLATE, count = 3, args[2] = D3DTA_DIFFUSE | D3DTA_ALPHAREPLICATE; break;
    case D3DTOP_BLENDTEXTUREALPHA: mode = GL_INTERPOLATE, count = 3, args[2] = D3DTA_TEXTURE | D3DTA_ALPHAREPLICATE; break;
    case D3DTOP_BLENDFACTORALPHA: mode = GL_INTERPOLATE, count = 3, args[2] = D3DTA_TFACTOR | D3DTA_ALPHAREPLICATE; break;
    case D3DTOP_BLENDCURRENTALPHA: mode = GL_INTERPOLATE, count = 3, args[2] = D3DTA_CURRENT | D3DTA_ALPHAREPLICATE; break;
    case D3DTOP_DOTPRODUCT3: mode = alpha ? GL_MODULATE : GL_DOT3_RGBA; break;
    case D3DTOP_LERP: mode = GL_INTERPOLATE, count = 3, args[2] = arg0; break;
    case D3DTOP_MULTIPLYADD: WarnOnce("texture operation MULTIPLYADD (MODULATE used)"); break;
    default:  // DISABLE on the alpha side of a working stage: alpha passes through
      mode = GL_REPLACE, count = 1, args[0] = D3DTA_CURRENT;
      break;
  }
  glTexEnvi(GL_TEXTURE_ENV, alpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB, GLint(mode));
  glTexEnvf(GL_TEXTURE_ENV, alpha ? GL_ALPHA_SCALE : GL_RGB_SCALE, scale);
  for (int i = 0; i < count; ++i) SetArgument(alpha, i, args[i]);
}

int TargetSlot(GLenum target) { return target == GL_TEXTURE_CUBE_MAP ? 1 : target == GL_TEXTURE_3D ? 2 : 0; }

GLint FloatCount(BYTE type) {
  switch (type) {
    case D3DDECLTYPE_FLOAT1: return 1;
    case D3DDECLTYPE_FLOAT2: return 2;
    case D3DDECLTYPE_FLOAT3: return 3;
    case D3DDECLTYPE_FLOAT4: return 4;
    default: return 0;
  }
}

enum ArraySlot : std::size_t {
  kVertexSlot = 0,
  kNormalSlot = 1,
  kColorSlot = 2,
  kSecondarySlot = 3,
  kTexCoordSlot = 4,
  kPointSizeSlot = 12,
};

}  // namespace

void GlStateApplier::ApplyStages(const DeviceState& state) {
  // A stage whose colour operation is DISABLE ends the cascade: it and all after it are off.
  DWORD active = 0;
  while (active < m_unitCount && state.stage[active][D3DTSS_COLOROP] != D3DTOP_DISABLE) ++active;
  for (DWORD unit = 0; unit < m_unitCount; ++unit) ApplyStage(state, unit, unit < active);
}

void GlStateApplier::ApplyStage(const DeviceState& state, DWORD unit, bool active) {
  UnitState& u = m_units[unit];
  if (!active) {
    if (Changed(u.enabledTarget, GLenum(0))) {
      ActiveUnit(unit);
      glDisable(GL_TEXTURE_2D);
      glDisable(GL_TEXTURE_CUBE_MAP);
      glDisable(GL_TEXTURE_3D);
    }
    return;
  }
  // A working stage without a texture reads white, so MODULATE leaves the colour as it is.
  auto* texture = dynamic_cast<GlTextureObject*>(state.textures[unit]);
  const GLenum target = texture ? texture->GlTarget() : GL_TEXTURE_2D;
  const GLuint name = texture ? texture->GlName() : m_white;
  if (Changed(u.enabledTarget, target)) {
    ActiveUnit(unit);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_CUBE_MAP);
    glDisable(GL_TEXTURE_3D);
    glEnable(target);
  }
  if (Changed(u.bound[std::size_t(TargetSlot(target))], name)) {
    ActiveUnit(unit);
    glBindTexture(target, name);
  }
  ApplyCombiner(unit, state.stage[unit], state.render[D3DRS_TEXTUREFACTOR]);
  ApplyTexGen(unit, state.stage[unit][D3DTSS_TEXCOORDINDEX]);
}

void GlStateApplier::ApplyCombiner(DWORD unit, const std::array<DWORD, kD3DTextureStageStateCount>& ts,
                                   DWORD textureFactor) {
  const std::array<DWORD, 9> key{ts[D3DTSS_COLOROP],  ts[D3DTSS_COLORARG1], ts[D3DTSS_COLORARG2],
                                 ts[D3DTSS_COLORARG0], ts[D3DTSS_ALPHAOP],  ts[D3DTSS_ALPHAARG1],
                                 ts[D3DTSS_ALPHAARG2], ts[D3DTSS_ALPHAARG0], textureFactor};
  if (!Changed(m_units[unit].combiner, key)) return;
  ActiveUnit(unit);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
  glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, ColorFloats(textureFactor).data());
  SetCombine(false, key[0], key[1], key[2], key[3]);
  SetCombine(true, key[4], key[5], key[6], key[7]);
}

void GlStateApplier::ApplyTexGen(DWORD unit, DWORD texCoordIndex) {
  const DWORD generator = texCoordIndex & 0xFFFF0000u;
  if (!Changed(m_units[unit].texCoordIndex, generator)) return;
  ActiveUnit(unit);
  for (GLenum cap : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q}) glDisable(cap);
  auto generate = [](GLint mode, bool r) {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, mode);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, mode);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    if (r) {
      glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, mode);
      glEnable(GL_TEXTURE_GEN_R);
    }
  };
  switch (generator) {
    case D3DTSS_TCI_PASSTHRU: break;
    case D3DTSS_TCI_SPHEREMAP: generate(GL_SPHERE_MAP, false); break;
    case D3DTSS_TCI_CAMERASPACENORMAL: generate(GL_NORMAL_MAP, true); break;
    case D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR: generate(GL_REFLECTION_MAP, true); break;
    case D3DTSS_TCI_CAMERASPACEPOSITION: {
      // Eye planes are taken through the current model-view matrix: give them under identity.
      MatrixMode(GL_MODELVIEW);
      glPushMatrix();
      glLoadIdentity();
      const GLfloat planes[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
      const GLenum coords[3] = {GL_S, GL_T, GL_R};
      for (int i = 0; i < 3; ++i) glTexGenfv(coords[i], GL_EYE_PLANE, planes[i]);
      glPopMatrix();
      generate(GL_EYE_LINEAR, true);
      break;
    }
    default: WarnOnce("texture-coordinate generator"); break;
  }
}

void GlStateApplier::ApplySamplers(const DeviceState& state) {
  const GlInfo& info = m_context.Info();
  for (DWORD unit = 0; unit < m_unitCount; ++unit) {
    const auto& ss = state.sampler[unit];
    if (!Changed(m_units[unit].sampler, ss)) continue;
    const GLuint s = m_samplers[unit];
    glSamplerParameteri(s, GL_TEXTURE_WRAP_S, GLint(AddressMode(ss[D3DSAMP_ADDRESSU])));
    glSamplerParameteri(s, GL_TEXTURE_WRAP_T, GLint(AddressMode(ss[D3DSAMP_ADDRESSV])));
    glSamplerParameteri(s, GL_TEXTURE_WRAP_R, GLint(AddressMode(ss[D3DSAMP_ADDRESSW])));
    glSamplerParameteri(s, GL_TEXTURE_MAG_FILTER, GLint(MagFilter(ss[D3DSAMP_MAGFILTER])));
    // Textures limit their levels (GL_TEXTURE_MAX_LEVEL), so a mip filter is always valid.
    glSamplerParameteri(s, GL_TEXTURE_MIN_FILTER,
                        GLint(MinFilter(ss[D3DSAMP_MINFILTER], ss[D3DSAMP_MIPFILTER], true)));
    glSamplerParameterf(s, GL_TEXTURE_LOD_BIAS, StateFloat(ss[D3DSAMP_MIPMAPLODBIAS]));
    glSamplerParameterf(s, GL_TEXTURE_MIN_LOD, float(ss[D3DSAMP_MAXMIPLEVEL]));
    glSamplerParameterfv(s, GL_TEXTURE_BORDER_COLOR, ColorFloats(ss[D3DSAMP_BORDERCOLOR]).data());
    if (info.anisotropic) {
      const bool anisotropic =
          ss[D3DSAMP_MINFILTER] == D3DTEXF_ANISOTROPIC || ss[D3DSAMP_MAGFILTER] == D3DTEXF_ANISOTROPIC;
      const float amount = anisotropic ? std::clamp(float(ss[D3DSAMP_MAXANISOTROPY]), 1.0f, info.maxAnisotropy) : 1.0f;
      glSamplerParameterf(s, GL_TEXTURE_MAX_ANISOTROPY_EXT, amount);
    }
  }
}

void GlStateApplier::ClientUnit(DWORD unit) {
  if (m_clientUnit == unit) return;
  glClientActiveTexture(GL_TEXTURE0 + unit);
  m_clientUnit = unit;
}

void GlStateApplier::DescribeArray(const DeviceState& state, const GlVertexArray& a, ArrayPointers& pointers,
                                   ArraySlots& used) {
  const D3DVERTEXELEMENT9& e = a.element;
  const GLint floats = FloatCount(e.Type);
  auto use = [&](std::size_t slot, GLint size, GLenum type) {
    pointers[slot] = {a.buffer, size, type, a.stride, a.offset};
    used[slot] = true;
  };
  if (e.Usage == D3DDECLUSAGE_POSITION && e.UsageIndex == 0 && floats >= 2) {
    use(kVertexSlot, floats, GL_FLOAT);
  } else if (e.Usage == D3DDECLUSAGE_NORMAL && e.UsageIndex == 0 && floats == 3) {
    use(kNormalSlot, 3, GL_FLOAT);
  } else if (e.Usage == D3DDECLUSAGE_COLOR && e.UsageIndex <= 1) {
    // D3DCOLOR is B, G, R, A in memory.
    const bool packed = e.Type == D3DDECLTYPE_D3DCOLOR;
    const GLint size = packed ? GL_BGRA : e.Type == D3DDECLTYPE_UBYTE4N ? 4 : floats;
    const GLenum type = packed || e.Type == D3DDECLTYPE_UBYTE4N ? GL_UNSIGNED_BYTE : GL_FLOAT;
    if (size < 3) {
      WarnOnce("colour element type");
    } else if (e.UsageIndex == 0) {
      use(kColorSlot, size, type);
    } else {
      use(kSecondarySlot, size == 4 ? 3 : size, type);
    }
  } else if (e.Usage == D3DDECLUSAGE_TEXCOORD && floats > 0) {
    // Fixed function and the lighting program: each stage reads the set its
    // TEXCOORDINDEX names; a vertex shader reads set n as gl_MultiTexCoordn.
    const bool program = m_programObject != nullptr;
    for (DWORD unit = 0; unit < m_unitCount; ++unit) {
      const DWORD index = state.stage[unit][D3DTSS_TEXCOORDINDEX];
      const bool reads = program ? unit == e.UsageIndex : (index & 0xFFFF0000u) == 0 && index == e.UsageIndex;
      if (reads) use(kTexCoordSlot + unit, floats, GL_FLOAT);
    }
  } else if (e.Usage == D3DDECLUSAGE_PSIZE && floats == 1) {
    // Fixed function takes POINTSIZE: per-vertex sizes need a program.
    if (m_programObject) use(kPointSizeSlot, 1, GL_FLOAT);
  } else {
    WarnOnce("vertex element usage or type");
  }
}

void GlStateApplier::PointArray(std::size_t slot, const ArrayPointer& p) {
  const void* pointer = reinterpret_cast<const void*>(p.offset);
  switch (slot) {
    case kVertexSlot: glVertexPointer(p.size, p.type, p.stride, pointer); break;
    case kNormalSlot: glNormalPointer(p.type, p.stride, pointer); break;
    case kColorSlot: glColorPointer(p.size, p.type, p.stride, pointer); break;
    case kSecondarySlot: glSecondaryColorPointer(p.size, p.type, p.stride, pointer); break;
    case kPointSizeSlot:
      glVertexAttribPointer(GlVertexShader::kPointSizeAttribute, 1, p.type, GL_FALSE, p.stride, pointer);
      break;
    default:
      ClientUnit(DWORD(slot - kTexCoordSlot));
      glTexCoordPointer(p.size, p.type, p.stride, pointer);
      break;
  }
}

void GlStateApplier::EnableArrays(const ArraySlots& wanted, bool force) {
  for (std::size_t slot = 0; slot < kArraySlots; ++slot) {
    if (!force && m_arrays[slot] == wanted[slot]) continue;
    m_arrays[slot] = wanted[slot];
    ++s_stateChanges;
    const bool on = wanted[slot];
    if (slot == kPointSizeSlot) {
      on ? glEnableVertexAttribArray(GlVertexShader::kPointSizeAttribute)
         : glDisableVertexAttribArray(GlVertexShader::kPointSizeAttribute);
      continue;
    }
    GLenum array = GL_VERTEX_ARRAY;
    if (slot == kNormalSlot) array = GL_NORMAL_ARRAY;
    if (slot == kColorSlot) array = GL_COLOR_ARRAY;
    if (slot == kSecondarySlot) array = GL_SECONDARY_COLOR_ARRAY;
    if (slot >= kTexCoordSlot && slot < kTexCoordSlot + kMaxStages) {
      const auto unit = DWORD(slot - kTexCoordSlot);
      if (unit >= m_unitCount) continue;
      ClientUnit(unit);
      array = GL_TEXTURE_COORD_ARRAY;
    }
    on ? glEnableClientState(array) : glDisableClientState(array);
  }
}

void GlStateApplier::SetMissingDefaults(const ArraySlots& used, bool force) {
  constexpr std::size_t kSlots[3] = {kColorSlot, kSecondarySlot, kNormalSlot};
  for (int i = 0; i < 3; ++i) {
    if (used[kSlots[i]]) {
      m_defaultsSet[std::size_t(i)] = false;  // undefined once a draw read the array
      continue;
    }
    if (!force && m_defaultsSet[std::size_t(i)]) continue;
    m_defaultsSet[std::size_t(i)] = true;
    ++s_stateChanges;
    if (i == 0) glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (i == 1) glSecondaryColor3f(0.0f, 0.0f, 0.0f);
    if (i == 2) glNormal3f(0.0f, 0.0f, 0.0f);
  }
}

void GlStateApplier::ApplyVertexInput(const DeviceState& state, const std::vector<GlVertexArray>& arrays) {
  ArrayPointers wanted = m_pointers;
  ArraySlots used{};
  for (const GlVertexArray& a : arrays) DescribeArray(state, a, wanted, used);
  const bool force = m_forceInput || !m_cacheOn;
  // GL_ARRAY_BUFFER is bound by uploads too: it is bound here when an array needs it.
  GLuint arrayBuffer = 0xFFFFFFFFu;
  for (std::size_t slot = 0; slot < kArraySlots; ++slot) {
    if (!used[slot] || (!force && wanted[slot] == m_pointers[slot])) continue;
    if (slot >= kTexCoordSlot && slot < kTexCoordSlot + kMaxStages && slot - kTexCoordSlot >= m_unitCount) continue;
    m_pointers[slot] = wanted[slot];
    ++s_stateChanges;
    if (arrayBuffer != wanted[slot].buffer) {
      arrayBuffer = wanted[slot].buffer;
      glBindBuffer(GL_ARRAY_BUFFER, arrayBuffer);
    }
    PointArray(slot, wanted[slot]);
  }
  EnableArrays(used, force);
  SetMissingDefaults(used, force);
  // Direct3D's specular is added through GL's colour sum. Without the lighting program, a
  // vertex shader or a specular element it is black, and a software renderer would still
  // add it to every pixel: the sum is on only when something can be added.
  const bool sum = m_lit || state.vertexShader || used[kSecondarySlot];
  Toggle(GL_COLOR_SUM, state.render[D3DRS_SPECULARENABLE] != FALSE && sum, force);
  if (m_lit && m_lighting) {
    s_stateChanges += std::uint64_t(m_lighting->UpdateSources(state, !m_cacheOn, used[kColorSlot], used[kSecondarySlot]));
  }
  m_forceInput = false;
}

void GlStateApplier::BindIndices(GLuint buffer) {
  if (m_cacheOn && m_elementBufferKnown && m_elementBuffer == buffer) return;
  m_elementBuffer = buffer;
  m_elementBufferKnown = true;
  ++s_stateChanges;
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
}

}  // namespace platform::d3d9
