#include "platform/book_file.h"

#include <gtest/gtest.h>

#include "support/book_folders.h"

namespace {

using testbook::File;
using testbook::Kind;

struct ReadCase {
    const char* name;
    std::vector<File> files;  // made in the book beside a.txt
    const char* file;         // read from the book under this name; "@out/" leads outside
    qint64 cap;
    QByteArray bytes;  // what is read, when `reason` is empty
    const char* reason;
    bool missing = false;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadBookFile : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadBookFile, ReadsOnlyRegularFilesInsideTheBookUpToTheCap) {
    const ReadCase& c = GetParam();
    if (!testbook::madeHere(c.files)) GTEST_SKIP() << "FIFOs and symbolic links are POSIX's";
    testbook::Folders f;
    ASSERT_NO_FATAL_FAILURE(f.makeOutside());
    ASSERT_NO_FATAL_FAILURE(f.make({"a.txt", Kind::Bytes, "book text"}));
    ASSERT_NO_FATAL_FAILURE(f.make(c.files));
    QString file = QString::fromUtf8(c.file);
    if (file.startsWith("@out/"))  // a relative path from the book to the other folder
        file = QDir(f.book.path()).relativeFilePath(QString::fromUtf8(f.resolved(c.file)));
    const platform::BookFileRead r = platform::readBookFile(QDir(f.book.path()), file, c.cap);
    EXPECT_EQ(r.error, QString::fromUtf8(c.reason));
    EXPECT_EQ(r.missing, c.missing);
    EXPECT_EQ(r.bytes, r.ok() ? c.bytes : QByteArray());
}

const char* const kNotRegular = "不是普通文件";

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadBookFile,
    ::testing::Values(
        ReadCase{"Regular", {}, "a.txt", 100, "book text", ""},
        ReadCase{"AtTheCap", {}, "a.txt", 9, "book text", ""},
        ReadCase{"OverTheCap", {}, "a.txt", 8, {}, "文件过大（超过 0 MB）"},
        ReadCase{"Missing", {}, "b.txt", 100, {}, "文件不存在", true},
        ReadCase{"Fifo", {{"p.txt", Kind::Fifo}}, "p.txt", 100, {}, kNotRegular},
        ReadCase{"Directory", {{"d.jpg", Kind::Folder}}, "d.jpg", 100, {}, kNotRegular},
        ReadCase{
            "LinkInsideTheBook", {{"l.txt", Kind::Link, "a.txt"}}, "l.txt", 100, "book text", ""},
        ReadCase{"LinkIntoASubfolder",
                 {{"sub", Kind::Folder},
                  {"sub/s.txt", Kind::Bytes, "sub text"},
                  {"l.txt", Kind::Link, "sub/s.txt"}},
                 "l.txt",
                 100,
                 "sub text",
                 ""},
        ReadCase{"LinkOutside",
                 {{"l.txt", Kind::Link, "@out/secret.txt"}},
                 "l.txt",
                 100,
                 {},
                 "链接指向本书目录以外"},
        ReadCase{"DanglingLink",
                 {{"l.txt", Kind::Link, "nowhere.txt"}},
                 "l.txt",
                 100,
                 {},
                 "文件不存在",
                 true},
        ReadCase{"PathOutside", {}, "@out/secret.txt", 100, {}, "文件不在本书目录内"},
        ReadCase{"TheBookItself", {}, ".", 100, {}, kNotRegular},
        ReadCase{"SparseFileRefusedUnread",
                 {{"big.txt", Kind::Sparse, {}, qint64(2) << 30}},
                 "big.txt",
                 32 << 20,
                 {},
                 "文件过大（超过 32 MB）"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
