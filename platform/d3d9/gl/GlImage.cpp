#include "platform/d3d9/gl/GlImage.h"

#include "platform/d3d9/gl/GlFormats.h"

#include <cstring>
#include <vector>

namespace platform::d3d9 {

void BindImage(GLenum fboTarget, GLuint fbo, const GlImage& image) {
  glBindFramebuffer(fboTarget, image.window ? 0 : fbo);
  if (!image.window && image.texture) {
    glFramebufferRenderbuffer(fboTarget, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, 0);
    glFramebufferTexture2D(fboTarget, GL_COLOR_ATTACHMENT0, image.target, image.name, image.level);
  } else if (!image.window) {
    glFramebufferTexture2D(fboTarget, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
    glFramebufferRenderbuffer(fboTarget, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, image.name);
  }
  const GLenum buffer = image.window ? GL_BACK : GL_COLOR_ATTACHMENT0;
  if (fboTarget != GL_READ_FRAMEBUFFER) glDrawBuffer(buffer);
  if (fboTarget != GL_DRAW_FRAMEBUFFER) glReadBuffer(buffer);
}

CopyRect WholeOrRect(const RECT* rect, UINT width, UINT height) {
  if (!rect) return {0, 0, LONG(width), LONG(height)};
  return {rect->left, rect->top, rect->right, rect->bottom};
}

void BlitImage(GlContext& context, const GlImage& source, const CopyRect& from, const GlImage& dest,
               const CopyRect& to, GLenum filter, bool flipSource) {
  context.framebufferClobbered = true;
  // Multisampled sources cannot be scaled: resolve into a plain renderbuffer first.
  GLuint resolved = 0;
  GlImage readFrom = source;
  const bool sameSize = (from.right - from.left) == (to.right - to.left) &&
                        (from.bottom - from.top) == (to.bottom - to.top);
  if (source.samples > 0 && (!sameSize || dest.samples > 0)) {
    glGenRenderbuffers(1, &resolved);
    glBindRenderbuffer(GL_RENDERBUFFER, resolved);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, GLsizei(source.width), GLsizei(source.height));
    GlImage plain = source;
    plain.texture = false;
    plain.name = resolved;
    plain.samples = 0;
    const CopyRect all{0, 0, LONG(source.width), LONG(source.height)};
    BlitImage(context, source, all, plain, all, GL_NEAREST, false);
    readFrom = plain;
  }
  BindImage(GL_READ_FRAMEBUFFER, context.ReadFramebuffer(), readFrom);
  BindImage(GL_DRAW_FRAMEBUFFER, context.CopyFramebuffer(), dest);
  const LONG sh = LONG(readFrom.height);
  const LONG dh = LONG(dest.height);
  // Framebuffer images hold the bottom row first; Direct3D rectangles count from the top.
  GLint sy0 = GLint(sh - from.bottom), sy1 = GLint(sh - from.top);
  if (flipSource) {
    sy0 = GLint(from.bottom);
    sy1 = GLint(from.top);
  }
  // The scissor test is the one fragment operation that reaches a blit.
  const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
  if (scissor) glDisable(GL_SCISSOR_TEST);
  glBlitFramebuffer(from.left, sy0, from.right, sy1, to.left, GLint(dh - to.bottom), to.right,
                    GLint(dh - to.top), GL_COLOR_BUFFER_BIT, filter);
  if (scissor) glEnable(GL_SCISSOR_TEST);
  if (resolved) glDeleteRenderbuffers(1, &resolved);
}

bool ReadImage(GlContext& context, const GlImage& image, TextureStorage::Level& level) {
  const GlFormat format = TextureFormatFor(image.format, false);
  if (!format.format) return false;
  context.framebufferClobbered = true;
  GLuint resolved = 0;
  GlImage readFrom = image;
  if (image.samples > 0) {
    glGenRenderbuffers(1, &resolved);
    glBindRenderbuffer(GL_RENDERBUFFER, resolved);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, GLsizei(image.width), GLsizei(image.height));
    readFrom.texture = false;
    readFrom.name = resolved;
    readFrom.samples = 0;
    const CopyRect all{0, 0, LONG(image.width), LONG(image.height)};
    BlitImage(context, image, all, readFrom, all, GL_NEAREST, false);
  }
  BindImage(GL_READ_FRAMEBUFFER, context.ReadFramebuffer(), readFrom);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  std::vector<BYTE> rows(std::size_t(level.rowPitch) * image.height);
  glReadPixels(0, 0, GLsizei(image.width), GLsizei(image.height), format.format, format.type, rows.data());
  for (UINT y = 0; y < image.height && y < level.height; ++y) {
    std::memcpy(level.bytes.data() + std::size_t(y) * level.rowPitch,
                rows.data() + std::size_t(image.height - 1 - y) * level.rowPitch, level.rowPitch);
  }
  if (resolved) glDeleteRenderbuffers(1, &resolved);
  return true;
}

}  // namespace platform::d3d9
