#include "rtf/rtf_builder.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

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

void DocumentBuilder::endCell() {
    // Consecutive empty cells still keep their columns apart.
    if (cellOpen_) append(u"\t");
    cellOpen_ = true;
}

void DocumentBuilder::endRow(const QTextBlockFormat& block, const QTextCharFormat& format) {
    // The tab after the last cell would only trail the row.
    endParagraph(block, format);
}

void DocumentBuilder::omitUnread(qsizetype estimate) {
    if (estimate <= 0) return;
    omitted_ += estimate;
    estimated_ = true;
}

void DocumentBuilder::finish(const QTextBlockFormat& block) {
    flush();
    finishLastBlock(block);
    if (omitted_ > 0) textlimits::appendOmittedTextNote(cursor_, omitted_, estimated_);
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
    setParagraphFormat(block);
}

}  // namespace rtf
