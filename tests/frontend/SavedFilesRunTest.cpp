// The saved files the game reads, broken one at a time, in the game in process on the
// sample data: the career profile, the career's tables, the arcade top times and the
// buddy scores, each made unreadable (a folder in its place) and damaged in turn; the
// career's tables gone too once the career runs. Each time the player browses the
// career slots, continues the career of slot 0 to the end of its season (its last
// pursuit), races an arcade race and opens the buddy scores: the broken file stays as
// it was, every file no step has to write stays byte for byte, and a box names the
// broken file (a line of the log the missing one, which the race's booking read without
// a word). At the end the program ends with the career on its page, which saves it.
// So are the tables gone before the career is continued (said once, in the box) and a
// refused journal of the career; every OK box's lines lie above its button (800 x 600).
#include "app/Application.h"
#include "core/Globals.h"
#include "core/VarMng.h"
#include "frontend/BuddyGamesHS.h"
#include "frontend/CareerTables.h"
#include "frontend/FrontendUtil.h"
#include "frontend/career/CareerProfileFile.h"
#include "frontend/career/CareerState.h"
#include "frontend/HighScoreRows.h"
#include "frontend/career/CareerProfilePage.h"
#include "frontend/career/CareerRoster.h"
#include "gui/GuiEvent.h"
#include "gui/GuiText.h"
#include "gui/GuiTextSelector.h"
#include "platform/win32.h"
#include "race/AthletMng.h"
#include "race/GameArcade.h"
#include "race/TopTimeTables.h"
#include "race/World.h"
#include "tests/frontend/MenuScript.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using test::Gui;
using test::Script;
using test::Visible;
using Files = std::map<std::string, std::string>;

constexpr const char* kProfile = "profile0.dat";
constexpr const char* kCareerTables = "career0.hs";
constexpr const char* kRoster = "profile0";
constexpr const char* kArcade = "arcade.hs";
constexpr const char* kBuddy = "buddy_games.hs";
constexpr const char* kJournal = ".career0.set";

/// The names and contents of the files below the folder ("<folder>" for a folder).
Files Snapshot(const std::string& folder) {
  Files files;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(e.path(), folder).string();
    if (e.is_directory()) {
      files[name] = "<folder>";
      continue;
    }
    std::ifstream in(e.path(), std::ios::binary);
    files[name] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

/// A row of a table's bytes with a time of nan at the offset (a named first row).
std::string WithNanRow(std::string bytes, std::size_t timeAt) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  bytes[0] = 'X';
  std::memcpy(&bytes[timeAt], &nan, 4);
  return bytes;
}

/// The career of slot 0 before its season's last pursuit (the sprint booked), its
/// roster, the top times, the buddy scores, the final table and another slot.
Files Pristine(N_AthletMng& athletes) {
  N_CareerProfile p;
  p.number = 0;
  std::strcpy(p.name, "Runner");
  std::strcpy(p.nation, "NOR");
  p.started = 1;
  p.raceIndex = 9;
  p.stage = 1;
  for (int i = 0; i < 10; ++i) p.trackOrder[i] = 9 - i;  // the last week on the menu's course
  p.extraRaces[0] = 2;
  p.extraRaces[1] = 5;
  for (int i = 0; i < 15; ++i) p.field[i] = (i + 1) % 15;
  // The week's pursuit of its sprint's first three (a short race).
  p.pursuitCount = 3;
  for (int i = 0; i < 15; ++i) p.pursuitList[i] = {p.field[14 - i], -5.0f * float(i)};
  std::string profile(4, '\0');
  high_scores::PutI32(profile.data(), static_cast<std::int32_t>(career::kProfileVersion));
  profile += career::EncodeProfile(p);
  N_CareerHS tables;
  for (std::int32_t place = 0; place < 15; ++place) {
    const std::int32_t athlete = p.pursuitList[place].athlete;
    tables.AddResult(place, 0, 0, 0, athlete == 0 ? "Runner" : athletes.GetMale(std::size_t(athlete))->AthletName,
                     "NOR", 1000.0f + float(place), 0, 14 - place);
  }
  // The roster as the career left it: its athlete holds the profile's values.
  career::HandAthleteToRoster(p, athletes);
  const std::string roster = athletes.RosterBytes();
  athletes.RestoreDefaults();
  N_ArcadeHS arcade;
  arcade.Insert(0, 0, 0, 0, "Earlier", "Somebody", "NOR", 1, 1, 2000.0f, 3);
  N_BuddyGamesHS buddy;
  buddy.Insert(0, "Buddy", "NOR", 17, 60.0f);
  N_CareerFinalHS final;
  final.Insert(0, "Retired", "NOR", 5000, 30);
  return {{kProfile, profile},       {kCareerTables, tables.Bytes()},  {kRoster, roster},
          {kArcade, arcade.Bytes()}, {kBuddy, buddy.Bytes()},          {"career.hs", final.Bytes()},
          {"profile1.dat", profile.substr(0, 100)}};
}

struct Variant {
  const char* file;
  bool unreadable;  ///< a folder in its place; else damaged
  const char* said;  ///< what the box says of the file
  bool missing = false;  ///< removed once the career runs, said in the log
  bool early = false;  ///< missing before the career is continued instead: said in the box
};

/// The game root's whole data but the intro video and the tables, a small window.
void PrepareGameRoot(const test::TempDir& dir) {
  for (const auto& entry : fs::directory_iterator(fs::path(test::GameRoot()) / "data")) {
    const std::string name = entry.path().filename().string();
    if (name != "video" && name != "tables") test::CopyFromGameRoot(dir, "data/" + name);
  }
  fs::create_directories(dir.Path() + "/data/tables");
  dir.Write("user.cfg", "v_fullscreen 0\nv_width 800\nv_height 600\nlanguage \"eng\"\n");
}

/// The boxes open now, their texts kept, closed.
void TakeBoxes(std::string& seen) {
  for (const auto& [page, label] : {std::pair{"MessageOK", "Label2"}, {"MessageYesNo", "Label1"}}) {
    if (!Visible(page)) continue;
    seen += Gui().GetElement(label, false)->GetCaption() + "\n";
    if (label == std::string("Label2")) {  // its lines (16 units at scale 1) go down from its top to above Ok1
      auto& text = dynamic_cast<N_GuiText&>(*Gui().GetElement(label, false));
      EXPECT_EQ(text.GetVAlignment(), N_GuiElement::kAlignTop);
      EXPECT_LE(text.GetScreenY() + 16.0f * text.GetCharHeight() * float(text.Lines().size()),
                Gui().GetElement("Ok1", false)->GetScreenY()) << text.GetCaption();
    }
    frontend::HidePageNow(page);
  }
}

/// A left click as the GUI delivers it, through the element's binding.
void Press(const char* name) { ClickWithLeftButton(*Gui().GetElement(name, false)); }

/// The click, then a wait for the page (no settling: nothing aims the cursor); the
/// boxes that opened on the way are taken.
void Go(Script& script, const char* element, std::function<bool()> until, std::string& seen) {
  script.Then([element] { return Press(element), true; });
  script.Until(std::move(until), element, std::chrono::milliseconds(0));
  script.Then([&seen] { return TakeBoxes(seen), true; });
}
void Go(Script& script, const char* element, const char* page, std::string& seen) {
  Go(script, element, [page] { return Visible(page); }, seen);
}

/// A race from its start list to its result, finished by the computer, and the result's
/// click back to the page.
void Race(Script& script, const char* backTo, std::string& seen) {
  script.Until([] { return Visible("StartList"); }, "the start list", std::chrono::milliseconds(0));
  Go(script, "StartListCatcher", [] {
    const auto* game = dynamic_cast<N_GameArcade*>(g_world->Game());
    return game && !game->Paused();
  }, seen);
  script.Then([] { return dynamic_cast<N_GameArcade*>(g_world->Game())->Simulate(), true; });
  script.Until([] { return Visible("FinalResult"); }, "the final result", std::chrono::milliseconds(0));
  Go(script, "FinalResultCatcher", [backTo] { return Visible(backTo) && !Visible("FinalResult"); }, seen);
}

/// The broken file as it was made, byte for byte.
std::string Broken(const Files& pristine, const std::string& file) {
  if (file == kJournal) return "profile0.daT\nend 1\n";  // a line naming a file of another case
  std::string broken = pristine.at(file);
  if (file == kProfile) {
    broken[0] = 8;  // the version word 264
  } else if (file == kCareerTables) {
    broken[36] = 99;  // a standings total that is not its levels' sum
  } else {
    broken = WithNanRow(broken, file == kArcade ? 102 : 40);
  }
  return broken;
}

/// The tables folder after the steps: the broken file as it was made (a profile of
/// another version kept aside with its companions), the files the steps write (the
/// top times, the career booked to its season's end) changed, every other one as it
/// was; and the box named the broken file.
void CheckVariant(const Files& pristine, const Files& now, const std::string& seen, const Variant& v, bool careerRuns) {
  const std::string file = v.file;
  SCOPED_TRACE(file + (v.missing ? " missing" : v.unreadable ? " unreadable" : " damaged"));
  Files expected = pristine;
  if (v.unreadable) {
    expected[file] = "<folder>";
    expected[file + "/keep"] = "x";
  } else if (!v.missing) {
    expected[file] = Broken(pristine, file);
  }
  if (file == kJournal) expected[".profile0.dat.together"] = pristine.at(kProfile);
  if (file == kProfile && !v.unreadable) {
    for (const char* name : {kProfile, kCareerTables, kRoster}) {
      expected[std::string(name) + ".old"] = expected.at(name);
      expected.erase(name);
    }
  }
  std::set<std::string> written;
  if (file != kArcade) written.insert(kArcade);
  const bool careerBooked = careerRuns && (file != kCareerTables || v.missing);
  if (careerBooked) written.insert({kProfile, kCareerTables, kRoster});
  for (const std::string& name : written) {
    ASSERT_TRUE(now.count(name)) << name;
    EXPECT_NE(now.at(name), pristine.at(name)) << name << " written";
    expected[name] = now.at(name);
  }
  for (const auto& [name, bytes] : expected) {
    EXPECT_TRUE(now.count(name) && now.at(name) == bytes) << name << " changed";
  }
  for (const auto& [name, bytes] : now) EXPECT_TRUE(expected.count(name)) << name << " left behind";
  if (careerBooked) {
    EXPECT_EQ(high_scores::GetI32(&now.at(kProfile)[4 + 124]), 1) << "the next season";
  }
  const std::string named = "data\\tables\\" + file + v.said;
  EXPECT_NE(seen.find(named), std::string::npos) << seen;
  EXPECT_TRUE(!v.missing || seen.find(named) == seen.rfind(named)) << "said once: " << seen;
}

/// One broken file: the tables folder made from the pristine files, the steps of the
/// player, then the folder and the boxes checked.
void AddVariant(Script& script, const test::TempDir& dir, const Files& pristine, const Variant& v, std::string& seen) {
  const std::string tables = dir.Path() + "/data/tables/";
  const std::string file = v.file;
  const bool careerRuns = file != kProfile && file != kJournal;
  const auto logStart = std::make_shared<std::size_t>();
  script.Then([&dir, &pristine, &seen, tables, file, v, logStart] {
    fs::remove_all(tables);
    for (const auto& [name, bytes] : pristine) dir.Write("data/tables/" + name, bytes);
    if (!v.missing || v.early) fs::remove(tables + file);
    if (!v.missing) {
      dir.Write("data/tables/" + file + (v.unreadable ? "/keep" : ""), v.unreadable ? "x" : Broken(pristine, file));
    }
    if (file == kJournal) dir.Write("data/tables/.profile0.dat.together", pristine.at(kProfile));
    seen.clear();
    *logStart = dir.Read("navo.log").size();
    return true;
  });
  // The career slots browsed; slot 0's career continued to its season's end and left.
  Go(script, "SinglePlayer", "SinglePlayer", seen);
  Go(script, "Career", "CareerProfile", seen);
  script.Then([&seen] {
    auto& slots = dynamic_cast<N_GuiTextSelector&>(*Gui().GetElement("Profile1", false));
    for (std::uint32_t slot : {1u, 2u, 0u}) {
      slots.SetSelected(slot);
      CareerProfileClick(&slots);
    }
    return TakeBoxes(seen), true;
  });
  if (careerRuns) {
    Go(script, "Continue1", "Career", seen);
    if (v.missing && !v.early) script.Then([tables, file] { return fs::remove(tables + file), true; });
    script.Then([] { return Press("Start8"), true; });
    Race(script, "Career", seen);
    Go(script, "Back21", "SinglePlayer", seen);
  } else {
    Go(script, "Back22", "SinglePlayer", seen);
  }
  // An arcade race, then the buddy scores.
  Go(script, "Arcade", "Arcade", seen);
  script.Then([] {
    // In the fog the career's race most often has: the course stays loaded.
    dynamic_cast<N_GuiTextSelector&>(*Gui().GetElement("Weather1", false)).SetSelected(1);
    return Press("Start1"), true;
  });
  Race(script, "Arcade", seen);
  Go(script, "Back6", "SinglePlayer", seen);
  Go(script, "Back1", "MainMenu", seen);
  Go(script, "TrainingFun", "TrainingFun", seen);
  Go(script, "BuddyGames", "BuddyGames", seen);
  Go(script, "TopTimes4", "BuddyGamesHS", seen);
  Go(script, "Back19", "BuddyGames", seen);
  Go(script, "Back18", "TrainingFun", seen);
  Go(script, "Back3", "MainMenu", seen);

  script.Then([&dir, &pristine, &seen, tables, file, v, careerRuns, logStart] {
    const std::string said = v.missing && !v.early ? dir.Read("navo.log").substr(*logStart) : seen;
    CheckVariant(pristine, Snapshot(tables), said, v, careerRuns);
    return true;
  });
}

/// The game with the variants one after the other, then the program's end with the
/// career on its page. The pristine files are made once the athletes are read.
void Play(const test::TempDir& dir, Files& pristine) {
  N_Application app;
  ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr)));
  pristine = Pristine(g_world->AthletMng());
  const Variant variants[] = {
      {kProfile, true, " cannot be read ("},       {kProfile, false, " is of another version"},
      {kJournal, false, ", the journal of an unfinished save, was refused (a line names profile0.daT, neither staged "
       "nor in place). The career is left as it was. To play it, put right or remove this journal"},
      {kCareerTables, true, " cannot be read ("},  {kCareerTables, false, " is damaged ("},
      {kArcade, true, " cannot be read ("},        {kArcade, false, " is damaged ("},
      {kBuddy, true, " cannot be read ("},         {kBuddy, false, " is damaged ("},
      {kCareerTables, false, ", the tables of a started career, is missing: its standings start empty", true},
      {kCareerTables, false, ", the tables of a started career, is missing", true, true},
  };
  Script script;
  script.patience = std::chrono::seconds(120);
  script.Until([] { return Visible("MainMenu") && Visible("Background"); }, "the main menu");
  std::string seen;
  for (const Variant& v : variants) AddVariant(script, dir, pristine, v, seen);
  script.Then([&] {
    for (const auto& [name, bytes] : pristine) dir.Write("data/tables/" + name, bytes);
    return true;
  });
  Go(script, "SinglePlayer", "SinglePlayer", seen);
  Go(script, "Career", "CareerProfile", seen);
  Go(script, "Continue1", "Career", seen);
  script.Then([] {
    career::Profile()->account += 1;
    return g_varMng->SetInt("exit", 1, 2), true;
  });
  app.SetFrameHook([&script] { script.OnPass(); });
  app.Run();
  EXPECT_TRUE(script.Done());
}

TEST(SavedFilesRun, AFileThatCannotBeReadOrIsDamagedIsToldAndNothingElseIsLost) {
  test::TempDir dir;
  PrepareGameRoot(dir);
  Files pristine;
  Play(dir, pristine);
  // The program ended with the career on its page: what it held was saved on the way
  // out (a termination signal ends it the same way).
  const std::string saved = dir.Read("data/tables/profile0.dat");
  ASSERT_EQ(saved.size(), 488u);
  EXPECT_EQ(high_scores::GetI32(&saved[4 + 116]), high_scores::GetI32(&pristine.at(kProfile)[4 + 116]) + 1);
}

}  // namespace
