#include "settings/frm_choice.h"
#include "settings/interval.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>

#include <functional>
#include <memory>

namespace {

using settings::FrmChoice;
using State = settings::FrmChoice::State;

const QColor kLightBlue(192, 192, 255);

void deletePending() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class FrmChoiceTest : public ::testing::Test {
  protected:
    FrmChoiceTest() : picPic(new platform::PictureBox(owner.get())) {
        picPic->setBackColor(kLightBlue);
    }

    const settings::FrmChoiceWidgets& w() const {
        const settings::FrmChoiceWidgets* widgets = choice.widgets();
        if (!widgets) throw std::logic_error("dialog is closed");
        return *widgets;
    }

    void closeWithOk() {
        w().CmdOK->button()->click();
        deletePending();
    }

    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();
    platform::Timer timer1;
    platform::PictureBox* picPic;
    FrmChoice choice{timer1, *picPic, owner.get()};
};

TEST_F(FrmChoiceTest, FirstOpeningShowsTheDefaults) {
    picPic->setBackColor(Qt::red);
    choice.Show();

    ASSERT_EQ(choice.state(), State::Shown);
    EXPECT_TRUE(w().dialog->isVisible());
    EXPECT_EQ(w().TxtTime->text(), "1.0");
    EXPECT_EQ(w().HScrTime->value(), 1000);
    EXPECT_EQ(choice.SngMSec, 1000.0f);
    EXPECT_EQ(w().txtPicTs->text(), "100");
    EXPECT_EQ(w().HScrTs->value(), 100);
    EXPECT_EQ(choice.SngPicTs, 100.0f);
    EXPECT_EQ(w().HScrTime->minimum(), 500);
    EXPECT_EQ(w().HScrTime->maximum(), 30000);
    EXPECT_EQ(w().HScrTime->smallChange(), 500);
    EXPECT_EQ(w().HScrTime->largeChange(), 1000);
    EXPECT_EQ(w().HScrTs->minimum(), 50);
    EXPECT_EQ(w().HScrTs->maximum(), 200);
    EXPECT_EQ(w().HScrTs->smallChange(), 10);
    EXPECT_EQ(w().HScrTs->largeChange(), 50);
    EXPECT_TRUE(w().OptBackColor[0]->value());
    EXPECT_EQ(w().LblCo->backColor(), kLightBlue);
    EXPECT_EQ(picPic->backColor(), QColor(Qt::red)) << "opening leaves the viewport alone";
    EXPECT_EQ(timer1.interval(), 0) << "a stopped slide show stays stopped";
}

// Auto-play and printing read while the dialog was never opened.
class ReadWhileClosed : public FrmChoiceTest,
                        public ::testing::WithParamInterface<std::function<void(FrmChoice&)>> {};

TEST_P(ReadWhileClosed, CreatesHiddenAndShowDoesNotReload) {
    GetParam()(choice);
    ASSERT_EQ(choice.state(), State::Hidden);
    EXPECT_FALSE(w().dialog->isVisible());
    EXPECT_EQ(choice.TxtTimeText(), "1.0");
    EXPECT_EQ(choice.HScrTsValue(), 100);
    EXPECT_EQ(settings::intervalMsFromText(choice.TxtTimeText()), 1000);

    const QDialog* hidden = w().dialog;
    w().TxtTime->setText("7");
    w().txtPicTs->setText("120");
    choice.Show();
    EXPECT_EQ(choice.state(), State::Shown);
    EXPECT_EQ(w().dialog, hidden);
    EXPECT_TRUE(w().dialog->isVisible());
    // Opening steps again would have rewritten both texts from the bars.
    EXPECT_EQ(w().TxtTime->text(), "7");
    EXPECT_EQ(w().txtPicTs->text(), "120");
}

INSTANTIATE_TEST_SUITE_P(Readers, ReadWhileClosed,
                         ::testing::Values([](FrmChoice& c) { (void)c.TxtTimeText(); },
                                           [](FrmChoice& c) { (void)c.HScrTsValue(); }));

struct IntervalCase {
    int position;
    const char* shown;
};

class IntervalSurvivesClosing : public FrmChoiceTest,
                                public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(IntervalSurvivesClosing, ReopeningShowsTheIntervalSetBefore) {
    const auto [position, shown] = GetParam();
    choice.Show();
    w().HScrTime->setValue(static_cast<int16_t>(position));
    EXPECT_EQ(w().TxtTime->text(), shown);
    closeWithOk();
    ASSERT_EQ(choice.state(), State::Closed);
    EXPECT_EQ(choice.SngMSec, static_cast<float>(position));

    // Auto-play reads it without the dialog being open.
    EXPECT_EQ(choice.TxtTimeText(), shown);
    EXPECT_EQ(choice.state(), State::Hidden);
    EXPECT_EQ(w().HScrTime->value(), position);
    choice.Show();
    EXPECT_EQ(w().TxtTime->text(), shown);
    EXPECT_EQ(choice.SngMSec, static_cast<float>(position));
}

INSTANTIATE_TEST_SUITE_P(Positions, IntervalSurvivesClosing,
                         ::testing::Values(IntervalCase{3500, "3.5"}, IntervalCase{1234, "1.2"},
                                           IntervalCase{500, "0.5"}, IntervalCase{30000, "30.0"},
                                           IntervalCase{2550, "2.6"}));

struct RearmCase {
    int running;  // timer interval before the move
    int position;
    int after;
};

class IntervalChangeRearms : public FrmChoiceTest,
                             public ::testing::WithParamInterface<RearmCase> {};

TEST_P(IntervalChangeRearms, OnlyARunningSlideShowFollows) {
    const auto [running, position, after] = GetParam();
    choice.Show();
    ASSERT_TRUE(timer1.setInterval(running));
    w().HScrTime->setValue(static_cast<int16_t>(position));
    EXPECT_EQ(timer1.interval(), after);
    EXPECT_EQ(choice.SngMSec, static_cast<float>(position));
}

INSTANTIATE_TEST_SUITE_P(Timers, IntervalChangeRearms,
                         ::testing::Values(RearmCase{1000, 3500, 3500}, RearmCase{0, 3500, 0},
                                           RearmCase{150, 3500, 150}, RearmCase{200, 2500, 200},
                                           RearmCase{201, 2500, 2500},
                                           // The timer takes the shown tenth, not the position.
                                           RearmCase{1000, 1234, 1200}, RearmCase{5000, 500, 500}));

TEST_F(FrmChoiceTest, ArrowClickIsAChange) {
    choice.Show();
    ASSERT_TRUE(timer1.setInterval(1000));
    w().HScrTime->bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(w().TxtTime->text(), "1.5");
    EXPECT_EQ(choice.SngMSec, 1500.0f);
    EXPECT_EQ(timer1.interval(), 1500);
}

TEST_F(FrmChoiceTest, DraggingTheIntervalUpdatesOnlyTheTextUntilRelease) {
    choice.Show();
    ASSERT_TRUE(timer1.setInterval(1000));
    QScrollBar* bar = w().HScrTime->bar();
    bar->setSliderDown(true);
    bar->setValue(2345);
    EXPECT_EQ(w().TxtTime->text(), "2.3");
    EXPECT_EQ(choice.SngMSec, 1000.0f);
    EXPECT_EQ(timer1.interval(), 1000);

    bar->setSliderDown(false);
    EXPECT_EQ(w().TxtTime->text(), "2.3");
    EXPECT_EQ(choice.SngMSec, 2345.0f);
    EXPECT_EQ(timer1.interval(), 2300);
}

TEST_F(FrmChoiceTest, DraggingTheScaleUpdatesTextAndValue) {
    choice.Show();
    QScrollBar* bar = w().HScrTs->bar();
    bar->setSliderDown(true);
    bar->setValue(170);
    EXPECT_EQ(w().txtPicTs->text(), "170");
    EXPECT_EQ(choice.SngPicTs, 170.0f);
    bar->setSliderDown(false);
    EXPECT_EQ(choice.HScrTsValue(), 170);
}

struct ScaleCase {
    int set;
    int comesBack;
};

class ScaleSurvivesClosing : public FrmChoiceTest,
                             public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(ScaleSurvivesClosing, PrintingReadsTheScaleAfterClosing) {
    const auto [set, comesBack] = GetParam();
    choice.Show();
    w().HScrTs->setValue(static_cast<int16_t>(set));
    EXPECT_EQ(w().txtPicTs->text(), QString::number(set));
    closeWithOk();
    EXPECT_EQ(choice.SngPicTs, static_cast<float>(set));

    EXPECT_EQ(choice.HScrTsValue(), comesBack);
    EXPECT_EQ(choice.state(), State::Hidden);
    EXPECT_EQ(w().txtPicTs->text(), QString::number(comesBack));
    EXPECT_EQ(choice.SngPicTs, static_cast<float>(comesBack));
}

// Only a scale above 50 is brought back; at exactly 50 the text's 100 wins.
INSTANTIATE_TEST_SUITE_P(Scales, ScaleSurvivesClosing,
                         ::testing::Values(ScaleCase{150, 150}, ScaleCase{200, 200},
                                           ScaleCase{60, 60}, ScaleCase{51, 51},
                                           ScaleCase{50, 100}));

class ColourChoice : public FrmChoiceTest, public ::testing::WithParamInterface<int> {};

TEST_P(ColourChoice, ClickSetsViewportAndReopeningShowsLightBlue) {
    const auto index = static_cast<std::size_t>(GetParam());
    const QColor colour = settings::kBackColors[index].color();
    choice.Show();
    w().OptBackColor[index]->radio()->click();
    EXPECT_TRUE(w().OptBackColor[index]->value());
    EXPECT_EQ(w().LblCo->backColor(), colour);
    EXPECT_EQ(picPic->backColor(), colour);

    closeWithOk();
    EXPECT_EQ(picPic->backColor(), colour);
    choice.Show();
    EXPECT_TRUE(w().OptBackColor[0]->value());
    EXPECT_EQ(w().LblCo->backColor(), kLightBlue);
    EXPECT_EQ(picPic->backColor(), colour);
}

INSTANTIATE_TEST_SUITE_P(Options, ColourChoice, ::testing::Range(0, 6));

TEST_F(FrmChoiceTest, OptionStripsWearTheirColours) {
    choice.Show();
    const QStringList captions{"浅兰", "红色", "黄色", "绿色", "白色", "黑色"};
    for (std::size_t i = 0; i < settings::kBackColors.size(); ++i) {
        const QRadioButton* radio = w().OptBackColor[i]->radio();
        EXPECT_EQ(radio->text(), captions[static_cast<int>(i)]);
        EXPECT_EQ(radio->palette().color(QPalette::Window), settings::kBackColors[i].color());
        EXPECT_EQ(radio->parentWidget(), w().FraBackColor->widget());
    }
    EXPECT_EQ(w().OptBackColor[5]->radio()->palette().color(QPalette::WindowText),
              QColor(Qt::white));
    EXPECT_NE(w().OptBackColor[0]->radio()->palette().color(QPalette::WindowText),
              QColor(Qt::white));
}

TEST_F(FrmChoiceTest, TypingChangesNothingUntilRead) {
    choice.Show();
    ASSERT_TRUE(timer1.setInterval(1000));
    w().TxtTime->edit()->selectAll();
    w().TxtTime->edit()->insert("2");
    w().txtPicTs->edit()->selectAll();
    w().txtPicTs->edit()->insert("150");

    EXPECT_EQ(timer1.interval(), 1000);
    EXPECT_EQ(choice.SngMSec, 1000.0f);
    EXPECT_EQ(w().HScrTime->value(), 1000);
    EXPECT_EQ(choice.HScrTsValue(), 100);
    EXPECT_EQ(choice.SngPicTs, 100.0f);
    EXPECT_EQ(settings::intervalMsFromText(choice.TxtTimeText()), 2000);
}

TEST_F(FrmChoiceTest, ShowTwiceKeepsOneDialog) {
    choice.Show();
    const QDialog* first = w().dialog;
    w().HScrTime->setValue(4000);
    choice.Show();
    EXPECT_EQ(w().dialog, first);
    EXPECT_EQ(w().TxtTime->text(), "4.0");
    EXPECT_EQ(owner->findChildren<QDialog*>().size(), 1);
}

class ClosingWays : public FrmChoiceTest,
                    public ::testing::WithParamInterface<std::function<void(QDialog*)>> {};

TEST_P(ClosingWays, ClosesAtOnceAndKeepsTheValues) {
    choice.Show();
    w().HScrTime->setValue(2500);
    w().HScrTs->setValue(180);
    w().OptBackColor[5]->radio()->click();
    QPointer<QDialog> dialog = w().dialog;

    GetParam()(dialog);
    EXPECT_EQ(choice.state(), State::Closed);
    EXPECT_EQ(choice.widgets(), nullptr);
    deletePending();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(choice.SngMSec, 2500.0f);
    EXPECT_EQ(choice.SngPicTs, 180.0f);
    EXPECT_EQ(picPic->backColor(), QColor(Qt::black));

    choice.Show();
    EXPECT_EQ(choice.state(), State::Shown);
    EXPECT_EQ(w().TxtTime->text(), "2.5");
    EXPECT_EQ(w().txtPicTs->text(), "180");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ClosingWays,
    ::testing::Values(
        [](QDialog* d) {
            d->findChildren<QPushButton*>().front()->click();  // 退出(&O), the only button
        },
        [](QDialog* d) { d->close(); },
        [](QDialog* d) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(d, &esc);
        }));

TEST_F(FrmChoiceTest, OwnerGoingAwayLeavesItClosed) {
    choice.Show();
    owner.reset();
    EXPECT_EQ(choice.state(), State::Closed);
    EXPECT_EQ(choice.widgets(), nullptr);
}

TEST_F(FrmChoiceTest, DialogFrame) {
    choice.Show();
    QDialog* dialog = w().dialog;
    EXPECT_EQ(dialog->windowTitle(), "图像参数选择");
    EXPECT_EQ(dialog->size(), QSize(473, 331));  // 7095 x 4965 twips at 15 per pixel
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->parentWidget(), owner.get());
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_LE((dialog->frameGeometry().center() - screen->geometry().center()).manhattanLength(),
              1);

    EXPECT_EQ(w().CmdOK->button()->text(), "退出(&O)");
    EXPECT_EQ(w().LblCo->label()->text(), "color");
    EXPECT_TRUE(w().LblCo->widget()->isVisible());
    // Controls sit inside their frames.
    EXPECT_EQ(w().TxtTime->widget()->parentWidget(), w().FraAuto->widget());
    EXPECT_EQ(w().HScrTime->widget()->parentWidget(), w().FraAuto->widget());
    EXPECT_EQ(w().txtPicTs->widget()->parentWidget(), w().FraTimes->widget());
    EXPECT_EQ(w().HScrTs->widget()->parentWidget(), w().FraTimes->widget());
    EXPECT_EQ(w().TxtTime->widget()->geometry(), QRect(94, 32, 45, 23));
    EXPECT_EQ(w().FraTimes->widget()->geometry(), QRect(190, 160, 251, 104));
}

TEST_F(FrmChoiceTest, FontsAreSongTiExceptTheColourLabel) {
    choice.Show();
    const std::vector<const platform::Control*> songTi{
        w().FraBackColor, w().OptBackColor[0], w().OptBackColor[5], w().FraAuto, w().TxtTime,
        w().HScrTime,     w().FraTimes,        w().txtPicTs,        w().HScrTs,  w().CmdOK};
    for (const platform::Control* c : songTi) {
        EXPECT_EQ(c->widget()->font().family(), "宋体") << c->widget()->metaObject()->className();
        EXPECT_DOUBLE_EQ(c->widget()->font().pointSizeF(), 10.5);
    }
    EXPECT_NE(w().LblCo->widget()->font().family(), "宋体");
}

TEST_F(FrmChoiceTest, TabOrder) {
    choice.Show();
    const std::vector<QWidget*> expected{
        w().OptBackColor[0]->widget(), w().OptBackColor[1]->widget(), w().OptBackColor[2]->widget(),
        w().OptBackColor[3]->widget(), w().OptBackColor[4]->widget(), w().CmdOK->widget(),
        w().HScrTime->widget(),        w().TxtTime->widget(),         w().HScrTs->widget(),
        w().txtPicTs->widget(),        w().OptBackColor[5]->widget()};
    std::vector<QWidget*> tour;
    for (QWidget* at = expected.front(); tour.size() < expected.size();
         at = at->nextInFocusChain()) {
        if (at->focusPolicy() & Qt::TabFocus) tour.push_back(at);
    }
    EXPECT_EQ(tour, expected);
}

}  // namespace
