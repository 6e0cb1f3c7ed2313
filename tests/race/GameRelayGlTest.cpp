// A relay in the game on the OpenGL device (Xvfb with Mesa), launched from code as the
// relay launch does (the description, the level, the mode, Load, Init, paused and
// unpaused): the countdown shows, a racer with the fighting spirit is drawn glowing,
// and the player team's hand-over narrows the picture between black bars that are gone
// once the new member skis.
#include "core/KeyDefinitions.h"
#include "gui/GuiElement.h"
#include "race/GameData.h"
#include "race/GameRelay.h"
#include "race/Racer.h"
#include "race/RelayTeam.h"
#include "race/ai/AiPath.h"
#include "race/ai/StartPlaces.h"
#include "tests/race/WorldGlRig.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = test::WorldGlRig::kWidth, kHeight = test::WorldGlRig::kHeight;

using WorldGl = test::WorldGlRig;

bool Dark(DWORD pixel) { return (pixel & 0xFF) < 12 && ((pixel >> 8) & 0xFF) < 12 && ((pixel >> 16) & 0xFF) < 12; }

/// Dark pixels in the rows [top, bottom).
int DarkIn(const std::vector<DWORD>& pixels, int top, int bottom) {
  int dark = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < kWidth; ++x) dark += Dark(WorldGl::At(pixels, x, y));
  return dark;
}

/// The scene alone (no pages), drawn again without time passing.
std::vector<DWORD> SceneFrame(WorldGl& w) {
  w.SceneOnly();
  w.world->Render(0.0f);
  return w.Pixels();
}

TEST(GameRelayGl, AGlowingRacerAndTheLetterboxOfThePlayersHandOver) {
  WorldGl w;
  w.core.vars->SetString("mapname", "Beitostolen.alf", 2);
  w.world->LoadLevel();
  auto data = std::make_unique<GameData>();
  data->Discipline = DisciplineCode::kRelay;
  data->Laps = 1;
  data->PlayerIndex = 4;
  for (int i = 0; i < 8; ++i) data->StartList.push_back({i, 0.0f});
  auto game = std::make_unique<N_GameRelay>(std::move(data), N_RaceServices::FromWorld());
  N_GameRelay& mode = *game;
  w.world->SetGame(std::move(game));
  mode.Load();
  mode.Init();
  mode.SetPaused(1);
  mode.SetPaused(0);
  w.core.vars->SetInt("viewmode", 1, 0);  // the free camera, which follows the player
  ResetKeyDefinitions();
  N_RelayTeam& team = *mode.PlayerTeam();
  ASSERT_EQ(&team, mode.Team(1));
  N_Racer& in = *team.Members[0];
  N_Racer& out = *team.Members[1];

  std::string counter;
  for (int frame = 0; frame < 3000 && in.Time < 1.0f; ++frame) {
    w.Frame(0.1f);
    if (in.Time > -5.0f && in.Time < -0.5f) counter = w.world->GuiMng().GetElement("Counter", false)->GetCaption();
  }
  ASSERT_EQ(w.world->Game(), &mode);
  EXPECT_EQ(counter.substr(0, 4), "00:0") << counter;

  // The same frame with the fighting spirit and without: the gear glows over the figure
  // in front of the following camera.
  const std::vector<DWORD> plain = SceneFrame(w);
  in.KampfgeistActive = 1;
  const std::vector<DWORD> glowing = SceneFrame(w);
  in.KampfgeistActive = 0;
  int figure = 0;
  for (int y = kHeight / 6; y < kHeight * 5 / 6; ++y) {
    for (int x = kWidth / 4; x < kWidth * 3 / 4; ++x) figure += WorldGl::At(plain, x, y) != WorldGl::At(glowing, x, y);
  }
  EXPECT_GT(figure, 100) << "the glowing gear of the figure at the screen's centre";
  EXPECT_EQ(DarkIn(plain, 0, 4), 0) << "no bars before the hand-over";

  // The first leg brought into the change zone on its last lap with the hand-over asked
  // for, as "Trigger_RelayAiChange" asks it.
  in.LapsLeft = 0;
  in.Holding = 0;
  in.Sector = out.Sector;
  N_Vector3 offset;
  mode.Path()->StartPlaces()->GetRelayChangeOffset(offset, std::int32_t(team.Index));
  in.Pos = out.Pos - offset;
  in.Speed = 5.0f;
  team.Flags |= N_RelayTeam::kHandOver;
  float deepest = 0.0f;
  std::vector<DWORD> barred;
  for (int frame = 0; frame < 400 && team.Active == &in; ++frame) {
    w.Frame(0.05f);
    if (team.Active == &in && mode.LetterboxLevel() > deepest) {
      deepest = mode.LetterboxLevel();
      barred = SceneFrame(w);
    }
  }
  ASSERT_EQ(team.Active, &out);
  // Bars of (480 - the narrowed height) / 2 rows: the narrowed height runs from 480 to 360.
  const int bar = int(deepest * 60.0f) - 1;
  ASSERT_GE(bar, 4);
  EXPECT_EQ(DarkIn(barred, 0, bar), bar * kWidth) << "the top rows";
  EXPECT_EQ(DarkIn(barred, kHeight - bar, kHeight), bar * kWidth) << "the bottom rows";
  for (int frame = 0; frame < 60 && mode.LetterboxLevel() > 0.0f; ++frame) w.Frame(0.05f);
  EXPECT_EQ(mode.LetterboxLevel(), 0.0f);
  const std::vector<DWORD> after = SceneFrame(w);
  EXPECT_LT(DarkIn(after, 0, 4), kWidth) << "no bars after it";
  EXPECT_LT(DarkIn(after, kHeight - 4, kHeight), kWidth);
  w.world->SetGame(nullptr);
}

}  // namespace
