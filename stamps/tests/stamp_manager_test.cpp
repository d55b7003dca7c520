// The stamps of a picture as the manager keeps them: placed from drawer
// entries of the built data, replaced, refused past fifteen, selected, moved
// by keys, glued into the canvas, written into a page and read back.
#include <cstring>

#include "engine/animation_molecule.h"
#include "framework/files.h"
#include "framework/pending_error.h"
#include "stamp_world.h"
#include "stamps/stamps_block.h"

std::vector<std::string> gStampAlerts;

namespace {

// Sea (genre 4): page 0 holds the background, midground, foreground, the
// animated fish and the octopus; page 1 starts with an entry that places the
// three layers and the whale together.
const int16_t kSea = 4;

std::vector<uint8_t> WriteBlock(KVXBaseStampManager* manager)
{
    std::vector<uint8_t> bytes(kStampsBlockSize, 0xCD);
    FSMemory memory(bytes.data(), uint32_t(bytes.size()));
    EXPECT_TRUE(manager->Write(memory));
    return bytes;
}

bool ReadBlock(KVXBaseStampManager* manager, std::vector<uint8_t> bytes)
{
    FSMemory memory(bytes.data(), uint32_t(bytes.size()));
    return manager->Read(memory);
}

Pair Centre(const Box& box)
{
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

}  // namespace

TEST_F(StampWorld, ADroppedCharacterComesSelectedAtHalfSizeCentredOnTheDrop)
{
    Drop(EntryTable(kSea, 0, 3), 400, 250);
    ASSERT_EQ(1u, manager->Listed().size());
    KVXStampBase* fish = manager->Listed()[0];
    EXPECT_EQ(kStampCharacter, fish->Kind());
    EXPECT_EQ(fish, manager->Selected());
    EXPECT_EQ(fish, manager->Selector()->Stamp());
    EXPECT_FALSE(fish->Grouped());
    Pair natural = fish->NaturalSize();
    EXPECT_EQ(natural.x / 2, fish->GetSize().x);
    EXPECT_EQ(natural.y / 2, fish->GetSize().y);
    Pair centre = Centre(fish->GetBox());
    EXPECT_NEAR(400, centre.x, 1);
    EXPECT_NEAR(250, centre.y, 1);
    EXPECT_EQ(5, fish->SizeStep()) << "half size";
    EXPECT_NE(-1, fish->AnimationScript());
    EXPECT_EQ(254, fish->Visual()->HitTransparency());
    EXPECT_EQ(96, fish->Visual()->Layer() + 18) << "depth 0 of the list";
    EXPECT_NE(link.log.end(), std::find(link.log.begin(), link.log.end(), "buttons"));
    EXPECT_NE(link.log.end(), std::find(link.log.begin(), link.log.end(), "genre 1"));
}

TEST_F(StampWorld, ASecondBackgroundReplacesTheFirstAndLeavesTheList)
{
    Drop(EntryTable(kSea, 0, 4), 300, 200);
    Drop(EntryTable(kSea, 0, 0), 300, 200);
    KVXStampBase* first = manager->Background();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(kStampBackground, first->Kind());
    EXPECT_EQ(Pair({144, 16}), first->Visual()->GetPosition()) << "a background rests at the corner";
    Drop(EntryTable(kSea, 0, 0), 500, 300);
    ASSERT_NE(nullptr, manager->Background());
    EXPECT_EQ(1u, manager->Listed().size());
    EXPECT_EQ(2, manager->StampCount());
    EXPECT_EQ(75, manager->Background()->Visual()->Layer());
}

TEST_F(StampWorld, FifteenListedStampsRefuseTheNextCharacterOfAnEntry)
{
    for (int i = 0; i < 15; ++i)
        Drop(EntryTable(kSea, 0, 4), 200 + 20 * i, 200);
    ASSERT_EQ(15u, manager->Listed().size());
    Drop(EntryTable(kSea, 1, 0), 400, 250);
    EXPECT_EQ(15u, manager->Listed().size()) << "the whale is refused";
    EXPECT_NE(nullptr, manager->Background()) << "the layers before it are placed";
    EXPECT_NE(nullptr, manager->Foreground());
    Step(3);
    ASSERT_EQ(1u, gStampAlerts.size());
    EXPECT_EQ("Il y a d\xE9j\xE0 quinze images sur ta page. Colle-en une avant d'en ajouter une autre !",
              gStampAlerts[0]);
}

TEST_F(StampWorld, FourteenListedTakeAGroupedEntryUpToFifteen)
{
    for (int i = 0; i < 14; ++i)
        Drop(EntryTable(kSea, 0, 4), 200 + 20 * i, 200);
    Drop(EntryTable(kSea, 1, 0), 400, 250);
    EXPECT_EQ(15u, manager->Listed().size());
    EXPECT_TRUE(manager->Listed().back()->Grouped());
    EXPECT_TRUE(manager->Background()->Grouped());
    EXPECT_EQ(18, manager->StampCount());
}

TEST_F(StampWorld, GluingAGroupedCharacterGluesItsLayersNotItself)
{
    Drop(EntryTable(kSea, 1, 0), 400, 250);
    KVXStampBase* whale = manager->Listed().back();
    ASSERT_TRUE(whale->Grouped());
    manager->GlueStamp(whale, true, true, true);
    EXPECT_EQ(nullptr, manager->Background());
    EXPECT_EQ(nullptr, manager->Midground());
    EXPECT_EQ(nullptr, manager->Foreground());
    ASSERT_EQ(1u, manager->Listed().size());
    EXPECT_EQ(whale, manager->Listed()[0]);
    int painted = 0;
    for (int y = 0; y < 480; y += 8)
        for (int x = 0; x < 640; x += 8)
            painted += std::memcmp(plane.PixelAt(x, y), &kBlankPixel, 4) != 0;
    EXPECT_GT(painted, 3000);
}

// The script's frames place the animation's visuals: they stay at the
// stamp's depth, over the canvas, frame after frame.
TEST_F(StampWorld, APlayingStampStaysAtItsDepthOverTheCanvas)
{
    Drop(EntryTable(kSea, 0, 3), 400, 250);
    KVXStampBase* fish = manager->Listed()[0];
    manager->PlayStamp(fish);
    ASSERT_NE(nullptr, fish->Animation());
    ASSERT_GT(fish->Animation()->VisualCount(), 0);
    int shown = 0;
    for (int frame = 0; frame < 30; ++frame) {
        Step();
        for (int16_t i = 0; i < fish->Animation()->VisualCount(); ++i) {
            if (fish->Animation()->IsVisualHidden(i))
                continue;
            ++shown;
            EXPECT_GE(fish->Animation()->Visual(i)->Layer(), fish->Visual()->Layer()) << frame;
            EXPECT_GT(fish->Animation()->Visual(i)->Layer(), canvas->Layer()) << frame;
        }
    }
    EXPECT_GT(shown, 0);
}

TEST_F(StampWorld, RemovingTheSelectedStampDeselectsItAndAStrangerChangesNothing)
{
    Drop(EntryTable(kSea, 0, 4), 300, 200);
    Drop(EntryTable(kSea, 0, 3), 500, 300);
    KVXStampBase* fish = manager->Selected();
    ASSERT_NE(nullptr, fish);
    manager->RemoveStamp(fish, true);
    EXPECT_EQ(nullptr, manager->Selected());
    EXPECT_EQ(nullptr, manager->Selector()->Stamp());
    EXPECT_EQ(1u, manager->Listed().size());
    EXPECT_EQ(0, manager->Listed()[0]->Depth());

    KVXStampBase* stranger = manager->CreateStamp(0, kStampProp, manager->Listed()[0]->BWPicture(),
                                                  -1, -1, {0, 0});
    ASSERT_NE(nullptr, stranger);
    manager->RemoveStamp(stranger, true);
    EXPECT_EQ(1u, manager->Listed().size());
    delete stranger;
}

TEST_F(StampWorld, ArrowKeysMoveTheSelectedStampOnePixel)
{
    const struct {
        uint16_t key;
        Pair by;
    } cases[] = {{kKeyStampLeft, {-1, 0}}, {kKeyStampRight, {1, 0}}, {kKeyStampUp, {0, -1}},
                 {kKeyStampDown, {0, 1}}};
    Drop(EntryTable(kSea, 0, 4), 300, 200);
    KVXStampBase* octopus = manager->Selected();
    for (const auto& c : cases) {
        Pair before = octopus->Visual()->GetPosition();
        EXPECT_TRUE(manager->HandleKey(c.key));
        Pair after = octopus->Visual()->GetPosition();
        EXPECT_EQ(before.x + c.by.x, after.x) << c.key;
        EXPECT_EQ(before.y + c.by.y, after.y) << c.key;
        EXPECT_EQ(Pair({0, 0}), octopus->Grab());
    }
    EXPECT_TRUE(manager->HandleKey(kKeyRemoveStamp));
    EXPECT_TRUE(manager->Listed().empty());
    EXPECT_TRUE(manager->HandleKey(kKeyStampLeft)) << "nothing selected: nothing moves";
}

TEST_F(StampWorld, TheMainGenreFollowsTheMidgroundElseTheMostStamps)
{
    EXPECT_EQ(0, manager->MainGenre(0));
    for (int16_t genre : {2, 2, 0, 0}) {
        Drop(EntryTable(kSea, 0, 4), 300, 200);
        manager->Listed().back()->SetGenre(genre);
    }
    EXPECT_EQ(3, manager->MainGenre(3)) << "the current genre keeps a tie";
    EXPECT_EQ(1, manager->MainGenre(0)) << "genre 0 is found first";
    Drop(EntryTable(kSea, 0, 1), 300, 200);
    manager->Midground()->SetGenre(4);
    EXPECT_EQ(5, manager->MainGenre(3));
}

TEST_F(StampWorld, PagesRoundTripToTheSameStampsAndBytes)
{
    struct Page {
        const char* name;
        void (*fill)(StampWorld*);
        bool radio;
    };
    const Page pages[] = {
        {"empty", [](StampWorld*) {}, false},
        {"foreground and character",
         [](StampWorld* w) {
             w->Drop(EntryTable(kSea, 0, 2), 300, 300);
             w->Drop(EntryTable(kSea, 0, 3), 400, 200);
         },
         false},
        {"mirrored both ways",
         [](StampWorld* w) {
             w->Drop(EntryTable(kSea, 0, 4), 400, 200);
             w->manager->Selected()->FlipX();
             w->manager->Selected()->FlipY();
         },
         true},
        {"fifteen listed and the layers",
         [](StampWorld* w) {
             for (int i = 0; i < 15; ++i)
                 w->Drop(EntryTable(kSea, 0, 3 + i % 2), 200 + 30 * i, 100 + 20 * i);
             w->Drop(EntryTable(kSea, 0, 0), 300, 200);
             w->Drop(EntryTable(kSea, 0, 1), 300, 200);
         },
         true},
    };
    for (const Page& page : pages) {
        SCOPED_TRACE(page.name);
        link.radio = page.radio;
        manager->RemoveAllStamps(false);
        page.fill(this);
        std::vector<uint8_t> first = WriteBlock(manager);
        KVXStampManager other(creation);
        other.SetPictureCollection(&rendered);
        other.SetSceneLink(&link);
        ASSERT_TRUE(ReadBlock(&other, first));
        EXPECT_EQ(manager->StampCount(), other.StampCount());
        ASSERT_EQ(manager->Listed().size(), other.Listed().size());
        for (size_t i = 0; i < manager->Listed().size(); ++i) {
            KVXStampBase* a = manager->Listed()[i];
            KVXStampBase* b = other.Listed()[i];
            EXPECT_EQ(a->Kind(), b->Kind());
            EXPECT_EQ(a->GetBox(), b->GetBox());
            EXPECT_EQ(a->MirroredX(), b->MirroredX());
            EXPECT_EQ(a->MirroredY(), b->MirroredY());
            EXPECT_EQ(a->SizeStep(), b->SizeStep());
        }
        std::vector<uint8_t> second = WriteBlock(&other);
        EXPECT_EQ(first, second);
        if (!page.radio) {
            int16_t words[4];
            std::memcpy(words, &first[2], 8);
            EXPECT_EQ(1024, words[2]);
            EXPECT_EQ(3, words[3]);
        }
    }
}

TEST_F(StampWorld, ADamagedRecordIsSkippedAndTheGoodStampsStay)
{
    Drop(EntryTable(kSea, 0, 3), 400, 200);
    Drop(EntryTable(kSea, 0, 4), 300, 300);
    std::vector<uint8_t> bytes = WriteBlock(manager);
    // The first listed record's left-right mirror byte.
    bytes[10 + 3 * kStampRecordSize + 22] = 7;
    ClearPendingError();
    KVXStampManager other(creation);
    other.SetPictureCollection(&rendered);
    EXPECT_FALSE(ReadBlock(&other, bytes));
    EXPECT_TRUE(IsErrorPending());
    ClearPendingError();
    ASSERT_EQ(1u, other.Listed().size());
    EXPECT_EQ(manager->Listed()[1]->BWPicture(), other.Listed()[0]->BWPicture());
}

TEST_F(StampWorld, ColourGlueCopiesThePixelsOfTheStampWhereItStands)
{
    for (bool zoomed : {false, true}) {
        SCOPED_TRACE(zoomed ? "zoomed" : "not zoomed");
        plane.Fill(kBlankPixel);
        canvas->SetZoom(zoomed);
        Drop(EntryTable(kSea, 0, 4), 400, 250);
        KVXStampBase* octopus = manager->Selected();
        ASSERT_NE(nullptr, octopus);
        Box box = octopus->GetBox();
        manager->GlueStamp(octopus, true, true, true);
        EXPECT_TRUE(manager->Listed().empty());
        Pair centre = Centre(box);
        Pair at = {canvas->ViewToCanvasX(centre.x), canvas->ViewToCanvasY(centre.y)};
        const KVXComponentPixel* p = plane.PixelAt(at.x, at.y);
        EXPECT_NE(0, std::memcmp(p, &kBlankPixel, 4)) << at.x << "," << at.y;
        Pair outside = {canvas->ViewToCanvasX(box.left - 5), canvas->ViewToCanvasY(box.top - 5)};
        EXPECT_EQ(0, std::memcmp(plane.PixelAt(outside.x, outside.y), &kBlankPixel, 4));
        EXPECT_NE(link.log.end(), std::find(link.log.begin(), link.log.end(), "modified"));
    }
    canvas->SetZoom(false);
}
