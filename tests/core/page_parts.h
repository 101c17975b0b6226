#pragma once

#include "book_fixture.h"
#include "core/catalog_loader.h"
#include "core/page_display.h"

#include <QWidget>

// The parts of the reader a page display touches, over a book in a temporary directory.
struct PageParts {
    BookFixture fx;
    QWidget window;
    platform::ListView list{&window};
    platform::PictureBox box{&window};
    platform::ImageControl image{box.inner()};
    platform::ScrollBar hscr{Qt::Horizontal, &window}, vscr{Qt::Vertical, &window};
    platform::RichTextBox text{&window};
    platform::StatusBar status{&window};
    core::ImageViewport viewport{image, box, hscr, vscr};

    // Writes the catalog and fills the list from it, as the reader does at start.
    void loadCatalog(const QByteArray& lines) {
        fx.catalog(lines);
        list.setWidth(2265);
        core::setUpCatalogColumns(list);
        core::LoadCatalog(list, fx.book());
    }
};
