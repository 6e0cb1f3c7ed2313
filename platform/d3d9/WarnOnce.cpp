#include "platform/d3d9/WarnOnce.h"

#include "platform/win32/Debug.h"

#include <set>
#include <string>

namespace platform::d3d9 {

void WarnOnce(const char* what) {
  static std::set<std::string> seen;
  if (!seen.insert(what).second) return;
  OutputDebugStringA(("Direct3D over OpenGL: not supported, ignored: " + std::string(what) + "\n").c_str());
}

}  // namespace platform::d3d9
