#include "platform/d3d9/TextureStorage.h"

#include "platform/d3d9/Formats.h"

namespace platform::d3d9 {

TextureStorage::TextureStorage(D3DFORMAT format, UINT width, UINT height, UINT depth, UINT levels,
                               UINT faces, Residency residency)
    : m_format(format),
      m_residency(residency),
      m_levelCount(levels ? levels : FullChainLevels(width, height, depth)),
      m_faceCount(faces ? faces : 1) {
  m_levels.resize(std::size_t(m_levelCount) * m_faceCount);
  for (UINT face = 0; face < m_faceCount; ++face) {
    for (UINT i = 0; i < m_levelCount; ++i) {
      Level& level = m_levels[std::size_t(face) * m_levelCount + i];
      level.width = LevelSize(width, i);
      level.height = LevelSize(height, i);
      level.depth = LevelSize(depth, i);
      level.rowPitch = RowPitch(format, level.width);
      level.slicePitch = level.rowPitch * RowCount(format, level.height);
      if (residency == Residency::Always) level.bytes.assign(LevelBytes(level), 0);
    }
  }
}

TextureStorage::Level* TextureStorage::Find(UINT face, UINT level) {
  if (face >= m_faceCount || level >= m_levelCount) return nullptr;
  return &m_levels[std::size_t(face) * m_levelCount + level];
}

const TextureStorage::Level* TextureStorage::Find(UINT face, UINT level) const {
  return const_cast<TextureStorage*>(this)->Find(face, level);
}

HRESULT TextureStorage::LockRect(UINT face, UINT level, const RECT* rect, DWORD flags,
                                 D3DLOCKED_RECT* locked) {
  Level* target = Find(face, level);
  if (!target || !locked || target->locked) return D3DERR_INVALIDCALL;
  const FormatInfo info = DescribeFormat(m_format);
  std::size_t offset = 0;
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->right <= rect->left || rect->bottom <= rect->top ||
        UINT(rect->right) > target->width || UINT(rect->bottom) > target->height) {
      return D3DERR_INVALIDCALL;
    }
    if (info.compressed) {
      if ((rect->left % 4) || (rect->top % 4)) return D3DERR_INVALIDCALL;
      offset = std::size_t(rect->top / 4) * target->rowPitch + std::size_t(rect->left / 4) * info.blockBytes;
    } else {
      offset = std::size_t(rect->top) * target->rowPitch + std::size_t(rect->left) * info.bytesPerPixel;
    }
  }
  target->locked = true;
  target->lockFlags = flags;
  locked->Pitch = INT(target->rowPitch);
  locked->pBits = target->bytes.data() + offset;
  return D3D_OK;
}

HRESULT TextureStorage::LockBox(UINT level, const D3DBOX* box, DWORD flags, D3DLOCKED_BOX* locked) {
  Level* target = Find(0, level);
  if (!target || !locked || target->locked) return D3DERR_INVALIDCALL;
  const FormatInfo info = DescribeFormat(m_format);
  std::size_t offset = 0;
  if (box) {
    if (box->Right <= box->Left || box->Bottom <= box->Top || box->Back <= box->Front ||
        box->Right > target->width || box->Bottom > target->height || box->Back > target->depth) {
      return D3DERR_INVALIDCALL;
    }
    const UINT row = info.compressed ? box->Top / 4 : box->Top;
    const UINT column = info.compressed ? (box->Left / 4) * info.blockBytes : box->Left * info.bytesPerPixel;
    offset = std::size_t(box->Front) * target->slicePitch + std::size_t(row) * target->rowPitch + column;
  }
  target->locked = true;
  target->lockFlags = flags;
  locked->RowPitch = INT(target->rowPitch);
  locked->SlicePitch = INT(target->slicePitch);
  locked->pBits = target->bytes.data() + offset;
  return D3D_OK;
}

HRESULT TextureStorage::Unlock(UINT face, UINT level, DWORD* flags) {
  Level* target = Find(face, level);
  if (!target || !target->locked) return D3DERR_INVALIDCALL;
  target->locked = false;
  if (flags) *flags = target->lockFlags;
  return D3D_OK;
}

}  // namespace platform::d3d9
