#pragma once
// The GUI's attribute tables. Every element and effect class has a fixed list of
// named attributes, set and read as text: page scripts configure objects only through
// them, and templates are copied through them. A class's table lists its base's
// attributes first, then its own, and is built once, by the first object of the class
// (N_GuiObject::RegisterClass). The registry of all tables lives for the whole program
// and only grows.
//
// Text forms: a boolean is true only for exactly "true" and reads "true"/"false"; a
// number is atof of the text (its numeric prefix, 0 without one) and reads with six
// significant digits; an integer (also every colour) is atoi and reads in decimal;
// a text is kept as given (names, enumeration words). A number no page can mean (NaN,
// beyond the scripts' limit, a fraction where a whole number is read) is said in the
// log with the place of the script line, and taken as core's ReadScriptNumber has it.
#include "core/StringUtil.h"

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

class N_GuiObject;

enum class N_GuiAttributeType : std::uint32_t { Boolean = 0, Number = 1, Integer = 2, Text = 8 };

/// A number of an attribute's text (GuiFloat) or a whole number (GuiInt), checked.
float GuiFloat(const std::string& text);
std::int32_t GuiInt(const std::string& text);
/// A text of several numbers (a vector, a colour) with each checked as GuiFloat does;
/// a faulty one is replaced by the value taken, the others stay as written.
std::string GuiNumbers(const std::string& text);

/// Get and Set of one attribute of one class; stateless, of program lifetime.
struct N_GuiAttributeAccessor {
  std::string (*get)(const N_GuiObject& object);
  void (*set)(N_GuiObject& object, const std::string& value);
};

/// One attribute as the table lists it.
struct N_GuiAttributeDesc {
  std::string name;  ///< as written in page scripts; exact compare
  std::string help;  ///< one sentence
  N_GuiAttributeType type;
};

/// One row of a class's static table, appended by the class's builder.
struct N_GuiAttributeRow {
  const char* name;
  const char* help;
  N_GuiAttributeType type;
  N_GuiAttributeAccessor accessor;
};

/// The table of one class.
struct N_GuiClassAttributes {
  std::vector<N_GuiAttributeDesc> descriptors;  ///< base's rows first, in registration order
  std::map<std::string, const N_GuiAttributeAccessor*> accessors;
};

/// Class name (exact) -> table.
using N_GuiAttributeRegistry = std::map<std::string, N_GuiClassAttributes>;

/// The one registry.
N_GuiAttributeRegistry& GuiAttributeRegistry();
/// The table of a class, or null when no object of it was built yet (or it has none).
const N_GuiClassAttributes* FindGuiClassAttributes(const std::string& className);

/// The words of an enumeration attribute, defined once for reading and writing: value
/// i is words[i]; any other word gives the fallback value, any other value the
/// fallback's word. Words compare exactly.
struct N_GuiWords {
  std::array<const char*, 4> words{};  ///< unused entries null
  std::int32_t fallback = 0;

  std::int32_t Parse(const std::string& word) const;
  std::string Print(std::int32_t value) const;
};

// Accessors over a class's own getter and setter (member function pointers; virtual
// ones dispatch as usual). T is the class whose rows they serve: the table of a class
// is only ever used on objects of that class or of classes derived from it.
template <class T, auto Get, auto Set>
constexpr N_GuiAttributeAccessor BoolAccessor() {
  return {[](const N_GuiObject& o) { return BoolToString((static_cast<const T&>(o).*Get)()); },
          [](N_GuiObject& o, const std::string& v) { (static_cast<T&>(o).*Set)(StringToBool(v)); }};
}
template <class T, auto Get, auto Set>
constexpr N_GuiAttributeAccessor NumberAccessor() {
  return {[](const N_GuiObject& o) { return FloatToString((static_cast<const T&>(o).*Get)()); },
          [](N_GuiObject& o, const std::string& v) { (static_cast<T&>(o).*Set)(GuiFloat(v)); }};
}
template <class T, auto Get, auto Set>
constexpr N_GuiAttributeAccessor IntegerAccessor() {
  return {[](const N_GuiObject& o) { return IntToString((static_cast<const T&>(o).*Get)()); },
          [](N_GuiObject& o, const std::string& v) { (static_cast<T&>(o).*Set)(GuiInt(v)); }};
}
template <class T, auto Get, auto Set>
constexpr N_GuiAttributeAccessor TextAccessor() {
  return {[](const N_GuiObject& o) { return std::string((static_cast<const T&>(o).*Get)()); },
          [](N_GuiObject& o, const std::string& v) { (static_cast<T&>(o).*Set)(v); }};
}
template <class T, auto Get, auto Set, const N_GuiWords& Words>
constexpr N_GuiAttributeAccessor WordsAccessor() {
  return {[](const N_GuiObject& o) { return Words.Print((static_cast<const T&>(o).*Get)()); },
          [](N_GuiObject& o, const std::string& v) { (static_cast<T&>(o).*Set)(Words.Parse(v)); }};
}
