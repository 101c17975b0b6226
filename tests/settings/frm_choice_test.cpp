#include "settings/frm_choice.h"
#include "support/screen_reader.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>

#include <functional>
#include <memory>

namespace {

using settings::FrmChoice;
using State = settings::FrmChoice::State;

const QColor kLightBlue(192, 192, 255);
const QColor kViewport(Qt::darkGray);  // the viewport's colour before any choice

class FrmChoiceTest : public ::testing::Test {
  protected:
    FrmChoiceTest() : picPic(new platform::PictureBox(owner.get())) {
        picPic->setBackColor(kViewport);
    }
    const settings::FrmChoiceWidgets& w() const { return *choice.widgets(); }

    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();
    platform::Timer timer1;
    platform::PictureBox* picPic;
    FrmChoice choice{timer1, *picPic, owner.get()};
};

// Auto-play and printing read the values before the dialog was ever opened; showing it later keeps
// what was typed and does not rerun the opening steps (which would reset the text and the scale).
TEST_F(FrmChoiceTest, FirstReadCreatesItHiddenAndShowingChangesNothing) {
    EXPECT_EQ(choice.TxtTimeText(), "1.0");
    ASSERT_EQ(choice.state(), State::Hidden);
    EXPECT_FALSE(w().dialog->isVisible());
    EXPECT_EQ(choice.HScrTsValue(), 100);
    EXPECT_TRUE(w().OptBackColor[0]->value());
    EXPECT_EQ(w().LblCo->backColor(), kLightBlue);
    EXPECT_EQ(picPic->backColor(), kViewport) << "opening leaves the viewport alone";
    EXPECT_EQ(timer1.interval(), 0) << "a stopped slide show stays stopped";
    ASSERT_TRUE(timer1.setInterval(1000));
    const QDialog* hidden = w().dialog;
    for (const auto& [box, typed] : {std::pair{w().TxtTime, "7"}, std::pair{w().txtPicTs, "120"}}) {
        box->edit()->selectAll();
        box->edit()->insert(typed);
    }
    for (int showing = 1; showing <= 2; ++showing) {
        choice.Show();
        EXPECT_TRUE(w().dialog == hidden && w().dialog->isVisible()) << showing;
        EXPECT_EQ(choice.TxtTimeText(), "7");
        EXPECT_EQ(w().HScrTime->value(), 1000);
        EXPECT_EQ(timer1.interval(), 1000);
        EXPECT_EQ(choice.HScrTsValue(), 100);
    }
}

// What each bar yields in its text box at its ends and a step above the lower end.
TEST_F(FrmChoiceTest, BarsYieldSecondsFromHalfToThirtyAndScalesFromFiftyToTwoHundred) {
    choice.Show();
    using A = QAbstractSlider::SliderAction;
    const A steps[] = {A::SliderToMaximum, A::SliderToMinimum, A::SliderSingleStepAdd,
                       A::SliderPageStepAdd};
    const char* times[] = {"30.0", "0.5", "1.0", "2.0"};
    const char* scales[] = {"200", "50", "60", "110"};
    for (int i = 0; i < 4; ++i) {
        w().HScrTime->bar()->triggerAction(steps[i]);
        EXPECT_EQ(w().TxtTime->text(), times[i]);
        w().HScrTs->bar()->triggerAction(steps[i]);
        EXPECT_EQ(w().txtPicTs->text(), scales[i]);
    }
}

struct ClosingCase {
    const char* way;
    std::function<void(QDialog*)> close;
    int position;
    const char* shown;
    int scale;
    int scaleBack;  // only a scale above 50 is brought back; at exactly 50 the text's 100 wins
};

TEST_F(FrmChoiceTest, ClosingKeepsTheValuesThatPrintingAndAutoPlayReadBack) {
    const ClosingCase cases[] = {
        {"退出(&O)", [](QDialog* d) { d->findChild<QPushButton*>()->click(); }, 1234, "1.2", 51,
         51},
        // Reopening turns the stored "30" back into "30.0".
        {"close", [](QDialog* d) { d->close(); }, 30000, "30.0", 200, 200},
        {"Esc", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }, 2550, "2.6", 50, 100}};
    for (const ClosingCase& c : cases) {
        SCOPED_TRACE(c.way);
        choice.Show();
        w().HScrTime->setValue(static_cast<int16_t>(c.position));
        w().HScrTs->setValue(static_cast<int16_t>(c.scale));
        EXPECT_EQ(w().TxtTime->text(), c.shown);
        const QPointer<QDialog> dialog = w().dialog;
        c.close(dialog);
        EXPECT_EQ(choice.state(), State::Closed);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(dialog.isNull());
        EXPECT_EQ(choice.SngMSec, static_cast<float>(c.position));
        EXPECT_EQ(choice.HScrTsValue(), c.scaleBack);
        EXPECT_EQ(choice.SngPicTs, static_cast<float>(c.scaleBack));
        EXPECT_EQ(choice.TxtTimeText(), c.shown);
        EXPECT_EQ(w().HScrTime->value(), c.position);
        w().CmdOK->button()->click();
    }
}

TEST_F(FrmChoiceTest, IntervalChangeRearmsOnlyARunningSlideShow) {
    choice.Show();
    const struct {
        int running;  // timer interval before the move; 200 and below is a stopped show
        int position;
        int after;  // the shown tenth, not the position
    } cases[] = {
        {0, 3500, 0}, {200, 2500, 200}, {201, 3000, 3000}, {1000, 1234, 1200}, {5000, 500, 500}};
    for (const auto& [running, position, after] : cases) {
        ASSERT_TRUE(timer1.setInterval(running));
        w().HScrTime->setValue(static_cast<int16_t>(position));
        EXPECT_EQ(timer1.interval(), after) << running;
        EXPECT_EQ(choice.SngMSec, static_cast<float>(position));
    }
}

TEST_F(FrmChoiceTest, DraggingTheIntervalWaitsForReleaseButTheScaleFollowsAtOnce) {
    choice.Show();
    ASSERT_TRUE(timer1.setInterval(1000));
    QScrollBar* time = w().HScrTime->bar();
    time->setSliderDown(true);
    time->setValue(2345);
    EXPECT_EQ(w().TxtTime->text(), "2.3");
    EXPECT_EQ(timer1.interval(), 1000);
    time->setSliderDown(false);
    EXPECT_EQ(choice.SngMSec, 2345.0f);
    EXPECT_EQ(timer1.interval(), 2300);
    QScrollBar* scale = w().HScrTs->bar();
    scale->setSliderDown(true);
    scale->setValue(170);
    EXPECT_EQ(w().txtPicTs->text(), "170");
    EXPECT_EQ(choice.SngPicTs, 170.0f);
}

// Each strip paints the viewport in its colour; a reopened dialog shows light blue again.
TEST_F(FrmChoiceTest, ColourClickSetsTheViewportAndReopeningShowsLightBlue) {
    const std::pair<const char*, QColor> strips[] = {{"浅兰", kLightBlue}, {"红色", Qt::red},
                                                     {"黄色", Qt::yellow}, {"绿色", Qt::green},
                                                     {"白色", Qt::white},  {"黑色", Qt::black}};
    for (std::size_t i = 0; i < std::size(strips); ++i) {
        const auto& [caption, colour] = strips[i];
        choice.Show();
        const QRadioButton* radio = w().OptBackColor[i]->radio();
        EXPECT_EQ(radio->text(), caption);
        EXPECT_EQ(radio->palette().color(QPalette::Window), colour);
        EXPECT_EQ(radio->palette().color(QPalette::WindowText) == QColor(Qt::white), i == 5);
        w().OptBackColor[i]->radio()->click();
        EXPECT_EQ(w().LblCo->backColor(), colour);
        EXPECT_EQ(picPic->backColor(), colour);
        w().CmdOK->button()->click();
        choice.Show();
        EXPECT_TRUE(w().OptBackColor[0]->value());
        EXPECT_EQ(w().LblCo->backColor(), kLightBlue);
        EXPECT_EQ(picPic->backColor(), colour);
        w().CmdOK->button()->click();
    }
}

TEST_F(FrmChoiceTest, CentredModelessChildOfTheOwnerWithItsControlsInsideAndNamed) {
    choice.Show();
    QDialog* dialog = w().dialog;
    EXPECT_FALSE(dialog->isModal());
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((dialog->frameGeometry().center() - screenCentre).manhattanLength(), 1);
    // Every control lies inside its frame; all but the colour label are in 宋体 10.5 pt.
    for (const platform::Control* c : dialog->findChildren<platform::Control*>()) {
        const QWidget* widget = c->widget();
        EXPECT_TRUE(widget->isVisible());
        EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry()));
        const QFont font = widget->font();
        EXPECT_EQ(font.family() == "宋体" && font.pointSizeF() == 10.5, c != w().LblCo);
    }
    EXPECT_EQ(screenreader::expectNamedByCaptions(dialog), 10);
    // The owner takes the dialog down with it.
    owner.reset();
    EXPECT_EQ(choice.state(), State::Closed);
    EXPECT_EQ(choice.widgets(), nullptr);
}

}  // namespace
