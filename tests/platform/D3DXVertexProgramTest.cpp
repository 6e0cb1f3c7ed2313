// D3DX vertex-program assembly: the program text of a file, or the reason there is none.
#include "platform/d3dx9.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(ID3DXBuffer* buffer) {
  return buffer ? std::string(static_cast<const char*>(buffer->GetBufferPointer())) : std::string("(none)");
}

TEST(D3DXVertexProgram, AssemblyHandsOutTheTextOrTheReason) {
  test::TempDir dir;
  dir.Write("data/scripts/vp/wave.vsh", "#version 120\nvoid main() {}\n");
  dir.Write("data/scripts/vp/empty.vsh", " \r\n\t\n");
  dir.Write("data/scripts/vp/binary.vsh", std::string("ab\0cd", 5));
  struct Case {
    const char* file;
    HRESULT result;
    std::string program;
    std::string errors;
  };
  const Case cases[] = {
      // Found through the path resolver whatever the case of its components.
      {"Data\\Scripts\\VP\\wave.vsh", D3D_OK, "#version 120\nvoid main() {}\n", "(none)"},
      {"data\\scripts\\vp\\missing.vsh", E_FAIL, "(none)", "data\\scripts\\vp\\missing.vsh: cannot open the file"},
      {"data\\scripts\\vp\\empty.vsh", E_FAIL, "(none)", "data\\scripts\\vp\\empty.vsh: no program text"},
      {"data\\scripts\\vp\\binary.vsh", E_FAIL, "(none)", "data\\scripts\\vp\\binary.vsh: not a text file"},
  };
  for (const Case& c : cases) {
    ID3DXBuffer* program = nullptr;
    ID3DXBuffer* errors = nullptr;
    EXPECT_EQ(D3DXAssembleShaderFromFileA(c.file, nullptr, nullptr, 0, &program, &errors), c.result) << c.file;
    EXPECT_EQ(Text(program), c.program) << c.file;
    EXPECT_EQ(Text(errors), c.errors) << c.file;
    if (program) {
      EXPECT_EQ(program->GetBufferSize(), c.program.size() + 1) << "with its terminating zero";
      program->Release();
    }
    if (errors) errors->Release();
  }
  // The out pointers may be null.
  EXPECT_EQ(D3DXAssembleShaderFromFileA("data\\scripts\\vp\\missing.vsh", nullptr, nullptr, 0, nullptr, nullptr),
            E_FAIL);
  EXPECT_EQ(D3DXAssembleShaderFromFileA(nullptr, nullptr, nullptr, 0, nullptr, nullptr), D3DERR_INVALIDCALL);
}

}  // namespace
