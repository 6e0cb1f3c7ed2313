// The key definitions table: loaded whole as at start-up, then every action's key name
// looked up, as the controls page shows them.
#include "core/KeyDefinitions.h"
#include "fuzz/FuzzSupport.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::WriteFile(kKeyDefinitionsFile, data, size);
  LoadKeyDefinitions();
  std::size_t letters = 0;
  for (int action = -1; action <= key_action::kCount; ++action) letters += std::strlen(GetActionKeyName(action));
  (void)letters;
  return 0;
}
