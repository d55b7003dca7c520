#pragma once
// A region kept as at most 20 disjoint boxes. A full list never fails: it
// merges boxes at the least cost in extra area.
#include <cstdint>
#include "framework/geometry.h"

class MMRectangleList {
public:
    static constexpr int kCapacity = 20;

    MMRectangleList() = default;

    void Clear() { count = 0; }
    void InitWithBox(const Box& box);
    void Add(const Box& box) { AddRect(box); }
    void AddList(const MMRectangleList& other);
    void Offset(const Pair& point);
    void ClipToBox(const Box& box);
    void IntersectWithList(const MMRectangleList& other);
    bool Intersects(const Box& box) const;
    bool IntersectsList(const MMRectangleList& other) const;
    bool ContainsPoint(const Pair& point) const;
    bool CoversBox(const Box& box) const;
    bool CoversList(const MMRectangleList& other) const;
    Box Bounds() const;
    int32_t Area() const;
    void SortByTopLeft();
    void AddRect(const Box& box);

    int16_t Count() const { return count; }
    bool IsEmpty() const { return count == 0; }
    const Box& At(int index) const { return boxes[index]; }
    const Box* begin() const { return boxes; }
    const Box* end() const { return boxes + count; }

private:
    void RemoveAt(int index);
    void Append(const Box& box);
    int ChooseMergeCandidate(const Box& r) const;
    void MergeAdjacent();

    int16_t count = 0;
    Box boxes[kCapacity];
};

class MMRectangleListIterator {
public:
    explicit MMRectangleListIterator(const MMRectangleList& list) : list(list) {}
    bool More() const { return index < list.Count(); }
    Box Current() const { return list.At(index); }
    void Next() { ++index; }

private:
    const MMRectangleList& list;
    int index = 0;
};
