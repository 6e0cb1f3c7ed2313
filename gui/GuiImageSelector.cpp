#include "gui/GuiImageSelector.h"

#include "core/StringUtil.h"
#include "gui/GuiServices.h"

N_GuiImageSelector::N_GuiImageSelector(std::string name) : N_GuiPanel(std::move(name)) {
  if (RegisterClass("N_GuiImageSelector")) N_GuiImageSelector::BuildAttributes();
}

const std::string& N_GuiImageSelector::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiImageSelector::AddItem(const std::string& shader, const std::string& highlight) {
  Insert(m_items.size(), shader, highlight);
}

void N_GuiImageSelector::InsertItem(std::uint32_t index, const std::string& shader, const std::string& highlight) {
  Insert(index, shader, highlight);
}

void N_GuiImageSelector::Insert(std::size_t index, const std::string& shader, const std::string& highlight) {
  if (shader.empty() || index > m_items.size()) return;
  const std::int32_t handle = GuiAddShader(shader);
  if (handle < 0) return;
  const std::int32_t lit = highlight.empty() ? handle : GuiAddShader(highlight);
  if (m_items.empty()) ShowShader(handle);
  const auto at = static_cast<std::ptrdiff_t>(index);
  m_items.insert(m_items.begin() + at, handle);
  m_highlights.insert(m_highlights.begin() + at, lit);
}

void N_GuiImageSelector::RemoveItem(std::uint32_t index) {
  if (index >= m_items.size()) return;
  m_items.erase(m_items.begin() + index);
  m_highlights.erase(m_highlights.begin() + index);
  // A removal before the selection leaves the index, which then names the next item;
  // when there is none, the first item takes over as it does for the selected one.
  if (index == m_selected || m_selected >= m_items.size()) {
    m_selected = 0;
    if (!m_items.empty()) ShowShader(m_items.front());
  }
}

void N_GuiImageSelector::SetSelected(std::uint32_t index) {
  if (index >= m_items.size()) return;
  m_selected = index;
  ShowShader(m_items[index]);
}

int N_GuiImageSelector::HandleEvent(const N_GuiEvent& event) {
  if (!IsEnabled()) return 0;
  if (!m_items.empty()) {
    if (m_selected >= m_items.size()) m_selected = 0;
    if (event.type == N_GuiEventType::Enter) {
      if (m_highlights[m_selected] >= 0) ShowShader(m_highlights[m_selected]);
    } else if (event.type == N_GuiEventType::Exit) {
      ShowShader(m_items[m_selected]);
    } else if (event.type == N_GuiEventType::Button && event.button == kGuiLeftButton && event.pressed) {
      m_selected = m_selected + 1 >= m_items.size() ? 0 : m_selected + 1;
      ShowShader(m_highlights[m_selected] >= 0 ? m_highlights[m_selected] : m_items[m_selected]);
    }
  }
  return N_GuiPanel::HandleEvent(event);
}

void N_GuiImageSelector::SetItemText(const std::string& text) {
  std::vector<std::string> fields;
  SplitString(text, fields, "\t\n ", 0);
  if (fields.empty()) return;
  AddItem(fields[0], fields.size() > 1 ? fields[1] : std::string());
}

namespace {

using S = N_GuiImageSelector;

const N_GuiAttributeRow kImageSelectorRows[] = {
    {"item", "Adds a new item into the selector.", N_GuiAttributeType::Text,
     {[](const N_GuiObject&) { return std::string(); },
      [](N_GuiObject& o, const std::string& v) { static_cast<S&>(o).SetItemText(v); }}},
};

}  // namespace

void N_GuiImageSelector::BuildAttributes() {
  N_GuiPanel::BuildAttributes();
  AppendAttributes(kImageSelectorRows);
}
