#include "rtf/rtf_reader.h"

#include <QTextDocument>

#include <algorithm>

#include "rtf/rtf_format.h"

namespace rtf {

namespace {

constexpr int kMaxTwips = 31680;  // 22 inches, Word's page limit
constexpr int kMaxHalfPoints = 3276;
constexpr int kMaxUnicodeSkip = 255;

bool flag(const Token& t) {
    return !t.hasParam || t.param != 0;
}
int twips(const Token& t) {
    return t.hasParam ? std::clamp(t.param, -kMaxTwips, kMaxTwips) : 0;
}
int index(const Token& t) {
    return t.hasParam ? std::max(t.param, 0) : 0;
}

bool isHighSurrogate(int v) {
    return v >= 0xD800 && v <= 0xDBFF;
}
bool isLowSurrogate(int v) {
    return v >= 0xDC00 && v <= 0xDFFF;
}

}  // namespace

Reader::Reader(QByteArrayView input, QTextDocument& doc, const textlimits::TextLimits& limits)
    : lexer_(input), builder_(doc, limits) {
    stack_.reserve(64);
    stack_.push_back(GroupState{});  // outside every group; extra '}' stop here
}

void Reader::run() {
    // Once text is left out, reading on would only count what is not shown.
    for (Token t = lexer_.next(); t.type != Token::Type::End && builder_.omitted() == 0;
         t = lexer_.next()) {
        if (skipDepth_ > 0) {
            // Inside a skipped destination only braces matter.
            if (t.type == Token::Type::GroupStart) {
                ++skipDepth_;
            } else if (t.type == Token::Type::GroupEnd && --skipDepth_ == 0) {
                groupEnd();
            }
            continue;
        }
        if (skipChars_ > 0) {
            // Fallback of the last \uN: a byte, an escape or a control word each count one;
            // a brace ends the fallback early.
            if (t.type == Token::Type::GroupStart || t.type == Token::Type::GroupEnd) {
                skipChars_ = 0;
            } else if (t.type == Token::Type::Text) {
                const qsizetype n = std::min<qsizetype>(skipChars_, t.data.size());
                skipChars_ -= static_cast<int>(n);
                t.data = t.data.sliced(n);
                if (t.data.isEmpty()) continue;
            } else {
                --skipChars_;
                continue;
            }
        }
        const bool ignorable = ignorable_;
        ignorable_ = false;
        switch (t.type) {
            case Token::Type::GroupStart:
                groupStart();
                break;
            case Token::Type::GroupEnd:
                groupEnd();
                break;
            case Token::Type::Text:
                text(t.data);
                break;
            case Token::Type::HexByte:
                hexByte(t.byte);
                break;
            case Token::Type::ControlSymbol:
                controlSymbol(t.symbol);
                break;
            case Token::Type::ControlWord:
                if (ignorable && lookupKeyword(t.data).action != Action::Destination &&
                    !styleSheetWord(t)) {
                    skipDepth_ = 1;  // \* before a destination we do not read
                    skipped(t.data, lookupKeyword(t.data).action == Action::Unknown);
                    break;
                }
                controlWord(t);
                break;
            case Token::Type::Binary:
                if (top().dest == Destination::Picture) picture_.binary(t.data);
                break;
            case Token::Type::End:
                break;
        }
    }
    flushBytes();
    resolveSurrogate();
    placeLabel();
    if (builder_.omitted() > 0 && lexer_.position() > 0) {
        // The unread rest likely holds as much text per byte as what was read.
        const double perByte =
            double(builder_.kept() + builder_.omitted()) / double(lexer_.position());
        builder_.omitUnread(qsizetype(double(lexer_.size() - lexer_.position()) * perByte));
    }
    builder_.finish(lastParagraphFormat());
}

void Reader::groupStart() {
    flushBytes();
    if (stack_.size() > kMaxDepth) {
        ++overflowDepth_;
        return;
    }
    GroupState s = top();
    if (s.dest == Destination::Upr) s.dest = Destination::Drop;
    if (s.dest == Destination::StyleSheet && stack_.size() == styleSheetDepth_)
        styles_.beginEntry();
    stack_.push_back(s);
}

void Reader::groupEnd() {
    flushBytes();
    if (overflowDepth_ > 0) {
        --overflowDepth_;
        return;
    }
    if (stack_.size() <= 1) return;  // unbalanced '}'
    const Destination ended = top().dest;
    // A last paragraph without \par keeps the format it had when the document group closed.
    if (stack_.size() == 2) finalPara_ = top().para;
    stack_.pop_back();
    if (ended == Destination::Lists) {
        if (top().dest == Destination::Lists)
            lists_.groupEnd(int(stack_.size()));
        else if (const int pn = lists_.endDestination(); pn >= 0)
            top().para.pn = pn;
    }
    if (ended == top().dest) return;
    if (ended == Destination::StyleSheet) endStyleSheet();
    if (ended == Destination::Picture) finishPicture();
    if (ended == Destination::FieldInst) finishFieldInstruction();
    if (ended == Destination::FontTable) fonts_.finish();
    if (ended == Destination::FontTable || ended == Destination::ColorTable) {
        // Formats built before a (late) table refer to fonts and colours that may now differ.
        for (CachedFormat& f : formats_) f.id = -1;
        formatId_ = -1;
    }
}

void Reader::controlSymbol(char symbol) {
    switch (symbol) {
        case '*':
            ignorable_ = true;
            break;
        case '\\':
        case '{':
        case '}':
            text(QByteArrayView(&symbol, 1));
            break;
        case '~':
            flushBytes();
            resolveSurrogate();
            putChar(u'\u00A0');
            break;
        case '_':
            flushBytes();
            resolveSurrogate();
            putChar(u'\u2011');
            break;
        case '-':
            flushBytes();
            resolveSurrogate();
            putChar(u'\u00AD');  // shown as a hyphen only where a line breaks
            break;
        case '\t':
            flushBytes();
            resolveSurrogate();
            putChar(u'\t');
            break;
        default:
            break;  // \: index subentry, \| formula
    }
}

void Reader::controlWord(const Token& t) {
    flushBytes();
    if (top().dest == Destination::Picture && picture_.controlWord(t.data, t.param, t.hasParam))
        return;
    if (top().dest == Destination::Lists &&
        lists_.controlWord(t.data, t.param, t.hasParam, int(stack_.size())))
        return;
    const Keyword k = lookupKeyword(t.data);
    if (destinationWord(k, t) || tableWord(k, t) || styleSheetWord(k, t) || cellWord(k, t)) return;
    formattingWord(k, t);
}

void Reader::skipped(QByteArrayView word, bool unknown) {
    // Skipped on purpose and holding nothing of the text: tables of fonts, styles, revisions,
    // document properties, the picture's own replacements. The rest was written by someone.
    static constexpr std::string_view kContent[] = {
        "header",  "headerf",  "headerl",    "headerr", "footer",  "footerf",  "footerl",
        "footerr", "footnote", "annotation", "shptxt",  "objdata", "formfield"};
    const std::string_view w(word.data(), size_t(word.size()));
    const bool content =
        unknown || std::find(std::begin(kContent), std::end(kContent), w) != std::end(kContent);
    const QString name = QString::fromLatin1(word);
    if (content && !lost_.contains(name) && lost_.size() < 32) lost_.append(name);
}

bool Reader::destinationWord(const Keyword& k, const Token& t) {
    switch (k.action) {
        case Action::Destination:
            // Beyond the depth cap a group shares its parent's state, so it cannot switch
            // destination without leaking the switch; such groups are skipped.
            if (k.dest == Destination::Skip || (overflowDepth_ > 0 && k.dest != top().dest)) {
                skipDepth_ = 1;
                skipped(t.data, false);
            } else if (k.dest == Destination::ShapeResult) {
                // The replacement repeats the picture the shape already gave.
                if (pictures_ > shapeStart_)
                    skipDepth_ = 1;
                else
                    top().dest = Destination::Body;
            } else if (k.dest == Destination::FieldInst) {
                fieldInst_.clear();
                top().dest = k.dest;
            } else if (k.dest == Destination::StyleSheet) {
                beginStyleSheet(t);
            } else if (k.dest == Destination::Picture) {
                picture_.begin();
                top().dest = k.dest;
            } else if ((top().dest != Destination::Upr && top().dest != Destination::ShapeInst) ||
                       k.dest != Destination::Body) {
                if (t.data == "shp") shapeStart_ = pictures_;
                if (t.data == "listtext" || t.data == "pntext") {
                    top().listLabel = true;
                    label_.spilled = false;
                }
                if (k.dest == Destination::Lists)
                    lists_.beginDestination(t.data, int(stack_.size()));
                top().dest = k.dest;
            }
            return true;
        case Action::Ansi:
            ansiCodePage_ = 1252;
            break;
        case Action::Mac:
            ansiCodePage_ = 10000;
            break;
        case Action::Pc:
            ansiCodePage_ = 437;
            break;
        case Action::Pca:
            ansiCodePage_ = 850;
            break;
        case Action::AnsiCodePage:
            if (t.hasParam) ansiCodePage_ = t.param;
            break;
        case Action::DefaultFont:
            defaultFont_ = index(t);
            return true;
        case Action::UnicodeSkip:
            top().unicodeSkip = t.hasParam ? std::clamp(t.param, 0, kMaxUnicodeSkip) : 1;
            return true;
        case Action::Unicode:
            unicode(t.param);
            return true;
        default:
            return false;
    }
    fonts_.setDocumentCodePage(ansiCodePage_);
    return true;
}

bool Reader::tableWord(const Keyword& k, const Token& t) {
    const Destination d = top().dest;
    if (d == Destination::FontTable) {
        switch (k.action) {
            case Action::Font:
                fonts_.beginFont(t.param);
                break;
            case Action::FontCharset:
                fonts_.setCharset(t.param);
                break;
            case Action::FontCodePage:
                fonts_.setCodePage(t.param);
                break;
            default:
                if (!endsFontTable(k.action)) break;
                leaveFontTable();
                return false;  // the word belongs to the text
        }
        return true;
    }
    if (d == Destination::ColorTable) {
        switch (k.action) {
            case Action::Red:
                colors_.setRed(t.param);
                break;
            case Action::Green:
                colors_.setGreen(t.param);
                break;
            case Action::Blue:
                colors_.setBlue(t.param);
                break;
            default:
                break;
        }
        return true;
    }
    return false;
}

void Reader::formattingWord(const Keyword& k, const Token& t) {
    CharState& c = top().chr;
    ParaState& p = top().para;
    switch (k.action) {
        case Action::Plain:
            c = CharState{};
            applyStyle(StyleSheet::Kind::DefaultCharacter, 0);
            break;
        case Action::Bold:
            c.bold = flag(t);
            break;
        case Action::Italic:
            c.italic = flag(t);
            break;
        case Action::Underline:
            c.underline = flag(t) ? uint8_t(k.ch) : 0;
            break;
        case Action::UnderlineNone:
            c.underline = false;
            break;
        case Action::Strike:
            c.strike = flag(t);
            break;
        case Action::Hidden:
            c.hidden = flag(t);
            break;
        case Action::FontSize:
            c.halfPoints = t.hasParam ? std::clamp(t.param, 1, kMaxHalfPoints) : 24;
            break;
        case Action::Font:
            c.font = index(t);
            break;
        case Action::Foreground:
            c.foreground = index(t);
            break;
        case Action::Background:
            c.background = index(t);
            break;
        case Action::Super:
            c.valign = VerticalAlign::Super;
            break;
        case Action::Sub:
            c.valign = VerticalAlign::Sub;
            break;
        case Action::NoSuperSub:
            c.valign = VerticalAlign::Normal;
            break;
        case Action::Pard:
            p = ParaState{};
            applyStyle(StyleSheet::Kind::DefaultParagraph, 0);
            break;
        case Action::ParaStyle:
            applyStyle(StyleSheet::Kind::Paragraph, t.param);
            break;
        case Action::CharStyle:
            applyStyle(StyleSheet::Kind::Character, t.param);
            break;
        case Action::AlignLeft:
            p.align = Alignment::Left;
            break;
        case Action::AlignCenter:
            p.align = Alignment::Center;
            break;
        case Action::AlignRight:
            p.align = Alignment::Right;
            break;
        case Action::AlignJustify:
            p.align = Alignment::Justify;
            break;
        case Action::LeftIndent:
            p.leftIndent = twips(t);
            break;
        case Action::RightIndent:
            p.rightIndent = twips(t);
            break;
        case Action::FirstIndent:
            p.firstIndent = twips(t);
            break;
        case Action::SpaceBefore:
            p.spaceBefore = std::max(twips(t), 0);
            break;
        case Action::SpaceAfter:
            p.spaceAfter = std::max(twips(t), 0);
            break;
        case Action::ListOverride:
            p.listOverride = index(t);
            break;
        case Action::ListLevel:
            p.listLevel = std::clamp(index(t), 0, ListTracker::kMaxLevels - 1);
            break;
        case Action::LineSpacing:
            // \sl1000 is Word's "auto".
            p.lineSpacing = t.hasParam && t.param != 1000 ? twips(t) : 0;
            break;
        case Action::LineMultiple:
            p.lineMultiple = flag(t);
            break;
        case Action::UnderlineColor:
            c.underlineColor = index(t);
            break;
        case Action::Caps:
            c.caps = flag(t) ? uint8_t(k.ch) : 0;
            break;
        case Action::CharacterClass:
            c.doubleByte = k.ch == 1;
            break;
        case Action::AssociatedFont:
            if (c.doubleByte) c.doubleByteFont = index(t);
            break;
        case Action::PageBreak:
            pageBreak();
            break;
        case Action::FootnoteMark:
            footnoteMark();
            break;
        case Action::FontFamily:
            strayFontEntry();
            break;
        case Action::Par:
            endParagraph();
            break;
        case Action::Line:
            resolveSurrogate();
            putChar(u'\u2028');
            break;
        case Action::Character:
            resolveSurrogate();
            putChar(k.ch);
            break;
        case Action::Cell:
            if (top().dest == Destination::Body) {
                resolveSurrogate();
                placeLabel();
                const int depth = cellDepth(t);
                if (depth > 0) builder_.enterTable(depth);  // the cell's paragraph ends here
                builder_.endCell(depth, depth > 0 ? paragraphFormat() : toBlockFormat(p),
                                 charFormat());
            }
            break;
        case Action::Row:
            if (top().dest == Destination::Body) {
                resolveSurrogate();
                placeLabel();
                builder_.endRow(cellDepth(t), row_, colors_, rowFormat(cellDepth(t)), charFormat());
            }
            break;
        case Action::InTable:
            p.inTable = true;
            break;
        case Action::TableDepth:
            p.nesting = t.hasParam ? std::clamp(t.param, 0, DocumentBuilder::kMaxTableDepth) : 1;
            p.inTable = p.nesting > 0;
            break;
        case Action::RowDefaults:
            row_ = RowState{};
            break;
        case Action::CellRight:
            if (row_.cells.size() < RowState::kMaxCells) {
                row_.next.right = twips(t);
                row_.cells.push_back(row_.next);
            }
            row_.next = RowState::Cell{};
            break;
        case Action::CellShading:
            row_.next.shading = index(t);
            break;
        case Action::CellMergeFirst:
            row_.next.mergeFirst = true;
            break;
        case Action::CellMerged:
            row_.next.merged = true;
            break;
        default:
            break;  // unknown words and table words outside their tables
    }
}

int Reader::cellDepth(const Token& t) const {
    // \cell ends a cell of the outermost table, \nestcell one of the paragraph's own depth.
    const int depth = stack_.back().para.tableDepth();
    if (depth == 0) return 0;
    return t.data.startsWith("nest") ? std::max(depth, 2) : 1;
}

void Reader::unicode(int param) {
    skipChars_ = top().unicodeSkip;
    const int v = param < 0 ? param + 65536 : param;
    const Destination d = top().dest;
    if (d == Destination::FontTable) {
        if (v > 0 && v <= 0xFFFF && !isHighSurrogate(v) && !isLowSurrogate(v))
            fonts_.appendNameText(QString(QChar(static_cast<char16_t>(v))));
        return;
    }
    if (d == Destination::Lists && v > 0 && v <= 0xFFFF && !isHighSurrogate(v) &&
        !isLowSurrogate(v))
        lists_.text(QString(QChar(static_cast<char16_t>(v))));
    if (d != Destination::Body) return;
    if (v < 0 || v > 0xFFFF) {
        resolveSurrogate();
        putChar(u'\uFFFD');
    } else if (isHighSurrogate(v)) {
        resolveSurrogate();
        pendingHigh_ = static_cast<char16_t>(v);
    } else if (isLowSurrogate(v)) {
        if (pendingHigh_) {
            const char16_t pair[2] = {pendingHigh_, static_cast<char16_t>(v)};
            pendingHigh_ = 0;
            put(QStringView(pair, 2));
        } else {
            putChar(u'\uFFFD');
        }
    } else {
        resolveSurrogate();
        if (v >= 0x20 || v == '\t') putChar(static_cast<char16_t>(v));
    }
}

void Reader::flushBytes() {
    if (bytes_.isEmpty()) return;
    const QString s = fonts_.decoder().decode(bytes_, currentCodePage());
    bytes_.clear();
    if (top().dest == Destination::Lists) {
        lists_.text(s);
        return;
    }
    resolveSurrogate();
    put(s);
}

void Reader::put(QStringView s) {
    const GroupState& g = top();
    if (g.dest != Destination::Body || g.chr.hidden) return;
    if (g.listLabel && !label_.spilled) {
        collectLabel(s);
        return;
    }
    placeLabel();
    builder_.enterTable(g.para.tableDepth());
    if (g.chr.doubleByteFont >= 0 && g.chr.doubleByteFont != g.chr.font) {
        putByScript(s);
        return;
    }
    const QTextCharFormat& format = charFormat();  // may advance formatId_
    builder_.insertText(s, format, formatId_);
}

void Reader::resolveSurrogate() {
    if (!pendingHigh_) return;
    pendingHigh_ = 0;
    putChar(u'\uFFFD');
}

void Reader::endParagraph() {
    if (top().dest != Destination::Body || top().listLabel) return;
    resolveSurrogate();
    placeLabel();
    builder_.enterTable(top().para.tableDepth());
    builder_.endParagraph(paragraphFormat(), charFormat());
    pageBreakBefore_ = false;
}

}  // namespace rtf
