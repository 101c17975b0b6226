#include "../reader/reader_fixture.h"
#include "core/catalog_loader.h"
#include "editor/book_editor.h"
#include "editor/caption_editor.h"
#include "editor/page_commands.h"
#include "editor/page_thumbnails.h"
#include "platform/message_box.h"
#include "rtf/rtf.h"

#include <QAccessible>
#include <QComboBox>
#include <QFontComboBox>
#include <QInputMethodEvent>
#include <QListView>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

#include <csignal>
#include <map>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

using editor::BookEditor;

// Which pages end where after one step up or down: each chosen page passes the unchosen one
// beside it, and a page at the end, or behind a chosen page that cannot move, stays.
TEST(StepPages, MovesEachChosenPagePastItsNeighbour) {
    struct Case {
        std::vector<int> chosen;
        bool up;
        const char* order;
        std::vector<int> after;
    };
    const Case cases[] = {
        {{3}, true, "1 3 2 4 5", {2}},        {{1}, true, "1 2 3 4 5", {1}},
        {{1, 2}, true, "1 2 3 4 5", {1, 2}},  {{2, 4}, true, "2 1 4 3 5", {1, 3}},
        {{1, 3}, true, "1 3 2 4 5", {1, 2}},  {{5}, false, "1 2 3 4 5", {5}},
        {{2, 3}, false, "1 4 2 3 5", {3, 4}}, {{4, 5}, false, "1 2 3 4 5", {4, 5}},
        {{3, 5}, false, "1 2 4 3 5", {4, 5}}, {{9}, true, "1 2 3 4 5", {}},
    };
    for (const Case& c : cases) {
        BookFixture fx;
        fx.catalog("1.jpg-\r\n2.jpg-\r\n3.jpg-\r\n4.jpg-\r\n5.jpg-\r\n");
        core::Book book(fx.book());
        ASSERT_TRUE(book.load());
        QUndoStack stack;
        auto* macro = new QUndoCommand;
        const std::vector<int> after = editor::stepPages(book, c.chosen, c.up, macro);
        stack.push(macro);
        QStringList order;
        for (const core::CatalogRow& r : book.pages()) order << r.title;
        EXPECT_EQ(order.join(' '), QString::fromLatin1(c.order)) << c.order;
        EXPECT_EQ(after, c.after) << c.order;
        stack.undo();  // and every step goes back
        order.clear();
        for (const core::CatalogRow& r : book.pages()) order << r.title;
        EXPECT_EQ(order.join(' '), QStringLiteral("1 2 3 4 5")) << c.order;
    }
}

// Dropped pages stand one after another before the page they were dropped on, in reading order.
TEST(DropPages, PutTheChosenPagesTogetherBeforeTheTarget) {
    const struct {
        std::vector<int> rows;
        int before;
        const char* order;
    } cases[] = {
        {{1}, 4, "2 3 1 4 5"},    {{5}, 1, "5 1 2 3 4"},    {{2, 4}, 1, "2 4 1 3 5"},
        {{1, 4}, 3, "2 1 4 3 5"}, {{2, 3}, 6, "1 4 5 2 3"}, {{3}, 3, "1 2 3 4 5"},
    };
    for (const auto& c : cases) {
        BookFixture fx;
        fx.catalog("1.jpg-\r\n2.jpg-\r\n3.jpg-\r\n4.jpg-\r\n5.jpg-\r\n");
        core::Book book(fx.book());
        ASSERT_TRUE(book.load());
        QUndoStack stack;
        auto* macro = new QUndoCommand;
        const std::vector<int> after = editor::dropPages(book, c.rows, c.before, macro);
        stack.push(macro);
        QStringList order;
        for (const core::CatalogRow& r : book.pages()) order << r.title;
        EXPECT_EQ(order.join(' '), QString::fromLatin1(c.order)) << c.order;
        for (size_t k = 0; k < after.size(); ++k)
            EXPECT_EQ(book.page(after[k]).title, QString::number(c.rows[k])) << c.order;
    }
}

// The editor as a person uses it: opened from the reader's menu, driven by its keys.
class EditorTest : public ReaderTest {
  public:
    BookEditor* e = nullptr;
    std::vector<platform::MessageRequest> told;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;

    void SetUp() override {
        ReaderTest::SetUp();
        fx.catalog(kThree);
        platform::setMessageResponder([this](const platform::MessageRequest& r) {
            told.push_back(r);
            return answer;
        });
        open(kThree);
        w->menuEditBook->trigger();
        e = &w->bookEditor();
        ASSERT_TRUE(QTest::qWaitForWindowActive(e));
    }
    void TearDown() override {
        platform::setMessageResponder({});
        ReaderTest::TearDown();
    }
    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        // Shortcuts reach the active window only, as a person's keys do.
        e->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(e));
        QTest::keyClick(e->pageGrid(), Qt::Key(k), m);
    }
    // The reader's catalog, by image name.
    QStringList catalog() const {
        QStringList names;
        for (int row = 1; row <= w->listVW->rowCount(); ++row)
            names << core::pageImageFile(*w->listVW, row);
        return names;
    }
    QStringList grid() const {
        QStringList texts;
        const QAbstractItemModel* m = e->pageGrid()->model();
        for (int row = 0; row < m->rowCount(); ++row) texts << m->index(row, 0).data().toString();
        return texts;
    }
};

TEST_F(EditorTest, KeysReorderRemoveUndoAndSaveIntoTheReader) {
    EXPECT_EQ(grid(), QStringList({"1. p1", "2. p2", "3. p3"}));
    e->selectRows({1});
    key(Qt::Key_Down, Qt::ControlModifier);
    key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(grid(), QStringList({"1. p2", "2. p3", "3. p1"}));
    EXPECT_EQ(e->selectedRows(), std::vector<int>{3});  // the page moved stays selected
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid(), QStringList({"1. p2", "2. p1", "3. p3"}));
    key(Qt::Key_Y, Qt::ControlModifier);
    e->selectRows({2});
    key(Qt::Key_Delete);
    EXPECT_EQ(grid(), QStringList({"1. p2", "2. p1"}));
    EXPECT_EQ(catalog(), QStringList({"p1.jpg", "p2.bmp", "p3.png"}));  // not saved yet
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(catalog(), QStringList({"p2.bmp", "p1.jpg"}));
    EXPECT_TRUE(QFileInfo::exists(fx.book().filePath("p3.png")));  // its file stays
    EXPECT_TRUE(e->undoStack().isClean());
    EXPECT_TRUE(told.empty());
}

// The buttons are the same commands, and say by their state what can be done.
TEST_F(EditorTest, ButtonsFollowTheSelectionAndTheUndoStack) {
    const auto button = [this](QAction* a) {
        for (auto* b : e->findChildren<QToolButton*>())
            if (b->defaultAction() == a) return b;
        return static_cast<QToolButton*>(nullptr);
    };
    EXPECT_FALSE(button(e->moveUpAction)->isEnabled());
    EXPECT_FALSE(button(e->saveAction)->isEnabled());
    e->selectRows({3});
    QTest::mouseClick(button(e->moveUpAction), Qt::LeftButton);
    EXPECT_EQ(grid(), QStringList({"1. p1", "2. p3", "3. p2"}));
    EXPECT_TRUE(button(e->saveAction)->isEnabled());
    QTest::mouseClick(button(e->undoAction), Qt::LeftButton);
    EXPECT_EQ(grid(), QStringList({"1. p1", "2. p2", "3. p3"}));
    EXPECT_FALSE(button(e->saveAction)->isEnabled());  // back where the disk is
}

// Closing with unsaved edits asks: cancel keeps the window and the edits, discard returns to the
// catalog on disk; a catalog that cannot be written keeps the edits and says why.
TEST_F(EditorTest, UnsavedEditsAreNeverLostSilently) {
    e->selectRows({1});
    key(Qt::Key_Delete);
    key(Qt::Key_Escape);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(grid().size(), 2);

    const QString catalogPath = fx.book().filePath("DocItem.txt");
    QFile::rename(catalogPath, catalogPath + ".old");
    ASSERT_TRUE(QDir(fx.book()).mkdir("DocItem.txt"));  // cannot be replaced
    answer = QMessageBox::Save;
    key(Qt::Key_Escape);
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(told.back().icon, QMessageBox::Warning);
    EXPECT_FALSE(e->undoStack().isClean());
    EXPECT_EQ(grid().size(), 2);

    QDir(fx.book()).rmdir("DocItem.txt");
    QFile::rename(catalogPath + ".old", catalogPath);
    answer = QMessageBox::Discard;
    key(Qt::Key_Escape);
    EXPECT_FALSE(e->isVisible());
    w->menuEditBook->trigger();
    EXPECT_EQ(grid().size(), 3);
}

// Pictures from anywhere join after the selection under names that replace nothing and that the
// catalog can hold; one the book has already is used as it is, and undo takes the pages out.
TEST_F(EditorTest, AddedPicturesAreCopiedUnderFreeNamesAfterTheSelection) {
    QTemporaryDir away;
    const auto put = [&](const char* name, const QByteArray& bytes) {
        QFile f(away.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    QFile own(fx.book().filePath("p2.bmp"));
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    const QStringList chosen = {put("new.jpg", "n"), put("p1.jpg", "other"), put("a-b.png", "ab"),
                                put("p2.bmp", own.readAll()), away.filePath("gone.jpg")};
    e->choosePictures = [&] { return chosen; };
    e->selectRows({1});
    key(Qt::Key_Insert);
    EXPECT_EQ(grid(),
              QStringList({"1. p1", "2. new", "3. p1 (2)", "4. a_b", "5. p2", "6. p2", "7. p3"}));
    EXPECT_EQ(e->selectedRows(), (std::vector<int>{2, 3, 4, 5}));
    ASSERT_EQ(told.size(), 1u);
    for (const char* says : {"p1.jpg 以 p1 (2).jpg", "a-b.png 以 a_b.png", "gone.jpg 没有添加"})
        EXPECT_TRUE(told[0].text.contains(QString::fromUtf8(says))) << says;
    QFile copy(fx.book().filePath("p1 (2).jpg"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "other");
    EXPECT_EQ(fx.book().entryList({".*.part"}, QDir::Hidden | QDir::Files), QStringList());
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid().size(), 3);
    EXPECT_TRUE(QFileInfo::exists(fx.book().filePath("new.jpg")));  // files are never deleted

    // A picture dropped from a file manager is added the same way.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(chosen[0])});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(e->pageGrid()->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(e->pageGrid()->viewport(), &drop);
    EXPECT_EQ(grid().size(), 4);
}

// However a save fails, every file of the book stays byte for byte as it was, the failure is
// named, and the edits stay open to be saved once the cause is gone.
TEST_F(EditorTest, ASaveThatFailsLeavesEveryFileAsItWas) {
#ifdef _WIN32
    GTEST_SKIP() << "a file size limit and permission bits are POSIX's";
#else
    const QString at = fx.book().path();
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const struct {
        const char* what;
        std::function<bool()> arrange;  // false: this failure cannot be made here
        std::function<void()> restore;
    } failures[] = {
        // A full disk: the short text would fit, the long one does not.
        {"disk full",
         [&] {
             std::signal(SIGXFSZ, SIG_IGN);
             rlimit small = unlimited;
             small.rlim_cur = 4096;
             return setrlimit(RLIMIT_FSIZE, &small) == 0;
         },
         [&] { setrlimit(RLIMIT_FSIZE, &unlimited); }},
        // A read-only book refuses any user but root.
        {"read-only book",
         [&] {
             QFile::setPermissions(at, QFile::ReadOwner | QFile::ExeOwner);
             QFile probe(at + "/probe");
             if (!probe.open(QIODevice::WriteOnly)) return true;
             probe.remove();
             return false;
         },
         [&] {
             QFile::setPermissions(at, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
         }},
        // The book went away: a stick pulled out, a folder renamed.
        {"book vanished", [&] { return QDir().rename(at, at + ".away"); },
         [&] { QDir().rename(at + ".away", at); }},
    };
    const auto files = [this] {
        std::map<QString, QByteArray> bytes;
        for (const QFileInfo& f : fx.book().entryInfoList(QDir::Files | QDir::Hidden)) {
            QFile file(f.filePath());
            bytes[f.fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : "?";
        }
        return bytes;
    };
    const auto type = [this](int row, const QString& text) {
        e->selectRows({row});
        QTest::keyClick(e->caption().textEdit(), Qt::Key_End, Qt::ControlModifier);
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(e->caption().textEdit(), &commit);
    };
    type(1, "short");
    type(2, QString(6000, QLatin1Char('x')));
    e->selectRows({3});
    key(Qt::Key_Up, Qt::ControlModifier);
    const auto before = files();
    for (const auto& f : failures) {
        SCOPED_TRACE(f.what);
        told.clear();
        if (!f.arrange()) {
            f.restore();
            // Run as another user, permissions must refuse: a skipped row would hide a fault.
            EXPECT_FALSE(qEnvironmentVariableIsSet("HUABEN_PERMISSIONS_BIND"));
            continue;
        }
        key(Qt::Key_S, Qt::ControlModifier);
        f.restore();
        EXPECT_EQ(files(), before);
        ASSERT_EQ(told.size(), 1u);
        EXPECT_EQ(told[0].icon, QMessageBox::Warning);
        EXPECT_TRUE(e->hasUnsaved());
        EXPECT_EQ(catalog(), QStringList({"p1.jpg", "p2.bmp", "p3.png"}));  // the reader's too
    }
    told.clear();
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(told.empty());
    EXPECT_FALSE(e->hasUnsaved());
    EXPECT_EQ(catalog(), QStringList({"p1.jpg", "p3.png", "p2.bmp"}));
    const auto after = files();
    EXPECT_TRUE(after.at("p1.txt").endsWith("short"));
    EXPECT_TRUE(after.at("p2.txt").endsWith(QByteArray(6000, 'x')));
#endif
}

// Copying many pictures can be cancelled, even part of the way through a large one: what was
// copied before is added, and the rest leaves no file behind.
TEST_F(EditorTest, ACancelledCopyLeavesNoPartialFile) {
    QTemporaryDir away;
    QStringList chosen;
    for (const char* name : {"big1.jpg", "big2.jpg", "big3.jpg"}) {
        QFile f(away.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(3 << 20, 'j'));
        chosen << f.fileName();
    }
    e->choosePictures = [&] { return chosen; };
    e->progressDelay = 0;
    e->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(e));
    bool clicked = false;
    // The cancel button, clicked as soon as the progress dialog lets events through.
    QTimer::singleShot(0, e, [&] {
        for (auto* p : e->findChildren<QProgressDialog*>())
            for (auto* b : p->findChildren<QPushButton*>())
                if (b->isVisible()) {
                    QTest::mouseClick(b, Qt::LeftButton);
                    clicked = true;
                }
    });
    QTest::keyClick(e->pageGrid(), Qt::Key_Insert);
    ASSERT_TRUE(clicked);
    EXPECT_EQ(fx.book().entryList({".*.part"}, QDir::Hidden | QDir::Files), QStringList());
    const QStringList inBook = fx.book().entryList({"big*"}, QDir::Files);
    EXPECT_LT(inBook.size(), 3);
    for (const QString& name : inBook)
        EXPECT_EQ(QFileInfo(fx.book().filePath(name)).size(), 3 << 20);
    EXPECT_EQ(grid().size(), 3 + inBook.size());
    ASSERT_FALSE(told.empty());
    EXPECT_TRUE(told.back().text.contains(QStringLiteral("已取消")));
}

// Page texts are edited in place and saved with the catalog: a plain text in the encoding it
// was read in, a page without text as a new RTF file named after its picture, and an RTF file
// holding what the editor does not keep only after the person agrees. The reader shows the
// saved text of the page on display at once.
TEST_F(EditorTest, PageTextsAreSavedAsTheyWereWrittenAndShownByTheReader) {
    const QByteArray gbk("\xBB\xAD\xB1\xBE");  // 画本
    fx.file("p1.txt", gbk);
    fx.file("p2.rtf", R"({\rtf1 old{\header head}\par})");
    fx.catalog("p1.jpg-p1.txt\r\np2.bmp-p2.rtf\r\np3.png-\r\n");
    e->reloadIfClean();
    clickRow(1);
    const auto typeOn = [this](int row, const char* text) {
        e->selectRows({row});
        QTest::keyClick(e->caption().textEdit(), Qt::Key_End, Qt::ControlModifier);
        // As a Chinese input method commits what was typed.
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf8(text));
        QApplication::sendEvent(e->caption().textEdit(), &commit);
    };
    typeOn(1, "书");
    typeOn(3, "春");
    e->caption().textEdit()->selectAll();
    e->caption().boldAction->trigger();
    typeOn(2, "新");
    EXPECT_EQ(e->book().page(3).textFile, QStringLiteral("p3.rtf"));

    answer = QMessageBox::Cancel;  // p2.rtf's header would be lost
    key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(told.size(), 2u);  // the question, then what was not saved
    EXPECT_TRUE(told[0].text.contains(QStringLiteral("header")));
    const auto bytes = [this](const char* name) {
        QFile f(fx.book().filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    EXPECT_EQ(bytes("p2.rtf"), R"({\rtf1 old{\header head}\par})");
    EXPECT_EQ(bytes("DocItem.txt"), "p1.jpg-p1.txt\r\np2.bmp-p2.rtf\r\np3.png-\r\n");
    EXPECT_TRUE(e->hasUnsaved());

    answer = QMessageBox::Save;
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(e->hasUnsaved());
    EXPECT_EQ(bytes("p1.txt"), gbk + "\xCA\xE9");  // 书, still GBK
    EXPECT_EQ(bytes("DocItem.txt"), "p1.jpg-p1.txt\r\np2.bmp-p2.rtf\r\np3.png-p3.rtf\r\n");
    QTextDocument p3, p2;
    ASSERT_TRUE(rtf::importRtf(bytes("p3.rtf"), p3));
    EXPECT_EQ(p3.toPlainText(), QStringLiteral("春"));
    EXPECT_GE(p3.begin().begin().fragment().charFormat().fontWeight(), QFont::Bold);
    ASSERT_TRUE(rtf::importRtf(bytes("p2.rtf"), p2));
    EXPECT_EQ(p2.toPlainText(), QStringLiteral("old新"));
    w->waitForPage();
    EXPECT_EQ(w->RTBoxShow[0]->plainText(), QStringLiteral("画本书"));  // page 1 on display
}

// Each formatting command, reached as a person reaches it, changes the selected text.
TEST_F(EditorTest, FormattingCommandsChangeTheSelectedText) {
    QTextEdit* text = e->caption().textEdit();
    editor::CaptionEditor& c = e->caption();
    const auto click = [&](QAction* a) {
        for (auto* b : c.findChildren<QToolButton*>())
            if (b->defaultAction() == a) QTest::mouseClick(b, Qt::LeftButton);
    };
    const auto pick = [](QComboBox* box, const QString& item) {
        box->setCurrentText(item);
        emit box->textActivated(item);
    };
    c.chooseColor = [](const QColor&) { return QColor(200, 0, 0); };
    const struct {
        const char* name;
        std::function<void()> act;
        std::function<bool(const QTextCharFormat&, const QTextBlockFormat&)> done;
    } cases[] = {
        {"Ctrl+B", [&] { QTest::keyClick(text, Qt::Key_B, Qt::ControlModifier); },
         [](auto& f, auto&) { return f.fontWeight() >= QFont::Bold; }},
        {"Ctrl+I", [&] { QTest::keyClick(text, Qt::Key_I, Qt::ControlModifier); },
         [](auto& f, auto&) { return f.fontItalic(); }},
        {"Ctrl+U", [&] { QTest::keyClick(text, Qt::Key_U, Qt::ControlModifier); },
         [](auto& f, auto&) { return f.fontUnderline(); }},
        {"colour", [&] { click(c.colorAction); },
         [](auto& f, auto&) { return f.foreground().color() == QColor(200, 0, 0); }},
        {"centre", [&] { click(c.alignCenterAction); },
         [](auto&, auto& b) { return bool(b.alignment() & Qt::AlignHCenter); }},
        {"right", [&] { click(c.alignRightAction); },
         [](auto&, auto& b) { return bool(b.alignment() & Qt::AlignRight); }},
        {"size", [&] { pick(c.sizeBox, QStringLiteral("24")); },
         [](auto& f, auto&) { return f.fontPointSize() == 24; }},
        {"font", [&] { pick(c.fontBox, QStringLiteral("Noto Sans CJK SC")); },
         [](auto& f, auto&) {
             return f.fontFamilies().toStringList().value(0) == QStringLiteral("Noto Sans CJK SC");
         }},
    };
    e->selectRows({1});
    for (const auto& k : cases) {
        text->selectAll();
        e->activateWindow();
        text->setFocus();
        k.act();
        QTextCursor at(text->document());
        at.setPosition(2);
        EXPECT_TRUE(k.done(at.charFormat(), at.blockFormat())) << k.name;
    }
    EXPECT_TRUE(e->hasUnsaved());
}

// Pages dragged within the grid and dropped on another page move before it, as one step.
TEST_F(EditorTest, PagesDroppedOnAPageMoveBeforeIt) {
    QListView* g = e->pageGrid();
    e->selectRows({3});
    std::unique_ptr<QMimeData> data(g->model()->mimeData(g->selectionModel()->selectedIndexes()));
    const QPoint onFirst = g->visualRect(g->model()->index(0, 0)).center();
    QDragEnterEvent enter(onFirst, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(g->viewport(), &enter);
    QDragMoveEvent move(onFirst, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(g->viewport(), &move);
    QDropEvent drop(onFirst, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(g->viewport(), &drop);
    EXPECT_EQ(grid(), QStringList({"1. p3", "2. p1", "3. p2"}));
    EXPECT_EQ(e->selectedRows(), std::vector<int>{1});
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid(), QStringList({"1. p1", "2. p2", "3. p3"}));
}

// Every page is a named item for screen readers, and its thumbnail is the picture, or a marked
// placeholder for a picture that cannot be shown.
TEST_F(EditorTest, PagesAreNamedAndThumbnailsShowThePicture) {
    fx.catalog("p1.jpg-p1.txt\r\ngone.jpg-\r\n");
    e->reloadIfClean();
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(e->pageGrid());
    ASSERT_NE(list, nullptr);
    QStringList names;
    for (int i = 0; i < list->childCount(); ++i) names << list->child(i)->text(QAccessible::Name);
    EXPECT_EQ(names, QStringList({"1. p1", "2. gone"}));
    for (int row : {0, 1}) (void)e->pageGrid()->model()->index(row, 0).data(Qt::DecorationRole);
    e->thumbnails().waitForIdle();
    EXPECT_TRUE(e->thumbnails().failed("gone.jpg"));
    EXPECT_FALSE(e->thumbnails().failed("p1.jpg"));
    const QImage thumb = e->thumbnails().thumbnail("p1.jpg").toImage();
    const QRgb centre = thumb.pixel(thumb.width() / 2, thumb.height() / 2);  // a JPEG: near
    EXPECT_NEAR(qGreen(centre), 128, 4);
    EXPECT_LT(qRed(centre) + qBlue(centre), 8);
}

}  // namespace
