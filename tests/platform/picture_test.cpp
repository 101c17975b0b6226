#include "platform/picture.h"

#include <gtest/gtest.h>

#include "formats/metafile_builder.h"
#include "support/test_files.h"
#include "support/test_paths.h"

#include <QImageWriter>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Each file is named as a GIF, which none of them is: the content decides.
TEST(PictureLoading, ReadsEveryBookFormatByContentAndRefusesAMissingFileOrAFolder) {
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

    for (const QString& path : {dir.filePath("missing.jpg"), dir.path()}) {
        const platform::PictureLoad load = platform::loadPicture(path);
        EXPECT_FALSE(load.ok()) << path.toStdString();
        EXPECT_TRUE(load.picture.isNull());
    }
}

TEST(PictureLoading, AppliesExifOrientation) {
    QTemporaryDir dir;
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::green);
    QImageWriter writer(dir.filePath("phone.jpg"));
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(image));
    const platform::PictureLoad load = platform::loadPicture(dir.filePath("phone.jpg"));
    ASSERT_TRUE(load.ok());
    EXPECT_EQ(load.picture.image().size(), QSize(20, 40));
}

struct RefusedCase {
    const char* name;
    QByteArray bytes;
    QString reason;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusedPicture : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedPicture, IsNotDecodedAndSaysWhy) {
    const platform::PictureLoad load = platform::decodePicture(GetParam().bytes);
    EXPECT_TRUE(load.picture.isNull());
    EXPECT_TRUE(load.error.startsWith(GetParam().reason)) << load.error.toStdString();
}

const char kSvg[] =
    "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
    "width='64' height='64'><image href='/usr/share/pixmaps/debian-logo.png' width='64' "
    "height='64'/></svg>";
const QString kNotAPicture = QStringLiteral("不是可显示的图像格式");

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedPicture,
    ::testing::Values(
        // Formats that can refer to other files, or that a book does not hold, whatever the name.
        RefusedCase{"Svg", kSvg, kNotAPicture},
        RefusedCase{"Xpm", "/* XPM */\nstatic char* x[] = {\"1 1 1 1\", \"a c #fff\", \"a\"};",
                    kNotAPicture},
        RefusedCase{"Tiff", QByteArray("II*\0", 4) + QByteArray(60, '\0'), kNotAPicture},
        RefusedCase{"Empty", "", kNotAPicture},
        RefusedCase{"WordsStartingLikeAGif", "GIF? no, just words", kNotAPicture},
        // A header's claim the file's bytes cannot hold is refused before any pixel is made.
        RefusedCase{"TinyJpegClaiming16384Square", testfiles::claimingHuge("JPG"),
                    QStringLiteral("图像尺寸与文件大小不符")},
        RefusedCase{"TinyBmpClaiming16384Square", testfiles::claimingHuge("BMP"),
                    QStringLiteral("图像尺寸与文件大小不符")},
        RefusedCase{"TinyJpegWiderThan16384", testfiles::claimingHuge("JPG", 16385, 16),
                    QStringLiteral("图像过大")},
        RefusedCase{"JpegMarkerOnly", "\xFF\xD8\xFF", QStringLiteral("无法读取图像")},
        RefusedCase{"TruncatedEmf", testing_metafile::Emf().bytes().left(60),
                    QStringLiteral("无法读取图元文件")},
        RefusedCase{"WmfWithAnEmptyFrame", testing_metafile::Wmf(0, 0, 1440).bytes(),
                    QStringLiteral("无法读取图元文件")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PictureDecoding, DecodesAPictureFarLargerThanAnyScreenScaledButKeepsItsNaturalSize) {
    QImage image(8000, 6000, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const platform::PictureLoad load = platform::decodePicture(testfiles::encoded(image, "JPG"));
    ASSERT_TRUE(load.ok()) << load.error.toStdString();
    const QSize decoded = load.picture.image().size();
    EXPECT_LE(qint64(decoded.width()) * decoded.height(), platform::kMaxDecodedPixels);
    EXPECT_NEAR(double(decoded.width()) / decoded.height(), 8000.0 / 6000.0, 0.01);
    EXPECT_EQ(load.picture.naturalSize(), QSizeF(8000 * 15, 6000 * 15));
    const QColor pixel = load.picture.image().pixelColor(100, 100);
    const QColor want(Qt::darkCyan);
    EXPECT_LE(qAbs(pixel.red() - want.red()) + qAbs(pixel.green() - want.green()) +
                  qAbs(pixel.blue() - want.blue()),
              12);
}

}  // namespace

// A decode stopped on purpose ends like a truncated file; the decoder's warning about that is
// noise, but a warning from elsewhere still reaches the log.
static QStringList g_warnings;
static void keepWarning(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg) g_warnings << text;
}

TEST(PictureDecoding, AStoppedDecodeLeavesNoWarningBehindOthersStillDo) {
    QTemporaryDir dir;
    QImage noise(2400, 2400, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb(x * 7 ^ y, y * 13, x ^ y));
    const QString path = dir.filePath("big.jpg");
    ASSERT_TRUE(testfiles::write(path, testfiles::encoded(noise, "JPG")));

    const QtMessageHandler before = qInstallMessageHandler(keepWarning);
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
    qInstallMessageHandler(before);
    ASSERT_TRUE(stopped) << "the decode always ended before it could be stopped";
    EXPECT_EQ(g_warnings.join(" | ").toStdString(), "a warning of its own");
}
