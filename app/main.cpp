// huaben: composes and reads picture-and-text books. The book is the current directory.
#include "platform/fonts.h"
#include "reader/frmmain.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("huaben"));
    QApplication::setApplicationDisplayName(QStringLiteral("澜舟画本编排阅读2002"));
    platform::installFontSubstitutes();

    reader::frmmain window(QDir::current());
    window.show();
    return QApplication::exec();
}
