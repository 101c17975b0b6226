// Formatting that comes from elsewhere than the text's own control words - stylesheet styles,
// document defaults - and the rarer properties: underline styles, capitals, line height,
// page breaks, associated fonts. Each case reads a property back from the QTextDocument.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

#include "rtf/rtf.h"

namespace {

struct Expect {
    const char* needle;  // the first character of this text is looked at
    int property;        // a QTextFormat property of its character or block format
    QVariant value;      // a missing property counts as 0 / false / empty
};

struct Case {
    const char* name;
    const char* rtf;
    std::vector<Expect> expects;
};

constexpr int kBold = QFont::Bold;
constexpr int kNormal = QFont::Normal;

bool isBlockProperty(int property) {
    return (property >= QTextFormat::BlockAlignment && property < QTextFormat::FirstFontProperty) ||
           property == QTextFormat::PageBreakPolicy;
}

QString describe(const QVariant& v) {
    return v.typeId() == QMetaType::QStringList ? v.toStringList().join(u',') : v.toString();
}

class RtfStyle : public ::testing::TestWithParam<Case> {};

TEST_P(RtfStyle, PropertiesReadBack) {
    const Case& c = GetParam();
    QTextDocument doc;
    ASSERT_TRUE(rtf::importRtf(QByteArray(c.rtf), doc));
    for (const Expect& e : c.expects) {
        const QString needle = QString::fromUtf8(e.needle);
        const QTextCursor found = doc.find(needle, 0, QTextDocument::FindCaseSensitively);
        ASSERT_FALSE(found.isNull()) << e.needle << " in " << doc.toPlainText().toStdString();
        QTextCursor at(&doc);
        at.setPosition(found.selectionStart() + 1);
        const QVariant got = isBlockProperty(e.property)
                                 ? found.block().blockFormat().property(e.property)
                                 : at.charFormat().property(e.property);
        const bool same = e.value.typeId() == QMetaType::QStringList
                              ? got.toStringList() == e.value.toStringList()
                              : qFuzzyCompare(1.0 + got.toDouble(), 1.0 + e.value.toDouble());
        EXPECT_TRUE(same) << e.needle << " property 0x" << std::hex << e.property << std::dec
                          << ": got " << describe(got).toStdString() << ", want "
                          << describe(e.value).toStdString();
    }
}

const Case kCases[] = {
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
      {"E", QTextFormat::ForegroundBrush, QVariant()},
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

INSTANTIATE_TEST_SUITE_P(Cases, RtfStyle, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

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
