#include "frontend/FrontendUtil.h"

#include "core/Globals.h"
#include "core/StringTable.h"
#include "gui/GuiElement.h"
#include "gui/GuiImageScroller.h"
#include "gui/GuiImageSelector.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextSelector.h"
#include "race/RaceGui.h"

namespace frontend {

N_GuiMng* Gui() { return g_guiServices.guiMng; }

N_GuiPage* FindPage(const char* name) {
  N_GuiMng* gui = Gui();
  return gui ? gui->GetPage(name) : nullptr;
}

N_GuiElement* GetElement(const char* name) {
  N_GuiMng* gui = Gui();
  return gui ? gui->GetElement(name, false) : nullptr;
}

bool CheckType(const N_GuiElement& element, const char* typeName) {
  if (element.GetTypeName() == typeName) return true;
  GuiReport("N_GuiElement %s is a %s, not a %s.\n", element.GetName().c_str(), element.GetTypeName().c_str(),
            typeName);
  return false;
}

void ShowPageNow(const char* name) {
  if (N_GuiPage* page = FindPage(name)) page->ShowImmediate();
}

void HidePageNow(const char* name) {
  if (N_GuiPage* page = FindPage(name)) page->Hide();
}

void ClosePage(const char* name, float rate) {
  if (N_GuiPage* page = FindPage(name)) page->Close(rate);
}

bool IsPageVisible(const char* name) {
  const N_GuiPage* page = FindPage(name);
  return page && page->IsVisible();
}

std::int32_t SelectedItem(const char* textSelectorName) {
  const auto* selector = GetElementOf<N_GuiTextSelector>(textSelectorName);
  return selector ? static_cast<std::int32_t>(selector->GetSelected()) : -1;
}

std::int32_t SelectedImage(const char* imageSelectorName) {
  N_GuiElement* element = GetElement(imageSelectorName);
  if (!element) return -1;
  // A scroller is an image selector that scrolls: both answer the same reader.
  if (element->GetTypeName() != N_GuiImageScroller::kTypeName &&
      !CheckType(*element, N_GuiImageSelector::kTypeName)) {
    return -1;
  }
  return static_cast<std::int32_t>(static_cast<N_GuiImageSelector*>(element)->GetSelected());
}

std::int32_t SelectedRow(const char* tableName) {
  const auto* table = GetElementOf<N_GuiTable>(tableName);
  return table ? table->GetSelectedRow() : -1;
}

void SetCaption(const char* name, const std::string& caption) {
  if (N_GuiElement* element = GetElement(name)) element->SetCaption(caption);
}

std::string Text(const char* key) { return g_stringTable ? g_stringTable->Find(key) : std::string(); }

std::string QuotedCell(std::string_view name) { return race_gui::Quoted(name); }

}  // namespace frontend
