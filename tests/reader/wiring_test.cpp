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

enum class Before {
    Nothing,
    Playing,
    Zoomed,
    ColourChooserAnswered,
    TextFocused,
    CatalogFocused,
    ButtonFocused
};
enum class Effect {
    Split,
    FullScreen,
    TextMaximised,
    Help,
    Enlarged,
    Shrunk,
    Playing,
    Paused,
    Ended,
    SettingsShown,
    BuilderShown,
    TextColour,
    Printed,
    LastPage,
    FirstPage,
    SecondPage,
    AutoPlayed,
    Scrolled,
    Resized,
    NotTurned,
    WheelScrolled,
    Dragged
};

class Wiring;
using Input = std::function<void(Wiring&)>;

struct WiringCase {
    const char* name;
    Mode mode;
    Input input;
    Effect effect;
    Before before = Before::Nothing;
};

void PrintTo(const WiringCase& c, std::ostream* os) {
    *os << c.name;
}

class Wiring : public ReaderTest, public ::testing::WithParamInterface<WiringCase> {
  public:
    QTemporaryDir out;
    QString printed() const { return out.filePath(QStringLiteral("page.pdf")); }

    bool shown(const platform::Control* c) const { return c->widget()->isVisible(); }
    void expect(Effect effect, float width0) const;
    // The page on display is marked bold in the catalog, and the picture is named by its title.
    void expectOnDisplay(int row, bool selectionUntouched = true) const {
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

Input menu(QAction* frmmain::*item) {
    return [item](Wiring& t) { (t.w.get()->*item)->trigger(); };
}
Input key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    // A key goes where the keyboard focus is, as a person's does.
    return [k, mods](Wiring& t) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : t.w.get(), Qt::Key(k), mods);
    };
}
Input wheel(int degreesEighths, Qt::KeyboardModifiers mods = Qt::NoModifier) {
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
Input button(int i) {
    return [i](Wiring& t) { QTest::mouseClick(t.w->CmdPic[i]->widget(), Qt::LeftButton); };
}
// An access key presses its button with a short animated click.
Input accessKey(int k) {
    return [k](Wiring& t) {
        QTest::keyClick(t.w.get(), Qt::Key(k), Qt::AltModifier);
        (void)QTest::qWaitFor([&t] { return t.w->endCalls > 0; }, 1000);
    };
}

void Wiring::expect(Effect effect, float width0) const {
    const bool split = shown(w->FraTxtCmd) && shown(w->PicPic) && shown(w->RTBoxShow[0]);
    const bool full = !shown(w->FraTxtCmd) && !shown(w->RTBoxShow[0]) && shown(w->PicPic) &&
                      w->PicPic->left() == 50;
    const bool text = shown(w->FraTxtCmd) && !shown(w->PicPic) && w->RTBoxShow[0]->top() == 50;
    switch (effect) {
        case Effect::Split:
            EXPECT_TRUE(split);
            break;
        case Effect::FullScreen:
            EXPECT_TRUE(full);
            break;
        case Effect::TextMaximised:
            EXPECT_TRUE(text);
            break;
        case Effect::Help:
            EXPECT_TRUE(text);
            EXPECT_EQ(w->CurPage, 1);
            EXPECT_EQ(w->RTBoxShow[0]->plainText(), w->RTBoxShow[1]->plainText());
            break;
        case Effect::Enlarged:
            EXPECT_NEAR(w->ImgPic->width(), width0 * 1.2, 0.1);
            break;
        case Effect::Shrunk:
            EXPECT_NEAR(w->ImgPic->width(), width0 * 0.8, 0.1);
            break;
        case Effect::Playing:
            EXPECT_EQ(w->Timer1->interval(), 1000);
            break;
        case Effect::Paused:
            EXPECT_EQ(w->Timer1->interval(), 0);
            break;
        case Effect::Ended:
            EXPECT_EQ(w->endCalls, 1);
            break;
        case Effect::SettingsShown:
            EXPECT_EQ(w->choice().state(), settings::FrmChoice::State::Shown);
            EXPECT_TRUE(w->choice().widgets()->dialog->isVisible());
            break;
        case Effect::BuilderShown:
            EXPECT_EQ(w->catalogBuilder().state(), builder::frmFile::State::Shown);
            EXPECT_TRUE(w->catalogBuilder().widgets()->dialog->isVisible());
            EXPECT_TRUE(w->isEnabled()) << "the reader stays usable";
            break;
        case Effect::TextColour:
            EXPECT_EQ(w->RTBoxShow[0]->backColor(), QColor(Qt::yellow));
            break;
        case Effect::Printed:
            EXPECT_GT(QFileInfo(printed()).size(), 0);
            break;
        case Effect::LastPage:
            EXPECT_EQ(status(3), "3");
            expectOnDisplay(3);
            break;
        case Effect::FirstPage:
            EXPECT_EQ(status(3), "1");
            expectOnDisplay(1);
            break;
        case Effect::NotTurned:
            EXPECT_EQ(w->CurPage, 0);
            EXPECT_EQ(status(3), "");
            EXPECT_EQ(w->listVW->markedRow(), 0);
            break;
        case Effect::WheelScrolled:
            EXPECT_GT(w->VScr->value(), 0) << "the scroll bar follows";
            EXPECT_FLOAT_EQ(w->ImgPic->top(), -w->VScr->value());
            break;
        case Effect::Dragged:
            EXPECT_TRUE(split) << "a drag is not a click";
            EXPECT_NEAR(w->HScr->value(), 60 * platform::twipsPerPixel(), 1);
            EXPECT_NEAR(w->VScr->value(), 40 * platform::twipsPerPixel(), 1);
            EXPECT_FLOAT_EQ(w->ImgPic->left(), -w->HScr->value());
            break;
        case Effect::SecondPage:
            EXPECT_EQ(status(2), "p2");
            EXPECT_EQ(status(3), "2");
            EXPECT_EQ(w->ImgPic->picture().image().size(), QSize(40, 80));
            EXPECT_EQ(w->RTBoxShow[0]->plainText(), "text of p2.txt");
            expectOnDisplay(2, false);  // the click itself selects the row
            break;
        case Effect::AutoPlayed:
            EXPECT_EQ(status(3), "1");
            EXPECT_EQ(w->CurPage, 0);  // auto-play keeps its own count
            expectOnDisplay(1);
            break;
        case Effect::Scrolled:
            EXPECT_FLOAT_EQ(w->ImgPic->left(), -10);
            break;
        case Effect::Resized:
            EXPECT_FLOAT_EQ(w->PicPic->width(), 12315 - 2400 - 600);
            break;
    }
    if (effect != Effect::Ended) {
        EXPECT_EQ(w->endCalls, 0);
    }
}

const WiringCase kCases[] = {
    // The menu items, chosen.
    {"menuPicData", Mode::Split, menu(&frmmain::menuPicData), Effect::SettingsShown},
    {"menuTextBack", Mode::Split, menu(&frmmain::menuTextBack), Effect::TextColour,
     Before::ColourChooserAnswered},
    {"menuReader", Mode::FullScreen, menu(&frmmain::menuReader), Effect::Split},
    {"menuPicFullScr", Mode::Split, menu(&frmmain::menuPicFullScr), Effect::FullScreen},
    {"menuTextLarge", Mode::Split, menu(&frmmain::menuTextLarge), Effect::TextMaximised},
    {"menuPrint", Mode::Split, menu(&frmmain::menuPrint), Effect::Printed},
    {"menuExit", Mode::Split, menu(&frmmain::menuExit), Effect::Ended},
    {"menuPicLarge", Mode::Split, menu(&frmmain::menuPicLarge), Effect::Enlarged},
    {"menuPicSmall", Mode::Split, menu(&frmmain::menuPicSmall), Effect::Shrunk},
    {"menuAutoShow", Mode::Split, menu(&frmmain::menuAutoShow), Effect::Playing},
    {"menuStopAuto", Mode::Split, menu(&frmmain::menuStopAuto), Effect::Paused, Before::Playing},
    {"menuHelp", Mode::FullScreen, menu(&frmmain::menuHelp), Effect::Help},
    {"menuDocItem", Mode::Split, menu(&frmmain::menuDocItem), Effect::BuilderShown},
    // The shortcuts, pressed where the catalog and the command bar are hidden.
    {"F1", Mode::FullScreen, key(Qt::Key_F1), Effect::Split},
    {"F2", Mode::TextMaximised, key(Qt::Key_F2), Effect::FullScreen},
    {"F3", Mode::FullScreen, key(Qt::Key_F3), Effect::TextMaximised},
    {"F5", Mode::FullScreen, key(Qt::Key_F5), Effect::Enlarged},
    {"F6", Mode::FullScreen, key(Qt::Key_F6), Effect::Shrunk},
    {"F7", Mode::FullScreen, key(Qt::Key_F7), Effect::Playing},
    {"F8", Mode::FullScreen, key(Qt::Key_F8), Effect::Paused, Before::Playing},
    {"CtrlP", Mode::FullScreen, key(Qt::Key_P, Qt::ControlModifier), Effect::SettingsShown},
    {"CtrlT", Mode::FullScreen, key(Qt::Key_T, Qt::ControlModifier), Effect::TextColour,
     Before::ColourChooserAnswered},
    {"EscInSplit", Mode::Split, key(Qt::Key_Escape), Effect::Ended},
    {"EscInFullScreen", Mode::FullScreen, key(Qt::Key_Escape), Effect::Split},
    {"AltE", Mode::Split, accessKey(Qt::Key_E), Effect::Ended},
    {"AltH", Mode::Split, key(Qt::Key_H, Qt::AltModifier), Effect::Help},
    // The eight command buttons, clicked.
    {"CmdPic0", Mode::Split, button(0), Effect::Enlarged},
    {"CmdPic1", Mode::Split, button(1), Effect::Shrunk},
    {"CmdPic2", Mode::Split, button(2), Effect::Playing},
    {"CmdPic3", Mode::Split, button(3), Effect::Paused, Before::Playing},
    {"CmdPic4", Mode::Split, button(4), Effect::LastPage},
    {"CmdPic5", Mode::Split, button(5), Effect::FirstPage},
    {"CmdPic6", Mode::Split, button(6), Effect::FullScreen},
    {"CmdPic7", Mode::Split, button(7), Effect::Ended},
    // The picture, the catalog, the timer, a scroll bar and the window's border.
    {"PictureClick", Mode::Split,
     [](Wiring& t) { QTest::mouseClick(t.w->ImgPic->widget(), Qt::LeftButton); },
     Effect::FullScreen},
    {"PictureDoubleClick", Mode::FullScreen,
     [](Wiring& t) { QTest::mouseDClick(t.w->ImgPic->widget(), Qt::LeftButton); }, Effect::Split},
    {"CatalogRow", Mode::Split,
     [](Wiring& t) {
         QTreeView* tree = t.w->listVW->tree();
         const QRect row = tree->visualRect(tree->model()->index(1, 0));
         QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, row.center());
     },
     Effect::SecondPage},
    {"TimerTick", Mode::Split,
     [](Wiring& t) {
         t.w->Timer1->setInterval(10);
         // One tick; its page may still be decoding when the timer is stopped.
         (void)QTest::qWaitFor([&t] { return t.w->AutoPlayPage != 0; }, 2000);
         t.w->Timer1->setInterval(0);
     },
     Effect::AutoPlayed},
    {"ScrollBar", Mode::Split,
     [](Wiring& t) { t.w->HScr->bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); },
     Effect::Scrolled, Before::Zoomed},
    {"WindowResize", Mode::Split,
     [](Wiring& t) {
         t.w->m = {12315, 9830, 9140, 420};
         t.w->resize(t.w->width() + 200, t.w->height() + 130);
         (void)QTest::qWaitFor([&t] { return t.w->PicPic->width() != 6315; }, 2000);
     },
     Effect::Resized},
    // Keys beside the design's own: turning pages wherever the catalog does not have the focus.
    {"PageDown", Mode::Split, key(Qt::Key_PageDown), Effect::FirstPage, Before::TextFocused},
    {"Space", Mode::Split, key(Qt::Key_Space), Effect::FirstPage, Before::TextFocused},
    {"Right", Mode::Split, key(Qt::Key_Right), Effect::FirstPage, Before::TextFocused},
    {"PageUp", Mode::Split, key(Qt::Key_PageUp), Effect::LastPage, Before::TextFocused},
    {"Backspace", Mode::Split, key(Qt::Key_Backspace), Effect::LastPage, Before::TextFocused},
    {"Left", Mode::Split, key(Qt::Key_Left), Effect::LastPage, Before::TextFocused},
    {"Home", Mode::Split, key(Qt::Key_Home), Effect::FirstPage, Before::TextFocused},
    {"End", Mode::Split, key(Qt::Key_End), Effect::LastPage, Before::TextFocused},
    {"PageDownInFullScreen", Mode::FullScreen, key(Qt::Key_PageDown), Effect::FirstPage},
    {"EndInTextMaximised", Mode::TextMaximised, key(Qt::Key_End), Effect::LastPage,
     Before::TextFocused},
    {"PageDownInCatalog", Mode::Split, key(Qt::Key_PageDown), Effect::NotTurned,
     Before::CatalogFocused},
    {"SpaceOnButton", Mode::Split, key(Qt::Key_Space), Effect::FullScreen, Before::ButtonFocused},
    // The wheel and the hand on the picture.
    {"CtrlWheelUp", Mode::Split, wheel(120, Qt::ControlModifier), Effect::Enlarged},
    {"CtrlWheelDown", Mode::Split, wheel(-120, Qt::ControlModifier), Effect::Shrunk},
    {"Wheel", Mode::Split, wheel(-120), Effect::WheelScrolled, Before::Zoomed},
    {"DragPicture", Mode::Split, drag, Effect::Dragged, Before::Zoomed},
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
    switch (c.before) {
        case Before::Nothing:
            break;
        case Before::Playing:
            w->CmdPic_Click(2);
            break;
        case Before::Zoomed:
            w->menuPicLarge_Click();
            w->menuPicLarge_Click();
            break;
        case Before::ColourChooserAnswered:
            // The chooser is modal: it is answered as soon as it shows.
            QTimer::singleShot(0, qApp, [] {
                if (auto* d = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
                    d->setCurrentColor(Qt::yellow);
                    d->accept();
                }
            });
            break;
        case Before::TextFocused:
            w->RTBoxShow[0]->widget()->setFocus();
            break;
        case Before::CatalogFocused:
            w->listVW->widget()->setFocus();
            break;
        case Before::ButtonFocused:
            w->CmdPic[6]->widget()->setFocus();
            break;
    }
    const float width0 = w->ImgPic->width();
    c.input(*this);
    w->waitForPage();
    expect(c.effect, width0);
}

INSTANTIATE_TEST_SUITE_P(Reader, Wiring, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<WiringCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
