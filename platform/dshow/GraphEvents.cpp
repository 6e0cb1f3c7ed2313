#include "platform/dshow/GraphEvents.h"

#include <chrono>

namespace platform {

void GraphEvents::Push(const Event& event) {
  {
    std::lock_guard lock(m_mutex);
    m_queue.push_back(event);
  }
  m_arrived.notify_all();
}

bool GraphEvents::Take(Event& out, LONG msTimeout) {
  std::unique_lock lock(m_mutex);
  const auto ready = [this] { return !m_queue.empty(); };
  if (msTimeout < 0) {
    m_arrived.wait(lock, ready);
  } else if (!m_arrived.wait_for(lock, std::chrono::milliseconds(msTimeout), ready)) {
    return false;
  }
  out = m_queue.front();
  m_queue.pop_front();
  return true;
}

}  // namespace platform
