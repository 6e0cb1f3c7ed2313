#pragma once
// The sample-data writer is a list of steps, each writing one group of files below
// the game root. A step lives in its own source file of the datagen program and
// registers itself there:
//
//   static const datagen::StepRegistrar kFonts{{"fonts", "GUI fonts", &WriteFonts}};
//
// Steps run in name order and must not depend on each other's output. Writing is
// deterministic: the same bytes every build, and a file whose bytes are unchanged
// is left alone (its time stamp too).
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace datagen {

/// Where a step writes and how it reports.
class Output {
 public:
  explicit Output(std::filesystem::path root) : m_root(std::move(root)) {}

  const std::filesystem::path& Root() const { return m_root; }
  /// Writes the file at a path relative to the game root ("data/gfx/fonts/x.font"),
  /// creating its folders; false (with a message on stderr) on failure.
  bool Write(std::string_view relative, const std::vector<std::uint8_t>& bytes);
  /// Files written (or found unchanged) so far.
  int FileCount() const { return m_files; }

 private:
  std::filesystem::path m_root;
  int m_files = 0;
};

struct Step {
  const char* name;         ///< sub-command name: "datagen <root> <name>" runs only this step
  const char* description;
  bool (*run)(Output& out);  ///< false when something could not be written
};

/// Every registered step, in name order.
std::vector<Step> Steps();

/// Registers a step while the program starts (a static object in the step's file).
struct StepRegistrar {
  explicit StepRegistrar(const Step& step);
};

}  // namespace datagen
