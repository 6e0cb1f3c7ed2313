#include "core/EdgeList.h"

#include "core/Globals.h"
#include "core/Log.h"

#include <deque>
#include <unordered_map>

namespace {

std::uint32_t EdgeKey(std::uint16_t a, std::uint16_t b) { return (static_cast<std::uint32_t>(a) << 16) | b; }

}  // namespace

int BuildEdgeList(int triangleCount, const N_ShadowTriangle* triangles, std::vector<N_Edge>& edges) {
  edges.clear();
  if (triangleCount < 0 || triangleCount > kMaxEdgeListTriangles || (triangleCount > 0 && !triangles)) {
    if (g_log) g_log->Print("!!! BuildEdgeList: %d triangles refused (at most %d)\n", triangleCount, kMaxEdgeListTriangles);
    return 0;
  }
  edges.reserve(3 * static_cast<std::size_t>(triangleCount));
  // Listed edges still without face B, by corners, in list order: the first one is
  // the one a reverse edge pairs with.
  std::unordered_map<std::uint32_t, std::deque<std::size_t>> open;
  for (int t = 0; t < triangleCount; ++t) {
    const std::uint16_t* c = triangles[t].corner;
    for (int k = 0; k < 3; ++k) {
      const std::uint16_t first = c[k], second = c[(k + 1) % 3];
      if (first >= second) continue;
      open[EdgeKey(first, second)].push_back(edges.size());
      edges.push_back({first, second, static_cast<std::uint16_t>(t), N_Edge::kNoFace});
    }
  }
  for (int t = 0; t < triangleCount; ++t) {
    const std::uint16_t* c = triangles[t].corner;
    for (int k = 0; k < 3; ++k) {
      const std::uint16_t first = c[k], second = c[(k + 1) % 3];
      if (first <= second) continue;
      const auto it = open.find(EdgeKey(second, first));
      if (it == open.end() || it->second.empty()) continue;
      edges[it->second.front()].faceB = static_cast<std::uint16_t>(t);
      it->second.pop_front();
    }
  }
  return static_cast<int>(edges.size());
}
