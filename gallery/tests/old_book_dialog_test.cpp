#include <gtest/gtest.h>

#include <string>

#include "gallery/old_sketchbook.h"
#include "gallery/picture_import.h"

namespace {

OPENFILENAMEA gAsked;
std::string gInitial, gTitle, gFile;
const char* gAnswer = nullptr;

BOOL WINAPI AnswerDialog(OPENFILENAMEA* record)
{
    gAsked = *record;
    gInitial = record->lpstrInitialDir;
    gTitle = record->lpstrTitle;
    gFile = record->lpstrFile;
    if (gAnswer == nullptr)
        return FALSE;
    lstrcpynA(record->lpstrFile, gAnswer, int(record->nMaxFile));
    return TRUE;
}

}  // namespace

TEST(OldBookDialog, AsksThenSplitsTheChosenPath)
{
    PictureOpenDialog previous = SetPictureOpenDialog(&AnswerDialog);
    char folder[FS_PATH_SIZE] = "C:\\images\\";
    char name[FS_NAME_SIZE] = "vieux";
    gAnswer = "D:\\anciens\\carnets\\mon carnet.img";
    ASSERT_TRUE(ChooseOldSketchbook(nullptr, folder, name));
    EXPECT_STREQ("D:\\anciens\\carnets\\", folder);
    EXPECT_STREQ("mon carnet.img", name);
    EXPECT_EQ(0x201804u, gAsked.Flags);
    EXPECT_EQ("C:\\images", gInitial);
    EXPECT_EQ("vieux", gFile);
    EXPECT_EQ("Ouvrir fichier carnet de dessin", gTitle);
    EXPECT_EQ(std::string("*.*\0*.*\0", 9), std::string(gAsked.lpstrFilter, 9));

    gAnswer = nullptr;
    EXPECT_FALSE(ChooseOldSketchbook(nullptr, folder, name));
    EXPECT_STREQ("mon carnet.img", name);
    SetPictureOpenDialog(previous);
}
