// docs/cli-examples.md says that its outputs are copied from real runs.
// Each of its console blocks runs again here, in order and in one scratch
// folder (the first block makes the damaged maps that later ones read), and
// must print exactly what the page shows.

#include "tests/delvard-map/RunProgram.h"
#include "tests/support/FileFaults.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ConsoleBlock
{
    QString script;   // the lines after "$ "
    QString expected; // every other line
};

// /tmp on the page is a folder inside the scratch folder, so that the runs
// touch nothing outside it.
std::vector<ConsoleBlock> consoleBlocks(const QString& page)
{
    static const QRegularExpression systemTemp(QStringLiteral("/tmp\\b"));
    std::vector<ConsoleBlock> blocks;
    bool inside = false;
    for (QString line : page.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("```"))) {
            inside = !inside && line == QLatin1String("```console");
            if (inside)
                blocks.emplace_back();
            continue;
        }
        if (!inside)
            continue;
        line.replace(systemTemp, QStringLiteral("tmp"));
        if (line.startsWith(QLatin1String("$ ")))
            blocks.back().script += line.mid(2) + QLatin1Char('\n');
        else
            blocks.back().expected += line + QLatin1Char('\n');
    }
    return blocks;
}

TEST(DocumentedExamples, EveryConsoleBlockPrintsWhatThePageShows)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir scratch(dir.path());
    ASSERT_TRUE(scratch.mkdir(QStringLiteral("tmp")) && scratch.mkdir(QStringLiteral("docs")) &&
                scratch.mkdir(QStringLiteral("home")));
    ASSERT_TRUE(QFile::link(QStringLiteral(DELVARD_SAMPLES_DIR),
                            scratch.filePath(QStringLiteral("samples"))));

    const std::vector<ConsoleBlock> blocks = consoleBlocks(
        QString::fromUtf8(readAll(QStringLiteral(DELVARD_SOURCE_DIR "/docs/cli-examples.md"))));
    ASSERT_GE(blocks.size(), 10u);
    for (const ConsoleBlock& block : blocks) {
        // The page shows what a terminal shows of the program, its standard
        // output and error together; the chatter of the other tools (dd's
        // record counts) it leaves out. The program's errors go to the
        // terminal (kept as 3) even where a line sends its output elsewhere.
        // git runs as for a new user of this machine: the page's runs must
        // not depend on the tester's git configuration.
        const RunResult run = runShell(
            QStringLiteral("exec 3>&1 2>/dev/null\ndelvard-map() { \"$MAP\" \"$@\" 2>&3 3>&-; }\n"
                           "unset XDG_CONFIG_HOME $(compgen -e | grep '^GIT_')\n"
                           "export HOME=\"$PWD/home\" GIT_CONFIG_NOSYSTEM=1\n"
                           "export GIT_AUTHOR_NAME=A GIT_AUTHOR_EMAIL=a@b GIT_COMMITTER_NAME=A "
                           "GIT_COMMITTER_EMAIL=a@b\n") +
                block.script,
            scratch.path());
        EXPECT_EQ(run.out.toStdString(), block.expected.toStdString())
            << block.script.toStdString();
    }
    // Qt cannot remove the names that are not UTF-8 (nor git's read-only
    // objects everywhere); the shell can.
    runShell(QStringLiteral("rm -rf tmp"), scratch.path());
}

} // namespace
