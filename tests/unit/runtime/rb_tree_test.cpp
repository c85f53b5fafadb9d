// The runtime's red-black tree steps, run on real trees the way std::map runs them: every
// insertion and removal is followed by a check of the whole tree (colours, black heights,
// parent links, the header's smallest and largest) and of both walking directions against a
// reference multiset.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include "platform/win32/runtime/rb_tree.h"

namespace {

using Base = std::_Rb_tree_node_base;

struct Node : Base {
    int key = 0;
};

int keyOf(const Base* node) {
    return static_cast<const Node*>(node)->key;
}

class Tree {
public:
    Tree() {
        header_._M_color = std::_S_red;
        header_._M_parent = nullptr;
        header_._M_left = header_._M_right = &header_;
    }

    // Inserts after any equal keys, as multiset::insert does.
    void insert(int key) {
        nodes_.push_back(std::make_unique<Node>());
        Node* node = nodes_.back().get();
        node->key = key;
        Base* parent = &header_;
        Base* at = header_._M_parent;
        while (at != nullptr) {
            parent = at;
            at = key < keyOf(at) ? at->_M_left : at->_M_right;
        }
        const bool left = parent == &header_ || key < keyOf(parent);
        tunara_rb::_Rb_tree_insert_and_rebalance(left, node, parent, header_);
    }

    // Removes the index-th node in order; returns its key.
    int eraseAt(std::size_t index) {
        Base* node = header_._M_left;
        while (index-- > 0) node = tunara_rb::_Rb_tree_increment(node);
        Base* removed = tunara_rb::_Rb_tree_rebalance_for_erase(node, header_);
        EXPECT_EQ(removed, node) << "the node handed in is the one that leaves";
        return keyOf(removed);
    }

    // Every rule of the tree; the keys in order, walked forwards and backwards.
    std::vector<int> checkedKeys() const {
        const Base* root = header_._M_parent;
        if (root == nullptr) {
            EXPECT_EQ(header_._M_left, &header_);
            EXPECT_EQ(header_._M_right, &header_);
            return {};
        }
        EXPECT_EQ(root->_M_parent, &header_);
        EXPECT_EQ(root->_M_color, std::_S_black);
        blackHeight(root);
        const Base* smallest = root;
        while (smallest->_M_left != nullptr) smallest = smallest->_M_left;
        const Base* largest = root;
        while (largest->_M_right != nullptr) largest = largest->_M_right;
        EXPECT_EQ(header_._M_left, smallest);
        EXPECT_EQ(header_._M_right, largest);

        std::vector<int> forwards;
        for (const Base* at = header_._M_left; at != &header_; at = tunara_rb::_Rb_tree_increment(at)) {
            forwards.push_back(keyOf(at));
            if (forwards.size() > nodes_.size()) break;
        }
        std::vector<int> backwards;
        const Base* end = &header_;
        for (const Base* at = tunara_rb::_Rb_tree_decrement(end); at != &header_;) {
            backwards.push_back(keyOf(at));
            if (backwards.size() > nodes_.size() || at == header_._M_left) break;
            at = tunara_rb::_Rb_tree_decrement(at);
        }
        std::reverse(backwards.begin(), backwards.end());
        EXPECT_EQ(forwards, backwards);
        return forwards;
    }

private:
    // Black nodes on every path from node down; the same on both sides, no red under red,
    // every child's parent link pointing back.
    int blackHeight(const Base* node) const {
        if (node == nullptr) return 1;
        for (const Base* child : {node->_M_left, node->_M_right}) {
            if (child == nullptr) continue;
            EXPECT_EQ(child->_M_parent, node);
            if (node->_M_color == std::_S_red) {
                EXPECT_EQ(child->_M_color, std::_S_black);
            }
        }
        if (node->_M_left != nullptr) {
            EXPECT_LE(keyOf(node->_M_left), keyOf(node));
        }
        if (node->_M_right != nullptr) {
            EXPECT_GE(keyOf(node->_M_right), keyOf(node));
        }
        const int left = blackHeight(node->_M_left);
        const int right = blackHeight(node->_M_right);
        EXPECT_EQ(left, right) << "at key " << keyOf(node);
        return left + (node->_M_color == std::_S_black ? 1 : 0);
    }

    Base header_;
    std::vector<std::unique_ptr<Node>> nodes_;
};

std::vector<int> sorted(const std::multiset<int>& keys) {
    return {keys.begin(), keys.end()};
}

TEST(RbTreeTest, AscendingDescendingAndRandomInsertionsKeepEveryRule) {
    for (int order = 0; order < 3; ++order) {
        SCOPED_TRACE(order);
        Tree tree;
        std::multiset<int> reference;
        std::mt19937 random(7);
        for (int i = 0; i < 300; ++i) {
            const int key = order == 0 ? i : order == 1 ? -i : static_cast<int>(random() % 50);
            tree.insert(key);
            reference.insert(key);
            ASSERT_EQ(tree.checkedKeys(), sorted(reference)) << "after inserting " << key;
            if (HasFailure()) return;
        }
    }
}

TEST(RbTreeTest, RemovalsAtEveryPlaceDownToAnEmptyTreeKeepEveryRule) {
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        Tree tree;
        std::multiset<int> reference;
        const int size = 1 + static_cast<int>(random() % 120);
        for (int i = 0; i < size; ++i) {
            const int key = static_cast<int>(random() % 40);
            tree.insert(key);
            reference.insert(key);
        }
        // Smallest, largest, then anywhere; re-inserting now and then.
        for (int step = 0; !reference.empty(); ++step) {
            const std::size_t index = step == 0 ? 0
                                      : step == 1 ? reference.size() - 1
                                                  : random() % reference.size();
            const int key = tree.eraseAt(index);
            reference.erase(std::next(reference.begin(), static_cast<long>(index)));
            ASSERT_EQ(tree.checkedKeys(), sorted(reference)) << "after removing " << key;
            if (step % 7 == 3) {
                tree.insert(key);
                reference.insert(key);
            }
            if (HasFailure()) return;
        }
        tree.checkedKeys();
    }
}

}  // namespace
