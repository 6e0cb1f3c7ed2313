#pragma once
// A texture device for manager tests: "files" are paths with a byte size; every call
// is recorded. Creation behaves as the renderer's: texture 0 at the start, a fresh
// handle on success.
#include "render/TextureDevice.h"

#include <map>
#include <string>
#include <vector>

namespace test {

class FakeTextureDevice final : public N_TextureDevice {
 public:
  std::uint32_t CreateTexture(const char* path, TexInfo* record, std::uint32_t parameter) override {
    created.push_back(path);
    parameters.push_back(parameter);
    record->texture = 0;
    const auto it = files.find(path);
    if (it == files.end()) return 0;
    record->texture = nextHandle++;
    record->memory = it->second;
    return it->second;
  }
  void ReleaseTexture(TexInfo* record) override { released.push_back(record->texture); }
  void LoadEffectTextures() override { ++effectBinds; }

  std::map<std::string, std::uint32_t> files{{"data\\textures\\default.dds", 8}};
  std::vector<std::string> created;
  std::vector<std::uint32_t> parameters;
  std::vector<std::int32_t> released;
  int effectBinds = 0;
  std::int32_t nextHandle = 1;
};

}  // namespace test
