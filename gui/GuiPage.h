#pragma once
// N_GuiPage: one screen layer of the GUI: a named, z-ordered set of elements and
// effects shown and hidden as a whole, with a fade in or out, an optional music, a
// cursor request, an optional modal claim on input and an onshow callback into the
// front-end. Owned by the GUI manager, which draws the visible pages in ascending
// z-order and hit-tests the topmost; it does not own its elements or effects.
//
// Render (the manager, once per frame while visible, after setting GetMatrix as the
// world matrix): the fade step, then every element's ApplyLayout and Render in
// z-order, then every effect's Update.
#include "gui/GuiCallbacks.h"
#include "core/Matrix4.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class N_GuiEffect;
class N_GuiElement;
class N_GuiPage;

class N_GuiPage {
 public:
  explicit N_GuiPage(std::string name);
  virtual ~N_GuiPage() = default;
  N_GuiPage(const N_GuiPage&) = delete;
  N_GuiPage& operator=(const N_GuiPage&) = delete;

  /// The top-level element under the point with the highest z-order (the first added
  /// among equals); hidden top-level elements are skipped. Null when none.
  virtual N_GuiElement* ElementAt(float x, float y);

  const std::string& GetName() const { return m_name; }
  std::uint16_t GetZOrder() const { return m_zOrder; }
  bool IsVisible() const { return m_visible; }
  /// The elements already on the page get the plain z-order.
  void SetZOrder(std::uint16_t z);

  /// Appends the element at z-order x 100 (kept to 16 bits) with this page as its page.
  void AddElement(N_GuiElement* element);
  /// Forgets the element (when it is on the page).
  void RemoveElement(const N_GuiElement* element);
  void AddEffect(N_GuiEffect* effect);
  void RemoveEffect(N_GuiEffect* effect);
  void RebuildDrawOrder();
  const std::vector<N_GuiElement*>& Elements() const { return m_elements; }
  const std::vector<N_GuiEffect*>& Effects() const { return m_effects; }

  /// An empty name is ignored; else a plain sound played whenever the page is shown.
  void SetMusic(const std::string& name);
  const std::string& GetMusic() const { return m_musicName; }
  /// Stores the name and binds the executable's exported function of exactly that name.
  void SetOnShow(const std::string& name);
  const std::string& GetOnShow() const { return m_onShowName; }
  void SetShowCursor(bool show) { m_showCursor = show; }
  bool GetShowCursor() const { return m_showCursor; }
  void SetModal(bool modal) { m_modal = modal; }
  bool IsModal() const { return m_modal; }

  void SetOffset(float x, float y);
  /// The page transform (row vectors): a scale about the screen centre, then the offset.
  const N_Matrix4& GetMatrix();

  /// Shown at full alpha at once: onshow (before the page is visible), music, every
  /// element at alpha 255, effects started, the cursor counted, the modal claim.
  void ShowImmediate();
  /// As ShowImmediate, fading in from alpha 0 at the rate per second; the element
  /// alphas follow in Render.
  void Show(float rate);
  /// Hidden at once: effects stopped, the cursor counted down (when the page asks for
  /// it), the manager's modal page cleared (when this page is modal).
  void Hide();
  /// As Hide, except that the page stays visible, fading out at the rate per second,
  /// until its alpha reaches 0.
  void Close(float rate);
  void Render();

  float GetAlpha() const { return m_alpha; }
  std::int32_t GetFade() const { return m_fade; }
  float GetAngle() const { return m_angle; }

 private:
  enum Fade : std::int32_t { kFadeOut = -1, kNoFade = 0, kFadeIn = 1 };

  void ShowSteps(bool immediate);
  void HideSteps();
  void SetElementAlphas(std::uint8_t alpha);
  void RebuildDrawOrderWhenDirty();

  std::string m_name;
  std::uint16_t m_zOrder = 100;  ///< higher is drawn later and hit first
  bool m_visible = false;
  bool m_showCursor = true;
  bool m_modal = false;
  float m_alpha = 1.0f;  ///< fade level 0..1
  std::int32_t m_fade = kNoFade;
  float m_fadeRate = 0.0f;  ///< alpha per second
  std::vector<N_GuiElement*> m_elements;  ///< top level, in insertion order
  std::multimap<std::uint16_t, N_GuiElement*> m_drawOrder;  ///< rebuilt before every walk when dirty
  bool m_drawOrderDirty = false;
  std::vector<N_GuiEffect*> m_effects;
  float m_angle = 0.0f;  ///< degrees; kept, nothing turns the page yet
  float m_offsetX = 0.0f;
  float m_offsetY = 0.0f;
  float m_scaleX = 1.0f;
  float m_scaleY = 1.0f;
  N_Matrix4 m_matrix;
  bool m_matrixDirty = true;
  std::string m_musicName;
  std::int32_t m_music = 0;  ///< sound handle, 0 none
  std::string m_onShowName;
  N_GuiPageCallback m_onShow = nullptr;
};
