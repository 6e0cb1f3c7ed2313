#include "race/RunRecorder.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32.h"
#include "race/BinaryFields.h"
#include "race/FileProblems.h"
#include "race/ai/AiLog.h"
#include "scene/AnimationFactory2.h"
#include "scene/FigureRoster.h"
#include "scene/SceneAccess.h"

#include <algorithm>
#include <cmath>

namespace {

const std::string kFolder = "data\\tables\\";

/// a + (b - a) x t.
N_Vector3 Blend(const N_Vector3& a, const N_Vector3& b, float t) { return a + (b - a) * t; }

N_RunRecorder::Sample ReadSample(const char* bytes) {
  N_RunRecorder::Sample s;
  s.position = {binaryfield::GetF32(bytes), binaryfield::GetF32(bytes + 4), binaryfield::GetF32(bytes + 8)};
  s.heading = {binaryfield::GetF32(bytes + 12), binaryfield::GetF32(bytes + 16), binaryfield::GetF32(bytes + 20)};
  s.action = static_cast<std::int8_t>(bytes[24]);
  return s;  // the padding stays zero
}

void WriteSample(std::string& out, const N_RunRecorder::Sample& s) {
  for (const N_Vector3* v : {&s.position, &s.heading}) {
    binaryfield::PutF32(out, v->x);
    binaryfield::PutF32(out, v->y);
    binaryfield::PutF32(out, v->z);
  }
  binaryfield::PutI8(out, s.action);
  out.append(3, '\0');
}

}  // namespace

N_RunRecorder::N_RunRecorder() : m_recording(std::make_unique<Sample[]>(kCapacity)) {}

N_RunRecorder::~N_RunRecorder() = default;

void N_RunRecorder::Release() {
  m_ghost.reset();
  m_recording.reset();
  // The counts go with the buffers: nothing may read a freed sample.
  m_ghostCount = 0;
  m_recordedCount = 0;
  m_loaded = false;
}

bool N_RunRecorder::Load(const std::string& name) {
  std::string bytes;
  if (!platform::ReadWholeFile(kFolder + name, bytes)) return false;
  const std::size_t count = bytes.size() / kSampleBytes;
  if (count == 0) return false;
  if (const std::size_t rest = bytes.size() % kSampleBytes; rest != 0 && g_log) {
    g_log->Print("TimeAttackData: %s ends in %zu bytes of no whole sample, ignored\n", name.c_str(), rest);
  }
  auto samples = std::make_unique<Sample[]>(count);
  for (std::size_t i = 0; i < count; ++i) samples[i] = ReadSample(bytes.data() + i * kSampleBytes);
  m_ghost = std::move(samples);
  // A file of more samples than an int counts would be far above the file layer's limit.
  m_ghostCount = static_cast<std::int32_t>(count);
  m_loaded = true;
  return true;
}

bool N_RunRecorder::Save(const std::string& name) const {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(m_recordedCount) * kSampleBytes);
  for (std::int32_t i = 0; i < m_recordedCount; ++i) WriteSample(bytes, m_recording[static_cast<std::size_t>(i)]);
  std::string why;
  if (platform::ReplaceWholeFile(kFolder + name, bytes, &why)) return true;
  ReportFileProblem(file_problem::NotSaved(kFolder + name, why, "the new best run is kept without its ghost."));
  return false;
}

void N_RunRecorder::StartRecording(N_AnimationFactory2* figureSet, const N_Vector3& position,
                                   const N_Vector3& heading, std::int8_t action) {
  m_figureSet = figureSet;
  Sample start;
  start.position = position;
  start.heading = heading;
  start.action = action;
  Append(start);
}

void N_RunRecorder::Step(float dt, const N_Vector3& position, const N_Vector3& heading, std::int8_t action) {
  StepPlayback(dt);
  StepRecording(dt, position, heading, action);
}

void N_RunRecorder::DrawGhost(float dt) {
  if (m_ghostCount <= 0 || !m_figureSet || !g_scene.figureRoster) return;
  N_FigureAthlete& ghost = g_scene.figureRoster->Ghost();
  if (ghost.Figure < 0) return;
  m_figureSet->SetNextAction(ghost.Figure, m_ghostAction, 30.0f, 0.0f);
  // The ghost wears the first bib: a figure is drawn only with a start number of 1 to 31.
  m_figureSet->RenderFigure(dt, ghost.Figure, m_ghostPosition, m_ghostRotation, 1, &ghost, false, true, true);
}

void N_RunRecorder::StepPlayback(float dt) {
  if (m_ghostCount <= 0) return;
  m_playbackClock += dt;
  const float f = m_playbackClock * m_rate;
  // Nearest integer with ties to even (the default rounding mode): f = 4.5 gives 4.
  float nearest = std::nearbyint(f - 0.5f);
  const float last = static_cast<float>(m_ghostCount - 1);
  if (nearest > last) nearest = last;
  if (!(nearest >= 0.0f)) nearest = 0.0f;  // also a clock that is not a number
  const std::int32_t i = static_cast<std::int32_t>(nearest);
  const std::int32_t j = std::min(i + 1, m_ghostCount - 1);
  const float t = f - static_cast<float>(i);
  const Sample& a = m_ghost[static_cast<std::size_t>(i)];
  const Sample& b = m_ghost[static_cast<std::size_t>(j)];
  m_ghostPosition = Blend(a.position, b.position, t);
  N_Vector3 heading = Blend(a.heading, b.heading, t);
  heading.Normalize();
  m_ghostRotation.FromDirection(heading);
  m_ghostAction = a.action;
}

void N_RunRecorder::StepRecording(float dt, const N_Vector3& position, const N_Vector3& heading,
                                  std::int8_t action) {
  m_recordClock += dt;
  // Compared in single precision: a clock of exactly 0.1f is not yet past the period.
  if (!(m_recordClock > 1.0f / m_rate)) return;
  const float scaled = m_recordClock * m_rate;
  const float k = std::floor(scaled);
  m_recordClock = (scaled - k) / m_rate;

  Sample last;  // without a start sample the run starts here
  last.position = position;
  last.heading = heading;
  if (m_recordedCount > 0) last = m_recording[static_cast<std::size_t>(m_recordedCount - 1)];
  for (float m = 1.0f; m <= k; m += 1.0f) {
    if (!m_recording || m_recordedCount >= m_capacity) {
      Append(last);  // says once that the buffer is full
      break;
    }
    const float t = m / k;
    Sample s;
    s.position = Blend(last.position, position, t);
    s.heading = Blend(last.heading, heading, t);
    s.heading.Normalize();
    s.action = action;
    Append(s);
  }
}

void N_RunRecorder::Append(const Sample& sample) {
  if (!m_recording) return;  // released: nothing is recorded any more
  if (m_recordedCount >= m_capacity) {
    if (!m_fullReported) {
      N_AiLog::Write(FormatAiLine("TimeAttackData: the recording is full (%d samples); the rest of the run is not "
                                  "recorded.",
                                  static_cast<int>(m_capacity)));
      m_fullReported = true;
    }
    return;
  }
  m_recording[static_cast<std::size_t>(m_recordedCount++)] = sample;
}

std::string GetTimeAttackFileName(int level, int gameMode, int trackLength, int difficulty) {
  return FormatString("time_attack%d%d%d%d.dat", level, gameMode, trackLength, difficulty);
}
