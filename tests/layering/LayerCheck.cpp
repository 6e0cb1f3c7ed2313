#include "tests/layering/LayerCheck.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace layering {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  return parts;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) {
    while (word.size() > 1 && word.back() == '/') word.pop_back();
    words.push_back(word);
  }
  return words;
}

std::string TopFolder(const std::string& path) { return path.substr(0, path.find('/')); }

bool IsSource(const fs::path& path) {
  static const char* const kExtensions[] = {".h", ".hh", ".hpp", ".inl", ".ipp", ".c", ".cc", ".cpp", ".cxx"};
  const std::string ext = path.extension().string();
  return std::find(std::begin(kExtensions), std::end(kExtensions), ext) != std::end(kExtensions);
}

bool HoldsSources(const fs::path& dir) {
  std::error_code ec;
  for (fs::recursive_directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec), end;
       !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec) && IsSource(it->path())) return true;
  }
  return false;
}

/// The root-relative path an include names, "" when it leaves the tree. A quoted include
/// is looked up beside the including file first, as the compiler does.
std::string Target(const fs::path& root, const std::string& file, const std::string& include, bool quoted) {
  fs::path relative = fs::path(include).lexically_normal();
  if (quoted) {
    const fs::path beside = (fs::path(file).parent_path() / include).lexically_normal();
    std::error_code ec;
    if (fs::exists(root / beside, ec)) relative = beside;
  }
  const std::string text = relative.generic_string();
  if (relative.is_absolute() || text.empty() || text.rfind("..", 0) == 0) return "";
  return text;
}

void CheckFile(const fs::path& root, const std::string& file, const LayerTable& table, Report& report) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  const LayerTable::Place from = table.Find(file);
  std::ifstream in(root / file, std::ios::binary);
  std::string line;
  int number = 0;
  ++report.files;
  while (std::getline(in, line)) {
    ++number;
    std::smatch match;
    if (!std::regex_search(line, match, kInclude)) continue;
    const std::string include = match[2];
    const std::string target = Target(root, file, include, match[1] == "\"");
    if (target.empty()) continue;
    const std::string quoted = "includes \"" + include + "\": ";
    if (table.IsOutside(TopFolder(target))) {
      ++report.includes;
      report.violations.push_back(
          {file, number, quoted + TopFolder(target) + "/ stands outside the layers, above " + from.folder + "/"});
      continue;
    }
    const LayerTable::Place to = table.Find(target);
    if (to.layer < 0) continue;  // no folder of the tree: a system or library header
    ++report.includes;
    if (to.layer > from.layer) {
      report.violations.push_back({file, number, quoted + to.folder + "/ lies above " + from.folder + "/"});
    } else if (to.layer == from.layer && to.group != from.group) {
      report.violations.push_back({file, number, quoted + to.folder + "/ and " + from.folder + "/ stand side by side"});
    }
  }
}

}  // namespace

LayerTable::LayerTable(const std::vector<std::string>& layers, const std::vector<std::string>& outside) {
  for (int layer = 0; layer < static_cast<int>(layers.size()); ++layer) {
    const std::vector<std::string> groups = Split(layers[layer], '|');
    for (int group = 0; group < static_cast<int>(groups.size()); ++group) {
      for (const std::string& folder : Words(groups[group])) m_entries.push_back({folder, layer, group});
    }
  }
  for (const std::string& folder : outside) {
    for (const std::string& word : Words(folder)) m_outside.push_back(word);
  }
}

LayerTable::Place LayerTable::Find(const std::string& path) const {
  Place place;
  std::size_t best = 0;
  for (const Entry& entry : m_entries) {
    const std::string& folder = entry.folder;
    const bool inside =
        path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
    if (inside && folder.size() > best) {
      best = folder.size();
      place = {entry.layer, entry.group, folder};
    }
  }
  return place;
}

bool LayerTable::IsOutside(const std::string& topFolder) const {
  return std::find(m_outside.begin(), m_outside.end(), topFolder) != m_outside.end();
}

bool LayerTable::IsListed(const std::string& topFolder) const {
  return std::any_of(m_entries.begin(), m_entries.end(),
                     [&](const Entry& entry) { return TopFolder(entry.folder) == topFolder; });
}

Report Check(const fs::path& root, const LayerTable& table) {
  Report report;
  std::vector<std::string> files;
  std::error_code ec;
  for (fs::directory_iterator top(root, ec), end; !ec && top != end; top.increment(ec)) {
    const std::string name = top->path().filename().string();
    if (!top->is_directory(ec) || name.empty() || name[0] == '.' || table.IsOutside(name)) continue;
    if (!table.IsListed(name)) {
      if (!fs::exists(top->path() / "CMakeCache.txt", ec) && HoldsSources(top->path())) {
        report.violations.push_back(
            {name, 0, "the folder holds sources but is in no layer: add it to the layer table"});
      }
      continue;
    }
    for (fs::recursive_directory_iterator it(top->path(), fs::directory_options::skip_permission_denied, ec), last;
         !ec && it != last; it.increment(ec)) {
      if (!it->is_regular_file(ec) || !IsSource(it->path())) continue;
      const std::string file = it->path().lexically_relative(root).generic_string();
      if (table.Find(file).layer >= 0) files.push_back(file);
    }
  }
  std::sort(files.begin(), files.end());
  for (const std::string& file : files) CheckFile(root, file, table, report);
  std::stable_sort(report.violations.begin(), report.violations.end(), [](const Violation& a, const Violation& b) {
    return a.file != b.file ? a.file < b.file : a.line < b.line;
  });
  return report;
}

std::string Format(const Violation& violation) {
  if (violation.line == 0) return violation.file + "/: " + violation.message;
  return violation.file + ":" + std::to_string(violation.line) + ": " + violation.message;
}

}  // namespace layering
