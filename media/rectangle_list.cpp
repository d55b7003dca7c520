#include "media/rectangle_list.h"

namespace {

int32_t AreaOf(const Box& box)
{
    return box.IsEmpty() ? 0 : box.Width() * box.Height();
}

const Box kNoBox = {0, 0, 0, 0};

}  // namespace

void MMRectangleList::InitWithBox(const Box& box)
{
    count = 0;
    AddRect(box);
}

void MMRectangleList::AddList(const MMRectangleList& other)
{
    MMRectangleList copy = other;  // other may be this list
    for (const Box& box : copy) {
        AddRect(box);
    }
}

void MMRectangleList::Offset(const Pair& point)
{
    for (int i = 0; i < count; ++i) {
        boxes[i].Offset(point);
    }
}

void MMRectangleList::ClipToBox(const Box& box)
{
    MMRectangleList clipped;
    for (const Box& mine : *this) {
        Box part = mine.Intersected(box);
        if (!part.IsEmpty()) {
            clipped.AddRect(part);
        }
    }
    *this = clipped;
}

void MMRectangleList::IntersectWithList(const MMRectangleList& other)
{
    MMRectangleList result;
    for (const Box& theirs : other) {
        for (const Box& mine : *this) {
            Box part = theirs.Intersected(mine);
            if (!part.IsEmpty()) {
                result.AddRect(part);
            }
        }
    }
    *this = result;
}

bool MMRectangleList::Intersects(const Box& box) const
{
    for (const Box& mine : *this) {
        if (mine.Overlaps(box)) {
            return true;
        }
    }
    return false;
}

bool MMRectangleList::IntersectsList(const MMRectangleList& other) const
{
    for (const Box& theirs : other) {
        if (Intersects(theirs)) {
            return true;
        }
    }
    return false;
}

bool MMRectangleList::ContainsPoint(const Pair& point) const
{
    for (const Box& mine : *this) {
        if (mine.Contains(point)) {
            return true;
        }
    }
    return false;
}

bool MMRectangleList::CoversBox(const Box& box) const
{
    int32_t covered = 0;
    for (const Box& mine : *this) {
        covered += AreaOf(mine.Intersected(box));
    }
    return covered == AreaOf(box);
}

bool MMRectangleList::CoversList(const MMRectangleList& other) const
{
    for (const Box& theirs : other) {
        if (!CoversBox(theirs)) {
            return false;
        }
    }
    return true;
}

Box MMRectangleList::Bounds() const
{
    Box bounds = kNoBox;
    for (const Box& mine : *this) {
        bounds.Union(mine);
    }
    return bounds;
}

int32_t MMRectangleList::Area() const
{
    int32_t area = 0;
    for (const Box& mine : *this) {
        area += AreaOf(mine);
    }
    return area;
}

void MMRectangleList::SortByTopLeft()
{
    for (int i = 0; i < count; ++i) {
        int least = i;
        for (int j = i + 1; j < count; ++j) {
            const Box& a = boxes[j];
            const Box& b = boxes[least];
            if (a.top < b.top || (a.top == b.top && a.left < b.left)) {
                least = j;
            }
        }
        Box swap = boxes[i];
        boxes[i] = boxes[least];
        boxes[least] = swap;
    }
}

void MMRectangleList::RemoveAt(int index)
{
    boxes[index] = boxes[count - 1];
    --count;
}

void MMRectangleList::Append(const Box& box)
{
    if (!box.IsEmpty()) {
        boxes[count++] = box;
    }
}

void MMRectangleList::AddRect(const Box& box)
{
    Box pending[kCapacity];
    int pendingCount = 0;
    bool appended = false;
    Box r = box;
    auto push = [&](const Box& piece) {
        if (!piece.IsEmpty()) {
            pending[pendingCount++] = piece;
        }
    };

    for (;;) {
        if (r.IsEmpty()) {
            if (pendingCount == 0) {
                break;
            }
            r = pending[--pendingCount];
        }
        int mergeWith = -1;
        for (int i = count - 1; i >= 0 && !r.IsEmpty(); --i) {
            Box& s = boxes[i];
            if (!r.Overlaps(s)) {
                continue;
            }
            if (s.Contains(r)) {
                r = kNoBox;
                break;
            }
            if (r.Contains(s)) {
                RemoveAt(i);
                continue;
            }
            int code = (s.left <= r.left ? 1 : 0) | (r.right <= s.right ? 2 : 0) |
                       (s.top <= r.top ? 4 : 0) | (r.bottom <= s.bottom ? 8 : 0);
            bool listRoom = count < kCapacity;
            bool stackRoom = pendingCount < kCapacity;
            Box old = s;
            switch (code) {
            case 1: s.right = r.left; break;
            case 2: s.left = r.right; break;
            case 4: s.bottom = r.top; break;
            case 8: s.top = r.bottom; break;
            case 7: r.top = s.bottom; break;
            case 11: r.bottom = s.top; break;
            case 13: r.left = s.right; break;
            case 14: r.right = s.left; break;
            case 3:
                if (!listRoom) {
                    mergeWith = i;
                    break;
                }
                RemoveAt(i);
                Append({old.left, old.top, r.left, old.bottom});
                Append({r.right, old.top, old.right, old.bottom});
                break;
            case 12:
                if (!listRoom) {
                    mergeWith = i;
                    break;
                }
                RemoveAt(i);
                Append({old.left, old.top, old.right, r.top});
                Append({old.left, r.bottom, old.right, old.bottom});
                break;
            case 5:
            case 6:
                if (!stackRoom || (code == 6 && !listRoom)) {
                    mergeWith = i;
                    break;
                }
                push({r.left, old.bottom, r.right, r.bottom});
                if (code == 5) {
                    r = {old.left, r.top, r.right, old.bottom};
                } else {
                    r = {r.left, r.top, old.right, old.bottom};
                }
                RemoveAt(i);
                Append({old.left, old.top, old.right, r.top});
                break;
            case 9:
            case 10:
                if (!stackRoom || !listRoom) {
                    mergeWith = i;
                    break;
                }
                push({r.left, r.top, r.right, old.top});
                if (code == 9) {
                    r = {old.left, old.top, r.right, r.bottom};
                } else {
                    r = {r.left, old.top, old.right, r.bottom};
                }
                RemoveAt(i);
                Append({old.left, r.bottom, old.right, old.bottom});
                break;
            }
            if (mergeWith >= 0) {
                break;
            }
        }
        if (mergeWith < 0 && !r.IsEmpty()) {
            if (count < kCapacity) {
                Append(r);
                appended = true;
                r = kNoBox;
                continue;
            }
            mergeWith = ChooseMergeCandidate(r);
        }
        if (mergeWith >= 0) {
            r = r.United(boxes[mergeWith]);
            RemoveAt(mergeWith);
        }
    }
    if (appended) {
        MergeAdjacent();
    }
}

int MMRectangleList::ChooseMergeCandidate(const Box& r) const
{
    int taken = -1;
    int32_t bestCost = 0;
    for (int s = count - 1; s >= 0; --s) {
        Box u = r.United(boxes[s]);
        int32_t cost = AreaOf(u) - AreaOf(r);
        int n = 0;
        for (const Box& j : *this) {
            if (!j.Overlaps(u)) {
                continue;
            }
            int k = (j.left >= u.left) + (j.right <= u.right) + (j.top >= u.top) +
                    (j.bottom <= u.bottom);
            if (k >= 1) {
                cost -= AreaOf(j.Intersected(u));
                cost += AreaOf(j.Intersected(r));
            }
            if (k == 4) {
                ++n;
            } else if (k == 2) {
                --n;
            }
        }
        if (taken < 0 || (n > 0 && cost < bestCost)) {
            taken = s;
            bestCost = cost;
            if (cost == 0) {
                break;
            }
        }
    }
    return taken;
}

void MMRectangleList::MergeAdjacent()
{
    bool found = true;
    while (found) {
        found = false;
        for (int later = count - 1; later > 0 && !found; --later) {
            for (int earlier = later - 1; earlier >= 0; --earlier) {
                Box& a = boxes[earlier];
                const Box& b = boxes[later];
                bool stacked = a.left == b.left && a.right == b.right &&
                               (a.top == b.bottom || a.bottom == b.top);
                bool sideBySide = a.top == b.top && a.bottom == b.bottom &&
                                  (a.left == b.right || a.right == b.left);
                if (stacked || sideBySide) {
                    a.Union(b);
                    RemoveAt(later);
                    found = true;
                    break;
                }
            }
        }
    }
}
