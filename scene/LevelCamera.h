#pragma once
// N_LevelCamera: a named fly-by camera of the level ("Camera_Sprint", "Camera_Hunting",
// "Camera_Relay"). It is a camera (the race camera draws the frame through it while its
// fly-by runs) and a drawable whose keyframe path (N_RenderObject::path, set by the
// level loader) moves it; the race camera advances the path and takes the view from
// the placed drawable. Never drawn. Owned by the level.
#include "render/Camera.h"
#include "scene/LevelRecords.h"
#include "scene/RenderObject.h"

class N_LevelCamera final : public N_Camera, public N_RenderObject {
 public:
  N_LevelCamera() = default;
  ~N_LevelCamera() override = default;

  /// Does nothing: a level camera is never drawn.
  void Render(float distance, std::int32_t minimumLevel) override;

  /// Copies the name, cut to the field and terminated.
  void SetName(const char* name);
  const char* Name() const { return name; }

  char name[levelfile::kNameSize] = {};
};
