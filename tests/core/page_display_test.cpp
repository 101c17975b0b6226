#include "page_parts.h"

#include <gtest/gtest.h>

namespace {

// The viewport of the worked example: outer 6000 x 3000, inner 5940 x 2940.
class ShowPageTest : public ::testing::Test, protected PageParts {
  protected:
    std::unique_ptr<core::PageView> view;

    void SetUp() override {
        box.place(0, 0, 6000, 3000);
        fx.picture("a.jpg", 800 / 15, 600 / 15);  // 53 x 40 pixels
        fx.picture("b.bmp", 40, 80);
        fx.picture("big.png", 800, 200);
        fx.file("a.rtf", "{\\rtf1\\ansi {\\b Alpha} text\\par}");
        fx.file("b.txt", "plain text\r\n");
        fx.file("empty.rtf", "");
        fx.file("broken.jpg", "\xFF\xD8\xFF\xE0 not really a jpeg");
        loadCatalog(
            "a.jpg-a.rtf\r\nb.bmp-b.txt\r\nmissing.jpg-b.txt\r\nbig.png-\r\n-a.rtf\r\n"
            "../a.jpg-../a.rtf\r\nbroken.jpg-empty.rtf\r\n");
        view = std::make_unique<core::PageView>(
            core::PageView{list, viewport, text, status, fx.book()});
    }
};

TEST_F(ShowPageTest, RtfTextKeepsItsFormatting) {
    core::ShowPage(*view, 1);
    EXPECT_TRUE(text.plainText().startsWith("Alpha text"));
    QTextCursor cursor(text.document());
    cursor.setPosition(2);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
}

// After page 1 (a picture and an RTF text), a page with a picture or a text it cannot show: a
// picture that is not there shows none and says which in panel 1; a text that is not there
// leaves page 1's text, silently.
TEST_F(ShowPageTest, WhatCannotBeShownAfterAPage) {
    struct Case {
        int16_t row;
        bool picture, textOfPage1, problem;
    };
    // A missing picture is the broken one's branch, and a hostile book's.
    for (const Case& c : {Case{7, false, true, true},     // broken picture, empty text
                          Case{4, true, true, false},     // no text file
                          Case{5, false, true, false},    // no picture; page 1's text file
                          Case{6, false, true, true}}) {  // names leading out of the book
        SCOPED_TRACE(c.row);
        core::ShowPage(*view, 1);
        const QString page1 = text.plainText();
        core::ShowPage(*view, c.row);
        EXPECT_EQ(!image.picture().isNull(), c.picture);
        EXPECT_EQ(text.plainText() == page1, c.textOfPage1);
        EXPECT_EQ(status.panelText(1).contains(core::pageImageFile(list, c.row)) &&
                      !status.panelText(1).isEmpty(),
                  c.problem);
        EXPECT_EQ(status.panelText(2), core::pageTitle(list, c.row));
        EXPECT_EQ(status.panelText(3), QString::number(c.row));
    }
    core::ShowPage(*view, 2);
    EXPECT_TRUE(status.panelText(1).isEmpty());
}

TEST_F(ShowPageTest, LargerPictureScrollsFromTheTopLeftWithValueReset) {
    core::ShowPage(*view, 4);  // 800 x 200 pixels: width fitted to 6000, height 1500
    EXPECT_FALSE(hscr.visible());
    image.setWidth(image.width() * 2);
    image.setHeight(image.height() * 2);
    viewport.PlaceImage();
    ASSERT_TRUE(hscr.visible());
    EXPECT_EQ(hscr.maximum(), 12000 - 5940);
    hscr.setValue(500);
    EXPECT_FLOAT_EQ(image.left(), -500);
    viewport.PlaceImage();
    EXPECT_EQ(hscr.value(), 0);
    EXPECT_FLOAT_EQ(image.left(), 0);
    // Dragging moves the image with the thumb.
    emit vscr.scrolling(120);
    EXPECT_FLOAT_EQ(image.top(), -120);
}

TEST_F(ShowPageTest, MissingRowChangesOnlyTheFit) {
    core::ShowPage(*view, 1);
    const QString title = status.panelText(2);
    image.setWidth(image.width() * 1.2f);
    core::ShowPage(*view, 99);
    EXPECT_EQ(status.panelText(2), title);
    EXPECT_FALSE(image.picture().isNull());
    EXPECT_FLOAT_EQ(image.height(), 3000);
}

TEST_F(ShowPageTest, ClickSearchFindsTheRowByNumber) {
    EXPECT_EQ(core::rowOfClickedItem(list, 3, 0), 3);
    EXPECT_EQ(core::rowOfClickedItem(list, 99, 2), 2);  // nothing matches: keep the current
}

}  // namespace
