// The engine start-up opens the resource files that the program's string
// table names, from the program's own folder; these tests put fixture files
// there and take them away again.
#include <gtest/gtest.h>

#include <string>

#include "animation_fixture.h"
#include "resource_fixture.h"
#include "engine/engine_pulse_managers.h"
#include "engine/engine_startup.h"
#include "engine/picture_collection.h"
#include "engine/script_file.h"
#include "engine/wintab_binding.h"
#include "framework/pending_error.h"
#include "framework/processor_features.h"
#include "media/film_loader.h"
#include "media/row_blitters.h"
#include "media/sound/sound_collection.h"

namespace {

const char* const kFiles[] = {"Hd.mms",    "Hd.MMP", "App.MMP", "Stmp1.MMP",
                              "Stmp2.MMP", "Hd.MMA", "App.MMA"};

struct EngineStartUpTest : ::testing::Test {
    FSDirectory program;

    void SetUp() override
    {
        ASSERT_TRUE(FSProgramFolder(program));
        ScriptRows rows;
        rows.Visuals(1).Frame(1, 100);
        ASSERT_TRUE(WriteScripts(program, "Hd.mms", 1, {{0, rows}}));
        const char* pictures[] = {"Hd.MMP", "App.MMP", "Stmp1.MMP", "Stmp2.MMP"};
        for (uint16_t i = 0; i < 4; ++i)
            ASSERT_TRUE(WritePictures(program, pictures[i], uint16_t(i + 1), {{4, 3, 9, 9, 9}}));
        ASSERT_TRUE(WriteTones(program, "Hd.MMA", 1, {50}));
        ASSERT_TRUE(WriteTones(program, "App.MMA", 2, {50}));
        ClearPendingError();
    }

    void TearDown() override
    {
        EngineShutDown();
        for (const char* name : kFiles)
            FSDeleteFile(program, name);
        ClearPendingError();
    }

    int PictureCollections() const
    {
        int n = 0;
        while (MMPictureDirectory().At(n))
            ++n;
        return n;
    }

    int SoundCollections() const
    {
        int n = 0;
        while (MMSoundDirectory().At(n))
            ++n;
        return n;
    }

    void ExpectNothingOpen(const char* what)
    {
        EXPECT_EQ(MMSearchFolders().count, 0) << what;
        EXPECT_EQ(MMRecordTableDirectory().At(0), nullptr) << what;
        EXPECT_EQ(PictureCollections(), 0) << what;
        EXPECT_EQ(SoundCollections(), 0) << what;
        EXPECT_EQ(gFirstEnginePulseTaskManager, nullptr) << what;
        EXPECT_EQ(gSecondEnginePulseTaskManager, nullptr) << what;
        EXPECT_FALSE(IsTabletLibraryBound()) << what;
    }
};

TEST_F(EngineStartUpTest, OpensEveryNamedFileAndStartsBothManagers)
{
    ASSERT_TRUE(EngineStartUp());
    EXPECT_FALSE(IsErrorPending());
    ASSERT_EQ(MMSearchFolders().count, 1);
    EXPECT_EQ(*UUList<FSDirectory*>::ItemOf(MMSearchFolders().First()), program);
    EXPECT_NE(MMRecordTableDirectory().Find(1), nullptr);
    EXPECT_EQ(MMRecordTableDirectory().At(1), nullptr);
    EXPECT_EQ(PictureCollections(), 4);
    EXPECT_EQ(SoundCollections(), 2);
    EXPECT_EQ(MMFilmDirectory().At(0), nullptr) << "the string table names no film";
    ASSERT_NE(gFirstEnginePulseTaskManager, nullptr);
    ASSERT_NE(gSecondEnginePulseTaskManager, nullptr);
    EXPECT_TRUE(gFirstEnginePulseTaskManager->IsRunning());
    EXPECT_TRUE(gSecondEnginePulseTaskManager->IsRunning());
    EXPECT_EQ(MMXSpanRoutinesInUse(), GetProcessorFeatures().hasMMX);

    EngineShutDown();
    ExpectNothingOpen("after shut-down");
}

TEST_F(EngineStartUpTest, AFailureNamesItsFileAndUndoesEverything)
{
    struct Case {
        const char* what;
        const char* file;
        const char* bytes;  // null: the file is missing
        int32_t code;
        const char* name;
    } cases[] = {
        {"script file missing", "Hd.mms", nullptr, 37, "Hd.mms"},
        {"fourth picture file missing", "Stmp2.MMP", nullptr, 7, "Stmp2.MMP"},
        {"second sound file missing", "App.MMA", nullptr, 17, "App.MMA"},
        {"picture file with a bad header", "App.MMP", "ZOVU Nothing at all here", 11, "App.MMP"},
        {"sound file with a bad header", "Hd.MMA", "ZOVU Nothing at all here", 21, "Hd.MMA"},
    };
    for (const Case& c : cases) {
        SetUp();
        if (c.bytes) {
            std::string text = c.bytes;
            ASSERT_TRUE(WriteFileBytes(program, c.file, {text.begin(), text.end()}));
        } else {
            ASSERT_TRUE(FSDeleteFile(program, c.file));
        }
        EXPECT_FALSE(EngineStartUp()) << c.what;
        EXPECT_EQ(gPendingError.code, c.code) << c.what;
        EXPECT_STREQ(gPendingError.name, c.name) << c.what;
        ExpectNothingOpen(c.what);
    }
}

TEST_F(EngineStartUpTest, AScriptForAnotherCodePageFailsWithoutAnErrorOfItsOwn)
{
    MMScriptFile file;
    ASSERT_TRUE(file.Create(program, "Hd.mms", FSFileKind(), 1, 1));
    ASSERT_TRUE(file.SetCodePages(0, int16_t(GetACP() + 1)));
    ASSERT_TRUE(file.MarkEndOfItems() && file.Close(true));
    EXPECT_FALSE(EngineStartUp());
    EXPECT_EQ(gPendingError.code, AFE_FAILURE_WITHOUT_ERROR);
    ExpectNothingOpen("refused script");
}

TEST_F(EngineStartUpTest, StartsAfterAFailedAttempt)
{
    ASSERT_TRUE(FSDeleteFile(program, "Stmp1.MMP"));
    EXPECT_FALSE(EngineStartUp());
    ExpectNothingOpen("after the failure");
    ASSERT_TRUE(WritePictures(program, "Stmp1.MMP", 3, {{4, 3, 9, 9, 9}}));
    ClearPendingError();
    EXPECT_TRUE(EngineStartUp());
    EXPECT_EQ(MMSearchFolders().count, 1);
    EXPECT_EQ(PictureCollections(), 4);
    EXPECT_TRUE(gSecondEnginePulseTaskManager && gSecondEnginePulseTaskManager->IsRunning());
}

}  // namespace
