#pragma once

#include <QMainWindow>

namespace platform {

// A top-level window whose geometry the logic reads in twips: the outer size (frame, caption
// and menu bar included) and the client area below the menu bar, where all controls live.
class Form : public QMainWindow {
    Q_OBJECT
  public:
    explicit Form(QWidget* parent = nullptr);

    float outerWidth() const;
    float outerHeight() const;
    float scaleWidth() const;
    float scaleHeight() const;

    // Sizes the window so that its client area is this large, and centres it on the screen.
    void setClientSize(float widthTwips, float heightTwips);

    QWidget* client() const { return client_; }

  signals:
    // The client area changed size, the window was first shown, minimised or restored.
    void resized();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QWidget* client_;
};

}  // namespace platform
