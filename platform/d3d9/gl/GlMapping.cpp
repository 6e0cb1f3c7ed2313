#include "platform/d3d9/gl/GlMapping.h"

namespace platform::d3d9 {

bool UsesDepth(const std::array<DWORD, kD3DRenderStateCount>& rs) {
  if (rs[D3DRS_ZENABLE] == D3DZB_FALSE) return false;
  return rs[D3DRS_ZFUNC] != D3DCMP_ALWAYS || rs[D3DRS_ZWRITEENABLE] != FALSE;
}

GLenum CompareFunc(DWORD d3dCmp) {
  switch (d3dCmp) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
  }
}

GLenum BlendFactor(DWORD d3dBlend) {
  switch (d3dBlend) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    case D3DBLEND_BLENDFACTOR: return GL_CONSTANT_COLOR;
    case D3DBLEND_INVBLENDFACTOR: return GL_ONE_MINUS_CONSTANT_COLOR;
    default: return GL_ONE;
  }
}

GLenum BlendEquation(DWORD d3dBlendOp) {
  switch (d3dBlendOp) {
    case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN: return GL_MIN;
    case D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_FUNC_ADD;
  }
}

GLenum StencilOp(DWORD d3dStencilOp) {
  switch (d3dStencilOp) {
    case D3DSTENCILOP_ZERO: return GL_ZERO;
    case D3DSTENCILOP_REPLACE: return GL_REPLACE;
    case D3DSTENCILOP_INCRSAT: return GL_INCR;
    case D3DSTENCILOP_DECRSAT: return GL_DECR;
    case D3DSTENCILOP_INVERT: return GL_INVERT;
    case D3DSTENCILOP_INCR: return GL_INCR_WRAP;
    case D3DSTENCILOP_DECR: return GL_DECR_WRAP;
    default: return GL_KEEP;
  }
}

GLenum AddressMode(DWORD d3dAddress) {
  switch (d3dAddress) {
    case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
    case D3DTADDRESS_MIRRORONCE: return GL_MIRROR_CLAMP_TO_EDGE;
    default: return GL_REPEAT;
  }
}

GLenum MinFilter(DWORD minFilter, DWORD mipFilter, bool mips) {
  // NONE (0) as a minification filter is not valid in Direct3D 9: read it as POINT.
  const bool linear = minFilter == D3DTEXF_LINEAR || minFilter == D3DTEXF_ANISOTROPIC;
  if (!mips || mipFilter == D3DTEXF_NONE) return linear ? GL_LINEAR : GL_NEAREST;
  // An ANISOTROPIC mip filter is not valid either: read it as LINEAR.
  const bool mipLinear = mipFilter == D3DTEXF_LINEAR || mipFilter == D3DTEXF_ANISOTROPIC;
  if (linear) return mipLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_NEAREST;
  return mipLinear ? GL_NEAREST_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
}

GLenum MagFilter(DWORD magFilter) {
  return magFilter == D3DTEXF_LINEAR || magFilter == D3DTEXF_ANISOTROPIC ? GL_LINEAR : GL_NEAREST;
}

GLenum PrimitiveMode(DWORD d3dPrimitive) {
  switch (d3dPrimitive) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
  }
}

UINT PrimitiveVertexCount(DWORD d3dPrimitive, UINT primitives) {
  switch (d3dPrimitive) {
    case D3DPT_POINTLIST: return primitives;
    case D3DPT_LINELIST: return primitives * 2;
    case D3DPT_LINESTRIP: return primitives + 1;
    case D3DPT_TRIANGLELIST: return primitives * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return primitives + 2;
    default: return 0;
  }
}

std::array<GLfloat, 4> ColorFloats(DWORD argb) {
  return {GLfloat((argb >> 16) & 0xFF) / 255.0f, GLfloat((argb >> 8) & 0xFF) / 255.0f,
          GLfloat(argb & 0xFF) / 255.0f, GLfloat((argb >> 24) & 0xFF) / 255.0f};
}

std::array<GLfloat, 4> ColorFloats(const D3DCOLORVALUE& color) { return {color.r, color.g, color.b, color.a}; }

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
  D3DMATRIX out{};
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
      out.m[i][j] = sum;
    }
  }
  return out;
}

}  // namespace platform::d3d9
