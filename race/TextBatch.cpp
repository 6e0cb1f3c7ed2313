#include "race/TextBatch.h"

void N_TextBatch::AddText(const char* text, int shader, float x, float y, float scale, int colour, int alpha) {
  if (!text || m_queued.size() >= kMaxEntries) return;
  m_queued.push_back({text, shader, x, y, scale, colour, alpha});
}
