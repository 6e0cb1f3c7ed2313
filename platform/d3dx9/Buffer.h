#pragma once
// The D3DX buffer: a block of bytes handed out by the D3DX calls (compiler messages).
#include "platform/d3d9.h"

#include <string>

using LPCSTR = const char*;

class ID3DXBuffer : public IUnknown {
 public:
  virtual void* GetBufferPointer() = 0;
  virtual DWORD GetBufferSize() = 0;
};

/// A buffer of size bytes, zeroed.
HRESULT D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer);

namespace platform::d3dx9 {

/// A buffer holding the text and its terminating zero; null for an empty text.
ID3DXBuffer* TextBuffer(const std::string& text);

}  // namespace platform::d3dx9
