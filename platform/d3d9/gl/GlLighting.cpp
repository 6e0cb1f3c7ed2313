#include "platform/d3d9/gl/GlLighting.h"

#include "platform/d3d9/StateDevice.h"
#include "platform/d3d9/gl/GlMapping.h"
#include "platform/d3d9/gl/GlResources.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform::d3d9 {

namespace {

// Everything in camera space, where the camera sits at the origin and looks along +z.
constexpr const char* kProgramHead = R"(#version 120
uniform vec4 navo_lights[56];  // 7 vectors a light, see GlLightingProgram
uniform int navo_lightCount;
uniform vec4 navo_material[6];  // diffuse, ambient, specular, emissive, global ambient,
                                // (power, normalize, local viewer, specular on)
uniform vec4 navo_sources;      // diffuse, ambient, specular, emissive: 0 material, 1 colour 1, 2 colour 2
uniform float navo_texGen[8];   // per unit: 0 coordinates, 1 sphere map, 2 normal, 3 reflection, 4 position

vec4 Source(float source, vec4 material) {
  if (source == 1.0) return gl_Color;
  if (source == 2.0) return gl_SecondaryColor;
  return material;
}

vec4 Generated(float mode, vec4 coord, vec3 eye, vec3 normal) {
  if (mode == 0.0) return coord;
  vec3 u = normalize(eye);
  vec3 r = u - 2.0 * normal * dot(normal, u);
  if (mode == 1.0) {
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
    return vec4(r.x / m + 0.5, r.y / m + 0.5, coord.z, coord.w);
  }
  if (mode == 2.0) return vec4(normal, coord.w);
  if (mode == 3.0) return vec4(r, coord.w);
  return vec4(eye, coord.w);
}

void main() {
  vec3 eye = (gl_ModelViewMatrix * gl_Vertex).xyz;
  gl_Position = ftransform();
  vec3 normal = gl_NormalMatrix * gl_Normal;
  if (navo_material[5].y != 0.0 && dot(normal, normal) > 0.0) normal = normalize(normal);
  vec3 toViewer = navo_material[5].z != 0.0 ? -normalize(eye) : vec3(0.0, 0.0, -1.0);
  vec3 ambient = vec3(0.0), diffuse = vec3(0.0), specular = vec3(0.0);
  for (int i = 0; i < navo_lightCount; ++i) {
    vec4 position = navo_lights[7 * i], direction = navo_lights[7 * i + 1];
    vec4 attenuation = navo_lights[7 * i + 2], cone = navo_lights[7 * i + 3];
    vec3 toLight = direction.xyz;  // directional: the way to the light
    float factor = 1.0;
    if (position.w != 3.0) {
      vec3 v = position.xyz - eye;
      float d = length(v);
      if (d > direction.w) continue;  // beyond the range the light does nothing
      toLight = d > 0.0 ? v / d : vec3(0.0);
      factor = 1.0 / max(attenuation.x + attenuation.y * d + attenuation.z * d * d, 1e-20);
      if (position.w == 2.0) {
        float rho = dot(-toLight, direction.xyz);
        if (rho <= cone.y) continue;
        if (rho <= cone.x) factor *= pow((rho - cone.y) / (cone.x - cone.y), attenuation.w);
      }
    }
    ambient += factor * navo_lights[7 * i + 6].rgb;
    float lambert = dot(normal, toLight);
    if (lambert <= 0.0) continue;
    diffuse += factor * lambert * navo_lights[7 * i + 4].rgb;
    float power = navo_material[5].x;
    float highlight = max(dot(normal, normalize(toViewer + toLight)), 0.0);
    specular += factor * (power > 0.0 ? pow(highlight, power) : 1.0) * navo_lights[7 * i + 5].rgb;
  }
  vec4 cd = Source(navo_sources.x, navo_material[0]);
  vec4 ca = Source(navo_sources.y, navo_material[1]);
  vec4 cs = Source(navo_sources.z, navo_material[2]);
  vec4 ce = Source(navo_sources.w, navo_material[3]);
  gl_FrontColor = clamp(vec4(ce.rgb + ca.rgb * (navo_material[4].rgb + ambient) + cd.rgb * diffuse, cd.a), 0.0, 1.0);
  gl_FrontSecondaryColor = vec4(navo_material[5].w != 0.0 ? clamp(cs.rgb * specular, 0.0, 1.0) : vec3(0.0), 0.0);
  gl_FogFragCoord = abs(eye.z);
)";

/// The texture coordinates of the units, each from its own set (or generator) through
/// its texture matrix, as the fixed-function units read them.
std::string ProgramText(DWORD units) {
  std::string text = kProgramHead;
  for (DWORD u = 0; u < units; ++u) {
    const std::string n = std::to_string(u);
    text += "  gl_TexCoord[" + n + "] = gl_TextureMatrix[" + n + "] * Generated(navo_texGen[" + n +
            "], gl_MultiTexCoord" + n + ", eye, normal);\n";
  }
  return text + "}\n";
}

/// The generator a stage's TEXCOORDINDEX names, as the program's code for it.
float GeneratorCode(DWORD texCoordIndex) {
  switch (texCoordIndex & 0xFFFF0000u) {
    case D3DTSS_TCI_PASSTHRU: return 0.0f;
    case D3DTSS_TCI_SPHEREMAP: return 1.0f;
    case D3DTSS_TCI_CAMERASPACENORMAL: return 2.0f;
    case D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR: return 3.0f;
    case D3DTSS_TCI_CAMERASPACEPOSITION: return 4.0f;
    default: return 0.0f;
  }
}

/// Where a material colour comes from: 0 the material, 1 the first vertex colour, 2 the
/// second. A colour the vertices do not carry falls back to the material.
float SourceCode(DWORD source, bool colorVertex, bool diffuse, bool specular) {
  if (colorVertex && source == D3DMCS_COLOR1 && diffuse) return 1.0f;
  if (colorVertex && source == D3DMCS_COLOR2 && specular) return 2.0f;
  return 0.0f;
}

/// Row-vector products with a Direct3D matrix: a point, and a direction (no translation).
std::array<float, 3> TransformPoint(const D3DVECTOR& p, const D3DMATRIX& m) {
  return {p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41, p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42,
          p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43};
}

std::array<float, 3> TransformDirection(const D3DVECTOR& d, const D3DMATRIX& m) {
  std::array<float, 3> v{d.x * m._11 + d.y * m._21 + d.z * m._31, d.x * m._12 + d.y * m._22 + d.z * m._32,
                         d.x * m._13 + d.y * m._23 + d.z * m._33};
  const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length > 0.0f) {
    for (float& c : v) c /= length;
  }
  return v;
}

template <std::size_t N>
bool Differs(const std::array<float, N>& have, const std::array<float, N>& want) {
  return std::memcmp(have.data(), want.data(), sizeof(float) * N) != 0;
}

}  // namespace

std::unique_ptr<GlLightingProgram> GlLightingProgram::Create(std::shared_ptr<GlContext> context, DWORD units,
                                                             std::string& log) {
  GlVertexShader* shader = GlVertexShader::Create(context, ProgramText(std::min(units, kMaxStages)).c_str(), log);
  if (!shader) return nullptr;
  return std::unique_ptr<GlLightingProgram>(new GlLightingProgram(std::move(context), shader));
}

GlLightingProgram::GlLightingProgram(std::shared_ptr<GlContext> context, GlVertexShader* shader)
    : m_context(std::move(context)), m_shader(shader) {
  const GLuint program = shader->Program();
  m_lightsLocation = glGetUniformLocation(program, "navo_lights");
  m_lightCountLocation = glGetUniformLocation(program, "navo_lightCount");
  m_materialLocation = glGetUniformLocation(program, "navo_material");
  m_sourcesLocation = glGetUniformLocation(program, "navo_sources");
  m_texGenLocation = glGetUniformLocation(program, "navo_texGen");
}

GlLightingProgram::~GlLightingProgram() { m_shader->Release(); }

GLuint GlLightingProgram::Program() const { return m_shader->Program(); }

int GlLightingProgram::Update(const DeviceState& state, DWORD dirty, bool all) {
  if (!m_known) dirty = kDirtyAll;
  int sent = 0;
  if (all || (dirty & kDirtyLights)) sent += SendLights(state, all || !m_known);
  if (all || (dirty & (kDirtyMaterial | kDirtyRender))) sent += SendMaterial(state, all || !m_known);
  if (all || (dirty & kDirtyStages)) sent += SendTexGen(state, all || !m_known);
  m_known = true;
  return sent;
}

int GlLightingProgram::SendLights(const DeviceState& state, bool all) {
  std::array<float, kMaxLights * kLightVectors * 4> want{};
  GLint count = 0;
  for (const auto& [index, slot] : state.lights) {
    if (!slot.enabled || DWORD(count) >= kMaxLights) continue;
    const D3DLIGHT9& l = slot.light;
    float* out = &want[std::size_t(count++) * kLightVectors * 4];
    const bool directional = l.Type == D3DLIGHT_DIRECTIONAL;
    const auto position = TransformPoint(l.Position, state.view);
    auto direction = TransformDirection(l.Direction, state.view);
    if (directional) {
      for (float& c : direction) c = -c;  // towards the light
    }
    const float vectors[kLightVectors][4] = {
        {position[0], position[1], position[2], float(l.Type)},
        {direction[0], direction[1], direction[2], l.Range},
        {l.Attenuation0, l.Attenuation1, l.Attenuation2, l.Falloff},
        {std::cos(l.Theta * 0.5f), std::cos(l.Phi * 0.5f), 0.0f, 0.0f},
        {l.Diffuse.r, l.Diffuse.g, l.Diffuse.b, l.Diffuse.a},
        {l.Specular.r, l.Specular.g, l.Specular.b, l.Specular.a},
        {l.Ambient.r, l.Ambient.g, l.Ambient.b, l.Ambient.a},
    };
    std::memcpy(out, vectors, sizeof vectors);
  }
  int sent = 0;
  if (all || count != m_lightCount) {
    m_lightCount = count;
    glUniform1i(m_lightCountLocation, count);
    ++sent;
  }
  if (count > 0 && (all || Differs(m_lights, want))) {
    glUniform4fv(m_lightsLocation, count * GLsizei(kLightVectors), want.data());
    ++sent;
  }
  m_lights = want;
  return sent;
}

int GlLightingProgram::SendMaterial(const DeviceState& state, bool all) {
  const D3DMATERIAL9& m = state.material;
  const auto& rs = state.render;
  const auto ambient = ColorFloats(rs[D3DRS_AMBIENT]);
  const std::array<float, 6 * 4> want{
      m.Diffuse.r,  m.Diffuse.g,  m.Diffuse.b,  m.Diffuse.a,  m.Ambient.r,  m.Ambient.g,  m.Ambient.b,
      m.Ambient.a,  m.Specular.r, m.Specular.g, m.Specular.b, m.Specular.a, m.Emissive.r, m.Emissive.g,
      m.Emissive.b, m.Emissive.a, ambient[0],   ambient[1],   ambient[2],   ambient[3],   m.Power,
      rs[D3DRS_NORMALIZENORMALS] != FALSE ? 1.0f : 0.0f,
      rs[D3DRS_LOCALVIEWER] != FALSE ? 1.0f : 0.0f,
      rs[D3DRS_SPECULARENABLE] != FALSE ? 1.0f : 0.0f};
  if (!all && !Differs(m_material, want)) return 0;
  m_material = want;
  glUniform4fv(m_materialLocation, 6, want.data());
  return 1;
}

int GlLightingProgram::UpdateSources(const DeviceState& state, bool all, bool diffuse, bool specular) {
  all = all || !m_sourcesKnown;
  m_sourcesKnown = true;
  const auto& rs = state.render;
  const bool colorVertex = rs[D3DRS_COLORVERTEX] != FALSE;
  const std::array<float, 4> want{SourceCode(rs[D3DRS_DIFFUSEMATERIALSOURCE], colorVertex, diffuse, specular),
                                  SourceCode(rs[D3DRS_AMBIENTMATERIALSOURCE], colorVertex, diffuse, specular),
                                  SourceCode(rs[D3DRS_SPECULARMATERIALSOURCE], colorVertex, diffuse, specular),
                                  SourceCode(rs[D3DRS_EMISSIVEMATERIALSOURCE], colorVertex, diffuse, specular)};
  if (!all && !Differs(m_sources, want)) return 0;
  m_sources = want;
  glUniform4fv(m_sourcesLocation, 1, want.data());
  return 1;
}

int GlLightingProgram::SendTexGen(const DeviceState& state, bool all) {
  std::array<float, kMaxStages> want{};
  for (DWORD unit = 0; unit < kMaxStages; ++unit) want[unit] = GeneratorCode(state.stage[unit][D3DTSS_TEXCOORDINDEX]);
  if (!all && !Differs(m_texGen, want)) return 0;
  m_texGen = want;
  glUniform1fv(m_texGenLocation, GLsizei(kMaxStages), want.data());
  return 1;
}

}  // namespace platform::d3d9
