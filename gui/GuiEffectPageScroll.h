#pragma once
// N_GuiEffectPageScroll: slides its whole page in from a screen edge by moving the
// page's offset (N_GuiPage::SetOffset). Factory type "PageScroll". At start the page
// stands one screen off ("left": 640 to the right, "top": 480 below, and so on) and
// moves back at "speed", slowed by "dump", until the offset reaches or crosses 0 on its
// axis. Stopping only forgets the stored offset: the page keeps the one it has.
#include "gui/GuiEffect.h"
#include "gui/GuiSlide.h"

#include <cstdint>
#include <string>

class N_GuiEffectPageScroll final : public N_GuiEffect {
 public:
  static constexpr const char* kTypeName = "PageScroll";

  N_GuiEffectPageScroll();
  ~N_GuiEffectPageScroll() override = default;

  const std::string& GetTypeName() const override;
  /// The start offset, velocity and acceleration by the direction, given to the page
  /// at once; running.
  void Start() override;
  /// The stored offset becomes (0, 0); the page's offset and the running flag stay.
  void Stop() override;
  /// Before the delay has passed, or while not running, only the time counts;
  /// otherwise one step of the slide, and the page takes the offset.
  void Update(float frameTime) override;
  void BuildAttributes() override;

  void SetStart(float seconds) { m_start = seconds; }
  float GetStart() const { return m_start; }
  void SetDirection(std::int32_t direction) { m_direction = direction; }
  std::int32_t GetDirection() const { return m_direction; }
  void SetSpeed(float speed) { m_speed = speed; }
  float GetSpeed() const { return m_speed; }
  void SetDump(float dump) { m_dump = dump; }
  float GetDump() const { return m_dump; }

  bool IsRunning() const { return m_running; }
  /// The offset and velocity of the slide.
  const N_GuiSlide& Slide() const { return m_slide; }

 private:
  bool m_running = false;
  N_GuiSlide m_slide;  ///< the page offset, pixels
  std::int32_t m_direction = kBottom;
  float m_speed = 80.0f;
  float m_dump = 1.0f;
  float m_start = 0.0f;
  float m_elapsed = 0.0f;
};
