#pragma once
// A simple player at the keyboard and the mouse, for the tests that play a race through
// the game's own input: each frame, before the input manager's update, Frame presses
// and releases the keys (as the key definitions bind them) and moves and clicks the
// mouse of the scripted input from what a player sees of his racer:
// - skiing: forward held, left or right held while the course's ideal line a little
//   ahead lies off the skier's heading (the line of the sectors the racer follows, so
//   the penalty loops owed and the finish path come by themselves), or, with a skier
//   in the way ahead, the side of him where the course is wider;
// - at the range: onto the mat that the lane arrow marks, from well behind the arrow
//   along the way it points, slowed to a mat-side pace as he nears it; on the stand turned on the
//   spot, for a standing series to face the targets, for a prone one the way the arrow
//   pointed; then the series with the mouse: a cartridge loaded with the right button,
//   the aim moved onto the first target still standing, the left button once the aim
//   is on it, until the rifle is put down; a player told to miss aims the first shots
//   of each series above the targets.
// Like a person he holds a turn key for at least 0.1 s: he decides on his turn keys
// every 0.1 s of the race. It never sets a field of the racer. The frame's camera is
// the world's (g_scene), as the shot reads it.
#include "core/Vector3.h"

#include <cstdint>

class N_AnimObject;
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

class AutoPlayer {
 public:
  /// The player of the race: its followed racer; missesPerSeries shots of each series
  /// go over the targets.
  AutoPlayer(platform::ScriptedInput& input, const N_RaceSim& race, Ai::N_AiPath& path, int missesPerSeries = 0);

  /// The keys and the mouse for the coming frame.
  void Frame();

  /// Shots fired, and left-button presses made while the rifle was not chambered.
  int Shots() const { return m_shots; }
  /// A turn key is held for the coming frame.
  bool Turning() const { return m_left || m_right; }
  /// The way the lane arrow pointed when last seen (unit, in the ground plane); zero
  /// before it was drawn.
  const N_Vector3& MarkerWay() const { return m_markerWay; }

 private:
  /// What the racer's phase asks: skiing, the lane, the series.
  void Act();
  void Ski();
  /// Onto the marked mat: slowed down, steered onto the arrow's line and along it.
  void IntoTheLane();
  /// The point to ski to: the course ahead, or past the nearest skier in the way.
  N_Vector3 LineAhead(const N_Vector3& course) const;
  void TurnTowards(const N_Vector3& target, float deadBand);
  void Shoot();
  /// Holds the key of the action (key_action) down or lets it go.
  void Key(int action, bool down);

  platform::ScriptedInput& m_input;
  const N_RaceSim& m_race;
  const N_Racer& m_racer;
  Ai::N_AiPath& m_path;
  int m_missesPerSeries;
  bool m_clicked = false;  ///< a mouse button went down last frame
  float m_decided = -1e9f;  ///< the racer's clock at the last decision on the turn keys
  float m_turned = -1e9f;   ///< and when he last asked for them
  bool m_heldLeft = false, m_heldRight = false;  ///< as decided then
  bool m_left = false, m_right = false;          ///< this frame
  int m_shots = 0;
  N_Vector3 m_markerWay;
};

/// The figure the lane arrow is drawn with, null without one.
const N_AnimObject* LaneArrowFigure(const N_Sipka& markers);

/// The way the lane arrow drawn with these markers points, in the ground plane: its
/// figure's head turned by the rotation it is drawn with; zero while it has no place.
N_Vector3 LaneArrowWay(const N_Sipka& markers);

/// The point of the racer's path the given distance ahead of it along the ideal line.
N_Vector3 CourseAhead(const N_Racer& racer, float distance);

}  // namespace test
