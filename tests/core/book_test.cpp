#include "core/book.h"
#include "book_fixture.h"
#include "core/catalog_model.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPersistentModelIndex>

#include <functional>

namespace {

using core::Book;
using core::BookEdit;

// A book of six pages p1..p6, shown by the reader's catalog model, with the edits it announces.
struct SixPages {
    BookFixture fx;
    core::CatalogModel model;
    Book& book = model.book();
    std::vector<BookEdit> heard;
    SixPages() {
        fx.catalog(
            "p1.jpg-p1.txt\r\np2.jpg-\r\np3.gif-p3.rtf\r\np4.jpg-\r\np5.jpg-\r\np6.jpg-\r\n");
        for (const char* header : {"N", "title", "text", "image"}) model.addColumn(header);
        book.setDir(fx.book());
        EXPECT_TRUE(book.load());
        QObject::connect(&book, &Book::changed, [this](const BookEdit& e) { heard.push_back(e); });
    }
    QStringList images() const {
        QStringList names;
        for (const core::CatalogRow& row : book.pages()) names << row.imageFile;
        return names;
    }
};

struct EditCase {
    const char* name;
    std::function<bool(Book&)> edit;
    const char* want;  // the images' bases in order afterwards; "" when the edit is refused
};

const EditCase kEdits[] = {
    {"insert_first",
     [](Book& b) {
         return b.insert(1, {{"n.jpg", "n.rtf"}});
     },
     "n 1 2 3 4 5 6"},
    {"insert_two_inside",
     [](Book& b) {
         return b.insert(3, {{"n.jpg", ""}, {"m.bmp", ""}});
     },
     "1 2 n m 3 4 5 6"},
    {"insert_last",
     [](Book& b) {
         return b.insert(7, {{"n.jpg", ""}});
     },
     "1 2 3 4 5 6 n"},
    {"remove_first", [](Book& b) { return b.remove(1, 1); }, "2 3 4 5 6"},
    {"remove_block", [](Book& b) { return b.remove(2, 3); }, "1 5 6"},
    {"remove_all", [](Book& b) { return b.remove(1, 6); }, "-"},
    {"move_up", [](Book& b) { return b.move(4, 2, 2); }, "1 4 5 2 3 6"},
    {"move_down", [](Book& b) { return b.move(2, 2, 5); }, "1 4 2 3 5 6"},
    {"move_to_the_end", [](Book& b) { return b.move(1, 1, 7); }, "2 3 4 5 6 1"},
    {"move_to_the_start", [](Book& b) { return b.move(6, 1, 1); }, "6 1 2 3 4 5"},
    {"swap_neighbours", [](Book& b) { return b.move(3, 1, 5); }, "1 2 4 3 5 6"},
    {"text_set", [](Book& b) { return b.setTextFile(2, QStringLiteral("p2.txt")); }, "1 2 3 4 5 6"},
    // Refused: nothing changes and nothing is announced.
    {"insert_past_the_end",
     [](Book& b) {
         return b.insert(8, {{"n.jpg", ""}});
     },
     ""},
    {"insert_nothing", [](Book& b) { return b.insert(1, {}); }, ""},
    {"insert_without_picture",
     [](Book& b) {
         return b.insert(1, {{"", "n.rtf"}});
     },
     ""},
    {"insert_hyphen_name",
     [](Book& b) {
         return b.insert(1, {{"a-b.jpg", ""}});
     },
     ""},
    {"insert_hyphen_text",
     [](Book& b) {
         return b.insert(1, {{"a.jpg", "a-b.rtf"}});
     },
     ""},
    {"insert_beyond_the_limit",
     [](Book& b) {
         return b.insert(1, std::vector<core::PageFiles>(32762, {"n.jpg", ""}));
     },
     ""},
    {"remove_past_the_end", [](Book& b) { return b.remove(5, 3); }, ""},
    {"remove_row_0", [](Book& b) { return b.remove(0, 1); }, ""},
    {"move_onto_itself", [](Book& b) { return b.move(2, 2, 3); }, ""},
    {"move_just_after_itself", [](Book& b) { return b.move(2, 2, 4); }, ""},
    {"move_past_the_end", [](Book& b) { return b.move(1, 1, 8); }, ""},
    {"text_with_newline", [](Book& b) { return b.setTextFile(1, QStringLiteral("a\n.txt")); }, ""},
};

class BookEdits : public ::testing::TestWithParam<EditCase> {};
using casenames::PrintTo;

// Every edit leaves pages numbered 1..n with their titles, announces itself once, and
// rowAfter follows each page that stays to where it now stands. A view of the book follows it
// too: the rows a view holds on to move with their pages, and every row whose number or text
// changed is announced as changed.
TEST_P(BookEdits, KeepNumbersAndFollowEveryPage) {
    const EditCase& c = GetParam();
    SixPages s;
    const std::vector<core::CatalogRow> before = s.book.pages();
    std::vector<QPersistentModelIndex> held;
    for (int row = 0; row < s.model.rowCount(); ++row) held.emplace_back(s.model.index(row, 0));
    std::vector<bool> announced(32768, false);
    QObject::connect(&s.model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         for (int row = from.row(); row <= to.row(); ++row)
                             announced[size_t(row)] = true;
                     });
    const bool done = c.edit(s.book);
    ASSERT_EQ(done, *c.want != '\0');
    if (!done) {
        EXPECT_EQ(s.book.pages(), before);
        EXPECT_TRUE(s.heard.empty());
        return;
    }
    QStringList bases;
    for (int row = 1; row <= s.book.count(); ++row) {
        const core::CatalogRow& page = s.book.page(row);
        EXPECT_EQ(page.pageNo, QString::number(row));
        EXPECT_EQ(page.title, page.imageFile.section(QLatin1Char('.'), 0, 0));
        bases << page.title.mid(page.title.startsWith(QLatin1Char('p')) ? 1 : 0);
    }
    EXPECT_EQ(s.book.count() ? bases.join(QLatin1Char(' ')) : QStringLiteral("-"),
              QString::fromLatin1(c.want));
    ASSERT_EQ(s.heard.size(), 1u);
    int followed = 0;
    for (int row = 1; row <= int(before.size()); ++row) {
        const int now = core::rowAfter(row, s.heard[0]);
        if (now == 0) continue;
        ++followed;
        EXPECT_EQ(s.book.page(now).imageFile, before[size_t(row - 1)].imageFile) << row;
        EXPECT_EQ(held[size_t(row - 1)].row(), now - 1) << row;
        EXPECT_EQ(s.model.cell(now - 1, core::kImageFileColumn), before[size_t(row - 1)].imageFile);
        const bool renumbered = s.book.page(now).pageNo != before[size_t(row - 1)].pageNo;
        const bool retexted = s.heard[0].kind == BookEdit::Kind::TextSet && now == s.heard[0].first;
        if (renumbered || retexted) {
            EXPECT_TRUE(announced[size_t(now - 1)]) << row;
        }
    }
    // Only removed pages are lost.
    EXPECT_EQ(followed, int(before.size()) -
                            (s.heard[0].kind == BookEdit::Kind::Removed ? s.heard[0].count : 0));
}

INSTANTIATE_TEST_SUITE_P(Book, BookEdits, ::testing::ValuesIn(kEdits), casenames::byName);

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

TEST(Book, SavedReorderReadsBackAndNamesStayGbk) {
    SixPages s;
    ASSERT_TRUE(s.book.insert(2, {{QStringLiteral("画本.jpg"), QStringLiteral("画本.rtf")}}));
    ASSERT_TRUE(s.book.move(1, 1, 8));
    ASSERT_EQ(s.book.save(), QString());
    const QByteArray bytes = read(s.fx.book().filePath("DocItem.txt"));
    EXPECT_TRUE(bytes.startsWith("\xBB\xAD\xB1\xBE.jpg-\xBB\xAD\xB1\xBE.rtf\r\np2.jpg-\r\n"));
    Book again(s.fx.book());
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.pages(), s.book.pages());
    EXPECT_EQ(s.heard.back().kind, BookEdit::Kind::Moved);
}

// A catalog that cannot be read or written leaves the pages, and the file on disk, as they were.
TEST(Book, RefusedCatalogChangesNeitherPagesNorFile) {
    SixPages s;
    const QString catalog = s.fx.book().filePath("DocItem.txt");
    const QByteArray old = read(catalog);
    ASSERT_TRUE(s.book.remove(1, 1));
    // Where DocItem.txt is a folder, it can be neither read nor replaced.
    QFile::rename(catalog, catalog + ".old");
    ASSERT_TRUE(QDir(s.fx.book()).mkdir("DocItem.txt"));
    QString problem;
    EXPECT_FALSE(s.book.load(&problem));
    EXPECT_TRUE(problem.contains(QStringLiteral("DocItem.txt"))) << problem.toStdString();
    EXPECT_EQ(s.book.count(), 5);
    EXPECT_NE(s.book.save(), QString());
    EXPECT_TRUE(QFileInfo(catalog).isDir());
    EXPECT_EQ(read(catalog + ".old"), old);
}

}  // namespace
