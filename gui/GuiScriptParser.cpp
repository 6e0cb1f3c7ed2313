#include "gui/GuiScriptParser.h"

#include "core/FileFinder.h"
#include "core/FormatString.h"
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
constexpr const char* kExpectingEffectType = "expecting 'effect type(name)'";
constexpr const char* kExpectingInheritance = "expecting ':' for element inheritance";
constexpr const char* kExpectingTemplateName = "expecting ':' templateName";


/// A message about the line read: the log, ending with the line's place.
[[gnu::format(printf, 1, 2)]] void Fault(const char* format, ...) {
  if (!g_log) return;
  va_list args;
  va_start(args, format);
  std::string text = FormatStringV(format, args, 2047);
  va_end(args);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  g_log->Print("%s%s\n", text.c_str(), GuiScriptPlaceSuffix().c_str());
}

/// A script's path as messages give it: below the working directory when it lies there.
std::string DisplayName(const std::string& path) {
  const std::string root = N_FileList::WorkingDirectory() + "\\";
  return path.compare(0, root.size(), root) == 0 ? path.substr(root.size()) : path;
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

/// What is wrong with the fields of an element line (keyword at k), or null; the
/// template name of a line that names one.
const char* ShapeFault(const std::vector<std::string>& fields, std::size_t k, std::string& templateName) {
  const std::size_t n = fields.size();
  if (n == k + 3) return nullptr;
  if (n == k + 5 && fields[k + 3] == ":") {
    templateName = fields[k + 4];
    return nullptr;
  }
  if (n < k + 3) return kExpectingTypeAndName;
  return n == k + 5 ? kExpectingInheritance : kExpectingTemplateName;
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
    PageAttribute{"zorder", [](N_GuiPage& p, const std::string& v) { p.SetZOrder(static_cast<std::uint16_t>(GuiInt(v))); }},
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

void N_GuiScriptParser::SetPlace(int line) const {
  SetGuiScriptPlace(m_file ? m_file->name + ":" + std::to_string(line) : std::string());
}

bool N_GuiScriptParser::NextLine(std::string& line) {
  while (m_file->text.ReadLine(line)) {
    if (IsSkipped(line)) continue;
    SetPlace(m_file->text.LineNumber());
    return true;
  }
  return false;
}

void N_GuiScriptParser::ReportCut(const std::string& what, int openedAt) {
  if (m_file->cutReported) return;
  m_file->cutReported = true;
  SetPlace(openedAt);
  Fault("!!! Gui file ends %s: what was read of it is kept\n", what.c_str());
}

void N_GuiScriptParser::SkipBlock(int openedAt) {
  if (!m_file->text.SkipPast('}')) ReportCut("inside a skipped block", openedAt);
}

void N_GuiScriptParser::ParseGuiFile(const std::string& path) {
  const std::optional<platform::FileIdentity> id = platform::IdentifyFile(path);
  // A file still being parsed is one that includes itself, directly or through others.
  if (id && (Holds(m_files.loadedIds, *id) || Holds(m_files.open, *id))) {
    LogLine("Skipping loading gui include: '%s as it is already loaded.%s\n", path.c_str(),
        GuiScriptPlaceSuffix().c_str());
    return;
  }
  std::string bytes;
  if (!id || !platform::ReadWholeFile(path, bytes)) {
    GuiReport("Gui file '%s' not found!\n", path.c_str());
    return;
  }
  LogLine("Parsing gui file '%s'\n", path.c_str());
  m_files.open.push_back(*id);
  N_GuiScriptText text(std::move(bytes));
  OpenFile file{text, DisplayName(path)};
  OpenFile* const includer = m_file;
  const std::string includerPlace = GuiScriptPlace();
  m_file = &file;
  N_GuiPage* page = nullptr;  // an included file starts outside any page
  int pageLine = 0;
  std::string line;
  while (NextLine(line)) {
    if (StartsWith(line, "#include")) {
      std::vector<std::string> fields;
      if (SplitString(line, fields, kIncludeDelimiters, 0).size() >= 2) {
        ParseGuiFile(DirectoryOf(path) + fields[1]);
      } else {
        Fault("!!! Bad include line: '%s' in gui file %s\n", line.c_str(), path.c_str());
      }
      continue;
    }
    if (IsRegisterShaderLine(line)) {
      std::vector<std::string> fields;
      if (SplitString(line, fields, kAttributeDelimiters, 1).size() >= 2) {
        GuiAddShader(fields[1]);
      } else {
        Fault("!!! Bad registershader line: '%s' in gui file %s, expecting a shader name\n", line.c_str(),
              path.c_str());
      }
      continue;
    }
    bool isTemplate = false;
    if (!page) {
      if (!StartsWith(line, "template")) {
        // The whole line names the page; its "{" is somewhere further down.
        page = m_mng.CreatePage(line);
        pageLine = text.LineNumber();
        if (!text.SkipPast('{')) ReportCut("before the '{' of page '" + line + "'", pageLine);
        continue;
      }
      isTemplate = true;
    } else if (line == "}") {
      page = nullptr;
      continue;
    }
    if (ParseElementBlock(line, page, isTemplate, nullptr)) continue;
    if (isTemplate) {
      ReportBadLine(line, kExpectingTypeAndName, nullptr, nullptr);
    } else {
      ParsePageAttribute(line, page);
    }
  }
  if (page) ReportCut("inside page '" + page->GetName() + "'", pageLine);
  m_file = includer;
  SetGuiScriptPlace(includerPlace);
  m_files.open.erase(std::find(m_files.open.begin(), m_files.open.end(), *id));
  m_files.loaded.push_back(path);
  m_files.loadedIds.push_back(*id);
}

bool N_GuiScriptParser::ParseElementBlock(const std::string& line, N_GuiPage* page, bool isTemplate,
                                          N_GuiElement* parent) {
  std::vector<std::string> fields;
  SplitString(line, fields, kElementDelimiters, 0);
  const std::size_t k = isTemplate && !fields.empty() && fields[0] == "template" ? 1 : 0;
  if (fields.size() <= k) return false;
  const std::string& keyword = fields[k];
  if (keyword == "effect") {
    ParseEffectLine(line, fields, k, page, isTemplate, parent);
    return true;
  }
  if (keyword != "container" && !(keyword == "element" && (isTemplate || parent))) return false;

  const int openedAt = m_file->text.LineNumber();
  // Children need a container; the reader recurses once per nested block.
  std::string why;
  if (parent && !parent->IsContainer()) {
    why = "a " + parent->GetTypeName() + " holds no child elements";
  } else if (m_depth >= kMaxDepth) {
    why = "blocks nest at most " + std::to_string(kMaxDepth) + " deep";
  }
  if (line.find('(') == std::string::npos) SplitString(WithGeneratedName(line), fields, kElementDelimiters, 0);
  std::string templateName;
  if (why.empty()) {
    if (const char* fault = ShapeFault(fields, k, templateName)) why = fault;
  }
  if (!why.empty()) {
    ReportBadLine(line, why, page, parent);
    SkipBlock(openedAt);
    return true;
  }
  if (!m_file->text.SkipPast('{')) {
    ReportCut("before the '{' of " + fields[k + 1] + " '" + fields[k + 2] + "'", openedAt);
    return true;
  }
  ParseElementBody(fields[k + 1], fields[k + 2], page, isTemplate, templateName, parent, openedAt);
  return true;
}

void N_GuiScriptParser::ParseEffectLine(const std::string& line, const std::vector<std::string>& fields,
                                        std::size_t k, N_GuiPage* page, bool isTemplate, N_GuiElement* parent) {
  const int openedAt = m_file->text.LineNumber();
  if (!m_file->text.SkipPast('{')) {
    ReportCut("before the '{' of the effect line '" + line + "'", openedAt);
    return;
  }
  const char* why = isTemplate ? "an effect joins a page, and a template has none"
                    : fields.size() <= k + 1 ? kExpectingEffectType
                                             : nullptr;
  if (!why) {
    ParseEffectBlock(fields[k + 1], page, openedAt);
    return;
  }
  const std::string kind = parent ? parent->GetTypeName() : page ? "page" : "template";
  const std::string name = parent ? parent->GetName() : page ? page->GetName() : std::string();
  Fault("!!! Bad effect line: '%s' in %s '%s', %s\n", line.c_str(), kind.c_str(), name.c_str(), why);
  SkipBlock(openedAt);
}

void N_GuiScriptParser::ReportBadLine(const std::string& line, const std::string& why, N_GuiPage* page,
                                      N_GuiElement* parent) const {
  // Without a parent the line stood in a page block, or in no page (a template).
  const std::string kind = parent ? parent->GetTypeName() : page ? "page" : "template";
  const std::string name = parent ? parent->GetName() : page ? page->GetName() : std::string();
  Fault("!!! Bad element/container line: '%s' in %s '%s', %s\n", line.c_str(), kind.c_str(), name.c_str(),
        why.c_str());
}

void N_GuiScriptParser::ParseElementBody(const std::string& type, std::string name, N_GuiPage* page,
                                         bool isTemplate, const std::string& templateName, N_GuiElement* parent,
                                         int openedAt) {
  if (name == "#") name = NextAutoName();
  N_GuiElement* element = m_mng.CreateFromTemplate(templateName, type, name, isTemplate);
  if (!element) {
    SkipBlock(openedAt);  // reported by the manager
    return;
  }
  if (parent) {
    static_cast<N_GuiContainer*>(parent)->Add(element);  // only containers get here
  } else if (page && !isTemplate) {
    page->AddElement(element);
  }
  ++m_depth;
  bool closed = false;
  std::string line;
  while (NextLine(line)) {
    if (line == "}") {
      closed = true;
      break;
    }
    if (!ParseElementBlock(line, page, isTemplate, element)) ParseElementAttribute(line, page, element);
  }
  --m_depth;
  if (!closed) ReportCut("inside the block of " + type + " '" + name + "'", openedAt);
}

void N_GuiScriptParser::ParseElementAttribute(const std::string& line, N_GuiPage* page, N_GuiElement* element) {
  const auto attribute = SplitAttribute(line, kAttributeDelimiters);
  if (!attribute || !element->SetAttribute(attribute->first, Localised(attribute->second))) {
    Fault("!!! Bad attribute line: '%s' for element %s in overlay %s\n", line.c_str(), element->GetName().c_str(),
          page ? page->GetName().c_str() : "");
  }
}

void N_GuiScriptParser::ParseEffectBlock(const std::string& type, N_GuiPage* page, int openedAt) {
  N_GuiEffect* effect = m_mng.CreateEffect(type);
  if (!effect) {
    SkipBlock(openedAt);  // reported by the manager
    return;
  }
  if (page) page->AddEffect(effect);
  bool closed = false;
  std::string line;
  while (NextLine(line)) {
    if (line == "}") {
      closed = true;
      break;
    }
    const auto attribute = SplitAttribute(line, kEffectDelimiters);
    if (!attribute || !effect->SetAttribute(attribute->first, attribute->second)) {
      Fault("!!! Bad attribute line: '%s' for effect type %s in overlay %s\n", line.c_str(), type.c_str(),
            page ? page->GetName().c_str() : "");
    }
  }
  if (!closed) ReportCut("inside the block of effect " + type, openedAt);
}

void N_GuiScriptParser::ParsePageAttribute(const std::string& line, N_GuiPage* page) {
  if (const auto attribute = SplitAttribute(line, kAttributeDelimiters)) {
    for (const PageAttribute& known : kPageAttributes) {
      if (known.key != attribute->first) continue;
      known.apply(*page, attribute->second);
      return;
    }
  }
  Fault("!!! Bad attribute line: '%s' for gui page %s\n", line.c_str(), page->GetName().c_str());
}
