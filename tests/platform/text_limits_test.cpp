// Text bounded before it reaches a text pane: overlong lines broken where a line may break,
// the total cut with a note, and the reading pane holding no more than its limits.
#include "text/text_limits.h"
#include "platform/rich_text_box.h"

#include <gtest/gtest.h>

#include "support/case_names.h"
#include "support/test_files.h"

#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

using casenames::PrintTo;  // table rows print as their names
using textlimits::TextLimits;

struct LimitCase {
    const char* name;
    QString text;
    TextLimits limits;
    QString shown;
    qsizetype omitted;
};

class LimitPlainText : public ::testing::TestWithParam<LimitCase> {};

TEST_P(LimitPlainText, BreaksAndCuts) {
    const textlimits::LimitedText out =
        textlimits::limitPlainText(GetParam().text, GetParam().limits);
    EXPECT_EQ(out.text, GetParam().shown);
    EXPECT_EQ(out.omitted, GetParam().omitted);
}

const QString kPair = QStringLiteral("😀");  // one character, two code units

const LimitCase kLimitCases[] = {
    {"text within the limits is unchanged", "ab cd\r\nef\n\ngh", {5, 100}, "ab cd\r\nef\n\ngh", 0},
    {"unbroken line cut", QString(23, u'x'), {10, 100}, "xxxxxxxxxx\nxxxxxxxxxx\nxxx", 0},
    {"break after a word in the last eighth", "aaaa bbbbbb cc", {12, 100}, "aaaa bbbbbb \ncc", 0},
    {"a word break too early is not taken", "a bbbbbbbbbbbb", {8, 100}, "a bbbbbb\nbbbbbb", 0},
    {"Chinese breaks anywhere", "春眠不觉晓处处闻啼", {8, 100}, "春眠不觉晓处处闻\n啼", 0},
    {"a surrogate pair is never split", "abc" + kPair + "de", {4, 100}, "abc\n" + kPair + "de", 0},
    {"the total cuts inside a line", "abcdef\nghij", {100, 4}, "abcd", 6},
    {"line breaks are not counted as left out", "ab\n\n\ncd", {100, 3}, "ab\n", 2},
    {"inserted breaks count towards the total", QString(9, u'x'), {3, 9}, "xxx\nxxx\nx", 2},
    {"a pair at the total is left out whole", "ab" + kPair, {100, 3}, "ab", 1}};
INSTANTIATE_TEST_SUITE_P(Cases, LimitPlainText, ::testing::ValuesIn(kLimitCases));

QByteArray oneLine(qsizetype bytes) {
    return QByteArray("0123456789abcdefghijklmnopqrstuvwxyz").repeated(bytes / 36 + 1).left(bytes);
}

QByteArray cellsOnly(qsizetype cells) {
    return "{\\rtf1\\ansi " + QByteArray("\\cell ").repeated(cells) + "}";
}

QByteArray longParagraphs(qsizetype bytes) {
    const QByteArray para = "{\\b " + oneLine(3000) + "}\\par\r\n";
    return "{\\rtf1\\ansi " + para.repeated(bytes / para.size() + 1) + "}";
}

struct PaneCase {
    const char* name;
    QByteArray bytes;
    QString start;  // what the pane shows first
};

class ReadingPane : public ::testing::TestWithParam<PaneCase> {};

// What the user gets from a hostile page text: no paragraph beyond the cap, no more text than
// the total, and the note last.
TEST_P(ReadingPane, HoldsNoMoreThanItsLimitsAndAnswers) {
    const TextLimits limits = platform::RichTextBox::kLimits;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page"));
    ASSERT_TRUE(testfiles::write(path, GetParam().bytes));

    QWidget window;
    window.resize(800, 600);
    platform::RichTextBox box(&window);
    box.widget()->setGeometry(0, 0, 800, 300);
    window.show();
    ASSERT_TRUE(box.loadFile(path));

    const QTextDocument& doc = *box.document();
    EXPECT_TRUE(box.plainText().startsWith(GetParam().start));
    const QTextBlock note = doc.lastBlock();
    EXPECT_TRUE(note.text().startsWith(QStringLiteral("（文字过长，以下")))
        << note.text().toStdString();
    EXPECT_TRUE(note.text().endsWith(QStringLiteral("字未显示）")));
    EXPECT_LE(note.position() - 1, limits.totalChars);  // the text before the note's break
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        ASSERT_LE(b.length() - 1, limits.paragraphChars) << b.blockNumber();
    EXPECT_GT(doc.begin().layout()->lineCount(), 0);  // laid out, not only held
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, ReadingPane,
    ::testing::Values(PaneCase{"one-line txt", oneLine(2 << 20), "0123456789abc"},
                      PaneCase{"RTF of long paragraphs", longParagraphs(4 << 20), "0123456789abc"},
                      PaneCase{"RTF of table cells only", cellsOnly(600000), "\t\t\t"}));

}  // namespace
