#pragma once
// N_GuiEffectScroll: slides one element of its page in from a screen edge to where it
// stood. Factory type "Scroll"; a table with "scrollrows" makes one per new row. The
// element is found by name at every start. The slide works in the element's own left
// and top (what SetLeft and SetTop take): its place inside its parent, or, for an
// element placed beside an anchor, its left and top as last given. It starts at 640
// ("left"), off the left edge ("right"), at 480 ("top") or above the top edge
// ("bottom"), with the alignment on that axis made left or top, and moves at "speed",
// slowed by "dump", until it reaches or crosses its place. Stopping puts it there.
#include "gui/GuiEffect.h"
#include "gui/GuiSlide.h"

#include <cstdint>
#include <string>

class N_GuiEffectScroll final : public N_GuiEffect {
 public:
  static constexpr const char* kTypeName = "Scroll";

  N_GuiEffectScroll();
  ~N_GuiEffectScroll() override = default;

  const std::string& GetTypeName() const override;
  /// Stop, then the element by name (a missing name is reported by the manager); when
  /// found: the target is its place, it moves to the start and runs.
  void Start() override;
  /// The element known goes to its target on the slide's axis; not running.
  void Stop() override;
  /// Before the delay has passed, while not running or without an element, only the
  /// time counts; otherwise one step, and the element's left or top follows.
  void Update(float frameTime) override;
  void BuildAttributes() override;
  /// The element is being destroyed: it is dropped and found again at the next start.
  void ForgetElement(const N_GuiElement* gone) override;

  void SetElementName(const std::string& name) { m_elementName = name; }
  const std::string& GetElementName() const { return m_elementName; }
  void SetStart(float seconds) { m_start = seconds; }
  float GetStart() const { return m_start; }
  void SetDirection(std::int32_t direction) { m_direction = direction; }
  std::int32_t GetDirection() const { return m_direction; }
  void SetSpeed(float speed) { m_speed = speed; }
  float GetSpeed() const { return m_speed; }
  void SetDump(float dump) { m_dump = dump; }
  float GetDump() const { return m_dump; }

  bool IsRunning() const { return m_running; }
  N_GuiElement* GetElement() const { return m_element; }
  /// The element's left and top the slide ends at.
  float GetTargetX() const { return m_targetX; }
  float GetTargetY() const { return m_targetY; }
  const N_GuiSlide& Slide() const { return m_slide; }

 private:
  /// Where the element stands now in its own left and top.
  static void PlaceOf(N_GuiElement& element, float& left, float& top);

  std::string m_elementName;
  N_GuiElement* m_element = nullptr;  ///< found at start; null when none
  bool m_running = false;
  N_GuiSlide m_slide;  ///< the element's left and top while it moves
  float m_targetX = 0.0f;
  float m_targetY = 0.0f;
  std::int32_t m_direction = kBottom;
  float m_speed = 80.0f;
  float m_dump = 1.0f;
  float m_start = 0.0f;
  float m_elapsed = 0.0f;
};
