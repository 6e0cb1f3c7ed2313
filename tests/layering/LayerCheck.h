#pragma once
// The layering check: every #include of a layer folder must name a folder of a lower
// layer, its own folder group, or no folder of the tree at all (system headers).
//
// A layer is one text of the layer table: folder groups separated by "|" stand side by
// side and include neither each other; folders separated by spaces form one group and
// include each other freely ("race race/ai"). A file belongs to the longest listed
// folder its path starts with; unlisted subfolders belong to their parent. Folders
// outside the layers may include any layer but no layer may include them.
#include <filesystem>
#include <string>
#include <vector>

namespace layering {

struct Violation {
  std::string file;  ///< relative to the root, with "/"
  int line = 0;      ///< 1-based; 0 for a finding about a whole folder
  std::string message;
};

struct Report {
  std::vector<Violation> violations;
  int files = 0;     ///< source files of the layer folders read
  int includes = 0;  ///< includes of tree folders checked
};

class LayerTable {
 public:
  /// layers lowest first; outside: folders that stand outside the layers.
  LayerTable(const std::vector<std::string>& layers, const std::vector<std::string>& outside);

  struct Place {
    int layer = -1;  ///< -1: not a layer folder
    int group = -1;
    std::string folder;  ///< the listed folder that holds the path
  };
  /// Where a root-relative path ("race/ai/Path.h") lies.
  Place Find(const std::string& path) const;
  bool IsOutside(const std::string& topFolder) const;
  /// Whether some listed folder lies in this top folder.
  bool IsListed(const std::string& topFolder) const;

 private:
  struct Entry {
    std::string folder;
    int layer;
    int group;
  };
  std::vector<Entry> m_entries;
  std::vector<std::string> m_outside;
};

/// Reads every C/C++ source below the layer folders of root and checks its includes;
/// also reports a top folder that holds sources but is neither a layer nor outside
/// (hidden folders and build trees, which hold a CMakeCache.txt, are skipped).
Report Check(const std::filesystem::path& root, const LayerTable& table);

/// "file:line: message", one violation.
std::string Format(const Violation& violation);

}  // namespace layering
