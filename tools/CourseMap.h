#pragma once
// The map picture of a course for the race's track map: a top view of the course's
// paths over its map rectangle ("MapQuad" of its settings: x0, y0 at the top left,
// x1, y1 at the bottom right), so that a racer marked at ((x - x0) / (x1 - x0),
// (y0 - y) / (y0 - y1)) lands on the track drawn there.
#include "tools/Course.h"
#include "tools/Image.h"

namespace course {

/// The course's paths as a dark band over light snow, size x size texels.
datagen::RgbaImage CourseMapPicture(const Course& course, int size = 256);

/// The map point (u, v in 0..1, down the picture) of a world point.
Vec2 MapPoint(const Course& course, const N_Vector3& world);

/// Whether the texel under a map point shows the track.
bool IsMapTrack(const datagen::Rgba& texel);

}  // namespace course
