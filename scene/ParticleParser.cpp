#include "scene/ParticleParser.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32.h"
#include "render/ShaderMng.h"
#include "scene/ParticleEmitter.h"
#include "scene/ParticleMng.h"
#include "scene/ParticleShader.h"
#include "scene/SceneAccess.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

bool Is(const char* token, std::string_view word) { return platform::EqualsNoCase(token, word); }

}  // namespace

N_ParticleParser::~N_ParticleParser() = default;

std::span<const N_ParticleParser::Keyword> N_ParticleParser::Keywords() {
  // In the order the keywords are tried.
  static constexpr auto kKeywords = std::to_array<Keyword>({
      {"type", &N_ParticleParser::Type},
      {"numparticles", &N_ParticleParser::NumParticles},
      {"emissionrate", &N_ParticleParser::EmissionRate},
      {"shader", &N_ParticleParser::Shader},
      {"velocity", &N_ParticleParser::Velocity},
      {"size", &N_ParticleParser::Size},
      {"targetsize", &N_ParticleParser::TargetSize},
      {"color", &N_ParticleParser::Color},
      {"rotate", &N_ParticleParser::Rotate},
      {"live", &N_ParticleParser::Live},
      {"restart", &N_ParticleParser::Restart},
      {"copyvelocities", &N_ParticleParser::CopyVelocities},
      {"copysizes", &N_ParticleParser::CopySizes},
      {"copycolors", &N_ParticleParser::CopyColors},
      {"movewithparent", &N_ParticleParser::MoveWithParent},
      {"fadeout", &N_ParticleParser::FadeOut},
      {"fadein", &N_ParticleParser::FadeIn},
      {"trialsize", &N_ParticleParser::TrialSize},
      {"gravity", &N_ParticleParser::Gravity},
      {"killifunseen", &N_ParticleParser::KillIfUnseen},
      {"detail", &N_ParticleParser::Detail},
      {"light", &N_ParticleParser::Light},
  });
  return kKeywords;
}

const N_ParticleParser::Keyword* N_ParticleParser::FindKeyword(const char* token) {
  for (const Keyword& keyword : Keywords()) {
    if (Is(token, keyword.name)) return &keyword;
  }
  return nullptr;
}

int N_ParticleParser::Parse(const char* fileName, N_ParticleMng& manager) {
  m_errors = 0;
  m_depth = 0;
  m_created = 0;
  m_name.clear();
  m_open.reset();
  m_current = nullptr;
  m_ended = false;
  m_blocks = 0;
  m_stray.clear();
  m_strayReported = false;
  LogLine("Parsing particle script '%s'\n", fileName);
  OpenFile(fileName);
  while (!m_ended) {
    const char* token = NextToken(true);
    if (!token) break;
    m_lineEnded = false;
    m_keywordLine = Line();
    const bool brace = std::strcmp(token, "{") == 0;
    const Keyword* keyword = FindKeyword(token);
    if (!brace) DropStray();
    if (brace) {
      m_stray.clear();
      OpenBlock(manager);
    } else if (std::strcmp(token, "}") == 0) {
      CloseBlock(manager);
    } else if (keyword) {
      HandleKeyword(*keyword, token);
    } else {
      // Outside a block a word is the candidate name of the next one.
      if (m_depth != 0) ReportError(m_current, "Unknown attribute '%s'", token);
      if (m_depth == 0) m_stray = token;
      m_name = Token();
    }
  }
  DropStray();
  // A block still open here was counted when it began; it is not kept.
  if (m_depth != 0 && !m_ended) ReportError(m_open.get(), "The file ends inside the block: it is not kept");
  if (m_blocks == 0) ReportError(nullptr, "No particle template in the file");
  if (m_open && m_current == m_open.get()) m_current = nullptr;
  m_open.reset();
  LogLine("Parsing of '%s' done - %d error(s)\n", fileName, m_errors);
  return m_created;
}

void N_ParticleParser::DropStray() {
  if (m_stray.empty()) return;
  if (!m_strayReported) ReportError(nullptr, "'%s' outside a block names no template", m_stray.c_str());
  m_strayReported = true;
  m_stray.clear();
}

void N_ParticleParser::OpenBlock(N_ParticleMng& manager) {
  if (m_depth++ != 0) {
    m_name = Token();  // a nested brace only counts
    return;
  }
  ++m_blocks;
  if (manager.FindShader(m_name.c_str())) {
    LogLine("*** Particle shader with name %s already defined!\n", m_name.c_str());
    m_ended = !SkipBlock();
    m_depth = 0;
    m_name = Token();
    return;
  }
  m_open = std::make_unique<N_ParticleShader>(m_name);
  m_current = m_open.get();
  LogLine(" +    %s\n", m_name.c_str());
  ++m_created;
  m_name = Token();
}

void N_ParticleParser::CloseBlock(N_ParticleMng& manager) {
  if (m_depth == 0) {
    // Ignored: counting it would take the depth below 0 and hand the next block's
    // attributes to the previous template.
    ReportError(nullptr, "Unexpected '}' outside a block");
  } else if (--m_depth == 0 && m_open) {
    m_current = manager.RegisterShader(std::move(m_open));
  }
  m_name = Token();
}

bool N_ParticleParser::SkipBlock() {
  int depth = 1;
  while (const char* token = NextToken(true)) {
    if (std::strcmp(token, "{") == 0) ++depth;
    if (std::strcmp(token, "}") == 0 && --depth == 0) return true;
  }
  return false;
}

void N_ParticleParser::HandleKeyword(const Keyword& keyword, const char* token) {
  if (!m_current) {
    ReportError(nullptr, "Unknown attribute '%s'", token);
    SkipLine();
    m_name = Token();
    return;
  }
  if ((this->*keyword.handler)(*m_current)) m_name = Token();
}

void N_ParticleParser::ReportError(const N_ParticleShader* shader, const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::vector<char> text(std::size_t(length > 0 ? length : 0) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  va_end(args);
  LogLine(" !    %s(%d) - error in '%s': %s\n", FileName().c_str(), m_keywordLine, shader ? shader->name.c_str() : "",
      text.data());
  ++m_errors;
}

const char* N_ParticleParser::Arg() {
  if (m_lineEnded) return nullptr;
  const char* token = NextToken(false);
  if (!token) m_lineEnded = true;
  return token;
}

void N_ParticleParser::SkipLine() {
  while (Arg()) {
  }
}

float N_ParticleParser::Number(bool& missing) {
  missing = Arg() == nullptr;
  return missing ? 0.0f : static_cast<float>(TokenAsFloat());
}

int N_ParticleParser::Integer(bool& missing) {
  missing = Arg() == nullptr;
  return missing ? 0 : TokenAsInt();
}

N_Vector3 N_ParticleParser::ReadVector(const char* message) {
  float values[3];
  for (float& value : values) {
    bool missing = false;
    value = Number(missing);
    if (missing) ReportError(m_current, "%s", message);
  }
  return {values[0], values[1], values[2]};
}

void N_ParticleParser::ReadPair(const char* message, float& a, float& b) {
  bool missing = false;
  a = Number(missing);
  if (missing) {
    ReportError(m_current, "%s", message);
    b = a;
    return;
  }
  b = Number(missing);
  if (missing) b = a;
}

bool N_ParticleParser::Type(N_ParticleShader& shader) {
  const char* word = Arg();
  if (!word) {
    ReportError(&shader, "Parameter for 'type' expected");
    return false;
  }
  if (Is(word, "point")) {
    shader.SetType(N_ParticleShader::kPoint);
  } else if (Is(word, "box")) {
    shader.SetType(N_ParticleShader::kBox);
    // The extents only when all three are given; fewer are read and dropped.
    float extents[3];
    int read = 0;
    for (; read < 3; ++read) {
      bool missing = false;
      extents[read] = Number(missing);
      if (missing) break;
    }
    if (read == 3) shader.SetBoxHalfExtents({extents[0], extents[1], extents[2]});
  } else if (Is(word, "line")) {
    shader.SetType(N_ParticleShader::kLine);
  } else {
    ReportError(&shader, "Unknown emitter type '%s'", word);
  }
  return true;
}

bool N_ParticleParser::NumParticles(N_ParticleShader& shader) {
  bool missing = false;
  int count = Integer(missing);
  if (missing) ReportError(&shader, "Parameter for 'numParticles' expected");
  // An emitter draws at most kMaxSpriteSlots particles: a count beyond is no count of
  // an effect (a damaged number) and would be cut there.
  constexpr int kMost = static_cast<int>(N_ParticleEmitter::kMaxSpriteSlots);
  if (count < 0 || count > kMost) {
    ReportError(&shader, "numParticles %d is outside 0..%d: taken as %d", count, kMost, count < 0 ? 0 : kMost);
    count = count < 0 ? 0 : kMost;
  }
  shader.SetNumParticles(static_cast<std::uint32_t>(count));
  return true;
}

bool N_ParticleParser::EmissionRate(N_ParticleShader& shader) {
  bool missing = false;
  int minimum = Integer(missing);
  int maximum = minimum;
  if (missing) {
    ReportError(&shader, "Parameters for 'emissionRate' expected");
  } else {
    const int second = Integer(missing);
    if (!missing) maximum = second;
  }
  if (minimum < 0 || maximum < 0) {
    ReportError(&shader, "emissionRate %d %d is below 0: taken as 0", minimum, maximum);
    minimum = std::max(minimum, 0);
    maximum = std::max(maximum, 0);
  }
  shader.SetEmissionRate(static_cast<std::uint32_t>(minimum), static_cast<std::uint32_t>(maximum));
  return true;
}

bool N_ParticleParser::Shader(N_ParticleShader& shader) {
  const char* name = Arg();
  if (!name || !*name) {
    // No material: the template keeps drawing nothing rather than an empty name's default.
    ReportError(&shader, "Parameter for 'shader' expected");
    return true;
  }
  shader.SetShader(g_scene.shaderMng ? g_scene.shaderMng->AddShader(name, 0, N_ShaderMng::kType2D)
                                     : N_ShaderMng::kNoShader);
  return true;
}

bool N_ParticleParser::Velocity(N_ParticleShader& shader) {
  const N_Vector3 minimum = ReadVector("Parameters for 'velocity' expected");
  const N_Vector3 maximum = ReadVector("Parameters for 'velocity' expected");
  shader.SetVelocity(minimum, maximum);
  return true;
}

bool N_ParticleParser::Size(N_ParticleShader& shader) {
  float minimum = 0.0f, maximum = 0.0f;
  ReadPair("Parameters for 'size' expected", minimum, maximum);
  shader.SetSize(minimum, maximum);
  return true;
}

bool N_ParticleParser::TargetSize(N_ParticleShader& shader) {
  bool sizeMissing = false, rateMissing = false;
  const float size = Number(sizeMissing);
  const float rate = Number(rateMissing);
  if (sizeMissing || rateMissing) ReportError(&shader, "Parameters for 'targetsize' expected");
  shader.SetTargetSize(size, rate);
  return true;
}

bool N_ParticleParser::Color(N_ParticleShader& shader) {
  const N_Vector3 minimum = ReadVector("Parameters for 'color' expected");
  const N_Vector3 maximum = ReadVector("Parameters for 'color' expected");
  shader.SetColor(minimum, maximum);
  return true;
}

bool N_ParticleParser::Rotate(N_ParticleShader& shader) {
  float minimum = 0.0f, maximum = 0.0f;
  ReadPair("Parameters for 'rotate' expected", minimum, maximum);
  shader.SetRotate(minimum, maximum);
  return true;
}

bool N_ParticleParser::Live(N_ParticleShader& shader) {
  float minimum = 0.0f, maximum = 0.0f;
  ReadPair("Parameters for 'live' expected", minimum, maximum);
  shader.SetLive(minimum, maximum);
  return true;
}

bool N_ParticleParser::Restart(N_ParticleShader& shader) {
  bool missing = false;
  const int value = Integer(missing);
  if (missing) ReportError(&shader, "Parameters for 'restart' expected");
  shader.SetRestart(value != 0);
  return true;
}

bool N_ParticleParser::CopyVelocities(N_ParticleShader& shader) {
  shader.AddCopyFlags(N_ParticleShader::kCopyVelocities);
  return true;
}

bool N_ParticleParser::CopySizes(N_ParticleShader& shader) {
  shader.AddCopyFlags(N_ParticleShader::kCopySizes);
  return true;
}

bool N_ParticleParser::CopyColors(N_ParticleShader& shader) {
  shader.AddCopyFlags(N_ParticleShader::kCopyColors);
  return true;
}

bool N_ParticleParser::MoveWithParent(N_ParticleShader& shader) {
  shader.SetMoveWithParent();
  return true;
}

bool N_ParticleParser::FadeOut(N_ParticleShader& shader) {
  bool missing = false;
  const float seconds = Number(missing);
  if (missing) ReportError(&shader, "Parameters for 'fadeOut' expected");
  shader.SetFadeOut(seconds);
  return true;
}

bool N_ParticleParser::FadeIn(N_ParticleShader& shader) {
  bool missing = false;
  const float seconds = Number(missing);
  if (missing) ReportError(&shader, "Parameters for 'fadeIn' expected");
  shader.SetFadeIn(seconds);
  return true;
}

bool N_ParticleParser::TrialSize(N_ParticleShader& shader) {
  bool missing = false;
  const int size = Integer(missing);
  if (missing) ReportError(&shader, "Parameter for 'trialSize' expected");
  shader.SetTrialSize(size);
  return true;
}

bool N_ParticleParser::Gravity(N_ParticleShader& shader) {
  shader.SetGravity(ReadVector("Parameter for 'gravity' expected"));
  return true;
}

bool N_ParticleParser::KillIfUnseen(N_ParticleShader& shader) {
  shader.AddKillFlags(N_ParticleShader::kKillIfUnseen);
  return true;
}

bool N_ParticleParser::Detail(N_ParticleShader& shader) {
  bool missing = false;
  const int level = Integer(missing);
  if (missing) ReportError(&shader, "Parameters for 'detail' expected");
  shader.SetDetail(static_cast<std::uint8_t>(level));  // stored as a byte
  return true;
}

bool N_ParticleParser::Light(N_ParticleShader& shader) {
  shader.SetLight();
  return true;
}
