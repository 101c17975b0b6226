// Lists: WordPad's \pn numbering and Word's list tables become QTextLists whose labels are the
// author's; what the importer cannot draw keeps the label the file wrote, as text.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>

#include "rtf/rtf.h"
#include "rtf_test_util.h"
#include "support/case_names.h"

namespace {

using casenames::PrintTo;

// Each paragraph as "level label|text" for a list item, "-|text" for any other.
QStringList items(const QTextDocument& doc) {
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextList* list = b.textList();
        out << (list ? QString::number(list->format().indent()) + u' ' + rtf::listItemLabel(b)
                     : QStringLiteral("-")) +
                   u'|' + b.text();
    }
    return out;
}

const QByteArray wordPad = R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}})";

// A Word list table: list 10 numbers "1." with "a)" below it and "1.1" two levels down, list 20
// is bullets ('o', then Wingdings' square, check mark, hollow square and filled square), list 30
// upper roman then upper letters, list 40 has no label (none) and one without its own number.
const QByteArray wordTables = R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}
{\*\listtable
{\list\listtemplateid1{\listlevel\levelnfc0\levelstartat1{\leveltext\'02\'00.;}{\levelnumbers\'01;}}
{\listlevel\levelnfc4\levelstartat1{\leveltext\'02\'01);}{\levelnumbers\'01;}}
{\listlevel\levelnfc0\levelstartat1{\leveltext\'03\'00.\'02;}{\levelnumbers\'01\'03;}}\listid10}
{\list{\listlevel\levelnfc23{\leveltext\'01o;}}{\listlevel\levelnfc23{\leveltext\'01\u-3929 ?;}}
{\listlevel\levelnfc23{\leveltext\'01\u-3844 ?;}}{\listlevel\levelnfc23{\leveltext\'01\u-3935 ?;}}
{\listlevel\levelnfc23{\leveltext\'01\u-3986 ?;}}\listid20}
{\list{\listlevel\levelnfc1{\leveltext\'02\'00.;}}{\listlevel\levelnfc3{\leveltext\'03(\'01);}}\listid30}
{\list{\listlevel\levelnfc255{\leveltext\'00;}}{\listlevel\levelnfc0{\leveltext\'02No;}}\listid40}
{\list{\listlevel\levelnfc2\levelstartat4{\leveltext\'02\'00.;}}\listid50}
{\list{\listlevel\levelnfc0{\leveltext\'02\'00.;}}}}
{\*\listoverridetable{\listoverride\listid10\listoverridecount0\ls1}
{\listoverride\listid20\listoverridecount0\ls2}{\listoverride\listid30\listoverridecount0\ls3}
{\listoverride\listid40\listoverridecount0\ls4}{\listoverride\listid50\listoverridecount0\ls5}
{\listoverride\listid10\listoverridecount1{\lfolevel\listoverridestartat\levelstartat1}\ls6}
{\listoverride\listid10\listoverridecount0\ls7}{\listoverride\listoverridecount0\ls8}
{\listoverride\listid999\listoverridecount0\ls9}}
)";

struct ListCase {
    const char* name;
    QByteArray body;  // after the header
    bool word;        // header: Word's tables, else WordPad's font table
    QStringList want;
};

class RtfLists : public ::testing::TestWithParam<ListCase> {};

TEST_P(RtfLists, ItemsAndLabels) {
    const ListCase& c = GetParam();
    QTextDocument doc;
    ASSERT_TRUE(rtf::importRtf((c.word ? wordTables : wordPad) + c.body + "}", doc));
    EXPECT_EQ(items(doc), c.want) << c.name;
}

// Older Qt numbers every list from 1, so a list that starts elsewhere keeps its written labels.
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
const QStringList startAtThree = {"1 3.|Three", "1 4.|Four"};
const QStringList startAtFour = {"1 iv.|x", "1 v.|y"};
#else
const QStringList startAtThree = {"-|3.\tThree", "-|4.\tFour"};
const QStringList startAtFour = {"-|iv.\tx", "-|v.\ty"};
#endif

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfLists,
    ::testing::Values(
        ListCase{
            "WordPad bullets end at a paragraph without numbering",
            R"(\pard{\pntext\f1\'B7\tab}{\*\pn\pnlvlblt\pnf1\pnindent0{\pntxtb\'B7}}\fi-360\li720 A\par
{\pntext\f1\'B7\tab}B\par\pard C\par)",
            false,
            {"1 \u2022|A", "1 \u2022|B", "-|C"}},
        ListCase{"WordPad decimal, letters and roman with text before and after",
                 R"(\pard{\pntext 1.\tab}{\*\pn\pnlvlbody\pndec\pnstart1{\pntxta.}}One\par
{\pntext 2.\tab}Two\par
\pard{\pntext (a)\tab}{\*\pn\pnlvlbody\pnlcltr\pnstart1{\pntxtb (}{\pntxta )}}x\par
{\*\pn\pnlvlbody\pnlcltr\pnstart1{\pntxtb (}{\pntxta )}}{\pntext (b)\tab}y\par
\pard{\*\pn\pnlvlbody\pnucrm\pnstart1{\pntxta .}}{\pntext I.\tab}r\par{\pntext II.\tab}s\par)",
                 false,
                 {"1 1.|One", "1 2.|Two", "1 (a)|x", "1 (b)|y", "1 I.|r", "1 II.|s"}},
        ListCase{"WordPad numbering restarts after a plain paragraph, \\pnlvl gives the level, no "
                 "last \\par",
                 R"(\pard{\*\pn\pnlvlbody\pndec{\pntxta.}}a\par b\par\pard c\par
\pard{\*\pn\pnlvlbody\pndec{\pntxta.}}d\par\pard{\*\pn\pnlvl2\pnlcltr{\pntxta )}}e)",
                 false,
                 {"1 1.|a", "1 2.|b", "-|c", "1 1.|d", "2 a)|e"}},
        ListCase{"WordPad numbering from three",
                 R"(\pard{\pntext 3.\tab}{\*\pn\pnlvlbody\pndec\pnstart3{\pntxta.}}Three\par
{\pntext 4.\tab}Four\par)",
                 false, startAtThree},
        ListCase{"Word levels: a lower level restarts after a higher item, labels skipped",
                 R"(\pard{\listtext 1.\tab}\ls1 one\par{\listtext 2.\tab}two\par
\pard{\listtext a)\tab}\ls1\ilvl1 a\par{\listtext b)\tab}b\par
\pard{\listtext 3.\tab}\ls1 three\par\pard{\listtext a)\tab}\ls1\ilvl1 c\par
\pard{\listtext 3.1\tab}\ls1\ilvl2 d\par)",
                 true,
                 {"1 1.|one", "1 2.|two", "2 a)|a", "2 b)|b", "1 3.|three", "2 a)|c", "3 3.1|d"}},
        ListCase{"Word numbering goes on after plain text and other lists; overrides share it",
                 R"(\pard\ls1 one\par\pard plain\par\pard\ls2 bullet\par\pard\ls7 two\par
\pard\ls6 restarted\par)",
                 true,
                 {"1 1.|one", "-|plain", "1 \u25E6|bullet", "1 2.|two", "1 1.|restarted"}},
        ListCase{"Word bullets, roman and letters",
                 R"(\pard\ls2\ilvl1 sq\par{\listtext\f1\u-3844 ?\tab}\pard\ls2\ilvl2 check\par
\pard\ls2\ilvl3 hollow\par\pard\ls2\ilvl4 filled\par\pard\ls3 r1\par r2\par\pard\ls3\ilvl1 A\par)",
                 true,
                 {"2 \u25AA|sq", "3 \u2022|check", "4 \u25E6|hollow", "5 \u25AA|filled", "1 I.|r1",
                  "1 II.|r2", "2 (A)|A"}},
        ListCase{"Word: unusable levels keep the written label, lists the file lacks show none",
                 R"(\pard{\listtext\tab}\ls4 none\par\pard{\listtext No\tab}\ls4\ilvl1 lit\par
\pard{\listtext 9.\tab}\ls9 nolist\par\pard{\listtext 8.\tab}\ls8 noid\par
\pard{\listtext 7.\tab}\ls77 missing\par\pard{\listtext 6.\tab}\ls1\ilvl5 deep\par)",
                 true,
                 {"-|\tnone", "-|No\tlit", "-|nolist", "-|noid", "-|missing", "-|6.\tdeep"}},
        ListCase{"The last paragraph without \\par, and items ended by \\row or \\cell",
                 R"(\pard\ls1 one\par
\trowd\cellx2000\pard\intbl\ls1 two\cell\row\trowd\cellx2000\pard\intbl\ls1 three\row
\pard\ls1 four)",
                 true,
                 {"1 1.|one", "1 2.|two", "1 3.|three", "1 4.|four"}},
        ListCase{"Word list starting at four", R"(\pard{\listtext iv.\tab}\ls5 x\par
{\listtext v.\tab}y\par)",
                 true, startAtFour}));

TEST(RtfListsHostile, CapsAndLongLabelsLoseNoText) {
    // More lists and overrides than the caps, levels beyond nine, a "label" of 2000 characters,
    // and lists, levels and overrides opened where they do not belong.
    QByteArray rtf = R"({\rtf1{\*\listtable)";
    for (int i = 0; i < 3000; ++i)
        rtf += "{\\list" +
               QByteArray("{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}").repeated(12) +
               "\\listid" + QByteArray::number(i) + "}";
    rtf +=
        R"({\list{\listlevel\list\levelnfc0\levelstartat3{\leveltext\list\'02\'00.;}}\listid1}})";
    rtf +=
        R"({\*\listoverridetable{\listoverride\listid1{\lfolevel\listoverride\levelstartat2}\ls1})";
    for (int i = 0; i < 3000; ++i)
        rtf += "{\\listoverride\\listid" + QByteArray::number(i) + "\\ls" +
               QByteArray::number(i + 1) + "}";
    rtf += "}";
    for (int i = 0; i < 600; ++i)
        rtf += "\\pard{\\listtext 1.\\tab}\\ls" + QByteArray::number(i * 5 + 1) + " p\\par ";
    rtf += "\\pard{\\listtext " + QByteArray(2000, 'x') + "}\\ls1 tail\\par}";
    QTextDocument doc;
    ASSERT_TRUE(rtf::importRtf(rtf, doc));
    EXPECT_EQ(doc.blockCount(), 601);
    EXPECT_TRUE(doc.begin().textList());
    EXPECT_EQ(doc.lastBlock().text(), QString(2000, u'x') + QStringLiteral("tail"))
        << "the long label is text";
}

// Where the text of each paragraph starts, in the document's units.
QList<int> textStarts(const QTextDocument& doc) {
    QList<int> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        out << qRound(doc.documentLayout()->blockBoundingRect(b).left() +
                      b.layout()->lineAt(0).x());
    return out;
}

TEST(RtfListsRender, LabelsLeftOfTextAtTheAuthorsIndentPerLevel) {
    // Levels indented 0.25", 0.75" and 1.5" by the list table; the first paragraphs say nothing,
    // the later ones give their own (smaller than Qt's 40 per level) indents, and a list
    // without any indent falls back to the list's own.
    QTextDocument doc;
    ASSERT_TRUE(rtf::importRtf(
        R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}{\*\listtable{\list{\listlevel\levelnfc0\fi-360\li360)"
        R"({\leveltext\'02\'00.;}}{\listlevel\levelnfc4\fi-360\li1080{\leveltext\'02\'01);}})"
        R"({\listlevel\levelnfc23\fi-360\lin2160{\leveltext\'01o;}}\listid1})"
        R"({\list{\listlevel\levelnfc0{\leveltext\'02\'00.;}}\listid2}})"
        R"({\*\listoverridetable{\listoverride\listid1\ls1}{\listoverride\listid2\ls2}})"
        R"(\pard\ls1 one\par\pard\ls1\ilvl1 a\par\pard\ls1\ilvl2 b\par)"
        R"(\pard\ls1\ilvl1\fi-360\lin1080 c\par\pard\ls1\ilvl2\fi-360\lin1440 d\par)"
        R"(\pard\ls2 plain\par})",
        doc));
    doc.setTextWidth(400);
    const int m = qRound(doc.documentMargin());
    const int qt = qRound(doc.indentWidth());
    EXPECT_EQ(textStarts(doc), (QList<int>{m + 18, m + 54, m + 108, m + 54, m + 72, m + qt}));

    // The first label is drawn: dark pixels left of its text, on its line.
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    doc.drawContents(&painter);
    painter.end();
    const QRectF first = doc.documentLayout()->blockBoundingRect(doc.begin());
    int ink = 0;
    for (int y = int(first.top()); y < int(first.bottom()); ++y)
        for (int x = 0; x < m + 18; ++x) ink += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(ink, 10);
}

}  // namespace
