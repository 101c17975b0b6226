#include "command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace app {

CommandLine parseCommandLine(const QStringList& arguments, const QString& currentDir) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("澜舟画本编排阅读：阅读和编排图文画本。\n"
                       "Reads and composes picture-and-text books."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("目录"),
        QStringLiteral("画本所在的文件夹，缺省为当前目录。\n"
                       "The book folder; the current directory when omitted."),
        QStringLiteral("[目录]"));

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.action = CommandLine::Action::Fail;
        result.message = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.action = CommandLine::Action::ShowHelp;
        result.message = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Action::ShowVersion;
        result.message = QStringLiteral("huaben ") + QCoreApplication::applicationVersion();
        return result;
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) {
        result.action = CommandLine::Action::Fail;
        result.message = QStringLiteral("只能打开一个画本文件夹 (only one book folder)");
        return result;
    }
    const QDir here(currentDir);
    if (folders.isEmpty()) {
        result.bookPath = here.absolutePath();
        return result;
    }
    // Relative to the directory the program was started in, which stays its current directory.
    const QFileInfo folder(here.absoluteFilePath(folders.front()));
    if (!folder.isDir()) {
        result.action = CommandLine::Action::Fail;
        result.message =
            folder.exists()
                ? QStringLiteral("不是文件夹 (not a folder)：%1").arg(folders.front())
                : QStringLiteral("文件夹不存在 (no such folder)：%1").arg(folders.front());
        return result;
    }
    result.bookPath = QDir::cleanPath(folder.absoluteFilePath());
    return result;
}

}  // namespace app
