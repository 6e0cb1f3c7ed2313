// Step "running": the practice course "Running" of the buddy games below
// "data\levels\" with its ".cfg". It is the stadium of every course (the sprint start,
// the shooting range, the penalty loop, the finish) with a short, gentle loop, so that
// both contest kinds run on it: the laps of the running contests and the range of the
// shooting ones. The buddy games always run it without fog, so it has no fog variant.
// Its layout is course::RunningLayout; its textures and sounds are those of the sample
// courses (step "courses").
#include "tools/Course.h"
#include "tools/Step.h"

namespace {

bool WriteRunning(datagen::Output& out) {
  const course::Layout& layout = course::RunningLayout();
  return course::WriteCourse(out, course::BuildCourse(layout), layout.name, false);
}

const datagen::StepRegistrar kRunning{{"running", "the buddy games' practice course \"Running\"", &WriteRunning}};

}  // namespace
