#pragma once
// The hook of automated runs: the environment variable NAVO_TEST_HOOK gives, for this
// process and the copies it starts, what to do at a given pass of the main loop, as a
// player's menu choices would. Stages for successive copies are separated by '|'; each
// process takes the first stage and leaves the rest in the environment for the copy
// it may start, so a stop meant for one copy never reaches the next.
//
// A stage is one or more steps separated by ';', taken in order: a step acts once, at
// its pass and file, and the next step waits until it has. A step is a comma-separated
// list:
//   frames=N       act at pass N of the main loop (counted from 1; default 1)
//   file=NAME      ... and not before the file NAME exists in the working directory
//   key=A:C        bind action A (0-19) to the DIK code C
//   click=NAME     press and release the left mouse button on the GUI element NAME, as
//                  the cursor over it would (a disabled element, or one below an open
//                  modal page, takes no click)
//   critical       a critical error through the error reporter
//   nodevice       (before the start, whatever its step) the renderer can make no
//                  device, as on a machine without a usable one: the start fails
//   NAME=VALUE     set the variable NAME to VALUE (flags 2), e.g. exit=1, restart=1
// Without the variable the hook does nothing.
#include <string>
#include <utility>
#include <vector>

class N_TestHook {
 public:
  static constexpr const char* kVariable = "NAVO_TEST_HOOK";

  /// Takes this process's stage from the environment and leaves the others there.
  static N_TestHook FromEnvironment();
  /// A hook of one stage's text (no '|').
  static N_TestHook Parse(const std::string& stage);

  bool Active() const { return !m_steps.empty(); }
  /// Called once before the start-up: what the stage asks of the machine (nodevice).
  void PrepareStart() const;
  /// Called once per pass of the main loop; each step acts once, at its pass and file.
  void OnPass();

 private:
  struct Step {
    int frames = 1;
    std::string file;
    bool critical = false;
    std::vector<std::pair<std::string, std::string>> variables;
    std::vector<std::pair<int, int>> keys;  ///< action, DIK code
    std::vector<std::string> clicks;         ///< GUI element names
  };
  static void Act(const Step& step);
  /// A left click on the element, as the GUI's update delivers it.
  static void Click(const std::string& name);

  std::vector<Step> m_steps;
  std::size_t m_next = 0;  ///< the step waiting to act
  bool m_noDevice = false;
  int m_passes = 0;
};
