#pragma once

#include "../core/book_fixture.h"
#include "reader/frmmain.h"

#include <gtest/gtest.h>

#include <QTest>

#include <memory>

// The reader with the initial window's metrics, whatever the offscreen platform's frame is, and
// an end of the program that only counts.
class TestReader : public reader::frmmain {
  public:
    using frmmain::frmmain;
    reader::WindowMetrics m{9315, 7830, 7140, 420};
    int endCalls = 0;

  protected:
    reader::WindowMetrics metrics() const override { return m; }
};

// The reader's three views, and the menu commands that lead to each from the split.
enum class Mode { Split, FullScreen, TextMaximised };
inline void PrintTo(Mode m, std::ostream* os) {
    *os << (m == Mode::Split        ? "split"
            : m == Mode::FullScreen ? "picture full screen"
                                    : "text maximised");
}
inline void enterMode(reader::frmmain& w, Mode mode) {
    if (mode == Mode::FullScreen) w.menuPicFullScr_Click();
    if (mode == Mode::TextMaximised) w.menuTextLarge_Click();
}

// A three-page book of flat-colour pictures with a text per page.
class ReaderTest : public ::testing::Test {
  public:
    BookFixture fx;
    std::unique_ptr<TestReader> w;

    void open(const QByteArray& catalog) {
        fx.catalog(catalog);
        w = std::make_unique<TestReader>(fx.book());
        w->endProgram = [this] { ++w->endCalls; };
        w->Form_Resize();
    }
    // Shown and active, so keys reach shortcuts as they do for a person.
    void openShown(const QByteArray& catalog) {
        open(catalog);
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    void SetUp() override {
        fx.picture("p1.jpg", 80, 60);
        fx.picture("p2.bmp", 40, 80);
        fx.picture("p3.png", 60, 60);
        for (const char* name : {"p1.txt", "p2.txt", "p3.txt"})
            fx.file(QString::fromLatin1(name), QByteArray("text of ") + name);
    }
    QString status(int panel) const { return w->stBar->panelText(panel); }
    // The handlers that turn pages, each waiting until its page is on screen.
    void clickRow(int row) {
        w->listVW_ItemClick(row);
        w->waitForPage();
    }
    void press(int index) {
        w->CmdPic_Click(index);
        w->waitForPage();
    }
    void tick() {
        w->Timer1_Timer();
        w->waitForPage();
    }
};

inline constexpr char kThree[] = "p1.jpg-p1.txt\r\np2.bmp-p2.txt\r\np3.png-p3.txt\r\n";
