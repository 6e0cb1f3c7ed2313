#pragma once
// N_GuiEffect: a small timed animation of a page (fading an element, sliding the page
// or an element in). An attribute holder created by its factory through the GUI
// manager, which owns it; added to a page, which starts it when shown, stops it when
// hidden or closed, and updates it every frame it draws.
#include "gui/GuiObject.h"

#include <cstdint>
#include <string>

class N_GuiElement;
class N_GuiPage;

class N_GuiEffect : public N_GuiObject {
 public:
  /// The screen edge a scroll comes from ("direction"): "left" slides in from the right
  /// edge towards the left, "top" from the bottom edge upwards, and so on.
  enum Direction : std::int32_t { kLeft = 0, kRight = 1, kTop = 2, kBottom = 3 };
  /// A fade's "type".
  enum FadeType : std::int32_t { kFadeIn = 0, kFadeOut = 1 };

  N_GuiEffect() = default;
  ~N_GuiEffect() override = default;

  /// The factory's type word of the class ("Fade" ...).
  virtual const std::string& GetTypeName() const = 0;
  virtual void Start() = 0;
  virtual void Stop() = 0;
  /// One frame of the page: seconds since the last one.
  virtual void Update(float frameTime) = 0;
  /// Appends the effect's rows to the object's class table (see GuiObject.h).
  virtual void BuildAttributes() {}
  /// An element is being destroyed: an effect that holds it must let it go.
  virtual void ForgetElement(const N_GuiElement* /*gone*/) {}

  /// The page whose block declared the effect; null until it is added to one.
  N_GuiPage* GetPage() const { return m_page; }
  void SetPage(N_GuiPage* page) { m_page = page; }

 private:
  N_GuiPage* m_page = nullptr;
};

/// "direction": any word but the three others means "bottom".
inline constexpr N_GuiWords kGuiDirectionWords{{"left", "right", "top", "bottom"}, N_GuiEffect::kBottom};
/// "type": exactly "in" fades in, any other word out.
inline constexpr N_GuiWords kGuiFadeTypeWords{{"in", "out"}, N_GuiEffect::kFadeOut};
