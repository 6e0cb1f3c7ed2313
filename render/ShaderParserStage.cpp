// Stage keywords of a shader block.
#include "render/ShaderHost.h"
#include "render/ShaderLog.h"
#include "render/ShaderParser.h"

#include "platform/win32.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace {

constexpr int kScriptFault = 12;
/// "animmap <freq> <n> <base>" names at most this many frames.
constexpr int kMaxAnimFrames = 100;

using BlendPair = std::pair<std::uint32_t, std::uint32_t>;

/// The factor names blendfunc accepts at all; which side takes which is checked apart.
constexpr auto kBlendFactors = std::to_array<Named<std::uint32_t>>({
    {"GL_ZERO", GlValue::kZero},
    {"GL_ONE", GlValue::kOne},
    {"GL_DST_COLOR", GlValue::kDstColor},
    {"GL_ONE_MINUS_DST_COLOR", NameToConstant("GL_ONE_MINUS_DST_COLOR")},
    {"GL_SRC_ALPHA", GlValue::kSrcAlpha},
    {"GL_ONE_MINUS_SRC_ALPHA", GlValue::kOneMinusSrcAlpha},
    {"GL_DST_ALPHA", NameToConstant("GL_DST_ALPHA")},
    {"GL_ONE_MINUS_DST_ALPHA", NameToConstant("GL_ONE_MINUS_DST_ALPHA")},
    {"GL_SRC_ALPHA_SATURATE", NameToConstant("GL_SRC_ALPHA_SATURATE")},
    {"GL_SRC_COLOR", GlValue::kSrcColor},
    {"GL_ONE_MINUS_SRC_COLOR", NameToConstant("GL_ONE_MINUS_SRC_COLOR")},
});

constexpr bool IsSourceFactor(std::uint32_t value) {
  return value != GlValue::kSrcColor && value != NameToConstant("GL_ONE_MINUS_SRC_COLOR");
}

constexpr bool IsDestinationFactor(std::uint32_t value) {
  return value != GlValue::kDstColor && value != NameToConstant("GL_ONE_MINUS_DST_COLOR") &&
         value != NameToConstant("GL_SRC_ALPHA_SATURATE");
}

constexpr auto kBlendShorthands = std::to_array<Named<BlendPair>>({
    {"add", {GlValue::kOne, GlValue::kOne}},
    {"filter", {GlValue::kZero, GlValue::kSrcColor}},
    {"blend", {GlValue::kSrcAlpha, GlValue::kOneMinusSrcAlpha}},
});

constexpr auto kDepthFuncs = std::to_array<Named<std::uint32_t>>({
    {"lequal", GlValue::kLequal},
    {"never", NameToConstant("GL_NEVER")},
    {"less", GlValue::kLess},
    {"equal", NameToConstant("GL_EQUAL")},
    {"greater", GlValue::kGreater},
    {"notequal", NameToConstant("GL_NOTEQUAL")},
    {"gequal", GlValue::kGequal},
    {"always", GlValue::kAlways},
});

struct AlphaTest {
  std::uint32_t function;
  float reference;
};

constexpr AlphaTest kGreaterThanZero{GlValue::kGreater, 0.0f};
constexpr auto kAlphaFuncs = std::to_array<Named<AlphaTest>>({
    {"gt0", kGreaterThanZero},
    {"lt128", {GlValue::kLess, 0.5f}},
    {"ge128", {GlValue::kGequal, 0.5f}},
});

/// A generator word with the flags it sets on the shader and the stage.
template <typename Code>
struct GenWord {
  std::string_view name;
  Code code;
  std::uint32_t shaderFlags = 0;
  std::uint32_t stageFlags = 0;
};

constexpr auto kRgbGens = std::to_array<GenWord<RgbGen>>({
    {"vertex", RgbGen::Vertex, ShaderFlag::kVertexColour},
    {"lightingdiffuse", RgbGen::LightingDiffuse, ShaderFlag::kNormals, StageFlag::kNormals},
    {"oneminusvertex", RgbGen::OneMinusVertex, ShaderFlag::kVertexColour},
    {"identity", RgbGen::Identity},
    {"identitylighting", RgbGen::IdentityLighting},
    {"wave", RgbGen::Wave},
});

constexpr auto kAlphaGens = std::to_array<GenWord<AlphaGen>>({
    {"vertex", AlphaGen::Vertex},
    {"lightingdiffuse", AlphaGen::LightingDiffuse},
    {"oneminusvertex", AlphaGen::OneMinusVertex},
    {"identity", AlphaGen::Identity},
    {"identitylighting", AlphaGen::IdentityLighting},
    {"wave", AlphaGen::Wave},
    {"portal", AlphaGen::Portal},
    {"dot", AlphaGen::Dot, ShaderFlag::kNormals, StageFlag::kNormals},
    {"entity", AlphaGen::Entity, ShaderFlag::kVertexColour | ShaderFlag::kEntity},
});

constexpr auto kTcGens = std::to_array<GenWord<TcGen>>({
    {"environment", TcGen::Environment, ShaderFlag::kNormals, StageFlag::kNormals},
    {"base", TcGen::Base},
    {"lightmap", TcGen::Lightmap},
    {"vector", TcGen::Vector},
});

template <typename Code, std::size_t N>
const GenWord<Code>* FindGen(const std::array<GenWord<Code>, N>& table, const char* word) {
  for (const auto& row : table) {
    if (platform::EqualsNoCase(row.name, word)) return &row;
  }
  return nullptr;
}

/// tcmod kinds: numbers kept and the reading limit (stretch reads a wave instead).
struct TcModKind {
  TcModType type;
  int keep;
  int limit;
};

constexpr auto kTcMods = std::to_array<Named<TcModKind>>({
    {"rotate", {TcModType::Rotate, 1, 1}},
    {"scale", {TcModType::Scale, 2, 3}},
    {"scroll", {TcModType::Scroll, 2, 3}},
    {"stretch", {TcModType::Stretch, 5, 5}},
    {"transform", {TcModType::Transform, 6, 7}},
    {"turb", {TcModType::Turb, 4, 5}},
});

bool IsFirstStage(const N_Shader& shader, const N_ShaderStage& stage) { return shader.Stage(0) == &stage; }

}  // namespace

std::span<const N_ShaderParser::StageKeyword> N_ShaderParser::StageKeywords() {
  static constexpr auto kTable = std::to_array<StageKeyword>({
      {"map", &N_ShaderParser::ReadMap},
      {"lightmap", &N_ShaderParser::ReadLightmap},
      {"clampmap", &N_ShaderParser::ReadClampMap},
      {"animmap", &N_ShaderParser::ReadAnimMap},
      {"mipmapbias", &N_ShaderParser::ReadMipmapBias},
      {"blendfunc", &N_ShaderParser::ReadBlendFunc},
      {"depthfunc", &N_ShaderParser::ReadDepthFunc},
      {"depthwrite", &N_ShaderParser::ReadDepthWrite},
      {"depthwritenone", &N_ShaderParser::ReadDepthWriteNone},
      {"detail", &N_ShaderParser::ReadDetail},
      {"alphafunc", &N_ShaderParser::ReadAlphaFunc},
      {"rgbgen", &N_ShaderParser::ReadRgbGen},
      {"alphagen", &N_ShaderParser::ReadAlphaGen},
      {"tcgen", &N_ShaderParser::ReadTcGen},
      {"tcmod", &N_ShaderParser::ReadTcMod},
  });
  return kTable;
}

void N_ShaderParser::AddNamedTexture(N_ShaderStage& stage, const char* name, float frequency) {
  // The stage flags at this moment are the texture's creation parameter.
  stage.AddTexture(m_host.AddTexture(name, stage.flags, 0), frequency);
}

void N_ShaderParser::ReadMap(N_Shader& shader, N_ShaderStage& stage) {
  const char* name = Arg();
  if (!name) {
    ShaderReport(kScriptFault, "map -expecting string at line %d\n", FaultLine());
    return;
  }
  if (!platform::EqualsNoCase(name, "$lightmap")) {
    AddNamedTexture(stage, name, 0.0f);
    return;
  }
  // The surface's own lightmap is bound here when it is drawn.
  shader.flags |= ShaderFlag::kLightmap;
  stage.flags |= StageFlag::kLightmap;
  stage.tcGen = TcGen::Lightmap;
  stage.AddTexture(nullptr, 0.0f);
  stage.SetRgbGen(RgbGen::Identity);
}

void N_ShaderParser::ReadLightmap(N_Shader& shader, N_ShaderStage& stage) {
  const char* name = Arg();
  if (!name) {
    ShaderReport(kScriptFault, "map -expecting string at line %d\n", FaultLine());
    return;
  }
  shader.flags |= ShaderFlag::kLightmap;
  stage.flags |= StageFlag::kNoPicmip;
  stage.tcGen = TcGen::Lightmap;
  stage.SetRgbGen(RgbGen::Identity);
  AddNamedTexture(stage, name, 0.0f);
}

void N_ShaderParser::ReadClampMap(N_Shader&, N_ShaderStage& stage) {
  const char* name = Arg();
  if (!name) {
    ShaderReport(kScriptFault, "no param in clampmap at line %d\n", FaultLine());
    return;
  }
  stage.flags |= StageFlag::kClamp;
  AddNamedTexture(stage, name, 0.0f);
}

void N_ShaderParser::ReadAnimMap(N_Shader&, N_ShaderStage& stage) {
  const char* first = Arg();
  if (!first) {
    ShaderReport(kScriptFault, "no param in animmap at line %d\n", FaultLine());
    return;
  }
  if (std::strstr(first, ".ifl")) {
    stage.flags |= StageFlag::kIfl;
    ParseIfl(std::string(first).c_str(), stage);
    return;
  }
  stage.flags |= StageFlag::kClamp;
  ReadAnimFrames(stage, static_cast<float>(TokenAsFloat()));
}

void N_ShaderParser::ReadAnimFrames(N_ShaderStage& stage, float frequency) {
  const char* next = Arg();
  if (!next) {
    ShaderReport(kScriptFault, "no param in animmap at line %d\n", FaultLine());
    return;
  }
  int count = TokenAsInt();
  if (count == 0) {
    // A list of names to the end of the line (a name reads as the number 0).
    do {
      AddNamedTexture(stage, std::string(next).c_str(), frequency);
    } while ((next = Arg()));
    return;
  }
  const char* base = Arg();
  if (!base) {
    ShaderReport(kScriptFault, "no param in animmap at line %d\n", FaultLine());
    return;
  }
  if (count > kMaxAnimFrames) {
    ShaderReport(kScriptFault, "Too many frames in animmap at line %d, using %d\n", FaultLine(), kMaxAnimFrames);
    count = kMaxAnimFrames;
  }
  const std::string baseName = base;
  for (int i = 1; i <= count; ++i) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", i);
    AddNamedTexture(stage, (baseName + number).c_str(), frequency);
  }
}

void N_ShaderParser::ParseIfl(const char* fileName, N_ShaderStage& stage) {
  LogLine("--- Parsing IFL animation '%s'\n", fileName);
  if (std::FILE* probe = platform::OpenFile(fileName, "rb")) {
    std::fclose(probe);
  } else {
    ShaderReport(kScriptFault, "Cannot open IFL animation '%s' at line %d\n", fileName, FaultLine());
  }
  N_Tokenizer list;
  list.OpenFile(fileName);
  float total = 0.0f;
  while (const char* name = list.NextToken(true)) {
    AddNamedTexture(stage, std::string(name).c_str(), 0.0f);
    const int line = list.Line();
    if (list.NextToken(false)) {
      const float seconds = static_cast<float>(list.TokenAsFloat());
      stage.frameTimes.push_back(seconds);
      total += seconds;
    } else {
      ShaderReport(kScriptFault, "no frame time specified in %s at line %d\n", fileName, line);
    }
  }
  stage.frequency = total;
}

void N_ShaderParser::ReadMipmapBias(N_Shader&, N_ShaderStage& stage) {
  if (!Arg()) {
    ShaderReport(kScriptFault, "no param in mipMapBias at line %d\n", FaultLine());
    return;
  }
  stage.mipmapBias = static_cast<float>(TokenAsFloat());
}

void N_ShaderParser::ReadBlendFunc(N_Shader& shader, N_ShaderStage& stage) {
  const bool first = IsFirstStage(shader, stage);
  if (!m_sortGiven && first) shader.sort = ShaderSort::kBlended;
  const char* word = Arg();
  if (const auto pair = FindNamed(kBlendShorthands, word ? word : "")) {
    if (pair->first == GlValue::kOne && pair->second == GlValue::kOne && !m_sortGiven && first) {
      shader.sort = ShaderSort::kAdditive;  // "add"
    }
    std::tie(stage.blendSrc, stage.blendDst) = *pair;
    stage.depthWrite = false;
    return;
  }
  auto classify = [this](const char* name) {
    if (const auto value = FindNamed(kBlendFactors, name ? name : "")) return *value;
    ShaderReport(kScriptFault, "Bad blend param at line %d, force to GL_ZERO\n", FaultLine());
    return GlValue::kZero;
  };
  std::uint32_t src = classify(word);
  if (!IsSourceFactor(src)) {
    ShaderReport(kScriptFault, "Bad token in blend func src at line %d, force to GL_ONE\n", FaultLine());
    src = GlValue::kOne;
  }
  std::uint32_t dst = GlValue::kZero;
  word = Arg();
  if (!word) {
    ShaderReport(kScriptFault, "no second parm in blendfunc at line %d, force to GL_ZERO\n", FaultLine());
  } else if (FindNamed(kBlendShorthands, word) || !IsDestinationFactor(dst = classify(word))) {
    ShaderReport(kScriptFault, "Bad token in parm blendfunc dst at line %d, force to GL_ZERO\n", FaultLine());
    dst = GlValue::kZero;
  }
  stage.blendSrc = src;
  stage.blendDst = dst;
  // Only an opaque first stage keeps writing depth.
  if (!(src == GlValue::kOne && dst == GlValue::kZero && first)) stage.depthWrite = false;
}

void N_ShaderParser::ReadDepthFunc(N_Shader&, N_ShaderStage& stage) {
  const char* word = Arg();
  const auto func = FindNamed(kDepthFuncs, word ? word : "");
  if (!word) {
    ShaderReport(kScriptFault, "no param in depthfunc at line %d, force to GL_LEQUAL\n", FaultLine());
  } else if (!func) {
    ShaderReport(kScriptFault, "Unknown param in depth func at line %d, force to GL_LEQUAL\n", FaultLine());
  }
  stage.depthFunc = func.value_or(GlValue::kLequal);
}

void N_ShaderParser::ReadDepthWrite(N_Shader&, N_ShaderStage& stage) { stage.depthWrite = true; }
void N_ShaderParser::ReadDepthWriteNone(N_Shader&, N_ShaderStage& stage) { stage.depthWrite = false; }
void N_ShaderParser::ReadDetail(N_Shader&, N_ShaderStage& stage) { stage.flags |= StageFlag::kDetail; }

void N_ShaderParser::ReadAlphaFunc(N_Shader&, N_ShaderStage& stage) {
  const char* word = Arg();
  if (!word) {
    ShaderReport(kScriptFault, "no param for alphafunc at line %d, force to GT0\n", FaultLine());
    stage.SetAlphaFunc(kGreaterThanZero.function, kGreaterThanZero.reference);
    return;
  }
  if (platform::EqualsNoCase(word, "gt")) {
    if (!Arg()) return;  // "gt" without its number changes nothing
    const int n = std::clamp(TokenAsInt(), 0, 255);
    stage.SetAlphaFunc(GlValue::kGreater, static_cast<float>(n) / 255.0f);
    return;
  }
  const auto test = FindNamed(kAlphaFuncs, word);
  if (!test) ShaderReport(kScriptFault, "Unknown param in alphafunc at line %d, force to GT0\n", FaultLine());
  const AlphaTest chosen = test.value_or(kGreaterThanZero);
  stage.SetAlphaFunc(chosen.function, chosen.reference);
}

void N_ShaderParser::ReadRgbGen(N_Shader& shader, N_ShaderStage& stage) {
  const char* word = Arg();
  const auto* gen = word ? FindGen(kRgbGens, word) : nullptr;
  if (!gen) {
    if (!word) {
      ShaderReport(kScriptFault, "No param in rgbGen at line %d, force to identity\n", FaultLine());
    } else {
      ShaderReport(kScriptFault, "Unknown param in rgbgen at line %d, force to RGBGEN_IDENTITY\n", FaultLine());
    }
    stage.SetRgbGen(RgbGen::Identity);
    return;
  }
  shader.flags |= gen->shaderFlags;
  stage.flags |= gen->stageFlags;
  if (gen->code != RgbGen::Wave) {
    stage.SetRgbGen(gen->code);
    return;
  }
  const char* func = Arg();
  if (!func) {
    ShaderReport(kScriptFault, "no param in rgbgen wave func at line %d, force to indetity\n", FaultLine());
    stage.SetRgbGen(RgbGen::Identity);
    return;
  }
  GenValues wave{};
  wave[0] = static_cast<float>(ParseWaveFunc(func));
  ReadNumbers(&wave[1], 4, 5);
  stage.SetRgbGen(RgbGen::Wave, wave);
}

void N_ShaderParser::ReadAlphaGen(N_Shader& shader, N_ShaderStage& stage) {
  const char* word = Arg();
  const auto* gen = word ? FindGen(kAlphaGens, word) : nullptr;
  if (!gen) {
    if (!word) {
      ShaderReport(kScriptFault, "No param in alphagen func at line %d, force to alphagen identity\n", FaultLine());
    } else {
      ShaderReport(kScriptFault, "Unknown param in alphagen at line %d, force to ALPHAGEN_IDENTITY\n", FaultLine());
    }
    stage.SetAlphaGen(AlphaGen::Identity);
    return;
  }
  shader.flags |= gen->shaderFlags;
  stage.flags |= gen->stageFlags;
  GenValues values{};
  if (gen->code == AlphaGen::Wave) ReadWave(values.data());
  if (gen->code == AlphaGen::Dot) ReadNumbers(values.data(), 2, 2);
  if (gen->code == AlphaGen::Entity) stage.SetRgbGen(RgbGen::Vertex);
  stage.SetAlphaGen(gen->code, values);
}

void N_ShaderParser::ReadTcGen(N_Shader& shader, N_ShaderStage& stage) {
  const char* word = Arg();
  const auto* gen = word ? FindGen(kTcGens, word) : nullptr;
  if (!gen) {
    if (!word) {
      ShaderReport(kScriptFault, "no param in tcgen func at line %d, force to TCGEN_BASE\n", FaultLine());
    } else {
      ShaderReport(kScriptFault, "unknown param in tcgen at line %d, force to TCGEN_BASE\n", FaultLine());
    }
    stage.tcGen = TcGen::Base;
    return;
  }
  shader.flags |= gen->shaderFlags;
  stage.flags |= gen->stageFlags;
  stage.tcGen = gen->code;
  if (gen->code == TcGen::Vector) SkipLine();  // its vectors are not used
}

void N_ShaderParser::ReadTcMod(N_Shader& shader, N_ShaderStage& stage) {
  const char* word = Arg();
  if (!word) {
    ShaderReport(kScriptFault, "no param in tcmod func at line %d, skiping line\n", FaultLine());
    return;
  }
  const auto kind = FindNamed(kTcMods, word);
  if (!kind) {
    ShaderReport(kScriptFault, "Unknown param in tcmod at line %d, skiping line\n", FaultLine());
    SkipLine();
    return;
  }
  std::array<float, 8> values{};
  if (kind->type == TcModType::Stretch) {
    ReadWave(values.data());
  } else {
    ReadNumbers(values.data(), kind->keep, kind->limit);
  }
  stage.AppendTcMod(kind->type, values.data(), kind->keep);
  stage.flags |= StageFlag::kTcMod;
  shader.flags |= ShaderFlag::kTcMod;
}
