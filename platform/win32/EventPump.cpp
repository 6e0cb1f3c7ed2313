#include "platform/win32/EventPump.h"

#include <utility>
#include <vector>

namespace platform {
namespace {

struct Entry {
  int id;
  EventListener listener;
};

std::vector<Entry>& Listeners() {
  static std::vector<Entry> listeners;
  return listeners;
}
int g_nextId = 1;

}  // namespace

int AddEventListener(EventListener listener) {
  Listeners().push_back({g_nextId, std::move(listener)});
  return g_nextId++;
}

void RemoveEventListener(int id) {
  auto& list = Listeners();
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (it->id == id) {
      list.erase(it);
      return;
    }
  }
}

void DispatchEvent(const SDL_Event& event) {
  // A listener may add or remove listeners: iterate over a copy.
  const std::vector<Entry> list = Listeners();
  for (const Entry& e : list) e.listener(event);
}

void PumpEvents() {
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) DispatchEvent(event);
}

}  // namespace platform
