#pragma once
// What vertex and index buffers share: lock, copy, bind, and the release and restore
// of a dynamic buffer's device copy around a device reset. The renderer's factories
// (N_Render::Create*/Destroy*) make and delete them.
#include <cstdint>

/// Lock flags of a whole-buffer lock: always NOSYSLOCK (0x800); reading adds READONLY and
/// NOOVERWRITE (0x1810); discard adds DISCARD (0x2800, 0x3810).
constexpr std::uint32_t ResourceLockFlags(bool write, bool discard) {
  std::uint32_t flags = write ? 0x800u : 0x1810u;
  if (discard) flags |= 0x2000u;
  return flags;
}

class N_RenderResource {
 public:
  virtual ~N_RenderResource() = default;

  /// Locks the whole buffer; null when there is no device buffer.
  virtual void* Lock(bool write, bool discard) = 0;
  virtual void Unlock() = 0;
  virtual bool IsLocked() const = 0;
  /// Copies data into [offset, offset + size); discard on a dynamic buffer's refill.
  virtual void Write(std::uint32_t offset, std::uint32_t size, const void* data, bool discard) = 0;
  virtual void Read(std::uint32_t offset, std::uint32_t size, void* out) = 0;
  virtual void Bind() = 0;
  /// Dynamic buffers only: give the device copy back before a device reset.
  virtual void ReleaseDeviceBuffer() = 0;
  /// Dynamic buffers only: make the device copy again after a reset (its content is
  /// not restored: the owner writes it again).
  virtual void Restore() = 0;
};
