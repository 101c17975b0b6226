#pragma once

#include <QImage>
#include <QList>
#include <QRect>

namespace measure {

// How close a rendering is to a reference picture of the same size; all in 0..1.
struct Agreement {
    double bboxIou = 0;   // overlap of the two ink bounding boxes
    double inkF1 = 0;     // ink pixels matched within 2 px, as an F1 score
    double ssim = 0;      // luminance SSIM over the union of the ink boxes
    double colorMae = 1;  // mean RGB difference there (0 = same)
};

// Both pictures are put onto white; `masked` rectangles are whited out in both first.
// "Ink" is any pixel more than 24/255 from white in some channel.
Agreement compareImages(const QImage& ours, const QImage& reference,
                        const QList<QRect>& masked = {});

}  // namespace measure
