#include "metafile_builder.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QStringEncoder>

using namespace testing_metafile;
using metafile::Format;
using metafile::Metafile;
using Emr = metafile::EmfRecord;
using Meta = metafile::WmfRecord;

namespace {

// COLORREFs: red in the low byte.
constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kYellow = 0x00FFFF,
                   kCyan = 0xFFFF00;

// A bitmap-info header: one plane, the rest zero.
QByteArray dibHeader(int width, int height, int bits, int compression = 0) {
    return u32s({40, width, height}) + u16s({1, bits}) + u32s({compression, 0, 0, 0, 0, 0});
}

// A brush of the colour, selected: EMF object 1; WMF the next free slot, which is `slot`.
Emf emfBrush(Emf e, uint32_t colour = kRed) {
    return e.rec(Emr::CreateBrushIndirect, {1, 0, colour, 0}).rec(Emr::SelectObject, {1});
}
Wmf wmfBrush(Wmf w, uint32_t colour, int slot = 0) {
    w.rec(Meta::CreateBrushIndirect, {0, int(colour & 0xFFFF), int(colour >> 16), 0});
    return w.rec(Meta::SelectObject, {slot});
}

// A square of the colour without a pen; by default the marker the hostile cases end with.
Emf emfMarker(Emf e, uint32_t colour = kRed, int from = 40, int to = 60) {
    e = emfBrush(e, colour).rec(Emr::SelectObject, {int64_t(0x80000008)});
    return e.rec(Emr::Rectangle, {from, from, to, to});
}
Wmf wmfMarker(Wmf w) {
    return wmfBrush(w, kRed).rec(Meta::Rectangle, {60, 60, 40, 40});
}

// Font 1, 16 pixels high and bold, turned by `escapement`, selected.
Emf emfFont(int64_t escapement = 0) {
    Emf e;
    e.raw(Emr::ExtCreateFontIndirectW, u32s({1, -16, 0, escapement, 0, 700}) + QByteArray(72, 0));
    return e.rec(Emr::SelectObject, {1});
}

// MM_ANISOTROPIC with square window and viewport extents; no viewport extent where it is 0.
Emf emfAnisotropic(int64_t window, int64_t viewport = 0) {
    Emf e = Emf().rec(Emr::SetMapMode, {8}).rec(Emr::SetWindowExtEx, {window, window});
    return viewport ? e.rec(Emr::SetViewportExtEx, {viewport, viewport}) : e;
}

// The destination painted by PATCOPY, then `rop` with a brush or a 1 x 1 bitmap of `source`.
QByteArray ropFile(uint32_t rop, uint32_t dest, uint32_t source = 0) {
    Wmf w = wmfBrush(Wmf(), dest).rec(Meta::PatBlt, {0x0021, 0x00F0, 100, 100, 0, 0});
    const bool pattern = (rop >> 16) == 0xF0 || (rop >> 16) == 0xAA;
    if (pattern) w = wmfBrush(w, source, 1);
    if (pattern || (rop >> 16) == 0x55)
        return w.rec(Meta::PatBlt, {int(rop & 0xFFFF), int(rop >> 16), 100, 100, 0, 0});
    const uint32_t bgr = (source >> 16 & 0xFF) | (source & 0xFF00) | (source & 0xFF) << 16;
    const QByteArray dib = dibHeader(1, 1, 24) + u32s({bgr});
    return w.rec(Meta::SetWindowExt, {1, 1})
        .raw(Meta::DibBitBlt, u32s({rop}) + u16s({0, 0, 1, 1, 0, 0}) + dib);
}

// A WMF Region object; each scan is {top, bottom, left, right, left, right...}.
QByteArray wmfRegion(std::initializer_list<std::initializer_list<int>> scans) {
    QByteArray b = u16s({0, 6, 0, 0, 0, int(scans.size()), 0, 0, 0, 0, 0});
    for (const std::initializer_list<int>& scan : scans) {
        const QByteArray count = u16s({int(scan.size()) - 2});
        b += count;
        for (int v : scan) b += u16s({v});
        b += count;
    }
    return b;
}

// An EMF RegionData of one rectangle (left, top, right, bottom), claiming `count` of them.
QByteArray emfRegion(int l, int t, int r, int b, int count = 1) {
    return u32s({32, 1, count, 0, 0, 0, 0, 0, l, t, r, b});
}

// A WMF whose first record is a comment carrying `emf`, then a blue page of its own.
QByteArray wmfCarrying(const QByteArray& emf) {
    const int64_t size = emf.size();
    const QByteArray comment = u16s({0x000F, int(34 + size)}) + u32s({0x43464D57, 1, 0x10000}) +
                               u16s({0}) + u32s({0, 1, size, 0, size}) + emf;
    return wmfBrush(Wmf().raw(Meta::Escape, comment), kBlue).rec(Meta::Rectangle, {100, 100, 0, 0});
}

// An EMR_POLYTEXTOUTA/W record's parameters: "WW" at each reference point. The first
// string's offset lies at 44.
QByteArray polyText(bool wide, std::initializer_list<QPoint> refs) {
    QByteArray b = u32s({0, 0, 100, 100, 1, 0, 0, int64_t(refs.size())}), strings;
    for (const QPoint& p : refs) {
        const int64_t at = 8 + 32 + 40 * int64_t(refs.size()) + strings.size();
        b += u32s({p.x(), p.y(), 2, at, 0, 0, 0, 0, 0, 0});  // rectangle, no advances
        strings += wide ? QByteArray("W\0W\0", 4) : QByteArray("WW");
    }
    return b + strings;
}

// A file and what it paints: a letter gives the colour of the points after it (r red, g green,
// b blue, c cyan, m magenta, k black, w white), or says that the 35 x 25 boxes from the points
// hold text (i: some dark pixels) or nothing dark at all (o).
struct PixelCase {
    const char* name;
    QByteArray bytes;
    const char* expected;
};

void expectPixels(std::initializer_list<PixelCase> cases) {
    const QHash<QChar, QColor> colours = {{'r', Qt::red},  {'g', Qt::green},   {'b', Qt::blue},
                                          {'c', Qt::cyan}, {'m', Qt::magenta}, {'k', Qt::black},
                                          {'w', Qt::white}};
    for (const PixelCase& c : cases) {
        const QImage image = render(c.bytes);
        QChar letter;
        for (const QString& item : QString::fromLatin1(c.expected).split(' ')) {
            const QStringList xy = item.split(',');
            if (xy.size() == 1) {
                letter = item[0];
                continue;
            }
            const QPoint at(xy[0].toInt(), xy[1].toInt());
            if (letter != 'i' && letter != 'o') {
                EXPECT_EQ(image.pixelColor(at), colours.value(letter))
                    << c.name << " at " << item.toStdString();
                continue;
            }
            int dark = 0;
            for (int y = at.y(); y < at.y() + 25; ++y)
                for (int x = at.x(); x < at.x() + 35; ++x) dark += qGray(image.pixel(x, y)) < 128;
            EXPECT_TRUE(letter == 'i' ? dark > 20 : dark == 0)
                << c.name << " at " << item.toStdString() << ": " << dark << " dark pixels";
        }
    }
}

}  // namespace

TEST(MetafileTest, FormatByContentAndNaturalSizeInTwipsFromWhatTheFileRecords) {
    const Wmf plain(0, 0, 0, true);
    const QByteArray plainWindow = Wmf(plain).rec(Meta::SetWindowExt, {50, 100}),
                     plainDrawing = Wmf(plain).rec(Meta::Rectangle, {30, 40, 10, 20});
    const struct {
        const char* name;
        QByteArray bytes;
        Format format;
        QSizeF twips;  // none: the file is refused
    } cases[] = {
        {"placeable: bbox over units per inch", Wmf(2880, 1440, 1440), Format::Wmf, {2880, 1440}},
        {"placeable at 576 per inch", Wmf(576, 288, 576), Format::Wmf, {1440, 720}},
        {"emf frame in 0.01 mm", Emf(127), Format::Emf, {7200, 7200}},
        {"plain: window in pixels", plainWindow, Format::Wmf, {1500, 750}},
        {"plain: what it draws", plainDrawing, Format::Wmf, {300, 300}},
        {"placeable with an empty bounding box", Wmf(0, 0, 1440), Format::Wmf, {}},
        {"plain with nothing drawn", plain, Format::Wmf, {}},
        {"png", QByteArray("\x89PNG\r\n\x1A\n", 8), Format::Unknown, {}},
        {"empty", QByteArray(), Format::Unknown, {}},
        {"three bytes", QByteArray("\xD7\xCD\xC6", 3), Format::Unknown, {}},
        {"emf type without signature", Emf().bytes().replace(40, 4, "XXXX"), Format::Unknown, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(metafile::sniff(c.bytes), c.format) << c.name;
        const Metafile m = Metafile::fromData(c.bytes);
        ASSERT_EQ(m.isNull(), c.twips.isEmpty()) << c.name;
        if (m.isNull()) continue;
        EXPECT_NEAR(m.sizeTwips().width(), c.twips.width(), 16) << c.name;
        EXPECT_NEAR(m.sizeTwips().height(), c.twips.height(), 16) << c.name;
    }
}

TEST(MetafileTest, MappingObjectsAndRasterOperationsPaintWhereTheFileSays) {
    Wmf objects;
    objects.rec(Meta::CreatePenIndirect, {5, 0, 0, 0, 0});  // slot 0: a null pen
    objects.rec(Meta::CreatePalette, {0x300, 0});           // slot 1: never drawn, still a slot
    objects = wmfBrush(objects, kRed, 2).rec(Meta::SelectObject, {0}).rec(Meta::SelectObject, {99});
    objects.rec(Meta::Rectangle, {50, 50, 0, 0}).rec(Meta::DeleteObject, {0});
    objects = wmfBrush(objects, kBlue, 0).rec(Meta::Rectangle, {100, 100, 50, 50});  // freed slot
    objects.rec(Meta::DeleteObject, {2}).rec(Meta::SelectObject, {2});  // deleted: no change
    objects.rec(Meta::Rectangle, {100, 50, 50, 0});
    const QByteArray emf = emfBrush(Emf()).rec(Emr::Rectangle, {0, 0, 100, 100});
    QByteArray brokenEmf = emf;
    brokenEmf[40] = 'X';
    expectPixels({
        {"emf pixels", emfBrush(Emf()).rec(Emr::Rectangle, {10, 10, 50, 50}), "r 30,30 w 70,70"},
        {"emf anisotropic 10:1",
         emfBrush(emfAnisotropic(1000, 100)).rec(Emr::Rectangle, {0, 0, 500, 500}),
         "r 25,25 w 75,75"},
        {"emf zero window extent is refused",
         emfBrush(emfAnisotropic(0)).rec(Emr::Rectangle, {0, 0, 50, 50}), "r 25,25 w 75,75"},
        {"emf world transform doubles",
         emfBrush(Emf().rec(Emr::SetWorldTransform, {0x40000000, 0, 0, 0x40000000, 0, 0}))
             .rec(Emr::Rectangle, {0, 0, 25, 25}),
         "r 40,40 w 75,75"},
        {"emf himetric flips y",
         emfBrush(Emf().rec(Emr::SetMapMode, {3})).rec(Emr::Rectangle, {0, -5000, 5000, -10000}),
         "r 25,75 w 25,25"},
        {"wmf window twice the box",
         wmfBrush(Wmf().rec(Meta::SetWindowExt, {200, 200}), kRed)
             .rec(Meta::Rectangle, {100, 100, 0, 0}),
         "r 25,25 w 75,75"},
        {"wmf polygon", wmfBrush(Wmf(), kRed).rec(Meta::Polygon, {3, 0, 0, 100, 0, 0, 100}),
         "r 20,20 w 80,80"},
        {"wmf object table", objects, "r 25,25 b 75,75 25,75"},
        {"wmf carrying an emf plays the emf", wmfCarrying(emf), "r 50,50"},
        {"wmf carrying a broken emf plays its own records", wmfCarrying(brokenEmf), "b 50,50"},
        {"SRCCOPY", ropFile(0x00CC0020, kGreen, kRed), "r 50,50"},
        {"SRCAND", ropFile(0x008800C6, kCyan, kYellow), "g 50,50"},
        {"SRCPAINT", ropFile(0x00EE0086, kBlue, kRed), "m 50,50"},
        {"SRCINVERT", ropFile(0x00660046, kYellow, kRed), "g 50,50"},
        {"DSTINVERT", ropFile(0x00550009, kRed), "c 50,50"},
        {"PATCOPY", ropFile(0x00F00021, kRed, kBlue), "b 50,50"},
        {"NOP", ropFile(0x00AA0029, kRed, kBlue), "r 50,50"},
    });
}

TEST(MetafileTest, RegionsAndBitmapsPaintWhereTheFileSays) {
    // Slot 0 a red brush, slot 1 a region of two scans, the first with three spans, two abutting.
    const auto wmf = [](std::initializer_list<std::initializer_list<int>> scans = {
                            {10, 30, 10, 30, 60, 70, 70, 80}, {30, 50, 10, 30}}) {
        Wmf w;
        w.rec(Meta::CreateBrushIndirect, {0, int(kRed), 0, 0});
        return w.raw(Meta::CreateRegion, wmfRegion(scans));
    };
    const auto clipThenFill = [](Wmf w) {  // clipping, then red everywhere
        return w.rec(Meta::SelectObject, {0}).rec(Meta::Rectangle, {100, 100, 0, 0});
    };
    const QByteArray broken = wmfRegion({{0, 10, 0, 10}, {10, 20, 0, 10}}).chopped(6);
    // A 2 x 2 24-bit DIB, rows stored bottom first: red, blue; green, black.
    const QByteArray dib =
        dibHeader(2, 2, 24) + QByteArray("\0\0\xFF\xFF\0\0\0\0\0\xFF\0\0\0\0\0\0", 16);
    const auto setDibToDev = [&](std::initializer_list<int> words) {
        return Wmf().rec(Meta::SetWindowExt, {10, 10}).raw(Meta::SetDibToDev, u16s(words) + dib);
    };
    // Red, white; white is the colour left out over a blue page.
    const QByteArray transparentBlt =
        u32s({0, 0, 100, 100, 0, 0, 100, 100, 0xFFFFFF, 0, 0}) +
        u32s({0x3F800000, 0, 0, 0x3F800000, 0, 0, 0, 0, 108, 40, 148, 8, 2, 1}) +
        dibHeader(2, 1, 24) + QByteArray("\0\0\xFF\xFF\xFF\xFF\0\0", 8);
    // An EMF region record with brush 1 red and selected; `brush` gives its index in the record.
    const auto emfRgn = [](Emr type, const QByteArray& rest, bool brush = true, Emf e = Emf()) {
        return emfBrush(e).raw(type, u32s({0, 0, 100, 100, 48}) + u32s({1}).left(4 * brush) + rest);
    };
    expectPixels({
        {"wmf fill region", wmf().rec(Meta::FillRegion, {1, 0}),
         "r 20,20 65,20 75,20 20,40 w 45,20 70,40"},
        {"wmf scans out of order still count",
         wmf({{30, 50, 10, 30}, {10, 30, 10, 30}}).rec(Meta::FillRegion, {1, 0}),
         "r 20,20 20,40 w 40,40"},
        {"wmf region is in logical units",
         wmf({{0, 100, 0, 100}}).rec(Meta::SetWindowExt, {200, 200}).rec(Meta::FillRegion, {1, 0}),
         "r 25,25 w 75,75"},
        {"wmf paint region with the selected brush",
         wmf().rec(Meta::SelectObject, {0}).rec(Meta::PaintRegion, {1}), "r 20,20 w 70,40"},
        {"wmf frame region: height, then width",
         wmf({{10, 90, 10, 90}}).rec(Meta::FrameRegion, {1, 0, 4, 6}),
         "r 15,50 87,50 50,13 50,88 w 17,50 50,15 50,50"},
        {"wmf invert region", wmf().rec(Meta::InvertRegion, {1}), "k 20,20 w 45,20"},
        {"wmf clip region", clipThenFill(wmf().rec(Meta::SelectClipRegion, {1})),
         "r 20,20 70,20 w 45,20 70,40"},
        {"wmf selecting a region clips", clipThenFill(wmf().rec(Meta::SelectObject, {1})),
         "r 20,20 w 45,20"},
        {"wmf offset clip region",
         clipThenFill(wmf().rec(Meta::SelectClipRegion, {1}).rec(Meta::OffsetClipRgn, {50, 0})),
         "r 20,70 w 20,20 45,70"},
        {"wmf offset of no clip moves nothing",
         clipThenFill(wmf().rec(Meta::OffsetClipRgn, {50, 50})), "r 10,10 90,90"},
        {"wmf clip of no region clears it",
         clipThenFill(wmf().rec(Meta::SelectClipRegion, {1}).rec(Meta::SelectClipRegion, {0})),
         "r 45,20"},
        {"wmf broken region is no region",
         clipThenFill(wmf()
                          .raw(Meta::CreateRegion, broken)
                          .rec(Meta::SelectClipRegion, {1})
                          .rec(Meta::SelectClipRegion, {2})),
         "r 50,50"},
        {"wmf setdibtodev", setDibToDev({0, 2, 0, 0, 0, 2, 2, 4, 4}),
         "g 41,41 k 58,41 w 35,50 65,50"},
        {"wmf setdibtodev counts source rows from the bottom",
         setDibToDev({0, 2, 0, 0, 1, 1, 1, 4, 4}), "b 45,45 w 55,55"},
        {"emf fill region", emfRgn(Emr::FillRgn, emfRegion(10, 10, 40, 40)), "r 30,30 w 60,30"},
        {"emf paint region", emfRgn(Emr::PaintRgn, emfRegion(10, 10, 40, 40), false),
         "r 30,30 w 60,30"},
        {"emf invert region", emfRgn(Emr::InvertRgn, emfRegion(10, 10, 40, 40), false),
         "k 30,30 w 60,30"},
        {"emf frame region in logical widths",
         emfRgn(Emr::FrameRgn, u32s({2, 3}) + emfRegion(10, 10, 80, 80), true,
                emfAnisotropic(50, 100)),
         "r 13,50 50,15 w 16,50 50,18"},
        {"emf clip region offset",
         emfBrush(Emf().raw(Emr::ExtSelectClipRgn, u32s({48, 5}) + emfRegion(0, 0, 40, 40)))
             .rec(Emr::OffsetClipRgn, {50, 0})
             .rec(Emr::Rectangle, {0, 0, 100, 100}),
         "r 70,20 w 20,20 70,60"},
        {"emf region count beyond its data",
         emfRgn(Emr::FillRgn, u32s({0x80000004}) + emfRegion(0, 0, 100, 100, 1000), false,
                emfMarker(Emf())),
         "r 50,50"},
        {"emf transparentblt leaves its key colour out",
         emfMarker(Emf(), kBlue, 0, 100).raw(Emr::TransparentBlt, transparentBlt),
         "r 25,50 b 75,50"},
    });
}

TEST(MetafileTest, HostileRecordsAreSkippedOrEndPlayback) {
    const QByteArray stretch = u32s({0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 80, 40, 120, 4, 0, 0xCC0020});
    // Bit masks with holes and all 32 bits.
    const QByteArray masks =
        dibHeader(1, 1, 32, 3) + u32s({0x80000001, 0xFFFFFFFF, 0xFF00F0, 0x12345678});
    // An 8 x 2 RLE8 picture whose run overshoots its line.
    const QByteArray rle = dibHeader(8, 2, 8, 1) + QByteArray("\0\0\xFF\0\xFF\x01\xFF\0\0\x01", 10);
    // The first record's size replaced: it lies at 92 in an EMF, 40 in a placeable WMF.
    const auto firstSize = [](QByteArray b, int at, int64_t size) {
        return b.replace(at, 4, u32s({size}));
    };
    const char *drawn = "r 50,50", *ended = "w 50,50";
    expectPixels({
        {"emf records below their minimum size", emfMarker(Emf().raw(Emr::MoveToEx, {}).rec(0, {})),
         drawn},
        {"emf size 0 ends playback", firstSize(emfMarker(Emf()), 92, 0), ended},
        {"emf size past the end", firstSize(emfMarker(Emf()), 92, 0x7F000000), ended},
        {"emf polygon count beyond its record",
         emfMarker(Emf().rec(Emr::Polygon, {0, 0, 0, 0, 1000000000, 1, 1})), drawn},
        {"emf font turned by the lowest escapement",
         emfMarker(emfFont(INT32_MIN).raw(Emr::PolyTextOutW, polyText(true, {{10, 10}}))), drawn},
        {"emf restore beyond the stack",
         emfMarker(Emf().rec(Emr::RestoreDc, {-100}).rec(Emr::RestoreDc, {5})), drawn},
        {"emf object index out of range",
         emfMarker(Emf().rec(Emr::SelectObject, {70000}).rec(Emr::DeleteObject, {-1})), drawn},
        {"emf dib that overflows",
         emfMarker(Emf().raw(Emr::StretchDiBits,
                             stretch + u32s({10, 10}) + dibHeader(65535, 65535, 24) + u32s({0}))),
         drawn},
        {"emf bit masks with holes and all 32 bits",
         emfMarker(Emf().raw(
             Emr::StretchDiBits,
             QByteArray(stretch).replace(44, 8, u32s({52, 132})) + u32s({10, 10}) + masks)),
         drawn},
        {"emf text longer than its record",
         emfMarker(Emf().raw(Emr::ExtTextOutW,
                             u32s({0, 0, 0, 0, 1, 0, 0, 10, 10, 1000000, 76}) + QByteArray(24, 0))),
         drawn},
        {"wmf record of size 0 ends playback", firstSize(wmfMarker(Wmf()), 40, 0), ended},
        {"wmf polygon count beyond its record", wmfMarker(Wmf().rec(Meta::Polygon, {30000, 1, 1})),
         drawn},
        {"wmf rle runs past the line",
         wmfMarker(Wmf().raw(Meta::DibBitBlt, u32s({0x00CC0020}) + u16s({0, 0, 2, 8, 0, 0}) + rle)),
         drawn},
    });
}

TEST(MetafileTest, PolyTextOutDrawsEveryString) {
    const QByteArray both = polyText(true, {{10, 10}, {55, 60}});
    expectPixels({
        {"wide", emfFont().raw(Emr::PolyTextOutW, both), "i 10,10 55,60 o 55,10"},
        {"ansi", emfFont().raw(Emr::PolyTextOutA, polyText(false, {{10, 10}, {55, 60}})),
         "i 10,10 55,60 o 55,10"},
        {"a string past its record is left out",
         emfFont().raw(Emr::PolyTextOutW, QByteArray(both).replace(44, 4, u32s({5000}))),
         "i 55,60 o 10,10 55,10"},
        {"more strings than the record holds",
         emfFont().raw(Emr::PolyTextOutW, QByteArray(both).replace(28, 4, u32s({3}))),
         "o 10,10 55,60 55,10"},
        {"turned a quarter counter-clockwise",
         emfFont(900).raw(Emr::PolyTextOutW, polyText(true, {{40, 60}})), "i 40,30 o 40,62 5,62"},
    });
}

TEST(MetafileTest, TextDecodesByTheFontCharacterSet) {
    QStringEncoder gbk("GB18030");
    const QByteArray face = gbk.encode(QStringLiteral("宋体")),
                     chinese = gbk.encode(QStringLiteral("中文"));
    const QByteArray font = u16s({-20, 0, 0, 0, 400}) + QByteArray("\0\0\0\x86\0\0\0\0", 8) + face +
                            QByteArray(32 - face.size(), '\0');
    // One advance per byte.
    const QByteArray text = u16s({30, 10, int(chinese.size()), 0}) + chinese + u16s({20, 0, 20, 0});
    Wmf w;
    w.raw(Meta::CreateFontIndirect, font).rec(Meta::SelectObject, {0}).raw(Meta::ExtTextOut, text);
    QList<metafile::TextRun> runs;
    render(w, {100, 100}, &runs);
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0].text, QStringLiteral("中文"));
    EXPECT_EQ(runs[0].logical, QPointF(10, 30));
    expectPixels({{"drawn below and right of the reference point", w, "i 10,30"}});
}
