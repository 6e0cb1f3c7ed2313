#pragma once
// Inside the layer only (it names SDL types): one pump for every SDL event.
// The window layer and the input layer each register a listener; whoever pumps
// (the main loop's message drain or the input manager's Update) hands every event
// to every listener, so input reaches the input layer and window events reach the
// window procedure whichever caller pumped them.
#include <SDL.h>

#include <functional>

namespace platform {

using EventListener = std::function<void(const SDL_Event&)>;

/// Adds a listener; returns its id (> 0). Listeners run in the order they were added.
int AddEventListener(EventListener listener);
void RemoveEventListener(int id);

/// Polls every waiting SDL event and hands each to every listener.
void PumpEvents();

/// Hands one event to the listeners as if it had been polled (tests, injected input).
void DispatchEvent(const SDL_Event& event);

}  // namespace platform
