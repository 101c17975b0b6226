#pragma once

#include <cstdint>
#include <vector>

namespace rtf {

// Where the text of a group goes. Groups inherit their parent's destination; a destination
// control word at the start of a group changes it for that group.
enum class Destination : uint8_t {
    Body,         // document text
    Skip,         // everything up to the end of the group is ignored
    FontTable,    // \fonttbl
    ColorTable,   // \colortbl
    Upr,          // \upr: holds an ANSI group and a \ud Unicode group; only \ud is read
    Drop,         // control words apply, text is dropped (the ANSI half of \upr)
    Picture,      // \pict: its words and data
    FieldInst,    // a field's instruction, read for HYPERLINK
    ShapeInst,    // a shape's properties: only its picture is read
    ShapeResult,  // a shape's replacement; read unless the shape gave its picture already
    Lists,        // \listtable, \listoverridetable, \pn: list definitions
    StyleSheet,   // \stylesheet, \defchp, \defpap: formatting words are kept, not applied
};

enum class VerticalAlign : uint8_t { Normal, Super, Sub };
enum class Alignment : uint8_t { Left, Center, Right, Justify };

// Character formatting as RTF states it; resolved against the tables when text is written.
struct CharState {
    int font = -1;  // -1: the document's default font (\deff)
    int halfPoints = 24;
    int foreground = 0;  // colour-table index, 0 = automatic
    int background = 0;  // \cb or \highlight, 0 = none
    int link = -1;       // index of the HYPERLINK target the text belongs to
    bool bold = false;
    bool italic = false;
    uint8_t underline = 0;    // a QTextCharFormat::UnderlineStyle, 0 = none
    int underlineColor = 0;   // \ulc colour-table index, 0 = the text's colour
    uint8_t caps = 0;         // 1 \caps, 2 \scaps
    bool doubleByte = false;  // \dbch: a following \af names the double-byte font
    int doubleByteFont = -1;  // the font for CJK text, -1 = the text's own
    bool strike = false;
    bool hidden = false;
    VerticalAlign valign = VerticalAlign::Normal;

    bool operator==(const CharState&) const = default;
};

// Paragraph formatting; lengths in twips.
struct ParaState {
    Alignment align = Alignment::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;        // \sl: > 0 at least, < 0 exactly, 0 single
    bool lineMultiple = false;  // \slmult1: \sl is in 240ths of a line
    bool inTable = false;       // \intbl
    int nesting = 1;            // \itap: table depth of an \intbl paragraph
    int listOverride = -1;      // \ls: the list the paragraph is an item of
    int listLevel = 0;          // \ilvl
    int pn = -1;                // the \pn numbering of the paragraph

    bool operator==(const ParaState&) const = default;
    int tableDepth() const { return inTable ? nesting : 0; }
};

// The definition of the table row being read (\trowd and what follows), applied at its end.
struct RowState {
    static constexpr size_t kMaxCells = 63;  // Word's limit; later \cellx are ignored
    struct Cell {
        int right = 0;             // \cellx, twips from the row's left edge
        int shading = 0;           // \clcbpat colour index, 0 = none
        bool mergeFirst = false;   // \clvmgf: the top of a vertical merge
        bool merged = false;       // \clvmrg: joined to the cell above
        bool hMergeFirst = false;  // \clmgf: the left of a horizontal merge
        bool hMerged = false;      // \clmrg: joined to the cell on the left
        struct Side {
            uint8_t style = 0;  // a QTextFrameFormat::BorderStyle, 0 = none
            int width = 0;      // \brdrw, twips
            int color = 0;      // \brdrcf colour-table index
        };
        Side sides[4];  // top, left, bottom, right
        bool hasSides = false;
    };
    std::vector<Cell> cells;
    Cell next;             // properties of the cell whose \cellx is still to come
    bool borders = false;  // some border of the row is drawn
};

// What a group saves on '{' and restores on '}'.
struct GroupState {
    CharState chr;
    ParaState para;
    Destination dest = Destination::Body;
    int unicodeSkip = 1;     // \ucN: fallback characters after each \uN
    bool listLabel = false;  // text of \listtext or \pntext: the label a list item draws itself
};

}  // namespace rtf
