// The reader's words for table cell borders and horizontal merges; \cellx ends their cell.
#include "rtf/rtf_reader.h"

#include <algorithm>

namespace rtf {

bool Reader::cellWord(const Keyword& k, const Token& t) {
    RowState::Cell& next = row_.next;
    RowState::Cell::Side* side = borderSide_ >= 0 ? &next.sides[borderSide_] : nullptr;
    switch (k.action) {
        case Action::CellRight:
        case Action::RowDefaults:
            borderSide_ = -1;
            return false;  // the row definition itself is kept by formattingWord
        case Action::CellHMergeFirst:
            next.hMergeFirst = true;
            return true;
        case Action::CellHMerged:
            next.hMerged = true;
            return true;
        case Action::CellBorderSide:
            borderSide_ = k.ch;
            next.hasSides = true;
            return true;
        case Action::BorderOther:
            borderSide_ = -1;
            return true;
        case Action::Border:
            if (k.ch != 0) row_.borders = true;
            if (side) side->style = uint8_t(k.ch);
            return true;
        case Action::BorderWidth:
            if (side) side->width = std::clamp(t.hasParam ? t.param : 0, 0, 1440);
            return true;
        case Action::BorderColor:
            if (side) side->color = std::max(t.hasParam ? t.param : 0, 0);
            return true;
        default:
            return false;
    }
}

}  // namespace rtf
