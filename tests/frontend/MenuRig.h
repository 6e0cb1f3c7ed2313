#pragma once
// The menus over the race pages' test world (sample page scripts, texts, a timer on a
// test clock, a sound manager noting its category switches), and the pages the menus
// lead to that later parts of the game bring made as empty test pages. Every page the
// rig makes notes its showing in `shown`, through an exported onshow of the test.
#include "tests/race/RacePagesRig.h"

#include <string>
#include <vector>

namespace test {

class MenuRig {
 public:
  MenuRig();

  N_GuiMng& Gui();
  /// Makes an empty page that notes its showing (it starts hidden).
  void MakePage(const char* name);
  /// Shows only these pages at once (besides the cursor's), every other one hidden.
  void ShowOnly(std::initializer_list<const char*> pages);
  /// The visible pages in name order (the cursor's left out).
  std::vector<std::string> Visible();
  /// A left click on the element as the GUI's update delivers it (press and release).
  void Press(const char* element);

  CategorySoundMng& Sound() { return *pages.sounds; }

  RacePagesRig pages;
};

/// The pages shown since the last clear, in order (through the rig's test pages).
std::vector<std::string>& ShownPages();

}  // namespace test
