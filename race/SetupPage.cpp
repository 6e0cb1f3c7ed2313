#include "race/SetupPage.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "gui/GuiEditBox.h"
#include "gui/GuiImageSelector.h"
#include "gui/GuiMng.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextSelector.h"
#include "race/RaceGui.h"

template <class T>
T* N_SetupPage::Find(const char* name) {
  T* found = nullptr;
  if (const N_GuiMng* mng = race_gui::Mng()) {
    const auto it = mng->Elements().find(name);
    if (it != mng->Elements().end()) found = dynamic_cast<T*>(it->second);
  }
  if (!found && m_missing.empty()) m_missing = name;
  return found;
}

std::int32_t N_SetupPage::Image(const char* name) {
  const auto* selector = Find<N_GuiImageSelector>(name);
  return selector ? static_cast<std::int32_t>(selector->GetSelected()) : -1;
}

std::int32_t N_SetupPage::Item(const char* name) {
  const auto* selector = Find<N_GuiTextSelector>(name);
  return selector ? static_cast<std::int32_t>(selector->GetSelected()) : -1;
}

std::int32_t N_SetupPage::Row(const char* name) {
  const auto* table = Find<N_GuiTable>(name);
  return table ? table->GetSelectedRow() : -1;
}

N_GuiEditBox* N_SetupPage::EditBox(const char* name) { return Find<N_GuiEditBox>(name); }

void N_SetupPage::LogMissing(const char* who, const char* what) const {
  if (g_log) g_log->Print("%s: the set-up page has no element %s, %s\n", who, m_missing.c_str(), what);
}
