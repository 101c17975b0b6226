#pragma once

#include <QByteArrayView>

#include <cstdint>

#include "rtf/rtf_state.h"

namespace rtf {

// What a control word does. The reader switches over this; words not in the table are Unknown
// and ignored (or, after \*, make their group skipped).
enum class Action : uint8_t {
    Unknown,
    Destination,  // Keyword::dest says which
    // document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    // font and colour tables
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    // character formatting
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    FontSize,
    Font,
    Foreground,
    Background,
    Super,
    Sub,
    NoSuperSub,
    Hidden,
    // paragraph formatting
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    ListOverride,
    ListLevel,
    // text
    Par,
    Line,
    Character,
    Cell,
    Row,
    InTable,
    TableDepth,
    RowDefaults,
    CellRight,
    CellShading,
    CellMergeFirst,
    CellMerged,
    Border,
    // styles
    ParaStyle,
    CharStyle,
    OtherStyle,
    BasedOn,
    // rarer properties
    LineSpacing,
    LineMultiple,
    UnderlineColor,
    Caps,            // Keyword::ch: 1 all capitals, 2 small capitals
    AssociatedFont,  // \af: the font of the character class \dbch etc. chose
    CharacterClass,  // Keyword::ch: 1 after \dbch, 0 after \loch, \hich, \rtlch, \ltrch
    PageBreak,
    FootnoteMark,
    FontFamily,  // \fnil, \froman ...: only a font table entry has them
    // table cells
    CellHMergeFirst,
    CellHMerged,
    CellBorderSide,  // Keyword::ch: 0 top, 1 left, 2 bottom, 3 right
    BorderOther,     // a row or paragraph border follows, not a cell's
    BorderWidth,
    BorderColor,
};

struct Keyword {
    Action action = Action::Unknown;
    Destination dest = Destination::Body;  // for Action::Destination
    char16_t ch = 0;  // Action::Character; the style of Underline, Border; Caps, CharacterClass
};

Keyword lookupKeyword(QByteArrayView word);

}  // namespace rtf
