#pragma once
// Inside the layer: Direct3D 9 enumeration values as their OpenGL counterparts.
#include "platform/d3d9/Structs.h"

#include "platform/d3d9/gl/GlCalls.h"

#include <array>

namespace platform::d3d9 {

GLenum CompareFunc(DWORD d3dCmp);
/// Whether draws under these render states read or write the depth buffer: a test that
/// always passes and writes nothing is the same as no test, and needs no buffer.
bool UsesDepth(const std::array<DWORD, kD3DRenderStateCount>& rs);
GLenum BlendFactor(DWORD d3dBlend);
GLenum BlendEquation(DWORD d3dBlendOp);
GLenum StencilOp(DWORD d3dStencilOp);
GLenum AddressMode(DWORD d3dAddress);
/// GL minification filter from Direct3D's MIN and MIP filters (mips: the texture has several levels).
GLenum MinFilter(DWORD minFilter, DWORD mipFilter, bool mips);
GLenum MagFilter(DWORD magFilter);
GLenum PrimitiveMode(DWORD d3dPrimitive);
/// Vertices (or indices) a draw of that many primitives reads; 0 for unknown types.
UINT PrimitiveVertexCount(DWORD d3dPrimitive, UINT primitives);
/// A packed A, R, G, B colour as four floats r, g, b, a.
std::array<GLfloat, 4> ColorFloats(DWORD argb);
std::array<GLfloat, 4> ColorFloats(const D3DCOLORVALUE& color);
/// Row-vector product a x b (Direct3D order); its memory is the GL matrix of b after a.
D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b);

}  // namespace platform::d3d9
