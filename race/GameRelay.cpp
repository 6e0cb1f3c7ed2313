#include "race/GameRelay.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Matrix3.h"
#include "core/Timer.h"
#include "race/AiPilot.h"
#include "race/AthleteGlow.h"
#include "race/CourseFollowing.h"
#include "race/FollowCamera.h"
#include "race/ExportData.h"
#include "race/FixedStep.h"
#include "race/GameData.h"
#include "race/PlayerShooting.h"
#include "race/Racer.h"
#include "race/RacerCollisions.h"
#include "race/RacerControl.h"
#include "race/RacerOutput.h"
#include "race/RelayRoutines.h"
#include "race/RelayTeam.h"
#include "race/SectorEvents.h"
#include "race/ShootLane.h"
#include "race/Sipka.h"
#include "race/SkierPhysics.h"
#include "race/SoundCache.h"
#include "race/SplitBoardRow.h"
#include "race/Technique.h"
#include "race/ai/AiLog.h"
#include "race/ai/AiPath.h"
#include "race/ai/AiPathTree.h"
#include "race/ai/AiTableMng.h"
#include "race/ai/SplitTable.h"
#include "race/ai/StartPlaces.h"
#include "render/Camera.h"
#include "scene/AnimSound.h"
#include "scene/AnimationFactory2.h"
#include "scene/RaceCamera.h"
#include "sound/SoundMng.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSoundStartMass = 32;
constexpr float kInchesPerMetre = 39.37f;
constexpr int kComputeLogSteps = 3001;

}  // namespace

N_GameRelay::N_GameRelay(std::unique_ptr<GameData> gameData, const N_RaceServices& services)
    : m_gameData(std::move(gameData)), m_services(services) {
  CreateAiLog();
}

N_GameRelay::~N_GameRelay() {
  m_path.reset();
  m_teams.clear();  // each team releases its active member's breathing and its members
  m_markers.reset();
  m_splits.reset();
  DeleteAiLog();
}

void N_GameRelay::Load() {
  m_teamCount = 1;
  m_path = std::make_unique<Ai::N_AiPath>();
  if (m_services.level) {
    m_path->Load(*m_services.level);
  } else {
    m_path->Load();
  }
  m_markers = std::make_unique<N_Sipka>();
  if (!m_markers->Load()) RaceCritical("Failed load sipka !!!!");
}

void N_GameRelay::Init() {
  if (!m_path) Load();
  const float flight = m_services.raceCamera ? m_services.raceCamera->GetPathDuration(DisciplineCode::kRelay) : 0.0f;
  m_startOffset = -flight - kCountdown;
  if (g_log) g_log->Print("GameRelay Initializing.\n");
  m_path->GetRelayChangeSector();
  if (!m_gameData) RaceCritical("***** N_GameRelay: GAMEDATA is NULL  !!!  ******\n");
  const GameData& data = *m_gameData;
  m_path->SetShootPattern(data.Laps >= 4 ? "LLSSVVV" : "LSVVV");
  if (m_services.figures) m_services.figures->CreateShadowVolumes();
  m_markers->CreateShadows();
  m_markers->LoadMapQuad();
  N_Vector3 starter, starterDir;
  m_path->GetStartBox(starter, starterDir);
  m_markers->SetStarterPlace(starter, starterDir);

  m_teamCount = std::uint8_t(std::min<std::size_t>(data.StartList.size() / 4, 255));
  if (m_teamCount == 0) N_AiLog::Error(7, "NumGroups is 0 !!!");
  for (std::uint32_t t = 0; t < m_teamCount; ++t) {
    m_teams.push_back(std::make_unique<N_RelayTeam>());
    N_RelayTeam& team = *m_teams.back();
    SetUpTeam(team, t);
    m_activeRacers.push_back(team.Active);
    m_nextRacers.push_back(team.Next);
    N_Racer& first = *team.Active;
    if (FigureOf(first) >= 0 && m_services.figures) m_services.figures->SetNextAction(FigureOf(first), 18, 30.0f, 0.0f);
    if (m_services.bodySounds) first.BreathSlot = m_services.bodySounds->CreateSoundObj(data.Sex != 0 ? 1 : 0);
  }

  if (m_teamCount > 0) {
    std::int32_t team = std::int32_t(data.PlayerIndex) / 4;  // truncated towards zero: -1 is team 0
    if (team < 0 || team >= std::int32_t(m_teamCount)) {
      N_AiLog::Error(7, FormatString("realgruop is bad: %d", team));
      // The launches put the player's team last; a negative team cannot be one.
      team = team < 0 ? 0 : std::int32_t(m_teamCount) - 1;
    }
    m_playerTeam = m_teams[std::size_t(team)].get();
    m_playerTeam->PlayerTeam = 1;
    // The player skis every leg, the first one too.
    for (N_Racer* member : m_playerTeam->Members) member->ControlKind = 1;
  }

  m_splits = std::make_unique<N_SplitTable>();
  m_splits->Create(std::int32_t(kSplitLaps), std::int32_t(m_teamCount) * 4);
  for (const auto& team : m_teams) {
    m_splits->AddRacers(team->Members, N_RelayTeam::kLegs);
    for (N_Racer* member : team->Members) {
      if (N_SplitBoardRow* entry = m_splits->Entry(member->StartNumber)) entry->Leg = member->StartNumber % 4;
      member->Position = m_splits->CountRelayRank(member->StartNumber);
    }
  }
  m_markerPoints.reserve(m_teams.size());
  if (g_log) g_log->Print("GameRelay Initializing done.\n");
}

void N_GameRelay::SetUpTeam(N_RelayTeam& team, std::uint32_t t) {
  const GameData& data = *m_gameData;
  if (data.StartList.size() < std::size_t(t) * 4 + 4) N_AiLog::Error(6, "Pocet hracov pre relay je nekorektny !!!");
  if (data.Laps < 1) N_AiLog::Error(6, "Pocet kol pre relay je nekorektny !!!");
  if (data.Discipline != DisciplineCode::kRelay) N_AiLog::Error(6, "Definovana hra ma  byt relay !!!");
  const std::int32_t lastLap = std::max(std::int32_t(data.Laps) - 1, 1);
  team.BodySounds = m_services.bodySounds;
  team.Hud = m_services.hud;
  team.Sex = data.Sex;
  for (std::uint32_t k = 0; k < 4; ++k) {
    const std::size_t i = std::size_t(t) * 4 + k;
    const StartEntry entry = i < data.StartList.size() ? data.StartList[i] : StartEntry{};
    N_AthletProfile* athlete = FindStartAthlete(m_services.athletes, data.Sex, entry.AthleteIndex);
    if (!athlete) {
      N_AiLog::Write(FormatString("N_GameRelay: athlete %d of sex %d does not exist, the default athlete races",
                                  entry.AthleteIndex, data.Sex));
      athlete = &m_defaultAthlete;
    }
    const bool first = k == 0;
    auto* racer = new N_Racer(*athlete, lastLap, first ? m_startOffset + entry.StartTime : entry.StartTime,
                              entry.AthleteIndex, first, true);
    team.Members[k] = racer;
    racer->ShootPhase = 9;
    if (first) {
      PlaceStarter(*racer, t);
    } else {
      PlaceWaiting(*racer, t);
    }
    racer->Strategy = m_path->FindStrategy(racer->StrategyValue);
    m_chosen[racer] = 18;
  }
  team.Active = team.Members[0];
  team.Next = team.Members[1];
  team.Index = t;
}

void N_GameRelay::PlaceStarter(N_Racer& racer, std::uint32_t t) {
  if (const Ai::N_StartPlaces* places = m_path->StartPlaces()) places->GetMassStartPlace(racer.Pos, racer.Heading, t);
  racer.PrevPos = racer.Pos;
  if (!m_path->GetStartSector(2, racer.Sector)) {
    N_AiLog::Write("N_GameRelay: no start sector, the first leg starts on the Normal path");
    racer.Sector = m_path->Tree() ? m_path->Tree()->Head(Ai::N_AiPathTree::kNormal) : nullptr;
  }
}

void N_GameRelay::PlaceWaiting(N_Racer& racer, std::uint32_t t) {
  if (const Ai::N_StartPlaces* places = m_path->StartPlaces()) {
    places->GetRelayChangePlace(racer.Pos, racer.Heading, std::int32_t(t));
  }
  racer.PrevPos = racer.Pos;
  racer.Sector = m_path->RelayChangeSector();
  if (!racer.Sector) {
    N_AiLog::Write("N_GameRelay: no relay change sector, the leg waits on the Normal path");
    racer.Sector = m_path->Tree() ? m_path->Tree()->Head(Ai::N_AiPathTree::kNormal) : nullptr;
  }
}

void N_GameRelay::Update(float dt) {
  if (N_SoundMng* listener = m_services.listener) {
    if (m_playerTeam && m_playerTeam->Active) {
      const N_Racer& r = *m_playerTeam->Active;
      const N_Vector3 still;
      listener->SetListener(&r.Pos.x, &r.Heading.x, &still.x);
    } else if (m_services.camera) {
      const N_Vector3 pos = m_services.camera->position;
      const N_Vector3 dir = m_services.camera->axisZ * -1.0f;
      const N_Vector3 still;
      listener->SetListener(&pos.x, &dir.x, &still.x);
    }
  }
  if (m_paused) return;
  m_controls.Poll();
  if (m_controls.IsEscapeHeld()) m_raceOver = 1;
  if (m_controls.IsPaused()) return;
  race_step::RunFixedSteps(dt, [this](float s) {
    Step(s);
    return true;
  });
}

void N_GameRelay::Step(float s) {
  m_path->UpdateShootingRange(s);
  for (std::size_t t = 0; t < m_teams.size(); ++t) {
    m_activeRacers[t] = m_teams[t]->Active;
    m_nextRacers[t] = m_teams[t]->Next;
  }
  m_markerPoints.clear();
  for (const auto& team : m_teams) {
    if (!team->Finished) StepTeam(*team, s);
  }
  if (m_statusShown && m_playerTeam && m_playerTeam->Active && m_services.hud) {
    const N_Racer& r = *m_playerTeam->Active;
    m_services.hud->UpdatePlayerStatus(r.Time, r.Speed, r.HeartRate, r.Power, r.Condition, r.Position,
                                       r.LapsDone + 1, m_gameData->Laps);
  }
  m_markers->UpdateMapMarks(m_markerPoints);
  m_splits->Update(s);
  StepLetterbox(s);
  for (const auto& team : m_teams) AnimateWaiting(*team, s);
  if (m_playerTeam && m_playerTeam->Finished) m_raceOver = 1;
  if (m_playerTeam && m_playerTeam->Active && m_services.camera) {
    const N_Racer& r = *m_playerTeam->Active;
    if (r.ShootPhase != 5) N_FollowCamera::Follow(*m_services.camera, r, s);
  }
}

void N_GameRelay::StepStart(N_RelayTeam& team, N_Racer& r, float s) {
  r.Time += s;
  if (!team.PlayerTeam) return;
  N_RaceHud* hud = m_services.hud;
  if (r.Time < 0.0f && r.Time > -kCountdown) {
    if (m_startSignalPending) {
      m_startSignalPending = 0;
      if (m_services.soundCache) m_services.soundCache->Play(kSoundStartMass);
      if (hud) hud->ShowStartInfo(m_gameData->Track, m_gameData->ArcadeLevels != 0, m_gameData->Weather,
                                  m_gameData->SnowQuality);
    }
    if (hud) hud->UpdateStartCounter(-r.Time);
  } else if (r.Time >= 0.0f && !m_statusShown) {
    m_statusShown = 1;
    if (hud) {
      hud->CloseStartInfo();
      hud->ShowPlayerStatus(r.Athlete->AthletName.c_str(), r.Athlete->Nationality.c_str());
    }
  }
}

void N_GameRelay::CollectOthers(const N_RelayTeam& team) {
  m_others.clear();
  for (const auto& other : m_teams) {
    if (other.get() != &team && other->Active) m_others.push_back(other->Active);
  }
}

void N_GameRelay::StepTeam(N_RelayTeam& team, float s) {
  if (!team.Active) return;
  N_Racer& r = *team.Active;
  r.PrevPos = r.Pos;
  if (r.Time < 0.0f) {
    StepStart(team, r, s);
    return;
  }
  if (!r.Stopped) {
    r.Time += s;
    team.TeamTime += s;
  }
  if (r.BreathSlot != -1 && m_services.bodySounds) {
    m_services.bodySounds->UpdateBreath(r.BreathSlot, r.Pos.x, r.Pos.y, r.Pos.z, r.Condition, r.HeartRate);
  }
  const std::int32_t previous = r.Anim;
  r.Anim = CurrentAction(r);
  std::int32_t next = r.Anim;
  N_Vector3 proposed = r.Pos;
  SectorEvents(r, *m_path, m_splits.get(), true, m_gameData->ArcadeLevels != 0, true);
  SectorEventsRelay(team, m_splits.get());
  RacerPostStep(r, s);
  const bool player = team.PlayerTeam != 0;
  const Ai::N_AiTableMng* tables = m_path->AiTables();
  CollectOthers(team);

  if (team.Flags & N_RelayTeam::kHandOver) {
    N_Racer* const outgoing = &r;
    if (RelayHandOver(team, *m_path, proposed, next, s)) {
      team.Flags &= ~N_RelayTeam::kHandOver;
      outgoing->Power = 0.0f;
      if (player) m_letterboxOn = 0;
    } else if (player) {
      m_letterboxOn = 1;
      outgoing->ControlKind = 0;
    }
    if (player) m_markerPoints.insert(m_markerPoints.begin(), outgoing->Pos);
  } else if (player) {
    m_markerPoints.insert(m_markerPoints.begin(), r.Pos);
    if (m_gameData->Difficulty != 0) {
      ChooseTechniqueManual(r, next, s);
    } else {
      ChooseTechniqueAuto(r, next, s);
    }
    if (r.Power > 0.1f) m_markers->StartStarter();
    PlayerInput(r, m_controls, s);
    PlayerShooting(r, *m_path, m_controls, s);
    if (tables) SkierPhysicsStep(r, tables->GetAnimPhysicRow(r.Anim), s, proposed);
    ResolveCollisions(r, m_others, proposed);
  } else {
    m_markerPoints.push_back(r.Pos);
    ChooseTechniqueAuto(r, next, s);
    if (tables) SkierPhysicsStep(r, tables->GetAnimPhysicRow(r.Anim), s, proposed);
    AiPilot(r, *m_path, m_others, s, proposed);
  }
  AnimateAndMove(team, r, previous, next, proposed, s);
  if (m_splits) r.Position = m_splits->CountRelayRank(RankedMember(team, r));
}

std::int32_t N_GameRelay::RankedMember(const N_RelayTeam& team, const N_Racer& r) const {
  // A new leg has no time of its own at the checkpoint on display: the player's team
  // keeps the place its member had there until the new leg passes a checkpoint.
  if (team.PlayerTeam && m_splits->PlayerId() > 0) return m_splits->PlayerId();
  return r.StartNumber;
}

void N_GameRelay::AnimateAndMove(N_RelayTeam& team, N_Racer& r, std::int32_t previous, std::int32_t next,
                                 const N_Vector3& proposed, float /*s*/) {
  const Ai::N_AiTableMng* tables = m_path->AiTables();
  const std::int32_t figure = FigureOf(r);
  r.AnimPhase = ActionProgress(r);
  if (tables && figure >= 0 && m_services.figures) {
    const float* row = tables->GetAnimPhysicRow(r.Anim);
    const float rate = row[12] + (row[13] - row[12]) * std::fabs(r.Power);
    m_services.figures->SetActionRate(figure, rate, r.Anim == 4 ? std::fabs(r.Power) : 0.0f,
                                      tables->GetAnimBlendTime(previous, r.Anim));
  }
  m_chosen[&r] = next;
  if (figure >= 0 && m_services.figures) m_services.figures->SetNextAction(figure, next, 30.0f, 0.0f);
  // Only the last leg turns into the finish; the others ski on to the change zone.
  const bool lastLeg = team.IsLastLeg() || (team.Active != &r && team.Members[3] == &r);
  N_Vector3 moved;
  FollowSectors(r, proposed, moved, m_gameData->ArcadeLevels != 0, true, lastLeg);
  r.Pos = moved;
  FitToGround(r);
}

void N_GameRelay::AnimateWaiting(N_RelayTeam& team, float s) {
  if (team.Finished || !team.Active || team.IsLastLeg() || !team.Next) return;
  N_Racer& w = *team.Next;
  std::int32_t anim = 18;
  if (team.Flags & N_RelayTeam::kHandOver) {
    anim = 17;
  } else if (team.Flags & N_RelayTeam::kShowNext) {
    anim = 46;
  }
  w.Anim = anim;
  m_chosen[&w] = anim;
  const std::int32_t figure = FigureOf(w);
  if (figure >= 0 && m_services.figures) m_services.figures->SetNextAction(figure, anim, 30.0f, 0.0f);
  if (!(team.Flags & N_RelayTeam::kHandOver)) return;
  w.PrevPos = w.Pos;
  const N_Vector3 proposed = w.Pos + w.Heading * (w.Speed * kInchesPerMetre * s);
  N_Vector3 moved;
  FollowSectors(w, proposed, moved, m_gameData->ArcadeLevels != 0, true, false);
  w.Pos = moved;
  FitToGround(w);
}

void N_GameRelay::StepLetterbox(float s) {
  if (m_letterboxOn) {
    m_letterboxLevel = std::min(m_letterboxLevel + s, 1.0f);
  } else {
    m_letterboxLevel = std::max(m_letterboxLevel - s, 0.0f);
  }
  if (m_services.camera) m_services.camera->SetLetterbox(m_letterboxLevel);
}

void N_GameRelay::Render(float dt) {
  const float t = m_controls.IsPaused() ? 0.0f : dt;
  if (!m_path) return;
  m_path->RenderShootTargets(t);
  if (m_playerTeam && m_playerTeam->Active) {
    RenderRacerMarkers(*m_playerTeam->Active, m_path.get(), *m_markers, m_services.hud, t);
  }
  m_markers->RenderStarter(t);
  if (!m_services.figures) return;
  auto draw = [&](const N_Racer& r) {
    const std::int32_t figure = FigureOf(r);
    if (figure < 0) return;
    N_Matrix3 orientation;
    orientation.FromDirection(r.Heading);
    if (r.KampfgeistActive) AthleteGlowOn(*r.Athlete);
    m_services.figures->RenderFigure(t, figure, r.Pos, orientation, r.StartNumber, r.Athlete, false, true, true);
    if (r.KampfgeistActive) AthleteGlowOff(*r.Athlete);
  };
  for (const auto& team : m_teams) {
    const N_Racer* a = team->Active;
    if (!a) continue;
    if (!a->Finished && a->Time >= m_startOffset) draw(*a);
    if (!team->IsLastLeg() && (team->Flags & N_RelayTeam::kShowNext) && team->Next && team->Next->Time >= -kCountdown) {
      draw(*team->Next);
    }
  }
}

std::unique_ptr<ExportData> N_GameRelay::PollResult() {
  if (m_resultMade) return nullptr;
  const bool allFinished =
      std::all_of(m_teams.begin(), m_teams.end(), [](const auto& team) { return team->Finished != 0; });
  if (!allFinished && !m_raceOver) return nullptr;
  m_resultMade = true;
  if (N_RaceHud* hud = m_services.hud) {
    hud->CloseSplitTimes();
    hud->HidePlayerStatus();
    hud->CloseShootingPage();
    hud->ClosePenaltyRounds();
    hud->CloseStartInfo();
  }
  DoCompunting();
  auto result = std::make_unique<ExportData>();
  result->Discipline = DisciplineCode::kRelay;
  for (const auto& team : m_teams) {
    for (const N_Racer* r : team->Members) {
      result->Rows.push_back(ResultRowOf(*r));
      result->Rows.back().Player = team.get() == m_playerTeam;
    }
  }
  result->Sex = m_gameData ? m_gameData->Sex : 0;
  m_gameData.reset();
  return result;
}

void N_GameRelay::DoCompunting() {
  N_AiLog::Write("DoCompunting");
  if (m_playerTeam && !m_playerTeam->Finished) {
    m_playerTeam->Finished = 1;
    if (N_Racer* a = m_playerTeam->Active) {
      a->Time = -1.0f;
      a->Disqualified = 1;
    }
  }
  // The wall-clock seconds come from the application timer, ticked as the race
  // simulation's passes tick it, so the computation's time does not land in the next
  // frame's step.
  N_TimerBase* timer = m_services.timer;
  const auto tick = [timer] {
    if (!timer) return 0.0f;
    timer->Tick();
    return float(timer->GetFrameTime());
  };
  tick();
  tick();
  float spent = 0.0f;
  float computed = 0.0f;
  int steps = 0;
  auto running = [this] {
    return std::any_of(m_teams.begin(), m_teams.end(), [](const auto& team) { return team->Finished == 0; });
  };
  while (running()) {
    // The teams step directly: neither the pause toggle nor Esc holds the computation.
    Step(race_step::kStep);
    computed += race_step::kStep;
    for (const auto& team : m_teams) {
      if (team->Finished) continue;
      // A member whose clock stands never reaches the team limit: the computed time ends it too.
      if (team->TeamTime > kComputeLimit || computed > kComputeLimit) {
        team->Finished = 1;
        team->TeamTime = -1.0f;
        if (team->Active) {
          team->Active->Disqualified = 1;
          team->Active->Time = -1.0f;
        }
      }
      AdvanceFigure(team->Active, race_step::kStep);
      if (team->Active && !team->IsLastLeg() && (team->Flags & N_RelayTeam::kShowNext)) {
        AdvanceFigure(team->Next, race_step::kStep);
      }
    }
    if (++steps % kComputeLogSteps == 0) {
      const float lap = tick();
      spent += lap;
      N_AiLog::Write(FormatString("DoCompunting time: %3.2f", double(lap)));
    }
  }
  N_AiLog::Write(FormatString("DoCompunting time: %3.2f", double(spent + tick())));
}

bool N_GameRelay::GetAthleteView(std::int32_t athleteId, const float** block, N_Vector3* point) {
  for (const auto& team : m_teams) {
    N_Racer* a = team->Active;
    if (a && FigureOf(*a) >= 0 && FigureOf(*a) == athleteId) {
      if (block) *block = &a->Probes[0].x;
      if (point) *point = a->GroundNormal;
      return true;
    }
  }
  if (block) *block = nullptr;
  return false;
}

std::int32_t N_GameRelay::FigureOf(const N_Racer& r) const { return r.Athlete ? r.Athlete->Figure : -1; }

std::int32_t N_GameRelay::CurrentAction(const N_Racer& r) const {
  if (FigureOf(r) < 0 || !m_services.figures) {
    const auto it = m_chosen.find(&r);
    return it != m_chosen.end() ? it->second : r.Anim;
  }
  return m_services.figures->GetCurrentAction(FigureOf(r));
}

float N_GameRelay::ActionProgress(const N_Racer& r) const {
  if (FigureOf(r) < 0 || !m_services.figures) return 1.0f;
  return m_services.figures->GetActionProgress(FigureOf(r));
}

void N_GameRelay::AdvanceFigure(const N_Racer* r, float s) {
  if (!r || FigureOf(*r) < 0 || !m_services.figures) return;
  N_Matrix3 orientation;
  orientation.FromDirection(r->Heading);
  m_services.figures->RenderFigure(s, FigureOf(*r), r->Pos, orientation, r->StartNumber, r->Athlete, false, false,
                                   false);
}
