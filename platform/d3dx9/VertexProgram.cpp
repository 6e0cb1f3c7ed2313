#include "platform/d3dx9/VertexProgram.h"

#include "platform/d3d9/WarnOnce.h"
#include "platform/win32/Files.h"

#include <string>

namespace {

HRESULT Fail(LPCSTR file, const char* why, ID3DXBuffer** errorMessages) {
  if (errorMessages) *errorMessages = platform::d3dx9::TextBuffer(std::string(file) + ": " + why);
  return E_FAIL;
}

}  // namespace

HRESULT D3DXAssembleShaderFromFileA(LPCSTR file, const D3DXMACRO* defines, ID3DXInclude* include, DWORD flags,
                                    ID3DXBuffer** shader, ID3DXBuffer** errorMessages) {
  if (shader) *shader = nullptr;
  if (errorMessages) *errorMessages = nullptr;
  if (!file) return D3DERR_INVALIDCALL;
  if ((defines && defines->Name) || include || flags) {
    platform::d3d9::WarnOnce("vertex-program assembly with definitions, includes or flags (ignored)");
  }
  std::string text;
  if (!platform::ReadWholeFile(file, text)) return Fail(file, "cannot open the file", errorMessages);
  if (text.find('\0') != std::string::npos) return Fail(file, "not a text file", errorMessages);
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) return Fail(file, "no program text", errorMessages);
  if (shader) *shader = platform::d3dx9::TextBuffer(text);
  return D3D_OK;
}
