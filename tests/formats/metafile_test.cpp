#include "metafile_builder.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QStringEncoder>

#include <vector>

using namespace testing_metafile;
using metafile::Format;
using metafile::Metafile;

namespace {

constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000;

QColor at(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

// A bitmap-info header: one plane, the rest zero.
QByteArray dibHeader(int width, int height, int bits, int compression = 0) {
    QByteArray b;
    for (int64_t v : {40, width, height}) put32(b, v);
    put16(b, 1), put16(b, bits), put32(b, compression);
    for (int i = 0; i < 5; ++i) put32(b, 0);
    return b;
}

// A 1 x 1 24-bit DIB of the given colour, header and bits.
QByteArray dib1x1(QColor c) {
    QByteArray b = dibHeader(1, 1, 24);
    return b.append(char(c.blue())).append(char(c.green())).append(char(c.red())).append('\0');
}

QByteArray wordsOf(uint32_t v) {
    QByteArray b;
    put32(b, v);
    return b;
}

Wmf& wmfBrush(Wmf& w, uint32_t color) {
    return w.rec(0x02FC, {0, int(color & 0xFFFF), int(color >> 16), 0});
}

// The marker the hostile cases end with: a red square in the middle.
Emf emfMarker(Emf e) {
    e.rec(39, {1, 0, kRed, 0}).rec(37, {1}).rec(37, {int64_t(0x80000008)});
    return e.rec(43, {40, 40, 60, 60});
}
Wmf& wmfMarker(Wmf& w) {
    wmfBrush(w, kRed).rec(0x012D, {0});
    return w.rec(0x041B, {60, 60, 40, 40});
}

// A WMF Region object; each scan is {top, bottom, left, right, left, right...}.
QByteArray wmfRegion(std::initializer_list<std::vector<int>> scans) {
    QByteArray b;
    for (int v : {0, 6, 0, 0, 0, int(scans.size()), 0, 0, 0, 0, 0}) put16(b, v);
    for (const std::vector<int>& scan : scans) {
        put16(b, int(scan.size()) - 2);
        for (int v : scan) put16(b, v);
        put16(b, int(scan.size()) - 2);
    }
    return b;
}

QByteArray u32s(std::initializer_list<int64_t> values) {
    QByteArray b;
    for (int64_t v : values) put32(b, v);
    return b;
}

// An EMF RegionData of one rectangle (left, top, right, bottom), claiming `count` of them.
QByteArray emfRegion(int l, int t, int r, int b, int count = 1) {
    return u32s({32, 1, count, 0, 0, 0, 0, 0, l, t, r, b});
}

// An EMR_POLYTEXTOUTA/W record's parameters: "WW" at each reference point.
QByteArray polyText(bool wide, std::initializer_list<QPoint> refs, int64_t badOffset = -1) {
    QByteArray b, strings;
    for (int v : {0, 0, 100, 100, 1, 0, 0, int(refs.size())}) put32(b, v);
    const int64_t textAt = 8 + 32 + 40 * int64_t(refs.size());
    for (const QPoint& p : refs) {
        const int64_t offset =
            badOffset >= 0 && strings.isEmpty() ? badOffset : textAt + strings.size();
        for (int64_t v : {int64_t(p.x()), int64_t(p.y()), int64_t(2), offset, int64_t(0)})
            put32(b, v);
        for (int v : {0, 0, 0, 0, 0}) put32(b, v);  // rectangle, no advances
        strings += wide ? QByteArray("W\0W\0", 4) : QByteArray("WW");
    }
    return b + strings;
}

// Dark pixels in a box.
int ink(const QImage& image, QRect box) {
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) n += qGray(image.pixel(x, y)) < 128;
    return n;
}

}  // namespace

TEST(MetafileTest, SniffTellsFormatsByContent) {
    const struct {
        const char* name;
        QByteArray bytes;
        Format expected;
    } cases[] = {
        {"placeable wmf", Wmf().bytes(), Format::Wmf},
        {"plain wmf", Wmf(100, 100, 1440, true).bytes(), Format::Wmf},
        {"emf", Emf().bytes(), Format::Emf},
        {"png", QByteArray("\x89PNG\r\n\x1A\n", 8), Format::Unknown},
        {"empty", QByteArray(), Format::Unknown},
        {"three bytes", QByteArray("\xD7\xCD\xC6", 3), Format::Unknown},
        {"emf type without signature", Emf().bytes().replace(40, 4, "XXXX"), Format::Unknown},
    };
    for (const auto& c : cases) EXPECT_EQ(metafile::sniff(c.bytes), c.expected) << c.name;
}

TEST(MetafileTest, NaturalSizeInTwipsFromWhatTheFileRecords) {
    const struct {
        const char* name;
        QByteArray bytes;
        QSizeF twips;
    } cases[] = {
        {"placeable: bbox over units per inch", Wmf(2880, 1440, 1440).bytes(), {2880, 1440}},
        {"placeable at 576 per inch", Wmf(576, 288, 576).bytes(), {1440, 720}},
        {"emf frame in 0.01 mm", Emf(127).bytes(), {7200, 7200}},
        {"plain wmf: window extent in pixels",
         Wmf(0, 0, 0, true).rec(0x020C, {50, 100}).bytes(),
         {1500, 750}},
        {"plain wmf without window: what it draws",
         Wmf(0, 0, 0, true).rec(0x041B, {30, 40, 10, 20}).bytes(),
         {300, 300}},
    };
    for (const auto& c : cases) {
        const Metafile m = Metafile::fromData(c.bytes);
        ASSERT_FALSE(m.isNull()) << c.name;
        EXPECT_NEAR(m.sizeTwips().width(), c.twips.width(), 16) << c.name;
        EXPECT_NEAR(m.sizeTwips().height(), c.twips.height(), 16) << c.name;
    }
    EXPECT_TRUE(Metafile::fromData(Wmf(0, 0, 1440).bytes()).isNull()) << "empty bounding box";
    EXPECT_TRUE(Metafile::fromData(Wmf(0, 0, 0, true).bytes()).isNull()) << "nothing drawn";
}

TEST(MetafileTest, MappingPutsShapesWhereTheFileSays) {
    const struct {
        const char* name;
        QByteArray bytes;
        QPoint inside, outside;
    } cases[] = {
        {"emf pixels",
         Emf().rec(39, {1, 0, kRed, 0}).rec(37, {1}).rec(43, {10, 10, 50, 50}).bytes(),
         {30, 30},
         {70, 70}},
        {"emf anisotropic 10:1",
         Emf()
             .rec(17, {8})
             .rec(9, {1000, 1000})
             .rec(11, {100, 100})
             .rec(39, {1, 0, kRed, 0})
             .rec(37, {1})
             .rec(43, {0, 0, 500, 500})
             .bytes(),
         {25, 25},
         {75, 75}},
        {"emf zero window extent is refused",
         Emf()
             .rec(17, {8})
             .rec(9, {0, 0})
             .rec(39, {1, 0, kRed, 0})
             .rec(37, {1})
             .rec(43, {0, 0, 50, 50})
             .bytes(),
         {25, 25},
         {75, 75}},
        {"emf world transform doubles",
         Emf()
             .rec(35, {0x40000000, 0, 0, 0x40000000, 0, 0})
             .rec(39, {1, 0, kRed, 0})
             .rec(37, {1})
             .rec(43, {0, 0, 25, 25})
             .bytes(),
         {40, 40},
         {75, 75}},
        {"emf himetric flips y",
         Emf()
             .rec(17, {3})
             .rec(39, {1, 0, kRed, 0})
             .rec(37, {1})
             .rec(43, {0, -5000, 5000, -10000})
             .bytes(),
         {25, 75},
         {25, 25}},
        {"wmf window twice the box",
         [] {
             Wmf w;
             w.rec(0x020C, {200, 200});
             return wmfBrush(w, kRed).rec(0x012D, {0}).rec(0x041B, {100, 100, 0, 0}).bytes();
         }(),
         {25, 25},
         {75, 75}},
        {"wmf polygon",
         [] {
             Wmf w;
             wmfBrush(w, kRed).rec(0x012D, {0});
             return w.rec(0x0324, {3, 0, 0, 100, 0, 0, 100}).bytes();
         }(),
         {20, 20},
         {80, 80}},
    };
    for (const auto& c : cases) {
        const QImage image = render(c.bytes);
        EXPECT_EQ(at(image, c.inside.x(), c.inside.y()), QColor(Qt::red)) << c.name;
        EXPECT_EQ(at(image, c.outside.x(), c.outside.y()), QColor(Qt::white)) << c.name;
    }
}

TEST(MetafileTest, RasterOperationsAreExact) {
    const struct {
        const char* name;
        uint32_t rop;
        QColor dest, source, expected;
    } cases[] = {
        {"SRCCOPY", 0x00CC0020, QColor(0, 255, 0), QColor(255, 0, 0), QColor(255, 0, 0)},
        {"SRCAND", 0x008800C6, QColor(0, 255, 255), QColor(255, 255, 0), QColor(0, 255, 0)},
        {"SRCPAINT", 0x00EE0086, QColor(0, 0, 255), QColor(255, 0, 0), QColor(255, 0, 255)},
        {"SRCINVERT", 0x00660046, QColor(255, 255, 0), QColor(255, 0, 0), QColor(0, 255, 0)},
        {"DSTINVERT", 0x00550009, QColor(255, 0, 0), QColor(), QColor(0, 255, 255)},
        {"PATCOPY", 0x00F00021, QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 0, 255)},
        {"NOP", 0x00AA0029, QColor(255, 0, 0), QColor(0, 0, 255), QColor(255, 0, 0)},
    };
    for (const auto& c : cases) {
        Wmf w;
        wmfBrush(w, rgb(c.dest.red(), c.dest.green(), c.dest.blue())).rec(0x012D, {0});
        w.rec(0x061D, {0x0021, 0x00F0, 100, 100, 0, 0});  // PATCOPY the destination colour
        const bool pattern = (c.rop >> 16) == 0xF0 || (c.rop >> 16) == 0xAA;
        if (pattern && c.source.isValid()) {
            wmfBrush(w, rgb(c.source.red(), c.source.green(), c.source.blue())).rec(0x012D, {1});
        }
        if (pattern || (c.rop >> 16) == 0x55) {
            w.rec(0x061D, {int(c.rop & 0xFFFF), int(c.rop >> 16), 100, 100, 0, 0});
        } else {
            QByteArray params = wordsOf(c.rop);
            for (int v : {0, 0, 1, 1, 0, 0}) put16(params, v);  // source, size, destination
            params.append(dib1x1(c.source));
            w.rec(0x020C, {1, 1}).raw(0x0940, params);
        }
        EXPECT_EQ(at(render(w.bytes()), 50, 50), c.expected) << c.name;
    }
}

TEST(MetafileTest, RegionsAndScanLinesPaintWhereTheFileSays) {
    // Slot 0 a red brush, slot 1 a region of two scans, the first with three spans, two abutting.
    const auto wmf = [](std::initializer_list<std::vector<int>> scans = {
                            {10, 30, 10, 30, 60, 70, 70, 80}, {30, 50, 10, 30}}) {
        Wmf w;
        wmfBrush(w, kRed).raw(0x06FF, wmfRegion(scans));
        return w;
    };
    const auto clipThenFill = [](Wmf w) {  // clipping, then red everywhere
        return w.rec(0x012D, {0}).rec(0x041B, {100, 100, 0, 0}).bytes();
    };
    // A 2 x 2 24-bit DIB, rows stored bottom first: red, blue; green, black.
    const QByteArray dib =
        dibHeader(2, 2, 24) + QByteArray("\0\0\xFF\xFF\0\0\0\0\0\xFF\0\0\0\0\0\0", 16);
    const auto setDibToDev = [&](std::initializer_list<int> words) {
        QByteArray params;
        for (int v : words) put16(params, v);
        return Wmf().rec(0x020C, {10, 10}).raw(0x0D33, params + dib).bytes();
    };
    Emf emf;
    emf.rec(39, {1, 0, kRed, 0});
    const QByteArray fill1 = u32s({0, 0, 100, 100, 48, 1});  // bounds, region size, brush 1
    // A letter (r red, k black, g green, b blue, w white) gives the colour of the points after it.
    const struct {
        const char* name;
        QByteArray bytes;
        const char* expected;
    } cases[] = {
        {"wmf fill region", wmf().rec(0x0228, {1, 0}).bytes(),
         "r 20,20 65,20 75,20 20,40 w 45,20 70,40"},
        {"wmf scans out of order still count",
         wmf({{30, 50, 10, 30}, {10, 30, 10, 30}}).rec(0x0228, {1, 0}).bytes(),
         "r 20,20 20,40 w 40,40"},
        {"wmf region is in logical units",
         wmf({{0, 100, 0, 100}}).rec(0x020C, {200, 200}).rec(0x0228, {1, 0}).bytes(),
         "r 25,25 w 75,75"},
        {"wmf paint region with the selected brush",
         wmf().rec(0x012D, {0}).rec(0x012B, {1}).bytes(), "r 20,20 w 70,40"},
        {"wmf frame region: height, then width",
         wmf({{10, 90, 10, 90}}).rec(0x0429, {1, 0, 4, 6}).bytes(),
         "r 15,50 87,50 50,13 50,88 w 17,50 50,15 50,50"},
        {"wmf invert region", wmf().rec(0x012A, {1}).bytes(), "k 20,20 w 45,20"},
        {"wmf clip region", clipThenFill(wmf().rec(0x012C, {1})), "r 20,20 70,20 w 45,20 70,40"},
        {"wmf selecting a region clips", clipThenFill(wmf().rec(0x012D, {1})), "r 20,20 w 45,20"},
        {"wmf offset clip region", clipThenFill(wmf().rec(0x012C, {1}).rec(0x0220, {50, 0})),
         "r 20,70 w 20,20 45,70"},
        {"wmf offset of no clip moves nothing", clipThenFill(wmf().rec(0x0220, {50, 50})),
         "r 10,10 90,90"},
        {"wmf clip of no region clears it", clipThenFill(wmf().rec(0x012C, {1}).rec(0x012C, {0})),
         "r 45,20"},
        {"wmf broken region is no region",
         [&] {
             const QByteArray region = wmfRegion({{0, 10, 0, 10}, {10, 20, 0, 10}});
             Wmf w = wmf();
             w.raw(0x06FF, region.left(region.size() - 6));
             return clipThenFill(w.rec(0x012C, {1}).rec(0x012C, {2}));
         }(),
         "r 50,50"},
        {"wmf setdibtodev", setDibToDev({0, 2, 0, 0, 0, 2, 2, 4, 4}),
         "g 41,41 k 58,41 w 35,50 65,50"},
        {"wmf setdibtodev counts source rows from the bottom",
         setDibToDev({0, 2, 0, 0, 1, 1, 1, 4, 4}), "b 45,45 w 55,55"},
        {"emf fill region", Emf(emf).raw(71, fill1 + emfRegion(10, 10, 40, 40)).bytes(),
         "r 30,30 w 60,30"},
        {"emf paint region",
         Emf(emf).rec(37, {1}).raw(74, fill1.left(20) + emfRegion(10, 10, 40, 40)).bytes(),
         "r 30,30 w 60,30"},
        {"emf frame region in logical widths",
         Emf(emf)
             .rec(17, {8})
             .rec(9, {50, 50})
             .rec(11, {100, 100})
             .raw(72, fill1 + u32s({2, 3}) + emfRegion(10, 10, 80, 80))
             .bytes(),
         "r 13,50 50,15 w 16,50 50,18"},
        {"emf invert region", Emf().raw(73, fill1.left(20) + emfRegion(10, 10, 40, 40)).bytes(),
         "k 30,30 w 60,30"},
        {"emf clip region offset",
         Emf(emf)
             .raw(75, u32s({48, 5}) + emfRegion(0, 0, 40, 40))
             .rec(26, {50, 0})
             .rec(37, {1})
             .rec(43, {0, 0, 100, 100})
             .bytes(),
         "r 70,20 w 20,20 70,60"},
        {"emf region count beyond its data",
         emfMarker(Emf())
             .raw(71, fill1.left(20) + u32s({0x80000004}) + emfRegion(0, 0, 100, 100, 1000))
             .bytes(),
         "r 50,50"},
    };
    const QHash<QChar, QColor> colours = {
        {'r', Qt::red}, {'k', Qt::black}, {'g', Qt::green}, {'b', Qt::blue}, {'w', Qt::white}};
    for (const auto& c : cases) {
        const QImage image = render(c.bytes);
        QColor colour;
        for (const QString& item : QString::fromLatin1(c.expected).split(' ')) {
            const QStringList xy = item.split(',');
            if (xy.size() == 1)
                colour = colours.value(item[0]);
            else
                EXPECT_EQ(at(image, xy[0].toInt(), xy[1].toInt()), colour)
                    << c.name << " at " << item.toStdString();
        }
    }
}

TEST(MetafileTest, PolyTextOutDrawsEveryString) {
    Emf font;
    font.rec(82, {1, -16, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
        .rec(37, {1});
    QByteArray tooMany = polyText(true, {{10, 10}, {55, 60}});
    tooMany.replace(28, 4, u32s({3}));
    const struct {
        const char* name;
        QByteArray params;
        bool wide, firstInked, secondInked;
    } cases[] = {
        {"wide", polyText(true, {{10, 10}, {55, 60}}), true, true, true},
        {"ansi", polyText(false, {{10, 10}, {55, 60}}), false, true, true},
        {"a string past its record is left out", polyText(true, {{10, 10}, {55, 60}}, 5000), true,
         false, true},
        {"more strings than the record holds", tooMany, true, false, false},
    };
    for (const auto& c : cases) {
        const QImage image = render(Emf(font).raw(c.wide ? 97 : 96, c.params).bytes());
        EXPECT_EQ(ink(image, {10, 10, 35, 25}) > 20, c.firstInked) << c.name;
        EXPECT_EQ(ink(image, {55, 60, 35, 25}) > 20, c.secondInked) << c.name;
        EXPECT_EQ(ink(image, {55, 10, 35, 25}), 0) << c.name;
    }
}

TEST(MetafileTest, TransparentBltLeavesItsKeyColourOut) {
    // 2 x 1, 24-bit: red, white
    const QByteArray dib = dibHeader(2, 1, 24) + QByteArray("\0\0\xFF\xFF\xFF\xFF\0\0", 8);
    QByteArray params;
    for (int64_t v : {0, 0, 100, 100, 0, 0, 100, 100, 0xFFFFFF, 0, 0}) put32(params, v);
    for (int64_t v : {0x3F800000, 0, 0, 0x3F800000, 0, 0, 0, 0}) put32(params, v);
    for (int64_t v : {108, 40, 148, 8, 2, 1}) put32(params, v);
    Emf e;
    e.rec(39, {1, 0, kBlue, 0})
        .rec(37, {1})
        .rec(37, {int64_t(0x80000008)})
        .rec(43, {0, 0, 100, 100});
    const QImage image = render(e.raw(116, params + dib).bytes());
    EXPECT_EQ(at(image, 25, 50), QColor(Qt::red));
    EXPECT_EQ(at(image, 75, 50), QColor(Qt::blue));
}

TEST(MetafileTest, ObjectTableFillsFirstFreeSlotAndSkipsBadIndices) {
    Wmf w;
    w.rec(0x02FA, {5, 0, 0, 0, 0});        // slot 0: a null pen
    w.rec(0x00F7, {0x300, 0});             // slot 1: a palette, never drawn
    wmfBrush(w, kRed).rec(0x012D, {2});    // slot 2
    w.rec(0x012D, {0}).rec(0x012D, {99});  // a pen; index out of range ignored
    w.rec(0x041B, {50, 50, 0, 0});         // red
    w.rec(0x01F0, {0});                    // free slot 0
    wmfBrush(w, kBlue).rec(0x012D, {0});   // takes slot 0
    w.rec(0x041B, {100, 100, 50, 50});     // blue
    w.rec(0x01F0, {2}).rec(0x012D, {2});   // selecting a deleted object changes nothing
    w.rec(0x041B, {100, 50, 50, 0});       // still blue
    const QImage image = render(w.bytes());
    EXPECT_EQ(at(image, 25, 25), QColor(Qt::red));
    EXPECT_EQ(at(image, 75, 75), QColor(Qt::blue));
    EXPECT_EQ(at(image, 25, 75), QColor(Qt::blue));
}

TEST(MetafileTest, HostileRecordsAreSkippedOrEndPlayback) {
    QByteArray hugeDib = dib1x1(Qt::red);
    hugeDib.replace(4, 8, QByteArray("\xFF\xFF\x00\x00\xFF\xFF\x00\x00", 8));
    // An 8 x 2 RLE8 picture whose run overshoots its line.
    const QByteArray rle =
        dibHeader(8, 2, 8, 1) + QByteArray("\0\0\xFF\0\xFF\x01\xFF\x00\x00\x01", 10);
    QByteArray rlePatBlt = wordsOf(0x00CC0020);
    for (int v : {0, 0, 2, 8, 0, 0}) put16(rlePatBlt, v);
    rlePatBlt.append(rle);
    QByteArray longText;
    for (int64_t v : {0, 0, 0, 0, 1, 0, 0, 10, 10, 1000000, 76, 0, 0, 0, 0, 0, 0})
        put32(longText, v);

    const struct {
        const char* name;
        QByteArray bytes;
        bool markerDrawn;
    } cases[] = {
        {"emf records below their minimum size",
         emfMarker(Emf().raw(27, QByteArray(0, '\0')).rec(0, {})).bytes(), true},
        {"emf size 0 ends playback",
         [] {
             QByteArray b = emfMarker(Emf()).bytes();
             b.replace(88 + 4, 4, QByteArray(4, '\0'));
             return b;
         }(),
         false},
        {"emf size past the end",
         [] {
             QByteArray b = emfMarker(Emf()).bytes();
             b.replace(88 + 4, 4, QByteArray("\0\0\0\x7F", 4));
             return b;
         }(),
         false},
        {"emf polygon count beyond its record",
         emfMarker(Emf().rec(3, {0, 0, 0, 0, 1000000000, 1, 1})).bytes(), true},
        {"emf font turned by the lowest escapement",
         emfMarker(Emf()
                       .rec(82, {1, -16, 0, INT32_MIN, 0, 700, 0, 0, 0, 0, 0, 0,
                                 0, 0,   0, 0,         0, 0,   0, 0, 0, 0, 0, 0})
                       .rec(37, {1})
                       .raw(97, polyText(true, {{10, 10}})))
             .bytes(),
         true},
        {"emf restore beyond the stack", emfMarker(Emf().rec(34, {-100}).rec(34, {5})).bytes(),
         true},
        {"emf deep SaveDC",
         [] {
             Emf e;
             for (int i = 0; i < 3000; ++i) e.rec(33, {});
             return emfMarker(e).bytes();
         }(),
         true},
        {"emf object index out of range", emfMarker(Emf().rec(37, {70000}).rec(40, {-1})).bytes(),
         true},
        {"emf dib that overflows",
         emfMarker(Emf().raw(81,
                             [&] {
                                 QByteArray p;
                                 for (int64_t v : {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 80, 40, 120, 4, 0,
                                                   0xCC0020, 10, 10})
                                     put32(p, v);
                                 return p + hugeDib;
                             }()))
             .bytes(),
         true},
        {"emf bit masks with holes and all 32 bits",
         emfMarker(Emf().raw(81,
                             [] {
                                 QByteArray p;
                                 for (int64_t v : {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 80, 52, 132, 4, 0,
                                                   0xCC0020, 10, 10})
                                     put32(p, v);
                                 p += dibHeader(1, 1, 32, 3);
                                 for (int64_t v : {int64_t(0x80000001), int64_t(0xFFFFFFFF),
                                                   int64_t(0xFF00F0), int64_t(0x12345678)})
                                     put32(p, v);
                                 return p;
                             }()))
             .bytes(),
         true},
        {"emf text longer than its record", emfMarker(Emf().raw(84, longText)).bytes(), true},
        {"wmf record of size 0 ends playback",
         [] {
             Wmf w;
             w.rawRecord(QByteArray(6, '\0'));
             return wmfMarker(w).bytes();
         }(),
         false},
        {"wmf polygon count beyond its record",
         [] {
             Wmf w;
             w.rec(0x0324, {30000, 1, 1});
             return wmfMarker(w).bytes();
         }(),
         true},
        {"wmf escape is not executed",
         [] {
             Wmf w;
             w.rec(0x0626, {0x0F00, 4, 1, 2});
             return wmfMarker(w).bytes();
         }(),
         true},
        {"wmf rle runs past the line",
         [&] {
             Wmf w;
             w.raw(0x0940, rlePatBlt);
             return wmfMarker(w).bytes();
         }(),
         true},
        {"wmf restore of an empty stack",
         [] {
             Wmf w;
             w.rec(0x0127, {-1}).rec(0x0127, {3});
             return wmfMarker(w).bytes();
         }(),
         true},
    };
    for (const auto& c : cases) {
        const QImage image = render(c.bytes);
        EXPECT_EQ(at(image, 50, 50) == QColor(Qt::red), c.markerDrawn) << c.name;
    }
}

TEST(MetafileTest, TextDecodesByTheFontCharacterSet) {
    QStringEncoder gbk("GB18030");
    const QByteArray face = gbk.encode(QStringLiteral("宋体")),
                     chinese = gbk.encode(QStringLiteral("中文"));
    QByteArray font;
    for (int v : {-20, 0, 0, 0, 400}) put16(font, v);
    font.append(QByteArray("\0\0\0\x86\0\0\0\0", 8))
        .append(face)
        .append(QByteArray(32 - face.size(), '\0'));
    QByteArray text;
    for (int v : {30, 10, int(chinese.size()), 0}) put16(text, v);
    text.append(chinese);
    for (int v : {20, 0, 20, 0}) put16(text, v);  // one advance per byte
    Wmf w;
    w.raw(0x02FB, font).rec(0x012D, {0}).raw(0x0A32, text);
    QList<metafile::TextRun> runs;
    const QImage image = render(w.bytes(), {100, 100}, &runs);
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0].text, QStringLiteral("中文"));
    EXPECT_EQ(runs[0].logical, QPointF(10, 30));
    EXPECT_GT(ink(image, {10, 30, 42, 22}), 20)
        << "the characters are drawn below and right of their reference point";
}

TEST(MetafileTest, EmbeddedEmfIsPlayedInsteadOfTheWmfRecords) {
    const QByteArray emf =
        Emf().rec(39, {1, 0, kRed, 0}).rec(37, {1}).rec(43, {0, 0, 100, 100}).bytes();
    QByteArray comment;
    put16(comment, 0x000F);
    put16(comment, 34 + emf.size());
    for (int64_t v : {0x43464D57, 1, 0x10000}) put32(comment, v);
    put16(comment, 0);
    for (int64_t v : {int64_t(0), int64_t(1), int64_t(emf.size()), int64_t(0), int64_t(emf.size())})
        put32(comment, v);
    comment.append(emf);
    auto withComment = [](const QByteArray& c) {
        Wmf w;
        w.raw(0x0626, c);
        return wmfBrush(w, kBlue).rec(0x012D, {0}).rec(0x041B, {100, 100, 0, 0}).bytes();
    };
    EXPECT_EQ(at(render(withComment(comment)), 50, 50), QColor(Qt::red));
    comment[38 + 40] = 'X';  // a broken EMF signature: the WMF records play
    EXPECT_EQ(at(render(withComment(comment)), 50, 50), QColor(Qt::blue));
}
