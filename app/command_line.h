#pragma once

#include <QString>
#include <QStringList>

namespace app {

// What the command line asks for. The book is handed to the reader as a directory; the process's
// current directory is never changed.
struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Fail };
    Action action = Action::Run;
    QString bookPath;  // absolute; the current directory when no folder was given
    QString message;   // help or version text, or what was wrong
};

// `arguments` includes the program name first, as QCoreApplication::arguments() gives it.
CommandLine parseCommandLine(const QStringList& arguments, const QString& currentDir);

}  // namespace app
