#include "scene/LightGrid.h"

#include "core/Vector3.h"

#include <algorithm>
#include <cmath>
#include <limits>

N_LightColour UnpackColor(std::uint32_t packed) {
  constexpr float kByte = 0.003921569f;
  return {float((packed >> 16) & 0xFFu) * kByte, float((packed >> 8) & 0xFFu) * kByte, float(packed & 0xFFu) * kByte};
}

const char* N_LightGrid::Refusal(std::uint32_t sizeX, std::uint32_t sizeY, std::uint32_t sizeZ, const float* bounds,
                                 std::size_t cells) {
  if (sizeX == 0 || sizeY == 0 || sizeZ == 0) return "a size of 0";
  // x * y fits in 64 bits; the third factor is checked by division, so the product
  // never overflows on the way to the comparison with the cell count.
  const std::uint64_t plane = std::uint64_t(sizeX) * sizeY;
  if (plane > cells || sizeZ > cells / plane) return "more nodes than cells";
  if (plane * sizeZ > std::uint64_t(std::numeric_limits<std::int32_t>::max())) return "too many nodes";
  for (int a = 0; a < 3; ++a) {
    // The extent divides and the node index comes from it: neither may be infinite or NaN.
    if (!std::isfinite(bounds[a]) || !std::isfinite(bounds[a + 3]) || !std::isfinite(bounds[a + 3] - bounds[a])) {
      return "bounds that are not finite numbers";
    }
  }
  return nullptr;
}

bool N_LightGrid::Init(std::uint32_t sizeX, std::uint32_t sizeY, std::uint32_t sizeZ, const float* bounds,
                       std::vector<std::uint32_t> cells) {
  *this = N_LightGrid{};
  if (Refusal(sizeX, sizeY, sizeZ, bounds, cells.size())) return false;
  const std::uint64_t nodes = std::uint64_t(sizeX) * sizeY * sizeZ;
  const std::uint32_t sizes[3] = {sizeX, sizeY, sizeZ};
  for (int a = 0; a < 3; ++a) {
    m_size[a] = static_cast<std::int32_t>(sizes[a]);
    m_min[a] = bounds[a];
    m_max[a] = bounds[a + 3];
    const float extent = m_max[a] - m_min[a];
    const bool flat = sizes[a] == 1 || extent == 0.0f;
    m_cellSize[a] = flat ? 0.0f : extent / float(sizes[a] - 1);
    m_inverseExtent[a] = flat ? 0.0f : 1.0f / extent;
  }
  m_nodeCount = static_cast<std::int32_t>(nodes);
  m_cells = std::move(cells);
  return true;
}

std::uint32_t N_LightGrid::Cell(std::int64_t x, std::int64_t y, std::int64_t z) const {
  return m_cells[std::size_t((z * m_size[1] + y) * m_size[0] + x)];
}

const N_LightColour& N_LightGrid::Sample(const N_Vector3& point) {
  m_last = {};
  if (m_cells.empty()) return m_last;
  const float r[3] = {point.x - m_min[0], point.y - m_min[1], point.z - m_min[2]};
  std::int64_t index[3];
  std::int64_t next[3];
  for (int a = 0; a < 3; ++a) {
    const float node = std::floor(std::fabs(r[a] * m_inverseExtent[a]) * float(m_size[a] - 1));
    if (!(node < float(m_size[a]))) return m_last;  // beyond the grid (or not a number)
    index[a] = static_cast<std::int64_t>(node);
    // A point on the maximum face (index size - 1) takes the edge nodes twice.
    next[a] = std::min<std::int64_t>(index[a] + 1, m_size[a] - 1);
  }
  // Corners in the order (0,0,0), (1,0,0), (0,1,0), (0,0,1), (1,1,0), (1,0,1), (0,1,1), (1,1,1).
  static constexpr int kCorners[8][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1},
                                         {1, 1, 0}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}};
  N_LightColour colours[8];
  float weights[8];
  float sum = 0.0f;
  for (int i = 0; i < 8; ++i) {
    const int* c = kCorners[i];
    colours[i] = UnpackColor(Cell(c[0] ? next[0] : index[0], c[1] ? next[1] : index[1], c[2] ? next[2] : index[2]));
    float weight = 0.0f;
    for (int a = 0; a < 3; ++a) {
      const float opposite = float(index[a] + 1 - c[a]) * m_cellSize[a];
      weight += (r[a] - opposite) * (r[a] - opposite);
    }
    weights[i] = weight;
    sum += weight;
  }
  if (sum == 0.0f) {
    m_last = colours[0];  // every axis flat and the point on the node: its own colour
    return m_last;
  }
  for (int i = 0; i < 8; ++i) {
    const float share = weights[i] / sum;
    m_last.r += share * colours[i].r;
    m_last.g += share * colours[i].g;
    m_last.b += share * colours[i].b;
  }
  return m_last;
}
