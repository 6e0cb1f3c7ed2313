#include "gui/GuiMng.h"

#include "core/FileFinder.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "gui/GuiContainer.h"
#include "gui/GuiEffect.h"
#include "gui/GuiFactory.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"

#include <algorithm>

N_GuiMng::N_GuiMng() = default;

N_GuiMng::~N_GuiMng() {
  DestroyDoomed();
  DestroyAll(m_elements);
  DestroyAll(m_templates);
  for (N_GuiEffect* effect : m_effects) {
    if (GuiEffectFactory* factory = FindEffectFactory(effect->GetTypeName())) {
      factory->Destroy(effect);
    } else {
      // Every factory's Destroy is the same delete: the effect goes all the same.
      GuiReport("Cannot locate factory for effect type %s.\n", effect->GetTypeName().c_str());
      delete effect;
    }
  }
  m_effects.clear();
  m_cursor = nullptr;
  m_cursorPage = nullptr;
  m_modalPage = nullptr;
  m_pages.clear();
  m_refusedPages.clear();
  m_elementFactories.clear();
  m_effectFactories.clear();
}

void N_GuiMng::DestroyAll(ElementMap& elements) {
  for (auto& [name, element] : elements) {
    if (GuiElementFactory* factory = FindElementFactory(element->GetTypeName())) {
      factory->Destroy(element);
    } else {
      // Every factory's Destroy is the same delete: the element goes all the same.
      GuiReport("Cannot locate factory for element %s.\n", name.c_str());
      delete element;
    }
  }
  elements.clear();
}

void N_GuiMng::RegisterElementFactory(std::unique_ptr<GuiElementFactory> factory) {
  if (!factory) return;
  const std::string type = factory->TypeName();
  m_elementFactories.try_emplace(type, std::move(factory));
  if (g_log) g_log->Print(" +    GuiElementFactory for type %s registered.\n", type.c_str());
}

void N_GuiMng::RegisterEffectFactory(std::unique_ptr<GuiEffectFactory> factory) {
  if (!factory) return;
  const std::string type = factory->TypeName();
  m_effectFactories.try_emplace(type, std::move(factory));
  if (g_log) g_log->Print(" +    GuiEffectFactory for type %s registered.\n", type.c_str());
}

GuiElementFactory* N_GuiMng::FindElementFactory(const std::string& type) const {
  const auto it = m_elementFactories.find(type);
  return it == m_elementFactories.end() ? nullptr : it->second.get();
}

GuiEffectFactory* N_GuiMng::FindEffectFactory(const std::string& type) const {
  const auto it = m_effectFactories.find(type);
  return it == m_effectFactories.end() ? nullptr : it->second.get();
}

N_GuiPage* N_GuiMng::CreatePage(const std::string& name) {
  auto page = std::make_unique<N_GuiPage>(name);
  N_GuiPage* created = page.get();
  const auto [it, inserted] = m_pages.try_emplace(name, std::move(page));
  if (!inserted) m_refusedPages.push_back(std::move(page));
  m_drawOrderDirty = true;
  return created;
}

N_GuiPage* N_GuiMng::GetPage(const std::string& name) const {
  const auto it = m_pages.find(name);
  return it == m_pages.end() ? nullptr : it->second.get();
}

N_GuiElement* N_GuiMng::CreateElement(const std::string& type, const std::string& name, bool isTemplate) {
  ElementMap& elements = isTemplate ? m_templates : m_elements;
  if (elements.count(name)) {
    GuiReport("N_GuiElement with name %s already exists.\n", name.c_str());
    return nullptr;
  }
  GuiElementFactory* factory = FindElementFactory(type);
  if (!factory) {
    GuiReport("Cannot locate factory for element type %s.\n", type.c_str());
    return nullptr;
  }
  N_GuiElement* element = factory->Create(name);
  if (element) elements.emplace(name, element);
  return element;
}

N_GuiElement* N_GuiMng::GetElement(const std::string& name, bool isTemplate) const {
  const ElementMap& elements = isTemplate ? m_templates : m_elements;
  const auto it = elements.find(name);
  if (it == elements.end()) {
    GuiReport("N_GuiElement with name %s not found.\n", name.c_str());
    return nullptr;
  }
  return it->second;
}

bool N_GuiMng::IsTemplate(const N_GuiElement* element) const {
  if (!element) return false;
  const auto it = m_templates.find(element->GetName());
  return it != m_templates.end() && it->second == element;
}

void N_GuiMng::DestroyElement(const std::string& name, bool isTemplate) {
  ElementMap& elements = isTemplate ? m_templates : m_elements;
  const auto it = elements.find(name);
  if (it == elements.end()) {
    GuiReport("N_GuiElement with name %s not found.\n", name.c_str());
    return;
  }
  N_GuiElement* element = it->second;
  GuiElementFactory* factory = FindElementFactory(element->GetTypeName());
  if (!factory) {
    GuiReport("Cannot locate factory for element type %s.\n", element->GetTypeName().c_str());
    return;
  }
  elements.erase(it);
  Unlink(element);
  if (m_dispatchDepth > 0) {
    // An event is being handled, perhaps by this very element (its callback destroys
    // it) or one inside it: it is deleted once the dispatch has returned.
    m_doomed.emplace_back(factory, element);
  } else {
    factory->Destroy(element);
  }
}

void N_GuiMng::DestroyDoomed() {
  while (!m_doomed.empty()) {
    std::vector<std::pair<GuiElementFactory*, N_GuiElement*>> doomed;
    doomed.swap(m_doomed);
    for (const auto& [factory, element] : doomed) factory->Destroy(element);
  }
}

void N_GuiMng::DestroyElement(N_GuiElement* element, bool isTemplate) {
  if (!element) return;
  const ElementMap& elements = isTemplate ? m_templates : m_elements;
  const auto it = elements.find(element->GetName());
  if (it == elements.end() || it->second != element) {
    GuiReport("N_GuiElement with name %s not found.\n", element->GetName().c_str());
    return;
  }
  DestroyElement(element->GetName(), isTemplate);
}

void N_GuiMng::Unlink(const N_GuiElement* element) {
  // The frame's pointers, also to what lies inside the element: the next Update must
  // not send them anything. First, while the parent links still tell what lies inside.
  if (WithinElement(m_input.focus, element)) DropFocus();
  if (WithinElement(m_input.hover, element)) m_input.hover = nullptr;
  if (WithinElement(m_input.target, element)) m_input.target = nullptr;
  if (WithinElement(m_input.holder, element)) m_input.holder = nullptr;
  if (WithinElement(m_cursor, element)) m_cursor = nullptr;
  // An element may sit in a container, on a page, be another's anchor or the element
  // of an effect; the anchored-by link names only the last anchoring element, so all
  // elements are looked over.
  for (ElementMap* elements : {&m_elements, &m_templates}) {
    for (auto& [name, other] : *elements) {
      if (other->IsContainer()) static_cast<N_GuiContainer*>(other)->DetachChild(element);
      other->ForgetElement(element);
    }
  }
  for (auto& [name, page] : m_pages) page->RemoveElement(element);
  for (auto& page : m_refusedPages) page->RemoveElement(element);
  for (N_GuiEffect* effect : m_effects) effect->ForgetElement(element);
}

bool N_GuiMng::WithinElement(const N_GuiElement* element, const N_GuiElement* outer) {
  for (const N_GuiElement* e = element; e; e = e->GetParent()) {
    if (e == outer) return true;
  }
  return false;
}

N_GuiEffect* N_GuiMng::CreateEffect(const std::string& type) {
  GuiEffectFactory* factory = FindEffectFactory(type);
  if (!factory) {
    GuiReport("Cannot locate factory for effect type %s.\n", type.c_str());
    return nullptr;
  }
  N_GuiEffect* effect = factory->Create();
  if (effect) m_effects.push_back(effect);
  return effect;
}

void N_GuiMng::DestroyEffect(N_GuiEffect* effect) {
  const auto it = std::find(m_effects.begin(), m_effects.end(), effect);
  if (!effect || it == m_effects.end()) return;
  GuiEffectFactory* factory = FindEffectFactory(effect->GetTypeName());
  if (!factory) {
    GuiReport("Cannot locate factory for effect type %s.\n", effect->GetTypeName().c_str());
    return;
  }
  // The page must not keep a freed effect.
  if (N_GuiPage* page = effect->GetPage()) page->RemoveEffect(effect);
  m_effects.erase(it);
  factory->Destroy(effect);
}

void N_GuiMng::ShowCursor(bool show) {
  if (show) {
    ++m_cursorCounter;
  } else if (m_cursorCounter >= 1) {
    --m_cursorCounter;
  }
  if (m_cursor) m_cursor->SetVisible(m_cursorCounter != 0);
}

void N_GuiMng::LoadGuiFiles(const std::string& mask) {
  const std::string prefix = mask.substr(0, mask.find('*'));
  N_FileFinder finder(mask.c_str());
  for (const char* name = finder.FindFirst(); name; name = finder.FindNext()) {
    const std::string file(name);  // the finder's buffer does not outlive the next find
    ParseGuiFile(N_FileList::WorkingDirectory() + "\\data\\" + prefix + file);
  }
  m_snowShader = GuiAddShader("textures\\menu\\snow");
  m_snow.Seed();
}

void N_GuiMng::ParseGuiFile(const std::string& path) { N_GuiScriptParser(*this, m_scriptFiles).ParseGuiFile(path); }

N_GuiElement* N_GuiMng::CreateFromTemplate(const std::string& templateName, const std::string& type,
                                           const std::string& name, bool isTemplate) {
  if (templateName.empty()) return CreateElement(type, name, isTemplate);
  if (std::find(m_copying.begin(), m_copying.end(), templateName) != m_copying.end()) {
    GuiReport("Template %s is used inside itself: %s not created.\n", templateName.c_str(), name.c_str());
    return nullptr;
  }
  const N_GuiElement* source = GetElement(templateName, true);
  const std::string& typeName = type.empty() && source ? source->GetTypeName() : type;
  N_GuiElement* element = CreateElement(typeName, name, isTemplate);
  if (!element || !source) return element;
  m_copying.push_back(templateName);
  if (element->IsContainer()) {
    static_cast<N_GuiContainer*>(element)->CloneChildrenFrom(*source, isTemplate);
  } else {
    element->CopyAttributesFrom(*source);
  }
  m_copying.pop_back();
  return element;
}
