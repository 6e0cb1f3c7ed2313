#pragma once
// PROVISIONAL: the renderer object as far as the render-state, camera, fog, light,
// stencil and debug-drawing operations need it; replaced by the renderer object of the
// device branch when it lands.
#include "core/Matrix4.h"
#include "core/Vector3.h"
#include "platform/d3d9.h"
#include "render/ImmediateVertices.h"
#include "render/RenderLight.h"

#include <array>
#include <cstdint>
#include <list>

class N_Camera;
class N_OcclusionQuery;
class N_VertexBuffer;
class N_VertexDecl;
struct N_OrientedBox;

/// The adapter record of GetAdapterInfo.
struct N_AdapterInfo {
  std::uint32_t word0 = 0;
  std::uint32_t word1 = 0;
  char driver[512] = {};
};

class N_Render {
 public:
  N_Render();
  virtual ~N_Render();

  /// Test hook until the device branch's Init lands.
  void AttachDevice(IDirect3D9* d3d, IDirect3DDevice9* device, DWORD stencilBits);

  virtual void SetDefaultRenderStates(IDirect3DDevice9* device);
  virtual bool BeginFrame();
  virtual void ClearDepth();
  virtual void SetClearColorRGBA(float r, float g, float b, float a);
  virtual void SetWorldMatrix(const N_Matrix4& m);
  virtual void SetViewMatrix(const N_Matrix4& m);
  virtual void SetProjectionMatrix(const N_Matrix4& m);
  virtual void SetupCamera(N_Camera* camera, std::int32_t is3D);
  virtual void SetupCamera3D(N_Camera* camera);
  virtual void SetScissorRect(std::uint8_t enable, float left, float top, float right, float bottom);
  virtual void GetAdapterInfo(N_AdapterInfo* info);
  virtual void SetVector3(const float* v);
  virtual void DumpRenderState();
  virtual void CheckRenderState();

  virtual void SetFog(std::int32_t mode, const float* colour, float start, float end, float density);
  virtual void DisableFog();
  virtual void SetAmbient(float r, float g, float b);
  virtual void SetLight(std::int32_t index, N_RenderLight* light);
  virtual void DisableLights();
  virtual void EnableStencil(std::uint8_t on);
  virtual void SetStencilMask(DWORD mask);
  virtual void SetStencilFunc(std::int32_t func, DWORD ref, DWORD mask);
  virtual void SetStencilOp(std::int32_t fail, std::int32_t depthFail, std::int32_t pass);
  virtual void ClearStencil(DWORD value);
  virtual void SetShadowColor(float r, float g, float b);
  virtual void DrawShadowOverlay();

  virtual void DrawPoint(const float* position, float size, const float* colour);
  virtual void DrawPointXYZ(float x, float y, float z, float size, const float* colour);
  virtual void DrawLine(const float* from, const float* to, const float* colour, float width);
  virtual void DrawLineXYZ(float x1, float y1, float z1, float x2, float y2, float z2, const float* colour,
                           float width);
  virtual void DrawWireBox(const float* box, const float* colour);
  virtual void DrawBox(const float* box, const float* colour);
  virtual void DrawOrientedWireBox(const N_OrientedBox& box, const float* colour);
  virtual void DrawQuad(float r, float g, float b, float a);

  virtual std::uint32_t GetPolygonCount() { return m_polygonCount; }
  virtual N_OcclusionQuery* CreateOcclusionQuery();
  virtual void DestroyOcclusionQuery(N_OcclusionQuery** query);

  N_Camera* CurrentCamera() const { return m_camera; }
  /// The light set in a slot (0-7), or null.
  const N_RenderLight* GetLight(std::int32_t slot) const;
  DWORD TextureUnitCount() const;
  void SetVertexDecl(N_VertexDecl* declaration);

 private:
  void LoadTransformConstants();
  void BeginImmediateDraw();
  void UseImmediateFormat(DWORD fvf, N_VertexDecl* declaration);
  void DrawBoxEdges(const N_Vector3* corners, const float* colour);
  void DrawLines(UINT count);

 public:
  IDirect3D9* m_d3d = nullptr;
  IDirect3DDevice9* m_device = nullptr;
  D3DCAPS9 m_caps{};
  DWORD m_behaviourFlags = 0x40;
  std::uint32_t m_polygonCount = 0;
  float m_vector[3] = {};
  N_Camera* m_camera = nullptr;
  std::array<N_RenderLight, 8> m_lights{};
  std::array<bool, 8> m_lightSet{};
  DWORD m_stencilBits = 0;
  float m_shadowColor[3] = {0.725f, 0.721f, 0.757f};
  D3DCOLOR m_clearColor = 0;
  N_VertexBuffer* m_quad = nullptr;
  std::uint8_t m_softwareVertexProcessing = 0;
  N_Matrix4 m_world{};
  N_Matrix4 m_view{};
  N_Matrix4 m_projection{};
  std::uint8_t m_vertexProgramBound = 0;
  IDirect3DSurface9* m_offscreenSurface = nullptr;
  N_VertexDecl* m_lineDecl = nullptr;
  N_VertexDecl* m_pointDecl = nullptr;
  N_VertexDecl* m_surfaceNoColourDecl = nullptr;
  N_VertexDecl* m_surfaceDecl = nullptr;
  N_VertexDecl* m_pointSpriteDecl = nullptr;
  std::uint8_t m_shadowDeclCurrent = 0;
  std::list<N_OcclusionQuery*> m_occlusionQueries;
  N_ImmediateVertices m_immediate;
};
