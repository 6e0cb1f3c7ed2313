#pragma once
// N_GuiElement: the base of every visible GUI object. It keeps a name, a rectangle on
// the 640 x 480 GUI screen (in pixels, or in fractions of the screen with relative
// metrics), the alignment inside its parent, an anchor element to sit beside, three
// shaders (normal, highlight, disabled), two sounds, a caption, flags, an alpha, a
// tag and four callbacks: exported functions of the program, bound by name.
//
// Created by its factory through the GUI manager, which owns it; placed on a page or
// into a container, which call SetParent and SetZOrder. While its page is visible the
// page calls, every frame: ApplyLayout (relative metrics, anchor, screen position),
// then Render. Mouse events come from the GUI manager (HandleEvent); every event is
// passed on to the parent container, but for the clicks of an element that keeps them
// (PassesToParent).
#include "gui/GuiCallbacks.h"
#include "gui/GuiEvent.h"
#include "gui/GuiObject.h"

#include <cstdint>
#include <string>

class N_GuiContainer;
class N_GuiPage;
class N_GuiElement;

class N_GuiElement : public N_GuiObject {
 public:
  /// The virtual GUI screen.
  static constexpr float kScreenWidth = 640.0f;
  static constexpr float kScreenHeight = 480.0f;

  enum MetricsMode : std::int32_t { kRelative = 0, kPixels = 1 };
  enum Align : std::int32_t { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };
  enum VertAlign : std::int32_t { kAlignTop = 0, kAlignMiddle = 1, kAlignBottom = 2 };

  explicit N_GuiElement(std::string name);
  ~N_GuiElement() override = default;

  /// Stores the flag; enabling also makes the normal shader the current one.
  virtual void SetEnabled(bool enabled);
  /// Pixel metrics: the pixel size; relative: the size as given (fractions). Invalidates.
  virtual void SetSize(float width, float height);
  virtual void SetWidth(float width);
  virtual void SetHeight(float height);
  /// An empty name is ignored; else the shader becomes the normal and current one.
  virtual void SetShader(const std::string& name);
  virtual const std::string& GetShaderName() const { return m_shaderName; }
  /// The metrics and size are worked out again at the next layout pass.
  virtual void Invalidate();
  /// The frame's layout pass: relative metrics, anchor, screen position, then
  /// OnLayoutChanged when the layout was dirty.
  virtual void ApplyLayout();
  /// The screen position from the alignment inside the parent (or the screen).
  virtual void UpdateLayout();
  virtual void Render() {}
  virtual void SetParent(N_GuiContainer* parent, N_GuiPage* page);
  /// The screen position, brought up to date first when it is dirty.
  virtual float GetScreenX();
  virtual float GetScreenY();
  virtual void SetZOrder(std::uint16_t z) { m_zOrder = z; }
  /// The factory's type word of the class ("Text", "Button" ...).
  virtual const std::string& GetTypeName() const = 0;
  virtual void SetCaption(const std::string& caption);
  virtual std::string GetCaption() const { return m_caption; }
  /// Relative (0) copies the pixel rectangle into the given values, so the next pass
  /// scales them by 640 and 480.
  virtual void SetMetricsMode(std::int32_t mode);
  virtual std::int32_t GetMetricsMode() const { return m_metricsMode; }
  virtual void SetHorzAlign(std::int32_t align);
  virtual std::int32_t GetHorzAlign() const { return m_horzAlign; }
  virtual void SetVertAlign(std::int32_t align);
  virtual std::int32_t GetVertAlign() const { return m_vertAlign; }
  /// Left and top edges inside, right and bottom outside; the stored screen position.
  virtual bool ContainsPoint(float x, float y) const;
  /// This element when it contains the point (visible or not), else null.
  virtual N_GuiElement* GetElementAt(float x, float y);
  virtual bool IsContainer() const { return false; }
  virtual bool GetCloneWithTemplate() const { return m_cloneWithTemplate; }
  virtual void SetCloneWithTemplate(bool clone) { m_cloneWithTemplate = clone; }
  /// Enter, exit, click and held handling; the parent sees every event before the
  /// element's own click handling. A disabled element ignores everything. Returns 0.
  virtual int HandleEvent(const N_GuiEvent& event);
  virtual bool AcceptsFocus() const { return false; }
  virtual std::int32_t GetMaxChars() const { return -1; }
  virtual void SetFocus(bool) {}
  virtual void SetAlpha(std::uint8_t alpha) { m_alpha = alpha; }
  virtual void OnLayoutChanged() {}
  /// Whether the parent sees the event too. Every event but those a composite control
  /// keeps as its own (a scroll bar's clicks move it and click nothing around it).
  virtual bool PassesToParent(const N_GuiEvent&) const { return true; }
  /// Whether the element, having taken the left button's press, keeps the held repeats
  /// and the release wherever the pointer goes until the button is let go (a scroll
  /// bar's bit being dragged past the end of its track).
  virtual bool KeepsHeldPointer() const { return false; }
  /// Appends the element's rows to the object's class table (see GuiObject.h).
  virtual void BuildAttributes();

  const std::string& GetName() const { return m_name; }
  void Show() { m_visible = true; }
  void Hide() { m_visible = false; }
  void SetVisible(bool visible) { m_visible = visible; }
  bool IsVisible() const { return m_visible; }
  bool IsEnabled() const { return m_enabled; }

  /// The given left/top; in pixel metrics also the pixel position.
  void SetLeft(float left);
  void SetTop(float top);
  /// The pixel rectangle (also in relative metrics).
  float GetLeft() const { return m_left; }
  float GetTop() const { return m_top; }
  float GetWidth() const { return m_width; }
  float GetHeight() const { return m_height; }
  /// The left and top as last given: fractions in relative metrics; an anchored
  /// element is placed from them beside its anchor at every layout pass.
  float GetGivenLeft() const { return m_attrLeft; }
  float GetGivenTop() const { return m_attrTop; }

  /// Looks the anchor up at once (through the GUI manager); a name not found yet is
  /// looked up again by the layout passes.
  void SetAnchor(const std::string& name);
  const std::string& GetAnchorName() const { return m_anchorName; }
  N_GuiElement* GetAnchor() const { return m_anchor; }
  /// The last element that resolved this one as its anchor.
  N_GuiElement* GetAnchoredBy() const { return m_anchoredBy; }

  /// The handle becomes the normal and current shader.
  void SetShaderHandle(std::int32_t handle);
  /// The current (drawn) shader handle.
  std::int32_t GetShader() const { return m_currentShader; }
  void SetHighlightShader(const std::string& name);
  void SetDisabledShader(const std::string& name);
  const std::string& GetHighlightShaderName() const { return m_highlightShaderName; }
  const std::string& GetDisabledShaderName() const { return m_disabledShaderName; }
  void SetClickSound(const std::string& name);
  void SetHighlightSound(const std::string& name);
  const std::string& GetClickSoundName() const { return m_clickSoundName; }
  const std::string& GetHighlightSoundName() const { return m_highlightSoundName; }

  void SetTooltip(const std::string& text);
  const std::string& GetTooltip() const { return m_tooltip; }
  bool HasTooltip() const { return m_hasTooltip; }
  void SetTag(std::int32_t tag) { m_tag = tag; }
  std::int32_t GetTag() const { return m_tag; }
  std::uint8_t GetAlpha() const { return m_alpha; }
  std::uint16_t GetZOrder() const { return m_zOrder; }

  /// Store the name and bind the executable's exported function of exactly that name
  /// (none when it has no such export).
  void SetOnMouseEnter(const std::string& name);
  void SetOnMouseExit(const std::string& name);
  void SetOnClick(const std::string& name);
  void SetOnMouseDown(const std::string& name);
  const std::string& GetOnMouseEnter() const { return m_onMouseEnter.name; }
  const std::string& GetOnMouseExit() const { return m_onMouseExit.name; }
  const std::string& GetOnClick() const { return m_onClick.name; }
  const std::string& GetOnMouseDown() const { return m_onMouseDown.name; }

  N_GuiContainer* GetParent() const { return m_parent; }
  N_GuiPage* GetPage() const { return m_page; }

  /// An element is being destroyed: every link of this one to it goes (parent, anchor,
  /// anchored-by); a lost anchor is looked up again by name at the next layout pass.
  /// Elements that keep pointers to children they made forget those too.
  virtual void ForgetElement(const N_GuiElement* gone);

 protected:
  std::int32_t GetNormalShader() const { return m_normalShader; }
  std::int32_t GetHighlightShader() const { return m_highlightShader; }
  std::int32_t GetDisabledShader() const { return m_disabledShader; }
  void SetCurrentShader(std::int32_t handle) { m_currentShader = handle; }
  /// The caption as stored and drawn (GetCaption may answer something else, as the
  /// edit box does).
  const std::string& StoredCaption() const { return m_caption; }
  /// Writes the pixel size directly (text autosize).
  void SetPixelSize(float width, float height);
  bool IsLayoutDirty() const { return m_layoutDirty; }
  /// Calls the bound "onclick" function with this element (a composite element's own
  /// step, such as an image scroller's arrow click).
  void CallOnClick() { Call(m_onClick, this); }

 private:
  struct Callback {
    std::string name;
    N_GuiElementCallback function = nullptr;
  };
  /// Binds the front-end's element callback of that name (see GuiCallbacks.h).
  void Bind(Callback& callback, const std::string& name, const char* attribute) const;
  static void Call(const Callback& callback, N_GuiElement* element);
  void ResolveAnchor();

  std::string m_name;
  bool m_visible = true;
  bool m_enabled = true;
  bool m_cloneWithTemplate = true;  ///< copied with its template's other children
  float m_left = 0.0f;  ///< the pixel rectangle, relative to the aligned position
  float m_top = 0.0f;
  float m_width = kScreenWidth;
  float m_height = kScreenHeight;
  std::string m_anchorName;
  std::string m_caption;
  std::string m_shaderName;
  std::string m_highlightShaderName;
  std::string m_disabledShaderName;
  std::string m_clickSoundName;
  std::string m_highlightSoundName;
  std::int32_t m_currentShader = -1;  ///< -1 none; the one drawn
  std::int32_t m_normalShader = -1;
  std::int32_t m_highlightShader = -1;
  std::int32_t m_disabledShader = -1;
  std::int32_t m_clickSound = 0;  ///< 0 none
  std::int32_t m_highlightSound = 0;
  std::uint8_t m_alpha = 255;
  std::int32_t m_tag = 0;
  std::string m_tooltip;
  bool m_hasTooltip = false;
  std::int32_t m_metricsMode = kPixels;
  std::int32_t m_horzAlign = kAlignLeft;
  std::int32_t m_vertAlign = kAlignTop;
  /// The rectangle as last given: fractions of 640 x 480 in relative metrics.
  float m_attrTop = 0.0f;
  float m_attrLeft = 0.0f;
  float m_attrWidth = 0.0f;
  float m_attrHeight = 0.0f;
  N_GuiContainer* m_parent = nullptr;  ///< null on a page's top level
  N_GuiPage* m_page = nullptr;
  N_GuiElement* m_anchor = nullptr;
  N_GuiElement* m_anchoredBy = nullptr;
  float m_screenX = 0.0f;  ///< top-left corner on the screen, in pixels
  float m_screenY = 0.0f;
  bool m_positionDirty = true;
  bool m_layoutDirty = true;
  std::uint16_t m_zOrder = 0;  ///< a page gives page z-order x 100, containers + 1 per level
  Callback m_onMouseEnter;
  Callback m_onMouseExit;
  Callback m_onClick;
  Callback m_onMouseDown;
};

/// A left click as the GUI's update delivers it: the button pressed, then released.
inline void ClickWithLeftButton(N_GuiElement& element) {
  N_GuiEvent event;
  event.type = N_GuiEventType::Button;
  event.button = kGuiLeftButton;
  event.pressed = true;
  element.HandleEvent(event);
  event.pressed = false;
  element.HandleEvent(event);
}
