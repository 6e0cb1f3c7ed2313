#pragma once
// What a player must see of his race at any moment, checked on the frame the world
// draws: his skier in the middle third of the screen, snow below the horizon with sky
// above it, the camera behind him and above the snow, and the HUD's speed his own.
// Point it at any race state of a world on the OpenGL device (tests/race/WorldGlRig.h):
// the whole-race camera test below and an automated player call it at their moments.
#include "core/Vector3.h"

#include <deque>
#include <string>
#include <utility>
#include <vector>

class N_RaceSim;
struct N_Racer;
namespace course {
class Terrain;
}  // namespace course

namespace test {

class WorldGlRig;

/// Draws the scene (pages hidden) with and without the racer's figure and checks the
/// view; failures name the moment. With the environment variable NAVO_CAMERA_DUMP set
/// to a folder, the frame is also saved there as "<moment>.bmp" to look at.
void ExpectRaceView(WorldGlRig& w, const N_Racer& racer, const course::Terrain& terrain, const std::string& moment);

/// One frame of dt of the world without drawing it; the racers' figures advance as the
/// drawing would advance them (their animations drive the skiing).
void AdvanceRace(WorldGlRig& w, const N_RaceSim& race, float dt);

/// The moments of a race worth looking at, in race order: the start, the first two
/// sharp bends (30 degrees within 3 s), the range (facing the lane, leaving it), the
/// penalty loop (2 s and 5 s in), a fall (with throwFall the racer is thrown down on
/// his second lap at speed; looked at 0.3 s later), the finish run-in and the finish
/// line. Due, called once a frame after the race moved, names the moment that has come
/// (each once), else null; never while the racer aims at the range.
class RaceMoments {
 public:
  explicit RaceMoments(bool throwFall) : m_throwFall(throwFall) {}
  const char* Due(N_Racer& racer);
  /// The moments not reached yet.
  std::vector<std::string> Missing() const;

 private:
  bool Reached(N_Racer& racer, int moment);

  bool m_throwFall;
  int m_next = 0;
  std::deque<std::pair<float, N_Vector3>> m_headings;  ///< the last 3 s: clock, heading
  float m_penaltyFrom = -1.0f, m_cielFrom = -1.0f, m_fallFrom = -1.0f, m_lastBend = -100.0f;
  float m_leftLane = -1.0f;  ///< when he began to leave the lane (a player stands still until then)
};

}  // namespace test
