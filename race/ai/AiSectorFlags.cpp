#include "race/ai/AiSectorFlags.h"

namespace Ai {

void N_AiSectorFlags::Set(int group, std::uint8_t bits) {
  const int at = ByteOf(group);
  if (at >= 0) m_bytes[at] |= bits;
}

}  // namespace Ai
