#pragma once
// A vertex buffer: kind 2 is dynamic (default pool, released and remade around a device
// reset), any other kind static (managed pool, kept across a reset).
#include "platform/d3d9.h"
#include "render/RenderResource.h"

class N_VertexBuffer : public N_RenderResource {
 public:
  static constexpr std::uint32_t kDynamic = 2;

  /// Logs and makes no device buffer when stride or count is 0, when stride x count
  /// does not fit in 32 bits, or when the device refuses.
  N_VertexBuffer(IDirect3DDevice9* device, std::uint32_t stride, std::uint32_t count, std::uint32_t kind);
  ~N_VertexBuffer() override;
  N_VertexBuffer(const N_VertexBuffer&) = delete;
  N_VertexBuffer& operator=(const N_VertexBuffer&) = delete;

  void* Lock(bool write, bool discard) override;
  void Unlock() override;
  bool IsLocked() const override { return m_locked; }
  /// Copies size / 4 whole 32-bit words (a size not a multiple of 4 loses its last bytes).
  void Write(std::uint32_t offset, std::uint32_t size, const void* data, bool discard) override;
  void Read(std::uint32_t offset, std::uint32_t size, void* out) override;
  /// Stream 0, offset 0, this buffer's stride.
  void Bind() override;
  void ReleaseDeviceBuffer() override;
  void Restore() override;

  std::uint32_t GetStride() const { return m_stride; }
  std::uint32_t GetSize() const { return m_size; }
  std::uint32_t GetUsage() const { return m_usage; }
  IDirect3DVertexBuffer9* DeviceBuffer() const { return m_buffer; }

 private:
  std::uint32_t m_usage = 0;
  std::uint32_t m_size = 0;    ///< bytes = stride x count
  std::uint32_t m_stride = 0;
  bool m_locked = false;
  IDirect3DVertexBuffer9* m_buffer = nullptr;  ///< owned; null when none
  IDirect3DDevice9* m_device;                  ///< not owned
};
