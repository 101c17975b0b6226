#include "page_display.h"

#include "catalog.h"

namespace core {
namespace {

enum Column { kPageNo = 0, kTitle = 1, kTextFile = 2, kImageFile = 3 };

bool rowExists(const platform::ListView& list, int row) {
    return row >= 1 && row <= list.rowCount();
}

void showPicture(PageView& view, const QString& name) {
    platform::ImageControl& image = view.viewport.image();
    if (name.isEmpty()) {
        image.setPicture({});  // a page without a picture shows none
        view.status.setPanelText(1, QString());
        return;
    }
    platform::PictureLoad load;
    if (isBareFileName(name))
        load = platform::loadPicture(view.book.filePath(name));
    else
        load.error = QStringLiteral("文件名不在本书目录内");
    if (load.ok()) {
        image.setPicture(std::move(load.picture), name);
        view.status.setPanelText(1, QString());
    } else {
        // Never leave the previous page's picture under this page's title.
        image.setPicture({}, name);
        view.status.setPanelText(1, QStringLiteral("无法显示图像 %1：%2").arg(name, load.error));
    }
}

}  // namespace

QString pageNo(const platform::ListView& list, int row) {
    return list.text(row, kPageNo);
}
QString pageTitle(const platform::ListView& list, int row) {
    return list.text(row, kTitle);
}
QString pageTextFile(const platform::ListView& list, int row) {
    return list.text(row, kTextFile);
}
QString pageImageFile(const platform::ListView& list, int row) {
    return list.text(row, kImageFile);
}

void ShowPage(PageView& view, int16_t row, bool loadPicture) {
    platform::ImageControl& image = view.viewport.image();
    const bool exists = rowExists(view.list, row);
    if (loadPicture) {
        image.setStretch(false);
        image.setVisible(false);
        if (exists) showPicture(view, pageImageFile(view.list, row));
        image.setStretch(true);
    }
    view.viewport.FitImage();
    view.viewport.PlaceImage();
    image.setVisible(true);
    if (!exists) return;
    const QString textFile = pageTextFile(view.list, row);
    if (isBareFileName(textFile)) view.text.loadFile(view.book.filePath(textFile));
    view.status.setPanelText(2, pageTitle(view.list, row));
    view.status.setPanelText(3, pageNo(view.list, row));
}

int16_t rowOfClickedItem(const platform::ListView& list, int clickedRow, int16_t current) {
    const QString clicked = pageNo(list, clickedRow);
    for (int j = 1; j <= list.rowCount(); ++j)
        if (list.text(j, kPageNo) == clicked) return static_cast<int16_t>(j);
    return current;
}

}  // namespace core
