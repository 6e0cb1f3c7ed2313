// The game on the sample data with one of its files damaged (missing, emptied, cut,
// garbage, a folder in its place, a number no script means): each damage used to pass
// without a word. The game starts to its menu, which reads every script, course and
// profile the damaged files belong to, and its log says what is wrong, naming the file.
#include "tests/app/GameProcess.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;

/// The sample data linked into the directory, but the folders on the way to the file,
/// which are made, and the file itself, which is left out; a folder "tables" of its own.
void LinkSampleDataBut(const test::TempDir& dir, const std::string& file) {
  fs::path source = fs::path(test::GameRoot()) / "data";
  fs::path target = fs::path(dir.Path()) / "data";
  fs::create_directories(target / "tables");
  for (const fs::path& part : fs::path(file).lexically_relative("data")) {
    for (const auto& entry : fs::directory_iterator(source)) {
      const fs::path name = entry.path().filename();
      if (name == part || name == "tables" || name == "video") continue;
      fs::create_directory_symlink(entry.path(), target / name);
    }
    source /= part;
    target /= part;
    if (fs::is_directory(source)) fs::create_directory(target);
  }
}

/// The damaged file's contents from the sample's; nullopt leaves it missing.
using Damage = std::function<std::optional<std::string>(const std::string& sample)>;

const Damage kMissing = [](const std::string&) { return std::nullopt; };
const Damage kEmpty = [](const std::string&) { return std::string(); };
const Damage kThreeBytes = [](const std::string& s) { return s.substr(0, 3); };
const Damage kHalf = [](const std::string& s) { return s.substr(0, s.size() / 2); };
/// Bytes of the upper half, no blank or line end among them: one long word.
const Damage kGarbage = [](const std::string& s) {
  std::string bytes(s.size(), '\0');
  unsigned state = 12345;
  for (char& c : bytes) c = static_cast<char>(0x80 | ((state = state * 1103515245u + 12345u) >> 16));
  return bytes;
};

/// The first occurrence of `from` replaced by `to`.
Damage Replaced(const std::string& from, const std::string& to) {
  return [from, to](const std::string& s) -> std::optional<std::string> {
    std::string text = s;
    const std::size_t at = text.find(from);
    if (at == std::string::npos) return "the sample lacks " + from;
    return text.replace(at, from.size(), to);
  };
}

struct Case {
  const char* file;
  const char* what;
  Damage damage;  ///< null: a folder in the file's place
  const char* named;  ///< what the line names
};

/// Whether a line of the log that says a fault ("!!! ", "*** ", " !    ") holds the text.
bool SaysFault(const std::string& log, const std::string& text) {
  for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) {
    const std::size_t start = log.rfind('\n', at) + 1;  // npos + 1 is 0
    for (const char* marker : {"!!! ", "*** ", " !    "}) {
      if (log.compare(start, std::strlen(marker), marker) == 0) return true;
    }
  }
  return false;
}

TEST(DamagedSample, EveryDamageTheGameCanSeeIsSaidNamingTheFile) {
  constexpr const char* kParticles = "data/scripts/effects.particle";
  constexpr const char* kLevel = "data/levels/Beitostolen.alf.cfg";
  constexpr const char* kEmitters = "data/anim/ref_meshe/particle.ctrl";
  const Case cases[] = {
      {kParticles, "empty", kEmpty, "effects.particle(1) - error in '': No particle template"},
      {kParticles, "garbage", kGarbage, "effects.particle(1) - error in ''"},
      {kParticles, "cut in half", kHalf, "effects.particle(29) - error in 'smoke': The file ends inside the block"},
      {kParticles, "a folder", nullptr, "effects.particle is a folder"},
      {kLevel, "missing", kMissing, "Beitostolen.ALF.cfg is missing"},
      {kLevel, "empty", kEmpty, "Beitostolen.ALF.cfg holds no setting"},
      {kLevel, "three bytes", kThreeBytes, "Beitostolen.ALF.cfg"},
      {kLevel, "cut in half", kHalf, "Beitostolen.ALF.cfg ends inside a line"},
      {kLevel, "garbage", kGarbage, "Beitostolen.ALF.cfg"},
      {kLevel, "NaN", Replaced("foglinearnear 4000", "foglinearnear NaN"), "Beitostolen.ALF.cfg line 3"},
      {"data/profiles/playerprofiles.data", "cut in half", kHalf, "playerprofiles.data ends inside the athlete"},
      {kEmitters, "missing", kMissing, "particle.ctrl is missing"},
      {kEmitters, "empty", kEmpty, "particle.ctrl holds no emitter entry"},
      {kEmitters, "1e30", Replaced("anim 3 -12", "anim 1e30 -12"), "particle.ctrl line 12: '1e30' is out of range"},
      {"data/Ai/divaci.ai", "-2147483649", Replaced("fan_idle1.anim 31", "fan_idle1.anim -2147483649"),
       "divaci.ai line 8: '-2147483649' is out of range"},
      {"data/scripts/gui/hud.gui", "1e30", Replaced("left 6", "left 1e30"),
       "is out of range, taken as 2147483647 (data\\scripts\\gui\\hud.gui:87)"},
      {"data/scripts/gui/widgets.gui", "NaN", Replaced("width 16", "width NaN"), "widgets.gui:37)"},
      {"data/scripts/menu.shader", "-2147483649", Replaced("nopicmip", "sort -2147483649"),
       "menu.shader line 11: '-2147483649' is out of range"},
      {"data/scripts/Sounds/effects.ssd", "1e30", Replaced("Volume 0.9", "Volume 1e30"),
       "effects.ssd line 6: '1e30' is out of range"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + c.what);
    test::TempDir dir;
    LinkSampleDataBut(dir, c.file);
    if (!c.damage) {
      dir.Write(std::string(c.file) + "/keep", "x");
    } else {
      std::ifstream sample(fs::path(test::GameRoot()) / c.file, std::ios::binary);
      const auto text = c.damage(std::string(std::istreambuf_iterator<char>(sample), {}));
      if (text) dir.Write(c.file, *text);
    }
    dir.Write("user.cfg", "v_fullscreen 0\nv_width 640\nv_height 480\nlanguage eng\n");
    test::Game game(dir.Path(), "frames=2,exit=1");
    EXPECT_EQ(game.Wait(), 1) << "the game ends as its menu's exit does";
    const std::string log = dir.Read("navo.log");
    EXPECT_TRUE(SaysFault(log, c.named)) << "no line naming " << c.named << " in\n" << log;
  }
}

}  // namespace
