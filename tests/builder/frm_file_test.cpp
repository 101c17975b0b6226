#include "builder/frm_file.h"

#include "platform/message_box.h"

#include <gtest/gtest.h>

#include "support/screen_reader.h"
#include "support/test_files.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

using builder::frmFile;
using State = frmFile::State;

void write(const QString& path, const QByteArray& bytes = "x") {
    ASSERT_TRUE(testfiles::write(path, bytes));
}

// A drive holding a book and a folder of photos; message boxes are answered here and remembered.
class Builder : public ::testing::Test {
  protected:
    QTemporaryDir drive;
    QDir book{drive.filePath("book")};
    QDir photos{drive.filePath("photos")};
    QWidget owner;
    std::unique_ptr<frmFile> f;
    std::vector<platform::MessageRequest> told;
    QMessageBox::StandardButton answer = QMessageBox::Ok;

    void SetUp() override {
        QDir(drive.path()).mkpath("book");
        QDir(drive.path()).mkpath("photos/sub");
        for (const char* name :
             {"b.jpg", "a.jpg", "c-d.jpg", "E.JPG", "a.rtf", "notes.TXT", "readme.md", "x.png"})
            write(photos.filePath(name), QByteArray("photo ") + name);
        write(book.filePath("own.gif"));
        write(book.filePath("DocItem.txt"), "own.gif-\r\n");
        platform::setMessageResponder([this](const platform::MessageRequest& r) {
            told.push_back(r);
            return answer;
        });
        f = std::make_unique<frmFile>(book, &owner);
        f->listDrives = [this] {
            return std::vector<platform::Drive>{{drive.path(), "D"},
                                                {drive.filePath("unplugged"), "U"}};
        };
    }
    void TearDown() override { platform::setMessageResponder({}); }

    const builder::FrmFileWidgets& w() const { return *f->widgets(); }

    // What a list shows once the background reading has caught up.
    static QStringList settled(const std::function<QStringList()>& names, int count) {
        (void)QTest::qWaitFor([&] { return names().size() == count; }, 5000);
        QTest::qWait(50);  // the list sorts what it has read a moment later
        return names();
    }
    QStringList images(int count) const {
        return settled([this] { return w().FileList->fileNames(); }, count);
    }
    QStringList texts(int count) const {
        return settled([this] { return w().FileTxt->fileNames(); }, count);
    }
    static QModelIndex entry(QAbstractItemView* view, const QString& name) {
        const QModelIndexList hits =
            view->model()->match(view->model()->index(0, 0, view->rootIndex()), Qt::DisplayRole,
                                 name, 1, Qt::MatchExactly);
        return hits.isEmpty() ? QModelIndex() : hits[0];
    }
    // A person clicks an entry of a list.
    static void click(QAbstractItemView* view, const QString& name) {
        const QModelIndex at = entry(view, name);
        ASSERT_TRUE(at.isValid()) << name.toStdString();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(at).center());
    }
    // A person opens a directory: moves to it and presses Enter.
    void openDir(const QString& name) {
        QAbstractItemView* view = w().DirList->view();
        (void)QTest::qWaitFor([&] { return entry(view, name).isValid(); }, 5000);
        const QModelIndex at = entry(view, name);
        ASSERT_TRUE(at.isValid()) << name.toStdString();
        view->setCurrentIndex(at);
        QTest::keyClick(view, Qt::Key_Return);
    }
    void openPhotos() {
        openDir("..");
        openDir("photos");
        ASSERT_EQ(w().DirList->path(), photos.path());
        images(4);
        texts(2);
    }
    QStringList row(int r) const {
        return {w().lvwFile->text(r, 0), w().lvwFile->text(r, 1), w().lvwFile->text(r, 2)};
    }
};

TEST_F(Builder, OpensOnTheBookWithTheDesignedSelectionColumns) {
    f->Show();
    ASSERT_EQ(f->state(), State::Shown);
    EXPECT_EQ(w().DriveList->drive(), drive.path());
    EXPECT_EQ(w().DirList->path(), book.path());
    EXPECT_EQ(images(1), QStringList{"own.gif"});
    EXPECT_EQ(texts(1), QStringList{"DocItem.txt"});
    EXPECT_FLOAT_EQ(w().lvwFile->columnWidth(0), 646);
    EXPECT_FLOAT_EQ(w().lvwFile->columnWidth(1), 2713.2f);
    EXPECT_EQ(w().lvwFile->tree()->columnWidth(2), 181);
    // Geometry as the person sees it: the client area and the selection list, in pixels.
    EXPECT_EQ(w().dialog->size(), QSize(552, 450));
    EXPECT_EQ(w().lvwFile->widget()->geometry(), QRect(30, 285, 431, 156));
    EXPECT_EQ(w().FileList->widget()->mapTo(w().dialog, QPoint(0, 0)), QPoint(185, 50));
    // The frame and the two buttons are named by their captions.
    EXPECT_EQ(screenreader::expectNamedByCaptions(w().dialog), 3);
    // Opening again brings the same window forward.
    const QDialog* first = w().dialog;
    f->Show();
    EXPECT_EQ(w().dialog, first);
}

TEST_F(Builder, ImagesBecomePagesAndATextJoinsTheImageChosenLast) {
    f->Show();
    openPhotos();
    // Patterns ignore case; sorted as a file manager sorts.
    EXPECT_EQ(images(4), (QStringList{"a.jpg", "b.jpg", "c-d.jpg", "E.JPG"}));
    EXPECT_EQ(texts(2), (QStringList{"a.rtf", "notes.TXT"}));

    click(w().FileTxt->view(), "a.rtf");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].text, QStringLiteral("请先选择相应的图片文件！"));
    EXPECT_EQ(w().lvwFile->rowCount(), 0);

    click(w().FileList->view(), "a.jpg");
    // Enter chooses the current entry; arrowing to it chooses nothing.
    QTest::keyClick(w().FileList->view(), Qt::Key_Down);
    EXPECT_EQ(w().lvwFile->rowCount(), 1);
    QTest::keyClick(w().FileList->view(), Qt::Key_Return);
    click(w().FileTxt->view(), "a.rtf");
    click(w().FileTxt->view(), "notes.TXT");  // a second text replaces the first
    EXPECT_EQ(row(1), (QStringList{"1", "a.jpg", ""}));
    EXPECT_EQ(row(2), (QStringList{"2", "b.jpg", "notes.TXT"}));

    // A hyphen cannot be written into a catalog line: refused, said, nothing added.
    told.clear();
    click(w().FileList->view(), "c-d.jpg");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].text.contains("c-d.jpg"));
    EXPECT_EQ(w().lvwFile->rowCount(), 2);
    EXPECT_EQ(f->IntRowCount(), 2);

    // The same image again is another page; another directory empties the selection.
    click(w().FileList->view(), "a.jpg");
    EXPECT_EQ(row(3), (QStringList{"3", "a.jpg", ""}));
    openDir("sub");
    EXPECT_EQ(w().lvwFile->rowCount(), 0);
    EXPECT_EQ(f->IntRowCount(), 0);
    openDir("..");
    EXPECT_EQ(w().DirList->path(), photos.path());
    click(w().FileList->view(), "E.JPG");
    EXPECT_EQ(row(1), (QStringList{"1", "E.JPG", ""}));
}

TEST_F(Builder, OkCopiesWritesReportsAndCloses) {
    write(book.filePath("a.jpg"), "old a");
    f->Show();
    openPhotos();
    QSignalSpy saved(f.get(), &frmFile::catalogSaved);
    click(w().FileList->view(), "b.jpg");
    click(w().FileList->view(), "a.jpg");
    click(w().FileTxt->view(), "a.rtf");
    answer = QMessageBox::Cancel;  // keep the book's own a.jpg
    QTest::mouseClick(w().CmdOk->button(), Qt::LeftButton);

    EXPECT_EQ(saved.size(), 1);
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0].text, QStringLiteral("文件已经存在，是否复盖?"));
    EXPECT_EQ(told[0].title, "a.jpg");
    EXPECT_EQ(told[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(told[0].icon, QMessageBox::Question);
    EXPECT_EQ(told[1].text, QStringLiteral("已经制作好图文播放目录，可以使用。"));
    EXPECT_EQ(f->state(), State::Closed);
    EXPECT_EQ(testfiles::read(book.filePath("DocItem.txt")), "b.jpg-\r\na.jpg-a.rtf\r\n");
    EXPECT_EQ(testfiles::read(book.filePath("a.jpg")), "old a");
    EXPECT_TRUE(QFileInfo::exists(book.filePath("b.jpg")));
    EXPECT_TRUE(QFileInfo::exists(book.filePath("a.rtf")));

    // The selection went with the dialog.
    f->Show();
    EXPECT_EQ(w().lvwFile->rowCount(), 0);
}

TEST_F(Builder, EscDiscardsTheSelectionAndTheNextOpeningStartsAtRowOne) {
    f->Show();
    openPhotos();
    click(w().FileList->view(), "a.jpg");
    click(w().FileList->view(), "b.jpg");
    QTest::keyClick(w().dialog, Qt::Key_Escape);
    EXPECT_EQ(f->state(), State::Closed);
    f->Show();
    ASSERT_EQ(w().lvwFile->rowCount(), 0);
    f->FileList_Click("a.jpg");
    f->FileTxt_Click("a.rtf");
    EXPECT_EQ(row(1), (QStringList{"1", "a.jpg", "a.rtf"}));
    // Closing the window by its frame discards too; nothing was written.
    w().dialog->close();
    EXPECT_EQ(f->state(), State::Closed);
    EXPECT_EQ(testfiles::read(book.filePath("DocItem.txt")), "own.gif-\r\n");
}

TEST_F(Builder, SelectionStopsAtTheLastPageNumber) {
    f->Show();
    for (int i = 0; i < 32767; ++i) f->FileList_Click("a.jpg");
    EXPECT_TRUE(told.empty());
    f->FileList_Click("a.jpg");
    EXPECT_EQ(w().lvwFile->rowCount(), 32767);
    EXPECT_EQ(f->IntRowCount(), 32767);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].text.contains("32767"));
}

TEST_F(Builder, UnreadableDrivesAndVanishedDirectoriesLeaveTheListsUsable) {
    f->Show();
    openPhotos();
    click(w().FileList->view(), "a.jpg");
    // The second drive has no medium: said, and the lists stay where they were.
    QTest::keyClick(w().DriveList->combo(), Qt::Key_Down);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].text.contains("unplugged"));
    EXPECT_EQ(w().DriveList->currentIndex(), 0);
    EXPECT_EQ(w().DirList->path(), photos.path());
    EXPECT_EQ(w().lvwFile->rowCount(), 1);

    // The directory shown is removed from under the dialog: the lists move up to what is left.
    openDir("sub");
    ASSERT_TRUE(QDir(photos.filePath("sub")).removeRecursively());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w().DirList->path() == photos.path(); }, 5000));
    EXPECT_EQ(images(4).size(), 4);
    // A directory that is gone when opened is said, not entered.
    told.clear();
    ASSERT_TRUE(QDir(drive.path()).mkpath("photos/later"));
    QAbstractItemView* dirs = w().DirList->view();
    ASSERT_TRUE(QTest::qWaitFor([&] { return entry(dirs, "later").isValid(); }, 5000));
    dirs->setCurrentIndex(entry(dirs, "later"));
    QDir(photos.filePath("later")).removeRecursively();
    QTest::keyClick(dirs, Qt::Key_Return);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].text.contains("later"));
    EXPECT_EQ(w().DirList->path(), photos.path());
}

}  // namespace
