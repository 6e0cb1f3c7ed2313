#pragma once
// The track map "Map1" of the player-status page: its picture is the course's map
// (shader named after the level), set by the race launch; the race markers hand it the
// racers' places every frame and tell it which mark is the player's.
#include <cstdint>

/// The map picture of the level of that row of the table the flag chooses; a row
/// outside the table leaves the picture as it was.
void ShowLevelMap(std::int32_t levelIndex, bool arcadeTable);
