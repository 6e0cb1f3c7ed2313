#pragma once
// N_CameraMng: the three camera controllers and the view mode that picks the one the
// frame is seen through: 0 the race camera, 2 the shake camera, any other value (1,
// the normal view) the free camera. The world owns it (recreated with every level),
// lets it check its controllers and set them up after a level load, and per frame has
// it read "viewmode" and update the controller of the mode; the world's render asks
// the controllers for the camera to draw from.
#include "scene/FreeCameraController.h"
#include "scene/RaceCamera.h"
#include "scene/ShakeCamera.h"

#include <cstdint>
#include <memory>

class N_CameraMng {
 public:
  /// View mode 1, then the three controllers, then the view mode from "viewmode".
  N_CameraMng();
  N_CameraMng(const N_CameraMng&) = delete;
  N_CameraMng& operator=(const N_CameraMng&) = delete;

  /// Creates any controller that is missing.
  void CheckControllers();
  /// The race camera on "CameraPath_Menu", the shake and free cameras.
  void Setup();
  /// The controller of the view mode.
  void Update(float frameTime);
  /// View mode := "viewmode".
  void ReadViewMode();
  /// The race camera's fly-by mode (the menus and the result board choose it).
  void SetRaceCameraMode(std::int32_t mode);

  std::int32_t ViewMode() const { return m_viewMode; }
  /// Whether the mouse turns the camera of the view mode: the aim of view mode 2, or
  /// the free camera while "FreeCamera" is on.
  bool TurnsWithMouse() const;
  N_RaceCamera& RaceController() { return *m_race; }
  N_FreeCameraController& FreeController() { return *m_free; }
  N_ShakeCamera& ShakeController() { return *m_shake; }

 private:
  std::unique_ptr<N_RaceCamera> m_race;
  std::unique_ptr<N_FreeCameraController> m_free;
  std::unique_ptr<N_ShakeCamera> m_shake;
  std::int32_t m_viewMode = 1;
};
