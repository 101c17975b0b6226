#pragma once

#include "frm_choice_widgets.h"

#include "platform/dialog_lifecycle.h"
#include "platform/picture_box.h"
#include "platform/timer.h"

#include <QObject>
#include <QString>

#include <optional>

namespace settings {

// The image settings dialog: slide interval, print scale and image background colour. The object
// lives for the whole run; its widgets exist only while it is open (or created hidden by a read),
// and the two public values outlive them.
class FrmChoice : public QObject {
    Q_OBJECT
  public:
    // timer1: the reader's auto-play timer; picPic: the reader's image viewport; owner: the
    // reader window, parent of the dialog widget.
    FrmChoice(platform::Timer& timer1, platform::PictureBox& picPic, QWidget* owner);
    ~FrmChoice() override;

    FrmChoice(const FrmChoice&) = delete;
    FrmChoice& operator=(const FrmChoice&) = delete;

    float SngMSec = 0;   // interval bar position after its last change, ms
    float SngPicTs = 0;  // scale bar position after its last change or drag, percent

    // Menu 图像设置: opens the dialog, or brings it forward when it is already open.
    void Show();
    // The seconds text auto-play reads; a closed dialog is first created hidden.
    QString TxtTimeText();
    // The print scale in percent; a closed dialog is first created hidden.
    int HScrTsValue();

    using State = platform::DialogLifecycle::State;
    State state() const { return lifecycle_.state(); }

    // The live controls, or nullptr while the dialog is closed.
    const FrmChoiceWidgets* widgets() const { return w_ ? &*w_ : nullptr; }

  private:
    QDialog* load();
    void Form_Load();
    void HScrTime_Change();
    void HScrTime_Scroll();
    void HScrTs_Change();
    void HScrTs_Scroll();
    void OptBackColor_Click(int index);
    void CmdOK_Click();

    platform::Timer& timer1_;
    platform::PictureBox& picPic_;
    QWidget* owner_;
    std::optional<FrmChoiceWidgets> w_;
    platform::DialogLifecycle lifecycle_;
};

}  // namespace settings
