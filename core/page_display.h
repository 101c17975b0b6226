#pragma once

#include "image_viewport.h"
#include "page_cache.h"
#include "page_turn.h"
#include "platform/list_view.h"
#include "platform/rich_text_box.h"
#include "platform/status_bar.h"

#include <QDir>

#include <cstdint>

namespace core {

// What showing a page touches on the reader window.
struct PageView {
    platform::ListView& list;
    ImageViewport& viewport;
    platform::RichTextBox& text;
    platform::StatusBar& status;
    QDir book;  // the book directory, where bare names are looked up
    // Pictures decoded ahead; without it each page is decoded when shown.
    PageCache* cache = nullptr;
};

// The catalog row's fields, read from the list (empty strings for a missing row).
QString pageNo(const platform::ListView& list, int row);
QString pageTitle(const platform::ListView& list, int row);
QString pageTextFile(const platform::ListView& list, int row);
QString pageImageFile(const platform::ListView& list, int row);

// The picture files to keep decoded while row `shown` is on screen: its own, then those of
// pagesAhead, each once.
QStringList picturesAround(const platform::ListView& list, int16_t shown, Heading heading,
                           bool catchingUp = false);

// Shows row `row`: the picture, fitted and placed, the text, and title and number in the status
// bar. Every step is on its own: a missing text file or a missing row leaves what was shown.
// A picture that cannot be shown leaves the viewport empty and says so in status panel 1; so does
// a text file that is there but refused (not a regular file, leading out of the book, too large).
// With `loadPicture` false the picture shown stays and is only fitted and placed again.
void ShowPage(PageView& view, int16_t row, bool loadPicture = true);
// The picture of row `row` as ShowPage loads it, on the calling thread.
platform::PictureLoad loadPictureOf(const PageView& view, int16_t row);
// The steps of ShowPage with the picture already loaded (empty for a row without a picture):
// everything of the page is put on screen in this one call.
void ShowLoadedPage(PageView& view, int16_t row, bool loadPicture, platform::PictureLoad load);

// The row-click handler's search: the row whose number text is the clicked row's, or `current`.
int16_t rowOfClickedItem(const platform::ListView& list, int clickedRow, int16_t current);

}  // namespace core
