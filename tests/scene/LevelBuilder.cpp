#include "tests/scene/LevelBuilder.h"

#include "scene/LevelCamera.h"

#include <cstring>
#include <memory>

namespace test {

void CopyName(char (&field)[128], const std::string& name) {
  std::memset(field, 0, sizeof field);
  std::memcpy(field, name.data(), std::min(name.size(), sizeof field - 1));
}

LevelBuilder& LevelBuilder::PointSet(const std::string& name, const std::vector<N_Vector3>& points) {
  N_Level::PointSet set;
  CopyName(set.name, name);
  set.firstPoint = static_cast<std::uint32_t>(m_level.points.size());
  set.pointCount = static_cast<std::uint32_t>(points.size());
  m_level.points.insert(m_level.points.end(), points.begin(), points.end());
  m_level.pointSets.push_back(set);
  return *this;
}

LevelBuilder& LevelBuilder::Light(const std::string& name, const N_Vector3& position, const N_Vector3& target,
                                  const std::array<float, 3>& colour) {
  N_LevelLight light;
  CopyName(light.name, name);
  light.position = position;
  light.target = target;
  for (int c = 0; c < 3; ++c) light.colour[c] = colour[std::size_t(c)];
  m_level.lights.push_back(light);
  return *this;
}

LevelBuilder& LevelBuilder::Trigger(const std::string& name, const N_Vector3& position) {
  N_LevelTrigger trigger;
  CopyName(trigger.name, name);
  const float box[15] = {position.x, position.y, position.z, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 1};
  std::memcpy(trigger.box, box, sizeof box);
  m_level.triggers.push_back(trigger);
  return *this;
}

LevelBuilder& LevelBuilder::Emitter(const std::string& name, const std::string& templateName,
                                    const N_Vector3& position, const std::array<float, 6>& box) {
  N_LevelEmitter emitter;
  CopyName(emitter.name, name);
  CopyName(emitter.particleSystem, templateName);
  emitter.position = position;
  for (int i = 0; i < 6; ++i) emitter.box[i] = box[std::size_t(i)];
  m_level.emitters.push_back(emitter);
  return *this;
}

N_LevelCamera& LevelBuilder::Camera(const std::string& name, const std::vector<N_PathKey>& keys,
                                    std::uint32_t playMode, float rate) {
  auto camera = std::make_unique<N_LevelCamera>();
  camera->SetName(name.c_str());
  if (!keys.empty()) {
    camera->path = std::make_unique<N_CameraPath>(keys.data(), static_cast<std::uint32_t>(keys.size()), playMode, rate);
  }
  m_level.cameras.push_back(std::move(camera));
  return *m_level.cameras.back();
}

N_MeshSurface& LevelBuilder::Surface(int shader, const std::vector<N_Vector3>& positions,
                                     const std::vector<std::uint16_t>& indices) {
  N_MeshSurface surface;
  surface.type = 3;
  surface.shader = shader;
  surface.primitiveType = static_cast<std::int32_t>(SurfacePrimitive::TriangleList);
  surface.vertexOffset = static_cast<std::uint32_t>(m_level.vertices.size());
  surface.indexOffset = static_cast<std::uint32_t>(m_level.indices.size());
  surface.vertexCount = static_cast<std::uint32_t>(positions.size());
  surface.indexCount = static_cast<std::uint16_t>(indices.size());
  surface.indexed = 1;
  for (const N_Vector3& p : positions) {
    N_SurfaceVertex vertex{};
    vertex.position[0] = p.x;
    vertex.position[1] = p.y;
    vertex.position[2] = p.z;
    vertex.colour = 0xFFFFFFFF;
    m_level.vertices.push_back(vertex);
  }
  m_level.indices.insert(m_level.indices.end(), indices.begin(), indices.end());
  m_level.surfaces.push_back(surface);
  return m_level.surfaces.back();
}

}  // namespace test
