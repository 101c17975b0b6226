#include "platform/picture.h"
#include "platform/jpeg_decoder.h"

#include <gtest/gtest.h>

#include "formats/metafile_builder.h"
#include "support/case_names.h"
#include "support/jpeg_files.h"
#include "support/test_files.h"
#include "support/test_paths.h"

#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using casenames::PrintTo;  // table rows print as their names

// How far apart two colours are, summed over red, green and blue.
int distance(const QColor& a, const QColor& b) {
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
}

// Each file is named as a GIF, which none of them is: the content decides.
TEST(PictureLoading, ReadsEveryBookFormatByContentUprightAndRefusesAMissingFileOrAFolder) {
    QTemporaryDir dir;
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (const char* format : {"BMP", "JPG", "PNG", "ICO"}) {
        const QString path = dir.filePath(QStringLiteral("%1.gif").arg(format));
        ASSERT_TRUE(testfiles::write(path, testfiles::encoded(image, format)));
        const platform::PictureLoad load = platform::loadPicture(path);
        ASSERT_TRUE(load.ok()) << format << load.error.toStdString();
        EXPECT_EQ(load.picture.image().size(), QSize(30, 20)) << format;
        EXPECT_EQ(load.picture.naturalSize(), QSizeF(450, 300)) << format;
    }
    // Qt cannot write GIF; the sample book has one.
    const platform::PictureLoad gif =
        platform::loadPicture(testpaths::source("assets/sample-book/spring3.gif"));
    ASSERT_TRUE(gif.ok());
    EXPECT_EQ(gif.picture.naturalSize(), QSizeF(640 * 15, 480 * 15));

    // A phone's picture is shown upright.
    QImageWriter phone(dir.filePath("phone.jpg"));
    phone.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(phone.write(image));
    EXPECT_EQ(platform::loadPicture(dir.filePath("phone.jpg")).picture.image().size(),
              QSize(20, 30));

    for (const QString& path : {dir.filePath("missing.jpg"), dir.path()}) {
        const platform::PictureLoad load = platform::loadPicture(path);
        EXPECT_FALSE(load.ok()) << path.toStdString();
        EXPECT_TRUE(load.picture.isNull());
    }
}

struct RefusedCase {
    const char* name;
    QByteArray bytes;
    QString reason;
};

class RefusedPicture : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedPicture, IsNotDecodedAndSaysWhy) {
    const platform::PictureLoad load = platform::decodePicture(GetParam().bytes);
    EXPECT_TRUE(load.picture.isNull());
    EXPECT_TRUE(load.error.startsWith(GetParam().reason)) << load.error.toStdString();
}

// A real progressive JPEG patched to claim 16000 x 12000 pixels, padded so the file's size allows
// them: the decoder would hold 550 MB of coefficients for it.
QByteArray progressiveClaimingHuge() {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes = testfiles::jpeg(image, true);
    const qsizetype sof = bytes.indexOf("\xFF\xC2");
    qToBigEndian<quint16>(12000, bytes.data() + sof + 5);
    qToBigEndian<quint16>(16000, bytes.data() + sof + 7);
    return bytes + QByteArray(200 * 1024, '\0');
}

// A CMYK JPEG as print shops save them: Qt 6.4 cannot write one.
QByteArray cmykJpeg(const QImage& image) {
    return testjpeg::libjpegWritten(
        image.width(), image.height(), JCS_CMYK, {}, [&](int y, unsigned char* row) {
            for (int x = 0; x < image.width(); ++x) {
                // Adobe's inverted CMYK, as such files hold it; with no black the stored values are
                // the red, green and blue.
                const QRgb c = image.pixel(x, y);
                unsigned char* p = row + size_t(x) * 4;
                p[0] = uchar(qRed(c)), p[1] = uchar(qGreen(c)), p[2] = uchar(qBlue(c)), p[3] = 255;
            }
        });
}

const char kSvg[] =
    "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
    "width='64' height='64'><image href='/usr/share/pixmaps/debian-logo.png' width='64' "
    "height='64'/></svg>";
const QString kNotAPicture = QStringLiteral("不是可显示的图像格式");
const QString kMismatch = QStringLiteral("图像尺寸与文件大小不符");
const QString kTooBig = QStringLiteral("图像过大");
const QString kUnreadable = QStringLiteral("无法读取图像");
const QString kBadMetafile = QStringLiteral("无法读取图元文件");

const RefusedCase kRefused[] = {
    // Formats that can refer to other files, or that a book does not hold, whatever the name.
    {"Svg", kSvg, kNotAPicture},
    {"Xpm", "/* XPM */\nstatic char* x[] = {\"1 1 1 1\", \"a c #fff\", \"a\"};", kNotAPicture},
    {"Tiff", QByteArray("II*\0", 4) + QByteArray(60, '\0'), kNotAPicture},
    {"Empty", "", kNotAPicture},
    {"WordsStartingLikeAGif", "GIF? no, just words", kNotAPicture},
    // A header's claim the file's bytes cannot hold is refused before any pixel is made.
    {"TinyJpegClaiming16384Square", testfiles::claimingHuge("JPG"), kMismatch},
    {"TinyBmpClaiming16384Square", testfiles::claimingHuge("BMP"), kMismatch},
    {"TinyJpegWiderThan16384", testfiles::claimingHuge("JPG", 16385, 16), kTooBig},
    {"ProgressiveJpegNeedingTooMuchMemory", progressiveClaimingHuge(), kTooBig},
    // A GIF whose screen is 3 x 2 but whose frame reaches 26626 pixels down.
    {"GifFrameOutgrowingItsScreen",
     QByteArray("GIF89a\x03\x00\x02\x68\xf0\x00\x00\xff\x00\x00\x00\x00\x00!"
                "\xf9\x04\x00\x00\x00\x00\x00,Y\x00\x00\x00\x04g\x02\x00\x00"
                "\x02\x02\x00;",
                41),
     kTooBig},
    {"JpegOfManyScans", testjpeg::manyScans(), kUnreadable},
    {"JpegMarkerOnly", "\xFF\xD8\xFF", kUnreadable},
    {"TruncatedEmf", testing_metafile::Emf().bytes().left(60), kBadMetafile},
    {"WmfWithAnEmptyFrame", testing_metafile::Wmf(0, 0, 1440).bytes(), kBadMetafile}};
INSTANTIATE_TEST_SUITE_P(Cases, RefusedPicture, ::testing::ValuesIn(kRefused), casenames::byName);

TEST(PictureDecoding, DecodesAPictureFarLargerThanAnyScreenScaledButKeepsItsNaturalSize) {
    QImage image(8000, 6000, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const platform::PictureLoad load = platform::decodePicture(testfiles::encoded(image, "JPG"));
    ASSERT_TRUE(load.ok()) << load.error.toStdString();
    const QSize decoded = load.picture.image().size();
    EXPECT_LE(qint64(decoded.width()) * decoded.height(), platform::kMaxDecodedPixels);
    EXPECT_NEAR(double(decoded.width()) / decoded.height(), 8000.0 / 6000.0, 0.01);
    EXPECT_EQ(load.picture.naturalSize(), QSizeF(8000 * 15, 6000 * 15));
    EXPECT_LE(distance(load.picture.image().pixelColor(100, 100), Qt::darkCyan), 12);
}

// A decode stopped on purpose ends at once. Qt's readers end it like a truncated file, and their
// warning about that is noise; a warning from elsewhere still reaches the log. JPEG goes through
// our own decoder, CMYK JPEG through Qt's.
QStringList g_warnings;
void keepWarning(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg) g_warnings << text;
}

TEST(PictureDecoding, AStoppedDecodeLeavesNoWarningBehindOthersStillDo) {
    QTemporaryDir dir;
    QImage noise(2400, 2400, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb(x * 7 ^ y, y * 13, x ^ y));
    // Installed once: the decoders' own handler goes in front of it on the first stopped decode.
    const QtMessageHandler before = qInstallMessageHandler(keepWarning);
    for (const QByteArray& bytes : {testfiles::encoded(noise, "JPG"), cmykJpeg(noise)}) {
        SCOPED_TRACE(bytes.size());
        const QString path = dir.filePath("big.jpg");
        ASSERT_TRUE(testfiles::write(path, bytes));
        g_warnings.clear();
        bool stopped = false;
        for (int delayMs = 1; delayMs < 200 && !stopped; delayMs *= 2) {
            std::atomic<bool> stop{false};
            std::thread stopper([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
                stop = true;
            });
            stopped = platform::loadPicture(path, {}, &stop).stopped;
            stopper.join();
        }
        qWarning("a warning of its own");
        EXPECT_TRUE(stopped) << "the decode always ended before it could be stopped";
        EXPECT_EQ(g_warnings.join(" | ").toStdString(), "a warning of its own");
    }
    qInstallMessageHandler(before);
}

using testfiles::corners;
using testfiles::jpeg;

// Three quarters of a file, as a copy broken off leaves it.
QByteArray truncated(const QByteArray& bytes) {
    return bytes.left(bytes.size() * 3 / 4);
}

struct JpegCase {
    const char* name;
    QByteArray bytes;
    QSize fit;
    QSize expected;
};

class JpegDecoding : public ::testing::TestWithParam<JpegCase> {};

// Qt's own reader shows the picture upright; ours must look the same at whatever size it decoded,
// damaged files included (the rows near the bottom are where a truncated file differs).
void expectLooksAsQtsReaderShowsIt(const QByteArray& bytes, const QImage& decoded) {
    QBuffer file;
    file.setData(bytes);
    QImageReader reader(&file, "jpeg");
    reader.setAutoTransform(true);
    const QImage reference =
        reader.read().scaled(decoded.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (QPointF at : {QPointF(0.2, 0.2), QPointF(0.8, 0.2), QPointF(0.2, 0.8), QPointF(0.8, 0.8),
                       QPointF(0.25, 0.98), QPointF(0.75, 0.98)}) {
        const QPoint p(int(at.x() * decoded.width()), int(at.y() * decoded.height()));
        EXPECT_LE(distance(reference.pixelColor(p), decoded.pixelColor(p)), 48)
            << p.x() << "," << p.y();
    }
}

TEST_P(JpegDecoding, LooksAsQtsReaderShowsIt) {
    const JpegCase& c = GetParam();
    const platform::PictureLoad load = platform::decodePicture(c.bytes, c.fit);
    ASSERT_TRUE(load.ok()) << load.error.toStdString();
    EXPECT_EQ(load.picture.image().size(), c.expected);
    EXPECT_EQ(load.picture.image().format(), QImage::Format_RGB32);
    expectLooksAsQtsReaderShowsIt(c.bytes, load.picture.image());
}

const JpegCase kJpegs[] = {
    {"Baseline", jpeg(corners(64, 48)), {}, {64, 48}},
    {"BaselineHalvedByTheDecoder", jpeg(corners(640, 480)), {320, 240}, {320, 240}},
    {"BaselineScaledBetweenDctSizes", jpeg(corners(640, 480)), {300, 300}, {300, 225}},
    {"OddSizeEighth", jpeg(corners(801, 601)), {90, 90}, {90, 68}},
    {"Progressive", jpeg(corners(640, 480), true), {200, 200}, {200, 150}},
    {"Grayscale", jpeg(corners(64, 48).convertToFormat(QImage::Format_Grayscale8)), {}, {64, 48}},
    {"CmykLeftToQt", cmykJpeg(corners(64, 48)), {}, {64, 48}},
    // The rows the file still holds are shown, the rest as the decoder fills them.
    {"Truncated", truncated(jpeg(corners(640, 480))), {}, {640, 480}},
    {"ProgressiveTruncated", truncated(jpeg(corners(640, 480), true)), {320, 240}, {320, 240}}};
INSTANTIATE_TEST_SUITE_P(Cases, JpegDecoding, ::testing::ValuesIn(kJpegs), casenames::byName);

// The decoder rounds a scaled side up; no size wanted means the whole picture.
TEST(JpegDecoding, ScaleDenominatorJustCoversTheSizeWanted) {
    using platform::jpegScaleDenominator;
    EXPECT_EQ(jpegScaleDenominator({4000, 3000}, {1067, 800}), 2);
    EXPECT_EQ(jpegScaleDenominator({4000, 3000}, {1000, 750}), 4);
    EXPECT_EQ(jpegScaleDenominator({4000, 3000}, {1001, 750}), 2);
    EXPECT_EQ(jpegScaleDenominator({4000, 3000}, {500, 375}), 8);
    EXPECT_EQ(jpegScaleDenominator({4000, 3000}, {4000, 3000}), 1);
    EXPECT_EQ(jpegScaleDenominator({4001, 3001}, {2001, 1501}), 2);
    EXPECT_EQ(jpegScaleDenominator({100, 100}, {1, 1}), 8);
    EXPECT_EQ(jpegScaleDenominator({4000, 3000}, {}), 1);
}

// A JPEG of `w` x `h` stored pixels whose corners differ, with an EXIF orientation tag (1 to 8).
QByteArray orientedJpeg(int w, int h, int orientation) {
    const QByteArray jpeg = testfiles::jpeg(testfiles::corners(w, h));
    QByteArray exif("Exif\0\0MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01", 24);
    exif += char(0) + QByteArray(1, char(orientation)) + QByteArray(6, '\0');
    return jpeg.left(2) + QByteArray("\xFF\xE1\0", 3) + char(exif.size() + 2) + exif + jpeg.mid(2);
}

// Every EXIF orientation: the natural size is the upright one from the header, the pixels are
// decoded just large enough for the viewport, and both decodes look like Qt's own reader's.
TEST(ReducedDecode, KeepsNaturalSizeAndLooksLikeTheFullPicture) {
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const QByteArray bytes = orientedJpeg(400, 240, orientation);
        testfiles::write(path, bytes);
        const QSize upright = orientation >= 5 ? QSize(240, 400) : QSize(400, 240);
        const platform::PictureLoad full = platform::decodePicture(bytes);
        const platform::PictureLoad small = platform::loadPicture(path, QSize(100, 100));
        ASSERT_TRUE(full.ok() && small.ok());
        EXPECT_EQ(small.picture.naturalSize(), full.picture.naturalSize());
        EXPECT_EQ(full.picture.image().size(), upright);
        EXPECT_EQ(small.picture.image().size(), platform::reducedSize(upright, QSize(100, 100)));
        for (const QImage& decoded : {full.picture.image(), small.picture.image()})
            expectLooksAsQtsReaderShowsIt(bytes, decoded);
        // Printing and deep zoom get every pixel back, read again from the file: the picture
        // holds no more than its decoded pixels.
        EXPECT_EQ(small.picture.memoryBytes(), small.picture.image().sizeInBytes());
        EXPECT_EQ(small.picture.fullResolution().image().size(), upright);
        EXPECT_EQ(small.picture.withPixels(QSize(200, 200)).image().size(),
                  platform::reducedSize(upright, QSize(200, 200)));
        // Decoded from bytes alone there is no file to read again.
        EXPECT_FALSE(platform::decodePicture(bytes, QSize(100, 100)).picture.isReduced());
    }
    // A file replaced by another picture since is not mixed in: the reduced pixels stay.
    const platform::PictureLoad small = platform::loadPicture(path, QSize(100, 100));
    testfiles::write(path, orientedJpeg(300, 300, 1));
    EXPECT_EQ(small.picture.fullResolution().image().size(), small.picture.image().size());
}

// A photo whose EXIF block holds a camera's small copy (`offset` where the directory says it
// is, 0 for where it is), turned by `orientation`.
QByteArray withCameraCopy(const QByteArray& photo, const QByteArray& copy, int orientation,
                          quint32 offset = 0) {
    QByteArray tiff("MM\0\x2A\0\0\0\x08", 8);  // big-endian, the first directory at 8
    const auto u16 = [&](quint32 v) { tiff += char(v >> 8 & 255), tiff += char(v & 255); };
    const auto u32 = [&](quint32 v) { u16(v >> 16), u16(v & 0xFFFF); };
    u16(1), u16(0x0112), u16(3), u32(1), u16(quint32(orientation)), u16(0), u32(26);
    u16(2), u16(0x0201), u16(4), u32(1), u32(offset ? offset : 56);
    u16(0x0202), u16(4), u32(1), u32(quint32(copy.size())), u32(0);
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff + copy;
    const int length = int(exif.size()) + 2;
    return photo.left(2) + "\xFF\xE1" + char(length >> 8) + char(length & 255) + exif +
           photo.mid(2);
}

// The JPEG with its frame header claiming `w` x `h` pixels.
QByteArray claimingSize(QByteArray jpeg, int w, int h) {
    const qsizetype sof = jpeg.indexOf("\xFF\xC0");
    if (sof < 0) return jpeg;  // unchanged: the row then fails, as a usable copy is used
    jpeg[sof + 5] = char(h >> 8), jpeg[sof + 6] = char(h & 255);
    jpeg[sof + 7] = char(w >> 8), jpeg[sof + 8] = char(w & 255);
    return jpeg;
}

// Thumbnails come from the camera's copy only where it covers them with the photo's shape; the
// page on screen never does.
TEST(ReducedDecode, ThumbnailsUseTheCamerasCopyWhereItServes) {
    const auto solid = [](int w, int h, QColor c) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(c);
        return testfiles::jpeg(image);
    };
    const QByteArray red = solid(800, 600, Qt::red);
    const struct {
        const char* name;
        QByteArray bytes;
        QSize fit;
        bool fromCopy;
        QSize upright;
    } cases[] = {
        {"covers", withCameraCopy(red, solid(160, 120, Qt::blue), 1), {120, 120}, true, {800, 600}},
        {"turned", withCameraCopy(red, solid(160, 120, Qt::blue), 6), {120, 120}, true, {600, 800}},
        {"too small",
         withCameraCopy(red, solid(160, 120, Qt::blue), 1),
         {300, 300},
         false,
         {800, 600}},
        {"padded to another shape",
         withCameraCopy(red, solid(160, 160, Qt::blue), 1),
         {120, 120},
         false,
         {800, 600}},
        {"copy outside the block",
         withCameraCopy(red, solid(160, 120, Qt::blue), 1, 60000),
         {120, 120},
         false,
         {800, 600}},
        {"copy not a JPEG",
         withCameraCopy(red, QByteArray(900, 'x'), 1),
         {120, 120},
         false,
         {800, 600}},
        // A header may claim any size: a copy of the photo's shape claiming 10 GB of pixels.
        {"copy claiming to be huge",
         withCameraCopy(red, claimingSize(solid(160, 120, Qt::blue), 60000, 45000), 1),
         {120, 120},
         false,
         {800, 600}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const platform::PictureLoad thumb = platform::decodeThumbnail(c.bytes, c.fit);
        ASSERT_TRUE(thumb.ok());
        const QImage image = thumb.picture.image();
        const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
        EXPECT_EQ(centre.blue() > 200, c.fromCopy);
        EXPECT_EQ(image.size(), platform::reducedSize(c.upright, c.fit));
        EXPECT_EQ(thumb.picture.naturalSize(),
                  platform::decodePicture(c.bytes).picture.naturalSize());
        // A page on screen is the photo itself, however small.
        const QImage page = platform::decodePicture(c.bytes, c.fit).picture.image();
        EXPECT_GT(page.pixelColor(page.width() / 2, page.height() / 2).red(), 200);
    }
}

TEST(ReducedDecode, SizeTable) {
    struct Case {
        QSize natural, fit, expected;
    };
    for (const Case& c : {Case{{4000, 3000}, {1200, 800}, {1067, 800}},  // height fitted
                          Case{{4000, 2000}, {1200, 800}, {1200, 600}},  // width fitted
                          Case{{800, 800}, {1200, 800}, {800, 800}},     // never enlarged
                          Case{{100, 100}, {0, 0}, {100, 100}},          // no viewport: natural
                          Case{{30000, 1}, {10, 10}, {10, 1}}})          // never below a pixel
        EXPECT_EQ(platform::reducedSize(c.natural, c.fit), c.expected) << c.natural.width();
}

}  // namespace
