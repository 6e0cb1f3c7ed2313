// The Ogg Vorbis music, through the stream the sound manager plays it with: opened,
// started (the first eight pieces decoded and queued), then decoded on to its end, at
// most 64 more pieces. The stream's failures are thrown as text; a stream that ends
// before the eighth piece is the manager's critical error.
#include "fuzz/FuzzSupport.h"
#include "fuzz/SoundSupport.h"
#include "sound/OggStream.h"

#include <AL/al.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SoundManager();
  static const ALuint spare = [] {
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    return buffer;
  }();
  fuzz::WriteFile("data\\music\\fuzz.ogg", data, size);
  try {
    N_OggStream stream;
    stream.Open("data\\music\\fuzz.ogg");
    if (stream.Start()) {
      for (int piece = 0; piece < 64 && stream.Fill(spare); ++piece) {
      }
    }
    stream.Release();
  } catch (const std::string&) {
    // A refused or damaged stream: the manager logs it and leaves the music off.
  }
  return 0;
}
