// Damaged and hostile input: the importer must finish, keep what text it can and stay bounded.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "rtf/rtf.h"
#include "rtf/rtf_tables.h"
#include "rtf_test_util.h"
#include "support/test_paths.h"

namespace {

using rtf::importRtf;

struct BadCase {
    const char* name;
    QByteArray rtf;
    QString text;
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.name;
}

const char kNulInput[] =
    "{\\rtf1 a\0b\x1a"
    "c\\'00d\\'01e}";

QByteArray repeat(const char* s, int n) {
    return QByteArray(s).repeated(n);
}

class RtfMalformed : public ::testing::TestWithParam<BadCase> {};

TEST_P(RtfMalformed, KeepsSensibleText) {
    const BadCase& c = GetParam();
    QTextDocument doc;
    ASSERT_TRUE(importRtf(c.rtf, doc));
    EXPECT_EQ(rtftest::blockText(doc), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Input, RtfMalformed,
    ::testing::Values(
        BadCase{"header only", "{\\rtf", ""},
        BadCase{"extra closing braces ignored", R"({\rtf1 a}}} b})", "a b"},
        BadCase{"missing closing braces keep the text", R"({\rtf1 {\b abc{\i def)", "abcdef"},
        BadCase{"100 000 nested groups",
                "{\\rtf1 " + repeat("{", 100000) + "x" + repeat("}", 100000) + "y}", "xy"},
        BadCase{"100 000 groups never closed", "{\\rtf1 " + repeat("{a", 100000),
                QString(100000, u'a')},
        BadCase{"destination beyond the depth cap is skipped, not leaked",
                "{\\rtf1 " + repeat("{", 20000) + "{\\*\\x hidden}{\\fonttbl{\\f0 A;}}x" +
                    repeat("}", 20000) + "y}",
                "xy"},
        BadCase{"truncated hex escape", R"({\rtf1 a\'4)", "a"},
        BadCase{"hex escape missing both digits", R"({\rtf1 a\')", "a"},
        BadCase{"non-hex escape", R"({\rtf1 a\'zzb})", "azzb"},
        BadCase{"backslash at the very end", "{\\rtf1 a\\", "a"},
        BadCase{"enormous parameters are clamped",
                R"({\rtf1\fs99999999999999999999 a\f-99999999999999 b\cf4294967296 c)"
                R"(\li99999999999999999999 d\uc99999999999\u65 xyz}e})",
                "abcdAe"},
        BadCase{"negative uc skips nothing", R"({\rtf1\uc-1\u65 x})", "Ax"},
        BadCase{"bin longer than the input", R"({\rtf1 a\bin999999999 xyz)", "a"},
        BadCase{"bin with a 20-digit length", R"({\rtf1 a\bin99999999999999999999 xyz})", "a"},
        BadCase{"negative bin reads on", R"({\rtf1 a\bin-5 b})", "ab"},
        BadCase{"NUL and control bytes dropped",
                QByteArray::fromRawData(kNulInput, sizeof kNulInput - 1), "abcde"},
        BadCase{"lead byte without trail at a group end", R"({\rtf1\ansicpg936 {\'c4}{\'e3}x})",
                QString::fromUtf8("x")},
        BadCase{"lead byte at the end of input", R"({\rtf1\ansicpg936 a\'c4)", "a"},
        BadCase{"font reference to a missing font", R"({\rtf1{\fonttbl{\f0 A;}}\f99 x})", "x"},
        BadCase{"colour components out of range are clamped",
                R"({\rtf1{\fonttbl{\f0 A;}}{\colortbl;\red999\green-5\blue3;}\cf1 x})", "x"},
        BadCase{"cell and row outside a table", R"({\rtf1 a\cell b\row c\nestcell\nestrow})",
                "a\tb\nc"},
        BadCase{"100 000-letter control word", "{\\rtf1 a\\" + repeat("x", 100000) + " b}", "ab"}));

// Every hostile file of the shared corpus imports; what it shows is not specified.
TEST(RtfHostile, CorpusFilesImport) {
    const QString dir = testpaths::corpus("rtf/hostile");
    if (!QDir(dir).exists()) GTEST_SKIP() << "no RTF corpus";
    const QStringList files = QDir(dir).entryList({"*.rtf"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        QFile f(dir + '/' + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QTextDocument doc;
        const bool imported = importRtf(bytes, doc);
        EXPECT_EQ(imported, !bytes.isEmpty()) << name.toStdString();
        // Text never grows beyond the input: each byte yields at most one character.
        EXPECT_LE(doc.characterCount(), bytes.size() + 1) << name.toStdString();
    }
}

TEST(RtfHostile, DeepNestingKeepsFormattingScoped) {
    // State pushes stop at the cap; formatting set deeper is undone once those groups close.
    QTextDocument doc;
    ASSERT_TRUE(
        importRtf("{\\rtf1 " + repeat("{", 20000) + "\\b x" + repeat("}", 20000) + "y}", doc));
    ASSERT_EQ(rtftest::blockText(doc), "xy");
    QTextCursor c(&doc);
    c.setPosition(1);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
    c.setPosition(2);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Normal);
}

// The format of the character before position `pos`.
QTextCharFormat formatAt(QTextDocument& doc, int pos) {
    QTextCursor c(&doc);
    c.setPosition(pos);
    return c.charFormat();
}

TEST(RtfHostile, HugeTablesKeepTheirFirstEntriesOnly) {
    using rtf::ColorTable;
    using rtf::FontTable;
    QByteArray fonts = "{\\fonttbl";
    for (int i = 0; i < FontTable::kMaxFonts + 10; ++i)
        fonts += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
    const QByteArray longName = "{\\f99999 " + QByteArray(1 << 20, 'n') + ";}}";
    const QByteArray colors = "{\\colortbl" + repeat(";", ColorTable::kMaxColors - 1) +
                              "\\red255;\\green255;" + repeat(";", 100000) + "}";
    const QByteArray body = "\\f4095\\cf65535 a\\f4096\\cf65536 b\\f99999 c}";
    QTextDocument doc;
    ASSERT_TRUE(importRtf("{\\rtf1" + fonts + longName + colors + body, doc));
    ASSERT_EQ(doc.toPlainText(), "abc");
    EXPECT_EQ(formatAt(doc, 1).fontFamilies().toStringList(), QStringList{"F4095"});
    EXPECT_EQ(formatAt(doc, 1).foreground().color(), QColor(255, 0, 0));
    EXPECT_NE(formatAt(doc, 2).fontFamilies().toStringList(), QStringList{"F4096"});
    EXPECT_EQ(formatAt(doc, 2).foreground().style(), Qt::NoBrush);  // the automatic colour
    EXPECT_LE(formatAt(doc, 3).fontFamilies().toStringList().value(0).size(),
              FontTable::kMaxNameLength);
}

struct LimitCase {
    const char* name;
    QByteArray rtf;
    textlimits::TextLimits limits;
    QString text;
};

void PrintTo(const LimitCase& c, std::ostream* os) {
    *os << c.name;
}

class RtfLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(RtfLimits, BreakAndCutAsTheLimitsSay) {
    QTextDocument doc;
    ASSERT_TRUE(importRtf(GetParam().rtf, doc, GetParam().limits));
    EXPECT_EQ(rtftest::blockText(doc), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfLimits,
    ::testing::Values(
        LimitCase{
            "within the limits nothing changes", R"({\rtf1 ab\par cd\par})", {2, 5}, "ab\ncd"},
        LimitCase{"a paragraph across runs is broken at the cap",
                  R"({\rtf1 ab{\b cdefg}h\par i})",
                  {3, 100},
                  "abc\ndef\ngh\ni"},
        LimitCase{"the break falls after a word",
                  R"({\rtf1 aaaa bbbbbb cc})",
                  {12, 100},
                  "aaaa bbbbbb \ncc"},
        LimitCase{"empty cells are broken like text",
                  R"({\rtf1 \cell\cell\cell\cell\cell})",
                  {2, 100},
                  "\t\t\n\t\t"},
        LimitCase{"text exactly at the total needs no note", R"({\rtf1 abc\par})", {100, 3}, "abc"},
        LimitCase{"text read beyond the total is counted",
                  R"({\rtf1 abcdef})",
                  {100, 3},
                  QStringLiteral("abc\n（文字过长，以下 3 字未显示）")}));

TEST(RtfLimits, TextNotReadIsEstimated) {
    // 1000 paragraphs of ten letters; reading stops soon after the first hundred.
    QTextDocument doc;
    ASSERT_TRUE(
        importRtf("{\\rtf1 " + repeat("abcdefghij\\par\r\n", 1000) + "}", doc, {100, 1100}));
    const QString note = doc.lastBlock().text();
    const QString prefix = QStringLiteral("（文字过长，以下约 ");
    ASSERT_TRUE(note.startsWith(prefix)) << note.toStdString();
    const qsizetype estimate =
        note.mid(prefix.size()).section(u' ', 0, 0).remove(u',').toLongLong();
    EXPECT_NEAR(double(estimate), 9000.0, 9000.0 * 0.2);
}

TEST(RtfLimits, EveryPieceOfABrokenParagraphKeepsItsFormat) {
    QTextDocument doc;
    ASSERT_TRUE(importRtf(R"({\rtf1\qc\li720 abcdefgh\par\pard ij})", doc, {3, 100}));
    ASSERT_EQ(rtftest::blockText(doc), "abc\ndef\ngh\nij");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(doc.findBlockByNumber(i).blockFormat().alignment(), Qt::AlignHCenter) << i;
        EXPECT_GT(doc.findBlockByNumber(i).blockFormat().leftMargin(), 0) << i;
    }
    EXPECT_EQ(doc.findBlockByNumber(3).blockFormat().leftMargin(), 0);
}

}  // namespace

// Inputs the fuzzer found: imported with the harness's small limits, every block but the closing
// note keeps to them and so does the whole, tables and pictures included.
TEST(RtfFuzzFindings, KeepToTheLimits) {
    const QDir dir(QStringLiteral(HUABEN_TEST_DATA_DIR "/rtf-fuzz"));
    const QStringList files = dir.entryList({"*.rtf"}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    const textlimits::TextLimits limits{7, 64};
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        QTextDocument doc;
        importRtf(f.readAll(), doc, limits);
        const QTextBlock last = doc.lastBlock();
        const bool noted = last.text().startsWith(QStringLiteral("（文字过长"));
        for (QTextBlock b = doc.begin(); b.isValid() && !(noted && b == last); b = b.next())
            EXPECT_LE(b.length() - 1, limits.paragraphChars + 1) << name.toStdString();
        EXPECT_LE(noted ? last.position() - 1 : doc.characterCount() - 1, limits.totalChars)
            << name.toStdString();
    }
}
