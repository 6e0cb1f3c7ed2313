#include "render/VertexBuffer.h"

#include "render/RenderServices.h"
#include "render/RenderStateCache.h"

#include <cstdint>
#include <cstring>

N_VertexBuffer::N_VertexBuffer(IDirect3DDevice9* device, std::uint32_t stride, std::uint32_t count,
                               std::uint32_t kind)
    : m_device(device) {
  if (count == 0 || stride == 0) {
    RenderPrint("!!! Error: Attempt to create the vertex buffer with 0 vertices\n");
    return;
  }
  if (std::uint64_t{stride} * count > UINT32_MAX) {
    // No 32-bit size holds it: refused as the device would, rather than made smaller.
    RenderPrint("Error: Vertex Buffer creation failed. DX: %s\n", DXGetErrorString9A(D3DERR_INVALIDCALL));
    return;
  }
  const bool dynamic = kind == kDynamic;
  m_usage = dynamic ? (D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY) : D3DUSAGE_WRITEONLY;
  m_size = stride * count;
  m_stride = stride;
  const HRESULT result = m_device->CreateVertexBuffer(m_size, m_usage, 0, dynamic ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED,
                                                      &m_buffer, nullptr);
  if (FAILED(result)) {
    m_buffer = nullptr;
    RenderPrint("Error: Vertex Buffer creation failed. DX: %s\n", DXGetErrorString9A(result));
  }
}

N_VertexBuffer::~N_VertexBuffer() {
  if (m_locked) Unlock();
  if (m_buffer) m_buffer->Release();
}

void* N_VertexBuffer::Lock(bool write, bool discard) {
  void* data = nullptr;
  if (!m_buffer || FAILED(m_buffer->Lock(0, 0, &data, ResourceLockFlags(write, discard)))) return nullptr;
  m_locked = true;
  return data;
}

void N_VertexBuffer::Unlock() {
  if (m_buffer) m_buffer->Unlock();
  m_locked = false;
}

void N_VertexBuffer::Write(std::uint32_t offset, std::uint32_t size, const void* data, bool discard) {
  void* target = nullptr;
  const DWORD flags = D3DLOCK_NOSYSLOCK | (discard ? D3DLOCK_DISCARD : 0);
  if (!m_buffer || FAILED(m_buffer->Lock(offset, size, &target, flags)) || !target) return;
  std::memcpy(target, data, (size / 4) * 4);  // whole 32-bit words only
  m_buffer->Unlock();
  if (!(m_usage & D3DUSAGE_DYNAMIC)) m_buffer->PreLoad();
}

void N_VertexBuffer::Read(std::uint32_t offset, std::uint32_t size, void* out) {
  void* source = nullptr;
  const DWORD flags = D3DLOCK_READONLY | D3DLOCK_NOOVERWRITE | D3DLOCK_NOSYSLOCK;
  if (!m_buffer || FAILED(m_buffer->Lock(offset, size, &source, flags)) || !source) return;
  std::memcpy(out, source, (size / 4) * 4);
  m_buffer->Unlock();
}

void N_VertexBuffer::Bind() {
  m_device->SetStreamSource(0, m_buffer, 0, m_stride);
  g_renderStateCache.ForgetStreams();  // surfaces must bind their own streams again
}

void N_VertexBuffer::ReleaseDeviceBuffer() {
  if (!m_buffer || !(m_usage & D3DUSAGE_DYNAMIC)) return;
  if (m_locked) Unlock();
  m_buffer->Release();
  m_buffer = nullptr;
}

void N_VertexBuffer::Restore() {
  if (m_buffer || !(m_usage & D3DUSAGE_DYNAMIC)) return;
  const HRESULT result = m_device->CreateVertexBuffer(m_size, m_usage, 0, D3DPOOL_DEFAULT, &m_buffer, nullptr);
  if (FAILED(result)) {
    m_buffer = nullptr;
    RenderPrint("!!! Error: Vertex Buffer restore failed. DX: %s\n", DXGetErrorString9A(result));
  }
}
