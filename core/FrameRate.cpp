#include "core/FrameRate.h"

#include <cstdio>

void N_FrameRate::Add(float frameTime) {
  if (m_accumulated > 1.0f) {
    const float average = m_accumulated / static_cast<float>(m_frames);
    std::snprintf(m_text, sizeof m_text, "%3.2f fps\n", 1.0 / average);
    m_accumulated = 0.0f;
    m_frames = 0;
    return;
  }
  m_accumulated += frameTime;
  ++m_frames;
}

void N_FrameRate::SetInstant(float frameTime) {
  std::snprintf(m_text, sizeof m_text, "%3.2f fps\n", 1.0 / frameTime);
}
