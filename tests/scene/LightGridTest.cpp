// The light grid: the blend of a cell's eight nodes, the edges of the grid, refused sizes.
#include "core/Vector3.h"
#include "scene/LightGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF, kRed = 0x00FF0000, kGreen = 0x0000FF00, kBlue = 0x000000FF;

/// A grid over (0, 0, 0)-(200, 200, 300): 3 x 3 x 4 nodes, cells of 100 on every axis.
constexpr std::size_t kNodes = 36;
struct Grid {
  explicit Grid(std::vector<std::uint32_t> cells) {
    const float bounds[6] = {0, 0, 0, 200, 200, 300};
    EXPECT_TRUE(grid.Init(3, 3, 4, bounds, std::move(cells)));
  }
  static std::size_t Node(int x, int y, int z) { return std::size_t((z * 3 + y) * 3 + x); }
  N_LightGrid grid;
};

void ExpectColour(const N_LightColour& c, float r, float g, float b, float tolerance = 1e-5f) {
  EXPECT_NEAR(c.r, r, tolerance);
  EXPECT_NEAR(c.g, g, tolerance);
  EXPECT_NEAR(c.b, b, tolerance);
}

TEST(LightGrid, UnpacksTheColourBytes) {
  ExpectColour(UnpackColor(0x00FF8000), 1.0f, 0.50196f, 0.0f);
  ExpectColour(UnpackColor(0xAB000000), 0.0f, 0.0f, 0.0f);  // the top byte is not a component
}

TEST(LightGrid, TheCentreOfACellIsThePlainAverageOfItsNodes) {
  // The cell from node (1, 0, 2): eight distinct grey levels, one per node.
  std::vector<std::uint32_t> cells(kNodes, kWhite);
  float sum = 0.0f;
  for (int i = 0; i < 8; ++i) {
    const std::uint32_t level = std::uint32_t(10 + 30 * i);
    cells[Grid::Node(1 + (i & 1), (i >> 1) & 1, 2 + (i >> 2))] = level << 16 | level << 8 | level;
    sum += float(level) / 255.0f;
  }
  Grid g(cells);
  const N_LightColour& c = g.grid.Sample({150, 50, 250});
  ExpectColour(c, sum / 8, sum / 8, sum / 8);
  ExpectColour(g.grid.LastColour(), sum / 8, sum / 8, sum / 8);
}

TEST(LightGrid, OnANodeThatNodeWeighsAQuarterAndTheOppositeNothing) {
  // The point on node (1, 1, 1); its cell runs to node (2, 2, 2).
  const struct {
    std::size_t lit;
    float expected;
  } cases[] = {
      {Grid::Node(1, 1, 1), 0.25f},  // the node itself
      {Grid::Node(2, 2, 2), 0.0f},   // diagonally opposite
  };
  for (const auto& c : cases) {
    std::vector<std::uint32_t> cells(kNodes, 0);
    cells[c.lit] = kWhite;
    Grid g(cells);
    ExpectColour(g.grid.Sample({100, 100, 100}), c.expected, c.expected, c.expected);
  }
  // The other six share the remaining half and a quarter: all lit but those two.
  std::vector<std::uint32_t> cells(kNodes, kWhite);
  cells[Grid::Node(1, 1, 1)] = cells[Grid::Node(2, 2, 2)] = 0;
  Grid g(cells);
  ExpectColour(g.grid.Sample({100, 100, 100}), 0.75f, 0.75f, 0.75f);
}

TEST(LightGrid, TheEdgesOfTheGrid) {
  std::vector<std::uint32_t> cells(kNodes, kBlue);
  for (int y = 0; y < 3; ++y)
    for (int z = 0; z < 4; ++z) cells[Grid::Node(2, y, z)] = kGreen;  // the maximum x face
  for (int y = 0; y < 2; ++y)
    for (int z = 0; z < 2; ++z)
      for (int x = 0; x < 2; ++x) cells[Grid::Node(x, y, z)] = kRed;  // the first cell
  cells[Grid::Node(2, 2, 3)] = kWhite;  // the maximum corner
  Grid g(cells);
  const struct {
    N_Vector3 point;
    N_LightColour colour;
  } cases[] = {
      {{200, 200, 300}, {1, 1, 1}},  // exactly on the maximum corner: that node
      {{200, 0, 10}, {0, 1, 0}},     // on the maximum x face: its edge nodes, nothing read past
      {{-20, 50, 50}, {1, 0, 0}},    // just below the minimum x: the first cell
      {{50, 50, -30}, {1, 0, 0}},    // just below the minimum z
      {{300, 50, 50}, {0, 0, 0}},    // one cell beyond the maximum x: black
      {{50, 350, 50}, {0, 0, 0}},    // a cell and a half beyond the maximum y
      {{50, 50, -500}, {0, 0, 0}},   // far below the minimum z: its index is past the size
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.point.x << ", " << c.point.y << ", " << c.point.z);
    g.grid.Sample({100, 50, 150});  // a lit point first: an outside one must blacken it
    const N_LightColour& got = g.grid.Sample(c.point);
    ExpectColour(got, c.colour.r, c.colour.g, c.colour.b);
    ExpectColour(g.grid.LastColour(), c.colour.r, c.colour.g, c.colour.b);
  }
}

TEST(LightGrid, FlatAxesDivideByNothing) {
  const struct {
    std::uint32_t sx, sy, sz;
    float bounds[6];
  } cases[] = {
      {1, 1, 1, {0, 0, 0, 100, 100, 100}},  // one node
      {1, 1, 1, {5, 5, 5, 5, 5, 5}},        // one node, no extent
      {2, 2, 2, {5, 5, 5, 5, 5, 5}},        // no extent on any axis
  };
  for (const auto& c : cases) {
    N_LightGrid grid;
    ASSERT_TRUE(grid.Init(c.sx, c.sy, c.sz, c.bounds, std::vector<std::uint32_t>(c.sx * c.sy * c.sz, kRed)));
    for (const N_Vector3& p : {N_Vector3{5, 5, 5}, N_Vector3{0, 0, 0}, N_Vector3{70, -3, 9}}) {
      const N_LightColour& got = grid.Sample(p);
      EXPECT_TRUE(std::isfinite(got.r) && std::isfinite(got.g) && std::isfinite(got.b));
      ExpectColour(got, 1, 0, 0);  // the one colour there is, on the node too (all weights 0)
    }
  }
}

TEST(LightGrid, InitRefusesSizesTheCellsDoNotCover) {
  const float bounds[6] = {0, 0, 0, 10, 10, 10};
  const struct {
    std::uint32_t sx, sy, sz;
    std::size_t cells;
    bool accepted;
  } cases[] = {
      {2, 2, 2, 8, true},
      {2, 2, 2, 9, true},   // more cells than nodes: the rest is not read
      {2, 2, 2, 7, false},  // one cell short
      {0, 2, 2, 8, false},
      {2, 2, 0, 8, false},
      {0x10000, 0x10000, 0x10000, 8, false},  // 2^48 nodes: counted in 64 bits
      {0x80000000u, 0x80000000u, 2, 8, false},
  };
  for (const auto& c : cases) {
    N_LightGrid grid;
    EXPECT_EQ(grid.Init(c.sx, c.sy, c.sz, bounds, std::vector<std::uint32_t>(c.cells, kWhite)), c.accepted)
        << c.sx << " x " << c.sy << " x " << c.sz;
    EXPECT_EQ(grid.HasGrid(), c.accepted);
    const N_LightColour& got = grid.Sample({5, 5, 5});
    ExpectColour(got, c.accepted ? 1.0f : 0.0f, c.accepted ? 1.0f : 0.0f, c.accepted ? 1.0f : 0.0f);
  }
}

}  // namespace
