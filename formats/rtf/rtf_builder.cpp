#include "rtf/rtf_builder.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>

#include <QUrl>
#include <algorithm>

namespace rtf {

DocumentBuilder::DocumentBuilder(QTextDocument& doc, const textlimits::TextLimits& limits)
    : doc_(doc), cursor_(&doc), limits_(limits) {
    // One edit block for the whole import: inside it the cursor skips per-insertion layout work,
    // and the document is laid out once at the end.
    cursor_.beginEditBlock();
}

void DocumentBuilder::insertText(QStringView text, const QTextCharFormat& format, int formatId) {
    if (text.isEmpty()) return;
    if (cellOpen_) {
        cellOpen_ = false;
        insertText(u"\t", format, formatId);
    }
    if (full_) {
        omitted_ += textlimits::characterCount(text);
        return;
    }
    if (formatId != pendingId_) {
        flush();
        pendingFormat_ = format;
        pendingId_ = formatId;
    }
    append(text);
}

void DocumentBuilder::append(QStringView text) {
    while (!text.isEmpty()) {
        if (full_) {
            omitted_ += textlimits::characterCount(text);
            return;
        }
        const textlimits::ParagraphPiece piece =
            textlimits::nextParagraphPiece(text, blockChars_, limits_.paragraphChars);
        const qsizetype take =
            textlimits::wholeCharacters(text.first(piece.length), limits_.totalChars - totalChars_);
        pending_.append(text.first(take));
        text = text.sliced(take);
        blockChars_ += take;
        totalChars_ += take;
        if (take > 0) blockHasText_ = true;
        if (take < piece.length || totalChars_ >= limits_.totalChars) {
            full_ = true;
        } else if (piece.breakAfter) {
            breakParagraph();
        }
    }
}

void DocumentBuilder::breakParagraph() {
    // The new block copies the paragraph's formats; its own format is set when it ends.
    flush();
    cursor_.insertBlock();
    ++totalChars_;
    blockChars_ = 0;
    blockHasText_ = false;
}

void DocumentBuilder::setParagraphFormat(const QTextBlockFormat& block) {
    if (paragraphStart_ >= cursor_.block().position()) {
        cursor_.setBlockFormat(block);
        return;
    }
    // An overlong paragraph was broken: every piece takes the paragraph's format.
    QTextCursor paragraph(&doc_);
    paragraph.setPosition(paragraphStart_);
    paragraph.setPosition(cursor_.position(), QTextCursor::KeepAnchor);
    paragraph.setBlockFormat(block);
}

void DocumentBuilder::flush() {
    if (pending_.isEmpty()) return;
    cursor_.insertText(pending_, pendingFormat_);
    pending_.clear();
}

void DocumentBuilder::endParagraph(const QTextBlockFormat& block, const QTextCharFormat& format) {
    flush();
    cellOpen_ = false;
    if (full_) return;
    setParagraphFormat(block);
    // The character format of an empty paragraph decides its height.
    if (!blockHasText_) cursor_.setBlockCharFormat(format);
    if (totalChars_ >= limits_.totalChars) {
        full_ = true;
        return;
    }
    cursor_.insertBlock(QTextBlockFormat(), format);
    ++totalChars_;
    blockChars_ = 0;
    paragraphStart_ = cursor_.position();
    blockHasText_ = false;
}

QTextBlock DocumentBuilder::paragraphBlock() {
    flush();
    return full_ ? QTextBlock() : doc_.findBlock(paragraphStart_);
}

void DocumentBuilder::insertImage(const QImage& image, const QTextCharFormat& format) {
    if (cellOpen_) {
        cellOpen_ = false;
        append(u"\t");
    }
    if (full_ || totalChars_ >= limits_.totalChars) {
        full_ = true;
        ++omitted_;
        return;
    }
    flush();
    // A picture is a character of its paragraph: an overlong paragraph breaks before it too.
    if (blockChars_ >= limits_.paragraphChars) {
        breakParagraph();
        if (totalChars_ >= limits_.totalChars) {
            full_ = true;
            ++omitted_;
            return;
        }
    }
    const QString name = QStringLiteral("rtf-picture:%1").arg(++images_);
    doc_.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.merge(format);
    f.setName(name);
    f.setWidth(image.width());
    f.setHeight(image.height());
    cursor_.insertImage(f);
    pendingId_ = -1;  // the cursor's format is now the image's
    ++blockChars_;
    ++totalChars_;
    blockHasText_ = true;
}

void DocumentBuilder::endTabCell() {
    // Consecutive empty cells still keep their columns apart.
    if (cellOpen_) append(u"\t");
    cellOpen_ = true;
}

bool DocumentBuilder::canAddCells(int n, const QTextTable* table) const {
    if (table && table->rows() * table->columns() + n > kMaxCellsPerTable) return false;
    // A new table adds its frame marks and may add a paragraph after it.
    return !full_ && cells_ + n <= kMaxTableCells && totalChars_ + n + 3 <= limits_.totalChars;
}

void DocumentBuilder::closeTablesDeeperThan(size_t depth) {
    while (tables_.size() > depth) {
        flush();
        const int after = tables_.back().table->lastPosition() + 1;
        tables_.pop_back();
        cursor_.setPosition(std::min(after, doc_.characterCount() - 1));
        blockChars_ = cursor_.block().length() - 1;
        blockHasText_ = blockChars_ > 0;
        paragraphStart_ = cursor_.block().position();
    }
}

void DocumentBuilder::countStructure(int before) {
    // Cells and frame marks are characters of the document like paragraph breaks.
    totalChars_ += std::max(doc_.characterCount() - before, 0);
    if (totalChars_ >= limits_.totalChars) full_ = true;
}

namespace {

// True when `block` is in the same frame and table cell as the cursor.
bool inSameCell(const QTextBlock& block, const QTextCursor& cursor) {
    if (!block.isValid()) return false;
    const QTextCursor at(block);
    if (at.currentFrame() != cursor.currentFrame()) return false;
    const QTextTable* table = cursor.currentTable();
    return !table || table->cellAt(at) == table->cellAt(cursor);
}

}  // namespace

void DocumentBuilder::openTable() {
    flush();
    QTextTableFormat f;
    f.setBorder(0);
    f.setCellPadding(2);
    f.setCellSpacing(0);
    f.setBorderCollapse(true);
    OpenTable t;
    const int before = doc_.characterCount();
    // Qt puts a table after the paragraph the cursor is in, so the empty paragraph the \par
    // before a table began would stay as a blank line above it; the table follows the
    // paragraph that \par ended instead.
    if (cursor_.block().length() == 1 && inSameCell(cursor_.block().previous(), cursor_))
        cursor_.deletePreviousChar();
    t.table = cursor_.insertTable(1, 1, f);
    ++cells_;
    countStructure(before);
    tables_.push_back(t);
    moveToCell(tables_.back());
}

void DocumentBuilder::moveToCell(OpenTable& t) {
    flush();
    cursor_.setPosition(t.table->cellAt(t.row, t.col).lastCursorPosition().position());
    blockChars_ = cursor_.block().length() - 1;
    blockHasText_ = blockChars_ > 0;
    paragraphStart_ = cursor_.block().position();
    cellOpen_ = false;
}

void DocumentBuilder::enterTable(int depth) {
    const size_t want = size_t(std::clamp(depth, 0, kMaxTableDepth));
    if (tables_.empty() && want == 0) return;
    closeTablesDeeperThan(want);
    for (;;) {
        if (!tables_.empty()) {
            OpenTable& t = tables_.back();
            if (t.rowEnded && canAddCells(t.table->columns(), t.table)) {
                const int before = doc_.characterCount();
                t.table->appendRows(1);
                cells_ += t.table->columns();
                countStructure(before);
                ++t.row;
                t.col = 0;
                t.rowEnded = t.cellEnded = false;
                moveToCell(t);
            } else if (t.cellEnded && !t.rowEnded) {
                t.cellEnded = false;
                if (t.col + 1 >= t.table->columns()) {
                    if (t.table->columns() >= int(RowState::kMaxCells) ||
                        !canAddCells(t.table->rows(), t.table))
                        continue;  // stays in the last cell
                    const int before = doc_.characterCount();
                    t.table->appendColumns(1);
                    cells_ += t.table->rows();
                    countStructure(before);
                }
                ++t.col;
                moveToCell(t);
            }
        }
        if (tables_.size() >= want || !canAddCells(1)) return;
        openTable();
    }
}

void DocumentBuilder::endCell(int depth, const QTextBlockFormat& block,
                              const QTextCharFormat& format) {
    if (depth > 0) enterTable(depth);
    if (depth == 0 || tables_.size() != size_t(std::min(depth, kMaxTableDepth))) {
        endTabCell();
        return;
    }
    flush();
    setParagraphFormat(block);
    if (!blockHasText_) cursor_.setBlockCharFormat(format);
    tables_.back().cellEnded = true;
}

bool DocumentBuilder::rowEndsParagraph(int depth) const {
    const size_t want = size_t(std::clamp(depth, 0, kMaxTableDepth));
    if (want == 0) return tables_.empty();
    return tables_.size() == want && !tables_.back().cellEnded;
}

void DocumentBuilder::endRow(int depth, const RowState& row, const ColorTable& colors,
                             const QTextBlockFormat& block, const QTextCharFormat& format) {
    const size_t want = size_t(std::clamp(depth, 0, kMaxTableDepth));
    if (want > 0 && tables_.size() >= want) closeTablesDeeperThan(want);
    if (want == 0 || tables_.size() != want) {
        // The tab after the last cell would only trail the row.
        endParagraph(block, format);
        return;
    }
    flush();
    OpenTable& t = tables_.back();
    if (!t.cellEnded) {
        setParagraphFormat(block);
        if (!blockHasText_) cursor_.setBlockCharFormat(format);
    }
    t.cellEnded = false;
    t.rowEnded = true;
    applyRow(t, row, colors);
}

namespace {

// A cell's own borders, side by side; a side the row did not describe has none.
void setCellBorders(QTextTableCellFormat& f, const RowState::Cell& c, const ColorTable& colors) {
    using Style = QTextFrameFormat::BorderStyle;
    const QTextFormat::Property width[4] = {
        QTextFormat::TableCellTopBorder, QTextFormat::TableCellLeftBorder,
        QTextFormat::TableCellBottomBorder, QTextFormat::TableCellRightBorder};
    const QTextFormat::Property style[4] = {
        QTextFormat::TableCellTopBorderStyle, QTextFormat::TableCellLeftBorderStyle,
        QTextFormat::TableCellBottomBorderStyle, QTextFormat::TableCellRightBorderStyle};
    const QTextFormat::Property brush[4] = {
        QTextFormat::TableCellTopBorderBrush, QTextFormat::TableCellLeftBorderBrush,
        QTextFormat::TableCellBottomBorderBrush, QTextFormat::TableCellRightBorderBrush};
    for (int i = 0; i < 4; ++i) {
        const RowState::Cell::Side& s = c.sides[i];
        const bool drawn = s.style != QTextFrameFormat::BorderStyle_None;
        // \brdrw is in twips; a drawn border is at least a pixel wide (96 per inch).
        f.setProperty(width[i], drawn ? std::max(s.width / 15.0, 1.0) : 0.0);
        f.setProperty(style[i], int(drawn ? Style(s.style) : QTextFrameFormat::BorderStyle_None));
        const QColor color = colors.color(s.color);
        f.setProperty(brush[i], QBrush(color.isValid() ? color : QColor(Qt::black)));
    }
}

}  // namespace

void DocumentBuilder::applyRow(OpenTable& t, const RowState& row, const ColorTable& colors) {
    const int columns = t.table->columns();
    const int defined = std::min<int>(columns, int(row.cells.size()));
    QTextTableFormat f = t.table->format();
    // Qt draws each cell's own borders in the collapsed border model only.
    const bool cellBorders = std::any_of(row.cells.begin(), row.cells.begin() + defined,
                                         [](const RowState::Cell& c) { return c.hasSides; });
    if (cellBorders) f.setBorderCollapse(true);
    if (row.borders && f.border() == 0) {
        f.setBorder(1);
        f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        f.setBorderBrush(Qt::black);
    }
    if (defined == columns) {
        // \cellx are right edges; each column takes its width in pixels at 96 per inch.
        QList<QTextLength> widths;
        int left = 0;
        for (int i = 0; i < defined; ++i) {
            const int right = row.cells[size_t(i)].right;
            widths << QTextLength(QTextLength::FixedLength, std::max(right - left, 0) / 15.0);
            left = std::max(left, right);
        }
        f.setColumnWidthConstraints(widths);
    }
    if (f != t.table->format()) t.table->setFormat(f);
    t.mergeTop.resize(size_t(columns), -1);
    for (int i = 0; i < defined; ++i) {
        const RowState::Cell& c = row.cells[size_t(i)];
        const QColor bg = colors.color(c.shading);
        if (bg.isValid() || c.hasSides) {
            QTextTableCellFormat cf = t.table->cellAt(t.row, i).format().toTableCellFormat();
            if (bg.isValid()) cf.setBackground(bg);
            if (c.hasSides) setCellBorders(cf, c, colors);
            t.table->cellAt(t.row, i).setFormat(cf);
        }
        int& top = t.mergeTop[size_t(i)];
        if (c.mergeFirst) {
            top = t.row;
        } else if (c.merged && top >= 0 && top < t.row) {
            t.table->mergeCells(top, i, t.row - top + 1, 1);
        } else {
            top = -1;
        }
    }
    // Horizontal merges: \clmgf and the \clmrg cells after it become one cell.
    for (int i = 0; i < defined;) {
        int span = 1;
        if (row.cells[size_t(i)].hMergeFirst)
            while (i + span < defined && row.cells[size_t(i + span)].hMerged) ++span;
        if (span > 1 && t.table->cellAt(t.row, i).rowSpan() == 1)
            t.table->mergeCells(t.row, i, 1, span);
        i += span;
    }
}

void DocumentBuilder::omitUnread(qsizetype estimate) {
    if (estimate <= 0) return;
    omitted_ += estimate;
    estimated_ = true;
}

void DocumentBuilder::finish(const QTextBlockFormat& block) {
    flush();
    closeTablesDeeperThan(0);
    finishLastBlock(block);
    if (omitted_ > 0) textlimits::appendOmittedTextNote(cursor_, omitted_, estimated_);
    cursor_.endEditBlock();
}

void DocumentBuilder::finishLastBlock(const QTextBlockFormat& block) {
    QTextCursor previous(cursor_.block().previous());
    if (!blockHasText_ && doc_.blockCount() > 1 && !previous.currentTable()) {
        // A final \par closes the last paragraph; it does not open another one. Removing the
        // separator leaves the empty block's formats, so the closed paragraph's are put back.
        const QTextBlock closed = cursor_.block().previous();
        const QTextBlockFormat block = closed.blockFormat();
        const QTextCharFormat chars = closed.charFormat();
        cursor_.deletePreviousChar();
        cursor_.setBlockFormat(block);
        cursor_.setBlockCharFormat(chars);
        return;
    }
    setParagraphFormat(block);
}

}  // namespace rtf
