#pragma once
// The track map "Map1" of the player-status page: its picture is the course's map
// (shader named after the level), set by the race launch; the race markers hand it the
// racers' places every frame and tell it which mark is the player's.
#include "core/Vector3.h"

#include <cstdint>
#include <vector>

/// The map picture of the level of that row of the table the flag chooses; a row
/// outside the table leaves the picture as it was.
void ShowLevelMap(std::int32_t levelIndex, bool arcadeTable);
/// The point drawn with the player's mark; a negative index marks none (the markers
/// set 0 at the start).
void SetMapPlayerMark(std::int32_t index);
/// One mark per racer: x and y of each point from 0 to 1 across and down the map.
void UpdateMapMarks(const std::vector<N_Vector3>& points);
