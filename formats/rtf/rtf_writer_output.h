#pragma once

#include <QByteArray>
#include <QStringEncoder>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace rtf {

// The RTF text being written: control words, groups, escaped text and picture data. Lines are
// broken between tokens once they pass kLineLength (readers ignore line ends), and everything is
// appended to one buffer, so writing stays linear in the size of the document.
class RtfOutput {
  public:
    static constexpr qsizetype kLineLength = 200;

    RtfOutput();

    // A control word ("b", "fs"), with a parameter when given.
    void word(const char* name);
    void word(const char* name, int param);
    void open();   // '{'
    void close();  // '}'
    // "{\*\name": a destination readers that do not know it skip.
    void openIgnorable(const char* name);
    // Text in a font whose code page is 936 (`gbk`) or a Latin one: ASCII as it is, characters
    // of the code page as \'hh escapes, the rest as \uN? (UTF-16 units, so a character beyond
    // the BMP is a surrogate pair). Tabs, line separators and the special spaces and hyphens
    // become their control words.
    void text(QStringView text, bool gbk);
    // Bytes as hex digits, as picture data are written.
    void hex(QByteArrayView bytes);
    // Text as it goes into a table entry (a font name): no ';', which would end the entry.
    void tableText(QStringView text, bool gbk);

    const QByteArray& bytes() const { return out_; }

  private:
    void beforeToken();
    void put(char c);
    void putEscaped(char16_t unit, bool gbk);
    void hexByte(unsigned char byte);
    // GBK bytes of a UTF-16 unit: 0 when it has none, else one byte (< 0x100) or two.
    uint16_t gbkCode(char16_t unit);

    QByteArray out_;
    qsizetype lineStart_ = 0;
    bool delimit_ = false;  // a control word ends here; text must not run into it
    QStringEncoder gbk_;
    std::vector<uint16_t> gbkCache_;  // per UTF-16 unit: 0 unknown, 1 none, else the code
};

}  // namespace rtf
