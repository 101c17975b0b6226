#pragma once

#include <QByteArrayView>

namespace rtf {

// One lexical unit of an RTF byte stream. Views point into the input, which must outlive them.
struct Token {
    enum class Type {
        End,
        GroupStart,
        GroupEnd,
        ControlWord,
        ControlSymbol,
        HexByte,
        Text,
        Binary
    };
    Type type = Type::End;
    QByteArrayView data;  // control word name, text run or binary payload
    int param = 0;        // control word parameter, clamped to 32 bits
    bool hasParam = false;
    char symbol = 0;         // control symbol character
    unsigned char byte = 0;  // value of a \'hh escape

    static Token of(Type type) {
        Token t;
        t.type = type;
        return t;
    }
};

// Splits RTF into tokens. Never reads past the input; malformed escapes are dropped and a
// \binN payload is cut at the end of the input, so every call makes progress.
class Lexer {
  public:
    explicit Lexer(QByteArrayView input) : in_(input) {}
    Token next();
    // Bytes read so far, and in all.
    qsizetype position() const { return pos_; }
    qsizetype size() const { return in_.size(); }

  private:
    Token controlSequence();
    QByteArrayView in_;
    qsizetype pos_ = 0;
};

}  // namespace rtf
