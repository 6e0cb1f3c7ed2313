#include "race/RaceGui.h"

#include "core/Globals.h"
#include "core/StringTable.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
#include "race/AthletMng.h"
#include "race/AthletProfile.h"
#include "race/World.h"

#include <cmath>

namespace race_gui {

N_GuiMng* Mng() { return g_guiServices.guiMng; }

N_GuiPage* Page(const char* name) {
  N_GuiMng* mng = Mng();
  return mng ? mng->GetPage(name) : nullptr;
}

N_GuiElement* Element(const char* name) {
  N_GuiMng* mng = Mng();
  return mng ? mng->GetElement(name, false) : nullptr;
}

void ShowPageImmediate(const char* name) {
  if (N_GuiPage* page = Page(name)) page->ShowImmediate();
}

void ShowPage(const char* name, float rate) {
  if (N_GuiPage* page = Page(name)) page->Show(rate);
}

void ClosePage(const char* name, float rate) {
  if (N_GuiPage* page = Page(name)) page->Close(rate);
}

void HidePage(const char* name) {
  if (N_GuiPage* page = Page(name)) page->Hide();
}

void SetCaption(const char* name, const std::string& caption) {
  if (N_GuiElement* element = Element(name)) element->SetCaption(caption);
}

void SetShader(const char* name, const std::string& shader) {
  if (N_GuiElement* element = Element(name)) element->SetShader(shader);
}

void SetAlpha(const char* name, std::uint8_t alpha) {
  if (N_GuiElement* element = Element(name)) element->SetAlpha(alpha);
}

void SetLeft(const char* name, float left) {
  if (N_GuiElement* element = Element(name)) element->SetLeft(left);
}

void ShowElement(const char* name) {
  if (N_GuiElement* element = Element(name)) element->Show();
}

void HideElement(const char* name) {
  if (N_GuiElement* element = Element(name)) element->Hide();
}

std::string Text(const char* key) { return g_stringTable ? g_stringTable->Find(key) : std::string(); }

std::string Quoted(std::string_view text) {
  std::string field = "\"";
  field.append(text.substr(0, kMaxQuotedText));
  for (std::size_t i = 1; i < field.size(); ++i) {
    if (field[i] == '"') field[i] = '\'';
    if (field[i] == '\0') field[i] = ' ';  // the row line is read as a C string
  }
  field += '"';
  return field;
}

const N_AthletProfile& AthleteOrDefault(std::int32_t sex, std::int64_t index) {
  static const N_AthletProfile kDefault;
  if (!g_world || index < 0) return kDefault;
  const N_AthletMng& athletes = g_world->AthletMng();
  const auto at = static_cast<std::size_t>(index);
  const N_AthletProfile* record = sex == 0 ? athletes.GetMale(at) : athletes.GetFemale(at);
  return record ? *record : kDefault;
}

bool IsValidTime(float seconds) { return std::isfinite(seconds) && seconds >= 0.0f; }

}  // namespace race_gui
