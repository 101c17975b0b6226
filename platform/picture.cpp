#include "picture.h"

#include "book_file.h"
#include "exif_thumbnail.h"
#include "jpeg_decoder.h"
#include "twips.h"
#include "vector_picture.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <optional>

namespace platform {
namespace {

// A format a book holds: how its file starts, and how many pixels one byte of the file can
// describe at most, so a header claiming more than the file can hold is refused before decoding.
struct BookFormat {
    const char* name;
    QByteArrayView magic;
    qint64 maxPixelsPerByte;
};

constexpr BookFormat kFormats[] = {
    // RLE's longest run: 255 pixels in 2 bytes.
    {"bmp", "BM", 128},
    // LZW codes of up to 12 bits, each at most 4096 pixels.
    {"gif", "GIF8", 4096 * 8 / 12},
    // Huffman coding spends at least one bit per 8 x 8 block; with room for arithmetic coding.
    {"jpeg", "\xFF\xD8\xFF", 1024},
    // Deflate expands at most 1032-fold, to pixels of one bit.
    {"png", "\x89PNG\r\n\x1A\n", 1032 * 8},
    // Icons hold bitmaps or PNG images.
    {"ico", QByteArrayView("\0\0\1\0", 4), 1032 * 8},
};

const BookFormat* formatOf(const QByteArray& bytes) {
    for (const BookFormat& f : kFormats)
        if (QByteArrayView(bytes).startsWith(f.magic)) return &f;
    return nullptr;
}

PictureLoad failed(const QString& reason) {
    return {{}, reason};
}

// A decode stopped on purpose ends as a truncated file would, and the decoders warn about that
// ("Corrupt JPEG data: premature end of data segment"). Those warnings are dropped on the thread
// whose decode was stopped, and only there; every other message passes to the previous handler.
thread_local bool t_decodeStopped = false;
QtMessageHandler g_previousHandler = nullptr;

void quietWhileStopped(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (t_decodeStopped && type == QtWarningMsg) return;
    if (g_previousHandler) g_previousHandler(type, context, text);
}

struct StoppedDecodeQuiet {
    StoppedDecodeQuiet() {
        static std::once_flag installed;
        std::call_once(installed,
                       [] { g_previousHandler = qInstallMessageHandler(quietWhileStopped); });
    }
    ~StoppedDecodeQuiet() { t_decodeStopped = false; }
};

// The file's bytes as the decoder reads them; once `stop` is set the decoder reads no more, and
// finishes at once as with a truncated file. Not a QBuffer: decoders take all of its bytes at once.
class StoppableDevice : public QIODevice {
  public:
    StoppableDevice(const QByteArray& bytes, const std::atomic<bool>* stop)
        : bytes_(bytes), stop_(stop) {
        open(QIODevice::ReadOnly);
    }
    qint64 size() const override { return bytes_.size(); }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (stop_ && stop_->load(std::memory_order_relaxed)) {
            t_decodeStopped = true;
            return -1;
        }
        const qint64 n = qBound(qint64(0), bytes_.size() - pos(), maxSize);
        // Qt asks for zero bytes into no buffer at times; memcpy must not see a null pointer.
        if (n > 0) std::memcpy(data, bytes_.constData() + pos(), size_t(n));
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    const QByteArray bytes_;
    const std::atomic<bool>* stop_;
};

bool isStopped(const std::atomic<bool>* stop) {
    return stop && stop->load(std::memory_order_relaxed);
}

// The stored pixels turned upright as the file's EXIF orientation says, the way Qt's reader
// applies it: mirror and flip first, then a quarter turn.
QImage upright(QImage image, QImageIOHandler::Transformations turn) {
    if (turn == QImageIOHandler::TransformationNone) return image;
    if (turn == QImageIOHandler::TransformationRotate270)
        return image.transformed(QTransform().rotate(270));
    image = std::move(image).mirrored(turn.testFlag(QImageIOHandler::TransformationMirror),
                                      turn.testFlag(QImageIOHandler::TransformationFlip));
    if (turn.testFlag(QImageIOHandler::TransformationRotate90))
        image = image.transformed(QTransform().rotate(90));
    return image;
}

}  // namespace

Picture::Picture(QImage image, QSize naturalPixels)
    : image_(std::move(image)), naturalPixels_(naturalPixels) {
    if (naturalPixels_.isEmpty()) naturalPixels_ = image_.size();
}

Picture::Picture(QImage image, QSize naturalPixels, QString sourcePath)
    : Picture(std::move(image), naturalPixels) {
    if (image_.size() != naturalPixels_) sourcePath_ = std::move(sourcePath);
}

Picture::Picture(std::shared_ptr<const VectorPicture> vector) : vector_(std::move(vector)) {}

QSizeF Picture::naturalSize() const {
    if (vector_) return vector_->naturalTwips();
    if (image_.isNull()) return {0.0, 0.0};
    const float tpp = twipsPerPixel();
    return {naturalPixels_.width() * static_cast<double>(tpp),
            naturalPixels_.height() * static_cast<double>(tpp)};
}

void Picture::paint(QPainter& painter, const QRectF& target, const QRectF& exposed) const {
    if (target.isEmpty()) return;
    if (vector_) {
        vector_->paint(painter, target, exposed);
        return;
    }
    if (image_.isNull()) return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, image_);
}

Picture Picture::withPixels(QSize pixels) const {
    if (!isReduced()) return *this;
    const QSize wanted = pixels.boundedTo(naturalPixels_);
    if (image_.width() >= wanted.width() && image_.height() >= wanted.height()) return *this;
    // The fit keeps the aspect ratio, so asking to fill `wanted` covers both sides.
    PictureLoad load = loadPicture(sourcePath_, wanted == naturalPixels_ ? QSize() : wanted);
    // A file replaced since by another picture is not mixed into this one.
    if (!load.ok() || load.picture.naturalPixels_ != naturalPixels_) return *this;
    return std::move(load.picture);
}

Picture Picture::fullResolution() const {
    return withPixels(naturalPixels_);
}

qint64 Picture::memoryBytes() const {
    return image_.sizeInBytes();
}

QSize reducedSize(QSize natural, QSize fit) {
    if (natural.isEmpty() || fit.isEmpty()) return natural;
    const double scale = std::min(
        {double(fit.width()) / natural.width(), double(fit.height()) / natural.height(), 1.0});
    return {qBound(1, int(std::ceil(natural.width() * scale - 1e-6)), natural.width()),
            qBound(1, int(std::ceil(natural.height() * scale - 1e-6)), natural.height())};
}

namespace {

// The camera's own small copy inside the EXIF block, when it covers `scaled` (stored pixels) and
// has the photo's shape: decoding it costs a fraction of a millisecond, the photo tens.
std::optional<QImage> embeddedThumbnail(const QByteArray& bytes, QSize stored, QSize scaled) {
    // A copy at most this large per side is a thumbnail; a header claiming more is not trusted
    // with memory.
    constexpr int kMaxCopySide = 1024;
    QByteArray small = exifThumbnail(bytes);
    if (small.isEmpty()) return std::nullopt;
    QBuffer header(&small);
    const QSize got = QImageReader(&header, "jpeg").size();
    if (!got.isValid() || got.width() > kMaxCopySide || got.height() > kMaxCopySide)
        return std::nullopt;
    if (got.width() < scaled.width() || got.height() < scaled.height()) return std::nullopt;
    // Many cameras pad a 3:2 photo's thumbnail to 4:3 with black bars; such a one is not used.
    const double shape =
        double(got.width()) * stored.height() / (double(got.height()) * stored.width());
    if (shape < 0.98 || shape > 1.02) return std::nullopt;
    JpegDecode jpeg = decodeJpeg(small, scaled, nullptr);
    if (jpeg.outcome != JpegDecode::Outcome::Decoded) return std::nullopt;
    return std::move(jpeg.image);
}

PictureLoad decodeFrom(const QByteArray& bytes, QSize fitPixels, const QString& path,
                       const std::atomic<bool>* stop, bool thumbnail = false) {
    // Metafiles are told by their content, whatever the file is called.
    if (looksLikeMetafile(bytes)) return decodeMetafile(bytes);
    const BookFormat* format = formatOf(bytes);
    if (!format) return failed(QStringLiteral("不是可显示的图像格式"));

    // Qt's own allocation cap (256 MB) would refuse large but legitimate photos; ours are the
    // side limit and the pixel budget, which bound a decoded picture well below 1 GB.
    static const bool limitSet = [] {
        QImageReader::setAllocationLimit(1024);
        return true;
    }();
    Q_UNUSED(limitSet);
    const std::optional<StoppedDecodeQuiet> quiet =
        stop ? std::optional<StoppedDecodeQuiet>(std::in_place) : std::nullopt;
    StoppableDevice device(bytes, stop);
    QImageReader reader(&device, format->name);
    reader.setAutoTransform(true);  // phone photos carry their orientation in EXIF
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return failed(QStringLiteral("无法读取图像：%1").arg(reader.errorString()));
    if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
        return failed(QStringLiteral("图像过大"));
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > qint64(bytes.size()) * format->maxPixelsPerByte)
        return failed(QStringLiteral("图像尺寸与文件大小不符"));
    QSize scaled = size;
    if (pixels > kMaxDecodedPixels) {
        const double scale = std::sqrt(double(kMaxDecodedPixels) / double(pixels));
        scaled = QSize(qMax(1, int(size.width() * scale)), qMax(1, int(size.height() * scale)));
    }
    // The orientation is known once the header is read; the natural size is the upright one,
    // while the decoder scales the stored one.
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    if (!fitPixels.isEmpty())
        scaled = scaled.boundedTo(reducedSize(size, turned ? fitPixels.transposed() : fitPixels));
    if (scaled != size) reader.setScaledSize(scaled);
    QSize natural = size;
    if (turned) natural.transpose();

    // libjpeg-turbo directly, for speed; Qt's reader takes the colour models it leaves.
    if (qstrcmp(format->name, "jpeg") == 0) {
        if (thumbnail && scaled != size)
            if (std::optional<QImage> small = embeddedThumbnail(bytes, size, scaled))
                return {Picture(upright(std::move(*small), reader.transformation()), natural, path),
                        {}};
        JpegDecode jpeg = decodeJpeg(bytes, scaled, stop);
        if (jpeg.outcome == JpegDecode::Outcome::Stopped) return stoppedLoad();
        if (jpeg.outcome == JpegDecode::Outcome::TooLarge)
            return failed(QStringLiteral("图像过大"));
        if (jpeg.outcome == JpegDecode::Outcome::Failed)
            return failed(QStringLiteral("无法读取图像：%1").arg(jpeg.error));
        if (jpeg.outcome == JpegDecode::Outcome::Decoded)
            return {Picture(upright(std::move(jpeg.image), reader.transformation()), natural, path),
                    {}};
    }

    QImage image;
    const bool read = reader.read(&image);
    if (isStopped(stop)) return stoppedLoad();
    if (!read || image.isNull())
        return failed(QStringLiteral("无法读取图像：%1").arg(reader.errorString()));
    // A header can understate what the file's frames hold (a GIF frame outside its screen): the
    // pixels decoded are what count.
    if (image.width() > kMaxPictureSide || image.height() > kMaxPictureSide)
        return failed(QStringLiteral("图像过大"));
    if (scaled == size) natural = image.size();
    // Converted once here, so painting draws the pixels as they are.
    if (image.format() != QImage::Format_ARGB32_Premultiplied && image.hasAlphaChannel())
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    else if (!image.hasAlphaChannel() && image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_RGB32);
    return {Picture(std::move(image), natural, path), {}};
}

}  // namespace

PictureLoad stoppedLoad() {
    return {{}, QStringLiteral("已取消"), true};
}

PictureLoad decodePicture(const QByteArray& bytes, QSize fitPixels) {
    return decodeFrom(bytes, fitPixels, {}, nullptr);
}

namespace {

PictureLoad loadFrom(const QString& path, QSize fitPixels, const std::atomic<bool>* stop,
                     bool thumbnail) {
    if (isStopped(stop)) return stoppedLoad();
    const BookFileRead file = readBookFile(path, kMaxPictureBytes);
    if (!file.ok()) return failed(file.error);
    return decodeFrom(file.bytes, fitPixels, path, stop, thumbnail);
}

}  // namespace

PictureLoad loadPicture(const QString& path, QSize fitPixels, const std::atomic<bool>* stop) {
    return loadFrom(path, fitPixels, stop, false);
}

PictureLoad decodeThumbnail(const QByteArray& bytes, QSize fitPixels) {
    return decodeFrom(bytes, fitPixels, {}, nullptr, true);
}

PictureLoad loadThumbnail(const QString& path, QSize fitPixels) {
    return loadFrom(path, fitPixels, nullptr, true);
}

}  // namespace platform
