// Jobs that go to the machine's default printer. check_printed_pdf.sh runs
// each case under a fresh document name and checks what reached the printer.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/print_configuration.h"
#include "framework/print_session.h"
#include "framework/printable.h"

namespace {

const char* DocumentName()
{
    const char* name = std::getenv("PENNARO_PRINT_DOCUMENT");
    return name != nullptr ? name : "pennaro-print-test";
}

// Two copies of three pages; each page holds a box, a frame around it and
// the text "page N" under them, placed in inches whatever the resolution.
class ThreePages : public AFPrintSessionFromList {
public:
    explicit ThreePages(AFPrintConfiguration& configuration)
        : AFPrintSessionFromList(configuration, MMColorTable())
    {
    }
    int PageCount() override { return 3; }
    int CopyCount() override { return 2; }
    bool CollectPrintables(int page, UUList<AFPrintable*>& list) override
    {
        pages.push_back(page);
        if (page == 0 && cancelOnFirstPage)
            SendMessageA(GetDlgItem(statusDialog, IDCANCEL), BM_CLICK, 0, 0);
        Pair inch = PixelsPerInch();
        char text[16];
        std::snprintf(text, sizeof text, "page %d", page);
        list.Append(new AFPrintableBox(Box{inch.x, inch.y, 3 * inch.x, 3 * inch.y},
                                       MakeMMColorFromRgb(0x1E90FF)));
        list.Append(new AFPrintableFrame(Box{inch.x / 2, inch.y / 2, 7 * inch.x / 2,
                                             7 * inch.y / 2},
                                         MakeMMColorFromRgb(0x000000), inch.x / 10));
        list.Append(new AFPrintableText(Pair{inch.x, 5 * inch.y}, text, "Tahoma", inch.y / 2,
                                        MakeMMColorFromRgb(0x000000)));
        return true;
    }
    bool cancelOnFirstPage = false;
    std::vector<int> pages;
};

}  // namespace

TEST(RealPrinting, Pages)
{
    AFPrintConfiguration configuration;
    ASSERT_TRUE(configuration.HasPrinter());
    ThreePages session(configuration);
    ASSERT_TRUE(session.HasDeviceContext());
    EXPECT_EQ(0, session.PrintDocument(DocumentName()));
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0, 1, 2}), session.pages);
    EXPECT_EQ(nullptr, AFPrintSession::Printing());
}

TEST(RealPrinting, Cancel)
{
    AFPrintConfiguration configuration;
    ASSERT_TRUE(configuration.HasPrinter());
    ThreePages session(configuration);
    session.cancelOnFirstPage = true;
    EXPECT_EQ(2, session.PrintDocument(DocumentName()));
    EXPECT_EQ((std::vector<int>{0}), session.pages);
    EXPECT_TRUE(session.IsCancelled());
    EXPECT_EQ(nullptr, session.StatusDialog());
    EXPECT_EQ(nullptr, AFPrintSession::Printing());
}
