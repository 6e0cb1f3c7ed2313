#include "frontend/RaceSetup.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "frontend/AthleteField.h"
#include "frontend/FrontendUtil.h"
#include "frontend/MessageBox.h"
#include "frontend/RaceLaunch.h"
#include "frontend/RelayTeam.h"
#include "frontend/TopTimesPages.h"
#include "gui/GuiElement.h"
#include "gui/GuiModel.h"
#include "gui/GuiTable.h"
#include "race/GameData.h"
#include "race/SetupPage.h"
#include "race/World.h"

#include <string>
#include <utility>

using namespace frontend;

namespace {

constexpr std::size_t kRelayMembers = 4;

const N_AthletProfile* Athlete(std::int32_t sex, std::int64_t index) {
  return g_world ? AthleteOfSex(g_world->AthletMng(), sex, index) : nullptr;
}

void SetHeight(const char* name, float height) {
  if (N_GuiElement* element = GetElement(name)) element->SetHeight(height);
}

}  // namespace

N_RaceSetup::Choice N_RaceSetup::ReadChoice() const {
  N_SetupPage page;
  Choice choice;
  choice.level = page.Image(m_names.level);
  choice.weather = page.Item(m_names.weather);
  choice.snow = page.Item(m_names.snow);
  choice.discipline = page.Item(m_names.discipline);
  choice.sex = page.Item(m_names.sex);
  choice.difficulty = page.Item(m_names.difficulty);
  choice.complete = page.Complete();
  if (!choice.complete) page.LogMissing(m_names.who, "nothing is started");
  return choice;
}

bool N_RaceSetup::CanLaunch(const Choice& choice) const {
  if (!choice.complete) return false;
  if (!launch::IsLevelRow(choice.level, m_names.arcadeTable)) {
    if (g_log) g_log->Print("%s: track %d is no row of the level table, nothing is started\n", m_names.who, choice.level);
    return false;
  }
  return true;
}

void N_RaceSetup::FillCommon(GameData& data, const Choice& choice) const {
  data.Sex = choice.sex;
  data.Weather = choice.weather;
  data.SnowQuality = choice.snow;
  data.Track = choice.level;
  data.Laps = kLaps;
  data.ArcadeLevels = m_names.arcadeTable ? 1 : 0;
  data.Difficulty = choice.difficulty != 0 ? 1 : 0;
}

void N_RaceSetup::ShowSelectedAthlete(std::int32_t sex) const {
  auto* table = GetElementOf<N_GuiTable>(m_names.athletes);
  if (!table) return;
  const std::int32_t row = table->GetSelectedRow();
  if (row < 0) return;
  if (auto* model = GetElementOf<N_GuiModel>(m_names.model)) {
    model->SetAthlete(row);
    model->SetSex(sex);
  }
}

void N_RaceSetup::Show() {
  const std::int32_t sex = SelectedItem(m_names.sex);
  FillAthleteList(m_names.athletes, sex);
  auto* table = GetElementOf<N_GuiTable>(m_names.athletes);
  if (table && table->GetRowCount() > 0 && table->GetSelectedRow() < 0) table->SelectRow(0);
  KeepRelayTeamFor(sex);
  // The selector shown decides the mode: the page object outlives the GUI of an earlier
  // start of the program in this process, whose relay choice must not start a relay.
  m_relayMode = false;
  ChangeDiscipline(SelectedItem(m_names.discipline));
  ShowSelectedAthlete(sex);
}

void N_RaceSetup::ChangeSex(std::int32_t sex) {
  // The team's indices name athletes of the sex they were picked from: another list
  // would race other athletes than the rows shown.
  ResetRelayTeam();
  FillAthleteList(m_names.athletes, sex);
  ShowSelectedAthlete(sex);
}

void N_RaceSetup::ChangeDiscipline(std::int32_t discipline) {
  auto* table = GetElementOf<N_GuiTable>(m_names.athletes);
  if (discipline == kRelayItem) {
    m_relayMode = true;
    SetHeight(m_names.frame, kRelayFrameHeight);
    SetHeight(m_names.athletes, kRelayTableHeight);
    ShowPageNow("Relay");
    if (table) {
      for (const std::uint32_t member : RelayTeam) table->MarkRow(static_cast<std::int32_t>(member));
    }
    return;
  }
  if (!m_relayMode) return;
  SetHeight(m_names.frame, kFrameHeight);
  SetHeight(m_names.athletes, kTableHeight);
  HidePageNow("Relay");
  m_relayMode = false;
  if (table) {
    table->ClearMarks();
    table->SelectRow(0);
  }
}

void N_RaceSetup::Leave(std::initializer_list<const char*> pages) const {
  if (m_relayMode) HidePageNow("Relay");
  HidePageNow(m_names.page);
  for (const char* page : pages) ShowPageNow(page);
}

void N_RaceSetup::Click(const N_GuiElement& element) {
  const Choice choice = ReadChoice();
  const std::string& name = element.GetName();
  if (name == m_names.sex) {
    ChangeSex(choice.sex);
  } else if (name == m_names.discipline) {
    ChangeDiscipline(choice.discipline);
  } else if (name == m_names.athletes) {
    ShowSelectedAthlete(choice.sex);
  } else if (name == m_names.back) {
    Leave({"Background", "SinglePlayer"});
  } else if (name == m_names.topTimes) {
    SelectTopTimesBlock(m_names.topTimesPage, choice.level, choice.sex, choice.discipline, choice.difficulty);
    Leave({m_names.topTimesPage});
  } else if (name == m_names.start) {
    if (m_relayMode) {
      StartRelay(choice.difficulty, choice.sex, choice.level, choice.weather, choice.snow);
    } else {
      StartIndividual(choice);
    }
  }
}

void N_RaceSetup::StartIndividual(const Choice& choice) {
  const std::int32_t player = SelectedRow(m_names.athletes);
  if (!CanLaunch(choice)) return;
  if (!Athlete(choice.sex, player)) {
    if (g_log) g_log->Print("%s: no athlete is selected, nothing is started\n", m_names.who);
    return;
  }
  std::unique_ptr<GameData> data = launch::NewGameData();
  FillCommon(*data, choice);
  const bool massStart = choice.discipline == kMassStartItem;
  // The pursuit starts as a sprint; its result starts the pursuit.
  data->Discipline = massStart ? DisciplineCode::kMassStart : DisciplineCode::kSprint;
  launch::SetTrackMode(m_names.trackMode);
  launch::FillIndividualField(*data, player, massStart);

  launch::SwitchToLoading(m_names.page);
  launch::SwitchRaceSounds(true);
  launch::FillStartPages(*data);
  launch::LoadRaceLevel(*data);
  const std::int32_t discipline = data->Discipline;
  launch::SetRaceVariables(m_names.gameMode, discipline);
  launch::InstallArcadeGame(std::move(data));
  launch::CloseLoading();
  launch::ShowStartPage(discipline);
}

void N_RaceSetup::StartRelay(std::int32_t difficulty, std::int32_t sex, std::int32_t track, std::int32_t weather,
                             std::int32_t snow) {
  if (RelayTeam.size() != kRelayMembers) {
    ShowMessageOK(Text("#str316"), "OKMsgClick");
    return;
  }
  Choice choice;
  choice.difficulty = difficulty;
  choice.sex = sex;
  choice.level = track;
  choice.weather = weather;
  choice.snow = snow;
  choice.discipline = kRelayItem;
  choice.complete = difficulty >= 0 && sex >= 0 && weather >= 0 && snow >= 0;
  if (!choice.complete && g_log) g_log->Print("%s: a relay selector is missing, nothing is started\n", m_names.who);
  if (!CanLaunch(choice)) return;
  for (const std::uint32_t member : RelayTeam) {
    if (!Athlete(sex, member)) {
      if (g_log) g_log->Print("%s: relay member %u is no athlete of the sex, nothing is started\n", m_names.who, member);
      return;
    }
  }
  std::unique_ptr<GameData> data = launch::NewGameData();
  FillCommon(*data, choice);
  data->Discipline = DisciplineCode::kRelay;
  launch::SetTrackMode(m_names.trackMode);
  launch::FillRelayField(*data, RelayTeam);

  launch::SwitchToLoading(m_names.page);
  launch::SwitchRaceSounds(true);
  launch::SetRaceVariables(m_names.gameMode, DisciplineCode::kRelay);
  launch::FillStartPages(*data);
  launch::LoadRaceLevel(*data);
  launch::InstallRelayGame(std::move(data));
  launch::CloseLoading();
  launch::ShowStartPage(DisciplineCode::kRelay);
}
