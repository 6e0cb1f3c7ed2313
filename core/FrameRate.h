#pragma once
// The frames-per-second text of the main loop: an average over a little more than one
// second, re-formatted once a second; "0" until the first second has passed.
#include <cstddef>

class N_FrameRate {
 public:
  static constexpr std::size_t kTextSize = 1024;

  /// One frame of dt seconds. Once more than 1 s has accumulated, the text becomes
  /// "%3.2f fps\n" of the average rate and the sums start again (this frame not added).
  void Add(float frameTime);
  /// The rate of this one frame, "%3.2f fps\n" of 1 / dt, into the text.
  void SetInstant(float frameTime);

  const char* Text() const { return m_text; }
  float Accumulated() const { return m_accumulated; }
  int Frames() const { return m_frames; }

 private:
  float m_accumulated = 0.0f;
  int m_frames = 0;
  char m_text[kTextSize] = "0";
};
