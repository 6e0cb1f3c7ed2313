#pragma once
// Inside the layer: the system-memory image of a texture or surface, in Direct3D's
// layout (top row first, rows tightly packed, DXT as rows of 4x4 blocks), with the
// lock bookkeeping of each level. The recording device keeps every level's bytes for
// the texture's life; the OpenGL device keeps a level's bytes only while it is locked
// (its texture lives in GL: a lock reads the level back, an unlock after writing
// uploads it), except for dynamic textures, which are written often.
#include "platform/d3d9/Structs.h"

#include <vector>

namespace platform::d3d9 {

class TextureStorage {
 public:
  struct Level {
    UINT width = 0;
    UINT height = 0;
    UINT depth = 0;
    UINT rowPitch = 0;
    UINT slicePitch = 0;
    std::vector<BYTE> bytes;
    bool locked = false;
    DWORD lockFlags = 0;
  };

  /// How long a level's bytes are kept.
  enum class Residency { Always, WhileLocked };

  /// levels 0 makes a full chain. faces is 6 for a cube, else 1.
  TextureStorage(D3DFORMAT format, UINT width, UINT height, UINT depth, UINT levels, UINT faces,
                 Residency residency = Residency::Always);

  D3DFORMAT Format() const { return m_format; }
  UINT LevelCount() const { return m_levelCount; }
  UINT FaceCount() const { return m_faceCount; }
  bool KeepsBytes() const { return m_residency == Residency::Always; }
  /// Bytes of one level (all slices of a volume level).
  static std::size_t LevelBytes(const Level& level) { return std::size_t(level.slicePitch) * level.depth; }
  /// Null when face or level is out of range.
  Level* Find(UINT face, UINT level);
  const Level* Find(UINT face, UINT level) const;

  /// Locks a rectangle (null: all) of one level; DXT rectangles must lie on block edges.
  HRESULT LockRect(UINT face, UINT level, const RECT* rect, DWORD flags, D3DLOCKED_RECT* locked);
  /// Locks a box (null: all) of one volume level.
  HRESULT LockBox(UINT level, const D3DBOX* box, DWORD flags, D3DLOCKED_BOX* locked);
  /// Unlocks; flags receives the flags of the lock (so the caller knows whether it wrote).
  HRESULT Unlock(UINT face, UINT level, DWORD* flags);

 private:
  D3DFORMAT m_format;
  Residency m_residency;
  UINT m_levelCount;
  UINT m_faceCount;
  std::vector<Level> m_levels;  ///< face-major: face * levelCount + level
};

}  // namespace platform::d3d9
