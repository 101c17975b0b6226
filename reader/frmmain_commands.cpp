// The command bar, zoom, auto-play and the remaining menu commands of the reader window.
#include "frmmain.h"

#include "editor/book_editor.h"

#include "builder/frm_file.h"
#include "navigation.h"
#include "picture_print.h"
#include "platform/twips.h"
#include "settings/frm_choice.h"
#include "settings/interval.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace reader {

void frmmain::CmdPic_Click(int index) {
    const int pages = listVW->rowCount();
    switch (index) {
        case 0:
            menuPicLarge_Click();
            break;
        case 1:
            menuPicSmall_Click();
            break;
        case 2:
            startAutoPlay();
            break;
        case 3:
            Timer1->setInterval(0);
            break;
        case 4:
        case 5: {
            // With one page or none nothing new is loaded; the picture shown is fitted again.
            const bool turn = pages > 1;
            if (turn)
                CurPage = index == 5 ? nextPage(CurPage, pages) : previousPage(CurPage, pages);
            showPage(CurPage, index == 5 ? core::Heading::Forward : core::Heading::Backward, turn);
            break;
        }
        case 6:
            imageFullScreen(metrics());
            break;
        case 7:
            endProgram();
            return;  // no closing step
        default:
            return;
    }
    ImgPic->setVisible(true);
}

void frmmain::startAutoPlay() {
    if (listVW->rowCount() <= 1) return;
    // A text that is not a positive number the timer can take leaves auto-play as it is.
    if (const std::optional<int> ms = settings::timerIntervalFromText(choice_->TxtTimeText()))
        Timer1->setInterval(*ms);
}

void frmmain::Timer1_Timer() {
    const int pages = listVW->rowCount();
    const bool turn = pages > 1;
    if (turn) AutoPlayPage = nextPage(AutoPlayPage, pages);
    showPage(AutoPlayPage, core::Heading::AutoPlay, turn);
}

void frmmain::zoom(double factor) {
    // A step the display could not draw (or that shrinks the picture to nothing) is refused.
    const std::optional<QSizeF> size =
        zoomStep(QSizeF(ImgPic->width(), ImgPic->height()), factor, platform::twipsPerPixel());
    if (!size) return;
    ImgPic->setVisible(false);
    ImgPic->setStretch(true);
    ImgPic->setWidth(static_cast<float>(size->width()));
    ImgPic->setHeight(static_cast<float>(size->height()));
    viewport_->PlaceImage();
    ImgPic->setVisible(true);
}

void frmmain::menuPicLarge_Click() {
    zoom(kEnlargeFactor);
}

void frmmain::menuPicSmall_Click() {
    zoom(kShrinkFactor);
}

void frmmain::menuAutoShow_Click() {
    CmdPic_Click(2);
}

void frmmain::menuStopAuto_Click() {
    CmdPic_Click(3);
}

void frmmain::menuPicData_Click() {
    choice_->Show();
}

void frmmain::menuTextBack_Click() {
    // The chooser opens on the colour chosen last in this run (black before any choice);
    // cancelling it keeps the colour the pane has.
    const QColor chosen =
        QColorDialog::getColor(comDialogColor_, this, QStringLiteral("选择文本背景色："));
    if (!chosen.isValid()) return;
    comDialogColor_ = chosen;
    RTBoxShow[0]->setBackColor(chosen);
}

// Any failure ends the command without a message. The dialog comes first, so a cancel prints
// and writes nothing; the picture is the one on display when the command was chosen.
void frmmain::menuPrint_Click() {
    const platform::Picture picture = ImgPic->picture();
    if (picture.isNull()) return;
    const int scale = choice_->HScrTsValue();
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!printDialog || !printDialog(*printer_)) return;
    // Printed from every pixel of the file, not the ones decoded for the screen.
    printPicture(*printer_, picture.fullResolution(), scale);
}

bool frmmain::showPrintDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("打印图像："));
    return dialog.exec() == QDialog::Accepted;
}

void frmmain::menuHelp_Click() {
    Timer1->setInterval(0);
    pipeline_->cancel();  // a page still decoding must not cover the help
    CurPage = 1;
    RTBoxShow[0]->setContentFrom(*RTBoxShow[1]);
    menuTextLarge_Click();
}

editor::BookEditor& frmmain::bookEditor() {
    if (!editor_) {
        editor_ = new editor::BookEditor(book_, this);
        // A saved book is read again at once, as after the builder; a catalog the builder wrote
        // reaches an editor without unsaved edits.
        connect(editor_, &editor::BookEditor::saved, this, &frmmain::bookEdited);
        connect(builder_.get(), &builder::frmFile::catalogSaved, editor_,
                &editor::BookEditor::reloadIfClean);
    }
    return *editor_;
}

// The editor saved the book: the catalog is read again, and the page on display is shown again
// where it now stands, its text as it was just saved; a page taken out leaves the display as it
// is. The view mode stays.
void frmmain::bookEdited() {
    const QString shown = CurPage >= 1 ? core::pageImageFile(*listVW, CurPage) : QString();
    const QString shownText = CurPage >= 1 ? core::pageTextFile(*listVW, CurPage) : QString();
    reloadCatalog();
    if (shown.isEmpty()) return;
    int16_t found = 0;
    for (int row = 1; row <= listVW->rowCount() && !found; ++row)
        if (core::pageImageFile(*listVW, row) == shown &&
            (found == 0 || core::pageTextFile(*listVW, row) == shownText))
            found = static_cast<int16_t>(row);
    if (!found) return;
    CurPage = found;
    showPage(CurPage, core::Heading::Forward);
}

void frmmain::menuEditBook_Click() {
    bookEditor().open();
}

void frmmain::menuDocItem_Click() {
    builder_->Show();
}

void frmmain::menuExit_Click() {
    endProgram();
}

// Every secondary window belongs to the run, not to the reader: ending the program takes them
// all, shown or hidden, so none keeps the process alive.
void frmmain::closeEvent(QCloseEvent* event) {
    event->accept();
    menuExit_Click();
}

}  // namespace reader
