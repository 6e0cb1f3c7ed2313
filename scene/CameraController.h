#pragma once
// N_CameraController: one way of moving the cameras the frame is seen through (the race
// camera, the free camera, the shake camera of the shooting range). The camera manager
// (scene/CameraMng.h) owns one of each and updates the one of the view mode per frame.
class N_CameraController {
 public:
  virtual ~N_CameraController() = default;
  /// Prepares the controller after a level load; the path name may be null.
  virtual void Setup(const char* pathName) = 0;
  /// Per frame, with the frame time in seconds: moves the controller's cameras.
  virtual void Update(float frameTime) = 0;
  /// True for the race and shake cameras, false for the free camera.
  virtual bool IsReady() = 0;
  /// Draws what the controller carries (only the shake camera draws: the rifle).
  virtual void Render(float frameTime) = 0;
};
