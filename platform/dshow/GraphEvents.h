#pragma once
// Inside the layer only: the filter graph's event queue. The player thread adds,
// the engine's thread takes (IMediaEventEx::GetEvent).
#include "platform/dshow/Com.h"

#include <condition_variable>
#include <deque>
#include <mutex>

namespace platform {

class GraphEvents {
 public:
  struct Event {
    LONG code;
    LONG_PTR param1;
    LONG_PTR param2;
  };

  void Push(const Event& event);
  /// Takes the oldest event, waiting up to `msTimeout` ms (negative: no limit).
  /// False when none arrived in time.
  bool Take(Event& out, LONG msTimeout);

 private:
  std::mutex m_mutex;
  std::condition_variable m_arrived;
  std::deque<Event> m_queue;
};

}  // namespace platform
