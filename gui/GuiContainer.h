#pragma once
// N_GuiContainer: an element holding named child elements. Children are placed inside
// the container's rectangle, drawn after it in z-order, enabled, faded, laid out and
// re-parented with it, and hit-tested through it. The base of panels and of every
// composite element; never created alone (no factory, no attribute table of its own).
//
// The container does not own its children: the GUI manager creates and destroys every
// element. Destroying a container forgets its children and deletes nothing.
#include "gui/GuiElement.h"

#include <map>
#include <string>

class N_GuiContainer : public N_GuiElement {
 public:
  using ChildMap = std::map<std::string, N_GuiElement*>;
  using ContainerMap = std::map<std::string, N_GuiContainer*>;

  explicit N_GuiContainer(std::string name) : N_GuiElement(std::move(name)) {}
  ~N_GuiContainer() override = default;

  // The element operations first do their own part, then walk the children in name order.
  void SetEnabled(bool enabled) override;
  void Invalidate() override;
  void ApplyLayout() override;
  /// The children in ascending z-order (equal z-orders in name order); nothing of its own.
  void Render() override;
  /// The children get (this, page).
  void SetParent(N_GuiContainer* parent, N_GuiPage* page) override;
  /// The children get z + 1.
  void SetZOrder(std::uint16_t z) override;
  /// The deepest visible, enabled child under the point with the highest z-order (the
  /// first in name order among equals), else the container itself; null when the
  /// container is invisible or the point is outside it.
  N_GuiElement* GetElementAt(float x, float y) override;
  bool IsContainer() const override { return true; }
  void SetAlpha(std::uint8_t alpha) override;

  /// AddChildContainer for a container, else AddChild.
  virtual void Add(N_GuiElement* element);
  /// AddChild, then the child's own children are re-parented below it, and it is
  /// listed as a child container. Nothing when AddChild refused it.
  virtual void AddChildContainer(N_GuiContainer* child);
  /// Inserts the child under its name, parented to this container on its page at
  /// z-order + 1; a name already held is reported (code 12) and refused (false).
  virtual bool AddChild(N_GuiElement* child);
  /// Forgets the child of that name (it stays alive and registered); a missing name
  /// is reported.
  virtual void RemoveChild(const std::string& name);
  /// The child of that name; a missing name is reported and gives null.
  virtual N_GuiElement* GetChild(const std::string& name);
  virtual void SetChildrenTakeInput(bool take) { m_childrenTakeInput = take; }
  bool GetChildrenTakeInput() const { return m_childrenTakeInput; }

  const ChildMap& Children() const { return m_children; }
  const ContainerMap& ChildContainers() const { return m_childContainers; }

  /// Creating an element from a template: copies the template's attributes, then, when
  /// both are containers, clones each direct child of the template marked to be cloned
  /// into a new element "<this name>/<child name>" of the child's type, created through
  /// the GUI manager (into its templates when intoTemplates is set) and added here.
  void CloneChildrenFrom(const N_GuiElement& templateElement, bool intoTemplates = false);

  /// Silently forgets this child when it is held under its name (an element being
  /// destroyed); true when it was.
  bool DetachChild(const N_GuiElement* child);

 private:
  void RebuildDrawOrder();

  ChildMap m_children;
  std::multimap<std::uint16_t, N_GuiElement*> m_drawOrder;  ///< rebuilt lazily, before use
  ContainerMap m_childContainers;
  bool m_childrenTakeInput = true;
  bool m_drawOrderDirty = false;
};
