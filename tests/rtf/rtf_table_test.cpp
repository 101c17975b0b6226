// Tables: structure, nesting, merges, widths, borders and shading as QTextTable shows them, and
// the caps that keep a file of nothing but cells cheap.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include "rtf/rtf.h"
#include "rtf/rtf_builder.h"
#include "rtf_test_util.h"
#include "support/case_names.h"

namespace {

using casenames::PrintTo;

std::vector<QTextTable*> tables(QTextFrame* frame) {
    std::vector<QTextTable*> out;
    if (auto* t = qobject_cast<QTextTable*>(frame)) out.push_back(t);
    for (QTextFrame* child : frame->childFrames()) {
        const auto inner = tables(child);
        out.insert(out.end(), inner.begin(), inner.end());
    }
    return out;
}

QString cellText(QTextTable* t, int row, int col) {
    QTextCursor c = t->cellAt(row, col).firstCursorPosition();
    c.setPosition(t->cellAt(row, col).lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selectedText();
}

// Rows joined by '/', cells by '|', a nested table's cells each after a '['.
QString layout(QTextTable* t) {
    QStringList rows;
    for (int r = 0; r < t->rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < t->columns(); ++c)
            cells << cellText(t, r, c).replace(QChar(0xFDD0), u'[').replace(QChar(0xFDD1), u']');
        rows << cells.join(u'|');
    }
    return rows.join(u'/');
}

struct TableCase {
    const char* name;
    QByteArray rtf;
    int tables;
    QString first;                 // layout of the first (outermost) table
    const char* around = nullptr;  // when set, the top level: paragraphs and '#' for a table
};

// The top-level paragraphs joined by '/', a table as '#'.
QString topLevel(const QTextDocument& doc) {
    QStringList out;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it)
        out << (it.currentFrame() ? QStringLiteral("#") : it.currentBlock().text());
    return out.join(u'/');
}

class RtfTables : public ::testing::TestWithParam<TableCase> {};

TEST_P(RtfTables, Structure) {
    QTextDocument doc;
    ASSERT_TRUE(rtf::importRtf(GetParam().rtf, doc));
    const auto found = tables(doc.rootFrame());
    ASSERT_EQ(int(found.size()), GetParam().tables) << GetParam().name;
    if (!found.empty()) {
        EXPECT_EQ(layout(found.front()), GetParam().first) << GetParam().name;
    }
    if (GetParam().around) {
        EXPECT_EQ(topLevel(doc), GetParam().around) << GetParam().name;
    }
}

const QByteArray kRow = R"(\trowd\cellx1000\cellx2000 )";

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfTables,
    ::testing::Values(
        TableCase{"two rows",
                  "{\\rtf1 " + kRow + "\\intbl a\\cell b\\cell\\row " + kRow +
                      "\\intbl c\\cell d\\cell\\row\\pard after}",
                  1, "a|b/c|d"},
        TableCase{"empty cells keep their columns",
                  "{\\rtf1 " + kRow + "\\intbl\\cell b\\cell\\row\\pard}", 1, "|b"},
        // The \par before a table ends the paragraph: no blank line comes between.
        TableCase{"text before and after stays outside",
                  "{\\rtf1 before\\par " + kRow + "\\intbl a\\cell b\\cell\\row\\pard after}", 1,
                  "a|b", "before/#/after"},
        TableCase{"an empty paragraph before a table stays",
                  "{\\rtf1 before\\par\\par " + kRow + "\\intbl a\\cell b\\cell\\row\\pard after}",
                  1, "a|b", "before//#/after"},
        TableCase{"paragraphs inside a cell",
                  "{\\rtf1 " + kRow + "\\intbl a\\par b\\cell c\\cell\\row}", 1, "a\u2029b|c"},
        TableCase{"nested table in a cell",
                  "{\\rtf1 " + kRow +
                      "\\intbl x\\cell\\itap2 n1\\nestcell n2\\nestcell{\\*\\nesttableprops\\trowd"
                      "\\cellx500\\cellx900\\nestrow}\\itap1\\cell\\row}",
                  2, "x|[n1[n2]"},
        TableCase{"vertical merge joins the cells",
                  "{\\rtf1\\trowd\\clvmgf\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row"
                  "\\trowd\\clvmrg\\cellx1000\\cellx2000\\intbl\\cell d\\cell\\row}",
                  1, "a|b/a|d"},
        TableCase{"horizontal merge joins the cells",
                  "{\\rtf1\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\clmrg\\cellx3000\\cellx4000"
                  "\\intbl a\\cell\\cell\\cell d\\cell\\row"
                  "\\trowd\\cellx1000\\clmgf\\cellx2000\\clmrg\\cellx3000\\cellx4000"
                  "\\intbl e\\cell f\\cell\\cell h\\cell\\row}",
                  1, "a|a|a|d/e|f|f|h"}),
    rtftest::caseName<::testing::TestParamInfo<TableCase>>);

TEST(RtfTableFormat, WidthsBordersAndShading) {
    QTextDocument doc;
    ASSERT_TRUE(rtf::importRtf(
        R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green128\blue0;}\trowd\trbrdrl\brdrs\brdrw60)"
        R"(\clbrdrt\brdrs\brdrw45\brdrcf2\clbrdrb\brdrdb\clcbpat1\cellx1500)"
        R"(\clbrdrl\brdrdot\clbrdrr\brdrnone\cellx4500\intbl a\cell b\cell\row})",
        doc));
    const auto found = tables(doc.rootFrame());
    ASSERT_EQ(found.size(), 1u);
    const QTextTableFormat f = found[0]->format();
    EXPECT_TRUE(f.borderCollapse());
    const QList<QTextLength> widths = f.columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_EQ(widths[0].rawValue(), 100.0);  // 1500 twips at 96 per inch
    EXPECT_EQ(widths[1].rawValue(), 200.0);
    // Each side of each cell as the row described it; undescribed sides have none.
    const QTextTableCellFormat a = found[0]->cellAt(0, 0).format().toTableCellFormat();
    const QTextTableCellFormat b = found[0]->cellAt(0, 1).format().toTableCellFormat();
    EXPECT_EQ(a.background().color(), QColor(Qt::red));
    EXPECT_EQ(b.background().style(), Qt::NoBrush);
    EXPECT_EQ(a.topBorder(), 3.0);
    EXPECT_EQ(a.bottomBorderStyle(), QTextFrameFormat::BorderStyle_Double);
    EXPECT_EQ(a.leftBorder(), 0.0);
    EXPECT_EQ(b.leftBorderStyle(), QTextFrameFormat::BorderStyle_Dotted);
    EXPECT_EQ(b.rightBorder(), 0.0);

    // What the reader sees: the green top border of the first cell is drawn.
    doc.setTextWidth(400);
    QImage img(400, int(doc.size().height()) + 2, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    doc.drawContents(&p);
    p.end();
    int greenRows = 0;  // lines across the cell
    for (int y = 0; y < img.height(); ++y) {
        int green = 0;
        for (int x = 0; x < 100; ++x) green += img.pixelColor(x, y) == QColor(0, 128, 0);
        greenRows += green > 60;
    }
    EXPECT_GE(greenRows, 2);
}

// A file of nothing but table cells imports in bounded cells (counted, not timed: the caps are
// what keeps it cheap).
class RtfTableCaps : public ::testing::TestWithParam<const char*> {};

TEST_P(RtfTableCaps, CellFloodsStayBounded) {
    QTextDocument doc;
    ASSERT_TRUE(rtf::importRtf("{\\rtf1 " + QByteArray(GetParam()).repeated(200000) + "}", doc));
    int cells = 0;
    for (QTextTable* t : tables(doc.rootFrame())) {
        EXPECT_LE(t->columns(), 63);  // Word's limit
        cells += t->rows() * t->columns();
    }
    EXPECT_LE(cells, rtf::DocumentBuilder::kMaxTableCells);
}

INSTANTIATE_TEST_SUITE_P(Units, RtfTableCaps,
                         ::testing::Values("\\intbl x\\cell ", "\\intbl x\\cell\\row ",
                                           "\\itap8\\intbl x\\nestcell\\nestrow\\itap1 "));

}  // namespace
