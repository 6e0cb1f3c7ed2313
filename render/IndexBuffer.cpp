#include "render/IndexBuffer.h"

#include "render/RenderServices.h"
#include "render/RenderStateCache.h"

#include <cstdint>
#include <cstring>

N_IndexBuffer::N_IndexBuffer(IDirect3DDevice9* device, std::uint32_t format, std::uint32_t count,
                             std::uint32_t kind)
    : m_device(device) {
  if (count == 0) {
    RenderPrint("!!! Error: Attempt to create the index buffer with 0 elements\n");
    return;
  }
  const std::uint64_t indexBytes = format == D3DFMT_INDEX32 ? 4 : 2;
  if (indexBytes * count > UINT32_MAX) {
    // No 32-bit size holds it: refused as the device would, rather than made smaller.
    RenderPrint("!!! Error: Index Buffer creation failed. DX: %s\n", DXGetErrorString9A(D3DERR_INVALIDCALL));
    return;
  }
  const bool dynamic = kind == 2;
  m_usage = dynamic ? (D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY) : D3DUSAGE_WRITEONLY;
  m_format = format;
  m_size = count * (format == D3DFMT_INDEX32 ? 4u : 2u);
  const HRESULT result = m_device->CreateIndexBuffer(m_size, m_usage, D3DFORMAT(m_format),
                                                     dynamic ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED, &m_buffer, nullptr);
  if (FAILED(result)) {
    m_buffer = nullptr;
    RenderPrint("!!! Error: Index Buffer creation failed. DX: %s\n", DXGetErrorString9A(result));
  }
}

N_IndexBuffer::~N_IndexBuffer() {
  if (m_locked) Unlock();
  if (m_buffer) m_buffer->Release();
}

void* N_IndexBuffer::Lock(bool write, bool discard) {
  void* data = nullptr;
  if (!m_buffer || FAILED(m_buffer->Lock(0, 0, &data, ResourceLockFlags(write, discard)))) return nullptr;
  m_locked = true;
  return data;
}

void N_IndexBuffer::Unlock() {
  if (m_buffer) m_buffer->Unlock();
  m_locked = false;
}

void N_IndexBuffer::Copy(void* to, const void* from, std::uint32_t size) const {
  std::memcpy(to, from, m_format == D3DFMT_INDEX32 ? (size / 4) * 4 : size);
}

void N_IndexBuffer::Write(std::uint32_t offset, std::uint32_t size, const void* data, bool discard) {
  void* target = nullptr;
  const DWORD flags = D3DLOCK_NOSYSLOCK | (discard ? D3DLOCK_DISCARD : 0);
  if (!m_buffer || FAILED(m_buffer->Lock(offset, size, &target, flags)) || !target) return;
  Copy(target, data, size);
  m_buffer->Unlock();
  if (!(m_usage & D3DUSAGE_DYNAMIC)) m_buffer->PreLoad();
}

void N_IndexBuffer::Read(std::uint32_t offset, std::uint32_t size, void* out) {
  void* source = nullptr;
  const DWORD flags = D3DLOCK_READONLY | D3DLOCK_NOOVERWRITE;
  if (!m_buffer || FAILED(m_buffer->Lock(offset, size, &source, flags)) || !source) return;
  Copy(out, source, size);
  m_buffer->Unlock();
}

void N_IndexBuffer::Bind() {
  m_device->SetIndices(m_buffer);
  g_renderStateCache.ForgetStreams();  // surfaces must bind their own indices again
}

void N_IndexBuffer::ReleaseDeviceBuffer() {
  if (!m_buffer || !(m_usage & D3DUSAGE_DYNAMIC)) return;
  if (m_locked) Unlock();
  m_buffer->Release();
  m_buffer = nullptr;
}

void N_IndexBuffer::Restore() {
  if (m_buffer || !(m_usage & D3DUSAGE_DYNAMIC)) return;
  const HRESULT result =
      m_device->CreateIndexBuffer(m_size, m_usage, D3DFORMAT(m_format), D3DPOOL_DEFAULT, &m_buffer, nullptr);
  if (FAILED(result)) {
    m_buffer = nullptr;
    RenderPrint("!!! Error: Index Buffer creation failed. DX: %s\n", DXGetErrorString9A(result));
  }
}
