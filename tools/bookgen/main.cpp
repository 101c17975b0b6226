// huaben_bookgen <repo-root>: repaints and rewrites the committed assets under <repo-root>/assets
// from this tool's code and the UTF-8 sources in tools/bookgen/text. Run it after changing any
// of them and commit the results; the regular build only uses the committed files.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QStringEncoder>

#include <cstdio>
#include <cstdlib>

#include "book_pages.h"
#include "gif_writer.h"
#include "rtf_encode.h"
#include "title_art.h"

namespace {

using namespace bookgen;

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "huaben_bookgen: %s\n", qPrintable(message));
    std::exit(1);
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail(QStringLiteral("cannot write %1").arg(path));
    std::printf("%8lld  %s\n", static_cast<long long>(bytes.size()), qPrintable(path));
}

QByteArray encodeImage(const QImage& image, const QString& fileName) {
    const QString ext = fileName.section(QLatin1Char('.'), -1).toLower();
    if (ext == QLatin1String("gif")) return encodeGif(image);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool jpeg = ext == QLatin1String("jpg") || ext == QLatin1String("jpeg");
    QImageWriter writer(&buffer, jpeg ? "jpeg" : ext.toLatin1());
    if (jpeg) {
        writer.setQuality(85);
        writer.setOptimizedWrite(true);
    }
    // A BMP written from an RGB32 image is 24 bits per pixel, as paint programs save them.
    if (!writer.write(ext == QLatin1String("bmp") ? image.convertToFormat(QImage::Format_RGB32)
                                                  : image))
        fail(QStringLiteral("cannot encode %1: %2").arg(fileName, writer.errorString()));
    return bytes;
}

// Every picture is read back, so a broken encoder shows up here and not in the reader.
void writeImage(const QString& path, const QImage& image) {
    const QByteArray bytes = encodeImage(image, QFileInfo(path).fileName());
    QImage back;
    if (!back.loadFromData(bytes) || back.size() != image.size())
        fail(QStringLiteral("%1 does not read back").arg(path));
    writeBytes(path, bytes);
}

QString readSource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) fail(QStringLiteral("cannot read %1").arg(path));
    return QString::fromUtf8(file.readAll());
}

QByteArray convertText(const QString& sourcePath, const QString& targetName) {
    QString error;
    const QString source = readSource(sourcePath);
    const QByteArray bytes = targetName.endsWith(QLatin1String(".rtf"))
                                 ? encodeRtf(source, &error)
                                 : encodeGbkText(source, &error);
    if (bytes.isEmpty()) fail(QStringLiteral("%1: %2").arg(sourcePath, error));
    return bytes;
}

void writeSampleBook(const QDir& textDir, const QDir& bookDir) {
    QString catalog;
    for (const BookPage& page : samplePages()) {
        writeImage(bookDir.filePath(page.imageFile), page.picture);
        if (!page.textFile.isEmpty())
            writeBytes(
                bookDir.filePath(page.textFile),
                convertText(textDir.filePath(page.textFile + QLatin1String(".in")), page.textFile));
        catalog += page.imageFile + QLatin1Char('-') + page.textFile + QLatin1String("\r\n");
    }
    QStringEncoder gbk("GBK");
    writeBytes(bookDir.filePath(QStringLiteral("DocItem.txt")), gbk.encode(catalog));
}

}  // namespace

int main(int argc, char** argv) {
    // Painting needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: huaben_bookgen <repo-root>\n");
        return 2;
    }
    if (!QStringEncoder("GBK").isValid()) fail(QStringLiteral("this Qt has no GBK converter"));

    const QDir root(args.at(1));
    const QDir textDir(root.filePath(QStringLiteral("tools/bookgen/text")));
    if (!textDir.exists()) fail(QStringLiteral("%1 is not the repository root").arg(root.path()));
    QDir assets(root.filePath(QStringLiteral("assets")));
    if (!assets.mkpath(QStringLiteral("sample-book")))
        fail(QStringLiteral("cannot create %1/sample-book").arg(assets.path()));

    writeImage(assets.filePath(QStringLiteral("startup.jpg")), startupPicture());
    // The window icon at the sizes desktops look for, and as SVG for any other.
    if (!assets.mkpath(QStringLiteral("icons")))
        fail(QStringLiteral("cannot create %1/icons").arg(assets.path()));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        writeImage(assets.filePath(QStringLiteral("icons/huaben-%1.png").arg(size)),
                   windowIcon(size));
    writeBytes(assets.filePath(QStringLiteral("icons/huaben.svg")), windowIconSvg());
    writeBytes(
        assets.filePath(QStringLiteral("help.rtf")),
        convertText(textDir.filePath(QStringLiteral("help.rtf.in")), QStringLiteral("help.rtf")));
    writeSampleBook(textDir, QDir(assets.filePath(QStringLiteral("sample-book"))));
    return 0;
}
