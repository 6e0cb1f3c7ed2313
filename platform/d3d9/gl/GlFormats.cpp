#include "platform/d3d9/gl/GlFormats.h"

namespace platform::d3d9 {

GlFormat TextureFormatFor(D3DFORMAT format, bool s3tc, bool decodeDxt) {
  switch (format) {
    case D3DFMT_A8R8G8B8: return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE};
    case D3DFMT_X8R8G8B8: return {GL_RGB8, GL_BGRA, GL_UNSIGNED_BYTE};
    case D3DFMT_A8B8G8R8: return {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE};
    case D3DFMT_X8B8G8R8: return {GL_RGB8, GL_RGBA, GL_UNSIGNED_BYTE};
    case D3DFMT_R8G8B8: return {GL_RGB8, GL_BGR, GL_UNSIGNED_BYTE};
    case D3DFMT_R5G6B5: return {GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5};
    case D3DFMT_A4R4G4B4: return {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV};
    case D3DFMT_X4R4G4B4: return {GL_RGB4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV};
    case D3DFMT_A1R5G5B5: return {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
    case D3DFMT_X1R5G5B5: return {GL_RGB5, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
    case D3DFMT_A8: return {GL_ALPHA8, GL_ALPHA, GL_UNSIGNED_BYTE};
    case D3DFMT_L8: return {GL_LUMINANCE8, GL_LUMINANCE, GL_UNSIGNED_BYTE};
    case D3DFMT_A8L8: return {GL_LUMINANCE8_ALPHA8, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE};
    default: break;
  }
  if (!s3tc) return {};
  if (decodeDxt) {
    switch (format) {
      case D3DFMT_DXT1:
      case D3DFMT_DXT2:
      case D3DFMT_DXT3:
      case D3DFMT_DXT4:
      case D3DFMT_DXT5: return {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, false, true};
      default: return {};
    }
  }
  switch (format) {
    case D3DFMT_DXT1: return {GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 0, 0, true};
    case D3DFMT_DXT2:
    case D3DFMT_DXT3: return {GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 0, 0, true};
    case D3DFMT_DXT4:
    case D3DFMT_DXT5: return {GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 0, 0, true};
    default: return {};
  }
}

GLenum RenderTargetFormatFor(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_A8B8G8R8: return GL_RGBA8;
    case D3DFMT_X8R8G8B8:
    case D3DFMT_X8B8G8R8: return GL_RGB8;
    case D3DFMT_R5G6B5: return GL_RGB565;
    case D3DFMT_A1R5G5B5: return GL_RGB5_A1;
    case D3DFMT_X1R5G5B5: return GL_RGB5;
    case D3DFMT_A4R4G4B4: return GL_RGBA4;
    default: return 0;
  }
}

GLenum DepthFormatFor(D3DFORMAT format, GLenum* attachment) {
  GLenum point = GL_DEPTH_ATTACHMENT;
  GLenum internal = 0;
  switch (format) {
    case D3DFMT_D24S8:
      internal = GL_DEPTH24_STENCIL8;
      point = GL_DEPTH_STENCIL_ATTACHMENT;
      break;
    case D3DFMT_D24X8: internal = GL_DEPTH_COMPONENT24; break;
    case D3DFMT_D32: internal = GL_DEPTH_COMPONENT32; break;
    case D3DFMT_D16:
    case D3DFMT_D16_LOCKABLE: internal = GL_DEPTH_COMPONENT16; break;
    default: break;  // D15S1 and D24X4S4 have no GL form
  }
  if (attachment) *attachment = point;
  return internal;
}

}  // namespace platform::d3d9
