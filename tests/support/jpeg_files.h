#pragma once

// JPEGs written with libjpeg itself, for what Qt 6.4 cannot write.

#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace testjpeg {

// A JPEG written with libjpeg itself, for what Qt 6.4 cannot write: `fill` gives each row's
// samples (1 per pixel for grayscale, 4 for CMYK); `scans` is a progressive script, or empty.
inline QByteArray libjpegWritten(int w, int h, J_COLOR_SPACE space,
                                 const std::vector<jpeg_scan_info>& scans,
                                 const std::function<void(int y, unsigned char* row)>& fill) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = JDIMENSION(w);
    info.image_height = JDIMENSION(h);
    info.input_components = space == JCS_CMYK ? 4 : 1;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    if (!scans.empty()) {
        info.scan_info = scans.data();
        info.num_scans = int(scans.size());
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(size_t(w) * size_t(info.input_components));
    for (int y = 0; y < h; ++y) {
        fill(y, row.data());
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(outSize));
    std::free(out);
    return bytes;
}

// A valid progressive JPEG of 568 scans: each AC coefficient in a band of its own, sent in nine
// steps of precision. Encoders write about ten; this many only spends the reader's time.
inline QByteArray manyScans() {
    std::vector<jpeg_scan_info> scans{{1, {0}, 0, 0, 0, 0}};
    for (int k = 1; k <= 63; ++k) {
        scans.push_back({1, {0}, k, k, 0, 8});
        for (int bit = 8; bit >= 1; --bit) scans.push_back({1, {0}, k, k, bit, bit - 1});
    }
    return libjpegWritten(16, 16, JCS_GRAYSCALE, scans, [](int y, unsigned char* row) {
        for (int x = 0; x < 16; ++x) row[x] = uchar(x * 16 ^ y * 7);
    });
}

}  // namespace testjpeg
