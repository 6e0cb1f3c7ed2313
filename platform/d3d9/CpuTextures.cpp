#include "platform/d3d9/CpuTextures.h"

namespace platform::d3d9 {

TextureCore::TextureCore(D3DFORMAT format, UINT width, UINT height, UINT depth, UINT levels, UINT faces,
                         DWORD usage, D3DPOOL pool, TextureStorage::Residency residency)
    : m_storage(format, width, height, depth, levels, faces, residency), m_usage(usage), m_pool(pool) {}

bool TextureCore::PrepareLock(UINT face, UINT level, DWORD flags) {
  if (m_usage & D3DUSAGE_RENDERTARGET) return false;  // render targets live on the GPU
  TextureStorage::Level* image = m_storage.Find(face, level);
  if (!image || image->locked) return false;
  if (m_storage.KeepsBytes() || !image->bytes.empty()) return true;
  image->bytes.resize(TextureStorage::LevelBytes(*image));
  if (!(flags & D3DLOCK_DISCARD)) ReadLevel(face, level, *image);
  return true;
}

void TextureCore::EndLock(UINT face, UINT level) {
  TextureStorage::Level* image = m_storage.Find(face, level);
  if (image && !image->locked && !m_storage.KeepsBytes()) std::vector<BYTE>().swap(image->bytes);
}

HRESULT TextureCore::LockLevel(UINT face, UINT level, const RECT* rect, DWORD flags, D3DLOCKED_RECT* locked) {
  if (!locked || !PrepareLock(face, level, flags)) return D3DERR_INVALIDCALL;
  const HRESULT result = m_storage.LockRect(face, level, rect, flags, locked);
  if (FAILED(result)) EndLock(face, level);
  return result;
}

HRESULT TextureCore::LockVolumeLevel(UINT level, const D3DBOX* box, DWORD flags, D3DLOCKED_BOX* locked) {
  if (!locked || !PrepareLock(0, level, flags)) return D3DERR_INVALIDCALL;
  const HRESULT result = m_storage.LockBox(level, box, flags, locked);
  if (FAILED(result)) EndLock(0, level);
  return result;
}

HRESULT TextureCore::UnlockLevel(UINT face, UINT level) {
  DWORD flags = 0;
  const HRESULT result = m_storage.Unlock(face, level, &flags);
  if (SUCCEEDED(result) && !(flags & D3DLOCK_READONLY)) OnLevelWritten(face, level);
  if (SUCCEEDED(result)) EndLock(face, level);
  return result;
}

HRESULT TextureCore::DescribeLevel(UINT level, D3DSURFACE_DESC* desc) {
  const TextureStorage::Level* image = m_storage.Find(0, level);
  if (!image || !desc) return D3DERR_INVALIDCALL;
  *desc = {};
  desc->Format = m_storage.Format();
  desc->Type = D3DRTYPE_SURFACE;
  desc->Usage = m_usage;
  desc->Pool = m_pool;
  desc->Width = image->width;
  desc->Height = image->height;
  return D3D_OK;
}

CpuTexture::CpuTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                       TextureStorage::Residency residency)
    : TextureCore(format, width, height, 1, levels, 1, usage, pool, residency) {
  AssignHandle(this);
}

CpuTexture::~CpuTexture() { Link().NotifyDestroyed(); }

HRESULT CpuTexture::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) {
  if (!surface || level >= m_storage.LevelCount()) return D3DERR_INVALIDCALL;
  *surface = MakeLevelSurface(level);
  return *surface ? D3D_OK : D3DERR_INVALIDCALL;
}

IDirect3DSurface9* CpuTexture::MakeLevelSurface(UINT level) { return new TextureLevelSurface(*this, 0, level); }

CpuCubeTexture::CpuCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                               TextureStorage::Residency residency)
    : TextureCore(format, edge, edge, 1, levels, 6, usage, pool, residency) {
  AssignHandle(this);
}

CpuCubeTexture::~CpuCubeTexture() { Link().NotifyDestroyed(); }

CpuVolumeTexture::CpuVolumeTexture(UINT width, UINT height, UINT depth, UINT levels, DWORD usage,
                                   D3DFORMAT format, D3DPOOL pool, TextureStorage::Residency residency)
    : TextureCore(format, width, height, depth, levels, 1, usage, pool, residency) {
  AssignHandle(this);
}

CpuVolumeTexture::~CpuVolumeTexture() { Link().NotifyDestroyed(); }

HRESULT CpuVolumeTexture::GetLevelDesc(UINT level, D3DVOLUME_DESC* desc) {
  const TextureStorage::Level* image = m_storage.Find(0, level);
  if (!image || !desc) return D3DERR_INVALIDCALL;
  *desc = {};
  desc->Format = m_storage.Format();
  desc->Type = D3DRTYPE_VOLUME;
  desc->Usage = m_usage;
  desc->Pool = m_pool;
  desc->Width = image->width;
  desc->Height = image->height;
  desc->Depth = image->depth;
  return D3D_OK;
}

HRESULT CpuVolumeTexture::LockBox(UINT level, D3DLOCKED_BOX* locked, const D3DBOX* box, DWORD flags) {
  return LockVolumeLevel(level, box, flags, locked);
}

TextureLevelSurface::TextureLevelSurface(LevelAccess& texture, UINT face, UINT level)
    : m_texture(texture), m_face(face), m_level(level) {
  m_texture.Owner()->AddRef();
}

TextureLevelSurface::~TextureLevelSurface() { m_texture.Owner()->Release(); }

CpuSurface::CpuSurface(UINT width, UINT height, D3DFORMAT format, DWORD usage, D3DPOOL pool,
                       D3DMULTISAMPLE_TYPE multiSample)
    : m_storage(format, width, height, 1, 1, 1), m_usage(usage), m_pool(pool), m_multiSample(multiSample) {}

CpuSurface::~CpuSurface() { Link().NotifyDestroyed(); }

HRESULT CpuSurface::GetDesc(D3DSURFACE_DESC* desc) {
  const TextureStorage::Level* image = m_storage.Find(0, 0);
  if (!desc) return D3DERR_INVALIDCALL;
  *desc = {};
  desc->Format = m_storage.Format();
  desc->Type = D3DRTYPE_SURFACE;
  desc->Usage = m_usage;
  desc->Pool = m_pool;
  desc->MultiSampleType = m_multiSample;
  desc->Width = image->width;
  desc->Height = image->height;
  return D3D_OK;
}

}  // namespace platform::d3d9
