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

}  // namespace
