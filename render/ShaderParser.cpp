#include "render/ShaderParser.h"

#include "platform/win32.h"
#include "render/ShaderLog.h"

#include <cstring>
#include <string>

namespace {

constexpr int kScriptFault = 12;

bool Is(const char* token, std::string_view word) { return platform::EqualsNoCase(token, word); }

}  // namespace

N_ShaderParser::N_ShaderParser(const char* fileName, N_ShaderHost& host) : m_host(host) { OpenFile(fileName); }

const char* N_ShaderParser::NextWord() {
  const char* token = NextToken(true);
  m_lineEnded = false;
  m_wordLine = Line();
  return token;
}

const char* N_ShaderParser::Arg() {
  if (m_lineEnded) return nullptr;
  const char* token = NextToken(false);
  if (!token) m_lineEnded = true;
  return token;
}

void N_ShaderParser::SkipLine() {
  while (Arg()) {
  }
}

float N_ShaderParser::ReadNumber() { return Arg() ? static_cast<float>(TokenAsFloat()) : 0.0f; }

int N_ShaderParser::ReadNumbers(float* out, int keep, int limit) {
  int read = 0;
  while (read < limit && Arg()) {
    if (read < keep) out[read] = static_cast<float>(TokenAsFloat());
    ++read;
  }
  return read;
}

WaveFunc N_ShaderParser::ParseWaveFunc(const char* word) {
  static constexpr auto kWaveFuncs = std::to_array<Named<WaveFunc>>({
      {"sin", WaveFunc::Sin},
      {"triangle", WaveFunc::Triangle},
      {"square", WaveFunc::Square},
      {"sawtooth", WaveFunc::Sawtooth},
      {"inversesawtooth", WaveFunc::InverseSawtooth},
  });
  if (const auto func = FindNamed(kWaveFuncs, word ? word : "")) return *func;
  ShaderReport(kScriptFault, "Unknown function at line %d, force to FUNC_CONST\n", FaultLine());
  return WaveFunc::Const;
}

int N_ShaderParser::ReadWave(float* out) {
  out[0] = static_cast<float>(ParseWaveFunc(Arg()));
  return ReadNumbers(out + 1, 4, 5);
}

void N_ShaderParser::ParseShader(N_Shader& shader) {
  m_sortGiven = false;
  m_conditions.clear();
  const char* token = NextWord();
  if (!token) {
    m_cut = true;
    return;
  }
  if (std::strcmp(token, "{") != 0) {
    ShaderReport(kScriptFault, "Shader error, bracket expected! at line %d, stop parsing!\n", FaultLine());
    return;
  }
  while ((token = NextWord()) && std::strcmp(token, "}") != 0) {
    if (std::strcmp(token, "{") == 0) {
      AddStageOrSkip(shader);
      continue;
    }
    if (HandleCondition(token) || m_skipping) continue;
    bool handled = false;
    for (const HeaderKeyword& keyword : HeaderKeywords()) {
      if (Is(token, keyword.name)) {
        (this->*keyword.handler)(shader);
        handled = true;
        break;
      }
    }
    // Every "q3map_..." word is an editor keyword too.
    if (!handled && platform::EqualsNoCase(std::string_view(token).substr(0, 6), "q3map_")) {
      SkipLine();
      handled = true;
    }
    if (!handled) {
      ShaderReport(kScriptFault, "Unknown token:%s  at line %d, line skiped\n", token, FaultLine());
      SkipLine();
    }
  }
  if (!token) m_cut = true;
}

void N_ShaderParser::AddStageOrSkip(N_Shader& shader) {
  N_ShaderStage* stage = shader.AddStage();
  if (stage) {
    ParseStage(shader, *stage);
    return;
  }
  // The record holds eight stages: a ninth is refused whole.
  ShaderReport(kScriptFault, "Too many stages at line %d, stage skipped\n", FaultLine());
  SkipStageBlock();
}

void N_ShaderParser::SkipStageBlock() {
  int depth = 1;
  while (const char* token = NextWord()) {
    if (std::strcmp(token, "{") == 0) ++depth;
    if (std::strcmp(token, "}") == 0 && --depth == 0) return;
  }
}

void N_ShaderParser::ParseStage(N_Shader& shader, N_ShaderStage& stage) {
  // The shader's texture keywords reach only stages that follow them.
  if (shader.flags & ShaderFlag::kNoMipmaps) stage.flags |= StageFlag::kSingleMip;
  if (shader.flags & ShaderFlag::kNoPicmip) stage.flags |= StageFlag::kNoPicmip;
  if (shader.flags & ShaderFlag::kNoCompress) stage.flags |= StageFlag::kNoCompress;
  while (const char* token = NextWord()) {
    if (std::strcmp(token, "{") == 0) {
      ShaderReport(kScriptFault, "Bracket not expected at line %d\n", FaultLine());
      return;
    }
    if (std::strcmp(token, "}") == 0) return;
    if (HandleCondition(token) || m_skipping) continue;
    bool handled = false;
    for (const StageKeyword& keyword : StageKeywords()) {
      if (Is(token, keyword.name)) {
        (this->*keyword.handler)(shader, stage);
        handled = true;
        break;
      }
    }
    if (!handled) {
      ShaderReport(kScriptFault, "Unknown token: %s at line %d, skiping line\n", token, FaultLine());
      SkipLine();
    }
  }
}

void N_ShaderParser::SkipBlock() {
  int depth = 0;
  while (const char* token = NextWord()) {
    if (std::strcmp(token, "{") == 0) {
      ++depth;
    } else if (std::strcmp(token, "}") == 0) {
      if (depth == 1) return;
      if (--depth < 0) {
        ShaderReport(kScriptFault, "Shader error, mising starting bracket at line %d\n", FaultLine());
        return;
      }
    }
  }
  m_cut = true;
}

bool N_ShaderParser::HandleCondition(const char* word) {
  if (Is(word, "#if")) {
    ConditionIf();
  } else if (Is(word, "#else")) {
    ConditionElse();
  } else if (Is(word, "#endif")) {
    ConditionEndif();
  } else {
    return false;
  }
  return true;
}

void N_ShaderParser::ConditionIf() {
  const char* name = Arg();
  if (!name) {
    ShaderReport(kScriptFault, "no parameters for #if");
    return;
  }
  const std::string variable = name;
  if (!Arg()) {
    ShaderReport(kScriptFault, "missing second parameter for #if");
    return;
  }
  const bool holds = ShaderVarInt(variable.c_str()) == TokenAsInt();
  m_conditions.push_back(holds);
  m_skipping = !holds;
  if (m_skipping) SkipConditional();
}

void N_ShaderParser::ConditionElse() {
  m_skipping = TopCondition();
  if (m_skipping) SkipConditional();
}

void N_ShaderParser::ConditionEndif() {
  if (PopCondition()) m_skipping = !m_conditions.empty() && !m_conditions.back();
}

bool N_ShaderParser::PopCondition() {
  if (m_conditions.empty()) {
    ShaderReport(kScriptFault, "#endif without #if at line %d, ignored\n", FaultLine());
    return false;
  }
  m_conditions.pop_back();
  return true;
}

void N_ShaderParser::SkipConditional() {
  int depth = 0;
  while (const char* token = NextWord()) {
    if (Is(token, "#if")) {
      ++depth;
    } else if (Is(token, "#endif")) {
      if (depth > 0) {
        --depth;
      } else if (PopCondition()) {
        m_skipping = !m_conditions.empty() && !m_conditions.back();
        return;
      }
    } else if (depth == 0 && Is(token, "#else")) {
      m_skipping = TopCondition();
      return;
    }
  }
}
