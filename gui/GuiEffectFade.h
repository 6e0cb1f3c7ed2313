#pragma once
// N_GuiEffectFade: fades one element of its page in or out. Factory type "Fade". The
// element is found by name at every start (so it may be made after the effect); after
// the delay ("start" seconds) the alpha moves by "speed" a second from 0 to 1 (in) or
// from 1 to 0 (out), and the element takes alpha x 255 every update. Stopping (the
// page hidden) puts the element at the end state at once.
#include "gui/GuiEffect.h"

#include <cstdint>
#include <string>

class N_GuiEffectFade final : public N_GuiEffect {
 public:
  static constexpr const char* kTypeName = "Fade";

  N_GuiEffectFade();
  ~N_GuiEffectFade() override = default;

  const std::string& GetTypeName() const override;
  /// Stop, then the element by name (a missing name is reported by the manager); when
  /// found it stands at the start state: in at alpha 0, out at 255.
  void Start() override;
  /// The element known jumps to the end state (in 255, out 0); not running.
  void Stop() override;
  /// Before the delay has passed, or while not running, only the time counts.
  void Update(float frameTime) override;
  void BuildAttributes() override;
  /// The element is being destroyed: it is dropped and found again at the next start.
  void ForgetElement(const N_GuiElement* gone) override;

  void SetElementName(const std::string& name) { m_elementName = name; }
  const std::string& GetElementName() const { return m_elementName; }
  void SetStart(float seconds) { m_start = seconds; }
  float GetStart() const { return m_start; }
  void SetSpeed(float speed) { m_speed = speed; }
  float GetSpeed() const { return m_speed; }
  void SetType(std::int32_t type) { m_type = type; }
  std::int32_t GetType() const { return m_type; }

  bool IsRunning() const { return m_running; }
  float GetAlpha() const { return m_alpha; }
  N_GuiElement* GetElement() const { return m_element; }

 private:
  std::string m_elementName;
  N_GuiElement* m_element = nullptr;  ///< found at start; null when none
  bool m_running = false;
  std::int32_t m_type = kFadeOut;
  float m_alpha = 0.0f;   ///< 0..1
  float m_speed = 80.0f;  ///< alpha units per second
  float m_start = 0.0f;   ///< delay in seconds
  float m_elapsed = 0.0f;
};
