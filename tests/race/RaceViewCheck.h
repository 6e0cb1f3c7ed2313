#pragma once
// What a player must see of his race at any moment, checked on the frame the world
// draws: his skier in the middle third of the screen, snow below the horizon with sky
// above it, the camera behind him and above the snow, and the HUD's speed his own.
// Point it at any race state of a world on the OpenGL device (tests/race/WorldGlRig.h):
// the whole-race camera test below and an automated player call it at their moments.
#include <string>

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

}  // namespace test
