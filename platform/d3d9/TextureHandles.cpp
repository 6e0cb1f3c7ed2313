// The texture handle table: small positive ids for 32-bit engine records.
#include "platform/d3d9.h"
#include "platform/d3d9/CpuTextures.h"

#include <set>
#include <vector>

namespace platform {
namespace {

struct HandleTable {
  std::vector<IDirect3DBaseTexture9*> slots{nullptr};  ///< slot 0 is never used
  std::set<std::int32_t> freeIds;                      ///< released ids below slots.size()
};

HandleTable& Table() {
  static HandleTable table;
  return table;
}

}  // namespace

std::int32_t TextureHandleOf(IDirect3DBaseTexture9* texture) {
  if (!texture) return 0;
  auto* core = dynamic_cast<d3d9::TextureCore*>(texture);
  return core ? core->Handle() : 0;
}

IDirect3DBaseTexture9* TextureFromHandle(std::int32_t handle) {
  HandleTable& table = Table();
  if (handle <= 0 || std::size_t(handle) >= table.slots.size()) return nullptr;
  return table.slots[std::size_t(handle)];
}

namespace d3d9 {

void TextureHandleSlot::Assign(IDirect3DBaseTexture9* texture) {
  HandleTable& table = Table();
  if (!table.freeIds.empty()) {
    m_handle = *table.freeIds.begin();
    table.freeIds.erase(table.freeIds.begin());
    table.slots[std::size_t(m_handle)] = texture;
    return;
  }
  m_handle = std::int32_t(table.slots.size());
  table.slots.push_back(texture);
}

TextureHandleSlot::~TextureHandleSlot() {
  if (m_handle <= 0) return;
  HandleTable& table = Table();
  table.slots[std::size_t(m_handle)] = nullptr;
  table.freeIds.insert(m_handle);
}

}  // namespace d3d9
}  // namespace platform
