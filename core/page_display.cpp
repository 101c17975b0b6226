#include "page_display.h"

#include "catalog.h"
#include "catalog_loader.h"

#include "platform/book_file.h"

namespace core {
namespace {

bool rowExists(const platform::ListView& list, int row) {
    return row >= 1 && row <= list.rowCount();
}

const QString kOutsideBook = QStringLiteral("文件名不在本书目录内");

// A name as a message quotes it: a hostile catalog's name of thousands of characters is cut.
QString quoted(const QString& name) {
    constexpr qsizetype kShown = 60;
    return name.size() <= kShown ? name : name.left(kShown) + QStringLiteral("…");
}

QString problem(const char* what, const QString& name, const QString& reason) {
    return QStringLiteral("无法显示%1 %2：%3").arg(QString::fromUtf8(what), quoted(name), reason);
}

// Puts the loaded picture into the image; returns what went wrong, for status panel 1, or an
// empty string.
QString showPicture(PageView& view, const QString& name, platform::PictureLoad load) {
    platform::ImageControl& image = view.viewport.image();
    if (name.isEmpty()) {
        image.setPicture({});  // a page without a picture shows none
        return {};
    }
    if (load.ok()) {
        image.setPicture(std::move(load.picture), name);
        return {};
    }
    // Never leave the previous page's picture under this page's title.
    image.setPicture({}, name);
    return problem("图像", name, load.error);
}

// Loads the page's text. A missing, empty or absent file leaves the previous text silently; a
// file that is there but refused says why, as it would otherwise look like a missing one.
QString showText(PageView& view, const QString& name) {
    if (name.isEmpty()) return {};
    if (!isBareFileName(name)) return problem("文字", name, kOutsideBook);
    const platform::BookFileRead file =
        platform::readBookFile(view.book, name, platform::RichTextBox::kMaxFileBytes);
    if (file.missing) return {};
    if (!file.ok()) return problem("文字", name, file.error);
    view.text.loadBytes(file.bytes);
    return {};
}

}  // namespace

// The page's fields come from the book the list displays, not from its cells.
QString pageNo(const platform::ListView& list, int row) {
    return bookOf(list).page(row).pageNo;
}
QString pageTitle(const platform::ListView& list, int row) {
    return bookOf(list).page(row).title;
}
QString pageTextFile(const platform::ListView& list, int row) {
    return bookOf(list).page(row).textFile;
}
QString pageImageFile(const platform::ListView& list, int row) {
    return bookOf(list).page(row).imageFile;
}

QStringList picturesAround(const platform::ListView& list, int16_t shown, Heading heading,
                           bool catchingUp) {
    QStringList names{pageImageFile(list, shown)};
    for (int16_t row : pagesAhead(shown, heading, list.rowCount(), catchingUp))
        names.append(pageImageFile(list, row));
    names.removeDuplicates();
    names.removeAll(QString());
    return names;
}

platform::PictureLoad loadPictureOf(const PageView& view, int16_t row) {
    const QString name = pageImageFile(view.list, row);
    if (name.isEmpty()) return {};
    // Decoded no larger than the viewport shows it; the natural size still comes from the file.
    const QSize pixels = view.viewport.devicePixels();
    return view.cache ? view.cache->take(view.book, name, pixels)
                      : loadPagePicture(view.book, name, pixels);
}

void ShowPage(PageView& view, int16_t row, bool loadPicture) {
    platform::PictureLoad load;
    if (loadPicture && rowExists(view.list, row)) load = loadPictureOf(view, row);
    ShowLoadedPage(view, row, loadPicture, std::move(load));
}

void ShowLoadedPage(PageView& view, int16_t row, bool loadPicture, platform::PictureLoad load) {
    platform::ImageControl& image = view.viewport.image();
    const bool exists = rowExists(view.list, row);
    QString pictureProblem;
    if (loadPicture) {
        image.setStretch(false);
        image.setVisible(false);
        if (exists)
            pictureProblem = showPicture(view, pageImageFile(view.list, row), std::move(load));
        image.setStretch(true);
    }
    view.viewport.FitImage();
    view.viewport.PlaceImage();
    image.setVisible(true);
    if (!exists) return;
    const QString textProblem = showText(view, pageTextFile(view.list, row));
    if (loadPicture) {
        QStringList problems{pictureProblem, textProblem};
        problems.removeAll(QString());
        view.status.setPanelText(1, problems.join(QStringLiteral("  ")));
    }
    view.status.setPanelText(2, pageTitle(view.list, row));
    view.status.setPanelText(3, pageNo(view.list, row));
}

int16_t rowOfClickedItem(const platform::ListView& list, int clickedRow, int16_t current) {
    const QString clicked = pageNo(list, clickedRow);
    for (int j = 1; j <= list.rowCount(); ++j)
        if (pageNo(list, j) == clicked) return static_cast<int16_t>(j);
    return current;
}

}  // namespace core
