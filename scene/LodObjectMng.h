#pragma once
// N_LodObjectMng: the level's LOD objects, each loaded once by name (names compare
// exactly, in byte order) and handed out by index. One per level, cleared with it.
#include "scene/LodObject.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class N_LodObjectMng {
 public:
  /// The index of the name: an existing name gives its index (its distances stay as
  /// first given); a new one takes the next index and its three meshes are loaded. -1
  /// for an empty name (nothing is loaded).
  std::int32_t Add(const std::string& name, const float* distances);
  /// The object of an index, or null.
  N_LodObject* Get(std::int32_t index) const;
  /// Logs "LOD Mesh: %s\n" for every name, in name order.
  void LogNames() const;
  /// Deletes every object with its meshes and forgets every name.
  void Clear();

  /// Number of distinct objects.
  std::int32_t Count() const { return static_cast<std::int32_t>(m_objects.size()); }

 private:
  std::map<std::string, std::int32_t> m_names;
  std::map<std::int32_t, std::unique_ptr<N_LodObject>> m_objects;
  std::int32_t m_nextIndex = 0;
};
