#pragma once
// Freeing the subtrees of a node of a binary tree whose nodes link their children
// through `left` and `right` pointers they own (allocated with new).

/// Frees the left child's subtree, then the left child, then the same on the right;
/// the node itself stays, its child links null. A null node does nothing.
template <class Node>
void FreeTreeNode(Node* node) {
  if (!node) return;
  if (node->left) {
    FreeTreeNode(node->left);
    delete node->left;
    node->left = nullptr;
  }
  if (node->right) {
    FreeTreeNode(node->right);
    delete node->right;
    node->right = nullptr;
  }
}
