// The text tables (the AI's tables): fields handed out one by one until the empty one.
#include "core/TableFile.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::WriteFile("data\\ai\\fuzz.txt", data, size);
  N_TableFile table;
  fuzz::Check(table.Open("data\\ai\\fuzz.txt"), "the table did not open");
  std::size_t fields = 0;
  while (!table.NextField().empty()) {
    fuzz::Check(++fields <= size, "more fields than bytes");
  }
  return 0;
}
