#pragma once

#include <cstdint>
#include <vector>

// Stepping through the pages of a book, and which pages to decode ahead of the reader.
namespace core {

// The page after `current`, wrapping past the last to 1; with one page or none it stays.
int16_t nextPage(int16_t current, int pageCount);
// The page before `current`, wrapping below 1 to the last; with one page or none it stays.
int16_t previousPage(int16_t current, int pageCount);

// How the reader came to the page shown, which tells where it goes next.
enum class Heading {
    Forward,   // next, a catalog row, the first page: onwards, perhaps back
    Backward,  // previous, the last page: back, perhaps onwards
    AutoPlay,  // auto-play only ever goes on
};

// The pages worth decoding while page `current` of `pageCount` is shown, the first to be wanted
// first: the page the reader is heading for, then the one the other way. `catchingUp` (the page
// shown is itself still decoding) means the reader turns faster than pages decode: then only
// the page it heads for, so a held key shows a page whenever one is ready and no worker goes to
// the way back. Never `current` itself; with one page or none, nothing.
std::vector<int16_t> pagesAhead(int16_t current, Heading heading, int pageCount,
                                bool catchingUp = false);

}  // namespace core
