#pragma once
// The game's sample sounds, synthesised: the wav files the sound shaders name and
// the Ogg Vorbis music "data\sounds\music.ogg". Deterministic: the same bytes on
// every build.
#include <string>
#include <vector>

namespace tools {

constexpr int kEffectRate = 22050;      ///< mono 16-bit wavs
constexpr int kMusicRate = 44100;       ///< stereo music
constexpr double kMusicSeconds = 60.0;

/// Writes every sample wav below gameRoot + "/data/sounds/" and the music; false
/// when a file cannot be written.
bool WriteSoundSamples(const std::string& gameRoot);

/// The wav names as the sound shaders give them ("sounds\body\srdce_1.wav"), in the
/// order they are written.
std::vector<std::string> SampleWavNames();

/// Generated music, interleaved stereo at rate, peak below 0.8.
std::vector<float> ComposeMusic(double seconds, int rate);

}  // namespace tools
