#include "rtf/rtf_tables.h"

#include <algorithm>

#include "rtf/rtf_symbol.h"

namespace rtf {

void FontTable::beginFont(int number) {
    commit();
    open_ = true;
    number_ = number;
}

void FontTable::setCharset(int charset) {
    // An explicit \cpg wins over the charset's code page.
    if (pending_.codePage == 0) pending_.codePage = codePageForCharset(charset);
}

void FontTable::setCodePage(int codePage) {
    pending_.codePage = codePage;
}

void FontTable::appendNameBytes(QByteArrayView bytes) {
    if (!open_) return;
    nameBytes_.append(bytes.first(std::min(bytes.size(), kMaxNameLength - nameBytes_.size())));
}

void FontTable::appendNameText(const QString& text) {
    if (!open_) return;
    flushNameBytes();
    pending_.name += text;
    pending_.name.truncate(kMaxNameLength);
}

void FontTable::flushNameBytes() {
    if (nameBytes_.isEmpty()) return;
    // Names of symbol fonts are ordinary text; only their glyph bytes are special.
    int cp = pending_.codePage ? pending_.codePage : documentCodePage_;
    if (cp == kSymbolCodePage) cp = documentCodePage_;
    pending_.name += decoder_.decode(nameBytes_, cp);
    pending_.name.truncate(kMaxNameLength);
    nameBytes_.clear();
}

QByteArray FontTable::abandon(int* number) {
    *number = open_ ? number_ : -1;
    QByteArray bytes = open_ ? std::move(nameBytes_) : QByteArray();
    nameBytes_.clear();
    pending_ = FontInfo{};
    open_ = false;
    return bytes;
}

void FontTable::commit() {
    if (!open_) return;
    flushNameBytes();
    pending_.name = pending_.name.trimmed();
    if (pending_.codePage == kSymbolCodePage &&
        pending_.name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        pending_.codePage = kAdobeSymbolCodePage;
    // The first definition of a number counts, as Word reads it.
    if (!fonts_.contains(number_) && fonts_.size() < kMaxFonts) fonts_.insert(number_, pending_);
    pending_ = FontInfo{};
    open_ = false;
}

const FontInfo* FontTable::find(int number) const {
    auto it = fonts_.constFind(number);
    return it == fonts_.constEnd() ? nullptr : &it.value();
}

void ColorTable::set(int component, int value) {
    rgb_[component] = std::clamp(value, 0, 255);
    any_ = true;
}

void ColorTable::endEntry() {
    if (colors_.size() < kMaxColors)
        colors_.push_back(any_ ? QColor(rgb_[0], rgb_[1], rgb_[2]) : QColor());
    rgb_[0] = rgb_[1] = rgb_[2] = 0;
    any_ = false;
}

QColor ColorTable::color(int index) const {
    if (index <= 0 || static_cast<size_t>(index) >= colors_.size()) return {};
    return colors_[static_cast<size_t>(index)];
}

}  // namespace rtf
