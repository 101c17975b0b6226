#pragma once

#include "platform/image_control.h"
#include "platform/picture_box.h"
#include "platform/scroll_bar.h"

#include <QObject>

namespace core {

// The page image in its viewport with the two scroll bars: fitting, placing and the scroll rule.
class ImageViewport : public QObject {
    Q_OBJECT
  public:
    ImageViewport(platform::ImageControl& image, platform::PictureBox& box,
                  platform::ScrollBar& hscr, platform::ScrollBar& vscr);

    // Scales the image to the viewport, keeping its aspect ratio; leaves stretching on.
    void FitImage();
    // Centres the image where it fits, otherwise starts it at the top-left corner and shows a
    // scroll bar (its Value put back to 0) over the excess.
    void PlaceImage();
    // Moves the visible scroll bars by these amounts of twips (positive: towards the picture's
    // right and bottom), within their range; the picture follows the bars. Returns false when
    // no bar moved.
    bool scrollBy(float dxTwips, float dyTwips);

    // The viewport's outer size in device pixels: what a picture is decoded to fill.
    QSize devicePixels() const;

    platform::ImageControl& image() const { return image_; }
    platform::PictureBox& box() const { return box_; }

  private:
    // A picture decoded for a smaller size than it is now shown at (a larger window, a zoom)
    // is decoded again from its file's bytes at the size shown, so it stays sharp.
    void sharpen();
    void HScr_Change(int value);
    void VScr_Change(int value);

    platform::ImageControl& image_;
    platform::PictureBox& box_;
    platform::ScrollBar& hscr_;
    platform::ScrollBar& vscr_;
    float hUnit_ = 1.0f;
    float vUnit_ = 1.0f;
};

}  // namespace core
