// Documents as WordPad and Word on Simplified-Chinese Windows save them (tests/data/rtf).
#include <gtest/gtest.h>

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "rtf/rtf.h"
#include "rtf_test_util.h"
#include "support/test_paths.h"

namespace {

using rtf::importRtf;

class RtfFixture : public ::testing::Test {
  protected:
    void load(const char* name) {
        QFile f(testpaths::data(QStringLiteral("rtf/") + QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        ASSERT_TRUE(importRtf(f.readAll(), doc));
    }
    QTextCharFormat at(const char* needle) {
        const QTextCursor found = doc.find(QString::fromUtf8(needle));
        EXPECT_FALSE(found.isNull()) << needle;
        QTextCursor c(&doc);
        c.setPosition(found.isNull() ? 0 : found.selectionStart() + 1);
        return c.charFormat();
    }
    QTextBlockFormat block(const char* needle) {
        return doc.find(QString::fromUtf8(needle)).block().blockFormat();
    }
    QStringList families(const char* needle) { return at(needle).fontFamilies().toStringList(); }
    QTextDocument doc;
};

const QString kSong = QString::fromUtf8("宋体");

TEST_F(RtfFixture, WordPadGbk) {
    load("wordpad_gbk.rtf");
    EXPECT_EQ(rtftest::blockText(doc),
              QString::fromUtf8("你好\n这是红色的文字，斜体和下划线。\n"
                                "English text in Arial, 10 pt.\n缩进的黑体段落\n右对齐\t制表\n"
                                "第一行\u2028第二行"));

    EXPECT_EQ(block("你好").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(at("你").fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(at("你").fontPointSize(), 16.0);
    EXPECT_EQ(families("你"), QStringList{kSong});

    EXPECT_EQ(block("这是").alignment(), Qt::AlignLeft);
    EXPECT_EQ(at("这").fontWeight(), QFont::Normal);
    EXPECT_DOUBLE_EQ(at("这").fontPointSize(), 12.0);
    EXPECT_EQ(at("红").foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(at("的").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_TRUE(at("斜").fontItalic());
    EXPECT_TRUE(at("下").fontUnderline());
    EXPECT_FALSE(at("。").fontUnderline());

    EXPECT_EQ(families("English"), QStringList{"Arial"});
    EXPECT_DOUBLE_EQ(at("English").fontPointSize(), 10.0);

    const QTextBlockFormat indented = block("缩进");
    EXPECT_DOUBLE_EQ(indented.leftMargin(), 36.0);
    EXPECT_DOUBLE_EQ(indented.rightMargin(), 18.0);
    EXPECT_DOUBLE_EQ(indented.textIndent(), -18.0);
    EXPECT_DOUBLE_EQ(indented.bottomMargin(), 10.0);
    EXPECT_EQ(at("缩").foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(families("缩"), QStringList{QString::fromUtf8("黑体")});

    EXPECT_EQ(block("右对齐").alignment(), Qt::AlignRight);
    EXPECT_EQ(block("第一行").alignment(), Qt::AlignLeft);
}

TEST_F(RtfFixture, WordGbk) {
    load("word_gbk.rtf");
    // Header, info, stylesheet and field instructions are not text; \upr shows its Unicode half.
    EXPECT_EQ(rtftest::blockText(doc), QString::fromUtf8("第一章\n春眠不觉晓，处处闻啼鸟。\n"
                                                         "访问example.com。☃€\n新"));

    EXPECT_EQ(block("第一章").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(at("第").fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(at("第").fontPointSize(), 18.0);
    EXPECT_EQ(families("第"), QStringList{kSong});

    EXPECT_EQ(block("春眠").alignment(), Qt::AlignJustify);
    EXPECT_DOUBLE_EQ(block("春眠").textIndent(), 21.0);
    EXPECT_DOUBLE_EQ(at("春").fontPointSize(), 10.5);
    EXPECT_EQ(at("春").fontWeight(), QFont::Normal);

    EXPECT_TRUE(at("example").fontUnderline());
    EXPECT_EQ(at("example").foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(families("example"), QStringList{"Times New Roman"});
    EXPECT_FALSE(at("访").fontUnderline());
}

// WordPad's header with the font table's closing brace lost: the text after it is still read,
// and the fonts and colours read before it apply.
TEST_F(RtfFixture, FontTableNeverClosed) {
    load("unclosed_fonttbl.rtf");
    EXPECT_EQ(rtftest::blockText(doc), QString::fromUtf8("你好\nSecond red line."));
    EXPECT_EQ(block("你好").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(at("你").fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(at("你").fontPointSize(), 16.0);
    EXPECT_EQ(families("你"), QStringList{kSong});
    EXPECT_EQ(families("Second"), QStringList{"Arial"});
    EXPECT_EQ(at("red").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(block("Second").alignment(), Qt::AlignLeft);
}

}  // namespace
