#pragma once
// Every sound shader of the ".ssd" scripts, by exact (case-sensitive) name. Read once
// when the sound manager is constructed and kept for the life of the process.
//
// Script form: blocks of  name { key [value] ... }.  Keys and category words are
// compared without case; unknown words are skipped; the parser reports nothing, and
// of two blocks with one name the first stays.
#include "sound/SoundShader.h"

#include <map>
#include <memory>
#include <string>

class N_SoundShaderList {
 public:
  /// The folder the scripts are opened from; the finder's mask differs in case
  /// ("scripts\Sounds\*.ssd"), which the file layer resolves.
  static constexpr const char* kScriptFolder = "data\\scripts\\sounds\\";

  /// Reads every file the file finder gives for the mask (below "data"), in its order.
  void LoadAll(const char* mask);
  /// Reads one script file; a file that cannot be opened adds nothing.
  void ParseFile(const char* path);
  /// The shader of exactly that name, or null.
  const N_SoundShader* FindShader(const char* name) const;

  std::size_t Count() const { return m_shaders.size(); }

 private:
  std::map<std::string, std::unique_ptr<N_SoundShader>> m_shaders;
};
