// The language string tables: every ".string" file of the folder, read for English as
// the game does at start-up, then looked up by key.
#include "core/StringTable.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::WriteFile("data\\scripts\\strings\\fuzz.string", data, size);
  N_StringTable strings;
  strings.SetLanguage("eng");
  strings.ReadDir("scripts\\strings\\*.string");
  (void)strings.Find("#str1");
  (void)strings.Find("");
  return 0;
}
