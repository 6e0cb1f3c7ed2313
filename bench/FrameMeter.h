#pragma once
// The frame benchmark's meter: what each frame of the main loop cost, read once a
// pass (the frame hook runs at the start of each pass, so each reading closes the
// frame the pass before drew). Per frame: the process's processor time (every thread:
// the game's and the software renderer's), the main thread's, its time inside the GL
// calls that do the drawing work (platform::DeviceWorkSoFar), the wall time, the GL
// calls and the draw calls.
//
// With a draw profile on, every working GL call is finished at once and charged to what
// was being drawn: the bound material's name, or the renderer's own passes told by the
// device's state (the post pass's copy, the shadow overlay, the shadow volumes).
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class FrameMeter {
 public:
  struct Frame {
    double processMs = 0, mainMs = 0, workMs = 0, wallMs = 0;
    std::uint64_t glCalls = 0, draws = 0;
  };
  struct Totals {
    std::size_t frames = 0;
    double cpuMs = 0, medianCpuMs = 0, ownMs = 0, glMs = 0, fps = 0, glCalls = 0, draws = 0;
  };

  /// Starts timing the device's work; the first Read only sets the start.
  void Start();
  /// Closes the frame drawn since the last reading.
  void Read();
  /// Stops the meter (and the profile); the frames stay.
  void Stop();
  Totals Sum() const;
  const std::vector<Frame>& Frames() const { return m_frames; }

  /// Charges every working GL call of the frames read from now on to what it drew.
  void StartProfile();
  /// Milliseconds per frame by what was drawn, largest first.
  std::vector<std::pair<std::string, double>> Profile() const;

 private:
  struct Reading {
    std::uint64_t processNs = 0, mainNs = 0, wallNs = 0, workNs = 0, glCalls = 0, draws = 0;
  };
  static Reading Now();

  bool m_started = false;
  bool m_profiling = false;
  std::map<std::string, std::uint64_t> m_profile;
  Reading m_last;
  std::vector<Frame> m_frames;
};

/// The profile's sums by label (nanoseconds), filled by the hook.
std::map<std::string, std::uint64_t>& ProfileSums();
