#include "platform/d3dx9/Buffer.h"

#include "platform/d3d9/Common.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace platform::d3dx9 {

namespace {

class Buffer final : public d3d9::RefCounted<ID3DXBuffer> {
 public:
  explicit Buffer(DWORD size) : m_bytes(size) {}
  void* GetBufferPointer() override { return m_bytes.data(); }
  DWORD GetBufferSize() override { return static_cast<DWORD>(m_bytes.size()); }

 private:
  std::vector<unsigned char> m_bytes;
};

}  // namespace

ID3DXBuffer* TextBuffer(const std::string& text) {
  if (text.empty()) return nullptr;
  auto* buffer = new Buffer(static_cast<DWORD>(text.size() + 1));
  std::memcpy(buffer->GetBufferPointer(), text.c_str(), text.size() + 1);
  return buffer;
}

}  // namespace platform::d3dx9

HRESULT D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = new (std::nothrow) platform::d3dx9::Buffer(size);
  return *buffer ? D3D_OK : E_OUTOFMEMORY;
}
