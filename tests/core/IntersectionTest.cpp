#include "core/EdgeList.h"
#include "core/Intersection.h"
#include "core/OrientedBox.h"
#include "core/Plane.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

N_Plane Axial(int type, float d) {
  N_Plane p;
  (type == 0 ? p.normal.x : type == 1 ? p.normal.y : p.normal.z) = 1.0f;
  p.distance = d;
  p.type = static_cast<std::uint8_t>(type);
  return p;
}

TEST(Plane, FromPointsOrientationAndCollinear) {
  N_Plane p;
  ASSERT_TRUE(PlaneFromPoints(p, {40, 0, 0}, {-35, 12, 0}, {-35, -12, 0}));
  EXPECT_FLOAT_EQ(p.normal.x, 0.0f);
  EXPECT_FLOAT_EQ(p.normal.y, 0.0f);
  EXPECT_FLOAT_EQ(p.normal.z, -1.0f);
  EXPECT_EQ(p.distance, 0.0f);
  ASSERT_TRUE(PlaneFromPoints(p, {0, 0, 2}, {0, 1, 2}, {1, 0, 2}));
  EXPECT_FLOAT_EQ(p.normal.z, 1.0f);
  EXPECT_FLOAT_EQ(p.distance, -2.0f);  // normal . p + distance = 0 on the plane

  N_Plane untouched = Axial(1, 9.0f);
  EXPECT_FALSE(PlaneFromPoints(untouched, {0, 0, 0}, {1, 1, 1}, {3, 3, 3}));
  EXPECT_FALSE(PlaneFromPoints(untouched, {2, 2, 2}, {2, 2, 2}, {2, 2, 2}));
  EXPECT_EQ(untouched.distance, 9.0f);
  EXPECT_EQ(untouched.normal.y, 1.0f);
}

TEST(Plane, BoxSides) {
  struct Case {
    N_Plane plane;
    N_Vector3 mins, maxs;
    int side;
    float out;  // expected out distance; 99 when it must stay unwritten
  };
  N_Plane slanted;  // normal (-0.6, 0, 0.8): x negative -> sign bit 0
  slanted.normal = {-0.6f, 0.0f, 0.8f};
  slanted.distance = 1.0f;
  slanted.signBits = 1;
  N_Plane badBits = slanted;
  badBits.signBits = 9;
  const Case cases[] = {
      {Axial(2, 5.0f), {0, 0, 5}, {1, 1, 9}, 1, 99},    // touching counts as in front
      {Axial(2, 5.0f), {0, 0, 0}, {1, 1, 5}, 2, 99},
      {Axial(2, 5.0f), {0, 0, 4}, {1, 1, 6}, 3, 99},
      {Axial(0, -1.0f), {0, 0, 0}, {1, 1, 1}, 1, 99},
      {slanted, {-1, 0, 2}, {0, 1, 3}, 1, 0.6f + 2.4f},  // farthest corner: x = -1, z = 3
      {slanted, {0, 0, -3}, {1, 1, 0}, 2, -0.6f - 2.4f},  // nearest: x = 1, z = -3
      {slanted, {0, 0, 0}, {1, 1, 2}, 3, -0.6f},          // crossing: dist2 stays
      {slanted, {0, 0, 1.25f}, {0, 1, 1.25f}, 1, 1.0f},  // flat box touching: in front
      {badBits, {5, 5, 5}, {6, 6, 6}, 2, 0.0f},           // both distances 0
  };
  for (const Case& c : cases) {
    float out = 99.0f;
    EXPECT_EQ(BoxOnPlaneSide(c.mins, c.maxs, c.plane, &out), c.side) << c.mins.x << " " << c.mins.z;
    EXPECT_NEAR(out, c.out, 1e-5f) << c.mins.x << " " << c.mins.z;
  }
}

N_OrientedBox UnitBoxAt(N_Vector3 center) {
  N_OrientedBox box;
  box.center = center;
  box.axis[0] = {1, 0, 0};
  box.axis[1] = {0, 1, 0};
  box.axis[2] = {0, 0, 1};
  box.extent[0] = box.extent[1] = box.extent[2] = 1.0f;
  return box;
}

TEST(OrientedBox, RayAndSegmentTests) {
  const N_OrientedBox box = UnitBoxAt({10, 0, 0});
  struct Case {
    N_Vector3 origin, direction;
    bool ray, segment;
  };
  const Case cases[] = {
      {{0, 0, 0}, {1, 0, 0}, true, false},     // segment ends at x = 1, short of the box
      {{0, 0, 0}, {20, 0, 0}, true, true},
      {{0, 0, 0}, {-1, 0, 0}, false, false},   // pointing away
      {{0, 2, 0}, {1, 0, 0}, false, false},    // passes beside
      {{0, 1, 0}, {20, 0, 0}, true, true},     // grazes the face y = 1: touching intersects
      {{0, 0, 0}, {9, 0, 0}, true, true},      // segment ends on the face x = 9
      {{10, 0, 0}, {0, 0, 0.1f}, true, true},  // starts inside
      {{0, 3, 0}, {20, -6, 0}, true, true},    // diagonal through the centre
      {{0, 5, 0}, {20, -1, 0}, false, false},  // diagonal above the box
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RayIntersectsBox(c.origin, c.direction, box), c.ray) << c.origin.y << " " << c.direction.x;
    EXPECT_EQ(SegmentIntersectsBox(c.origin, c.direction, box), c.segment) << c.origin.y << " " << c.direction.x;
  }

  N_OrientedBox turned = UnitBoxAt({0, 0, 0});
  turned.axis[0] = {0.6f, 0.8f, 0};
  turned.axis[1] = {-0.8f, 0.6f, 0};
  turned.extent[0] = 2.0f;
  N_Vector3 corners[8];
  turned.GetCorners(corners);
  EXPECT_NEAR(corners[0].x, -1.2f + 0.8f, 1e-6f);  // -A - B - C
  EXPECT_NEAR(corners[0].y, -1.6f - 0.6f, 1e-6f);
  EXPECT_NEAR(corners[0].z, -1.0f, 1e-6f);
  EXPECT_NEAR(corners[6].x, 1.2f - 0.8f, 1e-6f);  // +A + B + C
  EXPECT_NEAR(corners[6].z, 1.0f, 1e-6f);
  EXPECT_NEAR(corners[2].z, -1.0f, 1e-6f);
  EXPECT_NEAR(corners[7].x, -1.2f - 0.8f, 1e-6f);  // -A + B + C
  // The long axis reaches (1.2, 1.6): a ray along y at x = 1.1 meets it, at x = 2.5 not.
  EXPECT_TRUE(RayIntersectsBox({1.1f, -10, 0}, {0, 1, 0}, turned));
  EXPECT_FALSE(RayIntersectsBox({2.5f, -10, 0}, {0, 1, 0}, turned));
}

TEST(Intersection, PointRayAndSphere) {
  float t = -1.0f;
  EXPECT_FLOAT_EQ(PointRayDistanceSq({-3, 4, 0}, {0, 0, 0}, {1, 0, 0}, &t), 25.0f);  // behind
  EXPECT_EQ(t, 0.0f);
  EXPECT_FLOAT_EQ(PointRayDistanceSq({6, 2, 0}, {0, 0, 0}, {2, 0, 0}, &t), 4.0f);
  EXPECT_FLOAT_EQ(t, 3.0f);
  EXPECT_FLOAT_EQ(PointRayDistanceSq({6, 2, 0}, {0, 0, 0}, {2, 0, 0}, nullptr), 4.0f);
  EXPECT_TRUE(RayIntersectsSphere({0, 0, 0}, {1, 0, 0}, {{5, 2, 0}, 2.0f}));  // touching
  EXPECT_FALSE(RayIntersectsSphere({0, 0, 0}, {1, 0, 0}, {{5, 2.1f, 0}, 2.0f}));
  EXPECT_FALSE(RayIntersectsSphere({0, 0, 0}, {1, 0, 0}, {{-5, 0, 0}, 2.0f}));
}

TEST(Intersection, SweptSpheres) {
  struct Case {
    const char* what;
    N_Vector3 a0, a1, b0, b1;
    bool hit;
    float t;
  };
  const Case cases[] = {
      {"head on", {0, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 0, 0}, true, 0.8f - 0.001f},
      {"both slow", {0, 0, 0}, {0.0316f, 0, 0}, {0.1f, 0, 0}, {0.1f - 0.0316f, 0, 0}, false, 0},
      {"miss aside", {0, 0, 0}, {10, 0, 0}, {5, 3, 0}, {5, 3, 0}, false, 0},
      {"too late", {0, 0, 0}, {1, 0, 0}, {10, 0, 0}, {10, 0, 0}, false, 0},
      {"overlap moving apart", {0, 0, 0}, {-5, 0, 0}, {1, 0, 0}, {1, 0, 0}, false, 0},
      {"same motion, apart", {0, 0, 0}, {5, 0, 0}, {3, 0, 0}, {8, 0, 0}, false, 0},
      {"same motion, overlapping", {0, 0, 0}, {5, 0, 0}, {1, 0, 0}, {6, 0, 0}, true, 0},
  };
  for (const Case& c : cases) {
    float t = -7.0f;
    EXPECT_EQ(SweptSpheresCollide(c.a0, c.a1, c.b0, c.b1, 1.0f, 1.0f, &t), c.hit) << c.what;
    if (c.hit) {
      EXPECT_NEAR(t, c.t, 1e-5f) << c.what;
    }
  }
  float t = 0.0f;
  EXPECT_FALSE(SweptSpheresCollide({0, 0, 0}, {-5, 0, 0}, {1, 0, 0}, {1, 0, 0}, 1, 1, &t));
  EXPECT_LT(t, 0.0f);  // already overlapping: the contact lies before the step
}

std::vector<N_ShadowTriangle> Triangles(std::initializer_list<std::array<std::uint16_t, 3>> list) {
  std::vector<N_ShadowTriangle> out;
  for (const auto& c : list) {
    N_ShadowTriangle t;
    t.corner[0] = c[0], t.corner[1] = c[1], t.corner[2] = c[2];
    out.push_back(t);
  }
  return out;
}

TEST(EdgeList, PairsFacesAndKeepsOrder) {
  std::vector<N_Edge> edges;
  const auto quad = Triangles({{0, 1, 2}, {2, 1, 3}});
  ASSERT_EQ(BuildEdgeList(2, quad.data(), edges), 3);
  const N_Edge expected[] = {{0, 1, 0, 0xFFFF}, {1, 2, 0, 1}, {1, 3, 1, 0xFFFF}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(edges[i].a, expected[i].a) << i;
    EXPECT_EQ(edges[i].b, expected[i].b) << i;
    EXPECT_EQ(edges[i].faceA, expected[i].faceA) << i;
    EXPECT_EQ(edges[i].faceB, expected[i].faceB) << i;
  }

  // A closed tetrahedron: six edges, each with two faces.
  const auto tetra = Triangles({{0, 1, 2}, {0, 3, 1}, {1, 3, 2}, {2, 3, 0}});
  ASSERT_EQ(BuildEdgeList(4, tetra.data(), edges), 6);
  for (const N_Edge& e : edges) {
    EXPECT_NE(e.faceA, N_Edge::kNoFace);
    EXPECT_NE(e.faceB, N_Edge::kNoFace);
    EXPECT_LT(e.a, e.b);
  }

  // Two faces using the same edge forwards: the reverse one pairs with the first.
  const auto doubled = Triangles({{0, 1, 2}, {0, 1, 3}, {1, 0, 4}});
  ASSERT_EQ(BuildEdgeList(3, doubled.data(), edges), 5);
  EXPECT_EQ(edges[0].faceB, 2);
  EXPECT_EQ(edges[2].faceB, 0xFFFF);

  EXPECT_EQ(BuildEdgeList(1, Triangles({{4, 4, 4}}).data(), edges), 0);  // equal indices
  EXPECT_EQ(BuildEdgeList(0, nullptr, edges), 0);
}

TEST(EdgeList, RefusesMoreThan65535Triangles) {
  test::CoreServices services;
  std::vector<N_ShadowTriangle> many(65536);
  for (std::size_t i = 0; i < many.size(); ++i) {
    many[i].corner[0] = 0;
    many[i].corner[1] = 1;
    many[i].corner[2] = 2;
  }
  std::vector<N_Edge> edges(5);
  EXPECT_EQ(BuildEdgeList(65536, many.data(), edges), 0);
  EXPECT_TRUE(edges.empty());
  EXPECT_NE(services.LogText().find("BuildEdgeList: 65536 triangles refused"), std::string::npos);
  EXPECT_EQ(BuildEdgeList(65535, many.data(), edges), 2 * 65535);
}

}  // namespace
