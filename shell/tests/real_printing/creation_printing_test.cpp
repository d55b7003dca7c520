// The painting screen's print button on the machine's default printer (a
// cups-pdf queue); check_creation_pdf.sh runs the case under a document name
// of its own and reads the PDF it leaves: one page, red in the middle.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "canvas/undo_snapshot.h"
#include "framework/heap.h"
#include "shell/app.h"
#include "shell/creation_scene.h"
#include "shell/print_configuration.h"
#include "shell/registry_settings.h"
#include "shell_fixture.h"
#include "stage_fixture.h"

namespace {

const char* DocumentName()
{
    const char* name = std::getenv("PENNARO_PRINT_DOCUMENT");
    return name != nullptr ? name : "pennaro-creation-test";
}

TEST(CreationPrinting, ThePrintButtonPrintsTheCanvasOnOnePage)
{
    AFHeap heap;
    KVXApp app{&heap, -1};
    gApp = &app;
    RemoveSettingsKey();
    ASSERT_TRUE(OpenBuiltData());
    Box savedCanvas = CanvasBox;
    CanvasBox = {144, 16, 784, 496};
    {
        BareStage bare{false};
        KVXPlaneComponentTop plane({640, 480});
        UndoSnapshot undo(plane);
        RegistrySettings settings;
        settings.Open();
        settings.SetPrinting(1);
        app.SetSettingsForTest(&settings);
        app.SetPrintDocumentForTest(DocumentName());
        ASSERT_TRUE(settings.PrintConfiguration() && settings.PrintConfiguration()->HasPrinter());
        auto creation = std::make_unique<CreationScene>(&bare.stage, &plane, &undo);
        bare.stage.SetPendingScene(creation.get(), nullptr, nullptr);
        bare.stage.ChangeSceneOrDispatch();
        for (int32_t y = 0; y < plane.height; ++y)
            for (int32_t x = 0; x < plane.width; ++x)
                *plane.PixelAt(x, y) = {0, 0, 255, 0, 3072, 0};
        ASSERT_FALSE(creation->ButtonDimmed(kLayoutPrint));
        creation->handlePrintCmd();
        creation->DeleteMolecules();
        creation.reset();
        app.SetSettingsForTest(nullptr);
    }
    CanvasBox = savedCanvas;
    CloseBuiltData();
    RemoveSettingsKey();
    gApp = nullptr;
}

}  // namespace
