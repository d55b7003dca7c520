// Print projects sent to the machine's default printer (a cups-pdf queue);
// check_project_pdf.sh runs each case under a fresh document name and reads
// the PDFs it leaves. The print dialog is answered here: it picks the paper.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/script_file.h"
#include "engine/tests/built_data.h"
#include "framework/print_configuration.h"
#include "framework/tests/fake_printer_calls.h"
#include "framework/tests/scratch_folder.h"
#include "framework/window.h"
#include "gallery/gallery_messages.h"
#include "gallery/print_projects.h"
#include "gallery/sketchbook_file.h"
#include "selection/slate_store.h"

#include "page_fixture.h"

namespace {

const char* DocumentName()
{
    const char* name = std::getenv("PENNARO_PRINT_DOCUMENT");
    return name != nullptr ? name : "pennaro-project-test";
}

const AFWindowClass kOwnerClass = {
    0, 0, 0, false, nullptr, nullptr, false, IDC_ARROW,
    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, "ProjectPrintingOwner",
    &AFWindow::WindowProc,
};

class OwnerWindow : public AFWindow {
public:
    OwnerWindow() : AFWindow(Creation(), nullptr) {}
    bool CanClose() override { return true; }
    static AFWindowCreation Creation()
    {
        RegisterWindowClass(kOwnerClass);
        return {&kOwnerClass, Box{20, 20, 220, 120}, WS_OVERLAPPEDWINDOW, 0};
    }
};

std::vector<int16_t> gAlerts;
void RecordAlert(int32_t, int16_t key, const char*) { gAlerts.push_back(key); }

const char* ProjectTexts(int16_t key)
{
    switch (key) {
    case kTextFontFace: return "DejaVu Sans";
    case kTextTitleSize: return "12";
    default: return TestTexts(key);
    }
}

// Answers the print dialog with this paper, upright or across.
void AnswerWith(FakePrinterCalls& calls, short paper, std::vector<short> orientations)
{
    calls.answer = [paper, orientations](PRINTDLGA* record) mutable {
        if (orientations.empty())
            return FALSE;
        DEVMODEA* mode = static_cast<DEVMODEA*>(GlobalLock(record->hDevMode));
        mode->dmFields |= DM_PAPERSIZE | DM_ORIENTATION;
        mode->dmPaperSize = paper;
        mode->dmOrientation = orientations.front();
        GlobalUnlock(record->hDevMode);
        orientations.erase(orientations.begin());
        return TRUE;
    };
}

class ProjectPrinting : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(configuration.HasPrinter());
        ASSERT_TRUE(OpenScriptFile(BuiltDataFolder(), "Hd.mms"));
        configuration.SetOwnerWindow(&owner);
        SetGalleryTextSource(&ProjectTexts);
        SetGalleryAlertShow(&RecordAlert);
        gAlerts.clear();
        canvas.Fill(230, 20, 20);
    }
    void TearDown() override
    {
        CloseAllScriptFiles();
        SetGalleryTextSource(nullptr);
        SetGalleryAlertShow(nullptr);
    }
    int Print(int16_t kind, int32_t* documents = nullptr)
    {
        if (!WriteRealBook(scratch.folder, "book", canvas, 1))
            return -1;
        SketchbookFile book(scratch.folder, "book");
        RealCanvas shown(64, 48);
        return PrintPageProject(configuration, book, 0, shown.plane, kind, "", DocumentName(),
                                documents);
    }

    AFPrintConfiguration configuration;
    OwnerWindow owner;
    ScratchFolder scratch;
    RealCanvas canvas{64, 48};
};

}  // namespace

TEST_F(ProjectPrinting, FullPageLetter)
{
    FakePrinterCalls calls;
    AnswerWith(calls, DMPAPER_LETTER, {DMORIENT_PORTRAIT});
    EXPECT_EQ(0, Print(kProjectFullPage));
    EXPECT_TRUE(gAlerts.empty());
}

TEST_F(ProjectPrinting, FullPageA4)
{
    FakePrinterCalls calls;
    AnswerWith(calls, DMPAPER_A4, {DMORIENT_PORTRAIT});
    EXPECT_EQ(0, Print(kProjectFullPage));
}

TEST_F(ProjectPrinting, LandscapeIsRefusedOnce)
{
    FakePrinterCalls calls;
    AnswerWith(calls, DMPAPER_A4, {DMORIENT_LANDSCAPE});
    EXPECT_EQ(1, Print(kProjectFullPage));
    EXPECT_EQ((std::vector<int16_t>{kAlertLandscape}), gAlerts);
    EXPECT_EQ(2u, calls.dialogs.size());
}

TEST_F(ProjectPrinting, AnimatedFlipbookIsFiveJobs)
{
    canvas.Draw();
    FakePrinterCalls calls;
    AnswerWith(calls, DMPAPER_A4, {DMORIENT_PORTRAIT});
    int32_t documents = 0;
    EXPECT_EQ(0, Print(kProjectFlipbook, &documents));
    EXPECT_EQ(5, documents);
    EXPECT_EQ(1u, calls.dialogs.size());
}

// The layout table follows the paper the dialog chose.
TEST_F(ProjectPrinting, PaperPicksTheLayout)
{
    for (short paper : {short(DMPAPER_LETTER), short(DMPAPER_A4)}) {
        FakePrinterCalls calls;
        AnswerWith(calls, paper, {DMORIENT_PORTRAIT});
        KVXPrintSession session(configuration, nullptr, nullptr, nullptr, nullptr, false,
                                kProjectFullPage, "");
        ASSERT_TRUE(session.ShowPrintDialog());
        EXPECT_EQ(paper == DMPAPER_LETTER ? kLetterLayoutTable : kLargeLayoutTable,
                  LayoutTableFor(session.PaperMillimetres()));
        ProjectLayout layout;
        EXPECT_TRUE(LoadProjectLayout(LayoutTableFor(session.PaperMillimetres()),
                                      kProjectFullPage, layout));
        EXPECT_EQ(1u, layout.slots.size());
    }
}
