// Any bytes in a picture file decode through our limits, or are refused with a reason, without
// crashing, hanging or unbounded memory. Seeds: the sample book's pictures and tiny pictures of
// every book format.
#include "fuzz_app.h"
#include "platform/picture.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ensureApplication();
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const platform::PictureLoad load = platform::decodePicture(bytes);
    if (load.ok() == load.picture.isNull()) std::abort();  // a picture, or a reason
    if (load.ok() && (load.picture.image().width() > platform::kMaxPictureSide ||
                      load.picture.image().height() > platform::kMaxPictureSide))
        std::abort();
    // At thumbnail size too: a scaled decode, and the camera's copy inside the EXIF block.
    const platform::PictureLoad small = platform::decodeThumbnail(bytes, QSize(120, 120));
    if (small.ok() == small.picture.isNull()) std::abort();
    return 0;
}
