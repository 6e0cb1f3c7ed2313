// The sample data holds what the front-end's code names: the pages and elements it
// looks up (of the class it expects), the texts the scripts name; every callback a
// sample script names is a function of the program (or comes with a later part of the
// game: the list below), every answer the code gives a message box resolves (a modal
// box whose answer is unbound could never close), and no text key is defined twice.
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
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
const std::set<std::string> kLaterCallbacks = {"FinalResultClick", "StartListClick", "LoadingShow", "RelayClick"};

struct Named {
  const char* page;
  const char* element;  ///< null: the page alone
  const char* type;
};

/// What the code looks up by name.
const Named kNamed[] = {
    {"Background", "AImage", "Panel"},
    {"BlackScreen", nullptr, nullptr},
    {"MainMenu", "SinglePlayer", "Button"},
    {"MainMenu", "MultiPlayer", "Button"},
    {"MainMenu", "TrainingFun", "Button"},
    {"MainMenu", "Options", "Button"},
    {"MainMenu", "Credits", "Button"},
    {"MainMenu", "Exit", "Button"},
    {"SinglePlayer", "Arcade", "Button"},
    {"SinglePlayer", "TimeAttack", "Button"},
    {"SinglePlayer", "Career", "Button"},
    {"SinglePlayer", "SingleRace", "Button"},
    {"SinglePlayer", "Back1", "Button"},
    {"MultiPlayer", "CreateGame", "Button"},
    {"MultiPlayer", "JoinGame", "Button"},
    {"MultiPlayer", "Back2", "Button"},
    {"TrainingFun", "RunTraining", "Button"},
    {"TrainingFun", "ShootingRange", "Button"},
    {"TrainingFun", "BuddyGames", "Button"},
    {"TrainingFun", "Back3", "Button"},
    {"MainOptions", "Settings", "Button"},
    {"MainOptions", "Controls", "Button"},
    {"MainOptions", "Back4", "Button"},
    {"Credits", "Back5", "Button"},
    {"MessageYesNo", "Label1", "Text"},
    {"MessageYesNo", "Yes1", "Button"},
    {"MessageYesNo", "No1", "Button"},
    {"MessageOK", "Label2", "Text"},
    {"MessageOK", "Ok1", "Button"},
    {"CareerHS", nullptr, nullptr},
    {"Settings", "Resolution", "TextSelector"},
    {"Settings", "VSync", "TextSelector"},
    {"Settings", "Shadows", "TextSelector"},
    {"Settings", "Antialiasing", "TextSelector"},
    {"Settings", "TexQuality", "TextSelector"},
    {"Settings", "LMQuality", "TextSelector"},
    {"Settings", "Particles", "TextSelector"},
    {"Settings", "DetailLevel", "TextSelector"},
    {"Settings", "CommentariesFX", "TextSelector"},
    {"Settings", "EnvironmentFX", "TextSelector"},
    {"Settings", "SkiFX", "TextSelector"},
    {"Settings", "BodyFX", "TextSelector"},
    {"Settings", "Brightness1", "ScrollBar"},
    {"Settings", "Contrast1", "ScrollBar"},
    {"Settings", "Gamma1", "ScrollBar"},
    {"Settings", "FXVolume1", "ScrollBar"},
    {"Settings", "MusicVolume1", "ScrollBar"},
    {"Settings", "Back14", "Button"},
    {"Settings", "Apply1", "Button"},
    {"Settings", "Defaults1", "Button"},
    {"Settings", "HiSettings", "Button"},
    {"Settings", "LoSettings", "Button"},
    {"ControlsOptions", "ForwardKey1", "Button"},
    {"ControlsOptions", "BackwardKey1", "Button"},
    {"ControlsOptions", "BreakKey1", "Button"},
    {"ControlsOptions", "LeftKey1", "Button"},
    {"ControlsOptions", "RightKey1", "Button"},
    {"ControlsOptions", "Skating1Key1", "Button"},
    {"ControlsOptions", "Skating2Key1", "Button"},
    {"ControlsOptions", "Skating3Key1", "Button"},
    {"ControlsOptions", "Skating4Key1", "Button"},
    {"ControlsOptions", "Paralell1Key1", "Button"},
    {"ControlsOptions", "Paralell2Key1", "Button"},
    {"ControlsOptions", "UphillKey1", "Button"},
    {"ControlsOptions", "DownhillKey1", "Button"},
    {"ControlsOptions", "PauseKey1", "Button"},
    {"ControlsOptions", "ReloadKey1", "Button"},
    {"ControlsOptions", "Back15", "Button"},
    {"ControlsOptions", "Model6", "Model"},
};

/// The text keys the code looks up.
const char* const kNamedKeys[] = {"#str021", "#str315", "#str351"};

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
    SCOPED_TRACE(std::string(named.page) + " " + (named.element ? named.element : ""));
    const N_GuiPage* page = gui.GetPage(named.page);
    EXPECT_NE(page, nullptr);
    if (!named.element) continue;
    const N_GuiElement* element = gui.GetElement(named.element, false);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->GetPage(), page);
    EXPECT_EQ(element->GetTypeName(), named.type);
  }
  for (const char* page : {"MessageYesNo", "MessageOK"}) {
    EXPECT_TRUE(gui.GetPage(page)->IsModal()) << page;
    EXPECT_GT(gui.GetPage(page)->GetZOrder(), gui.GetPage("BlackScreen")->GetZOrder()) << page;
    EXPECT_LT(gui.GetPage(page)->GetZOrder(), gui.GetCursorPage() ? gui.GetCursorPage()->GetZOrder() : 600) << page;
  }
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
