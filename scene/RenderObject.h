#pragma once
// N_RenderObject: a drawable of the level render list (scene/LevelObjectList.h): a
// bounding box, a world matrix, render flags, an optional sound and an optional
// keyframe path along which it moves. Rendering one draws nothing at once: it queues
// its world matrix on the surfaces it uses, which the render list then draws surface
// by surface. Made by the level loader, owned by the render list (or, for a level
// camera, by the camera).
#include "core/Matrix4.h"
#include "core/Vector3.h"
#include "scene/CameraPath.h"

#include <cstdint>
#include <memory>

class N_RenderObject {
 public:
  /// Kinds: a run of the level's own surfaces, or a LOD object's meshes.
  static constexpr std::uint32_t kMeshObject = 1;
  static constexpr std::uint32_t kLodObject = 3;

  N_RenderObject() = default;
  /// Deletes the path and releases the sound when there is one (handle not 0).
  virtual ~N_RenderObject();
  N_RenderObject(const N_RenderObject&) = delete;
  N_RenderObject& operator=(const N_RenderObject&) = delete;

  /// Queues the object's world matrix for this frame at the distance along the view,
  /// with levels of detail below the minimum skipped. Nothing in the base.
  virtual void Render(float distance, std::int32_t minimumLevel);
  /// Takes the box (min x, y, z, max x, y, z), flags and kind; the world matrix becomes
  /// the transposed matrix with element 15 = 1; the world box, centre and radius are the
  /// local ones (the box is not turned). Keeps the sound handle.
  virtual void SetTransform(const float* box, std::uint32_t flags, std::uint32_t kind, const N_Matrix4& matrix,
                            std::int32_t soundHandle);

  std::int32_t identifier = -1;  ///< not used by the level's drawables
  float value = -1.0f;           ///< not used by the level's drawables
  std::int32_t sound = 0;        ///< sound instance handle, 0 = none
  /// Render flags: byte 0 the track mode (0 = any), byte 1 the detail threshold (0 = always).
  std::uint32_t flags = 0;
  float box[6] = {};       ///< local bounding box: min x, y, z, max x, y, z
  float worldBox[6] = {};  ///< the box in the world
  N_Vector3 centre;        ///< centre of the local box
  float radius = 0.0f;     ///< half the local box's diagonal
  N_Vector3 worldCentre;
  float worldRadius = 0.0f;
  N_Matrix4 worldMatrix;  ///< row-vector form: the translation in elements 12-14
  std::unique_ptr<N_CameraPath> path;  ///< null: the object does not move
  std::uint32_t kind = 0;              ///< kMeshObject or kLodObject

 protected:
  /// SetTransform without the sound.
  void SetPlacement(const float* box, std::uint32_t flags, std::uint32_t kind, const N_Matrix4& matrix);
};
