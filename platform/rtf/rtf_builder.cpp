#include "platform/rtf/rtf_builder.h"

#include <QTextBlock>
#include <QTextDocument>

namespace platform::rtf {

DocumentBuilder::DocumentBuilder(QTextDocument& doc) : doc_(doc), cursor_(&doc) {
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
    if (formatId != pendingId_) {
        flush();
        pendingFormat_ = format;
        pendingId_ = formatId;
    }
    pending_.append(text);
    blockHasText_ = true;
}

void DocumentBuilder::flush() {
    if (pending_.isEmpty()) return;
    cursor_.insertText(pending_, pendingFormat_);
    pending_.clear();
}

void DocumentBuilder::endParagraph(const QTextBlockFormat& block, const QTextCharFormat& format) {
    flush();
    cellOpen_ = false;
    cursor_.setBlockFormat(block);
    // The character format of an empty paragraph decides its height.
    if (!blockHasText_) cursor_.setBlockCharFormat(format);
    cursor_.insertBlock(QTextBlockFormat(), format);
    blockHasText_ = false;
}

void DocumentBuilder::endCell() {
    // Consecutive empty cells still keep their columns apart.
    if (cellOpen_) {
        pending_.append(u'\t');
        blockHasText_ = true;
    }
    cellOpen_ = true;
}

void DocumentBuilder::endRow(const QTextBlockFormat& block, const QTextCharFormat& format) {
    // The tab after the last cell would only trail the row.
    endParagraph(block, format);
}

void DocumentBuilder::finish(const QTextBlockFormat& block) {
    flush();
    finishLastBlock(block);
    cursor_.endEditBlock();
}

void DocumentBuilder::finishLastBlock(const QTextBlockFormat& block) {
    if (!blockHasText_ && doc_.blockCount() > 1) {
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
    cursor_.setBlockFormat(block);
}

}  // namespace platform::rtf
