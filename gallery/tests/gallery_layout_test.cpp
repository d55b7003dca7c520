#include <gtest/gtest.h>

#include "gallery/book_list_layout.h"
#include "gallery/label_fitting.h"
#include "gallery/trash_order.h"
#include "gallery/viewer_layout.h"

namespace {

const Pair kSlots[kViewerSlots] = {{300, 70},  {437, 70},  {574, 70},  {300, 190}, {437, 190},
                                   {574, 190}, {300, 310}, {437, 310}, {574, 310}};

}  // namespace

TEST(ViewerLayout, FirstPageArrowsAndScrolling)
{
    EXPECT_EQ(0, FirstShownPage(5, 9));
    EXPECT_EQ(9, FirstShownPage(10, 30));
    EXPECT_EQ(12, FirstShownPage(20, 22));  // pages 12 to 20
    EXPECT_EQ(3, FirstShownPage(9, 10));

    EXPECT_FALSE(ViewerArrowsFor(0, 9).up);
    EXPECT_FALSE(ViewerArrowsFor(0, 9).down);
    EXPECT_TRUE(ViewerArrowsFor(0, 10).down);
    EXPECT_TRUE(ViewerArrowsFor(3, 10).up);
    EXPECT_FALSE(ViewerArrowsFor(3, 10).down);

    struct Case {
        bool down;
        int32_t first, current, count, newFirst, newCurrent;
    } cases[] = {
        {true, 0, 1, 20, 3, 4},    // same column, new first row
        {true, 0, 2, 5, 3, 3},     // that page does not exist: the first shown
        {true, 0, 7, 20, 3, 7},    // still in view
        {false, 9, 17, 20, 6, 14}, // same column, new last row
        {false, 3, 5, 20, 0, 5},
        {false, 1, 10, 20, 0, 7},  // never below 0
    };
    for (const Case& c : cases) {
        ViewerScroll s = c.down ? ScrollViewerDown(c.first, c.current, c.count, 1)
                                : ScrollViewerUp(c.first, c.current, c.count, 1);
        EXPECT_EQ(c.newFirst, s.first) << c.first << " " << c.current;
        EXPECT_EQ(c.newCurrent, s.current) << c.first << " " << c.current;
    }
}

TEST(ViewerLayout, InsertionBands)
{
    struct Case {
        int32_t x, y, first, count, index;
    } cases[] = {
        {310, 100, 0, 20, 0},  {350, 100, 0, 20, 0},  {351, 100, 0, 20, 1},
        {690, 100, 0, 20, 3},  {400, 179, 0, 20, 1},  {400, 180, 0, 20, 4},
        {400, 299, 0, 20, 4},  {400, 300, 0, 20, 9},  {400, 301, 0, 20, 7},
        {690, 437, 0, 20, 9},  {400, 450, 0, 20, 9},  {200, 100, 0, 20, 9},
        {690, 320, 0, 8, -1},  {310, 100, 3, 20, 3},  {400, 200, 3, 20, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.index, InsertionIndex({c.x, c.y}, kSlots, 101, c.first, c.count))
            << c.x << ", " << c.y << " first " << c.first;
}

TEST(BookListLayout, OneFiveAndSixBooks)
{
    BookColumn one = LayOutBookColumn(1, 0, 0);
    EXPECT_TRUE(one.books.empty());
    EXPECT_FALSE(one.up);
    EXPECT_FALSE(one.down);

    BookColumn five = LayOutBookColumn(5, 2, 0);
    EXPECT_EQ((std::vector<int32_t>{0, 1, 3, 4}), five.books);
    EXPECT_FALSE(five.up);
    EXPECT_FALSE(five.down);

    BookColumn six = LayOutBookColumn(6, 0, 0);
    EXPECT_EQ((std::vector<int32_t>{1, 2, 3, 4}), six.books);
    EXPECT_FALSE(six.up);
    EXPECT_TRUE(six.down);
    BookColumn scrolled = LayOutBookColumn(6, 0, 1);
    EXPECT_EQ((std::vector<int32_t>{2, 3, 4, 5}), scrolled.books);
    EXPECT_TRUE(scrolled.up);
    EXPECT_FALSE(scrolled.down);
    // A current book in the middle of the scrolled column is left out.
    EXPECT_EQ((std::vector<int32_t>{1, 2, 4, 5}), LayOutBookColumn(7, 3, 1).books);

    EXPECT_EQ(0, FirstAfterBookAdded(4));
    EXPECT_EQ(2, FirstAfterBookAdded(7));
}

TEST(LabelFitting, ShortensToTheSuffixAndStopsAtTheEmptyText)
{
    auto upTo = [](size_t n) { return [n](const std::string& s) { return s.size() <= n; }; };
    EXPECT_EQ("Carnet", FitLabelText("Carnet", "...", upTo(8)));
    EXPECT_EQ("Ab...", FitLabelText("Abcdefgh", "...", upTo(5)));
    EXPECT_EQ("...", FitLabelText("abcdef", "...", upTo(2)));
    EXPECT_EQ("...", FitLabelText("abcdef", "...", [](const std::string&) { return false; }));
}

TEST(TrashOrder, OldestFirstBooksBeforePagesOfTheSameTime)
{
    const int32_t books[3] = {50, 20, 0};
    const int32_t pages[3] = {20, 10, 20};
    std::vector<TrashItem> items = OrderTrash(books, 3, pages, 3);
    ASSERT_EQ(3u, items.size());
    EXPECT_EQ(2, items[0].kind);  // page 1 at 10
    EXPECT_EQ(1, items[0].index);
    EXPECT_EQ(1, items[1].kind);  // book 1 at 20, before the pages of 20
    EXPECT_EQ(1, items[1].index);
    EXPECT_EQ(2, items[2].kind);  // page 0 at 20, page 2 waits
    EXPECT_EQ(0, items[2].index);
    EXPECT_TRUE(OrderTrash(books, 0, pages, 0).empty());
}
