#include "resources/CommandIds.h"
#include "tests/gui/DialogDriver.h"

#include <cstring>
#include <wx/textctrl.h>

namespace {
class TitleAndCaptions : public WindowTest { };

TEST_F(TitleAndCaptions, TitleIsShownEditedAndKeptToThirtySixCharacters)
{
    std::strcpy(doc.title, "Old title");
    expectDialog(dialogs(), [](TDialog& d) {
        EXPECT_EQ(d.templateNumber(), 11);
        EXPECT_EQ(d.text(101), "Old title");
        typeInto(d, 101, std::string(40, 'T'));
        EXPECT_EQ(d.text(101).size(), 36u);
        press(d, 1);
    });
    command(CM_GRAPHTITLE);
    EXPECT_EQ(std::string(doc.title), std::string(36, 'T'));
    // A changed title is unsaved work, so closing would ask first.
    EXPECT_EQ(dirty(), 1);

    // Cancelled, or OK with the same text: nothing changed, nothing marked.
    asOpened();
    for (int button : { 2, 1 }) {
        expectDialog(dialogs(), [button](TDialog& d) {
            if (button == 2)
                typeInto(d, 101, "Discarded");
            press(d, button);
        });
        command(CM_GRAPHTITLE);
        EXPECT_EQ(std::string(doc.title), std::string(36, 'T'));
        EXPECT_EQ(dirty(), 0);
    }
}

TEST_F(TitleAndCaptions, CaptionEditsMapToTheCurvesOutOfIdOrder)
{
    std::strcpy(doc.captions[1], "Wheat");
    expectDialog(dialogs(), [](TDialog& d) {
        EXPECT_EQ(d.templateNumber(), 9);
        EXPECT_EQ(d.text(101), "");
        EXPECT_EQ(d.text(103), "Wheat");
        EXPECT_EQ(d.text(102), "");
        typeInto(d, 101, "Barley");
        typeInto(d, 102, std::string(30, 'o'));
        EXPECT_EQ(d.text(102).size(), 24u);
        press(d, 1);
    });
    command(CM_CAPTIONS);
    EXPECT_STREQ(doc.captions[0], "Barley");
    EXPECT_STREQ(doc.captions[1], "Wheat");
    EXPECT_EQ(std::string(doc.captions[2]), std::string(24, 'o'));
    EXPECT_EQ(doc.placingCaption, 1);
    EXPECT_EQ(dirty(), 1);
}

TEST_F(TitleAndCaptions, OkArmsPlacementAndTheNextRightClickMovesTheBox)
{
    std::strcpy(doc.captions[0], "Rain");
    expectDialog(dialogs(), [](TDialog& d) { press(d, 1); });
    command(CM_CAPTIONS);
    rightClick(500, 60);
    EXPECT_EQ(doc.captionsPlaced, 1);
    EXPECT_EQ(doc.captionBoxX, 500);
    EXPECT_EQ(doc.placingCaption, 0);

    // Reopening and pressing OK without typing re-arms placement.
    expectDialog(dialogs(), [](TDialog& d) {
        EXPECT_EQ(d.text(101), "Rain");
        press(d, 1);
    });
    command(CM_CAPTIONS);
    EXPECT_EQ(doc.placingCaption, 1);
    // Cancel afterwards leaves it armed.
    expectDialog(dialogs(), [](TDialog& d) { press(d, 2); });
    command(CM_CAPTIONS);
    EXPECT_EQ(doc.placingCaption, 1);
    rightClick(100, 100);
    EXPECT_EQ(doc.captionBoxX, 100);
    EXPECT_EQ(doc.captionBoxY, 100);
    EXPECT_EQ(dirty(), 1);
}

TEST_F(TitleAndCaptions, CancelStoresNothing)
{
    expectDialog(dialogs(), [](TDialog& d) {
        typeInto(d, 101, "Lost");
        press(d, 2);
    });
    command(CM_CAPTIONS);
    EXPECT_STREQ(doc.captions[0], "");
    EXPECT_EQ(doc.placingCaption, 0);
}

TEST_F(TitleAndCaptions, HelpWindowsShowTheirTemplatesAndCloseWithCancel)
{
    const std::pair<int, int> windows[] = {
        { CM_GENERALHELP, 3 },
        { CM_ADDINGPOINTS, 6 },
        { CM_DELETINGPOINTS, 7 },
        { CM_ABOUT, 4 },
    };
    leftClick(200, 200);
    const GraphDocument before = doc;
    const int dirtyBefore = dirty();
    for (auto [id, number] : windows) {
        int seen = 0;
        expectDialog(dialogs(), [&seen](TDialog& d) {
            seen = d.templateNumber();
            ASSERT_NE(d.control(2), nullptr);
            EXPECT_EQ(d.control(2)->GetLabel(), "Close");
            press(d, 2);
        });
        command(id);
        EXPECT_EQ(seen, number);
    }
    EXPECT_EQ(std::memcmp(&before.pointCount, &doc.pointCount, sizeof doc.pointCount), 0);
    EXPECT_EQ(dirty(), dirtyBefore);
}
} // namespace
