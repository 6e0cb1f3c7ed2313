#pragma once
// The sway of the player's aim at the range: the four variables the shake camera reads
// at every update, "ampx" and "ampy" (the arcs of the swing) and "randx" and "randy"
// (the jolts). A steadier, fresher, calmer shooter sways less; standing adds to the
// vertical swing.

/// "ampx" := 0.5 shootSkill + 0.5 (1 - condition); "ampy" := 0.5 concentration +
/// 0.5 (1 - condition), + 0.2 standing; "randx" and "randy" := heartRate / 1200 + 0.01.
void SetAimSway(float shootSkill, float concentration, float heartRate, float condition, bool standing);
/// All four 0: a steady aim.
void ClearAimSway();
