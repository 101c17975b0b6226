// huaben: composes and reads picture-and-text books. The book is the current directory.
#include "platform/fonts.h"
#include "reader/frmmain.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("huaben"));
    QApplication::setApplicationDisplayName(QStringLiteral("澜舟画本编排阅读2002"));
    platform::installFontSubstitutes();

    // The interface is Chinese; Qt's own dialogs (colour chooser, message boxes) follow suit
    // where Qt's translations are installed.
    QTranslator qtChinese;
    if (qtChinese.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtChinese);

    reader::frmmain window(QDir::current());
    window.show();
    return QApplication::exec();
}
