#pragma once
// The shader manager: hands out shader handles by name and turns the names into
// material records. Users (console and GUI shaders, meshes, levels, particles, the
// athletes' gear) call AddShader while they load and keep the handle; the world then
// calls LoadShaders, which reads "scripts\*.shader" (first block of a name wins, in
// file order), makes a default record for a name without a block, and frees the
// entries nobody references. Drawing code reads the record by handle.
//
// Owned by the world (1024 entries; the table doubles when full). A handle is the
// table index, -1 for none, valid while the entry has references. Main thread only.
#include "render/Shader.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class N_ShaderHost;

/// One table entry; free when it has no references, no record and no name.
struct N_ShaderEntry {
  std::int32_t refCount = 0;
  std::unique_ptr<N_Shader> record;  ///< null until LoadShaders builds it
  std::optional<std::string> name;   ///< as given to AddShader (case kept); none when free
  std::uint32_t flags = 0;           ///< copied into the record's surface parameter word
  std::uint32_t type = 0;            ///< kType2D: GUI and console; its default has no lightmap

  bool IsFree() const { return refCount == 0 && !record && !name; }
};

class N_ShaderMng {
 public:
  static constexpr std::uint32_t kType2D = 3;
  static constexpr int kNoShader = -1;

  /// A table of `capacity` free entries working with the renderer module's texture
  /// manager, renderer and render-state cache.
  explicit N_ShaderMng(int capacity);
  /// As above with another host for those (which must outlive the manager).
  N_ShaderMng(int capacity, N_ShaderHost& host);
  /// Destroys every record still held (without giving textures back: the world's
  /// shutdown cycle has done that).
  ~N_ShaderMng();
  N_ShaderMng(const N_ShaderMng&) = delete;
  N_ShaderMng& operator=(const N_ShaderMng&) = delete;

  /// The handle of the name (compared without case): one more reference to an existing
  /// entry (its flags and type stay), or a new entry without a record yet; kNoShader
  /// for a null name.
  int AddShader(const char* name, std::uint32_t flags, std::uint32_t type);
  /// Drops one reference; at 0 the entry is freed at once. Bad handles are ignored.
  void ReleaseShader(int handle);
  /// Every reference count becomes 0 (at shutdown, before the last LoadShaders).
  void ResetRefCounts();
  /// Reads the scripts, builds the records of referenced names, frees unreferenced
  /// entries.
  void LoadShaders();

  /// The record of a handle; null for -1, an out-of-range handle or an entry not yet built.
  N_Shader* GetShader(int handle) const;
  /// The entry of a handle, or null when the handle is out of range.
  const N_ShaderEntry* GetEntry(int handle) const;
  int Capacity() const { return static_cast<int>(m_entries.size()); }
  /// Entries in use (holding a name).
  int Count() const { return m_count; }

 private:
  void Grow();
  void ParseFile(const char* path);
  /// The referenced entry of that name still waiting for its record, or null.
  N_ShaderEntry* FindPending(const char* name);
  N_Shader& MakeRecord(N_ShaderEntry& entry);
  void MarkMultipliedPairs(N_Shader& shader);
  void FreeEntry(int handle);
  void MakeDefaultShader(int handle);
  void AddEntryTexture(N_ShaderStage& stage, const std::string& name);

  std::vector<N_ShaderEntry> m_entries;
  int m_count = 0;
  N_ShaderHost& m_host;
};
