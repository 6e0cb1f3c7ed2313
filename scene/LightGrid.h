#pragma once
// N_LightGrid: a regular 3D grid of light colours over the track (level section 12),
// from which the skinned figures, which have no lightmaps, take their ambient colour.
// Owned by the level; absent when the level has none (then the figures get black).
//
// A sample blends the eight nodes of the point's cell, each weighted by the squared
// distance from the point to the node opposite it: the nearer node counts more.
#include <cstddef>
#include <cstdint>
#include <vector>

struct N_Vector3;

/// A colour of three components 0..1.
struct N_LightColour {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
};

/// The bytes of 0x00RRGGBB, each times 1/255.
N_LightColour UnpackColor(std::uint32_t packed);

class N_LightGrid {
 public:
  /// Why a grid of these sizes, bounds (min x, y, z, max x, y, z) and number of cells
  /// cannot be sampled: a size of 0 on any axis, more nodes than cells (the product
  /// taken without overflow) or than an int holds, a bound or extent that is not a
  /// finite number. Null for a grid Init takes.
  static const char* Refusal(std::uint32_t sizeX, std::uint32_t sizeY, std::uint32_t sizeZ, const float* bounds,
                             std::size_t cells);
  /// Takes the cells (node (x, y, z) is cell (z * sizeY + y) * sizeX + x; the vector's
  /// length is the file's cell count) and computes the cell sizes and inverse extents;
  /// an axis of one node or of no extent gets 0 for both. Refuses what Refusal names,
  /// keeping no grid (every sample black).
  bool Init(std::uint32_t sizeX, std::uint32_t sizeY, std::uint32_t sizeZ, const float* bounds,
            std::vector<std::uint32_t> cells);
  /// The colour at the point; also kept as the last sampled colour. Black outside the
  /// grid (a node index at or above the size on some axis); the offset below the
  /// minimum corner counts by its absolute value.
  const N_LightColour& Sample(const N_Vector3& point);

  const N_LightColour& LastColour() const { return m_last; }
  std::int32_t NodeCount() const { return m_nodeCount; }
  bool HasGrid() const { return !m_cells.empty(); }

 private:
  std::uint32_t Cell(std::int64_t x, std::int64_t y, std::int64_t z) const;

  std::int32_t m_size[3] = {};
  std::int32_t m_nodeCount = 0;
  float m_cellSize[3] = {};
  float m_inverseExtent[3] = {};
  float m_min[3] = {};
  float m_max[3] = {};
  std::vector<std::uint32_t> m_cells;
  N_LightColour m_last;
};
