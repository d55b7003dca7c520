#pragma once
#include <cstdint>

// A list of untyped item pointers with plain 12-byte nodes from the
// list-node heap. The items are never owned.

struct BaseListNode {
    BaseListNode* next;
    BaseListNode* previous;
    void* item;
};

class BaseList;

class BaseListIterator {
public:
    enum Where { kFirst = 0, kLast = 1, kEnd = 2 };
    BaseListIterator() : list(nullptr), node(nullptr) {}
    BaseListIterator(BaseList* list, int where);

    void InitAt(BaseList* list, int n);
    void Copy(const BaseListIterator& other) { *this = other; }
    void Assign(const BaseListIterator& other) { *this = other; }
    void ToFirst();
    void ToLast();
    void ToEnd();
    void Next();
    bool Advance(int n);
    bool IsValid() const;
    uint16_t Index() const;

    BaseList* list;
    BaseListNode* node;
};

class BaseList {
public:
    typedef bool (*ComesBefore)(void* a, void* b);

    BaseList();
    ~BaseList();
    BaseList(const BaseList&) = delete;
    BaseList& operator=(const BaseList&) = delete;

    // Each returns the new node, or null when no node could be made.
    BaseListNode* Append(void* item);
    BaseListNode* Prepend(void* item);
    BaseListNode* InsertBefore(void* item, const BaseListIterator& at);
    BaseListNode* InsertAfter(void* item, const BaseListIterator& at);

    void* First() const;
    void* Last() const;
    void* ItemAt(const BaseListIterator& at) const { return at.node->item; }
    void* RemoveFirst();
    void* RemoveLast();
    void* RemoveAt(BaseListIterator& at);
    void RemoveAll();

    bool Contains(void* item) const;
    int CountOf(void* item) const;
    void Find(BaseListIterator& out, void* item);
    void Sort(ComesBefore comesBefore);
    uint16_t Count() const { return count; }

    BaseListNode head;
    uint16_t count;

private:
    BaseListNode* Link(void* item, BaseListNode* before);
    void* Unlink(BaseListNode* node);
};
