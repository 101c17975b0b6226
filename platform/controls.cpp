#include "controls.h"

namespace platform {

void paintBackground(QWidget* widget, const QColor& color) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, color);
    pal.setColor(QPalette::Button, color);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

void usePlainText(QLabel* label) {
    label->setTextFormat(Qt::PlainText);
}

QString spokenCaption(const QString& caption) {
    QString spoken = caption;
    // A Chinese caption carries its key as a Latin letter in brackets at the end.
    const qsizetype key = spoken.lastIndexOf(QStringLiteral("(&"));
    if (key >= 0 && spoken.endsWith(QLatin1Char(')'))) spoken.truncate(key);
    for (qsizetype i = spoken.indexOf(QLatin1Char('&')); i >= 0 && i < spoken.size();
         i = spoken.indexOf(QLatin1Char('&'), i + 1))
        spoken.remove(i, 1);  // "&&" stays one "&"
    return spoken;
}

// The caption stays the name even when the shown text is replaced (a label drawn as markup).
static QWidget* namedBy(const QString& caption, QWidget* widget) {
    if (!caption.isEmpty()) widget->setAccessibleName(spokenCaption(caption));
    return widget;
}

CommandButton::CommandButton(const QString& caption, QWidget* parent)
    : Control(namedBy(caption, new QPushButton(caption, parent))) {
    button()->setAutoDefault(false);
    connect(button(), &QPushButton::clicked, this, &CommandButton::clicked);
}

static QWidget* makeFrame(const QString& caption, QWidget* parent) {
    if (caption.isEmpty()) {
        auto* frame = new QFrame(parent);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        return frame;
    }
    return new QGroupBox(caption, parent);
}

Frame::Frame(const QString& caption, QWidget* parent)
    : Control(namedBy(caption, makeFrame(caption, parent))) {}

void Frame::setBackColor(const QColor& color) {
    paintBackground(widget(), color);
}

Label::Label(const QString& caption, QWidget* parent)
    : Control(namedBy(caption, new QLabel(parent))) {
    usePlainText(label());
    label()->setText(caption);
}

QColor Label::backColor() const {
    return label()->palette().color(QPalette::Window);
}

void Label::setBackColor(const QColor& color) {
    paintBackground(label(), color);
}

TextBox::TextBox(const QString& text, QWidget* parent) : Control(new QLineEdit(text, parent)) {}

OptionButton::OptionButton(const QString& caption, QWidget* parent)
    : Control(namedBy(caption, new QRadioButton(caption, parent))) {
    connect(radio(), &QRadioButton::clicked, this, &OptionButton::clicked);
}

void OptionButton::setBackColor(const QColor& color) {
    paintBackground(radio(), color);
}

void OptionButton::setForeColor(const QColor& color) {
    QPalette pal = radio()->palette();
    pal.setColor(QPalette::WindowText, color);
    radio()->setPalette(pal);
}

}  // namespace platform
