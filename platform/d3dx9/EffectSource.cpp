#include "platform/d3dx9/EffectSource.h"

#include "platform/d3dx9/EffectLexer.h"
#include "platform/d3dx9/EffectStates.h"
#include "platform/win32/Files.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <optional>

namespace platform::d3dx9 {

namespace {

struct TypeName {
  std::string_view name;
  EffectValueType type;
};

constexpr std::array kParameterTypes{
    TypeName{"bool", EffectValueType::Bool},         TypeName{"int", EffectValueType::Int},
    TypeName{"float", EffectValueType::Float},       TypeName{"float2", EffectValueType::Float2},
    TypeName{"float3", EffectValueType::Float3},     TypeName{"float4", EffectValueType::Float4},
    TypeName{"float4x4", EffectValueType::Float4x4}, TypeName{"texture", EffectValueType::Texture},
};

constexpr std::array kAnnotationTypes{
    TypeName{"string", EffectValueType::String},
    TypeName{"int", EffectValueType::Int},
    TypeName{"float", EffectValueType::Float},
    TypeName{"bool", EffectValueType::Bool},
};

template <std::size_t N>
std::optional<EffectValueType> FindType(const std::array<TypeName, N>& table, std::string_view name) {
  for (const auto& entry : table) {
    if (EqualsNoCase(entry.name, name)) return entry.type;
  }
  return std::nullopt;
}

bool IsIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

/// A program reference of a pass, resolved once every program is known.
struct ProgramReference {
  std::size_t technique;
  std::size_t pass;
  bool fragment;
  std::string name;
  int line;
};

/// Reads one effect file; stops at the first error.
class EffectParser {
 public:
  EffectParser(std::string_view text, EffectMessages& messages) : m_lexer(text), m_messages(messages) {}

  EffectSource Parse();

 private:
  EffectToken Take();
  const EffectToken& Look();
  bool Fail(int line, const std::string& what);
  bool Expect(const char* symbol);
  bool ExpectName(const char* what, std::string& name);
  bool IsSymbol(const EffectToken& token, const char* symbol) const {
    return token.kind == EffectTokenKind::Symbol && token.text == symbol;
  }

  bool ReadTopLevel();
  bool ReadParameter(EffectValueType type, int line);
  bool ReadInitialValue(EffectParameter& parameter);
  bool ReadNumbers(std::vector<float>& numbers, bool allowBool);
  bool ReadAnnotations(std::vector<EffectAnnotation>& annotations);
  bool ReadAnnotation(std::vector<EffectAnnotation>& annotations);
  bool ReadProgram();
  bool ReadTechnique();
  bool ReadPass(EffectTechnique& technique);
  bool ReadAssignment(EffectPass& pass);
  bool ReadStateValue(const EffectStateName& state, EffectPass& pass, int line);
  void ResolvePrograms();

  EffectLexer m_lexer;
  EffectMessages& m_messages;
  EffectToken m_look;
  bool m_hasLook = false;
  bool m_failed = false;
  EffectSource m_source;
  std::vector<ProgramReference> m_references;
};

EffectToken EffectParser::Take() {
  if (m_hasLook) {
    m_hasLook = false;
    return std::move(m_look);
  }
  return m_lexer.Next();
}

const EffectToken& EffectParser::Look() {
  if (!m_hasLook) {
    m_look = m_lexer.Next();
    m_hasLook = true;
  }
  return m_look;
}

bool EffectParser::Fail(int line, const std::string& what) {
  if (!m_failed) m_messages.Error(line, "%s", what.c_str());
  m_failed = true;
  return false;
}

bool EffectParser::Expect(const char* symbol) {
  const EffectToken token = Take();
  if (token.kind == EffectTokenKind::Bad) return Fail(token.line, token.text);
  if (IsSymbol(token, symbol)) return true;
  const std::string found = token.kind == EffectTokenKind::End ? "the end of the file" : "'" + token.text + "'";
  return Fail(token.line, std::string("'") + symbol + "' expected, found " + found);
}

bool EffectParser::ExpectName(const char* what, std::string& name) {
  const EffectToken token = Take();
  if (token.kind == EffectTokenKind::Bad) return Fail(token.line, token.text);
  if (token.kind != EffectTokenKind::Identifier) return Fail(token.line, std::string(what) + " expected");
  name = token.text;
  return true;
}

EffectSource EffectParser::Parse() {
  while (!m_failed && Look().kind != EffectTokenKind::End) {
    if (!ReadTopLevel()) break;
  }
  if (!m_failed) ResolvePrograms();
  return std::move(m_source);
}

bool EffectParser::ReadTopLevel() {
  const EffectToken token = Take();
  if (token.kind == EffectTokenKind::Bad) return Fail(token.line, token.text);
  if (token.kind != EffectTokenKind::Identifier) {
    return Fail(token.line, "a parameter, 'glsl' or 'technique' expected, found '" + token.text + "'");
  }
  if (EqualsNoCase(token.text, "technique")) return ReadTechnique();
  if (EqualsNoCase(token.text, "glsl")) return ReadProgram();
  const auto type = FindType(kParameterTypes, token.text);
  if (!type) return Fail(token.line, "unknown type '" + token.text + "'");
  return ReadParameter(*type, token.line);
}

bool EffectParser::ReadParameter(EffectValueType type, int line) {
  EffectParameter parameter;
  parameter.type = type;
  parameter.line = line;
  parameter.initial.assign(std::size_t(FloatCount(type)), 0.0f);
  if (!ExpectName("parameter name", parameter.name)) return false;
  for (const auto& other : m_source.parameters) {
    if (other.name == parameter.name) return Fail(line, "parameter '" + parameter.name + "' declared twice");
  }
  if (IsSymbol(Look(), ":")) {
    Take();
    if (!ExpectName("semantic", parameter.semantic)) return false;
  }
  if (IsSymbol(Look(), "<") && (Take(), !ReadAnnotations(parameter.annotations))) return false;
  if (IsSymbol(Look(), "=")) {
    Take();
    if (type == EffectValueType::Texture) return Fail(line, "a texture takes no initial value");
    if (!ReadInitialValue(parameter)) return false;
  }
  if (!Expect(";")) return false;
  m_source.parameters.push_back(std::move(parameter));
  return true;
}

bool EffectParser::ReadInitialValue(EffectParameter& parameter) {
  std::vector<float> numbers;
  const int line = Look().line;
  if (!ReadNumbers(numbers, parameter.type == EffectValueType::Bool)) return false;
  if (numbers.size() != parameter.initial.size()) {
    return Fail(line, "'" + parameter.name + "' needs " + std::to_string(parameter.initial.size()) + " values, " +
                          std::to_string(numbers.size()) + " given");
  }
  parameter.initial = std::move(numbers);
  return true;
}

bool EffectParser::ReadNumbers(std::vector<float>& numbers, bool allowBool) {
  const bool list = IsSymbol(Look(), "{");
  if (list) Take();
  while (true) {
    const EffectToken token = Take();
    if (token.kind == EffectTokenKind::Bad) return Fail(token.line, token.text);
    if (token.kind == EffectTokenKind::Number) {
      numbers.push_back(static_cast<float>(token.number));
    } else if (allowBool && token.kind == EffectTokenKind::Identifier &&
               (EqualsNoCase(token.text, "true") || EqualsNoCase(token.text, "false"))) {
      numbers.push_back(EqualsNoCase(token.text, "true") ? 1.0f : 0.0f);
    } else {
      return Fail(token.line, "a number expected, found '" + token.text + "'");
    }
    if (!list) return true;
    if (IsSymbol(Look(), "}")) {
      Take();
      return true;
    }
    if (!Expect(",")) return false;
  }
}

bool EffectParser::ReadAnnotations(std::vector<EffectAnnotation>& annotations) {
  while (!IsSymbol(Look(), ">")) {
    if (Look().kind == EffectTokenKind::End) return Fail(Look().line, "'>' expected, found the end of the file");
    if (!ReadAnnotation(annotations)) return false;
  }
  Take();
  return true;
}

bool EffectParser::ReadAnnotation(std::vector<EffectAnnotation>& annotations) {
  const EffectToken typeToken = Take();
  if (typeToken.kind == EffectTokenKind::Bad) return Fail(typeToken.line, typeToken.text);
  const auto type = typeToken.kind == EffectTokenKind::Identifier ? FindType(kAnnotationTypes, typeToken.text)
                                                                   : std::nullopt;
  if (!type) return Fail(typeToken.line, "annotation type (string, int, float, bool) expected");
  EffectAnnotation annotation;
  annotation.type = *type;
  if (!ExpectName("annotation name", annotation.name) || !Expect("=")) return false;
  if (*type == EffectValueType::String) {
    const EffectToken value = Take();
    if (value.kind == EffectTokenKind::Bad) return Fail(value.line, value.text);
    if (value.kind != EffectTokenKind::String) return Fail(value.line, "a string in double quotes expected");
    annotation.text = value.text;
  } else if (!ReadNumbers(annotation.numbers, *type == EffectValueType::Bool)) {
    return false;
  }
  if (!Expect(";")) return false;
  annotations.push_back(std::move(annotation));
  return true;
}

bool EffectParser::ReadProgram() {
  EffectProgramText program;
  if (!ExpectName("program name", program.name)) return false;
  for (const auto& other : m_source.programs) {
    if (other.name == program.name) return Fail(m_lexer.Line(), "program '" + program.name + "' declared twice");
  }
  if (m_hasLook) return Fail(m_look.line, "'{{' expected after the program name");
  EffectToken block;
  if (!m_lexer.NextBlock(block)) return Fail(Look().line, "'{{' expected after the program name");
  if (block.kind == EffectTokenKind::Bad) return Fail(block.line, block.text);
  program.text = std::move(block.text);
  program.firstLine = block.line;
  m_source.programs.push_back(std::move(program));
  return true;
}

bool EffectParser::ReadTechnique() {
  EffectTechnique technique;
  technique.line = Look().line;
  if (!ExpectName("technique name", technique.name)) return false;
  for (const auto& other : m_source.techniques) {
    if (other.name == technique.name) return Fail(technique.line, "technique '" + technique.name + "' declared twice");
  }
  if (IsSymbol(Look(), "<") && (Take(), !ReadAnnotations(technique.annotations))) return false;
  if (!Expect("{")) return false;
  m_source.techniques.push_back(std::move(technique));
  EffectTechnique& added = m_source.techniques.back();
  while (!IsSymbol(Look(), "}")) {
    const EffectToken token = Take();
    if (token.kind == EffectTokenKind::Bad) return Fail(token.line, token.text);
    if (token.kind != EffectTokenKind::Identifier || !EqualsNoCase(token.text, "pass")) {
      const std::string found = token.kind == EffectTokenKind::End ? "the end of the file" : "'" + token.text + "'";
      return Fail(token.line, "'pass' or '}' expected, found " + found);
    }
    if (!ReadPass(added)) return false;
  }
  Take();
  return true;
}

bool EffectParser::ReadPass(EffectTechnique& technique) {
  EffectPass pass;
  pass.line = Look().line;
  if (Look().kind == EffectTokenKind::Identifier) pass.name = Take().text;
  if (IsSymbol(Look(), "<") && (Take(), !ReadAnnotations(pass.annotations))) return false;
  if (!Expect("{")) return false;
  technique.passes.push_back(std::move(pass));
  while (!IsSymbol(Look(), "}")) {
    if (Look().kind == EffectTokenKind::End) return Fail(Look().line, "'}' expected, found the end of the file");
    if (!ReadAssignment(technique.passes.back())) return false;
  }
  Take();
  return true;
}

bool EffectParser::ReadAssignment(EffectPass& pass) {
  const EffectToken name = Take();
  if (name.kind == EffectTokenKind::Bad) return Fail(name.line, name.text);
  if (name.kind != EffectTokenKind::Identifier) return Fail(name.line, "a state name expected, found '" + name.text + "'");
  if (!Expect("=")) return false;
  const bool vertex = EqualsNoCase(name.text, "VertexShader");
  if (vertex || EqualsNoCase(name.text, "PixelShader")) {
    std::string program;
    if (!ExpectName("program name", program) || !Expect(";")) return false;
    m_references.push_back({m_source.techniques.size() - 1, m_source.techniques.back().passes.size() - 1, !vertex,
                            program, name.line});
    return true;
  }
  const EffectStateName* state = FindEffectState(name.text);
  if (!state) return Fail(name.line, "unknown render state '" + name.text + "'");
  return ReadStateValue(*state, pass, name.line) && Expect(";");
}

bool EffectParser::ReadStateValue(const EffectStateName& state, EffectPass& pass, int line) {
  const EffectToken value = Take();
  DWORD number = 0;
  if (value.kind == EffectTokenKind::Number && value.integral && value.number >= 0.0 && value.number <= 4294967295.0) {
    number = static_cast<DWORD>(value.number);
  } else if (value.kind == EffectTokenKind::Identifier) {
    const auto named = FindEffectStateValue(state.value, value.text);
    if (!named) {
      return Fail(value.line, "'" + value.text + "' is not a value of " + std::string(state.name));
    }
    number = *named;
  } else {
    return Fail(value.line, "a value of " + std::string(state.name) + " expected");
  }
  for (auto& earlier : pass.states) {
    if (earlier.state == state.state) {
      m_messages.Warning(line, "%.*s set twice in one pass; the last value holds", int(state.name.size()),
                         state.name.data());
      earlier.value = number;
      return true;
    }
  }
  pass.states.push_back({state.state, number, line});
  return true;
}

void EffectParser::ResolvePrograms() {
  for (const auto& reference : m_references) {
    int index = -1;
    for (std::size_t i = 0; i < m_source.programs.size(); ++i) {
      if (m_source.programs[i].name == reference.name) index = int(i);
    }
    if (index < 0) {
      Fail(reference.line, "unknown program '" + reference.name + "'");
      return;
    }
    EffectPass& pass = m_source.techniques[reference.technique].passes[reference.pass];
    (reference.fragment ? pass.fragmentProgram : pass.vertexProgram) = index;
  }
  for (const auto& technique : m_source.techniques) {
    for (const auto& pass : technique.passes) {
      if (pass.fragmentProgram >= 0 && pass.vertexProgram < 0) {
        Fail(pass.line, "a pass with a PixelShader needs a VertexShader");
        return;
      }
    }
  }
}

}  // namespace

int FloatCount(EffectValueType type) {
  switch (type) {
    case EffectValueType::Bool:
    case EffectValueType::Int:
    case EffectValueType::Float: return 1;
    case EffectValueType::Float2: return 2;
    case EffectValueType::Float3: return 3;
    case EffectValueType::Float4: return 4;
    case EffectValueType::Float4x4: return 16;
    default: return 0;
  }
}

bool EffectSource::TechniqueUses(const EffectTechnique& technique, std::string_view identifier) const {
  auto names = [&](int program) {
    if (program < 0 || identifier.empty()) return false;
    const std::string& text = programs[std::size_t(program)].text;
    for (std::size_t at = text.find(identifier); at != std::string::npos; at = text.find(identifier, at + 1)) {
      const bool startOk = at == 0 || !IsIdentifierChar(text[at - 1]);
      const std::size_t end = at + identifier.size();
      if (startOk && (end == text.size() || !IsIdentifierChar(text[end]))) return true;
    }
    return false;
  };
  for (const auto& pass : technique.passes) {
    if (names(pass.vertexProgram) || names(pass.fragmentProgram)) return true;
  }
  return false;
}

void EffectMessages::Add(int line, const char* kind, const char* format, va_list args) {
  char text[512];
  std::vsnprintf(text, sizeof text, format, args);
  m_text += m_fileName + "(" + std::to_string(line) + "): " + kind + ": " + text + "\n";
}

void EffectMessages::Error(int line, const char* format, ...) {
  va_list args;
  va_start(args, format);
  Add(line, "error", format, args);
  va_end(args);
  ++m_errors;
}

void EffectMessages::Warning(int line, const char* format, ...) {
  va_list args;
  va_start(args, format);
  Add(line, "warning", format, args);
  va_end(args);
}

void EffectMessages::AddLine(const std::string& line, bool error) {
  m_text += line + "\n";
  if (error) ++m_errors;
}

EffectSource ParseEffect(std::string_view text, EffectMessages& messages) {
  EffectParser parser(text, messages);
  EffectSource source = parser.Parse();
  source.fileName = messages.FileName();
  return source;
}

}  // namespace platform::d3dx9
