#include "rtf/rtf_lexer.h"

#include <cstdint>
#include <limits>

namespace rtf {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Bytes that end a run of plain text. Control bytes other than tab carry no text in RTF; they
// end the run too and are dropped by next().
bool endsText(unsigned char c) {
    return c == '\\' || c == '{' || c == '}' || (c < 0x20 && c != '\t');
}

}  // namespace

Token Lexer::next() {
    const qsizetype size = in_.size();
    while (pos_ < size) {
        const auto c = static_cast<unsigned char>(in_[pos_]);
        if (c == '{') {
            ++pos_;
            return Token::of(Token::Type::GroupStart);
        }
        if (c == '}') {
            ++pos_;
            return Token::of(Token::Type::GroupEnd);
        }
        if (c == '\\') {
            Token t = controlSequence();
            if (t.type != Token::Type::End) return t;
            continue;  // malformed escape, already consumed
        }
        if (endsText(c)) {
            ++pos_;  // CR, LF, NUL and other control bytes
            continue;
        }
        const qsizetype start = pos_;
        while (pos_ < size && !endsText(static_cast<unsigned char>(in_[pos_]))) ++pos_;
        Token t = Token::of(Token::Type::Text);
        t.data = in_.sliced(start, pos_ - start);
        return t;
    }
    return Token::of(Token::Type::End);
}

// Reads what follows a backslash. Returns an End token when the sequence carries nothing.
Token Lexer::controlSequence() {
    const qsizetype size = in_.size();
    ++pos_;  // the backslash
    if (pos_ >= size) return Token::of(Token::Type::End);
    const char c = in_[pos_];
    if (isLetter(c)) {
        const qsizetype start = pos_;
        while (pos_ < size && isLetter(in_[pos_])) ++pos_;
        Token t = Token::of(Token::Type::ControlWord);
        t.data = in_.sliced(start, pos_ - start);
        bool negative = false;
        if (pos_ + 1 < size && in_[pos_] == '-' && isDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        if (pos_ < size && isDigit(in_[pos_])) {
            // Saturate instead of overflowing: a 100 000-digit parameter is just "very large".
            int64_t value = 0;
            while (pos_ < size && isDigit(in_[pos_])) {
                if (value < (int64_t{1} << 40)) value = value * 10 + (in_[pos_] - '0');
                ++pos_;
            }
            if (negative) value = -value;
            if (value > std::numeric_limits<int>::max()) value = std::numeric_limits<int>::max();
            if (value < std::numeric_limits<int>::min()) value = std::numeric_limits<int>::min();
            t.param = static_cast<int>(value);
            t.hasParam = true;
        }
        if (pos_ < size && in_[pos_] == ' ') ++pos_;  // the delimiting space belongs to the word
        if (t.data == "bin") {
            // Raw bytes follow; their count is bounded by what is left of the input.
            const qsizetype left = size - pos_;
            const qsizetype n = t.param > 0 ? qMin<qsizetype>(t.param, left) : 0;
            Token b = Token::of(Token::Type::Binary);
            b.data = in_.sliced(pos_, n);
            pos_ += n;
            return b;
        }
        return t;
    }
    if (c == '\'') {
        ++pos_;
        if (pos_ + 1 < size) {
            const int hi = hexValue(in_[pos_]);
            const int lo = hexValue(in_[pos_ + 1]);
            if (hi >= 0 && lo >= 0) {
                pos_ += 2;
                Token t = Token::of(Token::Type::HexByte);
                t.byte = static_cast<unsigned char>(hi * 16 + lo);
                return t;
            }
            return Token::of(
                Token::Type::End);  // not hex: drop the escape, read what follows as text
        }
        pos_ = size;  // truncated at the end of the input
        return Token::of(Token::Type::End);
    }
    ++pos_;
    if (c == '\r' || c == '\n') {
        // A backslash before a line end is an old spelling of \par.
        Token t = Token::of(Token::Type::ControlWord);
        t.data = "par";
        return t;
    }
    Token t = Token::of(Token::Type::ControlSymbol);
    t.symbol = c;
    return t;
}

}  // namespace rtf
