#include "platform/d3dx9/EffectProgram.h"

#include "platform/d3d9/gl/GlDevice.h"
#include "platform/d3d9/gl/GlResources.h"

#include <cstdlib>
#include <regex>
#include <sstream>

namespace platform::d3dx9 {

namespace {

constexpr std::size_t kMaxTextureUnits = 8;  ///< the device's texture stages

/// "#line" for a text whose next line is the file's line: before GLSL 3.30 the
/// directive names the line before the next one.
std::string LineDirective(int version, int nextLine) {
  return "#line " + std::to_string(version < 330 ? nextLine - 1 : nextLine) + "\n";
}

/// The program text with a "#version" first (120 when it has none) and a "#line" so
/// that the compiler counts lines as the effect file does.
std::string PlacedText(const EffectProgramText& program) {
  const std::string& text = program.text;
  std::size_t start = text.find_first_not_of(" \t\r\n");
  if (start != std::string::npos && text.compare(start, 8, "#version") == 0) {
    const std::size_t end = text.find('\n', start);
    int versionLine = program.firstLine;
    for (std::size_t i = 0; i < start; ++i) versionLine += text[i] == '\n';
    const std::string version = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::string rest = end == std::string::npos ? "" : text.substr(end + 1);
    return version + "\n" + LineDirective(std::atoi(version.c_str() + 8), versionLine + 1) + rest;
  }
  return "#version 120\n" + LineDirective(120, program.firstLine) + text;
}

/// The compiler's log as effect messages: "0:12(5): error: x" (Mesa) and
/// "0(12) : error x" become "file(12): error: x"; other lines are placed at the pass.
void AddCompilerLog(const std::string& log, const EffectSource& source, const EffectPass& pass,
                    EffectMessages& messages) {
  static const std::regex mesa(R"(^\s*\d+:(\d+)\(\d+\):\s*(.*)$)");
  static const std::regex other(R"(^\s*\d+\((\d+)\)\s*:\s*(.*)$)");
  std::istringstream lines(log);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    std::smatch match;
    std::string placed;
    if (std::regex_match(line, match, mesa) || std::regex_match(line, match, other)) {
      placed = source.fileName + "(" + match[1].str() + "): " + match[2].str();
    } else {
      placed = source.fileName + "(" + std::to_string(pass.line) + "): " + line;
    }
    messages.AddLine(placed, placed.find("error") != std::string::npos);
  }
  if (!messages.HasErrors()) messages.Error(pass.line, "the programs of pass '%s' do not compile", pass.name.c_str());
}

bool IsSampler(GLenum type) {
  return type == GL_SAMPLER_2D || type == GL_SAMPLER_CUBE || type == GL_SAMPLER_3D || type == GL_SAMPLER_1D;
}

bool IsValueType(GLenum type) {
  switch (type) {
    case GL_FLOAT:
    case GL_FLOAT_VEC2:
    case GL_FLOAT_VEC3:
    case GL_FLOAT_VEC4:
    case GL_FLOAT_MAT4:
    case GL_INT:
    case GL_BOOL: return true;
    default: return false;
  }
}

int ParameterNamed(const EffectSource& source, const std::string& name) {
  for (std::size_t i = 0; i < source.parameters.size(); ++i) {
    if (source.parameters[i].name == name) return int(i);
  }
  return -1;
}

}  // namespace

std::unique_ptr<EffectProgram> EffectProgram::Compile(IDirect3DDevice9* device, const EffectSource& source,
                                                      const EffectPass& pass, EffectMessages& messages) {
  auto* gl = dynamic_cast<d3d9::GlDevice*>(device);
  if (!gl || pass.vertexProgram < 0) return nullptr;
  const std::string vertex = PlacedText(source.programs[std::size_t(pass.vertexProgram)]);
  const std::string fragment =
      pass.fragmentProgram >= 0 ? PlacedText(source.programs[std::size_t(pass.fragmentProgram)]) : std::string();
  IDirect3DVertexShader9* shader = nullptr;
  std::string log;
  if (FAILED(gl->CreateProgram(vertex.c_str(), pass.fragmentProgram >= 0 ? fragment.c_str() : nullptr, &shader,
                               log))) {
    AddCompilerLog(log, source, pass, messages);
    return nullptr;
  }
  std::unique_ptr<EffectProgram> program(new EffectProgram(device, shader));
  program->FindUniforms(source, pass, messages);
  return program;
}

EffectProgram::~EffectProgram() {
  if (m_shader) m_shader->Release();
}

void EffectProgram::FindUniforms(const EffectSource& source, const EffectPass& pass, EffectMessages& messages) {
  auto* gl = static_cast<d3d9::GlDevice*>(m_device);
  if (!gl->MakeContextCurrent()) return;
  const GLuint program = static_cast<d3d9::GlVertexShader*>(m_shader)->Program();
  GLint previous = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
  glUseProgram(program);
  GLint count = 0;
  glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
  for (GLint i = 0; i < count; ++i) {
    char name[128] = {};
    GLint size = 0;
    GLenum type = 0;
    glGetActiveUniform(program, GLuint(i), sizeof name, nullptr, &size, &type, name);
    std::string uniform = name;
    if (uniform.compare(0, 3, "gl_") == 0 || uniform.compare(0, 5, "navo_") == 0) continue;
    if (const auto bracket = uniform.find('['); bracket != std::string::npos) uniform.resize(bracket);
    const int parameter = ParameterNamed(source, uniform);
    if (parameter < 0) {
      messages.Warning(pass.line, "uniform '%s' is not a parameter of the effect; it stays 0", uniform.c_str());
      continue;
    }
    const GLint location = glGetUniformLocation(program, name);
    if (IsSampler(type) && m_samplers.size() >= kMaxTextureUnits) {
      messages.Warning(pass.line, "texture '%s' is past the %u texture units; it is not bound", uniform.c_str(),
                       unsigned(kMaxTextureUnits));
    } else if (IsSampler(type)) {
      const auto unit = static_cast<DWORD>(m_samplers.size());
      glUniform1i(location, GLint(unit));
      m_samplers.push_back({std::size_t(parameter), unit});
    } else if (IsValueType(type)) {
      m_uniforms.push_back({std::size_t(parameter), location, type});
    } else {
      messages.Warning(pass.line, "uniform '%s' has a type effects do not set; it stays 0", uniform.c_str());
    }
  }
  glUseProgram(GLuint(previous));
}

void EffectProgram::Apply(IDirect3DDevice9* device, const std::vector<EffectValue>& values) const {
  for (const auto& sampler : m_samplers) {
    // A stage switched off ends the device's stage cascade: keep the units on.
    DWORD op = D3DTOP_DISABLE;
    device->GetTextureStageState(sampler.unit, D3DTSS_COLOROP, &op);
    if (op == D3DTOP_DISABLE) device->SetTextureStageState(sampler.unit, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTexture(sampler.unit, values[sampler.parameter].texture);
  }
  SetUniforms(values);
}

void EffectProgram::SetUniforms(const std::vector<EffectValue>& values) const {
  auto* gl = static_cast<d3d9::GlDevice*>(m_device);
  if (m_uniforms.empty() || !gl->MakeContextCurrent()) return;
  // The device binds programs at its draws; set the uniforms with this one in use
  // for a moment and leave GL's binding as the device knows it.
  GLint previous = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
  glUseProgram(static_cast<d3d9::GlVertexShader*>(m_shader)->Program());
  for (const auto& uniform : m_uniforms) {
    const float* v = values[uniform.parameter].floats.data();
    switch (uniform.type) {
      case GL_FLOAT: glUniform1fv(uniform.location, 1, v); break;
      case GL_FLOAT_VEC2: glUniform2fv(uniform.location, 1, v); break;
      case GL_FLOAT_VEC3: glUniform3fv(uniform.location, 1, v); break;
      case GL_FLOAT_VEC4: glUniform4fv(uniform.location, 1, v); break;
      case GL_FLOAT_MAT4: glUniformMatrix4fv(uniform.location, 1, GL_FALSE, v); break;
      default: glUniform1i(uniform.location, GLint(v[0])); break;  // int, bool
    }
  }
  glUseProgram(GLuint(previous));
}

}  // namespace platform::d3dx9
