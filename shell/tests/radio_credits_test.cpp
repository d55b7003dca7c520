// The radio and the closing credits on a stage stepped by hand with a fake
// clock and the program's data; the scanner's pictures fitted into the canvas.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "canvas/canvas_visual.h"
#include "canvas/undo_snapshot.h"
#include "engine/command.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "framework/pending_error.h"
#include "media/bitmap.h"
#include "media/offscreen_surface.h"
#include "media/sound/logical_sound_channel.h"
#include "shell/app.h"
#include "shell/closing_credits.h"
#include "shell/creation_scene.h"
#include "shell/packed_dib.h"
#include "shell/radio.h"
#include "shell/registry_settings.h"
#include "shell/widgets/alpha_visuals.h"
#include "shell/widgets/quit_button.h"
#include "shell_fixture.h"
#include "stage_fixture.h"

namespace {

struct StagedTest : ::testing::Test {
    AFHeap heap;
    KVXApp app{&heap, -1};
    BareStage bare{true};
    MMStage& stage = bare.stage;
    Box savedCanvas = CanvasBox;
    std::unique_ptr<KVXPlaneComponentTop> plane;
    std::unique_ptr<UndoSnapshot> undo;
    std::unique_ptr<CreationScene> creation;

    void SetUp() override
    {
        gApp = &app;
        ASSERT_TRUE(OpenBuiltData());
        ASSERT_TRUE(OpenBuiltSounds());
        CanvasBox = {144, 16, 784, 496};
        plane.reset(new KVXPlaneComponentTop({640, 480}));
        undo.reset(new UndoSnapshot(*plane));
        creation.reset(new CreationScene(&stage, plane.get(), undo.get()));
        app.SetSceneSlot(kSceneCreation, creation.get());
        stage.StartClock();
        stage.SetPendingScene(creation.get(), nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
    }
    void TearDown() override
    {
        creation->DeleteMolecules();
        creation.reset();
        app.SetSceneSlot(kSceneCreation, nullptr);
        CanvasBox = savedCanvas;
        CloseBuiltData();
        gApp = nullptr;
    }
    void Step(int32_t ms = 20)
    {
        FakeClock::now += ms;
        stage.ChangeSceneOrDispatch();
        stage.RunDueTasks();
        stage.FrameTick();
    }
    void StepFor(int32_t ms)
    {
        for (int32_t t = 0; t < ms; t += 20)
            Step();
    }
};

// The radio.

TEST(RadioSlider, PointerHeightGivesThePositionAndTheVolume)
{
    // Eight rows: the groove and seven positions, the top one the loudest.
    struct Case {
        int32_t y;
        int32_t position;
        int32_t volume;
    };
    const Case cases[] = {
        {240, 6, 1024}, {250, 6, 1024}, {251, 5, 853}, {262, 4, 682},
        {300, 1, 170},  {900, 0, 0},    {100, 6, 1024},
    };
    for (const Case& c : cases) {
        int32_t i = RadioPositionAt(c.y, 240, 340, 10, 8);
        EXPECT_EQ(c.position, i) << c.y;
        EXPECT_EQ(c.volume, RadioVolumeAt(i, 8)) << c.y;
    }
    // Fewer than three rows leave nothing to choose: full volume.
    for (int32_t rows : {0, 1, 2}) {
        EXPECT_EQ(1024, RadioVolumeAt(0, rows)) << rows;
        EXPECT_EQ(0, RadioPositionAt(260, 240, 340, 10, rows)) << rows;
    }
}

TEST_F(StagedTest, RadioStateRoundTripsAndIsClampedFromAPage)
{
    KVXRadio* radio = creation->Radio();
    ASSERT_NE(nullptr, radio);
    ASSERT_GT(radio->StationCount(), 1);
    radio->SelectStation(1);
    radio->SetVolume(512);
    radio->OpenRadio();
    EXPECT_EQ(kRadioPlaying, radio->State());
    int16_t words[4];
    radio->WriteState(words);
    EXPECT_EQ(0, words[0]);
    EXPECT_EQ(1, words[1]);
    EXPECT_EQ(512, words[2]);
    EXPECT_EQ(0, words[3]);

    KVXRadio other(creation.get(), stage.SoundManager(), 0);
    other.Begin();
    other.ReadState(words);
    EXPECT_EQ(1, other.Station());
    EXPECT_EQ(512, other.Volume());
    EXPECT_EQ(kRadioPlaying, other.State());
    // A damaged page: station, volume and state brought into range.
    const int16_t bad[4] = {7, 99, -40, 12};
    other.ReadState(bad);
    EXPECT_EQ(other.StationCount() - 1, other.Station());
    EXPECT_EQ(0, other.Volume());
    EXPECT_TRUE(other.IsIdle());
    MMResourceId played = other.TrackPlayed();
    const int16_t silent[4] = {3, 2, 1024, 3};
    other.ReadState(silent);
    EXPECT_TRUE(other.IsIdle());
    EXPECT_EQ(played, other.TrackPlayed()) << "a silent radio plays nothing";
}

TEST_F(StagedTest, RadioTracksFollowTheStampCountWithinTheStationsList)
{
    KVXRadio* radio = creation->Radio();
    radio->SelectStation(0);
    radio->PlayTrack(0, 0, true);
    EXPECT_EQ(MM_NO_RESOURCE, radio->TrackPlayed()) << "idle plays nothing";
    radio->OpenRadio();
    EXPECT_EQ(1, radio->PlayableStamps()) << "switched on without stamps: one";
    MMResourceId first = radio->TrackPlayed();
    EXPECT_NE(MM_NO_RESOURCE, first);
    radio->PlayTrack(0, 99, true);
    MMResourceId last = radio->TrackPlayed();
    EXPECT_NE(first, last) << "past the end: the last track";
    radio->PlayTrack(0, -5, true);
    EXPECT_EQ(first, radio->TrackPlayed());
    radio->OpenRadio();
    EXPECT_TRUE(radio->IsIdle());
}

TEST_F(StagedTest, RadioOpensAndClosesByZoomAndASecondCloseIsIgnored)
{
    KVXRadio* radio = creation->Radio();
    radio->Open();
    EXPECT_TRUE(radio->IsBusy());
    EXPECT_EQ(0x4000001F, radio->EffectChannel()->SoundId());
    StepFor(400);
    EXPECT_TRUE(radio->IsOpen());
    EXPECT_FALSE(radio->IsBusy());
    radio->Close();
    EXPECT_TRUE(radio->IsBusy());
    radio->Close();
    StepFor(400);
    EXPECT_FALSE(radio->IsOpen());
    EXPECT_FALSE(radio->IsBusy());
}

// The closing credits over the painting screen.

struct CreditsTest : StagedTest {
    KVXQuitButton* quit = nullptr;
    int ended = 0;
    void End() { ++ended; }
    void SetUp() override
    {
        StagedTest::SetUp();
        quit = creation->ExitButton();
        ASSERT_NE(nullptr, quit);
    }
    ClosingCreditsMolecule* Start()
    {
        return new ClosingCreditsMolecule(
            quit, new MMClassCommand<CreditsTest>("credits ended", &stage, this, &CreditsTest::End));
    }
};

TEST_F(CreditsTest, PagesShareTheMusicAndTheLastHoldsUntilItEnds)
{
    ClosingCreditsMolecule* credits = Start();
    CreditsThread* thread = credits->Thread();
    ASSERT_NE(nullptr, thread);
    EXPECT_EQ(7, thread->PageCount());
    ASSERT_GT(thread->MusicLength(), 7000);
    EXPECT_EQ(thread->MusicLength() / 7, thread->TimePerPage());
    EXPECT_EQ(11001, quit->LayerOffset());
    Step();
    EXPECT_EQ(0x40000021, thread->Channel()->SoundId());
    int32_t start = -1;
    std::vector<int32_t> shownAt;
    while (!credits->QuitRequested() && stage.StageTime() < 600000) {
        Step();
        if (thread->ShownPage() + 1 > int32_t(shownAt.size())) {
            shownAt.push_back(stage.StageTime());
            if (start < 0)
                start = stage.StageTime();
            EXPECT_FALSE(credits->ShownVisuals().empty()) << thread->ShownPage();
            for (KVXAlphaTextVisual* visual : credits->ShownVisuals())
                EXPECT_FALSE(visual->IsHidden());
        }
    }
    ASSERT_EQ(7u, shownAt.size());
    for (size_t k = 1; k < shownAt.size(); ++k) {
        int32_t gap = shownAt[k] - shownAt[k - 1];
        EXPECT_GE(gap, thread->TimePerPage()) << k;
        EXPECT_LE(gap, thread->TimePerPage() + 60) << k;
    }
    EXPECT_TRUE(credits->QuitRequested());
    EXPECT_GE(stage.StageTime() - start, thread->MusicLength());
    EXPECT_LE(stage.StageTime() - start, thread->MusicLength() + 60);
    EXPECT_TRUE(app.QuitFlag());
    EXPECT_EQ(1, app.LeaveStepCount()) << "the leave step before the quit";
    delete credits;
}

TEST_F(CreditsTest, AClickOnTheVeilQuitsAfterTheLeaveStep)
{
    ClosingCreditsMolecule* credits = Start();
    StepFor(3000);
    ASSERT_NE(nullptr, credits->Veil());
    MMStageEvent press = {kStageEventPointer, 0, 0, 100, 75, kPointerHeld | kPointerPressed};
    stage.DispatchMouseEvent(press);
    Step();
    EXPECT_TRUE(credits->QuitRequested());
    EXPECT_TRUE(app.QuitFlag());
    EXPECT_EQ(1, app.LeaveStepCount());
    delete credits;
}

TEST_F(CreditsTest, TheQuitButtonAgainCancelsWithSoundThirtyFour)
{
    int16_t offset = quit->LayerOffset();
    ClosingCreditsMolecule* credits = Start();
    StepFor(2000);
    credits->CancelCredits();
    EXPECT_TRUE(creation->PageFlag());
    Step();
    EXPECT_EQ(0x40000022, credits->Thread()->Channel()->SoundId());
    StepFor(5000);
    EXPECT_EQ(1, ended) << "the end command ran and the credits are gone";
    EXPECT_EQ(offset, quit->LayerOffset());
    EXPECT_FALSE(quit->IsInactive());
    EXPECT_FALSE(app.QuitFlag());
}

TEST(CreditsPages, ATableWithoutPagesCountsOne)
{
    // The program's table lists seven; the count is never below one.
    ASSERT_TRUE(OpenBuiltData());
    EXPECT_EQ(7, CreditsPageCount());
    CloseBuiltData();
    EXPECT_EQ(1, CreditsPageCount()) << "no table at all";
    ClearPendingError();
}

// The scanner's pictures.

std::vector<uint8_t> Dib(int32_t width, int32_t height, int32_t bits, uint32_t colors = 0)
{
    int32_t table = bits <= 8 ? (colors ? colors : 1u << bits) : 0;
    int32_t row = (width * bits + 31) / 32 * 4;
    std::vector<uint8_t> block(40 + table * 4 + size_t(row) * height);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
    header->biSize = 40;
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = WORD(bits);
    header->biCompression = BI_RGB;
    header->biClrUsed = colors;
    return block;
}

TEST(ScannedPictures, AreFittedIntoTheCanvasWithTheirProportions)
{
    const Box canvas = {0, 0, 640, 480};
    struct Case {
        int32_t width, height, bits;
        Pair size;
    };
    const Case cases[] = {
        {640, 480, 24, {640, 480}}, {641, 480, 24, {640, 479}}, {100, 50, 8, {100, 50}},
        {1280, 480, 24, {640, 240}}, {300, 960, 8, {150, 480}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> block = Dib(c.width, c.height, c.bits);
        // The top-left 4 x 4 pixels red (rows stored bottom-up).
        int32_t row = (c.width * c.bits + 31) / 32 * 4;
        size_t pixels = c.bits == 8 ? 40 + 1024 : 40;
        if (c.bits == 8)
            block[40 + 4 * 1 + 2] = 255;
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 4; ++x) {
                size_t at = pixels + size_t(row) * (c.height - 1 - y);
                if (c.bits == 8)
                    block[at + x] = 1;
                else
                    block[at + 3 * x + 2] = 255;
            }
        WinMMOffscreenSurface* surface = KVXApp::FitPackedDib(block.data(), block.size(), canvas);
        ASSERT_NE(nullptr, surface) << c.width;
        EXPECT_EQ(c.size.x, surface->GetBounds().Width()) << c.width;
        EXPECT_EQ(c.size.y, surface->GetBounds().Height()) << c.width;
        MMBitmap bitmap;
        ASSERT_TRUE(surface->GetBitmap(bitmap));
        const uint8_t* corner = bitmap.PixelAddress(0, 0);
        EXPECT_GT(corner[2], 100) << "red at the top left " << c.width;
        const uint8_t* middle = bitmap.PixelAddress(c.size.x / 2, c.size.y / 2);
        EXPECT_LT(middle[2], 30) << "black elsewhere " << c.width;
        surface->Dispose();
    }
}

TEST(ScannedPictures, BadBlocksAreRefused)
{
    struct Case {
        const char* name;
        void (*spoil)(std::vector<uint8_t>& block);
    };
    const Case cases[] = {
        {"short header", [](std::vector<uint8_t>& b) { b.resize(30); }},
        {"header size 12", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biSize = 12; }},
        {"bit count 7", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biBitCount = 7; }},
        {"run-length", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biCompression = BI_RLE8; }},
        {"jpeg inside", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biCompression = BI_JPEG; }},
        {"257 colours", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biClrUsed = 257; }},
        {"width 0", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biWidth = 0; }},
        {"negative width", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biWidth = -8; }},
        {"height 0", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biHeight = 0; }},
        {"rows past the block", [](std::vector<uint8_t>& b) { b.resize(b.size() - 1); }},
        {"huge height", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biHeight = 0x7FFFFFF; }},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> block = Dib(16, 8, 8);
        c.spoil(block);
        PackedDibLayout layout;
        EXPECT_FALSE(CheckPackedDib(block.data(), block.size(), layout)) << c.name;
        EXPECT_EQ(nullptr, KVXApp::FitPackedDib(block.data(), block.size(), Box{0, 0, 640, 480}))
            << c.name;
    }
    // Fewer colours than the bits allow: the rows follow the shorter table.
    std::vector<uint8_t> block = Dib(16, 8, 8, 16);
    PackedDibLayout layout;
    ASSERT_TRUE(CheckPackedDib(block.data(), block.size(), layout));
    EXPECT_EQ(16, layout.colors);
    EXPECT_EQ(40 + 64, layout.pixelOffset);
    std::vector<uint8_t> top = Dib(16, 8, 24);
    reinterpret_cast<BITMAPINFOHEADER*>(top.data())->biHeight = -8;
    EXPECT_TRUE(CheckPackedDib(top.data(), top.size(), layout)) << "top-down rows";
}

}  // namespace
