#include "../reader/reader_fixture.h"
#include "builder/frm_file.h"
#include "platform/message_box.h"

namespace {

// The message-box responder refers to the test's own list; it goes with the test, however the
// test ends.
class ReaderWithBuilder : public ReaderTest {
  protected:
    std::vector<QString> told;
    void SetUp() override {
        ReaderTest::SetUp();
        platform::setMessageResponder([this](const platform::MessageRequest& r) {
            told.push_back(r.text);
            return QMessageBox::Ok;
        });
    }
    void TearDown() override { platform::setMessageResponder({}); }
};

// A finished builder refreshes the reader's catalog without moving the reader off what it shows.
// The menu item opening one modeless builder is the reader's wiring test.
TEST_F(ReaderWithBuilder, OkReloadsTheCatalogOnly) {
    openShown("p1.jpg-p1.txt\r\np2.bmp-p2.txt\r\n");
    clickRow(2);
    w->menuPicFullScr_Click();
    const QImage shown = w->ImgPic->picture().image();

    w->menuDocItem->trigger();
    builder::frmFile& b = w->catalogBuilder();
    ASSERT_EQ(b.state(), builder::frmFile::State::Shown);
    for (const char* name : {"p3.png", "p1.jpg", "p2.bmp"}) b.FileList_Click(name);
    QTest::mouseClick(b.widgets()->CmdOk->button(), Qt::LeftButton);

    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), QStringLiteral("已经制作好图文播放目录，可以使用。"));
    EXPECT_EQ(b.state(), builder::frmFile::State::Closed);
    ASSERT_EQ(w->listVW->rowCount(), 3);
    EXPECT_EQ(w->listVW->text(1, 3), "p3.png");
    EXPECT_EQ(w->listVW->text(3, 0), "3");
    // The reader stays where it was: same page, same number, same full-screen view.
    EXPECT_EQ(w->CurPage, 2);
    EXPECT_EQ(status(3), "2");
    EXPECT_EQ(w->ImgPic->picture().image(), shown);
    EXPECT_FALSE(w->FraTxtCmd->visible());
    EXPECT_TRUE(w->PicPic->visible());
}

}  // namespace
