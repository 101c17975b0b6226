// Character and paragraph formatting as the QTextDocument holds it: group scoping, font and
// colour tables, stylesheet styles and document defaults, the rarer properties (underline
// styles, capitals, line height, page breaks, associated fonts), links, and documents as WordPad
// and Word on Simplified-Chinese Windows save them (tests/data/rtf). Each case reads properties
// back.
#include <gtest/gtest.h>

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "rtf/rtf.h"
#include "rtf_test_util.h"
#include "support/test_paths.h"

namespace {

using E = rtftest::Expect;
using Case = rtftest::FormatCase;
using rtftest::RtfFormat;
using F = QTextFormat;

constexpr int kBold = QFont::Bold, kNormal = QFont::Normal;
constexpr int kCentre = Qt::AlignHCenter, kLeft = Qt::AlignLeft, kRight = Qt::AlignRight;
constexpr int kUnderline = QTextCharFormat::SingleUnderline;
constexpr int kNoUnderline = QTextCharFormat::NoUnderline;
const QColor kNone;  // no brush: the automatic colour
const QColor kRed(255, 0, 0), kBlue(0, 0, 255);
const QStringList kSong{QString::fromUtf8("宋体")};

bool isBlockProperty(int property) {
    return (property >= F::BlockAlignment && property < F::FirstFontProperty) ||
           property == F::PageBreakPolicy;
}

QString describe(const QVariant& v) {
    return v.typeId() == QMetaType::QStringList ? v.toStringList().join(u',') : v.toString();
}

TEST_P(RtfFormat, PropertiesReadBack) {
    const Case& c = GetParam();
    QByteArray rtf = c.rtf;
    if (c.file) {
        QFile saved(testpaths::data(QStringLiteral("rtf/") + QLatin1String(c.file)));
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << c.file;
        rtf = saved.readAll();
    }
    QTextDocument doc;
    ASSERT_TRUE(rtf::importRtf(rtf, doc, c.limits));
    if (c.paragraphs) {
        EXPECT_EQ(rtftest::blockText(doc), QString::fromUtf8(c.paragraphs));
    }
    for (const E& e : c.expects) {
        const QString needle = QString::fromUtf8(e.needle);
        const QTextCursor found = needle.isEmpty()
                                      ? QTextCursor(doc.lastBlock())
                                      : doc.find(needle, 0, QTextDocument::FindCaseSensitively);
        ASSERT_FALSE(found.isNull()) << e.needle << " in " << doc.toPlainText().toStdString();
        QTextCursor at(&doc);
        at.setPosition(found.selectionStart() + 1);
        const QVariant got = isBlockProperty(e.property)
                                 ? found.block().blockFormat().property(e.property)
                                 : at.charFormat().property(e.property);
        bool same;
        if (e.value.typeId() == QMetaType::QStringList)
            same = got.toStringList() == e.value.toStringList();
        else if (e.value.typeId() == QMetaType::QString)
            same = got.toString() == e.value.toString();
        else if (e.value.typeId() == QMetaType::QColor)
            same = (got.typeId() == QMetaType::QBrush ? got.value<QBrush>().color()
                                                      : got.value<QColor>()) == e.value;
        else
            same = qFuzzyCompare(1.0 + got.toDouble(), 1.0 + e.value.toDouble());
        EXPECT_TRUE(same) << e.needle << " property 0x" << std::hex << e.property << std::dec
                          << ": got " << describe(got).toStdString() << ", want "
                          << describe(e.value).toStdString();
    }
}

const Case kBasicCases[] = {
    {"FontFamilyFromTableIncludingEncodedNames",
     R"({\rtf1\ansi\ansicpg936\deff0{\fonttbl{\f0\fnil\fcharset134 \'cb\'ce\'cc\'e5;})"
     R"({\f1\fswiss\fcharset0 Arial{\*\falt Helvetica};}{\f2\fnil\fcharset134 \u40657?\u20307?;}})"
     R"(a\f1 b\f2 c\f9 d})",
     {E{"a", F::FontFamilies, kSong}, E{"b", F::FontFamilies, QStringList{"Arial"}},
      E{"c", F::FontFamilies, QStringList{QString::fromUtf8("黑体")}},
      // A reference to a font the table lacks keeps the text and names no family.
      E{"d", F::FontFamilies, QStringList{}}}},
    {"FlatFontTableWithoutGroups",
     R"({\rtf1{\fonttbl\f0\fswiss Arial;\f1\froman Times New Roman;}\f1 x})",
     {E{"x", F::FontFamilies, QStringList{"Times New Roman"}}}},
    {"ColourTableAutomaticEntries",
     // Entry 0 and any bare ';' are automatic; a reference past the end is automatic too.
     // Components out of range are clamped.
     R"({\rtf1{\colortbl;;\red0\green128\blue0;\red999\green-5\blue3;}\cf1 a\cf2 b\cf40 c\cf3 d})",
     {E{"a", F::ForegroundBrush, kNone}, E{"b", F::ForegroundBrush, QColor(0, 128, 0)},
      E{"d", F::ForegroundBrush, QColor(255, 0, 3)}, E{"c", F::ForegroundBrush, kNone}}},
    {"ParagraphTakesPropertiesInEffectAtItsEnd",
     R"({\rtf1 A\qc\par B\par\pard\qr C\par\pard\qj\sb100 D})",
     {E{"A", F::BlockAlignment, kCentre}, E{"B", F::BlockAlignment, kCentre},
      E{"C", F::BlockAlignment, kRight},
      E{"D", F::BlockAlignment, int(Qt::AlignJustify)},  // the last, without \par
      E{"D", F::BlockTopMargin, 5.0}}},
    {"FinalParKeepsTheLastParagraphFormat",
     R"({\rtf1\pard\qc A\par\pard\qr\par})",
     {E{"A", F::BlockAlignment, kCentre}, E{"", F::BlockAlignment, kRight}},
     "A\n"},
};

const Case kStyleCases[] = {
    {"ParagraphStyleAppliesItsFormatting",
     R"({\rtf1{\stylesheet{\fs20 Normal;}{\s1\qc\b\fs32\sbasedon0 heading 1;}})"
     R"(\pard\s1 Head\par\pard Body\par})",
     {E{"Head", F::FontWeight, kBold}, E{"Head", F::FontPointSize, 16.0},
      E{"Head", F::BlockAlignment, kCentre},
      E{"Body", F::FontWeight, kBold},  // \pard keeps the character state
      E{"Body", F::BlockAlignment, kLeft}}},
    {"BasedOnCyclesEnd",
     R"({\rtf1{\stylesheet{\s1\b\sbasedon2 A;}{\s2\i\sbasedon1 B;}{\s4\sbasedon4 C;}})"
     R"(\s1 X\par\pard\plain\s4 Y\par})",
     {E{"X", F::FontWeight, kBold}, E{"X", F::FontItalic, true}, E{"Y", F::FontWeight, kNormal}}},
    {"CharacterStyleInIgnorableGroup",
     R"({\rtf1{\stylesheet{\s0 Normal;}{\*\cs10\additive\i\cf1 Emphasis;}})"
     R"({\colortbl;\red255\green0\blue0;}a{\cs10 E}z})",
     {E{"a", F::FontItalic, false}, E{"E", F::FontItalic, true}, E{"E", F::ForegroundBrush, kRed},
      E{"z", F::FontItalic, false}}},
    {"TableStylesAndMissingStylesChangeNothing",
     R"({\rtf1{\stylesheet{\*\ts11\tsrowd\b Table;}{\s5\b}}\s11 a\cs99 b\s5 c})",
     {E{"a", F::FontWeight, kNormal}, E{"b", F::FontWeight, kNormal},
      E{"c", F::FontWeight, kBold}}},
    {"DocumentDefaultsHoldAfterPlainAndPard",
     R"({\rtf1{\*\defchp \fs22\i}{\*\defpap \qr\sa200}a\b\fs40 b\plain c\par\qc\pard d})",
     {E{"a", F::FontPointSize, 11.0}, E{"a", F::FontItalic, true},
      E{"a", F::BlockAlignment, kRight}, E{"c", F::FontPointSize, 11.0},
      E{"c", F::FontWeight, kNormal}, E{"d", F::BlockAlignment, kRight},
      E{"d", F::BlockBottomMargin, 10.0}}},
    {"DefaultFontNamesTheFamily",
     R"({\rtf1\deff1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}a\f0 b\plain c})",
     {E{"a", F::FontFamilies, QStringList{"Courier New"}},
      E{"b", F::FontFamilies, QStringList{"Arial"}},
      E{"c", F::FontFamilies, QStringList{"Courier New"}}}},
    {"StylesCarryTheRarerProperties",
     R"({\rtf1{\stylesheet{\s7\sl-400\scaps\uldb Title;}}\pard\s7 T\par})",
     {E{"T", F::LineHeightType, int(QTextBlockFormat::FixedHeight)},
      E{"T", F::FontCapitalization, int(QFont::SmallCaps)},
      E{"T", F::TextUnderlineStyle, kUnderline}}},
};

const Case kPropertyCases[] = {
    {"LineHeightExactAtLeastAndMultiple",
     R"({\rtf1\pard\sl360\slmult1 A\par\pard\sl-300\slmult0 B\par\pard\sl240 C\par)"
     R"(\pard\sl1000 D\par\pard E})",
     {E{"A", F::LineHeight, 150.0},
      E{"A", F::LineHeightType, int(QTextBlockFormat::ProportionalHeight)},
      E{"B", F::LineHeight, 15.0}, E{"B", F::LineHeightType, int(QTextBlockFormat::FixedHeight)},
      E{"C", F::LineHeight, 12.0}, E{"C", F::LineHeightType, int(QTextBlockFormat::MinimumHeight)},
      E{"D", F::LineHeightType, 0}}},
    {"UnderlineStylesAndColour",
     R"({\rtf1{\colortbl;\red255\green0\blue0;}\uld a\ulnone b\uldash c\ulwave d\uldb e)"
     R"(\ulthdashdd f\ul0 g\ulc1\ul h\ulw0 i})",
     {E{"a", F::TextUnderlineStyle, int(QTextCharFormat::DotLine)},
      E{"b", F::TextUnderlineStyle, kNoUnderline},
      E{"c", F::TextUnderlineStyle, int(QTextCharFormat::DashUnderline)},
      E{"d", F::TextUnderlineStyle, int(QTextCharFormat::WaveUnderline)},
      E{"e", F::TextUnderlineStyle, kUnderline},
      E{"f", F::TextUnderlineStyle, int(QTextCharFormat::DashDotDotLine)},
      E{"g", F::TextUnderlineStyle, kNoUnderline}, E{"h", F::TextUnderlineColor, kRed},
      E{"i", F::TextUnderlineStyle, kNoUnderline}}},
    {"Capitals",
     R"({\rtf1\caps a\caps0 b\scaps c{\caps d}e\plain f})",
     {E{"a", F::FontCapitalization, int(QFont::AllUppercase)},
      E{"b", F::FontCapitalization, int(QFont::MixedCase)},
      E{"c", F::FontCapitalization, int(QFont::SmallCaps)},
      E{"d", F::FontCapitalization, int(QFont::AllUppercase)},
      E{"e", F::FontCapitalization, int(QFont::SmallCaps)}}},
    {"DoubleByteTextTakesItsAssociatedFont",
     R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 SimSun;}{\f2 Courier;}})"
     R"(\f0\loch\af2\hich\af2\dbch\af1 ab\u20013?\u25991?cd\uc1\u65307?e\plain\u22270?})",
     {E{"a", F::FontFamilies, QStringList{"Arial"}},
      E{"文", F::FontFamilies, QStringList{"SimSun"}},
      E{"c", F::FontFamilies, QStringList{"Arial"}},
      E{"；", F::FontFamilies, QStringList{"SimSun"}},
      E{"图", F::FontFamilies, QStringList{"Arial"}}},
     "ab中文cd；e图"},
    {"PageAndSectionBreaksEndParagraphs",
     R"({\rtf1 A\page B\par\page C\sect\sectd D\par E})",
     {E{"A", F::PageBreakPolicy, 0}, E{"B", F::PageBreakPolicy, int(F::PageBreak_AlwaysBefore)},
      E{"C", F::PageBreakPolicy, int(F::PageBreak_AlwaysBefore)},
      E{"D", F::PageBreakPolicy, int(F::PageBreak_AlwaysBefore)}, E{"E", F::PageBreakPolicy, 0}},
     "A\nB\nC\nD\nE"},
    {"FontTableRunningIntoTheTextEndsAtTheText",
     R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Times;}\f1 Hello\par\b World} {\f2\fnil Mono;}\f2 x})",
     {E{"Hello", F::FontFamilies, QStringList{"Times"}}, E{"World", F::FontWeight, kBold},
      E{"x", F::FontFamilies, QStringList{"Mono"}}},
     "Hello\nWorld x"},
    // HYPERLINK fields become links on their result text; other fields show their result.
    {"LinksOnTheResultTextOnly",
     R"({\rtf1 {\field{\*\fldinst HYPERLINK "http://a.b/c"}{\fldrslt link}}, )"
     R"({\field{\*\fldinst{\f0 HYPERLINK }{"mailto:a@b.c"}}{\fldrslt{\ul mail}}}, )"
     R"({\field{\*\fldinst HYPERLINK https://q.r }{\fldrslt go}}, )"
     R"({\field{\*\fldinst HYPERLINK \\l "top"}{\fldrslt up}}, {\field{\*\fldinst PAGE}{\fldrslt 7}})"
     R"( end})",
     {E{"link", F::AnchorHref, QString("http://a.b/c")}, E{"link", F::IsAnchor, true},
      E{"mail", F::AnchorHref, QString("mailto:a@b.c")},
      E{"go", F::AnchorHref, QString("https://q.r")}, E{"up", F::IsAnchor, false},
      E{", ", F::IsAnchor, false}, E{"end", F::IsAnchor, false}},
     "link, mail, go, up, 7 end"},
};

const Case kSavedCases[] = {
    {"WordPadGbk",
     {},
     {E{"你好", F::BlockAlignment, kCentre}, E{"你", F::FontWeight, kBold},
      E{"你", F::FontFamilies, kSong}, E{"红", F::ForegroundBrush, kRed},
      E{"斜", F::FontItalic, true}, E{"下", F::TextUnderlineStyle, kUnderline},
      E{"English", F::FontFamilies, QStringList{"Arial"}}, E{"缩进", F::BlockLeftMargin, 36.0},
      E{"缩", F::FontFamilies, QStringList{QString::fromUtf8("黑体")}},
      E{"右对齐", F::BlockAlignment, kRight}, E{"第一行", F::BlockAlignment, kLeft}},
     "你好\n这是红色的文字，斜体和下划线。\nEnglish text in Arial, 10 pt.\n缩进的黑体段落\n"
     "右对齐\t制表\n第一行\u2028第二行",
     "wordpad_gbk.rtf"},
    // Header, info, stylesheet and field instructions are not text; \upr shows its Unicode half.
    {"WordGbk",
     {},
     {E{"第一章", F::BlockAlignment, kCentre}, E{"春眠", F::TextIndent, 21.0},
      E{"春", F::FontPointSize, 10.5}, E{"example", F::AnchorHref, QString("http://example.com/")},
      E{"example", F::ForegroundBrush, kBlue}, E{"访", F::TextUnderlineStyle, kNoUnderline}},
     "第一章\n春眠不觉晓，处处闻啼鸟。\n访问example.com。☃€\n新",
     "word_gbk.rtf"},
    // WordPad's header with the font table's closing brace lost: the text after it is still
    // read, and the fonts and colours read before it apply.
    {"FontTableNeverClosed",
     {},
     {E{"你", F::FontWeight, kBold}, E{"你", F::FontFamilies, kSong},
      E{"Second", F::FontFamilies, QStringList{"Arial"}}, E{"red", F::ForegroundBrush, kRed}},
     "你好\nSecond red line.",
     "unclosed_fonttbl.rtf"},
};

INSTANTIATE_TEST_SUITE_P(Basics, RtfFormat, ::testing::ValuesIn(kBasicCases),
                         rtftest::caseName<::testing::TestParamInfo<Case>>);
INSTANTIATE_TEST_SUITE_P(Styles, RtfFormat, ::testing::ValuesIn(kStyleCases),
                         rtftest::caseName<::testing::TestParamInfo<Case>>);
INSTANTIATE_TEST_SUITE_P(Properties, RtfFormat, ::testing::ValuesIn(kPropertyCases),
                         rtftest::caseName<::testing::TestParamInfo<Case>>);
INSTANTIATE_TEST_SUITE_P(Saved, RtfFormat, ::testing::ValuesIn(kSavedCases),
                         rtftest::caseName<::testing::TestParamInfo<Case>>);

}  // namespace
