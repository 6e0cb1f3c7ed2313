#include "scene/Level.h"

#include <gtest/gtest.h>

namespace {

TEST(LevelPointSets, BuiltSetsAreFoundByNameTheFirstOfANameAndTheCountWrittenOnlyWhenFound) {
  N_Level level;
  std::int32_t count = -7;
  EXPECT_EQ(level.FindPointSet("Path_Normal_Left", &count), nullptr) << "an empty level";
  level.AddPointSet("Path_Normal_Left", {{1, 2, 3}, {4, 5, 6}});
  level.AddPointSet("PATH_normal_left", {{9, 9, 9}});
  level.AddPointSet("Empty", {});
  const N_Vector3* first = level.FindPointSet("path_NORMAL_left", &count);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(first[1].z, 6.0f);
  count = -7;
  EXPECT_EQ(level.FindPointSet("Path_Normal", &count), nullptr);
  EXPECT_EQ(level.FindPointSet(nullptr, &count), nullptr);
  EXPECT_EQ(count, -7);
  EXPECT_NE(level.FindPointSet("empty", &count), nullptr) << "found, with nothing to read";
  EXPECT_EQ(count, 0);

}

}  // namespace
