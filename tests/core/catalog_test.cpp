#include "core/catalog.h"
#include "core/catalog_loader.h"
#include "platform/list_view.h"
#include "platform/twips.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

using core::CatalogRow;

TEST(Catalog, SplitsALineIntoColumns) {
    struct Case {
        const char* line;
        CatalogRow row;
    };
    for (const Case& c : {
             Case{"cat.jpg-cat.rtf", {"1", "cat", "cat.rtf", "cat.jpg"}},
             Case{"cat.jpg-", {"1", "cat", "", "cat.jpg"}},
             Case{"cat.jpg", {"1", "cat", "", "cat.jpg"}},
             Case{"my.cat.jpg-a.rtf", {"1", "my", "a.rtf", "my.cat.jpg"}},
             // A hyphen in a name breaks the row; pieces after the text are dropped.
             Case{"big-cat.jpg-a.rtf", {"1", "big", "cat.jpg", "big"}},
             Case{"-a.rtf", {"1", "", "a.rtf", ""}},
             Case{" a.jpg - b.rtf ", {"1", " a", " b.rtf ", " a.jpg "}},
             Case{".hidden.jpg-x", {"1", "", "x", ".hidden.jpg"}},
         })
        EXPECT_EQ(core::parseCatalogLine(QString::fromUtf8(c.line), 1), c.row) << c.line;
}

TEST(Catalog, LinesStopAtTheEndOrTheFirstEmptyLine) {
    struct Case {
        const char* text;
        QStringList lines;
    };
    for (const Case& c : {
             Case{"", {}},
             Case{"a.jpg-\r\n\r\nb.jpg-\r\n", {"a.jpg-"}},
             Case{"a.jpg-\r\nb.jpg-\r\n", {"a.jpg-", "b.jpg-"}},
             Case{"a.jpg-\r\nb.jpg-", {"a.jpg-", "b.jpg-"}},  // no final CR LF
             Case{"a.jpg-\nb.jpg-\n", {"a.jpg-", "b.jpg-"}},
             Case{"a.jpg-\rb.jpg-\r", {"a.jpg-", "b.jpg-"}},
             Case{"\r\na.jpg-\r\n", {}},  // an empty first line: empty catalog
             Case{" \r\na.jpg-", {" ", "a.jpg-"}},
         })
        EXPECT_EQ(core::catalogLines(QString::fromUtf8(c.text)), c.lines)
            << casenames::visible(c.text);
}

TEST(Catalog, CutsOverlongLinesBeforeDecoding) {
    // A million NULs, then a line of 5000 two-byte characters cut inside one, then a real page.
    QByteArray bytes(1 << 20, '\0');
    bytes += "\r\na" + QStringLiteral("é").repeated(5000).toUtf8() + "\r\np.jpg-p.txt\r\n";
    const auto rows = core::parseCatalog(bytes);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].imageFile.size(), core::kMaxCatalogLineBytes);
    // Cut before the character the limit falls in, so the catalog still reads as UTF-8.
    EXPECT_EQ(rows[1].imageFile,
              "a" + QStringLiteral("é").repeated(core::kMaxCatalogLineBytes / 2 - 1));
    EXPECT_EQ(rows[2], (CatalogRow{"3", "p", "p.txt", "p.jpg"}));
}

// The writer uses code page 936 where the reader gives the same names back, otherwise UTF-8.
TEST(Catalog, WritesGbkWhereItReadsBackElseUtf8) {
    // Two GBK characters whose bytes C3 A9 are also the UTF-8 for "é": read back as UTF-8, they
    // would change, so such a catalog is written in UTF-8.
    const QString utf8Lookalike = QStringDecoder("GBK").decode(QByteArray("\xC3\xA9")) + ".jpg";
    struct Case {
        QString image, text;
        bool gbk;
    };
    for (const Case& c : {Case{QStringLiteral("春游.jpg"), QStringLiteral("春游.rtf"), true},
                          Case{QStringLiteral("café.jpg"), QStringLiteral("说明.txt"), true},
                          Case{QStringLiteral("😀.png"), QStringLiteral("春.rtf"), false},
                          Case{utf8Lookalike, QString(), false}}) {
        SCOPED_TRACE(c.image.toStdString());
        const std::vector<core::CatalogRow> rows = {
            core::parseCatalogLine(QStringLiteral("first.bmp-x.txt"), 1),
            core::parseCatalogLine(c.image + "-" + c.text, 2)};
        const QByteArray bytes = core::formatCatalog(rows);
        const QByteArray expected = "first.bmp-x.txt\r\n" +
                                    (c.gbk ? QStringEncoder("GBK").encode(c.image + "-" + c.text)
                                           : (c.image + "-" + c.text).toUtf8()) +
                                    "\r\n";
        EXPECT_EQ(bytes, expected);
        EXPECT_EQ(core::parseCatalog(bytes), rows);
    }
}

// The page number and the title fill the list but for its last tenth; the file names stay out
// of sight; no width, however wild, gives a negative or runaway column.
TEST(Catalog, ColumnsFillTheListWidth) {
    for (float width : {2265.0f, 9.0f, -50.0f, 1e9f}) {
        SCOPED_TRACE(width);
        const std::vector<float> w = core::listColumnWidths(width, {1.5, 8, 0.1, 0.1});
        ASSERT_EQ(w.size(), 4u);
        const float seen = std::clamp(width, 0.0f, 327679.0f);
        EXPECT_LE(w[0] + w[1] + w[2] + w[3], seen);
        EXPECT_GE(w[0] + w[1], 0.95f * seen - 10);
        EXPECT_NEAR(w[1] / 8, w[0] / 1.5f, 0.01);
        for (float c : w) EXPECT_GE(c, 0);
        EXPECT_LE(w[3], seen / 50);
    }
}

TEST(Catalog, BareNames) {
    for (const char* ok : {"a.jpg", "春.rtf", "a b.txt", "C:x.jpg", "a..b.jpg", "...jpg", "x.."})
        EXPECT_TRUE(core::isBareFileName(QString::fromUtf8(ok))) << ok;
    for (const char* bad : {"", "../a.jpg", "..", ".", "sub/a.jpg", "sub\\a.jpg", "/etc/passwd"})
        EXPECT_FALSE(core::isBareFileName(QString::fromUtf8(bad))) << bad;
}

class LoadCatalogTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QWidget parent;
    platform::ListView list{&parent};

    void SetUp() override {
        list.setWidth(2265);
        core::setUpCatalogColumns(list);
    }
    void write(const QByteArray& bytes) {
        QFile f(dir.filePath("DocItem.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

// A missing catalog is created empty; where it cannot be, the list stays empty all the same.
TEST_F(LoadCatalogTest, MissingCatalogIsCreatedEmptyWhereItCanBe) {
    EXPECT_EQ(core::LoadCatalog(list, QDir(dir.path())), 0);
    EXPECT_EQ(QFileInfo(dir.filePath("DocItem.txt")).size(), 0);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("DocItem.txt")));
    EXPECT_EQ(core::LoadCatalog(list, QDir(dir.filePath("no/such/book"))), 0);
    EXPECT_EQ(list.rowCount(), 0);
}

struct ShownCase {
    const char* name;
    QByteArray bytes;  // DocItem.txt
    int rows;
    int row;  // a row to look at on screen (1-based), 0 for none
    QStringList cells;
};

void PrintTo(const ShownCase& c, std::ostream* os) {
    *os << c.name;
}

// The list on screen, as a reader sees it.
class CatalogList : public LoadCatalogTest, public ::testing::WithParamInterface<ShownCase> {
  protected:
    void SetUp() override {
        LoadCatalogTest::SetUp();
        parent.resize(400, 600);
        list.place(0, 0, 2265, 8000);
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }
};

// What the list shows and a screen reader reads, not only what the catalog holds.
TEST_P(CatalogList, ShowsTheCatalogsCells) {
    const ShownCase& c = GetParam();
    write(c.bytes);
    EXPECT_EQ(core::LoadCatalog(list, QDir(dir.path())), c.rows);
    QApplication::processEvents();  // the view lays its rows out once, on the event loop
    QTreeView* tree = list.tree();
    // Filling the catalog resets the view's model; the header keeps the columns' widths.
    for (int col = 0; col < 4; ++col)
        EXPECT_EQ(tree->header()->sectionSize(col),
                  std::max(0, platform::toPixels(list.columnWidth(col))))
            << "column " << col;
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(tree);
    ASSERT_TRUE(table && table->tableInterface());
    QAccessibleTableInterface* cells = table->tableInterface();
    const QStringList headers = {"N", "    目  录", "文字文件名.扩展名", "图像文件名.扩展名"};
    for (int col = 0; col < 4; ++col) EXPECT_EQ(cells->columnDescription(col), headers[col]);
    EXPECT_EQ(cells->rowCount(), c.rows);
    if (c.row == 0) return;
    const QModelIndex index = tree->model()->index(c.row - 1, 1);
    // Scrolled as far as a reader can drag: the rows looked at are the last.
    tree->verticalScrollBar()->setValue(tree->verticalScrollBar()->maximum());
    QApplication::processEvents();
    const QRect shown = tree->visualRect(index) & tree->viewport()->rect();
    ASSERT_FALSE(shown.isEmpty()) << "row " << c.row << " is not on screen";
    EXPECT_EQ(tree->indexAt(shown.center()), index);
    for (int col = 0; col < 4; ++col) {
        QAccessibleInterface* cell = cells->cellAt(c.row - 1, col);
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->text(QAccessible::Name), c.cells[col]) << "column " << col;
        EXPECT_EQ(list.text(c.row, col), c.cells[col]);
    }
}

QByteArray numberedLines(int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i) bytes += "p" + QByteArray::number(i) + ".jpg-\r\n";
    return bytes;
}

// GBK is read as such; a UTF-8 catalog may open with a byte-order mark. Page numbers are 16-bit:
// the lines beyond the 32767th are not pages.
INSTANTIATE_TEST_SUITE_P(
    Catalogs, CatalogList,
    ::testing::Values(
        ShownCase{"Empty", "", 0, 0, {}},
        ShownCase{"Ascii", "a.jpg-a.rtf\r\nb.bmp-\r\n", 2, 2, {"2", "b", "", "b.bmp"}},
        ShownCase{
            "Gbk",
            QStringEncoder("GBK").encode(QStringLiteral("春游.jpg-春游.rtf\r\n西湖.gif-\r\n")),
            2,
            1,
            {"1", "春游", "春游.rtf", "春游.jpg"}},
        ShownCase{"Utf8Bom",
                  "\xEF\xBB\xBF" + QStringLiteral("春游.jpg-春游.rtf\r\n").toUtf8(),
                  1,
                  1,
                  {"1", "春游", "春游.rtf", "春游.jpg"}},
        ShownCase{"BeyondTheLimit",
                  numberedLines(40000),
                  32767,
                  32767,
                  {"32767", "p32766", "", "p32766.jpg"}}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<CatalogRow> numberedRows(int count) {
    std::vector<CatalogRow> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back(core::parseCatalogLine(QStringLiteral("p%1.jpg-").arg(i), i));
    return rows;
}

// The builder's reload appends to an emptied list; the list never holds more than 32767 pages.
TEST(CatalogModel, AppendsAfterItsRowsUpToTheLimitInOneChange) {
    struct Case {
        int there, added, kept;
    };
    for (const Case c :
         {Case{0, 3, 3}, Case{2, 3, 3}, Case{32760, 10, 7}, Case{32767, 1, 0}, Case{0, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << c.there << " + " << c.added);
        core::CatalogModel model;
        model.addColumn("N");
        model.book().append(numberedRows(c.there));
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
        EXPECT_EQ(model.book().append(numberedRows(c.added)), c.kept);
        EXPECT_EQ(model.rowCount(), c.there + c.kept);
        EXPECT_EQ(resets.count(), c.there == 0 && c.kept > 0 ? 1 : 0);
        EXPECT_EQ(inserts.count(), c.there > 0 && c.kept > 0 ? 1 : 0);
        if (c.kept > 0) {
            EXPECT_EQ(model.cell(c.there + c.kept - 1, core::kImageFileColumn),
                      QStringLiteral("p%1.jpg").arg(c.kept));
        }
        EXPECT_EQ(model.cell(model.rowCount(), 0), QString());
        EXPECT_EQ(model.cell(0, core::kCatalogColumnCount), QString());
    }
}

}  // namespace
