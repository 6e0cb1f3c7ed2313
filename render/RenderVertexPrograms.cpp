// N_Render: the five vertex programs of the deformations and colour sources, made once
// at Init from "data\scripts\vp\". A program that is missing or does not compile stays
// none: its deform or colour source then loads its constants and binds nothing.
#include "platform/d3dx9.h"
#include "render/Render.h"
#include "render/RenderServices.h"

#include <string>

namespace {

/// In the order of N_Render::VertexProgram.
constexpr const char* kProgramFiles[N_Render::kVertexPrograms] = {
    "data\\scripts\\vp\\wave.vsh",   "data\\scripts\\vp\\water.vsh",      "data\\scripts\\vp\\alphadot.vsh",
    "data\\scripts\\vp\\rgbgen.vsh", "data\\scripts\\vp\\autosprite.vsh",
};

/// The text of a D3DX buffer, which the assembler ends with a zero.
std::string BufferText(ID3DXBuffer* buffer) {
  return buffer ? std::string(static_cast<const char*>(buffer->GetBufferPointer())) : std::string();
}

}  // namespace

void N_Render::LoadVertexPrograms() {
  for (int i = 0; i < kVertexPrograms; ++i) {
    IDirect3DVertexShader9*& program = m_vertexPrograms[std::size_t(i)];
    if (program) program->Release();
    program = nullptr;
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    const HRESULT assembled = D3DXAssembleShaderFromFileA(kProgramFiles[i], nullptr, nullptr, 0, &code, &errors);
    if (SUCCEEDED(assembled) && code &&
        FAILED(m_device->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()), &program))) {
      // The programs are GLSL, compiled here: the compiler's messages stand for the
      // assembler's.
      program = nullptr;
      RenderPrint("%s\n", (std::string(kProgramFiles[i]) + ": " + platform::VertexProgramLog()).c_str());
    }
    if (errors) RenderPrint("%s\n", BufferText(errors).c_str());
    if (errors) errors->Release();
    if (code) code->Release();
  }
}
