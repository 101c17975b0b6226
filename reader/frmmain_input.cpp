// Keys and mouse gestures that readers expect beside the menu shortcuts; none replaces one.
#include "frmmain.h"

#include "core/catalog.h"
#include "platform/twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QShortcut>
#include <QWheelEvent>

#include <utility>

namespace reader {
namespace {

// One notch of the wheel is 15 degrees, reported in eighths of a degree.
constexpr int kWheelNotch = 120;
// Pixels per line of a wheel scroll, as Qt's own scroll areas move.
constexpr double kWheelLinePixels = 20.0;

constexpr int kPageKeys[] = {Qt::Key_PageDown,  Qt::Key_Space, Qt::Key_Right, Qt::Key_PageUp,
                             Qt::Key_Backspace, Qt::Key_Left,  Qt::Key_Home,  Qt::Key_End};

}  // namespace

void frmmain::connectKeysAndGestures() {
    for (int key : kPageKeys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setAutoRepeat(true);
        connect(shortcut, &QShortcut::activated, this, [this, key] { Form_KeyDown(key); });
        pageKeys_.append(shortcut);
    }
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { updatePageKeys(now); });
    // The wheel is taken wherever it turns over the viewport: the picture, the area around it or
    // the border.
    for (QWidget* w : {ImgPic->widget(), PicPic->inner(), PicPic->widget()})
        w->installEventFilter(this);
    connect(ImgPic, &platform::ImageControl::dragged, this, &frmmain::ImgPic_Drag);
}

// The catalog list keeps its own keys for moving through the rows, and a focused button keeps
// Space for pressing it.
void frmmain::updatePageKeys(QWidget* focus) {
    const QWidget* list = listVW->widget();
    const bool inList = focus && (focus == list || list->isAncestorOf(focus));
    const bool onButton = qobject_cast<QAbstractButton*>(focus) != nullptr;
    for (QShortcut* shortcut : std::as_const(pageKeys_)) {
        const bool space = shortcut->key() == QKeySequence(Qt::Key_Space);
        shortcut->setEnabled(!inList && !(space && onButton));
    }
}

void frmmain::Form_KeyDown(int key) {
    switch (key) {
        case Qt::Key_PageDown:
        case Qt::Key_Space:
        case Qt::Key_Right:
            CmdPic_Click(5);
            return;
        case Qt::Key_PageUp:
        case Qt::Key_Backspace:
        case Qt::Key_Left:
            CmdPic_Click(4);
            return;
        case Qt::Key_Home:
        case Qt::Key_End: {
            const int pages = std::min(listVW->rowCount(), core::kMaxPages);
            if (pages < 1) return;
            CurPage = static_cast<int16_t>(key == Qt::Key_Home ? 1 : pages);
            // From the first page the reader reads on; from the last one, back.
            showPage(CurPage,
                     key == Qt::Key_Home ? core::Heading::Forward : core::Heading::Backward);
            ImgPic->setVisible(true);
            return;
        }
        default:
            return;
    }
}

// Ctrl+wheel zooms in the steps of the zoom buttons; a plain wheel scrolls a picture larger than
// the viewport, sideways when it only overflows sideways.
void frmmain::PicPic_MouseWheel(QPoint angleDelta, QPoint pixelDelta,
                                Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ControlModifier) {
        wheelZoom_ += angleDelta.y();
        for (; wheelZoom_ >= kWheelNotch; wheelZoom_ -= kWheelNotch)
            if (CmdPic[0]->enabled()) CmdPic_Click(0);
        for (; wheelZoom_ <= -kWheelNotch; wheelZoom_ += kWheelNotch)
            if (CmdPic[1]->enabled()) CmdPic_Click(1);
        return;
    }
    const QPointF pixels = !pixelDelta.isNull()
                               ? QPointF(pixelDelta)
                               : QPointF(angleDelta) / kWheelNotch *
                                     QApplication::wheelScrollLines() * kWheelLinePixels;
    const float tpp = platform::twipsPerPixel();
    float dx = static_cast<float>(-pixels.x()) * tpp;
    float dy = static_cast<float>(-pixels.y()) * tpp;
    if (!VScr->visible() && dx == 0.0f) std::swap(dx, dy);
    viewport_->scrollBy(dx, dy);
}

// Dragging moves the picture with the hand: the scroll bars move the other way.
void frmmain::ImgPic_Drag(QPointF delta) {
    const float tpp = platform::twipsPerPixel();
    viewport_->scrollBy(static_cast<float>(-delta.x()) * tpp, static_cast<float>(-delta.y()) * tpp);
}

bool frmmain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && PicPic && ImgPic &&
        (watched == PicPic->widget() || watched == PicPic->inner() ||
         watched == ImgPic->widget())) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        PicPic_MouseWheel(wheel->angleDelta(), wheel->pixelDelta(), wheel->modifiers());
        return true;
    }
    return platform::Form::eventFilter(watched, event);
}

}  // namespace reader
