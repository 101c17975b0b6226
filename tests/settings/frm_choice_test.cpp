#include "settings/frm_choice.h"
#include "support/screen_reader.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>

#include <array>
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

    const settings::FrmChoiceWidgets& w() const {
        const settings::FrmChoiceWidgets* widgets = choice.widgets();
        if (!widgets) throw std::logic_error("dialog is closed");
        return *widgets;
    }

    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();
    platform::Timer timer1;
    platform::PictureBox* picPic;
    FrmChoice choice{timer1, *picPic, owner.get()};
};

std::array<int, 4> range(const platform::ScrollBar* bar) {
    return {bar->minimum(), bar->maximum(), bar->smallChange(), bar->largeChange()};
}

// Auto-play reads the interval before the dialog was ever opened.
TEST_F(FrmChoiceTest, FirstReadCreatesItHiddenAndTypingOrShowingChangesNothing) {
    EXPECT_EQ(choice.TxtTimeText(), "1.0");
    ASSERT_EQ(choice.state(), State::Hidden);
    EXPECT_FALSE(w().dialog->isVisible());
    EXPECT_EQ(w().txtPicTs->text(), "100");
    EXPECT_EQ(range(w().HScrTime), (std::array{500, 30000, 500, 1000}));
    EXPECT_EQ(range(w().HScrTs), (std::array{50, 200, 10, 50}));
    EXPECT_TRUE(w().OptBackColor[0]->value());
    EXPECT_EQ(w().LblCo->backColor(), kLightBlue);
    EXPECT_EQ(picPic->backColor(), kViewport) << "opening leaves the viewport alone";
    EXPECT_EQ(timer1.interval(), 0) << "a stopped slide show stays stopped";

    // Typed text is only read. Showing the dialog, once or twice, keeps it and does not rerun
    // the opening steps, which would reset the time text and take the scale to 120.
    ASSERT_TRUE(timer1.setInterval(1000));
    const QDialog* hidden = w().dialog;
    for (const auto& [box, typed] : {std::pair{w().TxtTime, "7"}, std::pair{w().txtPicTs, "120"}}) {
        box->edit()->selectAll();
        box->edit()->insert(typed);
    }
    for (int showing = 1; showing <= 2; ++showing) {
        SCOPED_TRACE(showing);
        choice.Show();
        EXPECT_EQ(choice.state(), State::Shown);
        EXPECT_EQ(w().dialog, hidden);
        EXPECT_TRUE(w().dialog->isVisible());
        EXPECT_EQ(choice.TxtTimeText(), "7");
        EXPECT_EQ(w().HScrTime->value(), 1000);
        EXPECT_EQ(choice.SngMSec, 1000.0f);
        EXPECT_EQ(timer1.interval(), 1000);
        EXPECT_EQ(choice.HScrTsValue(), 100);
        EXPECT_EQ(choice.SngPicTs, 100.0f);
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

void PrintTo(const ClosingCase& c, std::ostream* os) {
    *os << c.way;
}

class ClosingKeepsTheValues : public FrmChoiceTest,
                              public ::testing::WithParamInterface<ClosingCase> {};

TEST_P(ClosingKeepsTheValues, PrintingAndAutoPlayReadThemBackFromAHiddenDialog) {
    const ClosingCase& c = GetParam();
    choice.Show();
    w().HScrTime->setValue(static_cast<int16_t>(c.position));
    w().HScrTs->setValue(static_cast<int16_t>(c.scale));
    EXPECT_EQ(w().TxtTime->text(), c.shown);
    const QPointer<QDialog> dialog = w().dialog;

    c.close(dialog);
    EXPECT_EQ(choice.state(), State::Closed);
    EXPECT_EQ(choice.widgets(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(choice.SngMSec, static_cast<float>(c.position));
    EXPECT_EQ(choice.SngPicTs, static_cast<float>(c.scale));

    EXPECT_EQ(choice.HScrTsValue(), c.scaleBack);
    EXPECT_EQ(choice.SngPicTs, static_cast<float>(c.scaleBack));
    EXPECT_EQ(choice.TxtTimeText(), c.shown);
    EXPECT_EQ(w().HScrTime->value(), c.position);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ClosingKeepsTheValues,
    ::testing::Values(ClosingCase{"退出(&O)",
                                  [](QDialog* d) { d->findChild<QPushButton*>()->click(); }, 1234,
                                  "1.2", 51, 51},
                      // Reopening turns the stored "30" back into "30.0".
                      ClosingCase{"close", [](QDialog* d) { d->close(); }, 30000, "30.0", 200, 200},
                      ClosingCase{"Esc", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); },
                                  2550, "2.6", 50, 100}));

TEST_F(FrmChoiceTest, IntervalChangeRearmsOnlyARunningSlideShow) {
    choice.Show();
    const struct {
        int running;  // timer interval before the move; 200 and below is a stopped show
        int position;
        int after;  // the shown tenth, not the position
    } cases[] = {{0, 3500, 0},      {150, 4000, 150},   {200, 2500, 200},
                 {201, 3000, 3000}, {1000, 1234, 1200}, {5000, 500, 500}};
    for (const auto& [running, position, after] : cases) {
        SCOPED_TRACE(running);
        ASSERT_TRUE(timer1.setInterval(running));
        w().HScrTime->setValue(static_cast<int16_t>(position));
        EXPECT_EQ(timer1.interval(), after);
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
    EXPECT_EQ(choice.SngMSec, 1000.0f);
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

class ColourChoice : public FrmChoiceTest, public ::testing::WithParamInterface<int> {};

TEST_P(ColourChoice, ClickSetsViewportAndReopeningShowsLightBlue) {
    const std::pair<const char*, QColor> strips[] = {{"浅兰", kLightBlue}, {"红色", Qt::red},
                                                     {"黄色", Qt::yellow}, {"绿色", Qt::green},
                                                     {"白色", Qt::white},  {"黑色", Qt::black}};
    const auto i = static_cast<std::size_t>(GetParam());
    const auto& [caption, colour] = strips[i];
    choice.Show();
    const QRadioButton* radio = w().OptBackColor[i]->radio();
    EXPECT_EQ(radio->text(), caption);
    EXPECT_EQ(radio->palette().color(QPalette::Window), colour);
    EXPECT_EQ(radio->palette().color(QPalette::WindowText) == QColor(Qt::white), i == 5)
        << "only the black strip has a white caption";

    w().OptBackColor[i]->radio()->click();
    EXPECT_EQ(w().LblCo->backColor(), colour);
    EXPECT_EQ(picPic->backColor(), colour);

    w().CmdOK->button()->click();
    choice.Show();
    EXPECT_TRUE(w().OptBackColor[0]->value());
    EXPECT_EQ(w().LblCo->backColor(), kLightBlue);
    EXPECT_EQ(picPic->backColor(), colour);
}

INSTANTIATE_TEST_SUITE_P(Options, ColourChoice, ::testing::Range(0, 6));

TEST_F(FrmChoiceTest, CentredModelessChildOfTheOwnerWithItsLayoutFontsAndTabOrder) {
    choice.Show();
    QDialog* dialog = w().dialog;
    EXPECT_EQ(dialog->windowTitle(), "图像参数选择");
    EXPECT_EQ(w().CmdOK->button()->text(), "退出(&O)");
    EXPECT_FALSE(dialog->isModal());
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((dialog->frameGeometry().center() - screenCentre).manhattanLength(), 1);

    // Every control lies inside its frame; all but the colour label are in 宋体 10.5 pt.
    QWidget* autoPlay = w().FraAuto->widget();
    QWidget* scale = w().FraTimes->widget();
    std::vector<std::pair<const platform::Control*, QWidget*>> placed{
        {w().FraBackColor, dialog}, {w().FraAuto, dialog},  {w().TxtTime, autoPlay},
        {w().HScrTime, autoPlay},   {w().FraTimes, dialog}, {w().txtPicTs, scale},
        {w().HScrTs, scale},        {w().CmdOK, dialog},    {w().LblCo, dialog}};
    for (const platform::OptionButton* o : w().OptBackColor)
        placed.emplace_back(o, w().FraBackColor->widget());
    for (std::size_t i = 0; i < placed.size(); ++i) {
        SCOPED_TRACE(i);
        const QWidget* widget = placed[i].first->widget();
        EXPECT_TRUE(widget->isVisible());
        EXPECT_EQ(widget->parentWidget(), placed[i].second);
        EXPECT_TRUE(placed[i].second->rect().contains(widget->geometry()));
        const QFont font = widget->font();
        EXPECT_EQ(font.family() == "宋体" && font.pointSizeF() == 10.5,
                  placed[i].first != w().LblCo);
    }

    const std::vector<QWidget*> tabs{
        w().OptBackColor[0]->widget(), w().OptBackColor[1]->widget(), w().OptBackColor[2]->widget(),
        w().OptBackColor[3]->widget(), w().OptBackColor[4]->widget(), w().CmdOK->widget(),
        w().HScrTime->widget(),        w().TxtTime->widget(),         w().HScrTs->widget(),
        w().txtPicTs->widget(),        w().OptBackColor[5]->widget()};
    std::vector<QWidget*> tour;
    for (QWidget* at = tabs.front(); tour.size() < tabs.size(); at = at->nextInFocusChain())
        if (at->focusPolicy() & Qt::TabFocus) tour.push_back(at);
    EXPECT_EQ(tour, tabs);
    EXPECT_EQ(screenreader::expectNamedByCaptions(dialog), 10);

    // The owner takes the dialog down with it.
    EXPECT_EQ(dialog->parentWidget(), owner.get());
    owner.reset();
    EXPECT_EQ(choice.state(), State::Closed);
    EXPECT_EQ(choice.widgets(), nullptr);
}

}  // namespace
