#include "scene/RaceCamera.h"

#include "core/Globals.h"
#include "core/VarMng.h"
#include "scene/CameraMng.h"
#include "scene/FreeCameraController.h"
#include "scene/Game.h"
#include "scene/Level.h"
#include "scene/LevelCamera.h"
#include "scene/SceneAccess.h"
#include "scene/SceneHelpers.h"
#include "sound/SoundMng.h"

#include <cmath>

namespace {

constexpr float kMinimumFrameTime = 0.0001f;
constexpr int kSettleUpdates = 200;
constexpr float kSettleFrameTime = 0.1f;
/// The follow spring: stiffness, damping, distance.
constexpr float kFollowStiffness = 2.5f;
constexpr float kFollowDamping = 0.5f;
constexpr float kFollowDistance = 1.0f;
constexpr float kFieldOfView = 50.0f;
constexpr float kNear = 40.0f;
constexpr float kOwnFar = 74000.0f;
constexpr float kLevelCameraFar = 70000.0f;
/// A segment shorter than this is passed over: dividing by it would carry the
/// fraction past any number of segments.
constexpr float kShortestSegment = 1e-6f;

}  // namespace

N_RaceCamera::N_RaceCamera(N_CameraMng& manager) : m_manager(manager) {
  m_camera.angleX = 90.0f;
  const float speed = SceneVarFloat("rychlostkamery");
  m_speed = speed != 0.0f ? speed : kDefaultSpeed;
}

void N_RaceCamera::Setup(const char* pathName) {
  if (!pathName) return;
  m_samples.clear();
  m_measuredSegments = 0;
  m_currentSample = 0;
  m_fraction = 0.0f;
  m_sprint = m_hunting = m_relay = nullptr;
  // The own camera is a working camera with or without a path ("viewmode" 0 draws
  // through it either way).
  const auto width = float(SceneVarInt("v_width")), height = float(SceneVarInt("v_height"));
  m_camera.SetProjection(kFieldOfView, width, height, 0.0f, 0.0f);
  m_camera.UpdateProjection(kNear, kOwnFar);
  m_target = {};
  m_previousTarget = {};
  const N_Vector3 eye{0.0f, 0.0f, 1.0f};
  m_camera.LookAt(&eye, &m_target);

  std::int32_t count = 0;
  const N_Vector3* points = g_scene.level ? g_scene.level->FindPointSet(pathName, &count) : nullptr;
  if (!points || count < 4) return;
  MeasurePath(points, count);
  for (int i = 0; i < kSettleUpdates; ++i) UpdateSpline(kSettleFrameTime);
  FindLevelCameras();
}

// Segment i runs from point i to point i + 1 on the Catmull-Rom curve through points
// i - 1 to i + 2, indices wrapping: the path is closed.
void N_RaceCamera::MeasurePath(const N_Vector3* points, std::int32_t count) {
  const auto n = static_cast<std::size_t>(count);
  m_samples.resize(n);
  for (std::size_t i = 0; i < n; ++i) m_samples[i].point = points[i];
  auto same = [](const N_Vector3& a, const N_Vector3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; };
  for (std::size_t i = 0; i < n; ++i) {
    // Four equal points make a segment of no length (measured, the curve's rounding
    // would give it a length of a few millionths).
    const N_Vector3& p1 = points[i];
    if (same(points[(i + n - 1) % n], p1) && same(points[(i + 1) % n], p1) && same(points[(i + 2) % n], p1)) {
      m_samples[i].length = 0.0f;
      continue;
    }
    float length = 0.0f;
    N_Vector3 from = SplinePoint(i, 0.0f);
    for (int step = 0; step < kLengthSteps; ++step) {
      const N_Vector3 to = SplinePoint(i, float(step + 1) * kLengthStep);
      const N_Vector3 d = to - from;
      length += std::sqrt(Vec3Dot(d, d));
      from = to;
    }
    m_samples[i].length = length;
    if (length >= kShortestSegment) ++m_measuredSegments;
  }
}

void N_RaceCamera::FindLevelCameras() {
  N_Level* level = g_scene.level;
  if (!level) return;
  m_sprint = level->FindCamera("Camera_Sprint");
  m_hunting = level->FindCamera("Camera_Hunting");
  m_relay = level->FindCamera("Camera_Relay");
  const auto width = float(SceneVarInt("v_width")), height = float(SceneVarInt("v_height"));
  for (N_LevelCamera* camera : {m_sprint, m_hunting, m_relay}) {
    if (!camera) continue;
    camera->SetProjection(kFieldOfView, width, height, 0.0f, 0.0f);
    camera->UpdateProjection(kNear, kLevelCameraFar);
  }
  if (m_sprint && !m_sprint->path) SceneCritical(0, "Kamera Sprint nema kontroler!\n");
  if (m_hunting && !m_hunting->path) SceneCritical(0, "Kamera Hunting nema kontroler!\n");
  if (m_relay && !m_relay->path) SceneCritical(0, "Kamera Relay nema kontroler!\n");
}

N_Vector3 N_RaceCamera::SplinePoint(std::size_t segment, float t) const {
  const std::size_t n = m_samples.size();
  N_Vector3 out;
  out.CatmullRom(m_samples[(segment + n - 1) % n].point, m_samples[segment].point, m_samples[(segment + 1) % n].point,
                 m_samples[(segment + 2) % n].point, t);
  return out;
}

std::size_t N_RaceCamera::NextSegment(std::size_t segment) const {
  do {
    segment = (segment + 1) % m_samples.size();
  } while (m_samples[segment].length < kShortestSegment);
  return segment;
}

void N_RaceCamera::Update(float frameTime) {
  if (m_mode == kSpline) {
    UpdateSpline(frameTime);
  } else {
    UpdateFlyBy(frameTime);
  }
}

void N_RaceCamera::UpdateSpline(float frameTime) {
  if (m_measuredSegments == 0 || !(frameTime >= kMinimumFrameTime)) return;
  if (m_samples[m_currentSample].length < kShortestSegment) {
    m_currentSample = NextSegment(m_currentSample);
    m_fraction = 0.0f;
  }
  // The whole segments crossed are counted at once (the same as taking 1.0 off at a
  // time while the fraction exceeds 1.0), so a long frame costs no more than a short one.
  const double fraction =
      double(m_fraction) + double(frameTime) * double(m_speed) / double(m_samples[m_currentSample].length);
  if (!std::isfinite(fraction)) return;
  double crossed = fraction > 1.0 ? std::ceil(fraction) - 1.0 : 0.0;
  m_fraction = static_cast<float>(fraction - crossed);
  crossed = std::fmod(crossed, double(m_measuredSegments));
  for (auto n = static_cast<std::size_t>(crossed); n > 0; --n) m_currentSample = NextSegment(m_currentSample);

  m_previousTarget = m_target;
  m_target = SplinePoint(m_currentSample, m_fraction);
  PlaceListener();
  m_camera.FollowTarget(&m_target, &m_previousTarget, frameTime, kFollowStiffness, kFollowDamping, kFollowDistance);
}

// The listener faces the target's movement since the last update ((1, 0, 0) while it
// stands) and moves with it.
void N_RaceCamera::PlaceListener() {
  if (!g_soundMng) return;
  const N_Vector3 movement = m_target - m_previousTarget;
  N_Vector3 forward = movement;
  forward.Normalize();
  const float position[3] = {m_target.x, m_target.y, m_target.z};
  const float facing[3] = {forward.x, forward.y, forward.z};
  const float velocity[3] = {movement.x, movement.y, movement.z};
  g_soundMng->SetListener(position, facing, velocity);
}

void N_RaceCamera::UpdateFlyBy(float frameTime) {
  N_LevelCamera* camera = LevelCameraOfMode();
  if (!camera || !camera->path) return;
  const std::int32_t lastSegment = camera->path->Evaluate(*camera, frameTime);
  SetViewFromLevelCamera(*camera);
  if (lastSegment) HandOver(camera->position);
}

void N_RaceCamera::SetViewFromLevelCamera(N_LevelCamera& camera) {
  const float* w = camera.worldMatrix.m;  // row-vector form: rotation rows, then the position
  const N_Vector3 p{w[12], w[13], w[14]};
  camera.position = p;
  N_Matrix4 view;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) view.m[4 * r + c] = w[4 * c + r];
  }
  for (int c = 0; c < 3; ++c) {
    view.m[12 + c] = -(p.x * view.m[c] + p.y * view.m[4 + c] + p.z * view.m[8 + c]);
  }
  camera.view = view;
  camera.viewValid = 1;
  camera.axisX = {view.m[0], view.m[4], view.m[8]};
  camera.axisY = {view.m[1], view.m[5], view.m[9]};
  camera.axisZ = {view.m[2], view.m[6], view.m[10]};
}

void N_RaceCamera::HandOver(const N_Vector3& position) {
  if (g_varMng) g_varMng->SetInt("viewmode", 1, 0x02);
  m_manager.ReadViewMode();
  m_mode = kSpline;
  if (g_scene.game) g_scene.game->SetPaused(0);
  N_Camera& free = m_manager.FreeController().Camera();
  free.position = position;
  free.UpdateView();
}

N_LevelCamera* N_RaceCamera::LevelCameraOfMode() const {
  switch (m_mode) {
    case kSprint: return m_sprint;
    case kHunting: return m_hunting;
    case kRelay: return m_relay;
    default: return nullptr;
  }
}

void N_RaceCamera::SetMode(std::int32_t mode) {
  m_mode = mode;
  for (N_LevelCamera* camera : {m_sprint, m_hunting, m_relay}) {
    if (camera && camera->path) camera->path->Reset();
  }
}

N_Camera* N_RaceCamera::GetActiveCamera() {
  switch (m_mode) {
    case kSprint: return m_sprint;
    case kHunting: return m_hunting;
    case kRelay: return m_relay;
    default: return &m_camera;
  }
}

float N_RaceCamera::GetPathDuration(std::int32_t raceKind) const {
  const N_LevelCamera* camera = nullptr;
  switch (raceKind) {
    case 1:
    case 2: camera = m_relay; break;
    case 3: camera = m_hunting; break;
    case 4: camera = m_sprint; break;
    default: return 0.0f;
  }
  return camera && camera->path ? camera->path->GetDuration() : 0.0f;
}
