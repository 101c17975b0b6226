// Every way a person drives the reader, through the real wiring: a key, a menu action, a click on
// a button or the picture, a catalog row, a timer tick, a scroll, a resize. Each case checks what
// the person sees afterwards, so a handler wired to the wrong signal (or to none) fails here.
#include "builder/frm_file.h"
#include "platform/twips.h"
#include "reader_fixture.h"
#include "settings/frm_choice.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

#include <functional>

namespace {

using reader::frmmain;

class Wiring;
using Step = std::function<void(Wiring&)>;
using Check = void (*)(Wiring&);

struct WiringCase {
    const char* name;
    Mode mode;
    Step input;
    Check effect;
    Step before = nullptr;
};

void PrintTo(const WiringCase& c, std::ostream* os) {
    *os << c.name;
}

class Wiring : public ReaderTest, public ::testing::WithParamInterface<WiringCase> {
  public:
    QTemporaryDir out;
    float width0 = 0;  // the picture's width before the input
    QString printed() const { return out.filePath(QStringLiteral("page.pdf")); }

    bool shown(const platform::Control* c) const { return c->widget()->isVisible(); }
    bool split() const { return shown(w->FraTxtCmd) && shown(w->PicPic) && shown(w->RTBoxShow[0]); }
    bool full() const {
        return !shown(w->FraTxtCmd) && !shown(w->RTBoxShow[0]) && shown(w->PicPic) &&
               w->PicPic->left() == 50;
    }
    bool text() const {
        return shown(w->FraTxtCmd) && !shown(w->PicPic) && w->RTBoxShow[0]->top() == 50;
    }
    // The page on display is marked bold in the catalog, and the picture is named by its title.
    void expectOnDisplay(int row, bool selectionUntouched = true) const {
        EXPECT_EQ(status(3), QString::number(row));
        EXPECT_EQ(w->listVW->markedRow(), row);
        const QTreeView* tree = w->listVW->tree();
        const QAbstractItemModel* rows = tree->model();
        for (int r = 0; r < rows->rowCount(); ++r)
            EXPECT_EQ(rows->index(r, 1).data(Qt::FontRole).value<QFont>().bold(), r + 1 == row)
                << "row " << r + 1;
        if (selectionUntouched) {
            EXPECT_FALSE(tree->selectionModel()->hasSelection());
        }
        EXPECT_EQ(w->ImgPic->widget()->accessibleName(), status(2));
        // The picture keeps its file name whatever screen readers are told about it.
        const QString file = w->listVW->text(row, 3);
        EXPECT_EQ(w->ImgPic->name(), file);
        EXPECT_EQ(w->ImgPic->widget()->accessibleDescription(),
                  QStringLiteral("第%1页的图像：%2").arg(row).arg(file));
    }
};

// Inputs.
Step menu(QAction* frmmain::*item) {
    return [item](Wiring& t) { (t.w.get()->*item)->trigger(); };
}
Step key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    // A key goes where the keyboard focus is, as a person's does.
    return [k, mods](Wiring& t) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : t.w.get(), Qt::Key(k), mods);
    };
}
Step wheel(int degreesEighths, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    return [degreesEighths, mods](Wiring& t) {
        QWidget* picture = t.w->ImgPic->widget();
        const QPointF at = QRectF(picture->rect()).center();
        QWheelEvent event(at, picture->mapToGlobal(at), QPoint(), QPoint(0, degreesEighths),
                          Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(picture, &event);
    };
}
// Press on the picture, move 60 pixels left and 40 up in small steps, release.
void drag(Wiring& t) {
    QWidget* picture = t.w->ImgPic->widget();
    const QPointF start = picture->mapToGlobal(QRectF(picture->rect()).center());
    const auto send = [picture](QEvent::Type type, QPointF global, Qt::MouseButtons buttons) {
        const QPointF local = picture->mapFromGlobal(global);
        QMouseEvent event(type, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(picture, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    for (int step = 1; step <= 10; ++step)
        send(QEvent::MouseMove, start - QPointF(6 * step, 4 * step), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start - QPointF(60, 40), Qt::NoButton);
}
Step button(int i) {
    return [i](Wiring& t) { QTest::mouseClick(t.w->CmdPic[i]->widget(), Qt::LeftButton); };
}
// An access key presses its button with a short animated click.
Step accessKey(int k) {
    return [k](Wiring& t) {
        QTest::keyClick(t.w.get(), Qt::Key(k), Qt::AltModifier);
        (void)QTest::qWaitFor([&t] { return t.w->endCalls > 0; }, 1000);
    };
}
const Step clickPicture = [](Wiring& t) {
    QTest::mouseClick(t.w->ImgPic->widget(), Qt::LeftButton);
};
const Step doubleClickPicture = [](Wiring& t) {
    QTest::mouseDClick(t.w->ImgPic->widget(), Qt::LeftButton);
};
void clickSecondRow(Wiring& t) {
    QTreeView* tree = t.w->listVW->tree();
    const QRect row = tree->visualRect(tree->model()->index(1, 0));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, row.center());
}
void oneTick(Wiring& t) {
    t.w->Timer1->setInterval(10);
    // One tick; its page may still be decoding when the timer is stopped.
    (void)QTest::qWaitFor([&t] { return t.w->AutoPlayPage != 0; }, 2000);
    t.w->Timer1->setInterval(0);
}
const Step scrollStep = [](Wiring& t) {
    t.w->HScr->bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
};

// What is there before the input.
const Step playing = [](Wiring& t) { t.w->CmdPic_Click(2); };
void zoomed(Wiring& t) {
    t.w->menuPicLarge_Click();
    t.w->menuPicLarge_Click();
}
// The chooser is modal: it is answered as soon as it shows.
void colourChooserAnswered(Wiring&) {
    QTimer::singleShot(0, qApp, [] {
        if (auto* d = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
            d->setCurrentColor(Qt::yellow);
            d->accept();
        }
    });
}
const Step textFocused = [](Wiring& t) { t.w->RTBoxShow[0]->widget()->setFocus(); };
const Step catalogFocused = [](Wiring& t) { t.w->listVW->widget()->setFocus(); };
const Step buttonFocused = [](Wiring& t) { t.w->CmdPic[6]->widget()->setFocus(); };

// What the person sees afterwards.
const Check kSplit = [](Wiring& t) { EXPECT_TRUE(t.split()); };
const Check kFullScreen = [](Wiring& t) { EXPECT_TRUE(t.full()); };
const Check kTextMaximised = [](Wiring& t) { EXPECT_TRUE(t.text()); };
const Check kHelp = [](Wiring& t) {
    EXPECT_TRUE(t.text());
    EXPECT_EQ(t.w->CurPage, 1);
    EXPECT_EQ(t.w->RTBoxShow[0]->plainText(), t.w->RTBoxShow[1]->plainText());
    EXPECT_EQ(t.w->Timer1->interval(), 0);
};
const Check kEnlarged = [](Wiring& t) { EXPECT_NEAR(t.w->ImgPic->width(), t.width0 * 1.2, 0.1); };
const Check kShrunk = [](Wiring& t) { EXPECT_NEAR(t.w->ImgPic->width(), t.width0 * 0.8, 0.1); };
const Check kPlaying = [](Wiring& t) { EXPECT_EQ(t.w->Timer1->interval(), 1000); };
const Check kPaused = [](Wiring& t) { EXPECT_EQ(t.w->Timer1->interval(), 0); };
const Check kEnded = [](Wiring& t) { EXPECT_EQ(t.w->endCalls, 1); };
const Check kSettingsShown = [](Wiring& t) {
    EXPECT_EQ(t.w->choice().state(), settings::FrmChoice::State::Shown);
    EXPECT_TRUE(t.w->choice().widgets()->dialog->isVisible());
};
const Check kBuilderShown = [](Wiring& t) {
    EXPECT_EQ(t.w->catalogBuilder().state(), builder::frmFile::State::Shown);
    EXPECT_TRUE(t.w->catalogBuilder().widgets()->dialog->isVisible());
    EXPECT_TRUE(t.w->isEnabled()) << "the reader stays usable";
};
const Check kTextColour = [](Wiring& t) {
    EXPECT_EQ(t.w->RTBoxShow[0]->backColor(), QColor(Qt::yellow));
};
const Check kPrinted = [](Wiring& t) { EXPECT_GT(QFileInfo(t.printed()).size(), 0); };
const Check kFirstPage = [](Wiring& t) { t.expectOnDisplay(1); };
const Check kLastPage = [](Wiring& t) { t.expectOnDisplay(3); };
const Check kSecondPage = [](Wiring& t) {
    EXPECT_EQ(t.status(2), "p2");
    EXPECT_EQ(t.w->ImgPic->picture().image().size(), QSize(40, 80));
    EXPECT_EQ(t.w->RTBoxShow[0]->plainText(), "text of p2.txt");
    t.expectOnDisplay(2, false);  // the click itself selects the row
};
const Check kAutoPlayed = [](Wiring& t) {
    EXPECT_EQ(t.w->CurPage, 0);  // auto-play keeps its own count
    t.expectOnDisplay(1);
};
const Check kNotTurned = [](Wiring& t) {
    EXPECT_EQ(t.w->CurPage, 0);
    EXPECT_EQ(t.status(3), "");
    EXPECT_EQ(t.w->listVW->markedRow(), 0);
};
const Check kScrolled = [](Wiring& t) { EXPECT_FLOAT_EQ(t.w->ImgPic->left(), -10); };
const Check kWheelScrolled = [](Wiring& t) {
    EXPECT_GT(t.w->VScr->value(), 0) << "the scroll bar follows";
    EXPECT_FLOAT_EQ(t.w->ImgPic->top(), -t.w->VScr->value());
};
const Check kDragged = [](Wiring& t) {
    EXPECT_TRUE(t.split()) << "a drag is not a click";
    EXPECT_NEAR(t.w->HScr->value(), 60 * platform::twipsPerPixel(), 1);
    EXPECT_NEAR(t.w->VScr->value(), 40 * platform::twipsPerPixel(), 1);
    EXPECT_FLOAT_EQ(t.w->ImgPic->left(), -t.w->HScr->value());
};

const WiringCase kCases[] = {
    // The menu items, chosen.
    {"menuPicData", Mode::Split, menu(&frmmain::menuPicData), kSettingsShown},
    {"menuTextBack", Mode::Split, menu(&frmmain::menuTextBack), kTextColour, colourChooserAnswered},
    {"menuReader", Mode::FullScreen, menu(&frmmain::menuReader), kSplit},
    {"menuPicFullScr", Mode::Split, menu(&frmmain::menuPicFullScr), kFullScreen},
    {"menuTextLarge", Mode::Split, menu(&frmmain::menuTextLarge), kTextMaximised},
    {"menuPrint", Mode::Split, menu(&frmmain::menuPrint), kPrinted},
    {"menuExit", Mode::Split, menu(&frmmain::menuExit), kEnded},
    {"menuPicLarge", Mode::Split, menu(&frmmain::menuPicLarge), kEnlarged},
    {"menuPicSmall", Mode::Split, menu(&frmmain::menuPicSmall), kShrunk},
    {"menuAutoShow", Mode::Split, menu(&frmmain::menuAutoShow), kPlaying},
    {"menuStopAuto", Mode::Split, menu(&frmmain::menuStopAuto), kPaused, playing},
    {"menuHelp", Mode::FullScreen, menu(&frmmain::menuHelp), kHelp, playing},
    {"menuDocItem", Mode::Split, menu(&frmmain::menuDocItem), kBuilderShown},
    // The shortcuts, pressed where the catalog and the command bar are hidden.
    {"F1", Mode::FullScreen, key(Qt::Key_F1), kSplit},
    {"F2", Mode::TextMaximised, key(Qt::Key_F2), kFullScreen},
    {"F3", Mode::FullScreen, key(Qt::Key_F3), kTextMaximised},
    {"F5", Mode::FullScreen, key(Qt::Key_F5), kEnlarged},
    {"F6", Mode::FullScreen, key(Qt::Key_F6), kShrunk},
    {"F7", Mode::FullScreen, key(Qt::Key_F7), kPlaying},
    {"F8", Mode::FullScreen, key(Qt::Key_F8), kPaused, playing},
    {"CtrlP", Mode::FullScreen, key(Qt::Key_P, Qt::ControlModifier), kSettingsShown},
    {"CtrlT", Mode::FullScreen, key(Qt::Key_T, Qt::ControlModifier), kTextColour,
     colourChooserAnswered},
    {"EscInSplit", Mode::Split, key(Qt::Key_Escape), kEnded},
    {"EscInFullScreen", Mode::FullScreen, key(Qt::Key_Escape), kSplit},
    {"AltE", Mode::Split, accessKey(Qt::Key_E), kEnded},
    {"AltH", Mode::Split, key(Qt::Key_H, Qt::AltModifier), kHelp},
    // The eight command buttons, clicked.
    {"CmdPic0", Mode::Split, button(0), kEnlarged},
    {"CmdPic1", Mode::Split, button(1), kShrunk},
    {"CmdPic2", Mode::Split, button(2), kPlaying},
    {"CmdPic3", Mode::Split, button(3), kPaused, playing},
    {"CmdPic4", Mode::Split, button(4), kLastPage},
    {"CmdPic5", Mode::Split, button(5), kFirstPage},
    {"CmdPic6", Mode::Split, button(6), kFullScreen},
    {"CmdPic7", Mode::Split, button(7), kEnded},
    // The picture, the catalog, the timer and a scroll bar; the window's border is the real
    // window's test.
    {"PictureClick", Mode::Split, clickPicture, kFullScreen},
    {"PictureDoubleClick", Mode::FullScreen, doubleClickPicture, kSplit},
    {"CatalogRow", Mode::Split, clickSecondRow, kSecondPage},
    {"TimerTick", Mode::Split, oneTick, kAutoPlayed},
    {"ScrollBar", Mode::Split, scrollStep, kScrolled, zoomed},
    // Keys beside the design's own: turning pages wherever the catalog does not have the focus.
    {"PageDown", Mode::Split, key(Qt::Key_PageDown), kFirstPage, textFocused},
    {"Space", Mode::Split, key(Qt::Key_Space), kFirstPage, textFocused},
    {"Right", Mode::Split, key(Qt::Key_Right), kFirstPage, textFocused},
    {"PageUp", Mode::Split, key(Qt::Key_PageUp), kLastPage, textFocused},
    {"Backspace", Mode::Split, key(Qt::Key_Backspace), kLastPage, textFocused},
    {"Left", Mode::Split, key(Qt::Key_Left), kLastPage, textFocused},
    {"Home", Mode::Split, key(Qt::Key_Home), kFirstPage, textFocused},
    {"End", Mode::Split, key(Qt::Key_End), kLastPage, textFocused},
    {"PageDownInFullScreen", Mode::FullScreen, key(Qt::Key_PageDown), kFirstPage},
    {"EndInTextMaximised", Mode::TextMaximised, key(Qt::Key_End), kLastPage, textFocused},
    {"PageDownInCatalog", Mode::Split, key(Qt::Key_PageDown), kNotTurned, catalogFocused},
    {"SpaceOnButton", Mode::Split, key(Qt::Key_Space), kFullScreen, buttonFocused},
    // The wheel and the hand on the picture.
    {"CtrlWheelUp", Mode::Split, wheel(120, Qt::ControlModifier), kEnlarged},
    {"CtrlWheelDown", Mode::Split, wheel(-120, Qt::ControlModifier), kShrunk},
    {"Wheel", Mode::Split, wheel(-120), kWheelScrolled, zoomed},
    {"DragPicture", Mode::Split, drag, kDragged, zoomed},
};

TEST_P(Wiring, ReachesItsCommand) {
    const WiringCase& c = GetParam();
    openShown(kThree);
    w->printDialog = [this](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed());
        return true;
    };
    enterMode(*w, c.mode);
    if (c.before) c.before(*this);
    width0 = w->ImgPic->width();
    c.input(*this);
    w->waitForPage();
    c.effect(*this);
    if (c.effect != kEnded) {
        EXPECT_EQ(w->endCalls, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Reader, Wiring, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<WiringCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
