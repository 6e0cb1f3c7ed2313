#pragma once
// The race's fixed step: a frame of dt seconds is run as steps of 0.033 s while more
// than 0.033 s of it remain, then one step with the rest (single precision: 0.1 s
// gives 0.033, 0.033, 0.033 and about 0.001; exactly 0.033 s one step; a frame of 0 one
// step of 0). The game modes run their races through it.
namespace race_step {

/// The step length, the float nearest to 0.033.
constexpr float kStep = 0.033f;

/// Calls step(s) for each step of the frame, in order, until one answers false (the
/// rest of the frame is then dropped).
template <class StepFn>
void RunFixedSteps(float dt, StepFn&& step) {
  float rest = dt;
  while (rest > kStep) {
    rest -= kStep;
    if (!step(kStep)) return;
  }
  step(rest);
}

}  // namespace race_step
