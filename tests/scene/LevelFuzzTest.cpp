// Fuzz-style: level files cut short, with flipped bits and with mangled section sizes,
// offsets, counts and indices, and spectator scripts cut and garbled. Every load must
// end cleanly or in the critical report (here a hook that throws out of the reporter
// before it would end the program); run under the sanitizer build, nothing is read
// past a buffer, nothing is freed twice and nothing leaks, however far the load got.
#include "platform/win32.h"
#include "scene/AudienceMng.h"
#include "scene/LevelFile.h"
#include "scene/LevelObjectList.h"
#include "tests/scene/AnimTestSupport.h"
#include "tests/scene/LevelFileSupport.h"
#include "tests/scene/LevelTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

/// What the throwing box hook carries out of the critical report.
struct CriticalReport {
  std::string text;
};

/// The throwing hook, and the debugger output (a thousand reports) kept off stderr.
struct ThrowingReports {
  ThrowingReports() {
    platform::SetDebugOutputHook([](const std::string&) {});
    platform::SetMessageBoxHook([](const std::string& text, const std::string& caption) {
      if (caption == "Critical error!") throw CriticalReport{text};
    });
  }
  ~ThrowingReports() {
    platform::SetMessageBoxHook({});
    platform::SetDebugOutputHook({});
  }
};

/// The test's small generator of mutations.
struct Mutator {
  std::uint32_t state;
  std::uint32_t Next() { return state = state * 1103515245u + 12345u, (state >> 8) & 0xFFFFFF; }
  std::size_t Below(std::size_t n) { return n ? Next() % n : 0; }
};

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

/// Runs `rounds` loads, each of a mutated input written by `write`; every result is a
/// clean load (`check` then looks at it) or a critical report `allowed` accepts.
void RunMutations(int rounds, const std::function<void(int round, Mutator&)>& write, const std::function<void()>& load,
         const std::function<bool(const std::string&)>& allowed, int& loaded, int& refused) {
  Mutator m{2024};
  for (int round = 0; round < rounds; ++round) {
    write(round, m);
    try {
      load();
      ++loaded;
    } catch (const CriticalReport& report) {
      ASSERT_TRUE(allowed(report.text)) << "round " << round << ": " << report.text;
      ++refused;
    }
  }
}

TEST(LevelFuzz, MutatedLevelFilesLoadCleanlyOrEndInTheCriticalReport) {
  test::LevelRig r;
  ThrowingReports reports;
  r.textureDevice.nextHandle = 1000;
  N_LevelObjectList objects;
  g_scene.levelObjects = &objects;
  test::WriteAudience();
  r.rig.core.vars->SetString("mapname", "fuzz.alf", 2);
  const std::vector<std::uint8_t> seed = datagen::EncodeLevel(test::SmallLevel());
  // Words worth trying in a size, offset, count or index.
  const std::uint32_t words[] = {0,          1,           2,           3,           7,           8,
                                 12,         136,         2047,        2048,        0x7FFFFFFF,  0x80000000u,
                                 0xFFFFFFFFu, 0xFFFFFFF0u, std::uint32_t(seed.size()), std::uint32_t(seed.size() + 1)};
  // The words of records that index other sections: point set run, camera path index,
  // scene object range and path, surface range, camera path keys, light grid header.
  const std::pair<int, std::size_t> indexWords[] = {
      {levelfile::kPointSets, 128},    {levelfile::kPointSets, 132},    {levelfile::kCameras, 424},
      {levelfile::kSceneObjects, 472}, {levelfile::kSceneObjects, 476}, {levelfile::kSurfaceRanges, 0},
      {levelfile::kSurfaceRanges, 4},  {levelfile::kCameraPaths, 8},    {levelfile::kCameraPaths, 12},
      {levelfile::kLightGrid, 0},      {levelfile::kLightGrid, 8},      {levelfile::kLightGrid, 12},
      {5, 8},                          {5, 16},                         {5, 24}};
  const std::string path = "data\\levels\\fuzz.alf";
  int loaded = 0, refused = 0;
  RunMutations(
      2000,
      [&](int round, Mutator& m) {
        std::vector<std::uint8_t> file = seed;
        switch (round % 4) {
          case 0:  // cut short
            file.resize(m.Below(file.size() + 1));
            break;
          case 1:  // flipped bits, half of them in the header's directory
            for (int e = 1 + int(m.Below(4)); e > 0; --e) {
              const std::size_t at = m.Below(2) ? 8 + m.Below(160) : m.Below(file.size());
              file[at] ^= static_cast<std::uint8_t>(1u << m.Below(8));
            }
            break;
          case 2:  // a section's offset or size replaced
            test::PatchU32(file, 8 + 4 * m.Below(40), words[m.Below(std::size(words))]);
            break;
          case 3: {  // an index or count between sections replaced
            const auto& [section, at] = indexWords[m.Below(std::size(indexWords))];
            test::PatchU32(file, test::SectionOffset(file, section) + at, words[m.Below(std::size(words))]);
            break;
          }
        }
        test::WriteBytes("data/levels/fuzz.alf", file);
      },
      [&] {
        objects.Clear();
        r.NewLevel();
        r.level().Load();
        // Every index of a built surface names one of its vertices.
        for (const N_MeshSurface& s : r.level().surfaces) {
          for (std::uint16_t i = 0; i < s.indexCount; ++i) ASSERT_LT(s.indices[i], s.vertexCount);
        }
      },
      [&](const std::string& text) {
        // A flipped name may name a spectator mesh the script lacks, or a LOD object.
        const bool notFound = text.size() > 11 && text.compare(text.size() - 11, 11, " not found!") == 0;
        return text == path + " is not level file!" || StartsWith(text, path + " is v.") ||
               (StartsWith(text, "Mesh ") && text.find(" not found in file data\\ai\\divaci.ai") != std::string::npos) ||
               (StartsWith(text, "file ") && notFound);
      },
      loaded, refused);
  objects.Clear();
  r.NewLevel();
  EXPECT_GT(loaded, 200);
  EXPECT_GT(refused, 200);
}

TEST(LevelFuzz, MutatedSpectatorScriptsParseCleanlyOrEndInTheCriticalReport) {
  test::LevelRig r;
  ThrowingReports reports;
  test::WriteAudience();
  const std::string seed = test::AudienceScript();
  const char* tokens[] = {"{", "}", "case", "IDLE:", "ACTION:", "data\\ai\\a.mesh", "data\\ai\\idle1.anim", "x", "//"};
  int loaded = 0, refused = 0;
  RunMutations(
      1500,
      [&](int round, Mutator& m) {
        std::string script = seed;
        switch (round % 3) {
          case 0:  // cut short
            script.resize(m.Below(script.size() + 1));
            break;
          case 1:  // a character replaced
            for (int e = 1 + int(m.Below(3)); e > 0; --e) script[m.Below(script.size())] = "{}: \n/xa"[m.Below(8)];
            break;
          case 2:  // a token put in somewhere
            script.insert(m.Below(script.size() + 1), std::string(" ") + tokens[m.Below(std::size(tokens))] + " ");
            break;
        }
        test::WriteBytes("data/ai/divaci.ai", std::vector<std::uint8_t>(script.begin(), script.end()));
      },
      [] {
        N_AudienceMng audience;
        audience.ParseScript("data\\ai\\divaci.ai");
      },
      [](const std::string& text) {
        for (const char* start : {"{ expected at line ", "wrong token '", "uknown case statemnet at line ",
                                  "end of file data\\ai\\divaci.ai inside a block", "Load NPC mesh ",
                                  "Load NPC animation "}) {
          if (StartsWith(text, start)) return true;
        }
        return false;
      },
      loaded, refused);
  EXPECT_GT(loaded, 100);
  EXPECT_GT(refused, 300);
}

}  // namespace
