// Books made to hurt the reader: each is built in a temporary folder, the reader window is opened
// on it as at start-up, and one page is clicked. Start-up must finish, the page must say what is
// wrong, the window must go on handling events, memory must stay bounded, and nothing outside the
// book may be shown.
#include "reader/frmmain.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kSecret = "SECRET OUTSIDE THE BOOK";
const QColor kOutsideColor(255, 0, 255);

// A book folder, and beside it a folder that is not the book and must never be read.
struct Book {
    QTemporaryDir dir;
    QTemporaryDir outside{QDir::tempPath() + QStringLiteral("/outsideXXXXXX")};

    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const {
        ASSERT_TRUE(testfiles::write(path(name), bytes));
    }
    void catalog(const QByteArray& lines) const { write(QStringLiteral("DocItem.txt"), lines); }
    void picture(const QString& name) const {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        ASSERT_TRUE(image.save(path(name), "JPG"));
    }
    void link(const QString& name, const QString& target) const {
        ASSERT_EQ(::symlink(QFile::encodeName(target), QFile::encodeName(path(name))), 0);
    }
    void fifo(const QString& name) const {
        ASSERT_EQ(::mkfifo(QFile::encodeName(path(name)), 0600), 0);
    }
    void sparse(const QString& name, qint64 size) const {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(size));
    }
    // The files outside: a text, a picture in a colour no book picture has (named without a
    // dot, so a catalog title keeps its whole path).
    void makeOutside() const {
        ASSERT_TRUE(testfiles::write(outside.filePath(QStringLiteral("secret.txt")), kSecret));
        QImage image(300, 300, QImage::Format_RGB32);
        image.fill(kOutsideColor);
        ASSERT_TRUE(image.save(outside.filePath(QStringLiteral("pic")), "PNG"));
    }
};

enum class Pic { Shown, None, Any };

struct HostileCase {
    const char* name;
    std::function<void(Book&)> make;  // writes the book, DocItem.txt included
    int rows;                         // catalog rows after start-up; the first is clicked
    QStringList panel1;               // what status panel 1 says (all of these), empty: nothing
    QString text;                     // what the text pane shows; empty: the help document
    Pic pic;
};

void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.name;
}

class TestReader : public reader::frmmain {
  public:
    using frmmain::frmmain;

  protected:
    reader::WindowMetrics metrics() const override { return {9315, 7830, 7140, 420}; }
};

class HostileBook : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileBook, OpensAtOnceSaysWhatIsWrongAndReadsNothingOutside) {
    const HostileCase& c = GetParam();
    Book book;
    ASSERT_TRUE(book.dir.isValid() && book.outside.isValid());
    book.makeOutside();
    c.make(book);

    TestReader w{QDir(book.dir.path())};  // start-up finishes
    w.Form_Resize();
    ASSERT_EQ(w.listVW->rowCount(), c.rows);
    const QString help = w.RTBoxShow[0]->plainText();
    if (c.rows) w.listVW_ItemClick(1);
    w.waitForPage();

    const QString panel1 = w.stBar->panelText(1);
    if (c.panel1.isEmpty()) {
        EXPECT_EQ(panel1, QString());
    }
    for (const QString& part : c.panel1)
        EXPECT_TRUE(panel1.contains(part))
            << panel1.toStdString() << " lacks " << part.toStdString();
    const QString shown = w.RTBoxShow[0]->plainText();
    if (c.text.isEmpty()) {
        EXPECT_EQ(shown, help);
    } else {
        EXPECT_TRUE(shown.contains(c.text)) << shown.left(200).toStdString();
    }
    EXPECT_FALSE(shown.contains(QString::fromLatin1(kSecret)));

    const QImage& image = w.ImgPic->picture().image();
    if (c.pic == Pic::Shown) {
        EXPECT_EQ(image.size(), QSize(64, 48));
    }
    if (c.pic == Pic::None) {
        EXPECT_TRUE(image.isNull());
    }
    // Bounded memory: no picture beyond the decoding budget, nothing from outside.
    EXPECT_LE(image.sizeInBytes(), platform::kMaxDecodedPixels * 4);
    if (!image.isNull()) {
        EXPECT_NE(image.pixelColor(image.width() / 2, image.height() / 2), kOutsideColor);
    }

    // Every status panel shows its text literally, one line high, loading nothing it names.
    for (int p = 1; p <= 3; ++p) {
        const QLabel* label = w.stBar->panel(p);
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_LT(label->sizeHint().height(), 40) << p;
    }

    // The window still handles events.
    bool handled = false;
    QTimer::singleShot(0, &w, [&] { handled = true; });
    QCoreApplication::processEvents();
    EXPECT_TRUE(handled);
}

const QString kRefusedText = QStringLiteral("不是普通文件");
const QString kLinkOut = QStringLiteral("链接指向本书目录以外");
const QString kTooLarge = QStringLiteral("文件过大");

// Lines of an ordinary book around the hostile part.
void plainPage(Book& b) {
    b.picture(QStringLiteral("p.jpg"));
    b.write(QStringLiteral("p.txt"), "the page text");
}

const HostileCase kCatalogCases[] = {
    {"FifoCatalog",
     [](Book& b) { b.fifo(QStringLiteral("DocItem.txt")); },
     0,
     {QStringLiteral("DocItem.txt"), kRefusedText},
     {},
     Pic::Any},
    {"CatalogLinkedToDevZero",
     [](Book& b) { b.link(QStringLiteral("DocItem.txt"), "/dev/zero"); },
     0,
     {QStringLiteral("DocItem.txt"), kLinkOut},
     {},
     Pic::Any},
    {"SparseTwoGigabyteCatalog",
     [](Book& b) { b.sparse(QStringLiteral("DocItem.txt"), 2LL << 30); },
     0,
     {QStringLiteral("DocItem.txt"), kTooLarge},
     {},
     Pic::Any},
    {"MegabyteLineOfNuls",
     [](Book& b) {
         plainPage(b);
         b.catalog(QByteArray(1 << 20, '\0') + "\r\np.jpg-p.txt\r\n");
     },
     2,
     {QStringLiteral("文件名不在本书目录内"), QStringLiteral("…")},
     {},
     Pic::None},
};

const HostileCase kPageCases[] = {
    {"FifoText",
     [](Book& b) {
         b.picture(QStringLiteral("p.jpg"));
         b.fifo(QStringLiteral("t.txt"));
         b.catalog("p.jpg-t.txt\r\n");
     },
     1,
     {QStringLiteral("t.txt"), kRefusedText},
     {},
     Pic::Shown},
    {"FifoPicture",
     [](Book& b) {
         b.fifo(QStringLiteral("f.jpg"));
         b.write(QStringLiteral("p.txt"), "the page text");
         b.catalog("f.jpg-p.txt\r\n");
     },
     1,
     {QStringLiteral("f.jpg"), kRefusedText},
     QStringLiteral("the page text"),
     Pic::None},
    {"TextLinkedOutside",
     [](Book& b) {
         b.picture(QStringLiteral("p.jpg"));
         b.link(QStringLiteral("host.txt"), b.outside.filePath(QStringLiteral("secret.txt")));
         b.catalog("p.jpg-host.txt\r\n");
     },
     1,
     {QStringLiteral("host.txt"), kLinkOut},
     {},
     Pic::Shown},
    {"PictureLinkedToDevZero",
     [](Book& b) {
         plainPage(b);
         b.link(QStringLiteral("z.jpg"), "/dev/zero");
         b.catalog("z.jpg-p.txt\r\n");
     },
     1,
     {QStringLiteral("z.jpg"), kLinkOut},
     QStringLiteral("the page text"),
     Pic::None},
    {"PictureLinkedInsideTheBook",
     [](Book& b) {
         plainPage(b);
         b.link(QStringLiteral("alias.jpg"), QStringLiteral("p.jpg"));
         b.catalog("alias.jpg-p.txt\r\n");
     },
     1,
     {},
     QStringLiteral("the page text"),
     Pic::Shown},
    {"SvgSavedAsJpeg",
     [](Book& b) {
         plainPage(b);
         b.write(QStringLiteral("evil.jpg"),
                 "<svg xmlns='http://www.w3.org/2000/svg' width='300' height='300'><image href='" +
                     QFile::encodeName(b.outside.filePath(QStringLiteral("pic"))) +
                     "' width='300' height='300'/></svg>");
         b.catalog("evil.jpg-p.txt\r\n");
     },
     1,
     {QStringLiteral("evil.jpg"), QStringLiteral("不是可显示的图像格式")},
     QStringLiteral("the page text"),
     Pic::None},
    {"TinyJpegClaiming16384Square",
     [](Book& b) {
         plainPage(b);
         b.write(QStringLiteral("bomb.jpg"), testfiles::claimingHuge("JPG"));
         b.catalog("bomb.jpg-p.txt\r\n");
     },
     1,
     {QStringLiteral("bomb.jpg"), QStringLiteral("图像尺寸与文件大小不符")},
     QStringLiteral("the page text"),
     Pic::None},
    {"SparseTextOverTheCap",
     [](Book& b) {
         b.picture(QStringLiteral("p.jpg"));
         b.sparse(QStringLiteral("huge.txt"), 100LL << 20);
         b.catalog("p.jpg-huge.txt\r\n");
     },
     1,
     {QStringLiteral("huge.txt"), kTooLarge},
     {},
     Pic::Shown},
    {"DotsInsideAName",
     [](Book& b) {
         b.picture(QStringLiteral("a..b.jpg"));
         b.write(QStringLiteral("a..b.txt"), "dots are fine");
         b.catalog("a..b.jpg-a..b.txt\r\n");
     },
     1,
     {},
     QStringLiteral("dots are fine"),
     Pic::Shown},
    {"Utf16TextWithByteOrderMark",
     [](Book& b) {
         b.picture(QStringLiteral("p.jpg"));
         QStringEncoder utf16(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom);
         b.write(QStringLiteral("u.txt"), utf16.encode(QStringLiteral("记事本保存的文字")));
         b.catalog("p.jpg-u.txt\r\n");
     },
     1,
     {},
     QStringLiteral("记事本保存的文字"),
     Pic::Shown},
};

// Names are shown, never interpreted: neither a heading nor a picture from anywhere.
const HostileCase kMarkupCases[] = {
    {"HeadingInAName",
     [](Book& b) {
         plainPage(b);
         b.catalog("<h1>BIG</h1>-p.txt\r\n");
     },
     1,
     {QStringLiteral("<h1>BIG</h1>")},
     QStringLiteral("the page text"),
     Pic::None},
    {"PictureFromOutsideInAName",
     [](Book& b) {
         plainPage(b);
         b.catalog("<img src=" + QFile::encodeName(b.outside.filePath(QStringLiteral("pic"))) +
                   ">x-p.txt\r\n");
     },
     1,
     {QStringLiteral("<img src=")},
     QStringLiteral("the page text"),
     Pic::None},
};

const auto caseName = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Catalog, HostileBook, ::testing::ValuesIn(kCatalogCases), caseName);
INSTANTIATE_TEST_SUITE_P(Page, HostileBook, ::testing::ValuesIn(kPageCases), caseName);
INSTANTIATE_TEST_SUITE_P(Markup, HostileBook, ::testing::ValuesIn(kMarkupCases), caseName);

}  // namespace
