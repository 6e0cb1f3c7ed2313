#pragma once
// N_GuiCheckBox: a button that toggles its checked state on each left press and
// shows its down look while checked. Factory type "CheckBox".
#include "gui/GuiButton.h"

class N_GuiCheckBox : public N_GuiButton {
 public:
  static constexpr const char* kTypeName = "CheckBox";

  explicit N_GuiCheckBox(std::string name);
  ~N_GuiCheckBox() override = default;

  const std::string& GetTypeName() const override;
  /// The button's handling; a left press (not a release, not a held button) toggles.
  int HandleEvent(const N_GuiEvent& event) override;
  void BuildAttributes() override;

  /// The state, and the look: down when checked and a down shader is set, else up.
  void SetChecked(bool checked);
  bool IsChecked() const { return m_checked; }

 private:
  void UpdateCheckedShader();

  bool m_checked = false;
};
