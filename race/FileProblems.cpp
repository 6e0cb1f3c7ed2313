#include "race/FileProblems.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "platform/win32/Files.h"
#include "race/World.h"

namespace {

/// The texts of the problems the open box shows (empty once it was closed).
std::string& Shown() {
  static std::string shown;
  return shown;
}

}  // namespace

void ReportFileProblem(const std::string& text) {
  if (g_log) g_log->Print("!!! %s\n", text.c_str());
  if (!g_world) return;
  N_GuiMng& gui = g_world->GuiMng();
  N_GuiPage* page = gui.GetPage("MessageOK");
  N_GuiElement* label = gui.GetElement("Label2", false);
  if (!page || !label) return;
  // Still open with earlier problems (nothing replaced them): this one goes below.
  const bool adding = page->IsVisible() && !Shown().empty() && label->GetCaption() == Shown();
  Shown() = adding ? Shown() + "\n" + text : text;
  label->SetCaption(Shown());
  if (N_GuiElement* ok = gui.GetElement("Ok1", false)) ok->SetOnClick("OKMsgClick");
  page->ShowImmediate();
}

namespace file_problem {

std::string Unreadable(const std::string& file, const std::string& why, const char* consequence) {
  // The reason without the disk path before it: the file is named already.
  return file + " cannot be read (" + platform::ReasonOf(why) + "): " + consequence;
}

std::string Damaged(const std::string& file, const std::string& what, const char* consequence) {
  return file + " is damaged (" + what + "): " + consequence;
}

std::string NotSaved(const std::string& file, const std::string& why, const char* consequence) {
  return file + " could not be saved (" + why + "): " + consequence;
}

}  // namespace file_problem
