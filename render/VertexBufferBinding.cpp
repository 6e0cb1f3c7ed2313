#include "render/VertexBufferBinding.h"

#include "render/RenderStateCache.h"

#include <algorithm>

void N_VertexBufferBinding::SetStream(std::uint16_t stream, N_VertexBuffer* buffer) {
  m_streams[stream] = buffer;
  m_highestStream = std::max(m_highestStream, stream);
  // The device's streams no longer match this binding: it must be applied again.
  if (g_renderStateCache.streamBinding == this) g_renderStateCache.streamBinding.reset();
}
