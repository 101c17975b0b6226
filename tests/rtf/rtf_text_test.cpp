// What text the importer produces: destinations, special characters, code pages, \u and \uc.
#include <gtest/gtest.h>

#include <QTextDocument>

#include "rtf/rtf.h"
#include "rtf_test_util.h"

namespace {

using rtf::importRtf;
using rtf::looksLikeRtf;

using rtftest::RtfText;
using rtftest::TextCase;

TEST_P(RtfText, ImportsPlainText) {
    const TextCase& c = GetParam();
    QTextDocument doc;
    ASSERT_TRUE(importRtf(c.rtf, doc, c.limits));
    EXPECT_EQ(rtftest::blockText(doc), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Destinations, RtfText,
    ::testing::Values(
        TextCase{"unknown destination without star keeps its text", R"({\rtf1 A{\foo x}B})", "AxB"},
        TextCase{"picture hex is not text", R"({\rtf1 A{\pict\pngblip 89504e47}B})", "AB"},
        TextCase{"label without numbering shown as written, of an undefined list dropped",
                 R"({\rtf1{\pntext 1.\tab}one\par{\listtext \'95\tab}\ls3 two})", "1.\tone\ntwo"},
        TextCase{"upr reads only the unicode half", R"({\rtf1{\upr{ansi}{\*\ud{\u20320 ?}}}})",
                 QString::fromUtf8("你")},
        TextCase{"bin payload skipped, braces inside it too",
                 QByteArray("{\\rtf1 A{\\pict\\bin4 }}{{B}}") + QByteArray("C}"), "AC"},
        TextCase{
            "table cells separated by tabs, rows are paragraphs",
            R"({\rtf1\trowd\cellx1000\cellx2000 a\cell b\cell\row\trowd c\cell\cell d\cell\row})",
            "a\tb\nc\t\td"},
        TextCase{"hidden text dropped", R"({\rtf1 A{\v hidden}B})", "AB"},
        TextCase{
            "footnote marks numbered in order, notes dropped",
            R"({\rtf1 a{\super\chftn{\footnote\pard{\super\chftn} one}}b{\chftn{\footnote two}})"
            R"({\v\chftn{\footnote three}}c\chftn{\footnote four}})",
            "a1b2c4"}));

INSTANTIATE_TEST_SUITE_P(
    Characters, RtfText,
    ::testing::Values(
        TextCase{"empty paragraphs kept", R"({\rtf1 one\par\par two})", "one\n\ntwo"},
        TextCase{"backslash before line end is a paragraph", "{\\rtf1 a\\\r\nb\\\nc}", "a\nb\nc"},
        TextCase{"typographic characters",
                 R"({\rtf1\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})",
                 QString::fromUtf8("\u2014\u2013\u2022\u2018\u2019\u201C\u201D")},
        TextCase{"unknown control words ignored", R"({\rtf1 a\foo12 b\bar-3 c})", "abc"}));

INSTANTIATE_TEST_SUITE_P(
    CodePages, RtfText,
    ::testing::Values(
        TextCase{"GBK trail byte written as plain ASCII", R"({\rtf1\ansicpg936 \'b0@})",
                 QString::fromUtf8("癅")},
        TextCase{"Big5", R"({\rtf1{\fonttbl{\f0\fcharset136 MingLiU;}}\f0\'a4\'a4\'a4\'e5})",
                 QString::fromUtf8("中文")},
        TextCase{"cyrillic fcharset204", R"({\rtf1{\fonttbl{\f0\fcharset204 Arial;}}\f0\'cf\'f0})",
                 QString::fromUtf8("Пр")},
        TextCase{"Mac Roman", R"({\rtf1\mac \'8e\'d2})", QString::fromUtf8("é“")},
        TextCase{"cpg overrides charset", R"({\rtf1{\fonttbl{\f0\fcharset0\cpg1251 X;}}\f0\'cf})",
                 QString::fromUtf8("П")},
        TextCase{"raw high bytes decoded like escapes", "{\\rtf1\\ansicpg936 \xc4\xe3}",
                 QString::fromUtf8("你")},
        TextCase{"default font code page used without f",
                 R"({\rtf1\deff1{\fonttbl{\f0 A;}{\f1\fcharset134 B;}}\'c4\'e3})",
                 QString::fromUtf8("你")},
        TextCase{"missing font falls back to the document code page",
                 R"({\rtf1\ansicpg936{\fonttbl{\f0 A;}}\f7\'c4\'e3})", QString::fromUtf8("你")},
        TextCase{"invalid code page numbers read as 1252", R"({\rtf1\ansicpg99999 \'e9})",
                 QString::fromUtf8("é")},
        TextCase{"ansicpg0 reads as 1252", R"({\rtf1\ansicpg0 \'e9})", QString::fromUtf8("é")}));

INSTANTIATE_TEST_SUITE_P(
    Unicode, RtfText,
    ::testing::Values(
        TextCase{"uc2 skips a DBCS escape pair", R"({\rtf1\ansicpg936\uc2\u20320\'c4\'e3x})",
                 QString::fromUtf8("你x")},
        TextCase{"uc0 skips nothing", R"({\rtf1\uc0\u20320 ab})", QString::fromUtf8("你ab")},
        TextCase{"fallback skip counts a control word as one", R"({\rtf1\uc2\u20320\tab ab})",
                 QString::fromUtf8("你b")},
        TextCase{"uc is group scoped", R"({\rtf1{\uc2\u20320 ab}\u22909 cd})",
                 QString::fromUtf8("你好d")},
        TextCase{"group end stops the skip", R"({\rtf1{\uc3\u20320 a}bc})",
                 QString::fromUtf8("你bc")},
        TextCase{"unpaired high surrogate", R"({\rtf1\u55357?x})", QString::fromUtf8("\uFFFDx")},
        TextCase{"unpaired low surrogate", R"({\rtf1 x\u56489?})", QString::fromUtf8("x\uFFFD")},
        TextCase{"reversed surrogates", R"({\rtf1\u56489?\u55357?})",
                 QString::fromUtf8("\uFFFD\uFFFD")},
        TextCase{"out of range u", R"({\rtf1\u99999999 ?x})", QString::fromUtf8("\uFFFDx")},
        TextCase{"u zero dropped", R"({\rtf1 a\u0 ?b})", "ab"}));

TEST(RtfDetect, RecognisesRtfHeader) {
    for (const char* yes : {"{\\rtf1\\ansi}", "{\\rtf", " \r\n{\\rtf1}", "\xEF\xBB\xBF{\\rtf1}"})
        EXPECT_TRUE(looksLikeRtf(yes)) << yes;
    for (const char* no : {"", "{", "{\\rt", "hello {\\rtf1}", "{\\RTF1}"})
        EXPECT_FALSE(looksLikeRtf(no)) << no;
}

TEST(RtfDetect, NonRtfLeavesDocumentUntouched) {
    QTextDocument doc;
    doc.setPlainText("keep");
    EXPECT_FALSE(importRtf("plain text", doc));
    EXPECT_FALSE(importRtf("", doc));
    EXPECT_EQ(rtftest::blockText(doc), "keep");
    EXPECT_TRUE(importRtf("{\\rtf1 new}", doc));
    EXPECT_EQ(rtftest::blockText(doc), "new");
}

}  // namespace
