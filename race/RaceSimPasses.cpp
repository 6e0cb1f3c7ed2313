// N_RaceSim's passes without real time: before the start, to the end, for the career.
// They step with 0.033 s and no controls, advance the figures without drawing them
// (every third step or visit before the start and to the end) and write their timings
// to "Ai.log" from the borrowed timer (0.00 without one).
#include "core/FormatString.h"
#include "core/Timer.h"
#include "race/FixedStep.h"
#include "race/GameData.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "race/ai/AiLog.h"
#include "scene/RaceCamera.h"

#include <algorithm>

namespace {

constexpr float kStep = race_step::kStep;
constexpr int kProgressSteps = 3333;  // about 110 s of race time
constexpr int kFigureEvery = 3;

void LogClocks(const std::vector<std::unique_ptr<N_Racer>>& racers) {
  for (const auto& r : racers) N_AiLog::Write(FormatString("ID: %d Time:%3.2f", r->StartNumber, double(r->Time)));
}

}  // namespace

void N_RaceSim::TickTimer() {
  if (m_services.timer) m_services.timer->Tick();
}

float N_RaceSim::FrameTime() const { return m_services.timer ? float(m_services.timer->GetFrameTime()) : 0.0f; }

void N_RaceSim::Precompute() {
  N_AiLog::Write("Precompunting game");
  LogClocks(m_racers);
  if (!m_followed) return;
  TickTimer();
  TickTimer();
  const float flight = m_services.raceCamera && m_gameData
                           ? m_services.raceCamera->GetPathDuration(m_gameData->Discipline)
                           : 0.0f;
  const float startRenderTimer = -flight - kCountdown;
  m_startRenderThreshold = startRenderTimer;
  float offset = -999990.0f;
  for (const auto& r : m_racers) offset = std::max(offset, r->Time - startRenderTimer);
  N_AiLog::Write(FormatString("startRenderTimer: %3.2f", double(startRenderTimer)));
  N_AiLog::Write(FormatString("Offset: %3.2f", double(offset)));
  for (auto& r : m_racers) r->Time -= offset;
  m_raceClock = -offset;
  LogClocks(m_racers);
  float run = (-flight - kCountdown) - m_followed->Time;
  N_AiLog::Write(FormatString("TotalTimer: %3.2f", double(m_raceClock)));
  N_AiLog::Write(FormatString("dt: %3.2f", double(run)));
  if (run <= 0.0f) {
    for (auto& r : m_racers) r->Time += run;
    m_raceClock += run;
  }
  int steps = 0;
  while (run > kStep) {
    Step(kStep, nullptr);
    if (++steps % kFigureEvery == 0) {
      for (const auto& r : m_racers) {
        if (!r->Finished && r->Time >= -kCountdown) AdvanceFigure(*r, kStep);
      }
    }
    run -= kStep;
  }
  TickTimer();
  N_AiLog::Write(FormatString("Precompunting time: %3.2f", double(FrameTime())));
}

bool N_RaceSim::EndStuckRacers(float loggedTime, int& visits, bool everyVisit) {
  bool done = true;
  for (auto& r : m_racers) {
    if (r->Finished) continue;
    done = false;
    if (r->Time > kStuckTime) {
      N_AiLog::Write(FormatString("Zaseknuty chuj: %3.2f", double(loggedTime)));
      r->Finished = 1;
      r->Time = -1.0f;
    } else if (everyVisit || ++visits == kFigureEvery) {
      visits = 0;
      AdvanceFigure(*r, kStep);
    }
  }
  return done;
}

void N_RaceSim::DoComputing() {
  if (!m_followed) return;
  TickTimer();
  TickTimer();
  // Given up: only a racer still on the course. One across the line keeps its time and
  // finishes with its finish animation.
  if (!m_followed->Finished && !m_followed->Stopped) {
    m_followed->Time = -1.0f;
    m_followed->Finished = 1;
    m_stop = 1;
  }
  float computing = 0.0f;
  int visits = 0;
  int steps = 0;
  bool done = false;
  while (!done) {
    Step(kStep, nullptr);
    done = EndStuckRacers(computing, visits, false);
    if (++steps == kProgressSteps) {
      TickTimer();
      computing += FrameTime();
      N_AiLog::Write(FormatString("DoCompunting:  100sec %3.2f", double(FrameTime())));
      steps = 0;
    }
  }
  TickTimer();
  N_AiLog::Write(FormatString("DoCompunting time: %3.2f", double(computing + FrameTime())));
}

void N_RaceSim::Simulate() {
  if (!m_followed) return;
  m_followed->ControlKind = 0;
  TickTimer();
  TickTimer();
  int visits = 0;
  bool done = false;
  while (!done) {
    Step(kStep, nullptr);
    done = EndStuckRacers(0.0f, visits, true);
  }
  TickTimer();
  N_AiLog::Write(FormatString("Simulate time: %3.2f", double(FrameTime())));
}
