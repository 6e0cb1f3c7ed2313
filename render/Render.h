#pragma once
// N_Render: the one renderer object; it wraps the Direct3D 9 device and nothing outside
// it touches the device. The application creates it with CreateRender after the window
// and the texture manager, calls Init at once (start-up fails when it returns false),
// and at exit calls Shutdown and then ReleaseRender.
//
// Per frame: BeginFrame, camera set-ups and draws, EndFrame (which presents and brings a
// lost device back). GPU resources (buffers, declarations, stream bindings, occlusion
// query rings) are made and destroyed only through the factories below, which keep
// them in lists for device resets, shutdown and the memory statistics.
#include "core/Matrix4.h"
#include "platform/d3d9.h"
#include "render/ImmediateVertices.h"
#include "render/RenderLight.h"

#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct N_CoreServices;

/// The adapter record of GetAdapterInfo.
struct N_AdapterInfo {
  std::uint32_t word0 = 0;
  std::uint32_t word1 = 0;
  char driver[512] = {};  ///< zero-terminated
};

struct TexInfo;
class N_Camera;
class N_Shader;
class N_ShaderStage;
struct N_MeshSurface;
struct N_Matrix3;
struct N_OrientedBox;
struct N_Vector3;
class N_VertexBuffer;
class N_IndexBuffer;
class N_VertexDecl;
class N_VertexBufferBinding;
class N_OcclusionQuery;
class ID3DXEffect;

class N_Render {
 public:
  /// The five built-in declarations, in the order Init makes them.
  enum class BuiltInDecl { Line, Point, SurfaceWithoutColor, Surface, PointSprite };
  static constexpr int kBuiltInDecls = 5;
  static constexpr int kLights = 8;
  static constexpr int kVertexPrograms = 5;
  static constexpr std::uint32_t kSurfaceVertexSize = 44;
  /// The surface vertex as a flexible vertex format (software vertex processing), 0x252.
  static constexpr DWORD kSurfaceFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX2;

  N_Render();
  /// Frees the lists and maps themselves; device objects were released by Shutdown.
  virtual ~N_Render();
  N_Render(const N_Render&) = delete;
  N_Render& operator=(const N_Render&) = delete;

  // Device creation and release.
  /// Creates the device from the video variables and logs the adapter; false on failure.
  virtual bool Init();
  /// Releases every listed resource and the device. Called once, before ReleaseRender.
  virtual void Shutdown();

  // Presentation and device loss.
  /// Re-reads the video variables and applies them to the window and the device.
  virtual void ApplyVideoMode();
  /// Starts a frame: clears target, depth (and stencil) in the full "v_width" x
  /// "v_height" viewport, and the offscreen target; begins the scene. Always true.
  /// Without clearTarget the back buffer keeps its colours: for a frame whose first
  /// draw covers the whole screen opaquely, which a software renderer would otherwise
  /// fill twice.
  virtual bool BeginFrame(bool clearTarget = true);
  /// Ends the scene, presents, and brings a lost device back. Always true.
  virtual bool EndFrame();
  /// Resets the device with the presentation parameters and restores the resources.
  void RestoreDevice();

  // States.
  /// Applies the default device states and resets the render-state cache.
  void SetDefaultRenderStates(IDirect3DDevice9* device);
  /// Clears the depth buffer to 1.0 (depth writes on first).
  virtual void ClearDepth();
  /// The clear colour of BeginFrame from four floats 0..1.
  virtual void SetClearColorRGBA(float r, float g, float b, float a);
  /// Transforms for the following draws (row-vector matrices); while a vertex program
  /// is bound they also load world x view x projection, transposed, into c0-c3.
  virtual void SetWorldMatrix(const N_Matrix4& matrix);
  virtual void SetViewMatrix(const N_Matrix4& matrix);
  virtual void SetProjectionMatrix(const N_Matrix4& matrix);
  /// A camera set-up: through the camera (is3D non-zero; see SetupCamera3D) or for 2D
  /// drawing in the 640 x 480 screen units, in the camera's viewport. Either makes the
  /// camera current; a 2D set-up without a camera does nothing.
  virtual void SetupCamera(N_Camera* camera, std::int32_t is3D);
  /// Viewport, scissor rectangle and transforms from the camera; writes the camera's
  /// forward direction and view-plane distance. A null camera is reported ("Can't init
  /// camera!", code 12) and leaves no current camera.
  void SetupCamera3D(N_Camera* camera);
  /// Scissor rectangle in 640 x 480 screen units, scaled to the current camera's
  /// viewport size (its x and y are not added); enable 0 switches the test off.
  virtual void SetScissorRect(std::uint8_t enable, float left, float top, float right, float bottom);
  /// Words 0 and 1 of the record become 0 and 1, then the adapter's driver name.
  virtual void GetAdapterInfo(N_AdapterInfo* info);
  virtual void SetVector3(const float* vector);
  /// Logs the device's states beside the cached ones.
  virtual void DumpRenderState();
  /// Logs every difference between the device and the render-state cache.
  virtual void CheckRenderState();

  // Materials and surfaces (RenderMaterial.cpp, RenderStageGen.cpp). Nothing of this
  // runs while the device is lost.
  /// Binds a material for the following surface draws: culling, polygon offset, the sky
  /// view and the vertex deformations; null makes them draw nothing. The lightmap (a
  /// texture handle) is what lightmap stages bind; the same shader again only changes it.
  virtual void SetShader(N_Shader* shader, std::int32_t lightmap);
  /// Draws a surface once per stage group of the bound shader (stages marked to
  /// multiply with the next share one pass while texture units last).
  virtual void DrawSurface(N_MeshSurface* surface);
  /// World transform identity, then DrawSurface.
  virtual void DrawSurfaceIdentity(N_MeshSurface* surface);
  /// World transform from the rotation (applied transposed) and the position, then
  /// DrawSurface; the scale is not applied.
  virtual void DrawSurfaceAt(N_MeshSurface* surface, const N_Vector3& position, const N_Matrix3& rotation,
                             float scale);
  /// Draws a point list as screen-facing sprites with the bound shader's stages (at
  /// most two stages a draw). Nothing without a bound shader.
  virtual void DrawPointSprites(N_MeshSurface* surface);
  /// Marks the pixels in a shadow volume's shadow in the stencil buffer (depth pass,
  /// two-sided when the device can). Nothing while "r_shadowsEnabled" is 0 or without
  /// stencil bits. The scale is not read.
  virtual void DrawShadowVolume(N_MeshSurface* surface, const N_Vector3& position, const N_Matrix3& rotation,
                                float scale);
  /// The current layer's texture-coordinate generation and modifiers on a unit.
  void ApplyTexCoords(std::uint32_t unit, const N_MeshSurface* surface);
  /// The current layer's colour and alpha sources: lighting, declaration or program.
  void ApplyColourSource(const N_MeshSurface* surface);
  /// A stage's blending, alpha test and depth states, through the render-state cache.
  void ApplyStageStates(const N_ShaderStage* stage);

  // Fog, lights, stencil and the shadow overlay.
  /// mode 0 linear, 1 exponential, 2 squared exponential vertex fog; colour is 3 floats.
  virtual void SetFog(std::int32_t mode, const float* colour, float start, float end, float density);
  virtual void DisableFog();
  virtual void SetAmbient(float r, float g, float b);
  /// Keeps a copy of the light in slot 0-7 and programs the device light; null switches
  /// the slot off. Clears the record's changed byte.
  virtual void SetLight(std::int32_t slot, N_RenderLight* light);
  /// Switches off the device lights of the slots that hold a light and empties them.
  virtual void DisableLights();
  /// The light set in a slot, or null.
  const N_RenderLight* GetLight(std::int32_t slot) const;
  virtual void EnableStencil(std::uint8_t on);
  virtual void SetStencilMask(DWORD mask);
  /// Engine function codes 0-7 (NEVER, ALWAYS, LESS, LESSEQUAL, EQUAL, NOTEQUAL,
  /// GREATEREQUAL, GREATER); higher codes reach the device unchanged.
  virtual void SetStencilFunc(std::int32_t function, DWORD reference, DWORD mask);
  /// Engine operation codes 0-5 (KEEP, ZERO, REPLACE, INCR, DECR, INVERT).
  virtual void SetStencilOp(std::int32_t fail, std::int32_t depthFail, std::int32_t pass);
  virtual void ClearStencil(DWORD value);
  /// The shadow colour; re-colours the full-screen quad (alpha 0x7F).
  virtual void SetShadowColor(float r, float g, float b);
  /// After a 2D set-up: darkens every stencil-marked pixel with the shadow colour.
  /// Nothing without a stencil buffer or while "r_shadowsEnabled" is 0.
  virtual void DrawShadowOverlay();

  // Immediate drawing from the renderer's own vertex records (colours are three
  // floats; the box is min x, y, z, max x, y, z).
  virtual void DrawPoint(const float* position, float size, const float* colour);
  virtual void DrawPointXYZ(float x, float y, float z, float size, const float* colour);
  /// The width is not applied.
  virtual void DrawLine(const float* from, const float* to, const float* colour, float width);
  virtual void DrawLineXYZ(float x1, float y1, float z1, float x2, float y2, float z2, const float* colour,
                           float width);
  virtual void DrawWireBox(const float* box, const float* colour);
  /// A solid box; colour is four floats (red, green, blue, alpha). Leaves culling off.
  virtual void DrawBox(const float* box, const float* colour);
  virtual void DrawOrientedWireBox(const N_OrientedBox& box, const float* colour);
  /// A blended quad of the current camera's viewport size in the current transforms
  /// (a fade in the 2D mode); nothing without a current camera.
  virtual void DrawQuad(float r, float g, float b, float a);
  /// Gives the declaration's device object to the device (every call reaches it).
  void SetVertexDecl(N_VertexDecl* declaration);
  /// The display gamma ramp from gamma, brightness and contrast (swap chain 0).
  virtual void SetGamma(float gamma, float brightness, float contrast, std::uint8_t calibrate);
  /// Assembles the five vertex programs; a missing one stays none.
  void LoadVertexPrograms();

  // Textures: the device work of the texture manager (RenderTexture.cpp).
  /// Loads a DDS file into a device texture of the record's kind (0 two-dimensional,
  /// 1 cube, 2 volume) with the texture-quality variables applied, fills the record
  /// and counts the texture's bytes; returns them, 0 on failure (record texture 0).
  /// Parameter bit 0: one mip level; bit 1: no picmip; other bits are not read.
  virtual std::uint32_t CreateTexture(const char* path, TexInfo* record, std::uint32_t parameter);
  /// Releases the record's device texture, its bytes and its registry entry, and makes
  /// the render-state cache forget it on every unit; the record itself is not changed.
  virtual void ReleaseTexture(TexInfo* record);
  /// Binds the textures the effects name; the texture manager calls it after a purge.
  virtual void LoadEffectTextures();
  /// Clears the back buffer, stretches the DDS picture resource of the program over it
  /// and presents; stops silently at any failing step (RenderSplash.cpp).
  virtual void ShowSplashImage(std::uint16_t resourceId);

  // Offscreen target, post pass and screenshot (RenderPostPass.cpp).
  /// Makes the offscreen surface (on) or the back buffer (off) render target 0;
  /// nothing without an offscreen surface.
  virtual void SetOffscreenTarget(std::uint8_t on);
  /// The strength of the post pass's horizontal double image (0 after Init).
  virtual void SetPostFilterAmount(float amount);
  /// Copies the offscreen picture to the back buffer in the current camera's 2D
  /// set-up; an amount above 0 draws it twice, shifted by -2 and +2 x the amount in
  /// screen units, the second blended at the quad's alpha 0x7F. Leaves depth writes
  /// off, culling off and depth and alpha functions ALWAYS in the cache. Nothing
  /// without an offscreen surface or a current camera.
  virtual void DrawPostPass();
  /// Writes the whole back buffer (the rectangle is not applied) to the file as a BMP;
  /// failures are silent.
  virtual void SaveScreenshot(const char* fileName, std::int32_t x, std::int32_t y, std::int32_t width,
                              std::int32_t height);

  // Effects (RenderEffects.cpp, RenderEffectParameters.cpp).
  /// The effect of a file, compiled once per file name (compared byte by byte) and
  /// shared: each call for a cached name counts one more user. Null when the file
  /// does not compile; nothing is cached then.
  virtual ID3DXEffect* CreateEffect(const char* fileName);
  /// Drops one user of the renderer's effect and releases it (and the texture
  /// references it took) with the last; nulls the caller's pointer always.
  virtual void DestroyEffect(ID3DXEffect** effect);
  /// Hands the engine values to the effect's parameters by semantic (world, view and
  /// projection products, time, light direction, fog, eye, the current shader's stage
  /// textures). Called before every draw through an effect.
  void BindEffectParameters(ID3DXEffect* effect);
  /// The effect branch of DrawSurface: the surface declaration (with colour), the
  /// engine values, then draw once per pass of the effect's current technique.
  /// Nothing is drawn without an effect.
  void DrawEffectPasses(ID3DXEffect* effect, const std::function<void()>& draw);
  /// Users of a cached effect (0 for one the renderer does not hold).
  std::uint32_t EffectUsers(const ID3DXEffect* effect) const;

  // Queries.
  virtual bool UsesPointSprites() const { return m_pointSprites; }
  virtual bool SupportsOcclusionQueries() const { return m_occlusionQueries; }
  /// Primitives drawn since the frame began.
  virtual std::uint32_t GetPolygonCount() const { return m_polygonCount; }

  // Resource factories (every argument is 32-bit; mode 2 asks for a dynamic buffer).
  virtual N_VertexBuffer* CreateVertexBuffer(std::uint32_t vertexSize, std::uint32_t vertexCount,
                                             std::uint32_t mode);
  /// Deletes a listed buffer and nulls the pointer; an unlisted one is left alone.
  virtual void DestroyVertexBuffer(N_VertexBuffer** buffer);
  /// format 101: 16-bit indices, 102: 32-bit.
  virtual N_IndexBuffer* CreateIndexBuffer(std::uint32_t format, std::uint32_t indexCount, std::uint32_t mode);
  virtual void DestroyIndexBuffer(N_IndexBuffer** buffer);
  virtual N_VertexDecl* CreateVertexDecl();
  /// Removes every list entry equal to it, deletes it and nulls the pointer (listed or not).
  virtual void DestroyVertexDecl(N_VertexDecl** declaration);
  virtual N_VertexBufferBinding* CreateVertexBufferBinding();
  virtual void DestroyVertexBufferBinding(N_VertexBufferBinding** binding);
  /// Binds a binding's buffers to their streams and unbinds the streams of the previous
  /// binding beyond this one's count.
  void ApplyVertexBufferBinding(N_VertexBufferBinding* binding);
  /// A ring of occlusion queries, listed; null when the device cannot make all of them.
  virtual N_OcclusionQuery* CreateOcclusionQuery();
  /// Removes every list entry equal to it, deletes it and nulls the pointer.
  virtual void DestroyOcclusionQuery(N_OcclusionQuery** query);
  /// Writes counts and memory of every resource kind to the log.
  virtual void DumpMemoryStatistics();

  // What other parts of the renderer and the tests read.
  IDirect3DDevice9* Device() const { return m_device; }
  IDirect3D9* Direct3D() const { return m_d3d; }
  const D3DCAPS9& Caps() const { return m_caps; }
  const D3DPRESENT_PARAMETERS& PresentParameters() const { return m_presentParams; }
  /// 0x40 hardware (pure included), 0x80 mixed, 0x20 software vertex processing.
  std::uint32_t BehaviourFlags() const { return m_behaviourFlags; }
  bool SoftwareVertexProcessing() const { return m_softwareVertexProcessing; }
  bool IsDeviceLost() const { return m_deviceLost; }
  std::uint32_t StencilBits() const { return m_stencilBits; }
  bool TextureCompression() const { return m_textureCompression; }
  /// Texture units every unit loop runs over: the device's simultaneous textures, at most 8.
  std::uint32_t TextureUnitCount() const;
  N_VertexDecl* BuiltInDeclaration(BuiltInDecl which) const { return m_builtInDecls[std::size_t(which)]; }
  N_VertexBuffer* FullScreenQuad() const { return m_fullScreenQuad; }
  IDirect3DTexture9* OffscreenTexture() const { return m_offscreenTexture; }
  IDirect3DSurface9* OffscreenSurface() const { return m_offscreenSurface; }
  std::uint32_t BoundStreamCount() const { return m_boundStreamCount; }
  std::uint32_t VertexBufferMemory() const { return m_vertexBufferMemory; }
  std::uint32_t IndexBufferMemory() const { return m_indexBufferMemory; }
  const std::list<N_VertexBuffer*>& VertexBuffers() const { return m_vertexBuffers; }
  const std::list<N_IndexBuffer*>& IndexBuffers() const { return m_indexBuffers; }
  const std::list<N_VertexDecl*>& VertexDecls() const { return m_vertexDecls; }
  const std::list<N_VertexBufferBinding*>& VertexBufferBindings() const { return m_bindings; }
  D3DCOLOR ClearColor() const { return m_clearColor; }
  float PostFilterAmount() const { return m_postFilterAmount; }
  /// The camera of the last camera set-up (null after a failed 3D set-up).
  N_Camera* CurrentCamera() const { return m_camera; }
  /// The transforms last given to the device.
  const D3DMATRIX& WorldMatrix() const { return m_world; }
  const D3DMATRIX& ViewMatrix() const { return m_view; }
  const D3DMATRIX& ProjectionMatrix() const { return m_projection; }
  bool VertexProgramBound() const { return m_vertexProgramBound; }
  bool ShadowDeclarationCurrent() const { return m_shadowDeclCurrent; }
  /// The vertices of the last immediate draws.
  const N_ImmediateVertices& ImmediateVertices() const { return m_immediate; }
  /// Bytes of the textures made by CreateTexture and not yet released.
  std::uint32_t TextureMemory() const { return m_textureMemory; }
  /// Texture handle -> the path it was loaded from.
  const std::map<std::int32_t, std::string>& TextureRegistry() const { return m_textureRegistry; }

 private:
  /// X8R8G8B8 when "v_bpp" is 32, else R5G6B5.
  static D3DFORMAT AdapterFormat();
  /// Picks the first depth-stencil format adapter 0 accepts; false when none does.
  bool ChooseDepthStencilFormat(D3DFORMAT adapterFormat, D3DFORMAT& format);
  /// Fills the presentation parameters from the video variables.
  void FillPresentParameters(D3DFORMAT adapterFormat, D3DFORMAT depthStencilFormat);
  bool CreateDevice();
  void CreateOffscreenTarget();
  void LogAdapter();
  void LogCapabilities(D3DFORMAT adapterFormat);
  void CreateBuiltInDeclarations();
  void CreateFullScreenQuad();
  void ApplyWindowStyle();
  void LoadTransformConstants();
  /// The vertex programs in the order of m_vertexPrograms.
  enum class VertexProgram { Wave, Water, AlphaDot, RgbGen, AutoSprite };
  /// Binds the program when it exists and sets the vertex-program flag either way.
  void BindVertexProgram(VertexProgram which);
  void SetVertexConstant(std::uint32_t reg, float x, float y = 0.0f, float z = 0.0f, float w = 0.0f);
  /// Deform programs of a shader and, when one is bound, the fog constants.
  void ApplyDeforms(const N_Shader& shader);
  void ApplyAutoSprite(const float* values, bool worldUp);
  void LoadFogConstants();
  /// The current shader's stage at the current layer (null when there is none).
  const N_ShaderStage* CurrentStage() const;
  bool HardwareVertexProcessing() const { return m_behaviourFlags == D3DCREATE_HARDWARE_VERTEXPROCESSING; }
  bool MixedVertexProcessing() const { return m_behaviourFlags == D3DCREATE_MIXED_VERTEXPROCESSING; }
  void SetLighting(bool on);
  /// Binds the surface's stream binding and index buffer when they differ from the ones
  /// the device draws from.
  void BindSurfaceStreams(const N_MeshSurface& surface);
  /// One draw of the surface's geometry (GPU buffers or memory); count > 0.
  void DrawSurfaceGeometry(const N_MeshSurface& surface, D3DPRIMITIVETYPE type, std::uint32_t count);
  /// Colour and alpha off, no texture, for the units from `first` that hold one.
  void DisableUnitsFrom(std::uint32_t first);
  void SetWorldFromRotation(const N_Vector3& position, const N_Matrix3& rotation);
  void DrawShadowTriangles(const N_MeshSurface& surface, std::uint32_t triangles);
  void BeginImmediateDraw();
  void UseImmediateFormat(DWORD fvf, N_VertexDecl* declaration);
  void DrawBoxEdges(const N_Vector3* corners, const float* colour);
  void DrawLines(UINT count);

  IDirect3D9* m_d3d = nullptr;
  IDirect3DDevice9* m_device = nullptr;
  D3DCAPS9 m_caps{};
  D3DPRESENT_PARAMETERS m_presentParams{};
  std::uint32_t m_behaviourFlags = 0;
  std::uint32_t m_polygonCount = 0;
  std::array<float, 3> m_vector{};
  N_Camera* m_camera = nullptr;
  std::array<std::optional<N_RenderLight>, kLights> m_lights{};  ///< copies of the lights set
  std::uint32_t m_stencilBits = 0;
  std::array<float, 3> m_shadowColor{0.725f, 0.721f, 0.757f};
  D3DCOLOR m_clearColor = 0;
  std::uint32_t m_boundStreamCount = 0;
  bool m_pointSprites = false;
  bool m_occlusionQueries = false;
  bool m_textureCompression = false;
  N_VertexBuffer* m_fullScreenQuad = nullptr;
  bool m_softwareVertexProcessing = false;
  bool m_deviceLost = false;
  bool m_referenceDevice = false;  ///< rule (d) made the device: logged as "Reference"
  D3DMATRIX m_world{};
  D3DMATRIX m_view{};
  D3DMATRIX m_projection{};
  bool m_vertexProgramBound = false;
  /// An immediate draw took the vertex program away: the next SetShader binds in full.
  bool m_shaderRebind = false;
  IDirect3DTexture9* m_offscreenTexture = nullptr;
  IDirect3DSurface9* m_offscreenSurface = nullptr;
  /// The offscreen target is cleared when a frame first draws into it (or copies it): a
  /// frame drawn straight into the back buffer leaves it alone.
  bool m_offscreenClearPending = false;
  /// The frame's scene went straight into the back buffer: with no filter to apply the
  /// post pass would only copy it there (the offscreen target is then left alone).
  bool m_sceneInBackBuffer = false;
  /// Something may have written the stencil buffer since the frame cleared it (a shadow
  /// volume, stencil enabled, a stencil clear to a value, an effect's passes): without
  /// it the shadow overlay would darken no pixel and is not drawn.
  bool m_stencilMayBeMarked = true;
  float m_postFilterAmount = 0.0f;
  std::array<N_VertexDecl*, kBuiltInDecls> m_builtInDecls{};
  bool m_shadowDeclCurrent = false;
  std::list<N_VertexBuffer*> m_vertexBuffers;
  std::list<N_IndexBuffer*> m_indexBuffers;
  std::list<N_VertexDecl*> m_vertexDecls;
  std::list<N_VertexBufferBinding*> m_bindings;
  /// A compiled effect, its users and the texture references its "name" annotations took.
  struct EffectEntry {
    ID3DXEffect* effect = nullptr;
    std::uint32_t users = 0;
    std::vector<TexInfo*> textures;
  };
  /// The post pass's steps: states before the copy, the copied texture on unit 0,
  /// the full-screen quad once or twice.
  void PreparePostPassStates();
  /// Clears the offscreen target (the current render target) if this frame has not yet.
  void ClearPendingOffscreen();
  void BindPostPassTexture();
  /// Copies the scene into the texture the filter reads.
  void CopySceneToTexture();
  void DrawPostPassQuads();
  /// Adds a reference to each texture the effect's current technique names.
  void AddEffectTextures(EffectEntry& entry);
  /// Gives back the entry's texture references and releases its effect.
  void ReleaseEffect(EffectEntry& entry);
  /// Tells every effect that the device is lost (before a reset) or was reset.
  void NotifyEffects(bool reset);
  /// Releases every effect, whatever its users (Shutdown).
  void ReleaseEffects();
  std::map<std::string, EffectEntry> m_effects;
  std::array<IDirect3DVertexShader9*, kVertexPrograms> m_vertexPrograms{};
  std::list<N_OcclusionQuery*> m_occlusionQueryRings;
  std::uint32_t m_textureMemory = 0;
  std::map<std::int32_t, std::string> m_textureRegistry;  ///< texture handle -> path it was loaded from
  std::uint32_t m_vertexBufferMemory = 0;
  std::uint32_t m_indexBufferMemory = 0;
  N_ImmediateVertices m_immediate;  ///< overwritten by each immediate draw
};

/// The renderer, while it exists (set by the application).
extern N_Render* g_render;

/// Makes the renderer, stores it through out and copies the services block (words 0-3
/// and 5) into the module's record with the renderer in word 4. The device is not made.
N_Render* CreateRender(const N_CoreServices* services, N_Render** out);
/// Frees the renderer and clears the module's services pointer.
void ReleaseRender(N_Render* render);
