#pragma once
// The benchmarks' scratch folder: private to the process (two runs at once never share
// it) and removed when it exits.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace bench {

namespace detail {
inline std::string& TempFolderPath() {
  static std::string path;
  return path;
}
inline pid_t& TempFolderOwner() {
  static pid_t owner = 0;
  return owner;
}
inline void RemoveTempFolder() {
  if (TempFolderOwner() != ::getpid()) return;
  std::error_code ec;
  std::filesystem::current_path("/", ec);  // a benchmark may have worked in it
  std::filesystem::remove_all(TempFolderPath(), ec);
}
}  // namespace detail

/// "navo-bench-XXXXXX" below the system's temporary folder, made on the first call.
inline std::filesystem::path TempFolder() {
  std::string& path = detail::TempFolderPath();
  if (path.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "navo-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
      std::perror("navo bench: mkdtemp");
      std::abort();
    }
    path = pattern;
    detail::TempFolderOwner() = ::getpid();
    std::atexit(detail::RemoveTempFolder);
  }
  return path;
}

}  // namespace bench
