// The check a wav passes before freealut loads it: only a RIFF WAVE file whose chunks
// lie within it reaches freealut, which would otherwise allocate whatever a damaged
// length says (a fuzzed file of 618 bytes asked for 2.7 GB).
#include "sound/WavCheck.h"
#include "tools/WavWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

/// A whole file as the sample writer makes it: "RIFF" header, "fmt " (16) at byte 12,
/// "data" at byte 36.
std::string Sample() {
  const std::vector<std::int16_t> samples(10, 1000);
  const std::vector<std::uint8_t> bytes = tools::EncodeWav(samples, 1, 22050);
  return {bytes.begin(), bytes.end()};
}

std::string Chunk(const std::string& id, std::uint32_t length, const std::string& body) {
  std::string out = id;
  for (int i = 0; i < 4; ++i) out += static_cast<char>((length >> (8 * i)) & 0xFF);
  return out + body;
}

/// The sample with another chunk put before its "fmt ".
std::string WithChunkFirst(const std::string& chunk) {
  const std::string sample = Sample();
  return sample.substr(0, 12) + chunk + sample.substr(12);
}

TEST(WavCheck, OnlyFilesWhoseChunksLieWithinThemPass) {
  const std::string sample = Sample();
  const std::string format = sample.substr(12, 24);
  const std::string data = sample.substr(36);
  struct Case {
    const char* what;
    std::string bytes;
    bool passes;
  };
  const Case cases[] = {
      {"the sample writer's file", sample, true},
      {"an odd chunk with its pad byte", WithChunkFirst(Chunk("LIST", 3, "abc") + '\0'), true},
      {"bytes after the data chunk", sample + "tail", true},
      {"cut inside the data", sample.substr(0, sample.size() - 1), false},
      {"an unknown chunk longer than the file", WithChunkFirst(Chunk("daRI", 0xA3CA4646u, "")), false},
      {"a format chunk longer than the file", sample.substr(0, 12) + Chunk("fmt ", 0xFFFFFFF0u, "") + data, false},
      {"a format chunk of 14 bytes", sample.substr(0, 12) + Chunk("fmt ", 14, format.substr(8, 14)) + data, false},
      {"data before its format", sample.substr(0, 12) + data + format, false},
      {"no data chunk", sample.substr(0, 36), false},
      {"not a WAVE file", "RIFF" + sample.substr(4, 4) + "AVI " + sample.substr(12), false},
      {"not a RIFF file", ".snd" + sample.substr(4), false},
      {"a header cut short", sample.substr(0, 11), false},
      {"nothing", "", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsWholeWavFile(c.bytes), c.passes) << c.what;
}

}  // namespace
