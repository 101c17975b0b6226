#include "frmmain.h"

#include "builder/frm_file.h"
#include "core/catalog_loader.h"
#include "platform/fonts.h"
#include "platform/program_title.h"
#include "settings/frm_choice.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QPrinter>
#include <QShortcut>

namespace reader {
namespace {

using platform::songti;

struct ButtonDesign {
    const char* caption;
    const char* toolTip;
    float left, top;
};

constexpr ButtonDesign kButtons[8] = {
    {"放大", "图像放大", 105, 240},      {"缩小", "图像缩小", 975, 240},
    {"连续", "自动连续播放", 105, 710},  {"暂停", "暂停自动连续播放", 975, 710},
    {"上一页", nullptr, 105, 1180},      {"下一页", nullptr, 975, 1180},
    {"满屏", "满屏显示图像", 105, 1650}, {"退出(&E)", "结束本程序", 975, 1650},
};

}  // namespace

frmmain::frmmain(const QDir& book, QWidget* parent) : platform::Form(parent), book_(book) {
    endProgram = [] { QApplication::quit(); };
    printDialog = [this](QPrinter& printer) { return showPrintDialog(printer); };
    setWindowTitle(QString::fromUtf8(platform::kProgramTitle));
    // Every size of the icon, so it stays crisp on screens with two device pixels per pixel.
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/huaben/icons/huaben-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
    platform::paintBackground(client(), QColor(255, 192, 255));

    createControls();
    createMenus();
    setClientSize(9195, 7140);
    connectHandlers();
    connectKeysAndGestures();
    describeControls();
    Form_Load();
}

// Focus moves while the controls are taken down; the page keys must not follow it then.
frmmain::~frmmain() {
    disconnect(qApp, nullptr, this, nullptr);
}

void frmmain::createControls() {
    QWidget* c = client();
    VScr = new platform::ScrollBar(Qt::Vertical, c);
    VScr->place(6000, 2850, 315, 1410);
    HScr = new platform::ScrollBar(Qt::Horizontal, c);
    HScr->place(3525, 3975, 2280, 315);
    for (platform::ScrollBar* bar : {VScr, HScr}) {
        bar->setMinimum(0);
        bar->setSmallChange(10);
        bar->setLargeChange(100);
    }
    Timer1 = new platform::Timer(this);

    FraTxtCmd = new platform::Frame(QString(), c);
    FraTxtCmd->place(120, 240, 2400, 6480);
    FraTxtCmd->setBackColor(QColor(0, 192, 0));

    listVW = new platform::ListView(FraTxtCmd->widget());
    listVW->place(75, 225, 2265, 3015);
    listVW->widget()->setFont(songti(9.75));

    FraCmdPic = new platform::Frame(QString(), FraTxtCmd->widget());
    FraCmdPic->place(225, 4200, 1935, 2175);
    FraCmdPic->setBackColor(QColor(0, 192, 0));
    for (int i = 0; i < 8; ++i) {
        const ButtonDesign& d = kButtons[i];
        CmdPic[i] = new platform::CommandButton(QString::fromUtf8(d.caption), FraCmdPic->widget());
        CmdPic[i]->place(d.left, d.top, 855, 375);
        CmdPic[i]->widget()->setFont(songti(10.5));
        if (d.toolTip) CmdPic[i]->widget()->setToolTip(QString::fromUtf8(d.toolTip));
    }

    PicPic = new platform::PictureBox(c);
    PicPic->place(2745, 240, 5310, 2085);
    PicPic->setBackColor(QColor(192, 192, 255));
    ImgPic = new platform::ImageControl(PicPic->inner());
    ImgPic->place(750, 240, 3480, 1380);

    for (int i = 0; i < 2; ++i) {
        RTBoxShow[i] = new platform::RichTextBox(c);
        RTBoxShow[i]->widget()->setFont(songti(14.25));
        RTBoxShow[i]->setBackColor(QColor(192, 255, 192));
    }
    RTBoxShow[0]->place(3300, 4350, 4515, 2295);
    RTBoxShow[1]->place(3000, 2475, 2415, 615);
    RTBoxShow[1]->setVisible(false);

    stBar = new platform::StatusBar(c);
    stBar->place(0, 6720, 9195, 420);
    stBar->widget()->setFont(songti(9));

    // The scroll bars overlap the viewport's edges; they stay on top so they can be used.
    VScr->widget()->raise();
    HScr->widget()->raise();

    // Tab order of the design: text pane, scroll bars, command buttons, catalog.
    QList<QWidget*> order = {RTBoxShow[0]->widget(), HScr->widget(), VScr->widget()};
    for (int i : {2, 1, 0, 3, 4, 5, 6, 7}) order.append(CmdPic[i]->widget());
    order.append(listVW->widget());
    for (int i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    // The keyboard starts where the tab order starts, so the page keys work at once.
    RTBoxShow[0]->widget()->setFocus();

    viewport_ = std::make_unique<core::ImageViewport>(*ImgPic, *PicPic, *HScr, *VScr);
    pipeline_ = std::make_unique<core::PagePipeline>(
        core::PageView{*listVW, *viewport_, *RTBoxShow[0], *stBar, book_, &pageCache_});
    choice_ = std::make_unique<settings::FrmChoice>(*Timer1, *PicPic, this);
    builder_ = std::make_unique<builder::frmFile>(book_, this);
}

void frmmain::connectHandlers() {
    connect(this, &platform::Form::resized, this, &frmmain::Form_Resize);
    connect(listVW, &platform::ListView::itemClicked, this, &frmmain::listVW_ItemClick);
    for (int i = 0; i < 8; ++i)
        connect(CmdPic[i], &platform::CommandButton::clicked, this, [this, i] { CmdPic_Click(i); });
    connect(ImgPic, &platform::ImageControl::clicked, this, &frmmain::ImgPic_Click);
    connect(ImgPic, &platform::ImageControl::doubleClicked, this, &frmmain::ImgPic_DblClick);
    connect(Timer1, &platform::Timer::tick, this, &frmmain::Timer1_Timer);
    connect(pipeline_.get(), &core::PagePipeline::pageApplied, this, &frmmain::pageShown);

    connect(menuPicData, &QAction::triggered, this, &frmmain::menuPicData_Click);
    connect(menuTextBack, &QAction::triggered, this, &frmmain::menuTextBack_Click);
    connect(menuReader, &QAction::triggered, this, &frmmain::menuReader_Click);
    connect(menuPicFullScr, &QAction::triggered, this, &frmmain::menuPicFullScr_Click);
    connect(menuTextLarge, &QAction::triggered, this, &frmmain::menuTextLarge_Click);
    connect(menuPrint, &QAction::triggered, this, &frmmain::menuPrint_Click);
    connect(menuExit, &QAction::triggered, this, &frmmain::menuExit_Click);
    connect(menuPicLarge, &QAction::triggered, this, &frmmain::menuPicLarge_Click);
    connect(menuPicSmall, &QAction::triggered, this, &frmmain::menuPicSmall_Click);
    connect(menuAutoShow, &QAction::triggered, this, &frmmain::menuAutoShow_Click);
    connect(menuStopAuto, &QAction::triggered, this, &frmmain::menuStopAuto_Click);
    connect(menuHelp, &QAction::triggered, this, &frmmain::menuHelp_Click);
    connect(menuDocItem, &QAction::triggered, this, &frmmain::menuDocItem_Click);
    connect(builder_.get(), &builder::frmFile::catalogSaved, this, &frmmain::reloadCatalog);
    connect(menuEditBook, &QAction::triggered, this, &frmmain::menuEditBook_Click);

    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &frmmain::onEscape);
}

// Start-up: catalog columns and rows, scroll bars and image hidden, the start-up picture and the
// help document. Each step stands on its own.
void frmmain::Form_Load() {
    core::setUpCatalogColumns(*listVW);
    // A catalog that is there but refused would look like an empty book; say why instead.
    QString problem;
    core::LoadCatalog(*listVW, book_, &problem);
    stBar->setPanelText(1, problem);
    VScr->setVisible(false);
    HScr->setVisible(false);
    ImgPic->setVisible(false);
    ImgPic->setStretch(false);
    QImageReader startup(QStringLiteral(":/huaben/startup.jpg"));
    const QImage picture = startup.read();
    if (!picture.isNull()) ImgPic->setPicture(platform::Picture(picture));
    QFile help(QStringLiteral(":/huaben/help.rtf"));
    if (help.open(QIODevice::ReadOnly)) RTBoxShow[1]->loadBytes(help.readAll());
    RTBoxShow[0]->setContentFrom(*RTBoxShow[1]);
}

void frmmain::showPage(int16_t row, core::Heading heading, bool loadPicture) {
    pipeline_->ShowPage(row, loadPicture);
    if (loadPicture) decodeAhead(row, heading);
}

void frmmain::pageShown(int16_t row) {
    // The catalog marks the page on display; the selection stays the user's.
    if (row >= 1 && row <= listVW->rowCount()) {
        listVW->setMarkedRow(row);
        describePicture(row);
    }
}

void frmmain::decodeAhead(int16_t shown, core::Heading heading) {
    pageCache_.prefetch(book_, core::picturesAround(*listVW, shown, heading, pipeline_->waiting()),
                        viewport_->devicePixels());
}

void frmmain::listVW_ItemClick(int row) {
    CurPage = core::rowOfClickedItem(*listVW, row, CurPage);
    showPage(CurPage, core::Heading::Forward);
}

// The builder has written a new catalog: the list is read again; the page on display, CurPage
// and the view mode stay as they are.
void frmmain::reloadCatalog() {
    listVW->clearRows();  // no row of the new catalog is known to be on display
    pipeline_->cancel();  // a row asked for may not be the same page any more
    pageCache_.clear();   // the files may have been replaced under the same names
    core::LoadCatalog(*listVW, book_);
}

WindowMetrics frmmain::metrics() const {
    return {outerWidth(), outerHeight(), scaleHeight(), stBar->height()};
}

}  // namespace reader
