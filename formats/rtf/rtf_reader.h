#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QTextCharFormat>

#include <array>
#include <vector>

#include "rtf/rtf_builder.h"
#include "rtf/rtf_keywords.h"
#include "rtf/rtf_lexer.h"
#include "rtf/rtf_lists.h"
#include "rtf/rtf_picture.h"
#include "rtf/rtf_state.h"
#include "rtf/rtf_styles.h"
#include "rtf/rtf_tables.h"

class QTextDocument;

namespace rtf {

// Interprets the token stream: group state, destinations, code pages, \u and \uc, and hands
// formatted text to the DocumentBuilder. Groups live on an explicit stack so that deep nesting
// costs memory in proportion to the (capped) depth, never native stack.
class Reader {
  public:
    Reader(QByteArrayView input, QTextDocument& doc, const textlimits::TextLimits& limits);
    void run();
    // The destinations skipped that held content of the document (see ImportLosses).
    const QStringList& lostDestinations() const { return lost_; }

    // Deeper groups still read their text, but share the state of the deepest saved group.
    static constexpr int kMaxDepth = 10000;

  private:
    GroupState& top() { return stack_.back(); }
    void groupStart();
    void groupEnd();
    void text(QByteArrayView bytes);
    void hexByte(unsigned char byte);
    void controlSymbol(char symbol);
    void controlWord(const Token& t);
    bool destinationWord(const Keyword& k, const Token& t);
    bool tableWord(const Keyword& k, const Token& t);
    void formattingWord(const Keyword& k, const Token& t);
    void unicode(int param);
    // Stylesheet and default formatting (rtf_reader_styles.cpp).
    bool styleSheetWord(const Token& t) const;
    bool styleSheetWord(const Keyword& k, const Token& t);
    void beginStyleSheet(const Token& t);
    void endStyleSheet();
    void applyStyle(StyleSheet::Kind kind, int number);
    // Associated fonts, page breaks, a font table left open (rtf_reader_fonts.cpp).
    void putByScript(QStringView s);
    void pageBreak();
    void footnoteMark();
    QTextBlockFormat blockFormat() { return blockFormat(top().para); }
    QTextBlockFormat blockFormat(const ParaState& p);
    static bool endsFontTable(Action a);
    void leaveFontTable();
    void strayFontEntry();
    // Cell borders and horizontal merges (rtf_reader_cells.cpp).
    bool cellWord(const Keyword& k, const Token& t);

    // Body text output.
    void appendBytes(QByteArrayView bytes);
    void flushBytes();
    void put(QStringView s);
    void putChar(char16_t c) { put(QStringView(&c, 1)); }
    void resolveSurrogate();
    const QTextCharFormat& charFormat();
    int currentCodePage() const;
    void endParagraph();
    QTextBlockFormat paragraphFormat();      // of the paragraph that ends, list membership included
    QTextBlockFormat rowFormat(int depth);   // for \row, which may end a list item
    QTextBlockFormat lastParagraphFormat();  // the file's last, which may lack its \par
    void collectLabel(QStringView s);
    void placeLabel();
    void finishPicture();
    int cellDepth(const Token& t) const;
    void finishFieldInstruction();

  public:
    // A document holds at most this many pictures and this many of their pixels; later ones
    // are left out, so a file of many large pictures stays within memory.
    static constexpr int kMaxPictures = 1000;
    static constexpr qint64 kMaxPicturePixels = 64LL * 1024 * 1024;

  private:
    Lexer lexer_;
    DocumentBuilder builder_;
    FontTable fonts_;
    ColorTable colors_;
    StyleSheet styles_;
    size_t styleSheetDepth_ = 0;    // stack depth of the \stylesheet group
    ParaState finalPara_;           // paragraph state as the document group closed
    bool pageBreakBefore_ = false;  // the next paragraph starts a page
    int footnotes_ = 0;             // footnote marks numbered so far
    bool fontTableLeft_ = false;    // the font table ran into the text
    int borderSide_ = -1;           // the side of the next cell that border words describe
    std::vector<GroupState> stack_;
    int overflowDepth_ = 0;  // groups opened beyond kMaxDepth
    // Notes a skipped destination when it is one whose content a person wrote.
    void skipped(QByteArrayView word, bool unknown);
    QStringList lost_;
    int skipDepth_ = 0;       // groups opened inside a skipped destination
    int skipChars_ = 0;       // fallback characters of a \uN still to skip
    bool ignorable_ = false;  // the previous token was \*
    int ansiCodePage_ = 1252;
    int defaultFont_ = 0;
    char16_t pendingHigh_ = 0;  // high surrogate waiting for its low half

    PictureReader picture_;
    int pictures_ = 0;
    qint64 picturePixels_ = 0;
    int shapeStart_ = 0;  // pictures_ when the current shape began
    RowState row_;
    ListTracker lists_;
    WrittenLabel label_;
    QByteArray fieldInst_;  // instruction of the field being read
    std::vector<QString> links_;
    static constexpr size_t kMaxLinks = 4096;
    static constexpr qsizetype kMaxInstruction = 4096;

    QByteArray bytes_;  // undecoded body bytes, all in bytesCodePage_
    int bytesCodePage_ = 0;

    struct CachedFormat {
        CharState state;
        QTextCharFormat format;
        int id = -1;
    };
    std::array<CachedFormat, 8> formats_;
    size_t current_ = 0;
    size_t nextSlot_ = 0;
    int formatId_ = -1;  // id of the format last handed out
    int lastId_ = -1;
};

}  // namespace rtf
