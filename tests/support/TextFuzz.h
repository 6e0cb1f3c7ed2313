#pragma once
// Fuzz-style helpers for the script readers' tests: the sample scripts as one text and
// seeded random edits of it.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace test {

/// The game root's sample scripts of the extension (e.g. ".shader"), one after the other.
std::string SampleScripts(const std::string& extension);
/// The same scripts, one text a file (in the folder's order).
std::vector<std::string> SampleScriptFiles(const std::string& extension);

/// A small deterministic generator, so that a failing case can be replayed.
class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : m_seed(seed) {}
  std::uint32_t Next(std::uint32_t bound) {
    m_seed = m_seed * 214013u + 2531011u;
    return ((m_seed >> 16) & 0x7FFF) % (bound ? bound : 1);
  }

 private:
  std::uint32_t m_seed;
};

/// One to eight edits at random places: a run erased, one of the pieces inserted, a byte
/// replaced, or the text truncated there.
std::string MutateText(std::string text, Lcg& rng, std::span<const char* const> pieces);

}  // namespace test
