#include "gui/GuiImageScroller.h"

#include "gui/GuiMng.h"
#include "gui/GuiServices.h"
#include "render/TextBatch.h"

#include <algorithm>

N_GuiImageScroller::N_GuiImageScroller(std::string name) : N_GuiImageSelector(std::move(name)) {
  SetTransparent(true);
  if (RegisterClass("N_GuiImageScroller")) N_GuiImageScroller::BuildAttributes();
}

const std::string& N_GuiImageScroller::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

bool N_GuiImageScroller::ChildrenAreTemplates() const {
  const N_GuiMng* mng = g_guiServices.guiMng;
  return mng && mng->IsTemplate(this);
}

void N_GuiImageScroller::AddItem(const std::string& shader, const std::string& highlight) {
  N_GuiImageSelector::AddItem(shader, highlight);
  m_layoutBuilt = false;
}

void N_GuiImageScroller::InsertItem(std::uint32_t index, const std::string& shader, const std::string& highlight) {
  N_GuiImageSelector::InsertItem(index, shader, highlight);
  m_layoutBuilt = false;
}

void N_GuiImageScroller::RemoveItem(std::uint32_t index) {
  N_GuiImageSelector::RemoveItem(index);
  // The current item must name one of the list.
  if (m_current >= ItemCount()) m_current = 0;
  if (m_previous >= ItemCount()) m_previous = m_current;
  m_layoutBuilt = false;
}

void N_GuiImageScroller::SetSelected(std::uint32_t index) {
  if (index >= ItemCount()) return;
  m_current = index;
  if (HasContent()) Refresh();
}

void N_GuiImageScroller::DestroyChild(N_GuiElement* child) {
  N_GuiMng* mng = g_guiServices.guiMng;
  if (!child || !mng) return;
  DetachChild(child);
  mng->DestroyElement(child, ChildrenAreTemplates());
}

void N_GuiImageScroller::SetVisibleItems(std::int32_t count) {
  N_GuiMng* mng = g_guiServices.guiMng;
  std::vector<N_GuiElement*> old;
  old.swap(m_images);
  for (N_GuiElement* image : old) DestroyChild(image);
  m_visibleItems = std::clamp(count, 0, kMaxVisibleItems);
  m_layoutBuilt = false;
  if (!mng) return;
  const bool isTemplate = ChildrenAreTemplates();
  for (std::int32_t i = 0; i < m_visibleItems; ++i) {
    N_GuiElement* image =
        mng->CreateElement(N_GuiPanel::kTypeName, GetName() + "/Image" + std::to_string(i), isTemplate);
    if (!image) continue;  // reported by the manager
    image->SetCloneWithTemplate(false);
    Add(image);
    m_images.push_back(image);
  }
}

void N_GuiImageScroller::SetLeftButton(const std::string& templateName) {
  MakeButton(m_leftButton, m_leftTemplate, templateName, "/LeftButton");
}

void N_GuiImageScroller::SetRightButton(const std::string& templateName) {
  MakeButton(m_rightButton, m_rightTemplate, templateName, "/RightButton");
}

void N_GuiImageScroller::MakeButton(N_GuiElement*& button, std::string& templateName, const std::string& name,
                                    const char* suffix) {
  N_GuiMng* mng = g_guiServices.guiMng;
  if (name.empty() || !mng) return;
  templateName = name;
  N_GuiElement* old = button;
  button = nullptr;
  DestroyChild(old);
  m_layoutBuilt = false;
  // The type is the template's.
  N_GuiElement* made = mng->CreateFromTemplate(name, std::string(), GetName() + suffix, ChildrenAreTemplates());
  if (!made) return;  // reported by the manager
  made->SetCloneWithTemplate(false);
  made->SetHorzAlign(kAlignLeft);
  made->SetVertAlign(kAlignMiddle);
  Add(made);
  button = made;
}

void N_GuiImageScroller::ForgetElement(const N_GuiElement* gone) {
  N_GuiImageSelector::ForgetElement(gone);
  if (!gone) return;
  if (m_leftButton == gone) m_leftButton = nullptr;
  if (m_rightButton == gone) m_rightButton = nullptr;
  if (std::erase(m_images, gone) > 0) m_layoutBuilt = false;
}

std::int32_t N_GuiImageScroller::ItemAt(std::size_t position) const {
  const auto count = static_cast<std::int64_t>(ItemCount());
  const auto n = static_cast<std::int64_t>(m_images.size());
  if (count == 0 || position >= m_images.size()) return -1;
  std::int64_t index = std::int64_t{m_current} - n / 2 + static_cast<std::int64_t>(position);
  if (index < 0 || index >= count) {
    if (!m_cycle) return -1;
    // Round the list as often as it takes: more pictures than items repeat them.
    index = ((index % count) + count) % count;
  }
  return static_cast<std::int32_t>(index);
}

void N_GuiImageScroller::Refresh() {
  if (!HasContent()) return;
  if (m_current >= ItemCount()) m_current = 0;
  const std::size_t middle = m_images.size() / 2;
  for (std::size_t p = 0; p < m_images.size(); ++p) {
    if (p == middle) {
      const std::int32_t lit = ItemHighlight(m_current);
      m_images[p]->SetShaderHandle(lit >= 0 ? lit : ItemShader(m_current));
      continue;
    }
    const std::int32_t item = ItemAt(p);
    m_images[p]->SetShaderHandle(item >= 0 ? ItemShader(static_cast<std::size_t>(item)) : -1);
  }
}

void N_GuiImageScroller::BuildLayout() {
  const auto n = static_cast<float>(m_images.size());
  float x = m_spacing;
  float w = GetWidth();
  if (m_leftButton) {
    x = m_leftButton->GetWidth() + m_spacing;
    w -= m_leftButton->GetWidth();
  }
  if (m_rightButton) w -= m_rightButton->GetWidth();
  m_firstX = x;
  m_imageWidth = (w - (n + 1.0f) * m_spacing) / n;
  for (std::size_t i = 0; i < m_images.size(); ++i) {
    N_GuiElement* image = m_images[i];
    image->SetLeft(x);
    image->SetTop(0.0f);
    image->SetWidth(m_imageWidth);
    image->SetHeight(GetHeight());
    image->SetShaderHandle(i < ItemCount() ? ItemShader(i) : -1);
    x += m_imageWidth + m_spacing;
  }
  Refresh();
  m_layoutBuilt = true;
}

int N_GuiImageScroller::HandleEvent(const N_GuiEvent& event) {
  if (!IsEnabled()) return 0;
  // The element's handling, not the selector's: a click does not step the list.
  N_GuiElement::HandleEvent(event);
  if (event.type != N_GuiEventType::ChildHeld || !HasContent() || m_transition > 0.0f) return 0;
  const N_GuiElement* child = GuiEventAs<N_GuiElement*>(event.x);
  if (!child || (child != m_leftButton && child != m_rightButton)) return 0;
  Step(child == m_leftButton);
  CallOnClick();
  return 0;
}

void N_GuiImageScroller::Step(bool left) {
  const auto last = static_cast<std::uint32_t>(ItemCount() - 1);
  m_previous = m_current;
  m_transition = 1.0f;
  if (left) {
    m_current = m_current > 0 ? m_current - 1 : m_cycle ? last : 0;
  } else {
    m_current = m_current < last ? m_current + 1 : m_cycle ? 0 : last;
  }
  Refresh();
}

void N_GuiImageScroller::Render() {
  if (!IsVisible()) return;
  const bool content = HasContent();
  if (content && !m_layoutBuilt) BuildLayout();
  N_GuiImageSelector::Render();
  if (!content) return;
  N_TextBatch* batch = g_guiServices.textBatch;
  if (m_images.size() == 1 && m_transition > 0.0f && m_previous < ItemCount() && batch) {
    const std::int32_t previous = ItemHighlight(m_previous);
    const auto alpha = static_cast<std::int32_t>(static_cast<float>(GetAlpha()) * std::min(m_transition, 1.0f));
    if (previous >= 0) {
      batch->AddQuad(previous, GetScreenX() + m_firstX, GetScreenY(), m_imageWidth, GetHeight(), 1.0f, 1.0f, alpha);
    }
  }
  m_transition = std::max(0.0f, m_transition - kTransitionRate * GuiFrameTime());
}

namespace {

using S = N_GuiImageScroller;
using T = N_GuiAttributeType;

const N_GuiAttributeRow kImageScrollerRows[] = {
    {"spacing", "Sets the spacing between multiple images.", T::Number,
     NumberAccessor<S, &S::GetSpacing, &S::SetSpacing>()},
    {"visibleitems", "Sets the number of visible images displayed at once.", T::Integer,
     IntegerAccessor<S, &S::GetVisibleItems, &S::SetVisibleItems>()},
    {"leftbutton", "Sets the template name of the left button.", T::Text,
     TextAccessor<S, &S::GetLeftButtonTemplate, &S::SetLeftButton>()},
    {"rightbutton", "Sets the template name of the right button.", T::Text,
     TextAccessor<S, &S::GetRightButtonTemplate, &S::SetRightButton>()},
    {"cycle", "Sets the image cycling property.", T::Boolean, BoolAccessor<S, &S::GetCycle, &S::SetCycle>()},
};

}  // namespace

void N_GuiImageScroller::BuildAttributes() {
  N_GuiImageSelector::BuildAttributes();
  AppendAttributes(kImageScrollerRows);
}
