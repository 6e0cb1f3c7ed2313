#include "tests/render/ShaderTestSupport.h"

#include "render/RenderStateCache.h"

namespace test {

TexInfo* FakeShaderHost::AddTexture(const char* name, std::uint32_t parameter, std::uint32_t kind) {
  adds.push_back({name, parameter, kind});
  auto& texture = m_textures[name];
  if (!texture) texture = std::make_unique<Texture>();
  texture->record.kind = kind;
  ++texture->refs;
  return &texture->record;
}

void FakeShaderHost::ReleaseTexture(TexInfo* record) {
  for (auto& [name, texture] : m_textures) {
    if (&texture->record == record && texture->refs > 0) --texture->refs;
  }
}

ID3DXEffect* FakeShaderHost::CreateEffect(const char* fileName) {
  effects.emplace_back(fileName);
  // A stand-in that is never used as an effect: one per file, so callers can tell them apart.
  return reinterpret_cast<ID3DXEffect*>(&effectTokens[std::string(fileName)]);
}

void FakeShaderHost::DestroyEffect(ID3DXEffect** effect) {
  ++destroyedEffects;
  *effect = nullptr;
}

void FakeShaderHost::ForgetShader(const N_Shader* shader) {
  forgotten.push_back(shader);
  g_renderStateCache.ForgetShader(shader);  // as the game's host does: a freed record is never bound
}

std::string FakeShaderHost::NameOf(const TexInfo* record) const {
  for (const auto& [name, texture] : m_textures) {
    if (&texture->record == record) return name;
  }
  return {};
}

int FakeShaderHost::Refs(const std::string& name) const {
  const auto it = m_textures.find(name);
  return it == m_textures.end() ? 0 : it->second->refs;
}

int FakeShaderHost::TotalRefs() const {
  int total = 0;
  for (const auto& [name, texture] : m_textures) total += texture->refs;
  return total;
}

int ShaderTestEnv::Count(const std::string& text) const {
  const std::string log = Log();
  int count = 0;
  for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + text.size())) ++count;
  return count;
}

void WriteScript(const TempDir& dir, const std::string& file, const std::string& text) {
  dir.Write("data/scripts/" + file, text);
}

}  // namespace test
