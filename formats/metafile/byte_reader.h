#pragma once

#include <QByteArrayView>
#include <QPointF>
#include <QRectF>

#include <cstdint>
#include <cstring>

namespace metafile {

// Little-endian reads that never leave their window of bytes. A read past the end yields zero
// and marks the reader failed, so a parser can read a whole record and check once.
class ByteReader {
  public:
    ByteReader() = default;
    explicit ByteReader(QByteArrayView bytes) : data_(bytes) {}

    qsizetype size() const { return data_.size(); }
    qsizetype pos() const { return pos_; }
    qsizetype remaining() const { return data_.size() - pos_; }
    bool ok() const { return ok_; }
    bool has(qsizetype n) const { return n >= 0 && n <= remaining(); }
    void seek(qsizetype p) {
        if (p < 0 || p > data_.size()) {
            ok_ = false;
            pos_ = data_.size();
        } else {
            pos_ = p;
        }
    }
    void skip(qsizetype n) { seek(pos_ + n); }

    uint8_t u8() { return static_cast<uint8_t>(raw<1>()); }
    uint16_t u16() { return static_cast<uint16_t>(raw<2>()); }
    uint32_t u32() { return static_cast<uint32_t>(raw<4>()); }
    int16_t i16() { return static_cast<int16_t>(u16()); }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    float f32() {
        const uint32_t v = u32();
        float f;
        std::memcpy(&f, &v, sizeof f);
        return f;
    }
    QPointF point16() {
        const double x = i16();
        return {x, double(i16())};
    }
    QPointF point32() {
        const double x = i32();
        return {x, double(i32())};
    }
    // A RECTL (left, top, right, bottom) as a rectangle of corners.
    QRectF rect32() {
        const double l = i32(), t = i32(), r = i32();
        return QRectF(QPointF(l, t), QPointF(r, i32()));
    }

    // The bytes [offset, offset + length) of the whole window, or empty when they are not all
    // there.
    QByteArrayView slice(qsizetype offset, qsizetype length) const {
        if (offset < 0 || length < 0 || offset > data_.size() || length > data_.size() - offset)
            return {};
        return data_.sliced(offset, length);
    }
    QByteArrayView data() const { return data_; }

  private:
    template <int N>
    uint32_t raw() {
        if (remaining() < N) {
            ok_ = false;
            pos_ = data_.size();
            return 0;
        }
        uint32_t v = 0;
        for (int i = 0; i < N; ++i) v |= uint32_t(uint8_t(data_[pos_ + i])) << (8 * i);
        pos_ += N;
        return v;
    }

    QByteArrayView data_;
    qsizetype pos_ = 0;
    bool ok_ = true;
};

}  // namespace metafile
