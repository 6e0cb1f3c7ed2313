#include "sound/SoundShaderList.h"

#include "core/FileFinder.h"
#include "core/Tokenizer.h"
#include "platform/win32.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace {

/// Script distances are given in metres; the world counts inches.
constexpr float kUnitsPerMetre = 39.37f;
constexpr float kSmallestMinDistance = 0.0001f;

struct CategoryWord {
  const char* word;
  int category;
};

constexpr std::array kCategoryWords{
    CategoryWord{"Enviroment", SoundCategory::kEnvironment},
    CategoryWord{"Music", SoundCategory::kMusic},
    CategoryWord{"BodySound", SoundCategory::kBody},
    CategoryWord{"Audience", SoundCategory::kAudience},
    CategoryWord{"Commentar", SoundCategory::kCommentary},
    CategoryWord{"SkiSound", SoundCategory::kSki},
    CategoryWord{"Menu", SoundCategory::kMenu},
    CategoryWord{"MenuTest", SoundCategory::kMenuTest},
};

/// A key's value is the next token, looked for across lines. At the very end of a
/// file the tokenizer still holds the previous token, whose number is then taken.
float NextFloat(N_Tokenizer& tok) {
  tok.NextToken(true);
  return static_cast<float>(tok.TokenAsFloat());
}

void ReadCategory(N_Tokenizer& tok, N_SoundShader& s) {
  // The word must stand on the key's line; a word on the next line is read as a key.
  const char* word = tok.NextToken(false);
  if (!word) return;
  for (const auto& entry : kCategoryWords) {
    if (platform::EqualsNoCase(word, entry.word)) {
      s.category = entry.category;
      return;
    }
  }
}

struct Key {
  const char* name;
  void (*apply)(N_Tokenizer&, N_SoundShader&);
};

// Tried in this order; the first match handles the token.
constexpr std::array kKeys{
    Key{"Plain", [](N_Tokenizer&, N_SoundShader& s) { s.plain = 1; }},
    Key{"Normal_Mode", [](N_Tokenizer&, N_SoundShader& s) { s.headRelative = 0; }},
    Key{"HeadRelative", [](N_Tokenizer&, N_SoundShader& s) { s.headRelative = 1; }},
    Key{"Stream", [](N_Tokenizer&, N_SoundShader& s) { s.stream = 1; }},
    Key{"Volume",
        [](N_Tokenizer& tok, N_SoundShader& s) {
          const float v = NextFloat(tok);
          s.volume = (v < 0.0f || v > 1.0f) ? 1.0f : v;
        }},
    Key{"Frequency", [](N_Tokenizer& tok, N_SoundShader& s) { s.frequency = NextFloat(tok); }},
    Key{"Loop",
        [](N_Tokenizer& tok, N_SoundShader& s) {
          tok.NextToken(true);
          s.loop = tok.TokenAsInt();
        }},
    Key{"MinDistance",
        [](N_Tokenizer& tok, N_SoundShader& s) {
          const float d = NextFloat(tok) * kUnitsPerMetre;
          s.minDistance = d < kSmallestMinDistance ? kSmallestMinDistance : d;
        }},
    Key{"MaxDistance", [](N_Tokenizer& tok, N_SoundShader& s) { s.maxDistance = NextFloat(tok) * kUnitsPerMetre; }},
    Key{"SoundMap",
        [](N_Tokenizer& tok, N_SoundShader& s) {
          if (const char* wav = tok.NextToken(true)) s.wavNames.emplace_back(wav);
        }},
    Key{"PlayRandomize", [](N_Tokenizer&, N_SoundShader& s) { s.onlyOne = 0; }},
    Key{"PlayRandomizeAndOnlyOne", [](N_Tokenizer&, N_SoundShader& s) { s.onlyOne = 1; }},
    Key{"SoundCategory", ReadCategory},
};

/// Reads the entries of one block up to its "}" (or the end of the file).
void ReadEntries(N_Tokenizer& tok, N_SoundShader& shader) {
  for (;;) {
    const char* token = tok.NextToken(true);
    if (!token || std::strcmp(token, "}") == 0) return;
    for (const auto& key : kKeys) {
      if (platform::EqualsNoCase(token, key.name)) {
        key.apply(tok, shader);
        break;
      }
    }
  }
}

}  // namespace

void N_SoundShaderList::LoadAll(const char* mask) {
  N_FileFinder finder(mask);
  for (const char* name = finder.FindFirst(); name; name = finder.FindNext()) {
    char path[504];
    std::snprintf(path, sizeof path, "%s%s", kScriptFolder, name);
    ParseFile(path);
  }
}

void N_SoundShaderList::ParseFile(const char* path) {
  N_Tokenizer tok;
  tok.OpenFile(path);
  for (const char* token = tok.NextToken(true); token; token = tok.NextToken(true)) {
    std::string name = token;
    auto shader = std::make_unique<N_SoundShader>();
    // A name without "{" after it is stored with its defaults; the token is dropped.
    const char* open = tok.NextToken(true);
    if (open && std::strcmp(open, "{") == 0) ReadEntries(tok, *shader);
    m_shaders.emplace(std::move(name), std::move(shader));  // the first definition stays
  }
}

const N_SoundShader* N_SoundShaderList::FindShader(const char* name) const {
  if (!name) return nullptr;
  const auto it = m_shaders.find(name);
  return it == m_shaders.end() ? nullptr : it->second.get();
}
