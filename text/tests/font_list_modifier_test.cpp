// The font list as the child uses it, on injected faces: the start face, the
// list opening, hovering, scrolling and choosing, told to the text box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/font_list_modifier.h"

namespace {

struct Client : MPFontListClient {
    std::vector<std::string> log;
    void SetFaceName(const char* face) override { log.push_back(std::string("face ") + face); }
    void CloakTextBox() override { log.push_back("cloak"); }
    void UncloakTextBox() override { log.push_back("uncloak"); }
    void PlayOpenSound() override { log.push_back("sound"); }
    void Redraw() override { log.push_back("redraw"); }
};

std::vector<std::string> Faces(int n)
{
    std::vector<std::string> faces;
    for (int i = n - 1; i >= 0; --i)
        faces.push_back("Face " + std::string(1, char('a' + i / 26)) + char('a' + i % 26));
    return faces;
}

MMStageEvent Pointer(uint32_t flags) { return MMStageEvent{kStageEventPointer, 0, 0, 0, 0, flags}; }

TEST(FontListModifier, TheStartFaceIsSortedInOrTheFirst)
{
    Client client;
    MPTextToolFontListModifier list(Faces(16), -1, "face ac", &client);
    EXPECT_EQ("Face aa", list.FaceNameAt(0)) << "sorted";
    EXPECT_EQ(2, list.SelectedIndex());
    EXPECT_EQ(std::vector<std::string>{"face Face ac"}, client.log);
    MPTextToolFontListModifier missing(Faces(16), -1, "Not Installed", nullptr);
    EXPECT_EQ(0, missing.SelectedIndex());
    MPTextToolFontListModifier none({}, -1, "Face aa", nullptr);
    EXPECT_FALSE(none.HandlePointer(Pointer(kPointerPressed), 0)) << "no faces, no list";
}

TEST(FontListModifier, OpeningHoveringScrollingAndChoosing)
{
    Client client;
    MPTextToolFontListModifier list(Faces(20), 0, "", &client);
    client.log.clear();
    EXPECT_FALSE(list.HandlePointer(Pointer(kPointerHeld), 3)) << "closed: only a press opens";
    EXPECT_TRUE(list.HandlePointer(Pointer(kPointerPressed), -1));
    EXPECT_TRUE(list.IsOpen());
    EXPECT_EQ((std::vector<std::string>{"sound", "redraw", "cloak"}), client.log);
    client.log.clear();
    EXPECT_TRUE(list.HandlePointer(Pointer(kPointerHeld), 17));  // the down arrow
    int steps = 0;
    while (list.ScrollStep())
        ++steps;
    EXPECT_EQ(4, list.Rows().FirstShown()) << "20 faces, 16 rows";
    EXPECT_EQ(3, steps) << "the last step ends the scrolling";
    EXPECT_TRUE(list.HandlePointer(Pointer(kPointerHeld), 5));
    EXPECT_FALSE(list.HandlePointer(Pointer(kPointerReleased), 5));
    EXPECT_FALSE(list.IsOpen());
    EXPECT_EQ(8, list.SelectedIndex()) << "row 5 + first shown 4 - the arrow row";
    EXPECT_EQ("face Face ai", client.log[client.log.size() - 3]);
    EXPECT_EQ("uncloak", client.log.back());
}

}  // namespace
