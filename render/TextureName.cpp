#include "render/TextureName.h"

std::string CutTextureExtension(std::string_view name) {
  for (std::size_t i = name.size(); i-- > 1;) {
    const char c = name[i];
    if (c == '/' || c == '\\') break;  // the dot of a folder is no extension
    if (c == '.') return std::string(name.substr(0, i));
  }
  return std::string(name);
}
