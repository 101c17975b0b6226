#include "frm_choice_widgets.h"

#include "platform/dialog_lifecycle.h"
#include "platform/fonts.h"
#include "platform/twips.h"

#include <QFont>

namespace settings {
namespace {

constexpr float kClientWidth = 7095;
constexpr float kClientHeight = 4965;

template <typename C>
C* withFont(C* control) {
    control->widget()->setFont(platform::songti(10.5));
    return control;
}

// What screen readers say: each control's name and what it sets. A captioned control is named
// by its caption already.
void describeForScreenReaders(const FrmChoiceWidgets& w) {
    using platform::describe, platform::explain;
    w.dialog->setAccessibleDescription(
        QStringLiteral("幻灯播放时间间隔、图像打印倍率和图像背景色"));
    explain(w.FraBackColor, "图像窗口的背景颜色");
    for (platform::OptionButton* option : w.OptBackColor) explain(option, "图像窗口的背景颜色");
    explain(w.FraAuto, "自动播放时每页停留的秒数");
    describe(w.TxtTime, "播放间隔秒数", "自动播放时每页停留的秒数");
    describe(w.HScrTime, "播放间隔滚动条", "0.5 到 30 秒");
    explain(w.FraTimes, "打印图像时的放大百分比");
    describe(w.txtPicTs, "打印倍率", "打印图像时的放大百分比");
    describe(w.HScrTs, "打印倍率滚动条", "50% 到 200%");
    describe(w.LblCo, "所选背景色", "显示选中的图像背景颜色");
    explain(w.CmdOK, "关闭本窗口，保留所作设置");
}

}  // namespace

FrmChoiceWidgets createFrmChoiceWidgets(QWidget* owner) {
    FrmChoiceWidgets w;
    w.dialog = platform::createFixedDialog(owner, QStringLiteral("图像参数选择"), kClientWidth,
                                           kClientHeight);

    w.FraBackColor = withFont(new platform::Frame(QStringLiteral("图像背景色"), w.dialog));
    w.FraBackColor->place(150, 375, 2340, 3615);
    QWidget* colours = w.FraBackColor->widget();
    for (std::size_t i = 0; i < kBackColors.size(); ++i) {
        const BackColorChoice& choice = kBackColors[i];
        auto* option =
            withFont(new platform::OptionButton(QString::fromUtf8(choice.caption), colours));
        option->place(225, choice.top, 1815, 435);
        option->setBackColor(choice.color());
        if (choice.whiteCaption) option->setForeColor(Qt::white);
        w.OptBackColor[i] = option;
    }
    w.OptBackColor[0]->setValue(true);

    w.FraAuto = withFont(new platform::Frame(QStringLiteral("幻灯播放时间间隔（秒）"), w.dialog));
    w.FraAuto->place(2850, 375, 3765, 1560);
    w.TxtTime = withFont(new platform::TextBox(QStringLiteral("1"), w.FraAuto->widget()));
    w.TxtTime->place(1410, 480, 675, 345);
    w.HScrTime = withFont(new platform::ScrollBar(Qt::Horizontal, w.FraAuto->widget()));
    w.HScrTime->place(120, 1080, 3495, 375);
    // The bar is created standing at 500; the opening steps give it the rest of its range.
    w.HScrTime->setMinimum(500);

    w.FraTimes = withFont(new platform::Frame(QStringLiteral("图像打印倍率%"), w.dialog));
    w.FraTimes->place(2850, 2400, 3765, 1560);
    w.txtPicTs = withFont(new platform::TextBox(QStringLiteral("100"), w.FraTimes->widget()));
    w.txtPicTs->place(1560, 480, 735, 375);
    // Left at 0 with the full default range until the opening steps set it.
    w.HScrTs = withFont(new platform::ScrollBar(Qt::Horizontal, w.FraTimes->widget()));
    w.HScrTs->place(120, 1080, 3495, 375);

    // Only a carrier of the chosen colour; it keeps the dialog's own font.
    w.LblCo = new platform::Label(QStringLiteral("color"), w.dialog);
    w.LblCo->place(150, 4200, 1065, 465);

    w.CmdOK = withFont(new platform::CommandButton(QStringLiteral("退出(&O)"), w.dialog));
    w.CmdOK->place(3600, 4200, 2340, 615);

    // Scroll bars take part in the keyboard tour like the other controls.
    w.HScrTime->widget()->setFocusPolicy(Qt::StrongFocus);
    w.HScrTs->widget()->setFocusPolicy(Qt::StrongFocus);
    const std::array<QWidget*, 11> tour{
        w.OptBackColor[0]->widget(), w.OptBackColor[1]->widget(), w.OptBackColor[2]->widget(),
        w.OptBackColor[3]->widget(), w.OptBackColor[4]->widget(), w.CmdOK->widget(),
        w.HScrTime->widget(),        w.TxtTime->widget(),         w.HScrTs->widget(),
        w.txtPicTs->widget(),        w.OptBackColor[5]->widget(),
    };
    for (std::size_t i = 1; i < tour.size(); ++i) QWidget::setTabOrder(tour[i - 1], tour[i]);
    describeForScreenReaders(w);
    return w;
}

}  // namespace settings
