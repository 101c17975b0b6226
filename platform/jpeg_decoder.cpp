#include "jpeg_decoder.h"

#include <QSysInfo>

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace platform {
namespace {

// About what a 170-megapixel progressive photo needs, its coefficients being held whole until
// the last scan; a file that would need more is refused.
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;
// Camera and web encoders write about ten scans; thousands of tiny ones are an attack on time.
constexpr int kMaxScans = 500;
// Rows handed to the decoder per call; it returns as many as one row of blocks gives.
constexpr int kRowsPerCall = 16;

// libjpeg reports fatal errors by calling error_exit, which must not return: it jumps back to
// the decode's start. Everything it jumps over is libjpeg's C frames and plain data.
struct Decoder {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump{};
    const std::atomic<bool>* stop = nullptr;
    bool stopped = false;
    bool unsupported = false;
    bool tooLarge = false;  // refused for the working memory it would need
    char message[JMSG_LENGTH_MAX] = {};
    QImage image;
};

Decoder& decoderOf(j_common_ptr info) {
    return *static_cast<Decoder*>(info->client_data);
}

[[noreturn]] void leaveOnError(j_common_ptr info) {
    Decoder& d = decoderOf(info);
    (*info->err->format_message)(info, d.message);
    // Past the memory cap the decoder asks for a backing store on disk, which it has not.
    d.tooLarge =
        info->err->msg_code == JERR_NO_BACKING_STORE || info->err->msg_code == JERR_OUT_OF_MEMORY;
    std::longjmp(d.jump, 1);
}

// Warnings about damaged data are not shown: the picture is shown as far as it could be read.
void ignoreMessage(j_common_ptr) {}

// Called by the decoder at least once per row of blocks, in every pass.
void checkProgress(j_common_ptr info) {
    Decoder& d = decoderOf(info);
    if (d.stop && d.stop->load(std::memory_order_relaxed)) {
        d.stopped = true;
        std::longjmp(d.jump, 1);
    }
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
        std::snprintf(d.message, sizeof d.message, "more than %d scans", kMaxScans);
        std::longjmp(d.jump, 1);
    }
}

constexpr J_COLOR_SPACE kRgb32Order =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// Decodes into d.image at the DCT scale that just covers `size`. Only plain data and d live
// beyond this frame, so a jump out of the decoder skips no destructor; true when every row was
// decoded.
bool run(Decoder& d, const QByteArray& bytes, QSize size) {
    if (setjmp(d.jump)) return false;
    jpeg_create_decompress(&d.info);
    d.info.mem->max_memory_to_use = kMaxDecoderMemory;
    d.info.progress = &d.progress;
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d.info, TRUE);
    if (d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK) {
        d.unsupported = true;
        return false;
    }
    d.info.out_color_space = kRgb32Order;
    d.info.scale_num = 1;
    d.info.scale_denom = static_cast<unsigned>(
        jpegScaleDenominator(QSize(int(d.info.image_width), int(d.info.image_height)), size));
    jpeg_start_decompress(&d.info);
    const QSize out(int(d.info.output_width), int(d.info.output_height));
    d.image = QImage(out, QImage::Format_RGB32);
    QImage& image = d.image;
    if (image.isNull()) {
        std::snprintf(d.message, sizeof d.message, "no memory for %u x %u pixels",
                      d.info.output_width, d.info.output_height);
        return false;
    }
    JSAMPROW rows[kRowsPerCall];
    while (d.info.output_scanline < d.info.output_height) {
        const int first = int(d.info.output_scanline);
        const int count = std::min(kRowsPerCall, image.height() - first);
        for (int i = 0; i < count; ++i) rows[i] = image.scanLine(first + i);
        jpeg_read_scanlines(&d.info, rows, JDIMENSION(count));
    }
    // The rest of the file (markers after the last scan) is of no use; destroying skips it.
    return true;
}

}  // namespace

int jpegScaleDenominator(QSize stored, QSize wanted) {
    int denominator = 1;
    if (wanted.isEmpty()) return denominator;
    // The decoder's scaled size is the stored size divided and rounded up.
    const auto covers = [&](int d) {
        return (stored.width() + d - 1) / d >= wanted.width() &&
               (stored.height() + d - 1) / d >= wanted.height();
    };
    while (denominator < 8 && covers(denominator * 2)) denominator *= 2;
    return denominator;
}

JpegDecode decodeJpeg(const QByteArray& bytes, QSize size, const std::atomic<bool>* stop) {
    Decoder d;
    d.info.err = jpeg_std_error(&d.errors);
    d.errors.error_exit = leaveOnError;
    d.errors.output_message = ignoreMessage;
    d.progress.progress_monitor = checkProgress;
    d.stop = stop;
    d.info.client_data = &d;

    const bool decoded = run(d, bytes, size);
    jpeg_destroy_decompress(&d.info);
    if (d.stopped) return {JpegDecode::Outcome::Stopped, {}, {}};
    if (d.unsupported) return {JpegDecode::Outcome::Unsupported, {}, {}};
    if (d.tooLarge) return {JpegDecode::Outcome::TooLarge, {}, {}};
    if (!decoded) return {JpegDecode::Outcome::Failed, {}, QString::fromLatin1(d.message)};
    if (d.image.size() == size || size.isEmpty())
        return {JpegDecode::Outcome::Decoded, std::move(d.image), {}};
    return {JpegDecode::Outcome::Decoded,
            d.image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
            {}};
}

}  // namespace platform
