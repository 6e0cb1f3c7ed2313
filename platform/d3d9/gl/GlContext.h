#pragma once
// Inside the layer (names SDL and GL): the one OpenGL context of a device, shared by
// the device and every resource it made, so that resources released after the device
// can still delete their GL objects. It also owns the helper objects that copies and
// read-backs use.
#include "platform/d3d9/gl/GlCalls.h"
#include "platform/win32/Types.h"

#include <SDL.h>

#include <memory>
#include <string>

namespace platform::d3d9 {

/// What OpenGL offers, read once from a context.
struct GlInfo {
  int major = 0;
  int minor = 0;
  std::string version;
  std::string renderer;
  std::string vendor;
  bool clipControl = false;
  bool s3tc = false;
  /// A renderer that draws on the processor (Mesa's llvmpipe, softpipe, swrast): it
  /// samples DXT textures block by block, which costs it far more than plain texels,
  /// so the device keeps them decoded there (hardware samples DXT for free).
  bool software = false;
  bool anisotropic = false;
  int maxTextureSize = 0;
  int max3DTextureSize = 0;
  int maxCubeSize = 0;
  int maxTextureUnits = 0;  ///< fixed-function units
  int maxSamples = 0;
  int maxLights = 0;
  float maxPointSize = 1.0f;
  float maxAnisotropy = 1.0f;
  unsigned videoMemoryMB = 0;  ///< 0 when the driver does not say
  /// The window's own framebuffer: the bits of its channels, depth and stencil.
  struct WindowBits {
    int red = 0, green = 0, blue = 0, alpha = 0, depth = 0, stencil = 0;
    bool doubleBuffered = false;
  } window;

  bool Sufficient() const;
  std::string VersionText() const;
};

/// Reads the info of the current context.
GlInfo ReadGlInfo();
/// Whether a renderer draws on the processor: by the driver's own answer when it gives
/// one (accelerated: 1 or 0, -1 when it does not say), else by the renderer's name.
bool IsSoftwareRenderer(const std::string& renderer, int accelerated);

class GlContext {
 public:
  /// Makes a compatibility-profile context on the window of the handle; null when that fails.
  static std::shared_ptr<GlContext> Create(HWND handle, std::string& error);
  ~GlContext();
  GlContext(const GlContext&) = delete;
  GlContext& operator=(const GlContext&) = delete;

  /// Makes this context current (cheap when it already is); false when its window is
  /// gone (then no GL call may be made: the objects went with the window's display).
  bool MakeCurrent();
  SDL_Window* Window() const { return m_window; }
  const GlInfo& Info() const { return m_info; }

  /// Framebuffers for copies and read-backs (never the device's drawing framebuffer).
  GLuint ReadFramebuffer() const { return m_readFbo; }
  GLuint CopyFramebuffer() const { return m_copyFbo; }

  /// Set when layer code outside the state choke point bound a texture of its own on
  /// the active unit (uploads, copies); the choke point then forgets the textures it
  /// thinks are bound. (Buffer uploads bind GL_ARRAY_BUFFER, which the choke point never
  /// takes as bound between draws.)
  bool textureBindingsClobbered = true;
  /// Set by copies and read-backs that bound their own framebuffers: the device binds
  /// its drawing framebuffer again before it draws or clears.
  bool framebufferClobbered = true;

 private:
  GlContext(HWND handle, SDL_Window* window, SDL_GLContext context);

  HWND m_handle;
  SDL_Window* m_window;
  SDL_GLContext m_context;
  GlInfo m_info;
  GLuint m_readFbo = 0;
  GLuint m_copyFbo = 0;
};

}  // namespace platform::d3d9
