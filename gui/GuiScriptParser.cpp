#include "gui/GuiScriptParser.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/StringTable.h"
#include "core/StringUtil.h"
#include "gui/GuiContainer.h"
#include "gui/GuiEffect.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiScriptText.h"
#include "gui/GuiServices.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdint>
#include <optional>

namespace {

// Field delimiters of the line forms.
constexpr const char* kElementDelimiters = "\t\n ()";
constexpr const char* kIncludeDelimiters = "\t\n ()<>";
constexpr const char* kAttributeDelimiters = "\t ";
constexpr const char* kEffectDelimiters = " \t";

constexpr const char* kExpectingTypeAndName = "expecting 'element type(name)'";
constexpr const char* kExpectingInheritance = "expecting ':' for element inheritance";
constexpr const char* kExpectingTemplateName = "expecting ':' templateName";

/// The parser's own messages go to the log (the manager's to the error reporter).
[[gnu::format(printf, 1, 2)]] void Log(const char* format, ...) {
  if (!g_log) return;
  va_list args;
  va_start(args, format);
  g_log->PrintV(format, args);
  va_end(args);
}

bool StartsWith(const std::string& text, std::string_view prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

bool IsSkipped(const std::string& line) { return line.empty() || StartsWith(line, "//"); }

/// "registershader" in any case at the start of the line.
bool IsRegisterShaderLine(const std::string& line) {
  constexpr std::string_view kWord = "registershader";
  return line.size() >= kWord.size() && platform::EqualsNoCase(std::string_view(line).substr(0, kWord.size()), kWord);
}

/// A key and the rest of the line after it; the key lower-cased. No value: nullopt.
std::optional<std::pair<std::string, std::string>> SplitAttribute(const std::string& line, const char* delimiters) {
  std::vector<std::string> fields;
  SplitString(line, fields, delimiters, 1);
  if (fields.size() < 2) return std::nullopt;
  StringToLower(fields[0]);
  return std::pair{fields[0], fields[1]};
}

/// A value starting "#" is a key of the string table (a missing key gives "").
std::string Localised(const std::string& value) {
  if (value.empty() || value[0] != '#') return value;
  return g_stringTable ? g_stringTable->Find(value) : std::string();
}

/// "#" inserted as the name of an element line without one: before the first ':', or
/// at the end.
std::string WithGeneratedName(const std::string& line) {
  std::string named = line;
  const std::size_t colon = named.find(':');
  named.insert(colon == std::string::npos ? named.size() : colon, "(#)");
  return named;
}

/// The directory of a script path, with its separator ("" when it has none).
std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool Holds(const std::vector<platform::FileIdentity>& ids, const platform::FileIdentity& id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

struct PageAttribute {
  std::string_view key;
  void (*apply)(N_GuiPage& page, const std::string& value);
};

constexpr std::array kPageAttributes{
    PageAttribute{"zorder", [](N_GuiPage& p, const std::string& v) { p.SetZOrder(static_cast<std::uint16_t>(StringToInt(v))); }},
    PageAttribute{"music", [](N_GuiPage& p, const std::string& v) { p.SetMusic(v); }},
    PageAttribute{"showcursor", [](N_GuiPage& p, const std::string& v) { p.SetShowCursor(StringToBool(v)); }},
    PageAttribute{"modal", [](N_GuiPage& p, const std::string& v) { p.SetModal(StringToBool(v)); }},
    PageAttribute{"onshow", [](N_GuiPage& p, const std::string& v) { p.SetOnShow(v); }},
};

}  // namespace

std::string N_GuiScriptParser::NextAutoName() {
  static std::uint32_t counter = 0;  // counts every generated name of the program run
  return "AutoElem" + std::to_string(counter++);
}

void N_GuiScriptParser::ParseGuiFile(const std::string& path) {
  const std::optional<platform::FileIdentity> id = platform::IdentifyFile(path);
  // A file still being parsed is one that includes itself, directly or through others.
  if (id && (Holds(m_files.loadedIds, *id) || Holds(m_files.open, *id))) {
    Log("Skipping loading gui include: '%s as it is already loaded.\n", path.c_str());
    return;
  }
  std::string bytes;
  if (!id || !platform::ReadWholeFile(path, bytes)) {
    GuiReport("Gui file '%s' not found!\n", path.c_str());
    return;
  }
  Log("Parsing gui file '%s'\n", path.c_str());
  m_files.open.push_back(*id);
  N_GuiScriptText file(std::move(bytes));
  N_GuiPage* page = nullptr;  // an included file starts outside any page
  std::string line;
  while (file.ReadLine(line)) {
    if (IsSkipped(line)) continue;
    if (StartsWith(line, "#include")) {
      std::vector<std::string> fields;
      if (SplitString(line, fields, kIncludeDelimiters, 0).size() >= 2) {
        ParseGuiFile(DirectoryOf(path) + fields[1]);
      } else {
        Log("!!! Bad include line: '%s' in gui file %s\n", line.c_str(), path.c_str());
      }
      continue;
    }
    if (IsRegisterShaderLine(line)) {
      std::vector<std::string> fields;
      if (SplitString(line, fields, kAttributeDelimiters, 1).size() >= 2) GuiAddShader(fields[1]);
      continue;
    }
    bool isTemplate = false;
    if (!page) {
      if (!StartsWith(line, "template")) {
        // The whole line names the page; its "{" is somewhere further down.
        page = m_mng.CreatePage(line);
        file.SkipPast('{');
        continue;
      }
      isTemplate = true;
    } else if (line == "}") {
      page = nullptr;
      continue;
    }
    if (ParseElementBlock(file, line, page, isTemplate, nullptr)) continue;
    if (isTemplate) {
      ReportBadLine(line, kExpectingTypeAndName, nullptr, nullptr);
    } else {
      ParsePageAttribute(line, page);
    }
  }
  m_files.open.erase(std::find(m_files.open.begin(), m_files.open.end(), *id));
  m_files.loaded.push_back(path);
  m_files.loadedIds.push_back(*id);
}

bool N_GuiScriptParser::ParseElementBlock(N_GuiScriptText& file, const std::string& line, N_GuiPage* page,
                                          bool isTemplate, N_GuiElement* parent) {
  std::vector<std::string> fields;
  SplitString(line, fields, kElementDelimiters, 0);
  const std::size_t k = isTemplate && !fields.empty() && fields[0] == "template" ? 1 : 0;
  if (fields.size() <= k) return false;
  const std::string& keyword = fields[k];
  if (keyword == "effect") {
    file.SkipPast('{');
    if (isTemplate) {
      file.SkipPast('}');  // an effect joins a page, and a template has none
    } else {
      ParseEffectBlock(file, fields.size() > k + 1 ? fields[k + 1] : std::string(), page);
    }
    return true;
  }
  if (keyword != "container" && !(keyword == "element" && (isTemplate || parent))) return false;

  // Children need a container; the reader recurses once per nested block.
  if ((parent && !parent->IsContainer()) || m_depth >= kMaxDepth) {
    ReportBadLine(line, kExpectingTypeAndName, page, parent);
    file.SkipPast('}');
    return true;
  }
  if (line.find('(') == std::string::npos) SplitString(WithGeneratedName(line), fields, kElementDelimiters, 0);
  std::string templateName;
  const std::size_t n = fields.size();
  const char* fault = nullptr;
  if (n == k + 5 && fields[k + 3] == ":") {
    templateName = fields[k + 4];
  } else if (n < k + 3) {
    fault = kExpectingTypeAndName;
  } else if (n == k + 5) {
    fault = kExpectingInheritance;
  } else if (n != k + 3) {
    fault = kExpectingTemplateName;
  }
  if (fault) {
    ReportBadLine(line, fault, page, parent);
    file.SkipPast('}');
    return true;
  }
  file.SkipPast('{');
  ParseElementBody(file, fields[k + 1], fields[k + 2], page, isTemplate, templateName, parent);
  return true;
}

void N_GuiScriptParser::ReportBadLine(const std::string& line, const char* expecting, N_GuiPage* page,
                                      N_GuiElement* parent) const {
  // Without a parent the line stood in a page block, or in no page (a template).
  const std::string kind = parent ? parent->GetTypeName() : page ? "page" : "template";
  const std::string name = parent ? parent->GetName() : page ? page->GetName() : std::string();
  Log("!!! Bad element/container line: '%s' in %s '%s', %s\n", line.c_str(), kind.c_str(), name.c_str(), expecting);
}

void N_GuiScriptParser::ParseElementBody(N_GuiScriptText& file, const std::string& type, std::string name,
                                         N_GuiPage* page, bool isTemplate, const std::string& templateName,
                                         N_GuiElement* parent) {
  if (name == "#") name = NextAutoName();
  N_GuiElement* element = m_mng.CreateFromTemplate(templateName, type, name, isTemplate);
  if (!element) {
    file.SkipPast('}');  // reported by the manager
    return;
  }
  if (parent) {
    static_cast<N_GuiContainer*>(parent)->Add(element);  // only containers get here
  } else if (page && !isTemplate) {
    page->AddElement(element);
  }
  ++m_depth;
  std::string line;
  while (file.ReadLine(line)) {
    if (IsSkipped(line)) continue;
    if (line == "}") break;
    if (!ParseElementBlock(file, line, page, isTemplate, element)) ParseElementAttribute(line, page, element);
  }
  --m_depth;
}

void N_GuiScriptParser::ParseElementAttribute(const std::string& line, N_GuiPage* page, N_GuiElement* element) {
  const auto attribute = SplitAttribute(line, kAttributeDelimiters);
  if (!attribute || !element->SetAttribute(attribute->first, Localised(attribute->second))) {
    Log("!!! Bad attribute line: '%s' for element %s in overlay %s\n", line.c_str(), element->GetName().c_str(),
        page ? page->GetName().c_str() : "");
  }
}

void N_GuiScriptParser::ParseEffectBlock(N_GuiScriptText& file, const std::string& type, N_GuiPage* page) {
  N_GuiEffect* effect = type.empty() ? nullptr : m_mng.CreateEffect(type);
  if (!effect) {
    file.SkipPast('}');
    return;
  }
  if (page) page->AddEffect(effect);
  std::string line;
  while (file.ReadLine(line)) {
    if (IsSkipped(line)) continue;
    if (line == "}") break;
    const auto attribute = SplitAttribute(line, kEffectDelimiters);
    if (!attribute || !effect->SetAttribute(attribute->first, attribute->second)) {
      Log("!!! Bad attribute line: '%s' for effect type %s in overlay %s\n", line.c_str(), type.c_str(),
          page ? page->GetName().c_str() : "");
    }
  }
}

void N_GuiScriptParser::ParsePageAttribute(const std::string& line, N_GuiPage* page) {
  if (const auto attribute = SplitAttribute(line, kAttributeDelimiters)) {
    for (const PageAttribute& known : kPageAttributes) {
      if (known.key != attribute->first) continue;
      known.apply(*page, attribute->second);
      return;
    }
  }
  Log("!!! Bad attribute line: '%s' for gui page %s\n", line.c_str(), page->GetName().c_str());
}
