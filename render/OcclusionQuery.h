#pragma once
// A ring of 30 occlusion queries: scene code asks how many pixels of a proxy shape (a
// box around a figure, a lens flare's point) would pass the depth test, without
// drawing anything visible, and collects the answers later by polling. Made and
// destroyed only by the renderer (N_Render::CreateOcclusionQuery and
// DestroyOcclusionQuery); used by the skier figures and the lens flares.
//
// Every scan starts at entry 0, so the ring works as a stack of the lowest free
// entries: a frame's tests take entries 0, 1, 2 ..., and a poll collects the ready
// results from entry 0 on. Entries whose query the device could not make are skipped.
#include "platform/d3d9.h"

#include <cstdint>
#include <vector>

class N_Render;

class N_OcclusionQuery {
 public:
  static constexpr int kEntries = 30;

  /// Makes the 30 queries on the device.
  N_OcclusionQuery(N_Render* render, IDirect3DDevice9* device);
  ~N_OcclusionQuery();
  N_OcclusionQuery(const N_OcclusionQuery&) = delete;
  N_OcclusionQuery& operator=(const N_OcclusionQuery&) = delete;

  /// True when all 30 queries exist.
  bool IsMade() const;
  /// Begins the first free entry: 0, or 1 when none is free.
  std::int32_t Begin();
  /// Ends the first begun entry: 0, or 1 when none is begun.
  std::int32_t End();
  /// box: min x, y, z, max x, y, z. Drawn invisibly (no colour or depth writes) inside
  /// a query; the draw happens even when no entry was free.
  void TestBox(const float* box);
  void TestPoint(const float* position, float size);
  /// Collects the ready results from entry 0 on, without waiting: true when at least
  /// one was read, with the count of the last one in *count (untouched otherwise).
  bool GetResult(DWORD* count, bool flush);
  /// Releases every query (the entries stay, empty).
  void ReleaseQueries();

 private:
  enum class State : std::int32_t { Free = 0, Begun = 1, Ended = 2 };
  struct Entry {
    IDirect3DQuery9* query = nullptr;
    State state = State::Free;
  };

  void BeginInvisibleDraw();
  void EndInvisibleDraw();

  std::vector<Entry> m_entries;
  std::uint32_t m_scanStart = 0;  ///< always 0: every scan begins at the first entry
  N_Render* m_render;
  IDirect3DDevice9* m_device;
};
