#include "gui/GuiCallbacks.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "gui/GuiServices.h"
#include "platform/win32.h"

namespace {

/// The function of the wanted kind; for any other name the line that says why.
template <typename Wanted, typename Other>
Wanted Find(const std::string& name, const char* attribute, const char* owner, const std::string& ownerName,
            const char* why) {
  if (name.empty()) return nullptr;
  platform::ExportLookup lookup = platform::ExportLookup::Missing;
  if (Wanted function = platform::FindExportedFunction<Wanted>(name.c_str(), lookup)) return function;
  platform::ExportLookup other = platform::ExportLookup::Missing;
  const bool otherKind = platform::FindExportedFunction<Other>(name.c_str(), other) != nullptr;
  if (g_log) {
    g_log->Print("!!! Bad callback: %s '%s' of %s %s is %s, nothing is bound%s\n", attribute, name.c_str(), owner,
                 ownerName.c_str(), otherKind ? why : "no menu callback", GuiScriptPlaceSuffix().c_str());
  }
  return nullptr;
}

}  // namespace

N_GuiElementCallback FindElementCallback(const std::string& name, const char* attribute, const std::string& element) {
  return Find<N_GuiElementCallback, N_GuiPageCallback>(name, attribute, "element", element,
                                                       "a page callback, not an element callback");
}

N_GuiPageCallback FindPageCallback(const std::string& name, const std::string& page) {
  return Find<N_GuiPageCallback, N_GuiElementCallback>(name, "onshow", "page", page,
                                                       "an element callback, not a page callback");
}
