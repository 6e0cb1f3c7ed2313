#include "platform/d3d9/RecordingDevice.h"

#include "platform/d3d9/CpuBuffers.h"
#include "platform/d3d9/CpuTextures.h"
#include "platform/d3d9/Formats.h"
#include "platform/d3d9/VertexDeclaration.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace platform::d3d9 {

namespace {

class RecordingShader final : public RefCounted<IDirect3DVertexShader9>, public TrackedResource {
 public:
  ~RecordingShader() override { Link().NotifyDestroyed(); }
};

class RecordingQuery final : public RefCounted<IDirect3DQuery9>, public TrackedResource {
 public:
  RecordingQuery(D3DQUERYTYPE type, DWORD result) : m_type(type), m_result(result) {}
  ~RecordingQuery() override { Link().NotifyDestroyed(); }

  D3DQUERYTYPE GetType() override { return m_type; }
  DWORD GetDataSize() override { return m_type == D3DQUERYTYPE_OCCLUSION ? sizeof(DWORD) : sizeof(BOOL); }
  HRESULT Issue(DWORD flags) override {
    if (flags & D3DISSUE_BEGIN) m_ended = false;
    if (flags & D3DISSUE_END) m_ended = true;
    return D3D_OK;
  }
  HRESULT GetData(void* data, DWORD size, DWORD) override {
    if (!m_ended) return S_FALSE;
    if (data && size >= sizeof(DWORD)) *static_cast<DWORD*>(data) = m_result;
    return D3D_OK;
  }

 private:
  D3DQUERYTYPE m_type;
  DWORD m_result;
  bool m_ended = false;
};

/// A buffer that notes its locks, unlocks and preloads in its device's record.
template <class Base, class... Args>
class RecordedBuffer final : public Base {
 public:
  RecordedBuffer(RecordingDevice& device, Args... args) : Base(args...), m_device(device) {}

  HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override {
    Note("Lock(%s, %u, %u, 0x%X)", offset, size, flags);
    return Base::Lock(offset, size, data, flags);
  }
  HRESULT Unlock() override {
    Note("Unlock(%s)");
    return Base::Unlock();
  }
  void PreLoad() override { Note("PreLoad(%s)"); }

 private:
  template <class... Values>
  void Note(const char* format, Values... values) {
    if (!this->Link().Owner()) return;  // the device is gone
    const std::string name = m_device.NameOf(this);
    char line[256];
    std::snprintf(line, sizeof line, format, name.c_str(), values...);
    m_device.Note("%s", line);
  }

  RecordingDevice& m_device;
};

}  // namespace

void RecordingDevice::Note(const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  Record("%s", line);
}

RecordingDeviceConfig DefaultRecordingDeviceConfig() {
  RecordingDeviceConfig config;
  D3DCAPS9& caps = config.caps;
  caps.DeviceType = D3DDEVTYPE_HAL;
  caps.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE | D3DDEVCAPS_HWRASTERIZATION;
  caps.PrimitiveMiscCaps = D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW |
                           D3DPMISCCAPS_COLORWRITEENABLE | D3DPMISCCAPS_BLENDOP;
  caps.MaxTextureWidth = caps.MaxTextureHeight = 2048;
  caps.MaxVolumeExtent = 256;
  caps.MaxAnisotropy = 16;
  caps.StencilCaps = 0x1FF;
  caps.FVFCaps = D3DFVFCAPS_PSIZE | 8;
  caps.MaxTextureBlendStages = caps.MaxSimultaneousTextures = 8;
  caps.MaxActiveLights = 8;
  caps.MaxPointSize = 64.0f;
  caps.MaxStreams = 16;
  caps.VertexShaderVersion = D3DVS_VERSION(2, 0);
  caps.MaxVertexShaderConst = 256;
  caps.PixelShaderVersion = D3DPS_VERSION(2, 0);
  caps.StretchRectFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                               D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
  caps.NumSimultaneousRTs = 1;
  return config;
}

RecordingDevice::RecordingDevice(const RecordingDeviceConfig& config, const D3DPRESENT_PARAMETERS& params)
    : m_config(config), m_params(params) {
  m_recording = config.record;
  MakeTargets();
}

RecordingDevice::~RecordingDevice() { ReleaseTargets(); }

void RecordingDevice::MakeTargets() {
  if (m_params.BackBufferWidth == 0) m_params.BackBufferWidth = m_config.windowWidth;
  if (m_params.BackBufferHeight == 0) m_params.BackBufferHeight = m_config.windowHeight;
  if (m_params.BackBufferFormat == D3DFMT_UNKNOWN) m_params.BackBufferFormat = D3DFMT_X8R8G8B8;
  const UINT w = m_params.BackBufferWidth;
  const UINT h = m_params.BackBufferHeight;
  m_backBuffer = new CpuSurface(w, h, m_params.BackBufferFormat, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT,
                                m_params.MultiSampleType);
  m_renderTarget = m_backBuffer;
  if (m_params.EnableAutoDepthStencil) {
    m_depthStencil = new CpuSurface(w, h, m_params.AutoDepthStencilFormat, D3DUSAGE_DEPTHSTENCIL,
                                    D3DPOOL_DEFAULT, m_params.MultiSampleType);
  }
  m_state.Reset(w, h, m_params.EnableAutoDepthStencil != FALSE);
}

void RecordingDevice::ReleaseTargets() {
  if (m_backBuffer) m_backBuffer->Release();
  if (m_depthStencil) m_depthStencil->Release();
  m_backBuffer = m_depthStencil = m_renderTarget = nullptr;
}

void RecordingDevice::Flush() {
  for (std::string& line : TakeCalls()) m_log.push_back(std::move(line));
}

const std::vector<std::string>& RecordingDevice::Calls() {
  Flush();
  return m_log;
}

void RecordingDevice::ClearCalls() {
  Flush();
  m_log.clear();
}

std::vector<std::string> RecordingDevice::CallsStartingWith(const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : Calls()) {
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  }
  return found;
}

bool RecordingDevice::Fails(const char* call) { return m_config.failingCalls.count(call) != 0; }

HRESULT RecordingDevice::TestCooperativeLevel() {
  Record("TestCooperativeLevel()");
  return m_config.cooperativeLevel;
}

HRESULT RecordingDevice::GetDeviceCaps(D3DCAPS9* caps) {
  if (!caps) return D3DERR_INVALIDCALL;
  *caps = m_config.caps;
  return D3D_OK;
}

HRESULT RecordingDevice::Reset(D3DPRESENT_PARAMETERS* params) {
  if (!params) return D3DERR_INVALIDCALL;
  Record("Reset(%u, %u, windowed %d)", params->BackBufferWidth, params->BackBufferHeight, params->Windowed);
  if (FAILED(m_config.resetResult)) return m_config.resetResult;
  ReleaseTargets();
  m_params = *params;
  MakeTargets();
  // Report the sizes the device took, as Direct3D fills the caller's record.
  params->BackBufferWidth = m_params.BackBufferWidth;
  params->BackBufferHeight = m_params.BackBufferHeight;
  params->BackBufferFormat = m_params.BackBufferFormat;
  return D3D_OK;
}

HRESULT RecordingDevice::Present(const RECT*, const RECT*, HWND, const void*) {
  Record("Present()");
  return m_config.presentResult;
}

HRESULT RecordingDevice::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                                       IDirect3DSurface9** surface) {
  Record("GetBackBuffer(%u, %u, %u)", swapChain, index, DWORD(type));
  if (!surface || swapChain != 0 || index >= std::max(1u, m_params.BackBufferCount)) return D3DERR_INVALIDCALL;
  *surface = m_backBuffer;
  m_backBuffer->AddRef();
  return D3D_OK;
}

void RecordingDevice::SetGammaRamp(UINT swapChain, DWORD flags, const D3DGAMMARAMP* ramp) {
  Record("SetGammaRamp(%u, %u)", swapChain, flags);
  if (ramp) m_gamma = *ramp;
  m_gammaFlags = flags;
}

void RecordingDevice::GetGammaRamp(UINT, D3DGAMMARAMP* ramp) {
  if (ramp) *ramp = m_gamma;
}

HRESULT RecordingDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                       D3DPOOL pool, IDirect3DTexture9** texture, HANDLE*) {
  Record("CreateTexture(%u, %u, %u, 0x%X, %u, %u)", width, height, levels, usage, DWORD(format), DWORD(pool));
  if (!texture || !width || !height || !IsColorFormat(format)) return D3DERR_INVALIDCALL;
  if (Fails("CreateTexture")) return D3DERR_OUTOFVIDEOMEMORY;
  auto* made = new CpuTexture(width, height, levels, usage, format, pool);
  Track(*made, made, "tex");
  *texture = made;
  return D3D_OK;
}

HRESULT RecordingDevice::CreateVolumeTexture(UINT width, UINT height, UINT depth, UINT levels, DWORD usage,
                                             D3DFORMAT format, D3DPOOL pool, IDirect3DVolumeTexture9** texture,
                                             HANDLE*) {
  Record("CreateVolumeTexture(%u, %u, %u, %u, 0x%X, %u, %u)", width, height, depth, levels, usage, DWORD(format),
         DWORD(pool));
  if (!texture || !width || !height || !depth || !IsColorFormat(format)) return D3DERR_INVALIDCALL;
  if (Fails("CreateVolumeTexture")) return D3DERR_OUTOFVIDEOMEMORY;
  auto* made = new CpuVolumeTexture(width, height, depth, levels, usage, format, pool);
  Track(*made, made, "tex");
  *texture = made;
  return D3D_OK;
}

HRESULT RecordingDevice::CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                           IDirect3DCubeTexture9** texture, HANDLE*) {
  Record("CreateCubeTexture(%u, %u, 0x%X, %u, %u)", edge, levels, usage, DWORD(format), DWORD(pool));
  if (!texture || !edge || !IsColorFormat(format)) return D3DERR_INVALIDCALL;
  if (Fails("CreateCubeTexture")) return D3DERR_OUTOFVIDEOMEMORY;
  auto* made = new CpuCubeTexture(edge, levels, usage, format, pool);
  Track(*made, made, "tex");
  *texture = made;
  return D3D_OK;
}

HRESULT RecordingDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                            IDirect3DVertexBuffer9** buffer, HANDLE*) {
  Record("CreateVertexBuffer(%u, 0x%X, 0x%X, %u)", length, usage, fvf, DWORD(pool));
  if (!buffer || length == 0) return D3DERR_INVALIDCALL;
  if (Fails("CreateVertexBuffer")) return D3DERR_OUTOFVIDEOMEMORY;
  auto* made = new RecordedBuffer<CpuVertexBuffer, UINT, DWORD, DWORD, D3DPOOL>(*this, length, usage, fvf, pool);
  Track(*made, made, "vb");
  *buffer = made;
  return D3D_OK;
}

HRESULT RecordingDevice::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                           IDirect3DIndexBuffer9** buffer, HANDLE*) {
  Record("CreateIndexBuffer(%u, 0x%X, %u, %u)", length, usage, DWORD(format), DWORD(pool));
  if (!buffer || length == 0 || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)) return D3DERR_INVALIDCALL;
  if (Fails("CreateIndexBuffer")) return D3DERR_OUTOFVIDEOMEMORY;
  auto* made = new RecordedBuffer<CpuIndexBuffer, UINT, DWORD, D3DFORMAT, D3DPOOL>(*this, length, usage, format, pool);
  Track(*made, made, "ib");
  *buffer = made;
  return D3D_OK;
}

HRESULT RecordingDevice::CreateRenderTarget(UINT width, UINT height, D3DFORMAT format,
                                            D3DMULTISAMPLE_TYPE multiSample, DWORD quality, BOOL lockable,
                                            IDirect3DSurface9** surface, HANDLE*) {
  Record("CreateRenderTarget(%u, %u, %u, %u, %u, %d)", width, height, DWORD(format), DWORD(multiSample), quality,
         lockable);
  if (!surface || !width || !height || !IsColorFormat(format)) return D3DERR_INVALIDCALL;
  if (Fails("CreateRenderTarget")) return D3DERR_OUTOFVIDEOMEMORY;
  auto* made = new CpuSurface(width, height, format, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT, multiSample);
  Track(*made, made, "rt");
  *surface = made;
  return D3D_OK;
}

HRESULT RecordingDevice::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                                     IDirect3DSurface9** surface, HANDLE*) {
  Record("CreateOffscreenPlainSurface(%u, %u, %u, %u)", width, height, DWORD(format), DWORD(pool));
  if (!surface || !width || !height || !IsColorFormat(format)) return D3DERR_INVALIDCALL;
  if (Fails("CreateOffscreenPlainSurface")) return D3DERR_OUTOFVIDEOMEMORY;
  auto* made = new CpuSurface(width, height, format, 0, pool);
  Track(*made, made, "surf");
  *surface = made;
  return D3D_OK;
}

HRESULT RecordingDevice::CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                                 IDirect3DVertexDeclaration9** declaration) {
  std::vector<D3DVERTEXELEMENT9> list;
  const bool complete = ReadDeclaration(elements, list);
  Record("CreateVertexDeclaration(%zu elements)", list.size());
  if (!declaration || !complete) return D3DERR_INVALIDCALL;
  if (Fails("CreateVertexDeclaration")) return D3DERR_OUTOFVIDEOMEMORY;
  auto* made = new VertexDeclaration(std::move(list));
  Track(*made, made, "decl");
  *declaration = made;
  return D3D_OK;
}

HRESULT RecordingDevice::CreateVertexShader(const DWORD* function, IDirect3DVertexShader9** shader) {
  Record("CreateVertexShader()");
  if (!function || !shader) return D3DERR_INVALIDCALL;
  if (Fails("CreateVertexShader")) return D3DERR_INVALIDCALL;
  auto* made = new RecordingShader;
  Track(*made, made, "vs");
  *shader = made;
  return D3D_OK;
}

HRESULT RecordingDevice::CreateQuery(D3DQUERYTYPE type, IDirect3DQuery9** query) {
  Record("CreateQuery(%u, %s)", DWORD(type), query ? "query" : "null");
  if (type != D3DQUERYTYPE_OCCLUSION || Fails("CreateQuery")) return D3DERR_NOTAVAILABLE;
  if (!query) return D3D_OK;
  auto* made = new RecordingQuery(type, m_config.occlusionResult);
  Track(*made, made, "query");
  *query = made;
  return D3D_OK;
}

HRESULT RecordingDevice::StretchRect(IDirect3DSurface9* source, const RECT*, IDirect3DSurface9* dest, const RECT*,
                                     D3DTEXTUREFILTERTYPE filter) {
  Record("StretchRect(%s, %s, %u)", NameOf(source).c_str(), NameOf(dest).c_str(), DWORD(filter));
  return source && dest ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
  Record("SetRenderTarget(%u, %s)", index, surface == m_backBuffer ? "backbuffer" : NameOf(surface).c_str());
  if (index != 0 || !surface) return D3DERR_INVALIDCALL;
  m_renderTarget = surface;
  // Direct3D sets the viewport and scissor rectangle to the whole new target.
  D3DSURFACE_DESC desc{};
  surface->GetDesc(&desc);
  m_state.viewport = {0, 0, desc.Width, desc.Height, 0.0f, 1.0f};
  m_state.scissor = {0, 0, LONG(desc.Width), LONG(desc.Height)};
  return D3D_OK;
}

HRESULT RecordingDevice::GetRenderTarget(DWORD index, IDirect3DSurface9** surface) {
  if (index != 0 || !surface) return D3DERR_INVALIDCALL;
  *surface = m_renderTarget;
  m_renderTarget->AddRef();
  return D3D_OK;
}

HRESULT RecordingDevice::GetDepthStencilSurface(IDirect3DSurface9** surface) {
  if (!surface) return D3DERR_INVALIDCALL;
  *surface = m_depthStencil;
  if (!m_depthStencil) return D3DERR_NOTFOUND;
  m_depthStencil->AddRef();
  return D3D_OK;
}

HRESULT RecordingDevice::BeginScene() {
  Record("BeginScene()");
  if (m_inScene) return D3DERR_INVALIDCALL;
  m_inScene = true;
  return D3D_OK;
}

HRESULT RecordingDevice::EndScene() {
  Record("EndScene()");
  if (!m_inScene) return D3DERR_INVALIDCALL;
  m_inScene = false;
  return D3D_OK;
}

HRESULT RecordingDevice::Clear(DWORD count, const D3DRECT*, DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
  Record("Clear(%u, 0x%X, 0x%08X, %g, %u)", count, flags, color, double(z), stencil);
  return D3D_OK;
}

HRESULT RecordingDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
  Record("DrawPrimitive(%u, %u, %u)", DWORD(type), startVertex, primitiveCount);
  return D3D_OK;
}

HRESULT RecordingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex,
                                              UINT vertexCount, UINT startIndex, UINT primitiveCount) {
  Record("DrawIndexedPrimitive(%u, %d, %u, %u, %u, %u)", DWORD(type), baseVertex, minIndex, vertexCount,
         startIndex, primitiveCount);
  return m_state.indices ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                                         UINT stride) {
  Record("DrawPrimitiveUP(%u, %u, %u)", DWORD(type), primitiveCount, stride);
  m_state.streams[0] = {};
  m_state.indices = nullptr;
  return vertices ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCount,
                                                UINT primitiveCount, const void* indices, D3DFORMAT indexFormat,
                                                const void* vertices, UINT stride) {
  Record("DrawIndexedPrimitiveUP(%u, %u, %u, %u, %u, %u)", DWORD(type), minIndex, vertexCount, primitiveCount,
         DWORD(indexFormat), stride);
  m_state.streams[0] = {};
  m_state.indices = nullptr;
  return vertices && indices ? D3D_OK : D3DERR_INVALIDCALL;
}

}  // namespace platform::d3d9
