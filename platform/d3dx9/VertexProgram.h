#pragma once
// D3DX vertex-program assembly. Vertex programs are GLSL vertex shaders here (see
// platform/d3d9.h): "assembling" a file reads its text, which the device then compiles
// in CreateVertexShader (its compiler messages: platform::VertexProgramLog()).
#include "platform/d3d9.h"
#include "platform/d3dx9/Buffer.h"
#include "platform/d3dx9/Macro.h"

/// Reads the vertex program of a file (through the path resolver) into *shader: its text
/// with a terminating zero, which CreateVertexShader takes as its function. Definitions,
/// include handler and flags are not supported (ignored, said once on the debugger
/// output). A file that cannot be read or holds no program fails with E_FAIL and the
/// message in *errorMessages ("<file>: ..."); either out pointer may be null.
HRESULT D3DXAssembleShaderFromFileA(LPCSTR file, const D3DXMACRO* defines, ID3DXInclude* include, DWORD flags,
                                    ID3DXBuffer** shader, ID3DXBuffer** errorMessages);
