// The recorded run of a time attack ("data\tables\time_attack<choices>.dat"), through
// N_RunRecorder::Load as the time-attack set-up loads the saved run of the chosen
// settings, then the ghost played back along the whole run and past its end (and with
// the frame times a stalled, a reversed and a broken clock give) while the player's
// run is recorded. Checked: a file loads exactly when it holds a whole sample, and then
// with every whole sample.
#include "fuzz/FuzzSupport.h"
#include "race/RunRecorder.h"

#include <algorithm>
#include <cmath>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name = GetTimeAttackFileName(0, 0, 0, 0);
  fuzz::WriteFile("data\\tables\\" + name, data, size);
  N_RunRecorder run;
  const bool loaded = run.Load(name);
  fuzz::Check(loaded == (size >= N_RunRecorder::kSampleBytes), "a run loaded without a whole sample, or refused with one");
  if (!loaded) return 0;
  fuzz::Check(std::size_t(run.GhostSampleCount()) == size / N_RunRecorder::kSampleBytes, "samples lost or made up");
  run.StartRecording(nullptr, {0, 0, 0}, {0, 1, 0}, 0);
  // Ten samples a second: a step of 0.25 s passes two or three samples.
  const int steps = std::min(run.GhostSampleCount() / 2 + 4, 400);
  for (int step = 0; step < steps; ++step) run.Step(0.25f, {float(step), 2, 3}, {0, 1, 0}, std::int8_t(step % 48));
  for (const float dt : {0.0f, -5.0f, 0.033f, std::nanf(""), 0.25f}) run.Step(dt, {1, 2, 3}, {0, 1, 0}, 2);
  return 0;
}
