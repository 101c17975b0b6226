#pragma once

#include <QString>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include <vector>

#include "rtf/rtf_state.h"
#include "rtf/rtf_tables.h"
#include "text/text_limits.h"

class QTextDocument;
class QTextTable;

namespace rtf {

// Writes imported text into a QTextDocument. Text is gathered per run of equal formatting and
// inserted in one call, which keeps large documents linear. Within `limits`: an overlong
// paragraph is broken into several with its format, text beyond the total is counted, not kept,
// and a closing note says how much was left out.
class DocumentBuilder {
  public:
    DocumentBuilder(QTextDocument& doc, const textlimits::TextLimits& limits);

    // `formatId` changes whenever `format` does; comparing ids spares comparing formats.
    void insertText(QStringView text, const QTextCharFormat& format, int formatId);
    void endParagraph(const QTextBlockFormat& block, const QTextCharFormat& format);
    // The (first) block of the paragraph being written; invalid once text is left out.
    QTextBlock paragraphBlock();
    // A picture in the text at its own size, kept as an image resource of the document.
    void insertImage(const QImage& image, const QTextCharFormat& format);
    // Deeper tables than this are read as cells of the deepest; more cells than kMaxTableCells
    // in a document are read as text, so a file of nothing but \cell stays cheap to lay out.
    static constexpr int kMaxTableDepth = 8;
    // Qt re-indexes a table's cells on every new row, so one table keeps at most
    // kMaxCellsPerTable; later rows go into its last cell.
    static constexpr int kMaxTableCells = 12000;
    static constexpr int kMaxCellsPerTable = 3000;

    // What follows belongs to a table `depth` deep (0: the body): tables are opened, closed, and
    // rows and columns added as the text arrives.
    void enterTable(int depth);
    // A cell of the table `depth` deep ends. Outside a table the next cell's text follows after
    // a tab.
    void endCell(int depth, const QTextBlockFormat& block, const QTextCharFormat& format);
    // A row ends and takes `row`'s widths, borders, shading and merges. Outside a table it
    // becomes one paragraph.
    void endRow(int depth, const RowState& row, const ColorTable& colors,
                const QTextBlockFormat& block, const QTextCharFormat& format);
    // The last paragraph takes `block`; an empty trailing paragraph left by a final \par is
    // removed so the document does not end in a blank line.
    void finish(const QTextBlockFormat& block);

    bool paragraphHasText() const { return blockHasText_; }
    // True when endRow(depth) ends the current paragraph rather than one a \cell ended.
    bool rowEndsParagraph(int depth) const;
    // Characters kept, and left out beyond the total.
    qsizetype kept() const { return totalChars_; }
    qsizetype omitted() const { return omitted_; }
    // Text that is not read at all is left out too; the note calls its count an estimate.
    void omitUnread(qsizetype estimate);

  private:
    struct OpenTable {
        QTextTable* table = nullptr;
        int row = 0;
        int col = 0;
        bool cellEnded = false;     // the next content goes into the next cell
        bool rowEnded = false;      // ... into a new row
        std::vector<int> mergeTop;  // per column, the row a vertical merge began in, or -1
    };
    void closeTablesDeeperThan(size_t depth);
    bool canAddCells(int n, const QTextTable* table = nullptr) const;
    void countStructure(int before);
    void openTable();
    void moveToCell(OpenTable& t);
    void applyRow(OpenTable& t, const RowState& row, const ColorTable& colors);
    void endTabCell();
    void append(QStringView text);
    void breakParagraph();
    void setParagraphFormat(const QTextBlockFormat& block);
    void flush();
    void finishLastBlock(const QTextBlockFormat& block);

    QTextDocument& doc_;
    QTextCursor cursor_;
    QString pending_;
    QTextCharFormat pendingFormat_;
    int pendingId_ = -1;
    int images_ = 0;
    std::vector<OpenTable> tables_;
    int cells_ = 0;          // table cells made
    bool cellOpen_ = false;  // a cell ended; a tab goes before more text of the row
    bool blockHasText_ = false;

    textlimits::TextLimits limits_;
    qsizetype blockChars_ = 0;  // characters of the current block, pending ones included
    qsizetype totalChars_ = 0;  // characters kept, paragraph breaks included
    qsizetype omitted_ = 0;     // characters left out
    int paragraphStart_ = 0;    // where the paragraph began that overlong breaks split
    bool full_ = false;         // the total is reached
    bool estimated_ = false;    // omitted_ includes unread text
};

}  // namespace rtf
