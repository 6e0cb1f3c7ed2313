#pragma once
// A shader host that stands in for the texture manager and the renderer: it keeps a
// reference count per texture name and records every call, so tests can see which
// textures a material asked for, with which parameter, and what it gave back. Freed
// shaders are forgotten by the render-state cache as well, as with the game's host.
#include "render/Shader.h"
#include "render/ShaderHost.h"
#include "render/TexInfo.h"
#include "tests/support/TestEnv.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace test {

class FakeShaderHost final : public N_ShaderHost {
 public:
  struct Texture {
    TexInfo record;
    int refs = 0;
  };
  struct AddCall {
    std::string name;
    std::uint32_t parameter;
    std::uint32_t kind;
  };

  TexInfo* AddTexture(const char* name, std::uint32_t parameter, std::uint32_t kind) override;
  void ReleaseTexture(TexInfo* record) override;
  ID3DXEffect* CreateEffect(const char* fileName) override;
  void DestroyEffect(ID3DXEffect** effect) override;
  void ForgetShader(const N_Shader* shader) override;

  /// The name a record was handed out for ("" for null or a foreign record).
  std::string NameOf(const TexInfo* record) const;
  /// References still held on the name (compared as given).
  int Refs(const std::string& name) const;
  /// Sum of all references still held.
  int TotalRefs() const;

  std::vector<AddCall> adds;
  std::vector<std::string> effects;      ///< files asked of CreateEffect
  int destroyedEffects = 0;
  /// What CreateEffect hands out: the address of the file's entry (never dereferenced).
  std::map<std::string, int> effectTokens;
  std::vector<const N_Shader*> forgotten;

 private:
  /// One record per name (compared as given), at a fixed address.
  std::map<std::string, std::unique_ptr<Texture>> m_textures;
};

/// A test's working directory with the core services behind the globals.
struct ShaderTestEnv {
  TempDir dir;
  CoreServices core;

  /// The log so far (reports are its "*** " lines).
  std::string Log() const { return core.LogText(); }
  /// How often the text occurs in the log.
  int Count(const std::string& text) const;
};

/// Writes the script as "data/scripts/<file>" below the current directory.
void WriteScript(const TempDir& dir, const std::string& file, const std::string& text);

}  // namespace test
