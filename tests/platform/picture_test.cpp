#include "platform/picture.h"

#include <gtest/gtest.h>

#include "support/test_paths.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

class PictureLoading : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path(const char* name) { return dir.filePath(QString::fromLatin1(name)); }
    void write(const char* name, const QByteArray& bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(PictureLoading, ReadsEveryBookFormatAtItsPixelSize) {
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (const char* name : {"p.bmp", "p.jpg", "p.jpeg", "p.ico", "p.png"}) {
        ASSERT_TRUE(image.save(path(name))) << name;
        const platform::PictureLoad load = platform::loadPicture(path(name));
        ASSERT_TRUE(load.ok()) << name << load.error.toStdString();
        EXPECT_EQ(load.picture.naturalSize(), QSizeF(450, 300)) << name;
    }
    // Qt cannot write GIF; the sample book has one.
    const platform::PictureLoad gif =
        platform::loadPicture(testpaths::source("assets/sample-book/spring3.gif"));
    ASSERT_TRUE(gif.ok());
    EXPECT_EQ(gif.picture.naturalSize(), QSizeF(640 * 15, 480 * 15));
}

TEST_F(PictureLoading, AppliesExifOrientation) {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::green);
    QImageWriter writer(path("phone.jpg"));
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(image));
    const platform::PictureLoad load = platform::loadPicture(path("phone.jpg"));
    ASSERT_TRUE(load.ok());
    EXPECT_EQ(load.picture.image().size(), QSize(20, 40));
}

TEST_F(PictureLoading, RefusesMissingTruncatedAndOversizedFiles) {
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    write("empty.jpg", "");
    write("text.gif", "GIF? no, just words");

    // A BMP header claiming 100000 x 100000 pixels with no pixel data behind it.
    QByteArray bmp(54, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    qToLittleEndian<quint32>(54, bmp.data() + 10);
    qToLittleEndian<quint32>(40, bmp.data() + 14);
    qToLittleEndian<qint32>(100000, bmp.data() + 18);
    qToLittleEndian<qint32>(100000, bmp.data() + 22);
    qToLittleEndian<quint16>(1, bmp.data() + 26);
    qToLittleEndian<quint16>(24, bmp.data() + 28);
    write("huge.bmp", bmp);

    for (const char* name : {"missing.jpg", "empty.jpg", "text.gif", "huge.bmp"}) {
        const platform::PictureLoad load = platform::loadPicture(path(name));
        EXPECT_FALSE(load.ok()) << name;
        EXPECT_TRUE(load.picture.isNull()) << name;
    }
    EXPECT_FALSE(platform::loadPicture(dir.path()).ok());  // a directory
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A small real picture whose header is then made to claim 16384 x 16384 pixels.
QByteArray claimingHuge(const char* format) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray b = encoded(image, format);
    if (qstrcmp(format, "JPG") == 0) {
        const qsizetype sof = b.indexOf("\xFF\xC0");
        qToBigEndian<quint16>(16384, b.data() + sof + 5);
        qToBigEndian<quint16>(16384, b.data() + sof + 7);
    } else {  // BMP
        qToLittleEndian<qint32>(16384, b.data() + 18);
        qToLittleEndian<qint32>(16384, b.data() + 22);
    }
    return b;
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

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedPicture,
    ::testing::Values(
        // Formats that can refer to other files, or that a book does not hold, whatever the name.
        RefusedCase{"Svg", kSvg, QStringLiteral("不是可显示的图像格式")},
        RefusedCase{"Xpm", "/* XPM */\nstatic char* x[] = {\"1 1 1 1\", \"a c #fff\", \"a\"};",
                    QStringLiteral("不是可显示的图像格式")},
        RefusedCase{"Tiff", QByteArray("II*\0", 4) + QByteArray(60, '\0'),
                    QStringLiteral("不是可显示的图像格式")},
        // A header's claim the file's bytes cannot hold is refused before any pixel is made.
        RefusedCase{"TinyJpegClaiming16384Square", claimingHuge("JPG"),
                    QStringLiteral("图像尺寸与文件大小不符")},
        RefusedCase{"TinyBmpClaiming16384Square", claimingHuge("BMP"),
                    QStringLiteral("图像尺寸与文件大小不符")},
        RefusedCase{"JpegMarkerOnly", "\xFF\xD8\xFF", QStringLiteral("无法读取图像")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PictureDecoding, TellsTheFormatByContentNotByName) {
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (const char* format : {"BMP", "JPG", "PNG", "ICO"}) {
        const platform::PictureLoad load = platform::decodePicture(encoded(image, format));
        ASSERT_TRUE(load.ok()) << format << load.error.toStdString();
        EXPECT_EQ(load.picture.image().size(), QSize(30, 20)) << format;
    }
}

TEST(PictureDecoding, DecodesAPictureFarLargerThanAnyScreenScaledButKeepsItsNaturalSize) {
    QImage image(8000, 6000, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const platform::PictureLoad load = platform::decodePicture(encoded(image, "JPG"));
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
