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

// Strict GBK decoding: an invalid sequence makes *ok false.
QString decodeGbk(const QByteArray& bytes, bool* ok) {
    QStringDecoder decoder("GBK");
    const QString text = decoder.decode(bytes);
    *ok = decoder.isValid() && !decoder.hasError() && !text.contains(QChar::ReplacementCharacter);
    return text;
}

// The text of an RTF file as a reader sees it in a plain editor: each \'hh escape becomes its
// byte and the whole is decoded as GBK. Control words stay; tests look for phrases between them.
QString rtfText(const QByteArray& rtf, bool* ok) {
    QByteArray bytes;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf.at(i) == '\\' && i + 3 < rtf.size() && rtf.at(i + 1) == '\'') {
            bytes.append(char(rtf.mid(i + 2, 2).toInt(nullptr, 16)));
            i += 3;
        } else {
            bytes.append(rtf.at(i));
        }
    }
    return decodeGbk(bytes, ok);
}

bool isSevenBit(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

// Every line break is CR LF and the last line has one too.
bool crlfLines(const QByteArray& bytes) {
    if (!bytes.endsWith("\r\n")) return false;
    return bytes.count('\n') == bytes.count("\r\n") && bytes.count('\r') == bytes.count("\r\n");
}

bool bracesBalance(const QByteArray& rtf) {
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf.at(i) == '\\') {
            ++i;  // an escaped brace or backslash is text
        } else if (rtf.at(i) == '{') {
            ++depth;
        } else if (rtf.at(i) == '}' && --depth < 0) {
            return false;
        }
    }
    return depth == 0;
}

void expectWordPadRtf(const QByteArray& rtf) {
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936")) << rtf.left(40).constData();
    EXPECT_TRUE(rtf.contains("\\fcharset134"));
    EXPECT_TRUE(rtf.contains("{\\colortbl"));
    // \b switches bold on; \b0, \blue and \bin do not.
    const QRegularExpression boldOn(QStringLiteral(R"(\\b(?![a-z0]))"));
    EXPECT_TRUE(rtf.contains("\\qc") && QString::fromLatin1(rtf).contains(boldOn))
        << "a centred, bold heading";
    EXPECT_TRUE(isSevenBit(rtf)) << "Chinese must be written as \\'hh escapes";
    EXPECT_TRUE(crlfLines(rtf));
    EXPECT_TRUE(bracesBalance(rtf));
    bool ok = false;
    rtfText(rtf, &ok);
    EXPECT_TRUE(ok) << "the \\'hh escapes are not valid GBK";
}

QString suffix(const QString& name) {
    return name.section(QLatin1Char('.'), -1).toLower();
}

// Decoders draw a cut-off picture without complaint, so check each file ends as its format says.
bool endsComplete(const QByteArray& bytes, const QString& ext) {
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return bytes.endsWith("\xff\xd9");
    if (ext == QLatin1String("gif")) return bytes.endsWith(';');
    if (ext == QLatin1String("png")) return bytes.endsWith("IEND\xae\x42\x60\x82");
    if (ext == QLatin1String("bmp")) {  // the header holds the file size
        return bytes.size() >= 6 &&
               bytes.size() == qFromLittleEndian<quint32>(bytes.constData() + 2);
    }
    return false;
}

struct Page {
    QString image;
    QString text;
};

QList<Page> catalogPages(const QByteArray& catalog) {
    QList<Page> pages;
    for (const QByteArray& line : catalog.split('\n')) {
        if (line.isEmpty()) continue;
        bool ok = false;
        const QStringList fields = decodeGbk(line.chopped(1), &ok).split(QLatin1Char('-'));
        pages.append({fields.value(0), fields.value(1)});
    }
    return pages;
}

TEST(Assets, PicturesDecodeAtTheirDesignedSizes) {
    const struct {
        const char* file;
        const char* format;
        QSize size;
    } cases[] = {
        {"assets/startup.jpg", "jpeg", QSize(734, 488)},
        {"assets/icon.png", "png", QSize(32, 32)},
        {"assets/icon16.png", "png", QSize(16, 16)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        QImageReader reader(testpaths::source(QString::fromLatin1(c.file)));
        EXPECT_EQ(reader.format(), QByteArray(c.format));
        const QImage image = reader.read();
        EXPECT_FALSE(image.isNull()) << qPrintable(reader.errorString());
        EXPECT_EQ(image.size(), c.size);
        const QString file = QString::fromLatin1(c.file);
        EXPECT_TRUE(endsComplete(readAsset(file), suffix(file)));
    }
}

TEST(Assets, CatalogLinesAreGbkCrLfWithOneHyphen) {
    const QByteArray catalog = readAsset(kBook + QStringLiteral("DocItem.txt"));
    ASSERT_FALSE(catalog.isEmpty());
    EXPECT_FALSE(catalog.startsWith("\xef\xbb\xbf")) << "no byte-order mark";
    EXPECT_TRUE(crlfLines(catalog));
    // An empty line would end the reading early and hide the pages after it.
    EXPECT_FALSE(catalog.contains("\r\n\r\n"));
    for (const QByteArray& line : catalog.split('\n')) {
        if (line.isEmpty()) continue;
        SCOPED_TRACE(line.constData());
        EXPECT_EQ(line.count('-'), 1);
        const QByteArray image = line.left(line.indexOf('-'));
        EXPECT_EQ(image.count('.'), 1) << "the title is the name up to its first dot";
    }
}

TEST(Assets, EveryCatalogPageHasReadableFiles) {
    const QList<Page> pages = catalogPages(readAsset(kBook + QStringLiteral("DocItem.txt")));
    ASSERT_GE(pages.size(), 6);
    const QMap<QString, QByteArray> formats = {{QStringLiteral("jpg"), "jpeg"},
                                               {QStringLiteral("jpeg"), "jpeg"},
                                               {QStringLiteral("bmp"), "bmp"},
                                               {QStringLiteral("gif"), "gif"}};
    for (const Page& page : pages) {
        SCOPED_TRACE(qPrintable(page.image));
        QImageReader reader(testpaths::source(kBook + page.image));
        EXPECT_EQ(reader.format(), formats.value(suffix(page.image), "unexpected extension"));
        EXPECT_FALSE(reader.read().isNull()) << qPrintable(reader.errorString());
        EXPECT_TRUE(endsComplete(readAsset(kBook + page.image), suffix(page.image)));
        if (page.text.isEmpty()) continue;

        const QByteArray text = readAsset(kBook + page.text);
        ASSERT_FALSE(text.isEmpty()) << qPrintable(page.text);
        if (suffix(page.text) == QLatin1String("rtf")) {
            expectWordPadRtf(text);
        } else {
            EXPECT_EQ(suffix(page.text), QLatin1String("txt"));
            EXPECT_TRUE(crlfLines(text));
            bool ok = false;
            const QString decoded = decodeGbk(text, &ok);
            EXPECT_TRUE(ok);
            EXPECT_TRUE(decoded.contains(QRegularExpression(QStringLiteral("\\p{Han}"))));
            EXPECT_FALSE(text.startsWith("\xef\xbb\xbf"));
        }
    }
}

// The book exercises each kind of page the reader handles, and nothing else lies in its folder.
TEST(Assets, SampleBookCoversEveryKindOfPage) {
    const QList<Page> pages = catalogPages(readAsset(kBook + QStringLiteral("DocItem.txt")));
    QSet<QString> kinds;
    QSet<QString> listed = {QStringLiteral("DocItem.txt")};
    bool portrait = false, landscape = false, large = false;
    int withoutText = 0, plainText = 0;
    for (const Page& page : pages) {
        kinds.insert(suffix(page.image) == QLatin1String("jpeg") ? QStringLiteral("jpg")
                                                                 : suffix(page.image));
        listed.insert(page.image);
        if (!page.text.isEmpty()) listed.insert(page.text);
        const QSize size = QImageReader(testpaths::source(kBook + page.image)).size();
        portrait |= size.height() > size.width();
        landscape |= size.width() > size.height();
        large |= size.width() >= 2000 && size.height() >= 1200;
        withoutText += page.text.isEmpty();
        plainText += suffix(page.text) == QLatin1String("txt");
    }
    EXPECT_EQ(kinds,
              (QSet<QString>{QStringLiteral("jpg"), QStringLiteral("bmp"), QStringLiteral("gif")}));
    EXPECT_TRUE(portrait);
    EXPECT_TRUE(landscape);
    EXPECT_TRUE(large) << "one picture should need scroll bars when zoomed";
    EXPECT_GE(withoutText, 1);
    EXPECT_GE(plainText, 1);

    const QDir dir(testpaths::source(kBook));
    const QStringList present = dir.entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(QSet<QString>(present.begin(), present.end()), listed);
    qint64 total = 0;
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files)) total += info.size();
    EXPECT_LT(total, 1536 * 1024) << "the bundled book should stay small";
}

TEST(Assets, HelpDocumentNamesCommandsAndShortcuts) {
    const QByteArray rtf = readAsset(QStringLiteral("assets/help.rtf"));
    ASSERT_FALSE(rtf.isEmpty());
    expectWordPadRtf(rtf);
    bool ok = false;
    const QString text = rtfText(rtf, &ok);

    for (const char* phrase : {"澜舟画本编排阅读", "2002年3月20日", "简体中文", "制作图文列表",
                               "DocItem.txt", "满屏", "自动播放", "图像设置", "文本背景"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(phrase))) << phrase;
    }
    // Each shortcut and its command share one line of the table.
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    const struct {
        const char* key;
        const char* command;
    } shortcuts[] = {{"F1", "标准分区"},
                     {"F2", "图像满屏显示"},
                     {"F3", "文本最大"},
                     {"F5", "图像放大"},
                     {"F6", "图像缩小"}};
    for (const auto& s : shortcuts) {
        const QRegularExpression key(QStringLiteral("\\b%1\\b").arg(QLatin1String(s.key)));
        const bool paired = std::any_of(lines.begin(), lines.end(), [&](const QString& line) {
            return line.contains(key) && line.contains(QString::fromUtf8(s.command));
        });
        EXPECT_TRUE(paired) << s.key << " " << s.command;
    }
}

}  // namespace
