// huaben: composes and reads picture-and-text books. The book is the folder named on the command
// line, or the current directory; the program never changes its current directory.
#include "command_line.h"
#include "first_paint.h"
#include "platform/allocator.h"
#include "platform/fonts.h"
#include "platform/program_title.h"
#include "reader/frmmain.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <memory>

namespace {

// Reads the command line without a display, so --help and --version work anywhere.
app::CommandLine readCommandLine(int argc, char** argv) {
    QCoreApplication probe(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("huaben"));
    QCoreApplication::setApplicationVersion(QStringLiteral(HUABEN_VERSION));
    return app::parseCommandLine(QCoreApplication::arguments(), QDir::currentPath());
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer started;
    started.start();
    platform::limitAllocatorArenas();
    const app::CommandLine command = readCommandLine(argc, argv);
    switch (command.action) {
        case app::CommandLine::Action::ShowHelp:
        case app::CommandLine::Action::ShowVersion:
            std::fputs(qPrintable(command.message + QLatin1Char('\n')), stdout);
            return 0;
        case app::CommandLine::Action::Fail:
            std::fprintf(stderr, "huaben: %s\n", qPrintable(command.message));
            return 2;
        case app::CommandLine::Action::Run:
            break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("huaben"));
    QApplication::setApplicationVersion(QStringLiteral(HUABEN_VERSION));
    QApplication::setApplicationDisplayName(QString::fromUtf8(platform::kProgramTitle));
    QApplication::setDesktopFileName(QStringLiteral(HUABEN_APP_ID));
    platform::installFontSubstitutes();

    // The interface is Chinese; Qt's own dialogs (colour chooser, message boxes) follow suit
    // where Qt's translations are installed.
    QTranslator qtChinese;
    if (qtChinese.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtChinese);

    reader::frmmain window{QDir(command.bookPath)};
    std::unique_ptr<app::FirstPaintExit> firstPaint;
    if (qEnvironmentVariableIsSet("HUABEN_FIRST_PAINT_EXIT"))
        firstPaint = std::make_unique<app::FirstPaintExit>(window.ImgPic->widget(), started);
    window.show();
    return QApplication::exec();
}
