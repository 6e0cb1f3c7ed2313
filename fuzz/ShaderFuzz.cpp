// The shader scripts, with their IFL animations and animmap frame lists: the manager
// reads the script for every block name it holds, then runs the shutdown cycle, which
// must give every texture reference back. The input is the script; a line "//ifl"
// starts the text of "data\fuzz.ifl", the IFL file a script may name.
#include "core/Tokenizer.h"
#include "fuzz/FuzzSupport.h"
#include "render/ShaderHost.h"
#include "render/ShaderMng.h"
#include "render/TexInfo.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

/// Stands in for the texture manager and the renderer: one record per texture name,
/// with the references the materials hold on it.
class CountingHost final : public N_ShaderHost {
 public:
  TexInfo* AddTexture(const char* name, std::uint32_t, std::uint32_t kind) override {
    Entry& entry = m_textures[name];
    entry.record.kind = kind;
    ++entry.refs;
    return &entry.record;
  }
  void ReleaseTexture(TexInfo* record) override {
    for (auto& [name, entry] : m_textures) {
      if (&entry.record != record) continue;
      fuzz::Check(entry.refs > 0, "a texture given back more often than taken");
      --entry.refs;
    }
  }
  ID3DXEffect* CreateEffect(const char* fileName) override {
    // Never used as an effect: a distinct address per file, counted like a texture.
    Entry& entry = m_effects[fileName];
    ++entry.refs;
    return reinterpret_cast<ID3DXEffect*>(&entry);
  }
  void DestroyEffect(ID3DXEffect** effect) override {
    for (auto& [name, entry] : m_effects) {
      if (reinterpret_cast<ID3DXEffect*>(&entry) == *effect) --entry.refs;
    }
    *effect = nullptr;
  }
  void ForgetShader(const N_Shader*) override {}

  int HeldReferences() const {
    int held = 0;
    for (const auto& [name, entry] : m_textures) held += entry.refs;
    for (const auto& [name, entry] : m_effects) held += entry.refs;
    return held;
  }

 private:
  struct Entry {
    TexInfo record;
    int refs = 0;
  };
  std::map<std::string, Entry> m_textures;
  std::map<std::string, Entry> m_effects;
};

/// The names the script gives its blocks: every token followed by "{" (at most 64).
std::vector<std::string> BlockNames(const std::string& script) {
  std::vector<std::string> names;
  N_Tokenizer tok;
  tok.OpenBuffer(script.data(), script.size());
  std::string previous;
  while (const char* token = tok.NextToken(true)) {
    if (std::strcmp(token, "{") == 0 && !previous.empty() && names.size() < 64) names.push_back(previous);
    previous = token;
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  constexpr std::string_view kIflMark = "//ifl\n";
  const std::size_t mark = input.find(kIflMark);
  const std::string script(input.substr(0, mark));
  fuzz::WriteFile("data\\scripts\\fuzz.shader", script);
  fuzz::WriteFile("data\\fuzz.ifl", mark == std::string_view::npos ? std::string_view() : input.substr(mark + kIflMark.size()));

  CountingHost host;
  fuzz::Guarded([&] {
    N_ShaderMng shaders(4, host);
    int type = 0;
    for (const std::string& name : BlockNames(script)) {
      shaders.AddShader(name.c_str(), 0, (type++ & 1) ? N_ShaderMng::kType2D : 0);
    }
    shaders.AddShader("not in the script", 0, 0);
    shaders.LoadShaders();
    // The world's shutdown: no references left, the next load frees every entry.
    shaders.ResetRefCounts();
    shaders.LoadShaders();
    fuzz::Check(shaders.Count() == 0, "entries left after the shutdown cycle");
  });
  fuzz::Check(host.HeldReferences() == 0, "texture or effect references kept after the shutdown cycle");
  return 0;
}
