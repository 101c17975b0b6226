#pragma once

#include "core/image_viewport.h"
#include "core/page_display.h"
#include "core/page_pipeline.h"
#include "core/page_turn.h"
#include "layout.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/image_control.h"
#include "platform/list_view.h"
#include "platform/picture_box.h"
#include "platform/rich_text_box.h"
#include "platform/scroll_bar.h"
#include "platform/status_bar.h"
#include "platform/timer.h"

#include <QAction>
#include <QDir>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QPrinter;
class QShortcut;

namespace settings {
class FrmChoice;
}
namespace builder {
class frmFile;
}
namespace editor {
class BookEditor;
}

namespace reader {

// The reader window: catalog on the left with the command bar, the page image in its viewport at
// the top right, the page text below it.
class frmmain : public platform::Form {
    Q_OBJECT
  public:
    // `book` is the book directory (the process's current directory in the program).
    explicit frmmain(const QDir& book, QWidget* parent = nullptr);
    ~frmmain() override;

    // What ends the program; tests replace it.
    std::function<void()> endProgram;
    // The printer dialog: true when the user chose to print. Tests replace it.
    std::function<bool(QPrinter&)> printDialog;

    // Pictures decoded ahead; tests wait on it and read its budget.
    core::PageCache& pageCache() { return pageCache_; }
    // Page turns; a page not decoded ahead is shown once its picture is decoded.
    core::PagePipeline& pipeline() { return *pipeline_; }
    // Handles events until the page last asked for is on screen; for tests.
    void waitForPage() { pipeline_->waitForPage(); }

    // Controls, named as the window design names them.
    platform::ScrollBar* VScr = nullptr;
    platform::ScrollBar* HScr = nullptr;
    platform::Timer* Timer1 = nullptr;
    platform::Frame* FraTxtCmd = nullptr;
    platform::ListView* listVW = nullptr;
    platform::Frame* FraCmdPic = nullptr;
    std::array<platform::CommandButton*, 8> CmdPic{};
    platform::PictureBox* PicPic = nullptr;
    platform::ImageControl* ImgPic = nullptr;
    std::array<platform::RichTextBox*, 2> RTBoxShow{};
    platform::StatusBar* stBar = nullptr;

    QAction* menuPicData = nullptr;
    QAction* menuTextBack = nullptr;
    QAction* menuReader = nullptr;
    QAction* menuPicFullScr = nullptr;
    QAction* menuTextLarge = nullptr;
    QAction* menuPrint = nullptr;
    QAction* menuExit = nullptr;
    QAction* menuPicLarge = nullptr;
    QAction* menuPicSmall = nullptr;
    QAction* menuAutoShow = nullptr;
    QAction* menuStopAuto = nullptr;
    QAction* menuDocItem = nullptr;
    QAction* menuEditBook = nullptr;
    QAction* menuHelp = nullptr;

    int16_t CurPage = 0;
    int16_t AutoPlayPage = 0;

    settings::FrmChoice& choice() { return *choice_; }
    builder::frmFile& catalogBuilder() { return *builder_; }
    // The book editor, made on first use.
    editor::BookEditor& bookEditor();
    core::ImageViewport& viewport() { return *viewport_; }

    // Handlers.
    void Form_Resize();
    void listVW_ItemClick(int row);
    void CmdPic_Click(int index);
    void ImgPic_Click();
    void ImgPic_DblClick();
    void Timer1_Timer();
    void menuPicLarge_Click();
    void menuPicSmall_Click();
    void menuReader_Click();
    void menuPicFullScr_Click();
    void menuTextLarge_Click();
    void menuAutoShow_Click();
    void menuStopAuto_Click();
    void menuPicData_Click();
    void menuTextBack_Click();
    void menuPrint_Click();
    void menuHelp_Click();
    void menuExit_Click();
    void menuDocItem_Click();
    void menuEditBook_Click();
    // Keys and gestures beside the menu shortcuts (see frmmain_input.cpp).
    void Form_KeyDown(int key);
    void PicPic_MouseWheel(QPoint angleDelta, QPoint pixelDelta, Qt::KeyboardModifiers modifiers);
    void ImgPic_Drag(QPointF delta);

  protected:
    // The window's size as the layout formulas read it.
    virtual WindowMetrics metrics() const;
    // Closing from the title bar ends the program like 退出(&X).
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void createMenus();
    void connectHandlers();
    void connectKeysAndGestures();
    void updatePageKeys(QWidget* focus);
    void describeControls();
    void describePicture(int16_t row);
    void Form_Load();
    // Shows `row` and, when it loads the picture, decodes ahead the pages the reader is
    // heading for.
    void showPage(int16_t row, core::Heading heading, bool loadPicture = true);
    // The steps of ShowPage have run for `row`: the catalog marks it.
    void pageShown(int16_t row);
    // Decodes ahead the pictures of the pages around `shown`, keeping the page shown.
    void decodeAhead(int16_t shown, core::Heading heading);
    void zoom(double factor);
    void startAutoPlay();
    void imageFullScreen(const WindowMetrics& metrics);
    void onEscape();
    void reloadCatalog();
    void bookEdited();
    bool showPrintDialog(QPrinter& printer);

    LayoutState layoutState() const;
    void applyLayout(const LayoutState& state);

    QDir book_;
    QColor comDialogColor_{Qt::black};
    std::unique_ptr<core::ImageViewport> viewport_;
    core::PageCache pageCache_;
    std::unique_ptr<core::PagePipeline> pipeline_;
    std::unique_ptr<settings::FrmChoice> choice_;
    std::unique_ptr<builder::frmFile> builder_;
    editor::BookEditor* editor_ = nullptr;
    // One printer for the run, so the choices made in its dialog hold for the next print.
    std::unique_ptr<QPrinter> printer_;
    // The page keys, switched off while the catalog list has the focus.
    QList<QShortcut*> pageKeys_;
    // Ctrl+wheel turns this many eighths of a degree into zoom steps of 15 degrees each.
    int wheelZoom_ = 0;
};

}  // namespace reader
