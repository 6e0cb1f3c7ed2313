#pragma once
// Inside the layer: every OpenGL function the device calls, counted. Each name below
// stands for epoxy's function plus one on the device's call counter, so the benchmark
// and the tests can tell what a draw costs in GL calls (every call, not only state
// changes). The device's headers include this one in place of <epoxy/gl.h>; a test
// (D3D9GlCalls.EveryGlFunctionTheDeviceCallsIsCounted) finds calls to names missing here.
//
// The calls that make the renderer work (draws, clears, blits, uploads, read-backs,
// queries' results, flushes) can also be timed for the frame benchmark: while
// g_glTimeWork is set, the calling thread's processor time inside them is summed, and
// while a draw profiler is installed each of them is finished at once and charged with
// the process's processor time it took. Both are off in the game.
#include <epoxy/gl.h>

#include <time.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace platform::d3d9 {

/// GL calls the OpenGL devices of the process have made.
inline std::uint64_t g_glCalls = 0;
/// Draw calls among them.
inline std::uint64_t g_glDraws = 0;
/// The names of the calls, while a test traces them (null otherwise).
inline std::vector<const char*>* g_glTrace = nullptr;
/// While set, the calling thread's processor time inside the working calls and the
/// buffer swap is summed in g_glWorkNs.
inline bool g_glTimeWork = false;
inline std::uint64_t g_glWorkNs = 0;
/// While set, each working call is finished (glFinish) and handed here with the
/// process's processor time it took, in nanoseconds.
inline void (*g_glProfileHook)(const char* name, std::uint64_t ns) = nullptr;

inline void CountGlCall(const char* name) {
  ++g_glCalls;
  if (g_glTrace) g_glTrace->push_back(name);
}

inline std::uint64_t CpuNs(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return std::uint64_t(t.tv_sec) * 1000000000u + std::uint64_t(t.tv_nsec);
}

enum class GlCallKind { State, Work, Draw };

constexpr GlCallKind GlCallKindOf(std::string_view name) {
  constexpr std::string_view kDraws[] = {"glDrawArrays", "glDrawRangeElements", "glDrawRangeElementsBaseVertex"};
  constexpr std::string_view kWork[] = {
      "glClear",         "glBlitFramebuffer",  "glFlush",         "glReadPixels",           "glTexImage2D",
      "glTexImage3D",    "glTexSubImage2D",    "glTexSubImage3D", "glCompressedTexImage2D", "glCompressedTexSubImage2D",
      "glGetTexImage",   "glGetCompressedTexImage", "glGetQueryObjectuiv", "glGetBufferSubData", "glBufferData",
      "glBufferSubData", "glCompileShader",    "glLinkProgram"};
  for (std::string_view draw : kDraws) {
    if (name == draw) return GlCallKind::Draw;
  }
  for (std::string_view work : kWork) {
    if (name == work) return GlCallKind::Work;
  }
  return GlCallKind::State;
}

/// Times a working call (or the swap) while timing or profiling is on; does nothing else.
class GlWorkTimer {
 public:
  explicit GlWorkTimer(const char* name) : m_name(name) {
    if (g_glTimeWork) m_threadStart = CpuNs(CLOCK_THREAD_CPUTIME_ID);
    if (g_glProfileHook) m_processStart = CpuNs(CLOCK_PROCESS_CPUTIME_ID);
  }
  ~GlWorkTimer() {
    if (g_glProfileHook && m_processStart) {
      epoxy_glFinish();
      g_glProfileHook(m_name, CpuNs(CLOCK_PROCESS_CPUTIME_ID) - m_processStart);
    }
    if (m_threadStart) g_glWorkNs += CpuNs(CLOCK_THREAD_CPUTIME_ID) - m_threadStart;
  }
  GlWorkTimer(const GlWorkTimer&) = delete;
  GlWorkTimer& operator=(const GlWorkTimer&) = delete;

 private:
  const char* m_name;
  std::uint64_t m_threadStart = 0;
  std::uint64_t m_processStart = 0;
};

/// Lives for the full expression of one counted call: counts it and times the working ones.
template <GlCallKind kKind>
class GlCallScope {
 public:
  explicit GlCallScope(const char* name) { CountGlCall(name); }
};
template <>
class GlCallScope<GlCallKind::Work> : GlWorkTimer {
 public:
  explicit GlCallScope(const char* name) : GlWorkTimer(name) { CountGlCall(name); }
};
template <>
class GlCallScope<GlCallKind::Draw> : GlWorkTimer {
 public:
  explicit GlCallScope(const char* name) : GlWorkTimer(name) {
    CountGlCall(name);
    ++g_glDraws;
  }
};

}  // namespace platform::d3d9

#define NAVO_COUNTED_GL(name, ...)                                                                        \
  (::platform::d3d9::GlCallScope<::platform::d3d9::GlCallKindOf(#name)>(#name), epoxy_##name(__VA_ARGS__))

#undef glActiveTexture
#define glActiveTexture(...) NAVO_COUNTED_GL(glActiveTexture, __VA_ARGS__)
#undef glAlphaFunc
#define glAlphaFunc(...) NAVO_COUNTED_GL(glAlphaFunc, __VA_ARGS__)
#undef glAttachShader
#define glAttachShader(...) NAVO_COUNTED_GL(glAttachShader, __VA_ARGS__)
#undef glBeginQuery
#define glBeginQuery(...) NAVO_COUNTED_GL(glBeginQuery, __VA_ARGS__)
#undef glBindAttribLocation
#define glBindAttribLocation(...) NAVO_COUNTED_GL(glBindAttribLocation, __VA_ARGS__)
#undef glBindBuffer
#define glBindBuffer(...) NAVO_COUNTED_GL(glBindBuffer, __VA_ARGS__)
#undef glBindFramebuffer
#define glBindFramebuffer(...) NAVO_COUNTED_GL(glBindFramebuffer, __VA_ARGS__)
#undef glBindRenderbuffer
#define glBindRenderbuffer(...) NAVO_COUNTED_GL(glBindRenderbuffer, __VA_ARGS__)
#undef glBindSampler
#define glBindSampler(...) NAVO_COUNTED_GL(glBindSampler, __VA_ARGS__)
#undef glBindTexture
#define glBindTexture(...) NAVO_COUNTED_GL(glBindTexture, __VA_ARGS__)
#undef glBlendColor
#define glBlendColor(...) NAVO_COUNTED_GL(glBlendColor, __VA_ARGS__)
#undef glBlendEquationSeparate
#define glBlendEquationSeparate(...) NAVO_COUNTED_GL(glBlendEquationSeparate, __VA_ARGS__)
#undef glBlendFuncSeparate
#define glBlendFuncSeparate(...) NAVO_COUNTED_GL(glBlendFuncSeparate, __VA_ARGS__)
#undef glBlitFramebuffer
#define glBlitFramebuffer(...) NAVO_COUNTED_GL(glBlitFramebuffer, __VA_ARGS__)
#undef glBufferData
#define glBufferData(...) NAVO_COUNTED_GL(glBufferData, __VA_ARGS__)
#undef glBufferSubData
#define glBufferSubData(...) NAVO_COUNTED_GL(glBufferSubData, __VA_ARGS__)
#undef glCheckFramebufferStatus
#define glCheckFramebufferStatus(...) NAVO_COUNTED_GL(glCheckFramebufferStatus, __VA_ARGS__)
#undef glClear
#define glClear(...) NAVO_COUNTED_GL(glClear, __VA_ARGS__)
#undef glClearColor
#define glClearColor(...) NAVO_COUNTED_GL(glClearColor, __VA_ARGS__)
#undef glClearDepth
#define glClearDepth(...) NAVO_COUNTED_GL(glClearDepth, __VA_ARGS__)
#undef glClearStencil
#define glClearStencil(...) NAVO_COUNTED_GL(glClearStencil, __VA_ARGS__)
#undef glClientActiveTexture
#define glClientActiveTexture(...) NAVO_COUNTED_GL(glClientActiveTexture, __VA_ARGS__)
#undef glClipControl
#define glClipControl(...) NAVO_COUNTED_GL(glClipControl, __VA_ARGS__)
#undef glColor4f
#define glColor4f(...) NAVO_COUNTED_GL(glColor4f, __VA_ARGS__)
#undef glColorMask
#define glColorMask(...) NAVO_COUNTED_GL(glColorMask, __VA_ARGS__)
#undef glColorMaterial
#define glColorMaterial(...) NAVO_COUNTED_GL(glColorMaterial, __VA_ARGS__)
#undef glColorPointer
#define glColorPointer(...) NAVO_COUNTED_GL(glColorPointer, __VA_ARGS__)
#undef glCompileShader
#define glCompileShader(...) NAVO_COUNTED_GL(glCompileShader, __VA_ARGS__)
#undef glCompressedTexImage2D
#define glCompressedTexImage2D(...) NAVO_COUNTED_GL(glCompressedTexImage2D, __VA_ARGS__)
#undef glCompressedTexSubImage2D
#define glCompressedTexSubImage2D(...) NAVO_COUNTED_GL(glCompressedTexSubImage2D, __VA_ARGS__)
#undef glCreateProgram
#define glCreateProgram(...) NAVO_COUNTED_GL(glCreateProgram, __VA_ARGS__)
#undef glCreateShader
#define glCreateShader(...) NAVO_COUNTED_GL(glCreateShader, __VA_ARGS__)
#undef glCullFace
#define glCullFace(...) NAVO_COUNTED_GL(glCullFace, __VA_ARGS__)
#undef glDeleteBuffers
#define glDeleteBuffers(...) NAVO_COUNTED_GL(glDeleteBuffers, __VA_ARGS__)
#undef glDeleteFramebuffers
#define glDeleteFramebuffers(...) NAVO_COUNTED_GL(glDeleteFramebuffers, __VA_ARGS__)
#undef glDeleteProgram
#define glDeleteProgram(...) NAVO_COUNTED_GL(glDeleteProgram, __VA_ARGS__)
#undef glDeleteQueries
#define glDeleteQueries(...) NAVO_COUNTED_GL(glDeleteQueries, __VA_ARGS__)
#undef glDeleteRenderbuffers
#define glDeleteRenderbuffers(...) NAVO_COUNTED_GL(glDeleteRenderbuffers, __VA_ARGS__)
#undef glDeleteSamplers
#define glDeleteSamplers(...) NAVO_COUNTED_GL(glDeleteSamplers, __VA_ARGS__)
#undef glDeleteShader
#define glDeleteShader(...) NAVO_COUNTED_GL(glDeleteShader, __VA_ARGS__)
#undef glDeleteTextures
#define glDeleteTextures(...) NAVO_COUNTED_GL(glDeleteTextures, __VA_ARGS__)
#undef glDepthFunc
#define glDepthFunc(...) NAVO_COUNTED_GL(glDepthFunc, __VA_ARGS__)
#undef glDepthMask
#define glDepthMask(...) NAVO_COUNTED_GL(glDepthMask, __VA_ARGS__)
#undef glDepthRange
#define glDepthRange(...) NAVO_COUNTED_GL(glDepthRange, __VA_ARGS__)
#undef glDisable
#define glDisable(...) NAVO_COUNTED_GL(glDisable, __VA_ARGS__)
#undef glDisableClientState
#define glDisableClientState(...) NAVO_COUNTED_GL(glDisableClientState, __VA_ARGS__)
#undef glDisableVertexAttribArray
#define glDisableVertexAttribArray(...) NAVO_COUNTED_GL(glDisableVertexAttribArray, __VA_ARGS__)
#undef glDrawArrays
#define glDrawArrays(...) NAVO_COUNTED_GL(glDrawArrays, __VA_ARGS__)
#undef glDrawBuffer
#define glDrawBuffer(...) NAVO_COUNTED_GL(glDrawBuffer, __VA_ARGS__)
#undef glDrawRangeElements
#define glDrawRangeElements(...) NAVO_COUNTED_GL(glDrawRangeElements, __VA_ARGS__)
#undef glDrawRangeElementsBaseVertex
#define glDrawRangeElementsBaseVertex(...) NAVO_COUNTED_GL(glDrawRangeElementsBaseVertex, __VA_ARGS__)
#undef glEnable
#define glEnable(...) NAVO_COUNTED_GL(glEnable, __VA_ARGS__)
#undef glEnableClientState
#define glEnableClientState(...) NAVO_COUNTED_GL(glEnableClientState, __VA_ARGS__)
#undef glEnableVertexAttribArray
#define glEnableVertexAttribArray(...) NAVO_COUNTED_GL(glEnableVertexAttribArray, __VA_ARGS__)
#undef glEndQuery
#define glEndQuery(...) NAVO_COUNTED_GL(glEndQuery, __VA_ARGS__)
#undef glFlush
#define glFlush(...) NAVO_COUNTED_GL(glFlush, __VA_ARGS__)
#undef glFogf
#define glFogf(...) NAVO_COUNTED_GL(glFogf, __VA_ARGS__)
#undef glFogfv
#define glFogfv(...) NAVO_COUNTED_GL(glFogfv, __VA_ARGS__)
#undef glFogi
#define glFogi(...) NAVO_COUNTED_GL(glFogi, __VA_ARGS__)
#undef glFramebufferRenderbuffer
#define glFramebufferRenderbuffer(...) NAVO_COUNTED_GL(glFramebufferRenderbuffer, __VA_ARGS__)
#undef glFramebufferTexture2D
#define glFramebufferTexture2D(...) NAVO_COUNTED_GL(glFramebufferTexture2D, __VA_ARGS__)
#undef glFrontFace
#define glFrontFace(...) NAVO_COUNTED_GL(glFrontFace, __VA_ARGS__)
#undef glGenBuffers
#define glGenBuffers(...) NAVO_COUNTED_GL(glGenBuffers, __VA_ARGS__)
#undef glGenFramebuffers
#define glGenFramebuffers(...) NAVO_COUNTED_GL(glGenFramebuffers, __VA_ARGS__)
#undef glGenQueries
#define glGenQueries(...) NAVO_COUNTED_GL(glGenQueries, __VA_ARGS__)
#undef glGenRenderbuffers
#define glGenRenderbuffers(...) NAVO_COUNTED_GL(glGenRenderbuffers, __VA_ARGS__)
#undef glGenSamplers
#define glGenSamplers(...) NAVO_COUNTED_GL(glGenSamplers, __VA_ARGS__)
#undef glGenTextures
#define glGenTextures(...) NAVO_COUNTED_GL(glGenTextures, __VA_ARGS__)
#undef glGetActiveUniform
#define glGetActiveUniform(...) NAVO_COUNTED_GL(glGetActiveUniform, __VA_ARGS__)
#undef glGetBufferSubData
#define glGetBufferSubData(...) NAVO_COUNTED_GL(glGetBufferSubData, __VA_ARGS__)
#undef glGetCompressedTexImage
#define glGetCompressedTexImage(...) NAVO_COUNTED_GL(glGetCompressedTexImage, __VA_ARGS__)
#undef glGetError
#define glGetError(...) NAVO_COUNTED_GL(glGetError, __VA_ARGS__)
#undef glGetBooleanv
#define glGetBooleanv(...) NAVO_COUNTED_GL(glGetBooleanv, __VA_ARGS__)
#undef glGetFloatv
#define glGetFloatv(...) NAVO_COUNTED_GL(glGetFloatv, __VA_ARGS__)
#undef glGetIntegerv
#define glGetIntegerv(...) NAVO_COUNTED_GL(glGetIntegerv, __VA_ARGS__)
#undef glGetProgramInfoLog
#define glGetProgramInfoLog(...) NAVO_COUNTED_GL(glGetProgramInfoLog, __VA_ARGS__)
#undef glGetProgramiv
#define glGetProgramiv(...) NAVO_COUNTED_GL(glGetProgramiv, __VA_ARGS__)
#undef glGetQueryObjectuiv
#define glGetQueryObjectuiv(...) NAVO_COUNTED_GL(glGetQueryObjectuiv, __VA_ARGS__)
#undef glGetShaderInfoLog
#define glGetShaderInfoLog(...) NAVO_COUNTED_GL(glGetShaderInfoLog, __VA_ARGS__)
#undef glGetShaderiv
#define glGetShaderiv(...) NAVO_COUNTED_GL(glGetShaderiv, __VA_ARGS__)
#undef glGetString
#define glGetString(...) NAVO_COUNTED_GL(glGetString, __VA_ARGS__)
#undef glGetTexImage
#define glGetTexImage(...) NAVO_COUNTED_GL(glGetTexImage, __VA_ARGS__)
#undef glGetUniformLocation
#define glGetUniformLocation(...) NAVO_COUNTED_GL(glGetUniformLocation, __VA_ARGS__)
#undef glIsEnabled
#define glIsEnabled(...) NAVO_COUNTED_GL(glIsEnabled, __VA_ARGS__)
#undef glLightModelfv
#define glLightModelfv(...) NAVO_COUNTED_GL(glLightModelfv, __VA_ARGS__)
#undef glLightModeli
#define glLightModeli(...) NAVO_COUNTED_GL(glLightModeli, __VA_ARGS__)
#undef glLightf
#define glLightf(...) NAVO_COUNTED_GL(glLightf, __VA_ARGS__)
#undef glLightfv
#define glLightfv(...) NAVO_COUNTED_GL(glLightfv, __VA_ARGS__)
#undef glLinkProgram
#define glLinkProgram(...) NAVO_COUNTED_GL(glLinkProgram, __VA_ARGS__)
#undef glLoadIdentity
#define glLoadIdentity(...) NAVO_COUNTED_GL(glLoadIdentity, __VA_ARGS__)
#undef glLoadMatrixf
#define glLoadMatrixf(...) NAVO_COUNTED_GL(glLoadMatrixf, __VA_ARGS__)
#undef glMaterialf
#define glMaterialf(...) NAVO_COUNTED_GL(glMaterialf, __VA_ARGS__)
#undef glMaterialfv
#define glMaterialfv(...) NAVO_COUNTED_GL(glMaterialfv, __VA_ARGS__)
#undef glMatrixMode
#define glMatrixMode(...) NAVO_COUNTED_GL(glMatrixMode, __VA_ARGS__)
#undef glNormal3f
#define glNormal3f(...) NAVO_COUNTED_GL(glNormal3f, __VA_ARGS__)
#undef glNormalPointer
#define glNormalPointer(...) NAVO_COUNTED_GL(glNormalPointer, __VA_ARGS__)
#undef glPixelStorei
#define glPixelStorei(...) NAVO_COUNTED_GL(glPixelStorei, __VA_ARGS__)
#undef glPointParameterf
#define glPointParameterf(...) NAVO_COUNTED_GL(glPointParameterf, __VA_ARGS__)
#undef glPointParameterfv
#define glPointParameterfv(...) NAVO_COUNTED_GL(glPointParameterfv, __VA_ARGS__)
#undef glPointParameteri
#define glPointParameteri(...) NAVO_COUNTED_GL(glPointParameteri, __VA_ARGS__)
#undef glPointSize
#define glPointSize(...) NAVO_COUNTED_GL(glPointSize, __VA_ARGS__)
#undef glPolygonMode
#define glPolygonMode(...) NAVO_COUNTED_GL(glPolygonMode, __VA_ARGS__)
#undef glPolygonOffset
#define glPolygonOffset(...) NAVO_COUNTED_GL(glPolygonOffset, __VA_ARGS__)
#undef glPopMatrix
#define glPopMatrix(...) NAVO_COUNTED_GL(glPopMatrix, __VA_ARGS__)
#undef glProvokingVertex
#define glProvokingVertex(...) NAVO_COUNTED_GL(glProvokingVertex, __VA_ARGS__)
#undef glPushMatrix
#define glPushMatrix(...) NAVO_COUNTED_GL(glPushMatrix, __VA_ARGS__)
#undef glReadBuffer
#define glReadBuffer(...) NAVO_COUNTED_GL(glReadBuffer, __VA_ARGS__)
#undef glReadPixels
#define glReadPixels(...) NAVO_COUNTED_GL(glReadPixels, __VA_ARGS__)
#undef glRenderbufferStorage
#define glRenderbufferStorage(...) NAVO_COUNTED_GL(glRenderbufferStorage, __VA_ARGS__)
#undef glRenderbufferStorageMultisample
#define glRenderbufferStorageMultisample(...) NAVO_COUNTED_GL(glRenderbufferStorageMultisample, __VA_ARGS__)
#undef glSamplerParameterf
#define glSamplerParameterf(...) NAVO_COUNTED_GL(glSamplerParameterf, __VA_ARGS__)
#undef glSamplerParameterfv
#define glSamplerParameterfv(...) NAVO_COUNTED_GL(glSamplerParameterfv, __VA_ARGS__)
#undef glSamplerParameteri
#define glSamplerParameteri(...) NAVO_COUNTED_GL(glSamplerParameteri, __VA_ARGS__)
#undef glScissor
#define glScissor(...) NAVO_COUNTED_GL(glScissor, __VA_ARGS__)
#undef glSecondaryColor3f
#define glSecondaryColor3f(...) NAVO_COUNTED_GL(glSecondaryColor3f, __VA_ARGS__)
#undef glSecondaryColorPointer
#define glSecondaryColorPointer(...) NAVO_COUNTED_GL(glSecondaryColorPointer, __VA_ARGS__)
#undef glShadeModel
#define glShadeModel(...) NAVO_COUNTED_GL(glShadeModel, __VA_ARGS__)
#undef glShaderSource
#define glShaderSource(...) NAVO_COUNTED_GL(glShaderSource, __VA_ARGS__)
#undef glStencilFuncSeparate
#define glStencilFuncSeparate(...) NAVO_COUNTED_GL(glStencilFuncSeparate, __VA_ARGS__)
#undef glStencilMask
#define glStencilMask(...) NAVO_COUNTED_GL(glStencilMask, __VA_ARGS__)
#undef glStencilOpSeparate
#define glStencilOpSeparate(...) NAVO_COUNTED_GL(glStencilOpSeparate, __VA_ARGS__)
#undef glTexCoordPointer
#define glTexCoordPointer(...) NAVO_COUNTED_GL(glTexCoordPointer, __VA_ARGS__)
#undef glTexEnvf
#define glTexEnvf(...) NAVO_COUNTED_GL(glTexEnvf, __VA_ARGS__)
#undef glTexEnvfv
#define glTexEnvfv(...) NAVO_COUNTED_GL(glTexEnvfv, __VA_ARGS__)
#undef glTexEnvi
#define glTexEnvi(...) NAVO_COUNTED_GL(glTexEnvi, __VA_ARGS__)
#undef glTexGenfv
#define glTexGenfv(...) NAVO_COUNTED_GL(glTexGenfv, __VA_ARGS__)
#undef glTexGeni
#define glTexGeni(...) NAVO_COUNTED_GL(glTexGeni, __VA_ARGS__)
#undef glTexImage2D
#define glTexImage2D(...) NAVO_COUNTED_GL(glTexImage2D, __VA_ARGS__)
#undef glTexImage3D
#define glTexImage3D(...) NAVO_COUNTED_GL(glTexImage3D, __VA_ARGS__)
#undef glTexParameteri
#define glTexParameteri(...) NAVO_COUNTED_GL(glTexParameteri, __VA_ARGS__)
#undef glTexSubImage2D
#define glTexSubImage2D(...) NAVO_COUNTED_GL(glTexSubImage2D, __VA_ARGS__)
#undef glTexSubImage3D
#define glTexSubImage3D(...) NAVO_COUNTED_GL(glTexSubImage3D, __VA_ARGS__)
#undef glUniform1fv
#define glUniform1fv(...) NAVO_COUNTED_GL(glUniform1fv, __VA_ARGS__)
#undef glUniform1i
#define glUniform1i(...) NAVO_COUNTED_GL(glUniform1i, __VA_ARGS__)
#undef glUniform1iv
#define glUniform1iv(...) NAVO_COUNTED_GL(glUniform1iv, __VA_ARGS__)
#undef glUniform2f
#define glUniform2f(...) NAVO_COUNTED_GL(glUniform2f, __VA_ARGS__)
#undef glUniform2fv
#define glUniform2fv(...) NAVO_COUNTED_GL(glUniform2fv, __VA_ARGS__)
#undef glUniform3fv
#define glUniform3fv(...) NAVO_COUNTED_GL(glUniform3fv, __VA_ARGS__)
#undef glUniform4f
#define glUniform4f(...) NAVO_COUNTED_GL(glUniform4f, __VA_ARGS__)
#undef glUniform4fv
#define glUniform4fv(...) NAVO_COUNTED_GL(glUniform4fv, __VA_ARGS__)
#undef glUniformMatrix4fv
#define glUniformMatrix4fv(...) NAVO_COUNTED_GL(glUniformMatrix4fv, __VA_ARGS__)
#undef glUseProgram
#define glUseProgram(...) NAVO_COUNTED_GL(glUseProgram, __VA_ARGS__)
#undef glVertexAttribPointer
#define glVertexAttribPointer(...) NAVO_COUNTED_GL(glVertexAttribPointer, __VA_ARGS__)
#undef glVertexPointer
#define glVertexPointer(...) NAVO_COUNTED_GL(glVertexPointer, __VA_ARGS__)
#undef glViewport
#define glViewport(...) NAVO_COUNTED_GL(glViewport, __VA_ARGS__)
