// Tables as RTF rows: each row's definition (\trowd: cell edges, merges, borders, shading)
// before its cells, a nested table's inside \nesttableprops before \nestrow, as Word writes them.
#include <QTextTable>

#include <algorithm>

#include "rtf/rtf_writer_body.h"

namespace rtf {

namespace {

constexpr int kTextWidth = 9360;  // twips of a Letter page's text, for tables without widths

// Right edges of the columns, twips from the row's left.
std::vector<int> columnRights(const QTextTable* table) {
    const int columns = table->columns();
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    std::vector<int> rights;
    int right = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength l = c < widths.size() ? widths[c] : QTextLength();
        int w = kTextWidth / std::max(columns, 1);
        if (l.type() == QTextLength::FixedLength) w = qRound(l.rawValue() * 15);
        if (l.type() == QTextLength::PercentageLength) w = qRound(kTextWidth * l.rawValue() / 100);
        right += std::max(w, 1);
        rights.push_back(right);
    }
    return rights;
}

const char* borderWord(int style) {
    switch (style) {
        case QTextFrameFormat::BorderStyle_Double:
            return "brdrdb";
        case QTextFrameFormat::BorderStyle_Dotted:
            return "brdrdot";
        case QTextFrameFormat::BorderStyle_Dashed:
            return "brdrdash";
        case QTextFrameFormat::BorderStyle_DotDash:
            return "brdrdashd";
        case QTextFrameFormat::BorderStyle_DotDotDash:
            return "brdrdashdd";
        case QTextFrameFormat::BorderStyle_Inset:
            return "brdrinset";
        case QTextFrameFormat::BorderStyle_Outset:
            return "brdroutset";
        case QTextFrameFormat::BorderStyle_None:
            return "brdrnone";
        default:
            return "brdrs";
    }
}

}  // namespace

void BodyWriter::writeCellBorders(const QTextTableCellFormat& cell) {
    struct Side {
        const char* word;
        QTextFormat::Property width, style, brush;
    };
    static const Side sides[4] = {
        {"clbrdrt", QTextFormat::TableCellTopBorder, QTextFormat::TableCellTopBorderStyle,
         QTextFormat::TableCellTopBorderBrush},
        {"clbrdrl", QTextFormat::TableCellLeftBorder, QTextFormat::TableCellLeftBorderStyle,
         QTextFormat::TableCellLeftBorderBrush},
        {"clbrdrb", QTextFormat::TableCellBottomBorder, QTextFormat::TableCellBottomBorderStyle,
         QTextFormat::TableCellBottomBorderBrush},
        {"clbrdrr", QTextFormat::TableCellRightBorder, QTextFormat::TableCellRightBorderStyle,
         QTextFormat::TableCellRightBorderBrush},
    };
    for (const Side& s : sides) {
        if (!cell.hasProperty(s.width) && !cell.hasProperty(s.style)) continue;
        const int style = cell.hasProperty(s.style) ? cell.intProperty(s.style)
                                                    : int(QTextFrameFormat::BorderStyle_Solid);
        const qreal width = cell.doubleProperty(s.width);
        out_.word(s.word);
        if (style == QTextFrameFormat::BorderStyle_None || width <= 0) {
            out_.word("brdrnone");
            continue;
        }
        out_.word(borderWord(style));
        out_.word("brdrw", std::max(1, qRound(width * 15)));
        const QBrush brush = cell.brushProperty(s.brush);
        if (brush.style() != Qt::NoBrush) out_.word("brdrcf", colorIndex(brush.color()));
    }
}

void BodyWriter::writeRowDefinition(const QTextTable* table, int row) {
    const QTextTableFormat tf = table->format();
    out_.word("trowd");
    out_.word("trgaph", qRound(tf.cellPadding() * 15));
    if (tf.border() > 0 && tf.borderStyle() != QTextFrameFormat::BorderStyle_None) {
        const int color =
            tf.borderBrush().style() != Qt::NoBrush ? colorIndex(tf.borderBrush().color()) : 0;
        for (const char* side :
             {"trbrdrt", "trbrdrl", "trbrdrb", "trbrdrr", "trbrdrh", "trbrdrv"}) {
            out_.word(side);
            out_.word(borderWord(tf.borderStyle()));
            out_.word("brdrw", std::max(1, qRound(tf.border() * 15)));
            if (color) out_.word("brdrcf", color);
        }
    }
    const std::vector<int> rights = columnRights(table);
    for (int c = 0; c < table->columns(); ++c) {
        const QTextTableCell cell = table->cellAt(row, c);
        if (cell.row() != row)
            out_.word("clvmrg");
        else if (cell.rowSpan() > 1)
            out_.word("clvmgf");
        if (cell.column() != c)
            out_.word("clmrg");
        else if (cell.columnSpan() > 1)
            out_.word("clmgf");
        const QTextTableCellFormat cf = cell.format().toTableCellFormat();
        writeCellBorders(cf);
        if (cf.background().style() != Qt::NoBrush)
            out_.word("clcbpat", colorIndex(cf.background().color()));
        out_.word("cellx", rights[size_t(c)]);
    }
}

void BodyWriter::writeTable(const QTextTable* table, int depth) {
    const char* cellEnd = depth > 1 ? "nestcell" : "cell";
    for (int r = 0; r < table->rows(); ++r) {
        if (depth == 1) writeRowDefinition(table, r);
        bool nested = false;
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() == r && cell.column() == c) {
                for (auto it = cell.begin(); !it.atEnd() && !nested; ++it)
                    nested = it.currentFrame() != nullptr;
                writeItems(cell.begin(), depth, cellEnd);
                continue;
            }
            // A place a merged cell covers: an empty cell the merge words join.
            out_.word("pard");
            out_.word("intbl");
            if (depth > 1) out_.word("itap", depth);
            out_.word(cellEnd);
        }
        if (depth > 1) {
            out_.openIgnorable("nesttableprops");
            writeRowDefinition(table, r);
            out_.word("nestrow");
            out_.close();
        } else {
            // A nested table's definitions came in between: the row's own is given again.
            if (nested) writeRowDefinition(table, r);
            out_.word("row");
        }
    }
}

}  // namespace rtf
