#pragma once
// Inside the layer: an effect file as read, before anything is made on a device.
//
// The effect file format (HLSL cannot be compiled here, so effects are our own text):
//
//   // parameters: type, name, optional semantic, annotations and initial value
//   float4x4 WorldViewProj : WORLDVIEWPROJECTION;
//   float4 GlowColour = { 1.0, 0.6, 0.2, 1.0 };
//   texture GlowMap < string name = "textures\gear\glow"; string type = "2d"; >;
//
//   // GLSL programs by name; the text runs from the line after "{{" to a line "}}"
//   glsl GearVertex {{
//   #version 120
//   uniform mat4 WorldViewProj;
//   void main() { gl_Position = WorldViewProj * gl_Vertex; }
//   }}
//
//   technique TTextureOnly {
//     pass P0 {
//       CullMode = None;            // render states by their Direct3D names
//       VertexShader = GearVertex;  // a pass may also have no programs at all
//       PixelShader = TextureOnly;
//     }
//   }
//
// Types: bool, int, float, float2, float3, float4, float4x4, texture. Annotations are
// "string", "int", "float" or "bool" values between "<" and ">". A program reads a
// parameter through a uniform of the same name; a texture through a sampler uniform of
// the same name. Names of types, keywords, states and state values are compared
// without regard to case; parameter, program and technique names exactly.
#include "platform/d3d9.h"

#include <cstdarg>
#include <string>
#include <string_view>
#include <vector>

namespace platform::d3dx9 {

enum class EffectValueType { Bool, Int, Float, Float2, Float3, Float4, Float4x4, Texture, String };

/// Floats a value of the type holds (0 for textures and strings).
int FloatCount(EffectValueType type);

struct EffectAnnotation {
  std::string name;
  EffectValueType type = EffectValueType::String;
  std::string text;            ///< a string annotation's value
  std::vector<float> numbers;  ///< a numeric annotation's value
};

struct EffectParameter {
  std::string name;
  std::string semantic;  ///< empty when none was given
  EffectValueType type = EffectValueType::Float;
  std::vector<EffectAnnotation> annotations;
  std::vector<float> initial;  ///< FloatCount(type) values, zero unless initialised
  int line = 0;
};

struct EffectStateAssignment {
  D3DRENDERSTATETYPE state{};
  DWORD value = 0;
  int line = 0;
};

struct EffectPass {
  std::string name;
  std::vector<EffectAnnotation> annotations;
  std::vector<EffectStateAssignment> states;  ///< in file order, each state once
  int vertexProgram = -1;                     ///< index into the programs, -1 none
  int fragmentProgram = -1;
  int line = 0;
};

struct EffectTechnique {
  std::string name;
  std::vector<EffectAnnotation> annotations;
  std::vector<EffectPass> passes;
  int line = 0;
};

struct EffectProgramText {
  std::string name;
  std::string text;
  int firstLine = 0;  ///< file line of the text's first line
};

struct EffectSource {
  std::string fileName;
  std::vector<EffectParameter> parameters;
  std::vector<EffectProgramText> programs;
  std::vector<EffectTechnique> techniques;

  /// Whether a program of the technique names the identifier (a parameter's use).
  bool TechniqueUses(const EffectTechnique& technique, std::string_view identifier) const;
};

/// The compiler's messages, one a line: "file(line): error: text" or "... warning: ...".
class EffectMessages {
 public:
  explicit EffectMessages(std::string fileName) : m_fileName(std::move(fileName)) {}

  [[gnu::format(printf, 3, 4)]] void Error(int line, const char* format, ...);
  [[gnu::format(printf, 3, 4)]] void Warning(int line, const char* format, ...);
  /// A line as it stands (a message of the GLSL compiler, already placed); error
  /// counts it as an error.
  void AddLine(const std::string& line, bool error);

  bool HasErrors() const { return m_errors > 0; }
  const std::string& Text() const { return m_text; }
  const std::string& FileName() const { return m_fileName; }

 private:
  void Add(int line, const char* kind, const char* format, va_list args);

  std::string m_fileName;
  std::string m_text;
  int m_errors = 0;
};

/// Reads an effect file's text. Stops at the first error (the result is then partial);
/// warnings do not stop it.
EffectSource ParseEffect(std::string_view text, EffectMessages& messages);

}  // namespace platform::d3dx9
