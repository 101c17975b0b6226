// Books made to hurt the reader: each is built in a temporary folder, the reader window is opened
// on it as at start-up, and one page is clicked. Start-up must finish, the page must say what is
// wrong, the window must go on handling events, memory must stay bounded, and nothing outside the
// book may be shown.
#include "reader/frmmain.h"

#include <gtest/gtest.h>

#include "support/book_folders.h"
#include "support/jpeg_files.h"

#include <QCoreApplication>
#include <QStringEncoder>
#include <QTimer>

namespace {

using testbook::File;
using testbook::Kind;

enum class Pic { Shown, None, Any };

struct HostileCase {
    const char* name;
    std::vector<File> files;  // the book, DocItem.txt included
    int rows;                 // catalog rows after start-up; the first is clicked
    QStringList panel1;       // what status panel 1 says (all of these), empty: nothing
    QString text;             // what the text pane shows; empty: the help document
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
    if (!testbook::madeHere(c.files)) GTEST_SKIP() << "FIFOs and symbolic links are POSIX's";
    testbook::Folders book;
    ASSERT_NO_FATAL_FAILURE(book.makeOutside());
    ASSERT_NO_FATAL_FAILURE(book.make(c.files));

    TestReader w{QDir(book.book.path())};  // start-up finishes
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
    EXPECT_FALSE(shown.contains(QString::fromLatin1(testbook::kSecret)));

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
        EXPECT_NE(image.pixelColor(image.width() / 2, image.height() / 2), testbook::kOutsideColor);
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
const QString kCatalog = QStringLiteral("DocItem.txt");

File catalog(const QByteArray& lines) {
    return {"DocItem.txt", Kind::Bytes, lines};
}
const File kPicture{"p.jpg", Kind::Picture};
const File kText{"p.txt", Kind::Bytes, "the page text"};
const QString kPageText = QStringLiteral("the page text");

QByteArray utf16(const QString& text) {
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom);
    return encoder.encode(text);
}

const HostileCase kCases[] = {
    {"FifoCatalog", {{"DocItem.txt", Kind::Fifo}}, 0, {kCatalog, kRefusedText}, {}, Pic::Any},
    {"CatalogLinkedToDevZero",
     {{"DocItem.txt", Kind::Link, "/dev/zero"}},
     0,
     {kCatalog, kLinkOut},
     {},
     Pic::Any},
    {"SparseTwoGigabyteCatalog",
     {{"DocItem.txt", Kind::Sparse, {}, 2LL << 30}},
     0,
     {kCatalog, kTooLarge},
     {},
     Pic::Any},
    {"MegabyteLineOfNuls",
     {kPicture, kText, catalog(QByteArray(1 << 20, '\0') + "\r\np.jpg-p.txt\r\n")},
     2,
     {QStringLiteral("文件名不在本书目录内"), QStringLiteral("…")},
     {},
     Pic::None},
    {"FifoText",
     {kPicture, {"t.txt", Kind::Fifo}, catalog("p.jpg-t.txt\r\n")},
     1,
     {"t.txt", kRefusedText},
     {},
     Pic::Shown},
    {"FifoPicture",
     {{"f.jpg", Kind::Fifo}, kText, catalog("f.jpg-p.txt\r\n")},
     1,
     {"f.jpg", kRefusedText},
     kPageText,
     Pic::None},
    {"TextLinkedOutside",
     {kPicture, {"host.txt", Kind::Link, "@out/secret.txt"}, catalog("p.jpg-host.txt\r\n")},
     1,
     {"host.txt", kLinkOut},
     {},
     Pic::Shown},
    {"PictureLinkedToDevZero",
     {kText, {"z.jpg", Kind::Link, "/dev/zero"}, catalog("z.jpg-p.txt\r\n")},
     1,
     {"z.jpg", kLinkOut},
     kPageText,
     Pic::None},
    {"PictureLinkedInsideTheBook",
     {kPicture, kText, {"alias.jpg", Kind::Link, "p.jpg"}, catalog("alias.jpg-p.txt\r\n")},
     1,
     {},
     kPageText,
     Pic::Shown},
    {"SvgSavedAsJpeg",
     {kText,
      {"evil.jpg", Kind::Bytes,
       "<svg xmlns='http://www.w3.org/2000/svg' width='300' height='300'><image "
       "href='@out/pic' width='300' height='300'/></svg>"},
      catalog("evil.jpg-p.txt\r\n")},
     1,
     {"evil.jpg", QStringLiteral("不是可显示的图像格式")},
     kPageText,
     Pic::None},
    {"TinyJpegClaiming16384Square",
     {kText,
      {"bomb.jpg", Kind::Bytes, testfiles::claimingHuge("JPG")},
      catalog("bomb.jpg-p.txt\r\n")},
     1,
     {"bomb.jpg", QStringLiteral("图像尺寸与文件大小不符")},
     kPageText,
     Pic::None},
    {"JpegOfManyScans",
     {kText, {"scans.jpg", Kind::Bytes, testjpeg::manyScans()}, catalog("scans.jpg-p.txt\r\n")},
     1,
     {"scans.jpg", QStringLiteral("无法读取图像")},
     kPageText,
     Pic::None},
    {"SparseTextOverTheCap",
     {kPicture, {"huge.txt", Kind::Sparse, {}, 100LL << 20}, catalog("p.jpg-huge.txt\r\n")},
     1,
     {"huge.txt", kTooLarge},
     {},
     Pic::Shown},
    {"DotsInsideAName",
     {{"a..b.jpg", Kind::Picture},
      {"a..b.txt", Kind::Bytes, "dots are fine"},
      catalog("a..b.jpg-a..b.txt\r\n")},
     1,
     {},
     QStringLiteral("dots are fine"),
     Pic::Shown},
    {"Utf16TextWithByteOrderMark",
     {kPicture,
      {"u.txt", Kind::Bytes, utf16(QStringLiteral("记事本保存的文字"))},
      catalog("p.jpg-u.txt\r\n")},
     1,
     {},
     QStringLiteral("记事本保存的文字"),
     Pic::Shown},
    // Names are shown, never interpreted: neither a heading nor a picture from anywhere.
    {"HeadingInAName",
     {kPicture, kText, catalog("<h1>BIG</h1>-p.txt\r\n")},
     1,
     {"<h1>BIG</h1>"},
     kPageText,
     Pic::None},
    {"PictureFromOutsideInAName",
     {kPicture, kText, catalog("<img src=@out/pic>x-p.txt\r\n")},
     1,
     {"<img src="},
     kPageText,
     Pic::None},
};

INSTANTIATE_TEST_SUITE_P(Cases, HostileBook, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
