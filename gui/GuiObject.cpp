#include "gui/GuiObject.h"

#include "core/Convert.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "gui/GuiServices.h"

namespace {

double Checked(const std::string& text, bool whole) {
  const ScriptNumber number = ReadScriptNumber(text.c_str(), whole);
  if (number.fault && g_log) {
    g_log->Print("!!! Gui number '%s' %s, taken as %.10g%s\n", text.substr(0, 64).c_str(), number.fault, number.value,
                 GuiScriptPlaceSuffix().c_str());
  }
  return number.value;
}

}  // namespace

float GuiFloat(const std::string& text) { return static_cast<float>(Checked(text, false)); }

std::int32_t GuiInt(const std::string& text) { return static_cast<std::int32_t>(Checked(text, true)); }

std::string GuiNumbers(const std::string& text) {
  std::vector<std::string> fields;
  SplitString(text, fields, " \t\n", 0);
  std::string checked;
  for (const std::string& field : fields) {
    if (!checked.empty()) checked += ' ';
    checked += ReadScriptNumber(field.c_str(), false).fault ? FloatToString(GuiFloat(field)) : field;
  }
  return checked;
}

N_GuiAttributeRegistry& GuiAttributeRegistry() {
  static N_GuiAttributeRegistry registry;
  return registry;
}

const N_GuiClassAttributes* FindGuiClassAttributes(const std::string& className) {
  const auto& registry = GuiAttributeRegistry();
  const auto it = registry.find(className);
  return it == registry.end() ? nullptr : &it->second;
}

std::int32_t N_GuiWords::Parse(const std::string& word) const {
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i] && word == words[i]) return static_cast<std::int32_t>(i);
  }
  return fallback;
}

std::string N_GuiWords::Print(std::int32_t value) const {
  if (value >= 0 && static_cast<std::size_t>(value) < words.size() && words[std::size_t(value)])
    return words[std::size_t(value)];
  return words[std::size_t(fallback)];
}

bool N_GuiObject::RegisterClass(const char* className) {
  m_className = className;
  return GuiAttributeRegistry().try_emplace(m_className).second;
}

void N_GuiObject::AppendAttributes(std::span<const N_GuiAttributeRow> rows) {
  N_GuiClassAttributes& table = GuiAttributeRegistry()[m_className];
  for (const N_GuiAttributeRow& row : rows) {
    table.descriptors.push_back({row.name, row.help, row.type});
    table.accessors[row.name] = &row.accessor;
  }
}

const N_GuiAttributeAccessor* N_GuiObject::FindAccessor(const std::string& name) const {
  const N_GuiClassAttributes* table = FindGuiClassAttributes(m_className);
  if (!table) return nullptr;
  const auto it = table->accessors.find(name);
  return it == table->accessors.end() ? nullptr : it->second;
}

bool N_GuiObject::SetAttribute(const std::string& name, const std::string& value) {
  const N_GuiAttributeAccessor* accessor = FindAccessor(name);
  if (!accessor) return false;
  accessor->set(*this, value);
  return true;
}

std::string N_GuiObject::GetAttribute(const std::string& name) const {
  const N_GuiAttributeAccessor* accessor = FindAccessor(name);
  return accessor ? accessor->get(*this) : std::string();
}

void N_GuiObject::CopyAttributes(N_GuiObject& target) const {
  const N_GuiClassAttributes* table = FindGuiClassAttributes(m_className);
  if (!table) return;
  // Tables are built once and never change afterwards, so the list stays valid while
  // the target's setters run (the registry is a map: new tables move nothing).
  for (const N_GuiAttributeDesc& d : table->descriptors) target.SetAttribute(d.name, GetAttribute(d.name));
}
