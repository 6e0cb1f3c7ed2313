// The OpenGL device's resource creation and drawing.
#include "platform/d3d9.h"
#include "platform/d3d9/Formats.h"
#include "platform/d3d9/VertexDeclaration.h"
#include "platform/d3d9/WarnOnce.h"
#include "platform/d3d9/gl/GlDevice.h"
#include "platform/d3d9/gl/GlMapping.h"
#include "platform/d3d9/gl/GlResources.h"
#include "platform/win32/Debug.h"

#include <algorithm>

namespace platform {

namespace {
std::string& ShaderLog() {
  static std::string log;
  return log;
}
}  // namespace

const std::string& VertexProgramLog() { return ShaderLog(); }

std::uint64_t DeviceStateChanges() { return d3d9::GlStateApplier::StateChanges(); }

std::uint64_t DeviceGlCalls() { return d3d9::g_glCalls; }

void TraceDeviceGlCalls(bool on) {
  static std::vector<const char*> trace;
  trace.clear();
  d3d9::g_glTrace = on ? &trace : nullptr;
}

DeviceWork DeviceWorkSoFar() { return {d3d9::g_glDraws, d3d9::g_glWorkNs}; }

void MeasureDeviceWork(bool on) { d3d9::g_glTimeWork = on; }

void ProfileDeviceWork(void (*hook)(const char* glName, std::uint64_t ns)) { d3d9::g_glProfileHook = hook; }

std::vector<std::string> TakeDeviceGlCalls() {
  if (!d3d9::g_glTrace) return {};
  std::vector<std::string> names(d3d9::g_glTrace->begin(), d3d9::g_glTrace->end());
  d3d9::g_glTrace->clear();
  return names;
}

}  // namespace platform

namespace platform::d3d9 {

namespace {

/// Direct3D's fixed-function transform for points whose size comes with each vertex
/// (see GlStateApplier::ApplyPointProgram for the uniforms). Colours pass unlit.
constexpr const char* kPointProgram = R"(#version 120
attribute float inPointSize;
uniform vec4 navo_pointScale;  // A, B, C, viewport height
uniform vec4 navo_pointRange;  // minimum, maximum, scaling on
void main() {
  vec4 eye = gl_ModelViewMatrix * gl_Vertex;
  gl_Position = gl_ProjectionMatrix * eye;
  gl_FrontColor = gl_Color;
  gl_FrontSecondaryColor = vec4(0.0);
  gl_TexCoord[0] = gl_MultiTexCoord0;
  gl_FogFragCoord = abs(eye.z);
  float size = inPointSize;
  if (navo_pointRange.z != 0.0) {
    float d = length(eye.xyz);
    float attenuation = navo_pointScale.x + navo_pointScale.y * d + navo_pointScale.z * d * d;
    size *= navo_pointScale.w * inversesqrt(max(attenuation, 1e-20));
  }
  gl_PointSize = clamp(size, navo_pointRange.x, navo_pointRange.y);
}
)";

HRESULT CreationResult() {
  bool failed = false;
  for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) failed = true;
  return failed ? D3DERR_OUTOFVIDEOMEMORY : D3D_OK;
}

template <class Object, class Interface>
HRESULT Finish(Object* made, Interface** out) {
  if (FAILED(CreationResult())) {
    made->Release();
    return D3DERR_OUTOFVIDEOMEMORY;
  }
  *out = made;
  return D3D_OK;
}

}  // namespace

HRESULT GlDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                IDirect3DTexture9** texture, HANDLE*) {
  const GlInfo& info = m_context->Info();
  const bool renderTarget = usage & D3DUSAGE_RENDERTARGET;
  const GlFormat glFormat = TextureFormatFor(format, info.s3tc, info.software);
  if (!texture || !width || !height || int(width) > info.maxTextureSize || int(height) > info.maxTextureSize ||
      !glFormat.internalFormat || (renderTarget && (pool != D3DPOOL_DEFAULT || glFormat.compressed || glFormat.decodedDxt))) {
    return D3DERR_INVALIDCALL;
  }
  if (!m_context->MakeCurrent()) return D3DERR_DEVICELOST;
  while (glGetError() != GL_NO_ERROR) {
  }
  auto* made = new GlTexture(m_context, width, height, levels, usage, format, pool, glFormat);
  Track(*made, made, "tex");
  return Finish(made, texture);
}

HRESULT GlDevice::CreateVolumeTexture(UINT width, UINT height, UINT depth, UINT levels, DWORD usage,
                                      D3DFORMAT format, D3DPOOL pool, IDirect3DVolumeTexture9** texture, HANDLE*) {
  const GlInfo& info = m_context->Info();
  const GlFormat glFormat = TextureFormatFor(format, info.s3tc, info.software);
  const int largest = int(std::max({width, height, depth}));
  // S3TC in GL is for 2D images: compressed volumes are refused (CheckDeviceFormat says so).
  if (!texture || !width || !height || !depth || largest > info.max3DTextureSize || !glFormat.internalFormat ||
      glFormat.compressed || glFormat.decodedDxt || (usage & D3DUSAGE_RENDERTARGET)) {
    return D3DERR_INVALIDCALL;
  }
  if (!m_context->MakeCurrent()) return D3DERR_DEVICELOST;
  while (glGetError() != GL_NO_ERROR) {
  }
  auto* made = new GlVolumeTexture(m_context, width, height, depth, levels, usage, format, pool, glFormat);
  Track(*made, made, "tex");
  return Finish(made, texture);
}

HRESULT GlDevice::CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                    IDirect3DCubeTexture9** texture, HANDLE*) {
  const GlInfo& info = m_context->Info();
  const GlFormat glFormat = TextureFormatFor(format, info.s3tc, info.software);
  if (!texture || !edge || int(edge) > info.maxCubeSize || !glFormat.internalFormat ||
      (usage & D3DUSAGE_RENDERTARGET)) {
    return D3DERR_INVALIDCALL;
  }
  if (!m_context->MakeCurrent()) return D3DERR_DEVICELOST;
  while (glGetError() != GL_NO_ERROR) {
  }
  auto* made = new GlCubeTexture(m_context, edge, levels, usage, format, pool, glFormat);
  Track(*made, made, "tex");
  return Finish(made, texture);
}

HRESULT GlDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                     IDirect3DVertexBuffer9** buffer, HANDLE*) {
  if (!buffer || length == 0) return D3DERR_INVALIDCALL;
  if (!m_context->MakeCurrent()) return D3DERR_DEVICELOST;
  while (glGetError() != GL_NO_ERROR) {
  }
  auto* made = new GlVertexBuffer(m_context, length, usage, fvf, pool);
  Track(*made, made, "vb");
  return Finish(made, buffer);
}

HRESULT GlDevice::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                    IDirect3DIndexBuffer9** buffer, HANDLE*) {
  if (!buffer || length == 0 || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)) return D3DERR_INVALIDCALL;
  if (!m_context->MakeCurrent()) return D3DERR_DEVICELOST;
  while (glGetError() != GL_NO_ERROR) {
  }
  auto* made = new GlIndexBuffer(m_context, length, usage, format, pool);
  Track(*made, made, "ib");
  return Finish(made, buffer);
}

HRESULT GlDevice::CreateRenderTarget(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
                                     DWORD, BOOL, IDirect3DSurface9** surface, HANDLE*) {
  const GlInfo& info = m_context->Info();
  GLsizei samples = multiSample == D3DMULTISAMPLE_NONMASKABLE ? std::min(4, info.maxSamples) : GLsizei(multiSample);
  if (multiSample == D3DMULTISAMPLE_NONE) samples = 0;
  if (!surface || !width || !height || int(width) > info.maxTextureSize || int(height) > info.maxTextureSize ||
      !RenderTargetFormatFor(format) || samples > info.maxSamples) {
    return D3DERR_INVALIDCALL;
  }
  if (!m_context->MakeCurrent()) return D3DERR_DEVICELOST;
  auto* made = new GlRenderTargetSurface(m_context, width, height, format, samples, multiSample);
  if (!made->Valid()) {
    made->Release();
    return D3DERR_OUTOFVIDEOMEMORY;
  }
  Track(*made, made, "rt");
  *surface = made;
  return D3D_OK;
}

HRESULT GlDevice::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                              IDirect3DSurface9** surface, HANDLE*) {
  if (!surface || !width || !height || !IsColorFormat(format)) return D3DERR_INVALIDCALL;
  auto* made = new CpuSurface(width, height, format, 0, pool);
  Track(*made, made, "surf");
  *surface = made;
  return D3D_OK;
}

HRESULT GlDevice::CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                          IDirect3DVertexDeclaration9** declaration) {
  std::vector<D3DVERTEXELEMENT9> list;
  if (!declaration || !ReadDeclaration(elements, list)) return D3DERR_INVALIDCALL;
  auto* made = new VertexDeclaration(std::move(list));
  Track(*made, made, "decl");
  *declaration = made;
  return D3D_OK;
}

HRESULT GlDevice::CreateVertexShader(const DWORD* function, IDirect3DVertexShader9** shader) {
  if (!function || !shader) return D3DERR_INVALIDCALL;
  std::string& log = ShaderLog();
  log.clear();
  GlVertexShader* made = GlVertexShader::Create(m_context, reinterpret_cast<const char*>(function), log);
  if (!made) {
    OutputDebugStringA(("Vertex program: " + log + "\n").c_str());
    return D3DERR_INVALIDCALL;
  }
  Track(*made, made, "vs");
  *shader = made;
  m_dirty |= kDirtyVertexShader;
  return D3D_OK;
}

HRESULT GlDevice::CreateProgram(const char* vertex, const char* fragment, IDirect3DVertexShader9** shader,
                                std::string& log) {
  if (!vertex || !shader) return D3DERR_INVALIDCALL;
  log.clear();
  GlVertexShader* made = GlVertexShader::Create(m_context, vertex, log, fragment);
  if (!made) return D3DERR_INVALIDCALL;
  Track(*made, made, "vs");
  *shader = made;
  return D3D_OK;
}

HRESULT GlDevice::CreateQuery(D3DQUERYTYPE type, IDirect3DQuery9** query) {
  if (type != D3DQUERYTYPE_OCCLUSION) return D3DERR_NOTAVAILABLE;
  if (!query) return D3D_OK;  // only asked whether the type exists
  if (!m_context->MakeCurrent()) return D3DERR_DEVICELOST;
  auto* made = new GlQuery(m_context);
  Track(*made, made, "query");
  *query = made;
  return D3D_OK;
}

const std::vector<D3DVERTEXELEMENT9>& GlDevice::FvfElements(DWORD fvf) {
  auto [it, added] = m_fvfElements.try_emplace(fvf);
  if (added) it->second = ElementsFromFvf(fvf);
  return it->second;
}

GlVertexShader* GlDevice::PointProgram() {
  if (m_pointProgramTried) return m_pointProgram;
  m_pointProgramTried = true;
  std::string log;
  m_pointProgram = GlVertexShader::Create(m_context, kPointProgram, log);
  if (!m_pointProgram) OutputDebugStringA(("Point-size program: " + log + "\n").c_str());
  return m_pointProgram;
}

bool GlDevice::PrepareDraw(D3DPRIMITIVETYPE type, GLuint upBuffer, UINT upStride, UINT firstVertex,
                           UINT vertexCount) {
  if (!m_context->MakeCurrent()) return false;
  BindTarget();
  if (m_targetDepth != DepthPlace::None) {
    BringDepth(UsesDepth(m_state.render), m_state.render[D3DRS_STENCILENABLE] != FALSE);
  }
  const auto* declaration = dynamic_cast<VertexDeclaration*>(m_state.declaration);
  const auto& elements = declaration ? declaration->Elements() : FvfElements(m_state.fvf);
  const bool pointSizes = type == D3DPT_POINTLIST && !m_state.vertexShader &&
                          std::any_of(elements.begin(), elements.end(),
                                      [](const D3DVERTEXELEMENT9& e) { return e.Usage == D3DDECLUSAGE_PSIZE; });
  m_applier.SetPointProgram(pointSizes ? PointProgram() : nullptr);
  m_applier.Apply(m_state, m_dirty, m_targetHeight);
  m_dirty = 0;
  m_dirtyStageMask = 0;
  if (elements.empty()) return false;
  m_arrays.clear();
  for (const D3DVERTEXELEMENT9& e : elements) {
    if (upBuffer) {
      if (e.Stream != 0) continue;
      m_arrays.push_back({e, upBuffer, e.Offset, GLsizei(upStride)});
      continue;
    }
    if (e.Stream >= kMaxStreams) continue;
    const StreamBinding& binding = m_state.streams[e.Stream];
    auto* buffer = dynamic_cast<GlVertexBuffer*>(binding.buffer);
    if (!buffer || binding.stride == 0) return false;  // an element without its stream
    // Refuse draws that would read past the end of a buffer.
    const std::size_t end = std::size_t(binding.offset) + e.Offset + DeclTypeBytes(e.Type) +
                            std::size_t(firstVertex + vertexCount - 1) * binding.stride;
    if (vertexCount && end > buffer->Length()) {
      WarnOnce("a draw reading past the end of a vertex buffer (draw skipped)");
      return false;
    }
    m_arrays.push_back({e, buffer->GlName(), std::size_t(binding.offset) + e.Offset, GLsizei(binding.stride)});
  }
  m_applier.ApplyVertexInput(m_state, m_arrays);
  return true;
}

HRESULT GlDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
  const UINT count = PrimitiveVertexCount(type, primitiveCount);
  if (count == 0) return primitiveCount ? D3DERR_INVALIDCALL : D3D_OK;
  if (!PrepareDraw(type, 0, 0, startVertex, count)) return D3DERR_INVALIDCALL;
  glDrawArrays(PrimitiveMode(type), GLint(startVertex), GLsizei(count));
  return D3D_OK;
}

HRESULT GlDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex, UINT vertexCount,
                                       UINT startIndex, UINT primitiveCount) {
  const UINT count = PrimitiveVertexCount(type, primitiveCount);
  auto* indices = dynamic_cast<GlIndexBuffer*>(m_state.indices);
  if (!indices || baseVertex < 0) return D3DERR_INVALIDCALL;
  if (count == 0) return primitiveCount ? D3DERR_INVALIDCALL : D3D_OK;
  const std::size_t indexSize = indices->Format() == D3DFMT_INDEX32 ? 4 : 2;
  if ((std::size_t(startIndex) + count) * indexSize > indices->Length()) return D3DERR_INVALIDCALL;
  if (!PrepareDraw(type, 0, 0, UINT(baseVertex) + minIndex, vertexCount)) return D3DERR_INVALIDCALL;
  m_applier.BindIndices(indices->GlName());
  glDrawRangeElementsBaseVertex(PrimitiveMode(type), minIndex, minIndex + (vertexCount ? vertexCount - 1 : 0),
                                GLsizei(count), indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                                reinterpret_cast<const void*>(std::size_t(startIndex) * indexSize), baseVertex);
  return D3D_OK;
}

void GlDevice::EndUpDraw() {
  // Direct3D leaves stream 0 and the indices unset after an UP draw.
  m_state.streams[0] = {};
  m_state.indices = nullptr;
  m_dirty |= kDirtyVertexInput;
}

HRESULT GlDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride) {
  const UINT count = PrimitiveVertexCount(type, primitiveCount);
  if (!vertices || !stride || count == 0) return D3DERR_INVALIDCALL;
  if (!m_context->MakeCurrent()) return D3DERR_DEVICELOST;
  glBindBuffer(GL_ARRAY_BUFFER, m_upVertices);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(std::size_t(count) * stride), vertices, GL_STREAM_DRAW);
  const bool ready = PrepareDraw(type, m_upVertices, stride, 0, count);
  if (ready) glDrawArrays(PrimitiveMode(type), 0, GLsizei(count));
  EndUpDraw();
  return ready ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT GlDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCount,
                                         UINT primitiveCount, const void* indices, D3DFORMAT indexFormat,
                                         const void* vertices, UINT stride) {
  const UINT count = PrimitiveVertexCount(type, primitiveCount);
  const std::size_t indexSize = indexFormat == D3DFMT_INDEX32 ? 4 : 2;
  if (!vertices || !indices || !stride || count == 0 || !vertexCount) return D3DERR_INVALIDCALL;
  if (!m_context->MakeCurrent()) return D3DERR_DEVICELOST;
  glBindBuffer(GL_ARRAY_BUFFER, m_upVertices);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(std::size_t(minIndex + vertexCount) * stride), vertices, GL_STREAM_DRAW);
  const bool ready = PrepareDraw(type, m_upVertices, stride, 0, minIndex + vertexCount);
  if (ready) {
    m_applier.BindIndices(m_upIndices);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(count * indexSize), indices, GL_STREAM_DRAW);
    glDrawRangeElements(PrimitiveMode(type), minIndex, minIndex + vertexCount - 1, GLsizei(count),
                        indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, nullptr);
  }
  EndUpDraw();
  return ready ? D3D_OK : D3DERR_INVALIDCALL;
}

}  // namespace platform::d3d9
