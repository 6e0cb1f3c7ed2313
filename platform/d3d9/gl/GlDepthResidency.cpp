#include "platform/d3d9/gl/GlDepthResidency.h"

namespace platform::d3d9 {

void GlDepthResidency::ClearWhole(DepthPart part, float depth, std::uint32_t stencil) {
  Held& held = m_parts[std::size_t(part)];
  held.waiting = true;
  held.depth = depth;
  held.stencil = stencil;
}

int GlDepthResidency::Bring(DepthPlace at, bool depth, bool stencil, std::array<DepthMove, 2>& moves) {
  if (at == DepthPlace::None) return 0;
  int count = 0;
  const bool used[] = {depth, stencil};
  for (std::size_t i = 0; i < m_parts.size(); ++i) {
    Held& held = m_parts[i];
    if (!used[i] || (!held.waiting && held.place == at)) continue;
    moves[std::size_t(count++)] = {DepthPart(i), !held.waiting, at, held.depth, held.stencil};
    held.waiting = false;
    held.place = at;
  }
  return count;
}

}  // namespace platform::d3d9
