#pragma once
// N_GuiCursor: the mouse pointer of the interface, a 20 x 20 panel that the GUI
// manager's frame update moves with the mouse (a Move event each frame). The world
// makes one ("Cursor", shader "Kurzor"); it lives alone on the cursor page, above
// every other page, and its visibility follows the manager's cursor counter. It is
// never the target of a hit test. Factory type "Cursor".
#include "gui/GuiPanel.h"

class N_GuiCursor : public N_GuiPanel {
 public:
  static constexpr const char* kTypeName = "Cursor";
  static constexpr float kSize = 20.0f;

  explicit N_GuiCursor(std::string name);
  ~N_GuiCursor() override = default;

  const std::string& GetTypeName() const override;
  /// Null for every point: the element below the cursor takes the events.
  N_GuiElement* GetElementAt(float x, float y) override;
  /// A Move event moves the top-left corner by the negated mouse delta times the
  /// sensitivity and the motion scale, kept within 0..640 and 0..480 (0); every other
  /// event is ignored (1).
  int HandleEvent(const N_GuiEvent& event) override;
  void BuildAttributes() override;

  void SetSensitivity(float sensitivity) { m_sensitivity = sensitivity; }
  float GetSensitivity() const { return m_sensitivity; }
  /// Screen units per mouse count on each axis, besides the sensitivity (1 and 1 by
  /// default): 0 while the owner puts the cursor where the desktop's pointer is.
  void SetMotionScale(float x, float y) {
    m_scaleX = x;
    m_scaleY = y;
  }
  float GetMotionScaleX() const { return m_scaleX; }
  float GetMotionScaleY() const { return m_scaleY; }

 private:
  float m_sensitivity = 1.0f;  ///< cursor units per mouse count
  float m_scaleX = 1.0f;
  float m_scaleY = 1.0f;
};
