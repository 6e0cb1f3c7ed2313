// The page-script reader must survive whatever a broken file holds: random bytes,
// keyword-and-brace soup, truncated and mutated sample files, blocks nested thousands
// deep, missing braces and include cycles. No crash, no hang, nothing left behind (the
// sanitizer build checks memory and leaks); the pages it made are then drawn and hit.
#include "gui/GuiFactories.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
#include "tests/gui/GuiRig.h"
#include "tests/support/TextFuzz.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

/// The game root's page scripts and the test scripts of the elements and effects, one
/// after the other.
std::string SampleText() {
  std::string text;
  for (const std::string& folder : {test::GameRoot() + "/data/scripts/gui", test::GuiRig::ScriptFolder()}) {
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
      std::ifstream in(file.path(), std::ios::binary);
      std::ostringstream s;
      s << in.rdbuf();
      text += s.str();
    }
  }
  return text;
}

using test::Lcg;

constexpr std::array kPieces{
    "{",          "}",           "\n",           "//",           " ",           "(",          ")",
    ":",          "#include a.gui\n", "#include fuzz.gui\n", "#include <self.gui>\n", "template ",
    "container ", "element ",    "effect ",      "Panel(",       "Button(b)",   "RadioGroup", "Cursor(c) : ",
    "Text(#)",    "Tpl",         "registershader x\n", "caption #str500", "numparticles 99999\n",
    "particlesize -1e30\n", "zorder -1\n", "modal true\n", "showcursor true\n", "tiling 0 nan\n",
    "gotopage MainMenu\n", "anchor b\n", "sensitivity nan\n", "bordersize 1e38\n", "\t",
    "Table(t)", "ScrollBar(#) : ", "EditBox(#)", "ProgressBar(#)", "TextSelector(#)", "ImageSelector(#)",
    "row 1 \"a b\n", "columntypes text image x\n", "scrollbar Tpl\n", "upbutton Tpl\n", "item x y\n",
    "limits 0 -1 2147483647\n", "ImageScroller(#)", "ScrollingText(#) : ", "Figure(#)", "Map(#)", "Model(#)",
    "effect Fade\n{\n", "effect PageScroll\n", "effect Scroll\n", "element b\n", "direction left\n", "type in\n",
    "visibleitems 99999\n", "leftbutton Tpl\n", "rightbutton b\n", "figurecolors 1 2 3\n", "rotation 1 2\n",
    "position nan\n", "scrollx -1e38\n", "scrolly 50\n", "multiline true\n", "athlet 99999\n", "sex -1\n"};

std::string Mutate(const std::string& text, Lcg& rng) { return test::MutateText(text, rng, kPieces); }

std::string Soup(Lcg& rng) {
  std::string text;
  const int n = 1 + static_cast<int>(rng.Next(200));
  for (int i = 0; i < n; ++i) text += kPieces[rng.Next(kPieces.size())];
  return text;
}

std::string RandomBytes(Lcg& rng) {
  std::string text(rng.Next(4000), '\0');
  for (char& c : text) c = static_cast<char>(rng.Next(256));
  return text;
}

class GuiScriptFuzz : public ::testing::Test {
 protected:
  GuiScriptFuzz() {
    // Files the pieces include: one that includes the fuzzed file back, one itself.
    rig.dir.Write("data/scripts/gui/a.gui", "#include fuzz.gui\nA\n{\ncontainer Panel(InA)\n{\n}\n}\n");
    rig.dir.Write("data/scripts/gui/self.gui", "#include self.gui\ntemplate container Panel(Tpl)\n{\n}\n");
  }

  /// A fresh manager reads the folder with the text as "fuzz.gui", shows and draws every
  /// page, hits a few points, and is deleted.
  void Run(const std::string& text) {
    rig.mng.reset();
    rig.mng = std::make_unique<N_GuiMng>();
    g_guiServices.guiMng = rig.mng.get();
    RegisterGuiFactories(*rig.mng);
    rig.dir.Write("data/scripts/gui/fuzz.gui", text);
    rig.mng->LoadGuiFiles("scripts\\gui\\*.gui");
    for (const auto& [name, page] : rig.mng->Pages()) page->ShowImmediate();
    rig.Step(0.05);
    rig.mng->Render();
    rig.batch.Flush();
    for (const float at : {0.0f, 10.0f, 100.0f, 320.0f, 639.0f}) (void)rig.mng->HitTest(at, at * 0.75f);
    ++runs;
  }
  std::size_t Count(const std::string& what) const {
    const std::string log = rig.Log();
    std::size_t n = 0;
    for (std::size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++n;
    return n;
  }

  test::GuiRig rig;
  int runs = 0;
};

// Each run reads the whole sample: these take a few hundred inputs, the "gui" fuzz
// target (fuzz/fuzz.sh) the long runs.
constexpr int kMutations = 500;
constexpr std::size_t kCuts = 500;

TEST_F(GuiScriptFuzz, MutatedSamplesNeverCrash) {
  const std::string sample = SampleText();
  ASSERT_GT(sample.size(), 1000u);
  Lcg rng(2026);
  for (int i = 0; i < kMutations; ++i) {
    SCOPED_TRACE(i);
    Run(Mutate(sample, rng));
    if (HasFatalFailure()) return;
  }
  EXPECT_EQ(Count("Parsing gui file"), kMutations * 3u);  // the mutated files were really read
  EXPECT_GT(Count("!!! Bad"), kMutations * 2u / 3);       // and their faults reported
}

TEST_F(GuiScriptFuzz, EveryTruncationOfTheSamples) {
  const std::string sample = SampleText();
  // About kCuts cuts, however large the sample data grows: each run reads up to the
  // whole sample, so a fixed stride would grow the test with its square (past the time
  // limit of the sanitizer build).
  const std::size_t stride = std::max<std::size_t>(7, sample.size() / kCuts);
  for (std::size_t length = 0; length <= sample.size(); length += stride) {
    SCOPED_TRACE(length);
    Run(sample.substr(0, length));
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(runs, 100);
}

TEST_F(GuiScriptFuzz, SoupAndRandomBytes) {
  Lcg rng(7);
  for (int i = 0; i < 800; ++i) {
    SCOPED_TRACE(i);
    Run(i % 2 ? Soup(rng) : RandomBytes(rng));
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(Count("Skipping loading gui include"), 800u) << "the cycles were met";
}

TEST_F(GuiScriptFuzz, DeepNestingMissingBracesAndLongLines) {
  const int kDeep = 20000;
  std::string deep = "P\n{\n";
  for (int i = 0; i < kDeep; ++i) deep += "container Panel(N" + std::to_string(i) + ")\n{\n";
  std::string templates = "template container Panel(T0)\n{\n";
  for (int i = 1; i < kDeep; ++i) templates += "element Panel(T" + std::to_string(i) + ")\n{\n";
  Run(deep);
  EXPECT_EQ(rig.mng->Elements().size(), static_cast<std::size_t>(N_GuiScriptParser::kMaxDepth) + 1) << "and a.gui's";
  const std::string cases[] = {
      deep + std::string(kDeep, '}'),
      templates,
      std::string(100000, '{'),
      std::string(100000, '}'),
      "P\n" + std::string(200000, 'x') + "\n{\ncontainer Panel(p)\n{\ncaption " + std::string(5000, 'c') + "\n",
      "P\n{\ncontainer Panel(p)\n{\n" + std::string(30000, '\n'),
      SampleText() + std::string(kDeep, '{'),
  };
  for (const std::string& text : cases) {
    Run(text);
    if (HasFatalFailure()) return;
  }
  EXPECT_EQ(runs, 8);
}

}  // namespace
