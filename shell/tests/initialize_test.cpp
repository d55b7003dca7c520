// The start-up's data-file check when the data files are not beside the
// program (as here, beside the test program): the Retry/Cancel question of
// string 108, and the way out when no question could be asked.
#include <gtest/gtest.h>

#include "framework/heap.h"
#include "framework/pending_error.h"
#include "shell/alert_box.h"
#include "shell/app.h"
#include "shell_fixture.h"

namespace {

const char kInsertText[] =
    "Les fichiers de Pennaro sont introuvables. Ins\xE8re le CD-ROM de Pennaro, puis clique sur "
    "R\xE9" "essayer.";
const char kCannotStartText[] =
    "Pennaro ne peut pas d\xE9marrer : ses fichiers de donn\xE9" "es sont introuvables.";

TEST(InitializeTest, MissingDataFiles)
{
    SetAlertMessageBox(BoxScript::Show);
    struct Case {
        const char* name;
        std::vector<int> answers;
        std::vector<std::string> texts;
    } cases[] = {
        {"cancel", {IDCANCEL}, {kInsertText}},
        {"retry, then cancel", {IDRETRY, IDRETRY, IDCANCEL}, {kInsertText, kInsertText, kInsertText}},
        // No box could be shown (the call gave 0): asking again would never end.
        {"no box", {0}, {kInsertText, kCannotStartText}},
    };
    for (const Case& c : cases) {
        BoxScript::Reset();
        BoxScript::answers = c.answers;
        AFHeap heap;
        KVXApp app(&heap, -1);
        gApp = &app;
        EXPECT_FALSE(app.Initialize()) << c.name;
        std::vector<std::string> texts;
        for (const ShownBox& box : BoxScript::shown)
            texts.push_back(box.text);
        EXPECT_EQ(c.texts, texts) << c.name;
        EXPECT_EQ(UINT(MB_RETRYCANCEL | MB_ICONHAND), BoxScript::shown[0].style) << c.name;
        // Nothing more for the run loop to report.
        EXPECT_FALSE(IsErrorPending()) << c.name;
        EXPECT_EQ(nullptr, app.CanvasPlane()) << c.name;
        app.Terminate();
        gApp = nullptr;
    }
    SetAlertMessageBox(nullptr);
}

}  // namespace
