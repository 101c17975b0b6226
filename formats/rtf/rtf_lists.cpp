#include "rtf/rtf_lists.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>

namespace rtf {

namespace {

constexpr int kMaxStart = 32767;
constexpr int kMaxIndent = 31680;  // twips: 22 inches, wider than any page

int clampStart(int v) {
    return std::clamp(v, 0, kMaxStart);
}

// Word's \levelnfc: the number formats Qt can draw; every other format is shown as decimal.
void setNumberFormat(ListLevel& level, int nfc) {
    level.kind = ListLevel::Kind::Number;
    switch (nfc) {
        case 1:
            level.style = QTextListFormat::ListUpperRoman;
            break;
        case 2:
            level.style = QTextListFormat::ListLowerRoman;
            break;
        case 3:
            level.style = QTextListFormat::ListUpperAlpha;
            break;
        case 4:
            level.style = QTextListFormat::ListLowerAlpha;
            break;
        case 23:
            level.kind = ListLevel::Kind::Bullet;
            break;
        case 255:
            level.kind = ListLevel::Kind::None;
            break;
        default:
            level.style = QTextListFormat::ListDecimal;
            break;
    }
}

// Symbol and Wingdings glyphs arrive as U+F000 + byte; these are the bullets lists use, as the
// Unicode characters that look like them.
char16_t lookAlike(char16_t c) {
    switch (c) {
        case u'\uF0B7':  // Symbol
        case u'\uF09F':  // Wingdings small bullet
            return u'\u2022';
        case u'\uF06C':
            return u'\u25CF';
        case u'\uF06F':  // Courier New's 'o' and Wingdings' hollow square are both drawn hollow
        case u'\uF0A1':
            return u'\u25CB';
        case u'\uF0A7':
            return u'\u25AA';
        case u'\uF06E':
            return u'\u25A0';
        case u'\uF0D8':
            return u'\u27A2';
        case u'\uF0FC':
            return u'\u2713';
        default:
            return c;
    }
}

// The shape Qt draws for a bullet character. Qt 6.4 draws only discs, circles and squares, so a
// character like an arrow or a check mark is shown as a disc: the paragraph stays a list item,
// indented and measured as one, where writing the character into the text would make it part of
// what the reader copies and searches.
QTextListFormat::Style bulletStyle(const QString& text) {
    for (const QChar ch : text) {
        if (ch.unicode() < ListLevel::kPlaceholders) continue;
        switch (lookAlike(ch.unicode())) {
            case u'o':
            case u'\u25E6':
            case u'\u25CB':
                return QTextListFormat::ListCircle;
            case u'\u00A7':  // Wingdings' square, read without its font
            case u'\u25AA':
            case u'\u25A0':
                return QTextListFormat::ListSquare;
            default:
                return QTextListFormat::ListDisc;
        }
    }
    return QTextListFormat::ListDisc;
}

QString roman(int n, bool upper) {
    static const std::pair<int, const char*> table[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString s;
    for (const auto& [value, letters] : table)
        for (; n >= value; n -= value) s += QLatin1String(letters);
    return upper ? s.toUpper() : s;
}

// A number as a label of `style` shows it, for the numbers of other levels inside a label.
QString numberText(int n, QTextListFormat::Style style) {
    switch (style) {
        case QTextListFormat::ListUpperRoman:
        case QTextListFormat::ListLowerRoman:
            if (n > 0 && n < 5000) return roman(n, style == QTextListFormat::ListUpperRoman);
            break;
        case QTextListFormat::ListUpperAlpha:
        case QTextListFormat::ListLowerAlpha: {
            QString s;
            const char16_t base = style == QTextListFormat::ListUpperAlpha ? u'A' : u'a';
            for (int c = n; c > 0; c /= 26) s.prepend(QChar(char16_t(base + (--c % 26))));
            if (!s.isEmpty()) return s;
            break;
        }
        default:
            break;
    }
    return QString::number(n);
}

bool qtCanStartAt(int start) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    Q_UNUSED(start);
    return true;
#else
    return start == 1;  // older Qt numbers every list from 1
#endif
}

}  // namespace

void ListTracker::beginDestination(QByteArrayView word, int depth) {
    nest_.clear();
    inPn_ = word == "pn";
    listOpen_ = false;
    if (inPn_) {
        pn_ = ListLevel{};
        pnLevel_ = 0;
        pnUsable_ = true;
        pnBefore_.clear();
        pnAfter_.clear();
        nest_.push_back({Element::None, depth});
    }
}

ListLevel* ListTracker::readingLevel() {
    if (!listOpen_ || lists_.empty() || lists_.back().levels.empty()) return nullptr;
    return &lists_.back().levels.back();
}

void ListTracker::enter(Element e, int depth) {
    if (nest_.size() < 16) nest_.push_back({e, depth});
}

bool ListTracker::controlWord(QByteArrayView word, int param, bool hasParam, int depth) {
    return inPn_ ? numberingWord(word, param, hasParam, depth)
                 : tableWord(word, param, hasParam, depth);
}

bool ListTracker::tableWord(QByteArrayView word, int param, bool hasParam, int depth) {
    const Element at = current();
    // Lists, levels and overrides open only where they belong, so a hostile nesting cannot
    // leave the element being read without its list.
    ListLevel* level = at == Element::Level || at == Element::LevelText ? readingLevel() : nullptr;
    if (word == "list" && at == Element::None) {
        listOpen_ = lists_.size() < kMaxLists;
        if (listOpen_) lists_.push_back(List{});
    } else if (word == "listlevel" && at == Element::None) {
        if (listOpen_ && lists_.back().levels.size() < size_t(kMaxLevels)) {
            lists_.back().levels.push_back(ListLevel{});
            enter(Element::Level, depth);
        } else {
            enter(Element::None, depth);
        }
    } else if (word == "levelnfc" && level && at == Element::Level) {
        setNumberFormat(*level, param);
    } else if (word == "levelstartat" && hasParam) {
        if (level && at == Element::Level) level->start = clampStart(param);
        if (at == Element::LfoLevel) {
            Override& o = overrides_.back();
            if (o.lfoLevels >= 1 && o.lfoLevels <= kMaxLevels)
                o.starts[size_t(o.lfoLevels - 1)] = clampStart(param);
        }
    } else if ((word == "li" || word == "lin") && level && at == Element::Level) {
        level->leftIndent = std::clamp(param, 0, kMaxIndent);
    } else if (word == "leveltext" && level && at == Element::Level) {
        levelText_.clear();
        enter(Element::LevelText, depth);
    } else if (word == "levelnumbers" || word == "listname") {
        enter(Element::Name, depth);
    } else if (word == "listid" && hasParam) {
        if (at == Element::Override) {
            overrides_.back().listId = param;
        } else if (listOpen_ && at == Element::None) {
            lists_.back().id = param;
            listById_.emplace(param, lists_.size() - 1);
        }
    } else if (word == "listoverride" && at == Element::None) {
        if (overrides_.size() < kMaxOverrides) {
            overrides_.push_back(Override{});
            enter(Element::Override, depth);
        } else {
            enter(Element::None, depth);
        }
    } else if (word == "ls" && hasParam && at == Element::Override) {
        overrideByLs_.emplace(param, overrides_.size() - 1);
    } else if (word == "lfolevel" && at == Element::Override) {
        ++overrides_.back().lfoLevels;
        enter(Element::LfoLevel, depth);
    } else if (word == "listoverridestartat" && at == Element::LfoLevel) {
        overrides_.back().restart = true;
    } else {
        return false;
    }
    return true;
}

bool ListTracker::numberingWord(QByteArrayView word, int param, bool hasParam, int depth) {
    if (word == "pnlvlblt") {
        pn_.kind = ListLevel::Kind::Bullet;
        pnLevel_ = 0;
    } else if (word == "pnlvlbody") {
        pn_.kind = ListLevel::Kind::Number;
        pnLevel_ = 0;
    } else if (word == "pnlvlcont") {
        pnUsable_ = false;  // a paragraph inside an item: numbered, but without a label
    } else if (word == "pnlvl") {
        pnLevel_ = std::clamp(hasParam ? param : 1, 1, kMaxLevels) - 1;
    } else if (word == "pndec" || word == "pncard" || word == "pnord" || word == "pnordt") {
        pn_.style = QTextListFormat::ListDecimal;
    } else if (word == "pnucltr") {
        pn_.style = QTextListFormat::ListUpperAlpha;
    } else if (word == "pnlcltr") {
        pn_.style = QTextListFormat::ListLowerAlpha;
    } else if (word == "pnucrm") {
        pn_.style = QTextListFormat::ListUpperRoman;
    } else if (word == "pnlcrm") {
        pn_.style = QTextListFormat::ListLowerRoman;
    } else if (word == "pnstart") {
        pn_.start = clampStart(hasParam ? param : 1);
    } else if (word == "pntxtb") {
        enter(Element::TextBefore, depth);
    } else if (word == "pntxta") {
        enter(Element::TextAfter, depth);
    } else {
        return false;
    }
    return true;
}

void ListTracker::text(QStringView s) {
    QString* into = nullptr;
    switch (current()) {
        case Element::LevelText:
            into = &levelText_;
            break;
        case Element::TextBefore:
            into = &pnBefore_;
            break;
        case Element::TextAfter:
            into = &pnAfter_;
            break;
        default:
            return;
    }
    into->append(s.first(std::min(s.size(), kMaxLabelText - into->size())));
}

void ListTracker::groupEnd(int depth) {
    while (!nest_.empty() && nest_.back().depth > depth) {
        ListLevel* level = readingLevel();
        if (nest_.back().element == Element::LevelText && level && !levelText_.isEmpty()) {
            // The first character counts the characters of the label that follow it.
            const qsizetype length = levelText_[0].unicode();
            level->text = levelText_.mid(1, length);
        }
        nest_.pop_back();
    }
}

int ListTracker::endDestination() {
    nest_.clear();
    if (!inPn_) return -1;
    inPn_ = false;
    if (!pnUsable_) return -1;
    ListLevel level = pn_;
    level.text = pnBefore_;
    if (level.kind == ListLevel::Kind::Number) level.text += QChar(char16_t(pnLevel_)) + pnAfter_;
    // Old Word repeats the definition in every paragraph; equal ones are one numbering.
    if (!numberings_.empty()) {
        const ListLevel& last = numberings_.back();
        if (last.kind == level.kind && last.style == level.style && last.start == level.start &&
            last.text == level.text && numberingLevels_.back() == pnLevel_)
            return int(numberings_.size()) - 1;
    }
    if (numberings_.size() >= kMaxNumberings) return -1;
    numberings_.push_back(level);
    numberingLevels_.push_back(pnLevel_);
    return int(numberings_.size()) - 1;
}

bool ListTracker::resolve(const ParaState& para, Item& item) const {
    if (para.listOverride >= 0) {
        const auto o = overrideByLs_.find(para.listOverride);
        if (o == overrideByLs_.end()) return false;
        const Override& override = overrides_[o->second];
        const auto l = listById_.find(override.listId);
        if (l == listById_.end()) return false;
        const List& list = lists_[l->second];
        item.level = std::clamp(para.listLevel, 0, kMaxLevels - 1);
        if (size_t(item.level) >= list.levels.size()) return false;
        item.def = &list.levels[size_t(item.level)];
        item.levels = &list.levels;
        item.override = &override;
        // Overrides of one list share its numbering unless they restart it.
        item.scheme = override.restart ? int(kMaxLists + o->second) : int(l->second);
    } else if (para.pn >= 0 && size_t(para.pn) < numberings_.size()) {
        item.def = &numberings_[size_t(para.pn)];
        item.level = numberingLevels_[size_t(para.pn)];
        item.numbering = para.pn;
        item.scheme = kPnScheme;
    } else {
        return false;
    }
    switch (item.def->kind) {
        case ListLevel::Kind::None:
            return false;
        case ListLevel::Kind::Bullet:
            return true;
        case ListLevel::Kind::Number:
            break;
    }
    // Qt draws prefix, own number, suffix: the own number must be in the label once, and
    // numbers of lower levels (which would change within the list) cannot be.
    int own = 0;
    for (const QChar c : item.def->text) {
        if (c.unicode() >= ListLevel::kPlaceholders) continue;
        if (c.unicode() == item.level)
            ++own;
        else if (c.unicode() > item.level || !item.levels || c.unicode() >= item.levels->size())
            return false;
    }
    return own == 1 && qtCanStartAt(startOf(item, item.level));
}

bool ListTracker::isItem(const ParaState& para) const {
    Item item;
    return resolve(para, item);
}

bool ListTracker::namesNoList(const ParaState& para) const {
    if (para.listOverride < 0) return false;
    const auto o = overrideByLs_.find(para.listOverride);
    return o == overrideByLs_.end() || !listById_.contains(overrides_[o->second].listId);
}

int ListTracker::startOf(const Item& item, int level) const {
    if (item.override && item.override->restart && level < item.override->lfoLevels)
        if (const int s = item.override->starts[size_t(level)]; s > 0) return s;
    if (item.levels && size_t(level) < item.levels->size())
        return (*item.levels)[size_t(level)].start;
    return item.def->start;
}

ListTracker::Open* ListTracker::findOpen(int scheme, int level) {
    for (Open& o : open_)
        if (o.scheme == scheme && o.level == level) return &o;
    return nullptr;
}

void ListTracker::closeDeeper(int scheme, int level) {
    std::erase_if(open_, [&](const Open& o) { return o.scheme == scheme && o.level > level; });
}

QTextListFormat ListTracker::listFormat(const Item& item) const {
    QTextListFormat f;
    f.setIndent(item.level + 1);
    if (item.def->kind == ListLevel::Kind::Bullet) {
        f.setStyle(bulletStyle(item.def->text));
        return f;
    }
    f.setStyle(item.def->style);
    // Numbers of higher levels are fixed for this list: a new item of theirs restarts it.
    QString prefix, suffix;
    bool afterOwn = false;
    for (const QChar c : item.def->text) {
        QString& into = afterOwn ? suffix : prefix;
        if (c.unicode() >= ListLevel::kPlaceholders) {
            into += c;
        } else if (c.unicode() == item.level) {
            afterOwn = true;
        } else {
            const int level = c.unicode();
            int number = startOf(item, level);
            for (const Open& o : open_)
                if (o.scheme == item.scheme && o.level == level) number = o.counter;
            into += numberText(number, (*item.levels)[size_t(level)].style);
        }
    }
    f.setNumberPrefix(prefix);
    f.setNumberSuffix(suffix);
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    f.setStart(startOf(item, item.level));
#endif
    return f;
}

void ListTracker::endParagraph(const ParaState& para, const QTextBlock& block,
                               QTextBlockFormat& format) {
    Item item;
    if (!resolve(para, item)) {
        std::erase_if(open_, [](const Open& o) { return o.scheme == kPnScheme; });
        return;
    }
    if (!block.isValid()) return;
    closeDeeper(item.scheme, item.level);
    if (item.scheme != kPnScheme)
        std::erase_if(open_, [](const Open& o) { return o.scheme == kPnScheme; });
    Open* open = findOpen(item.scheme, item.level);
    if (open && (open->numbering != item.numbering || !open->list)) {
        std::erase_if(open_, [&](const Open& o) { return &o == open; });
        open = nullptr;
    }
    QTextList* list = nullptr;
    if (open) {
        list = open->list;
        list->add(block);
        ++open->counter;
    } else {
        if (open_.size() >= kMaxOpen) open_.erase(open_.begin());
        list = QTextCursor(block).createList(listFormat(item));
        open_.push_back(
            Open{item.scheme, item.level, item.numbering, list, startOf(item, item.level)});
    }
    format.setObjectIndex(list->objectIndex());  // the paragraph's format replaces the block's
    // Qt draws the label in the block's character format; the author's label looks like the
    // paragraph's first text.
    if (const QTextBlock::iterator first = block.begin();
        !first.atEnd() && !first.fragment().charFormat().isImageFormat())
        QTextCursor(block).setBlockCharFormat(first.fragment().charFormat());
    // Qt puts the text at the block's left margin plus the list's indent and draws the label
    // just left of it. The author's word processor puts the text at the paragraph's left indent
    // (or the level's, when the paragraph gives none) with the label in the hanging first line:
    // the margin takes up the difference, below zero if it must, so deeper levels sit where the
    // author put them. Without any indent the list's own indent places them.
    const qreal listIndent = (item.level + 1) * block.document()->indentWidth();
    qreal textAt = format.leftMargin();
    if (textAt <= 0) textAt = item.def->leftIndent / 20.0;
    format.setTextIndent(0);  // a hanging first line would move the text over the label
    format.setLeftMargin(textAt > 0 ? textAt - listIndent : 0.0);
}

}  // namespace rtf
