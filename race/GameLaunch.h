#pragma once
// The launch of a game mode, the one way every launcher (the menus' race launches, the
// pursuit start, the buddy games) replaces the world's game: the previous game gets
// OnRemove and is deleted first (its destructor closes "Ai.log", which the new game's
// constructor opens again), then the new one is made and stored in the world, then
// Load, Init and SetPaused(1), and two timer ticks so that the first race frame does
// not see the time spent loading. The race waits, paused, until its start list (or
// its camera flight) unpauses it.
#include <functional>
#include <memory>

class N_Game;

/// Makes the new game; throwing std::bad_alloc or giving null both mean no memory.
using GameMaker = std::function<std::unique_ptr<N_Game>()>;

/// Launches the game that make builds and returns it (the world owns it). Without
/// memory for it: the critical error "There is not enough memory to run a game\n"
/// (code 4). Without a world nothing happens: a log line, null.
N_Game* LaunchGame(const GameMaker& make);

/// The critical error of a race launch that has no memory for its game or description.
[[noreturn]] void ReportNoMemoryForGame();
