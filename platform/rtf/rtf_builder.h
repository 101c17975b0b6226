#pragma once

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;

namespace platform::rtf {

// Writes imported text into a QTextDocument. Text is gathered per run of equal formatting and
// inserted in one call, which keeps large documents linear.
class DocumentBuilder {
  public:
    explicit DocumentBuilder(QTextDocument& doc);

    // `formatId` changes whenever `format` does; comparing ids spares comparing formats.
    void insertText(QStringView text, const QTextCharFormat& format, int formatId);
    void endParagraph(const QTextBlockFormat& block, const QTextCharFormat& format);
    // A table cell ends: the next cell's text follows after a tab.
    void endCell();
    // A table row ends: it becomes one paragraph.
    void endRow(const QTextBlockFormat& block, const QTextCharFormat& format);
    // The last paragraph takes `block`; an empty trailing paragraph left by a final \par is
    // removed so the document does not end in a blank line.
    void finish(const QTextBlockFormat& block);

  private:
    void flush();
    void finishLastBlock(const QTextBlockFormat& block);

    QTextDocument& doc_;
    QTextCursor cursor_;
    QString pending_;
    QTextCharFormat pendingFormat_;
    int pendingId_ = -1;
    bool cellOpen_ = false;  // a cell ended; a tab goes before more text of the row
    bool blockHasText_ = false;
};

}  // namespace platform::rtf
