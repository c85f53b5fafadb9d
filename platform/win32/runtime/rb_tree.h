// The out-of-line red-black tree steps behind std::map and std::set, compiled for the Pentium
// (the precompiled library's are i686 code). They keep the standard library's layout: the
// header node's parent is the root, its left and right the smallest and largest node.
//
// On Windows they are the std:: functions the headers call; the host build compiles them in
// namespace tunara_rb so the tests can run them against real trees.
#pragma once

#include <bits/stl_tree.h>

#if defined(_WIN32)
#define TUNARA_RB_NAMESPACE std
#else
#define TUNARA_RB_NAMESPACE tunara_rb
#endif

namespace TUNARA_RB_NAMESPACE {

using std::_Rb_tree_node_base;

_Rb_tree_node_base* _Rb_tree_increment(_Rb_tree_node_base* node) throw();
const _Rb_tree_node_base* _Rb_tree_increment(const _Rb_tree_node_base* node) throw();
_Rb_tree_node_base* _Rb_tree_decrement(_Rb_tree_node_base* node) throw();
const _Rb_tree_node_base* _Rb_tree_decrement(const _Rb_tree_node_base* node) throw();
void _Rb_tree_insert_and_rebalance(const bool insertLeft, _Rb_tree_node_base* node,
                                   _Rb_tree_node_base* parent,
                                   _Rb_tree_node_base& header) throw();
_Rb_tree_node_base* _Rb_tree_rebalance_for_erase(_Rb_tree_node_base* const node,
                                                 _Rb_tree_node_base& header) throw();

}  // namespace TUNARA_RB_NAMESPACE
