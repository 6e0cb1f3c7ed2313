// The two saves the options pages change ("config.cfg" and the key table), killed at
// random moments while they write: what is left is always the whole old or the whole
// new file.
#include "core/Globals.h"
#include "core/KeyDefinitions.h"
#include "core/Var.h"
#include "core/VarMng.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

/// Forks a child that writes the two versions in turn for ever, kills it at random
/// moments and reads the file after each kill.
void KillWhileSaving(const test::TempDir& dir, const char* file, const std::function<void(int)>& save) {
  save(0);
  const std::string versions[2] = {dir.Read(file), (save(1), dir.Read(file))};
  ASSERT_NE(versions[0], versions[1]);
  std::mt19937 random(40);
  std::uniform_int_distribution<int> wait(0, 4000);
  int shortOnes = 0;
  for (int kill = 0; kill < 200; ++kill) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int turn = 0;; turn ^= 1) save(turn);
    }
    usleep(static_cast<useconds_t>(wait(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const std::string left = dir.Read(file);
    if (left != versions[0] && left != versions[1]) ++shortOnes;
  }
  EXPECT_EQ(shortOnes, 0) << file;
}

TEST(SettingsSave, AKillWhileSavingLeavesAWholeFile) {
  test::TempDir dir;
  test::CoreServices core;
  // Enough saved variables for a save that takes a while (each value at its longest).
  std::vector<std::unique_ptr<N_Var>> extra;
  for (int i = 0; i < 200; ++i) {
    extra.push_back(std::make_unique<N_Var>(("filler" + std::to_string(i)).c_str(), std::string(1000, 'a' + i % 26).c_str(), 0x21u));
    g_varMng->Register(extra.back().get());
  }
  KillWhileSaving(dir, "config.cfg", [](int turn) {
    g_varMng->SetInt("v_width", turn ? 1024 : 800, 2);
    g_varMng->Save("config.cfg");
  });
  dir.Write("data/tables/.keep", "");
  KillWhileSaving(dir, "data/tables/keysdefinition.data", [](int turn) {
    ResetKeyDefinitions();
    g_keyDefinitions[1] = static_cast<std::uint8_t>(turn ? 0x11 : 0x1F);
    SaveKeyDefinitions();
  });
  for (auto& var : extra) g_varMng->Unregister(var.get());
}

}  // namespace
