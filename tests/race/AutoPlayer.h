#pragma once
// A simple player at the keyboard and the mouse, for the tests that play a race through
// the game's own input: each frame, before the input manager's update, Frame presses
// and releases the keys (as the key definitions bind them) and moves and clicks the
// mouse of the scripted input from what a player sees of his racer:
// - skiing: forward held, left or right held while the course's ideal line a little
//   ahead lies off the skier's heading (the line of the sectors the racer follows, so
//   the penalty loops owed and the finish path come by themselves), or, with a skier
//   in the way ahead, the side of him where the course is wider (not on the last
//   stretch before the range, where he lines up along the course);
// - at the range, by the screen alone: while the lane arrow is drawn, forward held and
//   a turn key towards the middle of the arrow's box on the screen (its figure's
//   points through the frame's camera; out of view, towards the side he last saw it
//   on); on the stand turned on the spot, for a standing series to face the targets,
//   for a prone one the way the arrow pointed; then the series with the mouse: a
//   cartridge loaded with the right button, the aim moved onto the first target still
//   standing, the left button once the aim is on it, until the rifle is put down; a
//   player told to miss aims the first shots of each series above the targets; after
//   the series forward alone (after a standing one the right key held alone first, to
//   turn from the targets) off his mat, then the course; as a newcomer forward alone
//   until he is on the penalty loop or his next lap.
// Like a person he holds a turn key for at least 0.1 s: he decides on his turn keys
// every 0.1 s of the race. It never sets a field of the racer. The frame's camera is
// the world's (g_scene), as the shot reads it.
#include "core/Vector3.h"

#include <cstdint>

class N_AnimObject;
class N_Camera;
class N_RaceSim;
class N_Sipka;
struct N_Racer;
namespace Ai {
class N_AiPath;
}  // namespace Ai
namespace platform {
class ScriptedInput;
}  // namespace platform

namespace test {

/// The lane arrow as drawn on an 800 x 600 screen: the box of its figure's points
/// through a camera, in pixels from the screen's middle (x to the right, y up).
struct ScreenBox {
  float left = 1e30f, right = -1e30f, bottom = 1e30f, top = -1e30f;
  bool behind = false;  ///< a point of it lies behind the camera (nothing else is known)
  bool OnScreen() const;
  float CentreX() const { return (left + right) * 0.5f; }
  float Width() const { return right - left; }
  /// The height of the part of it on the screen, 0 when none is.
  float VisibleHeight() const;
};

ScreenBox LaneArrowOnScreen(const N_Sipka& markers, const N_Camera& camera);

class AutoPlayer {
 public:
  /// The player of the race: its followed racer; missesPerSeries shots of each series
  /// go over the targets; `forwardOnwards`: after each series forward alone to the loop
  /// or the next lap (else only off his mat); on his first way to a lane he steers for
  /// a point `beside` arrow boxes to the right of the arrow's box until it is out of view.
  AutoPlayer(platform::ScriptedInput& input, const N_RaceSim& race, Ai::N_AiPath& path, int missesPerSeries = 0,
             bool forwardOnwards = false, float beside = 0.0f);

  /// The keys and the mouse for the coming frame.
  void Frame();

  /// Shots fired, and left-button presses made while the rifle was not chambered.
  int Shots() const { return m_shots; }
  /// A turn key is held for the coming frame.
  bool Turning() const { return m_left || m_right; }
  /// The lane arrow was drawn in the frame before; and its box then (through the
  /// frame's camera).
  bool ArrowDrawn() const { return m_arrowDrawn; }
  const ScreenBox& ArrowBox() const { return m_arrowBox; }
  /// The way the lane arrow pointed when last seen (unit, in the ground plane); zero
  /// before it was drawn.
  const N_Vector3& MarkerWay() const { return m_markerWay; }

 private:
  /// What the racer's phase asks: skiing, the stand, the series, the way on.
  void Act();
  void Ski();
  /// Whether the arrow's figure moved on since the last frame, and its box.
  void LookAtTheArrow();
  /// Forward, and a turn towards the arrow's box on the screen.
  void FollowTheArrow();
  /// After a series: the turn from the targets, then forward alone off the mat, or
  /// until the loop or the next lap.
  bool Onwards();
  /// The side (1 left, -1 right) of the skier about to come too near him, 0 for none.
  float Closing() const;
  /// The range comes within kLineUp along his course.
  bool RangeAhead() const;
  /// The point to ski to: the course ahead, or past the nearest skier in the way.
  N_Vector3 LineAhead(const N_Vector3& course) const;
  void TurnTowards(const N_Vector3& target, float deadBand);
  /// Holds the turn keys for `off` degrees (or pixels) to the left (positive) or the
  /// right, decided every kReaction s.
  void Steer(float off, float deadBand);
  void Shoot();
  /// Holds the key of the action (key_action) down or lets it go.
  void Key(int action, bool down);

  platform::ScriptedInput& m_input;
  const N_RaceSim& m_race;
  const N_Racer& m_racer;
  Ai::N_AiPath& m_path;
  int m_missesPerSeries;
  bool m_forwardOnwards;
  float m_beside;
  bool m_clicked = false;  ///< a mouse button went down last frame
  float m_decided = -1e9f;  ///< the racer's clock at the last decision on the turn keys
  float m_turned = -1e9f;   ///< and when he last asked for them
  bool m_heldLeft = false, m_heldRight = false;  ///< as decided then
  bool m_left = false, m_right = false;          ///< this frame
  int m_shots = 0;
  N_Vector3 m_markerWay;
  // The arrow as last seen: its figure's clock, drawn then, its box, and the side of
  // the screen it was last on (-1 left, 1 right, 0 not yet seen).
  std::int32_t m_arrowFrame = -1;
  float m_arrowFraction = -1.0f;
  bool m_arrowDrawn = false;
  ScreenBox m_arrowBox;
  float m_arrowSide = 0.0f;
  float m_arrowLast = -1e30f;  ///< where the middle of its box was the frame before
  // The way on after a series: its stance (0 none under way), when it ended, the laps
  // then.
  std::int32_t m_seriesStance = 0;
  float m_seriesEnd = 0.0f;
  std::int32_t m_seriesLaps = 0;
};

/// The figure the lane arrow is drawn with, null without one.
const N_AnimObject* LaneArrowFigure(const N_Sipka& markers);

/// The way the lane arrow drawn with these markers points, in the ground plane: its
/// figure's head turned by the rotation it is drawn with; zero while it has no place.
N_Vector3 LaneArrowWay(const N_Sipka& markers);

/// The point of the racer's path the given distance ahead of it along the ideal line.
N_Vector3 CourseAhead(const N_Racer& racer, float distance);

}  // namespace test
