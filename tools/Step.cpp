#include "tools/Step.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace datagen {

namespace {

std::vector<Step>& Registry() {
  static std::vector<Step> steps;
  return steps;
}

bool SameContent(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::error_code ec;
  if (std::filesystem::file_size(path, ec) != bytes.size() || ec) return false;
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return std::equal(old.begin(), old.end(), bytes.begin(), bytes.end(),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

}  // namespace

bool Output::Write(std::string_view relative, const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path path = m_root / std::filesystem::path(relative);
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) {
    std::fprintf(stderr, "datagen: cannot create %s: %s\n", path.parent_path().c_str(), ec.message().c_str());
    return false;
  }
  ++m_files;
  if (SameContent(path, bytes)) return true;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

std::vector<Step> Steps() {
  std::vector<Step> steps = Registry();
  std::sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) { return std::string_view(a.name) < b.name; });
  return steps;
}

StepRegistrar::StepRegistrar(const Step& step) { Registry().push_back(step); }

}  // namespace datagen
