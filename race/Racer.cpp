#include "race/Racer.h"

#include "race/AthletProfile.h"

#include <cstring>

namespace {
std::int32_t g_nextStartNumber = 1;
}  // namespace

N_Racer::N_Racer(N_AthletProfile& athlete, std::int32_t lapsLeft, float startTime, std::int32_t athleteIndex,
                 bool holding, bool relay)
    : Bullets(relay ? 8 : 5),
      LapsLeft(lapsLeft),
      StartNumber(g_nextStartNumber++),
      Time(startTime),
      Athlete(&athlete),
      Holding(holding ? 1 : 0),
      AthleteIndex(athleteIndex) {
  Position = StartNumber;
  HeartRate = athlete.OptPulse;
  // Single precision throughout, as every racer routine reads them.
  Concentration = athlete.Concetration * 0.004f + 0.6f;
  Mass = athlete.Weight * 0.4f + 0.6f;
  PulseRise = ((1.0f - athlete.OptPulse * 0.01f) * 1.5f + 2.8f) * 1.6666666f + athlete.MaxCondition * 0.004f;
  PulseFall = (athlete.OptPulse * 0.01f * 1.5f + 2.0f) / (athlete.MaxCondition * 0.004f + 0.6f);
  Coolness = athlete.Coolness * 0.004f + 0.6f;
  GamenessBoost = athlete.Gameness * 0.001f;
  ShootSkill = athlete.ShootTechnic * 0.004f + 0.6f;
  RunSkill = athlete.RunTechnic * 0.003f + 0.7f;
  CurveSkill = athlete.CurveTechnic * 0.004f + 0.6f;
}

N_Racer::~N_Racer() { g_nextStartNumber = 1; }

std::int32_t N_Racer::NextStartNumber() { return g_nextStartNumber; }

const N_Matrix3& N_Racer::HeadingFrame() {
  if (std::memcmp(&FrameHeading, &Heading, sizeof Heading) != 0) {
    Frame.FromDirection(Heading);
    FrameHeading = Heading;
  }
  return Frame;
}
