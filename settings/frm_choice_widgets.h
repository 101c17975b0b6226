#pragma once

#include "platform/controls.h"
#include "platform/scroll_bar.h"

#include <QColor>
#include <QDialog>

#include <array>

namespace settings {

// One of the image background colours offered by the dialog.
struct BackColorChoice {
    const char* caption;  // UTF-8
    int red, green, blue;
    bool whiteCaption;  // a dark strip needs a light caption
    float top;          // twips inside the colour frame

    QColor color() const { return QColor(red, green, blue); }
};

inline constexpr std::array<BackColorChoice, 6> kBackColors{{
    {"浅兰", 192, 192, 255, false, 300},
    {"红色", 255, 0, 0, false, 840},
    {"黄色", 255, 255, 0, false, 1380},
    {"绿色", 0, 255, 0, false, 1920},
    {"白色", 255, 255, 255, false, 2460},
    {"黑色", 0, 0, 0, true, 3000},
}};

// The live control tree of the dialog. Every control belongs to `dialog`, so deleting the
// dialog takes all of them.
struct FrmChoiceWidgets {
    QDialog* dialog = nullptr;
    platform::Frame* FraBackColor = nullptr;
    std::array<platform::OptionButton*, kBackColors.size()> OptBackColor{};
    platform::Frame* FraAuto = nullptr;
    platform::TextBox* TxtTime = nullptr;
    platform::ScrollBar* HScrTime = nullptr;
    platform::Frame* FraTimes = nullptr;
    platform::TextBox* txtPicTs = nullptr;
    platform::ScrollBar* HScrTs = nullptr;
    platform::Label* LblCo = nullptr;
    platform::CommandButton* CmdOK = nullptr;
};

// Builds the dialog as designed (captions, geometry, fonts, colours, tab order, the controls'
// initial values), hidden and centred on the screen. No handlers are attached.
FrmChoiceWidgets createFrmChoiceWidgets(QWidget* owner);

}  // namespace settings
