#pragma once
// Name <-> value tables of the script readers. Each table is written once and serves
// both directions: parsing a word (compared without regard to case) and printing a
// value back as its name.
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

template <typename T>
struct Named {
  std::string_view name;
  T value;
};

/// ASCII lower case, usable in constant expressions.
constexpr char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

/// Three-way comparison without regard to case, as _stricmp orders names.
constexpr int CompareNoCase(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = static_cast<unsigned char>(LowerAscii(a[i]));
    const unsigned char y = static_cast<unsigned char>(LowerAscii(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

/// The value of the first row whose name equals the word without regard to case.
template <typename T, std::size_t N>
constexpr std::optional<T> FindNamed(const std::array<Named<T>, N>& table, std::string_view word) {
  for (const Named<T>& row : table) {
    if (CompareNoCase(row.name, word) == 0) return row.value;
  }
  return std::nullopt;
}

/// The name of the first row holding the value; empty when none does.
template <typename T, std::size_t N>
constexpr std::string_view NameOf(const std::array<Named<T>, N>& table, T value) {
  for (const Named<T>& row : table) {
    if (row.value == value) return row.name;
  }
  return {};
}
