#include "toolkit/list.h"

#include <new>

bool List::First() {
    cursorIndex = 0;
    current = head;
    return current != nullptr;
}

bool List::Last() {
    cursorIndex = count;
    current = tail;
    return current != nullptr;
}

bool List::Next() {
    if (!current)
        return false;
    current = current->next;
    ++cursorIndex;
    return current != nullptr;
}

void* List::Current() const {
    return current ? current->data : nullptr;
}

bool List::Append(void* element) {
    Node* node = new (std::nothrow) Node{nullptr, tail, element};
    if (!node)
        return false;
    if (tail)
        tail->next = node;
    else {
        head = node;
        current = node;
    }
    tail = node;
    ++count;
    return true;
}

bool List::RemoveCurrent() {
    if (!current)
        return false;
    Node* node = current;
    if (node->prev)
        node->prev->next = node->next;
    else
        head = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        tail = node->prev;
    current = node->next ? node->next : node->prev;
    delete node;
    --count;
    return current != nullptr;
}

bool List::ClearCurrentData() {
    current->data = nullptr;
    return true;
}

void List::Clear() {
    Node* node = head;
    while (node) {
        Node* next = node->next;
        delete node;
        node = next;
    }
    count = 0;
    cursorIndex = 0;
    head = nullptr;
    tail = nullptr;
    current = nullptr;
}
