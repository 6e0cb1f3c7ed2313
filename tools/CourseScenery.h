#pragma once
// The scenery of a sample course, written into its level data: the ground (lightmapped
// tiles, one mesh object each), the track drawn over every path's sectors, each sector
// once (the sectors' own ground triangles, so skiers stand on what is drawn), the
// stadium (grandstand, start and finish gates, shooting mats, target frames, banners:
// one of them shown only in track mode 2, one only below detail 1), the sky, the LOD
// trees, the moving snowcat with its engine, the flag prop, the lights, the light grid,
// the snow, the crowd and the wind, the spectators, the fly-by cameras and a pair of
// names.
#include "tools/CourseLayout.h"
#include "tools/CourseTrack.h"
#include "tools/LevelWriter.h"

#include <array>
#include <cstdint>
#include <vector>

namespace course {

/// A plan rectangle: min x, min y, max x, max y.
using Bounds = std::array<float, 4>;

/// The plan bounds of every path of the track, grown by the margin.
Bounds TrackBounds(const Track& track, float margin);

/// Fills the level with the scenery. The ground covers `ground`; its lightmap is the
/// level's lightmap 0, named `lightmapName`.
void BuildScenery(const Layout& layout, const Terrain& terrain, const Track& track, const Bounds& ground,
                  const std::string& lightmapName, datagen::LevelData& level);

/// The ground's lightmap over `ground` (a DDS file): the sun's light on the slopes.
std::vector<std::uint8_t> GroundLightmap(const Layout& layout, const Terrain& terrain, const Bounds& ground);

/// The quaternion that turns the local axes onto x, y and z (a right-handed set of
/// unit vectors), for the engine's quaternion formula (N_Matrix3::FromQuaternion).
N_Quaternion EngineRotation(const N_Vector3& x, const N_Vector3& y, const N_Vector3& z);

}  // namespace course
