#pragma once

#include "control.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace platform {

// The intrinsic controls: thin wrappers that give each standard widget twips geometry. A control
// made with a caption is named by it for screen readers too.

class CommandButton : public Control {
    Q_OBJECT
  public:
    CommandButton(const QString& caption, QWidget* parent);
    QPushButton* button() const { return static_cast<QPushButton*>(widget()); }
  signals:
    void clicked();
};

// A frame without caption is a plain panel; with one it is a titled group box.
class Frame : public Control {
    Q_OBJECT
  public:
    Frame(const QString& caption, QWidget* parent);
    void setBackColor(const QColor& color);
};

class Label : public Control {
    Q_OBJECT
  public:
    Label(const QString& caption, QWidget* parent);
    QLabel* label() const { return static_cast<QLabel*>(widget()); }
    QColor backColor() const;
    void setBackColor(const QColor& color);
};

class TextBox : public Control {
    Q_OBJECT
  public:
    TextBox(const QString& text, QWidget* parent);
    QString text() const { return edit()->text(); }
    void setText(const QString& text) { edit()->setText(text); }
    QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }
};

class OptionButton : public Control {
    Q_OBJECT
  public:
    OptionButton(const QString& caption, QWidget* parent);
    QRadioButton* radio() const { return static_cast<QRadioButton*>(widget()); }
    bool value() const { return radio()->isChecked(); }
    void setValue(bool checked) { radio()->setChecked(checked); }
    void setBackColor(const QColor& color);
    void setForeColor(const QColor& color);
  signals:
    void clicked();
};

// A caption as screen readers say it: without its access key, so "退出(&E)" is "退出".
QString spokenCaption(const QString& caption);

// Shows the label's text literally. Every label that may show a name or text from a file needs
// this: Qt would otherwise take text that looks like markup as rich text and load its images.
void usePlainText(QLabel* label);

// Sets the background colour a widget paints itself with.
void paintBackground(QWidget* widget, const QColor& color);

}  // namespace platform
