#include "race/ai/AiSectorFlags.h"

#include <array>

namespace Ai {

int N_AiSectorFlags::ByteOf(int group) {
  // Stored order: groups 1, 6, 2, 3, 5, 7, 4.
  constexpr std::array<int, 8> kByteOfGroup = {-1, 0, 2, 3, 6, 4, 1, 5};
  return group >= 1 && group <= kGroupCount ? kByteOfGroup[static_cast<std::size_t>(group)] : -1;
}

void N_AiSectorFlags::Set(int group, std::uint8_t bits) {
  const int at = ByteOf(group);
  if (at >= 0) m_bytes[at] |= bits;
}

std::uint8_t N_AiSectorFlags::Get(int group) const {
  const int at = ByteOf(group);
  return at >= 0 ? m_bytes[at] : 0;
}

}  // namespace Ai
