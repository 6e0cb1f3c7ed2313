#pragma once
// How the race's pages reach the GUI: by page and element name through the GUI manager
// of the GUI's services record (the world's), and the texts of the string table. A
// page or element that the scripts do not define gives null and its step is skipped
// (the manager reports a missing element itself); without a manager nothing happens.
//
// Also the row-line helpers of the race's tables (start lists, boards, the shoot
// table): a table row is one line of blank-separated fields, a quoted field may hold
// blanks (gui/GuiTable.h).
#include <cstdint>
#include <string>
#include <string_view>

class N_GuiElement;
class N_GuiMng;
class N_GuiPage;
struct N_AthletProfile;

namespace race_gui {

/// The GUI manager, or null.
N_GuiMng* Mng();
/// The page of that name, or null (not reported).
N_GuiPage* Page(const char* name);
/// The element of that name, or null (reported by the manager).
N_GuiElement* Element(const char* name);
/// The element when it exists and is of the class, else null.
template <class T>
T* ElementAs(const char* name) {
  return dynamic_cast<T*>(Element(name));
}

// Page operations; a missing page does nothing.
void ShowPageImmediate(const char* name);
void ShowPage(const char* name, float rate);
void ClosePage(const char* name, float rate);
void HidePage(const char* name);

// Element operations; a missing element does nothing.
void SetCaption(const char* name, const std::string& caption);
void SetShader(const char* name, const std::string& shader);
void SetAlpha(const char* name, std::uint8_t alpha);
void SetLeft(const char* name, float left);
void ShowElement(const char* name);
void HideElement(const char* name);

/// The text of a string-table key ("#str312"); empty without a table or for a key the
/// table lacks.
std::string Text(const char* key);

/// A quoted row field: the text in double quotes, its own double quotes turned into
/// single quotes (and zero bytes into blanks) and its length cut to kMaxQuotedText
/// characters, so that it always stays one field (the tokenizer ends a token at its
/// own size).
std::string Quoted(std::string_view text);
inline constexpr std::size_t kMaxQuotedText = 127;

/// The athlete record of an index of the list of the sex (0 men, else women), or the
/// default athlete record when the list has no such index (or there is no world).
const N_AthletProfile& AthleteOrDefault(std::int32_t sex, std::int64_t index);

/// Whether the time is a real race time: finite and not negative.
bool IsValidTime(float seconds);

}  // namespace race_gui
