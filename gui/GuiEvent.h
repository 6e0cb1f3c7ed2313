#pragma once
// N_GuiEvent: what an element's HandleEvent receives, from the GUI manager's frame
// update, from buttons (a held button tells its parent) and from scroll bars.
//
// The two value fields are tagged: pointer positions and mouse deltas are floats, the
// caret and the wheel steps integers, the sending element (type ChildHeld) an element
// pointer, the input text (type Text) a text pointer. Events live only for the call,
// so the pointers are never stored or truncated.
#include <cstdint>
#include <variant>

class N_GuiElement;

enum class N_GuiEventType : std::uint32_t {
  None = 0,
  Move = 1,       ///< x, y: the mouse delta of this frame
  Enter = 2,      ///< the cursor entered the element
  Exit = 3,       ///< the cursor left it
  Button = 4,     ///< a button changed: x, y the cursor; button and pressed
  Held = 5,       ///< the left button is held (repeated)
  Text = 7,       ///< x: the input text, y: the caret
  ChildHeld = 8,  ///< x: the child button that is held
  Scroll = 9,     ///< x: the new scroll position
  Wheel = 10,     ///< x: wheel steps this frame, +1 turned away from the user (up), -1 back
};

/// Mouse buttons of button events.
constexpr std::uint32_t kGuiLeftButton = 3;
constexpr std::uint32_t kGuiRightButton = 4;

using N_GuiEventValue = std::variant<std::monostate, float, std::int32_t, N_GuiElement*, const char*>;

/// The value when it holds a T, else T's zero (0, 0.0f, null).
template <class T>
T GuiEventAs(const N_GuiEventValue& value) {
  const T* held = std::get_if<T>(&value);
  return held ? *held : T{};
}

struct N_GuiEvent {
  N_GuiEventType type = N_GuiEventType::None;
  N_GuiEventValue x;
  N_GuiEventValue y;
  std::uint32_t button = 0;  ///< kGuiLeftButton or kGuiRightButton
  bool pressed = false;      ///< Button: pressed (true) or released
};
