#include "builder/frm_file.h"
#include "platform/message_box.h"
#include "reader/frmmain.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The message-box responder refers to the test's own list; it goes with the test, however the
// test ends.
class ReaderWithBuilder : public ::testing::Test {
  protected:
    std::vector<QString> told;
    void SetUp() override {
        platform::setMessageResponder([this](const platform::MessageRequest& r) {
            told.push_back(r.text);
            return QMessageBox::Ok;
        });
    }
    void TearDown() override { platform::setMessageResponder({}); }
};

// A finished builder refreshes the reader's catalog without moving the reader off what it shows.
TEST_F(ReaderWithBuilder, OkReloadsTheCatalogOnly) {
    QTemporaryDir dir;
    const QDir book(dir.path());
    for (const char* name : {"p1.jpg", "p2.jpg", "p3.jpg"}) {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(book.filePath(name));
    }
    ASSERT_TRUE(testfiles::write(book.filePath("DocItem.txt"), "p1.jpg-\r\np2.jpg-\r\n"));
    reader::frmmain w(book);
    w.endProgram = [] {};
    w.show();
    w.listVW_ItemClick(2);
    w.waitForPage();
    w.menuPicFullScr_Click();
    const QImage shown = w.ImgPic->picture().image();

    // The menu item opening one modeless builder is the reader's wiring test.
    w.menuDocItem->trigger();
    builder::frmFile& b = w.catalogBuilder();
    ASSERT_EQ(b.state(), builder::frmFile::State::Shown);

    for (const char* name : {"p3.jpg", "p1.jpg", "p2.jpg"}) b.FileList_Click(name);
    QTest::mouseClick(b.widgets()->CmdOk->button(), Qt::LeftButton);

    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), QStringLiteral("已经制作好图文播放目录，可以使用。"));
    EXPECT_EQ(b.state(), builder::frmFile::State::Closed);
    ASSERT_EQ(w.listVW->rowCount(), 3);
    EXPECT_EQ(w.listVW->text(1, 3), "p3.jpg");
    EXPECT_EQ(w.listVW->text(3, 0), "3");
    // The reader stays where it was: same page, same number, same full-screen view.
    EXPECT_EQ(w.CurPage, 2);
    EXPECT_EQ(w.stBar->panelText(3), "2");
    EXPECT_EQ(w.ImgPic->picture().image(), shown);
    EXPECT_FALSE(w.FraTxtCmd->visible());
    EXPECT_TRUE(w.PicPic->visible());
}

}  // namespace
