#pragma once
// N_GuiObject: the root of every GUI element and effect, an attribute holder. Its
// class name keys the object's table in the attribute registry (GuiAttributes.h).
//
// Registration, in every constructor of a class that a factory can create:
//   if (RegisterClass("N_GuiText")) N_GuiText::BuildAttributes();
// RegisterClass names the object's class (replacing the name a base constructor gave)
// and answers true only when it made the class's empty table; the class's builder then
// calls its base's builder and appends its own rows. So every table is built once and
// lists the inherited attributes first; abstract bases never register.
#include "gui/GuiAttributes.h"

#include <span>
#include <string>

class N_GuiObject {
 public:
  N_GuiObject() = default;
  virtual ~N_GuiObject() = default;
  N_GuiObject(const N_GuiObject&) = delete;
  N_GuiObject& operator=(const N_GuiObject&) = delete;

  /// False when the class has no table or no attribute of that name (nothing changes);
  /// true otherwise, whatever the setter made of the value.
  virtual bool SetAttribute(const std::string& name, const std::string& value);
  /// The attribute's text; empty when the class or the attribute is missing.
  virtual std::string GetAttribute(const std::string& name) const;
  /// Sets every attribute of this object's class on the target, in table order; the
  /// names the target's class does not know are skipped.
  virtual void CopyAttributes(N_GuiObject& target) const;
  void CopyAttributesFrom(const N_GuiObject& source) { source.CopyAttributes(*this); }

  /// The most-derived registered class; empty before any registration.
  const std::string& GetClassName() const { return m_className; }

 protected:
  /// Names the object's class; true when the class's table was created by this call.
  bool RegisterClass(const char* className);
  /// Appends rows to the table of the object's current class (for the builders).
  void AppendAttributes(std::span<const N_GuiAttributeRow> rows);

 private:
  const N_GuiAttributeAccessor* FindAccessor(const std::string& name) const;

  std::string m_className;
};
