// The tokenizer under every text script, over a file as the scripts open it. The
// first byte chooses, bit by bit, which calls may look for their token on a following
// line (a "name value" reader mixes both kinds); the rest is the file.
#include "core/Tokenizer.h"
#include "fuzz/FuzzSupport.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t crossLines = data[0];
  fuzz::WriteFile("data\\scripts\\fuzz.txt", data + 1, size - 1);
  N_Tokenizer tok;
  tok.OpenFile("data\\scripts\\fuzz.txt");
  // Every token consumes at least one byte, and a call that stopped at a line end is
  // followed by one that may cross it: more calls than this means the reader is stuck.
  const std::size_t limit = 2 * size + 8;
  bool cross = true;
  std::size_t calls = 0;
  for (;; ++calls) {
    fuzz::Check(calls <= limit, "the tokenizer makes no progress");
    const char* token = tok.NextToken(cross);
    if (!token && cross) break;
    if (token) fuzz::Check(std::strlen(token) < N_Tokenizer::kTokenSize, "a token longer than its buffer");
    (void)tok.TokenAsInt();
    (void)tok.TokenAsFloat();
    cross = !token || ((crossLines >> (calls & 7)) & 1) != 0;
  }
  return 0;
}
