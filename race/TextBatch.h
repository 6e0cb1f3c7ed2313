#pragma once
// Stand-in for the renderer's 2D text batcher, until it exists: AddText keeps each
// queued fixed-font text (up to the batcher's 4024 entries) so that it can be read
// back; nothing is drawn. Flush empties the queue.
#include <string>
#include <vector>

class N_TextBatch {
 public:
  static constexpr std::size_t kMaxEntries = 4024;

  struct QueuedText {
    std::string text;
    int shader = -1;
    float x = 0.0f;
    float y = 0.0f;
    float scale = 0.0f;
    int colour = 0;  ///< palette index
    int alpha = 0;
  };

  /// Queues fixed-font text at (x, y) of the 640 x 480 virtual screen; dropped when full.
  void AddText(const char* text, int shader, float x, float y, float scale, int colour, int alpha);
  void Flush() { m_queued.clear(); }

  const std::vector<QueuedText>& Queued() const { return m_queued; }

 private:
  std::vector<QueuedText> m_queued;
};
