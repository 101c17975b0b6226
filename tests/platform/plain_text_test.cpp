// Names and texts from a book's files are shown literally by every control that shows them, so
// markup in a name can neither change the display nor make Qt load a file it names.
#include "platform/controls.h"
#include "platform/list_view.h"
#include "platform/message_box.h"
#include "platform/status_bar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

#include <functional>

namespace {

// A name that, read as rich text, would show a heading or load a 300 x 300 picture.
QStringList hostileNames(const QString& picture) {
    return {QStringLiteral("<h1>BIG</h1>"), QStringLiteral("<img src=%1>x").arg(picture),
            QStringLiteral("<b>bold</b>&amp;<br>two")};
}

// What a label showing `text` literally looks like: the reference the control must match.
QSize plainSize(const QLabel& shown, const QString& text) {
    QLabel reference;
    reference.setTextFormat(Qt::PlainText);
    reference.setFont(shown.font());
    reference.setFrameStyle(shown.frameStyle());
    reference.setMargin(shown.margin());
    reference.setIndent(shown.indent());
    reference.setText(text);
    return reference.sizeHint();
}

void expectLiteral(const QLabel& label, const QString& text) {
    EXPECT_EQ(label.text(), text);
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
    // A heading or a picture would make the label larger than the literal text.
    EXPECT_EQ(label.sizeHint(), plainSize(label, text)) << text.toStdString();
}

class PlainText : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QStringList names;
    void SetUp() override {
        const QString picture = dir.filePath("outside");  // no dot: a title keeps the whole path
        QImage image(300, 300, QImage::Format_RGB32);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(picture, "PNG"));
        names = hostileNames(picture);
    }
};

TEST_F(PlainText, StatusBarPanelsLabelsAndListRows) {
    QWidget parent;
    platform::StatusBar bar(&parent);
    platform::ListView list(&parent);
    list.addColumn(QStringLiteral("N"), 3000);
    list.addColumn(QStringLiteral("name"), 30000);
    list.addRow(QStringLiteral("1"));
    list.setText(1, 1, QStringLiteral("x"));
    const int plainHeight = list.tree()->sizeHintForRow(0);
    for (const QString& name : names) {
        for (int panel = 1; panel <= 3; ++panel) {
            bar.setPanelText(panel, name);
            expectLiteral(*bar.panel(panel), name);
            QTextDocument tip;  // the tooltip carries the full text, literally
            tip.setHtml(bar.panel(panel)->toolTip());
            EXPECT_EQ(tip.toPlainText(), name);
        }
        platform::Label label(name, &parent);
        expectLiteral(*label.label(), name);
        list.setText(1, 1, name);
        EXPECT_EQ(list.text(1, 1), name);
        EXPECT_EQ(list.tree()->sizeHintForRow(0), plainHeight) << name.toStdString();
    }
}

TEST_F(PlainText, MessageBoxes) {
    platform::setMessageResponder({});
    for (const QString& name : names) {
        bool inspected = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            poll.stop();
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            ASSERT_NE(label, nullptr);
            expectLiteral(*label, name);
            EXPECT_EQ(box->windowTitle(), name);
            inspected = true;
            box->reject();
        });
        poll.start(5);
        platform::messageBox(nullptr, {name, name, QMessageBox::Ok, QMessageBox::Warning});
        EXPECT_TRUE(inspected);
    }
}

}  // namespace
