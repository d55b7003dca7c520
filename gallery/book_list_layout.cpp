#include "gallery/book_list_layout.h"

BookColumn LayOutBookColumn(int32_t count, int32_t current, int32_t first)
{
    BookColumn column;
    int32_t shown = count >= 6 ? kBookEntries : count - 1;
    if (shown < 0)
        shown = 0;
    if (first > 0 && first + shown >= count)
        --first;
    if (first < 0)
        first = 0;
    column.first = first;
    int32_t b = first;
    if (b >= current)
        ++b;
    for (int32_t i = 0; i < shown && b < count; ++i) {
        if (b == current)
            ++b;
        if (b >= count)
            break;
        column.books.push_back(b);
        ++b;
    }
    column.up = count > 5 && first > 0;
    column.down = count > 5 && first + kBookEntries < count - 1;
    return column;
}

int32_t FirstAfterBookAdded(int32_t count)
{
    return count < 5 ? 0 : count - 5;
}
