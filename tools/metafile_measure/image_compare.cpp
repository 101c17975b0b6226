#include "image_compare.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace measure {
namespace {

constexpr int kInkThreshold = 24;
constexpr int kTolerance = 2;

QImage onWhite(const QImage& image, const QList<QRect>& masked) {
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, image);
    for (const QRect& r : masked) p.fillRect(r, Qt::white);
    return out;
}

std::vector<uint8_t> inkOf(const QImage& im) {
    std::vector<uint8_t> ink(size_t(im.width()) * size_t(im.height()));
    for (int y = 0; y < im.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(im.constScanLine(y));
        for (int x = 0; x < im.width(); ++x) {
            const QRgb c = line[x];
            const int far = 255 - std::min({qRed(c), qGreen(c), qBlue(c)});
            ink[size_t(y) * size_t(im.width()) + size_t(x)] = far > kInkThreshold;
        }
    }
    return ink;
}

QRect boxOf(const std::vector<uint8_t>& ink, int w, int h) {
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (ink[size_t(y) * size_t(w) + size_t(x)]) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    return x1 < 0 ? QRect() : QRect(QPoint(x0, y0), QPoint(x1, y1));
}

std::vector<uint8_t> dilate(const std::vector<uint8_t>& ink, int w, int h, int r) {
    // Separable square dilation: rows, then columns.
    std::vector<uint8_t> rows(ink.size()), out(ink.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t v = 0;
            for (int d = std::max(0, x - r); d <= std::min(w - 1, x + r) && !v; ++d)
                v = ink[size_t(y) * size_t(w) + size_t(d)];
            rows[size_t(y) * size_t(w) + size_t(x)] = v;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t v = 0;
            for (int d = std::max(0, y - r); d <= std::min(h - 1, y + r) && !v; ++d)
                v = rows[size_t(d) * size_t(w) + size_t(x)];
            out[size_t(y) * size_t(w) + size_t(x)] = v;
        }
    return out;
}

double inkF1(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int w, int h) {
    double na = 0, nb = 0, ma = 0, mb = 0;
    const auto da = dilate(a, w, h, kTolerance), db = dilate(b, w, h, kTolerance);
    for (size_t i = 0; i < a.size(); ++i) {
        na += a[i], nb += b[i];
        ma += a[i] && db[i];
        mb += b[i] && da[i];
    }
    if (na == 0 && nb == 0) return 1;
    if (na == 0 || nb == 0) return 0;
    const double precision = ma / na, recall = mb / nb;
    return precision + recall == 0 ? 0 : 2 * precision * recall / (precision + recall);
}

using Plane = std::vector<double>;

Plane blur(const Plane& in, int w, int h) {
    static const std::vector<double> k = [] {
        std::vector<double> v;
        double sum = 0;
        for (int i = -5; i <= 5; ++i) sum += v.emplace_back(std::exp(-i * i / (2 * 1.5 * 1.5)));
        for (double& x : v) x /= sum;
        return v;
    }();
    auto reflect = [](int i, int n) {
        while (i < 0 || i >= n) i = i < 0 ? -i : 2 * (n - 1) - i;
        return i;
    };
    Plane tmp(in.size()), out(in.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double s = 0;
            for (int i = -5; i <= 5; ++i)
                s += k[size_t(i + 5)] * in[size_t(reflect(y + i, h) * w + x)];
            tmp[size_t(y * w + x)] = s;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double s = 0;
            for (int i = -5; i <= 5; ++i)
                s += k[size_t(i + 5)] * tmp[size_t(y * w + reflect(x + i, w))];
            out[size_t(y * w + x)] = s;
        }
    return out;
}

double ssim(const QImage& a, const QImage& b, QRect box) {
    // Tiny boxes are padded with white to the window's reach, as the reference tool does.
    const int w = std::max(box.width(), 6), h = std::max(box.height(), 6);
    Plane x(size_t(w * h), 255.0), y(size_t(w * h), 255.0);
    auto lum = [](QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); };
    for (int j = 0; j < box.height(); ++j)
        for (int i = 0; i < box.width(); ++i) {
            x[size_t(j * w + i)] = lum(a.pixel(box.left() + i, box.top() + j));
            y[size_t(j * w + i)] = lum(b.pixel(box.left() + i, box.top() + j));
        }
    Plane xx(x.size()), yy(x.size()), xy(x.size());
    for (size_t i = 0; i < x.size(); ++i)
        xx[i] = x[i] * x[i], yy[i] = y[i] * y[i], xy[i] = x[i] * y[i];
    const Plane mx = blur(x, w, h), my = blur(y, w, h), sxx = blur(xx, w, h), syy = blur(yy, w, h),
                sxy = blur(xy, w, h);
    const double c1 = std::pow(0.01 * 255, 2), c2 = std::pow(0.03 * 255, 2);
    double sum = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        const double vx = sxx[i] - mx[i] * mx[i], vy = syy[i] - my[i] * my[i],
                     cxy = sxy[i] - mx[i] * my[i];
        sum += ((2 * mx[i] * my[i] + c1) * (2 * cxy + c2)) /
               ((mx[i] * mx[i] + my[i] * my[i] + c1) * (vx + vy + c2));
    }
    return sum / double(x.size());
}

}  // namespace

Agreement compareImages(const QImage& oursIn, const QImage& referenceIn,
                        const QList<QRect>& masked) {
    Agreement r;
    if (oursIn.size() != referenceIn.size() || oursIn.isNull()) return r;
    const QImage a = onWhite(oursIn, masked), b = onWhite(referenceIn, masked);
    const int w = a.width(), h = a.height();
    const auto ia = inkOf(a), ib = inkOf(b);
    const QRect ba = boxOf(ia, w, h), bb = boxOf(ib, w, h);
    if (ba.isNull() || bb.isNull()) {
        const bool same = ba.isNull() && bb.isNull();
        r.bboxIou = same, r.inkF1 = inkF1(ia, ib, w, h), r.ssim = same, r.colorMae = !same;
        return r;
    }
    const QRect inter = ba.intersected(bb);
    const double ai = double(inter.width()) * inter.height();
    const double au = double(ba.width()) * ba.height() + double(bb.width()) * bb.height() - ai;
    r.bboxIou = au > 0 ? ai / au : 0;
    r.inkF1 = inkF1(ia, ib, w, h);
    const QRect both = ba.united(bb);
    r.ssim = ssim(a, b, both);
    double diff = 0;
    for (int y = both.top(); y <= both.bottom(); ++y)
        for (int x = both.left(); x <= both.right(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            diff += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                    std::abs(qBlue(p) - qBlue(q));
        }
    r.colorMae = diff / (3.0 * 255.0 * both.width() * both.height());
    return r;
}

}  // namespace measure
