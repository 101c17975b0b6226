#pragma once

// The device context that WMF and EMF records drive, drawn onto a QPainter. Internal.

#include "metafile.h"

#include <QBrush>
#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRegion>
#include <QTransform>

#include <vector>

namespace metafile {

// Work caps: a hostile file stops here instead of hanging or exhausting memory.
inline constexpr qint64 kMaxRecords = 2'000'000;
inline constexpr qint64 kMaxPoints = 8'000'000;         // all points of all records
inline constexpr qint64 kMaxBitmapPixels = 16'777'216;  // one bitmap
inline constexpr qint64 kMaxTotalPixels = 67'108'864;   // all bitmaps together
inline constexpr qint64 kMaxPlayMs = 4000;
inline constexpr int kMaxObjects = 65536;
inline constexpr int kMaxSavedDcs = 1024;
inline constexpr int kMaxTextChars = 8192;

class Budget {
  public:
    Budget() { clock_.start(); }
    // False (and from then on always false) once a cap is passed.
    bool charge(qint64 records, qint64 points = 0, qint64 pixels = 0);
    bool spent() const { return spent_; }

  private:
    QElapsedTimer clock_;
    qint64 records_ = 0, points_ = 0, pixels_ = 0;
    bool spent_ = false;
};

struct PenSpec {
    uint32_t style = 0;  // PS_* with end cap, join and type bits
    double width = 0;    // logical units; 0 is one device pixel
    QColor color = Qt::black;
    QList<double> userDashes;  // PS_USERSTYLE, logical units
};

struct BrushSpec {
    uint32_t style = 0;  // BS_*
    QColor color = Qt::white;
    uint32_t hatch = 0;
    QImage pattern;
};

struct FontSpec {
    double height = 0, width = 0;
    int escapement = 0, weight = 400;
    bool italic = false, underline = false, strikeOut = false;
    int charset = 1;
    QString face;
};

struct GdiObject {
    enum Kind { Empty, Pen, Brush, Font, Region, Other } kind = Empty;
    PenSpec pen;
    BrushSpec brush;
    FontSpec font;
    QRegion region;  // logical units (only WMF keeps regions in its object table)
};

struct DcState {
    int mapMode = 1;  // MM_TEXT
    QPointF windowOrg{0, 0}, windowExt{1, 1}, viewportOrg{0, 0}, viewportExt{1, 1};
    QTransform world;
    PenSpec pen;
    BrushSpec brush;
    FontSpec font;
    QColor textColor = Qt::black, bkColor = Qt::white;
    int bkMode = 2;  // OPAQUE
    uint32_t textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    int rop2 = 13;  // R2_COPYPEN
    bool clockwise = false;
    bool clipped = false;  // the file has set a clip of its own
    double miterLimit = 10;
    QPointF current;
};

// Text strings are decoded by the code page their font's character set names.
QString decodeAnsi(QByteArrayView bytes, int charset);

class Player {
  public:
    Player(QPainter& painter, const QRectF& target, Budget& budget, QList<TextRun>* texts);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    Budget& budget() { return budget_; }
    DcState& dc() { return dc_; }

    // Mapping. A WMF maps its window onto `frame` (logical units) and that onto the target; an
    // EMF maps logical units to reference-device pixels and its frame (in those pixels) onto it.
    void setWmfFrame(const QRectF& frame);
    void setEmfFrame(const QRectF& frameDevice, QSizeF devicePerMm);
    void setMapMode(int mode);
    void setWindowOrg(QPointF p) { dc_.windowOrg = p; }
    void setWindowExt(QPointF e);
    void setViewportOrg(QPointF p) { dc_.viewportOrg = p; }
    void setViewportExt(QPointF e);
    void scaleWindowExt(double xn, double xd, double yn, double yd);
    void scaleViewportExt(double xn, double xd, double yn, double yd);
    void setWorld(const QTransform& t) { dc_.world = t; }
    void modifyWorld(const QTransform& t, int mode);

    // Objects.
    void resizeTable(int n);
    void createInFreeSlot(GdiObject object);
    void setObject(uint32_t index, GdiObject object);
    void selectObject(uint32_t index);
    void deleteObject(uint32_t index);
    // The object an index names (EMF stock objects included); Empty when there is none.
    GdiObject objectAt(uint32_t index) const;

    void saveDc();
    void restoreDc(int relative);

    // Clipping: rectangles in logical units, regions in device units; mode is RGN_*.
    void intersectClipRect(const QRectF& r);
    void excludeClipRect(const QRectF& r);
    void setDeviceClip(const QPainterPath& region, int mode);
    void resetClip();
    void selectClipPath(int mode);
    void offsetClip(QPointF logical);

    // Regions: a WMF keeps them in logical units, an EMF in device units. Filling and framing
    // use the given brush, painting the selected one; the frame's width and height are logical.
    enum class RegionPaint { Fill, Frame, Invert };
    void clipRegion(const QRegion& region, bool logical, int mode);
    void paintRegion(const QRegion& region, bool logical, RegionPaint how, const BrushSpec& brush,
                     QSizeF frame = {});

    // Drawing in logical units; inside a path bracket these add to the path instead.
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polygon(const QPolygonF& points);
    void polyPolygon(const QList<QPolygonF>& polygons);
    void polyline(const QPolygonF& points);
    void polylineTo(const QPolygonF& points);
    void polyBezier(const QPolygonF& points, bool fromCurrent);
    void rectangle(const QRectF& r);
    void roundRect(const QRectF& r, QSizeF corner);
    void ellipse(const QRectF& r);
    enum class ArcKind { Arc, ArcTo, Chord, Pie };
    void arc(ArcKind kind, const QRectF& box, QPointF start, QPointF end);
    void fillRect(const QRectF& r, const QBrush& brush);
    void fillShape(const QPainterPath& shape, const QBrush& brush);

    void beginPath();
    void endPath() { inPath_ = false; }
    void closeFigure();
    void abortPath();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();

    // Text at a reference point (logical) with optional advances (logical units per character).
    void text(QPointF reference, const QString& s, const QList<double>& dx, uint32_t options,
              const QRectF& rect);

    // Raster operations: a bitmap (or none: the brush) into a destination rectangle.
    // `smooth` off scales by nearest pixels, as colour-keyed copies must.
    void blit(const QRectF& dest, const QImage* source, const QRectF& sourceRect, uint32_t rop,
              double opacity = 1.0, bool smooth = true);

  private:
    QTransform page() const;
    QTransform full() const;
    QPen qpen() const;
    QBrush qbrush() const { return qbrush(dc_.brush); }
    QBrush qbrush(const BrushSpec& b) const;
    bool applyRop2();
    void drawPath(const QPainterPath& path, bool fill, bool stroke);
    void combineClip(const QPainterPath& shape, const QTransform& space, int mode);

    QPainter& painter_;
    QRectF target_;
    QTransform base_;
    Budget& budget_;
    QList<TextRun>* texts_;

    bool emf_ = false;
    QRectF frame_{0, 0, 1, 1};
    QSizeF devicePerMm_{1, 1};
    QTransform deviceToTarget_;

    DcState dc_;
    std::vector<DcState> saved_;
    std::vector<GdiObject> objects_;
    bool inPath_ = false;
    QPainterPath path_;
};

}  // namespace metafile
