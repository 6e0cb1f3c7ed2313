// The page-script reader: its line forms, their faults and messages, includes,
// templates and the limits that keep a broken file harmless.
#include "core/FileFinder.h"
#include "core/Globals.h"
#include "core/StringTable.h"
#include "gui/GuiButton.h"
#include "gui/GuiPage.h"
#include "gui/GuiPanel.h"
#include "gui/GuiScriptParser.h"
#include "gui/GuiText.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class GuiScript : public ::testing::Test {
 protected:
  GuiScript() {
    strings.Add("#str500", "Single player");
    g_stringTable = &strings;
  }
  ~GuiScript() override { g_stringTable = nullptr; }

  /// Writes the file below data/scripts/gui.
  void Write(const std::string& name, const std::string& text) { rig.dir.Write("data/scripts/gui/" + name, text); }
  static std::string PathOf(const std::string& name) { return "data\\scripts\\gui\\" + name; }
  /// Writes and parses the file; the log written meanwhile.
  std::string Parse(const std::string& text, const std::string& name = "t.gui") {
    Write(name, text);
    return ParseFile(name);
  }
  std::string ParseFile(const std::string& name) {
    const std::size_t mark = rig.Log().size();
    rig.mng->ParseGuiFile(PathOf(name));
    return rig.Log().substr(mark);
  }
  N_GuiElement* Element(const std::string& name, bool isTemplate = false) {
    const auto& map = isTemplate ? rig.mng->Templates() : rig.mng->Elements();
    const auto it = map.find(name);
    return it == map.end() ? nullptr : it->second;
  }
  bool OnPage(const std::string& page, const std::string& element) {
    N_GuiPage* p = rig.mng->GetPage(page);
    if (!p) return false;
    for (const N_GuiElement* e : p->Elements()) {
      if (e->GetName() == element) return true;
    }
    return false;
  }

  test::GuiRig rig;
  N_StringTable strings;
};

bool Has(const std::string& log, const std::string& line) { return log.find(line) != std::string::npos; }

TEST(GuiScriptLines, ElementLinesAndTheirFaults) {
  struct Case {
    const char* line;     ///< the line inside the page "P", followed by a block
    const char* created;  ///< the element it makes, or null
    const char* message;  ///< what the log must hold, or null
  };
  const Case cases[] = {
      {"container Button(B2)", "B2", nullptr},
      {"container Button(B3) : Shared", "B3", nullptr},
      {"container Panel()", nullptr,
       "!!! Bad element/container line: 'container Panel()' in page 'P', expecting 'element type(name)' (t.gui:7)\n"},
      {"container Button(B4) :Shared", nullptr,
       "!!! Bad element/container line: 'container Button(B4) :Shared' in page 'P', expecting ':' templateName "
       "(t.gui:7)\n"},
      {"container Button(B5) x Shared", nullptr,
       "!!! Bad element/container line: 'container Button(B5) x Shared' in page 'P', expecting ':' for element "
       "inheritance (t.gui:7)\n"},
      {"container Slider(B6)", nullptr, "*** Cannot locate factory for element type Slider. (t.gui:7)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    test::GuiRig rig;
    // The block's caption joins the element; after a refused line the reader skips to
    // the block's "}", and "zorder" is read at page level again.
    rig.dir.Write("t.gui", std::string("template container Button(Shared)\n{\ntag 9\n}\nP\n{\n") + c.line +
                               "\n{\ncaption Mine\n}\nzorder 7\n}\n");
    rig.mng->ParseGuiFile("t.gui");
    const std::string log = rig.Log();
    if (c.message) {
      EXPECT_TRUE(Has(log, c.message)) << log;
    }
    EXPECT_FALSE(Has(log, "caption Mine")) << log;
    EXPECT_EQ(rig.mng->GetPage("P")->GetZOrder(), 7) << log;
    const auto& elements = rig.mng->Elements();
    EXPECT_EQ(elements.size(), c.created ? 1u : 0u);
    if (!c.created) continue;
    ASSERT_EQ(elements.count(c.created), 1u);
    N_GuiElement* e = elements.at(c.created);
    EXPECT_EQ(e->GetCaption(), "Mine");
    EXPECT_EQ(e->GetPage(), rig.mng->GetPage("P"));
    EXPECT_EQ(e->GetTag(), std::string(c.line).find(':') == std::string::npos ? 0 : 9);
  }
}

TEST(GuiScriptLines, BrokenScriptsAreSaidWithTheirFileAndLine) {
  // A file cut inside a block or before its "{", and the forms once skipped without a
  // word: every message ends with the place (for a cut, the line that opened the
  // block), and what was read of a cut block stays.
  struct Case {
    const char* text;
    const char* message;  ///< after "!!! "
  };
  const std::string kept = ": what was read of it is kept";
  const Case cases[] = {
      {"P\n{\ncontainer Panel(A)\n{\ncaption x\n", "Gui file ends inside the block of Panel 'A'%s (t.gui:3)\n"},
      {"P\n{\nzorder 3\n", "Gui file ends inside page 'P'%s (t.gui:1)\n"},
      {"P\n{\neffect Recording(r)\n{\nrate 1\n", "Gui file ends inside the block of effect Recording%s (t.gui:3)\n"},
      {"\nP\n", "Gui file ends before the '{' of page 'P'%s (t.gui:2)\n"},
      {"P\n{\ncontainer Panel(A)\n", "Gui file ends before the '{' of Panel 'A'%s (t.gui:3)\n"},
      {"P\n{\ncontainer Slider(S)\n{\ncaption x\n", "Gui file ends inside a skipped block%s (t.gui:3)\n"},
      {"P\n{\nregistershader\n}\n",
       "Bad registershader line: 'registershader' in gui file t.gui, expecting a shader name (t.gui:3)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    test::GuiRig rig;
    rig.dir.Write("t.gui", c.text);
    rig.mng->ParseGuiFile("t.gui");
    const std::string log = rig.Log();
    std::string message = std::string("!!! ") + c.message;
    if (const std::size_t at = message.find("%s"); at != std::string::npos) message.replace(at, 2, kept);
    EXPECT_TRUE(Has(log, message)) << log;
    for (std::size_t at = 0, end; (end = log.find('\n', at)) != std::string::npos; at = end + 1) {
      const std::string line = log.substr(at, end - at);
      if (line.rfind("!!!", 0) == 0 || line.rfind("***", 0) == 0) {
        EXPECT_NE(line.find(" (t.gui:"), std::string::npos) << line;
      }
    }
    if (Has(c.text, "caption x") && Has(c.text, "Panel")) {
      ASSERT_EQ(rig.mng->Elements().count("A"), 1u);
      EXPECT_EQ(rig.mng->Elements().at("A")->GetCaption(), "x");
    }
  }
}

TEST(GuiScriptLines, AnElementLineAtPageLevelIsAPageAttribute) {
  // Its block's lines are then read at page level too: its "}" ends the page.
  test::GuiRig rig;
  rig.dir.Write("t.gui", "P\n{\nelement Button(B1)\n{\ncaption Mine\n}\nzorder 7\n}\n");
  rig.mng->ParseGuiFile("t.gui");
  const std::string log = rig.Log();
  EXPECT_TRUE(test::ContainsInOrder(log, {"!!! Bad attribute line: 'element Button(B1)' for gui page P (t.gui:3)\n",
                                          "!!! Bad attribute line: '{' for gui page P (t.gui:4)\n",
                                          "!!! Bad attribute line: 'caption Mine' for gui page P (t.gui:5)\n"}));
  EXPECT_TRUE(rig.mng->Elements().empty());
  EXPECT_EQ(rig.mng->GetPage("P")->GetZOrder(), 100);
  EXPECT_NE(rig.mng->GetPage("zorder 7"), nullptr) << "after the page, a line names a page";
}

TEST_F(GuiScript, UnnamedElementsCountOnFromOneProgramWideCounter) {
  const std::string first = N_GuiScriptParser::NextAutoName();
  const int k = std::stoi(first.substr(8)) + 1;
  if (testing::UnitTest::GetInstance()->test_to_run_count() == 1) {
    EXPECT_EQ(first, "AutoElem0") << "a process of its own";
  }
  const std::string log =
      Parse("template container Panel(Tpl)\n{\n}\nP\n{\ncontainer Panel\n{\n}\ncontainer Panel : Tpl\n{\n}\n}\n");
  EXPECT_NE(Element("AutoElem" + std::to_string(k)), nullptr) << log;
  EXPECT_NE(Element("AutoElem" + std::to_string(k + 1)), nullptr) << log;
  EXPECT_EQ(Element("AutoElem" + std::to_string(k + 1))->GetTypeName(), "Panel");
}

TEST_F(GuiScript, PageHeadersBlocksAndPageAttributes) {
  const std::string log = Parse(
      "// a comment\n"
      "Foo {\n"
      "zorder 3\n"
      "{\n"
      "  ZOrder   12  \n"
      "showcursor true\n"
      "modal yes\n"
      "onshow GuiTestShow\n"
      "colour red\n"
      "zorder\n"
      "}\n"
      "}\n"
      "Bar\n"
      "\n"
      "{\n"
      "showcursor false\n"
      "modal true\n"
      "}\n");
  // The "{" of the header line is part of the name; "zorder 3" and the next "{" are skipped.
  N_GuiPage* foo = rig.mng->GetPage("Foo {");
  ASSERT_NE(foo, nullptr) << log;
  EXPECT_EQ(foo->GetZOrder(), 12);
  EXPECT_TRUE(foo->GetShowCursor());
  EXPECT_FALSE(foo->IsModal()) << "true only for exactly \"true\"";
  EXPECT_EQ(foo->GetOnShow(), "GuiTestShow");
  EXPECT_TRUE(Has(log, "!!! Bad attribute line: 'colour red' for gui page Foo { (data\\scripts\\gui\\t.gui:9)\n"));
  EXPECT_TRUE(Has(log, "!!! Bad attribute line: 'zorder' for gui page Foo { (data\\scripts\\gui\\t.gui:10)\n"))
      << "a key without value";
  // The second "}" stands outside any page: it names a page and skips past the next
  // "{", so "Bar" is skipped and its lines are that page's.
  N_GuiPage* brace = rig.mng->GetPage("}");
  ASSERT_NE(brace, nullptr);
  EXPECT_EQ(rig.mng->GetPage("Bar"), nullptr);
  EXPECT_TRUE(brace->IsModal());
  EXPECT_FALSE(brace->GetShowCursor());
  EXPECT_TRUE(Has(log, "Parsing gui file 'data\\scripts\\gui\\t.gui'\n"));
}

TEST_F(GuiScript, AttributeValuesKeysAndStrings) {
  const std::string log = Parse(
      "P\n{\n"
      "container Button(A)\n{\n"
      "Caption #str500\n"
      "TAG\t 4\n"
      "}\n"
      "container Button(B)\n{\n"
      "caption #str999\n"
      "#include x.gui\n"
      "registershader y\n"
      "tag\n"
      "nonsense 1\n"
      "}\n}\n");
  N_GuiElement* a = Element("A");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->GetCaption(), "Single player");
  EXPECT_EQ(a->GetTag(), 4);
  N_GuiElement* b = Element("B");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->GetCaption(), "") << "a missing key gives an empty text";
  int at = 11;
  for (const char* line : {"#include x.gui", "registershader y", "tag", "nonsense 1"}) {
    EXPECT_TRUE(Has(log, std::string("!!! Bad attribute line: '") + line + "' for element B in overlay P (" +
                             PathOf("t.gui") + ":" + std::to_string(at++) + ")\n"))
        << line;
  }
  EXPECT_FALSE(Has(log, "Parsing gui file 'data\\scripts\\gui\\x.gui'"));
}

TEST_F(GuiScript, IncludesAndTheirCycles) {
  Write("inc.gui", "Included\n{\ncontainer Button(FromInclude)\n{\n}\n}\n");
  Write("self.gui", "#include self.gui\nSelf\n{\n}\n");
  Write("ring1.gui", "#include <ring2.gui>\n");
  Write("ring2.gui", "#include (ring1.gui)\n");
  const std::string log = Parse(
      "P\n{\n"
      "container Button(Before)\n{\n}\n"
      "#include inc.gui\n"
      "container Button(After)\n{\n}\n"
      "}\n"
      "#include inc.gui\n"
      "#include missing.gui\n"
      "#include self.gui\n"
      "#include ring1.gui\n"
      "#include\n");
  const std::string inc = PathOf("inc.gui");
  // Each names the include line it comes from.
  const std::string t = PathOf("t.gui");
  EXPECT_TRUE(test::ContainsInOrder(
      log, {"Parsing gui file '" + inc + "'\n",
            "Skipping loading gui include: '" + inc + " as it is already loaded. (" + t + ":11)\n",
            "*** Gui file '" + PathOf("missing.gui") + "' not found! (" + t + ":12)\n",
            "Skipping loading gui include: '" + PathOf("self.gui") + " as it is already loaded. (" +
                PathOf("self.gui") + ":1)\n",
            "Skipping loading gui include: '" + PathOf("ring1.gui") + " as it is already loaded. (" +
                PathOf("ring2.gui") + ":1)\n"}));
  // The included file starts outside any page; the includer goes on in its own.
  EXPECT_TRUE(OnPage("Included", "FromInclude"));
  EXPECT_TRUE(OnPage("P", "Before"));
  EXPECT_TRUE(OnPage("P", "After"));
  EXPECT_NE(rig.mng->GetPage("Self"), nullptr) << "the self-include is skipped and the file goes on";
  EXPECT_TRUE(Has(log, "!!! Bad include line: '#include' in gui file " + t + " (" + t + ":15)\n"));
  EXPECT_EQ(rig.mng->LoadedFiles(),
            (std::vector<std::string>{inc, PathOf("self.gui"), PathOf("ring2.gui"), PathOf("ring1.gui"),
                                      PathOf("t.gui")}))
      << "a file counts as read once its whole parse has ended";
}

TEST_F(GuiScript, TheDirectoryScanSkipsWhatWasIncludedUnderAnySpelling) {
  Write("a.gui", "#include B.GUI\nFirst\n{\ncontainer Button(X)\n{\n}\n}\n");
  Write("b.gui", "Second\n{\ncontainer Button(Y)\n{\n}\n}\n");
  Write("c.gui", "First\n{\ncontainer Button(Z)\n{\n}\n}\n");
  Write("notes.txt", "Ignored\n{\n}\n");
  rig.mng->LoadGuiFiles("scripts\\gui\\*.gui");
  const std::string log = rig.Log();
  const std::string root = N_FileList::WorkingDirectory() + "\\data\\scripts\\gui\\";
  EXPECT_TRUE(test::ContainsInOrder(log, {"Parsing gui file '" + root + "a.gui'\n",
                                          "Parsing gui file '" + root + "B.GUI'\n",
                                          "Skipping loading gui include: '" + root + "b.gui as it is already loaded.\n",
                                          "Parsing gui file '" + root + "c.gui'\n"}));
  EXPECT_FALSE(Has(log, "already exists")) << log;
  EXPECT_EQ(rig.mng->GetPage("Ignored"), nullptr);
  // The first definition of a page wins; the second fills a page never drawn.
  EXPECT_TRUE(OnPage("First", "X"));
  EXPECT_FALSE(OnPage("First", "Z"));
  EXPECT_NE(rig.mng->GetSnowShader(), -1) << "the snow's shader is registered after the files";
}

TEST_F(GuiScript, LongLinesGoOnAsTheNextLine) {
  const std::string tail(477, 'y');
  const std::string text = "caption " + std::string(1015, 'x') + tail;  // 1,500 characters
  const std::string log = Parse("P\n{\ncontainer Button(Long)\n{\n" + text + "\n}\n}\n");
  N_GuiElement* e = Element("Long");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->GetCaption(), std::string(1015, 'x'));
  EXPECT_TRUE(Has(log, "!!! Bad attribute line: '" + tail + "' for element Long in overlay P (" + PathOf("t.gui") +
                           ":5)\n"))
      << "the rest of a long line keeps its number";
}

TEST_F(GuiScript, TemplatesAndTheirClones) {
  const std::string log = Parse(
      "template container Panel(Frame)\n{\n"
      "caption A\n"
      "tag 5\n"
      "width 300\n"
      "element Text(Label)\n{\ncaption Hello\n}\n"
      "element Panel(Inner)\n{\nelement Button(Deep)\n{\n}\n}\n"
      "effect Recording(r)\n{\n}\n"
      "}\n"
      "P\n{\n"
      "container Panel(Main) : Frame\n{\ncaption B\n}\n"
      "container Panel(Plain) : NoSuchTemplate\n{\n}\n"
      "container Panel(Bare)\n{\nelement Text(T)\n{\n}\n}\n"
      "}\n");
  // The template and every child of it live in the templates, never on a page.
  for (const char* name : {"Frame", "Label", "Inner", "Deep"}) EXPECT_NE(Element(name, true), nullptr) << name;
  EXPECT_EQ(Element("Label"), nullptr);
  EXPECT_TRUE(rig.mng->Effects().empty()) << "an effect in a template has no page to join";
  EXPECT_TRUE(Has(log, "!!! Bad effect line: 'effect Recording(r)' in Panel 'Frame', an effect joins a page, and a "
                       "template has none (" +
                           PathOf("t.gui") + ":16)\n"));
  auto* main = static_cast<N_GuiPanel*>(Element("Main"));
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->GetCaption(), "B") << "its own lines win";
  EXPECT_EQ(main->GetTag(), 5);
  EXPECT_EQ(main->GetWidth(), 300.0f);
  N_GuiElement* label = Element("Main/Label");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->GetCaption(), "Hello");
  EXPECT_EQ(label->GetParent(), main);
  EXPECT_NE(Element("Main/Inner"), nullptr);
  // A missing template: reported, the class defaults.
  EXPECT_TRUE(Has(log, "*** N_GuiElement with name NoSuchTemplate not found. (" + PathOf("t.gui") + ":26)\n"));
  ASSERT_NE(Element("Plain"), nullptr);
  EXPECT_EQ(Element("Plain")->GetTag(), 0);
  EXPECT_EQ(Element("T")->GetParent(), Element("Bare"));
  EXPECT_EQ(log.find("!!! Bad"), log.rfind("!!! Bad")) << "nothing but the effect: " << log;
}

TEST_F(GuiScript, EffectsShadersAndTheFormsLeftOpen) {
  const std::string log = Parse(
      "RegisterShader gui/one\n"
      "REGISTERSHADER   gui/two\n"
      "P\n{\n"
      "effect Wipe(f)\n{\nrate 2\n}\n"
      "zorder 4\n"
      "effect Recording(r)\n{\nrate 2\n// comment\n\n}\n"
      "effect\n{\nrate 2\n}\n"
      "container Text(NotAContainer)\n{\n"
      "element Text(Child)\n{\ncaption c\n}\n"
      "tag 3\n"
      "}\n"
      "}\n"
      "template element Button(Orphan)\n{\n}\n"
      "template nonsense\n");
  std::vector<std::string> shaders;
  for (int i = 0; i < rig.shaders.Capacity(); ++i) {
    if (const N_ShaderEntry* e = rig.shaders.GetEntry(i); e && e->name) shaders.push_back(*e->name);
  }
  EXPECT_EQ(shaders, (std::vector<std::string>{"gui/one", "gui/two"}));
  const std::string t = PathOf("t.gui");
  EXPECT_TRUE(Has(log, "*** Cannot locate factory for effect type Wipe. (" + t + ":5)\n"));
  EXPECT_EQ(rig.mng->GetPage("P")->GetZOrder(), 4) << "the effect's block was skipped";
  ASSERT_EQ(rig.mng->GetPage("P")->Effects().size(), 1u);
  EXPECT_TRUE(Has(log, "!!! Bad attribute line: 'rate 2' for effect type Recording in overlay P (" + t + ":12)\n"));
  EXPECT_EQ(rig.mng->Effects().size(), 1u) << "an effect line without a type creates nothing";
  EXPECT_TRUE(Has(log, "!!! Bad effect line: 'effect' in page 'P', expecting 'effect type(name)' (" + t + ":16)\n"));
  // A child of an element that holds none: reported naming the parent, nothing made.
  EXPECT_TRUE(Has(log, "!!! Bad element/container line: 'element Text(Child)' in Text 'NotAContainer', a Text "
                       "holds no child elements (" +
                           t + ":22)\n"));
  EXPECT_EQ(Element("Child"), nullptr);
  EXPECT_EQ(Element("NotAContainer")->GetTag(), 3);
  EXPECT_NE(Element("Orphan", true), nullptr) << "\"element\" makes a template too";
  EXPECT_TRUE(Has(log, "!!! Bad element/container line: 'template nonsense' in template '', expecting 'element "
                       "type(name)' (" +
                           t + ":32)\n"));
}

TEST_F(GuiScript, BlocksNestAtMost32Deep) {
  std::string text = "P\n{\n";
  for (int i = 0; i < 40; ++i) text += "container Panel(N" + std::to_string(i) + ")\n{\n";
  for (int i = 0; i < 40; ++i) text += "}\n";
  const std::string log = Parse(text);
  EXPECT_NE(Element("N31"), nullptr);
  EXPECT_EQ(Element("N32"), nullptr);
  EXPECT_TRUE(Has(log, "!!! Bad element/container line: 'container Panel(N32)' in Panel 'N31', blocks nest at most "
                       "32 deep (" +
                           PathOf("t.gui") + ":67)\n"));
  EXPECT_EQ(Element("N31")->GetParent(), Element("N30"));
}

TEST_F(GuiScript, AFileThatCannotBeReadIsReportedAndNotRecorded) {
  rig.dir.Write("data/scripts/gui/folder.gui/x", "");
  for (const char* name : {"missing.gui", "folder.gui"}) {
    const std::string log = ParseFile(name);
    EXPECT_TRUE(Has(log, std::string("*** Gui file '") + PathOf(name) + "' not found!\n")) << log;
    EXPECT_FALSE(Has(log, "Parsing")) << log;
  }
  EXPECT_TRUE(rig.mng->LoadedFiles().empty());
}

}  // namespace
