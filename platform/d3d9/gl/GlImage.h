#pragma once
// Inside the layer: one colour image OpenGL can draw into (a renderbuffer, a level or
// cube face of a texture, or the window's own back buffer), and the copies between them.
#include "platform/d3d9/TextureStorage.h"
#include "platform/d3d9/gl/GlContext.h"

namespace platform::d3d9 {

struct GlImage {
  bool texture = false;   ///< texture level, else renderbuffer
  GLuint name = 0;
  GLenum target = GL_TEXTURE_2D;  ///< for textures: GL_TEXTURE_2D or a cube face
  GLint level = 0;
  UINT width = 0;
  UINT height = 0;
  GLsizei samples = 0;
  D3DFORMAT format = D3DFMT_UNKNOWN;
  bool window = false;  ///< the window's back buffer (framebuffer 0): name and texture unused
};

/// Binds to fboTarget (GL_FRAMEBUFFER, GL_READ_FRAMEBUFFER or GL_DRAW_FRAMEBUFFER) the
/// framebuffer that shows the image, and selects it for drawing and reading as the target
/// allows: the window's own for its back buffer, else fbo with the image as colour
/// attachment 0.
void BindImage(GLenum fboTarget, GLuint fbo, const GlImage& image);

/// Reads the image back into level (Direct3D layout: top row first, in its format).
/// Multisampled images are resolved first. False when the format cannot be read.
bool ReadImage(GlContext& context, const GlImage& image, TextureStorage::Level& level);

/// A rectangle in Direct3D terms (y from the top), null meaning the whole image.
struct CopyRect {
  LONG left, top, right, bottom;
};
CopyRect WholeOrRect(const RECT* rect, UINT width, UINT height);

/// Copies between images with scaling (a framebuffer blit); flipSource reads the source
/// upside down (images uploaded from system memory hold the top row first).
void BlitImage(GlContext& context, const GlImage& source, const CopyRect& from, const GlImage& dest,
               const CopyRect& to, GLenum filter, bool flipSource);

}  // namespace platform::d3d9
