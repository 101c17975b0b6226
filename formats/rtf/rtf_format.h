#pragma once

#include <QTextBlockFormat>
#include <QTextCharFormat>

#include "rtf/rtf_state.h"
#include "rtf/rtf_tables.h"

namespace rtf {

// Character formatting for Qt. The font family is the RTF name as written (e.g. "宋体"); the
// application maps such names to installed fonts.
QTextCharFormat toCharFormat(const CharState& state, const FontInfo* font,
                             const ColorTable& colors);

// Paragraph formatting for Qt; twips become points.
QTextBlockFormat toBlockFormat(const ParaState& state);

}  // namespace rtf
