#include "race/GameLaunch.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Timer.h"
#include "race/World.h"

#include <cstdio>
#include <new>

namespace {

constexpr const char* kNoMemory = "There is not enough memory to run a game\n";
constexpr int kNoMemoryCode = 4;

}  // namespace

void ReportNoMemoryForGame() {
  if (g_errorLog) g_errorLog->Critical(kNoMemoryCode, "%s", kNoMemory);
  std::fputs(kNoMemory, stderr);
  CriticalExit(-1);
}

N_Game* LaunchGame(const GameMaker& make) {
  if (!g_world) {
    if (g_log) g_log->Print("LaunchGame: there is no world to run the game in\n");
    return nullptr;
  }
  if (N_Game* previous = g_world->Game()) {
    previous->OnRemove();
    g_world->SetGame(nullptr);
  }
  std::unique_ptr<N_Game> game;
  try {
    game = make();
  } catch (const std::bad_alloc&) {
    game.reset();
  }
  if (!game) ReportNoMemoryForGame();
  N_Game* launched = game.get();
  g_world->SetGame(std::move(game));
  launched->Load();
  launched->Init();
  launched->SetPaused(1);
  if (g_timer) {
    g_timer->Tick();
    g_timer->Tick();
  }
  return launched;
}
