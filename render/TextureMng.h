#pragma once
// The texture manager: the one place that turns texture names into device textures.
// Every stage, effect and lightmap names its texture by a path below "data\"
// without extension; the manager keeps one reference-counted entry per distinct
// name and hands out the entry's record at once. Device textures are made later, in
// one batch by PurgeTextures, which also frees what nobody references any more.
//
// Owned by the application (made with 1024 entries after the window, before the
// renderer; destroyed after the renderer's shutdown); everybody holds it through
// this interface. Main thread only.
#include "render/TexInfo.h"

#include <cstdint>
#include <memory>
#include <string>

/// One entry per distinct name; free when it has no references and no record.
struct N_TextureEntry {
  std::string name;                 ///< the name with its extension cut; empty when free
  std::int32_t refCount = 0;        ///< users of the entry; never negative
  std::uint32_t parameter = 0;      ///< creation word handed unchanged to the renderer
  std::unique_ptr<TexInfo> record;  ///< null when free; its address never changes

  bool IsFree() const { return refCount == 0 && !record; }
};

class N_TextureMng {
 public:
  /// Parameter bits the renderer reads (the stage keywords nomipmaps and nopicmip).
  static constexpr std::uint32_t kSingleLevel = 0x1;
  static constexpr std::uint32_t kNoPicmip = 0x2;
  /// The parameter the level and mesh readers pass for lightmaps.
  static constexpr std::uint32_t kLightmapParameter = 0x93;

  virtual ~N_TextureMng() = default;

  /// Counts one reference to the name's entry (made when new) and returns its record;
  /// null only when no entry could be had. Creates nothing on the device.
  virtual TexInfo* AddTexture(const char* name, std::uint32_t parameter, std::uint32_t kind) = 0;
  /// Drops one reference of the entry holding the record; unknown or null records are ignored.
  virtual void ReleaseTexture(TexInfo* record) = 0;
  /// Every reference count becomes 0 (before the final purge at shutdown).
  virtual void ResetRefCounts() = 0;
  /// Frees the unreferenced entries and creates the pending ones, in table order.
  virtual void PurgeTextures() = 0;
  /// Loads a lightmap into the caller's own record (not entered in the table);
  /// the bytes made, 0 when even the default texture failed.
  virtual std::uint32_t LoadLightmap(const char* name, TexInfo* record, std::uint32_t parameter) = 0;
  /// Gives a record's lightmap texture back to the device (whose texture memory loses
  /// the bytes it counted for it); the record is left not created. Null is ignored.
  virtual void ReleaseLightmap(TexInfo* record) = 0;
  /// The record of the entry whose name equals `name` without regard to case (the
  /// extension is not cut here), or null.
  virtual TexInfo* FindTexture(const char* name) = 0;
  /// Creates the entry's device texture (with the default texture as fallback);
  /// the bytes made, or 0.
  virtual std::uint32_t LoadTexture(N_TextureEntry* entry) = 0;
};

/// The texture manager of the game, made by the application after the window and
/// before the renderer; null before and after.
extern N_TextureMng* g_textureMng;
