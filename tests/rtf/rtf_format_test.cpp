// Character and paragraph formatting as the QTextDocument holds it: group scoping, font and
// colour tables, stylesheet styles and document defaults, and the rarer properties (underline
// styles, capitals, line height, page breaks, associated fonts). Each case reads properties back.
#include <gtest/gtest.h>

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

#include "rtf/rtf.h"
#include "rtf_test_util.h"
#include "support/test_paths.h"

namespace {

using rtftest::Expect;
using Case = rtftest::FormatCase;
using rtftest::RtfFormat;

constexpr int kBold = QFont::Bold;
constexpr int kNormal = QFont::Normal;

bool isBlockProperty(int property) {
    return (property >= QTextFormat::BlockAlignment && property < QTextFormat::FirstFontProperty) ||
           property == QTextFormat::PageBreakPolicy;
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
    ASSERT_TRUE(rtf::importRtf(rtf, doc));
    if (c.paragraphs) {
        EXPECT_EQ(rtftest::blockText(doc), QString::fromUtf8(c.paragraphs));
    }
    for (const Expect& e : c.expects) {
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

const QColor kNone;  // no brush: the automatic colour

const Case kBasicCases[] = {
    {"DefaultsAreTwelvePointPlain",
     R"({\rtf1 x})",
     {{"x", QTextFormat::FontPointSize, 12.0},
      {"x", QTextFormat::FontWeight, kNormal},
      {"x", QTextFormat::FontItalic, false},
      {"x", QTextFormat::ForegroundBrush, kNone},
      {"x", QTextFormat::BackgroundBrush, kNone}}},
    {"CharacterProperties",
     R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
     R"(\b B\b0 \i I\i0 \ul U\ul0 \ulnone\uldb D\ulnone N\strike S\strike0 )"
     R"(\fs40 Z\fs20 z\cf1 R\cf2 L\cf0 A\cb2 K\cb0\highlight1 H\highlight0 )"
     R"(\super P\nosupersub\sub Q\nosupersub O})",
     {{"B", QTextFormat::FontWeight, kBold},
      {"I", QTextFormat::FontWeight, kNormal},
      {"I", QTextFormat::FontItalic, true},
      {"U", QTextFormat::TextUnderlineStyle, int(QTextCharFormat::SingleUnderline)},
      {"D", QTextFormat::TextUnderlineStyle, int(QTextCharFormat::SingleUnderline)},
      {"N", QTextFormat::TextUnderlineStyle, int(QTextCharFormat::NoUnderline)},
      {"S", QTextFormat::FontStrikeOut, true},
      {"Z", QTextFormat::FontStrikeOut, false},
      {"Z", QTextFormat::FontPointSize, 20.0},
      {"z", QTextFormat::FontPointSize, 10.0},
      {"R", QTextFormat::ForegroundBrush, QColor(255, 0, 0)},
      {"L", QTextFormat::ForegroundBrush, QColor(0, 0, 255)},
      {"A", QTextFormat::ForegroundBrush, kNone},
      {"K", QTextFormat::BackgroundBrush, QColor(0, 0, 255)},
      {"H", QTextFormat::BackgroundBrush, QColor(255, 0, 0)},
      {"P", QTextFormat::TextVerticalAlignment, int(QTextCharFormat::AlignSuperScript)},
      {"Q", QTextFormat::TextVerticalAlignment, int(QTextCharFormat::AlignSubScript)},
      {"O", QTextFormat::TextVerticalAlignment, int(QTextCharFormat::AlignNormal)}}},
    {"GroupsScopeCharacterFormatting",
     R"({\rtf1\fs20 a{\b\fs30 b{\i c}d}e\plain f})",
     {{"a", QTextFormat::FontPointSize, 10.0},
      {"b", QTextFormat::FontWeight, kBold},
      {"c", QTextFormat::FontItalic, true},
      {"c", QTextFormat::FontWeight, kBold},
      {"d", QTextFormat::FontItalic, false},
      {"d", QTextFormat::FontPointSize, 15.0},
      {"e", QTextFormat::FontWeight, kNormal},
      {"e", QTextFormat::FontPointSize, 10.0},
      {"f", QTextFormat::FontPointSize, 12.0}}},
    {"FontFamilyFromTableIncludingEncodedNames",
     R"({\rtf1\ansi\ansicpg936\deff0{\fonttbl{\f0\fnil\fcharset134 \'cb\'ce\'cc\'e5;})"
     R"({\f1\fswiss\fcharset0 Arial{\*\falt Helvetica};}{\f2\fnil\fcharset134 \u40657?\u20307?;}})"
     R"(a\f1 b\f2 c\f9 d})",
     {{"a", QTextFormat::FontFamilies, QStringList{QString::fromUtf8("宋体")}},
      {"b", QTextFormat::FontFamilies, QStringList{"Arial"}},
      {"c", QTextFormat::FontFamilies, QStringList{QString::fromUtf8("黑体")}},
      // A reference to a font the table lacks keeps the text and names no family.
      {"d", QTextFormat::FontFamilies, QStringList{}}}},
    {"FlatFontTableWithoutGroups",
     R"({\rtf1{\fonttbl\f0\fswiss Arial;\f1\froman Times New Roman;}\f1 x})",
     {{"x", QTextFormat::FontFamilies, QStringList{"Times New Roman"}}}},
    {"ColourTableAutomaticEntries",
     // Entry 0 and any bare ';' are automatic; a reference past the end is automatic too.
     R"({\rtf1{\colortbl;;\red0\green128\blue0;}\cf1 a\cf2 b\cf40 c})",
     {{"a", QTextFormat::ForegroundBrush, kNone},
      {"b", QTextFormat::ForegroundBrush, QColor(0, 128, 0)},
      {"c", QTextFormat::ForegroundBrush, kNone}}},
    {"FormattingSplitsDoubleByteRunsCorrectly",
     R"({\rtf1\ansicpg936 \'c4\'e3{\b\'ba\'c3}\'c4\'e3})",
     {{"好", QTextFormat::FontWeight, kBold}, {"你", QTextFormat::FontWeight, kNormal}},
     "你好你"},
    {"ParagraphAlignmentAndIndents",
     R"({\rtf1\pard\qc C\par\pard\qr R\par\pard\qj J\par)"
     R"(\pard\li400\ri200\fi-100\sb240\sa120 I\par\pard L})",
     {{"C", QTextFormat::BlockAlignment, int(Qt::AlignHCenter)},
      {"R", QTextFormat::BlockAlignment, int(Qt::AlignRight)},
      {"J", QTextFormat::BlockAlignment, int(Qt::AlignJustify)},
      {"I", QTextFormat::BlockLeftMargin, 20.0},
      {"I", QTextFormat::BlockRightMargin, 10.0},
      {"I", QTextFormat::TextIndent, -5.0},
      {"I", QTextFormat::BlockTopMargin, 12.0},
      {"I", QTextFormat::BlockBottomMargin, 6.0},
      {"L", QTextFormat::BlockAlignment, int(Qt::AlignLeft)},
      {"L", QTextFormat::BlockLeftMargin, 0.0}}},
    {"ParagraphTakesPropertiesInEffectAtItsEnd",
     R"({\rtf1 A\qc\par B\par\pard C\par})",
     {{"A", QTextFormat::BlockAlignment, int(Qt::AlignHCenter)},
      {"B", QTextFormat::BlockAlignment, int(Qt::AlignHCenter)},
      {"C", QTextFormat::BlockAlignment, int(Qt::AlignLeft)}}},
    {"FinalParKeepsTheLastParagraphFormat",
     R"({\rtf1\pard\qc A\par\pard\qr\par})",
     {{"A", QTextFormat::BlockAlignment, int(Qt::AlignHCenter)},
      {"", QTextFormat::BlockAlignment, int(Qt::AlignRight)}},
     "A\n"},
};

INSTANTIATE_TEST_SUITE_P(Basics, RtfFormat, ::testing::ValuesIn(kBasicCases),
                         rtftest::caseName<::testing::TestParamInfo<Case>>);

const Case kStyleCases[] = {
    {"ParagraphStyleAppliesItsFormatting",
     R"({\rtf1{\stylesheet{\fs20 Normal;}{\s1\qc\b\fs32\sbasedon0 heading 1;}})"
     R"(\pard\s1 Head\par\pard Body\par})",
     {{"Head", QTextFormat::FontWeight, kBold},
      {"Head", QTextFormat::FontPointSize, 16.0},
      {"Head", QTextFormat::BlockAlignment, int(Qt::AlignHCenter)},
      {"Body", QTextFormat::FontWeight, kBold},  // \pard keeps the character state
      {"Body", QTextFormat::BlockAlignment, int(Qt::AlignLeft)}}},
    {"BasedOnChainsResolveBaseFirst",
     R"({\rtf1{\stylesheet{\s0\i\fs20 Normal;}{\s2\b\sbasedon0 Strong;})"
     R"({\s3\fs40\sbasedon2 Big;}}\pard\plain\s3 X\par})",
     {{"X", QTextFormat::FontItalic, true},
      {"X", QTextFormat::FontWeight, kBold},
      {"X", QTextFormat::FontPointSize, 20.0}}},
    {"BasedOnCyclesEnd",
     R"({\rtf1{\stylesheet{\s1\b\sbasedon2 A;}{\s2\i\sbasedon1 B;}{\s4\sbasedon4 C;}})"
     R"(\s1 X\par\pard\plain\s4 Y\par})",
     {{"X", QTextFormat::FontWeight, kBold},
      {"X", QTextFormat::FontItalic, true},
      {"Y", QTextFormat::FontWeight, kNormal}}},
    {"CharacterStyleInIgnorableGroup",
     R"({\rtf1{\stylesheet{\s0 Normal;}{\*\cs10\additive\i\cf1 Emphasis;}})"
     R"({\colortbl;\red255\green0\blue0;}a{\cs10 E}z})",
     {{"a", QTextFormat::FontItalic, false},
      {"E", QTextFormat::FontItalic, true},
      {"E", QTextFormat::ForegroundBrush, QColor(255, 0, 0)},
      {"z", QTextFormat::FontItalic, false}}},
    {"TableStylesAndMissingStylesChangeNothing",
     R"({\rtf1{\stylesheet{\*\ts11\tsrowd\b Table;}{\s5\b}}\s11 a\cs99 b\s5 c})",
     {{"a", QTextFormat::FontWeight, kNormal},
      {"b", QTextFormat::FontWeight, kNormal},
      {"c", QTextFormat::FontWeight, kBold}}},
    {"DocumentDefaultsHoldAfterPlainAndPard",
     R"({\rtf1{\*\defchp \fs22\i}{\*\defpap \qr\sa200}a\b\fs40 b\plain c\par\qc\pard d})",
     {{"a", QTextFormat::FontPointSize, 11.0},
      {"a", QTextFormat::FontItalic, true},
      {"a", QTextFormat::BlockAlignment, int(Qt::AlignRight)},
      {"b", QTextFormat::FontPointSize, 20.0},
      {"c", QTextFormat::FontPointSize, 11.0},
      {"c", QTextFormat::FontWeight, kNormal},
      {"d", QTextFormat::BlockAlignment, int(Qt::AlignRight)},
      {"d", QTextFormat::BlockBottomMargin, 10.0}}},
    {"DefaultFontNamesTheFamily",
     R"({\rtf1\deff1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}a\f0 b\plain c})",
     {{"a", QTextFormat::FontFamilies, QStringList{"Courier New"}},
      {"b", QTextFormat::FontFamilies, QStringList{"Arial"}},
      {"c", QTextFormat::FontFamilies, QStringList{"Courier New"}}}},
    {"LastParagraphWithoutParKeepsItsFormat",
     R"({\rtf1\pard\qc A\par\pard\qr\sb100 B})",
     {{"A", QTextFormat::BlockAlignment, int(Qt::AlignHCenter)},
      {"B", QTextFormat::BlockAlignment, int(Qt::AlignRight)},
      {"B", QTextFormat::BlockTopMargin, 5.0}}},
    {"StyleNamesAreNotText",
     R"({\rtf1{\stylesheet{\s0 Normal;}{\s1 Heading{\*\keycode x};}}T})",
     {{"T", QTextFormat::FontWeight, kNormal}}},
};

constexpr int kProportional = QTextBlockFormat::ProportionalHeight;
constexpr int kFixed = QTextBlockFormat::FixedHeight;
constexpr int kMinimum = QTextBlockFormat::MinimumHeight;

const Case kPropertyCases[] = {
    {"LineHeightExactAtLeastAndMultiple",
     R"({\rtf1\pard\sl360\slmult1 A\par\pard\sl-300\slmult0 B\par\pard\sl240 C\par)"
     R"(\pard\sl1000 D\par\pard E})",
     {{"A", QTextFormat::LineHeight, 150.0},
      {"A", QTextFormat::LineHeightType, kProportional},
      {"B", QTextFormat::LineHeight, 15.0},
      {"B", QTextFormat::LineHeightType, kFixed},
      {"C", QTextFormat::LineHeight, 12.0},
      {"C", QTextFormat::LineHeightType, kMinimum},
      {"D", QTextFormat::LineHeightType, 0},
      {"E", QTextFormat::LineHeightType, 0}}},
    {"UnderlineStylesAndColour",
     R"({\rtf1{\colortbl;\red255\green0\blue0;}\uld a\ulnone b\uldash c\ulwave d\uldb e)"
     R"(\ulthdashdd f\ul0 g\ulc1\ul h\ulw0 i})",
     {{"a", QTextFormat::TextUnderlineStyle, int(QTextCharFormat::DotLine)},
      {"b", QTextFormat::TextUnderlineStyle, int(QTextCharFormat::NoUnderline)},
      {"c", QTextFormat::TextUnderlineStyle, int(QTextCharFormat::DashUnderline)},
      {"d", QTextFormat::TextUnderlineStyle, int(QTextCharFormat::WaveUnderline)},
      {"e", QTextFormat::TextUnderlineStyle, int(QTextCharFormat::SingleUnderline)},
      {"f", QTextFormat::TextUnderlineStyle, int(QTextCharFormat::DashDotDotLine)},
      {"g", QTextFormat::TextUnderlineStyle, int(QTextCharFormat::NoUnderline)},
      {"h", QTextFormat::TextUnderlineStyle, int(QTextCharFormat::SingleUnderline)},
      {"h", QTextFormat::TextUnderlineColor, QColor(255, 0, 0)},
      {"i", QTextFormat::TextUnderlineStyle, int(QTextCharFormat::NoUnderline)}}},
    {"Capitals",
     R"({\rtf1\caps a\caps0 b\scaps c{\caps d}e\plain f})",
     {{"a", QTextFormat::FontCapitalization, int(QFont::AllUppercase)},
      {"b", QTextFormat::FontCapitalization, int(QFont::MixedCase)},
      {"c", QTextFormat::FontCapitalization, int(QFont::SmallCaps)},
      {"d", QTextFormat::FontCapitalization, int(QFont::AllUppercase)},
      {"e", QTextFormat::FontCapitalization, int(QFont::SmallCaps)},
      {"f", QTextFormat::FontCapitalization, int(QFont::MixedCase)}}},
    {"DoubleByteTextTakesItsAssociatedFont",
     R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 SimSun;}{\f2 Courier;}})"
     R"(\f0\loch\af2\hich\af2\dbch\af1 ab\u20013?\u25991?cd\uc1\u65307?e\plain\u22270?})",
     {{"a", QTextFormat::FontFamilies, QStringList{"Arial"}},
      {"中", QTextFormat::FontFamilies, QStringList{"SimSun"}},
      {"文", QTextFormat::FontFamilies, QStringList{"SimSun"}},
      {"c", QTextFormat::FontFamilies, QStringList{"Arial"}},
      {"；", QTextFormat::FontFamilies, QStringList{"SimSun"}},
      {"图", QTextFormat::FontFamilies, QStringList{"Arial"}}},
     "ab中文cd；e图"},
    {"PageAndSectionBreaksEndParagraphs",
     R"({\rtf1 A\page B\par\page C\sect\sectd D\par E})",
     {{"A", QTextFormat::PageBreakPolicy, 0},
      {"B", QTextFormat::PageBreakPolicy, int(QTextFormat::PageBreak_AlwaysBefore)},
      {"C", QTextFormat::PageBreakPolicy, int(QTextFormat::PageBreak_AlwaysBefore)},
      {"D", QTextFormat::PageBreakPolicy, int(QTextFormat::PageBreak_AlwaysBefore)},
      {"E", QTextFormat::PageBreakPolicy, 0}},
     "A\nB\nC\nD\nE"},
    {"FontTableRunningIntoTheTextEndsAtTheText",
     R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Times;}\f1 Hello\par\b World} {\f2\fnil Mono;}\f2 x})",
     {{"Hello", QTextFormat::FontFamilies, QStringList{"Times"}},
      {"World", QTextFormat::FontWeight, kBold},
      {"x", QTextFormat::FontFamilies, QStringList{"Mono"}}},
     "Hello\nWorld x"},
    {"StylesCarryTheRarerProperties",
     R"({\rtf1{\stylesheet{\s7\sl-400\scaps\uldb Title;}}\pard\s7 T\par})",
     {{"T", QTextFormat::LineHeightType, kFixed},
      {"T", QTextFormat::FontCapitalization, int(QFont::SmallCaps)},
      {"T", QTextFormat::TextUnderlineStyle, int(QTextCharFormat::SingleUnderline)}}},
};

INSTANTIATE_TEST_SUITE_P(Properties, RtfFormat, ::testing::ValuesIn(kPropertyCases),
                         rtftest::caseName<::testing::TestParamInfo<Case>>);

INSTANTIATE_TEST_SUITE_P(Styles, RtfFormat, ::testing::ValuesIn(kStyleCases),
                         rtftest::caseName<::testing::TestParamInfo<Case>>);

TEST(RtfStyleSheet, HugeSheetStaysBoundedAndTextSurvives) {
    QByteArray rtf = "{\\rtf1{\\stylesheet";
    for (int i = 0; i < 5000; ++i)
        rtf +=
            "{\\s" + QByteArray::number(i) + "\\b\\sbasedon" + QByteArray::number(i + 1) + " S;}";
    rtf += "}\\s0 text\\par\\pard\\plain\\s4999 more}";
    QTextDocument doc;
    ASSERT_TRUE(rtf::importRtf(rtf, doc));
    EXPECT_EQ(doc.toPlainText(), "text\nmore");
}

}  // namespace
