#pragma once
// The texture manager's implementation: a table of entries searched linearly by
// name (without regard to case), doubled when full; device work goes through an
// N_TextureDevice (the renderer in the game).
#include "render/TextureDevice.h"
#include "render/TextureMng.h"

#include <cstdint>
#include <memory>
#include <vector>

class N_TextureMngImpl final : public N_TextureMng {
 public:
  /// Longest name accepted; a longer one is a critical error.
  static constexpr std::size_t kMaxNameLength = 511;
  /// The texture every failed creation falls back to.
  static constexpr const char* kDefaultTexture = "data\\textures\\default.dds";

  /// A table of `capacity` free entries. Without a device the manager uses the
  /// renderer of the render module (see RendererTextureDevice).
  explicit N_TextureMngImpl(std::int32_t capacity, N_TextureDevice* device = nullptr);
  /// Releases every texture (a purge with all counts 0) and logs the total memory.
  ~N_TextureMngImpl() override;
  N_TextureMngImpl(const N_TextureMngImpl&) = delete;
  N_TextureMngImpl& operator=(const N_TextureMngImpl&) = delete;

  TexInfo* AddTexture(const char* name, std::uint32_t parameter, std::uint32_t kind) override;
  void ReleaseTexture(TexInfo* record) override;
  void ResetRefCounts() override;
  void PurgeTextures() override;
  std::uint32_t LoadLightmap(const char* name, TexInfo* record, std::uint32_t parameter) override;
  void ReleaseLightmap(TexInfo* record) override;
  TexInfo* FindTexture(const char* name) override;
  std::uint32_t LoadTexture(N_TextureEntry* entry) override;

  std::int32_t Capacity() const { return static_cast<std::int32_t>(m_entries.size()); }
  std::int32_t LiveCount() const { return m_liveCount; }
  /// Bytes of every creation asked for, fallbacks included; only grows.
  std::int64_t TotalMemory() const { return m_totalMemory; }
  /// The entry at a table index (tests and diagnostics); null past the end.
  const N_TextureEntry* Entry(std::int32_t index) const;

 private:
  /// Creates from "data\" + name + ".dds", else from the default texture with the
  /// same record; logs `errorFormat` with the name when the first try fails.
  std::uint32_t CreateWithFallback(const std::string& name, TexInfo* record, std::uint32_t parameter,
                                   bool lightmap);
  N_TextureEntry* FindEntry(const std::string& name);
  void Enlarge();

  std::vector<N_TextureEntry> m_entries;
  std::int32_t m_liveCount = 0;
  // Kept in 64 bits: a long session loads many levels and the sum only grows.
  std::int64_t m_totalMemory = 0;
  std::unique_ptr<N_TextureDevice> m_ownDevice;  ///< the renderer adapter when none was given
  N_TextureDevice* m_device;
};
