#include "tests/support/TextFuzz.h"

#include "tests/support/TestEnv.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace test {

std::vector<std::string> SampleScriptFiles(const std::string& extension) {
  std::vector<std::string> texts;
  for (const auto& file : std::filesystem::directory_iterator(GameRoot() + "/data/scripts")) {
    if (file.path().extension() != extension) continue;
    std::ifstream in(file.path(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    texts.push_back(s.str());
  }
  return texts;
}

std::string SampleScripts(const std::string& extension) {
  std::string text;
  for (const std::string& file : SampleScriptFiles(extension)) text += file;
  return text;
}

std::string MutateText(std::string text, Lcg& rng, std::span<const char* const> pieces) {
  const int edits = 1 + static_cast<int>(rng.Next(8));
  for (int i = 0; i < edits && !text.empty(); ++i) {
    const std::size_t at = rng.Next(static_cast<std::uint32_t>(text.size()));
    switch (rng.Next(4)) {
      case 0:
        text.erase(at, 1 + rng.Next(40));
        break;
      case 1:
        text.insert(at, pieces[rng.Next(static_cast<std::uint32_t>(pieces.size()))]);
        break;
      case 2:
        text[at] = static_cast<char>(rng.Next(256));
        break;
      default:
        text.resize(at);  // truncated
        break;
    }
  }
  return text;
}

}  // namespace test
