#pragma once
// Inside the layer: the Direct3D 9 device over an OpenGL compatibility context.
//
// The back buffer is the window's own framebuffer where the window can hold it (the
// back buffer's size, no multisampling, the colour and depth-stencil formats the window
// has, a discarding swap): a frame then reaches the screen by the buffer swap alone,
// where a copy of every pixel would cost a software renderer a pass of its own.
// Otherwise it is a renderbuffer in the device's framebuffer, which Present copies to
// the window (scaled when the window's size differs; in full screen keeping its shape,
// between black bars). Offscreen targets share one depth-stencil renderbuffer as
// Direct3D shares its automatic depth buffer; with the back buffer in the window, the
// window's depth-stencil buffer stands for it there and GlDepthResidency keeps the two
// as one. The back buffer can be read after Present (screenshots) as long as the driver
// keeps it, which a software renderer does. Device loss does not happen in GL; Reset
// gives the back buffer and depth buffer a new size.
// A Reset that fails leaves the device "not reset": Present answers DEVICELOST and
// TestCooperativeLevel DEVICENOTRESET until a Reset succeeds.
#include "platform/d3d9/StateDevice.h"
#include "platform/d3d9/gl/GlContext.h"
#include "platform/d3d9/gl/GlDepthResidency.h"
#include "platform/d3d9/gl/GlImage.h"
#include "platform/d3d9/gl/GlStateApplier.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace platform::d3d9 {

class GlRenderTargetSurface;
class GlVertexShader;

class GlDevice final : public StateDevice {
 public:
  /// Makes the device on the window of params->hDeviceWindow (or focusWindow).
  static HRESULT Create(HWND focusWindow, const D3DCAPS9& caps, D3DPRESENT_PARAMETERS* params,
                        IDirect3DDevice9** device);
  ~GlDevice() override;

  HRESULT TestCooperativeLevel() override;
  UINT GetAvailableTextureMem() override;
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
  /// Inside the layer, for effects: a vertex program (wrapped as CreateVertexShader
  /// wraps it) linked with a fragment program (null: the fixed-function stage), bound
  /// through SetVertexShader. log gets the compiler's messages when it fails.
  HRESULT CreateProgram(const char* vertex, const char* fragment, IDirect3DVertexShader9** shader, std::string& log);
  /// Makes the device's context current (effects set program uniforms); false when
  /// its window is gone.
  bool MakeContextCurrent() { return m_context->MakeCurrent(); }

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

 protected:
  void OnUntracked(IUnknown* resource) override;

 private:
  /// Where Present puts the frame in the window's drawable: all of it in a window; in
  /// full screen the largest rectangle of the frame's shape, centred.
  CopyRect PresentRect(UINT frameWidth, UINT frameHeight, int width, int height) const;
  GlDevice(std::shared_ptr<GlContext> context, const D3DCAPS9& caps, HWND focusWindow);

  /// Builds the back buffer, depth buffer and window mode for the parameters (creation
  /// and Reset) and fills in the sizes and format the device took.
  HRESULT Configure(D3DPRESENT_PARAMETERS& params);
  HRESULT ConfigureWindow(const D3DPRESENT_PARAMETERS& params, SDL_Window* window);
  HRESULT ConfigureDepth(const D3DPRESENT_PARAMETERS& params, UINT width, UINT height, GLsizei samples);
  /// Binds the drawing framebuffer with the current render target and the depth buffer.
  void BindTarget();
  /// Present's copy of the back buffer's renderbuffer to the window (scaled to it).
  void CopyBackBufferToWindow();
  /// Clears the window's own framebuffer (bound for drawing) to black, whatever the
  /// scissor rectangle and clear colour.
  static void ClearWindowBlack();
  /// After the window changed its size for full screen: one black frame swapped, so
  /// that the window's framebuffer has the window's new size for the first frame.
  void SettleWindowFramebuffer(SDL_Window* window);
  /// Whether the window's own framebuffer can hold the back buffer now.
  bool WindowCanHoldBackBuffer() const;
  /// Puts the back buffer in the window or in its renderbuffer, as the window allows.
  void PlaceBackBuffer();
  /// Gives the current target's depth buffer the contents of the parts a draw or a clear
  /// uses (see GlDepthResidency).
  void BringDepth(bool depth, bool stencil);
  /// Binds the copy framebuffer with the offscreen depth-stencil renderbuffer alone.
  void BindOffscreenDepth();
  /// Whether a clear of the current target reaches every pixel of the depth buffer.
  bool ClearCoversDepth(DWORD count, const D3DRECT* rects) const;
  /// Applies the state and the vertex arrays of a draw. upBuffer: the vertices of an
  /// UP draw stand in for stream 0. False when nothing can be drawn.
  bool PrepareDraw(D3DPRIMITIVETYPE type, GLuint upBuffer, UINT upStride, UINT firstVertex, UINT vertexCount);
  /// The program for points with a size per vertex, made on first use; null when it
  /// cannot be made (the points then take D3DRS_POINTSIZE).
  GlVertexShader* PointProgram();
  /// The elements of a flexible vertex format, worked out once per format.
  const std::vector<D3DVERTEXELEMENT9>& FvfElements(DWORD fvf);
  bool ImageOf(IDirect3DSurface9* surface, GlImage& image) const;
  void EndUpDraw();

  std::shared_ptr<GlContext> m_context;
  D3DCAPS9 m_caps;
  HWND m_focusWindow;
  D3DPRESENT_PARAMETERS m_params{};
  GlStateApplier m_applier;
  GLuint m_drawFbo = 0;
  GLuint m_depth = 0;  ///< depth-stencil renderbuffer, 0 without one
  GLenum m_depthAttachment = GL_DEPTH_ATTACHMENT;
  GLsizei m_samples = 0;
  GlRenderTargetSurface* m_backBuffer = nullptr;  ///< owned reference
  IDirect3DSurface9* m_renderTarget = nullptr;    ///< owned reference
  IDirect3DSurface9* m_depthSurface = nullptr;    ///< owned reference, describes m_depth
  bool m_targetDirty = true;
  bool m_targetInWindow = false;                ///< the current target is the window's back buffer
  DepthPlace m_targetDepth = DepthPlace::None;  ///< the depth buffer the current target draws with
  GlDepthResidency m_depthResidency;
  UINT m_targetWidth = 0;
  UINT m_targetHeight = 0;
  GLuint m_upVertices = 0;  ///< stream buffers of the UP draws
  GLuint m_upIndices = 0;
  bool m_resetFailed = false;
  bool m_inScene = false;
  bool m_fullScreen = false;
  D3DGAMMARAMP m_gamma{};
  std::vector<GlVertexArray> m_arrays;  ///< reused by every draw
  std::unordered_map<DWORD, std::vector<D3DVERTEXELEMENT9>> m_fvfElements;
  GlVertexShader* m_pointProgram = nullptr;  ///< owned reference
  bool m_pointProgramTried = false;
};

}  // namespace platform::d3d9
