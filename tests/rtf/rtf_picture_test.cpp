// Pictures: kinds, encodings, sizes, crops and caps, checked on the image the document shows.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include "rtf/rtf.h"
#include "rtf/rtf_picture.h"
#include "rtf/rtf_reader.h"
#include "rtf_test_util.h"

namespace {

using casenames::PrintTo;

// A 4x2 picture, left half red and right half blue, in the given format.
QByteArray twoColours(const char* format) {
    QImage img(4, 2, QImage::Format_RGB32);
    img.fill(Qt::red);
    for (int y = 0; y < 2; ++y)
        for (int x = 2; x < 4; ++x) img.setPixel(x, y, qRgb(0, 0, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, format);
    return bytes;
}

struct Shown {
    int pictures = 0;
    QImage image;  // the first
    QSizeF size;
};

Shown importPictures(const QByteArray& rtf) {
    QTextDocument doc;
    EXPECT_TRUE(rtf::importRtf(rtf, doc));
    Shown s;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat f = it.fragment().charFormat().toImageFormat();
            if (!f.isValid()) continue;
            if (s.pictures++ == 0) {
                s.image =
                    doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
                s.size = QSizeF(f.width(), f.height());
            }
        }
    }
    return s;
}

struct PictureCase {
    const char* name;
    int pictures;
    int width, height;  // pixels shown
    QRgb left, right;   // colours a quarter in from the left and right; 0: not checked
    QByteArray rtf;
};

class RtfPictures : public ::testing::TestWithParam<PictureCase> {};

TEST_P(RtfPictures, ShownAtTheirSize) {
    const PictureCase& c = GetParam();
    const Shown s = importPictures(c.rtf);
    ASSERT_EQ(s.pictures, c.pictures) << c.name;
    if (c.pictures == 0) return;
    EXPECT_EQ(s.image.size(), QSize(c.width, c.height)) << c.name;
    EXPECT_EQ(s.size, QSizeF(c.width, c.height)) << c.name;
    const int y = s.image.height() / 2;
    if (c.left) {
        EXPECT_EQ(s.image.pixel(s.image.width() / 4, y) | 0xFF000000, c.left) << c.name;
    }
    if (c.right) {
        EXPECT_EQ(s.image.pixel(s.image.width() * 3 / 4, y) | 0xFF000000, c.right) << c.name;
    }
}

QByteArray pict(const QByteArray& words, const QByteArray& data) {
    return "{\\rtf1\\ansi A{\\pict" + words + " " + data.toHex() + "}B}";
}

const QRgb kRed = qRgb(255, 0, 0), kBlue = qRgb(0, 0, 255);

// A device-independent bitmap, bottom-up, of a palette of red and blue: a BITMAPINFOHEADER
// (or, with `core`, the older BITMAPCOREHEADER), the palette and `bits` as given.
QByteArray dib(int width, int height, int bitCount, int compression, const QByteArray& bits,
               bool core = false) {
    QByteArray d;
    const auto put = [&d](quint32 v, int n) {
        for (int i = 0; i < n; ++i) d.append(char((v >> (8 * i)) & 0xFF));
    };
    if (core) {
        put(12, 4), put(width, 2), put(height, 2), put(1, 2), put(bitCount, 2);
        d.append("\x00\x00\xFF\xFF\x00\x00", 6);    // BGR triples: red, blue
        d.append(((1 << bitCount) - 2) * 3, '\0');  // the rest of a full palette
        return d + bits;
    }
    put(40, 4), put(width, 4), put(height, 4), put(1, 2), put(bitCount, 2), put(compression, 4);
    put(bits.size(), 4), put(0, 4), put(0, 4), put(2, 4), put(0, 4);
    d.append("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);  // BGRX quads: red, blue
    return d + bits;
}

// Two rows of four pixels, red red blue blue, in each packing.
const QByteArray kRows8("\x00\x00\x01\x01\x00\x00\x01\x01", 8);
const QByteArray kRows4("\x00\x11\x00\x00\x00\x11\x00\x00", 8);
const QByteArray kRle8("\x02\x00\x02\x01\x00\x00\x02\x00\x02\x01\x00\x01", 12);
const QByteArray kRle4("\x02\x00\x02\x11\x00\x00\x02\x00\x02\x11\x00\x01", 12);
// A device bitmap has no palette: the display's standard colours. 4 bits: 9 red, 12 blue;
// 8 bits: 249 red, 252 blue.
const QByteArray kDevice4("\x99\xCC\x99\xCC", 4);
const QByteArray kDevice8("\xF9\xF9\xFC\xFC\xF9\xF9\xFC\xFC", 8);

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfPictures,
    ::testing::Values(
        PictureCase{"png in hex, own size", 1, 4, 2, kRed, kBlue,
                    pict("\\pngblip", twoColours("png"))},
        PictureCase{"goal size in twips", 1, 80, 40, kRed, kBlue,
                    pict("\\pngblip\\picwgoal1200\\pichgoal600", twoColours("png"))},
        PictureCase{"scaled", 1, 40, 80, kRed, kBlue,
                    pict("\\pngblip\\picwgoal1200\\pichgoal600\\picscalex50\\picscaley200",
                         twoColours("png"))},
        PictureCase{"cropped to the right half", 1, 40, 40, kBlue, kBlue,
                    pict("\\pngblip\\picwgoal1200\\pichgoal600\\piccropl600", twoColours("png"))},
        PictureCase{"jpeg", 1, 40, 20, 0, 0,
                    pict("\\jpegblip\\picwgoal600\\pichgoal300", twoColours("jpeg"))},
        PictureCase{"dib", 1, 4, 2, kRed, kBlue,
                    pict("\\dibitmap0\\picw4\\pich2", twoColours("bmp").mid(14))},
        PictureCase{"dib 8 bits", 1, 4, 2, kRed, kBlue,
                    pict("\\dibitmap0\\picw4\\pich2", dib(4, 2, 8, 0, kRows8))},
        PictureCase{"dib 4 bits", 1, 4, 2, kRed, kBlue,
                    pict("\\dibitmap0\\picw4\\pich2", dib(4, 2, 4, 0, kRows4))},
        PictureCase{"dib 8 bits run-length", 1, 4, 2, kRed, kBlue,
                    pict("\\dibitmap0", dib(4, 2, 8, 1, kRle8))},
        PictureCase{"dib 4 bits run-length", 1, 4, 2, kRed, kBlue,
                    pict("\\dibitmap0", dib(4, 2, 4, 2, kRle4))},
        PictureCase{"dib with the older core header", 1, 4, 2, kRed, kBlue,
                    pict("\\dibitmap0", dib(4, 2, 8, 0, kRows8, true))},
        PictureCase{"device bitmap 4 bits", 1, 4, 2, kRed, kBlue,
                    pict("\\wbitmap0\\picw4\\pich2\\wbmbitspixel4\\wbmwidthbytes2", kDevice4)},
        PictureCase{"device bitmap 8 bits", 1, 4, 2, kRed, kBlue,
                    pict("\\wbitmap0\\picw4\\pich2\\wbmbitspixel8\\wbmwidthbytes4", kDevice8)},
        PictureCase{"device bitmap short of its rows shows a frame", 1, 4, 3, 0, 0,
                    pict("\\wbitmap0\\picw4\\pich3\\wbmbitspixel8\\wbmwidthbytes4", kDevice8)},
        PictureCase{"undecodable shows an empty frame", 1, 96, 48, 0, 0,
                    pict("\\wmetafile8\\picw2540\\pich1270", "nonsense")},
        PictureCase{"shppict preferred to nonshppict", 1, 4, 2, kRed, kBlue,
                    "{\\rtf1{\\*\\shppict{\\pict\\pngblip " + twoColours("png").toHex() +
                        "}}{\\nonshppict{\\pict\\wmetafile8 00}}}"},
        PictureCase{"shape picture, its replacement not repeated", 1, 4, 2, kRed, kBlue,
                    "{\\rtf1{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv{\\pict\\pngblip " +
                        twoColours("png").toHex() + "}}}}{\\shprslt{\\pict\\wmetafile8 00}}}}"},
        PictureCase{"object result", 1, 4, 2, kRed, kBlue,
                    "{\\rtf1{\\object\\objemb{\\*\\objdata 0102}{\\result{\\pict\\pngblip " +
                        twoColours("png").toHex() + "}}}}"},
        PictureCase{"no size, no data: nothing", 0, 0, 0, 0, 0, "{\\rtf1 A{\\pict\\pngblip}B}"},
        PictureCase{"bin beyond the input takes the rest, so the picture never ends", 0, 0, 0, 0, 0,
                    "{\\rtf1{\\pict\\pngblip\\picwgoal150\\pichgoal150\\bin2147483647 ab}}"},
        PictureCase{"hidden picture not shown", 0, 0, 0, 0, 0,
                    "{\\rtf1{\\v{\\pict\\pngblip " + twoColours("png").toHex() + "}}}"}),
    rtftest::caseName<::testing::TestParamInfo<PictureCase>>);

TEST(RtfPictureCaps, DataBeyondTheCapShowsAnEmptyFrame) {
    rtf::PictureReader p;
    p.begin();
    p.controlWord("pngblip", 0, false);
    p.controlWord("picwgoal", 300, true);
    p.controlWord("pichgoal", 300, true);
    const QByteArray half(rtf::PictureReader::kMaxBytes / 2 + 1, 'a');  // each within the cap
    p.binary(half);
    p.binary(half);
    EXPECT_EQ(p.dataBytes(), 0);
    EXPECT_EQ(p.render().size(), QSize(20, 20));
}

TEST(RtfPictureCaps, PictureCountIsBounded) {
    const QByteArray one = "{\\pict\\pngblip " + twoColours("png").toHex() + "}";
    EXPECT_EQ(importPictures("{\\rtf1 " + one.repeated(1200) + "}").pictures,
              rtf::Reader::kMaxPictures);
}

}  // namespace
