// Canvas pixels, plane views, the shared dirty box, change states, the undo copy.
#include <gtest/gtest.h>

#include "canvas/plane.h"
#include "canvas/undo_snapshot.h"

TEST(ComponentPixel, LayoutAndColorWord)
{
    KVXComponentPixel p = {0x11, 0x22, 0x33, 26, 500, 7};
    EXPECT_EQ(0x1A332211u, p.ColorWord());
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&p);
    EXPECT_EQ(0x11, bytes[0]);
    EXPECT_EQ(26, bytes[3]);
    EXPECT_EQ(500, bytes[4] | bytes[5] << 8);
    EXPECT_EQ(7, bytes[6] | bytes[7] << 8);
    EXPECT_EQ(0x00FFFFFFu, kBlankPixel.ColorWord());
    EXPECT_EQ(3072, kBlankPixel.height);
}

TEST(Plane, FreshCanvasIsZeroAndWhollyDirty)
{
    KVXPlaneComponentTop plane({5, 3});
    EXPECT_EQ(5, plane.pitch);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(0u, plane.ColorAt(x, y));
    EXPECT_EQ(0, plane.PixelAt(4, 2)->height);
    EXPECT_EQ((Box{0, 0, 5, 3}), plane.DirtyBox());
    EXPECT_EQ(0, plane.DirtyFlag());
    EXPECT_EQ(0, plane.changeState.value);
}

TEST(Plane, SubViewsShareBitsAndDirtyBox)
{
    KVXPlaneComponentTop plane({640, 40});
    KVXPlaneComponent view;
    view.MakeSubView(plane, {10, 20, 30, 25});
    EXPECT_EQ(20, view.width);
    EXPECT_EQ(5, view.height);
    EXPECT_EQ(640, view.pitch);
    EXPECT_EQ(plane.PixelAt(10, 20), view.PixelAt(0, 0));
    EXPECT_EQ((Box{10, 20, 30, 25}), view.placement);

    KVXPlaneComponent inner;
    inner.MakeSubView(view, {2, 1, 4, 3});
    EXPECT_EQ(plane.PixelAt(12, 21), inner.bits);
    EXPECT_EQ((Box{12, 21, 14, 23}), inner.placement);

    plane.SetDirtyBox({0, 0, 0, 0});
    inner.AddDirtyRect({1, 1, 2, 2});
    EXPECT_EQ((Box{1, 1, 2, 2}), plane.DirtyBox());

    KVXPlaneUCharTop bytes({8, 4});
    KVXPlaneUChar part;
    part.MakeSubView(bytes, {2, 1, 5, 3});
    EXPECT_EQ(bytes.bits + 8 + 2, part.bits);
    KVXPlaneUChar copy;
    copy.CopyView(part);
    EXPECT_EQ(3, copy.width);
    EXPECT_EQ(8, copy.pitch);
}

TEST(Plane, DirtyBox)
{
    KVXPlaneComponentTop plane({100, 100});
    plane.SetDirtyBox({0, 0, 0, 0});
    plane.SetDirtyFlag(1);
    plane.AddDirtyRect({80, 80, 90, 90});
    EXPECT_EQ((Box{80, 80, 90, 90}), plane.DirtyBox()) << "an empty box is replaced";
    EXPECT_EQ(0, plane.DirtyFlag());
    plane.SetDirtyFlag(1);
    plane.AddDirtyRect({2, 3, 4, 5});
    EXPECT_EQ((Box{2, 3, 90, 90}), plane.DirtyBox());
    EXPECT_EQ(0, plane.DirtyFlag());

    plane.ResetDirtyBoxIfFlagged();
    EXPECT_EQ((Box{2, 3, 90, 90}), plane.DirtyBox()) << "flag 0 keeps it";
    plane.SetDirtyFlag(1);
    plane.ResetDirtyBoxIfFlagged();
    EXPECT_EQ((Box{0, 0, 0, 0}), plane.DirtyBox());
    plane.MarkAllDirty();
    EXPECT_EQ((Box{0, 0, 100, 100}), plane.DirtyBox());
}

TEST(Plane, ChangeStates)
{
    ChangeState state;
    state.value = 1;
    EXPECT_EQ(1, state.Advance());
    EXPECT_EQ(2, state.value);
    EXPECT_EQ(2, state.Advance());
    EXPECT_EQ(3, state.value);
    state.Advance();
    EXPECT_EQ(3, state.value);
    state.AfterUndo();
    EXPECT_EQ(3, state.value) << "undo at 3 stays 3";
    state.value = 2;
    state.AfterUndo();
    EXPECT_EQ(0, state.value) << "a single change undone from 1 gives 0";
    state.value = 1;
    state.AfterUndo();
    EXPECT_EQ(1, state.value);

    KVXPlaneComponentTop plane({1, 1});
    plane.MarkChanged();
    EXPECT_EQ(1, plane.changeState.value);
    plane.MarkUnchanged();
    EXPECT_EQ(0, plane.changeState.value);
}

TEST(Plane, FillAndCopyPixels)
{
    KVXPlaneComponentTop plane({4, 3});
    plane.Fill(kBlankPixel);
    plane.FillElements({3, 2, 9, 9}, KVXComponentPixel{1, 2, 3, 0, 9, 0});
    EXPECT_EQ(0x00FFFFFFu, plane.ColorAt(2, 2));
    EXPECT_EQ(0x00030201u, plane.ColorAt(3, 2));

    KVXPlaneComponentTop target({6, 5});
    plane.CopyPixelsTo(target);
    EXPECT_EQ(0x00030201u, target.ColorAt(3, 2));
    EXPECT_EQ(3072, target.PixelAt(0, 0)->height);
    EXPECT_EQ(0u, target.ColorAt(4, 0)) << "outside this plane's width";
}

TEST(UndoSnapshot, TwoSwapsGiveThePictureBack)
{
    KVXPlaneComponentTop plane({3, 2});
    plane.Fill(kBlankPixel);
    UndoSnapshot undo(plane);
    KVXComponentPixel red = {0, 0, 255, 0, 4000, 0};
    plane.FillElements({0, 0, 1, 1}, red);
    KVXComponentPixel* before = plane.bits;

    undo.Swap(plane);
    EXPECT_EQ(0x00FFFFFFu, plane.ColorAt(0, 0));
    EXPECT_EQ(before, undo.Copy().bits) << "the blocks are exchanged, not copied";
    undo.Swap(plane);
    EXPECT_EQ(0x00FF0000u, plane.ColorAt(0, 0));
    EXPECT_EQ(4000, plane.PixelAt(0, 0)->height);

    undo.Checkpoint(plane);
    EXPECT_EQ(0x00FF0000u, undo.Copy().ColorAt(0, 0));
}
