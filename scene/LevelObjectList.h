#pragma once
// N_LevelObjectList: the world's list of the level's drawables. The world owns one for
// the program's lifetime; the level loader fills it, a level change clears it, and
// the world sorts it after each load.
//
// Per frame (the world's render, after the frustum and the 3D set-up):
//   Render(dt)    sort when records came in; empty the queues; filter the drawables by
//                 track mode and detail; move the moving ones along their paths (and
//                 their sounds with them); queue the visible ones on their surfaces
//   RenderSorted  draw every surface record that has instances, in key order: one
//                 shader bind per record, then one draw per queued matrix
//
// Sort key of a record: ((S << 12 | (I & 0x7FF)) << 12) | ((L & 0x7FF) + 1) in unsigned
// 32-bit arithmetic, with S the shader's sort value, I the shader handle and L the
// lightmap handle. A sort value of 256 or more and handles of 2048 or more alias.
#include "scene/RenderObject.h"
#include "scene/SurfaceInstances.h"

#include <cstdint>
#include <memory>
#include <vector>

class N_LevelObjectList {
 public:
  N_LevelObjectList() = default;
  /// Clear.
  ~N_LevelObjectList();
  N_LevelObjectList(const N_LevelObjectList&) = delete;
  N_LevelObjectList& operator=(const N_LevelObjectList&) = delete;

  /// Takes the drawable: a mesh object's surface records join the draw order (unsorted
  /// until the next sort); then it joins the moving drawables when it has a path, else
  /// the static ones.
  void Add(std::unique_ptr<N_RenderObject> drawable);
  /// A LOD mesh's surface record joins the draw order (not owned; unsorted again).
  void AddSurfaceRecord(N_SurfaceInstances* record);
  /// Computes every record's key and sorts stably (ties keep their order of addition).
  void Sort();
  /// Filter, move and queue for the frame (frame time in seconds).
  void Render(float dt);
  /// Draws the queued instances.
  void RenderSorted();
  /// Deletes every drawable and empties the lists; the records are not deleted (mesh
  /// objects delete theirs, LOD meshes keep theirs).
  void Clear();

  const std::vector<std::unique_ptr<N_RenderObject>>& Drawables() const { return m_all; }
  const std::vector<N_RenderObject*>& Moving() const { return m_moving; }
  const std::vector<N_RenderObject*>& Static() const { return m_static; }
  const std::vector<N_SurfaceInstances*>& Records() const { return m_records; }
  /// "detail" and "trackmode" as read by the last Render.
  std::int32_t Detail() const { return m_detail; }
  std::int32_t TrackMode() const { return m_trackMode; }
  bool Unsorted() const { return m_unsorted; }

 private:
  /// False when the flags hide the drawable at the current track mode or detail.
  bool PassesFlags(const N_RenderObject& drawable) const;
  void RenderMoving(N_RenderObject& drawable, float dt, std::int32_t lod);
  void RenderStatic(N_RenderObject& drawable, float lodDistance, std::int32_t lod, bool drawBoxes);
  void SortByKeys();

  std::vector<std::unique_ptr<N_RenderObject>> m_all;
  std::vector<N_RenderObject*> m_moving;
  std::vector<N_RenderObject*> m_static;
  std::vector<N_SurfaceInstances*> m_records;  ///< in draw order
  std::int32_t m_detail = 0;
  std::int32_t m_trackMode = 0;
  bool m_unsorted = true;
};
