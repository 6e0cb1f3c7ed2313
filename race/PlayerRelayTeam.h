#pragma once
// The player's relay team: athlete indices (in the list of the set-up page's sex) in
// leg order, at most four. The relay set-up page fills it and the arcade and
// single-race set-up pages keep it while they show its sex; the relay launches start
// their relay from it and the top-times entry of a relay takes its first member's
// nation.
// Empty until the front-end fills it.
#include <cstdint>
#include <vector>

extern std::vector<std::uint32_t> RelayTeam;
