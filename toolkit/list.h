// List: the toolkit's one container, a doubly linked list of untyped element
// pointers with a single built-in cursor. The list owns its nodes, never its
// elements (DeleteCurrentData is the one exception, on request).
#pragma once

#include <cstdint>

class List {
public:
    List() = default;
    ~List() { Clear(); }
    List(const List&) = delete;
    List& operator=(const List&) = delete;

    uint32_t GetCount() const { return count; }
    // Position of the cursor counted from 0 at the first node. After Last() it is
    // the count (not count - 1); after a walk off the end it is the count too.
    uint32_t GetCursorIndex() const { return cursorIndex; }

    // Cursor to the first node; whether there is one.
    bool First();
    // Cursor to the last node with cursorIndex = count; whether there is one.
    bool Last();
    // Cursor one node on; false and nothing changed when there is no current
    // node; otherwise whether the new position is on a node.
    bool Next();
    bool HasCurrent() const { return current != nullptr; }
    // Element of the current node, null without one.
    void* Current() const;

    // Adds a node at the tail. An empty list makes the new node current;
    // otherwise the cursor stays. False (nothing changed) when out of memory.
    bool Append(void* element);
    // Unlinks and frees the current node; the cursor moves to its successor, or
    // to its predecessor at the tail. cursorIndex is not changed. Returns
    // whether a current node remains.
    bool RemoveCurrent();
    // Deletes the current element (an object of type T made with new), sets the
    // node's element to null and keeps the node. False without a current node or
    // when its element is already null.
    template <typename T> bool DeleteCurrentData();
    // Frees every node (not the elements) and zeroes the list.
    void Clear();

private:
    struct Node {
        Node* next;
        Node* prev;
        void* data;
    };

    bool ClearCurrentData(); // shared tail of DeleteCurrentData

    uint32_t count = 0;
    uint32_t cursorIndex = 0;
    Node* head = nullptr;
    Node* tail = nullptr;
    Node* current = nullptr;
};

template <typename T> bool List::DeleteCurrentData() {
    if (!current || !current->data)
        return false;
    delete static_cast<T*>(current->data);
    return ClearCurrentData();
}
