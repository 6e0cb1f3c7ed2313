// The program's export table, the only functions a page script can bind: over every
// name the game's executable defines, the look-up takes the front-end's callbacks and
// nothing else, and a script naming anything else binds and runs nothing.
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "platform/win32.h"
#include "tests/frontend/MenuRig.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

/// The names a program or library defines, with their nm kinds ('T' code, 'D' data ...).
std::map<std::string, char> DefinedNames(const std::string& file) {
  std::map<std::string, char> names;
  FILE* nm = popen(("nm --defined-only '" + file + "' 2>/dev/null").c_str(), "r");
  if (!nm) return names;
  char line[4096];
  while (std::fgets(line, sizeof line, nm)) {
    std::istringstream fields(line);
    std::string address, kind, name;
    if (fields >> address >> kind >> name && kind.size() == 1) names.emplace(name, kind[0]);
  }
  pclose(nm);
  return names;
}

bool Accepted(const std::string& name) { return GetProcAddress(GetModuleHandleA(nullptr), name.c_str()) != nullptr; }

TEST(FrontendExports, TheLookUpTakesTheFrontEndsCallbacksOnly) {
  const std::map<std::string, char> game = DefinedNames(NAVO_GAME_EXECUTABLE);
  ASSERT_GT(game.size(), 1000u) << "nm reads " << NAVO_GAME_EXECUTABLE;
  for (const char* name : {"main", "_start", "_Z12CriticalExiti"}) EXPECT_EQ(game.count(name), 1u) << name;
  // The front-end's callbacks are its C functions (the page scripts' plain names).
  std::set<std::string> callbacks;
  for (const auto& [name, kind] : DefinedNames(NAVO_FRONTEND_LIBRARY)) {
    if (kind == 'T' && name.rfind("_", 0) != 0) callbacks.insert(name);
  }
  ASSERT_GT(callbacks.size(), 50u);
  std::set<std::string> accepted;
  for (const auto& [name, kind] : game) {
    if (Accepted(name)) accepted.insert(name);
  }
  EXPECT_EQ(accepted, callbacks);
}

TEST(FrontendExports, AScriptNamingAnythingElseBindsAndRunsNothing) {
  test::MenuRig menus;
  // A function of the game that would end it, the entry point, and callbacks of the
  // other kind: the front-end's element callback as onshow, the test's page callback
  // (which notes the pages it is called with) as onclick.
  std::ofstream("bad.gui") << "Bad1\n{\nonshow _Z12CriticalExiti\n}\n"
                              "Bad2\n{\nonshow MainMenuClick\n"
                              "container Button(Main)\n{\nonclick main\n}\n"
                              "container Button(Kind)\n{\nonclick FrontendTestPageShown\n}\n}\n";
  menus.Gui().ParseGuiFile("bad.gui");
  const std::string log = menus.pages.NewLog();
  for (const char* line :
       {"!!! Bad callback: onshow '_Z12CriticalExiti' of page Bad1 is no menu callback, nothing is bound (bad.gui:3)\n",
        "!!! Bad callback: onshow 'MainMenuClick' of page Bad2 is an element callback, not a page callback, nothing "
        "is bound (bad.gui:7)\n",
        "!!! Bad callback: onclick 'main' of element Main is no menu callback, nothing is bound (bad.gui:10)\n",
        "!!! Bad callback: onclick 'FrontendTestPageShown' of element Kind is a page callback, not an element "
        "callback, nothing is bound (bad.gui:14)\n"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line << log;
  }
  menus.ShowOnly({"Bad1", "Bad2"});
  menus.Press("Main");
  menus.Press("Kind");
  EXPECT_TRUE(test::ShownPages().empty());
  EXPECT_TRUE(menus.Gui().GetPage("Bad1")->IsVisible()) << "the game goes on";
}

}  // namespace
