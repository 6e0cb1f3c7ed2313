#pragma once
// A level filled in memory, without a level file or a render device: the records the
// loader would read (point sets, lights, triggers, emitter placements, fly-by cameras
// with their paths, surfaces over the level's arrays), for the tests of the level, the
// cameras and whatever asks the level by name.
#include "core/Quaternion.h"
#include "core/Vector3.h"
#include "scene/CameraPath.h"
#include "scene/Level.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class N_LevelCamera;

namespace test {

class LevelBuilder {
 public:
  explicit LevelBuilder(N_Level& level) : m_level(level) {}

  /// A named run of points appended to the level's points.
  LevelBuilder& PointSet(const std::string& name, const std::vector<N_Vector3>& points);
  LevelBuilder& Light(const std::string& name, const N_Vector3& position, const N_Vector3& target = {},
                      const std::array<float, 3>& colour = {1.0f, 1.0f, 1.0f});
  /// A trigger whose box is centred on the position (unit axes, half extents 1).
  LevelBuilder& Trigger(const std::string& name, const N_Vector3& position);
  /// An emitter placement of the template at the position, spawning in the box
  /// (min x, y, z, max x, y, z).
  LevelBuilder& Emitter(const std::string& name, const std::string& templateName, const N_Vector3& position,
                        const std::array<float, 6>& box = {});
  /// A fly-by camera; with keys it moves along a path of them (play mode, keys a second).
  N_LevelCamera& Camera(const std::string& name, const std::vector<N_PathKey>& keys = {},
                        std::uint32_t playMode = N_CameraPath::kPlayOnce, float rate = 10.0f);
  /// A triangle-list surface over the given vertices and indices (indices counting
  /// from its first vertex), appended to the level's arrays; the shader handle as given.
  N_MeshSurface& Surface(int shader, const std::vector<N_Vector3>& positions,
                         const std::vector<std::uint16_t>& indices);

  N_Level& level() { return m_level; }

 private:
  N_Level& m_level;
};

/// A name copied into a 128-byte field (cut, terminated).
void CopyName(char (&field)[128], const std::string& name);

}  // namespace test
