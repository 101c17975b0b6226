// Printing through the menu item into a PDF, the printer dialog answered by the test. The printed
// page is rendered back to pixels and the picture found on it.
#include "formats/metafile_builder.h"
#include "reader_fixture.h"
#include "settings/frm_choice.h"

#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// At 720 dots per inch 10 twips are 5 dots; the printable area starts half an inch (360 dots) in.
constexpr int kDpi = 720;
constexpr int kMarginDots = 360;
constexpr int kOffsetDots = 5;

bool haveTool(const char* name) {
    return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

QString run(const char* tool, const QStringList& args) {
    QProcess p;
    p.start(QString::fromLatin1(tool), args);
    p.waitForFinished(30000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// The top-left corner of the first page, rendered.
QImage renderCorner(const QString& pdf, const QString& dir) {
    const QString prefix = dir + QStringLiteral("/corner");
    run("pdftoppm", {"-r", QString::number(kDpi), "-x", "0", "-y", "0", "-W", "1600", "-H", "1600",
                     "-png", "-singlefile", pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

// The box around every pixel that is not (nearly) white.
QRect inkBox(const QImage& page) {
    QRect box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 200) box |= QRect(x, y, 1, 1);
    return box;
}

class Print : public ReaderTest {
  public:
    QTemporaryDir out;
    QString pdf = out.filePath(QStringLiteral("page.pdf"));
    int dialogs = 0;

    // The dialog step: a PDF file with half-inch margins, then print or cancel.
    void answerDialog(bool print, const QString& file) {
        w->printDialog = [this, print, file](QPrinter& printer) {
            ++dialogs;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            printer.setPageMargins(QMarginsF(36, 36, 36, 36), QPageLayout::Point);
            return print;
        };
    }
    void setScale(int percent) {
        w->choice().HScrTsValue();
        w->choice().widgets()->HScrTs->setValue(int16_t(percent));
    }
};

// Page 2 is a 40 x 80 pixel picture: 600 x 1200 twips, 300 x 600 dots at its own size. Where the
// dialog is cancelled, there is no picture or the printer cannot open its output, no file is
// written.
TEST_F(Print, PlacesThePictureAtItsScale) {
    if (!haveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    constexpr int kAt = kMarginDots + kOffsetDots;
    const struct {
        const char* name;
        int scale;
        bool print;  // the dialog's answer
        const char* file;
        int wantDialogs;
        QRect wantPicture;
    } cases[] = {{"Scale100", 100, true, "a.pdf", 1, {kAt, kAt, 300, 600}},
                 {"Scale150", 150, true, "b.pdf", 1, {kAt, kAt, 450, 900}},
                 {"Cancelled", 100, false, "c.pdf", 1, {}},
                 {"PrinterError", 100, true, "no/such/dir/p.pdf", 1, {}},
                 {"NoPicture", 100, true, "d.pdf", 0, {}}};
    open(kThree);
    clickRow(2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs = 0;
        if (c.wantDialogs == 0) w->ImgPic->setPicture(platform::Picture());
        setScale(c.scale);
        const QString file = out.filePath(QString::fromLatin1(c.file));
        answerDialog(c.print, file);
        w->menuPrint->trigger();
        EXPECT_EQ(dialogs, c.wantDialogs);
        EXPECT_EQ(w->choice().state(), settings::FrmChoice::State::Hidden);  // read, never shown
        if (c.wantPicture.isEmpty()) {
            EXPECT_FALSE(QFileInfo::exists(file));
            continue;
        }
        const QRect got = inkBox(renderCorner(file, out.path()));
        EXPECT_NEAR(got.left(), c.wantPicture.left(), 1);
        EXPECT_NEAR(got.top(), c.wantPicture.top(), 1);
        EXPECT_NEAR(got.width(), c.wantPicture.width(), 2);
        EXPECT_NEAR(got.height(), c.wantPicture.height(), 2);
    }
}

// Before any page the start-up picture is printed, from its source pixels (734 x 488) and not
// re-encoded lossily, not from the smaller copy the viewport shows.
TEST_F(Print, BeforeAnyPagePrintsTheStartupPictureAtFullResolution) {
    if (!haveTool("pdfimages")) GTEST_SKIP() << "pdfimages (poppler-utils) is not installed";
    open(kThree);
    ASSERT_LT(w->ImgPic->widget()->width(), 734);
    answerDialog(true, pdf);
    w->menuPrint->trigger();
    const QStringList rows = run("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3);  // two header lines and the one picture
    const QStringList cols = rows[2].simplified().split(' ');
    EXPECT_EQ(cols[3], "734");
    EXPECT_EQ(cols[4], "488");
    EXPECT_NE(cols[8], "jpeg");
}

// A metafile page prints from its records: at its recorded size (1 x 0.5 inch), with no bitmap.
TEST_F(Print, AMetafilePagePrintsAsDrawingAtItsRecordedSize) {
    if (!haveTool("pdftoppm") || !haveTool("pdfimages")) GTEST_SKIP() << "poppler-utils missing";
    open(kThree);
    testing_metafile::Wmf wmf(1440, 720, 1440);
    wmf.rec(0x02FC, {0, 0x00FF, 0, 0}).rec(0x012D, {0}).rec(0x041B, {720, 1440, 0, 0});
    QFile file(out.filePath(QStringLiteral("page.wmf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(wmf.bytes());
    file.close();
    const platform::PictureLoad load = platform::loadPicture(file.fileName());
    ASSERT_TRUE(load.picture.isVector());
    w->ImgPic->setPicture(load.picture);
    setScale(100);
    answerDialog(true, pdf);
    w->menuPrint->trigger();
    const QRect got = inkBox(renderCorner(pdf, out.path()));
    EXPECT_NEAR(got.left(), kMarginDots + kOffsetDots, 1);
    EXPECT_NEAR(got.top(), kMarginDots + kOffsetDots, 1);
    EXPECT_NEAR(got.width(), 720, 2);
    EXPECT_NEAR(got.height(), 360, 2);
    EXPECT_EQ(run("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts).size(), 2);
}

}  // namespace
