// The layering check on planted trees: every kind of include that goes up or sideways
// is reported with its file and line, and legal includes are not.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/layering/GameLayers.h"
#include "tests/layering/LayerCheck.h"
#include "tests/support/TestEnv.h"

namespace {

struct Planted {
  const char* file;
  const char* text;
  std::vector<int> badLines;  ///< the lines that must be reported
};

// Line 1 of each file is a comment, so the reported line numbers are counted, not guessed.
const Planted kTree[] = {
    // Upward, sideways and outside includes.
    {"core/Controls.cpp", "// a\n#include \"core/Log.h\"\n#include \"race/World.h\"\n", {3}},
    {"core/Loose.cpp", "// a\n#include \"../race/World.h\"\n  #  include <app/Application.h>\n", {2, 3}},
    {"core/Helper.cpp", "// a\n#include \"tests/support/TestEnv.h\"\n", {2}},
    {"render/Mix.cpp", "// a\n#include \"platform/d3d9.h\"\n#include \"sound/SoundMng.h\"\n", {3}},
    {"sound/Draw.h", "// a\n#include \"render/Render.h\"\n#include \"scene/Mesh.h\"\n", {2, 3}},
    {"scene/Mesh.h", "// a\n#include \"render/Camera.h\"\n#include \"gui/Page.h\"\n", {3}},
    {"platform/d3d9/Device.cpp", "// a\n#include \"Common.h\"\n#include \"core/Log.h\"\n", {3}},
    {"race/ai/Path.cpp", "// a\n#include \"race/World.h\"\n#include \"frontend/career/Profile.h\"\n", {3}},
    {"frontend/career/Profile.h", "// a\n#include \"frontend/Menu.h\"\n#include \"app/Application.h\"\n", {3}},
    // Legal: downward, within a group, a folder and its listed subfolder, system headers,
    // commented-out includes, and folders outside the layers.
    {"platform/d3d9/Common.h", "#pragma once\n#include <SDL.h>\n", {}},
    {"race/World.h", "// a\n#include \"race/ai/Path.h\"\n#include \"scene/Mesh.h\"\n#include <vector>\n", {}},
    {"race/ai/Path.h", "// a\n// #include \"app/Application.h\"\n", {}},
    {"gui/Page.h", "// a\n#include \"scene/Mesh.h\"\n#include \"sound/SoundMng.h\"\n", {}},
    {"frontend/Menu.h", "// a\n#include \"frontend/career/Profile.h\"\n#include \"race/World.h\"\n", {}},
    {"app/Application.h", "// a\n#include \"frontend/Menu.h\"\n#include \"platform/d3d9.h\"\n", {}},
    {"tests/support/TestEnv.h", "// a\n#include \"app/Application.h\"\n", {}},
    {"tools/Gen.cpp", "// a\n#include \"app/Application.h\"\n", {}},
    {"fuzz/Reader.cpp", "// a\n#include \"app/Application.h\"\n", {}},
    {"data/scripts/readme.txt", "#include \"app/Application.h\"\n", {}},
    // A build tree is skipped.
    {"build/CMakeCache.txt", "", {}},
    {"build/tools/Resources.cpp", "#include \"app/Application.h\"\n", {}},
};

std::vector<std::string> Lines(const layering::Report& report) {
  std::vector<std::string> lines;
  for (const layering::Violation& v : report.violations) lines.push_back(v.file + ":" + std::to_string(v.line));
  return lines;
}

/// The program's output and exit status.
int RunProgram(const std::string& root, std::string* output) {
  FILE* pipe = popen((std::string(NAVO_LAYER_CHECK) + " '" + root + "'").c_str(), "r");
  if (!pipe) return -1;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) *output += buffer;
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(LayerCheck, ReportsEveryUpwardSidewaysAndOutsideIncludeWithFileAndLine) {
  test::TempDir dir;
  std::vector<std::string> expected;
  for (const Planted& p : kTree) {
    dir.Write(p.file, p.text);
    for (int line : p.badLines) expected.push_back(std::string(p.file) + ":" + std::to_string(line));
  }
  std::sort(expected.begin(), expected.end());
  const layering::Report report = layering::Check(dir.Path(), layering::GameLayers());
  std::vector<std::string> found = Lines(report);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, expected);
  EXPECT_EQ(report.files, 15);  // the layer folders' sources: not tests/, tools/, fuzz/, data/, build/

  for (const layering::Violation& v : report.violations) {
    if (v.file == "core/Controls.cpp") {
      EXPECT_EQ(layering::Format(v), "core/Controls.cpp:3: includes \"race/World.h\": race/ lies above core/");
    }
    if (v.file == "render/Mix.cpp") {
      EXPECT_EQ(v.message, "includes \"sound/SoundMng.h\": sound/ and render/ stand side by side");
    }
    if (v.file == "core/Helper.cpp") {
      EXPECT_EQ(v.message, "includes \"tests/support/TestEnv.h\": tests/ stands outside the layers, above core/");
    }
  }
}

TEST(LayerCheck, ReportsAFolderWithSourcesOutsideTheTable) {
  test::TempDir dir;
  dir.Write("core/Log.h", "#pragma once\n");
  dir.Write("physics/Body.cpp", "#include \"core/Log.h\"\n");
  dir.Write("notes/todo.txt", "nothing to build\n");
  const layering::Report report = layering::Check(dir.Path(), layering::GameLayers());
  ASSERT_EQ(report.violations.size(), 1u);
  EXPECT_EQ(layering::Format(report.violations[0]),
            "physics/: the folder holds sources but is in no layer: add it to the layer table");
}

TEST(LayerCheck, TheProgramFailsOnAPlantedIncludeAndOnAnEmptyTree) {
  struct Case {
    const char* name;
    std::vector<std::pair<const char*, const char*>> files;
    int status;
    const char* printed;
  } cases[] = {
      {"planted",
       {{"core/Log.h", "#pragma once\n"}, {"core/Timer.cpp", "\n\n#include \"gui/Page.h\"\n"}},
       1,
       "core/Timer.cpp:3: includes \"gui/Page.h\": gui/ lies above core/\n"},
      {"clean",
       {{"core/Log.h", "#pragma once\n"}, {"race/World.cpp", "#include \"core/Log.h\"\n"}},
       0,
       "layer_check: 2 files, 1 includes of layer folders, 0 violations\n"},
      {"nothing to read", {{"data/readme.txt", "text\n"}}, 1, "layer_check: no source file found below "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    for (const auto& [file, text] : c.files) dir.Write(file, text);
    std::string output;
    EXPECT_EQ(RunProgram(dir.Path(), &output), c.status) << output;
    EXPECT_NE(output.find(c.printed), std::string::npos) << output;
  }
}

}  // namespace
