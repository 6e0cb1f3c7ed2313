#pragma once
// N_GuiMng: the one owner of the 2D interface: every page, every named element and
// template element, every effect, and the factories that create elements and effects
// by type word. The world holds exactly one and fills the GUI's services record with
// it; everything else reaches the interface by name (GetPage, GetElement) and then
// through the element's own operations.
//
// This part is the object registry. Elements and templates live in two maps by name
// (element names are unique across all pages); both are created and destroyed only
// through their factories. A destroyed element leaves nothing pointing at it: it
// leaves every container, page and effect, and elements anchored to it or parented to
// it forget it.
//
// Shutdown order: elements, templates, effects, pages, factories.
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

class GuiEffectFactory;
class GuiElementFactory;
class N_GuiEffect;
class N_GuiElement;
class N_GuiPage;

class N_GuiMng {
 public:
  using ElementMap = std::map<std::string, N_GuiElement*>;
  using PageMap = std::map<std::string, std::unique_ptr<N_GuiPage>>;

  N_GuiMng();
  virtual ~N_GuiMng();
  N_GuiMng(const N_GuiMng&) = delete;
  N_GuiMng& operator=(const N_GuiMng&) = delete;

  /// Keeps the factory under its type word; a word already registered keeps its
  /// earlier factory (the new one is deleted). Logs the registration either way.
  void RegisterElementFactory(std::unique_ptr<GuiElementFactory> factory);
  void RegisterEffectFactory(std::unique_ptr<GuiEffectFactory> factory);
  /// The factory of a type word (exact), or null.
  GuiElementFactory* FindElementFactory(const std::string& type) const;
  GuiEffectFactory* FindEffectFactory(const std::string& type) const;

  /// A new page of that name. A name already used keeps its earlier page: the new one
  /// is returned, never drawn, and owned here until shutdown.
  N_GuiPage* CreatePage(const std::string& name);
  /// The page of that name, or null (not reported).
  N_GuiPage* GetPage(const std::string& name) const;
  const PageMap& Pages() const { return m_pages; }

  /// A new element of the type's factory, into the templates or the elements. A name
  /// already there or a type without factory is reported (code 12) and gives null.
  N_GuiElement* CreateElement(const std::string& type, const std::string& name, bool isTemplate);
  /// The element (or template) of that name; a missing name is reported and gives null.
  N_GuiElement* GetElement(const std::string& name, bool isTemplate) const;
  /// Destroys the element through its type's factory and forgets it everywhere. A
  /// missing name is reported; without a factory it is reported and stays.
  void DestroyElement(const std::string& name, bool isTemplate);
  /// The same for an element held under its own name; null does nothing.
  void DestroyElement(N_GuiElement* element, bool isTemplate);
  const ElementMap& Elements() const { return m_elements; }
  const ElementMap& Templates() const { return m_templates; }

  /// A new effect of the type's factory, kept in the effect list; without a factory
  /// reported, null.
  N_GuiEffect* CreateEffect(const std::string& type);
  /// Destroys an effect of the list through its factory, after taking it off its
  /// page; without a factory reported, and it stays.
  void DestroyEffect(N_GuiEffect* effect);
  const std::list<N_GuiEffect*>& Effects() const { return m_effects; }

  /// Counts requests to show the cursor: true counts up, false down (never below 0);
  /// the cursor element, when set, is visible while the count is not 0.
  void ShowCursor(bool show);
  std::int32_t GetCursorCounter() const { return m_cursorCounter; }
  N_GuiElement* GetCursor() const { return m_cursor; }
  N_GuiPage* GetCursorPage() const { return m_cursorPage; }

  /// The modal page currently shown, written by the pages' show and hide.
  N_GuiPage* GetModalPage() const { return m_modalPage; }
  void SetModalPage(N_GuiPage* page) { m_modalPage = page; }

 private:
  /// Takes every link to an element about to be destroyed out of the GUI.
  void Unlink(const N_GuiElement* element);
  /// Deletes a whole element map at shutdown (also without a factory, after a report).
  void DestroyAll(ElementMap& elements);

  PageMap m_pages;
  std::map<std::string, std::unique_ptr<GuiElementFactory>> m_elementFactories;
  ElementMap m_elements;   ///< owned, destroyed through their factories
  ElementMap m_templates;  ///< owned; never placed on a page
  std::map<std::string, std::unique_ptr<GuiEffectFactory>> m_effectFactories;
  std::list<N_GuiEffect*> m_effects;  ///< owned, destroyed through their factories
  std::vector<std::unique_ptr<N_GuiPage>> m_refusedPages;  ///< pages of names already used
  N_GuiElement* m_cursor = nullptr;  ///< the mouse cursor element; null until set
  N_GuiPage* m_cursorPage = nullptr;
  N_GuiPage* m_modalPage = nullptr;
  bool m_drawOrderDirty = false;  ///< a page was created since the frame last ordered the pages
  std::int32_t m_cursorCounter = 0;  ///< open requests to show the cursor, never below 0
};
