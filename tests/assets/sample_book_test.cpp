// The committed assets are what the reader relies on: pictures at their designed sizes, a sample
// book in the code-page-936 forms the reader reads, and a help document naming its commands.
#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtEndian>

#include "rtf/rtf.h"
#include "support/test_paths.h"

namespace {

const QString kBook = QStringLiteral("assets/sample-book/");

QByteArray readAsset(const QString& rel) {
    QFile file(testpaths::source(rel));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString suffix(const QString& name) {
    const QString s = name.section(QLatin1Char('.'), -1).toLower();
    return s == "jpeg" ? "jpg" : s;
}

// Every line break is CR LF and the last line has one too.
void expectCrLfLines(const QByteArray& bytes) {
    const auto crlf = bytes.count("\r\n");
    EXPECT_TRUE(bytes.endsWith("\r\n") && bytes.count('\n') == crlf && bytes.count('\r') == crlf)
        << "CR LF line ends";
}

// A plain text file as the reader reads it: GBK, CR LF line ends, no byte-order mark.
QString expectGbkText(const QByteArray& bytes) {
    EXPECT_FALSE(bytes.startsWith("\xef\xbb\xbf")) << "no byte-order mark";
    expectCrLfLines(bytes);
    QStringDecoder decoder("GBK");  // strict: an invalid sequence is an error
    const QString text = decoder.decode(bytes);
    EXPECT_TRUE(!decoder.hasError() && !text.contains(QChar::ReplacementCharacter)) << "not GBK";
    return text;
}

// A document as WordPad writes it (code page 936, Chinese as \'hh escapes), imported as the
// reader shows it: its paragraphs, opening with a centred bold heading.
QStringList expectWordPadRtf(const QByteArray& rtf) {
    QTextDocument doc;
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936")) << rtf.left(40).constData();
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; }))
        << "Chinese must be written as \\'hh escapes";
    expectCrLfLines(rtf);
    EXPECT_TRUE(rtf::importRtf(rtf, doc));
    EXPECT_EQ(doc.begin().blockFormat().alignment(), Qt::AlignHCenter) << "a centred heading";
    QTextCursor first(doc.begin());
    first.movePosition(QTextCursor::NextCharacter);
    EXPECT_EQ(first.charFormat().fontWeight(), QFont::Bold) << "a bold heading";
    EXPECT_TRUE(first.charFormat().foreground().style() != Qt::NoBrush) << "a coloured heading";
    return doc.toPlainText().split(u'\n');
}

// Reads a picture whose format must match its extension. Decoders draw a cut-off picture without
// complaint, so the file must also end as its format says; a BMP header holds the file size.
QImage expectCompletePicture(const QString& rel) {
    SCOPED_TRACE(qPrintable(rel));
    const QByteArray format = suffix(rel) == "jpg" ? "jpeg" : suffix(rel).toLatin1();
    QImageReader reader(testpaths::source(rel));
    EXPECT_EQ(reader.format(), format);
    const QImage image = reader.read();
    EXPECT_FALSE(image.isNull()) << qPrintable(reader.errorString());
    const QByteArray b = readAsset(rel);
    const bool complete = format == "bmp"    ? b.size() == qFromLittleEndian<quint32>(b.data() + 2)
                          : format == "jpeg" ? b.endsWith("\xff\xd9")
                          : format == "gif"  ? b.endsWith(";")
                                             : b.endsWith("IEND\xae\x42\x60\x82");
    EXPECT_TRUE(b.size() >= 6 && complete) << "the file is cut off";
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
    lines.removeLast();                       // after the final CR LF
    EXPECT_FALSE(lines.contains(QString()));  // it would end the reading early

    QSet<QString> kinds, listed = {"DocItem.txt"};
    for (const QString& line : lines) {
        SCOPED_TRACE(qPrintable(line));
        const QStringList fields = line.split('-');
        ASSERT_EQ(fields.size(), 2) << "one hyphen";
        const QString &image = fields[0], &text = fields[1];
        kinds << suffix(image) << (text.isEmpty() ? "none" : suffix(text));
        listed << image << text;
        const QSize size = expectCompletePicture(kBook + image).size();
        kinds << (size.height() > size.width() ? "portrait" : "landscape");
        if (size.width() >= 2000 && size.height() >= 1200) kinds << "needs scroll bars zoomed";
        if (text.isEmpty()) continue;
        const QByteArray bytes = readAsset(kBook + text);
        const QString shown =
            suffix(text) == "rtf" ? expectWordPadRtf(bytes).join(u'\n') : expectGbkText(bytes);
        EXPECT_TRUE(shown.contains(QRegularExpression("\\p{Han}")));
    }
    EXPECT_EQ(kinds, (QSet<QString>{"jpg", "bmp", "gif", "rtf", "txt", "none", "portrait",
                                    "landscape", "needs scroll bars zoomed"}));

    const QDir dir(testpaths::source(kBook));
    const QStringList present = dir.entryList(QDir::Files | QDir::Hidden);
    listed.remove(QString());
    EXPECT_EQ(QSet<QString>(present.begin(), present.end()), listed);
    qint64 total = 0;
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files)) total += info.size();
    EXPECT_LT(total, 1536 * 1024) << "the bundled book should stay small";
}

TEST(Assets, HelpDocumentShowsCommandsAndShortcuts) {
    const QStringList lines = expectWordPadRtf(readAsset("assets/help.rtf"));
    const QString text = lines.join(u'\n');
    for (const char* phrase : {"澜舟画本编排阅读", "2002年3月20日", "简体中文", "制作图文列表",
                               "DocItem.txt", "满屏", "自动播放", "图像设置", "文本背景"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(phrase))) << phrase;
    // Each shortcut and its command share one line of the table.
    for (const QString shortcut :
         {"F1 标准分区", "F2 图像满屏显示", "F3 文本最大", "F5 图像放大", "F6 图像缩小"}) {
        const QRegularExpression key("\\b" + shortcut.section(' ', 0, 0) + "\\b");
        EXPECT_FALSE(lines.filter(key).filter(shortcut.section(' ', 1)).isEmpty())
            << qPrintable(shortcut);
    }
}

}  // namespace
