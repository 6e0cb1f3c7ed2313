#include "platform/d3d9/gl/GlDirect3D.h"

#include "platform/d3d9/Formats.h"
#include "platform/d3d9/gl/GlContext.h"
#include "platform/d3d9/gl/GlDevice.h"
#include "platform/d3d9/gl/GlFormats.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace platform::d3d9 {

namespace {

/// Reads what OpenGL offers through a hidden window of its own.
bool ProbeGl(GlInfo& info, std::string& error) {
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window) {
    error = SDL_GetError();
    return false;
  }
  SDL_GLContext previous = SDL_GL_GetCurrentContext();
  SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) {
    error = SDL_GetError();
    SDL_DestroyWindow(window);
    return false;
  }
  info = ReadGlInfo();
  SDL_GL_MakeCurrent(previousWindow, previous);
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  return true;
}

D3DCAPS9 CapsFromGl(const GlInfo& info) {
  D3DCAPS9 caps{};
  caps.DeviceType = D3DDEVTYPE_HAL;
  caps.PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE;
  caps.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE | D3DDEVCAPS_HWRASTERIZATION;
  caps.PrimitiveMiscCaps = D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW |
                           D3DPMISCCAPS_COLORWRITEENABLE | D3DPMISCCAPS_BLENDOP | D3DPMISCCAPS_SEPARATEALPHABLEND;
  caps.RasterCaps = D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_FOGVERTEX | D3DPRASTERCAPS_FOGTABLE |
                    D3DPRASTERCAPS_MIPMAPLODBIAS | D3DPRASTERCAPS_SCISSORTEST |
                    D3DPRASTERCAPS_SLOPESCALEDEPTHBIAS | D3DPRASTERCAPS_DEPTHBIAS |
                    (info.anisotropic ? D3DPRASTERCAPS_ANISOTROPY : 0);
  caps.ZCmpCaps = caps.AlphaCmpCaps = 0xFF;
  caps.SrcBlendCaps = caps.DestBlendCaps = 0x3FFF;
  caps.ShadeCaps = 0x8 | 0x200 | 0x4000 | 0x80000;
  caps.TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_CUBEMAP |
                     D3DPTEXTURECAPS_VOLUMEMAP | D3DPTEXTURECAPS_MIPMAP | D3DPTEXTURECAPS_MIPVOLUMEMAP |
                     D3DPTEXTURECAPS_MIPCUBEMAP;
  const DWORD filters = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MIPFPOINT |
                        D3DPTFILTERCAPS_MIPFLINEAR | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR |
                        (info.anisotropic ? D3DPTFILTERCAPS_MINFANISOTROPIC | D3DPTFILTERCAPS_MAGFANISOTROPIC : 0);
  caps.TextureFilterCaps = caps.CubeTextureFilterCaps = caps.VolumeTextureFilterCaps = filters;
  caps.TextureAddressCaps = caps.VolumeTextureAddressCaps =
      D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR | D3DPTADDRESSCAPS_CLAMP | D3DPTADDRESSCAPS_BORDER;
  caps.MaxTextureWidth = caps.MaxTextureHeight = DWORD(info.maxTextureSize);
  caps.MaxVolumeExtent = DWORD(info.max3DTextureSize);
  caps.MaxTextureRepeat = 8192;
  caps.MaxTextureAspectRatio = DWORD(info.maxTextureSize);
  caps.MaxAnisotropy = DWORD(std::max(1.0f, info.maxAnisotropy));
  caps.MaxVertexW = 1e10f;
  caps.StencilCaps = 0x1FF;  // every operation, two-sided included
  caps.FVFCaps = 8 | D3DFVFCAPS_PSIZE;
  caps.TextureOpCaps = 0x3FF | 0x800 | 0x1000 | 0x2000 | 0x8000 | 0x800000 | 0x2000000;
  caps.MaxTextureBlendStages = caps.MaxSimultaneousTextures = DWORD(std::clamp(info.maxTextureUnits, 1, 8));
  caps.VertexProcessingCaps = 0x1 | 0x2 | 0x8 | 0x10 | 0x20 | 0x100;
  caps.MaxActiveLights = DWORD(std::clamp(info.maxLights, 0, 8));
  caps.MaxPointSize = info.maxPointSize;
  caps.MaxPrimitiveCount = 0xFFFFF;
  caps.MaxVertexIndex = 0xFFFFFF;
  caps.MaxStreams = 16;
  caps.MaxStreamStride = 255;
  caps.VertexShaderVersion = D3DVS_VERSION(2, 0);  // GLSL vertex programs
  caps.MaxVertexShaderConst = 256;
  caps.PixelShaderVersion = D3DPS_VERSION(2, 0);
  caps.StretchRectFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                               D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
  caps.NumSimultaneousRTs = 1;
  return caps;
}

bool DisplayFormat(D3DFORMAT format) { return format == D3DFMT_X8R8G8B8 || format == D3DFMT_R5G6B5; }

class GlDirect3D final : public RefCounted<IDirect3D9> {
 public:
  explicit GlDirect3D(const GlInfo& info) : m_info(info), m_caps(CapsFromGl(info)) {}

  UINT GetAdapterCount() override { return 1; }

  HRESULT GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER9* identifier) override {
    if (adapter != 0 || !identifier) return D3DERR_INVALIDCALL;
    // GL names the renderer and the driver; the GUID, ids, driver version and
    // certification have no GL source and stay zero.
    *identifier = {};
    std::snprintf(identifier->Description, sizeof identifier->Description, "%s", m_info.renderer.c_str());
    std::snprintf(identifier->DeviceName, sizeof identifier->DeviceName, "OpenGL %s",
                  SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "");
    std::snprintf(identifier->Driver, sizeof identifier->Driver, "%s %s", m_info.vendor.c_str(),
                  m_info.version.c_str());
    return D3D_OK;
  }

  HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override {
    SDL_DisplayMode desktop{};
    if (adapter != 0 || !mode || SDL_GetDesktopDisplayMode(0, &desktop) != 0) return D3DERR_INVALIDCALL;
    *mode = {UINT(desktop.w), UINT(desktop.h), UINT(desktop.refresh_rate), D3DFMT_X8R8G8B8};
    return D3D_OK;
  }

  HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                            D3DRESOURCETYPE resourceType, D3DFORMAT format) override {
    if (!Valid(adapter, type) || !DisplayFormat(adapterFormat)) return D3DERR_INVALIDCALL;
    if (usage & D3DUSAGE_DEPTHSTENCIL) return DepthFormatFor(format, nullptr) ? D3D_OK : D3DERR_NOTAVAILABLE;
    if (usage & D3DUSAGE_RENDERTARGET) return RenderTargetFormatFor(format) ? D3D_OK : D3DERR_NOTAVAILABLE;
    if (resourceType == D3DRTYPE_VERTEXBUFFER || resourceType == D3DRTYPE_INDEXBUFFER) return D3D_OK;
    const GlFormat gl = TextureFormatFor(format, m_info.s3tc);
    if (!gl.internalFormat) return D3DERR_NOTAVAILABLE;
    if (gl.compressed && (resourceType == D3DRTYPE_VOLUMETEXTURE || resourceType == D3DRTYPE_VOLUME)) {
      return D3DERR_NOTAVAILABLE;
    }
    return D3D_OK;
  }

  HRESULT CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type, D3DFORMAT format, BOOL,
                                     D3DMULTISAMPLE_TYPE multiSample, DWORD* qualityLevels) override {
    if (!Valid(adapter, type)) return D3DERR_INVALIDCALL;
    if (qualityLevels) *qualityLevels = 0;
    if (!RenderTargetFormatFor(format) && !DepthFormatFor(format, nullptr)) return D3DERR_NOTAVAILABLE;
    const bool supported = multiSample == D3DMULTISAMPLE_NONE || multiSample == D3DMULTISAMPLE_NONMASKABLE ||
                           (multiSample >= 2 && int(multiSample) <= m_info.maxSamples);
    if (!supported) return D3DERR_NOTAVAILABLE;
    if (qualityLevels) *qualityLevels = 1;
    return D3D_OK;
  }

  HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT renderTarget,
                                 D3DFORMAT depthStencil) override {
    if (!Valid(adapter, type) || !DisplayFormat(adapterFormat)) return D3DERR_INVALIDCALL;
    return RenderTargetFormatFor(renderTarget) && DepthFormatFor(depthStencil, nullptr) ? D3D_OK
                                                                                       : D3DERR_NOTAVAILABLE;
  }

  HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override {
    if (!Valid(adapter, type) || !caps) return D3DERR_INVALIDCALL;
    *caps = m_caps;
    caps->DeviceType = type;
    return D3D_OK;
  }

  HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                       D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) override {
    const DWORD processing = behaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING |
                                              D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING);
    const bool oneKind = processing == D3DCREATE_SOFTWARE_VERTEXPROCESSING ||
                         processing == D3DCREATE_HARDWARE_VERTEXPROCESSING ||
                         processing == D3DCREATE_MIXED_VERTEXPROCESSING;
    if (!Valid(adapter, type) || !oneKind) return D3DERR_INVALIDCALL;
    // Every device type and vertex processing is the same GL device.
    D3DCAPS9 caps = m_caps;
    caps.DeviceType = type;
    return GlDevice::Create(focusWindow, caps, params, device);
  }

 private:
  static bool Valid(UINT adapter, D3DDEVTYPE type) {
    return adapter == 0 && (type == D3DDEVTYPE_HAL || type == D3DDEVTYPE_REF);
  }

  GlInfo m_info;
  D3DCAPS9 m_caps;
};

}  // namespace

IDirect3D9* CreateGlDirect3D(Direct3DFailure& failure) {
  failure.needed = kNeededGlText;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    failure.found = "";
    return nullptr;
  }
  GlInfo info;
  std::string error;
  const bool probed = ProbeGl(info, error);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);  // the window's owner keeps video running
  if (!probed) {
    failure.found = "";
    return nullptr;
  }
  if (!info.Sufficient()) {
    failure.found = info.VersionText();
    return nullptr;
  }
  return new GlDirect3D(info);
}

}  // namespace platform::d3d9
