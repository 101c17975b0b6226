#include "platform/book_file.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A book folder beside a folder that is not the book.
struct Folders {
    QTemporaryDir book;
    QTemporaryDir outside;
    void write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) const {
        ASSERT_TRUE(testfiles::write(dir.filePath(QString::fromLatin1(name)), bytes));
    }
    void link(const char* name, const QString& target) const {
        ASSERT_EQ(
            ::symlink(QFile::encodeName(target).constData(),
                      QFile::encodeName(book.filePath(QString::fromLatin1(name))).constData()),
            0);
    }
};

struct ReadCase {
    const char* name;
    std::function<void(Folders&)> make;
    const char* file;  // read from the book under this name
    qint64 cap;
    QByteArray bytes;  // what is read, when `reason` is empty
    const char* reason;
    bool missing;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadBookFile : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadBookFile, ReadsOnlyRegularFilesInsideTheBookUpToTheCap) {
    const ReadCase& c = GetParam();
    Folders f;
    f.write(f.book, "a.txt", "book text");
    f.write(f.outside, "secret.txt", "outside text");
    c.make(f);
    QString file = QString::fromUtf8(c.file);
    if (file == "@outside")  // a relative path from the book to the other folder
        file = QDir(f.book.path()).relativeFilePath(f.outside.filePath("secret.txt"));
    const platform::BookFileRead r = platform::readBookFile(QDir(f.book.path()), file, c.cap);
    EXPECT_EQ(r.error, QString::fromUtf8(c.reason));
    EXPECT_EQ(r.missing, c.missing);
    EXPECT_EQ(r.bytes, r.ok() ? c.bytes : QByteArray());
}

const auto nothing = [](Folders&) {};

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadBookFile,
    ::testing::Values(
        ReadCase{"Regular", nothing, "a.txt", 100, "book text", "", false},
        ReadCase{"AtTheCap", nothing, "a.txt", 9, "book text", "", false},
        ReadCase{"OverTheCap", nothing, "a.txt", 8, {}, "文件过大（超过 0 MB）", false},
        ReadCase{"Missing", nothing, "b.txt", 100, {}, "文件不存在", true},
        ReadCase{"Fifo",
                 [](Folders& f) {
                     ASSERT_EQ(::mkfifo(QFile::encodeName(f.book.filePath("p.txt")), 0600), 0);
                 },
                 "p.txt",
                 100,
                 {},
                 "不是普通文件",
                 false},
        ReadCase{"Directory",
                 [](Folders& f) { QDir(f.book.path()).mkdir("d.jpg"); },
                 "d.jpg",
                 100,
                 {},
                 "不是普通文件",
                 false},
        ReadCase{"LinkInsideTheBook", [](Folders& f) { f.link("l.txt", "a.txt"); }, "l.txt", 100,
                 "book text", "", false},
        ReadCase{"LinkIntoASubfolder",
                 [](Folders& f) {
                     QDir(f.book.path()).mkdir("sub");
                     f.write(f.book, "sub/s.txt", "sub text");
                     f.link("l.txt", "sub/s.txt");
                 },
                 "l.txt", 100, "sub text", "", false},
        ReadCase{"LinkOutside",
                 [](Folders& f) { f.link("l.txt", f.outside.filePath("secret.txt")); },
                 "l.txt",
                 100,
                 {},
                 "链接指向本书目录以外",
                 false},
        ReadCase{"DanglingLink",
                 [](Folders& f) { f.link("l.txt", "nowhere.txt"); },
                 "l.txt",
                 100,
                 {},
                 "文件不存在",
                 true},
        ReadCase{"PathOutside", nothing, "@outside", 100, {}, "文件不在本书目录内", false},
        ReadCase{"TheBookItself", nothing, ".", 100, {}, "不是普通文件", false},
        ReadCase{"SparseFileRefusedUnread",
                 [](Folders& f) {
                     QFile big(f.book.filePath("big.txt"));
                     ASSERT_TRUE(big.open(QIODevice::WriteOnly));
                     ASSERT_TRUE(big.resize(qint64(2) << 30));
                 },
                 "big.txt",
                 32 << 20,
                 {},
                 "文件过大（超过 32 MB）",
                 false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
