#include "builder/book_assembly.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

using builder::SelectedPage;

void write(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(testfiles::write(path, bytes));
}

// A source folder and a book folder, each with a few files of known content.
class Assembly : public ::testing::Test {
  protected:
    QTemporaryDir sourceDir, bookDir;
    QDir source{sourceDir.path()}, book{bookDir.path()};
    QStringList asked;

    void SetUp() override {
        for (const char* name : {"a.jpg", "b.jpg", "a.rtf", "b.txt"})
            write(source.filePath(name), QByteArray("new ") + name);
    }
    builder::AssemblyReport run(const std::vector<SelectedPage>& pages, bool replace,
                                const QDir* from = nullptr) {
        return builder::assembleBook(from ? *from : source, book, pages,
                                     [this, replace](const QString& name) {
                                         asked << name;
                                         return replace;
                                     });
    }
    QByteArray inBook(const char* name) const { return testfiles::read(book.filePath(name)); }
    QByteArray catalog() const { return inBook("DocItem.txt"); }
};

// The rows chosen, what was already in the book, the answer to every question: the catalog
// written, the questions asked and what each file in the book holds afterwards. A declined
// replacement and a text joining its image are the builder's OK test.
struct AssemblyCase {
    const char* what;
    std::vector<SelectedPage> pages;
    std::vector<std::pair<const char*, const char*>> alreadyInBook;
    bool replace;
    QByteArray wantCatalog;
    QStringList wantAsked;
    std::vector<std::pair<const char*, const char*>> wantInBook;
};

TEST_F(Assembly, CopiesAskingBeforeEveryReplacementAndWritesOneLinePerRow) {
    const std::vector<AssemblyCase> cases = {
        {"nothing chosen", {}, {}, true, "", {}, {{"a.jpg", "<missing>"}}},
        {"accepted replacement",
         {{"a.jpg", "b.txt"}},
         {{"a.jpg", "old"}, {"b.txt", "old text"}},
         true,
         "a.jpg-b.txt\r\n",
         {"a.jpg", "b.txt"},
         {{"a.jpg", "new a.jpg"}, {"b.txt", "new b.txt"}}},
        {"the same image twice: its second copy asks",
         {{"a.jpg", ""}, {"a.jpg", ""}},
         {},
         false,
         "a.jpg-\r\na.jpg-\r\n",
         {"a.jpg"},
         {{"a.jpg", "new a.jpg"}}},
    };
    for (const AssemblyCase& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir fresh;
        book.setPath(fresh.path());
        asked.clear();
        for (const auto& [name, bytes] : c.alreadyInBook) write(book.filePath(name), bytes);
        const builder::AssemblyReport report = run(c.pages, c.replace);
        EXPECT_TRUE(report.ok()) << report.copyFailures.join(" ").toStdString();
        EXPECT_EQ(catalog(), c.wantCatalog);
        EXPECT_EQ(asked, c.wantAsked);
        for (const auto& [name, bytes] : c.wantInBook) EXPECT_EQ(inBook(name), bytes) << name;
        // Nothing half-done is left beside the files.
        EXPECT_TRUE(book.entryList({"*.part"}, QDir::Hidden | QDir::Files).isEmpty());
    }
}

TEST_F(Assembly, SourceInTheBookAsksNothingAndChangesNothing) {
    write(book.filePath("a.jpg"), "mine");
    write(book.filePath("a.rtf"), "my text");
    const auto report = run({{"a.jpg", "a.rtf"}}, true, &book);
    EXPECT_TRUE(report.ok());
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(inBook("a.jpg"), "mine");
    EXPECT_EQ(inBook("a.rtf"), "my text");
    EXPECT_EQ(catalog(), "a.jpg-a.rtf\r\n");
}

TEST_F(Assembly, AFailedCopyIsReportedAndItsLineStillWritten) {
    QFile::remove(source.filePath("b.jpg"));  // chosen, then taken away before OK
    const auto report = run({{"a.jpg", ""}, {"b.jpg", "b.txt"}}, true);
    ASSERT_EQ(report.copyFailures.size(), 1);
    EXPECT_TRUE(report.copyFailures[0].startsWith("b.jpg"));
    EXPECT_EQ(catalog(), "a.jpg-\r\nb.jpg-b.txt\r\n");
    EXPECT_EQ(inBook("b.txt"), "new b.txt");
    const QString message = builder::completionMessage(report);
    EXPECT_TRUE(message.contains("b.jpg"));
    EXPECT_FALSE(message.contains(QStringLiteral("可以使用")));
}

// However the catalog fails to be written, the old one stays byte for byte and the failure is
// named instead of the completion text.
TEST_F(Assembly, ACatalogThatCannotBeWrittenLeavesTheOldOneAndSaysSo) {
#ifdef _WIN32
    GTEST_SKIP() << "a file size limit and symbolic links are POSIX's";
#else
    const QByteArray old = "old.jpg-old.txt\r\n";
    struct Failure {
        const char* what;
        std::function<void()> arrange, restore;
    };
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const std::vector<Failure> failures = {
        // A full disk: the new catalog cannot be written out in full.
        {"write fails part way",
         [&] {
             std::signal(SIGXFSZ, SIG_IGN);
             rlimit small = saved;
             small.rlim_cur = 64;
             setrlimit(RLIMIT_FSIZE, &small);
         },
         [&] { setrlimit(RLIMIT_FSIZE, &saved); }},
        // A catalog that is a link could lead anywhere; it is not written through.
        {"catalog is a symbolic link",
         [&] {
             write(book.filePath("elsewhere.txt"), old);
             QFile::remove(book.filePath("DocItem.txt"));
             QFile::link(book.filePath("elsewhere.txt"), book.filePath("DocItem.txt"));
         },
         [] {}},
    };
    std::vector<SelectedPage> many;
    for (int i = 0; i < 20; ++i) many.push_back({"a.jpg", "a.rtf"});
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.what);
        write(book.filePath("DocItem.txt"), old);
        f.arrange();
        const auto report = run(many, true);
        f.restore();
        EXPECT_FALSE(report.catalogError.isEmpty());
        EXPECT_EQ(catalog(), old);
        EXPECT_TRUE(builder::completionMessage(report).contains("DocItem.txt"));
        EXPECT_TRUE(book.entryList({"*DocItem*"}, QDir::Hidden | QDir::Files)
                        .filter(QRegularExpression("^DocItem\\.txt\\..+"))
                        .isEmpty())
            << "no temporary catalog left behind";
    }
#endif
}

TEST_F(Assembly, AMissingBookDirectoryIsReportedNotCreated) {
    book.setPath(bookDir.filePath("gone"));
    const auto report = run({{"a.jpg", ""}}, true);
    EXPECT_FALSE(report.catalogError.isEmpty());
    EXPECT_EQ(report.copyFailures.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(bookDir.filePath("gone")));
}

TEST(AssemblyMessages, NamesACatalogLineCannotHoldAreRefused) {
    for (const char* bad : {"a-b.jpg", "x\r\ny.jpg", "-", "a\nb"})
        EXPECT_FALSE(builder::unrepresentableReason(QString::fromLatin1(bad)).isEmpty()) << bad;
    for (const char* good : {"a.jpg", "春 天.rtf", "a..b.jpg", "<h1>x</h1>.jpg"})
        EXPECT_TRUE(builder::unrepresentableReason(QString::fromUtf8(good)).isEmpty()) << good;
}

}  // namespace
