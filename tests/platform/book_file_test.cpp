#include "platform/book_file.h"

#include <gtest/gtest.h>

#include "support/book_folders.h"
#include "support/case_names.h"

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

using casenames::PrintTo;  // table rows print as their names

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

const char *const kNotRegular = "不是普通文件", *const kMissing = "文件不存在";
const char* const kLeadsOut = "链接指向本书目录以外";
const std::vector<File> kLinkIntoSub = {{"sub", Kind::Folder},
                                        {"sub/s.txt", Kind::Bytes, "sub text"},
                                        {"l.txt", Kind::Link, "sub/s.txt"}};
const std::vector<File> kSparse = {{"big.txt", Kind::Sparse, {}, qint64(2) << 30}};

const ReadCase kReads[] = {
    {"Regular", {}, "a.txt", 100, "book text", ""},
    {"AtTheCap", {}, "a.txt", 9, "book text", ""},
    {"OverTheCap", {}, "a.txt", 8, {}, "文件过大（超过 0 MB）"},
    {"Missing", {}, "b.txt", 100, {}, kMissing, true},
    {"Fifo", {{"p.txt", Kind::Fifo}}, "p.txt", 100, {}, kNotRegular},
    {"Directory", {{"d.jpg", Kind::Folder}}, "d.jpg", 100, {}, kNotRegular},
    {"LinkInsideTheBook", {{"l.txt", Kind::Link, "a.txt"}}, "l.txt", 100, "book text", ""},
    {"LinkIntoASubfolder", kLinkIntoSub, "l.txt", 100, "sub text", ""},
    {"LinkOutside", {{"l.txt", Kind::Link, "@out/secret.txt"}}, "l.txt", 100, {}, kLeadsOut},
    {"DanglingLink", {{"l.txt", Kind::Link, "nowhere.txt"}}, "l.txt", 100, {}, kMissing, true},
    {"PathOutside", {}, "@out/secret.txt", 100, {}, "文件不在本书目录内"},
    {"TheBookItself", {}, ".", 100, {}, kNotRegular},
    // Refused by its size alone: reading 2 GB first would be the fault.
    {"SparseFileRefusedUnread", kSparse, "big.txt", 32 << 20, {}, "文件过大（超过 32 MB）"}};
INSTANTIATE_TEST_SUITE_P(Cases, ReadBookFile, ::testing::ValuesIn(kReads), casenames::byName);

}  // namespace
