#pragma once
// One variable: a value held at once as float, integer and text, with flags.
#include <cstdint>
#include <string>

class N_Var {
 public:
  static constexpr std::uint32_t kBuiltin = 0x01;
  static constexpr std::uint32_t kSet = 0x02;       ///< set through a Set operation
  static constexpr std::uint32_t kReadOnly = 0x08;  ///< information published by the program
  static constexpr std::uint32_t kSaved = 0x20;     ///< written to "config.cfg"

  N_Var(const char* name, const char* text, std::uint32_t flags);
  N_Var(const char* name, int value, std::uint32_t flags);
  N_Var(const char* name, float value, std::uint32_t flags);

  /// integer = i; float = i; text = "%i".
  void AssignInt(int value);
  /// float = f; integer = f truncated (saturated); text "%i" when integral, else "%f".
  void AssignFloat(float value);
  /// A null text changes nothing; else text = copy, integer = atoi, float = atof.
  void AssignText(const char* text);

  const std::string& Name() const { return m_name; }
  /// Made with a number (integer or float), so that a settings file must give it one;
  /// a variable made with a text takes any text.
  bool Numeric() const { return m_numeric; }
  float Float() const { return m_float; }
  int Int() const { return m_int; }
  const char* Text() const { return m_text.c_str(); }
  std::uint32_t Flags() const { return m_flags; }
  void SetFlags(std::uint32_t flags) { m_flags = flags; }

 private:
  std::string m_name;
  float m_float = 0.0f;
  int m_int = 0;
  std::string m_text;
  std::uint32_t m_flags = 0;
  bool m_numeric = false;
};
