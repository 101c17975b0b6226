// The command line as a person types it: a book folder, relative or absolute, or none; help and
// version; and the mistakes, which must be refused rather than open some other folder.
#include "command_line.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using Action = app::CommandLine::Action;

struct CliCase {
    const char* name;
    QStringList args;  // after the program name; "@" stands for the scratch folder's path
    Action action;
    const char* book;  // expected book, relative to the scratch folder ("" for none)
    const char* says;  // a piece of the message
};

void PrintTo(const CliCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandLineTest : public ::testing::TestWithParam<CliCase> {};

TEST_P(CommandLineTest, OpensTheRightBookOrExplains) {
    const CliCase& c = GetParam();
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QDir root(scratch.path());
    ASSERT_TRUE(root.mkpath("books/春天 一"));
    ASSERT_TRUE(root.mkpath("start"));
    ASSERT_TRUE(root.mkpath("-dash"));
    QFile file(root.filePath("start/DocItem.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    QStringList args = {QStringLiteral("huaben")};
    for (QString a : c.args) args << a.replace(QLatin1Char('@'), root.path());
    const QString startDir = root.filePath("start");
    const QString before = QDir::currentPath();
    const app::CommandLine result = app::parseCommandLine(args, startDir);
    EXPECT_EQ(QDir::currentPath(), before) << "the current directory never changes";

    EXPECT_EQ(result.action, c.action);
    if (c.action == Action::Run) {
        EXPECT_EQ(result.bookPath, QDir::cleanPath(root.filePath(QString::fromUtf8(c.book))));
    }
    EXPECT_TRUE(result.message.contains(QString::fromUtf8(c.says))) << result.message.toStdString();
}

const CliCase kCases[] = {
    {"NoFolderIsTheStartDirectory", {}, Action::Run, "start", ""},
    {"RelativeFolderFromTheStartDirectory", {"../books/春天 一"}, Action::Run, "books/春天 一", ""},
    {"AbsoluteFolder", {"@/books/春天 一"}, Action::Run, "books/春天 一", ""},
    {"TrailingSlash", {"@/books/"}, Action::Run, "books", ""},
    {"DotIsTheStartDirectory", {"."}, Action::Run, "start", ""},
    {"FolderNamedLikeAnOption", {"--", "@/-dash"}, Action::Run, "-dash", ""},
    {"MissingFolder", {"@/nowhere"}, Action::Fail, "", "nowhere"},
    {"AFileIsNotABook", {"DocItem.txt"}, Action::Fail, "", "not a folder"},
    {"TwoFolders", {"@/books", "@/start"}, Action::Fail, "", "only one"},
    {"UnknownOption", {"--frobnicate"}, Action::Fail, "", "frobnicate"},
    {"Help", {"--help"}, Action::ShowHelp, "", "[目录]"},
    {"ShortHelp", {"-h"}, Action::ShowHelp, "", "--version"},
    {"Version", {"--version"}, Action::ShowVersion, "", "huaben"},
};

INSTANTIATE_TEST_SUITE_P(Cli, CommandLineTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CliCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
