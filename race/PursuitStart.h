#pragma once
// The pursuit that follows a sprint: when the player chose the pursuit on the arcade
// or single-race set-up page, the race first run is its qualification, and the
// results page's click starts the pursuit from the qualification's result.
#include <cstdint>

/// The player's time in the race from which the last pursuit was started, in seconds;
/// 0 at program start. The pursuit's top-times entry adds it to the pursuit time.
extern float QualificationTime;

/// Starts the pursuit from the finished race kept under the handle (race/FinishedResults.h),
/// for "gamemode" 0 (the arcade page's choices) or 1 (the single race's): the finishers
/// (time above 0) in result order start their time gap to the fastest after him, on
/// the same level (not loaded again), five laps. The result is released, "discipline"
/// becomes 3, the world's game is replaced by a new, paused arcade game
/// (race/GameLaunch.h) and "StartList" is shown: true.
///
/// False, changing nothing (the result stays with the caller), for another "gamemode"
/// (no element is looked at), when the set-up page lacks one of its elements (one log
/// line), when the handle has no result, or when the player's athlete has no time
/// above 0.
bool RestartRace(std::int32_t resultHandle);
