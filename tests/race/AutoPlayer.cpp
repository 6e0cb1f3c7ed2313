#include "tests/race/AutoPlayer.h"

#include "core/KeyDefinitions.h"
#include "platform/dinput8/ScriptedInput.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "race/ShootLane.h"
#include "race/Shooter.h"
#include "race/ShootingRange.h"
#include "race/Sipka.h"
#include "race/World.h"
#include "race/ai/AiPath.h"
#include "race/ai/AiSector.h"
#include "render/Camera.h"
#include "scene/AnimInstance.h"
#include "scene/AnimObject.h"
#include "scene/SceneAccess.h"
#include "scene/ShakeCamera.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace test {

namespace {

constexpr float kRadToDeg = 57.29578f;
constexpr float kInchesPerMetre = 39.37f;
/// How the player feels his skis: the turn rate of skating and the rate at which the
/// steering goes back to straight once the key is let go.
constexpr float kTurnRate = 1.2f;
constexpr float kSteerReturn = 5.0f;
/// He looks this far ahead along the course, plus this many seconds of his speed.
constexpr float kLookAhead = 150.0f;
constexpr float kLookAheadSeconds = 0.6f;
/// Seconds between his decisions on the turn keys.
constexpr float kReaction = 0.1f;
/// Degrees off the line he lets pass while skiing, and when turning to his targets.
constexpr float kSkiDeadBand = 2.0f;
constexpr float kStandDeadBand = 3.0f;
/// Degrees a mouse unit turns the aim; he fires once the aim is this close (degrees):
/// well inside the target (its radius of 4.7 units at 1,968 is 0.14 degrees), for the
/// sight sways on before the shot is judged.
constexpr float kMouseDegrees = 0.005f;
constexpr float kFireWithin = 0.05f;
/// Units above a target that a shot meant to miss goes (its sphere's radius is 4.7).
constexpr float kOverTheTarget = 25.0f;
/// A cartridge is in once the reload has run; none before it has begun.
constexpr float kLoaded = 1.0f;
constexpr float kEmpty = 0.01f;
/// Pixels the arrow's box may lie off the screen's middle before he turns to it, and
/// its share of the box's width: near the mat a large box.
constexpr float kArrowDeadBand = 12.0f;
constexpr float kArrowDeadShare = 0.35f;
/// Frames ahead he judges where the arrow's box is going.
constexpr float kArrowLead = 6.0f;
/// Below this speed (m/s) he turns about rather than brake.
constexpr float kTurnAboutSpeed = 1.0f;
/// After a standing series he holds the right key alone this long (a quarter turn on
/// the spot, from the targets); forward alone after a series lasts at most this long.
constexpr float kTurnFromTargets = 1.1f;
constexpr float kOnwardsLimit = 240.0f;
/// A skier is in the way when he is ahead within this many seconds of the player's
/// speed and this near the line (the racers collide at 40.0); the player aims past him,
/// this far beside and beyond him.
constexpr float kWatchSeconds = 1.5f;
constexpr float kInTheWay = 80.0f;
constexpr float kPassBeside = 100.0f;
constexpr float kPassBeyond = 100.0f;
constexpr float kStraightBehind = 30.0f;
/// Within this distance of the range he lines up along the course and passes nobody.
constexpr float kLineUp = 1000.0f;

float Degrees(float radians) { return radians * kRadToDeg; }

/// The signed angle in the ground plane from a to b, positive counter-clockwise.
float PlanAngle(const N_Vector3& a, const N_Vector3& b) {
  return std::atan2(a.x * b.y - a.y * b.x, a.x * b.x + a.y * b.y);
}

/// The camera the shot is taken along: the frame's, else the range's.
const N_Camera* AimCamera() {
  if (g_scene.camera) return g_scene.camera;
  return g_world ? &g_world->CameraMng().ShakeController().MainCamera() : nullptr;
}

/// The point of the racer's path the given distance ahead of it along the ideal line.
N_Vector3 CourseAhead(const N_Racer& racer, float distance) {
  const Ai::N_AiSector* sector = racer.Sector;
  if (!sector) return racer.Pos;
  float need = Vec3Dot(racer.Pos - sector->GetIdealPoint(false), sector->Direction()) + distance;
  while (need > sector->Length() && sector->Next()) {
    need -= sector->Length();
    sector = sector->Next();
  }
  return sector->GetIdealPoint(false) + sector->Direction() * std::min(need, sector->Length());
}

/// The lane arrow's figure as the markers place it, through the camera; none while a
/// point of it lies behind the camera.
std::optional<ScreenBox> ArrowOnScreen(const N_AnimObject& figure, const N_Sipka& markers, const N_Camera& camera) {
  float left = 1e30f, right = -1e30f, bottom = 1e30f, top = -1e30f;
  for (const N_Vector3& local : figure.Positions()) {
    N_Vector3 p;
    markers.ArrowRotation().Transform(local, p);
    p = p + markers.ArrowPlace();
    // Row vectors: world times view times projection.
    const float world[4] = {p.x, p.y, p.z, 1.0f};
    float eye[4] = {}, clip[4] = {};
    for (int j = 0; j < 4; ++j)
      for (int i = 0; i < 4; ++i) eye[j] += world[i] * camera.view.m[4 * i + j];
    for (int j = 0; j < 4; ++j)
      for (int i = 0; i < 4; ++i) clip[j] += eye[i] * camera.projection.m[4 * i + j];
    if (clip[3] <= 0.0f) return std::nullopt;
    left = std::min(left, clip[0] / clip[3] * 400.0f), right = std::max(right, clip[0] / clip[3] * 400.0f);
    bottom = std::min(bottom, clip[1] / clip[3] * 300.0f), top = std::max(top, clip[1] / clip[3] * 300.0f);
  }
  const float height = std::min(top, 300.0f) - std::max(bottom, -300.0f);
  const bool on = std::min(right, 400.0f) > std::max(left, -400.0f) && height > 0.0f;
  return ScreenBox{.onScreen = on, .centreX = (left + right) * 0.5f, .width = right - left, .height = on ? height : 0.0f};
}

}  // namespace

AutoPlayer::AutoPlayer(platform::ScriptedInput& input, const N_RaceSim& race, Ai::N_AiPath& path,
                       int missesPerSeries, float beside)
    : m_input(input), m_race(race), m_racer(*race.Followed()), m_path(path), m_missesPerSeries(missesPerSeries),
      m_beside(beside) {}

void AutoPlayer::Key(int action, bool down) {
  const auto key = static_cast<BYTE>(g_keyDefinitions[action]);
  if (down) {
    m_input.KeyDown(key);
  } else {
    m_input.KeyUp(key);
  }
}

void AutoPlayer::Frame() {
  Key(key_action::kForward, false);
  Key(key_action::kBrake, false);
  m_left = m_right = false;
  LookAtTheArrow();
  const bool clicked = m_clicked;
  if (clicked) {
    m_input.ButtonUp(0);
    m_input.ButtonUp(1);
    m_clicked = false;
  }
  if (!m_racer.Finished && !m_racer.Stopped && !clicked) Act();
  Key(key_action::kLeft, m_left);
  Key(key_action::kRight, m_right);
}

void AutoPlayer::LookAtTheArrow() {
  const N_Sipka& markers = m_race.Markers();
  const N_AnimationFactory* set = markers.SetAt(N_Sipka::kArrow);
  const N_AnimInstance* instance = set ? set->Instance(markers.ArrowInstance()) : nullptr;
  const N_AnimObject* figure = instance ? set->Mesh(instance->mesh) : nullptr;
  if (!figure) return;
  // The figure's clock runs only while the arrow is drawn.
  const float clock = float(instance->channel1.frameA) + instance->channel1.fraction;
  m_arrowDrawn = m_arrowClock >= 0.0f && clock != m_arrowClock;
  m_arrowClock = clock;
  if (!m_arrowDrawn || !g_scene.camera) return;
  // Behind the camera it is on the side it went out of.
  m_arrowBox = ArrowOnScreen(*figure, markers, *g_scene.camera).value_or(ScreenBox{.centreX = m_arrowBox.centreX});
}

void AutoPlayer::Act() {
  const N_Racer& r = m_racer;
  if (m_arrowDrawn) {
    FollowTheArrow();
    return;
  }
  if (r.ShootPhase >= 3 && r.ShootPhase <= 8) {
    m_beside = 0.0f;  // only his first way in
    if (r.Stance != 0) m_seriesStance = r.Stance;
    m_seriesEnd = r.Time;
    m_seriesLaps = r.LapsDone;
    m_looped = false;
  }
  // After a series, forward alone (a standing one's turn from the targets first) until
  // he is back on the course after the loops he owes, which the board shows, or at the
  // next lap.
  const float since = r.Time - m_seriesEnd;
  const bool loop = r.Sector && r.Sector->PathKind() == Ai::kPathPenalty;
  m_looped = m_looped || loop;
  const bool back = m_looped ? !loop && r.PenaltyLoops == 0 : r.LapsDone != m_seriesLaps;
  if (r.ShootPhase == 9 && m_seriesStance != 0 && !back && since <= kOnwardsLimit) {
    m_right = m_seriesStance == 1 && since < kTurnFromTargets;
    return Key(key_action::kForward, !m_right);
  }
  if (r.ShootPhase == 9) m_seriesStance = 0;
  if (r.ShootPhase <= 1 || (r.ShootPhase == 9 && r.Stance != 0)) {
    Key(key_action::kForward, true);  // his lane or his stance given, the arrow yet to be drawn
    return;
  }
  switch (r.ShootPhase) {
    case 3: {
      // Standing he faces his targets; prone he lies square to them, they on his left.
      const N_Vector3* targets = r.Lane ? r.Lane->TargetPosition(N_ShootLane::kTargetCount / 2) : nullptr;
      if (!targets) break;
      const N_Vector3 to = *targets - r.Pos;
      TurnTowards(r.Stance == 1 ? *targets : r.Pos + N_Vector3{to.y, -to.x, 0.0f}, kStandDeadBand);
      break;
    }
    case 5:
      Shoot();
      break;
    case 9:
      Ski();
      break;
    default:
      break;  // preparing, putting the rifle down, leaving the lane
  }
}

void AutoPlayer::Ski() {
  Key(key_action::kForward, true);
  const float ahead = kLookAhead + m_racer.Speed * kInchesPerMetre * kLookAheadSeconds;
  const N_Vector3 course = CourseAhead(m_racer, ahead);
  // Within kLineUp of the range ("Trigger_ShootArea") he keeps to the course's line.
  float left = kLineUp;
  const Ai::N_AiSector* s = m_racer.Sector;
  for (; s && left > 0.0f && !s->Flags().Has(1, 0x01); s = s->Next()) left -= s->Length();
  TurnTowards(s && left > 0.0f ? course : LineAhead(course), kSkiDeadBand);
}

void AutoPlayer::FollowTheArrow() {
  const ScreenBox& box = m_arrowBox;
  if (!box.onScreen) {
    // He has passed it, or turned from it: he stops, turns about on the spot to the side
    // it went out of and goes straight for it.
    m_beside = 0.0f;
    m_arrowLast = -1e30f;
    Key(key_action::kBrake, m_racer.Speed > kTurnAboutSpeed);
    Steer(box.centreX < 0.0f ? 1000.0f : -1000.0f, kArrowDeadBand);
    return;
  }
  Key(key_action::kForward, true);
  // Where the box is going: the camera swings after the skier, so the box still moves
  // after a turn; he lets go once it is coming to the middle.
  const float centre = box.centreX + m_beside * box.width;
  const float moving = m_arrowLast > -1e29f ? centre - m_arrowLast : 0.0f;
  m_arrowLast = centre;
  Steer(-(centre + moving * kArrowLead), std::max(kArrowDeadBand, kArrowDeadShare * box.width));
}

N_Vector3 AutoPlayer::LineAhead(const N_Vector3& course) const {
  const N_Racer& me = m_racer;
  const float reach = kLookAhead + me.Speed * kInchesPerMetre * kWatchSeconds;
  N_Vector3 along = course - me.Pos;
  along.z = 0.0f;
  const float length = std::hypot(along.x, along.y);
  if (length <= 0.0f) return course;
  along = along * (1.0f / length);
  const N_Racer* nearest = nullptr;
  float nearestAhead = reach;
  float nearestBeside = 0.0f;
  N_Vector3 nearestAt;
  for (std::size_t i = 0; i < m_race.RacerCount(); ++i) {
    const N_Racer& other = m_race.Racer(i);
    if (&other == &me || other.Finished || other.Time < 0.0f) continue;
    // Where he will be when the player gets there.
    const N_Vector3 now = other.Pos - me.Pos;
    const float when = std::hypot(now.x, now.y) / std::max(me.Speed * kInchesPerMetre, 1.0f);
    const N_Vector3 d = now + other.Heading * (other.Speed * kInchesPerMetre * when);
    const float ahead = d.x * along.x + d.y * along.y;
    const float beside = along.x * d.y - along.y * d.x;
    if (ahead > 0.0f && ahead < nearestAhead && std::fabs(beside) < kInTheWay) {
      nearest = &other;
      nearestAhead = ahead;
      nearestBeside = beside;
      nearestAt = me.Pos + d;
    }
  }
  if (!nearest || !nearest->Sector) return course;
  // Away from the side he is on; straight behind him, on the side with more room.
  float room[3];
  nearest->Sector->GetSideDistances(nearest->Pos, room);
  float side = room[0] > room[1] ? 1.0f : -1.0f;
  if (std::fabs(nearestBeside) > kStraightBehind) side = nearestBeside > 0.0f ? -1.0f : 1.0f;
  return nearestAt + N_Vector3{-along.y, along.x, 0.0f} * (side * kPassBeside) + along * kPassBeyond;
}

void AutoPlayer::TurnTowards(const N_Vector3& target, float deadBand) {
  const float off = Degrees(PlanAngle(m_racer.Heading, target - m_racer.Pos));
  // Let go early: the steering still turns him while it goes back to straight.
  const float coming = Degrees(kTurnRate * m_racer.Steer * std::fabs(m_racer.Steer) / (2.0f * kSteerReturn));
  Steer(off - coming, deadBand);
}

void AutoPlayer::Steer(float off, float deadBand) {
  // A fresh decision every kReaction s, and when he starts turning after a pause.
  if (m_racer.Time - m_decided >= kReaction || m_racer.Time < m_decided || m_racer.Time - m_turned > kReaction) {
    m_decided = m_racer.Time;
    m_heldLeft = off > deadBand;
    m_heldRight = off < -deadBand;
  }
  m_turned = m_racer.Time;
  m_left = m_heldLeft;
  m_right = m_heldRight;
}

void AutoPlayer::Shoot() {
  const N_Shooter* rifle = m_path.ShootingRange() ? m_path.ShootingRange()->Shooter() : nullptr;
  const N_ShootLane* lane = m_racer.Lane;
  const N_Camera* camera = AimCamera();
  if (!rifle || !lane || !camera || !rifle->SeriesState().aiming) return;
  int target = 0;
  while (target < N_ShootLane::kTargetCount && (lane->HitMask() >> target) & 1u) ++target;
  const N_Vector3* at = lane->TargetPosition(target);
  if (!at) return;
  N_Vector3 wanted = *at - rifle->EyePoint();
  if (rifle->SeriesState().shots < m_missesPerSeries) wanted.z += kOverTheTarget;
  wanted.Normalize();
  const N_Vector3 view = camera->axisZ * -1.0f;
  // The mouse turns the aim: right turns it clockwise, forward (up) raises it. He holds
  // it on the target until his shot is judged, whatever the rifle's sway does meanwhile.
  const float yaw = Degrees(PlanAngle(view, wanted));
  const float pitch = Degrees(std::asin(std::clamp(wanted.z, -1.0f, 1.0f)) - std::asin(std::clamp(view.z, -1.0f, 1.0f)));
  m_input.MoveMouse(std::lround(-yaw / kMouseDegrees), std::lround(-pitch / kMouseDegrees));
  if (m_racer.ReloadProgress < kEmpty) {
    m_input.ButtonDown(1);
    m_clicked = true;
    return;
  }
  if (m_racer.ReloadProgress < kLoaded) return;
  if (std::fabs(yaw) < kFireWithin && std::fabs(pitch) < kFireWithin) {
    m_input.ButtonDown(0);
    m_clicked = true;
  }
}

}  // namespace test
