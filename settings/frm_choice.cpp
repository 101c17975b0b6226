#include "frm_choice.h"

#include "interval.h"

#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace settings {
namespace {

// A position for the bar from a rounded number, kept inside the bar's range.
int16_t barPosition(float value, const platform::ScrollBar& bar) {
    const float rounded = std::nearbyint(value);
    return static_cast<int16_t>(
        std::clamp(rounded, static_cast<float>(bar.minimum()), static_cast<float>(bar.maximum())));
}

}  // namespace

FrmChoice::FrmChoice(platform::Timer& timer1, platform::PictureBox& picPic, QWidget* owner)
    : timer1_(timer1),
      picPic_(picPic),
      owner_(owner),
      lifecycle_(
          *this, [this] { return load(); }, [this] { w_.reset(); }) {}

FrmChoice::~FrmChoice() = default;

void FrmChoice::Show() {
    lifecycle_.show();
}

QString FrmChoice::TxtTimeText() {
    lifecycle_.ensureLoaded();
    return w_->TxtTime->text();
}

int FrmChoice::HScrTsValue() {
    lifecycle_.ensureLoaded();
    return w_->HScrTs->value();
}

// Leaving the closed state always builds the controls and runs the opening steps; the caller
// decides whether the dialog is then shown.
QDialog* FrmChoice::load() {
    w_ = createFrmChoiceWidgets(owner_);
    const FrmChoiceWidgets& w = *w_;

    connect(w.HScrTime, &platform::ScrollBar::changed, this, [this] { HScrTime_Change(); });
    connect(w.HScrTime, &platform::ScrollBar::scrolling, this, [this] { HScrTime_Scroll(); });
    connect(w.HScrTs, &platform::ScrollBar::changed, this, [this] { HScrTs_Change(); });
    connect(w.HScrTs, &platform::ScrollBar::scrolling, this, [this] { HScrTs_Scroll(); });
    for (std::size_t i = 0; i < w.OptBackColor.size(); ++i) {
        connect(w.OptBackColor[i], &platform::OptionButton::clicked, this,
                [this, i] { OptBackColor_Click(static_cast<int>(i)); });
    }
    connect(w.CmdOK, &platform::CommandButton::clicked, this, [this] { CmdOK_Click(); });

    Form_Load();
    return w.dialog;
}

void FrmChoice::Form_Load() {
    const FrmChoiceWidgets& w = *w_;

    if (SngMSec > 0) w.TxtTime->setText(formatPlainSeconds(SngMSec));

    w.HScrTime->setMinimum(500);
    w.HScrTime->setMaximum(30000);
    w.HScrTime->setSmallChange(500);
    w.HScrTime->setLargeChange(1000);

    // A position other than 500 runs HScrTime_Change, which rewrites the text with one decimal.
    if (const std::optional<int> ms = intervalMsFromText(w.TxtTime->text()))
        w.HScrTime->setValue(barPosition(static_cast<float>(*ms), *w.HScrTime));

    if (SngPicTs > 50) w.HScrTs->setValue(barPosition(SngPicTs, *w.HScrTs));

    {
        // Raising the minimum drags a bar standing at 0 up to 50; that forced move is not taken
        // as a choice of scale, so the text's 100 is what the next step reads. (A scale of exactly
        // 50 therefore comes back as 100.)
        const QSignalBlocker block(w.HScrTs);
        w.HScrTs->setMinimum(50);
        w.HScrTs->setMaximum(200);
        w.HScrTs->setSmallChange(10);
        w.HScrTs->setLargeChange(50);
    }

    if (const std::optional<float> percent = singleFromText(w.txtPicTs->text()))
        w.HScrTs->setValue(barPosition(*percent, *w.HScrTs));

    // The label shows 浅兰 like the selected option; the viewport keeps the colour it has.
    w.LblCo->setBackColor(kBackColors[0].color());
}

void FrmChoice::HScrTime_Change() {
    const int16_t position = w_->HScrTime->value();
    w_->TxtTime->setText(formatOneDecimal(position));
    SngMSec = position;
    // Above 200 ms the slide show is running and follows the new interval at once; a stopped
    // one stays stopped. An interval the timer cannot use leaves it as it is.
    if (timer1_.interval() > 200) {
        if (const std::optional<int> ms = timerIntervalFromText(w_->TxtTime->text()))
            timer1_.setInterval(*ms);
    }
}

// While the thumb is held only the seconds text follows; the rest waits for the release.
void FrmChoice::HScrTime_Scroll() {
    w_->TxtTime->setText(formatOneDecimal(w_->HScrTime->value()));
}

void FrmChoice::HScrTs_Change() {
    const int16_t position = w_->HScrTs->value();
    w_->txtPicTs->setText(QString::number(position));
    SngPicTs = position;
}

void FrmChoice::HScrTs_Scroll() {
    HScrTs_Change();
}

void FrmChoice::OptBackColor_Click(int index) {
    w_->LblCo->setBackColor(kBackColors[static_cast<std::size_t>(index)].color());
    picPic_.setBackColor(w_->LblCo->backColor());
}

void FrmChoice::CmdOK_Click() {
    lifecycle_.unload();
}

}  // namespace settings
