#include "platform/win32/runtime/rb_tree.h"

namespace TUNARA_RB_NAMESPACE {
namespace {

using Node = _Rb_tree_node_base;
constexpr auto kRed = std::_S_red;
constexpr auto kBlack = std::_S_black;

bool isBlack(const Node* node) {
    return node == nullptr || node->_M_color == kBlack;
}

Node* minimum(Node* node) {
    while (node->_M_left != nullptr) node = node->_M_left;
    return node;
}

Node* maximum(Node* node) {
    while (node->_M_right != nullptr) node = node->_M_right;
    return node;
}

// Puts child (which takes node's place under node's parent) in node's place.
void replaceChild(Node* node, Node* child, Node*& root) {
    if (node == root) {
        root = child;
    } else if (node == node->_M_parent->_M_left) {
        node->_M_parent->_M_left = child;
    } else {
        node->_M_parent->_M_right = child;
    }
}

// The two children by side (0 left, 1 right), so each step is written once for both mirror
// images.
using Link = Node* Node::*;
constexpr Link kChild[2] = {&Node::_M_left, &Node::_M_right};

// Rotates node down to its `side`: the child on the other side takes its place.
void rotate(Node* node, int side, Node*& root) {
    const Link near = kChild[side];
    const Link far = kChild[1 - side];
    Node* pivot = node->*far;
    node->*far = pivot->*near;
    if (pivot->*near != nullptr) (pivot->*near)->_M_parent = node;
    pivot->_M_parent = node->_M_parent;
    replaceChild(node, pivot, root);
    pivot->*near = node;
    node->_M_parent = pivot;
}

Node* next(Node* node) {
    if (node->_M_right != nullptr) return minimum(node->_M_right);
    Node* parent = node->_M_parent;
    while (node == parent->_M_right) {
        node = parent;
        parent = parent->_M_parent;
    }
    // Stepping on from the largest node of a one-node tree ends at the header, whose parent
    // is that node: the climb above stops with node == header there.
    return node->_M_right != parent ? parent : node;
}

Node* previous(Node* node) {
    // The header (red, its parent's parent is itself) steps back to the largest node.
    if (node->_M_color == kRed && node->_M_parent->_M_parent == node) return node->_M_right;
    if (node->_M_left != nullptr) return maximum(node->_M_left);
    Node* parent = node->_M_parent;
    while (node == parent->_M_left) {
        node = parent;
        parent = parent->_M_parent;
    }
    return parent;
}

}  // namespace

Node* _Rb_tree_increment(Node* node) throw() {
    return next(node);
}

const Node* _Rb_tree_increment(const Node* node) throw() {
    return next(const_cast<Node*>(node));
}

Node* _Rb_tree_decrement(Node* node) throw() {
    return previous(node);
}

const Node* _Rb_tree_decrement(const Node* node) throw() {
    return previous(const_cast<Node*>(node));
}

void _Rb_tree_insert_and_rebalance(const bool insertLeft, Node* node, Node* parent,
                                   Node& header) throw() {
    Node*& root = header._M_parent;
    node->_M_parent = parent;
    node->_M_left = nullptr;
    node->_M_right = nullptr;
    node->_M_color = kRed;

    if (insertLeft) {
        parent->_M_left = node;  // the header's left, too, when the tree was empty
        if (parent == &header) {
            header._M_parent = node;
            header._M_right = node;
        } else if (parent == header._M_left) {
            header._M_left = node;
        }
    } else {
        parent->_M_right = node;
        if (parent == header._M_right) header._M_right = node;
    }

    while (node != root && node->_M_parent->_M_color == kRed) {
        Node* parent = node->_M_parent;
        Node* grandparent = parent->_M_parent;
        const int side = parent == grandparent->_M_left ? 0 : 1;
        const Link far = kChild[1 - side];
        Node* uncle = grandparent->*far;
        if (!isBlack(uncle)) {
            parent->_M_color = kBlack;
            uncle->_M_color = kBlack;
            grandparent->_M_color = kRed;
            node = grandparent;
        } else {
            if (node == parent->*far) {
                node = parent;
                rotate(node, side, root);
            }
            node->_M_parent->_M_color = kBlack;
            grandparent->_M_color = kRed;
            rotate(grandparent, 1 - side, root);
        }
    }
    root->_M_color = kBlack;
}

Node* _Rb_tree_rebalance_for_erase(Node* const node, Node& header) throw() {
    Node*& root = header._M_parent;
    Node*& leftmost = header._M_left;
    Node*& rightmost = header._M_right;

    // removed: the node that leaves its place (node itself, or its successor when node has two
    // children); child: what takes removed's place (may be null); childParent: its parent.
    Node* removed = node;
    Node* child = nullptr;
    Node* childParent = nullptr;
    if (removed->_M_left == nullptr) {
        child = removed->_M_right;
    } else if (removed->_M_right == nullptr) {
        child = removed->_M_left;
    } else {
        removed = minimum(removed->_M_right);
        child = removed->_M_right;
    }

    if (removed != node) {
        // The successor takes node's place, with node's colour.
        node->_M_left->_M_parent = removed;
        removed->_M_left = node->_M_left;
        if (removed != node->_M_right) {
            childParent = removed->_M_parent;
            if (child != nullptr) child->_M_parent = removed->_M_parent;
            removed->_M_parent->_M_left = child;
            removed->_M_right = node->_M_right;
            node->_M_right->_M_parent = removed;
        } else {
            childParent = removed;
        }
        replaceChild(node, removed, root);
        removed->_M_parent = node->_M_parent;
        const auto colour = removed->_M_color;
        removed->_M_color = node->_M_color;
        node->_M_color = colour;
        removed = node;  // from here on: the node that leaves the tree, with the colour that left
    } else {
        childParent = removed->_M_parent;
        if (child != nullptr) child->_M_parent = removed->_M_parent;
        replaceChild(node, child, root);
        if (leftmost == node) leftmost = node->_M_right == nullptr ? node->_M_parent : minimum(child);
        if (rightmost == node) rightmost = node->_M_left == nullptr ? node->_M_parent : maximum(child);
    }

    if (removed->_M_color != kRed) {
        // A black node left: child carries an extra black until it can be given away.
        while (child != root && isBlack(child)) {
            const int side = child == childParent->_M_left ? 0 : 1;
            const Link near = kChild[side];
            const Link far = kChild[1 - side];
            Node* sibling = childParent->*far;
            if (sibling->_M_color == kRed) {
                sibling->_M_color = kBlack;
                childParent->_M_color = kRed;
                rotate(childParent, side, root);
                sibling = childParent->*far;
            }
            if (isBlack(sibling->*near) && isBlack(sibling->*far)) {
                sibling->_M_color = kRed;
                child = childParent;
                childParent = childParent->_M_parent;
                continue;
            }
            if (isBlack(sibling->*far)) {
                (sibling->*near)->_M_color = kBlack;
                sibling->_M_color = kRed;
                rotate(sibling, 1 - side, root);
                sibling = childParent->*far;
            }
            sibling->_M_color = childParent->_M_color;
            childParent->_M_color = kBlack;
            if (sibling->*far != nullptr) (sibling->*far)->_M_color = kBlack;
            rotate(childParent, side, root);
            break;
        }
        if (child != nullptr) child->_M_color = kBlack;
    }
    return removed;
}

}  // namespace TUNARA_RB_NAMESPACE
