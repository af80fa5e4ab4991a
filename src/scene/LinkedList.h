#pragma once

namespace vardel {

// Appends a node to a singly linked list kept as head and tail pointers, linked through the
// node's `next` field; list order is append order.
template <class Node>
void appendNode(Node*& head, Node*& tail, Node* node) {
    node->next = nullptr;
    if (tail != nullptr) {
        tail->next = node;
    } else {
        head = node;
    }
    tail = node;
}

} // namespace vardel
