#include "gui/GuiContainer.h"

#include "gui/GuiMng.h"
#include "gui/GuiServices.h"

void N_GuiContainer::SetEnabled(bool enabled) {
  N_GuiElement::SetEnabled(enabled);
  for (auto& [name, child] : m_children) child->SetEnabled(enabled);
}

void N_GuiContainer::Invalidate() {
  N_GuiElement::Invalidate();
  for (auto& [name, child] : m_children) child->Invalidate();
}

void N_GuiContainer::ApplyLayout() {
  N_GuiElement::ApplyLayout();
  for (auto& [name, child] : m_children) child->ApplyLayout();
}

void N_GuiContainer::Render() {
  if (!IsVisible()) return;
  if (m_drawOrderDirty) RebuildDrawOrder();
  for (auto& [z, child] : m_drawOrder) child->Render();
}

void N_GuiContainer::RebuildDrawOrder() {
  m_drawOrder.clear();
  for (auto& [name, child] : m_children) m_drawOrder.emplace(child->GetZOrder(), child);
  m_drawOrderDirty = false;
}

void N_GuiContainer::SetParent(N_GuiContainer* parent, N_GuiPage* page) {
  N_GuiElement::SetParent(parent, page);
  for (auto& [name, child] : m_children) child->SetParent(this, page);
}

void N_GuiContainer::SetZOrder(std::uint16_t z) {
  N_GuiElement::SetZOrder(z);
  for (auto& [name, child] : m_children) child->SetZOrder(static_cast<std::uint16_t>(z + 1));
}

N_GuiElement* N_GuiContainer::GetElementAt(float x, float y) {
  if (!IsVisible()) return nullptr;
  if (!N_GuiElement::GetElementAt(x, y)) return nullptr;
  N_GuiElement* hit = nullptr;
  if (m_childrenTakeInput) {
    int best = -1;
    for (auto& [name, child] : m_children) {
      if (!child->IsVisible() || !child->IsEnabled() || int(child->GetZOrder()) <= best) continue;
      if (N_GuiElement* found = child->GetElementAt(x, y)) {
        hit = found;
        best = found->GetZOrder();
      }
    }
  }
  return hit ? hit : this;
}

void N_GuiContainer::SetAlpha(std::uint8_t alpha) {
  N_GuiElement::SetAlpha(alpha);
  for (auto& [name, child] : m_children) child->SetAlpha(alpha);
}

void N_GuiContainer::Add(N_GuiElement* element) {
  if (!element) return;
  if (element->IsContainer()) {
    AddChildContainer(static_cast<N_GuiContainer*>(element));
  } else {
    AddChild(element);
  }
}

bool N_GuiContainer::AddChild(N_GuiElement* child) {
  if (!child) return false;
  const auto [it, inserted] = m_children.try_emplace(child->GetName(), child);
  if (!inserted) {
    GuiReport("Child with name %s already defined.\n", child->GetName().c_str());
    return false;
  }
  child->SetParent(this, GetPage());
  child->SetZOrder(static_cast<std::uint16_t>(GetZOrder() + 1));
  m_drawOrderDirty = true;
  return true;
}

void N_GuiContainer::AddChildContainer(N_GuiContainer* child) {
  // A refused duplicate must not be re-parented or listed.
  if (!AddChild(child)) return;
  child->SetParent(this, GetPage());
  child->SetZOrder(static_cast<std::uint16_t>(GetZOrder() + 1));
  for (auto& [name, grandchild] : child->m_children) {
    grandchild->SetParent(child, GetPage());
    grandchild->SetZOrder(static_cast<std::uint16_t>(child->GetZOrder() + 1));
  }
  m_childContainers[child->GetName()] = child;
}

void N_GuiContainer::RemoveChild(const std::string& name) {
  if (m_children.erase(name) == 0) {
    GuiReport("Child with name %s not found.\n", name.c_str());
    return;
  }
  m_childContainers.erase(name);
  m_drawOrderDirty = true;
}

N_GuiElement* N_GuiContainer::GetChild(const std::string& name) {
  const auto it = m_children.find(name);
  if (it == m_children.end()) {
    GuiReport("Child with name %s not found.\n", name.c_str());
    return nullptr;
  }
  return it->second;
}

bool N_GuiContainer::DetachChild(const N_GuiElement* child) {
  if (!child) return false;
  const auto it = m_children.find(child->GetName());
  if (it == m_children.end() || it->second != child) return false;
  m_children.erase(it);
  const auto container = m_childContainers.find(child->GetName());
  if (container != m_childContainers.end() && static_cast<const N_GuiElement*>(container->second) == child)
    m_childContainers.erase(container);
  m_drawOrderDirty = true;
  return true;
}

void N_GuiContainer::CloneChildrenFrom(const N_GuiElement& templateElement, bool intoTemplates) {
  CopyAttributesFrom(templateElement);
  if (!templateElement.IsContainer() || &templateElement == this) return;
  N_GuiMng* mng = g_guiServices.guiMng;
  if (!mng) return;
  const auto& source = static_cast<const N_GuiContainer&>(templateElement);
  for (const auto& [name, child] : source.m_children) {
    if (!child->GetCloneWithTemplate()) continue;
    N_GuiElement* copy = mng->CreateElement(child->GetTypeName(), GetName() + "/" + name, intoTemplates);
    if (!copy) continue;  // reported by the manager
    child->CopyAttributes(*copy);
    Add(copy);
  }
}
