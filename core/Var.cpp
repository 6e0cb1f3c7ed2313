#include "core/Var.h"

#include "core/Convert.h"

#include <cmath>
#include <cstdio>

N_Var::N_Var(const char* name, const char* text, std::uint32_t flags)
    : m_name(name ? name : ""), m_flags(flags) {
  AssignText(text ? text : "");
}

N_Var::N_Var(const char* name, int value, std::uint32_t flags)
    : m_name(name ? name : ""), m_flags(flags), m_numeric(true) {
  AssignInt(value);
}

N_Var::N_Var(const char* name, float value, std::uint32_t flags)
    : m_name(name ? name : ""), m_flags(flags), m_numeric(true) {
  AssignFloat(value);
}

void N_Var::AssignInt(int value) {
  m_int = value;
  m_float = static_cast<float>(value);
  m_text = std::to_string(value);
}

void N_Var::AssignFloat(float value) {
  m_float = value;
  m_int = SaturatingTruncate(value);
  char buffer[64];
  if (std::isfinite(value) && value == std::floor(value)) {
    // Integral: "%i" of the integer, or "%.0f" when it lies outside the int range.
    if (static_cast<double>(value) == static_cast<double>(m_int)) {
      std::snprintf(buffer, sizeof buffer, "%i", m_int);
    } else {
      std::snprintf(buffer, sizeof buffer, "%.0f", static_cast<double>(value));
    }
  } else {
    std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(value));
  }
  m_text = buffer;
}

void N_Var::AssignText(const char* text) {
  if (!text) return;
  m_text = text;
  m_int = SaturatingAtoi(text);
  m_float = static_cast<float>(PlainAtof(text));
}
