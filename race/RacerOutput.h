#pragma once
// What a followed racer shows on the course and what it leaves in the result: the lane,
// finish and penalty markers every game mode draws for its racer, and the racer's row
// of the exported result.
#include "race/ExportData.h"

struct N_Racer;
class N_Sipka;
class N_RaceHud;
namespace Ai {
class N_AiPath;
}  // namespace Ai

/// Draws the lane arrow (shooting phases 0 and 1), the finish arrow and the penalty
/// arrow with its board, and keeps the HUD's penalty count: closed, with the racer's
/// penalty marker, once no loop is owed. Without a path only the lane arrow draws.
void RenderRacerMarkers(N_Racer& racer, const Ai::N_AiPath* path, N_Sipka& markers, N_RaceHud* hud, float dt);

/// The racer's row of the result.
N_ResultRow ResultRowOf(const N_Racer& racer);
