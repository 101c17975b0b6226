#pragma once

// Builds small WMF and EMF files record by record for tests.

#include <QByteArray>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <initializer_list>

#include "metafile/metafile.h"
#include "metafile/record_types.h"

namespace testing_metafile {

// Little-endian words and double words.
inline QByteArray u16s(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values) b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
    return b;
}
inline QByteArray u32s(std::initializer_list<int64_t> values) {
    QByteArray b;
    for (int64_t v : values) b += u16s({int(v & 0xFFFF), int((v >> 16) & 0xFFFF)});
    return b;
}

// A WMF: placeable header (bounding box 0,0 .. w,h, `inch` units per inch) unless `plain`.
// Record functions go by name; a bare number writes a function no name stands for.
class Wmf {
  public:
    Wmf(int w = 100, int h = 100, int inch = 1440, bool plain = false, int objects = 8)
        : w_(w), h_(h), inch_(inch), plain_(plain), objects_(objects) {}
    // Parameters as 16-bit words, in the order the file stores them.
    Wmf& rec(int function, std::initializer_list<int> words) { return raw(function, u16s(words)); }
    Wmf& rec(metafile::WmfRecord f, std::initializer_list<int> words) { return rec(int(f), words); }
    Wmf& raw(metafile::WmfRecord f, const QByteArray& params) { return raw(int(f), params); }
    Wmf& raw(int function, const QByteArray& params) {
        records_ += u32s({3 + (params.size() + 1) / 2}) + u16s({function}) + params;
        if (params.size() % 2) records_.append('\0');
        return *this;
    }
    QByteArray bytes() const {
        QByteArray b;
        if (!plain_) b = u32s({0x9AC6CDD7}) + u16s({0, 0, 0, w_, h_, inch_, 0, 0, 0});
        b += u16s({1, 9, 0x300}) + u32s({9 + records_.size() / 2 + 3}) + u16s({objects_, 0, 0, 0});
        return b + records_ + u16s({3, 0, 0});
    }
    operator QByteArray() const { return bytes(); }

  private:
    int w_, h_, inch_;
    bool plain_;
    int objects_;
    QByteArray records_;
};

// An EMF whose frame is `mm` millimetres square on a device of one pixel per millimetre.
class Emf {
  public:
    explicit Emf(int mm = 100, int handles = 8) : mm_(mm), handles_(handles) {}
    Emf& rec(metafile::EmfRecord t, std::initializer_list<int64_t> p) { return raw(t, u32s(p)); }
    Emf& rec(int t, std::initializer_list<int64_t> p) { return rec(metafile::EmfRecord(t), p); }
    Emf& raw(metafile::EmfRecord type, const QByteArray& params) {
        records_ += u32s({int64_t(type), 8 + params.size()}) + params;
        ++count_;
        return *this;
    }
    QByteArray bytes() const {
        return u32s({1, 88, 0, 0, mm_ - 1, mm_ - 1, 0, 0, mm_ * 100, mm_ * 100})  // bounds, frame
               + u32s({0x464D4520, 0x10000, 88 + records_.size() + 20, count_ + 2}) +
               u16s({handles_, 0}) + u32s({0, 0, 0, mm_, mm_, mm_, mm_}) + records_ +
               u32s({14, 20, 0, 0, 20});
    }
    operator QByteArray() const { return bytes(); }

  private:
    int mm_, handles_;
    int count_ = 0;
    QByteArray records_;
};

// Plays a metafile onto a white picture of the given size.
inline QImage render(const QByteArray& bytes, QSize size = {100, 100},
                     QList<metafile::TextRun>* texts = nullptr) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const metafile::Metafile m = metafile::Metafile::fromData(bytes);
    QPainter p(&image);
    m.play(p, QRectF(QPointF(0, 0), QSizeF(size)), texts);
    return image;
}

}  // namespace testing_metafile
