#include "framework/base_list.h"

#include "framework/heap.h"

BaseListIterator::BaseListIterator(BaseList* list, int where) : list(list), node(&list->head)
{
    if (where == kFirst)
        ToFirst();
    else if (where == kLast)
        ToLast();
}

void BaseListIterator::InitAt(BaseList* owner, int n)
{
    list = owner;
    node = list->head.next;
    while (n-- > 0 && node != &list->head)
        node = node->next;
}

void BaseListIterator::ToFirst() { node = list->head.next; }
void BaseListIterator::ToLast() { node = list->head.previous; }
void BaseListIterator::ToEnd() { node = &list->head; }

void BaseListIterator::Next()
{
    if (node != &list->head)
        node = node->next;
}

bool BaseListIterator::Advance(int n)
{
    while (n-- > 0) {
        if (node == &list->head)
            return false;
        node = node->next;
    }
    return node != &list->head;
}

bool BaseListIterator::IsValid() const { return list && node != &list->head; }

uint16_t BaseListIterator::Index() const
{
    uint16_t index = 0;
    for (BaseListNode* n = list->head.next; n != &list->head; n = n->next, ++index)
        if (n == node)
            return index;
    return 0xFFFF;
}

BaseList::BaseList() : count(0)
{
    head.next = &head;
    head.previous = &head;
    head.item = nullptr;
}

BaseList::~BaseList() { RemoveAll(); }

BaseListNode* BaseList::Link(void* item, BaseListNode* before)
{
    // The count is 16 bits: one more node would wrap it to 0 and the list
    // would forget every node it holds.
    if (count == 0xFFFF)
        return nullptr;
    BaseListNode* node = static_cast<BaseListNode*>(HeapAllocate(sizeof(BaseListNode), gListNodeHeap));
    if (!node)
        return nullptr;
    node->item = item;
    node->next = before;
    node->previous = before->previous;
    before->previous->next = node;
    before->previous = node;
    ++count;
    return node;
}

void* BaseList::Unlink(BaseListNode* node)
{
    void* item = node->item;
    node->previous->next = node->next;
    node->next->previous = node->previous;
    operator delete(node);
    --count;
    return item;
}

BaseListNode* BaseList::Append(void* item) { return Link(item, &head); }
BaseListNode* BaseList::Prepend(void* item) { return Link(item, head.next); }
BaseListNode* BaseList::InsertBefore(void* item, const BaseListIterator& at)
{
    return Link(item, at.node);
}
BaseListNode* BaseList::InsertAfter(void* item, const BaseListIterator& at)
{
    return Link(item, at.node->next);
}

void* BaseList::First() const { return head.next->item; }
void* BaseList::Last() const { return head.previous->item; }

void* BaseList::RemoveFirst() { return count ? Unlink(head.next) : nullptr; }
void* BaseList::RemoveLast() { return count ? Unlink(head.previous) : nullptr; }

void* BaseList::RemoveAt(BaseListIterator& at)
{
    if (at.node == &head)
        return nullptr;
    BaseListNode* node = at.node;
    at.node = node->next;
    return Unlink(node);
}

void BaseList::RemoveAll()
{
    while (count)
        Unlink(head.next);
}

bool BaseList::Contains(void* item) const { return CountOf(item) > 0; }

int BaseList::CountOf(void* item) const
{
    int found = 0;
    for (const BaseListNode* n = head.next; n != &head; n = n->next)
        if (n->item == item)
            ++found;
    return found;
}

void BaseList::Find(BaseListIterator& out, void* item)
{
    out.list = this;
    out.node = head.next;
    while (out.node != &head && out.node->item != item)
        out.node = out.node->next;
}

void BaseList::Sort(ComesBefore comesBefore)
{
    if (count < 2)
        return;
    for (BaseListNode* node = head.next->next; node != &head; node = node->next) {
        void* item = node->item;
        BaseListNode* free = node;
        while (free->previous != &head && comesBefore(item, free->previous->item)) {
            free->item = free->previous->item;
            free = free->previous;
        }
        free->item = item;
    }
}
