#pragma once
// Writers of small AVI files with FFmpeg's libraries: the intro video of the sample
// data (generated frames, MPEG-4 video) and, for tests, a file with sound only.
// Both write the same bytes every time: bit-exact encoder and muxer, one encoder thread.
#include <string>

namespace tools {

struct IntroVideoSpec {
  int width = 320;
  int height = 240;
  int framesPerSecond = 25;
  int frames = 75;  ///< three seconds at 25 frames per second
  /// Damaged files for tests. The stream's clock runs at framesPerSecond / rateDivisor
  /// frames per second (1 and 1000: one frame every 1,000 s, as a broken header says).
  int rateDivisor = 1;
  /// Frames from `jumpAt` on are stamped `jumpSeconds` later than their place (-1: none).
  int jumpAt = -1;
  int jumpSeconds = 0;
};

/// Writes an AVI with one MPEG-4 video stream of generated frames: a sky gradient over
/// snow with a red block crossing from left to right. False (and a line on stderr) on failure.
bool WriteIntroVideo(const std::string& path, const IntroVideoSpec& spec = {});

/// Writes an AVI with one 16-bit PCM sound stream (a 440 Hz tone) and no video.
bool WriteSoundOnlyAvi(const std::string& path, double seconds);

}  // namespace tools
