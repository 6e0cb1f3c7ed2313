#pragma once
// An index buffer of 16-bit (format 101) or 32-bit (format 102) indices; kinds as for
// vertex buffers.
#include "platform/d3d9.h"
#include "render/RenderResource.h"

class N_IndexBuffer : public N_RenderResource {
 public:
  N_IndexBuffer(IDirect3DDevice9* device, std::uint32_t format, std::uint32_t count, std::uint32_t kind);
  ~N_IndexBuffer() override;
  N_IndexBuffer(const N_IndexBuffer&) = delete;
  N_IndexBuffer& operator=(const N_IndexBuffer&) = delete;

  void* Lock(bool write, bool discard) override;
  void Unlock() override;
  bool IsLocked() const override { return m_locked; }
  /// 32-bit indices copy size / 4 whole words; 16-bit ones copy every byte.
  void Write(std::uint32_t offset, std::uint32_t size, const void* data, bool discard) override;
  void Read(std::uint32_t offset, std::uint32_t size, void* out) override;
  void Bind() override;
  void ReleaseDeviceBuffer() override;
  void Restore() override;

  /// Bytes of the buffer.
  std::uint32_t GetSize() const { return m_size; }
  std::uint32_t GetFormat() const { return m_format; }
  IDirect3DIndexBuffer9* DeviceBuffer() const { return m_buffer; }

 private:
  /// Copies like Write/Read: whole words for 32-bit indices, all bytes for 16-bit ones.
  void Copy(void* to, const void* from, std::uint32_t size) const;

  std::uint32_t m_usage = 0;
  std::uint32_t m_size = 0;
  std::uint32_t m_format = D3DFMT_INDEX16;
  bool m_locked = false;
  IDirect3DIndexBuffer9* m_buffer = nullptr;  ///< owned; null when none
  IDirect3DDevice9* m_device;                 ///< not owned
};
