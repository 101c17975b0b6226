#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QString>

#include <vector>

#include "rtf/rtf_codepage.h"

namespace rtf {

struct FontInfo {
    QString name;
    int codePage = 0;  // 0: the document's code page
};

// Collects \fonttbl. Entries come as {\fN\fcharsetM name;} groups or, from some writers, as one
// flat list "\f0 Arial;\f1 Times;"; both end an entry at ';' or at the next \f.
class FontTable {
  public:
    // Real documents use a few dozen fonts with short names; a hostile table could otherwise
    // grow without bound. Later entries and longer names are dropped.
    static constexpr qsizetype kMaxFonts = 4096;
    static constexpr qsizetype kMaxNameLength = 256;  // bytes before decoding, then characters

    void beginFont(int number);
    void setCharset(int charset);
    void setCodePage(int codePage);
    void appendNameBytes(QByteArrayView bytes);
    void appendNameText(const QString& text);
    void endName() { commit(); }
    // Completes the pending entry; names are decoded in the font's own code page.
    void finish() { commit(); }
    // Drops the entry being read and gives back its name bytes and number (-1: none open): in a
    // table that never closed they are the document's first text.
    QByteArray abandon(int* number);

    void setDocumentCodePage(int codePage) { documentCodePage_ = codePage; }
    const FontInfo* find(int number) const;
    qsizetype size() const { return fonts_.size(); }

    CodePageDecoder& decoder() { return decoder_; }

  private:
    void flushNameBytes();
    void commit();

    QHash<int, FontInfo> fonts_;
    CodePageDecoder decoder_;
    int documentCodePage_ = 1252;
    bool open_ = false;  // an entry is being read
    int number_ = 0;
    FontInfo pending_;
    QByteArray nameBytes_;
};

// Collects \colortbl. Index 0 (and every entry written as a bare ';') is the automatic colour,
// represented by an invalid QColor.
class ColorTable {
  public:
    // Entries beyond this are dropped, so a hostile table stays small; their indexes show the
    // automatic colour.
    static constexpr size_t kMaxColors = 65536;

    void setRed(int v) { set(0, v); }
    void setGreen(int v) { set(1, v); }
    void setBlue(int v) { set(2, v); }
    void endEntry();
    QColor color(int index) const;
    size_t size() const { return colors_.size(); }

  private:
    void set(int component, int value);
    std::vector<QColor> colors_;
    int rgb_[3] = {0, 0, 0};
    bool any_ = false;
};

}  // namespace rtf
