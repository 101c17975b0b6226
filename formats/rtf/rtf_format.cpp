#include "rtf/rtf_format.h"

#include <QFont>
#include <QStringList>

namespace rtf {

QTextCharFormat toCharFormat(const CharState& state, const FontInfo* font,
                             const ColorTable& colors) {
    QTextCharFormat f;
    if (font && !font->name.isEmpty()) f.setFontFamilies(QStringList{font->name});
    f.setFontPointSize(state.halfPoints / 2.0);
    f.setFontWeight(state.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(state.italic);
    f.setUnderlineStyle(QTextCharFormat::UnderlineStyle(state.underline));
    if (const QColor c = colors.color(state.underlineColor); state.underline && c.isValid())
        f.setUnderlineColor(c);
    if (state.caps)
        f.setFontCapitalization(state.caps == 1 ? QFont::AllUppercase : QFont::SmallCaps);
    f.setFontStrikeOut(state.strike);
    if (const QColor c = colors.color(state.foreground); c.isValid()) f.setForeground(c);
    if (const QColor c = colors.color(state.background); c.isValid()) f.setBackground(c);
    if (state.valign == VerticalAlign::Super)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (state.valign == VerticalAlign::Sub)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    return f;
}

QTextBlockFormat toBlockFormat(const ParaState& state) {
    QTextBlockFormat f;
    switch (state.align) {
        case Alignment::Left:
            f.setAlignment(Qt::AlignLeft);
            break;
        case Alignment::Center:
            f.setAlignment(Qt::AlignHCenter);
            break;
        case Alignment::Right:
            f.setAlignment(Qt::AlignRight);
            break;
        case Alignment::Justify:
            f.setAlignment(Qt::AlignJustify);
            break;
    }
    // RTF's first-line indent is relative to the left indent, as Qt's text indent is.
    if (state.leftIndent) f.setLeftMargin(state.leftIndent / 20.0);
    if (state.rightIndent) f.setRightMargin(state.rightIndent / 20.0);
    if (state.firstIndent) f.setTextIndent(state.firstIndent / 20.0);
    if (state.spaceBefore) f.setTopMargin(state.spaceBefore / 20.0);
    if (state.spaceAfter) f.setBottomMargin(state.spaceAfter / 20.0);
    if (state.lineMultiple && state.lineSpacing > 0) {
        f.setLineHeight(state.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    } else if (state.lineSpacing > 0) {
        f.setLineHeight(state.lineSpacing / 20.0, QTextBlockFormat::MinimumHeight);
    } else if (state.lineSpacing < 0) {
        f.setLineHeight(-state.lineSpacing / 20.0, QTextBlockFormat::FixedHeight);
    }
    return f;
}

}  // namespace rtf
