// Checks the committed assets are what the reader relies on: pictures that decode at the sizes
// the window design expects, a sample book whose catalog and text files are in the code-page-936
// forms the reader reads, and a help document that names the commands it documents.
#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QtEndian>

#include "support/test_paths.h"

namespace {

const QString kBook = QStringLiteral("assets/sample-book/");

QByteArray readAsset(const QString& rel) {
    QFile file(testpaths::source(rel));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString suffix(const QString& name) {
    return name.section(QLatin1Char('.'), -1).toLower();
}

// Strict GBK decoding: an invalid sequence fails the test.
QString expectGbk(const QByteArray& bytes) {
    QStringDecoder decoder("GBK");
    const QString text = decoder.decode(bytes);
    EXPECT_TRUE(decoder.isValid() && !decoder.hasError() &&
                !text.contains(QChar::ReplacementCharacter))
        << "not valid GBK";
    return text;
}

// Every line break is CR LF and the last line has one too.
bool crlfLines(const QByteArray& bytes) {
    const auto crlf = bytes.count("\r\n");
    return bytes.endsWith("\r\n") && bytes.count('\n') == crlf && bytes.count('\r') == crlf;
}

// A plain text file as the reader reads it: GBK, CR LF line ends, no byte-order mark.
QString expectGbkText(const QByteArray& bytes) {
    EXPECT_FALSE(bytes.startsWith("\xef\xbb\xbf")) << "no byte-order mark";
    EXPECT_TRUE(crlfLines(bytes));
    return expectGbk(bytes);
}

QString expectWordPadRtf(const QByteArray& rtf) {
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936")) << rtf.left(40).constData();
    EXPECT_TRUE(rtf.contains("\\fcharset134"));
    EXPECT_TRUE(rtf.contains("{\\colortbl"));
    // \b switches bold on; \b0, \blue and \bin do not.
    const QRegularExpression boldOn(QStringLiteral(R"(\\b(?![a-z0]))"));
    EXPECT_TRUE(rtf.contains("\\qc") && QString::fromLatin1(rtf).contains(boldOn))
        << "a centred, bold heading";
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; }))
        << "Chinese must be written as \\'hh escapes";
    EXPECT_TRUE(crlfLines(rtf));
    int depth = 0;  // a backslash makes the next character text, an escaped brace included
    for (qsizetype i = 0; i < rtf.size() && depth >= 0; i += rtf.at(i) == '\\' ? 2 : 1)
        depth += rtf.at(i) == '{' ? 1 : rtf.at(i) == '}' ? -1 : 0;
    EXPECT_EQ(depth, 0) << "unbalanced braces";
    // The text as a plain editor shows it: each \'hh escape becomes its byte, the whole is GBK.
    // Control words stay; tests look for phrases between them.
    QByteArray bytes;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const bool escape = rtf.at(i) == '\\' && i + 3 < rtf.size() && rtf.at(i + 1) == '\'';
        bytes.append(escape ? char(rtf.mid(i + 2, 2).toInt(nullptr, 16)) : rtf.at(i));
        if (escape) i += 3;
    }
    return expectGbk(bytes);
}

// Reads a picture whose format must match its extension. Decoders draw a cut-off picture without
// complaint, so the file must also end as its format says; a BMP header holds the file size.
QImage expectCompletePicture(const QString& rel) {
    SCOPED_TRACE(qPrintable(rel));
    const QByteArray format = suffix(rel) == "jpg" ? QByteArray("jpeg") : suffix(rel).toLatin1();
    QImageReader reader(testpaths::source(rel));
    EXPECT_EQ(reader.format(), format);
    const QImage image = reader.read();
    EXPECT_FALSE(image.isNull()) << qPrintable(reader.errorString());
    const QByteArray b = readAsset(rel);
    const QMap<QByteArray, QByteArray> endings = {
        {"jpeg", "\xff\xd9"}, {"gif", ";"}, {"png", "IEND\xae\x42\x60\x82"}};
    EXPECT_TRUE(format == "bmp"
                    ? b.size() >= 6 && b.size() == qFromLittleEndian<quint32>(b.data() + 2)
                    : endings.contains(format) && b.endsWith(endings[format]))
        << "the file is cut off";
    return image;
}

TEST(Assets, PicturesDecodeCompleteAtTheirDesignedSizes) {
    EXPECT_EQ(expectCompletePicture("assets/startup.jpg").size(), QSize(734, 488));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon =
            expectCompletePicture(QStringLiteral("assets/icons/huaben-%1.png").arg(size));
        EXPECT_EQ(icon.size(), QSize(size, size));
        // The book is drawn on a transparent ground: corners clear, the middle covered.
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size * 3 / 4)), 255) << size;
    }
}

// Each catalog line is "picture-text" (the text may be missing); the book exercises each kind of
// page the reader handles, every file decodes, and nothing else lies in its folder.
TEST(Assets, SampleBookCatalogListsEveryKindOfPageInReadableFiles) {
    QStringList lines = expectGbkText(readAsset(kBook + "DocItem.txt")).split("\r\n");
    lines.removeLast();  // after the final CR LF
    ASSERT_GE(lines.size(), 6);
    // An empty line would end the reading early and hide the pages after it.
    EXPECT_FALSE(lines.contains(QString()));

    QSet<QString> pictures, texts, listed = {"DocItem.txt"};
    bool portrait = false, landscape = false, large = false;
    for (const QString& line : lines) {
        SCOPED_TRACE(qPrintable(line));
        const QStringList fields = line.split('-');
        ASSERT_EQ(fields.size(), 2) << "one hyphen";
        const QString &image = fields[0], &text = fields[1];
        EXPECT_EQ(image.count('.'), 1) << "the title is the name up to its first dot";
        pictures.insert(suffix(image) == "jpeg" ? "jpg" : suffix(image));
        texts.insert(text.isEmpty() ? "none" : suffix(text));
        listed.insert(image);
        const QSize size = expectCompletePicture(kBook + image).size();
        portrait |= size.height() > size.width();
        landscape |= size.width() > size.height();
        large |= size.width() >= 2000 && size.height() >= 1200;
        if (text.isEmpty()) continue;

        listed.insert(text);
        const QByteArray bytes = readAsset(kBook + text);
        const QString shown =
            suffix(text) == "rtf" ? expectWordPadRtf(bytes) : expectGbkText(bytes);
        EXPECT_TRUE(shown.contains(QRegularExpression("\\p{Han}")));
    }
    EXPECT_EQ(pictures, (QSet<QString>{"jpg", "bmp", "gif"}));
    EXPECT_EQ(texts, (QSet<QString>{"rtf", "txt", "none"}));
    EXPECT_TRUE(portrait);
    EXPECT_TRUE(landscape);
    EXPECT_TRUE(large) << "one picture should need scroll bars when zoomed";

    const QDir dir(testpaths::source(kBook));
    const QStringList present = dir.entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(QSet<QString>(present.begin(), present.end()), listed);
    qint64 total = 0;
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files)) total += info.size();
    EXPECT_LT(total, 1536 * 1024) << "the bundled book should stay small";
}

TEST(Assets, HelpDocumentNamesCommandsAndShortcuts) {
    const QString text = expectWordPadRtf(readAsset("assets/help.rtf"));
    for (const char* phrase : {"澜舟画本编排阅读", "2002年3月20日", "简体中文", "制作图文列表",
                               "DocItem.txt", "满屏", "自动播放", "图像设置", "文本背景"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(phrase))) << phrase;
    }
    // Each shortcut and its command share one line of the table.
    const QStringList lines = text.split("\r\n");
    for (const QString shortcut :
         {"F1 标准分区", "F2 图像满屏显示", "F3 文本最大", "F5 图像放大", "F6 图像缩小"}) {
        const QRegularExpression key("\\b" + shortcut.section(' ', 0, 0) + "\\b");
        EXPECT_FALSE(lines.filter(key).filter(shortcut.section(' ', 1)).isEmpty())
            << qPrintable(shortcut);
    }
}

}  // namespace
