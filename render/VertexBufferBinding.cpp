#include "render/VertexBufferBinding.h"

#include <algorithm>

void N_VertexBufferBinding::SetStream(std::uint16_t stream, N_VertexBuffer* buffer) {
  m_streams[stream] = buffer;
  m_highestStream = std::max(m_highestStream, stream);
}
