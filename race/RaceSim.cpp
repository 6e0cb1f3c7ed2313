#include "race/RaceSim.h"

#include "core/FormatString.h"
#include "race/ExportData.h"
#include "race/GameData.h"
#include "race/Racer.h"
#include "race/RacerOutput.h"
#include "race/Sipka.h"
#include "race/ai/SplitTable.h"
#include "race/ai/AiLog.h"
#include "race/ai/AiPath.h"
#include "race/ai/StartPlaces.h"
#include "scene/AnimSound.h"
#include "scene/AnimationFactory2.h"

#include <algorithm>

static_assert(sizeof(N_Vector3) == 3 * sizeof(float), "the probes are handed out as nine floats");

N_RaceSim::N_RaceSim(std::unique_ptr<GameData> gameData, const N_RaceServices& services)
    : m_gameData(std::move(gameData)), m_services(services), m_markers(std::make_unique<N_Sipka>()) {
  if (!m_markers->Load()) RaceCritical("Failed load sipka !!!!");
}

N_RaceSim::~N_RaceSim() {
  for (auto& racer : m_racers) {
    if (racer->BreathSlot != -1 && m_services.bodySounds) m_services.bodySounds->ReleaseSoundObj(racer->BreathSlot);
    racer.reset();
  }
}

void N_RaceSim::Setup(Ai::N_AiPath& path) {
  m_path = &path;
  if (m_services.figures) m_services.figures->CreateShadowVolumes();
  m_markers->CreateShadows();
  if (!m_gameData) RaceCritical("GameData NULL");
  const GameData& data = *m_gameData;

  const std::int32_t discipline = data.Discipline;
  if (discipline == DisciplineCode::kMassStart || discipline == DisciplineCode::kHunting ||
      discipline == DisciplineCode::kSprint) {
    const std::size_t count = std::min(data.StartList.size(), kMaxRacers);
    if (data.StartList.size() > count) {
      N_AiLog::Write(FormatString("N_RaceSim: %zu start entries, the first %zu race", data.StartList.size(), count));
    }
    m_racers.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      const StartEntry& entry = data.StartList[i];
      N_AthletProfile* athlete = FindStartAthlete(m_services.athletes, data.Sex, entry.AthleteIndex);
      if (!athlete) {
        N_AiLog::Write(FormatString("N_RaceSim: athlete %d of sex %d does not exist, the default athlete races",
                                    entry.AthleteIndex, data.Sex));
        athlete = &m_defaultAthlete;
      }
      auto racer = std::make_unique<N_Racer>(*athlete, std::int32_t(data.Laps) - 1, entry.StartTime,
                                             entry.AthleteIndex, discipline == DisciplineCode::kMassStart, false);
      PlaceRacer(*racer, i);
      racer->ShootPhase = 9;
      const std::int32_t figure = FigureOf(*racer);
      if (figure >= 0 && m_services.figures) {
        // A figure starts the race standing, not in the previous race's last action.
        m_services.figures->ResetFigure(figure);
        m_services.figures->SetNextAction(figure, 18, 30.0f, 0.0f);
      }
      racer->Position = racer->StartNumber;
      if (m_services.bodySounds) racer->BreathSlot = m_services.bodySounds->CreateSoundObj(data.Sex != 0 ? 1 : 0);
      m_racers.push_back(std::move(racer));
      m_chosen.push_back(18);
    }
  } else {
    N_AiLog::Error(7, "Unknow game is runnig in Game arcade");
  }

  if (!m_racers.empty()) {
    // A player index outside the built racers means no player.
    const std::int32_t player = data.PlayerIndex;
    if (player >= 0 && std::size_t(player) < m_racers.size()) {
      m_followed = m_racers[std::size_t(player)].get();
      m_followed->ControlKind = 1;
      m_followed->PulseRise *= kPlayerPulseRise;
    } else {
      m_followed = m_racers.front().get();
    }
    if (discipline == DisciplineCode::kMassStart) m_followed->FallImmunity = kMassStartFallImmunity;
  }
  for (const auto& racer : m_racers) m_field.push_back(racer.get());
  m_clockOffsets.assign(m_racers.size(), 0.0f);
  m_splitTable = std::make_unique<N_SplitTable>();
  m_splitTable->Create(std::int32_t(data.Laps) - 1, std::int32_t(m_racers.size()));
  m_splitTable->AddRacers(m_field.data(), std::int32_t(m_field.size()));
  m_markers->LoadMapQuad();
  Precompute();
  N_Vector3 starter, starterDir;
  path.GetStartBox(starter, starterDir);
  m_markers->SetStarterPlace(starter, starterDir);
  m_positions.reserve(m_racers.size());
  m_order.reserve(m_racers.size());
  m_near.reserve(m_racers.size());
  m_nearIndex.reserve(m_racers.size());
}

void N_RaceSim::PlaceRacer(N_Racer& racer, std::size_t i) {
  Ai::N_StartPlaces* places = m_path->StartPlaces();
  std::int32_t startType = 4;
  switch (m_gameData->Discipline) {
    case DisciplineCode::kMassStart:
      if (places) places->GetMassStartPlace(racer.Pos, racer.Heading, std::uint32_t(i));
      startType = 2;
      break;
    case DisciplineCode::kHunting:
      if (places) places->GetPursuitPlace(racer.Pos, racer.Heading, std::uint32_t(i));
      startType = 3;
      break;
    default:
      if (places) places->GetSprintStart(racer.Pos, racer.Heading);
      break;
  }
  racer.PrevPos = racer.Pos;
  m_path->GetStartSector(startType, racer.Sector);
  racer.Strategy = m_path->FindStrategy(racer.StrategyValue);
}

bool N_RaceSim::AllFinished() const {
  if (m_stop || m_racers.empty()) return true;
  return std::all_of(m_racers.begin(), m_racers.end(), [](const auto& r) { return r->Finished != 0; });
}

void N_RaceSim::ExportResults(ExportData* result) {
  if (!result) {
    N_AiLog::Error(7, "Export data is NULL");
    return;
  }
  DoComputing();
  if (N_RaceHud* hud = m_services.hud) {
    hud->HidePlayerStatus();
    hud->CloseShootingPage();
    hud->ClosePenaltyRounds();
    hud->CloseStartInfo();
  }
  if (m_gameData) result->Sex = m_gameData->Sex;
  const std::int32_t player = m_gameData ? m_gameData->PlayerIndex : -1;
  for (std::size_t i = 0; i < m_racers.size(); ++i) {
    result->Rows.push_back(ResultRowOf(*m_racers[i]));
    result->Rows.back().Player = std::int64_t(i) == player;
  }
  m_gameData.reset();
}

bool N_RaceSim::FindRacerByFigure(std::int32_t id, const float** block, N_Vector3* point) const {
  for (const auto& r : m_racers) {
    if (id < 0 || FigureOf(*r) != id) continue;  // a racer without a figure has no id to be found by
    if (point) *point = r->GroundNormal;
    if (block) *block = &r->Probes[0].x;
    return true;
  }
  return false;
}

std::int32_t N_RaceSim::FigureOf(const N_Racer& racer) const { return racer.Athlete ? racer.Athlete->Figure : -1; }

std::int32_t N_RaceSim::CurrentAction(std::size_t i) const {
  const std::int32_t figure = FigureOf(*m_racers[i]);
  if (figure < 0 || !m_services.figures) return m_chosen[i];
  return m_services.figures->GetCurrentAction(figure);
}

float N_RaceSim::ActionProgress(const N_Racer& racer) const {
  const std::int32_t figure = FigureOf(racer);
  if (figure < 0 || !m_services.figures) return 1.0f;
  return m_services.figures->GetActionProgress(figure);
}

void N_RaceSim::AdvanceFigure(const N_Racer& racer, float dt) {
  const std::int32_t figure = FigureOf(racer);
  if (figure < 0 || !m_services.figures) return;
  // Advanced without posing or drawing: the orientation is not looked at.
  static const N_Matrix3 kUnused{};
  m_services.figures->RenderFigure(dt, figure, racer.Pos, kUnused, racer.StartNumber, racer.Athlete, false, false,
                                   false);
}
