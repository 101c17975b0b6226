#include "exif_thumbnail.h"

#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace platform {
namespace {

// A TIFF structure inside the APP1 segment; offsets count from its start.
class Tiff {
  public:
    Tiff(const char* data, qint64 size) : data_(data), size_(size) {}

    bool readHeader() {
        if (size_ < 8) return false;
        if (data_[0] == 'I' && data_[1] == 'I')
            little_ = true;
        else if (data_[0] != 'M' || data_[1] != 'M')
            return false;
        return u16(2) == 42;
    }
    std::optional<uint32_t> u32(qint64 at) const {
        if (at < 0 || at + 4 > size_) return std::nullopt;
        const auto b = [&](int i) { return uint32_t(uint8_t(data_[at + i])); };
        return little_ ? b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24
                       : b(3) | b(2) << 8 | b(1) << 16 | b(0) << 24;
    }
    std::optional<uint32_t> u16(qint64 at) const {
        if (at < 0 || at + 2 > size_) return std::nullopt;
        const auto b = [&](int i) { return uint32_t(uint8_t(data_[at + i])); };
        return little_ ? b(0) | b(1) << 8 : b(1) | b(0) << 8;
    }
    qint64 size() const { return size_; }

  private:
    const char* data_;
    qint64 size_;
    bool little_ = false;
};

// The offset of the directory after the one at `ifd`, or nullopt.
std::optional<uint32_t> nextDirectory(const Tiff& tiff, uint32_t ifd) {
    const auto count = tiff.u16(ifd);
    if (!count) return std::nullopt;
    return tiff.u32(qint64(ifd) + 2 + qint64(*count) * 12);
}

// The value of a LONG (or SHORT) tag in the directory at `ifd`.
std::optional<uint32_t> tagValue(const Tiff& tiff, uint32_t ifd, uint16_t tag) {
    const auto count = tiff.u16(ifd);
    if (!count) return std::nullopt;
    for (qint64 i = 0; i < *count; ++i) {
        const qint64 entry = qint64(ifd) + 2 + i * 12;
        if (tiff.u16(entry) != tag) continue;
        const auto type = tiff.u16(entry + 2);
        if (type == 4) return tiff.u32(entry + 8);  // LONG
        if (type == 3) return tiff.u16(entry + 8);  // SHORT
        return std::nullopt;
    }
    return std::nullopt;
}

QByteArray thumbnailIn(const char* exif, qint64 size) {
    Tiff tiff(exif, size);
    if (!tiff.readHeader()) return {};
    const auto ifd0 = tiff.u32(4);
    if (!ifd0) return {};
    const auto ifd1 = nextDirectory(tiff, *ifd0);
    if (!ifd1 || *ifd1 == 0 || *ifd1 == *ifd0) return {};
    const auto offset = tagValue(tiff, *ifd1, 0x0201);  // JPEGInterchangeFormat
    const auto length = tagValue(tiff, *ifd1, 0x0202);  // JPEGInterchangeFormatLength
    if (!offset || !length || *length < 4 || qint64(*offset) + *length > tiff.size()) return {};
    QByteArray jpeg(exif + *offset, qsizetype(*length));
    return jpeg.startsWith("\xFF\xD8") ? jpeg : QByteArray();
}

}  // namespace

QByteArray exifThumbnail(const QByteArray& jpeg) {
    if (!jpeg.startsWith("\xFF\xD8")) return {};
    const auto byte = [&](qint64 at) { return uint8_t(jpeg[qsizetype(at)]); };
    // The markers before the first scan; EXIF comes first or close to it.
    qint64 at = 2;
    while (at + 4 <= jpeg.size() && byte(at) == 0xFF) {
        const uint8_t marker = byte(at + 1);
        if (marker == 0xDA || marker == 0xD9) break;  // the image data, or its end
        const qint64 length = qint64(byte(at + 2)) << 8 | byte(at + 3);
        if (length < 2 || at + 2 + length > jpeg.size()) break;
        const char* data = jpeg.constData() + at + 4;
        if (marker == 0xE1 && length >= 8 &&
            QByteArrayView(data, 6) == QByteArrayView("Exif\0\0", 6))
            return thumbnailIn(data + 6, length - 8);
        at += 2 + length;
    }
    return {};
}

}  // namespace platform
