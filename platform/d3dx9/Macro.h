#pragma once
// What the D3DX compilers (effects, vertex-program assembly) take beside the source:
// preprocessor definitions and an include handler. Neither is supported here; callers
// pass null.
#include "platform/d3dx9/Buffer.h"

/// A preprocessor definition (a list ends with a null name).
struct D3DXMACRO {
  LPCSTR Name;
  LPCSTR Definition;
};

/// Opens included files for a compiler.
class ID3DXInclude;
