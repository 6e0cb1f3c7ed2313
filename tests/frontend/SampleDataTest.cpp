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
#include "gui/GuiProgressBar.h"
#include "gui/GuiScrollBar.h"
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
/// Answers of message boxes the code shows before the pages that define them are there
/// (the sponsor offer of a new career week, answered on the career pages).
const std::set<std::string> kLaterAnswers = {};

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
    // The career's pages.
    {"Career", "Table", {"Tasks1", "Schedule1"}},
    {"Career", "Text", {"TaskText1", "Account1", "EventText1", "LevelText1"}},
    {"Career", "Panel", {"Level6"}},
    {"Career", "RadioGroup", {"RadioGroup"}},
    {"Career", "CheckBox", {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday"}},
    {"Career", "Button",
     {"Add3", "Remove3", "Trainings1", "Tables1", "Details1", "Finish1", "Help1", "Back21", "Start8"}},
    {"Career", "Model", {"Model8"}},
    {"CareerTrainings", "Table", {"TTable1"}},
    {"CareerTrainings", "Text", {"TrainingText1"}},
    {"CareerTrainings", "Button", {"Buy1", "Back25"}},
    {"CareerTravel", "CheckBox", {"Car1", "Train1", "Plane1", "Hotel1", "Hotel2", "Hotel3"}},
    {"CareerTravel", "Text", {"CarText1", "TrainText1", "PlaneText1", "HotelText1", "HotelText2", "HotelText3"}},
    {"CareerTravel", "Button", {"Continue2"}},
    {"CareerProfile", "TextSelector", {"Profile1", "Sex11", "Difficulty6"}},
    {"CareerProfile", "Text", {"t88", "Caption23", "Height1", "Weight1"}},
    {"CareerProfile", "Model", {"Model7"}},
    {"CareerProfile", "EditBox", {"PlayerName5"}},
    {"CareerProfile", "Panel", {"Natn3"}},
    {"CareerProfile", "Button", {"AthletPrev", "AthletNext", "Reset1", "Continue1", "Back22"}},
    {"CareerAttributes", "ScrollBar",
     {"HearthAtt1", "ConditionAtt1", "PowerAtt1", "ConcentrationAtt1", "FightGhostAtt1", "CoolnessAtt1",
      "RunTechAtt1", "ShootTechAtt1", "HandlTechAtt1"}},
    {"CareerAttributes", "Text",
     {"HearthText1", "ConditionText1", "PowerText1", "ConcentrationText1", "FightGhostText1", "CoolnessText1",
      "RunTechText1", "ShootTechText1", "HandlTechText1", "TotalLbl1", "TotalLbl2", "TotalLbl3"}},
    {"CareerAttributesInfo", "ProgressBar",
     {"HearthAtt2", "HearthAtt3", "ConditionAtt2", "ConditionAtt3", "PowerAtt2", "PowerAtt3", "ConcentrationAtt2",
      "ConcentrationAtt3", "FightGhostAtt2", "FightGhostAtt3", "CoolnessAtt2", "CoolnessAtt3", "RunTechAtt2",
      "RunTechAtt3", "ShootTechAtt2", "ShootTechAtt3", "HandlTechAtt2", "HandlTechAtt3"}},
    {"CareerAttributesInfo", "Text",
     {"HearthText2", "ConditionText2", "PowerText2", "ConcentrationText2", "FightGhostText2", "CoolnessText2",
      "RunTechText2", "ShootTechText2", "HandlTechText2"}},
    {"CareerAttributesInfo", "Button", {"Continue3"}},
    {"CareerHSFinal", "Table", {"CareerHS"}},
    {"CareerHSFinal", "Text", {"Difficulty11"}},
    {"CareerHSFinal", "Button", {"Back27"}},
    {"CareerHS1", "Table", {"CareerHS1"}},
    {"CareerHS1", "Button", {"Back23", "Details2"}},
    {"CareerHS2", "TextSelector", {"Season1", "Track2", "Discipline10"}},
    {"CareerHS2", "Table", {"CareerHS2"}},
    {"CareerHS2", "Button", {"Back26"}},
    {"CareerHelp", "Button", {"Back24"}},
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
    {"Season1", 10},       {"Track2", 10},         {"Discipline10", 3},
};

/// The text keys the code looks up.
const char* const kNamedKeys[] = {"#str021", "#str152", "#str316", "#str317", "#str351",
                                  // the career's
                                  "#str012", "#str264", "#str321", "#str335", "#str336", "#str342", "#str018", "#str019"};

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

// The career pages carry what the career reads besides the names: the day index of
// each day box, the group of each attribute bar and a range that takes a bar of 140
// (a group's 220 points less two bars at 40), gauges of 100, the tables' columns, the
// name's length and the set-up look the profile page starts in.
TEST(FrontendSampleData, CareerPagesHoldWhatTheCareerReads) {
  test::RacePagesRig rig;
  N_GuiMng& gui = rig.World().GuiMng();
  const char* const days[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday"};
  for (int day = 0; day < 5; ++day) {
    const N_GuiElement* box = gui.GetElement(days[day], false);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetTag(), day) << days[day];
    EXPECT_EQ(box->GetParent(), dynamic_cast<N_GuiContainer*>(gui.GetElement("RadioGroup", false))) << days[day];
  }
  const char* const words[] = {"Hearth",        "Condition", "Power",   "Concentration", "FightGhost",
                               "Coolness",      "RunTech",   "ShootTech", "HandlTech"};
  for (int i = 0; i < 9; ++i) {
    const std::string word = words[i];
    auto* bar = dynamic_cast<N_GuiScrollBar*>(gui.GetElement(word + "Att1", false));
    ASSERT_NE(bar, nullptr) << word;
    EXPECT_EQ(bar->GetTag(), i / 3) << word;
    EXPECT_LE(bar->GetMinimum(), 40) << word;
    // 100 at most, as the career keeps it, with the bit then at the track's end.
    EXPECT_EQ(bar->GetMaximum(), 100) << word;
    EXPECT_EQ(bar->GetTotal() - bar->GetVisible(), 100) << word;
    for (const char* suffix : {"Att2", "Att3"}) {
      auto* gauge = dynamic_cast<N_GuiProgressBar*>(gui.GetElement(word + suffix, false));
      ASSERT_NE(gauge, nullptr) << word << suffix;
      EXPECT_EQ(gauge->GetRange(), 100.0f) << word << suffix;
    }
  }
  for (const auto& [table, columns] : {std::pair{"Tasks1", 4u}, {"Schedule1", 4u}, {"CareerHS", 5u}, {"CareerHS1", 14u}, {"CareerHS2", 6u}})
    EXPECT_EQ(dynamic_cast<N_GuiTable*>(gui.GetElement(table, false))->GetColumnCount(), columns) << table;
  EXPECT_EQ(dynamic_cast<N_GuiEditBox*>(gui.GetElement("PlayerName5", false))->GetMaxChars(), 31);
  EXPECT_GE(dynamic_cast<N_GuiTextSelector*>(gui.GetElement("Profile1", false))->Items().size(), 1u);
  for (const char* shown : {"Profile1", "t88", "TotalLbl1", "TotalLbl2", "TotalLbl3"})
    EXPECT_TRUE(gui.GetElement(shown, false)->IsVisible()) << shown;
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
  for (const std::string& name : answers) {
    if (kLaterAnswers.count(name)) continue;
    EXPECT_TRUE(Exported(name)) << name << " answers a message box";
  }
  for (const std::string& name : kLaterAnswers) {
    EXPECT_TRUE(answers.count(name)) << name << " answers no box any more: take it off the list";
    EXPECT_FALSE(Exported(name)) << name << " is defined now: take it off the list";
  }
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
