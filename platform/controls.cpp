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

CommandButton::CommandButton(const QString& caption, QWidget* parent)
    : Control(new QPushButton(caption, parent)) {
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

Frame::Frame(const QString& caption, QWidget* parent) : Control(makeFrame(caption, parent)) {}

void Frame::setBackColor(const QColor& color) {
    paintBackground(widget(), color);
}

Label::Label(const QString& caption, QWidget* parent) : Control(new QLabel(parent)) {
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
    : Control(new QRadioButton(caption, parent)) {
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
