#include "race/ai/AiLog.h"
#include "race/ai/AiSector.h"
#include "tests/race/RaceTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Ai::N_AiSector;
using Sectors = std::vector<std::unique_ptr<N_AiSector>>;

/// The sector from x = 0 to 100, y from -50 (right) to 50 (left), on z = 0.
Sectors UnitSector() { return test::BuildStraightCourse(0.0f, 100.0f, 100.0f, 50.0f); }

float Value(const N_AiSector& s, N_AiSector::Plane plane, const N_Vector3& p) {
  return N_AiSector::PlaneValue(s.GetPlane(plane), p);
}

TEST(AiSector, PlanesFaceIntoStraightCurvedAndSlopedSectors) {
  test::RaceRig rig;
  std::vector<N_Vector3> left, ideal, right;
  for (int k = 0; k <= 8; ++k) {  // a left-hand bend of radius 300 to 400, climbing
    const float a = 0.2f * float(k), z = 15.0f * float(k);
    left.push_back({300 * std::sin(a), 300 - 300 * std::cos(a), z});
    ideal.push_back({350 * std::sin(a), 300 - 350 * std::cos(a), z + 1});
    right.push_back({400 * std::sin(a), 300 - 400 * std::cos(a), z + 2});
  }
  std::vector<Sectors> paths;
  paths.push_back(test::BuildStraightCourse(0, 400, 100, 60));
  paths.push_back(test::BuildSectorChain(left, ideal, right, false));
  for (const Sectors& path : paths) {
    for (const auto& s : path) {
      N_Vector3 centre;
      for (const N_Matrix3* section : {s->StartSection(), s->EndSection()})
        for (int k = 0; k < 3; ++k) centre.AddTo(N_AiSector::SectionPoint(*section, k) * (1.0f / 6.0f));
      for (auto plane : {N_AiSector::kLeftSide, N_AiSector::kRightSide, N_AiSector::kStart, N_AiSector::kEnd})
        EXPECT_GT(Value(*s, plane, centre), 0.0f) << plane;
      EXPECT_GT(Value(*s, N_AiSector::kDiagonal, N_AiSector::SectionPoint(*s->StartSection(), N_AiSector::kRight)), 0);
      EXPECT_GT(s->GetPlane(N_AiSector::kGroundA).normal.z, 0.0f);
      EXPECT_GT(s->GetPlane(N_AiSector::kGroundB).normal.z, 0.0f);
    }
  }
  EXPECT_EQ(paths[1].back()->Next(), nullptr);
  EXPECT_TRUE(rig.boxes.empty());
}

TEST(AiSector, ClassifiesClampsAndMeasuresOnExactPlanes) {
  test::RaceRig rig;
  const Sectors path = UnitSector();
  const N_AiSector& s = *path[0];
  struct Case {
    N_Vector3 point;
    int expected;
  };
  const Case cases[] = {{{50, 50, 0}, 0},   {{50, -50, 7}, 0},  {{0, 10, 0}, 0},  {{100, 10, 0}, 0},
                        {{150, 80, 0}, 5},  {{-10, 0, 0}, 2},   {{110, 0, 0}, 1}, {{50, -51, 0}, 4},
                        {{-1, 60, 0}, 6}};
  for (const Case& c : cases) EXPECT_EQ(s.Classify(c.point), c.expected) << c.point.x << " " << c.point.y;

  N_Vector3 out;
  s.ClampToSpan({-10, 3, 4}, out);
  EXPECT_EQ(out.x, 0.0f);
  EXPECT_EQ(out.y, 3.0f);
  s.ClampToSpan({130, 3, 4}, out);
  EXPECT_EQ(out.x, 100.0f);
  s.ClampToSpan({30, 3, 4}, out);
  EXPECT_EQ(out.x, 30.0f);

  float d[3];
  s.GetSideDistances({30, 20, 0}, d);
  EXPECT_EQ(std::vector<float>(d, d + 3), (std::vector<float>{30, 70, 70}));
  EXPECT_EQ(s.Length(), 100.0f);
  EXPECT_EQ(s.GetIdealPoint(true).x, 100.0f);
}

TEST(AiSector, GroundHeightFollowsTheTriangleTheDiagonalPicks) {
  test::RaceRig rig;
  const N_Vector3 sL{0, 50, 0}, sR{0, -50, 10}, eL{100, 50, 20}, eR{100, -50, 5};  // twisted
  const Sectors path = test::BuildSectorChain({sL, eL}, {{0, 0, 5}, {100, 0, 12.5f}}, {sR, eR}, false);
  // Each triangle's centre lies on its own side of the diagonal, at the mean height.
  for (const auto& triangle : {std::array<N_Vector3, 3>{eR, sL, eL}, std::array<N_Vector3, 3>{eR, sR, sL}}) {
    const N_Vector3 centre = (triangle[0] + triangle[1] + triangle[2]) * (1.0f / 3.0f);
    float z = -1;
    path[0]->GetGroundHeight({centre.x, centre.y, 999}, z);
    EXPECT_NEAR(z, centre.z, 1e-4);
  }
}

TEST(AiSector, SideCollisionKeepsTheMarginAndFellsOnlyHardHits) {
  test::RaceRig rig;
  const Sectors path = UnitSector();
  const N_AiSector& s = *path[0];
  struct Case {
    const char* what;
    N_Vector3 previous, next;
    float factor;
    std::int32_t state;
    std::int32_t expectState;
    float expectCosine;
    N_Vector3 expectOut;
  };
  const Case cases[] = {
      {"inside the margins", {50, 0, 0}, {60, 10, 0}, 0.5f, 0, 0, -1, {60, 10, 0}},
      {"too short to have a direction", {50, 45.99f, 0}, {50, 46, 0}, 0.5f, 0, 0, -1, {50, 45.99f, 0}},
      {"parallel, factor 0.5", {40, 46, 0}, {50, 46, 0}, 0.5f, 0, 0, 0, {50, 45, 0}},
      {"head-on", {50, 40, 0}, {50, 47, 0}, 0.5f, 0, 2, 1, {50, 45, 0}},
      {"head-on, already fallen", {50, 40, 0}, {50, 47, 0}, 0.5f, 1, 1, 1, {50, 45, 0}},
      {"parallel, factor 0.2", {40, -46, 0}, {50, -46, 0}, 0.2f, 0, 2, 0, {50, -45, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    N_Vector3 out;
    std::int32_t state = c.state;
    float cosine = -1;
    s.CollideSides(c.previous, c.next, out, state, cosine, c.factor);
    EXPECT_EQ(state, c.expectState);
    EXPECT_FLOAT_EQ(cosine, c.expectCosine);
    EXPECT_NEAR(out.x, c.expectOut.x, 1e-4);
    EXPECT_NEAR(out.y, c.expectOut.y, 1e-4);
  }
  // An oblique side: the corrected point is the margin inside it; in a course narrower
  // than two margins the left side wins.
  const Sectors oblique = test::BuildSectorChain({{0, 50, 0}, {100, 80, 0}}, {{0, 0, 0}, {100, 0, 0}},
                                                 {{0, -50, 0}, {100, -50, 0}}, false);
  N_Vector3 out;
  std::int32_t state = 0;
  float cosine = 0;
  oblique[0]->CollideSides({40, 50, 0}, {50, 66, 0}, out, state, cosine, 0.5f);
  EXPECT_NEAR(Value(*oblique[0], N_AiSector::kLeftSide, out), 5.0f, 1e-4);
  const Sectors narrow = test::BuildStraightCourse(0, 100, 100, 4);
  narrow[0]->CollideSides({40, 0, 0}, {50, 0, 0}, out, state, cosine, 0.5f);
  EXPECT_NEAR(Value(*narrow[0], N_AiSector::kLeftSide, out), 5.0f, 1e-4);
}

TEST(AiSector, ConsistencyComparesEdgesWithinTheBound) {
  struct Case {
    int point;  // which point of the other sector's end is moved
    float offset;
    bool checkIdeal;
    const char* failure;  // null: passes
  };
  const Case cases[] = {
      {N_AiSector::kLeft, 0.3f, false, nullptr},
      {N_AiSector::kLeft, 0.4f, false, "Left point consistency failed."},
      {N_AiSector::kRight, 0.4f, false, "Right point consistency failed."},
      {N_AiSector::kIdeal, 0.4f, false, nullptr},
      {N_AiSector::kIdeal, 0.4f, true, "Ideal point consistency failed."},
  };
  for (const Case& c : cases) {
    test::RaceRig rig;
    std::vector<N_Vector3> l{{0, 50, 0}, {100, 50, 0}}, i{{0, 0, 0}, {100, 0, 0}}, r{{0, -50, 0}, {100, -50, 0}};
    const Sectors a = test::BuildSectorChain(l, i, r, false);
    (c.point == N_AiSector::kLeft ? l : c.point == N_AiSector::kRight ? r : i)[1].y += c.offset;  // along the end line
    const Sectors b = test::BuildSectorChain(l, i, r, false);
    EXPECT_EQ(a[0]->CheckConsistency(*b[0], c.checkIdeal), c.failure == nullptr);
    EXPECT_EQ(rig.AiLogLines(), c.failure ? std::vector<std::string>{c.failure} : std::vector<std::string>{});
  }
}

TEST(AiSector, DegenerateSectorsFlagsAndFaultyIdealPoints) {
  test::RaceRig rig;
  // Ideal points that coincide: a fan around the ideal point.
  const Sectors fan =
      test::BuildSectorChain({{0, 50, 0}, {50, 50, 0}}, {{0, 0, 0}, {0, 0, 0}}, {{0, -50, 0}, {-50, -50, 0}}, false);
  EXPECT_EQ(fan[0]->Length(), 0.0f);
  EXPECT_EQ(fan[0]->Direction().x, 1.0f);

  N_AiSector flags;
  flags.SetFlag(0, 0xFF);
  flags.SetFlag(8, 0xFF);
  flags.SetFlag(5, 4);
  EXPECT_EQ(std::vector<std::uint8_t>(flags.Flags().Bytes(), flags.Flags().Bytes() + 7),
            (std::vector<std::uint8_t>{0, 0, 0, 0, 4, 0, 0}));
  EXPECT_TRUE(rig.boxes.empty());

  // Start left and right points together: the start plane and ground triangle B.
  const Sectors pinched = test::BuildSectorChain({{0, 0, 0}, {100, 50, 0}}, {{0, 0, 0}, {100, 0, 0}},
                                                 {{0, 0, 0}, {100, -50, 0}}, false);
  EXPECT_EQ(rig.boxes, std::vector<test::Box>(2, {"Box", "Ai::N_AiPath: Failed computing planes."}));
  EXPECT_EQ(pinched[0]->GetPlane(N_AiSector::kStart).normal.x, 0.0f);
  EXPECT_EQ(pinched[0]->GetPlane(N_AiSector::kGroundB).normal.z, 0.0f);
  EXPECT_NE(pinched[0]->GetPlane(N_AiSector::kGroundA).normal.z, 0.0f);
  EXPECT_EQ(pinched[0]->Length(), 100.0f);

  // An ideal point 0.2 off its start plane: asked, answered No, building goes on.
  rig.boxes.clear();
  const Sectors off = test::BuildSectorChain({{0, 50, 0}, {100, 50, 0}}, {{0.2f, 0, 0}, {100, 0, 0}},
                                             {{0, -50, 0}, {100, -50, 0}}, false);
  const std::string question = "Zle polozeny ideal point. \nPozicia bodu: 0.2 0.0 0.0 \nDistance: 0.20";
  EXPECT_EQ(rig.boxes, (std::vector<test::Box>{{"Error", question + "\nExit ?"}}));
  EXPECT_NE(rig.dir.Read("Ai.log").find(question + "\n"), std::string::npos);
  EXPECT_NEAR(off[0]->Length(), 99.8f, 1e-4);
}

TEST(AiSectorDeathTest, YesToAFaultyIdealPointEndsWithCodeFive) {
  test::RaceRig rig;
  rig.answer = IDYES;
  EXPECT_EXIT(test::BuildSectorChain({{0, 50, 0}, {100, 50, 0}}, {{0, 0, 0}, {103, 0, 0}},
                                     {{0, -50, 0}, {100, -50, 0}}, false),
              testing::ExitedWithCode(5), "");
}

}  // namespace
