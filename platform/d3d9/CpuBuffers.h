#pragma once
// Inside the layer: vertex and index buffers in system memory. The recording device
// keeps their bytes for their life; the OpenGL device derives from them, keeps the
// bytes of a static buffer only while it is locked (read back from GL at the first
// lock unless it discards) and uploads the written range when the last lock ends
// (OnWritten). Dynamic buffers, written every frame, keep their bytes.
#include "platform/d3d9/Common.h"

#include <algorithm>
#include <vector>

namespace platform::d3d9 {

template <class Interface>
class CpuBuffer : public RefCounted<Interface>, public TrackedResource {
 public:
  /// keepBytes: hold the bytes for the buffer's life, else only while it is locked.
  CpuBuffer(UINT length, DWORD usage, D3DPOOL pool, bool keepBytes = true)
      : m_length(length), m_usage(usage), m_pool(pool), m_keepBytes(keepBytes) {
    if (keepBytes) m_data.resize(length);
  }
  ~CpuBuffer() override { Link().NotifyDestroyed(); }

  void PreLoad() override {}

  /// Locks may nest; the written range is the union of the ranges locked without
  /// D3DLOCK_READONLY, handed on when the last lock ends.
  HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override {
    if (!data || offset > m_length) return D3DERR_INVALIDCALL;
    if (size == 0) size = m_length - offset;
    if (std::size_t(offset) + size > m_length) return D3DERR_INVALIDCALL;
    if (m_lockCount == 0 && !m_keepBytes) {
      m_data.resize(m_length);
      if (!(flags & D3DLOCK_DISCARD)) ReadBack(m_data);
    }
    if (!(flags & D3DLOCK_READONLY)) {
      if (m_dirtyEnd <= m_dirtyBegin) {
        m_dirtyBegin = offset;
        m_dirtyEnd = offset + size;
      } else {
        m_dirtyBegin = std::min(m_dirtyBegin, offset);
        m_dirtyEnd = std::max(m_dirtyEnd, offset + size);
      }
      m_lockFlags |= flags;
    }
    ++m_lockCount;
    *data = m_data.data() + offset;
    return D3D_OK;
  }

  HRESULT Unlock() override {
    if (m_lockCount == 0) return D3DERR_INVALIDCALL;
    if (--m_lockCount == 0 && m_dirtyEnd > m_dirtyBegin) {
      OnWritten(m_dirtyBegin, m_dirtyEnd - m_dirtyBegin, m_lockFlags);
      m_dirtyBegin = m_dirtyEnd = 0;
      m_lockFlags = 0;
    }
    if (m_lockCount == 0 && !m_keepBytes) std::vector<BYTE>().swap(m_data);
    return D3D_OK;
  }

  /// The bytes: all of them when the buffer keeps them, else while it is locked.
  const std::vector<BYTE>& Data() const { return m_data; }
  /// Bytes the buffer holds (wherever they live).
  UINT Length() const { return m_length; }
  DWORD Usage() const { return m_usage; }
  D3DPOOL Pool() const { return m_pool; }
  bool IsLocked() const { return m_lockCount > 0; }

 protected:
  /// Bytes [offset, offset + size) may have changed; flags are those of the locks.
  virtual void OnWritten(UINT offset, UINT size, DWORD flags) { (void)offset, (void)size, (void)flags; }
  /// Fills the bytes of a buffer that keeps none from where they live.
  virtual void ReadBack(std::vector<BYTE>& bytes) { (void)bytes; }

  std::vector<BYTE> m_data;
  UINT m_length;
  DWORD m_usage;
  D3DPOOL m_pool;

 private:
  bool m_keepBytes;
  UINT m_lockCount = 0;
  UINT m_dirtyBegin = 0;
  UINT m_dirtyEnd = 0;
  DWORD m_lockFlags = 0;
};

class CpuVertexBuffer : public CpuBuffer<IDirect3DVertexBuffer9> {
 public:
  CpuVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
      : CpuBuffer(length, usage, pool), m_fvf(fvf) {}

  D3DRESOURCETYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
  HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = {D3DFMT_UNKNOWN, D3DRTYPE_VERTEXBUFFER, m_usage, m_pool, m_length, m_fvf};
    return D3D_OK;
  }

 private:
  DWORD m_fvf;
};

class CpuIndexBuffer : public CpuBuffer<IDirect3DIndexBuffer9> {
 public:
  CpuIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
      : CpuBuffer(length, usage, pool), m_format(format) {}

  D3DRESOURCETYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
  HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) override {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = {m_format, D3DRTYPE_INDEXBUFFER, m_usage, m_pool, m_length};
    return D3D_OK;
  }
  D3DFORMAT Format() const { return m_format; }

 private:
  D3DFORMAT m_format;
};

}  // namespace platform::d3d9
