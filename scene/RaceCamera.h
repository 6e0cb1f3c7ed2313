#pragma once
// N_RaceCamera: the camera behind the menus and of the fly-bys before a race. In mode 0
// its own camera glides along a closed spline through the level's point set
// "CameraPath_Menu"; in modes 1 to 3 the frame is seen through one of the level's
// fly-by cameras (sprint, hunting, relay) while its keyframe path plays, and when the
// path reaches its last segment the race camera hands over to the free camera
// ("viewmode" 1), unpauses the running game and goes back to mode 0.
//
// Update, mode 0 (with a path and a frame time of at least 0.0001 s):
//   1. the fraction grows by frame time x speed / the current segment's length; whole
//      segments carry over (segments of no length are passed over; the fraction is not
//      rescaled to the next segment's length);
//   2. the target becomes the spline point there;
//   3. the sound listener stands at the target, facing its movement;
//   4. the camera follows the target.
// Owned by the camera manager; the level and the running game are the world's (g_scene).
#include "render/Camera.h"
#include "scene/CameraController.h"

#include <cstdint>
#include <vector>

class N_CameraMng;
class N_LevelCamera;

class N_RaceCamera final : public N_CameraController {
 public:
  /// A spline point and the length of the segment that starts there.
  struct Sample {
    N_Vector3 point;
    float length = 0.0f;
  };
  enum Mode : std::int32_t { kSpline = 0, kSprint = 1, kHunting = 2, kRelay = 3 };
  static constexpr float kDefaultSpeed = 120.0f;
  /// Steps of t over which a segment's length is measured.
  static constexpr int kLengthSteps = 250;
  static constexpr float kLengthStep = 0.004f;

  /// Mode 0, no path, the speed from "rychlostkamery" (120 when it reads 0, as it does
  /// where the variable does not exist).
  explicit N_RaceCamera(N_CameraMng& manager);

  /// The path from the point set (4 points at least; fewer or none leave no path),
  /// the own camera settled behind the path's start over 200 updates of 0.1 s, and the
  /// level's fly-by cameras; a fly-by camera without a path is critical. The own
  /// camera gets its projection even without a path. A null name does nothing.
  void Setup(const char* pathName) override;
  void Update(float frameTime) override;
  bool IsReady() override { return true; }
  void Render(float) override {}

  /// Stores the mode and rewinds the fly-by cameras' paths.
  void SetMode(std::int32_t mode);
  /// Mode 1 the sprint camera, 2 the hunting camera, 3 the relay camera (null when the
  /// level has none), otherwise the own camera.
  N_Camera* GetActiveCamera();
  /// Seconds of the fly-by path of a race kind: 1 and 2 the relay camera's, 3 the
  /// hunting camera's, 4 the sprint camera's; 0 for others or without the camera.
  float GetPathDuration(std::int32_t raceKind) const;

  N_Camera& OwnCamera() { return m_camera; }
  std::int32_t Mode() const { return m_mode; }
  float Speed() const { return m_speed; }
  const std::vector<Sample>& Samples() const { return m_samples; }
  std::size_t CurrentSample() const { return m_currentSample; }
  float Fraction() const { return m_fraction; }
  const N_Vector3& Target() const { return m_target; }
  const N_Vector3& PreviousTarget() const { return m_previousTarget; }
  N_LevelCamera* SprintCamera() const { return m_sprint; }
  N_LevelCamera* HuntingCamera() const { return m_hunting; }
  N_LevelCamera* RelayCamera() const { return m_relay; }

 private:
  void MeasurePath(const N_Vector3* points, std::int32_t count);
  void FindLevelCameras();
  void UpdateSpline(float frameTime);
  void UpdateFlyBy(float frameTime);
  /// The camera's position, view and axes from its placed drawable: the view is the
  /// exact inverse of the drawable's world matrix.
  void SetViewFromLevelCamera(N_LevelCamera& camera);
  /// The fly-by has reached its last segment: the free camera takes over at `position`.
  void HandOver(const N_Vector3& position);
  N_LevelCamera* LevelCameraOfMode() const;
  N_Vector3 SplinePoint(std::size_t segment, float t) const;
  /// The next segment (wrapping) that has a length.
  std::size_t NextSegment(std::size_t segment) const;
  void PlaceListener();

  N_CameraMng& m_manager;
  N_Camera m_camera;
  std::vector<Sample> m_samples;
  /// Segments with a length (the others are passed over); 0: the camera stays.
  std::size_t m_measuredSegments = 0;
  N_Vector3 m_target;
  N_Vector3 m_previousTarget;
  float m_speed = kDefaultSpeed;
  std::size_t m_currentSample = 0;
  float m_fraction = 0.0f;
  N_LevelCamera* m_sprint = nullptr;
  N_LevelCamera* m_hunting = nullptr;
  N_LevelCamera* m_relay = nullptr;
  std::int32_t m_mode = kSpline;
};
