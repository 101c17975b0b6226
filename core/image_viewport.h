#pragma once

#include "latest_request.h"

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

    // Whether a sharper decode of the picture shown is under way.
    bool sharpening() const { return sharpening_.pending(); }
    // Handles events until no sharper decode is under way; for tests.
    void waitForSharpen() { sharpening_.waitFor(); }

  signals:
    // The picture shown was replaced by a sharper decode of the same file.
    void sharpened();

  private:
    // A picture decoded for a smaller size than it is now shown at (a larger window, a zoom)
    // is decoded again from its file at the size shown, on a worker; the scaled picture stays
    // on screen until the sharp one replaces it.
    void sharpen();
    void swapInSharp(const platform::Picture& sharp);
    void HScr_Change(int value);
    void VScr_Change(int value);

    platform::ImageControl& image_;
    platform::PictureBox& box_;
    platform::ScrollBar& hscr_;
    platform::ScrollBar& vscr_;
    float hUnit_ = 1.0f;
    float vUnit_ = 1.0f;
    LatestRequest<platform::Picture> sharpening_{this};
    qint64 sharpeningKey_ = 0;  // the pixels being sharpened, and to what size
    QSize sharpeningTo_;
};

}  // namespace core
