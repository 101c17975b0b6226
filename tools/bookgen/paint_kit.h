#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>

// Scenery drawn from plain shapes, shared by the start-up picture and the sample book. Sizes are
// in pixels of the target image; every element is anchored where it touches the ground.
namespace bookgen::kit {

// A tiny fixed generator: the same seed must give the same picture on every machine and
// standard library, which std distributions do not promise.
class Rng {
  public:
    explicit Rng(quint32 seed) : state_(seed * 2654435761u + 1u) {}
    double unit() {
        state_ = state_ * 1664525u + 1013904223u;
        return double(state_ >> 8) / double(1u << 24);
    }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }

  private:
    quint32 state_;
};

void sky(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom);
// Bands instead of a smooth gradient, for pictures that must keep to few colours.
void bandedSky(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom, int bands);
void sun(QPainter& p, QPointF c, double r, const QColor& core, const QColor& glow);
void cloud(QPainter& p, QPointF c, double w, int opacityPercent = 95);
// A ridge between x0 and x1 whose crest waves around baseY; filled down to bottom.
void hills(QPainter& p, double x0, double x1, double baseY, double bottom, double amplitude,
           double phase, const QColor& top, const QColor& foot);
void roundTree(QPainter& p, QPointF base, double h, const QColor& leaf);
void blossomTree(QPainter& p, QPointF base, double h, quint32 seed);
void pineTree(QPainter& p, QPointF base, double h, const QColor& leaf);
void willow(QPainter& p, QPointF base, double h);
void house(QPainter& p, QPointF base, double w, const QColor& wall, const QColor& roof);
void flower(QPainter& p, QPointF c, double r, const QColor& petal);
void flowerMeadow(QPainter& p, const QRectF& area, int count, quint32 seed);
void grassTufts(QPainter& p, const QRectF& area, int count, const QColor& blade, quint32 seed);
void duck(QPainter& p, QPointF c, double size, bool facingLeft, const QColor& body);
void cat(QPainter& p, QPointF base, double h, const QColor& fur);
void dog(QPainter& p, QPointF base, double h, const QColor& fur);
// A child or grown-up seen from the front; arm raised when waving.
void person(QPainter& p, QPointF feet, double h, const QColor& shirt, const QColor& legs, bool girl,
            bool waving);
void bird(QPainter& p, QPointF c, double span, const QColor& color);
void butterfly(QPainter& p, QPointF c, double size, const QColor& wing);
void kite(QPainter& p, QPointF c, double size, QPointF stringEnd);
void boat(QPainter& p, QPointF c, double w);
// A gently curving river from the horizon (narrow) to the bottom edge (wide).
void river(QPainter& p, QPointF far, QPointF near, double farWidth, double nearWidth, double bend,
           const QColor& water);
void waterRipples(QPainter& p, const QRectF& area, int count, quint32 seed);

}  // namespace bookgen::kit
