#pragma once

// Builds small WMF and EMF files record by record for tests.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <initializer_list>

#include "metafile/metafile.h"

namespace testing_metafile {

inline void put16(QByteArray& b, int v) {
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}
inline void put32(QByteArray& b, int64_t v) {
    put16(b, int(v & 0xFFFF));
    put16(b, int((v >> 16) & 0xFFFF));
}
inline uint32_t rgb(int r, int g, int b) {
    return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
}

// A WMF: placeable header (bounding box 0,0 .. w,h, `inch` units per inch) unless `plain`.
class Wmf {
  public:
    Wmf(int w = 100, int h = 100, int inch = 1440, bool plain = false, int objects = 8)
        : w_(w), h_(h), inch_(inch), plain_(plain), objects_(objects) {}
    // Parameters as 16-bit words, in the order the file stores them.
    Wmf& rec(int function, std::initializer_list<int> words) {
        put32(records_, int64_t(3 + words.size()));
        put16(records_, function);
        for (int w : words) put16(records_, w);
        return *this;
    }
    Wmf& raw(int function, const QByteArray& params) {
        put32(records_, 3 + (params.size() + 1) / 2);
        put16(records_, function);
        records_.append(params);
        if (params.size() % 2) records_.append('\0');
        return *this;
    }
    Wmf& rawRecord(const QByteArray& bytes) {
        records_.append(bytes);
        return *this;
    }
    QByteArray bytes() const {
        QByteArray b;
        if (!plain_) {
            put32(b, 0x9AC6CDD7);
            put16(b, 0);
            for (int v : {0, 0, w_, h_}) put16(b, v);
            put16(b, inch_);
            put32(b, 0);
            put16(b, 0);
        }
        for (int v : {1, 9, 0x300}) put16(b, v);
        put32(b, 9 + records_.size() / 2 + 3);
        put16(b, objects_);
        put32(b, 0);
        put16(b, 0);
        b.append(records_);
        put32(b, 3);
        put16(b, 0);
        return b;
    }

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
    Emf& rec(uint32_t type, std::initializer_list<int64_t> params) {
        put32(records_, type);
        put32(records_, int64_t(8 + 4 * params.size()));
        for (int64_t p : params) put32(records_, p);
        ++count_;
        return *this;
    }
    Emf& raw(uint32_t type, const QByteArray& params) {
        put32(records_, type);
        put32(records_, 8 + params.size());
        records_.append(params);
        ++count_;
        return *this;
    }
    QByteArray bytes() const {
        QByteArray b;
        put32(b, 1);
        put32(b, 88);
        for (int v : {0, 0, mm_ - 1, mm_ - 1}) put32(b, v);      // bounds, device pixels
        for (int v : {0, 0, mm_ * 100, mm_ * 100}) put32(b, v);  // frame, 0.01 mm
        put32(b, 0x464D4520);
        put32(b, 0x10000);
        put32(b, 88 + records_.size() + 20);
        put32(b, count_ + 2);
        put16(b, handles_);
        put16(b, 0);
        for (int v : {0, 0, 0, mm_, mm_, mm_, mm_}) put32(b, v);
        b.append(records_);
        for (int v : {14, 20, 0, 0, 20}) put32(b, v);
        return b;
    }

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
