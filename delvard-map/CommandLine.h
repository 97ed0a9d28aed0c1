#pragma once

#include "delvard-map/Command.h"
#include "delvard-map/CommandIo.h"

#include <QCommandLineParser>
#include <QStringList>

#include <optional>

namespace delvard {

// One command's command line, parsed with Qt's parser: its options, which
// of its forms was chosen, and its file names, counted. The help is made
// from the command's description, because Qt's names the executable but not
// the command.
class CommandLine
{
  public:
    explicit CommandLine(const Command& command);

    // Parses args (args[0] is the command's name). Returns the exit status
    // when the command must stop here: 0 after --help, 2 after a usage error
    // (already reported on err); nothing when the command should run.
    std::optional<int> parse(const QStringList& args, CommandIo& io);

    bool isSet(const QString& name) const { return parser_.isSet(name); }
    QString value(const QString& name) const { return parser_.value(name); }
    QStringList files() const { return parser_.positionalArguments(); }
    // The form the options chose.
    const CommandForm& form() const;

    // Reports a usage error with a pointer to --help; returns ExitUsage.
    int usageError(CommandIo& io, const QString& message) const;

  private:
    const Command& command_;
    QCommandLineParser parser_;
};

// What `delvard-map NAME --help` writes.
QString commandHelp(const Command& command);

} // namespace delvard
