#pragma once
// A Direct3D 9 device and object for unit tests of engine code that needs no pixels.
// The device keeps state like a real one (getters answer what was set, Direct3D's
// defaults at creation and after Reset), keeps resources in system memory (locks,
// texture levels and surfaces work), and records every call as one line of text
// ("SetRenderState(7, 1)", "DrawPrimitive(5, 0, 2)"). Results and failures are set
// through the public configuration records.
#include "platform/d3d9/StateDevice.h"

#include <set>
#include <string>
#include <vector>

namespace platform::d3d9 {

/// What the recording device answers.
struct RecordingDeviceConfig {
  D3DCAPS9 caps{};
  UINT availableTextureMem = 256u << 20;
  UINT windowWidth = 800;   ///< back-buffer size when the parameters give 0
  UINT windowHeight = 600;
  HRESULT presentResult = D3D_OK;
  HRESULT cooperativeLevel = D3D_OK;
  HRESULT resetResult = D3D_OK;
  DWORD occlusionResult = 100;     ///< pixels a finished occlusion query reports
  /// Creation calls that fail with D3DERR_OUTOFVIDEOMEMORY ("CreateVertexBuffer", ...).
  std::set<std::string> failingCalls;
  /// False: the calls are not written down (a long headless run that reads none).
  bool record = true;
};

class RecordingDevice final : public StateDevice {
 public:
  RecordingDevice(const RecordingDeviceConfig& config, const D3DPRESENT_PARAMETERS& params);
  ~RecordingDevice() override;

  RecordingDeviceConfig& Config() { return m_config; }
  const D3DPRESENT_PARAMETERS& PresentParameters() const { return m_params; }
  const D3DGAMMARAMP& GammaRamp() const { return m_gamma; }
  DWORD GammaFlags() const { return m_gammaFlags; }
  /// Lines of the calls so far that start with the prefix.
  std::vector<std::string> CallsStartingWith(const std::string& prefix);
  const std::vector<std::string>& Calls();
  void ClearCalls();
  /// Adds a line to the record (the device's buffers note their locks this way).
  [[gnu::format(printf, 2, 3)]] void Note(const char* format, ...);

  HRESULT TestCooperativeLevel() override;
  UINT GetAvailableTextureMem() override { return m_config.availableTextureMem; }
  HRESULT GetDeviceCaps(D3DCAPS9* caps) override;
  HRESULT Reset(D3DPRESENT_PARAMETERS* params) override;
  HRESULT Present(const RECT* source, const RECT* dest, HWND window, const void* dirtyRegion) override;
  HRESULT GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) override;
  void SetGammaRamp(UINT swapChain, DWORD flags, const D3DGAMMARAMP* ramp) override;
  void GetGammaRamp(UINT swapChain, D3DGAMMARAMP* ramp) override;

  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                        IDirect3DTexture9** texture, HANDLE* shared) override;
  HRESULT CreateVolumeTexture(UINT width, UINT height, UINT depth, UINT levels, DWORD usage, D3DFORMAT format,
                              D3DPOOL pool, IDirect3DVolumeTexture9** texture, HANDLE* shared) override;
  HRESULT CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            IDirect3DCubeTexture9** texture, HANDLE* shared) override;
  HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer,
                             HANDLE* shared) override;
  HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            IDirect3DIndexBuffer9** buffer, HANDLE* shared) override;
  HRESULT CreateRenderTarget(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
                             DWORD quality, BOOL lockable, IDirect3DSurface9** surface, HANDLE* shared) override;
  HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                      IDirect3DSurface9** surface, HANDLE* shared) override;
  HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                  IDirect3DVertexDeclaration9** declaration) override;
  HRESULT CreateVertexShader(const DWORD* function, IDirect3DVertexShader9** shader) override;
  HRESULT CreateQuery(D3DQUERYTYPE type, IDirect3DQuery9** query) override;

  HRESULT StretchRect(IDirect3DSurface9* source, const RECT* sourceRect, IDirect3DSurface9* dest,
                      const RECT* destRect, D3DTEXTUREFILTERTYPE filter) override;
  HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override;
  HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** surface) override;
  HRESULT GetDepthStencilSurface(IDirect3DSurface9** surface) override;

  HRESULT BeginScene() override;
  HRESULT EndScene() override;
  HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override;

  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex, UINT vertexCount,
                               UINT startIndex, UINT primitiveCount) override;
  HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride) override;
  HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCount, UINT primitiveCount,
                                 const void* indices, D3DFORMAT indexFormat, const void* vertices,
                                 UINT stride) override;

 private:
  /// Moves the calls recorded by the state setters into the log.
  void Flush();
  bool Fails(const char* call);
  void MakeTargets();
  void ReleaseTargets();

  RecordingDeviceConfig m_config;
  D3DPRESENT_PARAMETERS m_params;
  std::vector<std::string> m_log;
  D3DGAMMARAMP m_gamma{};
  DWORD m_gammaFlags = 0;
  IDirect3DSurface9* m_backBuffer = nullptr;    ///< owned
  IDirect3DSurface9* m_depthStencil = nullptr;  ///< owned
  IDirect3DSurface9* m_renderTarget = nullptr;  ///< not owned unless it is the back buffer
  bool m_inScene = false;
};

/// What the recording Direct3D object answers.
struct RecordingDirect3DConfig {
  UINT adapterCount = 1;
  D3DADAPTER_IDENTIFIER9 identifier{};
  /// Depth-stencil formats accepted by CheckDeviceFormat and CheckDepthStencilMatch.
  std::set<DWORD> depthFormats{D3DFMT_D24S8, D3DFMT_D32, D3DFMT_D16};
  /// Texture formats accepted by CheckDeviceFormat (DXT1 gives "compression available").
  std::set<DWORD> textureFormats{D3DFMT_DXT1, D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8};
  /// Multisample types accepted for every format.
  std::set<DWORD> multiSampleTypes{D3DMULTISAMPLE_NONE};
  /// CreateDevice fails for these behaviour flags (and HAL with any flags when halFails).
  std::set<DWORD> failingBehaviour;
  bool halFails = false;
  bool refFails = false;
  HRESULT createFailure = D3DERR_NOTAVAILABLE;
  RecordingDeviceConfig device;
};

RecordingDeviceConfig DefaultRecordingDeviceConfig();

class RecordingDirect3D final : public RefCounted<IDirect3D9> {
 public:
  explicit RecordingDirect3D(RecordingDirect3DConfig config);
  ~RecordingDirect3D() override;

  RecordingDirect3DConfig& Config() { return m_config; }
  /// The last device made (a reference is kept until this object goes), or null.
  RecordingDevice* LastDevice() { return m_device; }
  /// The CreateDevice attempts: "adapter type flags" for each, in order.
  const std::vector<std::string>& Attempts() const { return m_attempts; }
  /// The adapter formats of every CheckDeviceFormat, CheckDepthStencilMatch and the
  /// formats of every CheckDeviceMultiSampleType, in order.
  const std::vector<DWORD>& CheckedFormats() const { return m_checkedFormats; }

  UINT GetAdapterCount() override { return m_config.adapterCount; }
  HRESULT GetAdapterIdentifier(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER9* identifier) override;
  HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
  HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                            D3DRESOURCETYPE resourceType, D3DFORMAT format) override;
  HRESULT CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type, D3DFORMAT format, BOOL windowed,
                                     D3DMULTISAMPLE_TYPE multiSample, DWORD* qualityLevels) override;
  HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                 D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) override;
  HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override;
  HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                       D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) override;

 private:
  RecordingDirect3DConfig m_config;
  RecordingDevice* m_device = nullptr;
  std::vector<std::string> m_attempts;
  std::vector<DWORD> m_checkedFormats;
};

}  // namespace platform::d3d9
