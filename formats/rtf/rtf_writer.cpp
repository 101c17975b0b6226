#include "rtf/rtf_writer.h"

#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <array>

#include "rtf/rtf.h"
#include "rtf/rtf_writer_body.h"

namespace rtf {

namespace {

int twips(qreal pixels) {
    return qRound(pixels * 20);  // the importer's unit for indents and spacing
}

// Chinese fonts are declared with the GB2312 character set, so readers take their text as
// GBK; a family name in Chinese, or one of the Chinese families' usual Latin names, says so.
bool isChineseFamily(const QString& family) {
    for (QChar c : family)
        if (c.unicode() >= 0x80) return true;
    static const std::array<const char*, 16> names = {
        "sim", "song", "hei", "kai", "fangsong", "yahei",    "cjk",        "wenquanyi",
        "wqy", "ming", "gb2", "gbk", "gb18030",  "dengxian", "source han", "lisu"};
    const QString lower = family.toLower();
    for (const char* n : names)
        if (lower.contains(QLatin1String(n))) return true;
    return false;
}

const char* underlineWord(int style) {
    switch (style) {
        case QTextCharFormat::DotLine:
            return "uld";
        case QTextCharFormat::DashUnderline:
            return "uldash";
        case QTextCharFormat::DashDotLine:
            return "uldashd";
        case QTextCharFormat::DashDotDotLine:
            return "uldashdd";
        case QTextCharFormat::WaveUnderline:
        case QTextCharFormat::SpellCheckUnderline:
            return "ulwave";
        default:
            return "ul";
    }
}

QString familyOf(const QTextCharFormat& format) {
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first();
}

}  // namespace

BodyWriter::BodyWriter(const QTextDocument& doc) : doc_(doc) {
    // The default font is \f0; in a document for code page 936 it takes Chinese text.
    QString family = doc.defaultFont().family();
    if (family.isEmpty()) family = QStringLiteral("SimSun");
    fonts_.push_back({family, true});
    fontByName_.insert(family, 0);
    const qreal points = doc.defaultFont().pointSizeF();
    if (points > 0) defaultHalfPoints_ = qRound(points * 2);
}

int BodyWriter::fontIndex(const QString& family) {
    if (family.isEmpty()) return 0;
    if (auto it = fontByName_.constFind(family); it != fontByName_.constEnd()) return *it;
    const int index = int(fonts_.size());
    fonts_.push_back({family, isChineseFamily(family)});
    fontByName_.insert(family, index);
    return index;
}

int BodyWriter::colorIndex(const QColor& color) {
    if (!color.isValid()) return 0;
    const QRgb rgb = color.rgb() | 0xFF000000u;
    if (auto it = colorByRgb_.constFind(rgb); it != colorByRgb_.constEnd()) return *it;
    colors_.push_back(QColor(rgb));
    const int index = int(colors_.size());
    colorByRgb_.insert(rgb, index);
    return index;
}

RunState BodyWriter::runState(const QTextCharFormat& format) {
    RunState s;
    s.font = fontIndex(familyOf(format));
    const qreal points = format.fontPointSize();
    s.halfPoints = points > 0 ? qRound(points * 2) : defaultHalfPoints_;
    s.bold = format.fontWeight() >= QFont::DemiBold;
    s.italic = format.fontItalic();
    s.underline = format.underlineStyle();
    s.strike = format.fontStrikeOut();
    if (format.hasProperty(QTextFormat::FontCapitalization)) {
        if (format.fontCapitalization() == QFont::AllUppercase) s.caps = 1;
        if (format.fontCapitalization() == QFont::SmallCaps) s.caps = 2;
    }
    if (format.foreground().style() != Qt::NoBrush)
        s.foreground = colorIndex(format.foreground().color());
    if (format.background().style() != Qt::NoBrush)
        s.background = colorIndex(format.background().color());
    s.valign = format.verticalAlignment();
    if (s.valign != QTextCharFormat::AlignSuperScript &&
        s.valign != QTextCharFormat::AlignSubScript)
        s.valign = QTextCharFormat::AlignNormal;
    return s;
}

void BodyWriter::writeRun(const QTextCharFormat& format) {
    // Only what changes is written: RTF keeps character formatting across paragraphs.
    const RunState s = runState(format);
    const RunState& o = run_;
    if (s.font != o.font) out_.word("f", s.font);
    if (s.halfPoints != o.halfPoints) out_.word("fs", s.halfPoints);
    if (s.bold != o.bold) s.bold ? out_.word("b") : out_.word("b", 0);
    if (s.italic != o.italic) s.italic ? out_.word("i") : out_.word("i", 0);
    if (s.underline != o.underline)
        s.underline ? out_.word(underlineWord(s.underline)) : out_.word("ulnone");
    if (s.strike != o.strike) s.strike ? out_.word("strike") : out_.word("strike", 0);
    if (s.caps != o.caps) {
        if (o.caps) out_.word(o.caps == 1 ? "caps" : "scaps", 0);
        if (s.caps) out_.word(s.caps == 1 ? "caps" : "scaps");
    }
    if (s.foreground != o.foreground) out_.word("cf", s.foreground);
    if (s.background != o.background) out_.word("highlight", s.background);
    if (s.valign != o.valign) {
        if (s.valign == QTextCharFormat::AlignSuperScript)
            out_.word("super");
        else if (s.valign == QTextCharFormat::AlignSubScript)
            out_.word("sub");
        else
            out_.word("nosupersub");
    }
    run_ = s;
}

void BodyWriter::writeFrame(const QTextFrame* frame, int depth) {
    // The document's last paragraph needs no \par, unless it is an empty one after others:
    // readers drop the empty paragraph a final \par leaves, not one written with it.
    const QTextBlock last = frame->lastCursorPosition().block();
    const bool keepEmpty = last.length() <= 1 && last != frame->document()->begin();
    writeItems(frame->begin(), depth, depth == 0 && !keepEmpty ? nullptr : "par");
}

void BodyWriter::writeItems(QTextFrame::iterator it, int depth, const char* lastEnd) {
    // A paragraph's end depends on what follows it, so each waits for the next item.
    QTextBlock pending;
    for (; !it.atEnd(); ++it) {
        if (const QTextFrame* frame = it.currentFrame()) {
            if (pending.isValid()) writeBlock(pending, depth, "par");
            pending = QTextBlock();
            if (const auto* table = qobject_cast<const QTextTable*>(frame))
                writeTable(table, depth + 1);
            else
                writeItems(frame->begin(), depth, "par");
        } else {
            if (pending.isValid()) writeBlock(pending, depth, "par");
            pending = it.currentBlock();
        }
    }
    if (pending.isValid()) writeBlock(pending, depth, lastEnd);
}

void BodyWriter::writeBlock(const QTextBlock& block, int depth, const char* end) {
    out_.word("pard");
    if (depth > 0) out_.word("intbl");
    if (depth > 1) out_.word("itap", depth);
    writeParagraphFormat(block);
    // The paragraph mark's size keeps the height of an empty line.
    if (block.length() <= 1) writeRun(block.charFormat());
    if (block.textList()) writeListLabel(block);
    QString link;  // the HYPERLINK field the text is in
    RunState outside;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid()) continue;
        const QTextCharFormat format = fragment.charFormat();
        const QString href = format.isAnchor() ? format.anchorHref() : QString();
        if (href != link) {
            if (!link.isEmpty()) closeLink(outside);
            if (!href.isEmpty()) outside = openLink(href);
            link = href;
        }
        writeRun(format);
        if (format.isImageFormat()) {
            // One object character per picture.
            for (qsizetype i = 0; i < fragment.length(); ++i) writePicture(format.toImageFormat());
        } else {
            out_.text(fragment.text(), fonts_[size_t(run_.font)].chinese);
        }
    }
    if (!link.isEmpty()) closeLink(outside);
    if (end) out_.word(end);
}

RunState BodyWriter::openLink(const QString& href) {
    // The field's instruction is ASCII: the target percent-encoded, without quotes.
    QByteArray target = QUrl(href).toEncoded();
    target.replace('"', "%22");
    out_.open();
    out_.word("field");
    out_.openIgnorable("fldinst");
    out_.text(QString::fromLatin1("HYPERLINK \"" + target + '"'), false);
    out_.close();
    out_.open();
    out_.word("fldrslt");
    return run_;
}

void BodyWriter::closeLink(const RunState& outside) {
    out_.close();
    out_.close();
    run_ = outside;  // formatting inside the groups ends with them
}

void BodyWriter::writeParagraphFormat(const QTextBlock& block) {
    const QTextBlockFormat f = block.blockFormat();
    const Qt::Alignment align = f.alignment();
    if (align & Qt::AlignJustify)
        out_.word("qj");
    else if (align & Qt::AlignHCenter)
        out_.word("qc");
    else if (align & Qt::AlignRight)
        out_.word("qr");
    // Indent steps (Increase Indent) are part of the left indent in RTF.
    const qreal left = f.leftMargin() + (block.textList() ? 0 : f.indent() * doc_.indentWidth());
    if (const int v = twips(left)) out_.word("li", v);
    if (const int v = twips(f.rightMargin())) out_.word("ri", v);
    if (const int v = twips(f.textIndent())) out_.word("fi", v);
    if (const int v = twips(f.topMargin())) out_.word("sb", v);
    if (const int v = twips(f.bottomMargin())) out_.word("sa", v);
    const qreal height = f.lineHeight();
    switch (f.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            if (height > 0 && qRound(height) != 100) {
                out_.word("sl", qRound(height * 240 / 100));
                out_.word("slmult", 1);
            }
            break;
        case QTextBlockFormat::MinimumHeight:
            if (height > 0) out_.word("sl", twips(height));
            break;
        case QTextBlockFormat::FixedHeight:
            if (height > 0) out_.word("sl", -twips(height));
            break;
        default:
            break;
    }
}

void BodyWriter::writeListLabel(const QTextBlock& block) {
    const QTextList* list = block.textList();
    const QTextListFormat lf = list->format();
    // The label as written, for readers without lists, then the numbering that draws it.
    const bool chinese = fonts_[size_t(run_.font)].chinese;
    out_.open();
    out_.word("pntext");
    out_.text(listItemLabel(block), chinese);
    out_.word("tab");
    out_.close();
    out_.openIgnorable("pn");
    const char* style = nullptr;
    switch (lf.style()) {
        case QTextListFormat::ListDecimal:
            style = "pndec";
            break;
        case QTextListFormat::ListLowerAlpha:
            style = "pnlcltr";
            break;
        case QTextListFormat::ListUpperAlpha:
            style = "pnucltr";
            break;
        case QTextListFormat::ListLowerRoman:
            style = "pnlcrm";
            break;
        case QTextListFormat::ListUpperRoman:
            style = "pnucrm";
            break;
        default:
            break;
    }
    if (!style) {
        out_.word("pnlvlblt");
        out_.open();
        out_.word("pntxtb");
        out_.text(listItemLabel(block), chinese);
        out_.close();
        out_.close();
        return;
    }
    lf.indent() > 1 ? out_.word("pnlvl", lf.indent()) : out_.word("pnlvlbody");
    out_.word(style);
    if (!lf.numberPrefix().isEmpty()) {
        out_.open();
        out_.word("pntxtb");
        out_.text(lf.numberPrefix(), chinese);
        out_.close();
    }
    // Qt puts a full stop after the number unless the list names its own suffix.
    const QString suffix =
        lf.hasProperty(QTextFormat::ListNumberSuffix) ? lf.numberSuffix() : QStringLiteral(".");
    if (!suffix.isEmpty()) {
        out_.open();
        out_.word("pntxta");
        out_.text(suffix, chinese);
        out_.close();
    }
    out_.close();
}

QByteArray BodyWriter::header() const {
    RtfOutput h;
    h.open();
    h.word("rtf", 1);
    h.word("ansi");
    h.word("ansicpg", 936);
    h.word("deff", 0);
    h.word("uc", 1);
    h.open();
    h.word("fonttbl");
    for (size_t i = 0; i < fonts_.size(); ++i) {
        h.open();
        h.word("f", int(i));
        h.word("fnil");
        h.word("fcharset", fonts_[i].chinese ? 134 : 0);
        h.tableText(fonts_[i].family, fonts_[i].chinese);
        h.text(u";", false);
        h.close();
    }
    h.close();
    h.open();
    h.word("colortbl");
    h.text(u";", false);
    for (const QColor& c : colors_) {
        h.word("red", c.red());
        h.word("green", c.green());
        h.word("blue", c.blue());
        h.text(u";", false);
    }
    h.close();
    return h.bytes() + '\n';
}

QByteArray writeDocument(const QTextDocument& doc) {
    BodyWriter body(doc);
    body.writeFrame(doc.rootFrame(), 0);
    QByteArray out = body.header();
    out.reserve(out.size() + body.body().size() + 2);
    out += body.body();
    out += "}";
    return out;
}

}  // namespace rtf
