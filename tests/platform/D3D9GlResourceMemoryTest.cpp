// Textures and buffers of the OpenGL device live in GL: no system-memory copy stays
// beside them (a 16384 x 16384 texture would otherwise cost its size twice), and a lock
// reads back what GL holds, so partial writes keep the rest. Dynamic ones, written
// every frame, keep their copy.
#include "platform/d3d9.h"
#include "platform/d3d9/CpuBuffers.h"
#include "platform/d3d9/CpuTextures.h"
#include "tests/platform/GlDevice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using platform::d3d9::CpuBuffer;
using platform::d3d9::TextureCore;

class D3D9GlMemory : public ::testing::Test, protected test::GlDevice {
 protected:
  void SetUp() override { ASSERT_TRUE(Open(32, 32)); }
  void TearDown() override { Close(); }
};

/// The bytes a level holds in system memory now (0 when it lives in GL only).
std::size_t KeptBytes(IUnknown* texture, UINT face, UINT level) {
  auto* core = dynamic_cast<TextureCore*>(texture);
  if (!core) return std::size_t(-1);
  const auto* image = core->Storage().Find(face, level);
  return image ? image->bytes.size() : std::size_t(-1);
}

/// A level's bytes through its lock.
using Locker = std::function<HRESULT(UINT face, UINT level, DWORD flags, BYTE** bits, INT* pitch)>;
using Unlocker = std::function<void(UINT face, UINT level)>;

/// Byte b of row r of level l of face f, unlike any other of the texture.
BYTE Pattern(UINT f, UINT l, UINT r, UINT b) { return BYTE(f * 61 + l * 37 + r * 11 + b * 3 + 1); }

struct TextureCase {
  const char* name;
  std::function<IUnknown*(IDirect3DDevice9*)> make;
  UINT faces, levels;
  std::vector<UINT> rowBytes, rows;  ///< per level
  bool dynamic;
};

TEST_F(D3D9GlMemory, TexturesKeepNoCopyAndLocksReadBackWhatGlHolds) {
  // A software renderer holds DXT textures decoded: their blocks stay in the copy.
  D3DADAPTER_IDENTIFIER9 adapter{};
  d3d->GetAdapterIdentifier(0, 0, &adapter);
  const bool software = std::strstr(adapter.Description, "llvmpipe") || std::strstr(adapter.Description, "softpipe");
  auto lockerOf = [](IUnknown* t) -> std::pair<Locker, Unlocker> {
    if (auto* tex = dynamic_cast<IDirect3DTexture9*>(t)) {
      return {[tex](UINT, UINT l, DWORD flags, BYTE** bits, INT* pitch) {
                D3DLOCKED_RECT r{};
                const HRESULT hr = tex->LockRect(l, &r, nullptr, flags);
                *bits = static_cast<BYTE*>(r.pBits), *pitch = r.Pitch;
                return hr;
              },
              [tex](UINT, UINT l) { tex->UnlockRect(l); }};
    }
    if (auto* cube = dynamic_cast<IDirect3DCubeTexture9*>(t)) {
      return {[cube](UINT f, UINT l, DWORD flags, BYTE** bits, INT* pitch) {
                D3DLOCKED_RECT r{};
                const HRESULT hr = cube->LockRect(D3DCUBEMAP_FACES(f), l, &r, nullptr, flags);
                *bits = static_cast<BYTE*>(r.pBits), *pitch = r.Pitch;
                return hr;
              },
              [cube](UINT f, UINT l) { cube->UnlockRect(D3DCUBEMAP_FACES(f), l); }};
    }
    auto* volume = dynamic_cast<IDirect3DVolumeTexture9*>(t);
    return {[volume](UINT, UINT l, DWORD flags, BYTE** bits, INT* pitch) {
              D3DLOCKED_BOX b{};
              const HRESULT hr = volume->LockBox(l, &b, nullptr, flags);
              *bits = static_cast<BYTE*>(b.pBits), *pitch = b.RowPitch;
              return hr;
            },
            [volume](UINT, UINT l) { volume->UnlockBox(l); }};
  };
  const TextureCase cases[] = {
      {"A8R8G8B8 with a level below", [](IDirect3DDevice9* d) -> IUnknown* {
         IDirect3DTexture9* t = nullptr;
         d->CreateTexture(8, 4, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr);
         return t;
       }, 1, 2, {32, 16}, {4, 2}, false},
      {"DXT1 (rows of blocks)", [](IDirect3DDevice9* d) -> IUnknown* {
         IDirect3DTexture9* t = nullptr;
         d->CreateTexture(8, 8, 1, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, &t, nullptr);
         return t;
       }, 1, 1, {16}, {2}, software},
      {"R5G6B5 cube", [](IDirect3DDevice9* d) -> IUnknown* {
         IDirect3DCubeTexture9* t = nullptr;
         d->CreateCubeTexture(4, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &t, nullptr);
         return t;
       }, 6, 1, {8}, {4}, false},
      {"A8R8G8B8 volume, two slices", [](IDirect3DDevice9* d) -> IUnknown* {
         IDirect3DVolumeTexture9* t = nullptr;
         d->CreateVolumeTexture(4, 2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr);
         return t;
       }, 1, 1, {16}, {4}, false},  // two slices of two rows: four rows of the slice pitch
      {"dynamic A8R8G8B8", [](IDirect3DDevice9* d) -> IUnknown* {
         IDirect3DTexture9* t = nullptr;
         d->CreateTexture(4, 4, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &t, nullptr);
         return t;
       }, 1, 1, {16}, {4}, true},
  };
  for (const TextureCase& c : cases) {
    SCOPED_TRACE(c.name);
    IUnknown* texture = c.make(device);
    ASSERT_NE(texture, nullptr);
    const auto [lock, unlock] = lockerOf(texture);
    for (UINT f = 0; f < c.faces; ++f) {
      for (UINT l = 0; l < c.levels; ++l) {
        BYTE* bits = nullptr;
        INT pitch = 0;
        ASSERT_EQ(lock(f, l, 0, &bits, &pitch), D3D_OK);
        for (UINT r = 0; r < c.rows[l]; ++r) {
          for (UINT b = 0; b < c.rowBytes[l]; ++b) bits[r * UINT(pitch) + b] = Pattern(f, l, r, b);
        }
        unlock(f, l);
        if (c.dynamic) {
          EXPECT_GT(KeptBytes(texture, f, l), 0u) << "a dynamic or decoded texture keeps its copy";
        } else {
          EXPECT_EQ(KeptBytes(texture, f, l), 0u) << "face " << f << " level " << l << " keeps a copy";
        }
      }
    }
    // Every face and level reads back as written, whatever was written after it.
    for (UINT f = 0; f < c.faces; ++f) {
      for (UINT l = 0; l < c.levels; ++l) {
        BYTE* bits = nullptr;
        INT pitch = 0;
        ASSERT_EQ(lock(f, l, D3DLOCK_READONLY, &bits, &pitch), D3D_OK);
        int wrong = 0;
        for (UINT r = 0; r < c.rows[l]; ++r) {
          for (UINT b = 0; b < c.rowBytes[l]; ++b) wrong += bits[r * UINT(pitch) + b] != Pattern(f, l, r, b);
        }
        unlock(f, l);
        EXPECT_EQ(wrong, 0) << "face " << f << " level " << l;
      }
    }
    // A write to one row keeps the others: the lock read the level back first.
    BYTE* bits = nullptr;
    INT pitch = 0;
    ASSERT_EQ(lock(0, 0, 0, &bits, &pitch), D3D_OK);
    for (UINT b = 0; b < c.rowBytes[0]; ++b) bits[UINT(pitch) + b] = 0xA5;
    unlock(0, 0);
    ASSERT_EQ(lock(0, 0, D3DLOCK_READONLY, &bits, &pitch), D3D_OK);
    int wrong = 0;
    for (UINT r = 0; r < c.rows[0]; ++r) {
      for (UINT b = 0; b < c.rowBytes[0]; ++b) wrong += bits[r * UINT(pitch) + b] != (r == 1 ? 0xA5 : Pattern(0, 0, r, b));
    }
    unlock(0, 0);
    EXPECT_EQ(wrong, 0);
    texture->Release();
  }
}

TEST_F(D3D9GlMemory, BuffersKeepNoCopyAndLocksReadBackWhatGlHolds) {
  for (const bool dynamic : {false, true}) {
    SCOPED_TRACE(dynamic ? "dynamic" : "static");
    IDirect3DVertexBuffer9* vb = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(64, dynamic ? D3DUSAGE_DYNAMIC : 0, 0,
                                         dynamic ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED, &vb, nullptr),
              D3D_OK);
    auto* cpu = dynamic_cast<CpuBuffer<IDirect3DVertexBuffer9>*>(vb);
    ASSERT_NE(cpu, nullptr);
    void* data = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &data, 0), D3D_OK);
    for (int i = 0; i < 64; ++i) static_cast<BYTE*>(data)[i] = BYTE(i * 3);
    vb->Unlock();
    EXPECT_EQ(cpu->Data().size(), dynamic ? 64u : 0u);
    // A part written without reading; nested locks share one copy; the rest stays.
    void* inner = nullptr;
    ASSERT_EQ(vb->Lock(16, 16, &data, D3DLOCK_NOOVERWRITE), D3D_OK);
    ASSERT_EQ(vb->Lock(40, 4, &inner, 0), D3D_OK);
    std::memset(data, 0xEE, 16);
    std::memset(inner, 0x11, 4);
    vb->Unlock();
    vb->Unlock();
    EXPECT_EQ(cpu->Data().size(), dynamic ? 64u : 0u);
    ASSERT_EQ(vb->Lock(0, 0, &data, D3DLOCK_READONLY), D3D_OK);
    int wrong = 0;
    for (int i = 0; i < 64; ++i) {
      const BYTE want = i >= 16 && i < 32 ? 0xEE : i >= 40 && i < 44 ? 0x11 : BYTE(i * 3);
      wrong += static_cast<BYTE*>(data)[i] != want;
    }
    vb->Unlock();
    EXPECT_EQ(wrong, 0);
    D3DVERTEXBUFFER_DESC desc{};
    vb->GetDesc(&desc);
    EXPECT_EQ(desc.Size, 64u);
    vb->Release();
  }
}

}  // namespace
