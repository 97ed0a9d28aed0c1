#pragma once

#include "delvard-map/CommandIo.h"

#include <QString>
#include <QStringList>

#include <limits>
#include <vector>

namespace delvard {

class CommandLine;
class PicturesOnDemand;

// What a command may need beyond its own command line.
struct CommandContext
{
    PicturesOnDemand& pictures; // render's cell pictures, made when first asked for
};

// An option as the command's help describes it and bash completes it.
struct CommandOption
{
    QString name;        // without its dashes
    QString valueName;   // of the value that follows it; empty for a flag
    QString description; // the help's lines for it
    // What bash offers after it: words, or FolderNames.
    QString completion = {};
};

inline const QString FolderNames = QStringLiteral("<folder>");

// A way to call a command: the file names it takes.
struct CommandForm
{
    QString usage;   // after "delvard-map NAME" in the command's help and the manual
    QString listed;  // after the name in the program's list of commands
    QString summary; // the list's lines for it
    // The extension each file name has, in order ("" for any file); the
    // last repeats where more names are taken.
    QStringList files;
    int fewest = 0;
    int most = 0;
    // The usage error for another number of names; %1, how many came.
    QString wrongCount;
    // The option that chooses this form; empty for the command's usual one.
    QString chosenBy = {};
};

inline constexpr int AnyNumber = std::numeric_limits<int>::max();

// One command of delvard-map, everything its help, the program's list of
// commands, the manual and the shell's completion say about it.
struct Command
{
    QString name;
    std::vector<CommandForm> forms;
    QString description; // the help's paragraphs between the usage and the options
    std::vector<CommandOption> options;
    QString exitStatus; // the help's last paragraph
    // Runs the command once its line is parsed and its file names counted.
    int (*run)(const CommandLine& line, CommandIo& io, CommandContext& context);
};

} // namespace delvard
