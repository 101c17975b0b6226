#include "rtf/rtf_styles.h"

#include <algorithm>

namespace rtf {

bool isStyleFormatting(Action a) {
    switch (a) {
        case Action::Bold:
        case Action::Italic:
        case Action::Underline:
        case Action::UnderlineNone:
        case Action::Strike:
        case Action::FontSize:
        case Action::Font:
        case Action::Foreground:
        case Action::Background:
        case Action::Super:
        case Action::Sub:
        case Action::NoSuperSub:
        case Action::Hidden:
        case Action::AlignLeft:
        case Action::AlignCenter:
        case Action::AlignRight:
        case Action::AlignJustify:
        case Action::LeftIndent:
        case Action::RightIndent:
        case Action::FirstIndent:
        case Action::SpaceBefore:
        case Action::SpaceAfter:
        case Action::LineSpacing:
        case Action::LineMultiple:
        case Action::UnderlineColor:
        case Action::Caps:
        case Action::AssociatedFont:
        case Action::CharacterClass:
            return true;
        default:
            return false;
    }
}

void StyleSheet::beginEntry() {
    endEntry();
    open_ = true;
    kind_ = Kind::Paragraph;
    number_ = 0;
}

void StyleSheet::beginDefaults(Kind kind) {
    endEntry();
    open_ = true;
    kind_ = kind;
    number_ = 0;
}

void StyleSheet::word(const Keyword& k, QByteArrayView word, int param, bool hasParam) {
    if (!open_) beginEntry();
    switch (k.action) {
        case Action::ParaStyle:
            number_ = param;
            return;
        case Action::CharStyle:
            if (kind_ == Kind::Paragraph) kind_ = Kind::Character;
            number_ = param;
            return;
        case Action::OtherStyle:
            kind_ = Kind::Other;  // table and section styles are not applied
            return;
        case Action::BasedOn:
            pending_.basedOn = hasParam ? param : -1;
            return;
        default:
            break;
    }
    if (!isStyleFormatting(k.action) || pending_.words.size() >= kMaxWords) return;
    pending_.words.push_back(StyleWord{word.toByteArray(), param, hasParam});
}

void StyleSheet::endEntry() {
    if (!open_) return;
    open_ = false;
    Style s = std::move(pending_);
    pending_ = Style{};
    switch (kind_) {
        case Kind::Paragraph:
        case Kind::Character: {
            QHash<int, Style>& t = kind_ == Kind::Paragraph ? paragraph_ : character_;
            if (paragraph_.size() + character_.size() < kMaxStyles || t.contains(number_))
                t.insert(number_, std::move(s));
            break;
        }
        case Kind::DefaultCharacter:
            defaultChar_ = std::move(s.words);
            break;
        case Kind::DefaultParagraph:
            defaultPara_ = std::move(s.words);
            break;
        case Kind::Other:
            break;
    }
}

const QHash<int, StyleSheet::Style>& StyleSheet::table(Kind kind) const {
    return kind == Kind::Character ? character_ : paragraph_;
}

void StyleSheet::apply(Kind kind, int number, const Replay& replay) const {
    const QHash<int, Style>& t = table(kind);
    // The chain from the style to its farthest base, then replayed base first.
    std::vector<const Style*> chain;
    std::vector<int> seen;
    for (int n = number; int(chain.size()) < kMaxChain;) {
        if (std::find(seen.begin(), seen.end(), n) != seen.end()) break;
        const auto it = t.find(n);
        if (it == t.end()) break;
        seen.push_back(n);
        chain.push_back(&*it);
        n = it->basedOn;
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        for (const StyleWord& w : (*it)->words) replay(w);
}

void StyleSheet::applyDefaults(Kind kind, const Replay& replay) const {
    for (const StyleWord& w : kind == Kind::DefaultCharacter ? defaultChar_ : defaultPara_)
        replay(w);
}

}  // namespace rtf
