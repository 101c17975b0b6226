#include "rtf/rtf_writer_output.h"

#include <QChar>

namespace rtf {

namespace {

constexpr uint16_t kUnknown = 0;
constexpr uint16_t kNoCode = 1;

}  // namespace

RtfOutput::RtfOutput()
    : gbk_("GBK", QStringEncoder::Flag::Stateless), gbkCache_(0x10000, kUnknown) {}

void RtfOutput::beforeToken() {
    if (out_.size() - lineStart_ >= kLineLength) {
        out_.append('\n');
        lineStart_ = out_.size();
        delimit_ = false;  // the line end ends the word
    }
}

void RtfOutput::put(char c) {
    // A control word runs on over letters and digits, and takes "-digit" as a parameter; a
    // space ends it (and is dropped), so text beginning like that needs one.
    if (delimit_ && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == ' ' || c == '-'))
        out_.append(' ');
    delimit_ = false;
    out_.append(c);
}

void RtfOutput::word(const char* name) {
    beforeToken();
    out_.append('\\');
    out_.append(name);
    delimit_ = true;
}

void RtfOutput::word(const char* name, int param) {
    word(name);
    out_.append(QByteArray::number(param));
}

void RtfOutput::open() {
    beforeToken();
    out_.append('{');
    delimit_ = false;
}

void RtfOutput::close() {
    beforeToken();
    out_.append('}');
    delimit_ = false;
}

void RtfOutput::openIgnorable(const char* name) {
    open();
    out_.append("\\*");
    word(name);
}

uint16_t RtfOutput::gbkCode(char16_t unit) {
    uint16_t& code = gbkCache_[unit];
    if (code != kUnknown) return code;
    code = kNoCode;
    if (QChar::isSurrogate(unit) || !gbk_.isValid()) return code;
    const QChar c(unit);
    // ICU writes a substitute control byte for what the code page lacks.
    const QByteArray bytes = gbk_.encode(QStringView(&c, 1));
    gbk_.resetState();
    if (bytes.size() == 1 && static_cast<unsigned char>(bytes[0]) >= 0x80)
        code = static_cast<unsigned char>(bytes[0]);
    else if (bytes.size() == 2)
        code = uint16_t(static_cast<unsigned char>(bytes[0]) << 8 |
                        static_cast<unsigned char>(bytes[1]));
    return code;
}

void RtfOutput::hexByte(unsigned char byte) {
    static const char digits[] = "0123456789abcdef";
    out_.append(digits[byte >> 4]);
    out_.append(digits[byte & 0xF]);
}

void RtfOutput::putEscaped(char16_t unit, bool gbk) {
    const uint16_t code = gbk ? gbkCode(unit) : kNoCode;
    if (code == kNoCode) {
        // \uN takes a signed 16-bit N; '?' is the one fallback character \uc1 announces.
        word("u", unit > 0x7FFF ? int(unit) - 0x10000 : int(unit));
        put('?');
        return;
    }
    beforeToken();
    if (code > 0xFF) {
        out_.append("\\'");
        hexByte(static_cast<unsigned char>(code >> 8));
    }
    out_.append("\\'");
    hexByte(static_cast<unsigned char>(code & 0xFF));
    delimit_ = false;
}

void RtfOutput::text(QStringView text, bool gbk) {
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        switch (c) {
            case u'\\':
            case u'{':
            case u'}':
                beforeToken();
                put('\\');
                out_.append(char(c));
                continue;
            case u'\t':
                word("tab");
                continue;
            case QChar::LineSeparator:
                word("line");
                continue;
            case QChar::ParagraphSeparator:
                word("par");
                continue;
            case QChar::Nbsp:
                beforeToken();
                put('\\');
                out_.append('~');
                continue;
            case QChar::SoftHyphen:
                beforeToken();
                put('\\');
                out_.append('-');
                continue;
            case 0x2011:  // non-breaking hyphen
                beforeToken();
                put('\\');
                out_.append('_');
                continue;
            default:
                break;
        }
        if (c < 0x20) continue;  // control characters carry no text
        if (c < 0x80) {
            // Text may be broken anywhere: line ends inside it are ignored.
            if (out_.size() - lineStart_ >= kLineLength) beforeToken();
            put(char(c));
        } else {
            putEscaped(c, gbk);
        }
    }
}

void RtfOutput::tableText(QStringView text, bool gbk) {
    QString clean = text.toString();
    clean.remove(u';');
    this->text(clean, gbk);
}

void RtfOutput::hex(QByteArrayView bytes) {
    out_.reserve(out_.size() + bytes.size() * 2 + bytes.size() / 64 + 2);
    if (delimit_) out_.append(' ');
    delimit_ = false;
    for (char b : bytes) {
        if (out_.size() - lineStart_ >= 128) {
            out_.append('\n');
            lineStart_ = out_.size();
        }
        hexByte(static_cast<unsigned char>(b));
    }
}

}  // namespace rtf
