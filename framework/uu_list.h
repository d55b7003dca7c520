#pragma once
#include <cstdint>
#include "framework/heap.h"

// Circular doubly linked lists of node objects with a sentinel; sorted by a
// stable merge sort. UUList<T> is the typed layer; its nodes come from the
// list-node heap.

class UUUntypedListNode {
public:
    UUUntypedListNode() : next(this), previous(this) {}
    virtual ~UUUntypedListNode() {}

    void InsertBefore(UUUntypedListNode* node);  // link `node` before this one
    void Unlink();                                // take this out, make it lone
    void Reverse();                               // reverse the ring from here
    bool IsLone() const { return next == this; }

    UUUntypedListNode* next;
    UUUntypedListNode* previous;
};

class UUUntypedList;
class UUListIterator {
public:
    explicit UUListIterator(UUUntypedListNode* at = nullptr) : node(at) {}
    UUUntypedListNode* node;
};

// Comparison of two nodes' items: > 0 when a must come after b.
typedef int (*UUNodeCompare)(const UUUntypedListNode* a, const UUUntypedListNode* b,
                             void* context);

class UUUntypedList {
public:
    UUUntypedList() : count(0) {}
    virtual ~UUUntypedList();
    UUUntypedList(const UUUntypedList&) = delete;
    UUUntypedList& operator=(const UUUntypedList&) = delete;

    void Swap(UUUntypedList& other);
    int32_t Insert(UUUntypedListNode* before, UUUntypedListNode* node);
    void RemoveAndDelete(UUUntypedListNode* node);
    void DeleteAll();
    void SortList(UUNodeCompare compare, void* context);
    // Moves the first n nodes after `from` to the end of `to`, in order.
    static void MoveFirstNodes(UUUntypedListNode* from, int32_t n, UUUntypedListNode* to);

    UUUntypedListNode* First() { return sentinel.next; }
    UUUntypedListNode* Last() { return sentinel.previous; }
    UUUntypedListNode* End() { return &sentinel; }
    bool IsEmpty() const { return count == 0; }

    int32_t count;
    UUUntypedListNode sentinel;
};

template <typename T>
class UUListNode : public UUUntypedListNode {
public:
    explicit UUListNode(const T& value) : item(value) {}
    T item;
};

template <typename T>
class UUList : public UUUntypedList {
public:
    typedef int (*Compare)(const T& a, const T& b);  // > 0: a after b
    typedef UUListNode<T> Node;

    // Appends (or inserts before `before`); null when no node could be made.
    Node* Append(const T& item) { return InsertBefore(End(), item); }
    Node* Prepend(const T& item) { return InsertBefore(First(), item); }
    Node* InsertBefore(UUUntypedListNode* before, const T& item)
    {
        Node* node = new (gListNodeHeap) Node(item);
        if (node)
            Insert(before, node);
        return node;
    }
    Node* Find(const T& item)
    {
        for (UUUntypedListNode* n = First(); n != End(); n = n->next)
            if (static_cast<Node*>(n)->item == item)
                return static_cast<Node*>(n);
        return nullptr;
    }
    static T& ItemOf(UUUntypedListNode* node) { return static_cast<Node*>(node)->item; }

    void Sort(Compare compare) { SortList(&CompareNodes, reinterpret_cast<void*>(compare)); }

private:
    static int CompareNodes(const UUUntypedListNode* a, const UUUntypedListNode* b,
                            void* context)
    {
        Compare compare = reinterpret_cast<Compare>(context);
        return compare(static_cast<const Node*>(a)->item, static_cast<const Node*>(b)->item);
    }
};
