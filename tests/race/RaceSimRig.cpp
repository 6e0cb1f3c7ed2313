#include "tests/race/RaceSimRig.h"

#include "core/CoreServices.h"
#include "core/FormatString.h"
#include "core/KeyDefinitions.h"
#include "platform/win32.h"
#include "race/Racer.h"
#include "race/ai/AiLog.h"
#include "race/ai/AiSector.h"
#include "render/RenderServices.h"
#include "tests/race/AiPathSupport.h"

#include <cmath>
#include <cstring>

namespace test {

void RecordingHud::ShowStartInfo(std::int32_t track, bool arcadeLevels, std::int32_t weather, std::int32_t snow) {
  calls.push_back(FormatString("ShowStartInfo %d %d %d %d", track, arcadeLevels ? 1 : 0, weather, snow));
}
void RecordingHud::UpdateStartCounter(float seconds) {
  calls.push_back(FormatString("UpdateStartCounter %.3f", double(seconds)));
}
void RecordingHud::ShowPlayerStatus(const char* name, const char* nation) {
  calls.push_back(FormatString("ShowPlayerStatus %s %s", name, nation));
}
void RecordingHud::UpdatePlayerStatus(float time, float speed, float heartRate, float power, float condition,
                                      std::int32_t position, std::int32_t lap, std::int32_t laps) {
  calls.push_back(FormatString("UpdatePlayerStatus %.3f %.3f %.1f %.2f %.3f %d %d %d", double(time), double(speed),
                               double(heartRate), double(power), double(condition), position, lap, laps));
}
void RecordingHud::UpdatePenaltyRounds(std::int32_t count) {
  calls.push_back(FormatString("UpdatePenaltyRounds %d", count));
}

std::vector<std::string> RecordingHud::Named(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& c : calls) {
    if (c.rfind(prefix, 0) == 0) out.push_back(c);
  }
  return out;
}

void RecordingListener::SetListener(const float* p, const float* f, const float* v) {
  position = {p[0], p[1], p[2]};
  forward = {f[0], f[1], f[2]};
  velocity = {v[0], v[1], v[2]};
  ++calls;
}

void RecordingCamera::LookAt(const N_Vector3* eye, const N_Vector3* target) {
  targets.push_back(*target);
  N_Camera::LookAt(eye, target);
}

namespace {

/// A profile file of n men with names of their own, the game's gear and models.
std::string OwnProfiles(int n) {
  std::string text = "{\n";
  for (int i = 0; i < n; ++i) {
    text += FormatString(
        "{\nAthletName \"Racer %03d\"\nSex Male\nNationality NOR\nMaxPower %d\nOptPulse %d\nMaxCondition %d\n"
        "Concetration 60\nCoolness 60\nGameness 50\nShootTechnic %d\nRunTechnic %d\nCurveTechnic 70\nIQ 0.6\n"
        "Height 180\nWeight 75\nMesh \"data\\anim\\ref_meshe\\ref_model%d.mesh\"\nStartNum lyziari/startnum\n"
        "Dress lyziari/dress_black\nSticks lyziari/sticks\nGun lyziari/gun\nSki lyziari/ski_blue\n}\n",
        i, 40 + i % 50, 50 + i % 40, 60 + i % 30, 45 + i % 45, 40 + i % 40, 1 + i % 3);
  }
  return text + "}\n";
}

platform::d3d9::RecordingDirect3DConfig DeviceConfig(RaceSimRig::Recording recording) {
  platform::d3d9::RecordingDirect3DConfig config = RecordingRender::DefaultConfig();
  config.device.record = recording == RaceSimRig::Recording::kOn;
  return config;
}

}  // namespace

RaceSimRig::RaceSimRig(const std::string& layout, int ownAthletes, Recording recording)
    : FigureRig(DeviceConfig(recording)), answer(IDNO) {
  platform::SetMessageBoxAnswerHook([this](const std::string& text, const std::string&, UINT) {
    boxes.push_back(text);
    return answer;
  });
  g_textureMng = &textures;
  g_renderServicesCopy.textureMng = &textures;
  for (const char* part : {"data/anim/sipka", "data/anim/starter.mesh", "data/anim/starter.anim",
                           "data/anim/starter_s.anim", "data/scripts/markers.shader", "data/textures/markers",
                           "data/anim/puska", "data/anim/terciky", "data/Ai"}) {
    CopyFromGameRoot(harness.dir, part);
  }
  if (ownAthletes > 0) {
    harness.dir.Write(kProfilesFile, OwnProfiles(ownAthletes));
  } else {
    CopyFromGameRoot(harness.dir, kProfilesFile);
  }
  athletMng = std::make_unique<N_AthletMng>(shaders);
  athletMng->ParseProfiles("data\\profiles\\playerprofiles.data");
  athletMng->SplitBySex();
  athletMng->LoadTextures();
  g_scene.figureRoster = athletMng.get();
  LoadFigures();
  CreateAiLog();
  FillLevel(level, SampleTrack(layout));
  path = std::make_unique<Ai::N_AiPath>();
  path->Load(level);
  device->ClearCalls();  // the loads' calls; the races draw nothing
  N_CoreServices block;
  block.errorLog = harness.core.errorLog.get();
  block.log = harness.core.log.get();
  block.varMng = harness.core.vars.get();
  inputMng = CreateInputMng(block);
  inputMng->Init();
  g_inputMng = inputMng.get();
  ResetKeyDefinitions();
}

void RaceSimRig::SteerByKeys(const N_Racer& racer) {
  constexpr float kNearSq = 3600.0f;   // past this close the next sector's point is aimed at
  if (!racer.Sector) {
    SteerTowards(racer, racer.Pos);
    return;
  }
  N_Vector3 target = racer.Sector->GetIdealPoint(true);
  const N_Vector3 way = target - racer.Pos;
  if (way.x * way.x + way.y * way.y < kNearSq && racer.Sector->Next()) target = racer.Sector->Next()->GetIdealPoint(true);
  SteerTowards(racer, target);
}

void RaceSimRig::SteerTowards(const N_Racer& racer, const N_Vector3& target) {
  constexpr float kStraight = 0.05f;   // sine of the angle within which no turn key is held
  const auto key = [](int action) { return static_cast<BYTE>(g_keyDefinitions[action]); };
  input.KeyDown(key(key_action::kForward));
  input.KeyUp(key(key_action::kLeft));
  input.KeyUp(key(key_action::kRight));
  const N_Vector3 way = target - racer.Pos;
  // The heading turns counter-clockwise (to the left) with a positive steer.
  const float side = racer.Heading.x * way.y - racer.Heading.y * way.x;
  const float reach = std::sqrt(way.x * way.x + way.y * way.y) *
                      std::sqrt(racer.Heading.x * racer.Heading.x + racer.Heading.y * racer.Heading.y);
  if (side > kStraight * reach) {
    input.KeyDown(key(key_action::kLeft));
  } else if (side < -kStraight * reach) {
    input.KeyDown(key(key_action::kRight));
  }
}

void RaceSimRig::Poll(N_PlayerControls& controls) {
  inputMng->Update();
  controls.Poll();
}

RaceSimRig::~RaceSimRig() {
  g_inputMng = nullptr;
  inputMng->Shutdown();
  path.reset();
  DeleteAiLog();
  figures.reset();
  g_scene.figureRoster = nullptr;
  athletMng.reset();
  g_renderServicesCopy.textureMng = nullptr;
  g_textureMng = nullptr;
  platform::SetMessageBoxHook({});
}

N_RaceServices RaceSimRig::Services() {
  N_RaceServices s;
  s.athletes = athletMng.get();
  s.figures = figures.get();
  s.hud = &hud;
  s.listener = &listener;
  s.camera = &camera;
  s.level = &level;
  return s;
}

std::unique_ptr<GameData> RaceSimRig::Race(std::int32_t discipline, int racers, float step, int player,
                                           std::uint8_t laps) {
  auto data = std::make_unique<GameData>();
  data->Discipline = discipline;
  data->Laps = laps;
  data->PlayerIndex = static_cast<std::int8_t>(player);
  data->Track = 1;
  data->Weather = 2;
  data->SnowQuality = 0;
  for (int i = 0; i < racers; ++i) data->StartList.push_back({i, 0.0f - step * float(i)});
  return data;
}

std::vector<std::string> RaceSimRig::AiLogLines() const {
  const std::string text = AiLog();
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', from)) {
    lines.push_back(text.substr(from, nl - from));
    from = nl + 1;
  }
  return lines;
}

}  // namespace test
