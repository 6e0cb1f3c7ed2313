#include "platform/d3d9/gl/GlDevice.h"

#include "platform/d3d9/Formats.h"
#include "platform/d3d9/WarnOnce.h"
#include "platform/d3d9/gl/GlFormats.h"
#include "platform/d3d9/gl/GlResources.h"
#include "platform/win32/Debug.h"
#include "platform/win32/WindowTable.h"

#include <algorithm>

namespace platform::d3d9 {

namespace {

/// Stands for the automatic depth-stencil buffer: it describes it, nothing more.
class DepthSurface final : public RefCounted<IDirect3DSurface9> {
 public:
  explicit DepthSurface(const D3DSURFACE_DESC& desc) : m_desc(desc) {}
  D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
  void PreLoad() override {}
  HRESULT GetDesc(D3DSURFACE_DESC* desc) override {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = m_desc;
    return D3D_OK;
  }
  HRESULT LockRect(D3DLOCKED_RECT*, const RECT*, DWORD) override { return D3DERR_INVALIDCALL; }
  HRESULT UnlockRect() override { return D3DERR_INVALIDCALL; }

 private:
  D3DSURFACE_DESC m_desc;
};

GLsizei SampleCount(D3DMULTISAMPLE_TYPE type, int maxSamples) {
  if (type == D3DMULTISAMPLE_NONE) return 0;
  if (type == D3DMULTISAMPLE_NONMASKABLE) return std::min(4, maxSamples);
  return GLsizei(type);
}

}  // namespace

HRESULT GlDevice::Create(HWND focusWindow, const D3DCAPS9& caps, D3DPRESENT_PARAMETERS* params,
                         IDirect3DDevice9** device) {
  if (!params || !device) return D3DERR_INVALIDCALL;
  *device = nullptr;
  const HWND window = params->hDeviceWindow ? params->hDeviceWindow : focusWindow;
  std::string error;
  auto context = GlContext::Create(window, error);
  if (!context) {
    OutputDebugStringA(("OpenGL context creation failed: " + error + "\n").c_str());
    return D3DERR_NOTAVAILABLE;
  }
  if (!context->Info().Sufficient()) return D3DERR_NOTAVAILABLE;
  auto* made = new GlDevice(std::move(context), caps, focusWindow);
  const HRESULT result = made->Configure(*params);
  if (FAILED(result)) {
    made->Release();
    return result;
  }
  *device = made;
  return D3D_OK;
}

GlDevice::GlDevice(std::shared_ptr<GlContext> context, const D3DCAPS9& caps, HWND focusWindow)
    : m_context(std::move(context)), m_caps(caps), m_focusWindow(focusWindow), m_applier(m_context) {
  glGenFramebuffers(1, &m_drawFbo);
  glGenBuffers(1, &m_upVertices);
  glGenBuffers(1, &m_upIndices);
}

GlDevice::~GlDevice() {
  SetFullScreenFrame(m_context->Window(), 0, 0);
  if (m_pointProgram) m_pointProgram->Release();
  if (m_renderTarget) m_renderTarget->Release();
  if (m_depthSurface) m_depthSurface->Release();
  if (m_backBuffer) m_backBuffer->Release();
  if (m_context->MakeCurrent()) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &m_drawFbo);
    if (m_depth) glDeleteRenderbuffers(1, &m_depth);
    glDeleteBuffers(1, &m_upVertices);
    glDeleteBuffers(1, &m_upIndices);
  }
}

HRESULT GlDevice::Configure(D3DPRESENT_PARAMETERS& params) {
  const HWND handle = params.hDeviceWindow ? params.hDeviceWindow : m_focusWindow;
  SDL_Window* window = LookupWindow(handle);
  if (!window || window != m_context->Window() || !m_context->MakeCurrent()) return D3DERR_INVALIDCALL;
  if (params.BackBufferCount > 3 || params.SwapEffect < D3DSWAPEFFECT_DISCARD ||
      params.SwapEffect > D3DSWAPEFFECT_COPY) {
    return D3DERR_INVALIDCALL;
  }
  const GLsizei samples = SampleCount(params.MultiSampleType, m_context->Info().maxSamples);
  if (samples > m_context->Info().maxSamples) return D3DERR_INVALIDCALL;
  if (params.BackBufferFormat == D3DFMT_UNKNOWN) {
    if (!params.Windowed) return D3DERR_INVALIDCALL;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;  // the desktop's format
  }
  if (!RenderTargetFormatFor(params.BackBufferFormat)) return D3DERR_INVALIDCALL;
  if (const HRESULT result = ConfigureWindow(params, window); FAILED(result)) return result;
  int drawableWidth = 0, drawableHeight = 0;
  SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
  if (params.BackBufferWidth == 0) params.BackBufferWidth = UINT(std::max(drawableWidth, 0));
  if (params.BackBufferHeight == 0) params.BackBufferHeight = UINT(std::max(drawableHeight, 0));
  const UINT width = params.BackBufferWidth, height = params.BackBufferHeight;
  const int maxSize = m_context->Info().maxTextureSize;
  if (width == 0 || height == 0 || int(width) > maxSize || int(height) > maxSize) return D3DERR_INVALIDCALL;

  if (!m_backBuffer) {
    m_backBuffer = new GlRenderTargetSurface(m_context, width, height, params.BackBufferFormat, samples,
                                             params.MultiSampleType);
  } else {
    m_backBuffer->Allocate(width, height, params.BackBufferFormat, samples, params.MultiSampleType);
  }
  if (!m_backBuffer->Valid()) return D3DERR_OUTOFVIDEOMEMORY;
  if (const HRESULT result = ConfigureDepth(params, width, height, samples); FAILED(result)) return result;
  SDL_GL_SetSwapInterval(params.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);

  m_params = params;
  m_samples = samples;
  if (m_renderTarget) m_renderTarget->Release();
  m_renderTarget = m_backBuffer;
  m_renderTarget->AddRef();
  m_targetDirty = true;
  m_inScene = false;
  m_state.Reset(width, height, params.EnableAutoDepthStencil != FALSE);
  m_dirty = kDirtyAll;
  m_applier.Invalidate();
  m_depthResidency.Reset();
  PlaceBackBuffer();
  BindTarget();
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return D3DERR_OUTOFVIDEOMEMORY;
  return D3D_OK;
}

HRESULT GlDevice::ConfigureWindow(const D3DPRESENT_PARAMETERS& params, SDL_Window* window) {
  if (params.Windowed) {
    if (m_fullScreen) {
      SDL_SetWindowFullscreen(window, 0);
      SettleWindowFramebuffer(window);
    }
    m_fullScreen = false;
    SetFullScreenFrame(window, 0, 0);
    return D3D_OK;
  }
  if (params.BackBufferWidth == 0 || params.BackBufferHeight == 0) return D3DERR_INVALIDCALL;
  // The window's client area is the frame's, whatever mode the display keeps.
  SetFullScreenFrame(window, int(params.BackBufferWidth), int(params.BackBufferHeight));
  // Full screen switches the display to a mode of the back buffer's size. A display
  // without one keeps its own mode: the window covers it and Present scales the frame
  // to it, keeping the frame's shape (a mode of another size would be taken by SDL
  // while the window itself kept the frame's size, cutting the frame off).
  SDL_DisplayMode wanted{SDL_PIXELFORMAT_UNKNOWN, int(params.BackBufferWidth), int(params.BackBufferHeight),
                         int(params.FullScreen_RefreshRateInHz), nullptr};
  SDL_DisplayMode closest{};
  const int display = std::max(0, SDL_GetWindowDisplayIndex(window));
  const bool modeFits = SDL_GetClosestDisplayMode(display, &wanted, &closest) && closest.w == wanted.w &&
                        closest.h == wanted.h;
  Uint32 flags = SDL_WINDOW_FULLSCREEN;
  if (modeFits) {
    SDL_SetWindowDisplayMode(window, &closest);
    SDL_SetWindowSize(window, int(params.BackBufferWidth), int(params.BackBufferHeight));
  } else {
    SDL_Rect desktop{};
    if (SDL_GetDisplayBounds(display, &desktop) == 0) {
      SDL_SetWindowPosition(window, desktop.x, desktop.y);
      SDL_SetWindowSize(window, desktop.w, desktop.h);
    }
    flags = SDL_WINDOW_FULLSCREEN_DESKTOP;
  }
  if (SDL_SetWindowFullscreen(window, flags) != 0) {
    OutputDebugStringA((std::string("Full screen refused: ") + SDL_GetError() + "\n").c_str());
  }
  m_fullScreen = true;
  SettleWindowFramebuffer(window);
  return D3D_OK;
}

void GlDevice::SettleWindowFramebuffer(SDL_Window* window) {
  // The window's framebuffer keeps the size it had when the context was made current
  // until the next swap (Mesa asks the window for its size there): the first frame
  // after the window grew to the screen (the splash) would land in the old size, the
  // screen's top-left corner, cut off at its top.
  m_context->framebufferClobbered = true;
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glDrawBuffer(GL_BACK);
  ClearWindowBlack();
  SDL_GL_SwapWindow(window);
}

void GlDevice::ClearWindowBlack() {
  const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
  if (scissor) glDisable(GL_SCISSOR_TEST);
  GLfloat colour[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, colour);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(colour[0], colour[1], colour[2], colour[3]);
  if (scissor) glEnable(GL_SCISSOR_TEST);
}

HRESULT GlDevice::ConfigureDepth(const D3DPRESENT_PARAMETERS& params, UINT width, UINT height, GLsizei samples) {
  if (m_depthSurface) m_depthSurface->Release();
  m_depthSurface = nullptr;
  if (!params.EnableAutoDepthStencil) {
    if (m_depth) glDeleteRenderbuffers(1, &m_depth);
    m_depth = 0;
    return D3D_OK;
  }
  const GLenum internal = DepthFormatFor(params.AutoDepthStencilFormat, &m_depthAttachment);
  if (!internal) return D3DERR_INVALIDCALL;
  if (!m_depth) glGenRenderbuffers(1, &m_depth);
  while (glGetError() != GL_NO_ERROR) {
  }
  glBindRenderbuffer(GL_RENDERBUFFER, m_depth);
  if (samples > 0) {
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, internal, GLsizei(width), GLsizei(height));
  } else {
    glRenderbufferStorage(GL_RENDERBUFFER, internal, GLsizei(width), GLsizei(height));
  }
  if (glGetError() != GL_NO_ERROR) return D3DERR_OUTOFVIDEOMEMORY;
  D3DSURFACE_DESC desc{};
  desc.Format = params.AutoDepthStencilFormat;
  desc.Type = D3DRTYPE_SURFACE;
  desc.Usage = D3DUSAGE_DEPTHSTENCIL;
  desc.Pool = D3DPOOL_DEFAULT;
  desc.MultiSampleType = params.MultiSampleType;
  desc.Width = width;
  desc.Height = height;
  m_depthSurface = new DepthSurface(desc);
  m_targetDirty = true;
  return D3D_OK;
}

bool GlDevice::ImageOf(IDirect3DSurface9* surface, GlImage& image) const {
  if (auto* target = dynamic_cast<GlRenderTargetSurface*>(surface)) {
    image = target->Image();
    return target->Valid();
  }
  return TextureLevelImage(surface, image);
}

void GlDevice::BindTarget() {
  if (!m_targetDirty && !m_context->framebufferClobbered) return;
  m_context->framebufferClobbered = false;
  if (!m_targetDirty) {
    glBindFramebuffer(GL_FRAMEBUFFER, m_targetInWindow ? 0 : m_drawFbo);
    return;
  }
  m_targetDirty = false;
  GlImage image;
  if (!ImageOf(m_renderTarget, image)) image = m_backBuffer->Image();
  BindImage(GL_FRAMEBUFFER, m_drawFbo, image);
  const bool depth = m_depth && image.samples == m_samples;
  if (!image.window) {
    // The one depth buffer serves every target whose sampling matches it.
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
    if (depth) glFramebufferRenderbuffer(GL_FRAMEBUFFER, m_depthAttachment, GL_RENDERBUFFER, m_depth);
  }
  m_targetInWindow = image.window;
  m_targetDepth = !depth ? DepthPlace::None : image.window ? DepthPlace::Window : DepthPlace::Offscreen;
  m_targetWidth = image.width;
  m_targetHeight = image.height;
  m_dirty |= kDirtyViewport | kDirtyScissor;  // both count y from the target's top
}

bool GlDevice::WindowCanHoldBackBuffer() const {
  const GlInfo::WindowBits& w = m_context->Info().window;
  const bool colour = w.red == 8 && w.green == 8 && w.blue == 8 && w.doubleBuffered &&
                      ((m_params.BackBufferFormat == D3DFMT_X8R8G8B8 && w.alpha == 0) ||
                       (m_params.BackBufferFormat == D3DFMT_A8R8G8B8 && w.alpha == 8));
  // Depth moves between the window's buffer and the renderbuffer by copies, which need
  // one format on both sides.
  const bool depth = !m_params.EnableAutoDepthStencil ||
                     (m_params.AutoDepthStencilFormat == D3DFMT_D24S8 && w.depth == 24 && w.stencil == 8);
  int width = 0, height = 0;
  SDL_GL_GetDrawableSize(m_context->Window(), &width, &height);
  return colour && depth && m_samples == 0 && m_params.SwapEffect == D3DSWAPEFFECT_DISCARD &&
         width == int(m_params.BackBufferWidth) && height == int(m_params.BackBufferHeight);
}

void GlDevice::PlaceBackBuffer() {
  const bool inWindow = WindowCanHoldBackBuffer();
  if (inWindow == m_backBuffer->Image().window) return;
  m_backBuffer->SetInWindow(inWindow);
  m_targetDirty = true;
  // Parts held by the window's buffer are not copied over: its size has changed, and a
  // device made with D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL (the engine's) has discarded
  // them at the Present that moved the back buffer anyway.
  m_depthResidency.Reset();
}

void GlDevice::BindOffscreenDepth() {
  m_context->framebufferClobbered = true;
  glBindFramebuffer(GL_FRAMEBUFFER, m_context->CopyFramebuffer());
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, m_depthAttachment, GL_RENDERBUFFER, m_depth);
  glDrawBuffer(GL_NONE);
  glReadBuffer(GL_NONE);
}

void GlDevice::BringDepth(bool depth, bool stencil) {
  std::array<DepthMove, 2> moves;
  const bool hasStencil = DescribeFormat(m_params.AutoDepthStencilFormat).stencilBits > 0;
  const int count = m_depthResidency.Bring(m_targetDepth, depth, stencil && hasStencil, moves);
  const UINT width = m_params.BackBufferWidth, height = m_params.BackBufferHeight;
  for (int i = 0; i < count; ++i) {
    const DepthMove& move = moves[std::size_t(i)];
    const GLbitfield bits = move.part == DepthPart::Depth ? GL_DEPTH_BUFFER_BIT : GL_STENCIL_BUFFER_BIT;
    if (move.copy) {
      // The window's buffer and the renderbuffer have the back buffer's size.
      BindOffscreenDepth();
      const bool toWindow = move.to == DepthPlace::Window;
      glBindFramebuffer(toWindow ? GL_DRAW_FRAMEBUFFER : GL_READ_FRAMEBUFFER, 0);
      const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
      if (scissor) glDisable(GL_SCISSOR_TEST);
      while (glGetError() != GL_NO_ERROR) {
      }
      glBlitFramebuffer(0, 0, GLint(width), GLint(height), 0, 0, GLint(width), GLint(height), bits, GL_NEAREST);
      if (scissor) glEnable(GL_SCISSOR_TEST);
      if (glGetError() != GL_NO_ERROR) WarnOnce("a depth-stencil copy between the window and the offscreen buffer");
    } else {
      // A target smaller than the depth buffer would clear only its own part of it.
      if (m_targetWidth != width || m_targetHeight != height) BindOffscreenDepth();
      m_applier.ClearWhole(bits, move.depth, move.stencil);
    }
    BindTarget();
  }
}

bool GlDevice::ClearCoversDepth(DWORD count, const D3DRECT* rects) const {
  const UINT width = m_params.BackBufferWidth, height = m_params.BackBufferHeight;
  const D3DVIEWPORT9& v = m_state.viewport;
  const bool viewport = v.X == 0 && v.Y == 0 && v.Width >= width && v.Height >= height;
  const RECT& s = m_state.scissor;
  const bool scissor = !m_state.render[D3DRS_SCISSORTESTENABLE] ||
                       (s.left <= 0 && s.top <= 0 && s.right >= LONG(width) && s.bottom >= LONG(height));
  return (count == 0 || !rects) && m_targetWidth == width && m_targetHeight == height && viewport && scissor;
}

HRESULT GlDevice::TestCooperativeLevel() { return m_resetFailed ? D3DERR_DEVICENOTRESET : D3D_OK; }

UINT GlDevice::GetAvailableTextureMem() {
  const unsigned megabytes = m_context->Info().videoMemoryMB ? m_context->Info().videoMemoryMB : 256;
  return UINT(std::min<unsigned long long>(static_cast<unsigned long long>(megabytes) << 20, 0xFFF00000ull));
}

HRESULT GlDevice::GetDeviceCaps(D3DCAPS9* caps) {
  if (!caps) return D3DERR_INVALIDCALL;
  *caps = m_caps;
  return D3D_OK;
}

HRESULT GlDevice::Reset(D3DPRESENT_PARAMETERS* params) {
  if (!params) return D3DERR_INVALIDCALL;
  const HRESULT result = Configure(*params);
  m_resetFailed = FAILED(result);
  return result;
}

CopyRect GlDevice::PresentRect(UINT frameWidth, UINT frameHeight, int width, int height) const {
  if (!m_fullScreen) return {0, 0, width, height};
  const RECT shown = FitFrame(int(frameWidth), int(frameHeight), width, height);
  return {shown.left, shown.top, shown.right, shown.bottom};
}

HRESULT GlDevice::Present(const RECT* source, const RECT* dest, HWND, const void*) {
  if (m_resetFailed) return D3DERR_DEVICELOST;
  if (!m_context->MakeCurrent()) return D3DERR_DEVICELOST;
  if (source || dest) WarnOnce("Present rectangles (the whole back buffer is shown)");
  if (!m_backBuffer->Image().window) CopyBackBufferToWindow();
  {
    const GlWorkTimer swap("SDL_GL_SwapWindow");
    SDL_GL_SwapWindow(m_context->Window());
  }
  PlaceBackBuffer();  // the window may have changed its size since
  return D3D_OK;
}

void GlDevice::CopyBackBufferToWindow() {
  int width = 0, height = 0;
  SDL_GL_GetDrawableSize(m_context->Window(), &width, &height);
  GlImage image = m_backBuffer->Image();
  GLuint resolved = 0;
  if (image.samples > 0) {
    glGenRenderbuffers(1, &resolved);
    glBindRenderbuffer(GL_RENDERBUFFER, resolved);
    glRenderbufferStorage(GL_RENDERBUFFER, RenderTargetFormatFor(image.format), GLsizei(image.width),
                          GLsizei(image.height));
    GlImage plain = image;
    plain.name = resolved;
    plain.samples = 0;
    const CopyRect all{0, 0, LONG(image.width), LONG(image.height)};
    BlitImage(*m_context, image, all, plain, all, GL_NEAREST, false);
    image = plain;
  }
  m_context->framebufferClobbered = true;
  BindImage(GL_READ_FRAMEBUFFER, m_context->ReadFramebuffer(), image);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glDrawBuffer(GL_BACK);
  const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
  if (scissor) glDisable(GL_SCISSOR_TEST);
  const bool sameSize = width == int(image.width) && height == int(image.height);
  const CopyRect to = PresentRect(image.width, image.height, width, height);
  // The bars beside a full-screen frame of another shape stay black.
  if (to.right - to.left < width || to.bottom - to.top < height) ClearWindowBlack();
  glBlitFramebuffer(0, 0, GLint(image.width), GLint(image.height), GLint(to.left), GLint(to.top), GLint(to.right),
                    GLint(to.bottom), GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
  if (scissor) glEnable(GL_SCISSOR_TEST);
  if (resolved) glDeleteRenderbuffers(1, &resolved);
}

HRESULT GlDevice::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE, IDirect3DSurface9** surface) {
  if (!surface || swapChain != 0 || index >= std::max(1u, m_params.BackBufferCount)) return D3DERR_INVALIDCALL;
  *surface = m_backBuffer;
  m_backBuffer->AddRef();
  return D3D_OK;
}

void GlDevice::SetGammaRamp(UINT, DWORD, const D3DGAMMARAMP* ramp) {
  if (!ramp) return;
  m_gamma = *ramp;
  SDL_SetWindowGammaRamp(m_context->Window(), ramp->red, ramp->green, ramp->blue);  // failures are silent
}

void GlDevice::GetGammaRamp(UINT, D3DGAMMARAMP* ramp) {
  if (ramp) *ramp = m_gamma;
}

HRESULT GlDevice::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
  GlImage image;
  if (index != 0 || !surface || !ImageOf(surface, image)) return D3DERR_INVALIDCALL;
  surface->AddRef();
  m_renderTarget->Release();
  m_renderTarget = surface;
  m_targetDirty = true;
  // Direct3D sets the viewport and scissor rectangle to the whole new target.
  m_state.viewport = {0, 0, image.width, image.height, 0.0f, 1.0f};
  m_state.scissor = {0, 0, LONG(image.width), LONG(image.height)};
  m_dirty |= kDirtyViewport | kDirtyScissor | kDirtyTransforms;
  return D3D_OK;
}

HRESULT GlDevice::GetRenderTarget(DWORD index, IDirect3DSurface9** surface) {
  if (index != 0 || !surface) return D3DERR_INVALIDCALL;
  *surface = m_renderTarget;
  m_renderTarget->AddRef();
  return D3D_OK;
}

HRESULT GlDevice::GetDepthStencilSurface(IDirect3DSurface9** surface) {
  if (!surface) return D3DERR_INVALIDCALL;
  *surface = m_depthSurface;
  if (!m_depthSurface) return D3DERR_NOTFOUND;
  m_depthSurface->AddRef();
  return D3D_OK;
}

HRESULT GlDevice::StretchRect(IDirect3DSurface9* source, const RECT* sourceRect, IDirect3DSurface9* dest,
                              const RECT* destRect, D3DTEXTUREFILTERTYPE filter) {
  GlImage to;
  if (!source || !ImageOf(dest, to) || !m_context->MakeCurrent()) return D3DERR_INVALIDCALL;
  D3DSURFACE_DESC desc{};
  source->GetDesc(&desc);
  const CopyRect fromRect = WholeOrRect(sourceRect, desc.Width, desc.Height);
  const CopyRect toRect = WholeOrRect(destRect, to.width, to.height);
  auto inside = [](const CopyRect& r, UINT w, UINT h) {
    return r.left >= 0 && r.top >= 0 && r.right > r.left && r.bottom > r.top && r.right <= LONG(w) &&
           r.bottom <= LONG(h);
  };
  if (!inside(fromRect, desc.Width, desc.Height) || !inside(toRect, to.width, to.height)) return D3DERR_INVALIDCALL;
  const GLenum glFilter = filter == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST;
  GlImage from;
  if (ImageOf(source, from)) {
    BlitImage(*m_context, from, fromRect, to, toRect, glFilter, false);
    return D3D_OK;
  }
  // A system-memory surface goes through a temporary texture (its rows are top first).
  auto* plain = dynamic_cast<CpuSurface*>(source);
  const GlFormat format = TextureFormatFor(desc.Format, false);
  if (!plain || !format.internalFormat) return D3DERR_INVALIDCALL;
  const TextureStorage::Level* level = plain->Storage().Find(0, 0);
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  m_context->textureBindingsClobbered = true;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GLint(format.internalFormat), GLsizei(level->width), GLsizei(level->height), 0,
               format.format, format.type, level->bytes.data());
  from = {true, texture, GL_TEXTURE_2D, 0, level->width, level->height, 0, desc.Format};
  BlitImage(*m_context, from, fromRect, to, toRect, glFilter, true);
  glDeleteTextures(1, &texture);
  return D3D_OK;
}

HRESULT GlDevice::BeginScene() {
  if (m_inScene) return D3DERR_INVALIDCALL;
  m_inScene = true;
  return D3D_OK;
}

HRESULT GlDevice::EndScene() {
  if (!m_inScene) return D3DERR_INVALIDCALL;
  m_inScene = false;
  return D3D_OK;
}

HRESULT GlDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
  if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !m_depth) return D3DERR_INVALIDCALL;
  if ((flags & D3DCLEAR_STENCIL) && DescribeFormat(m_params.AutoDepthStencilFormat).stencilBits == 0) {
    return D3DERR_INVALIDCALL;
  }
  if (!m_context->MakeCurrent()) return D3DERR_DEVICELOST;
  BindTarget();
  const DWORD depthFlags = flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL);
  if (depthFlags && m_targetDepth != DepthPlace::None) {
    if (ClearCoversDepth(count, rects)) {
      // Made where the part is next used: often not this target (see GlDepthResidency).
      if (flags & D3DCLEAR_ZBUFFER) m_depthResidency.ClearWhole(DepthPart::Depth, z, stencil);
      if (flags & D3DCLEAR_STENCIL) m_depthResidency.ClearWhole(DepthPart::Stencil, z, stencil);
      flags &= ~depthFlags;
    } else {
      BringDepth((flags & D3DCLEAR_ZBUFFER) != 0, (flags & D3DCLEAR_STENCIL) != 0);
    }
  }
  m_applier.Clear(m_state, count, rects, flags, color, z, stencil, m_targetWidth, m_targetHeight);
  return D3D_OK;
}

void GlDevice::OnUntracked(IUnknown*) {
  // A deleted GL name may come back for a new object: forget every cached binding.
  m_applier.ForgetBindings();
}

}  // namespace platform::d3d9
