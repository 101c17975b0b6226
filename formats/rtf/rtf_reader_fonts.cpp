// The reader's character formats and fonts: the format cache, code pages, associated fonts
// (\dbch\af), page breaks, footnote marks, and a font table that never closes.
#include "rtf/rtf_reader.h"

#include <algorithm>

#include "rtf/rtf_format.h"
#include "rtf/rtf_styles.h"

namespace rtf {

namespace {

// Characters RTF writers give the double-byte (\dbch) font: CJK scripts, their punctuation and
// full-width forms.
bool isDoubleByte(char16_t c) {
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF);
}

}  // namespace

const QTextCharFormat& Reader::charFormat() {
    const CharState& c = top().chr;
    if (formatId_ >= 0 && c == formats_[current_].state) return formats_[current_].format;
    // Documents alternate between a few formats; building a QTextCharFormat is the costly part.
    for (size_t i = 0; i < formats_.size(); ++i) {
        if (formats_[i].id >= 0 && formats_[i].state == c) {
            current_ = i;
            formatId_ = formats_[i].id;
            return formats_[i].format;
        }
    }
    current_ = nextSlot_;
    nextSlot_ = (nextSlot_ + 1) % formats_.size();
    CachedFormat& slot = formats_[current_];
    slot.state = c;
    slot.format = toCharFormat(c, fonts_.find(c.font >= 0 ? c.font : defaultFont_), colors_);
    if (c.link >= 0 && size_t(c.link) < links_.size()) {
        slot.format.setAnchor(true);
        slot.format.setAnchorHref(links_[size_t(c.link)]);
    }
    slot.id = ++lastId_;
    formatId_ = slot.id;
    return slot.format;
}

int Reader::currentCodePage() const {
    const CharState& c = stack_.back().chr;
    const FontInfo* font = fonts_.find(c.font >= 0 ? c.font : defaultFont_);
    return font && font->codePage ? font->codePage : ansiCodePage_;
}

void Reader::putByScript(QStringView s) {
    // Each stretch of CJK text takes the \dbch font, the rest the text's own.
    while (!s.isEmpty()) {
        const bool wide = isDoubleByte(s.front().unicode());
        qsizetype n = 1;
        while (n < s.size() && isDoubleByte(s[n].unicode()) == wide) ++n;
        const CharState saved = top().chr;
        if (wide) top().chr.font = saved.doubleByteFont;
        const QTextCharFormat& format = charFormat();
        builder_.insertText(s.first(n), format, formatId_);
        top().chr = saved;
        s = s.sliced(n);
    }
}

QTextBlockFormat Reader::blockFormat(const ParaState& p) {
    QTextBlockFormat f = toBlockFormat(p);
    if (pageBreakBefore_) f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return f;
}

void Reader::pageBreak() {
    // \page and \sect end the paragraph they stand in; the next one starts the page. A break
    // right after \par starts the paragraph that follows instead of leaving an empty one.
    if (top().dest != Destination::Body) return;
    flushBytes();
    if (builder_.paragraphHasText()) endParagraph();
    pageBreakBefore_ = true;
}

void Reader::footnoteMark() {
    // The footnote's own text is not shown; its number in the text is, counted from 1.
    if (top().dest != Destination::Body) return;
    flushBytes();
    resolveSurrogate();
    put(QString::number(++footnotes_));
}

bool Reader::endsFontTable(Action a) {
    switch (a) {
        case Action::Par:
        case Action::PageBreak:
        case Action::Pard:
        case Action::Plain:
        case Action::Line:
        case Action::Cell:
        case Action::Row:
        case Action::InTable:
        case Action::RowDefaults:
        case Action::ParaStyle:
        case Action::CharStyle:
            return true;
        default:
            return isStyleFormatting(a) && a != Action::Font;
    }
}

void Reader::leaveFontTable() {
    // A font table that runs on into the text: it ends at the first word only text uses, and
    // every group still reading it reads text from here on. The entry being read was text.
    int number = -1;
    const QByteArray text = fonts_.abandon(&number);
    fonts_.finish();
    for (GroupState& g : stack_)
        if (g.dest == Destination::FontTable) g.dest = Destination::Body;
    for (CachedFormat& f : formats_) f.id = -1;
    formatId_ = -1;
    if (number >= 0) top().chr.font = number;
    fontTableLeft_ = true;
    bytes_.append(text.trimmed());
    flushBytes();
}

void Reader::strayFontEntry() {
    // After a font table that ran into the text, {\f1\fnil Name;} is a late entry of it, not
    // text: the group reads as the font table from here.
    if (!fontTableLeft_ || top().dest != Destination::Body || stack_.size() < 3) return;
    flushBytes();
    top().dest = Destination::FontTable;
    fonts_.beginFont(std::max(top().chr.font, 0));
}

}  // namespace rtf
