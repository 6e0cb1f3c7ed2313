#pragma once
// The program's own resources (the picture resources a Windows program carries in
// its executable). Here they are byte arrays compiled into the program that register
// themselves at start-up by type and numeric identifier.
#include <cstddef>
#include <cstdint>
#include <span>

/// The resource type of raw data.
constexpr std::uint32_t kResourceTypeRcData = 10;

namespace platform {

/// Registers bytes that live as long as the program; a second registration of the
/// same type and identifier replaces the first.
void RegisterResource(std::uint32_t type, std::uint32_t id, std::span<const std::uint8_t> bytes);
/// The bytes of a resource; empty when there is none.
std::span<const std::uint8_t> FindResourceBytes(std::uint32_t type, std::uint32_t id);

/// Registers a resource when constructed (a static object next to the bytes).
struct ResourceRegistration {
  ResourceRegistration(std::uint32_t type, std::uint32_t id, const unsigned char* bytes, std::size_t size) {
    RegisterResource(type, id, {bytes, size});
  }
};

}  // namespace platform
