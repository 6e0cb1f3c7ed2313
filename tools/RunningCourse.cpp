// Step "running": the practice course "Running" of the buddy games below
// "data\levels\" with its ".cfg". It is the stadium of every course (the sprint start,
// the shooting range, the penalty loop, the finish) with a short, gentle loop, so that
// both contest kinds run on it: the laps of the running contests and the range of the
// shooting ones. The buddy games always run it without fog, so it has no fog variant.
// Its textures and sounds are those of the sample courses (step "courses").
#include "tools/Course.h"
#include "tools/Step.h"

namespace {

constexpr float kPi = 3.14159265f;

course::Layout RunningLayout() {
  course::Layout layout;
  layout.name = "Running";
  layout.frame = {{-1200.0f, 5200.0f}, kPi * 90.0f / 180.0f};
  layout.loop = {{12200, 1500}, {11800, 3900}, {8800, 5000}, {4800, 5400},
                 {800, 4900},   {-2300, 3400}, {-2600, 1400}, {-1300, 200}};
  layout.shortCutFrom = 2;  // waypoint (8800, 5000)
  layout.shortCutTo = 4;    // waypoint (800, 4900)
  layout.hillHeight = 90.0f;
  layout.seed = 37;
  layout.sunAzimuth = 1.4f;
  return layout;
}

bool WriteRunning(datagen::Output& out) {
  const course::Layout layout = RunningLayout();
  return course::WriteCourse(out, course::BuildCourse(layout), layout.name, false);
}

const datagen::StepRegistrar kRunning{{"running", "the buddy games' practice course \"Running\"", &WriteRunning}};

}  // namespace
