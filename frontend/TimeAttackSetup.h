#pragma once
// The time attack's pages: the set-up page "TimeAttack" (course, course length, laps,
// sex, difficulty, athlete, name) with its launch, and the top-times page
// "TimeAttackHS", which holds the time-attack table while it is open. The run goes
// against the ghost of the best recorded run of the same settings, loaded at the
// launch; after the run the results page enters the time and, for a new best, keeps
// the run as the ghost of those settings (TimeAttackResult).
#include <cstdint>
#include <string>

class N_GuiElement;
class N_GuiPage;
namespace final_result {
struct Finished;
}  // namespace final_result

/// The ghost file of the set-up page's choices as they stand ("Level2", "GameMode",
/// "TrackLength", "Difficulty2"): the same name for the launch that loads it and the
/// results page that writes it. Empty when a selector is missing.
std::string CurrentTimeAttackGhostName();

/// The results page's case of a time attack ("gamemode" 2): the menu reset; the time
/// entered into "data\tables\time_attack.hs" and, when it is the best of its block,
/// the result's recorded run saved as the ghost of the set-up page's choices (a failed
/// save is logged and the old ghost stays whole); then the result released with its
/// run. Returns the page to show, "TimeAttack".
const char* TimeAttackResult(const final_result::Finished& finished);

extern "C" {
/// Onshow of "TimeAttack": the athletes of "Sex2" with the model of the selected one.
void TimeAttackShow(N_GuiPage* page);
/// Onclick of the elements of "TimeAttack".
void TimeAttackClick(N_GuiElement* element);
/// Onshow of "TimeAttackHS": loads the table and shows the block of the selectors.
void TimeAttackHSShow(N_GuiPage* page);
/// Onclick of the elements of "TimeAttackHS".
void TimeAttackHSClick(N_GuiElement* element);
}
