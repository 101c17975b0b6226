// Reads the shared corpus of real RTF files and compares the imported plain text with
// LibreOffice's reading of each file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>

#include <cstdio>
#include <map>

#include "rtf/rtf.h"
#include "rtf_test_util.h"
#include "support/test_paths.h"

namespace {

using rtf::importRtf;
using rtftest::normalizedText;
using rtftest::similarity;

// Files the importer cannot yet read close to LibreOffice, with the reason. Everything else
// must reach kMinSimilarity.
const std::map<QString, QString>& knownExceptions() {
    // List labels: the importer shows the label text the file carries (\\listtext, \\pntext);
    // LibreOffice prints labels from its own list definitions. Lists come in a later task.
    static const QString labels = QStringLiteral("list labels differ from the written ones");
    static const std::map<QString, QString> m = {
        {"joshy-issue_63", labels + " (LibreOffice drops the \"10.\" label)"},
        {"kota7-special-chars", labels + " (➢ written, • printed)"},
        {"tika-testRTFListMicrosoftWord", labels + " (en dash and '-' written, • printed)"},
    };
    return m;
}

constexpr double kMinSimilarity = 0.95;
// Pictures and tables of the references that the import shows; may only go up.
constexpr int kMinPictures = 35;
constexpr int kMinTables = 46;

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QJsonObject readExpected(const QString& rtfPath) {
    QString json = rtfPath;
    json.replace(QLatin1String(".rtf"), QLatin1String(".expected.json"));
    return QJsonDocument::fromJson(readFile(json)).object();
}

// Pictures in the document, each drawn from a resource of at least one pixel.
int pictureCount(QTextDocument& doc) {
    int n = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat f = it.fragment().charFormat().toImageFormat();
            if (!f.isValid()) continue;
            const QImage img =
                doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
            if (!img.isNull() && f.width() >= 1 && f.height() >= 1) n += it.fragment().length();
        }
    }
    return n;
}

int tableCount(const QTextFrame* frame) {
    int n = qobject_cast<const QTextTable*>(frame) ? 1 : 0;
    for (const QTextFrame* child : frame->childFrames()) n += tableCount(child);
    return n;
}

QStringList corpusFiles() {
    return QDir(testpaths::corpus("rtf")).entryList({"*.rtf"}, QDir::Files, QDir::Name);
}

TEST(RtfCorpus, PlainTextMatchesReference) {
    if (!testpaths::haveCorpus("rtf")) GTEST_SKIP() << "no RTF corpus";
    const QStringList files = corpusFiles();
    ASSERT_FALSE(files.isEmpty());
    int good = 0;
    int picturesFound = 0, picturesWanted = 0, tablesFound = 0, tablesWanted = 0;
    std::printf("RTF corpus: similarity of imported text to the reference\n");
    for (const QString& name : files) {
        const QString path = testpaths::corpus("rtf") + '/' + name;
        QTextDocument doc;
        ASSERT_TRUE(importRtf(readFile(path), doc)) << name.toStdString();
        const QString expected = normalizedText(readExpected(path).value("text").toString());
        const QString actual = normalizedText(doc.toPlainText());
        const double sim = similarity(actual, expected);
        const QJsonObject ref = readExpected(path);
        const int pictures = pictureCount(doc), tables = tableCount(doc.rootFrame());
        const int wantPictures = ref.value("images").toInt(),
                  wantTables = ref.value("tables").toInt();
        picturesFound += std::min(pictures, wantPictures);
        picturesWanted += wantPictures;
        tablesFound += std::min(tables, wantTables);
        tablesWanted += wantTables;
        if (pictures != wantPictures || tables != wantTables)
            std::printf("        pictures %d/%d tables %d/%d %s\n", pictures, wantPictures, tables,
                        wantTables, qPrintable(name));
        const QString base = name.chopped(4);
        const auto exception = knownExceptions().find(base);
        const bool known = exception != knownExceptions().end();
        std::printf("  %5.3f %s %7lld/%-7lld %s%s\n", sim,
                    sim >= kMinSimilarity ? "  " : (known ? "~ " : "! "),
                    static_cast<long long>(actual.size()), static_cast<long long>(expected.size()),
                    qPrintable(base), known ? qPrintable(" -- " + exception->second) : "");
        if (sim >= kMinSimilarity) ++good;
        if (!known || sim < 0.75) {
            EXPECT_GE(sim, kMinSimilarity)
                << base.toStdString() << "\n  got: " << actual.left(300).toStdString()
                << "\n want: " << expected.left(300).toStdString();
        }
    }
    std::printf("  %d of %lld files at %.2f or better\n", good,
                static_cast<long long>(files.size()), kMinSimilarity);
    std::printf("  pictures %d of %d, tables %d of %d\n", picturesFound, picturesWanted,
                tablesFound, tablesWanted);
    EXPECT_GE(picturesFound, kMinPictures);
    EXPECT_GE(tablesFound, kMinTables);
}

// Paragraph alignment and bold/italic/underline/super/sub of every run, on files whose
// paragraphs the importer reproduces one to one and whose formatting LibreOffice reads plainly.
class RtfCorpusRuns : public ::testing::TestWithParam<const char*> {};

const char* alignName(Qt::Alignment a) {
    if (a & Qt::AlignHCenter) return "center";
    if (a & Qt::AlignRight) return "right";
    if (a & Qt::AlignJustify) return "justify";
    return "left";
}

TEST_P(RtfCorpusRuns, FormattingMatchesReference) {
    if (!testpaths::haveCorpus("rtf")) GTEST_SKIP() << "no RTF corpus";
    const QString path = testpaths::corpus("rtf") + '/' + GetParam() + ".rtf";
    QTextDocument doc;
    ASSERT_TRUE(importRtf(readFile(path), doc));
    const QJsonArray paragraphs = readExpected(path).value("paragraphs").toArray();
    ASSERT_EQ(doc.blockCount(), paragraphs.size());
    int checkedRuns = 0;
    QTextBlock block = doc.begin();
    for (int i = 0; i < paragraphs.size(); ++i, block = block.next()) {
        const QJsonObject p = paragraphs[i].toObject();
        const QString want = p.value("text").toString().replace(QChar(0x2006), u' ');
        const QString got = block.text().replace(QChar::LineSeparator, u'\n');
        ASSERT_EQ(got.toStdString(), want.toStdString()) << "paragraph " << i;
        EXPECT_STREQ(alignName(block.blockFormat().alignment()),
                     p.value("align").toString().toLatin1().constData())
            << "paragraph " << i;
        for (const QJsonValue& rv : p.value("runs").toArray()) {
            const QJsonObject r = rv.toObject();
            if (r.value("length").toInt() == 0) continue;
            QTextCursor c(block);
            c.setPosition(block.position() + r.value("start").toInt() + 1);
            const QTextCharFormat f = c.charFormat();
            const std::string where = "paragraph " + std::to_string(i) + " run at " +
                                      std::to_string(r.value("start").toInt());
            EXPECT_EQ(f.fontWeight() >= QFont::Bold, r.value("bold").toBool()) << where;
            EXPECT_EQ(f.fontItalic(), r.value("italic").toBool()) << where;
            EXPECT_EQ(f.fontUnderline(), r.value("underline").toBool()) << where;
            EXPECT_EQ(f.verticalAlignment() == QTextCharFormat::AlignSuperScript,
                      r.value("super").toBool())
                << where;
            EXPECT_EQ(f.verticalAlignment() == QTextCharFormat::AlignSubScript,
                      r.value("sub").toBool())
                << where;
            ++checkedRuns;
        }
    }
    EXPECT_GT(checkedRuns, 0);
}

INSTANTIATE_TEST_SUITE_P(Files, RtfCorpusRuns,
                         ::testing::Values("rtfjs-paragraph-properties", "rtfjs-hyperlink",
                                           "rtfjs-superscript-subscript", "rtfjs-colors",
                                           "kota7-libre", "kota7-eastasia", "kota7-europe",
                                           "tika-testRTFWordPadCzechCharacters",
                                           "joshy-ansicpg1250", "rtfjs-pile-of-poo"));

}  // namespace
