// The device layer's system-memory side: texture storage, handles, buffers, vertex
// formats and the Direct3D defaults, through the recording device.
#include "platform/d3d9.h"
#include "platform/d3d9/RecordingDevice.h"
#include "platform/d3d9/VertexDeclaration.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using platform::d3d9::RecordingDevice;

struct D3D9Recording : ::testing::Test {
  D3D9Recording() {
    D3DPRESENT_PARAMETERS params{};
    params.Windowed = TRUE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;
    device = new RecordingDevice(platform::d3d9::DefaultRecordingDeviceConfig(), params);
  }
  ~D3D9Recording() override { device->Release(); }
  RecordingDevice* device;
};

TEST_F(D3D9Recording, TextureLevelsAndPitches) {
  struct Case {
    D3DFORMAT format;
    UINT width, height, levels;
    UINT expectLevels, level0Pitch, level1Width, level1Height;
  };
  const Case cases[] = {
      {D3DFMT_A8R8G8B8, 64, 32, 0, 7, 256, 32, 16},
      {D3DFMT_R8G8B8, 10, 10, 1, 1, 30, 0, 0},
      {D3DFMT_R5G6B5, 8, 8, 2, 2, 16, 4, 4},
      {D3DFMT_DXT1, 16, 8, 0, 5, 32, 8, 4},   // 4 blocks of 8 bytes per block row
      {D3DFMT_DXT5, 2, 2, 0, 2, 16, 1, 1},    // a partial block still takes a whole one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(c.width, c.height, c.levels, 0, c.format, D3DPOOL_MANAGED, &texture, nullptr),
              D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), c.expectLevels);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(UINT(locked.Pitch), c.level0Pitch);
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL) << "already locked";
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    D3DSURFACE_DESC desc{};
    if (c.expectLevels > 1) {
      ASSERT_EQ(texture->GetLevelDesc(1, &desc), D3D_OK);
      EXPECT_EQ(desc.Width, c.level1Width);
      EXPECT_EQ(desc.Height, c.level1Height);
      EXPECT_EQ(desc.Format, c.format);
    }
    EXPECT_EQ(texture->GetLevelDesc(c.expectLevels, &desc), D3DERR_INVALIDCALL);
    texture->Release();
  }
}

TEST_F(D3D9Recording, LockedRectanglesPointIntoTheLevel) {
  IDirect3DTexture9* dxt = nullptr;
  ASSERT_EQ(device->CreateTexture(16, 16, 1, 0, D3DFMT_DXT3, D3DPOOL_MANAGED, &dxt, nullptr), D3D_OK);
  D3DLOCKED_RECT whole{}, part{};
  ASSERT_EQ(dxt->LockRect(0, &whole, nullptr, D3DLOCK_READONLY), D3D_OK);
  dxt->UnlockRect(0);
  const RECT blockAligned{4, 8, 12, 16};
  ASSERT_EQ(dxt->LockRect(0, &part, &blockAligned, 0), D3D_OK);
  EXPECT_EQ(static_cast<BYTE*>(part.pBits) - static_cast<BYTE*>(whole.pBits), 2 * 64 + 1 * 16);
  dxt->UnlockRect(0);
  const RECT misaligned{2, 0, 6, 4};
  EXPECT_EQ(dxt->LockRect(0, &part, &misaligned, 0), D3DERR_INVALIDCALL);
  const RECT outside{0, 0, 20, 4};
  EXPECT_EQ(dxt->LockRect(0, &part, &outside, 0), D3DERR_INVALIDCALL);
  dxt->Release();
}

TEST_F(D3D9Recording, CubeAndVolumeTexturesKeepEachFaceAndSlice) {
  IDirect3DCubeTexture9* cube = nullptr;
  ASSERT_EQ(device->CreateCubeTexture(8, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube, nullptr), D3D_OK);
  EXPECT_EQ(cube->GetLevelCount(), 4u);
  D3DLOCKED_RECT face0{}, face5{};
  cube->LockRect(D3DCUBEMAP_FACE_POSITIVE_X, 0, &face0, nullptr, 0);
  cube->LockRect(D3DCUBEMAP_FACE_NEGATIVE_Z, 0, &face5, nullptr, 0);
  EXPECT_NE(face0.pBits, face5.pBits);
  cube->UnlockRect(D3DCUBEMAP_FACE_POSITIVE_X, 0);
  cube->UnlockRect(D3DCUBEMAP_FACE_NEGATIVE_Z, 0);
  cube->Release();

  IDirect3DVolumeTexture9* volume = nullptr;
  ASSERT_EQ(device->CreateVolumeTexture(8, 4, 4, 0, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &volume, nullptr), D3D_OK);
  D3DVOLUME_DESC desc{};
  ASSERT_EQ(volume->GetLevelDesc(1, &desc), D3D_OK);
  EXPECT_EQ(desc.Width, 4u);
  EXPECT_EQ(desc.Depth, 2u);
  D3DLOCKED_BOX box{};
  ASSERT_EQ(volume->LockBox(0, &box, nullptr, 0), D3D_OK);
  EXPECT_EQ(box.RowPitch, 32);
  EXPECT_EQ(box.SlicePitch, 32 * 4);
  volume->UnlockBox(0);
  volume->Release();
}

TEST_F(D3D9Recording, TextureHandlesAreSmallReusedIds) {
  IDirect3DTexture9* a = nullptr;
  IDirect3DTexture9* b = nullptr;
  IDirect3DTexture9* c = nullptr;
  device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &a, nullptr);
  device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &b, nullptr);
  const std::int32_t ha = platform::TextureHandleOf(a);
  const std::int32_t hb = platform::TextureHandleOf(b);
  EXPECT_GT(ha, 0);
  EXPECT_NE(ha, hb);
  EXPECT_EQ(platform::TextureFromHandle(hb), b);
  a->Release();
  EXPECT_EQ(platform::TextureFromHandle(ha), nullptr);
  device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &c, nullptr);
  EXPECT_EQ(platform::TextureHandleOf(c), ha) << "the lowest free id is reused";
  EXPECT_EQ(platform::TextureHandleOf(nullptr), 0);
  EXPECT_EQ(platform::TextureFromHandle(0), nullptr);
  EXPECT_EQ(platform::TextureFromHandle(-1), nullptr);
  b->Release();
  c->Release();
}

TEST(D3D9VertexFormat, FlexibleFormatsBecomeDeclarations) {
  struct Case {
    DWORD fvf;
    UINT stride;
    std::vector<std::pair<BYTE, WORD>> usageOffsets;
  };
  const Case cases[] = {
      {0x252, 44, {{D3DDECLUSAGE_POSITION, 0}, {D3DDECLUSAGE_NORMAL, 12}, {D3DDECLUSAGE_COLOR, 24},
                   {D3DDECLUSAGE_TEXCOORD, 28}, {D3DDECLUSAGE_TEXCOORD, 36}}},
      {0x62, 20, {{D3DDECLUSAGE_POSITION, 0}, {D3DDECLUSAGE_PSIZE, 12}, {D3DDECLUSAGE_COLOR, 16}}},
      {0x42, 16, {{D3DDECLUSAGE_POSITION, 0}, {D3DDECLUSAGE_COLOR, 12}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fvf);
    EXPECT_EQ(platform::d3d9::FvfStride(c.fvf), c.stride);
    const auto elements = platform::d3d9::ElementsFromFvf(c.fvf);
    ASSERT_EQ(elements.size(), c.usageOffsets.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
      EXPECT_EQ(elements[i].Usage, c.usageOffsets[i].first);
      EXPECT_EQ(elements[i].Offset, c.usageOffsets[i].second);
    }
  }
}

TEST_F(D3D9Recording, StatesStartAtDirect3DDefaultsAndResetRestoresThem) {
  struct Expect {
    D3DRENDERSTATETYPE state;
    DWORD value;
  };
  const Expect render[] = {
      {D3DRS_ZENABLE, D3DZB_TRUE},         {D3DRS_LIGHTING, TRUE},        {D3DRS_CULLMODE, D3DCULL_CCW},
      {D3DRS_STENCILMASK, 0xFFFFFFFFu},    {D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP},
      {D3DRS_COLORWRITEENABLE, 0xF},       {D3DRS_ZFUNC, D3DCMP_LESSEQUAL}, {D3DRS_SRCBLEND, D3DBLEND_ONE},
  };
  for (int pass = 0; pass < 2; ++pass) {
    for (const Expect& e : render) {
      DWORD value = 0;
      device->GetRenderState(e.state, &value);
      EXPECT_EQ(value, e.value) << "state " << DWORD(e.state) << " pass " << pass;
    }
    for (DWORD stage = 0; stage < 8; ++stage) {
      DWORD op = 0, index = 0, arg1 = 0, arg2 = 0;
      device->GetTextureStageState(stage, D3DTSS_COLOROP, &op);
      device->GetTextureStageState(stage, D3DTSS_TEXCOORDINDEX, &index);
      device->GetTextureStageState(stage, D3DTSS_COLORARG1, &arg1);
      device->GetTextureStageState(stage, D3DTSS_COLORARG2, &arg2);
      EXPECT_EQ(op, stage == 0 ? DWORD(D3DTOP_MODULATE) : DWORD(D3DTOP_DISABLE));
      EXPECT_EQ(index, stage);
      EXPECT_EQ(arg1, D3DTA_TEXTURE);
      EXPECT_EQ(arg2, D3DTA_CURRENT);
      DWORD address = 0;
      device->GetSamplerState(stage, D3DSAMP_ADDRESSU, &address);
      EXPECT_EQ(address, DWORD(D3DTADDRESS_WRAP));
    }
    // Change a few, then reset: the defaults are back.
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(3, D3DTSS_TEXCOORDINDEX, 0);
    D3DPRESENT_PARAMETERS params = device->PresentParameters();
    ASSERT_EQ(device->Reset(&params), D3D_OK);
  }
}

TEST_F(D3D9Recording, UpDrawsLeaveStreamZeroAndIndicesUnset) {
  IDirect3DVertexBuffer9* vb = nullptr;
  IDirect3DIndexBuffer9* ib = nullptr;
  device->CreateVertexBuffer(44 * 4, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &vb, nullptr);
  device->CreateIndexBuffer(12, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib, nullptr);
  const float vertices[3 * 11] = {};
  const WORD indices[3] = {0, 1, 2};
  for (int form = 0; form < 2; ++form) {
    device->SetStreamSource(0, vb, 0, 44);
    device->SetIndices(ib);
    if (form == 0) {
      device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, vertices, 44);
    } else {
      device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 3, 1, indices, D3DFMT_INDEX16, vertices, 44);
    }
    IDirect3DVertexBuffer9* stream = vb;
    UINT offset = 1, stride = 1;
    IDirect3DIndexBuffer9* bound = ib;
    device->GetStreamSource(0, &stream, &offset, &stride);
    device->GetIndices(&bound);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(stride, 0u);
    EXPECT_EQ(bound, nullptr);
  }
  vb->Release();
  ib->Release();
}

TEST_F(D3D9Recording, ReleasedResourcesAreUnboundAndBuffersKeepWrittenBytes) {
  IDirect3DVertexBuffer9* vb = nullptr;
  IDirect3DTexture9* texture = nullptr;
  device->CreateVertexBuffer(16, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &vb, nullptr);
  device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr);
  void* data = nullptr;
  ASSERT_EQ(vb->Lock(4, 8, &data, 0), D3D_OK);
  std::memset(data, 0xAB, 8);
  void* nested = nullptr;
  ASSERT_EQ(vb->Lock(0, 0, &nested, D3DLOCK_READONLY), D3D_OK);
  EXPECT_EQ(static_cast<BYTE*>(nested)[4], 0xAB);
  EXPECT_EQ(static_cast<BYTE*>(nested)[3], 0x00);
  vb->Unlock();
  vb->Unlock();
  EXPECT_EQ(vb->Unlock(), D3DERR_INVALIDCALL);
  EXPECT_EQ(vb->Lock(8, 12, &data, 0), D3DERR_INVALIDCALL) << "past the end";

  device->SetStreamSource(2, vb, 0, 16);
  device->SetTexture(1, texture);
  vb->Release();
  texture->Release();
  IDirect3DVertexBuffer9* stream = nullptr;
  IDirect3DBaseTexture9* bound = nullptr;
  UINT offset = 0, stride = 0;
  device->GetStreamSource(2, &stream, &offset, &stride);
  device->GetTexture(1, &bound);
  EXPECT_EQ(stream, nullptr);
  EXPECT_EQ(bound, nullptr);
}

TEST_F(D3D9Recording, ResourcesOutliveTheirDevice) {
  IDirect3DTexture9* texture = nullptr;
  device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr);
  device->SetTexture(0, texture);
  device->Release();
  device = new RecordingDevice(platform::d3d9::DefaultRecordingDeviceConfig(), D3DPRESENT_PARAMETERS{});
  D3DLOCKED_RECT locked{};
  EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
  EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
  EXPECT_EQ(texture->Release(), 0u);
}

TEST(D3D9Errors, NamesOfResultCodes) {
  EXPECT_STREQ(DXGetErrorString9A(D3DERR_DEVICELOST), "D3DERR_DEVICELOST");
  EXPECT_STREQ(DXGetErrorString9A(D3DERR_NOTAVAILABLE), "D3DERR_NOTAVAILABLE");
  EXPECT_STREQ(DXGetErrorString9A(D3D_OK), "S_OK");
  EXPECT_STREQ(DXGetErrorString9A(0x12345), "Unknown");
}

}  // namespace
