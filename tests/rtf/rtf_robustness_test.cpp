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

using rtftest::RtfFormat;
using rtftest::RtfText;
using rtftest::TextCase;

const char kNulInput[] =
    "{\\rtf1 a\0b\x1a"
    "c\\'00d\\'01e}";

QByteArray repeat(const char* s, int n) {
    return QByteArray(s).repeated(n);
}

QByteArray hugeStyleSheet() {
    QByteArray rtf = "{\\rtf1{\\stylesheet";
    for (int i = 0; i < 5000; ++i)
        rtf +=
            "{\\s" + QByteArray::number(i) + "\\b\\sbasedon" + QByteArray::number(i + 1) + " S;}";
    return rtf + "}\\s0 text\\par\\pard\\plain\\s4999 more}";
}

// Font and colour tables beyond their caps, the first font with a name of a megabyte.
QByteArray hugeTables() {
    QByteArray fonts = "{\\fonttbl{\\f99999 " + QByteArray(1 << 20, 'n') + ";}";
    for (int i = 0; i < rtf::FontTable::kMaxFonts + 10; ++i)
        fonts += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
    const QByteArray colors = "{\\colortbl" + repeat(";", rtf::ColorTable::kMaxColors - 1) +
                              "\\red255;\\green255;" + repeat(";", 100000) + "}";
    return "{\\rtf1" + fonts + "}" + colors + "\\f4094\\cf65535 a\\f4095\\cf65536 b\\f99999 c}";
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, RtfText,
    ::testing::Values(
        TextCase{"header only", "{\\rtf", ""},
        TextCase{"extra closing braces ignored", R"({\rtf1 a}}} b})", "a b"},
        TextCase{"missing closing braces keep the text", R"({\rtf1 {\b abc{\i def)", "abcdef"},
        TextCase{"100 000 nested groups",
                 "{\\rtf1 " + repeat("{", 100000) + "x" + repeat("}", 100000) + "y}", "xy"},
        TextCase{"100 000 groups never closed", "{\\rtf1 " + repeat("{a", 100000),
                 QString(100000, u'a')},
        TextCase{"destination beyond the depth cap is skipped, not leaked",
                 "{\\rtf1 " + repeat("{", 20000) + "{\\*\\x hidden}{\\fonttbl{\\f0 A;}}x" +
                     repeat("}", 20000) + "y}",
                 "xy"},
        TextCase{"truncated hex escape", R"({\rtf1 a\'4)", "a"},
        TextCase{"non-hex escape", R"({\rtf1 a\'zzb})", "azzb"},
        TextCase{"backslash at the very end", "{\\rtf1 a\\", "a"},
        TextCase{"enormous parameters are clamped",
                 R"({\rtf1\fs99999999999999999999 a\f-99999999999999 b\cf4294967296 c)"
                 R"(\li99999999999999999999 d\uc99999999999\u65 xyz}e})",
                 "abcdAe"},
        TextCase{"negative uc skips nothing", R"({\rtf1\uc-1\u65 x})", "Ax"},
        TextCase{"bin longer than the input", R"({\rtf1 a\bin999999999 xyz)", "a"},
        TextCase{"bin with a 20-digit length", R"({\rtf1 a\bin99999999999999999999 xyz})", "a"},
        TextCase{"negative bin reads on", R"({\rtf1 a\bin-5 b})", "ab"},
        TextCase{"NUL and control bytes dropped",
                 QByteArray::fromRawData(kNulInput, sizeof kNulInput - 1), "abcde"},
        TextCase{"lead byte without trail at a group end", R"({\rtf1\ansicpg936 {\'c4}{\'e3}x})",
                 QString::fromUtf8("x")},
        TextCase{"lead byte at the end of input", R"({\rtf1\ansicpg936 a\'c4)", "a"},
        TextCase{"cell and row outside a table", R"({\rtf1 a\cell b\row c\nestcell\nestrow})",
                 "a\tb\nc"},
        TextCase{"100 000-letter control word", "{\\rtf1 a\\" + repeat("x", 100000) + " b}", "ab"},
        TextCase{"5000 styles each based on the next", hugeStyleSheet(), "text\nmore"}));

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

using F = QTextFormat;
using E = rtftest::Expect;
const QStringList kNoFamily;

const rtftest::FormatCase kHostileFormatCases[] = {
    // State pushes stop at the depth cap; formatting set deeper is undone once those groups close.
    {"FormattingBeyondTheDepthCapEndsWithItsGroups",
     "{\\rtf1 " + repeat("{", 20000) + "\\b x" + repeat("}", 20000) + "y}",
     {E{"x", F::FontWeight, QFont::Bold}, E{"y", F::FontWeight, QFont::Normal}},
     "xy"},
    {"HugeTablesKeepTheirFirstEntriesOnly",
     hugeTables(),
     {E{"a", F::FontFamilies, QStringList{"F4094"}}, E{"a", F::ForegroundBrush, QColor(255, 0, 0)},
      E{"b", F::FontFamilies, kNoFamily}, E{"b", F::ForegroundBrush, QColor()},
      E{"c", F::FontFamilies, QStringList{QString(rtf::FontTable::kMaxNameLength, u'n')}}},
     "abc"},
    {"EveryPieceOfABrokenParagraphKeepsItsFormat",
     R"({\rtf1\qc\li720 abcdefgh\par\pard ij})",
     {E{"abc", F::BlockAlignment, int(Qt::AlignHCenter)}, E{"def", F::BlockLeftMargin, 36.0},
      E{"gh", F::BlockAlignment, int(Qt::AlignHCenter)}, E{"gh", F::BlockLeftMargin, 36.0},
      E{"ij", F::BlockLeftMargin, 0.0}},
     "abc\ndef\ngh\nij",
     nullptr,
     {3, 100}},
};

INSTANTIATE_TEST_SUITE_P(Hostile, RtfFormat, ::testing::ValuesIn(kHostileFormatCases),
                         rtftest::caseName<::testing::TestParamInfo<rtftest::FormatCase>>);

INSTANTIATE_TEST_SUITE_P(
    Limits, RtfText,
    ::testing::Values(
        TextCase{"within the limits nothing changes", R"({\rtf1 ab\par cd\par})", "ab\ncd", {2, 5}},
        TextCase{"a paragraph across runs is broken at the cap",
                 R"({\rtf1 ab{\b cdefg}h\par i})",
                 "abc\ndef\ngh\ni",
                 {3, 100}},
        TextCase{"the break falls after a word",
                 R"({\rtf1 aaaa bbbbbb cc})",
                 "aaaa bbbbbb \ncc",
                 {12, 100}},
        TextCase{"empty cells are broken like text",
                 R"({\rtf1 \cell\cell\cell\cell\cell})",
                 "\t\t\n\t\t",
                 {2, 100}},
        TextCase{"text exactly at the total needs no note", R"({\rtf1 abc\par})", "abc", {100, 3}},
        TextCase{"text read beyond the total is counted",
                 R"({\rtf1 abcdef})",
                 QStringLiteral("abc\n（文字过长，以下 3 字未显示）"),
                 {100, 3}}));

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
