#pragma once
// A simple player for the tests that play a race through the game's own input: each
// frame, before the input manager's update, Frame works the bound keys and the scripted
// mouse from what a player sees. He skis towards the course's line a little ahead,
// passing a skier in the way (not on the last stretch before the range); from the
// stadium's entry he steers by the drawn lane arrow's box alone (out of view, he stops
// and turns about to the side it went out of); on the stand he faces the targets, or
// lies square to them prone, and shoots with the mouse (over the targets for the shots
// he is told to miss); after a series he holds forward alone (after a standing one the
// right key first) through the penalty loops he owes until he is back on the course, or
// until his next lap. He decides on his turn keys
// every 0.1 s, as a person holds a key that long. He never sets a field of the racer.
#include "core/Vector3.h"

#include <cstdint>

class N_RaceSim;
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
  bool onScreen = false;  ///< a part of it is on the screen
  float centreX = 0.0f, width = 0.0f;
  float height = 0.0f;  ///< of the part on the screen
};

class AutoPlayer {
 public:
  /// The player of the race: its followed racer; missesPerSeries shots of each series
  /// go over the targets; on his first way to a lane he steers for a point `beside`
  /// arrow boxes to the right of the arrow's box until it is out of view.
  AutoPlayer(platform::ScriptedInput& input, const N_RaceSim& race, Ai::N_AiPath& path, int missesPerSeries = 0,
             float beside = 0.0f);

  /// The keys and the mouse for the coming frame.
  void Frame();

  /// A turn key is held for the coming frame.
  bool Turning() const { return m_left || m_right; }
  /// The lane arrow was drawn in the frame before; its box then.
  bool ArrowDrawn() const { return m_arrowDrawn; }
  const ScreenBox& ArrowBox() const { return m_arrowBox; }

 private:
  /// What the racer's phase asks: skiing, the stand, the series, the way on.
  void Act();
  void Ski();
  /// Whether the arrow's figure moved on since the last frame, and its box.
  void LookAtTheArrow();
  void FollowTheArrow();
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
  float m_beside;
  bool m_clicked = false;  ///< a mouse button went down last frame
  float m_decided = -1e9f;  ///< the racer's clock at the last decision on the turn keys
  float m_turned = -1e9f;   ///< and when he last asked for them
  bool m_heldLeft = false, m_heldRight = false;  ///< as decided then
  bool m_left = false, m_right = false;          ///< this frame
  // The arrow as last seen: its figure's clock, drawn then, its box, the box's middle
  // a frame before.
  float m_arrowClock = -1.0f;
  bool m_arrowDrawn = false;
  ScreenBox m_arrowBox;
  float m_arrowLast = -1e30f;
  // The way on after a series: its stance (0 none under way), its end, the laps then,
  // whether he has been in the penalty loop since.
  std::int32_t m_seriesStance = 0;
  float m_seriesEnd = 0.0f;
  std::int32_t m_seriesLaps = 0;
  bool m_looped = false;
};

}  // namespace test
