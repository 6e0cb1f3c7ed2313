// Header keywords of a shader block.
#include "render/ShaderHost.h"
#include "render/ShaderLog.h"
#include "render/ShaderParser.h"

#include "platform/win32.h"

#include <array>
#include <string>

namespace {

constexpr int kScriptFault = 12;

constexpr auto kCullWords = std::to_array<Named<Cull>>({
    {"front", Cull::Front},
    {"back", Cull::Back},
    {"none", Cull::None},
    {"twosided", Cull::None},
    {"disable", Cull::None},
});

/// Sort words; "portal" also marks the shader as the keyword "portal" does.
constexpr auto kSortWords = std::to_array<Named<std::uint32_t>>({
    {"portal", ShaderSort::kPortal},
    {"sky", ShaderSort::kSky},
    {"opaque", ShaderSort::kOpaque},
    {"banner", ShaderSort::kBanner},
    {"underwater", ShaderSort::kUnderwater},
    {"additive", ShaderSort::kAdditive},
    {"nearest", ShaderSort::kNearest},
});

constexpr auto kSurfaceWords = std::to_array<Named<std::uint32_t>>({
    {"noclip", SurfaceParm::kNoClip},
    {"terrain", SurfaceParm::kTerrain},
    {"sky", SurfaceParm::kSky},
    {"castshadow", SurfaceParm::kCastShadow},
});

constexpr float kDefaultShadowDistance = 1000.0f;

}  // namespace

std::span<const N_ShaderParser::HeaderKeyword> N_ShaderParser::HeaderKeywords() {
  static constexpr auto kTable = std::to_array<HeaderKeyword>({
      {"fx", &N_ShaderParser::ReadFx},
      {"cull", &N_ShaderParser::ReadCull},
      {"nopicmip", &N_ShaderParser::ReadNoPicmip},
      {"nomipmaps", &N_ShaderParser::ReadNoMipmaps},
      {"nocompress", &N_ShaderParser::ReadNoCompress},
      {"polygonoffset", &N_ShaderParser::ReadPolygonOffset},
      {"portal", &N_ShaderParser::ReadPortal},
      {"sort", &N_ShaderParser::ReadSort},
      {"deformvertexes", &N_ShaderParser::ReadDeformVertexes},
      {"ambient", &N_ShaderParser::ReadAmbient},
      {"diffuse", &N_ShaderParser::ReadDiffuse},
      {"emissive", &N_ShaderParser::ReadEmissive},
      {"specular", &N_ShaderParser::ReadSpecular},
      {"surfaceparm", &N_ShaderParser::ReadSurfaceParm},
      // Keywords of the map editor and the map compiler: their lines mean nothing here
      // (every "q3map_..." word is treated the same way by ParseShader).
      {"tesssize", &N_ShaderParser::SkipEditorLine},
      {"map_backshader", &N_ShaderParser::SkipEditorLine},
      {"map_globaltexture", &N_ShaderParser::SkipEditorLine},
      {"map_sun", &N_ShaderParser::SkipEditorLine},
      {"map_surfacelight", &N_ShaderParser::SkipEditorLine},
      {"map_lightImage", &N_ShaderParser::SkipEditorLine},
      {"map_lightSubdivide", &N_ShaderParser::SkipEditorLine},
      {"qer_editorimage", &N_ShaderParser::SkipEditorLine},
      {"qer_nocarve", &N_ShaderParser::SkipEditorLine},
      {"qer_trans", &N_ShaderParser::SkipEditorLine},
      {"fogparms", &N_ShaderParser::SkipEditorLine},
      {"light", &N_ShaderParser::SkipEditorLine},
  });
  return kTable;
}

void N_ShaderParser::SkipEditorLine(N_Shader&) { SkipLine(); }

void N_ShaderParser::ReadFx(N_Shader& shader) {
  const char* file = Arg();
  if (!file) {
    ShaderReport(kScriptFault, "fx filename expected after fx keyword");
    return;
  }
  // A second "fx" in the block replaces the first: its effect must not stay counted.
  if (shader.effect) m_host.DestroyEffect(&shader.effect);
  shader.flags |= ShaderFlag::kEffect;
  shader.effect = m_host.CreateEffect(file);
}

void N_ShaderParser::ReadCull(N_Shader& shader) {
  const char* word = Arg();
  if (!word) {
    ShaderReport(kScriptFault, "no parameter for cull, force to cull back");
    shader.cull = Cull::Back;
    return;
  }
  if (const auto cull = FindNamed(kCullWords, word)) shader.cull = *cull;  // another word: unchanged
}

void N_ShaderParser::ReadNoPicmip(N_Shader& shader) { shader.flags |= ShaderFlag::kNoPicmip; }
void N_ShaderParser::ReadNoMipmaps(N_Shader& shader) { shader.flags |= ShaderFlag::kNoMipmaps; }
void N_ShaderParser::ReadNoCompress(N_Shader& shader) { shader.flags |= ShaderFlag::kNoCompress; }
void N_ShaderParser::ReadPolygonOffset(N_Shader& shader) { shader.flags |= ShaderFlag::kPolygonOffset; }

void N_ShaderParser::ReadPortal(N_Shader& shader) {
  shader.flags |= ShaderFlag::kPortal;
  shader.sort = ShaderSort::kPortal;
}

void N_ShaderParser::ReadSort(N_Shader& shader) {
  m_sortGiven = true;
  const char* word = Arg();
  if (!word) {
    ShaderReport(kScriptFault, "no parameter for sort at line %d, setting sort opaque!\n", FaultLine());
    shader.sort = ShaderSort::kOpaque;
    return;
  }
  if (const auto sort = FindNamed(kSortWords, word)) {
    if (*sort == ShaderSort::kPortal) {
      ReadPortal(shader);
    } else {
      shader.sort = *sort;
    }
    return;
  }
  // A number is stored as given; 0, which an unknown word also reads as, means opaque.
  const int number = TokenAsInt();
  shader.sort = number == 0 ? ShaderSort::kOpaque : static_cast<std::uint32_t>(number);
}

void N_ShaderParser::ReadAmbient(N_Shader& shader) {
  shader.ambient = {};
  ReadNumbers(shader.ambient.data(), 3, 3);
}

void N_ShaderParser::ReadDiffuse(N_Shader& shader) {
  shader.diffuse = {};
  ReadNumbers(shader.diffuse.data(), 3, 3);
}

void N_ShaderParser::ReadEmissive(N_Shader& shader) {
  shader.emissive = {};
  ReadNumbers(shader.emissive.data(), 3, 3);
}

void N_ShaderParser::ReadSpecular(N_Shader& shader) {
  std::array<float, 4> values{};
  ReadNumbers(values.data(), 4, 4);
  shader.specular = {values[0], values[1], values[2]};
  shader.specularPower = values[3];
}

void N_ShaderParser::ReadSurfaceParm(N_Shader& shader) {
  const char* word = Arg();
  const auto parm = FindNamed(kSurfaceWords, word ? word : "");
  if (!parm) return;  // no word or another word: no effect
  shader.surfaceParm = *parm;
  if (*parm == SurfaceParm::kSky) shader.sort = ShaderSort::kSky;
  if (*parm == SurfaceParm::kCastShadow) shader.shadowDistance = Arg() ? static_cast<float>(TokenAsFloat()) : kDefaultShadowDistance;
}

void N_ShaderParser::ReadDeformVertexes(N_Shader& shader) {
  const char* kind = Arg();
  if (!kind) {
    ShaderReport(kScriptFault, "Not enought params in deformvertexes at line %d, force to DEFORM_NONE", FaultLine());
    return;
  }
  N_ShaderDeform* deform = shader.AddDeform();
  if (!deform) {
    SkipLine();  // seven deformations are the most a shader keeps
    return;
  }
  const std::string kindWord = kind;  // the token buffer is reused by the numbers
  ReadDeformKind(kindWord.c_str(), *deform);
}

void N_ShaderParser::ReadDeformKind(const char* kind, N_ShaderDeform& deform) {
  static constexpr auto kKinds = std::to_array<Named<DeformType>>({
      {"wave", DeformType::Wave},
      {"water", DeformType::Water},
      {"normal", DeformType::Normal},
      {"bulge", DeformType::Bulge},
      {"move", DeformType::Move},
      {"rotate", DeformType::Rotate},
      {"autosprite", DeformType::Autosprite},
      {"autosprite2", DeformType::Autosprite2},
      {"movewithcamera", DeformType::MoveWithCamera},
  });
  const auto type = FindNamed(kKinds, kind);
  if (!type) {
    ShaderReport(kScriptFault, "Unknown param in deform vertexes at line %d, force to DEFORMVERTEXES_NONE", FaultLine());
    deform.Set(DeformType::None, {});
    return;
  }
  std::array<float, 8> v{};
  int count = 0;  // values stored
  switch (*type) {
    case DeformType::Wave:
      v[0] = ReadNumber();  // spread
      v[1] = static_cast<float>(ParseWaveFunc(Arg()));
      if (ReadNumbers(&v[2], 4, 5) != 4) {
        ShaderReport(kScriptFault, "WARNING!!! Not enought params in deform wave func at line %d", FaultLine());
      }
      count = 6;
      break;
    case DeformType::Water:
      if (ReadNumbers(v.data(), 7, 7) < 7) {
        ShaderReport(kScriptFault, "WARNING!!! Not enought params in deform water func at line %d", FaultLine());
      }
      count = 7;
      break;
    case DeformType::Normal:
      ReadDeformNormal(deform);
      return;
    case DeformType::Bulge:
      ReadNumbers(v.data(), 3, 4);
      count = 3;
      break;
    case DeformType::Move:
      ReadNumbers(v.data(), 3, 3);
      v[3] = static_cast<float>(ParseWaveFunc(Arg()));
      ReadNumbers(&v[4], 4, 5);
      count = 8;
      break;
    case DeformType::Rotate:
      ReadNumbers(v.data(), 8, 8);
      count = 8;
      break;
    case DeformType::Autosprite:
    case DeformType::Autosprite2:
      ReadNumbers(v.data(), 2, 3);
      v = {v[0] * 0.5f, v[1] * 0.5f, 0.0f};
      count = 3;
      break;
    case DeformType::MoveWithCamera:
    case DeformType::None:
      break;
  }
  deform.Set(*type, std::span<const float>(v.data(), count));
}

void N_ShaderParser::ReadDeformNormal(N_ShaderDeform& deform) {
  const float spread = ReadNumber();
  const char* next = Arg();
  const bool isWave = next && ((next[0] >= 'a' && next[0] <= 'z') || (next[0] >= 'A' && next[0] <= 'Z'));
  if (isWave) {
    // Wave form: spread, function, base, amplitude, 0, phase.
    const float func = static_cast<float>(ParseWaveFunc(next));
    std::array<float, 3> w{};
    ReadNumbers(w.data(), 3, 4);
    const std::array values{spread, func, w[0], w[1], 0.0f, w[2]};
    deform.Set(DeformType::Normal, values);
    return;
  }
  // Number form "normal a b": 1, 1, 0, a, 0, b (b is 0 when missing).
  const float second = next ? static_cast<float>(TokenAsFloat()) : 0.0f;
  const std::array values{1.0f, 1.0f, 0.0f, spread, 0.0f, second};
  deform.Set(DeformType::Normal, values);
}
