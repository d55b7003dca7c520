#include "framework/uu_list.h"

#include <utility>

void UUUntypedListNode::InsertBefore(UUUntypedListNode* node)
{
    node->next = this;
    node->previous = previous;
    previous->next = node;
    previous = node;
}

void UUUntypedListNode::Unlink()
{
    previous->next = next;
    next->previous = previous;
    next = this;
    previous = this;
}

void UUUntypedListNode::Reverse()
{
    UUUntypedListNode* node = this;
    do {
        std::swap(node->next, node->previous);
        node = node->previous;  // the old next
    } while (node != this);
}

UUUntypedList::~UUUntypedList() { DeleteAll(); }

void UUUntypedList::DeleteAll()
{
    while (sentinel.next != &sentinel)
        RemoveAndDelete(sentinel.next);
}

void UUUntypedList::Swap(UUUntypedList& other)
{
    UUUntypedListNode mine;
    MoveFirstNodes(&sentinel, count, &mine);
    MoveFirstNodes(&other.sentinel, other.count, &sentinel);
    MoveFirstNodes(&mine, count, &other.sentinel);
    std::swap(count, other.count);
}

int32_t UUUntypedList::Insert(UUUntypedListNode* before, UUUntypedListNode* node)
{
    before->InsertBefore(node);
    return ++count;
}

void UUUntypedList::RemoveAndDelete(UUUntypedListNode* node)
{
    node->Unlink();
    delete node;
    --count;
}

void UUUntypedList::MoveFirstNodes(UUUntypedListNode* from, int32_t n, UUUntypedListNode* to)
{
    while (n-- > 0 && from->next != from) {
        UUUntypedListNode* node = from->next;
        node->Unlink();
        to->InsertBefore(node);
    }
}

namespace {

// Stable merge sort of the first n nodes after `from`, appended to `into`.
void MergeSort(UUUntypedListNode* from, int32_t n, UUNodeCompare compare, void* context,
               UUUntypedListNode* into)
{
    if (n <= 1) {
        UUUntypedList::MoveFirstNodes(from, n, into);
        return;
    }
    int32_t half = n / 2;
    UUUntypedListNode sorted;
    UUUntypedListNode rest;
    MergeSort(from, half, compare, context, &sorted);
    MergeSort(from, n - half, compare, context, &rest);
    UUUntypedListNode* q = sorted.next;
    while (q != &sorted && rest.next != &rest) {
        if (compare(q, rest.next, context) > 0) {
            UUUntypedListNode* node = rest.next;
            node->Unlink();
            q->InsertBefore(node);
        } else {
            q = q->next;
        }
    }
    UUUntypedList::MoveFirstNodes(&rest, n, &sorted);
    UUUntypedList::MoveFirstNodes(&sorted, n, into);
}

}  // namespace

void UUUntypedList::SortList(UUNodeCompare compare, void* context)
{
    UUUntypedListNode sorted;
    MergeSort(&sentinel, count, compare, context, &sorted);
    MoveFirstNodes(&sorted, count, &sentinel);
}
