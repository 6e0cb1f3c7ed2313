// The GUI manager's part of every frame: the input update, the hit test, the drawing
// of the pages and the snow; and the cursor and its page.
#include "gui/GuiMng.h"

#include "core/InputMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiPage.h"
#include "gui/GuiPanel.h"
#include "gui/GuiServices.h"
#include "platform/dinput8/Keys.h"
#include "render/Render.h"
#include "render/TextBatch.h"

namespace {

constexpr std::uint16_t kCursorPageZOrder = 600;
/// Seconds between two held events of the left button.
constexpr float kHeldInterval = 0.1f;
constexpr std::int32_t kMouseX = 0;  ///< mouse codes of N_InputMng::IsPressed
constexpr std::int32_t kMouseY = 1;
constexpr std::int32_t kMouseLeft = 3;
constexpr std::int32_t kMouseRight = 4;
constexpr std::int32_t kWheelAway = 7;
constexpr std::int32_t kWheelBack = 8;

N_GuiEvent Event(N_GuiEventType type) {
  N_GuiEvent event;
  event.type = type;
  return event;
}

N_GuiEvent ButtonEvent(N_GuiEventType type, const N_GuiElement& cursor, std::uint32_t button, bool pressed) {
  N_GuiEvent event = Event(type);
  event.x = cursor.GetLeft();
  event.y = cursor.GetTop();
  event.button = button;
  event.pressed = pressed;
  return event;
}

}  // namespace

void N_GuiMng::SetCursor(N_GuiElement* element) {
  if (m_cursorPage) {
    if (m_cursor) m_cursorPage->RemoveElement(m_cursor);
    if (element) m_cursorPage->AddElement(element);
  }
  m_cursor = element;
}

void N_GuiMng::CreateCursorPage() {
  if (m_cursorPage) return;
  m_cursorPage = CreatePage("CursorLevelGuiPage");
  m_cursorPage->SetZOrder(kCursorPageZOrder);
  // The page itself asks for no cursor: showing it counts the cursor down (not below 0).
  m_cursorPage->SetShowCursor(false);
  m_cursorPage->ShowImmediate();
  if (m_cursor) m_cursorPage->AddElement(m_cursor);
}

void N_GuiMng::SetSnow(bool on) {
  if (on && !m_snowOn) m_snow.Restart();
  m_snowOn = on;
}

N_GuiElement* N_GuiMng::HitTest(float x, float y) const {
  N_GuiElement* result = nullptr;
  int best = -1;
  for (const auto& [name, page] : m_pages) {
    if (int(page->GetZOrder()) <= best || !page->IsVisible()) continue;
    if (N_GuiElement* hit = page->ElementAt(x, y)) {
      result = hit;
      best = page->GetZOrder();
    }
  }
  return result;
}

void N_GuiMng::Update() {
  if (!m_cursor) return;
  // Elements destroyed by the callbacks of this update live on until it ends: the
  // element handling an event may touch itself after its callback returns.
  struct Dispatch {
    N_GuiMng& mng;
    explicit Dispatch(N_GuiMng& m) : mng(m) { ++mng.m_dispatchDepth; }
    ~Dispatch() {
      if (--mng.m_dispatchDepth == 0) mng.DestroyDoomed();
    }
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;
  } dispatch(*this);
  N_InputMng* input = g_inputMng;
  N_GuiEvent move = Event(N_GuiEventType::Move);
  move.x = input ? float(input->IsPressed(N_InputMng::kMouse, kMouseX, 0)) : 0.0f;
  move.y = input ? float(input->IsPressed(N_InputMng::kMouse, kMouseY, 0)) : 0.0f;
  const bool left = input && input->IsPressed(N_InputMng::kMouse, kMouseLeft, 0) != 0;
  const bool right = input && input->IsPressed(N_InputMng::kMouse, kMouseRight, 0) != 0;
  const std::int32_t wheel = input ? (input->IsPressed(N_InputMng::kMouse, kWheelAway, 0) != 0 ? 1 : 0) -
                                         (input->IsPressed(N_InputMng::kMouse, kWheelBack, 0) != 0 ? 1 : 0)
                                   : 0;
  // Runs all the time: the first held event may come in the frame of the press.
  m_input.heldTimer += GuiFrameTime();

  m_cursor->HandleEvent(move);
  // The hit point is the cursor's top-left corner.
  m_input.target = HitTest(m_cursor->GetLeft(), m_cursor->GetTop());
  if (m_input.target && m_modalPage && m_input.target->GetPage() != m_modalPage) {
    // Outside the modal page: nothing but the old hover's exit, and the button states
    // of this frame are not taken, so the first frame back sends a change.
    if (N_GuiElement* hover = m_input.hover) {
      m_input.hover = nullptr;
      hover->HandleEvent(Event(N_GuiEventType::Exit));
    }
    m_input.target = nullptr;
    return;
  }
  SendPointerEvents(move, left, right, wheel);
  if (FollowFocus(left)) FeedFocus();
  m_input.target = nullptr;
}

void N_GuiMng::SendPointerEvents(const N_GuiEvent& move, bool left, bool right, std::int32_t wheel) {
  // A callback may destroy the target (or the hover, or the cursor): Unlink clears
  // them, so each step looks at the members again.
  if (m_input.target) m_input.target->HandleEvent(move);
  if (m_input.target != m_input.hover) {
    N_GuiElement* old = m_input.hover;
    m_input.hover = m_input.target;
    if (old) old->HandleEvent(Event(N_GuiEventType::Exit));
    if (m_input.target) m_input.target->HandleEvent(Event(N_GuiEventType::Enter));
  }
  if (m_cursor && left != m_input.left) SendLeftChange(left);
  N_GuiElement* held = m_input.holder ? m_input.holder : m_input.target;
  if (held && m_cursor && left && m_input.heldTimer >= kHeldInterval) {
    m_input.heldTimer = 0.0f;
    held->HandleEvent(ButtonEvent(N_GuiEventType::Held, *m_cursor, kGuiLeftButton, true));
  }
  if (m_input.target && m_cursor && right != m_input.right) {
    m_input.target->HandleEvent(ButtonEvent(N_GuiEventType::Button, *m_cursor, kGuiRightButton, right));
  }
  m_input.left = left;
  m_input.right = right;
  if (m_input.target && wheel != 0) {
    N_GuiEvent turned = Event(N_GuiEventType::Wheel);
    turned.x = wheel;
    m_input.target->HandleEvent(turned);
  }
}

void N_GuiMng::SendLeftChange(bool left) {
  if (!left && m_input.holder) {
    // The pointer may have gone on since the last held repeat: the release point counts.
    m_input.heldTimer = 0.0f;
    m_input.holder->HandleEvent(ButtonEvent(N_GuiEventType::Held, *m_cursor, kGuiLeftButton, true));
    // A callback may have destroyed it, or the cursor: Unlink clears them.
    if (m_input.holder && m_cursor) {
      m_input.holder->HandleEvent(ButtonEvent(N_GuiEventType::Button, *m_cursor, kGuiLeftButton, false));
    }
    m_input.holder = nullptr;
    return;
  }
  if (!m_input.target) return;
  m_input.target->HandleEvent(ButtonEvent(N_GuiEventType::Button, *m_cursor, kGuiLeftButton, left));
  if (!left) return;
  for (N_GuiElement* e = m_input.target; e; e = e->GetParent()) {
    if (e->KeepsHeldPointer()) {
      m_input.holder = e;
      break;
    }
  }
}

bool N_GuiMng::FollowFocus(bool left) {
  // Every frame the button is down, not only at the press.
  N_GuiElement* target = m_input.target;
  if (!left || m_input.focus == target) return true;
  const bool takesFocus = target && target->AcceptsFocus();
  if (N_InputMng* input = g_inputMng) {
    if (takesFocus) {
      input->SetTextInputEnabled(1);
      input->SetText(target->GetCaption().c_str());
      input->SetMaxLength(target->GetMaxChars());
    } else {
      DropTextInput();
    }
  }
  N_GuiElement* old = m_input.focus;
  m_input.focus = takesFocus ? target : nullptr;
  if (old) old->SetFocus(false);
  if (!takesFocus) return false;
  // SetFocus(false) above may have destroyed it.
  if (m_input.focus) m_input.focus->SetFocus(true);
  return true;
}

void N_GuiMng::FeedFocus() {
  N_GuiElement* focus = m_input.focus;
  N_InputMng* input = g_inputMng;
  if (!focus || !focus->AcceptsFocus() || !input) return;
  if (input->IsPressed(N_InputMng::kKeyboard, DIK_RETURN, 1)) {
    DropFocus();
    return;
  }
  N_GuiEvent text = Event(N_GuiEventType::Text);
  text.x = input->GetText();
  text.y = input->GetCursor();
  focus->HandleEvent(text);
}

void N_GuiMng::DropTextInput() {
  N_InputMng* input = g_inputMng;
  if (!input) return;
  input->SetTextInputEnabled(0);
  input->ClearText();
  input->SetMaxLength(-1);
}

void N_GuiMng::DropFocus() {
  N_GuiElement* focus = m_input.focus;
  m_input.focus = nullptr;
  if (focus) focus->SetFocus(false);
  DropTextInput();
}

bool N_GuiMng::IsScreenCovered() const {
  for (const auto& [name, page] : m_pages) {
    if (!page->IsVisible()) continue;
    for (N_GuiElement* element : page->Elements()) {
      // Only a plain panel: the types built on it draw more, or less, than its background.
      if (element->GetTypeName() != N_GuiPanel::kTypeName) continue;
      if (static_cast<N_GuiPanel*>(element)->CoversScreen()) return true;
    }
  }
  return false;
}

void N_GuiMng::Render() {
  if (m_drawOrderDirty) {
    m_drawOrder.clear();
    for (const auto& [name, page] : m_pages) m_drawOrder.emplace(page->GetZOrder(), page.get());
    m_drawOrderDirty = false;
  }
  N_TextBatch* batch = g_guiServices.textBatch;
  bool menuPageDrawn = false;
  for (const auto& [z, page] : m_drawOrder) {
    if (!page->IsVisible()) continue;
    menuPageDrawn |= page != m_cursorPage;
    // Everything queued so far is drawn below this page, unmoved by its matrix.
    if (batch) batch->Flush();
    if (g_render) g_render->SetWorldMatrix(page->GetMatrix());
    page->Render();
  }
  // The flakes are drawn by the world's last flush, above every page.
  if (m_snowOn && menuPageDrawn && batch) m_snow.StepAndQueue(GuiFrameTime(), *batch, m_snowShader);
}
