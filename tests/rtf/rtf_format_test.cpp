// Character and paragraph formatting, and how groups scope it.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include "rtf/rtf.h"

namespace {

using rtf::importRtf;

// The character format in effect at the first occurrence of `needle`.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& needle) {
    const QTextCursor found = doc.find(needle, 0, QTextDocument::FindCaseSensitively);
    EXPECT_FALSE(found.isNull()) << needle.toStdString();
    if (found.isNull()) return {};
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(found.selectionStart() + 1);  // format of the character before the cursor
    return c.charFormat();
}

QTextBlockFormat blockOf(const QTextDocument& doc, const QString& needle) {
    const QTextCursor found = doc.find(needle);
    EXPECT_FALSE(found.isNull()) << needle.toStdString();
    return found.block().blockFormat();
}

class RtfFormat : public ::testing::Test {
  protected:
    void load(const QByteArray& rtf) { ASSERT_TRUE(importRtf(rtf, doc)); }
    QTextDocument doc;
};

TEST_F(RtfFormat, DefaultsAreTwelvePointPlain) {
    load(R"({\rtf1 x})");
    const QTextCharFormat f = formatOf(doc, "x");
    EXPECT_DOUBLE_EQ(f.fontPointSize(), 12.0);
    EXPECT_EQ(f.fontWeight(), QFont::Normal);
    EXPECT_FALSE(f.fontItalic());
    EXPECT_FALSE(f.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(f.hasProperty(QTextFormat::BackgroundBrush));
}

TEST_F(RtfFormat, CharacterProperties) {
    load(R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
         R"(\b B\b0 \i I\i0 \ul U\ul0 \ulnone\uldb D\ulnone N\strike S\strike0 )"
         R"(\fs40 Z\fs20 z\cf1 R\cf2 L\cf0 A\cb2 K\cb0\highlight1 H\highlight0 )"
         R"(\super P\nosupersub\sub Q\nosupersub O})");
    EXPECT_EQ(formatOf(doc, "B").fontWeight(), QFont::Bold);
    EXPECT_EQ(formatOf(doc, "I").fontWeight(), QFont::Normal);
    EXPECT_TRUE(formatOf(doc, "I").fontItalic());
    EXPECT_TRUE(formatOf(doc, "U").fontUnderline());
    EXPECT_TRUE(formatOf(doc, "D").fontUnderline());
    EXPECT_FALSE(formatOf(doc, "N").fontUnderline());
    EXPECT_TRUE(formatOf(doc, "S").fontStrikeOut());
    EXPECT_FALSE(formatOf(doc, "Z").fontStrikeOut());
    EXPECT_DOUBLE_EQ(formatOf(doc, "Z").fontPointSize(), 20.0);
    EXPECT_DOUBLE_EQ(formatOf(doc, "z").fontPointSize(), 10.0);
    EXPECT_EQ(formatOf(doc, "R").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatOf(doc, "L").foreground().color(), QColor(0, 0, 255));
    EXPECT_FALSE(formatOf(doc, "A").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(formatOf(doc, "K").background().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatOf(doc, "H").background().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatOf(doc, "P").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatOf(doc, "Q").verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatOf(doc, "O").verticalAlignment(), QTextCharFormat::AlignNormal);
}

TEST_F(RtfFormat, GroupsScopeCharacterFormatting) {
    load(R"({\rtf1\fs20 a{\b\fs30 b{\i c}d}e\plain f})");
    EXPECT_DOUBLE_EQ(formatOf(doc, "a").fontPointSize(), 10.0);
    EXPECT_EQ(formatOf(doc, "b").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(doc, "c").fontItalic());
    EXPECT_EQ(formatOf(doc, "c").fontWeight(), QFont::Bold);
    EXPECT_FALSE(formatOf(doc, "d").fontItalic());
    EXPECT_DOUBLE_EQ(formatOf(doc, "d").fontPointSize(), 15.0);
    EXPECT_EQ(formatOf(doc, "e").fontWeight(), QFont::Normal);
    EXPECT_DOUBLE_EQ(formatOf(doc, "e").fontPointSize(), 10.0);
    EXPECT_DOUBLE_EQ(formatOf(doc, "f").fontPointSize(), 12.0);
}

TEST_F(RtfFormat, FontFamilyFromTableIncludingEncodedNames) {
    load(
        R"({\rtf1\ansi\ansicpg936\deff0{\fonttbl{\f0\fnil\fcharset134 \'cb\'ce\'cc\'e5;})"
        R"({\f1\fswiss\fcharset0 Arial{\*\falt Helvetica};}{\f2\fnil\fcharset134 \u40657?\u20307?;}})"
        R"(a\f1 b\f2 c\f9 d})");
    EXPECT_EQ(formatOf(doc, "a").fontFamilies().toStringList(),
              QStringList{QString::fromUtf8("宋体")});
    EXPECT_EQ(formatOf(doc, "b").fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_EQ(formatOf(doc, "c").fontFamilies().toStringList(),
              QStringList{QString::fromUtf8("黑体")});
    // A reference to a font the table lacks keeps the text and names no family.
    EXPECT_FALSE(formatOf(doc, "d").hasProperty(QTextFormat::FontFamilies));
}

TEST_F(RtfFormat, FlatFontTableWithoutGroups) {
    load(R"({\rtf1{\fonttbl\f0\fswiss Arial;\f1\froman Times New Roman;}\f1 x})");
    EXPECT_EQ(formatOf(doc, "x").fontFamilies().toStringList(), QStringList{"Times New Roman"});
}

TEST_F(RtfFormat, ParagraphAlignmentAndIndents) {
    load(R"({\rtf1\pard\qc C\par\pard\qr R\par\pard\qj J\par)"
         R"(\pard\li400\ri200\fi-100\sb240\sa120 I\par\pard L})");
    EXPECT_EQ(blockOf(doc, "C").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(blockOf(doc, "R").alignment(), Qt::AlignRight);
    EXPECT_EQ(blockOf(doc, "J").alignment(), Qt::AlignJustify);
    const QTextBlockFormat i = blockOf(doc, "I");
    EXPECT_DOUBLE_EQ(i.leftMargin(), 20.0);
    EXPECT_DOUBLE_EQ(i.rightMargin(), 10.0);
    EXPECT_DOUBLE_EQ(i.textIndent(), -5.0);
    EXPECT_DOUBLE_EQ(i.topMargin(), 12.0);
    EXPECT_DOUBLE_EQ(i.bottomMargin(), 6.0);
    const QTextBlockFormat l = blockOf(doc, "L");
    EXPECT_EQ(l.alignment(), Qt::AlignLeft);
    EXPECT_DOUBLE_EQ(l.leftMargin(), 0.0);
}

TEST_F(RtfFormat, ParagraphTakesPropertiesInEffectAtItsEnd) {
    load(R"({\rtf1 A\qc\par B\par\pard C\par})");
    EXPECT_EQ(blockOf(doc, "A").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(blockOf(doc, "B").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(blockOf(doc, "C").alignment(), Qt::AlignLeft);
}

TEST_F(RtfFormat, FinalParKeepsTheLastParagraphFormat) {
    load(R"({\rtf1\pard\qc A\par\pard\qr\par})");
    ASSERT_EQ(doc.blockCount(), 2);
    EXPECT_EQ(doc.begin().blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(doc.lastBlock().blockFormat().alignment(), Qt::AlignRight);
    EXPECT_TRUE(doc.lastBlock().text().isEmpty());
}

TEST_F(RtfFormat, ColourTableAutomaticEntries) {
    // Entry 0 and any bare ';' are automatic; a reference past the end is automatic too.
    load(R"({\rtf1{\colortbl;;\red0\green128\blue0;}\cf1 a\cf2 b\cf40 c})");
    EXPECT_FALSE(formatOf(doc, "a").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(formatOf(doc, "b").foreground().color(), QColor(0, 128, 0));
    EXPECT_FALSE(formatOf(doc, "c").hasProperty(QTextFormat::ForegroundBrush));
}

TEST_F(RtfFormat, FormattingSplitsDoubleByteRunsCorrectly) {
    load(R"({\rtf1\ansicpg936 \'c4\'e3{\b\'ba\'c3}\'c4\'e3})");
    EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("你好你"));
    EXPECT_EQ(formatOf(doc, QString::fromUtf8("好")).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatOf(doc, QString::fromUtf8("你")).fontWeight(), QFont::Normal);
}

}  // namespace
