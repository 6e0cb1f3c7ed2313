#include "platform/d3d9/gl/GlContext.h"

#include "platform/d3d9/gl/GlDirect3D.h"
#include "platform/win32/WindowTable.h"

#include <epoxy/glx.h>

#include <algorithm>
#include <cctype>

namespace platform::d3d9 {

namespace {

SDL_GLContext g_current = nullptr;

unsigned QueryVideoMemory() {
  if (epoxy_has_gl_extension("GL_NVX_gpu_memory_info")) {
    GLint kb = 0;
    glGetIntegerv(0x9047 /* GL_GPU_MEMORY_INFO_TOTAL_AVAILABLE_MEMORY_NVX */, &kb);
    return unsigned(kb / 1024);
  }
  if (epoxy_has_gl_extension("GL_ATI_meminfo")) {
    GLint kb[4] = {};
    glGetIntegerv(0x87FC /* GL_TEXTURE_FREE_MEMORY_ATI */, kb);
    return unsigned(kb[0] / 1024);
  }
  // Mesa tells through GLX when the context is a GLX one.
  if (glXGetCurrentContext() && glXGetCurrentDisplay() &&
      epoxy_has_glx_extension(glXGetCurrentDisplay(), 0, "GLX_MESA_query_renderer")) {
    unsigned megabytes = 0;
    if (glXQueryCurrentRendererIntegerMESA(GLX_RENDERER_VIDEO_MEMORY_MESA, &megabytes)) return megabytes;
  }
  return 0;
}

/// The driver's answer whether the renderer is accelerated (1, 0), or -1 when it has none.
int QueryAccelerated() {
  if (glXGetCurrentContext() && glXGetCurrentDisplay() &&
      epoxy_has_glx_extension(glXGetCurrentDisplay(), 0, "GLX_MESA_query_renderer")) {
    unsigned accelerated = 0;
    if (glXQueryCurrentRendererIntegerMESA(GLX_RENDERER_ACCELERATED_MESA, &accelerated)) return accelerated ? 1 : 0;
  }
  return -1;
}

}  // namespace

bool IsSoftwareRenderer(const std::string& renderer, int accelerated) {
  if (accelerated >= 0) return accelerated == 0;
  std::string name = renderer;
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  for (const char* software : {"llvmpipe", "softpipe", "swrast", "software rasterizer"}) {
    if (name.find(software) != std::string::npos) return true;
  }
  return false;
}

bool GlInfo::Sufficient() const {
  const bool versionOk = major > kNeededGlMajor || (major == kNeededGlMajor && minor >= kNeededGlMinor);
  return versionOk && clipControl;
}

std::string GlInfo::VersionText() const {
  std::string text = version.empty() ? std::to_string(major) + "." + std::to_string(minor) : version;
  if (!clipControl) text += " without ARB_clip_control";
  return text;
}

GlInfo ReadGlInfo() {
  GlInfo info;
  const int packed = epoxy_gl_version();
  info.major = packed / 10;
  info.minor = packed % 10;
  auto text = [](GLenum name) {
    const auto* s = reinterpret_cast<const char*>(glGetString(name));
    return std::string(s ? s : "");
  };
  info.version = text(GL_VERSION);
  info.renderer = text(GL_RENDERER);
  info.vendor = text(GL_VENDOR);
  info.clipControl = packed >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control");
  info.s3tc = epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc");
  info.software = IsSoftwareRenderer(info.renderer, QueryAccelerated());
  info.anisotropic = epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic") ||
                     epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic");
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &info.maxTextureSize);
  glGetIntegerv(GL_MAX_3D_TEXTURE_SIZE, &info.max3DTextureSize);
  glGetIntegerv(GL_MAX_CUBE_MAP_TEXTURE_SIZE, &info.maxCubeSize);
  glGetIntegerv(GL_MAX_TEXTURE_UNITS, &info.maxTextureUnits);
  glGetIntegerv(GL_MAX_SAMPLES, &info.maxSamples);
  glGetIntegerv(GL_MAX_LIGHTS, &info.maxLights);
  // A new context has the window's framebuffer bound: what it holds.
  glGetIntegerv(GL_RED_BITS, &info.window.red);
  glGetIntegerv(GL_GREEN_BITS, &info.window.green);
  glGetIntegerv(GL_BLUE_BITS, &info.window.blue);
  glGetIntegerv(GL_ALPHA_BITS, &info.window.alpha);
  glGetIntegerv(GL_DEPTH_BITS, &info.window.depth);
  glGetIntegerv(GL_STENCIL_BITS, &info.window.stencil);
  GLboolean doubleBuffered = GL_FALSE;
  glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
  info.window.doubleBuffered = doubleBuffered == GL_TRUE;
  GLfloat range[2] = {1.0f, 1.0f};
  glGetFloatv(GL_ALIASED_POINT_SIZE_RANGE, range);
  info.maxPointSize = range[1];
  if (info.anisotropic) glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &info.maxAnisotropy);
  info.videoMemoryMB = QueryVideoMemory();
  while (glGetError() != GL_NO_ERROR) {
  }
  return info;
}

std::shared_ptr<GlContext> GlContext::Create(HWND handle, std::string& error) {
  SDL_Window* window = LookupWindow(handle);
  if (!window) {
    error = "no window with handle " + std::to_string(handle);
    return nullptr;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, kNeededGlMajor);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, kNeededGlMinor);
  UseGlWindowAttributes(window);
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) {
    // Some drivers refuse an explicit version for compatibility contexts: ask for any.
    SDL_GL_ResetAttributes();
    UseGlWindowAttributes(window);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    context = SDL_GL_CreateContext(window);
  }
  if (!context) {
    error = SDL_GetError();
    return nullptr;
  }
  g_current = context;
  return std::shared_ptr<GlContext>(new GlContext(handle, window, context));
}

GlContext::GlContext(HWND handle, SDL_Window* window, SDL_GLContext context)
    : m_handle(handle), m_window(window), m_context(context) {
  m_info = ReadGlInfo();
  glGenFramebuffers(1, &m_readFbo);
  glGenFramebuffers(1, &m_copyFbo);
}

GlContext::~GlContext() {
  if (MakeCurrent()) {
    glDeleteFramebuffers(1, &m_readFbo);
    glDeleteFramebuffers(1, &m_copyFbo);
    SDL_GL_MakeCurrent(m_window, nullptr);
  }
  if (g_current == m_context) g_current = nullptr;
  SDL_GL_DeleteContext(m_context);
}

bool GlContext::MakeCurrent() {
  if (LookupWindow(m_handle) != m_window) return false;
  if (g_current == m_context) return true;
  SDL_GL_MakeCurrent(m_window, m_context);
  g_current = m_context;
  return true;
}

}  // namespace platform::d3d9
