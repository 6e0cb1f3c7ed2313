#include "race/PenaltyRounds.h"

#include "core/StringUtil.h"
#include "race/RaceGui.h"

void ShowPenaltyRounds(std::int32_t count) {
  race_gui::ShowPageImmediate("PenaltyRounds");
  UpdatePenaltyRounds(count);
}

void UpdatePenaltyRounds(std::int32_t count) { race_gui::SetCaption("NumPenalty", IntToString(count)); }

void ClosePenaltyRounds() { race_gui::ClosePage("PenaltyRounds", 2.0f); }
