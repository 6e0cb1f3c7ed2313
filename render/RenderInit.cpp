// N_Render::Init: device creation with its fallbacks, the adapter and capability log,
// and the objects every frame needs.
#include "core/ErrorLog.h"
#include "core/VarMng.h"
#include "render/PackedColor.h"
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/VertexBuffer.h"
#include "render/VertexDecl.h"

#include <algorithm>
#include <cstring>

namespace {

struct DepthCandidate {
  D3DFORMAT format;
  std::uint32_t stencilBits;
};
constexpr DepthCandidate kDepthCandidates[] = {
    {D3DFMT_D24S8, 8}, {D3DFMT_D15S1, 1}, {D3DFMT_D32, 0}, {D3DFMT_D16, 0}};

}  // namespace

D3DFORMAT N_Render::AdapterFormat() { return RenderVarInt("v_bpp") == 32 ? D3DFMT_X8R8G8B8 : D3DFMT_R5G6B5; }

bool N_Render::ChooseDepthStencilFormat(D3DFORMAT adapterFormat, D3DFORMAT& format) {
  for (const DepthCandidate& candidate : kDepthCandidates) {
    m_stencilBits = candidate.stencilBits;
    if (SUCCEEDED(m_d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, adapterFormat, D3DUSAGE_DEPTHSTENCIL,
                                           D3DRTYPE_SURFACE, candidate.format)) &&
        SUCCEEDED(m_d3d->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, adapterFormat, adapterFormat,
                                                candidate.format))) {
      format = candidate.format;
      return true;
    }
  }
  return false;
}

void N_Render::FillPresentParameters(D3DFORMAT adapterFormat, D3DFORMAT depthStencilFormat) {
  const bool fullScreen = RenderVarInt("v_fullscreen") != 0;
  D3DPRESENT_PARAMETERS& pp = m_presentParams;
  pp = {};
  pp.BackBufferWidth = fullScreen ? UINT(RenderVarInt("v_width")) : 0;
  pp.BackBufferHeight = fullScreen ? UINT(RenderVarInt("v_height")) : 0;
  pp.BackBufferFormat = fullScreen ? adapterFormat : D3DFMT_UNKNOWN;
  pp.BackBufferCount = RenderVarInt("v_trippleBuffering") == 1 ? 2 : 1;
  const auto multiSample = D3DMULTISAMPLE_TYPE(RenderVarInt("v_multisample"));
  const BOOL windowed = fullScreen ? FALSE : TRUE;
  const bool multiSampleOk =
      SUCCEEDED(m_d3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, adapterFormat, windowed, multiSample, nullptr)) &&
      SUCCEEDED(m_d3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, depthStencilFormat, windowed, multiSample,
                                                  nullptr));
  pp.MultiSampleType = multiSampleOk ? multiSample : D3DMULTISAMPLE_NONE;
  pp.MultiSampleQuality = 0;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.hDeviceWindow = HWND(RenderVarInt("wnd_handle"));
  pp.Windowed = windowed;
  pp.EnableAutoDepthStencil = TRUE;
  pp.AutoDepthStencilFormat = depthStencilFormat;
  pp.Flags = D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL | (fullScreen ? 0 : D3DPRESENTFLAG_DEVICECLIP);
  pp.FullScreen_RefreshRateInHz = 0;
  pp.PresentationInterval = RenderVarInt("r_swapInterval") > 0 ? D3DPRESENT_INTERVAL_ONE : D3DPRESENT_INTERVAL_IMMEDIATE;
}

bool N_Render::CreateDevice() {
  const HWND window = HWND(RenderVarInt("wnd_handle"));
  HRESULT result = D3DERR_NOTAVAILABLE;
  auto attempt = [&](UINT adapter, D3DDEVTYPE type, DWORD flags) {
    D3DPRESENT_PARAMETERS pp = m_presentParams;
    result = m_d3d->CreateDevice(adapter, type, window, flags, &pp, &m_device);
    if (FAILED(result)) {
      m_device = nullptr;
      return false;
    }
    m_presentParams = pp;
    return true;
  };
  if (RenderVarInt("r_perfHUD") != 0) {
    if (attempt(m_d3d->GetAdapterCount() - 1, D3DDEVTYPE_REF, D3DCREATE_HARDWARE_VERTEXPROCESSING)) return true;
  } else {
    const bool pure = (m_caps.VertexShaderVersion & 0xFFFF) != 0;
    if (pure && attempt(0, D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE)) return true;
    if (attempt(0, D3DDEVTYPE_HAL, D3DCREATE_MIXED_VERTEXPROCESSING)) {
      m_behaviourFlags = D3DCREATE_MIXED_VERTEXPROCESSING;
      return true;
    }
    if (attempt(0, D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING)) {
      m_behaviourFlags = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
      m_softwareVertexProcessing = true;
      return true;
    }
    if (attempt(0, D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING)) {
      m_behaviourFlags = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
      m_softwareVertexProcessing = true;
      m_referenceDevice = true;
      return true;
    }
  }
  RenderPrint("Render device creation failed: %s\n", DXGetErrorString9A(result));
  return false;
}

void N_Render::CreateOffscreenTarget() {
  // At the size the device reports (a windowed start leaves the parameters at 0).
  UINT width = m_presentParams.BackBufferWidth, height = m_presentParams.BackBufferHeight;
  D3DFORMAT format = m_presentParams.BackBufferFormat;
  IDirect3DSurface9* backBuffer = nullptr;
  if (SUCCEEDED(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer))) {
    D3DSURFACE_DESC desc{};
    backBuffer->GetDesc(&desc);
    backBuffer->Release();
    width = desc.Width, height = desc.Height, format = desc.Format;
  }
  m_offscreenSurface = nullptr;
  m_offscreenTexture = nullptr;
  if (FAILED(m_device->CreateRenderTarget(width, height, format, m_presentParams.MultiSampleType,
                                          m_presentParams.MultiSampleQuality, FALSE, &m_offscreenSurface, nullptr))) {
    m_offscreenSurface = nullptr;
    return;
  }
  if (FAILED(m_device->CreateTexture(width, height, 1, D3DUSAGE_RENDERTARGET, format, D3DPOOL_DEFAULT,
                                     &m_offscreenTexture, nullptr))) {
    m_offscreenTexture = nullptr;
    m_offscreenSurface->Release();
    m_offscreenSurface = nullptr;
  }
}

void N_Render::LogAdapter() {
  D3DADAPTER_IDENTIFIER9 id{};
  m_d3d->GetAdapterIdentifier(0, 0, &id);
  RenderPrint("\n--- Initializing render\n");
  RenderPrint("--- Description: %s\n", id.Description);
  RenderPrint("--- Device name: %s\n", id.DeviceName);
  RenderPrint("--- Device type: %s\n", m_referenceDevice ? "Reference" : "Hardware");
  RenderPrint("--- Vertex processing type: %s\n",
              m_behaviourFlags == 0x40 ? "Hardware" : m_behaviourFlags == 0x80 ? "Mixed" : "Software");
  const GUID& g = id.DeviceIdentifier;
  RenderPrint("--- Device GUID: {%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}\n", g.Data1, g.Data2, g.Data3,
              g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  RenderPrint("--- Driver: %s\n", id.Driver);
  const auto version = std::uint64_t(id.DriverVersion.QuadPart);
  const auto high = std::uint32_t(version >> 32), low = std::uint32_t(version);
  RenderPrint("--- Driver version: %u.%u.%u.%u\n", high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF);
  RenderPrint("--- WHQL: ");
  if (id.WHQLLevel == 0) {
    RenderPrint("Not certified\n");
  } else {
    RenderPrint("Certified");
    if (id.WHQLLevel > 1) {
      RenderPrint(" on %d.%d.%d\n", int(id.WHQLLevel & 0xFF), int((id.WHQLLevel >> 8) & 0xFF),
                  int(id.WHQLLevel >> 16));
    } else {
      RenderPrint("\n");
    }
  }
  RenderPrint("--- Chipset id: %X.%X.%X.%X\n", id.VendorId, id.DeviceId, id.SubSysId, id.Revision);
}

void N_Render::LogCapabilities(D3DFORMAT adapterFormat) {
  RenderPrint("--- Max texture width: %d\n", int(m_caps.MaxTextureWidth));
  RenderPrint("--- Max texture height: %d\n", int(m_caps.MaxTextureHeight));
  RenderPrint("--- Max texture anisotropy: %d\n", int(m_caps.MaxAnisotropy));
  RenderPrint("--- Max texture units: %d\n", int(m_caps.MaxSimultaneousTextures));
  m_textureCompression = SUCCEEDED(
      m_d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, adapterFormat, 0, D3DRTYPE_TEXTURE, D3DFMT_DXT1));
  RenderPrint("--- Texture compression %s\n", m_textureCompression ? "supported" : "unsupported");
  RenderPrint("--- Available texture memory: %d MB\n", int(m_device->GetAvailableTextureMem() >> 20));
  const DWORD vs = m_caps.VertexShaderVersion, ps = m_caps.PixelShaderVersion;
  RenderPrint("--- Vertex shader version: %d.%d\n", int((vs >> 8) & 0xFF), int(vs & 0xFF));
  RenderPrint("--- Pixel shader version: %d.%d\n", int((ps >> 8) & 0xFF), int(ps & 0xFF));
  if (g_renderServices && g_renderServices->varMng) {
    g_renderServices->varMng->SetInt("gl_maxTextureSize", int(std::min(m_caps.MaxTextureWidth, m_caps.MaxTextureHeight)),
                                     0);
  }
  m_pointSprites = (m_caps.FVFCaps & D3DFVFCAPS_PSIZE) && m_caps.MaxPointSize > 1.0f;
  RenderPrint("--- %s point sprites\n", m_pointSprites ? "Using" : "Not using");
  RenderPrint("--- %s sided stenciling\n", (m_caps.StencilCaps & D3DSTENCILCAPS_TWOSIDED) ? "Two" : "One");
  m_occlusionQueries = m_device->CreateQuery(D3DQUERYTYPE_OCCLUSION, nullptr) != D3DERR_NOTAVAILABLE;
  RenderPrint("--- Occlusion query %s\n", m_occlusionQueries ? "supported" : "unsupported");
  RenderPrint("--- Render to texture %s\n\n", m_offscreenSurface ? "supported" : "unsupported");
}

void N_Render::CreateBuiltInDeclarations() {
  struct Element {
    std::uint16_t offset;
    std::uint8_t type, usage, index;
  };
  using E = Element;
  const std::vector<Element> layouts[kBuiltInDecls] = {
      {E{0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0}, E{12, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_COLOR, 0}},
      {E{0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0}, E{12, D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_PSIZE, 0},
       E{16, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_COLOR, 0}},
      {E{0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0}, E{12, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0},
       E{28, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 0}, E{36, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 1}},
      {E{0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0}, E{12, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0},
       E{24, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 0}, E{28, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 0},
       E{36, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 1}},
      {E{0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0}, E{12, D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_PSIZE, 0},
       E{24, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 0}},
  };
  for (int i = 0; i < kBuiltInDecls; ++i) {
    N_VertexDecl* declaration = CreateVertexDecl();
    for (const Element& e : layouts[i]) declaration->AddElement(0, e.offset, e.type, e.usage, e.index);
    m_builtInDecls[std::size_t(i)] = declaration;
  }
  m_shadowDeclCurrent = false;
}

void N_Render::CreateFullScreenQuad() {
  m_fullScreenQuad = CreateVertexBuffer(kSurfaceVertexSize, 4, 1);
  auto* bytes = static_cast<std::uint8_t*>(m_fullScreenQuad->Lock(true, false));
  if (!bytes) return;
  // Alpha 0x7F; red, green and blue are the shadow colour's components x 255, truncated.
  const D3DCOLOR color = PackArgb(0x7F, m_shadowColor[0], m_shadowColor[1], m_shadowColor[2]);
  const float corners[4][4] = {{0, 479, 0, 1}, {0, 0, 0, 0}, {639, 479, 1, 1}, {639, 0, 1, 0}};  // x, y, u, v
  for (int i = 0; i < 4; ++i) {
    std::uint8_t* vertex = bytes + i * kSurfaceVertexSize;
    const float position[3] = {corners[i][0], corners[i][1], 0.0f};
    std::memcpy(vertex, position, sizeof position);
    std::memcpy(vertex + 24, &color, sizeof color);
    std::memcpy(vertex + 28, &corners[i][2], 2 * sizeof(float));
  }
  m_fullScreenQuad->Unlock();
}

bool N_Render::Init() {
  m_d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (!m_d3d) {
    // On Linux a missing runtime is an OpenGL context below what the device layer needs.
    const platform::Direct3DFailure& failure = platform::Direct3DCreateFailure();
    RenderPrint("!!! Error: OpenGL %s found, %s needed\n", failure.found.empty() ? "none" : failure.found.c_str(),
                failure.needed.c_str());
    g_renderServices->errorLog->Critical(0, "DirectX 9.0c or higher version required!");
  }
  const D3DFORMAT adapterFormat = AdapterFormat();
  D3DFORMAT depthFormat = D3DFMT_UNKNOWN;
  if (!ChooseDepthStencilFormat(adapterFormat, depthFormat)) {
    RenderPrint("!!! Error: Couldn't find any suitable depth-stencil buffer format\n");
    return false;
  }
  FillPresentParameters(adapterFormat, depthFormat);
  m_d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &m_caps);
  m_behaviourFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING;
  m_softwareVertexProcessing = false;
  if (!CreateDevice()) return false;
  CreateOffscreenTarget();
  if (m_offscreenSurface && m_offscreenTexture) m_postFilterAmount = 0.0f;
  if (!m_presentParams.Windowed) {
    SetGamma(RenderVarFloat("r_gamma"), RenderVarFloat("r_brightness"), RenderVarFloat("r_contrast"), 0);
  }
  LogAdapter();
  SetDefaultRenderStates(m_device);
  LogCapabilities(adapterFormat);
  m_lights.fill(std::nullopt);
  m_deviceLost = false;
  m_vertexProgramBound = false;
  m_boundStreamCount = 0;
  CreateBuiltInDeclarations();
  CreateFullScreenQuad();
  LoadVertexPrograms();
  m_textureMemory = 0;
  m_textureRegistry.clear();
  m_vertexBufferMemory = 0;
  m_indexBufferMemory = 0;
  return true;
}
