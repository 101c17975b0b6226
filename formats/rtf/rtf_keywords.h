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
};

struct Keyword {
    Action action = Action::Unknown;
    Destination dest = Destination::Body;  // for Action::Destination
    char16_t ch = 0;                       // for Action::Character
};

Keyword lookupKeyword(QByteArrayView word);

}  // namespace rtf
