#include "frontend/BuddySeries.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/StringUtil.h"
#include "core/VarMng.h"
#include "frontend/BuddyGames.h"
#include "frontend/FrontendUtil.h"
#include "frontend/MainMenu.h"
#include "frontend/MessageBox.h"
#include "frontend/PageSwitch.h"
#include "frontend/RaceLaunch.h"
#include "gui/GuiPage.h"
#include "gui/GuiTable.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"
#include "race/GameBodyGamesRun.h"
#include "race/GameBodyGamesShoot.h"
#include "race/GameData.h"
#include "race/LevelMap.h"
#include "race/RaceSimServices.h"
#include "race/World.h"
#include "scene/CameraMng.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

namespace {

constexpr std::int32_t kBuddyTrack = 10;  // "Running" of the full level table
constexpr float kBuddyStartTime = -5.0f;

void SetInt(const char* name, std::int32_t value) {
  if (g_varMng) g_varMng->SetInt(name, value, 2);
}

/// The shooting page reads the shooter's name and flag from the status page.
void ShowShooter(const BuddyPlayer& player) {
  frontend::SetCaption("Name1", player.name);
  if (N_GuiElement* flag = frontend::GetElement("Natn1")) flag->SetShader(player.nation);
}

/// "BuddyStart" for the player whose turn comes: name and game description.
void ShowTurnPage(const BuddyPlayer& player) {
  frontend::SetCaption("Name7", player.name);
  frontend::SetCaption("BuddyText1", frontend::Text(BuddyGameKey(410, BuddyGameIndex).c_str()));
}

/// Launches the turn of the player at the index (the shooter shown first).
void LaunchTurn(const BuddyPlayer& player) {
  if (BuddyGameOf(BuddyGameIndex).Kind == kBuddyShooting) ShowShooter(player);
  StartBuddyGame(0, 0, BuddyGameIndex, player.name, player.nation);
}

/// Takes a run's result into the player's record: the hits as points for games 0 and
/// 1, else the time; a failed run (or none) keeps 0 points or no time.
void StoreResult(BuddyPlayer& player, const ExportData* result) {
  const bool success = result && result->Success == 1;
  if (BuddyGameKeepsPoints(BuddyGameIndex)) {
    player.points = success ? result->BuddyShots - result->BuddyMisses : 0;
  } else {
    player.time = success ? result->BuddyTime : -1.0f;
  }
}

/// A standings row: place, quoted name, nation, then points or the time ("Disq"
/// without one).
std::string StandingsRow(std::size_t place, const BuddyPlayer& player, bool points) {
  std::string row = std::to_string(place) + " " + frontend::QuotedCell(player.name) + " " + player.nation + " ";
  if (points) return row + std::to_string(player.points);
  return row + (player.time >= 0.0f ? FormatRaceTime(player.time) : std::string("Disq"));
}

}  // namespace

void StartBuddySeries() {
  if (BuddyPlayers.empty()) {
    ShowMessageOK(frontend::Text("#str322"), "OKMsgClick");
    return;
  }
  for (BuddyPlayer& player : BuddyPlayers) {
    player.points = 0;
    player.time = -1.0f;
  }
  const BuddyPlayer first = BuddyPlayers.front();
  if (BuddyGameOf(BuddyGameIndex).Kind == kBuddyShooting) ShowShooter(first);
  SwitchPageWithFade("BuddyGames", "Loading", false);
  StartBuddyGame(0, 0, BuddyGameIndex, first.name, first.nation);
  BuddyPlayerIndex = 0;
  frontend::ClosePage("Loading", 2.0f);
  ShowTurnPage(first);
  if (N_GuiElement* end = frontend::GetElement("End1")) end->Show();
  if (N_GuiPage* page = frontend::FindPage("BuddyStart")) page->Show(2.0f);
}

void StartBuddyGame(std::int32_t athlete, std::int32_t sex, std::int32_t game, const std::string& name,
                    const std::string& nation) {
  BuddyGameIndex = game;
  const BuddyGameRow& row = BuddyGameOf(game);
  std::unique_ptr<GameData> data = launch::NewGameData();
  data->StartList.push_back({athlete, kBuddyStartTime});
  data->Sex = sex;
  data->Discipline = DisciplineCode::kBuddyGame;
  data->Weather = 0;
  data->SnowQuality = 0;
  data->Track = kBuddyTrack;
  data->Laps = static_cast<std::uint8_t>(row.TargetHits & 0xFF);  // -1 gives 255
  data->PlayerIndex = 0;
  data->ArcadeLevels = 0;
  data->Difficulty = 0;
  data->TimeLimit = row.TimeLimit;
  data->Faultless = row.Faultless;
  data->TargetHits = row.TargetHits;
  data->Sway = row.Sway;
  data->ShotLimit = row.ShotLimit;
  data->SetPlayerName(name);
  data->SetNation(nation);

  launch::SetTrackMode(1);
  launch::SwitchRaceSounds(false);
  ShowLevelMap(kBuddyTrack, false);
  // Loaded again for every turn: the world then re-reads only the level's ".cfg".
  launch::LoadRaceLevel(kBuddyTrack, false, false, false);
  launch::SetRaceVariables(4, row.Kind);
  frontend::SetCaption("FR/Caption", frontend::Text("#str165"));
  frontend::SetCaption("FR/Discipline", frontend::Text(("#str" + std::to_string(400 + game)).c_str()));

  const bool shooting = row.Kind == kBuddyShooting;
  launch::InstallGame([&data, shooting]() -> std::unique_ptr<N_Game> {
    if (shooting) return std::make_unique<N_GameBodyGamesShoot>(std::move(data), N_RaceServices::FromWorld());
    return std::make_unique<N_GameBodyGamesRun>(std::move(data), N_RaceServices::FromWorld());
  });
}

bool NextBuddyGame(std::int32_t resultHandle) {
  const ExportData* result = GetFinishedResult(resultHandle);
  if (!result && g_log) g_log->Print("NextBuddyGame: there is no result %d; the run counts as failed\n", resultHandle);
  const bool inList = BuddyPlayerIndex >= 0 && static_cast<std::size_t>(BuddyPlayerIndex) < BuddyPlayers.size();
  if (inList) StoreResult(BuddyPlayers[static_cast<std::size_t>(BuddyPlayerIndex)], result);
  ReleaseFinishedResult(resultHandle);
  if (!inList) return false;
  ++BuddyPlayerIndex;
  if (static_cast<std::size_t>(BuddyPlayerIndex) >= BuddyPlayers.size()) return false;
  const BuddyPlayer next = BuddyPlayers[static_cast<std::size_t>(BuddyPlayerIndex)];
  LaunchTurn(next);
  ShowTurnPage(next);
  if (N_GuiPage* page = frontend::FindPage("BuddyStart")) page->Show(2.0f);
  return true;
}

int CompareBuddyPlayers(const BuddyPlayer& a, const BuddyPlayer& b) {
  if (a.points != 0 || b.points != 0) return a.points < b.points ? 1 : -1;
  const bool aTime = a.time >= 0.0f, bTime = b.time >= 0.0f;
  if (!aTime && !bTime) return 0;
  if (!aTime) return 1;
  if (!bTime) return -1;
  return a.time > b.time ? 1 : -1;
}

bool BuddyRanksBefore(const BuddyPlayer& a, const BuddyPlayer& b) {
  if (a.points != 0 || b.points != 0) return a.points > b.points;
  const bool aTime = a.time >= 0.0f, bTime = b.time >= 0.0f;
  if (aTime != bTime) return aTime;
  return aTime && a.time < b.time;
}

void ShowBuddyResults() {
  frontend::ShowPageNow("FinalResult");
  for (const char* other : {"FR/Table", "FR/Table1", "FR/Table2"}) {
    if (N_GuiElement* table = frontend::GetElement(other)) table->Hide();
  }
  if (auto* table = frontend::GetElementOf<N_GuiTable>("FR/Table3")) {
    table->Show();
    table->Clear();
    // The list keeps its order (row i of "Buddy1" is record i): the ranking is a copy.
    std::vector<BuddyPlayer> ranked = BuddyPlayers;
    std::stable_sort(ranked.begin(), ranked.end(), BuddyRanksBefore);
    const bool points = BuddyGameKeepsPoints(BuddyGameIndex);
    table->SetHeaderText(frontend::Text(points ? "#str108" : "#str257"));
    for (std::size_t i = 0; i < ranked.size(); ++i) table->AddRow(StandingsRow(i + 1, ranked[i], points), false);
  }
  SetInt("gamemode", 7);
}

extern "C" void BuddyGameStartClick(N_GuiElement* element) {
  if (!element) return;
  const std::string_view name = element->GetName();
  N_GuiPage* page = element->GetPage();
  if (name == "Start9") {
    if (page) page->Close(2.0f);
    N_Game* game = g_world ? g_world->Game() : nullptr;
    if (BuddyGameOf(BuddyGameIndex).Kind == kBuddyRunning) {
      // The game waits, paused, until the race camera's start flight hands over.
      if (g_world) g_world->CameraMng().SetRaceCameraMode(1);
    } else if (game) {
      game->SetPaused(0);
    }
  } else if (name == "End1") {
    if (g_world && g_world->Game()) {
      g_world->Game()->OnRemove();
      g_world->SetGame(nullptr);
    }
    SetInt("detail", 0);
    SetInt("ShowAnimObj", 1);
    SwitchSoundGroupsToMenu();
    if (page) page->Hide();
    frontend::ShowPageNow("BuddyGames");
  }
}
