#pragma once
// Inside the layer: Direct3D formats as OpenGL formats. Direct3D's packed formats are
// little-endian words with the named components from the high bits down, so A8R8G8B8
// is B, G, R, A in memory: GL_BGRA with GL_UNSIGNED_BYTE. X formats upload to an
// internal format without alpha, so alpha reads 1 as in Direct3D.
#include "platform/d3d9/Constants.h"

#include "platform/d3d9/gl/GlCalls.h"

namespace platform::d3d9 {

struct GlFormat {
  GLenum internalFormat = 0;  ///< 0: no GL equivalent
  GLenum format = 0;
  GLenum type = 0;
  bool compressed = false;
  /// The Direct3D data are DXT blocks that GL keeps decoded, as 8-bit R, G, B, A.
  bool decodedDxt = false;
};

/// The GL format for a texture or colour target; s3tc says whether DXT may be used, and
/// decodeDxt whether GL keeps DXT textures decoded (on a software renderer).
GlFormat TextureFormatFor(D3DFORMAT format, bool s3tc, bool decodeDxt = false);
/// The renderbuffer format for a colour render target (0 when unsupported).
GLenum RenderTargetFormatFor(D3DFORMAT format);
/// The renderbuffer format and attachment point of a depth-stencil format (0 when none).
GLenum DepthFormatFor(D3DFORMAT format, GLenum* attachment);

}  // namespace platform::d3d9
