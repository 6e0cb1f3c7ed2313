#pragma once
// The factories behind the type words of the page scripts ("Button", "Fade" ...): one
// small stateless object per creatable class, registered with the GUI manager under
// its type word, which is also what the created objects answer with GetTypeName.
// Destroy is one shared operation: a delete through the virtual destructor.
#include <memory>
#include <new>
#include <string>

class N_GuiEffect;
class N_GuiElement;
class N_GuiObject;

class GuiElementFactory {
 public:
  virtual ~GuiElementFactory() = default;
  /// A new element of the class with that name; null when memory runs out.
  virtual N_GuiElement* Create(const std::string& name) = 0;
  /// Deletes the object; null does nothing.
  virtual void Destroy(N_GuiObject* object);
  virtual const std::string& TypeName() const = 0;
};

class GuiEffectFactory {
 public:
  virtual ~GuiEffectFactory() = default;
  virtual N_GuiEffect* Create() = 0;
  /// Deletes the object; null does nothing.
  virtual void Destroy(N_GuiObject* object);
  virtual const std::string& TypeName() const = 0;
};

/// The factory of element class T (which names its word in T::kTypeName).
template <class T>
class N_GuiElementFactoryOf final : public GuiElementFactory {
 public:
  N_GuiElement* Create(const std::string& name) override { return new (std::nothrow) T(name); }
  const std::string& TypeName() const override {
    static const std::string word(T::kTypeName);
    return word;
  }
};

/// The factory of effect class T.
template <class T>
class N_GuiEffectFactoryOf final : public GuiEffectFactory {
 public:
  N_GuiEffect* Create() override { return new (std::nothrow) T(); }
  const std::string& TypeName() const override {
    static const std::string word(T::kTypeName);
    return word;
  }
};
