// The Direct3D 9 device over OpenGL, checked by its pixels (run under Xvfb with Mesa).
#include "platform/d3d9.h"
#include "tests/platform/GlDevice.h"
#include "tests/support/BackBuffer.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Vertex {  // FVF XYZ | DIFFUSE | TEX1
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};
constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

constexpr D3DCOLOR kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;
constexpr D3DCOLOR kGrey = 0xFF404040;

class D3D9GlDevice : public ::testing::Test, protected test::GlDevice {
 protected:
  void SetUp() override { Start(64, 48); }
  void TearDown() override { Close(); }

  /// The device on a window of the size, presenting at once, lighting off, cleared.
  void Start(int width, int height) {
    D3DPRESENT_PARAMETERS wanted = DepthStencil();
    wanted.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    ASSERT_TRUE(Open(width, height, wanted));
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0, 1.0f, 0);
  }

  /// The back buffer's pixels, top row first, as 0x00RRGGBB.
  std::vector<DWORD> BackBuffer(UINT* width = nullptr) {
    const test::BackBufferImage image = test::ReadBackBuffer(device);
    if (width) *width = image.width;
    return image.RgbPixels();
  }

  DWORD Pixel(UINT x, UINT y) {
    UINT width = 0;
    const auto pixels = BackBuffer(&width);
    return pixels.at(std::size_t(y) * width + x);
  }

  void Draw(const std::vector<Vertex>& vertices, D3DPRIMITIVETYPE type, UINT primitives) {
    device->SetFVF(kFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(type, primitives, vertices.data(), sizeof(Vertex)), D3D_OK);
  }

  /// A quad covering clip space, texture (0,0) at the top-left.
  static std::vector<Vertex> FullQuad(D3DCOLOR color = kWhite) {
    return {{-1, 1, 0.5f, color, 0, 0}, {1, 1, 0.5f, color, 1, 0}, {-1, -1, 0.5f, color, 0, 1},
            {1, -1, 0.5f, color, 1, 1}};
  }

};

TEST_F(D3D9GlDevice, CapabilitiesKeepTheEngineOnItsFullPaths) {
  D3DCAPS9 caps{};
  ASSERT_EQ(d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
  EXPECT_NE(caps.VertexShaderVersion & 0xFFFF, 0u);
  EXPECT_TRUE(caps.FVFCaps & D3DFVFCAPS_PSIZE);
  EXPECT_GT(caps.MaxPointSize, 1.0f);
  EXPECT_TRUE(caps.StencilCaps & D3DSTENCILCAPS_TWOSIDED);
  EXPECT_TRUE(caps.PrimitiveMiscCaps & D3DPMISCCAPS_BLENDOP);
  EXPECT_TRUE(caps.StretchRectFilterCaps & D3DPTFILTERCAPS_MINFLINEAR);
  EXPECT_TRUE(caps.StretchRectFilterCaps & D3DPTFILTERCAPS_MAGFLINEAR);
  EXPECT_GE(caps.MaxSimultaneousTextures, 2u);
  EXPECT_LE(caps.MaxSimultaneousTextures, 8u);
  EXPECT_EQ(d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0, D3DRTYPE_TEXTURE, D3DFMT_DXT1), D3D_OK);
  EXPECT_EQ(d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                   D3DFMT_D24S8), D3D_OK);
  EXPECT_EQ(d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                   D3DFMT_D15S1), D3DERR_NOTAVAILABLE);
  EXPECT_EQ(device->CreateQuery(D3DQUERYTYPE_OCCLUSION, nullptr), D3D_OK);
  D3DADAPTER_IDENTIFIER9 id{};
  ASSERT_EQ(d3d->GetAdapterIdentifier(0, 0, &id), D3D_OK);
  EXPECT_GT(std::strlen(id.Description), 0u);
  EXPECT_EQ(id.WHQLLevel, 0u);
  EXPECT_GT(device->GetAvailableTextureMem(), 0u);
}

TEST_F(D3D9GlDevice, ClearFillsTheViewportOnly) {
  ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, kRed, 1.0f, 0), D3D_OK);
  EXPECT_EQ(Pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(Pixel(63, 47), 0xFF0000u);
  const D3DVIEWPORT9 right{32, 0, 32, 48, 0.0f, 1.0f};
  device->SetViewport(&right);
  device->SetRenderState(D3DRS_COLORWRITEENABLE, 0);  // a clear ignores the write mask
  device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
  EXPECT_EQ(Pixel(31, 10), 0xFF0000u);
  EXPECT_EQ(Pixel(32, 10), 0x0000FFu);
  const D3DRECT box{40, 40, 44, 44};
  device->Clear(1, &box, D3DCLEAR_TARGET, kGreen, 1.0f, 0);
  EXPECT_EQ(Pixel(40, 40), 0x00FF00u);
  EXPECT_EQ(Pixel(44, 44), 0x0000FFu);
}

TEST_F(D3D9GlDevice, TrianglesFromAVertexBufferAndFromAnUpDrawLandOnTheirPixels) {
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kGrey, 1.0f, 0);
  // Top-left half from a static buffer through a declaration (clockwise on screen).
  const Vertex upperLeft[3] = {{-1, 1, 0.5f, kRed, 0, 0}, {1, 1, 0.5f, kRed, 0, 0}, {-1, -1, 0.5f, kRed, 0, 0}};
  IDirect3DVertexBuffer9* vb = nullptr;
  ASSERT_EQ(device->CreateVertexBuffer(sizeof upperLeft, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &vb, nullptr), D3D_OK);
  void* data = nullptr;
  vb->Lock(0, 0, &data, 0);
  std::memcpy(data, upperLeft, sizeof upperLeft);
  vb->Unlock();
  const D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                        {0, 12, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                        D3DDECL_END()};
  IDirect3DVertexDeclaration9* declaration = nullptr;
  ASSERT_EQ(device->CreateVertexDeclaration(elements, &declaration), D3D_OK);
  device->SetVertexDeclaration(declaration);
  device->SetStreamSource(0, vb, 0, sizeof(Vertex));
  ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
  // Bottom-right quarter with an FVF UP draw.
  Draw({{0, 0, 0.5f, kGreen, 0, 0}, {1, 0, 0.5f, kGreen, 0, 0}, {0, -1, 0.5f, kGreen, 0, 0},
        {1, -1, 0.5f, kGreen, 0, 0}},
       D3DPT_TRIANGLESTRIP, 2);
  EXPECT_EQ(Pixel(2, 2), 0xFF0000u);
  EXPECT_EQ(Pixel(61, 2), 0xFF0000u);
  EXPECT_EQ(Pixel(2, 45), 0xFF0000u);
  EXPECT_EQ(Pixel(40, 20), 0x404040u) << "below the diagonal, outside the quarter";
  EXPECT_EQ(Pixel(33, 25), 0x00FF00u);
  EXPECT_EQ(Pixel(63, 47), 0x00FF00u);
  device->SetVertexDeclaration(declaration);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL) << "stream 0 was unset by the UP draw";
  device->SetStreamSource(0, vb, 0, sizeof(Vertex));
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 1, 1), D3DERR_INVALIDCALL) << "past the buffer's end";
  declaration->Release();
  vb->Release();
}

TEST_F(D3D9GlDevice, CullingFollowsTheScreenWinding) {
  const std::vector<Vertex> clockwise = {{-1, 1, 0.5f, kRed, 0, 0}, {1, 1, 0.5f, kRed, 0, 0}, {-1, -1, 0.5f, kRed, 0, 0}};
  const std::vector<Vertex> counter = {clockwise[0], clockwise[2], clockwise[1]};
  struct Case {
    DWORD cull;
    bool clockwiseDrawn, counterDrawn;
  };
  for (const Case c : {Case{D3DCULL_CCW, true, false}, Case{D3DCULL_CW, false, true}, Case{D3DCULL_NONE, true, true}}) {
    device->SetRenderState(D3DRS_CULLMODE, c.cull);
    for (int winding = 0; winding < 2; ++winding) {
      device->Clear(0, nullptr, D3DCLEAR_TARGET, kGrey, 1.0f, 0);
      Draw(winding == 0 ? clockwise : counter, D3DPT_TRIANGLELIST, 1);
      const bool drawn = Pixel(2, 2) == 0xFF0000u;
      EXPECT_EQ(drawn, winding == 0 ? c.clockwiseDrawn : c.counterDrawn) << "cull " << c.cull << " winding " << winding;
    }
  }
}

TEST_F(D3D9GlDevice, TexturesAreSampledTopRowFirst) {
  IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
  D3DLOCKED_RECT locked{};
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
  auto* rows = static_cast<BYTE*>(locked.pBits);
  reinterpret_cast<DWORD*>(rows)[0] = kRed;
  reinterpret_cast<DWORD*>(rows)[1] = kGreen;
  reinterpret_cast<DWORD*>(rows + locked.Pitch)[0] = kBlue;
  reinterpret_cast<DWORD*>(rows + locked.Pitch)[1] = kWhite;
  texture->UnlockRect(0);
  device->SetTexture(0, texture);
  Draw(FullQuad(), D3DPT_TRIANGLESTRIP, 2);
  EXPECT_EQ(Pixel(8, 8), 0xFF0000u);
  EXPECT_EQ(Pixel(56, 8), 0x00FF00u);
  EXPECT_EQ(Pixel(8, 40), 0x0000FFu);
  EXPECT_EQ(Pixel(56, 40), 0xFFFFFFu);
  // MODULATE with the vertex colour; a DISABLE'd stage 0 shows the colour alone.
  Draw(FullQuad(0xFF808080), D3DPT_TRIANGLESTRIP, 2);
  EXPECT_EQ(Pixel(56, 40), 0x808080u);
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
  Draw(FullQuad(kGreen), D3DPT_TRIANGLESTRIP, 2);
  EXPECT_EQ(Pixel(8, 8), 0x00FF00u);
  texture->Release();
}

TEST_F(D3D9GlDevice, CompressedTexturesUploadAndSample) {
  IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
  D3DLOCKED_RECT locked{};
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
  // One DXT1 block: colour 0 = pure blue (565: 0x001F), colour 1 = black, every index 0.
  const BYTE block[8] = {0x1F, 0x00, 0x00, 0x00, 0, 0, 0, 0};
  std::memcpy(locked.pBits, block, sizeof block);
  texture->UnlockRect(0);
  device->SetTexture(0, texture);
  Draw(FullQuad(), D3DPT_TRIANGLESTRIP, 2);
  EXPECT_EQ(Pixel(30, 20), 0x0000FFu);
  // A software renderer keeps the texture decoded; a lock still gives the blocks back.
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
  EXPECT_EQ(std::memcmp(locked.pBits, block, sizeof block), 0);
  texture->UnlockRect(0);
  texture->Release();
}

TEST_F(D3D9GlDevice, RenderTargetsCopiesAndTheirOrientation) {
  // A render-target texture: top half red, bottom half blue, then drawn on the back buffer.
  IDirect3DTexture9* target = nullptr;
  ASSERT_EQ(device->CreateTexture(64, 48, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &target,
                                  nullptr), D3D_OK);
  IDirect3DSurface9* level = nullptr;
  IDirect3DSurface9* back = nullptr;
  target->GetSurfaceLevel(0, &level);
  device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
  ASSERT_EQ(device->SetRenderTarget(0, level), D3D_OK);
  const D3DRECT top{0, 0, 64, 24}, bottom{0, 24, 64, 48};
  device->Clear(1, &top, D3DCLEAR_TARGET, kRed, 1.0f, 0);
  device->Clear(1, &bottom, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
  device->SetRenderTarget(0, back);
  IDirect3DTexture9* plainTexture = nullptr;
  IDirect3DSurface9* plainLevel = nullptr;
  device->CreateTexture(4, 4, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &plainTexture, nullptr);
  plainTexture->GetSurfaceLevel(0, &plainLevel);
  EXPECT_EQ(device->SetRenderTarget(0, plainLevel), D3DERR_INVALIDCALL) << "not a render-target texture";
  plainLevel->Release();
  plainTexture->Release();
  device->SetTexture(0, target);
  Draw(FullQuad(), D3DPT_TRIANGLESTRIP, 2);
  EXPECT_EQ(Pixel(30, 5), 0xFF0000u);
  EXPECT_EQ(Pixel(30, 42), 0x0000FFu);
  device->SetTexture(0, nullptr);

  // StretchRect from a render-target surface, scaled into the bottom-right quarter.
  IDirect3DSurface9* offscreen = nullptr;
  ASSERT_EQ(device->CreateRenderTarget(64, 48, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &offscreen, nullptr),
            D3D_OK);
  device->SetRenderTarget(0, offscreen);
  device->Clear(1, &top, D3DCLEAR_TARGET, kGreen, 1.0f, 0);
  device->Clear(1, &bottom, D3DCLEAR_TARGET, kWhite, 1.0f, 0);
  device->SetRenderTarget(0, back);
  device->Clear(0, nullptr, D3DCLEAR_TARGET, kGrey, 1.0f, 0);
  const RECT quarter{32, 24, 64, 48};
  ASSERT_EQ(device->StretchRect(offscreen, nullptr, back, &quarter, D3DTEXF_POINT), D3D_OK);
  EXPECT_EQ(Pixel(10, 10), 0x404040u);
  EXPECT_EQ(Pixel(40, 28), 0x00FF00u);
  EXPECT_EQ(Pixel(40, 44), 0xFFFFFFu);

  // StretchRect from a system-memory surface (the splash's road).
  IDirect3DSurface9* plain = nullptr;
  ASSERT_EQ(device->CreateOffscreenPlainSurface(4, 4, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &plain, nullptr), D3D_OK);
  D3DLOCKED_RECT locked{};
  plain->LockRect(&locked, nullptr, 0);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x] = y < 2 ? kRed : kBlue;
    }
  }
  plain->UnlockRect();
  ASSERT_EQ(device->StretchRect(plain, nullptr, back, nullptr, D3DTEXF_POINT), D3D_OK);
  EXPECT_EQ(Pixel(30, 3), 0xFF0000u);
  EXPECT_EQ(Pixel(30, 45), 0x0000FFu);
  plain->Release();
  offscreen->Release();
  level->Release();
  back->Release();
  target->Release();
}

TEST_F(D3D9GlDevice, TheWindowHoldsTheBackBufferAndOneDepthBufferServesEveryTarget) {
  // Present copies nothing: the frame is drawn in the window's own framebuffer.
  platform::TraceDeviceGlCalls(true);
  ASSERT_EQ(device->Present(nullptr, nullptr, 0, nullptr), D3D_OK);
  const auto calls = platform::TakeDeviceGlCalls();
  platform::TraceDeviceGlCalls(false);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "glBlitFramebuffer"), 0);

  // The depth cleared with the back buffer as target is the offscreen target's; what
  // is drawn there holds back a draw in the window, except where a rectangle of the
  // window's depth was cleared since.
  IDirect3DSurface9* back = nullptr;
  IDirect3DSurface9* offscreen = nullptr;
  device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
  ASSERT_EQ(device->CreateRenderTarget(64, 48, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &offscreen, nullptr),
            D3D_OK);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, kGrey, 1.0f, 0);
  device->SetRenderTarget(0, offscreen);
  Draw({{-1, 1, 0.25f, kBlue, 0, 0}, {0, 1, 0.25f, kBlue, 0, 0}, {-1, -1, 0.25f, kBlue, 0, 0},
        {0, -1, 0.25f, kBlue, 0, 0}},
       D3DPT_TRIANGLESTRIP, 2);
  device->SetRenderTarget(0, back);
  const D3DRECT bottom{0, 24, 64, 48};
  device->Clear(1, &bottom, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  Draw(FullQuad(kRed), D3DPT_TRIANGLESTRIP, 2);
  EXPECT_EQ(Pixel(10, 10), 0x404040u) << "held back by the offscreen target's depth";
  EXPECT_EQ(Pixel(50, 10), 0xFF0000u);
  EXPECT_EQ(Pixel(10, 40), 0xFF0000u) << "the cleared rectangle";

  // So is the stencil: marked offscreen on the right half, it masks a draw in the window.
  device->SetRenderTarget(0, offscreen);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
  device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
  device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_REPLACE);
  device->SetRenderState(D3DRS_STENCILREF, 1);
  Draw({{0, 1, 0.5f, kBlue, 0, 0}, {1, 1, 0.5f, kBlue, 0, 0}, {0, -1, 0.5f, kBlue, 0, 0}, {1, -1, 0.5f, kBlue, 0, 0}},
       D3DPT_TRIANGLESTRIP, 2);
  device->SetRenderTarget(0, back);
  device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_EQUAL);
  device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
  Draw(FullQuad(kGreen), D3DPT_TRIANGLESTRIP, 2);
  EXPECT_EQ(Pixel(50, 40), 0x00FF00u);
  EXPECT_EQ(Pixel(10, 40), 0xFF0000u) << "outside the stencil mark";
  offscreen->Release();
  back->Release();
}

TEST_F(D3D9GlDevice, ADepthTestThatAlwaysPassesAndWritesNothingLeavesTheDepthBufferAlone) {
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kGrey, 0.0f, 0);
  device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
  device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  platform::TraceDeviceGlCalls(true);
  Draw(FullQuad(kRed), D3DPT_TRIANGLESTRIP, 2);
  const auto calls = platform::TakeDeviceGlCalls();
  platform::TraceDeviceGlCalls(false);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "glClear"), 0) << "the depth clear waits for a draw that uses it";
  EXPECT_EQ(Pixel(10, 10), 0xFF0000u);
  // The clear to 0 is made for the next draw that tests depth: it holds a draw at 0.5 back.
  device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
  device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  Draw(FullQuad(kGreen), D3DPT_TRIANGLESTRIP, 2);
  EXPECT_EQ(Pixel(10, 10), 0xFF0000u);
}

TEST_F(D3D9GlDevice, UnlitSpecularIsAddedOnlyByADrawThatHasOne) {
  struct Coloured {  // FVF XYZ | DIFFUSE | SPECULAR
    float x, y, z;
    D3DCOLOR diffuse, specular;
  };
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
  std::vector<Coloured> quad;
  for (const Vertex& v : FullQuad()) quad.push_back({v.x, v.y, v.z, kRed, kBlue});
  device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_SPECULAR);
  ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad.data(), sizeof(Coloured)), D3D_OK);
  EXPECT_EQ(Pixel(10, 10), 0xFF00FFu);
  // Without a specular element there is nothing to add: GL's colour sum stays off, or a
  // software renderer would add black to every pixel.
  Draw(FullQuad(kGreen), D3DPT_TRIANGLESTRIP, 2);
  EXPECT_EQ(Pixel(10, 10), 0x00FF00u);
  EXPECT_FALSE(glIsEnabled(GL_COLOR_SUM));
}

TEST_F(D3D9GlDevice, ResetGivesANewBackBufferAndKeepsManagedBuffers) {
  IDirect3DVertexBuffer9* vb = nullptr;
  device->CreateVertexBuffer(16, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &vb, nullptr);
  void* data = nullptr;
  vb->Lock(0, 0, &data, 0);
  std::memset(data, 0x5A, 16);
  vb->Unlock();
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  D3DPRESENT_PARAMETERS reset = params;
  reset.BackBufferWidth = 32;
  reset.BackBufferHeight = 24;
  ASSERT_EQ(device->Reset(&reset), D3D_OK);
  EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
  UINT width = 0;
  device->Clear(0, nullptr, D3DCLEAR_TARGET, kGreen, 1.0f, 0);
  const auto pixels = BackBuffer(&width);
  EXPECT_EQ(width, 32u);
  EXPECT_EQ(pixels.size(), 32u * 24u);
  EXPECT_EQ(pixels.back(), 0x00FF00u) << "the default viewport covers the new size";
  DWORD cull = 0;
  device->GetRenderState(D3DRS_CULLMODE, &cull);
  EXPECT_EQ(cull, DWORD(D3DCULL_CCW)) << "states are back at their defaults";
  vb->Lock(0, 0, &data, D3DLOCK_READONLY);
  EXPECT_EQ(static_cast<BYTE*>(data)[15], 0x5A);
  vb->Unlock();
  EXPECT_EQ(device->Present(nullptr, nullptr, 0, nullptr), D3D_OK);

  // A reset that fails leaves the device "not reset" until one succeeds.
  D3DPRESENT_PARAMETERS bad = params;
  bad.AutoDepthStencilFormat = D3DFMT_D15S1;
  EXPECT_NE(device->Reset(&bad), D3D_OK);
  EXPECT_EQ(device->Present(nullptr, nullptr, 0, nullptr), D3DERR_DEVICELOST);
  EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
  D3DPRESENT_PARAMETERS good = params;
  ASSERT_EQ(device->Reset(&good), D3D_OK);
  EXPECT_EQ(good.BackBufferWidth, 64u) << "a windowed 0 takes the window's size";
  EXPECT_EQ(device->Present(nullptr, nullptr, 0, nullptr), D3D_OK);
  vb->Release();
}

TEST_F(D3D9GlDevice, OcclusionQueriesCountDrawnPixels) {
  IDirect3DQuery9* query = nullptr;
  ASSERT_EQ(device->CreateQuery(D3DQUERYTYPE_OCCLUSION, &query), D3D_OK);
  for (float clearDepth : {1.0f, 0.0f}) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kGrey, clearDepth, 0);
    query->Issue(D3DISSUE_BEGIN);
    Draw(FullQuad(), D3DPT_TRIANGLESTRIP, 2);
    query->Issue(D3DISSUE_END);
    DWORD pixels = 12345;
    HRESULT result = S_FALSE;
    // The result comes when the renderer gets to it: polled as a game would per frame,
    // with a fail-safe of two minutes.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (result == S_FALSE && std::chrono::steady_clock::now() < deadline) {
      result = query->GetData(&pixels, 4, D3DGETDATA_FLUSH);
    }
    ASSERT_EQ(result, D3D_OK);
    EXPECT_EQ(pixels, clearDepth == 1.0f ? 64u * 48u : 0u);
  }
  query->Release();
}

TEST_F(D3D9GlDevice, VertexProgramsReadTheirConstantsAsRows) {
  const char* program =
      "#version 120\n"
      "uniform vec4 c[8];\n"
      "void main() {\n"
      "  gl_Position = vec4(dot(c[0], gl_Vertex), dot(c[1], gl_Vertex), dot(c[2], gl_Vertex), dot(c[3], gl_Vertex));\n"
      "  gl_FrontColor = gl_Color;\n"
      "}\n";
  IDirect3DVertexShader9* shader = nullptr;
  ASSERT_EQ(device->CreateVertexShader(reinterpret_cast<const DWORD*>(program), &shader), D3D_OK)
      << platform::VertexProgramLog();
  // Rows of the transposed matrix: x and y halved, so the full quad covers the middle.
  const float rows[16] = {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  device->SetVertexShaderConstantF(0, rows, 4);
  device->SetVertexShader(shader);
  device->Clear(0, nullptr, D3DCLEAR_TARGET, kGrey, 1.0f, 0);
  Draw(FullQuad(kRed), D3DPT_TRIANGLESTRIP, 2);
  EXPECT_EQ(Pixel(32, 24), 0xFF0000u);
  EXPECT_EQ(Pixel(5, 5), 0x404040u);
  const char* broken = "void main() { gl_Position = undefinedThing; }";
  IDirect3DVertexShader9* failed = nullptr;
  EXPECT_EQ(device->CreateVertexShader(reinterpret_cast<const DWORD*>(broken), &failed), D3DERR_INVALIDCALL);
  EXPECT_FALSE(platform::VertexProgramLog().empty());
  device->SetVertexShader(nullptr);
  shader->Release();
}

class D3D9GlDevice2D : public D3D9GlDevice {
 protected:
  void SetUp() override { Start(640, 480); }
};

TEST_F(D3D9GlDevice2D, TheFullScreenQuadCoversTheLastColumnAndRow) {
  // The engine's 2D set-up: screen units (x, y) become (x - 320, 240 - y), then a
  // right-handed orthographic projection of 639 x 479 units.
  D3DMATRIX view{}, projection{};
  view._11 = view._33 = view._44 = 1.0f;
  view._22 = -1.0f;
  view._41 = -320.0f;
  view._42 = 240.0f;
  projection._11 = 2.0f / 639.0f;
  projection._22 = 2.0f / 479.0f;
  projection._33 = -1.0f;
  projection._44 = 1.0f;
  device->SetTransform(D3DTS_VIEW, &view);
  device->SetTransform(D3DTS_PROJECTION, &projection);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kGrey, 1.0f, 0);
  Draw({{0, 479, 0, kRed, 0, 1}, {0, 0, 0, kRed, 0, 0}, {639, 479, 0, kRed, 1, 1}, {639, 0, 0, kRed, 1, 0}},
       D3DPT_TRIANGLESTRIP, 2);
  const auto pixels = BackBuffer();
  std::size_t missed = 0;
  for (DWORD p : pixels) missed += p != 0xFF0000u;
  EXPECT_EQ(missed, 0u);
  EXPECT_EQ(pixels[639], 0xFF0000u);
  EXPECT_EQ(pixels[479 * 640], 0xFF0000u);
  EXPECT_EQ(pixels.back(), 0xFF0000u);
}

/// A point with its own size: position, size, colour.
struct SizedPoint {
  float x, y, z;
  float size;
  D3DCOLOR color;
};

class D3D9GlPoints : public D3D9GlDevice {
 protected:
  void SetUp() override {
    D3D9GlDevice::SetUp();
    const D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                          {0, 12, D3DDECLTYPE_FLOAT1, 0, D3DDECLUSAGE_PSIZE, 0},
                                          {0, 16, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                          D3DDECL_END()};
    ASSERT_EQ(device->CreateVertexDeclaration(elements, &declaration), D3D_OK);
  }
  void TearDown() override {
    if (declaration) declaration->Release();
    D3D9GlDevice::TearDown();
  }
  void DrawPoints(const std::vector<SizedPoint>& points) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kGrey, 1.0f, 0);
    device->SetVertexDeclaration(declaration);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_POINTLIST, UINT(points.size()), points.data(), sizeof(SizedPoint)),
              D3D_OK);
  }
  /// Red pixels in a row and a column through (x, y).
  std::pair<int, int> RedExtent(UINT x, UINT y) {
    UINT width = 0;
    const auto pixels = BackBuffer(&width);
    int across = 0, down = 0;
    for (UINT i = 0; i < width; ++i) across += pixels[y * width + i] == 0xFF0000u;
    for (UINT j = 0; j < pixels.size() / width; ++j) down += pixels[j * width + x] == 0xFF0000u;
    return {across, down};
  }
  static void SetFloat(IDirect3DDevice9* d, D3DRENDERSTATETYPE state, float value) {
    DWORD bits;
    std::memcpy(&bits, &value, sizeof bits);
    d->SetRenderState(state, bits);
  }

  IDirect3DVertexDeclaration9* declaration = nullptr;
};

TEST_F(D3D9GlPoints, EachPointTakesItsOwnSizeByDirect3DsFormula) {
  // Sizes in pixels while scaling is off.
  DrawPoints({{-0.5f, 0.0f, 0.5f, 10.0f, kRed}, {0.5f, 0.0f, 0.5f, 4.0f, kRed}});
  EXPECT_EQ(RedExtent(16, 24), std::make_pair(14, 10));
  EXPECT_EQ(RedExtent(48, 24).second, 4);
  // Scaling on: viewport height x size x sqrt(1 / (A + B d + C d^2)); here d = 0.5.
  device->SetRenderState(D3DRS_POINTSCALEENABLE, TRUE);
  SetFloat(device, D3DRS_POINTSCALE_A, 0.0f);
  SetFloat(device, D3DRS_POINTSCALE_B, 0.0f);
  SetFloat(device, D3DRS_POINTSCALE_C, 16.0f);  // sqrt(1 / 4) = 0.5
  DrawPoints({{0.0f, 0.0f, 0.5f, 0.5f, kRed}});
  EXPECT_EQ(RedExtent(32, 24), std::make_pair(12, 12)) << "48 x 0.5 x 0.5";
  SetFloat(device, D3DRS_POINTSIZE_MAX, 8.0f);
  DrawPoints({{0.0f, 0.0f, 0.5f, 0.5f, kRed}});
  EXPECT_EQ(RedExtent(32, 24), std::make_pair(8, 8)) << "clamped to the maximum";
  SetFloat(device, D3DRS_POINTSIZE_MAX, 64.0f);
  SetFloat(device, D3DRS_POINTSIZE_MIN, 20.0f);
  DrawPoints({{0.0f, 0.0f, 0.5f, 0.5f, kRed}});
  EXPECT_EQ(RedExtent(32, 24), std::make_pair(20, 20)) << "raised to the minimum";
}

TEST_F(D3D9GlPoints, SpritesAreTexturedTopRowFirstAndPointsWithoutSizesTakeTheState) {
  IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
  D3DLOCKED_RECT locked{};
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
  const DWORD texels[4] = {kRed, kGreen, kBlue, kWhite};
  for (int y = 0; y < 2; ++y) std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, texels + 2 * y, 8);
  texture->UnlockRect(0);
  device->SetTexture(0, texture);
  device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
  device->SetRenderState(D3DRS_POINTSPRITEENABLE, TRUE);
  DrawPoints({{0.0f, 0.0f, 0.5f, 16.0f, kWhite}});
  EXPECT_EQ(Pixel(28, 20), 0xFF0000u);
  EXPECT_EQ(Pixel(36, 20), 0x00FF00u);
  EXPECT_EQ(Pixel(28, 28), 0x0000FFu);
  EXPECT_EQ(Pixel(36, 28), 0xFFFFFFu);
  device->SetTexture(0, nullptr);
  texture->Release();
  // Without a size element every point is D3DRS_POINTSIZE wide.
  device->SetRenderState(D3DRS_POINTSPRITEENABLE, FALSE);
  SetFloat(device, D3DRS_POINTSIZE, 6.0f);
  device->Clear(0, nullptr, D3DCLEAR_TARGET, kGrey, 1.0f, 0);
  Draw({{0.0f, 0.0f, 0.5f, kRed, 0, 0}}, D3DPT_POINTLIST, 1);
  EXPECT_EQ(RedExtent(32, 24), std::make_pair(6, 6));
}

TEST_F(D3D9GlDevice, TheSameDrawAgainChangesNoGlState) {
  const char* cache = std::getenv("NAVO_GL_STATE_CACHE");
  if (cache && cache[0] == '0') GTEST_SKIP() << "the state cache is off: every value goes to GL every time";
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  Draw(FullQuad(kRed), D3DPT_TRIANGLESTRIP, 2);
  const std::uint64_t before = platform::DeviceStateChanges();
  const std::uint64_t callsBefore = platform::DeviceGlCalls();
  Draw(FullQuad(kRed), D3DPT_TRIANGLESTRIP, 2);
  EXPECT_EQ(platform::DeviceStateChanges(), before);
  // The device's own count of changes could miss calls it makes without counting them:
  // the GL calls say the same. An UP draw uploads its vertices (bind, data) and draws.
  EXPECT_EQ(platform::DeviceGlCalls() - callsBefore, 3u);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
  Draw(FullQuad(kRed), D3DPT_TRIANGLESTRIP, 2);
  EXPECT_GT(platform::DeviceStateChanges(), before);
  EXPECT_EQ(platform::DeviceGlCalls() - callsBefore, 3u + 5u) << "the cull face switched on and set, then the draw";
}

}  // namespace
