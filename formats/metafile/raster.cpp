#include "player.h"

namespace metafile {

void Player::blit(const QRectF& dest, const QImage* source, const QRectF& sourceRect, uint32_t rop,
                  double opacity, bool smooth) {
    const uint32_t code = (rop >> 16) & 0xFF;
    if (code == 0xAA || dest.isNull()) return;  // NOP
    painter_.setTransform(full());
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setOpacity(opacity);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    const QRectF area = dest.normalized();
    auto fill = [&](const QBrush& brush, QPainter::CompositionMode mode) {
        painter_.setCompositionMode(mode);
        painter_.fillRect(area, brush);
    };
    switch (code) {
        case 0x00:
            fill(Qt::black, QPainter::CompositionMode_SourceOver);
            break;  // BLACKNESS
        case 0xFF:
            fill(Qt::white, QPainter::CompositionMode_SourceOver);
            break;  // WHITENESS
        case 0x55:
            fill(Qt::white, QPainter::RasterOp_NotDestination);
            break;  // DSTINVERT
        case 0xF0:
            fill(qbrush(), QPainter::CompositionMode_SourceOver);
            break;  // PATCOPY
        case 0x5A:
            fill(qbrush(), QPainter::RasterOp_SourceXorDestination);
            break;  // PATINVERT
        case 0x0F:
            fill(qbrush(), QPainter::RasterOp_NotSource);
            break;  // NOTPATCOPY
        default: {
            if (!source || source->isNull()) break;
            QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
            switch (code) {
                case 0x88:
                    mode = QPainter::RasterOp_SourceAndDestination;
                    break;  // SRCAND
                case 0xEE:
                    mode = QPainter::RasterOp_SourceOrDestination;
                    break;  // SRCPAINT
                case 0x66:
                    mode = QPainter::RasterOp_SourceXorDestination;
                    break;  // SRCINVERT
                case 0x44:
                    mode = QPainter::RasterOp_SourceAndNotDestination;
                    break;  // SRCERASE
                case 0x33:
                    mode = QPainter::RasterOp_NotSource;
                    break;  // NOTSRCCOPY
                case 0x11:
                    mode = QPainter::RasterOp_NotSourceAndNotDestination;
                    break;
                case 0xBB:
                    mode = QPainter::RasterOp_NotSourceOrDestination;
                    break;  // MERGEPAINT
                default:
                    break;  // SRCCOPY and the rest draw the source
            }
            painter_.setCompositionMode(mode);
            // A negative destination extent mirrors the picture.
            const bool mirrorX = dest.width() < 0, mirrorY = dest.height() < 0;
            QRectF src = sourceRect.intersected(QRectF(source->rect()));
            if (src.isEmpty()) break;
            if (mirrorX || mirrorY) {
                const QImage part = source->copy(src.toAlignedRect()).mirrored(mirrorX, mirrorY);
                painter_.drawImage(area, part);
            } else {
                painter_.drawImage(area, *source, src);
            }
        }
    }
    painter_.setOpacity(1.0);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

}  // namespace metafile
