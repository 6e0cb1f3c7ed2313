#pragma once
// D3DX effects over our own effect file format (platform/d3dx9/EffectSource.h says
// how the files look): parameters with semantics and annotations, techniques by name,
// passes with render states and a GLSL vertex and fragment program.
//
// Handles are texts, as in D3DX: the handles an effect hands out, or names (a
// parameter, technique or annotation name works wherever its handle does).
//
// On the OpenGL device a pass's programs are compiled when the effect is created; on
// any other device (the recording device of the tests) an effect has no programs and
// its passes set render states only. Begin saves the device state its technique's
// passes change (unless D3DXFX_DONOTSAVESTATE) and End puts it back. BeginPass sets
// the pass's render states, binds its program, hands every parameter to the uniform
// of the same name and binds each texture parameter's texture to a unit of its own.
#include "platform/d3d9.h"
#include "platform/d3dx9/Buffer.h"
#include "platform/d3dx9/Macro.h"

using D3DXHANDLE = const char*;

enum D3DXPARAMETER_CLASS : DWORD {
  D3DXPC_SCALAR = 0,
  D3DXPC_VECTOR = 1,
  D3DXPC_MATRIX_ROWS = 2,
  D3DXPC_MATRIX_COLUMNS = 3,
  D3DXPC_OBJECT = 4,
  D3DXPC_STRUCT = 5,
};

enum D3DXPARAMETER_TYPE : DWORD {
  D3DXPT_VOID = 0,
  D3DXPT_BOOL = 1,
  D3DXPT_INT = 2,
  D3DXPT_FLOAT = 3,
  D3DXPT_STRING = 4,
  D3DXPT_TEXTURE = 5,
  D3DXPT_TEXTURE1D = 6,
  D3DXPT_TEXTURE2D = 7,
  D3DXPT_TEXTURE3D = 8,
  D3DXPT_TEXTURECUBE = 9,
};

/// Begin flags.
constexpr DWORD D3DXFX_DONOTSAVESTATE = 0x1;

struct D3DXPARAMETER_DESC {
  LPCSTR Name;
  LPCSTR Semantic;  ///< null when the parameter has none
  D3DXPARAMETER_CLASS Class;
  D3DXPARAMETER_TYPE Type;
  UINT Rows;
  UINT Columns;
  UINT Elements;
  UINT Annotations;
  UINT StructMembers;
  DWORD Flags;
  UINT Bytes;
};

struct D3DXTECHNIQUE_DESC {
  LPCSTR Name;
  UINT Passes;
  UINT Annotations;
};

struct D3DXEFFECT_DESC {
  LPCSTR Creator;
  UINT Parameters;
  UINT Techniques;
  UINT Functions;
};

struct D3DXVECTOR4 {
  float x, y, z, w;
};

/// Row-vector matrix with the translation in the fourth row, as D3DMATRIX.
struct D3DXMATRIX : D3DMATRIX {};

/// Effect pools are not supported: only null is accepted.
class ID3DXEffectPool;

class ID3DXEffect : public IUnknown {
 public:
  virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
  virtual HRESULT GetDesc(D3DXEFFECT_DESC* desc) = 0;
  virtual HRESULT GetParameterDesc(D3DXHANDLE parameter, D3DXPARAMETER_DESC* desc) = 0;
  virtual HRESULT GetTechniqueDesc(D3DXHANDLE technique, D3DXTECHNIQUE_DESC* desc) = 0;

  /// parent must be null (no structures); index counts the top-level parameters.
  virtual D3DXHANDLE GetParameter(D3DXHANDLE parent, UINT index) = 0;
  virtual D3DXHANDLE GetParameterByName(D3DXHANDLE parent, LPCSTR name) = 0;
  /// Semantics are compared without regard to case.
  virtual D3DXHANDLE GetParameterBySemantic(D3DXHANDLE parent, LPCSTR semantic) = 0;
  /// object: a parameter, technique or pass handle.
  virtual D3DXHANDLE GetAnnotationByName(D3DXHANDLE object, LPCSTR name) = 0;
  virtual D3DXHANDLE GetTechnique(UINT index) = 0;
  virtual D3DXHANDLE GetTechniqueByName(LPCSTR name) = 0;

  virtual HRESULT SetFloat(D3DXHANDLE parameter, float value) = 0;
  virtual HRESULT GetFloat(D3DXHANDLE parameter, float* value) = 0;
  virtual HRESULT SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) = 0;
  virtual HRESULT GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) = 0;
  virtual HRESULT SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) = 0;
  virtual HRESULT GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) = 0;
  /// The effect keeps a reference to the texture it holds.
  virtual HRESULT SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) = 0;
  /// Adds a reference to the texture it returns (null when none).
  virtual HRESULT GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) = 0;
  /// The value of a string annotation.
  virtual HRESULT GetString(D3DXHANDLE object, LPCSTR* text) = 0;

  /// before null: the first technique; otherwise the first valid one after it. S_FALSE
  /// with a null handle when there is none. A technique is valid when it has a pass.
  virtual HRESULT FindNextValidTechnique(D3DXHANDLE before, D3DXHANDLE* next) = 0;
  virtual HRESULT ValidateTechnique(D3DXHANDLE technique) = 0;
  virtual HRESULT SetTechnique(D3DXHANDLE technique) = 0;
  virtual D3DXHANDLE GetCurrentTechnique() = 0;
  /// Whether a program of the technique reads the parameter.
  virtual BOOL IsParameterUsed(D3DXHANDLE parameter, D3DXHANDLE technique) = 0;

  virtual HRESULT Begin(UINT* passes, DWORD flags) = 0;
  virtual HRESULT BeginPass(UINT pass) = 0;
  /// Hands parameters changed after BeginPass to the program.
  virtual HRESULT CommitChanges() = 0;
  virtual HRESULT EndPass() = 0;
  virtual HRESULT End() = 0;

  virtual HRESULT OnLostDevice() = 0;
  virtual HRESULT OnResetDevice() = 0;
};

/// Reads and compiles an effect file (an engine path). defines, include and pool must
/// be null, flags 0. On failure the result is an error and *effect null; *errors (when
/// asked for) then holds the messages, one a line as "file(line): error: text". On
/// success *errors holds the warnings, or is null when there are none.
HRESULT D3DXCreateEffectFromFileA(IDirect3DDevice9* device, LPCSTR file, const D3DXMACRO* defines,
                                  ID3DXInclude* include, DWORD flags, ID3DXEffectPool* pool, ID3DXEffect** effect,
                                  ID3DXBuffer** errors);
