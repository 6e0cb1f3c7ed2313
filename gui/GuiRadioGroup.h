#pragma once
// RadioGroup: a panel whose check-box children are mutually exclusive: while the left
// button is held on one of them, that box is checked and every other box unchecked.
// Factory type "RadioGroup"; it takes the panel's attributes and drawing (its class
// table is the panel's).
#include "gui/GuiPanel.h"

class RadioGroup : public N_GuiPanel {
 public:
  static constexpr const char* kTypeName = "RadioGroup";

  explicit RadioGroup(std::string name) : N_GuiPanel(std::move(name)) {}
  ~RadioGroup() override = default;

  const std::string& GetTypeName() const override;
  /// While enabled, a held child (the repeat a button sends its parent) checks that
  /// child and unchecks the other check boxes; other children are untouched. Then the
  /// element's own handling.
  int HandleEvent(const N_GuiEvent& event) override;
};
