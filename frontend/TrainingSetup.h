#pragma once
// The two trainings' set-up pages: "RunTraining" (one skier alone on a chosen course,
// with laps, weather, snow and condition) and "ShootTraining" (one athlete at the
// shooting range of a course drawn at random). One pair of callbacks serves both; each
// start launches the training game with the page's choices, and the results page
// brings the player back to the page the training came from (TrainingResult).
#include <cstdint>

class N_GuiElement;
class N_GuiPage;
namespace final_result {
struct Finished;
}  // namespace final_result

/// The results page's case of a training ("gamemode" 3): the menu reset, the result
/// released; returns the page to show, "RunTraining" for a result of the run training
/// (12), "ShootTraining" for any other (and when there is no result).
const char* TrainingResult(const final_result::Finished& finished);

extern "C" {
/// Onshow of both pages: the athletes of the page's sex with the model of the selected one.
void TrainingShow(N_GuiPage* page);
/// Onclick of the elements of both pages.
void TrainingClick(N_GuiElement* element);
}
