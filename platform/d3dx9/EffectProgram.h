#pragma once
// Inside the layer: the GLSL programs of one effect pass on the OpenGL device. The
// pass's vertex and fragment program are linked into one program that binds like a
// vertex shader; each parameter reaches the uniform of its name, each texture
// parameter the sampler uniform of its name on a texture unit of its own (0, 1, ...
// in the program's order of uniforms).
#include "platform/d3dx9/EffectSource.h"

#include <array>
#include <memory>
#include <vector>

namespace platform::d3dx9 {

/// A parameter's value: up to 16 floats (bools and ints as floats), or a texture
/// (a held reference).
struct EffectValue {
  std::array<float, 16> floats{};
  IDirect3DBaseTexture9* texture = nullptr;
};

class EffectProgram {
 public:
  /// Compiles the pass's programs. Null without a message on a device other than the
  /// OpenGL one and for a pass without programs; null with errors in messages when
  /// the programs do not compile or link (the lines of the compiler's messages are
  /// those of the effect file).
  static std::unique_ptr<EffectProgram> Compile(IDirect3DDevice9* device, const EffectSource& source,
                                                const EffectPass& pass, EffectMessages& messages);
  ~EffectProgram();
  EffectProgram(const EffectProgram&) = delete;
  EffectProgram& operator=(const EffectProgram&) = delete;

  IDirect3DVertexShader9* Shader() const { return m_shader; }
  /// Texture units the pass uses: 0 to TextureUnits() - 1.
  DWORD TextureUnits() const { return static_cast<DWORD>(m_samplers.size()); }
  /// Binds the textures on the device and hands the values to the uniforms. Call
  /// with the program bound on the device (after SetVertexShader(Shader())).
  void Apply(IDirect3DDevice9* device, const std::vector<EffectValue>& values) const;

 private:
  struct Uniform {
    std::size_t parameter;
    int location;
    unsigned type;  ///< the GL type of the uniform
  };
  struct Sampler {
    std::size_t parameter;
    DWORD unit;
  };

  EffectProgram(IDirect3DDevice9* device, IDirect3DVertexShader9* shader) : m_device(device), m_shader(shader) {}
  void FindUniforms(const EffectSource& source, const EffectPass& pass, EffectMessages& messages);
  void SetUniforms(const std::vector<EffectValue>& values) const;

  IDirect3DDevice9* m_device;  ///< not held: the effect holds the device
  IDirect3DVertexShader9* m_shader;
  std::vector<Uniform> m_uniforms;
  std::vector<Sampler> m_samplers;
};

}  // namespace platform::d3dx9
