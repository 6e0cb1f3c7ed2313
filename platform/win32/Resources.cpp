#include "platform/win32/Resources.h"

#include <map>
#include <utility>

namespace platform {
namespace {

/// Built on first use: registrations run during static initialisation.
std::map<std::pair<std::uint32_t, std::uint32_t>, std::span<const std::uint8_t>>& Table() {
  static std::map<std::pair<std::uint32_t, std::uint32_t>, std::span<const std::uint8_t>> table;
  return table;
}

}  // namespace

void RegisterResource(std::uint32_t type, std::uint32_t id, std::span<const std::uint8_t> bytes) {
  Table()[{type, id}] = bytes;
}

std::span<const std::uint8_t> FindResourceBytes(std::uint32_t type, std::uint32_t id) {
  const auto it = Table().find({type, id});
  return it == Table().end() ? std::span<const std::uint8_t>{} : it->second;
}

}  // namespace platform
