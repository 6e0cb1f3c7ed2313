#pragma once
// Which vertex buffer feeds which stream; applied by N_Render::ApplyVertexBufferBinding.
// The buffers belong to their creators.
#include <cstdint>
#include <map>

class N_VertexBuffer;

class N_VertexBufferBinding {
 public:
  /// Sets (or replaces) the buffer of a stream.
  void SetStream(std::uint16_t stream, N_VertexBuffer* buffer);

  const std::map<std::uint16_t, N_VertexBuffer*>& Streams() const { return m_streams; }
  /// The highest stream number ever set (0 at first).
  std::uint16_t HighestStream() const { return m_highestStream; }

 private:
  std::map<std::uint16_t, N_VertexBuffer*> m_streams;
  std::uint16_t m_highestStream = 0;
};
