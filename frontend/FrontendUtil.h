#pragma once
// What every menu callback needs of the GUI: pages and elements by name through the
// world's GUI manager (the GUI's services record), checked for their class, and the
// small page operations the menus repeat.
//
// A missing element is reported once by the manager ("N_GuiElement with name %s not
// found."); an element of another class than the caller expects is reported once here;
// both give null, and every caller skips what is null. A missing page gives null
// without a report, and its step is skipped.
#include <cstdint>
#include <string>
#include <string_view>

class N_GuiElement;
class N_GuiMng;
class N_GuiPage;

namespace frontend {

/// The GUI manager, or null (no world yet, or a test without one).
N_GuiMng* Gui();
/// The page of that name, or null (not reported).
N_GuiPage* FindPage(const char* name);
/// The element of that name, of any class; null (reported by the manager) when missing.
N_GuiElement* GetElement(const char* name);

/// Whether the element's class is the type word (the factory's "Text", "Table" ...);
/// reports the element's name, its class and the expected one when it is not.
bool CheckType(const N_GuiElement& element, const char* typeName);

/// The element of that name when it is of class T (by its type word T::kTypeName),
/// else null: a missing or mistyped element is reported once.
template <class T>
T* GetElementOf(const char* name) {
  N_GuiElement* element = GetElement(name);
  if (!element || !CheckType(*element, T::kTypeName)) return nullptr;
  return static_cast<T*>(element);
}

// Pages at once or faded; a missing page does nothing.
void ShowPageNow(const char* name);
void HidePageNow(const char* name);
void ClosePage(const char* name, float rate);
/// Whether the page exists and is visible.
bool IsPageVisible(const char* name);

// Selected-index readers: -1 when the element is missing or of another class (reported
// as above); a table also answers -1 when no row is selected.
std::int32_t SelectedItem(const char* textSelectorName);
/// An image selector or an image scroller (a selector that scrolls its pictures).
std::int32_t SelectedImage(const char* imageSelectorName);
std::int32_t SelectedRow(const char* tableName);

/// The caption of an element when it exists.
void SetCaption(const char* name, const std::string& caption);

/// The text of a string-table key ("#str600"); empty without a table.
std::string Text(const char* key);

/// A name as one quoted cell of a table row: a double quote inside it becomes a single
/// quote, so that it cannot end the cell early and shift every later column. Files and
/// records keep the name as typed; only the row line is changed.
std::string QuotedCell(std::string_view name);

}  // namespace frontend
