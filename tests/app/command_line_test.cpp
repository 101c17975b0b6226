// The command line as typed: a book folder or none, help and version, and the mistakes, which
// are refused rather than open some other folder.
#include "command_line.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using Action = app::CommandLine::Action;

struct CliCase {
    QStringList args;  // after the program name; "@" stands for the scratch folder's path
    Action action;
    const char* want;  // the book it runs (under the scratch folder), or a piece of the message
};

TEST(CommandLine, OpensTheRightBookOrExplains) {
    QTemporaryDir scratch;
    const QDir root(scratch.path());
    for (const char* folder : {"books/春天 一", "start", "-dash"}) ASSERT_TRUE(root.mkpath(folder));
    ASSERT_TRUE(QFile(root.filePath("start/DocItem.txt")).open(QIODevice::WriteOnly));
    const CliCase cases[] = {{{}, Action::Run, "start"},
                             {{"../books/春天 一"}, Action::Run, "books/春天 一"},
                             {{"@/books/春天 一"}, Action::Run, "books/春天 一"},
                             {{"@/books/"}, Action::Run, "books"},
                             {{"."}, Action::Run, "start"},
                             {{"--", "@/-dash"}, Action::Run, "-dash"},
                             {{"@/nowhere"}, Action::Fail, "nowhere"},
                             {{"DocItem.txt"}, Action::Fail, "not a folder"},
                             {{"@/books", "@/start"}, Action::Fail, "only one"},
                             {{"--frobnicate"}, Action::Fail, "frobnicate"},
                             {{"--help"}, Action::ShowHelp, "[目录]"},
                             {{"-h"}, Action::ShowHelp, "--version"},
                             {{"--version"}, Action::ShowVersion, "huaben"}};
    for (const CliCase& c : cases) {
        QStringList args = {QStringLiteral("huaben")};
        for (QString a : c.args) args << a.replace(QLatin1Char('@'), root.path());
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const app::CommandLine result = app::parseCommandLine(args, root.filePath("start"));
        EXPECT_EQ(result.action, c.action);
        const bool runs = c.action == Action::Run;
        const QString want = runs ? QDir::cleanPath(root.filePath(QString::fromUtf8(c.want)))
                                  : QString::fromUtf8(c.want);
        const QString& got = runs ? result.bookPath : result.message;
        EXPECT_TRUE(runs ? got == want : got.contains(want)) << got.toStdString();
    }
}

}  // namespace
