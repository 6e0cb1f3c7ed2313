#pragma once
// Inside the layer: textures and surfaces kept in system memory (TextureStorage). The
// recording device uses them as they are; the OpenGL device derives from them and
// uploads a level when a writing lock ends (OnLevelWritten).
#include "platform/d3d9/Common.h"
#include "platform/d3d9/TextureStorage.h"

#include <cstdint>

namespace platform::d3d9 {

/// Enters a texture in the handle table for its lifetime.
class TextureHandleSlot {
 public:
  TextureHandleSlot() = default;
  ~TextureHandleSlot();
  TextureHandleSlot(const TextureHandleSlot&) = delete;
  TextureHandleSlot& operator=(const TextureHandleSlot&) = delete;

  void Assign(IDirect3DBaseTexture9* texture);
  std::int32_t Handle() const { return m_handle; }

 private:
  std::int32_t m_handle = 0;
};

/// Level access shared by the texture kinds, for surfaces that stand for one level.
class LevelAccess {
 public:
  virtual HRESULT LockLevel(UINT face, UINT level, const RECT* rect, DWORD flags, D3DLOCKED_RECT* locked) = 0;
  virtual HRESULT UnlockLevel(UINT face, UINT level) = 0;
  virtual HRESULT DescribeLevel(UINT level, D3DSURFACE_DESC* desc) = 0;
  virtual IUnknown* Owner() = 0;

 protected:
  ~LevelAccess() = default;
};

/// What the three texture kinds share: the storage, usage, pool and handle.
class TextureCore : public TrackedResource, public LevelAccess {
 public:
  TextureCore(D3DFORMAT format, UINT width, UINT height, UINT depth, UINT levels, UINT faces, DWORD usage,
              D3DPOOL pool, TextureStorage::Residency residency = TextureStorage::Residency::Always);

  TextureStorage& Storage() { return m_storage; }
  DWORD Usage() const { return m_usage; }
  D3DPOOL Pool() const { return m_pool; }
  std::int32_t Handle() const { return m_handleSlot.Handle(); }

  HRESULT LockLevel(UINT face, UINT level, const RECT* rect, DWORD flags, D3DLOCKED_RECT* locked) override;
  HRESULT LockVolumeLevel(UINT level, const D3DBOX* box, DWORD flags, D3DLOCKED_BOX* locked);
  HRESULT UnlockLevel(UINT face, UINT level) override;
  HRESULT DescribeLevel(UINT level, D3DSURFACE_DESC* desc) override;

 protected:
  /// A lock without D3DLOCK_READONLY ended on this level.
  virtual void OnLevelWritten(UINT face, UINT level) { (void)face, (void)level; }
  /// Fills the bytes of a level whose storage keeps none (a lock without
  /// D3DLOCK_DISCARD: the caller may read what the texture holds).
  virtual void ReadLevel(UINT face, UINT level, TextureStorage::Level& image) { (void)face, (void)level, (void)image; }
  void AssignHandle(IDirect3DBaseTexture9* self) { m_handleSlot.Assign(self); }
  /// Before a lock: gives a level that keeps no bytes its bytes for the lock. False
  /// when the level cannot be locked.
  bool PrepareLock(UINT face, UINT level, DWORD flags);
  /// After a failed lock or an unlock: drops the bytes the lock was given.
  void EndLock(UINT face, UINT level);

  TextureStorage m_storage;
  DWORD m_usage;
  D3DPOOL m_pool;

 private:
  TextureHandleSlot m_handleSlot;
};

class CpuTexture : public RefCounted<IDirect3DTexture9>, public TextureCore {
 public:
  CpuTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
             TextureStorage::Residency residency = TextureStorage::Residency::Always);
  ~CpuTexture() override;

  D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
  void PreLoad() override {}
  DWORD GetLevelCount() override { return m_storage.LevelCount(); }
  HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override { return DescribeLevel(level, desc); }
  HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
  HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override {
    return LockLevel(0, level, rect, flags, locked);
  }
  HRESULT UnlockRect(UINT level) override { return UnlockLevel(0, level); }
  IUnknown* Owner() override { return this; }

 protected:
  /// The surface standing for a level; the OpenGL device makes render-target ones.
  virtual IDirect3DSurface9* MakeLevelSurface(UINT level);
};

class CpuCubeTexture : public RefCounted<IDirect3DCubeTexture9>, public TextureCore {
 public:
  CpuCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                 TextureStorage::Residency residency = TextureStorage::Residency::Always);
  ~CpuCubeTexture() override;

  D3DRESOURCETYPE GetType() override { return D3DRTYPE_CUBETEXTURE; }
  void PreLoad() override {}
  DWORD GetLevelCount() override { return m_storage.LevelCount(); }
  HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override { return DescribeLevel(level, desc); }
  HRESULT LockRect(D3DCUBEMAP_FACES face, UINT level, D3DLOCKED_RECT* locked, const RECT* rect,
                   DWORD flags) override {
    return LockLevel(face, level, rect, flags, locked);
  }
  HRESULT UnlockRect(D3DCUBEMAP_FACES face, UINT level) override { return UnlockLevel(face, level); }
  IUnknown* Owner() override { return this; }
};

class CpuVolumeTexture : public RefCounted<IDirect3DVolumeTexture9>, public TextureCore {
 public:
  CpuVolumeTexture(UINT width, UINT height, UINT depth, UINT levels, DWORD usage, D3DFORMAT format,
                   D3DPOOL pool, TextureStorage::Residency residency = TextureStorage::Residency::Always);
  ~CpuVolumeTexture() override;

  D3DRESOURCETYPE GetType() override { return D3DRTYPE_VOLUMETEXTURE; }
  void PreLoad() override {}
  DWORD GetLevelCount() override { return m_storage.LevelCount(); }
  HRESULT GetLevelDesc(UINT level, D3DVOLUME_DESC* desc) override;
  HRESULT LockBox(UINT level, D3DLOCKED_BOX* locked, const D3DBOX* box, DWORD flags) override;
  HRESULT UnlockBox(UINT level) override { return UnlockLevel(0, level); }
  IUnknown* Owner() override { return this; }
};

/// A surface standing for one level (and face) of a texture; holds a reference to it.
class TextureLevelSurface : public RefCounted<IDirect3DSurface9> {
 public:
  TextureLevelSurface(LevelAccess& texture, UINT face, UINT level);
  ~TextureLevelSurface() override;

  D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
  void PreLoad() override {}
  HRESULT GetDesc(D3DSURFACE_DESC* desc) override { return m_texture.DescribeLevel(m_level, desc); }
  HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override {
    return m_texture.LockLevel(m_face, m_level, rect, flags, locked);
  }
  HRESULT UnlockRect() override { return m_texture.UnlockLevel(m_face, m_level); }

  LevelAccess& Texture() { return m_texture; }
  UINT Face() const { return m_face; }
  UINT Level() const { return m_level; }

 private:
  LevelAccess& m_texture;
  UINT m_face;
  UINT m_level;
};

/// A plain surface in system memory (offscreen plain surfaces, and every surface of
/// the recording device).
class CpuSurface : public RefCounted<IDirect3DSurface9>, public TrackedResource {
 public:
  CpuSurface(UINT width, UINT height, D3DFORMAT format, DWORD usage, D3DPOOL pool,
             D3DMULTISAMPLE_TYPE multiSample = D3DMULTISAMPLE_NONE);
  ~CpuSurface() override;

  D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
  void PreLoad() override {}
  HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
  HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override {
    return m_storage.LockRect(0, 0, rect, flags, locked);
  }
  HRESULT UnlockRect() override { return m_storage.Unlock(0, 0, nullptr); }

  TextureStorage& Storage() { return m_storage; }

 private:
  TextureStorage m_storage;
  DWORD m_usage;
  D3DPOOL m_pool;
  D3DMULTISAMPLE_TYPE m_multiSample;
};

}  // namespace platform::d3d9
