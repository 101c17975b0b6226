// Any bytes in a picture file load through our limits, or are refused with a reason, without
// crashing, hanging or unbounded memory. Pictures load by path, so each input is written to a
// file first. Seeds: the sample book's pictures and tiny pictures of every book format.
#include "fuzz_app.h"
#include "platform/picture.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ensureApplication();
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("page.jpg"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    const platform::PictureLoad load = platform::loadPicture(path);
    if (load.ok() == load.picture.isNull()) std::abort();  // a picture, or a reason
    if (load.ok() && (load.picture.image().width() > platform::kMaxPictureSide ||
                      load.picture.image().height() > platform::kMaxPictureSide))
        std::abort();
    return 0;
}
