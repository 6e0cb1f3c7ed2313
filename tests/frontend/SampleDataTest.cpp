// The sample data holds what the front-end's code names: the pages and elements it
// looks up (of the class it expects), the texts the scripts name; every callback a
// sample script names is a function of the program (or comes with a later part of the
// game: the list below), every answer the code gives a message box resolves (a modal
// box whose answer is unbound could never close), and no text key is defined twice.
#include "gui/GuiEditBox.h"
#include "gui/GuiElement.h"
#include "gui/GuiImageSelector.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextSelector.h"
#include "platform/win32.h"
#include "tests/race/RacePagesRig.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

/// The callbacks that sample scripts name and a later part of the game defines. The
/// part that defines one takes it off the list.
const std::set<std::string> kLaterCallbacks = {};

/// What the code looks up by name: pages and their elements of one class each.
struct Named {
  const char* page;
  const char* type;
  std::vector<const char*> elements;
};
const Named kNamed[] = {
    {"Background", "Panel", {"AImage"}},
    {"BlackScreen", "", {}},
    {"MainMenu", "Button", {"SinglePlayer", "MultiPlayer", "TrainingFun", "Options", "Credits", "Exit"}},
    {"SinglePlayer", "Button", {"Arcade", "TimeAttack", "Career", "SingleRace", "Back1"}},
    {"MultiPlayer", "Button", {"CreateGame", "JoinGame", "Back2"}},
    {"TrainingFun", "Button", {"RunTraining", "ShootingRange", "BuddyGames", "Back3"}},
    {"MainOptions", "Button", {"Settings", "Controls", "Back4"}},
    {"Credits", "Button", {"Back5"}},
    {"MessageYesNo", "Button", {"Yes1", "No1"}},
    {"MessageYesNo", "Text", {"Label1"}},
    {"MessageOK", "Button", {"Ok1"}},
    {"MessageOK", "Text", {"Label2"}},
    {"Loading", "ProgressBar", {"Loading"}},
    // The relay team page and the two set-up pages it serves.
    {"Relay", "Table", {"Relay1"}},
    {"Relay", "Button", {"Add1", "Remove1", "Up1", "Down1"}},
    {"Arcade", "ImageSelector", {"Level1"}},
    {"Arcade", "TextSelector", {"Weather1", "SnowQuality1", "Discipline1", "Sex1", "Difficulty1"}},
    {"Arcade", "Table", {"Athlets1"}},
    {"Arcade", "Model", {"Model1"}},
    {"Arcade", "Panel", {"p1"}},
    {"Arcade", "EditBox", {"PlayerName1"}},
    {"Arcade", "Button", {"Back6", "TopTimes1", "Start1"}},
    {"SingleRace", "ImageSelector", {"Level3"}},
    {"SingleRace", "TextSelector", {"Weather3", "SnowQuality3", "Discipline3", "Sex3", "Difficulty3"}},
    {"SingleRace", "Table", {"Athlets3"}},
    {"SingleRace", "Model", {"Model3"}},
    {"SingleRace", "Panel", {"p3"}},
    {"SingleRace", "EditBox", {"PlayerName3"}},
    {"SingleRace", "Button", {"Back8", "TopTimes3", "Start3"}},
    {"CareerHS", "", {}},
    // The top-times pages of the arcade and single-race set-up pages.
    {"ArcadeHS", "TextSelector", {"Track8", "Sex8", "Discipline8", "Difficulty8"}},
    {"ArcadeHS", "Table", {"ArcadeHS"}},
    {"ArcadeHS", "Button", {"Back16"}},
    {"SingleRaceHS", "TextSelector", {"Track9", "Sex9", "Discipline9", "Difficulty9"}},
    {"SingleRaceHS", "Table", {"SingleRaceHS"}},
    {"SingleRaceHS", "Button", {"Back17"}},
    {"Settings", "TextSelector",
     {"Resolution", "VSync", "Shadows", "Antialiasing", "TexQuality", "LMQuality", "Particles", "DetailLevel",
      "CommentariesFX", "EnvironmentFX", "SkiFX", "BodyFX"}},
    {"Settings", "ScrollBar", {"Brightness1", "Contrast1", "Gamma1", "FXVolume1", "MusicVolume1"}},
    {"Settings", "Button", {"Back14", "Apply1", "Defaults1", "HiSettings", "LoSettings"}},
    {"ControlsOptions", "Button",
     {"ForwardKey1", "BackwardKey1", "BreakKey1", "LeftKey1", "RightKey1", "Skating1Key1", "Skating2Key1",
      "Skating3Key1", "Skating4Key1", "Paralell1Key1", "Paralell2Key1", "UphillKey1", "DownhillKey1", "PauseKey1",
      "ReloadKey1", "Back15"}},
    {"ControlsOptions", "Model", {"Model6"}},
    {"TimeAttack", "ImageSelector", {"Level2"}},
    {"TimeAttack", "TextSelector", {"Sex2", "Difficulty2", "TrackLength", "GameMode"}},
    {"TimeAttack", "Table", {"Athlets2"}},
    {"TimeAttack", "Model", {"Model2"}},
    {"TimeAttack", "EditBox", {"PlayerName2"}},
    {"TimeAttack", "Button", {"Back7", "TopTimes2", "Start2"}},
    {"TimeAttackHS", "TextSelector", {"Track10", "TrackLength10", "Sex10", "GameMode10", "Difficulty10"}},
    {"TimeAttackHS", "Table", {"TimeAttackHS"}},
    {"TimeAttackHS", "Button", {"Back20"}},
    {"RunTraining", "ImageSelector", {"Level5"}},
    {"RunTraining", "TextSelector",
     {"Sex4", "TrackLength1", "NumRounds1", "Weather4", "SnowQuality4", "InitCondition1", "Difficulty4"}},
    {"RunTraining", "Table", {"Athlets4"}},
    {"RunTraining", "Model", {"Model4"}},
    {"RunTraining", "Button", {"Back9", "Start4"}},
    {"ShootTraining", "TextSelector",
     {"Sex5", "Weather5", "ShootType1", "InitCondition2", "ArmsCondition1", "Difficulty5"}},
    {"ShootTraining", "Table", {"Athlets5"}},
    {"ShootTraining", "Model", {"Model5"}},
    {"ShootTraining", "Button", {"Back10", "Start5"}},
};

/// The item counts the code relies on: the course pictures it takes out and puts back,
/// the two-way switches it toggles, the condition steps the world selects the last of.
struct Counted {
  const char* element;
  std::size_t items;
};
const Counted kCounted[] = {
    {"Level2", 10},        {"Level5", 10},         {"TrackLength", 2},    {"TrackLength1", 2},
    {"TrackLength10", 2},  {"GameMode", 2},        {"GameMode10", 2},     {"NumRounds1", 2},
    {"Track10", 10},       {"Weather4", 3},        {"Weather5", 3},       {"SnowQuality4", 3},
    {"ShootType1", 2},     {"InitCondition1", 10}, {"InitCondition2", 10}, {"ArmsCondition1", 10},
    {"Sex2", 2},           {"Sex4", 2},            {"Sex5", 2},           {"Sex10", 2},
};

/// The text keys the code looks up.
const char* const kNamedKeys[] = {"#str021", "#str152", "#str315", "#str316", "#str317", "#str351"};

bool Exported(const std::string& name) { return GetProcAddress(GetModuleHandleA(nullptr), name.c_str()) != nullptr; }

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<fs::path> Files(const fs::path& folder, const std::string& extension) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().extension() == extension) files.push_back(entry.path());
  }
  return files;
}

TEST(FrontendSampleData, HoldsWhatTheCodeNames) {
  test::RacePagesRig rig;
  N_GuiMng& gui = rig.World().GuiMng();
  for (const Named& named : kNamed) {
    const N_GuiPage* page = gui.GetPage(named.page);
    EXPECT_NE(page, nullptr) << named.page;
    for (const char* name : named.elements) {
      const N_GuiElement* element = gui.GetElement(name, false);
      ASSERT_NE(element, nullptr) << name;
      EXPECT_EQ(element->GetPage(), page) << name;
      EXPECT_EQ(element->GetTypeName(), named.type) << name;
    }
  }
  for (const char* page : {"MessageYesNo", "MessageOK"}) {
    EXPECT_TRUE(gui.GetPage(page)->IsModal()) << page;
    EXPECT_GT(gui.GetPage(page)->GetZOrder(), gui.GetPage("BlackScreen")->GetZOrder()) << page;
    EXPECT_LT(gui.GetPage(page)->GetZOrder(), gui.GetCursorPage() ? gui.GetCursorPage()->GetZOrder() : 600) << page;
  }
  for (const Counted& counted : kCounted) {
    const N_GuiElement* element = gui.GetElement(counted.element, false);
    ASSERT_NE(element, nullptr) << counted.element;
    std::size_t items = 0;
    if (const auto* pictures = dynamic_cast<const N_GuiImageSelector*>(element)) items = pictures->ItemCount();
    if (const auto* texts = dynamic_cast<const N_GuiTextSelector*>(element)) items = texts->Items().size();
    EXPECT_EQ(items, counted.items) << counted.element;
  }
  EXPECT_EQ(static_cast<N_GuiEditBox*>(gui.GetElement("PlayerName2", false))->GetMaxChars(), 31);
  // Every text key the code or a sample script names has a text.
  std::set<std::string> keys(std::begin(kNamedKeys), std::end(kNamedKeys));
  const std::regex key("#str[0-9]+");
  for (const fs::path& script : Files(fs::path(test::GameRoot()) / "data" / "scripts" / "gui", ".gui")) {
    const std::string text = ReadFile(script);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), key); it != std::sregex_iterator(); ++it) {
      keys.insert(it->str());
    }
  }
  for (const std::string& name : keys) EXPECT_FALSE(rig.strings.Find(name).empty()) << name;
}

// The set-up pages hold the items and sizes the code reads by index: a track picture
// per row of the page's level table, the selectors' items in the code's order.
TEST(FrontendSampleData, SetupPagesHoldTheItemsTheCodeReads) {
  test::RacePagesRig rig;
  N_GuiMng& gui = rig.World().GuiMng();
  struct Page {
    const char* n;
    std::size_t levels;
    const char* frame;
  };
  for (const Page& p : {Page{"1", 8, "p1"}, Page{"3", 10, "p3"}}) {
    const std::string n = p.n;
    SCOPED_TRACE(n);
    auto* level = dynamic_cast<N_GuiImageSelector*>(gui.GetElement("Level" + n, false));
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->ItemCount(), p.levels);
    for (const auto& [name, items] : {std::pair{"Weather", 3u}, {"SnowQuality", 3u}, {"Discipline", 4u}, {"Sex", 2u},
                                      {"Difficulty", 2u}}) {
      auto* selector = dynamic_cast<N_GuiTextSelector*>(gui.GetElement(name + n, false));
      ASSERT_NE(selector, nullptr) << name;
      EXPECT_EQ(selector->Items().size(), items) << name;
    }
    EXPECT_EQ(dynamic_cast<N_GuiTable*>(gui.GetElement("Athlets" + n, false))->GetColumnCount(), 11u);
    EXPECT_EQ(gui.GetElement("Athlets" + n, false)->GetHeight(), 152.0f);
    EXPECT_EQ(gui.GetElement(p.frame, false)->GetHeight(), 172.0f);
    EXPECT_EQ(dynamic_cast<N_GuiEditBox*>(gui.GetElement("PlayerName" + n, false))->GetMaxChars(), 31);
  }
}

TEST(FrontendSampleData, EveryCallbackResolves) {
  test::RacePagesRig rig;
  N_GuiMng& gui = rig.World().GuiMng();
  std::set<std::string> named;
  for (const auto* elements : {&gui.Elements(), &gui.Templates()}) {
    for (const auto& [name, element] : *elements) {
      for (const std::string& callback : {element->GetOnClick(), element->GetOnMouseEnter(),
                                          element->GetOnMouseExit(), element->GetOnMouseDown()}) {
        if (!callback.empty()) named.insert(callback);
      }
    }
  }
  for (const auto& [name, page] : gui.Pages()) {
    if (!page->GetOnShow().empty()) named.insert(page->GetOnShow());
  }
  EXPECT_GT(named.size(), 10u);
  for (const std::string& name : named) {
    if (kLaterCallbacks.count(name)) continue;
    EXPECT_TRUE(Exported(name)) << name << " is named by a sample script";
  }
  for (const std::string& name : kLaterCallbacks) {
    EXPECT_FALSE(Exported(name)) << name << " is defined now: take it off the list";
  }

  // The answers the front-end's code gives its message boxes.
  const std::regex box(R"re(ShowMessage(?:YesNo|OK)\s*\([^;]*?"(\w+)"\s*\))re");
  std::set<std::string> answers;
  for (const fs::path& source : Files(fs::path(NAVO_SOURCE_DIR) / "frontend", ".cpp")) {
    const std::string text = ReadFile(source);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), box); it != std::sregex_iterator(); ++it) {
      answers.insert((*it)[1].str());
    }
  }
  EXPECT_TRUE(answers.count("OKMsgClick"));
  for (const std::string& name : answers) EXPECT_TRUE(Exported(name)) << name << " answers a message box";
}

TEST(FrontendSampleData, NoTextKeyIsDefinedTwice) {
  std::map<std::string, std::vector<std::string>> files;  // "language key" -> the files defining it
  const std::regex language(R"(^\s*language\s+(\w+))");
  const std::regex definition(R"(^\s*(#str\w+)\s)");
  for (const fs::path& path : Files(fs::path(test::GameRoot()) / "data" / "scripts" / "strings", ".string")) {
    std::ifstream in(path);
    std::string current;
    for (std::string line; std::getline(in, line);) {
      std::smatch match;
      if (std::regex_search(line, match, language)) current = match[1];
      if (std::regex_search(line, match, definition)) files[current + " " + match[1].str()].push_back(path.filename());
    }
  }
  EXPECT_GT(files.size(), 20u);
  for (const auto& [key, where] : files) EXPECT_EQ(where.size(), 1u) << key << " in " << ::testing::PrintToString(where);
}

}  // namespace
