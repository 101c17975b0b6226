// The reader's handling of \stylesheet, \defchp and \defpap, and of \s and \cs in the text.
#include "rtf/rtf_reader.h"

namespace rtf {

bool Reader::styleSheetWord(const Token& t) const {
    // {\*\cs10 ...} and {\*\ts11 ...} are entries of the sheet, not groups to skip.
    if (stack_.back().dest != Destination::StyleSheet) return false;
    const Action a = lookupKeyword(t.data).action;
    return a == Action::CharStyle || a == Action::OtherStyle;
}

bool Reader::styleSheetWord(const Keyword& k, const Token& t) {
    if (top().dest != Destination::StyleSheet) return false;
    styles_.word(k, t.data, t.param, t.hasParam);
    return true;
}

void Reader::beginStyleSheet(const Token& t) {
    top().dest = Destination::StyleSheet;
    styleSheetDepth_ = stack_.size();
    if (t.data == "defchp") styles_.beginDefaults(StyleSheet::Kind::DefaultCharacter);
    if (t.data == "defpap") styles_.beginDefaults(StyleSheet::Kind::DefaultParagraph);
}

void Reader::endStyleSheet() {
    styles_.endEntry();
    // The defaults hold for the text that follows, as if \plain\pard opened it.
    applyStyle(StyleSheet::Kind::DefaultCharacter, 0);
    applyStyle(StyleSheet::Kind::DefaultParagraph, 0);
}

void Reader::applyStyle(StyleSheet::Kind kind, int number) {
    const auto replay = [this](const StyleWord& w) {
        Token t = Token::of(Token::Type::ControlWord);
        t.data = w.word;
        t.param = w.param;
        t.hasParam = w.hasParam;
        formattingWord(lookupKeyword(t.data), t);
    };
    if (kind == StyleSheet::Kind::Paragraph || kind == StyleSheet::Kind::Character)
        styles_.apply(kind, number, replay);
    else
        styles_.applyDefaults(kind, replay);
}

}  // namespace rtf
