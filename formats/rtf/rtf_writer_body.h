#pragma once

#include <QColor>
#include <QHash>
#include <QString>
#include <QTextCharFormat>
#include <QTextFrame>

#include <vector>

#include "rtf/rtf_writer_output.h"

class QTextBlock;
class QTextDocument;
class QTextImageFormat;
class QTextTable;

namespace rtf {

// Character formatting as RTF states it: table indexes and half-points.
struct RunState {
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    int underline = 0;  // a QTextCharFormat::UnderlineStyle
    bool strike = false;
    int caps = 0;  // 1 all capitals, 2 small capitals
    int foreground = 0;
    int background = 0;
    int valign = 0;  // a QTextCharFormat::VerticalAlignment: normal, super or sub

    bool operator==(const RunState&) const = default;
};

// Writes the body of a document (frames, tables, paragraphs, runs, pictures) while it gathers
// the fonts and colours they use; header() then gives the tables that go before the body.
class BodyWriter {
  public:
    explicit BodyWriter(const QTextDocument& doc);

    void writeFrame(const QTextFrame* frame, int depth);
    // "{\rtf1 ... {\fonttbl ...}{\colortbl ...}": what goes before the body.
    QByteArray header() const;
    const QByteArray& body() const { return out_.bytes(); }

  private:
    struct Font {
        QString family;
        bool chinese = false;
    };

    // A paragraph, `depth` tables deep, ended by `end` ("par", "cell", "nestcell", or nullptr
    // for the last paragraph of the document, which needs no end).
    void writeBlock(const QTextBlock& block, int depth, const char* end);
    // Paragraphs and tables from `it` to the end of its frame or cell; the last paragraph ends
    // with `lastEnd`.
    void writeItems(QTextFrame::iterator it, int depth, const char* lastEnd);
    void writeParagraphFormat(const QTextBlock& block);
    void writeListLabel(const QTextBlock& block);
    void writeRun(const QTextCharFormat& format);
    // A HYPERLINK field around the text that links to `href`; the formatting before it comes
    // back when it closes.
    RunState openLink(const QString& href);
    void closeLink(const RunState& outside);
    void writePicture(const QTextImageFormat& format);    // rtf_writer_pictures.cpp
    void writeTable(const QTextTable* table, int depth);  // rtf_writer_tables.cpp
    void writeRowDefinition(const QTextTable* table, int row);
    void writeCellBorders(const QTextTableCellFormat& cell);

    RunState runState(const QTextCharFormat& format);
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);  // 0 for none

    const QTextDocument& doc_;
    RtfOutput out_;
    RunState run_;  // formatting the output is in
    std::vector<Font> fonts_;
    QHash<QString, int> fontByName_;
    std::vector<QColor> colors_;  // from index 1
    QHash<QRgb, int> colorByRgb_;
    int defaultHalfPoints_ = 24;
};

}  // namespace rtf
