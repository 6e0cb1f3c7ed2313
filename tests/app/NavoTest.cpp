// The game executable as a process: one running copy, exit statuses, restart, the
// settings and key table it leaves behind (needs a display: runs under Xvfb). Each
// test runs the built game in a fresh directory of its own, with its lock files there
// too, and drives it through the NAVO_TEST_HOOK variable.
#include "tests/app/GameProcess.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <functional>
#include <string>
#include <vector>

namespace {

using test::CopyGameData;
using test::Game;
using test::InGameLoop;
using test::Launch;
using test::LinkSampleData;
using test::MakeLaunch;
using test::PrepareGameDir;
using test::WaitFor;

/// True while some process holds the single-instance lock of the game root.
bool LockHeld(const std::string& dir) {
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
  close(fd);
  return held;
}

/// The lines of the text that start with the prefix.
std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (text.compare(start, prefix.size(), prefix) == 0) lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

TEST(Navo, NormalRunLogsItsStepsAndSavesOnExit) {
  test::TempDir dir;
  PrepareGameDir(dir);
  Game game(dir.Path(), "frames=3,r_gamma=1.7,exit=1");
  EXPECT_EQ(game.Wait(), 0);
  EXPECT_TRUE(test::ContainsInOrder(
      dir.Read("navo.log"),
      {"Navo Engine 0.01 - Linux - ", "\nRelease build\n", "\n--- System info\n", "--- Number of processors: ",
       "--- Operating system version: ", "\n--- Reading config file\n", "--- Creating World\n",
       "--- Entering game loop...\n", "Dumping all registered variables ...\n",
       "Saving variables to file config.cfg\n"}));
  EXPECT_NE(dir.Read("config.cfg").find("r_gamma \"1.7\"\n"), std::string::npos);
  EXPECT_EQ(dir.Read("data/tables/keysdefinition.data").size(), 256u);
  EXPECT_FALSE(LockHeld(dir.Path()));
  // The sample athletes are read without a single profile report.
  const std::string log = dir.Read("navo.log");
  for (const char* report : {"*** Player Profile", "*** Not enought params", "*** Unknown param"})
    EXPECT_EQ(log.find(report), std::string::npos) << report;
}

TEST(Navo, SecondCopyEndsAtOnceAndLeavesTheLogAlone) {
  test::TempDir dir;
  PrepareGameDir(dir);
  Game first(dir.Path(), "file=stop,exit=1");
  ASSERT_TRUE(WaitFor([&] { return dir.Read("navo.log").find("--- Entering game loop") != std::string::npos; }));
  const std::string log = dir.Read("navo.log");
  Game second(dir.Path(), "");
  EXPECT_EQ(second.Wait(), 1);
  EXPECT_EQ(dir.Read("navo.log"), log);
  dir.Write("stop", "");
  EXPECT_EQ(first.Wait(), 0);
}

TEST(Navo, RestartStartsANewCopyWithTheSavedSettingsAndKeys) {
  test::TempDir dir;
  PrepareGameDir(dir);
  // The first copy rebinds action 0 to Z (44), changes a setting and asks for the
  // restart; the second copy (which must not see the first one's stop) ends by itself.
  Game game(dir.Path(), "frames=2,key=0:44,r_gamma=1.7,restart=1,exit=1|frames=2,marker=second,exit=1");
  EXPECT_EQ(game.Wait(), 0) << "the new copy was started";
  ASSERT_TRUE(game.FollowRestart());
  EXPECT_EQ(game.Wait(), 0);
  const std::string log = dir.Read("navo.log");
  EXPECT_TRUE(test::ContainsInOrder(log, {" marker = second \n", "Saving variables to file config.cfg"})) << log;
  EXPECT_EQ(log.find("restart = 1"), std::string::npos) << "the new copy starts with restart 0";
  EXPECT_NE(log.find(" r_gamma = 1.7 \n"), std::string::npos) << "the new copy read the saved settings";
  const std::string keys = dir.Read("data/tables/keysdefinition.data");
  ASSERT_EQ(keys.size(), 256u);
  EXPECT_EQ(keys[0], 44) << "the new copy read the rebinding and wrote it back";
}

TEST(Navo, RestartTwoDoesNotRestart) {
  test::TempDir dir;
  PrepareGameDir(dir);
  Game game(dir.Path(), "frames=2,restart=2,exit=1|frames=2,marker=second,exit=1");
  EXPECT_EQ(game.Wait(), 0);
  EXPECT_FALSE(game.FollowRestart());
  EXPECT_FALSE(LockHeld(dir.Path()));
  EXPECT_NE(dir.Read("navo.log").find(" restart = 2 \n"), std::string::npos) << "still the first copy's log";
}

TEST(Navo, CriticalErrorExitsWith255AndKeepsOnlyTheKeyTable) {
  test::TempDir dir;
  PrepareGameDir(dir);
  Game game(dir.Path(), "frames=2,key=1:45,critical");
  EXPECT_EQ(game.Wait(), 255);
  EXPECT_FALSE(dir.Exists("config.cfg"));
  const std::string keys = dir.Read("data/tables/keysdefinition.data");
  ASSERT_EQ(keys.size(), 256u);
  EXPECT_EQ(keys[1], 45);
  EXPECT_NE(dir.Read("navo.log").find("*** Forced by the test hook\n"), std::string::npos);
}

TEST(Navo, TerminationSignalsEndTheGameNormally) {
  // The desktop's requests to end (log-out, Ctrl+C, a closed terminal) used to kill
  // the game without saving its settings and key table or restoring the gamma ramp.
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    test::TempDir dir;
    PrepareGameDir(dir);
    // "r_showFPS" 2 logs every frame's rate from the next frame on: the first such line
    // says that the step has acted ("restart" is 1 now).
    Game game(dir.Path(), "frames=2,key=2:46,restart=1,r_showFPS=2|frames=2,marker=second,exit=1");
    ASSERT_TRUE(WaitFor([&] { return dir.Read("navo.log").find(" fps\n") != std::string::npos; })) << signal;
    game.Signal(signal);
    EXPECT_EQ(game.Wait(), 0) << "signal " << signal;
    EXPECT_FALSE(game.FollowRestart()) << "signal " << signal;
    const std::string log = dir.Read("navo.log");
    EXPECT_TRUE(test::ContainsInOrder(log, {"--- Termination signal: ending the game\n",
                                            "Dumping all registered variables ...\n",
                                            "Saving variables to file config.cfg\n"}))
        << "signal " << signal;
    EXPECT_EQ(log.find("marker = second"), std::string::npos) << "no restart after a signal";
    EXPECT_EQ(dir.Read("config.cfg").rfind("//This is autogenerated file. DO NOT MODIFY!\n", 0), 0u) << signal;
    const std::string keys = dir.Read("data/tables/keysdefinition.data");
    ASSERT_EQ(keys.size(), 256u) << signal;
    EXPECT_EQ(keys[2], 46) << signal;
    EXPECT_FALSE(LockHeld(dir.Path())) << signal;
  }
  // A critical error's box held the game after the signal until somebody answered it.
  test::TempDir dir;
  PrepareGameDir(dir);
  Launch launch = MakeLaunch("frames=2,critical", dir.Path());
  launch.boxes = true;
  Game game(launch);
  const std::string pid = std::to_string(game.Pid());
  pid_t box = 0;  // SDL shows it in a child process
  ASSERT_TRUE(WaitFor([&] {
    return dir.Read("navo.log").find("*** Forced by the test hook\n") != std::string::npos &&
           std::ifstream("/proc/" + pid + "/task/" + pid + "/children") >> box;
  })) << "no box shown";
  game.Signal(SIGTERM);
  const int status = game.Wait();
  EXPECT_EQ(status, 255) << "the critical error's status";
  if (status == -1) kill(box, SIGKILL);  // its box, which the game's end would leave open
}

TEST(Navo, ExitAndRestartFromTheSettingsFilesAreCleared) {
  // "exit 1" in user.cfg ended every start at once; with "restart 1" too the game
  // started itself again about once a second for ever.
  for (const char* lines : {"exit 1\n", "exit 1\nrestart 1\n", "restart 1\n"}) {
    test::TempDir dir;
    PrepareGameDir(dir);
    dir.Write("user.cfg", std::string("v_fullscreen 0\nv_width 640\nv_height 480\n") + lines);
    Game game(dir.Path(), "frames=3,marker=first,exit=1|frames=2,marker=second,exit=1");
    EXPECT_EQ(game.Wait(), 0) << lines;
    EXPECT_FALSE(game.FollowRestart()) << lines;
    EXPECT_FALSE(LockHeld(dir.Path())) << lines;
    const std::string log = dir.Read("navo.log");
    EXPECT_NE(log.find(" marker = first \n"), std::string::npos) << lines << ": the loop ran";
    EXPECT_EQ(log.find("marker = second"), std::string::npos) << lines << ": no restart";
  }
}

TEST(Navo, SecondCopyNeitherReadsNorWritesTheKeyTable) {
  // A second copy used to load the table and write it back at its exit, racing the
  // running copy's save.
  test::TempDir dir;
  PrepareGameDir(dir);
  Game first(dir.Path(), "file=stop,exit=1");
  ASSERT_TRUE(WaitFor([&] { return InGameLoop(dir); }));
  dir.Write("data/tables/keysdefinition.data", "short");  // a copy that saves makes it 256 bytes
  Game second(dir.Path(), "");
  EXPECT_EQ(second.Wait(), 1);
  EXPECT_EQ(dir.Read("data/tables/keysdefinition.data"), "short");
  dir.Write("stop", "");
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_EQ(dir.Read("data/tables/keysdefinition.data").size(), 256u) << "the running copy's save";
}

TEST(Navo, WithoutADisplayTheGameEndsWithItsCriticalError) {
  // SDL's offscreen fallback ran the game invisibly for ever, holding the lock, so
  // every later start from the desktop ended at once. With a display, a renderer that
  // can make no device fails the start, which ended with the status of success.
  for (const bool display : {false, true}) {
    test::TempDir dir;
    PrepareGameDir(dir);
    Launch launch = MakeLaunch(display ? "nodevice" : "frames=3,exit=1", dir.Path());
    launch.display = display;
    launch.stderrFile = dir.Path() + "/stderr.txt";
    Game game(launch);
    EXPECT_EQ(game.Wait(), display ? 1 : 255);
    EXPECT_EQ(dir.Read("stderr.txt").find("Unable to register window class!!!") == std::string::npos, display)
        << dir.Read("stderr.txt");
    EXPECT_NE(dir.Read("navo.log").find(display ? "Render device creation failed: "
                                                 : "*** Unable to register window class!!!"),
              std::string::npos);
    EXPECT_FALSE(dir.Exists("config.cfg")) << display;
    EXPECT_FALSE(LockHeld(dir.Path())) << display;
  }
}

TEST(Navo, StartedFromAnotherFolderTheGameRunsInItsOwnRoot) {
  // A game root of its own (the program beside the sample data) and a working
  // directory without "data": the game moves to its root before it reads or writes.
  test::TempDir root;
  std::filesystem::copy_file(test::GameRoot() + "/navo", root.Path() + "/navo");
  std::filesystem::permissions(root.Path() + "/navo", std::filesystem::perms::owner_all);
  LinkSampleData(root);
  PrepareGameDir(root, false);  // the sample pages are linked in (and must not be written to)
  test::TempDir elsewhere;  // now the current directory
  Launch launch = MakeLaunch("frames=3,exit=1", elsewhere.Path());
  launch.program = root.Path() + "/navo";
  Game game(launch);
  EXPECT_EQ(game.Wait(), 0);
  EXPECT_NE(root.Read("navo.log").find("--- Entering game loop...\n"), std::string::npos);
  EXPECT_NE(root.Read("navo.log").find(" v_width = 640 \n"), std::string::npos) << "the root's user.cfg was read";
  EXPECT_EQ(root.Read("navo.log").find("!!! Error loading"), std::string::npos) << "every file the game asks for is there";
  EXPECT_TRUE(root.Exists("config.cfg"));
  EXPECT_EQ(root.Read("data/tables/keysdefinition.data").size(), 256u);
  EXPECT_FALSE(elsewhere.Exists("navo.log"));
  EXPECT_FALSE(elsewhere.Exists("config.cfg"));
}

TEST(Navo, ReachesTheMainMenuOnTheSampleData) {
  test::TempDir dir;
  LinkSampleData(dir);
  PrepareGameDir(dir, false);
  // The installation's speed of the race camera, as the sample user.cfg sets it.
  dir.Write("user.cfg", dir.Read("user.cfg") + "rychlostkamery 120\n");
  Game game(dir.Path(), "frames=30,exit=1");
  EXPECT_EQ(game.Wait(), 0);
  const std::string log = dir.Read("navo.log");
  std::vector<std::string> steps{"--- Creating World\n"};
  for (const char* type : {"Panel", "Cursor", "Text", "Button", "CheckBox", "RadioGroup"}) {
    steps.push_back(std::string(" +    GuiElementFactory for type ") + type + " registered.\n");
  }
  EXPECT_TRUE(test::ContainsInOrder(log, steps));
  int files = 0;
  for (const auto& file : std::filesystem::directory_iterator(test::GameRoot() + "/data/scripts/gui")) {
    ++files;
    EXPECT_NE(log.find("Parsing gui file '" + dir.Path() + "\\data\\scripts\\gui\\" +
                       file.path().filename().string() + "'\n"),
              std::string::npos)
        << file.path();
  }
  EXPECT_GE(files, 2);
  // The sample athletes wear all six skier models: their figures load all twelve meshes,
  // before the pages.
  // (The start level's props and spectators load theirs before.)
  EXPECT_EQ(LinesStartingWith(log, "N_AnimObject: Loading mesh \"data\\anim\\ref_meshe\\").size(), 12u);
  EXPECT_LT(log.rfind("N_AnimObject: Loading mesh"), log.find("Parsing gui file"));
  EXPECT_NE(log.find("--- Entering game loop...\n"), std::string::npos);
  // No fault of the pages, the athletes or their figures, and nothing they name is
  // missing: no element, template, font, picture, sound, mesh or animation.
  for (const char* fault : {"!!!", "*** ", "not found", "Couldn't", "already exists"}) {
    EXPECT_EQ(log.find(fault), std::string::npos) << fault << "\n" << log;
  }
  // The start level behind the menus: its spectators' meshes, then their animations,
  // each in name order, the spectator count of the file (section 14, 416 bytes a
  // record), then its LOD objects.
  const std::vector<std::string> meshes = LinesStartingWith(log, "NPC Mesh: ");
  const std::vector<std::string> anims = LinesStartingWith(log, "NPC Anim: ");
  const std::vector<std::string> lods = LinesStartingWith(log, "LOD Mesh: ");
  ASSERT_FALSE(meshes.empty());
  ASSERT_FALSE(anims.empty());
  ASSERT_FALSE(lods.empty());
  EXPECT_TRUE(std::is_sorted(meshes.begin(), meshes.end()));
  EXPECT_TRUE(std::is_sorted(anims.begin(), anims.end()));
  const std::string level = dir.Read("data/levels/Beitostolen.alf");
  ASSERT_GE(level.size(), 2048u);
  std::uint32_t spectatorBytes = 0;
  std::memcpy(&spectatorBytes, level.data() + 8 * 14 + 4, 4);
  ASSERT_GT(spectatorBytes / 416, 0u);
  std::vector<std::string> order{"\n Loading Level: data\\levels\\Beitostolen.ALF\n"};
  for (const auto* lines : {&meshes, &anims}) {
    for (const std::string& line : *lines) order.push_back(line + "\n");
  }
  order.push_back("Pocet Divakov: " + std::to_string(spectatorBytes / 416) + "\n");
  for (const std::string& line : lods) order.push_back(line + "\n");
  order.push_back("--- Entering game loop...\n");
  EXPECT_TRUE(test::ContainsInOrder(log, order));
}

TEST(Navo, WithoutAMainMenuPageTheGameEndsWithItsCriticalError) {
  for (const char* only : {"Background", "MainMenu"}) {
    test::TempDir dir;
    PrepareGameDir(dir, false);
    test::WriteEmptyLevel(dir, test::kStartLevelFile);
    dir.Write("data/scripts/gui/menu.gui", std::string(only) + "\n{\n}\n");
    Game game(dir.Path(), "frames=3,exit=1");
    EXPECT_EQ(game.Wait(), 255) << only;
    EXPECT_NE(dir.Read("navo.log").find("Main menu gui pages not found!\n"), std::string::npos) << only;
    EXPECT_FALSE(dir.Exists("config.cfg")) << only;
  }
}

TEST(Navo, ALogOrSettingsFileThatCannotBeWrittenIsSaidOnStderr) {
  // A game root where the log cannot be made and the settings cannot be saved used
  // to run in silence and lose the settings.
  test::TempDir dir;
  PrepareGameDir(dir);
  std::filesystem::create_directory(dir.Path() + "/navo.log");
  std::filesystem::create_directory(dir.Path() + "/config.cfg");
  std::filesystem::create_directory(dir.Path() + "/data/tables/keysdefinition.data");
  Launch launch = MakeLaunch("frames=3,exit=1", dir.Path());
  launch.stderrFile = dir.Path() + "/stderr.txt";
  Game game(launch);
  EXPECT_EQ(game.Wait(), 0);
  const std::string err = dir.Read("stderr.txt");
  EXPECT_NE(err.find("unable to open " + dir.Path() + "/navo.log file: Is a directory\n"), std::string::npos) << err;
  // A folder in place of config.cfg can be neither read nor written over.
  EXPECT_NE(err.find("config.cfg cannot be read (not a regular file): the default settings are used, and it is not "
                     "saved in this run\n"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("data\\tables\\keysdefinition.data cannot be read (not a regular file): the default keys"),
            std::string::npos)
      << err;
}

TEST(Navo, ASettingsFileOrKeyTableThatCannotBeReadIsSaidAndKeptAsItIs) {
  // Both were taken for files not saved yet: the game started with the defaults without
  // a word and wrote them over the player's settings and keys at the exit.
  test::TempDir dir;
  PrepareGameDir(dir);
  const std::pair<std::string, std::string> files[] = {
      {"config.cfg", "//This is autogenerated file. DO NOT MODIFY!\nv_fullscreen \"0\"\nr_gamma \"1.3\"\n"},
      {"data/tables/keysdefinition.data", std::string(256, '\x11')}};
  for (const auto& [file, bytes] : files) {
    dir.Write(file, bytes);
    std::filesystem::permissions(dir.Path() + "/" + file, std::filesystem::perms::none);
  }
  Launch launch = MakeLaunch("frames=3,key=0:44,r_gamma=1.7,exit=1", dir.Path());
  launch.user = ::geteuid() == 0 ? 65534 : -1;  // "nobody" for root, who reads a file of mode 000 anyway
  const test::GivenToUser given(dir, launch.user);
  Game game(launch);
  EXPECT_EQ(game.Wait(), 0);
  EXPECT_TRUE(test::ContainsInOrder(
      dir.Read("navo.log"),
      {"!!! data\\tables\\keysdefinition.data cannot be read (Permission denied): the default keys are used, and it "
       "is not saved in this run\n",
       "*** config.cfg cannot be read (Permission denied): the default settings are used, and it is not saved in "
       "this run\n",
       "Settings not saved: config.cfg could not be read at the start\n"}))
      << dir.Read("navo.log");
  for (const auto& [file, bytes] : files) {
    std::filesystem::permissions(dir.Path() + "/" + file, std::filesystem::perms::owner_read);  // for this process
    EXPECT_EQ(dir.Read(file), bytes) << file;
  }
}

/// The names and contents of the files below the folder.
std::vector<std::string> FilesBelow(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
    if (!e.is_regular_file()) continue;
    std::ifstream in(e.path(), std::ios::binary);
    files.push_back(e.path().string() + "=" + std::string(std::istreambuf_iterator<char>(in), {}));
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(Navo, TheLockIsTheGameRootWhateverTheRuntimeFolder) {
  // The lock lived in $XDG_RUNTIME_DIR: copies of one game root started with different
  // runtime folders (another login, sudo, one without the variable) both ran and lost
  // each other's settings and log, and a copy of another root sharing the runtime
  // folder was refused without a word.
  test::TempDir runtime;
  test::TempDir other;
  PrepareGameDir(other);
  test::TempDir dir;
  PrepareGameDir(dir);
  ::mkdir((runtime.Path() + "/a").c_str(), 0700);
  ::mkdir((runtime.Path() + "/b").c_str(), 0700);
  Game first(MakeLaunch("file=stop,exit=1", runtime.Path() + "/a"));
  ASSERT_TRUE(WaitFor([&] { return InGameLoop(dir); }));
  EXPECT_TRUE(LockHeld(dir.Path()));
  const std::vector<std::string> before = FilesBelow(dir.Path());
  for (const std::string& folder : {runtime.Path() + "/b", std::string()}) {
    Launch launch = MakeLaunch("", folder);
    launch.stderrFile = runtime.Path() + "/stderr.txt";
    Game second(launch);
    EXPECT_EQ(second.Wait(), 1) << folder;
    EXPECT_NE(runtime.Read("stderr.txt").find("navo: another copy of the game runs in the game root " + dir.Path()),
              std::string::npos)
        << runtime.Read("stderr.txt");
    EXPECT_EQ(FilesBelow(dir.Path()), before) << "the second copy wrote nothing";
  }
  // A copy of another game root with the same runtime folder runs beside it.
  std::filesystem::current_path(other.Path());
  Game beside(MakeLaunch("frames=3,exit=1", runtime.Path() + "/a"));
  EXPECT_EQ(beside.Wait(), 0);
  EXPECT_TRUE(InGameLoop(other));
  std::filesystem::current_path(dir.Path());
  dir.Write("stop", "");
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_FALSE(LockHeld(dir.Path()));
}

/// The steps of an arcade race from the main menu to its running start.
constexpr const char* kArcadeRace =
    "frames=30,click=SinglePlayer;frames=50,click=Arcade;frames=70,click=Start1;frames=90,click=StartListCatcher;";

/// Whether a line of the log that says a fault ("!!! ", "*** ", " !    ") holds the text.
bool SaysFault(const std::string& log, const std::string& text) {
  for (const char* marker : {"!!! ", "*** ", " !    "}) {
    for (const std::string& line : LinesStartingWith(log, marker)) {
      if ((line + "\n").find(text) != std::string::npos) return true;
    }
  }
  return false;
}

/// A damaged file's contents from the sample's; nullopt leaves it out.
using Damage = std::function<std::optional<std::string>(const std::string& sample)>;

const Damage kMissing = [](const std::string&) { return std::nullopt; };
const Damage kEmpty = [](const std::string&) { return std::string(); };
const Damage kHalf = [](const std::string& s) { return s.substr(0, s.size() / 2); };
/// Bytes of the upper half, no blank or line end among them: one long word.
const Damage kGarbage = [](const std::string& s) {
  std::string bytes(s.size(), '\0');
  unsigned state = 12345;
  for (char& c : bytes) c = static_cast<char>(0x80 | ((state = state * 1103515245u + 12345u) >> 16));
  return bytes;
};

/// The sample's first bytes.
Damage Cut(std::size_t bytes) { return [bytes](const std::string& s) { return s.substr(0, bytes); }; }

/// The first occurrence of `from` replaced by `to`.
Damage Replaced(const std::string& from, const std::string& to) {
  return [from, to](std::string text) -> std::optional<std::string> {
    const std::size_t at = text.find(from);
    return at == std::string::npos ? "the sample lacks " + from : text.replace(at, from.size(), to);
  };
}

/// The file of the sample data linked into the directory damaged (a null damage: a
/// folder in its place); the links on the way to it become folders of links, so that
/// the sample itself is left alone.
void DamageSampleFile(const test::TempDir& dir, const std::string& file, const Damage& damage) {
  namespace fs = std::filesystem;
  fs::path at = dir.Path();
  for (const fs::path& part : fs::path(file)) {
    at /= part;
    if (!fs::is_symlink(at)) continue;
    const fs::path sample = fs::read_symlink(at);
    fs::remove(at);
    if (!fs::is_directory(sample)) break;
    fs::create_directory(at);
    for (const auto& e : fs::directory_iterator(sample)) fs::create_symlink(e.path(), at / e.path().filename());
  }
  if (!damage) {
    dir.Write(file + "/keep", "x");
    return;
  }
  std::ifstream sample(fs::path(test::GameRoot()) / file, std::ios::binary);
  if (const auto bytes = damage(std::string(std::istreambuf_iterator<char>(sample), {}))) dir.Write(file, *bytes);
}

/// Every file of the extension below a folder of the sample data damaged, in turn
/// emptied, cut to 30 bytes, made garbage and left out; their names below data/ as the
/// game writes them.
std::vector<std::string> DamageEvery(const test::TempDir& dir, const std::string& folder, const char* extension) {
  const Damage damages[] = {kEmpty, Cut(30), kGarbage, kMissing};
  const std::string data = test::GameRoot() + "/data/";
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::recursive_directory_iterator(data + folder)) {
    if (e.path().extension() != extension) continue;
    std::string name = std::filesystem::relative(e.path(), data);
    DamageSampleFile(dir, "data/" + name, damages[names.size() % 4]);
    std::replace(name.begin(), name.end(), '/', '\\');
    names.push_back(name);
  }
  return names;
}

/// Every wav damaged; the lines naming those a start and a race load (all but the
/// women's breathing: the player is a man).
std::vector<std::string> DamageEveryWav(const test::TempDir& dir) {
  std::vector<std::string> lines;
  for (const std::string& wav : DamageEvery(dir, "sounds", ".wav")) {
    if (wav.find("dych_zena") == std::string::npos) lines.push_back("!!! Unable to Buffer sound data for file: " + wav);
  }
  return lines;
}

/// Every sound shader script damaged; the lines of a shader of each that a start and a
/// race ask for.
std::vector<std::string> DamageEveryShaderScript(const test::TempDir& dir) {
  DamageEvery(dir, "scripts", ".ssd");
  std::vector<std::string> lines;
  for (const char* shader : {"srdce", "sound_start_signal", "hit", "level_crowd", "menu_click", "Trainer_Pos_1"}) {
    lines.push_back(std::string("!!! Sound shader '") + shader + "' is in no sound shader script");
  }
  return lines;
}

/// A file of the sample damaged, and what the line saying so holds.
struct DamagedFile {
  const char* file;
  Damage damage;  ///< null: a folder in the file's place
  const char* named;
};

// Files of the sample damaged (missing, emptied, cut, garbage, a folder in their place,
// a number no script means) that the start reads: every script, course and profile the
// menu asks for.
constexpr const char* kParticles = "data/scripts/effects.particle";
constexpr const char* kLevel = "data/levels/Beitostolen.alf.cfg";
constexpr const char* kEmitters = "data/anim/ref_meshe/particle.ctrl";
const DamagedFile kDamagedFiles[] = {
    {kParticles, kEmpty, "effects.particle(1) - error in '': No particle template"},
    {kParticles, kGarbage, "effects.particle(1) - error in ''"},
    {kParticles, kHalf, "effects.particle(29) - error in 'smoke': The file ends inside the block"},
    {kParticles, nullptr, "effects.particle is a folder"},
    {kLevel, kMissing, "Beitostolen.ALF.cfg is missing"},
    {kLevel, kEmpty, "Beitostolen.ALF.cfg holds no setting"},
    {kLevel, Cut(3), "Beitostolen.ALF.cfg"},
    {kLevel, kHalf, "Beitostolen.ALF.cfg ends inside a line"},
    {kLevel, kGarbage, "Beitostolen.ALF.cfg"},
    {kLevel, Replaced("foglinearnear 4000", "foglinearnear NaN"), "Beitostolen.ALF.cfg line 3"},
    {"data/profiles/playerprofiles.data", kHalf, "playerprofiles.data ends inside the athlete"},
    {kEmitters, kMissing, "particle.ctrl is missing"},
    {kEmitters, kEmpty, "particle.ctrl holds no emitter entry"},
    {kEmitters, Replaced("anim 3 -12", "anim 1e30 -12"), "particle.ctrl line 12: '1e30' is out of range"},
    {kParticles, Replaced("numparticles 60", "numparticles 2000000000"),
     "effects.particle(9) - error in 'sparks': numParticles 2000000000 is outside 0..65535"},
    {"data/scripts/menu.shader", kHalf, "menu.shader ends inside the block of 'textures\\menu\\len'"},
    {"data/Ai/divaci.ai", Replaced("fan_idle1.anim 31", "fan_idle1.anim -2147483649"),
     "divaci.ai line 8: '-2147483649' is out of range"},
    {"data/scripts/gui/hud.gui", Replaced("left 6", "left 1e30"),
     "is out of range, taken as 2147483647 (data\\scripts\\gui\\hud.gui:87)"},
    {"data/scripts/gui/widgets.gui", Replaced("width 16", "width NaN"), "widgets.gui:37)"},
    {"data/scripts/menu.shader", Replaced("nopicmip", "sort -2147483649"),
     "menu.shader line 11: '-2147483649' is out of range"},
    {"data/scripts/Sounds/effects.ssd", Replaced("Volume 0.9", "Volume 1e30"),
     "effects.ssd line 6: '1e30' is out of range"},
};

TEST(Navo, WhatTheGameCannotUseIsSaidAndEndsNeitherTheStartNorARace) {
  // Each of them ended the game, so that the settings of the run were lost: a start
  // course that cannot be loaded and a "GameType" of no race kind ended every start (or
  // race start) with a critical error, and so every next one; a sound file or shader
  // script that could not be had did so too; a FIFO "Ai.log" hung the race start and a
  // folder ended the game. A window of 800 x 1 ("1e23" read as 1) was shown and saved;
  // such a number is now refused by the settings reader.
  // A damaged file of the sample (kDamagedFiles) passed without a word; now each is said
  // naming the file.
  struct Case {
    std::string settings;  ///< config.cfg
    bool race;
    std::vector<std::string> logged;  ///< held by lines that say a fault
    std::vector<std::string> saved;  ///< config.cfg lines after the exit
    std::function<std::vector<std::string>(const test::TempDir&)> damage = {};  ///< its further lines
    const char* said = nullptr;  ///< on stderr
    std::string first = {};  ///< the steps of a first copy, which restarts the game
  };
  const std::string start = "!!! level data\\levels\\";
  const std::string fallback = "the start course is Beitostolen.ALF\n";
  const std::string course = "mapname \"Beitostolen.ALF\"\n";
  const std::string mode = "of v_width and v_height cannot be shown";
  const std::string width = "v_width \"800\"\n";
  const std::string height = "v_height \"600\"\n";
  std::vector<Case> cases = {
      {"mapname Nowhere.alf\nv_width 800\nv_height 1e23\n", false,
       {start + "Nowhere.alf not found!: " + fallback, "config.cfg line 4: v_height '1e23' is out of range: not set"},
       {course, width, height}},
      {"mapname nan\nv_width 5\nv_height 5\n", false, {start + "nan not found!: " + fallback, "5x5 " + mode},
       {course, width, height}},
      {"mapname \"\"\nv_width 639\nv_height 480\n", false, {start + " not found!: " + fallback, "639x480 " + mode},
       {course, width}},
      {"mapname " + std::string(3000, 'x') + "\nv_width 100000\nv_height 5\n", false,
       {" not found!: " + fallback, "100000x5 " + mode}, {course, width}},
      {"mapname Oberhof.alf.cfg\n", false, {"Oberhof.alf.cfg is not level file!: " + fallback}, {course}},
      {"GameType 3\n", true, {"!!! GameType 3 is not 0, 1 or 2: taken as 0\n", "!!! Cannot create log file Ai.log ("},
       {"GameType \"0\"\n"},
       [](const test::TempDir& dir) {
         std::filesystem::create_directories(dir.Path() + "/Ai.log/x");
         return DamageEveryWav(dir);
       },
       "Cannot create log file Ai.log ("},
      {"GameType -2147483648\n", true,
       {"!!! config.cfg line 2: GameType '-2147483648' is out of range: not set\n",
        "*** Ai.log is not a regular file: not written\n",
        "!!! Cannot create log file Ai.log ("},
       {"GameType \"0\"\n"},
       [](const test::TempDir& dir) {
         EXPECT_EQ(::mkfifo((dir.Path() + "/Ai.log").c_str(), 0600), 0);
         return DamageEveryShaderScript(dir);
       },
       "Cannot create log file Ai.log ("},
  };
  // A first start (user.cfg missing, emptied, cut or garbage): the built-in language is
  // in no sample table; every text was empty, and so at every next start.
  for (const Damage& damage : {kMissing, kEmpty, Cut(30), kGarbage}) {
    cases.push_back({"v_fullscreen 0\n", false, {"holds language 'ger': the texts are in 'eng'\n"},
                     {"language \"eng\"\n"}, [damage](const test::TempDir& dir) {
                       std::filesystem::remove(dir.Path() + "/user.cfg");
                       DamageSampleFile(dir, "user.cfg", damage);
                       return std::vector<std::string>{};
                     }});
  }
  // A settings file's word, NaN or huge number where a number belongs, and names no
  // setting has, are refused (the variable keeps its value) and said; a number with
  // more text after it is the number, its text kept.
  cases.push_back({"GameType abc\nv_fullscreen \"1e30\"\nr_gaMma 2\nr_grid 0\"\nampy \"0.3x\"\n", false,
                   {"!!! config.cfg line 2: GameType 'abc' is not a number: not set\n",
                    "config.cfg line 3: v_fullscreen '1e30' is out of range: not set\n",
                    "!!! config.cfg sets 1 name of no setting of the game (first: 'r_gaMma' on line 4)\n",
                    "config.cfg line 5: r_grid '0\"' holds a stray quote: not set\n"},
                   {"GameType \"0\"\n", "v_fullscreen \"0\"\n", "ampy \"0.3x\"\n"}});
  // What the settings page writes (every selector and switch a step on, the sliders as
  // they stand) and a width with its text are saved; the new copy reads that back
  // without a word and saves it again so.
  cases.push_back({"r_brightness \"-0.300000\"\nr_contrast \"1.250000\"\nFXVolume \"0.420000\"\n", false, {},
                   {"v_width \"1024x768\"\n", "v_height \"768\"\n", "r_swapInterval \"1\"\n", "r_picmip \"1\"\n",
                    "v_multisample \"2\"\n", "r_shadowsEnabled \"1\"\n", "ShaderLOD \"2\"\n", "ParticleDetails \"0\"\n",
                    "LODAudienceDistance \"30\"\n", "ShaderVD \"0\"\n", "SoundCategoryComentaries \"0\"\n",
                    "SoundCategoryEnvironment \"0\"\n", "SoundCategorySki \"0\"\n", "SoundCategoryBody \"0\"\n",
                    "r_brightness \"-0.300000\"\n", "r_contrast \"1.250000\"\n", "FXVolume \"0.420000\"\n"},
                   {}, nullptr,
                   "frames=30,click=Options;frames=50,click=Settings;frames=70,click=Resolution,click=VSync,"
                   "click=Shadows,click=Antialiasing,click=TexQuality,click=LMQuality,click=Particles,click=SkiFX,"
                   "click=DetailLevel,click=CommentariesFX,click=EnvironmentFX,click=BodyFX;frames=90,click=Apply1;"
                   "frames=110,v_width=1024x768,click=Ok1"});
  cases.push_back({"", false,
                   {"!!! user.cfg line 3: rychlostkamery '1e30' is out of range: not set\n",
                    "user.cfg line 4: r_gamma 'nan' is not a number: not set\n",
                    "user.cfg sets 1 name of no setting of the game (first: '/.' on line 5)\n",
                    "user.cfg line 6: camera '\x11" "20' holds a control character: not set\n"},
                   {},
                   [](const test::TempDir& dir) {
                     dir.Write("user.cfg", "v_fullscreen 0\nlanguage eng\nrychlostkamery 1e30\n"
                                           "r_gamma nan\n/. flipped\ncamera \x11" "20\n");
                     return std::vector<std::string>{};
                   }});
  for (const DamagedFile& d : kDamagedFiles) {
    cases.push_back({"", false, {d.named}, {}, [&d](const test::TempDir& dir) {
                       DamageSampleFile(dir, d.file, d.damage);
                       return std::vector<std::string>{};
                     }});
  }
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(i);
    test::TempDir dir;
    test::LinkSampleData(dir);
    test::PrepareGameDir(dir, false);
    dir.Write("user.cfg", "v_fullscreen 0\nlanguage eng\n");  // read after config.cfg: no mode of its own
    dir.Write("config.cfg", "//This is autogenerated file. DO NOT MODIFY!\n" + c.settings);
    std::vector<std::string> lines = c.damage ? c.damage(dir) : std::vector<std::string>();
    lines.insert(lines.end(), c.logged.begin(), c.logged.end());
    const std::string end = "r_gamma=1.7,exit=1";
    const std::string steps = c.race ? std::string(kArcadeRace) + "frames=150," + end : "frames=5," + end;
    Launch launch = MakeLaunch(c.first.empty() ? steps : c.first + "|" + steps, dir.Path());
    launch.stderrFile = dir.Path() + "/stderr.txt";
    Game game(launch);
    EXPECT_EQ(game.Wait(), 0);
    if (!c.first.empty()) {
      ASSERT_TRUE(game.FollowRestart()) << dir.Read("navo.log");
      EXPECT_EQ(game.Wait(), 0);
      EXPECT_FALSE(SaysFault(dir.Read("navo.log"), "config.cfg")) << dir.Read("navo.log");
    }
    const std::string log = dir.Read("navo.log");
    EXPECT_NE(log.find("--- Entering game loop...\n"), std::string::npos);
    if (c.race) {
      EXPECT_NE(log.find("GameArcade Initializing done.\n"), std::string::npos) << "the race started";
    }
    for (const std::string& line : lines) EXPECT_TRUE(SaysFault(log, line)) << line << " said in no line of\n" << log;
    EXPECT_FALSE(SaysFault(log, "is in no string table")) << "every text the menus ask for is there";
    if (c.said) {
      EXPECT_NE(dir.Read("stderr.txt").find(c.said), std::string::npos) << dir.Read("stderr.txt");
    }
    const std::string config = dir.Read("config.cfg");
    EXPECT_NE(config.find("r_gamma \"1.7\"\n"), std::string::npos) << "saved at the normal exit";
    for (const std::string& line : c.saved) EXPECT_NE(config.find(line), std::string::npos) << line << config;
  }
}

TEST(Navo, SettingsFilesThatAreNoRegularFilesAreRefused) {
  // A FIFO hung the start-up; /dev/zero would exhaust the memory.
  struct Case {
    const char* what;
    std::function<void(const std::string& path)> make;
  };
  const Case cases[] = {
      {"FIFO", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
      {"/dev/zero", [](const std::string& path) { std::filesystem::create_symlink("/dev/zero", path); }},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    PrepareGameDir(dir);
    std::filesystem::remove(dir.Path() + "/user.cfg");
    dir.Write("config.cfg", "v_fullscreen 0\nv_width 640\nv_height 480\n");
    c.make(dir.Path() + "/user.cfg");
    Game game(dir.Path(), "frames=3,exit=1");
    EXPECT_EQ(game.Wait(), 0) << c.what;
    EXPECT_NE(dir.Read("navo.log").find("*** user.cfg is not a regular file: not read\n"), std::string::npos)
        << c.what;
  }
}

TEST(Navo, RunsItsMainLoopThroughTheFreeAndTheRaceCamera) {
  // The free camera, then the race camera behind the menus (which the main menu
  // chooses when it shows): the loop goes on in each until "exit", and nothing of the
  // scene is reported missing.
  for (const char* hook : {"frames=5,viewmode=1;frames=30,exit=1", "frames=5,viewmode=0;frames=40,exit=1"}) {
    SCOPED_TRACE(hook);
    test::TempDir dir;
    PrepareGameDir(dir);
    CopyGameData(dir);
    Game game(dir.Path(), hook);
    EXPECT_EQ(game.Wait(), 0);
    const std::string log = dir.Read("navo.log");
    EXPECT_NE(log.find("--- Entering game loop...\n"), std::string::npos);
    EXPECT_NE(log.find("Saving variables to file config.cfg\n"), std::string::npos) << "the loop ended normally";
    for (const std::string& line : LinesStartingWith(log, "***")) {
      // Reading the race camera's speed, whose variable the game does not register.
      EXPECT_EQ(line, "*** Variable rychlostkamery doesnt exist!");
    }
    for (const std::string& line : LinesStartingWith(log, "!!!")) {
      EXPECT_EQ(line.find("!!! No audio device"), 0u) << line;
    }
    EXPECT_EQ(log.find("not found"), std::string::npos);
    const bool race = std::string(hook).find("viewmode=0") != std::string::npos;
    EXPECT_NE(dir.Read("config.cfg").find(race ? "viewmode \"0\"\n" : "viewmode \"1\"\n"), std::string::npos);
  }
}

}  // namespace
