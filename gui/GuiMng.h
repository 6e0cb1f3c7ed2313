#pragma once
// N_GuiMng: the one owner of the 2D interface: every page, every named element and
// template element, every effect, and the factories that create elements and effects
// by type word. The world holds exactly one and fills the GUI's services record with
// it; everything else reaches the interface by name (GetPage, GetElement) and then
// through the element's own operations.
//
// Elements and templates live in two maps by name (element names are unique across
// all pages); both are created and destroyed only through their factories. A
// destroyed element leaves nothing pointing at it: it leaves every container, page and
// effect, elements anchored to it or parented to it forget it, and the frame's hover,
// focus and cursor let it go.
//
// The world, once per frame: Update (before the game's update; the cursor follows the
// mouse, then the element under it gets its move, enter, exit, button, held, wheel
// and text events, and the keyboard focus follows left clicks; an element that keeps
// the pointer after a press, a dragged scroll bar, gets the held repeats and the
// release wherever the pointer is), later Render (every visible
// page in ascending z-order, each after a flush of the batcher and with its own world
// matrix, then the menu snow). At start-up: LoadGuiFiles, the cursor (SetCursor,
// CreateCursorPage).
//
// Shutdown order: elements, templates, effects, pages, factories.
#include "gui/GuiEvent.h"
#include "gui/GuiScriptParser.h"
#include "gui/GuiSnow.h"

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <utility>
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
  /// missing name is reported; without a factory it is reported and stays. Asked for
  /// while Update hands out events (a callback destroying what was clicked), the
  /// element is forgotten at once and deleted when the update ends.
  void DestroyElement(const std::string& name, bool isTemplate);
  /// The same for an element held under its own name; null does nothing.
  void DestroyElement(N_GuiElement* element, bool isTemplate);
  const ElementMap& Elements() const { return m_elements; }
  const ElementMap& Templates() const { return m_templates; }
  /// Whether the element is held in the templates under its name: the children an
  /// element makes for itself go into the same map as the element.
  bool IsTemplate(const N_GuiElement* element) const;

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

  /// The element the frame update moves with the mouse. With the cursor page made, the
  /// old cursor leaves it and the new one joins it.
  void SetCursor(N_GuiElement* element);
  /// Once: the page "CursorLevelGuiPage" at z-order 600, asking for no cursor, shown at
  /// once, holding the cursor when one is set.
  void CreateCursorPage();

  /// Switching on from off puts every flake back to its start height.
  void SetSnow(bool on);
  bool GetSnow() const { return m_snowOn; }
  const N_GuiSnow& Snow() const { return m_snow; }
  std::int32_t GetSnowShader() const { return m_snowShader; }

  /// Parses every page script of the mask below "data" ("scripts\gui\*.gui") in the
  /// finder's order, then registers the snow's shader and seeds the snow.
  void LoadGuiFiles(const std::string& mask);
  /// Parses one page script (and what it includes); see GuiScriptParser.h.
  void ParseGuiFile(const std::string& path);
  /// The element of the type (or, for an empty type, of the template's type) created
  /// into the templates or the elements; with a template name it then takes the
  /// template's attribute values and clones of its marked children. A missing template
  /// is reported and leaves the class defaults. A template asked for while a copy of it
  /// is being made (a child of it names it again, say as a scroll bar's part) is
  /// reported and makes nothing: the copy would contain itself for ever. Null when the
  /// creation failed.
  N_GuiElement* CreateFromTemplate(const std::string& templateName, const std::string& type, const std::string& name,
                                   bool isTemplate);
  /// The page-script files read to their end, as their paths were built.
  const std::vector<std::string>& LoadedFiles() const { return m_scriptFiles.loaded; }

  /// The frame's input: see the class comment. Nothing at all while no cursor is set.
  void Update();
  /// The frame's pages and snow: see the class comment.
  void Render();
  /// Whether a visible page hides the whole screen with an opaque panel of its own
  /// (N_GuiPanel::CoversScreen): the 3D view under the pages need not be drawn.
  bool IsScreenCovered() const;
  /// The element under the point (pixels) on the visible page of the highest z-order
  /// that has one there (the first in name order among equals); null when none.
  N_GuiElement* HitTest(float x, float y) const;

  /// The element the cursor was over after the last update, or null.
  N_GuiElement* GetHoverElement() const { return m_input.hover; }
  /// The element that receives text input, or null.
  N_GuiElement* GetFocusElement() const { return m_input.focus; }

 private:
  /// What the frame update keeps from one frame to the next. Held by the manager (the
  /// game has one), so that nothing of it outlives the elements it points at.
  struct InputState {
    N_GuiElement* hover = nullptr;
    N_GuiElement* focus = nullptr;
    /// The element this update is talking to; cleared when a callback destroys it.
    N_GuiElement* target = nullptr;
    /// The element that took the left press and keeps the pointer until the release
    /// (N_GuiElement::KeepsHeldPointer), or null.
    N_GuiElement* holder = nullptr;
    bool left = false;  ///< button states last seen by the event steps
    bool right = false;
    float heldTimer = 0.0f;  ///< seconds since the last held event
  };

  // The steps of Update after the hit test, in order.
  /// Move, exit and enter, button changes, the held repeat and the wheel's step to the
  /// target; the held repeats and the release to the holder while there is one.
  void SendPointerEvents(const N_GuiEvent& move, bool left, bool right, std::int32_t wheel);
  /// The left button's change: to the target, the release to the holder (after a last
  /// held event at the release point); the press may make a holder.
  void SendLeftChange(bool left);
  /// While the left button is down the focus goes to the target; false ends the frame.
  bool FollowFocus(bool left);
  /// Enter drops the focus; otherwise the focus element gets the input text.
  void FeedFocus();
  /// Switches the input service's text entry off and empties it.
  static void DropTextInput();
  /// Gives up the focus element (SetFocus false) and the text entry.
  void DropFocus();

  /// Takes every link to an element about to be destroyed out of the GUI.
  void Unlink(const N_GuiElement* element);
  /// Whether the element is outer or lies inside it (null: false).
  static bool WithinElement(const N_GuiElement* element, const N_GuiElement* outer);
  /// Deletes a whole element map at shutdown (also without a factory, after a report).
  void DestroyAll(ElementMap& elements);
  /// Deletes the elements destroyed while events were handed out.
  void DestroyDoomed();

  PageMap m_pages;
  std::map<std::string, std::unique_ptr<GuiElementFactory>> m_elementFactories;
  ElementMap m_elements;   ///< owned, destroyed through their factories
  ElementMap m_templates;  ///< owned; never placed on a page
  std::map<std::string, std::unique_ptr<GuiEffectFactory>> m_effectFactories;
  std::list<N_GuiEffect*> m_effects;  ///< owned, destroyed through their factories
  std::vector<std::unique_ptr<N_GuiPage>> m_refusedPages;  ///< pages of names already used
  std::multimap<std::uint16_t, N_GuiPage*> m_drawOrder;  ///< by z-order, equals in name order
  N_GuiSnow m_snow;
  std::int32_t m_snowShader = -1;  ///< "textures\menu\snow"
  bool m_snowOn = false;
  N_GuiScriptFiles m_scriptFiles;
  std::vector<std::string> m_copying;  ///< the templates being copied now, outermost first
  InputState m_input;
  N_GuiElement* m_cursor = nullptr;  ///< the mouse cursor element; null until set
  N_GuiPage* m_cursorPage = nullptr;
  N_GuiPage* m_modalPage = nullptr;
  bool m_drawOrderDirty = false;  ///< a page was created since the frame last ordered the pages
  std::int32_t m_dispatchDepth = 0;  ///< updates handing out events now (a callback may run one)
  /// Elements destroyed during the dispatch, already forgotten, with their factories.
  std::vector<std::pair<GuiElementFactory*, N_GuiElement*>> m_doomed;
  std::int32_t m_cursorCounter = 0;  ///< open requests to show the cursor, never below 0
};
