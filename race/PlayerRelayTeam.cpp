#include "race/PlayerRelayTeam.h"

// Defined alone in this file: the front-end's relay page shares the one list.
std::vector<std::uint32_t> RelayTeam;
